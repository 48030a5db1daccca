// Copying, moving and deleting one file, deleting a collection with its part
// files, and letting the player go of the file that plays.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "media/media_files.h"
#include "support/media_fixtures.h"
#include "support/program_harness.h"
#include "support/temp_dir.h"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;

constexpr const char* kReleased = "never_existed_non_existing.mp3";

class SingleFileOpsTest : public ::testing::Test {
protected:
    ProgramHarness h;
    TempDir disk;

    MediaFiles& media() { return h->media; }
    ModuleState& state() { return h->state; }
    CollectionData& d() { return h->collection.d; }
    Form1& f1() { return h->Form1; }

    std::string file(const std::string& name, const std::string& bytes = "data") {
        const std::string path = disk.file(name);
        fs::create_directories(fs::path(path).parent_path());
        return fixtures::writeBytes(path, bytes);
    }
    static std::string contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // The log's lines, newest first, without their times.
    std::vector<std::string> logLines() {
        std::vector<std::string> out;
        const std::string& text = f1().Text2[0].Text();
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find("\r\n", start);
            if (end == std::string::npos) end = text.size();
            out.push_back(text.substr(start + 8, end - start - 8));
            start = end + 2;
        }
        return out;
    }
    std::int32_t run(const std::string& from, const std::string& to, int operation) {
        std::int32_t flag = 0;
        media().File_Copy_Move_Delete(from, to, operation, flag);
        return flag;
    }
    // The main window's player playing path, advanced to about `seconds`.
    void playInMain(const std::string& path, int seconds) {
        h.engines.rules().durations[path] = 300;
        Player& p = f1().WindowsMediaPlayer1;
        p.setURL(path);
        p.controls.play();
        h.loop.runUntilIdle();
        h.loop.advance(seconds * 1000);
        d().CurrentFile = path;
    }
};

TEST_F(SingleFileOpsTest, CopyOverwritesTheDestinationAndLeavesTheSource) {
    const std::string src = file("a/song.mp3", "new bytes");
    const std::string dst = file("b/song.mp3", "old");

    EXPECT_EQ(run(src, dst, 0), 0);
    EXPECT_EQ(contents(dst), "new bytes");
    EXPECT_EQ(contents(src), "new bytes");
    ASSERT_EQ(logLines().size(), 1u);
    EXPECT_EQ(logLines()[0], "-> " + src + " ---> " + dst + " ");
    // No temporary file is left beside the copy.
    EXPECT_EQ(std::distance(fs::directory_iterator(disk.path() + "b"), fs::directory_iterator()), 1);
}

TEST_F(SingleFileOpsTest, SameFileIsRefusedUnderEverySpelling) {
    const std::string src = file("a/song.mp3", "keep");
    const std::string link = disk.file("a/hard.mp3");
    ASSERT_EQ(::link(src.c_str(), link.c_str()), 0);
    const std::string dotted = disk.path() + "a/../a/song.mp3";

    for (const std::string& dst : {src, dotted, link}) {
        for (int op : {0, 1}) {
            f1().Text2[0].setText("");
            EXPECT_EQ(run(src, dst, op), -1) << dst << " op " << op;
            ASSERT_EQ(logLines().size(), 1u);
            EXPECT_EQ(logLines()[0], "->Το αρχείο προορισμού είναι το ίδιο με το αρχείο προέλευσης " + src +
                                         " <-> " + dst + " . Source file is the same with destination file.");
        }
    }
    EXPECT_EQ(contents(src), "keep");
    EXPECT_TRUE(fs::exists(link));
}

TEST_F(SingleFileOpsTest, MoveToAMissingFolderFailsAndKeepsTheSource) {
    const std::string src = file("a/song.mp3");
    const std::string dst = disk.path() + "nowhere/song.mp3";

    EXPECT_EQ(run(src, dst, 1), 1);
    EXPECT_TRUE(fs::exists(src));
    EXPECT_FALSE(fs::exists(dst));
    ASSERT_EQ(logLines().size(), 1u);
    EXPECT_EQ(logLines()[0], "-> " + src + " XXX αδυναμία αντιγραφής σε - failed to copy to ---> " + dst + " ");
}

TEST_F(SingleFileOpsTest, CopyOfAMissingSourceFails) {
    const std::string dst = disk.makeDir("b") + "song.mp3";
    EXPECT_EQ(run(disk.file("gone.mp3"), dst, 0), 1);
    EXPECT_FALSE(fs::exists(dst));
}

TEST_F(SingleFileOpsTest, MoveLogsTheCopyThenTheDeletion) {
    const std::string src = file("a/song.mp3", "bytes");
    const std::string dst = disk.makeDir("b") + "song.mp3";

    EXPECT_EQ(run(src, dst, 1), 0);
    EXPECT_FALSE(fs::exists(src));
    EXPECT_EQ(contents(dst), "bytes");
    ASSERT_EQ(logLines().size(), 2u);
    EXPECT_EQ(logLines()[0], "-> διαγραφή - deleting ---> " + src + " = XXX ");
    EXPECT_EQ(logLines()[1], "-> " + src + " ---> " + dst + " ");
}

TEST_F(SingleFileOpsTest, DeleteGoesForGoodOrToTheTrash) {
    const std::string a = file("a.mp3");
    const std::string b = file("b.mp3");

    state().DeleteToRecycle = false;
    EXPECT_EQ(run(a, "", 2), 0);
    EXPECT_FALSE(fs::exists(a));
    EXPECT_TRUE(h.desktop.trashCalls.empty());
    ASSERT_EQ(logLines().size(), 1u);
    EXPECT_EQ(logLines()[0], "-> διαγραφή - deleting ---> " + a + " = XXX ");

    state().DeleteToRecycle = true;
    EXPECT_EQ(run(b, "", 2), 0);
    EXPECT_FALSE(fs::exists(b));
    EXPECT_FALSE(h.desktop.trashedCopyOf(b).empty());
}

TEST_F(SingleFileOpsTest, FailedDeletionsAreReported) {
    const std::string kept = file("kept.mp3");

    // A missing file cannot be deleted for good...
    state().DeleteToRecycle = false;
    EXPECT_EQ(run(disk.file("gone.mp3"), "", 2), 2);
    EXPECT_EQ(logLines()[0], "-> XXX αδυναμία διαγραφής - failed to delete ---> " + disk.file("gone.mp3"));
    // ...but goes unnoticed by the trash.
    state().DeleteToRecycle = true;
    EXPECT_EQ(run(disk.file("gone.mp3"), "", 2), 0);

    // A trash that refuses is a failure, and the file stays.
    h.desktop.failNextTrash();
    EXPECT_EQ(run(kept, "", 2), 2);
    EXPECT_TRUE(fs::exists(kept));
    EXPECT_EQ(logLines()[0], "-> XXX αδυναμία διαγραφής - failed to delete ---> " + kept);

    // A folder is never deleted as a file.
    state().DeleteToRecycle = false;
    const std::string folder = disk.makeDir("empty");
    std::int32_t flag = 0;
    media().Delete_File_Or_Collection(folder.substr(0, folder.size() - 1), flag);
    EXPECT_EQ(flag, -1);
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST_F(SingleFileOpsTest, MoveWhoseDeletionFailsKeepsBothFiles) {
    const std::string src = file("a/song.mp3");
    const std::string dst = disk.makeDir("b") + "song.mp3";
    state().DeleteToRecycle = true;
    h.desktop.failTrashOf(src);

    EXPECT_EQ(run(src, dst, 1), 2);
    EXPECT_TRUE(fs::exists(src));
    EXPECT_TRUE(fs::exists(dst));
    EXPECT_EQ(logLines()[0], "-> XXX αδυναμία διαγραφής - failed to delete ---> " + src);
}

TEST_F(SingleFileOpsTest, DeletingThePlayingFileReleasesTheMainPlayer) {
    const std::string song = file("song.mp3", std::string(1000, 'x'));
    playInMain(song, 5);
    Player& p = f1().WindowsMediaPlayer1;
    ASSERT_EQ(p.playState(), playstate::Playing);
    f1().Text1_0.setText("Title");
    f1().Text1_4.setText("Comment");
    f1().Combo1.AddItem("000 - Blues");
    f1().Combo1.setListIndex(0);
    f1().Picture1.setPicture("/music/Folder.jpg");
    h->Form4.Picture1[0].setPicture("/music/Folder.jpg");
    state().TagFile = song;
    // The state handlers stay out of the release.
    std::vector<bool> busyAtChange;
    p.PlayStateChange = [&](int) { busyAtChange.push_back(state().Busy); };

    EXPECT_EQ(run(song, "", 2), 0);

    EXPECT_FALSE(fs::exists(song));
    EXPECT_EQ(p.URL(), kReleased);
    EXPECT_FALSE(fs::exists(h->AppFolder() + "dump.mp3"));
    EXPECT_EQ(f1().Text1_0.Text(), "");
    EXPECT_EQ(f1().Text1_4.Text(), "");
    EXPECT_EQ(f1().Combo1.ListIndex(), -1);
    EXPECT_EQ(f1().Picture1.Picture(), "");
    EXPECT_EQ(h->Form4.Picture1[0].Picture(), "");
    EXPECT_EQ(state().TagFile, "");
    EXPECT_FALSE(state().Busy);
    EXPECT_EQ(d().CurrentFile, song);
    ASSERT_FALSE(busyAtChange.empty());
    for (bool busy : busyAtChange) EXPECT_TRUE(busy);
    // The player tries the name at the old position, and fails on it.
    h.loop.runUntilIdle();
    EXPECT_EQ(p.playState(), playstate::Stopped);
}

TEST_F(SingleFileOpsTest, ReleaseInsideABulkRunKeepsItsBusy) {
    const std::string song = file("song.mp3", std::string(1000, 'x'));
    playInMain(song, 1);
    state().Busy = true;
    std::int32_t flag = 0;
    media().Delete_File_Or_Collection(song, flag);
    EXPECT_EQ(flag, 0);
    EXPECT_TRUE(state().Busy);
}

TEST_F(SingleFileOpsTest, DeletingThePlayingFileReleasesTheVideoPlayer) {
    const std::string clip = file("clip.avi", std::string(1000, 'x'));
    h.engines.rules().durations[clip] = 300;
    state().VideoMode = -1;
    Player& video = h->Form2.WindowsMediaPlayer1;
    video.setURL(clip);
    video.controls.play();
    h.loop.runUntilIdle();
    d().CurrentFile = clip;
    f1().WindowsMediaPlayer1.setURL("");

    EXPECT_EQ(run(clip, "", 2), 0);
    EXPECT_EQ(video.URL(), kReleased);
    EXPECT_EQ(f1().WindowsMediaPlayer1.URL(), "");
    EXPECT_FALSE(fs::exists(clip));
}

TEST_F(SingleFileOpsTest, PausedPlayerStaysPausedAfterTheRelease) {
    const std::string song = file("song.mp3", std::string(1000, 'x'));
    playInMain(song, 2);
    Player& p = f1().WindowsMediaPlayer1;
    p.controls.pause();
    h.loop.runUntilIdle();
    ASSERT_EQ(p.playState(), playstate::Paused);
    // The file is only copied: no player lets go of it.
    EXPECT_EQ(run(song, disk.makeDir("b") + "song.mp3", 0), 0);
    EXPECT_EQ(p.URL(), song);

    std::int32_t flag = 0;
    media().Operate_On_Playing_File(song, flag, kReleased);
    EXPECT_EQ(p.URL(), kReleased);
    // Paused, not playing: the engine holds no playing file.
    EXPECT_NE(p.playState(), playstate::Playing);
}

class CollectionDeleteTest : public SingleFileOpsTest {
protected:
    std::string collections, filters, collection;
    void SetUp() override {
        collections = h->AppFolder() + "tarvolin_sylloges/";
        filters = h->AppFolder() + "tarvolin_filtra/";
        fs::create_directories(collections);
        fs::create_directories(filters);
        collection = collections + "rock.tlf";
        for (const std::string& p :
             {collection, collection + ".backup", collections + "rock_Files.ptlf",
              collections + "rock_Files.ptlf.backup", filters + "rock_Filters.ptlf",
              filters + "rock_Filters.ptlf.backup"}) {
            fixtures::writeBytes(p, "x");
        }
        // Another collection's files stay whatever happens.
        fixtures::writeBytes(collections + "pop_Files.ptlf", "x");
        fixtures::writeBytes(filters + "pop_Filters.ptlf", "x");
        d().CollectionPath = collection;
    }
    void expectOnlyBackupAndOthersLeft() {
        EXPECT_FALSE(fs::exists(collection));
        EXPECT_FALSE(fs::exists(collections + "rock_Files.ptlf"));
        EXPECT_FALSE(fs::exists(collections + "rock_Files.ptlf.backup"));
        EXPECT_FALSE(fs::exists(filters + "rock_Filters.ptlf"));
        EXPECT_FALSE(fs::exists(filters + "rock_Filters.ptlf.backup"));
        EXPECT_TRUE(fs::exists(collection + ".backup"));
        EXPECT_TRUE(fs::exists(collections + "pop_Files.ptlf"));
        EXPECT_TRUE(fs::exists(filters + "pop_Filters.ptlf"));
    }
};

TEST_F(CollectionDeleteTest, DeletesTheCollectionWithItsPartFilesButNotItsBackup) {
    state().DeleteToRecycle = false;
    std::int32_t flag = 0;
    media().Delete_File_Or_Collection(collection, flag);
    EXPECT_EQ(flag, 0);
    expectOnlyBackupAndOthersLeft();
}

TEST_F(CollectionDeleteTest, RecyclesInOrderAndIgnoresMissingFiles) {
    state().DeleteToRecycle = true;
    fs::remove(filters + "rock_Filters.ptlf.backup");
    std::int32_t flag = 0;
    media().Delete_File_Or_Collection(collection, flag);
    EXPECT_EQ(flag, 0);
    expectOnlyBackupAndOthersLeft();
    ASSERT_GE(h.desktop.trashedPaths.size(), 4u);
    EXPECT_EQ(h.desktop.trashedPaths[0], collection);
    EXPECT_EQ(h.desktop.trashedPaths[1], collections + "rock_Files.ptlf");
    EXPECT_EQ(h.desktop.trashedPaths[2], filters + "rock_Filters.ptlf");
    EXPECT_EQ(h.desktop.trashedPaths[3], collections + "rock_Files.ptlf.backup");
}

TEST_F(CollectionDeleteTest, AMissingPartFileForGoodIsAFailureButTheRestGoes) {
    state().DeleteToRecycle = false;
    fs::remove(collections + "rock_Files.ptlf.backup");
    std::int32_t flag = 0;
    media().Delete_File_Or_Collection(collection, flag);
    EXPECT_EQ(flag, -1);
    expectOnlyBackupAndOthersLeft();
}

TEST_F(CollectionDeleteTest, ACollectionOutsideTheFolderTakesThePartFilesBesideIt) {
    const std::string mix = file("music/mix.tlf");
    const std::string mixTracks = file("music/mix_Files.ptlf");
    const std::string mixFilters = file("music/mix_Filters.ptlf");
    d().CollectionPath = mix;
    state().DeleteToRecycle = true;
    std::int32_t flag = 0;
    media().Delete_File_Or_Collection(mix, flag);
    EXPECT_EQ(flag, 0);
    EXPECT_FALSE(fs::exists(mix));
    EXPECT_FALSE(fs::exists(mixTracks));
    EXPECT_FALSE(fs::exists(mixFilters));
    // The collection in the collections folder is untouched.
    EXPECT_TRUE(fs::exists(collection));
    EXPECT_TRUE(fs::exists(collections + "rock_Files.ptlf"));
}

}  // namespace
}  // namespace tarvolin
