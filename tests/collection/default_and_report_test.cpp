// The default file, the data folders, the folder picker and the report
// file.
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "collection/record_bytes.h"
#include "collection/store_fixture.h"

namespace tarvolin {
namespace {

using testbytes::readFile;
using testbytes::writeFile;

class DefaultFileTest : public StoreTest {
protected:
    std::string defaultFile() { return app().AppFolder() + "tarvolin_sylloges/default.tl"; }
    std::string log() { return f1().Text2[0].Text(); }
};

TEST_F(DefaultFileTest, WritesPathAndCountersAsTwoLines) {
    ModuleState& s = app().state;
    d().CollectionPath = "/music/μίξη, νέα.tlf";
    s.StatFilesPlayed = 120;
    s.StatYears = 0;
    s.StatMonths = 12;
    s.StatDays = -3;
    s.StatHours = 5;
    s.StatMinutes = 59;
    s.StatSeconds = 7;
    store().Save_Last_Collection();
    EXPECT_EQ(readFile(defaultFile()), "/music/μίξη, νέα.tlf\r\n 120  0  12 -3  5  59  7 \r\n");
    EXPECT_TRUE(h.dialogs.calls("MsgBox").empty());

    // It reads back whole, the comma included.
    s.StatDays = 0;
    d().CollectionPath.clear();
    store().Load_Last_Collection();
    EXPECT_EQ(d().CollectionPath, "/music/μίξη, νέα.tlf");
    EXPECT_EQ(s.StatFilesPlayed, 120);
    EXPECT_EQ(s.StatDays, -3);
    EXPECT_EQ(s.StatSeconds, 7);
}

TEST_F(DefaultFileTest, MissingOrBrokenFilesGiveTheDefaultCollection) {
    const std::string fallback = app().AppFolder() + "tarvolin_sylloges/tarvolin.tlf";
    store().Load_Last_Collection();
    EXPECT_EQ(d().CollectionPath, fallback);
    EXPECT_TRUE(std::filesystem::is_directory(app().AppFolder() + "tarvolin_sylloges"));
    EXPECT_TRUE(std::filesystem::is_directory(app().AppFolder() + "tarvolin_filtra"));
    EXPECT_EQ(app().state.StatFilesPlayed, 0);

    for (const std::string& text : {std::string("/a.tlf\r\n 1  2 \r\n"), std::string("/a.tlf\n 1 x 3 4 5 6 7\n"),
                                    std::string("\r\n 1 2 3 4 5 6 7\r\n"), std::string("\xff\xfe\x00garbage", 10)}) {
        d().CollectionPath = "/kept.tlf";
        writeFile(defaultFile(), text);
        store().Load_Last_Collection();
        EXPECT_EQ(d().CollectionPath, fallback) << text;
    }
    // LF alone and leading blanks are read.
    writeFile(defaultFile(), "   /b.tlf\n1 2 3 4 5 6 7\n");
    store().Load_Last_Collection();
    EXPECT_EQ(d().CollectionPath, "/b.tlf");
    EXPECT_EQ(app().state.StatSeconds, 7);
}

TEST_F(DefaultFileTest, APathTheFirstLineCannotHoldIsNeverWrittenThere) {
    ModuleState& s = app().state;
    d().CollectionPath = "/music/two\nlines.tlf";
    s.StatFilesPlayed = 9;
    s.StatSeconds = 4;
    store().Save_Last_Collection();
    // The next start opens the default collection, with its counters kept.
    const std::string fallback = app().AppFolder() + "tarvolin_sylloges/tarvolin.tlf";
    EXPECT_EQ(readFile(defaultFile()), fallback + "\r\n 9  0  0  0  0  0  4 \r\n");
    EXPECT_NE(log().find("The collection's path cannot be stored in the file default.tl"), std::string::npos);
    s.StatFilesPlayed = 0;
    store().Load_Last_Collection();
    EXPECT_EQ(d().CollectionPath, fallback);
    EXPECT_EQ(s.StatFilesPlayed, 9);
}

TEST_F(DefaultFileTest, AProgramFolderPassedOverForItsNameIsToldOnce) {
    // The executable lies in a folder the default file cannot name; the
    // program keeps its data in another folder (here the test's).
    Services services = h.services();
    services.executablePath = "/opt/two\nlines/tarvolin";
    h.build(services);
    store().Load_Last_Collection();
    const std::string told = "The program folder cannot be stored in the file default.tl and the data is kept in \"" +
                             app().AppFolder() + "\"";
    const std::string text = log();
    const std::size_t at = text.find(told);
    EXPECT_NE(at, std::string::npos) << text;
    EXPECT_EQ(text.find(told, at + 1), std::string::npos);

    // An executable in a folder that can be named says nothing.
    services.executablePath = "/opt/tarvolin/tarvolin";
    h.build(services);
    store().Load_Last_Collection();
    EXPECT_EQ(log().find("The program folder"), std::string::npos);
}

TEST_F(DefaultFileTest, EmptyPathSavesTheDefaultCollection) {
    d().CollectionPath.clear();
    store().Save_Last_Collection();
    EXPECT_EQ(d().CollectionPath, app().AppFolder() + "tarvolin_sylloges/tarvolin.tlf");
    EXPECT_EQ(readFile(defaultFile()).substr(0, d().CollectionPath.size()), d().CollectionPath);
}

TEST_F(DefaultFileTest, DataFoldersAreMadeOnceOrReported) {
    for (int kind = 0; kind <= 3; ++kind) store().Make_Data_Folder(kind);
    for (const char* name : {"tarvolin_reports", "tarvolin_sylloges", "tarvolin_preferences", "tarvolin_filtra"})
        EXPECT_TRUE(std::filesystem::is_directory(app().AppFolder() + name)) << name;
    EXPECT_TRUE(h.dialogs.calls("MsgBox").empty());

    // A file standing where the folder should be.
    std::filesystem::remove_all(app().AppFolder() + "tarvolin_reports");
    writeFile(app().AppFolder() + "tarvolin_reports", "x");
    store().Make_Data_Folder(0);
    const auto boxes = h.dialogs.calls("MsgBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].prompt, "\r\nΔεν μπορώ να δημιουργήσω τον φάκελο - Could not create the directory --> " +
                                   app().AppFolder() + "tarvolin_reports");
    EXPECT_EQ(boxes[0].buttons, mb::Critical + mb::OKCancel);
    EXPECT_EQ(log(), "");
}

TEST_F(DefaultFileTest, FolderPicker) {
    h.dialogs.answerFolder(std::string("/media/δίσκος"));
    std::string result;
    store().Pick_Folder(result);
    EXPECT_EQ(result, "/media/δίσκος/");
    EXPECT_EQ(app().state.DestFolder, "/media/δίσκος/");
    EXPECT_EQ(f1().Text2[5].Text(), "/media/δίσκος/");
    EXPECT_EQ(f1().Text2[3].Text(), "/media/δίσκος/");
    EXPECT_EQ(h.dialogs.calls("PickFolder")[0].prompt, "Pick a folder");

    h.dialogs.answerFolder(std::string("/"));
    result.clear();
    store().Pick_Folder(result);
    EXPECT_EQ(result, "/");

    result.clear();
    store().Pick_Folder(result);  // cancelled
    EXPECT_EQ(app().state.DestFolder, "");
    EXPECT_EQ(f1().Text2[5].Text(), "/");
    EXPECT_EQ(h.dialogs.last()->prompt, "Δεν επιλέξατε ορθή διαδρομή δίσκου - You haven't choose correct disk path");
}

TEST_F(DefaultFileTest, ReportGetsABannerAndTheLogPerOperation) {
    const std::string report = store().reportFilePath();
    const std::string stars(100, '*');
    h.loop.setNow(DateTime{2026, 3, 7, 9, 5, 0});

    store().Report_File_Size();
    EXPECT_EQ(log(), "");
    EXPECT_FALSE(app().state.ReportExists);
    EXPECT_FALSE(f1().MnuMoreReportDelete.Enabled());

    store().Report_File(-1);
    // The first report of a folder logs that it found no file.
    EXPECT_NE(log().find("-> No such file or directory"), std::string::npos);
    EXPECT_TRUE(app().state.ReportExists);
    EXPECT_TRUE(f1().MnuMoreReportDelete.Enabled());
    f1().Text2[0].prepend("09:05:01-> δουλειά\r\n");
    store().Report_File(0);
    const std::string first = stars + "\r\n03-07-2026\r\n" + stars + "\r\n" + log() + "\r\n";
    EXPECT_EQ(readFile(report), first);

    // A second operation appends; a start call while the report is open
    // writes its banner into the open file.
    store().Report_File(-1);
    store().Report_File(-1);
    store().Report_File(0);
    EXPECT_EQ(readFile(report), first + stars + "\r\n03-07-2026\r\n" + stars + "\r\n" + stars + "\r\n03-07-2026\r\n" +
                                    stars + "\r\n" + log() + "\r\n");
    // An end call without its start only logs the failed write.
    const std::string before = readFile(report);
    store().Report_File(0);
    EXPECT_EQ(readFile(report), before);

    writeFile(report, std::string(1572864, 'r'));
    f1().Text2[0].setText("");
    store().Report_File_Size();
    EXPECT_EQ(log(), "09:05:00-> Μέγεθος αρχείου Αναφοράς - Reports File Size:\r\n0001.50Mb\r\n ---> " + report + "\r\n");

    store().Delete_Report_File();
    EXPECT_FALSE(std::filesystem::exists(report));
    EXPECT_FALSE(app().state.ReportExists);
    EXPECT_FALSE(f1().MnuMoreReportDelete.Enabled());
    store().Delete_Report_File();  // nothing to delete: the item stays off
    EXPECT_FALSE(f1().MnuMoreReportDelete.Enabled());
}

// A disk that cannot take the whole text (here a file size limit) leaves the
// report as it was, never with part of the text added.
TEST_F(DefaultFileTest, TheReportTakesATextWholeOrNotAtAll) {
    struct Case {
        const char* name;
        int begin;
    };
    const Case cases[] = {{"banner", -1}, {"log box", 0}};
    const std::string report = store().reportFilePath();
    store().Report_File(-1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f1().Text2[0].setText(std::string(4000, 'x'));
        const std::string before = readFile(report);
        struct rlimit old {};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
        struct rlimit small = old;
        small.rlim_cur = before.size() + 50;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        store().Report_File(c.begin);
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_EQ(readFile(report), before);
        EXPECT_NE(log().find(std::strerror(EFBIG)), std::string::npos);
    }
}

}  // namespace
}  // namespace tarvolin
