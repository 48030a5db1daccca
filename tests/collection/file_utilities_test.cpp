// File and path utilities, releasing a player's file, and hiding the lists.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "collection/store_files.h"
#include "collection/store_fixture.h"
#include "toolkit/durable_file.h"

namespace tarvolin {
namespace {

using FileUtilitiesTest = StoreTest;

TEST_F(FileUtilitiesTest, FileNameOfPath) {
    std::string name = "kept";
    CollectionStore::File_Name_Of_Path("", name);
    EXPECT_EQ(name, "kept");
    CollectionStore::File_Name_Of_Path("/music/rock/song.mp3", name);
    EXPECT_EQ(name, "song.mp3");
    CollectionStore::File_Name_Of_Path("/music/rock/", name);
    EXPECT_EQ(name, "");
    CollectionStore::File_Name_Of_Path("song.mp3", name);
    EXPECT_EQ(name, "song.mp3");
}

TEST_F(FileUtilitiesTest, OnlyReadableRegularFilesExistOrHaveALength) {
    const std::string full = h.folder.file("full.mp3");
    std::ofstream(full) << "12345";
    const std::string empty = h.folder.file("empty.mp3");
    std::ofstream{empty};
    const std::string folder = h.folder.makeDir("sub");
    const std::string fifo = h.folder.file("pipe.mp3");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

    EXPECT_TRUE(CollectionStore::File_Exists(full));
    EXPECT_TRUE(CollectionStore::File_Exists(empty));
    EXPECT_FALSE(CollectionStore::File_Exists(folder));
    EXPECT_FALSE(CollectionStore::File_Exists(fifo));
    EXPECT_FALSE(CollectionStore::File_Exists(h.folder.file("missing.mp3")));
    EXPECT_FALSE(CollectionStore::File_Exists(""));

    std::string path = full;
    Currency size = money(99);
    store().Check_Zero_Length(path, size);
    EXPECT_EQ(path, full);
    EXPECT_EQ(size, money(5));

    for (const std::string& bad : {empty, folder, fifo, h.folder.file("missing.mp3")}) {
        path = bad;
        size = money(99);
        store().Check_Zero_Length(path, size);
        EXPECT_EQ(path, "") << bad;
        EXPECT_EQ(size, Currency{}) << bad;
    }
}

TEST_F(FileUtilitiesTest, ReplacingAFileKeepsTheOldOneWhenTheNewIsMissing) {
    auto contents = [](const std::string& path) {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    const std::string target = h.folder.file("tracks.ptlf");
    const std::string fresh = h.folder.file("tracks.ptlf.new");
    std::ofstream(target) << "old";
    std::ofstream(fresh) << "new";

    EXPECT_FALSE(durable::replaceFile(h.folder.file("missing"), target));
    EXPECT_EQ(contents(target), "old");

    ASSERT_TRUE(durable::replaceFile(fresh, target));
    EXPECT_EQ(contents(target), "new");
    EXPECT_FALSE(std::filesystem::exists(fresh));
    // The old file went with the swap: nothing is left beside the new one.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(h.folder.file(""))) {
        if (entry.path().filename().string().rfind("tracks.ptlf", 0) == 0) ++files;
    }
    EXPECT_EQ(files, 1);

    // Onto a name that does not exist yet, and over a folder (refused).
    ASSERT_TRUE(durable::replaceFile(target, h.folder.file("moved.ptlf")));
    EXPECT_EQ(contents(h.folder.file("moved.ptlf")), "new");
    const std::string folder = h.folder.makeDir("taken");
    EXPECT_FALSE(durable::replaceFile(h.folder.file("moved.ptlf"), folder));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST_F(FileUtilitiesTest, HelpAndHomePagesGoThroughTheUrlOpener) {
    std::ofstream(app().AppFolder() + "tarvolin_help.htm") << "<html></html>";

    store().Open_Help_Page("Help");
    ASSERT_EQ(h.desktop.openedUrls.size(), 1u);
    EXPECT_EQ(h.desktop.openedUrls.back(), app().AppFolder() + "tarvolin_help.htm");

    store().Open_Help_Page("");
    ASSERT_EQ(h.desktop.openedUrls.size(), 2u);
    EXPECT_EQ(h.desktop.openedUrls.back().rfind("https://", 0), 0u);

    store().Open_Help_Page("mailto:someone@example.org");
    EXPECT_EQ(h.desktop.openedUrls.back(), "mailto:someone@example.org");

    // "help" in small letters is an ordinary target, and not one that may
    // be opened: refused and logged.
    store().Open_Help_Page("help");
    EXPECT_EQ(h.desktop.requestedUrls.back(), "help");
    EXPECT_EQ(h.desktop.openedUrls.size(), 3u);
    EXPECT_NE(f1().Text2[0].Text().find("help"), std::string::npos);
}

TEST_F(FileUtilitiesTest, ReleasingAPlayerWritesNoFile) {
    const std::string song = h.folder.file("song.mp3");
    std::ofstream(song) << "data";
    Player& player = f1().WindowsMediaPlayer1;
    player.setURL(song);
    h.loop.runUntilIdle();

    store().Load_Dump_Media(1);
    EXPECT_EQ(player.URL(), "");
    EXPECT_FALSE(std::filesystem::exists(app().AppFolder() + "dump.mp3"));
    store().Load_Dump_Media(3);  // no such player: nothing happens

    std::ofstream(app().AppFolder() + "dump.mp3") << "left over";
    store().Kill_Dump_Media();
    EXPECT_FALSE(std::filesystem::exists(app().AppFolder() + "dump.mp3"));
    store().Kill_Dump_Media();  // nothing to remove is no error
}

TEST_F(FileUtilitiesTest, TrackListsHideAndShowTogether) {
    store().Make_Visible();
    EXPECT_TRUE(f1().List2.Visible());

    store().Make_Invisible();
    EXPECT_FALSE(f1().List2.Visible());
    for (ListBox& column : f1().List3_0) EXPECT_FALSE(column.Visible());
    store().Make_Visible();
    EXPECT_TRUE(f1().List2.Visible());
    for (ListBox& column : f1().List3_0) EXPECT_TRUE(column.Visible());
}

}  // namespace
}  // namespace tarvolin
