// Removing tracks by folder: the scopes of the subfolder list and of the file
// list, the exact path match, what happens to the current track, the count
// line, and the guards given back.
#include <filesystem>
#include <string>
#include <vector>

#include "library/track_table_fixture.h"
#include "support/media_fixtures.h"

namespace tarvolin {
namespace {

class RemoveByPathTest : public TrackTableTest {
protected:
    TempDir disk;

    void SetUp() override {
        TrackTableTest::SetUp();
        f1().File1.setPattern("*.mp3");
    }

    // A file on disk (folder/name) and its path.
    std::string file(const std::string& name) {
        const std::string path = disk.file(name);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        return fixtures::writeBytes(path, "x");
    }
    std::string folder(const std::string& name) { return disk.makeDir(name); }

    int track(const std::string& path, const std::string& title = "") {
        TrackInfo t;
        t.path = path;
        t.title = title.empty() ? path : title;
        return addTrack(t);
    }

    std::vector<std::string> paths() {
        std::vector<std::string> out;
        for (int i = 0; i < f1().List2.ListCount(); ++i) out.push_back(f1().List2.List(i));
        return out;
    }

    // The folder scopes: List1 holds the folders, Check2 ticked.
    void useFolders(const std::vector<std::string>& folders, bool onlySelected) {
        f1().List1.Clear();
        for (const std::string& path : folders) f1().List1.AddItem(path);
        state().ScanFromFileList = true;
        f1().Option1_0.setValue(!onlySelected);
        f1().Option1_1.setValue(onlySelected);
    }
    void useFileList(const std::string& path, bool onlySelected) {
        state().ScanFromFileList = false;
        ASSERT_TRUE(f1().File1.setPath(path));
        f1().Option4[0].setValue(!onlySelected);
        f1().Option4[1].setValue(onlySelected);
    }

    std::string status() { return f1().Text2[1].Text(); }
};

TEST_F(RemoveByPathTest, AllFoldersRemoveTheTracksOfListedFilesOnly) {
    const std::string a = folder("a"), b = folder("b"), c = folder("c");
    const std::string x = file("a/x.mp3"), y = file("b/y.mp3"), z = file("c/z.mp3");
    file("a/Song.mp3");
    file("a/note.txt");
    track(a + "gone.mp3");   // not on disk any more: never looked up
    track(x);
    track(a + "song.mp3");   // differs from the file on disk only in letter case
    track(z);                // a folder that is not in the list
    track(y);
    track(a + "note.txt");   // not shown by the type pattern
    d().CollectionSaved = true;
    useFolders({a, b}, false);

    lib().Removing_Files_Under_Path();

    EXPECT_EQ(paths(), (std::vector<std::string>{a + "gone.mp3", a + "song.mp3", z, a + "note.txt"}));
    EXPECT_EQ(d().TrackCount, 4);
    // The tables closed up with the rows.
    const std::vector<std::string> left = paths();
    for (std::size_t i = 0; i < left.size(); ++i) EXPECT_EQ(d().TrackTitle[i], left[i]);
    EXPECT_EQ(d().ClassCount[0], 4);
    EXPECT_FALSE(d().CollectionSaved);
    // The number column counts from 0 with four digits.
    const std::vector<std::string> numbers{"0000", "0001", "0002", "0003"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(f1().List3_0[0].List(i), numbers[static_cast<std::size_t>(i)]);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(f1().List3_0[k].ListCount(), 4);
    // Without the delete-from-disk option the files stay.
    EXPECT_TRUE(std::filesystem::exists(x));
    EXPECT_TRUE(std::filesystem::exists(y));
    EXPECT_EQ(status().find("-> Αριθμός αρχείων που αφαιρέθηκαν - Number of removed files : 2. Λάθη σε αρχεία - "
                            "Error in files : 0\r\n"),
              8u);
    EXPECT_NE(status().find("- Removing files from all directories. Please wait..."), std::string::npos);
}

TEST_F(RemoveByPathTest, TheRunGivesBackTheWindowAndItsGuards) {
    const std::string a = folder("a");
    track(file("a/x.mp3"));
    useFolders({a}, false);
    f1().Text2[0].setText("old log");
    state().Busy = true;  // the box ticked without its folder search
    f1().Check2.setValue(1);
    state().Busy = false;
    f1().MultiPage1.setValue(3);
    bool listsHiddenDuringRun = false;
    bool guardsDuringRun = false;
    // Looked at from inside the run, when it yields.
    h.loop.post([&] {
        listsHiddenDuringRun = !f1().List2.Visible();
        guardsDuringRun = state().Busy && state().TimerSuspended && !f1().Enabled() && !f1().MnuSystemTray.Enabled();
    });

    lib().Removing_Files_Under_Path();

    EXPECT_TRUE(listsHiddenDuringRun);
    EXPECT_TRUE(guardsDuringRun);
    EXPECT_FALSE(state().Busy);
    EXPECT_FALSE(state().TimerSuspended);
    EXPECT_TRUE(f1().Enabled());
    EXPECT_TRUE(f1().MnuSystemTray.Enabled());
    EXPECT_TRUE(f1().List2.Visible());
    for (ListBox& column : f1().List3_0) EXPECT_TRUE(column.Visible());
    EXPECT_EQ(h.dialogs.mousePointer(), 0);
    EXPECT_EQ(f1().Text2[0].Text().find("old log"), std::string::npos);
    // The subfolder page with the run's report stays in front, and the
    // subfolder box, its list and the source stay as they were.
    EXPECT_EQ(f1().MultiPage1.Value(), 3);
    EXPECT_TRUE(f1().Frame8.Visible());
    EXPECT_FALSE(f1().Frame1.Visible());
    EXPECT_EQ(f1().Check2.Value(), 1);
    EXPECT_TRUE(state().ScanFromFileList);
    EXPECT_TRUE(f1().List1.Enabled());
    EXPECT_TRUE(f1().Frame10.Enabled());
}

TEST_F(RemoveByPathTest, TheFileListScopeIsChosenWhenTheWindowOpens) {
    h->playback.Init_Defaults();
    const std::string a = folder("a");
    track(file("a/x.mp3"));
    f1().List3.setSelected(0, true);  // "*.mp3"
    ASSERT_TRUE(f1().Dir1.setPath(a));
    ASSERT_TRUE(f1().Option4[0].Value());
    f1().Command18[1].Click.raise();
    EXPECT_TRUE(paths().empty());
    EXPECT_NE(status().find("- Removing files from one directory [" + f1().File1.Path() + "]. Please wait..."),
              std::string::npos)
        << status();
    // Begun from the file list, the run ends on the subfolder page with the
    // file list as the source.
    EXPECT_EQ(f1().MultiPage1.Value(), 3);
    EXPECT_EQ(f1().Check2.Value(), 0);
    EXPECT_FALSE(state().ScanFromFileList);
}

TEST_F(RemoveByPathTest, SelectedFoldersOnlyAndNoneSelectedRemovesNothing) {
    const std::string a = folder("a"), b = folder("b");
    const std::string x = file("a/x.mp3"), y = file("b/y.mp3");
    track(x);
    track(y);
    useFolders({a, b}, true);

    lib().Removing_Files_Under_Path();
    EXPECT_EQ(paths().size(), 2u);
    EXPECT_NE(status().find("Number of removed files : 0. Λάθη σε αρχεία - Error in files : 0"), std::string::npos);

    f1().List1.setSelected(1, true);
    lib().Removing_Files_Under_Path();
    EXPECT_EQ(paths(), (std::vector<std::string>{x}));
    EXPECT_NE(status().find("selected directories"), std::string::npos);
}

TEST_F(RemoveByPathTest, AFolderThatCannotBeListedIsLoggedAndPassedOver) {
    const std::string a = folder("a"), b = folder("b");
    const std::string x = file("a/x.mp3"), y = file("b/y.mp3");
    track(x);
    track(y);
    useFolders({a, disk.path() + "missing/", b}, false);

    lib().Removing_Files_Under_Path();

    EXPECT_TRUE(paths().empty());
    EXPECT_NE(status().find("Number of removed files : 2."), std::string::npos);
    EXPECT_NE(f1().Text2[0].Text().find("The folder is not available: " + disk.path() + "missing/"), std::string::npos);
}

TEST_F(RemoveByPathTest, TheFileListScopesTakeAllOrTheSelectedFiles) {
    const std::string a = folder("a");
    const std::string p = file("a/p.mp3"), q = file("a/q.mp3"), r = file("a/r.mp3");
    track(p);
    track(q);
    track(r);
    useFileList(a, true);
    f1().File1.setSelected(1, true);

    lib().Removing_Files_Under_Path();
    EXPECT_EQ(paths(), (std::vector<std::string>{p, r}));
    EXPECT_NE(status().find("selection of one directory [" + f1().File1.Path() + "]"), std::string::npos);

    useFileList(a, false);
    lib().Removing_Files_Under_Path();
    EXPECT_TRUE(paths().empty());
    EXPECT_NE(status().find("Number of removed files : 2."), std::string::npos);
}

TEST_F(RemoveByPathTest, TheCurrentTrackKeepsNamingItsTrack) {
    const std::string a = folder("a"), b = folder("b");
    const std::string x0 = file("a/0.mp3"), x1 = file("a/1.mp3");
    const std::string keep = file("b/keep.mp3"), x3 = file("a/3.mp3");
    track(x0);
    track(x1);
    track(keep);
    track(x3);
    d().CurrentTrack = 2;
    useFolders({a}, false);

    lib().Removing_Files_Under_Path();

    ASSERT_EQ(paths(), (std::vector<std::string>{keep}));
    EXPECT_EQ(d().CurrentTrack, 0);
    EXPECT_EQ(f1().List2.List(d().CurrentTrack), keep);

    // With every track gone the current track stays at 0.
    useFolders({b}, false);
    lib().Removing_Files_Under_Path();
    EXPECT_EQ(d().TrackCount, 0);
    EXPECT_EQ(d().CurrentTrack, 0);
}

TEST_F(RemoveByPathTest, RemovingThePlayingTrackStopsItsPlayer) {
    const std::string a = folder("a");
    const std::string other = file("b/o.mp3");
    track(other);
    useFolders({a}, false);
    // The main window's player, then the video window's in the video mode.
    Player* players[] = {&f1().WindowsMediaPlayer1, &h->Form2.WindowsMediaPlayer1};
    for (int mode : {0, -1}) {
        const std::string x = file("a/x" + std::to_string(-mode) + ".mp3");
        h.media.add(x, 30, {{"MediaType", "audio"}});
        track(x);
        Player& player = *players[-mode];
        h->state.VideoMode = mode;
        player.setURL(x);
        player.controls.play();
        for (int i = 0; i < 10; ++i) h.loop.advance(50);
        ASSERT_EQ(player.playState(), playstate::Playing) << mode;
        d().CurrentFile = x;
        d().CurrentTrack = 1;

        lib().Removing_Files_Under_Path();
        for (int i = 0; i < 4; ++i) h.loop.advance(50);

        EXPECT_EQ(paths(), (std::vector<std::string>{other})) << mode;
        EXPECT_EQ(player.playState(), playstate::Stopped) << mode;
    }
}

TEST_F(RemoveByPathTest, WithDeleteFromDiskTheFilesGoWithTheirTracks) {
    const std::string a = folder("a");
    const std::string x = file("a/x.mp3"), y = file("a/y.mp3");
    track(x);
    track(y);
    state().DeleteFromDisk = true;
    state().DeleteToRecycle = true;
    useFolders({a}, false);

    lib().Removing_Files_Under_Path();

    EXPECT_TRUE(paths().empty());
    EXPECT_FALSE(std::filesystem::exists(x));
    EXPECT_FALSE(std::filesystem::exists(y));
    EXPECT_EQ(h.desktop.trashedPaths, (std::vector<std::string>{x, y}));
    EXPECT_NE(status().find(" ---> XXXXXXXX"), std::string::npos);
    EXPECT_NE(status().find("Λάθη διαγραφής από δίσκο - Errors while deleting from disk: 0"), std::string::npos);
    EXPECT_NE(status().find("-> Απομακρύνθηκαν - Removed : 2\r\n"), std::string::npos);
    EXPECT_NE(status().find("Number of removed files : 2. Λάθη σε αρχεία - Error in files : 0"), std::string::npos);
}

TEST_F(RemoveByPathTest, AFileThatCannotBeDeletedKeepsItsTrackUnlessToldOtherwise) {
    const std::string a = folder("a");
    const std::string x = file("a/x.mp3"), y = file("a/y.mp3");
    track(x);
    track(y);
    state().DeleteFromDisk = true;
    state().DeleteToRecycle = true;
    useFolders({a}, false);

    h.desktop.failTrashOf(y);
    lib().Removing_Files_Under_Path();
    EXPECT_EQ(paths(), (std::vector<std::string>{y}));
    EXPECT_FALSE(std::filesystem::exists(x));
    EXPECT_TRUE(std::filesystem::exists(y));
    EXPECT_NE(status().find("Number of removed files : 1. Λάθη σε αρχεία - Error in files : 1"), std::string::npos);
    // The kept track's own lines (with the run's count), under the count line.
    EXPECT_NE(status().find("-> Απομακρύνθηκαν - Removed : 1\r\n"), std::string::npos);
    EXPECT_NE(status().find("Errors while deleting from disk: 1\r\n"), std::string::npos);
    EXPECT_NE(status().find("-> Αφαιρούνται αρχεία από όλους τους φάκελους.Παρακαλώ περιμένετε... - Removing files "
                            "from all directories. Please wait...\r\n ---> Αδύνατη η διαγραφή - ?X?X??X?X? - "
                            "Impossible to delete file"),
              std::string::npos);

    // With "even on disk error" the track goes all the same.
    state().DeleteEvenOnDiskError = true;
    lib().Removing_Files_Under_Path();
    EXPECT_TRUE(paths().empty());
    EXPECT_TRUE(std::filesystem::exists(y));
    EXPECT_NE(status().find("Error in files : 0"), std::string::npos);
}

TEST_F(RemoveByPathTest, TheRemoveButtonsRunTheRemoval) {
    const std::string a = folder("a"), b = folder("b");
    const std::string x = file("a/x.mp3"), y = file("b/y.mp3");
    track(x);
    track(y);
    f1().List3.AddItem("*.mp3");

    // The file list's button: the panel refuses without a type chosen.
    useFileList(a, false);
    f1().Command18[1].Click.raise();
    EXPECT_EQ(paths().size(), 2u);
    ASSERT_NE(h.dialogs.last(), nullptr);
    EXPECT_NE(h.dialogs.last()->prompt.find("Select at least one type of media file"), std::string::npos);

    f1().List3.setSelected(0, true);
    useFileList(a, false);  // a type chosen lists Dir1's folder again
    state().ScanFromFileList = true;
    f1().Command18[1].Click.raise();
    EXPECT_EQ(paths(), (std::vector<std::string>{y}));
    EXPECT_FALSE(state().ScanFromFileList);  // the file list was the source

    // The subfolder page's button; a declined confirmation removes nothing.
    useFolders({b}, false);
    h.dialogs.answerMsgBox(mb::Cancel);
    f1().Command5.Click.raise();
    EXPECT_EQ(paths(), (std::vector<std::string>{y}));
    f1().Command5.Click.raise();
    EXPECT_TRUE(paths().empty());
    EXPECT_FALSE(state().Busy);
}

}  // namespace
}  // namespace tarvolin
