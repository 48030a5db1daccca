// Adding media files from folders, and the subfolder search.
#include <algorithm>
#include <filesystem>
#include <functional>

#include "collection/store_files.h"
#include "media/media_files.h"
#include "media_source_fixture.h"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;

class AddFilesTest : public MediaSourceTest {
protected:
    // Adds from the file list as the panel's add button leaves things.
    void addFromFileList() {
        state().ScanFromFileList = false;
        media().Add_Files_From_Folders();
    }
    void addFromFolderList() {
        state().ScanFromFileList = true;
        media().Add_Files_From_Folders();
    }
};

TEST_F(AddFilesTest, NewRowsContinueTheNumberingWithEmptyColumns) {
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(media().appendTrack("/old/track" + std::to_string(i) + ".mp3"));
    file("one/a.mp3");
    file("one/b.mp3");
    file("one/c.wav");  // not a chosen type
    chooseTypes({"*.mp3"});
    showFolder("one");
    d().CollectionSaved = true;
    addFromFileList();

    ASSERT_EQ(f1().List2.ListCount(), 12);
    EXPECT_EQ(f1().List2.List(10), disk.path() + "one/a.mp3");
    EXPECT_EQ(f1().List2.List(11), disk.path() + "one/b.mp3");
    EXPECT_EQ(f1().List3_0[0].List(10), "00011");
    EXPECT_EQ(f1().List3_0[0].List(11), "00012");
    EXPECT_EQ(f1().List3_0[1].List(11), "-");
    EXPECT_EQ(f1().List3_0[2].List(11), "00:00:00");
    EXPECT_EQ(f1().List3_0[3].List(11), "00.00");
    EXPECT_EQ(f1().List3_0[4].List(11), "000");
    expectConsistent();
    // Counted once as unclassified, nothing read yet, nothing saved.
    EXPECT_EQ(d().ClassCount[0], 12);
    EXPECT_FALSE(d().TrackInfoRead[11]);
    EXPECT_FALSE(d().TrackSaved[11]);
    EXPECT_FALSE(d().CollectionSaved);

    // Everything taken away for the run is given back.
    EXPECT_TRUE(f1().Enabled());
    EXPECT_TRUE(f1().MnuSystemTray.Enabled());
    EXPECT_TRUE(f1().List2.Visible());
    EXPECT_FALSE(state().TimerSuspended);
    EXPECT_FALSE(state().Busy);
    EXPECT_EQ(h.dialogs.mousePointer(), 0);
    EXPECT_EQ(f1().MultiPage1.Value(), 3);

    const std::string& summary = f1().Text2[1].Text();
    EXPECT_EQ(f1().lastAnnouncement().rfind("Αριθμός αρχείων που Προστέθηκαν - Number of Added files : 2.", 0), 0u);
    EXPECT_NE(summary.find("-> Αριθμός αρχείων που Προστέθηκαν - Number of Added files : 2. Λάθη σε αρχεία με μηδενικό "
                           "μήκος - Error in files with zero bytes : 0. Διπλά αρχεία - Double Files : 0\r\n"),
              std::string::npos)
        << summary;
}

TEST_F(AddFilesTest, DuplicatesAreComparedExactly) {
    const std::string a = file("d/a.mp3");
    file("d/B.mp3");
    ASSERT_TRUE(media().appendTrack(a));
    ASSERT_TRUE(media().appendTrack(disk.path() + "d/b.mp3"));  // differs only in letter case
    chooseTypes({"*.mp3"});
    showFolder("d");
    addFromFileList();

    EXPECT_EQ(tracks(), (std::vector<std::string>{a, disk.path() + "d/b.mp3", disk.path() + "d/B.mp3"}));
    EXPECT_NE(f1().Text2[1].Text().find("Διπλά αρχεία - Double Files : 1"), std::string::npos);

    // A second run adds nothing more.
    addFromFileList();
    EXPECT_EQ(f1().List2.ListCount(), 3);
    EXPECT_NE(f1().Text2[1].Text().find("Number of Added files : 0"), std::string::npos);
    EXPECT_NE(f1().Text2[1].Text().find("Double Files : 2"), std::string::npos);
    EXPECT_EQ(d().ClassCount[0], 3);
    expectConsistent();
}

TEST_F(AddFilesTest, SelectedEntriesOnlyWithTheSelectionOption) {
    file("s/1.mp3");
    file("s/2.mp3");
    file("s/3.mp3");
    chooseTypes({"*.mp3"});
    showFolder("s");
    f1().Option4[1].setValue(true);
    f1().File1.setSelected(1, true);
    std::string status;
    h.loop.onYield = [&] { status = f1().Text2[1].Text(); };
    addFromFileList();
    h.loop.onYield = nullptr;
    EXPECT_EQ(tracks(), (std::vector<std::string>{disk.path() + "s/2.mp3"}));
    EXPECT_NE(status.find("-> Προστείθονται αρχεία από επιλογές ενός φακέλου [" + disk.path() +
                          "s].Παρακαλώ περιμένετε... - Adding files from selection of one directory [" + disk.path() +
                          "s]. Please wait...\r\nΝέα αρχεία - New Files : 1\r\n ---> 2.mp3\r\n"),
              std::string::npos)
        << status;

    f1().Option4[0].setValue(true);
    addFromFileList();
    EXPECT_EQ(f1().List2.ListCount(), 3);
}

TEST_F(AddFilesTest, EmptyVanishedAndOddlyNamedFiles) {
    file("odd/empty.mp3", "");
    const std::string gone = file("odd/gone.mp3");
    const std::string garbage = fixtures::writeGarbage(disk.file("odd/garbage.mp3"), 2000);
    const std::string greek = file("odd/Τραγούδι με κενά 'και' \"εισαγωγικά\".mp3");
    const std::string newline = file("odd/two\nlines.mp3");
    chooseTypes({"*.mp3"});
    showFolder("odd");
    ASSERT_EQ(f1().File1.ListCount(), 5);
    fs::remove(gone);  // vanishes between the listing and the add
    addFromFileList();

    auto added = tracks();
    std::sort(added.begin(), added.end());
    std::vector<std::string> expected{garbage, greek, newline};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(added, expected);
    EXPECT_NE(f1().Text2[1].Text().find("Error in files with zero bytes : 2"), std::string::npos);
    expectConsistent();
}

TEST_F(AddFilesTest, APathTooLongForItsTrackRecordIsLeftOutAndLogged) {
    // 398 bytes is the most a track record holds.
    const std::string folder = "deep/" + std::string(200, 'a') + "/";
    const std::string base = disk.path() + folder;
    const std::string fits = file(folder + std::string(398 - base.size() - 4, 'b') + ".mp3");
    const std::string tooLong = file(folder + std::string(399 - base.size() - 4, 'c') + ".mp3");
    ASSERT_EQ(fits.size(), 398u);
    chooseTypes({"*.mp3"});
    showFolder(folder);
    addFromFileList();

    EXPECT_EQ(tracks(), std::vector<std::string>{fits});
    EXPECT_NE(f1().Text2[0].Text().find("the file was not added: \"" + tooLong + "\""), std::string::npos);
    expectConsistent();
}

TEST_F(AddFilesTest, PlaylistFilesAreNotTracksButOtherEndingsAre) {
    file("p/list.m3u");
    file("p/list.wpl");
    const std::string upper = file("p/LIST.M3U");
    const std::string wvx = file("p/list.wvx");
    chooseTypes({"*.m3u", "*.wpl", "*.wvx"});
    showFolder("p");
    addFromFileList();
    auto added = tracks();
    std::sort(added.begin(), added.end());
    EXPECT_EQ(added, (std::vector<std::string>{upper, wvx}));
}

TEST_F(AddFilesTest, FolderListAllOrSelectedAndFoldersThatAreGone) {
    file("r/x/1.mp3");
    file("r/y/2.mp3");
    file("r/y/3.mp3");
    file("r/z/4.mp3");
    chooseTypes({"*.mp3"});
    showFolder("r");
    for (const char* sub : {"x/", "y/", "z/"}) f1().List1.AddItem(disk.path() + "r/" + sub);

    f1().Option1_1.setValue(true);
    f1().List1.setSelected(1, true);
    std::string status;
    h.loop.onYield = [&] { status = f1().Text2[1].Text(); };
    addFromFolderList();
    h.loop.onYield = nullptr;
    EXPECT_EQ(tracks(), (std::vector<std::string>{disk.path() + "r/y/2.mp3", disk.path() + "r/y/3.mp3"}));
    EXPECT_NE(status.find("Adding files from selected directories. Please wait..."), std::string::npos);

    // A listed folder that is gone adds nothing, not the files of the folder
    // listed before it.
    fs::remove_all(disk.path() + "r/z");
    f1().Option1_0.setValue(true);
    addFromFolderList();
    EXPECT_EQ(tracks(), (std::vector<std::string>{disk.path() + "r/y/2.mp3", disk.path() + "r/y/3.mp3",
                                                  disk.path() + "r/x/1.mp3"}));
    EXPECT_NE(f1().Text2[1].Text().find("Double Files : 2"), std::string::npos);
    expectConsistent();

    // Nothing selected: nothing added, every count 0.
    f1().Option1_1.setValue(true);
    for (int k = 0; k < f1().List1.ListCount(); ++k) f1().List1.setSelected(k, false);
    addFromFolderList();
    EXPECT_NE(f1().Text2[1].Text().find("files : 0. Λάθη σε αρχεία με μηδενικό μήκος - Error in files with zero bytes : 0. "
                                        "Διπλά αρχεία - Double Files : 0"),
              std::string::npos);
}

TEST_F(AddFilesTest, TheCollectionLimitStopsTheAddAndKeepsTheTablesInStep) {
    for (int i = 0; i < kMaxTracks - 1; ++i) ASSERT_TRUE(media().appendTrack("/t/" + std::to_string(i)));
    file("l/1.mp3");
    file("l/2.mp3");
    file("l/3.mp3");
    chooseTypes({"*.mp3"});
    showFolder("l");
    addFromFileList();

    EXPECT_EQ(f1().List2.ListCount(), kMaxTracks);
    EXPECT_EQ(f1().List2.List(kMaxTracks - 1), disk.path() + "l/1.mp3");
    EXPECT_EQ(f1().List3_0[0].List(kMaxTracks - 1), "32766");
    expectConsistent();
    EXPECT_EQ(d().ClassCount[0], kMaxTracks);
    ASSERT_EQ(msgBoxesWith("It's not possible adding more media files"), 1);
    EXPECT_EQ(h.dialogs.calls("MsgBox").back().buttons, mb::OKOnly + mb::Critical);
    EXPECT_NE(f1().Text2[1].Text().find("Number of Added files : 1"), std::string::npos);
    EXPECT_FALSE(media().appendTrack("/one/more"));
    EXPECT_TRUE(f1().Enabled());
}

// A run-time error that ends a bulk run midway (here in a message box the
// run shows) leaves neither Busy nor the timer's suspension set, or the list
// handlers and the tick would stay idle for the rest of the session.
TEST_F(AddFilesTest, ARuntimeErrorInABulkRunGivesBackBusyAndTheTimer) {
    struct Case {
        const char* name;
        std::function<void()> prepare;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"adding at the collection limit",
         [&] {
             for (int i = 0; i < kMaxTracks; ++i) ASSERT_TRUE(media().appendTrack("/t/" + std::to_string(i)));
             file("l/1.mp3");
             chooseTypes({"*.mp3"});
             showFolder("l");
         },
         [&] { addFromFileList(); }},
        {"asking for a new folder search",
         [&] {
             showFolder("");
             f1().List1.AddItem(storefiles::asFolder(f1().Dir1.Path()));
             state().ScanFromFileList = true;
             state().FolderListStale = true;
         },
         [&] { app().library.YpoFakel(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        h.build();
        h->playback.Init_Defaults();
        c.prepare();
        h.dialogs.onShow = [](const DialogCall&) { throw RuntimeError::overflow(); };
        EXPECT_THROW(c.run(), RuntimeError);
        h.dialogs.onShow = nullptr;
        EXPECT_FALSE(state().Busy);
        EXPECT_FALSE(state().TimerSuspended);
    }
}

TEST_F(AddFilesTest, AFolderWithMoreFilesThanACollectionHolds) {
    disk.makeDir("big");
    for (int i = 0; i < 40000; ++i) file("big/" + std::to_string(100000 + i) + ".mp3");
    chooseTypes({"*.mp3"});
    showFolder("big");
    addFromFileList();
    EXPECT_EQ(f1().List2.ListCount(), kMaxTracks);
    expectConsistent();
    // The files the list could not show are not dropped without a word.
    EXPECT_EQ(msgBoxesWith("It's not possible adding more media files"), 1);
}

TEST_F(AddFilesTest, ReportKeepsTheSummary) {
    state().KeepReport = -1;
    file("k/1.mp3");
    chooseTypes({"*.mp3"});
    showFolder("k");
    addFromFileList();
    EXPECT_EQ(f1().Text2[0].Text(), f1().Text2[1].Text());
    std::string report = fixtures::readBytes(h->collection.reportFilePath());
    EXPECT_NE(report.find("Number of Added files : 1"), std::string::npos);
    EXPECT_FALSE(h->collection.reportOpen());
}

// ---------------------------------------------------------------------------
// Subfolder search

class SubfolderSearchTest : public MediaSourceTest {
protected:
    std::vector<std::string> folders() {
        std::vector<std::string> out;
        for (int i = 0; i < f1().List1.ListCount(); ++i) out.push_back(f1().List1.List(i));
        return out;
    }
};

TEST_F(SubfolderSearchTest, BreadthFirstOnlyFoldersWithMatchingFiles) {
    file("root.mp3");
    file("b/deep/1.mp3");
    file("a/2.mp3");
    file("a/3.mp3");
    file("c/SHOUT.MP3");  // the ending is compared exactly
    file("d/other.txt");
    file(".hidden/4.mp3");
    chooseTypes({"*.mp3"});
    media().Search_Subfolders(disk.path());  // with its closing "/"
    const std::string r = disk.path();
    EXPECT_EQ(folders(), (std::vector<std::string>{r, r + "a/", r + "b/deep/"}));
    const std::string counts = "Υποφάκελοι - Subdirectories --> 3 Αρχεία - Files ---> 4";
    EXPECT_EQ(f1().Frame8.Caption(), counts);
    const std::string& status = f1().Text2[1].Text();
    EXPECT_EQ(status.find("-> Έτοιμο - Ready"), 8u);
    EXPECT_NE(status.find(counts), std::string::npos);
    EXPECT_EQ(f1().Text2[2].Text(), "");
    EXPECT_FALSE(f1().Command2.Enabled());
    EXPECT_TRUE(f1().List1.Visible());
    EXPECT_EQ(h.dialogs.mousePointer(), 0);

    // Without the closing "/" the root is the same folder.
    media().Search_Subfolders(r.substr(0, r.size() - 1));
    EXPECT_EQ(folders(), (std::vector<std::string>{r, r + "a/", r + "b/deep/"}));
}

TEST_F(SubfolderSearchTest, ATypeChosenTwiceCountsTwice) {
    file("v/clip.wmv");
    chooseTypes({"*.wmv"});
    media().Search_Subfolders(disk.path());
    EXPECT_EQ(folders(), (std::vector<std::string>{disk.path() + "v/"}));
    EXPECT_EQ(f1().Frame8.Caption(), "Υποφάκελοι - Subdirectories --> 1 Αρχεία - Files ---> 2");
}

TEST_F(SubfolderSearchTest, LinksBackUpTheTreeEndTheWalk) {
    file("loop/1.mp3");
    fs::create_directory_symlink(disk.path() + "loop", disk.path() + "loop/again");
    fs::create_directory_symlink(disk.path(), disk.path() + "loop/up");
    fs::create_symlink(disk.path() + "nowhere", disk.path() + "loop/dangling.mp3");
    chooseTypes({"*.mp3"});
    media().Search_Subfolders(disk.path());
    EXPECT_EQ(folders(), (std::vector<std::string>{disk.path() + "loop/"}));
}

TEST_F(SubfolderSearchTest, FoldersGoneDuringTheWalkArePassedOver) {
    file("a/1.mp3");
    file("b/2.mp3");
    chooseTypes({"*.mp3"});
    bool removed = false;
    h.loop.onYield = [&] {
        if (!removed && f1().List1.ListCount() == 1) {
            fs::remove_all(disk.path() + "b");
            removed = true;
        }
    };
    media().Search_Subfolders(disk.path());
    EXPECT_TRUE(removed);
    EXPECT_EQ(folders(), (std::vector<std::string>{disk.path() + "a/"}));
}

TEST_F(SubfolderSearchTest, CancelKeepsWhatWasFound) {
    for (const char* n : {"a/1.mp3", "b/1.mp3", "c/1.mp3", "d/1.mp3"}) file(n);
    chooseTypes({"*.mp3"});
    state().Busy = true;  // as the panel runs the search
    state().FolderListStale = false;
    f1().Check2.setValue(1);
    h.loop.onYield = [&] {
        int esc = 27;
        if (f1().List1.ListCount() == 2) f1().KeyDown.raise(esc, 0);
    };
    media().Search_Subfolders(disk.path());
    // The key is seen after the entry that follows it.
    EXPECT_EQ(folders(), (std::vector<std::string>{disk.path() + "a/", disk.path() + "b/", disk.path() + "c/"}));
    EXPECT_EQ(f1().Check2.Value(), 0);
    EXPECT_TRUE(state().FolderListStale);
    EXPECT_EQ(state().AbortKey, 27);  // the caller takes it back
    const std::string& status = f1().Text2[1].Text();
    const auto ready = status.find("-> Έτοιμο - Ready");
    const auto counts = status.find("Υποφάκελοι - Subdirectories --> 3");
    const auto cancelled = status.find("-> Ακυρώθηκε - Canceled");
    EXPECT_LT(ready, counts);
    EXPECT_LT(counts, cancelled);
    EXPECT_NE(cancelled, std::string::npos);
}

}  // namespace
}  // namespace tarvolin
