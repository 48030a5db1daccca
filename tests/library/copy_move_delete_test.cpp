// Copying, moving and deleting tracks' files by class, by selection and from
// the filtered table, through the bulk worker.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/media_fixtures.h"
#include "support/temp_dir.h"
#include "track_table_fixture.h"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;

constexpr const char* kNothingOfCategory =
    "Δεν υπάρχουν αρχεία αυτής της κατηγορίας - There aren't any files of this category";
constexpr const char* kNoDestination =
    "Δεν έχετε επιλέξει Φάκελο Μετακίνησης - You have not setted a Destination Directory";

class CopyMoveDeleteTest : public TrackTableTest {
protected:
    TempDir disk;
    std::string source, dest;

    void SetUp() override {
        TrackTableTest::SetUp();
        source = disk.makeDir("source");
        dest = disk.makeDir("dest");
        fs::create_directories(h->AppFolder() + "tarvolin_sylloges");
        fs::create_directories(h->AppFolder() + "tarvolin_filtra");
        d().CollectionPath = h->AppFolder() + "tarvolin_sylloges/test.tlf";
    }

    // A track whose file exists under source/ (the file name is its title).
    int addFile(const std::string& name, int cls, double megabytes = 1, const std::string& genre = "") {
        const std::string path = source + name;
        fs::create_directories(fs::path(path).parent_path());
        fixtures::writeBytes(path, "bytes of " + name);
        TrackInfo t;
        t.path = path;
        t.title = name;
        t.genre = genre;
        t.cls = cls;
        t.megabytes = megabytes;
        return addTrack(t);
    }

    std::vector<std::string> paths() {
        std::vector<std::string> out;
        for (int i = 0; i < f1().List2.ListCount(); ++i) out.push_back(f1().List2.List(i));
        return out;
    }
    std::vector<std::string> msgBoxes() {
        std::vector<std::string> out;
        for (const DialogCall& c : h.dialogs.calls("MsgBox")) out.push_back(c.prompt);
        return out;
    }
    static std::string contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    bool logHas(const std::string& piece) { return logLines(piece) > 0; }

    // The main player plays track i's file, and it is the current track.
    std::string play(int i) {
        const std::string path = f1().List2.List(i);
        h.engines.rules().durations[path] = 200;
        Player& main = f1().WindowsMediaPlayer1;
        main.setURL(path);
        main.controls.play();
        h.loop.runUntilIdle();
        d().CurrentTrack = i;
        d().CurrentFile = path;
        return path;
    }

    // Every list and table holds one row or entry per track, in step.
    void expectAligned() {
        const int rows = f1().List2.ListCount();
        EXPECT_EQ(d().TrackCount, rows);
        for (const ListBox& column : f1().List3_0) EXPECT_EQ(column.ListCount(), rows) << column.Index();
        EXPECT_EQ(d().trackEntries(), static_cast<std::size_t>(rows) + 1);
        for (int i = 0; i < rows; ++i) {
            std::string name;
            CollectionStore::File_Name_Of_Path(f1().List2.List(i), name);
            EXPECT_EQ(d().TrackTitle[static_cast<std::size_t>(i)], name) << i;
        }
    }
    void expectGuardsCleared() {
        EXPECT_FALSE(state().Busy);
        EXPECT_FALSE(state().TimerSuspended);
    }
};

// ---- Copy and move by class -------------------------------------------------

TEST_F(CopyMoveDeleteTest, CopyOfAClassTakesTheTracksShowingItsLetterOrHoldingItsCode) {
    addFile("a.mp3", 2);                    // C
    addFile("b.mp3", 5);                    // S
    addFile("c.mp3", 0);                    // unclassified, but its column shows C
    f1().List3_0[1].setList(2, "C");
    addFile("d.mp3", 2);                    // C, its column shows "-"
    f1().List3_0[1].setList(3, "-");
    h.dialogs.answerFolder(dest);

    lib().MnuFileCopyCClass_Click();

    EXPECT_TRUE(fs::exists(dest + "a.mp3"));
    EXPECT_FALSE(fs::exists(dest + "b.mp3"));
    EXPECT_TRUE(fs::exists(dest + "c.mp3"));
    EXPECT_TRUE(fs::exists(dest + "d.mp3"));
    EXPECT_TRUE(fs::exists(source + "a.mp3"));
    // The entries keep their paths, and a plain copy writes no summary.
    EXPECT_EQ(paths()[0], source + "a.mp3");
    EXPECT_FALSE(logHas("Tries"));
    EXPECT_TRUE(logHas(" -> Σώθηκε - Saved"));
    EXPECT_EQ(f1().lastAnnouncement(), "Σώθηκε - Saved");
    ASSERT_EQ(msgBoxes().size(), 1u);
    EXPECT_EQ(msgBoxes()[0], "Πρόκειται να αντιγράψετε  όλα τα αρχεία C' Kλάσης στον κατάλογο: " + dest +
                                 "\r\n - You are going to copy all the C' Class files to directory: " + dest);
    EXPECT_EQ(h.dialogs.calls("MsgBox")[0].buttons, mb::OKCancel + mb::Question);
    EXPECT_EQ(state().MoveClassCode, 1);
    expectGuardsCleared();
}

TEST_F(CopyMoveDeleteTest, NothingToCopyOrNoFolderIsRefused) {
    lib().MnuFileCopyAll_Click();  // an empty collection: nothing at all
    EXPECT_TRUE(h.dialogs.transcript().empty());

    addFile("a.mp3", 5);
    lib().MnuFileCopyCClass_Click();
    lib().MnuFileCopy_Click();  // nothing selected
    EXPECT_EQ(msgBoxes(), (std::vector<std::string>{kNothingOfCategory, kNothingOfCategory}));
    EXPECT_TRUE(h.dialogs.calls("PickFolder").empty());

    h.dialogs.clearTranscript();
    h.dialogs.answerFolder(std::nullopt);
    lib().MnuFileCopySClass_Click();
    ASSERT_EQ(msgBoxes().size(), 2u);
    EXPECT_EQ(msgBoxes()[1], kNoDestination);
    EXPECT_TRUE(fs::is_empty(dest));
    expectGuardsCleared();
}

TEST_F(CopyMoveDeleteTest, CopyPointingToTheNewPathChangesTheEntriesAndSumsUp) {
    addFile("a.mp3", 1);
    addFile("b.mp3", 4);
    lib().MnuFilecopyreference_Click();
    ASSERT_TRUE(state().FileCopyReference);
    ASSERT_TRUE(f1().MnuFilecopyreference.Checked());
    h.dialogs.answerFolder(dest);

    lib().MnuFileCopyAll_Click();

    EXPECT_EQ(paths(), (std::vector<std::string>{dest + "a.mp3", dest + "b.mp3"}));
    EXPECT_TRUE(fs::exists(source + "a.mp3"));
    EXPECT_TRUE(logHas("Copy/Move/Delete Tries:  2\r\n. Αποτυχίες - Failures:  0\r\n. Επιτυχίες - Success : 2\r\n"));
    EXPECT_TRUE(logHas("-> Αντιγράφηκαν/Μετακινήθηκαν/Διαγράφησαν  2Mb have been copied/moved/deleted!"));
    // Written again at the save.
    EXPECT_TRUE(d().CollectionSaved);
    EXPECT_TRUE(logHas(" -> Σώθηκε - Saved"));

    lib().MnuFilecopyreference_Click();
    EXPECT_FALSE(state().FileCopyReference);
}

TEST_F(CopyMoveDeleteTest, MoveWithoutPointingTakesTheMovedTracksOut) {
    addFile("a.mp3", 1);
    addFile("b.mp3", 1);
    addFile("c.mp3", 3);
    f1().List2.setSelected(0, true);
    f1().List2.setSelected(2, true);
    h.dialogs.answerFolder(dest);

    lib().mnufilesmove_Click();

    ASSERT_EQ(msgBoxes().size(), 2u);
    EXPECT_NE(msgBoxes()[1].find("Mooving files without Pointing to the New Path"), std::string::npos);
    EXPECT_EQ(h.dialogs.calls("MsgBox")[1].buttons, mb::YesNo + mb::Question);
    EXPECT_EQ(paths(), (std::vector<std::string>{source + "b.mp3"}));
    EXPECT_TRUE(fs::exists(dest + "a.mp3"));
    EXPECT_TRUE(fs::exists(dest + "c.mp3"));
    EXPECT_FALSE(fs::exists(source + "a.mp3"));
    EXPECT_TRUE(fs::exists(source + "b.mp3"));
    expectAligned();
    EXPECT_EQ(d().ClassCount[1], 1);
    EXPECT_EQ(d().ClassCount[3], 0);
    expectGuardsCleared();
}

TEST_F(CopyMoveDeleteTest, MoveDeclinedDoesNothingButStillSaves) {
    addFile("a.mp3", 1);
    h.dialogs.answerFolder(dest);
    h.dialogs.answerMsgBox(mb::OK);
    h.dialogs.answerMsgBox(mb::No);

    lib().mnufilemoveall_Click();

    EXPECT_EQ(paths(), (std::vector<std::string>{source + "a.mp3"}));
    EXPECT_TRUE(fs::exists(source + "a.mp3"));
    EXPECT_TRUE(fs::is_empty(dest));
    EXPECT_TRUE(logHas(" -> Σώθηκε - Saved"));
    expectGuardsCleared();
}

TEST_F(CopyMoveDeleteTest, MovePointingToTheNewPathAsksAboutTheFolder) {
    addFile("a.mp3", 1);
    lib().MnuFileMoveReference_Click();
    h.dialogs.answerFolder(dest);

    lib().MnuFileMoveXClass_Click();

    ASSERT_EQ(msgBoxes().size(), 2u);
    EXPECT_NE(msgBoxes()[1].find("changing folders names towards {" + dest + "} of the selected' of the selected files"),
              std::string::npos);
    EXPECT_EQ(paths(), (std::vector<std::string>{dest + "a.mp3"}));
    EXPECT_FALSE(fs::exists(source + "a.mp3"));
}

TEST_F(CopyMoveDeleteTest, MoveOntoTheFileItselfIsRefusedAndCountedAsAFailure) {
    addFile("a.mp3", 1);
    state().FileMoveReference = true;
    state().DestFolder = source;
    std::int32_t op = 1;
    bool cancelled = false, stopped = false;
    lib().Copy_Move_Delete_Files(0, 0, op, Currency::fromInteger(1), cancelled, stopped);

    EXPECT_TRUE(fs::exists(source + "a.mp3"));
    EXPECT_EQ(paths(), (std::vector<std::string>{source + "a.mp3"}));
    EXPECT_TRUE(logHas("Source file is the same with destination file."));
    EXPECT_TRUE(logHas("Failures:  1"));
    // Busy stays for the calling command to clear; the timer is back.
    EXPECT_TRUE(state().Busy);
    EXPECT_FALSE(state().TimerSuspended);
}

TEST_F(CopyMoveDeleteTest, TwoFilesOfOneNameDoNotOverwriteEachOther) {
    addFile("one/song.mp3", 1);
    addFile("two/song.mp3", 1);
    state().FileCopyReference = true;
    state().DestFolder = dest;
    std::int32_t op = 0;
    bool cancelled = false, stopped = false;
    lib().Copy_Move_Delete_Files(0, 0, op, Currency::fromInteger(2), cancelled, stopped);

    // The last row goes first; the second of the name is refused.
    EXPECT_EQ(contents(dest + "song.mp3"), "bytes of two/song.mp3");
    EXPECT_EQ(paths(), (std::vector<std::string>{source + "one/song.mp3", dest + "song.mp3"}));
    EXPECT_TRUE(logHas("another file of the same name"));
    EXPECT_TRUE(logHas("Failures:  1"));
}

TEST_F(CopyMoveDeleteTest, CancelStopsAfterTheFileInHand) {
    addFile("a.mp3", 1);
    addFile("b.mp3", 1);
    addFile("c.mp3", 1);
    // Esc in the main window once the first file is done.
    h.loop.onYield = [this] {
        int esc = 27;
        if (fs::exists(dest + "c.mp3")) f1().KeyDown(esc, 0);
    };
    h.dialogs.answerFolder(dest);

    lib().MnuFileCopyAll_Click();
    h.loop.onYield = nullptr;

    EXPECT_TRUE(fs::exists(dest + "c.mp3"));
    EXPECT_FALSE(fs::exists(dest + "b.mp3"));
    EXPECT_FALSE(fs::exists(dest + "a.mp3"));
    EXPECT_TRUE(logHas("Ακυρώθηκε - Canceled\r\n"));
    EXPECT_EQ(state().AbortKey, 0);
    expectGuardsCleared();
}

TEST_F(CopyMoveDeleteTest, MovingThePlayingFileStopsItsPlayerAndTellsTheCaller) {
    addFile("a.mp3", 1);
    const int playing = addFile("b.mp3", 1);
    const std::string path = play(playing);
    Player& main = f1().WindowsMediaPlayer1;
    state().FileMoveReference = true;
    state().DestFolder = dest;

    std::int32_t op = 1;
    bool cancelled = false, stopped = false;
    lib().Copy_Move_Delete_Files(0, 0, op, Currency::fromInteger(2), cancelled, stopped);

    EXPECT_TRUE(stopped);
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(main.playState(), playstate::Stopped);
    EXPECT_NE(main.URL(), path);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(fs::exists(dest + "b.mp3"));
}

TEST_F(CopyMoveDeleteTest, InTheAutomaticVideoModeAMoveLeavesThePlayingFileAlone) {
    addFile("a.mp3", 1);
    const int playing = addFile("b.mp3", 1);
    const std::string path = play(playing);
    Player& main = f1().WindowsMediaPlayer1;
    state().VideoMode = 1;
    state().FileMoveReference = true;
    h.dialogs.answerFolder(dest);

    lib().MnuFileMoveXClass_Click();

    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(fs::exists(dest + "b.mp3"));
    EXPECT_EQ(paths()[static_cast<std::size_t>(playing)], dest + "b.mp3");
    // The file plays on from where it was.
    EXPECT_EQ(main.URL(), path);
    EXPECT_EQ(main.playState(), playstate::Playing);
}

TEST_F(CopyMoveDeleteTest, SizeSummaryShowsWholeGigabytesOrTheMegabytes) {
    state().DeleteFromDisk = true;
    addFile("big.mp3", 1, 1500);
    std::int32_t op = 2;
    bool cancelled = false, stopped = false;
    lib().Copy_Move_Delete_Files(0, 0, op, Currency::fromInteger(1), cancelled, stopped);
    EXPECT_TRUE(logHas("Διαγράφησαν  1Gb have been copied/moved/deleted!"));

    addFile("small.mp3", 1, 900.5);
    lib().Copy_Move_Delete_Files(0, 0, op, Currency::fromInteger(1), cancelled, stopped);
    EXPECT_TRUE(logHas("Διαγράφησαν  900.5Mb have been copied/moved/deleted!"));
    // The log holds this run only.
    EXPECT_FALSE(logHas("Gb"));
}

TEST_F(CopyMoveDeleteTest, ReportIsWrittenAndClosedAroundARun) {
    state().KeepReport = -1;
    addFile("a.mp3", 1);
    state().DestFolder = dest;
    std::int32_t op = 0;
    bool cancelled = false, stopped = false;
    lib().Copy_Move_Delete_Files(0, 0, op, Currency::fromInteger(1), cancelled, stopped);
    EXPECT_FALSE(h->collection.reportOpen());
    EXPECT_NE(contents(h->collection.reportFilePath()).find(dest + "a.mp3"), std::string::npos);
}

// ---- Delete by class ------------------------------------------------------------

TEST_F(CopyMoveDeleteTest, DeleteFromTheCollectionOnlyKeepsTheFiles) {
    addFile("a.mp3", 1);
    addFile("b.mp3", 2);
    state().DeleteFromDisk = false;

    lib().mnufiledeleteall_Click();

    ASSERT_EQ(msgBoxes().size(), 1u);
    EXPECT_EQ(msgBoxes()[0], "Πρόκειται να διαγράψετε οριστικά από την συλλογή σας τα επιλεγμένα αρχεία! Θα συνεχίσετε;"
                             "\r\n - You are going to permanetly delete selected files from collection! Continue?");
    EXPECT_EQ(f1().List2.ListCount(), 0);
    expectAligned();
    EXPECT_TRUE(fs::exists(source + "a.mp3"));
    EXPECT_TRUE(fs::exists(source + "b.mp3"));
    EXPECT_FALSE(logHas("Tries"));
    EXPECT_TRUE(logHas(" -> Σώθηκε - Saved"));
    expectGuardsCleared();
}

TEST_F(CopyMoveDeleteTest, DeleteToTheTrashAsksTwiceAndTrashesTheFiles) {
    addFile("a.mp3", 4);
    addFile("b.mp3", 1);
    addFile("c.mp3", 4);
    lib().mnufiledeletedisk_Click();
    lib().mnufiledeleterecycle_Click();
    ASSERT_TRUE(state().DeleteFromDisk);
    ASSERT_TRUE(state().DeleteToRecycle);

    lib().mnufiledeleteA_Click();

    ASSERT_EQ(msgBoxes().size(), 2u);
    EXPECT_NE(msgBoxes()[0].find("from collection! Continue?"), std::string::npos);
    EXPECT_NE(msgBoxes()[1].find("The Deletion to Recycle Bin is On."), std::string::npos);
    EXPECT_EQ(paths(), (std::vector<std::string>{source + "b.mp3"}));
    expectAligned();
    EXPECT_FALSE(h.desktop.trashedCopyOf(source + "a.mp3").empty());
    EXPECT_FALSE(h.desktop.trashedCopyOf(source + "c.mp3").empty());
    EXPECT_TRUE(fs::exists(source + "b.mp3"));
    EXPECT_TRUE(logHas("Tries:  2"));
}

TEST_F(CopyMoveDeleteTest, AFileThatCannotBeDeletedKeepsItsTrackUnlessToldOtherwise) {
    addFile("a.mp3", 1);
    addFile("b.mp3", 1);
    fs::remove(source + "a.mp3");  // cannot be deleted any more
    state().DeleteFromDisk = true;
    state().DeleteToRecycle = false;

    lib().mnufiledeleteX_Click();

    EXPECT_NE(msgBoxes()[0].find("for your disk! Continue?"), std::string::npos);
    EXPECT_EQ(paths(), (std::vector<std::string>{source + "a.mp3"}));
    EXPECT_FALSE(fs::exists(source + "b.mp3"));
    EXPECT_TRUE(logHas("failed to delete ---> " + source + "a.mp3"));
    EXPECT_TRUE(logHas("Failures:  1"));

    lib().mnufiledeleteevendiskerror_Click();
    ASSERT_TRUE(state().DeleteEvenOnDiskError);
    lib().mnufiledeleteX_Click();
    EXPECT_EQ(f1().List2.ListCount(), 0);
    expectAligned();
}

TEST_F(CopyMoveDeleteTest, OnlyRegularFilesAreDeletedCopiedOrMoved) {
    // Tracks whose paths name a folder and a pipe, as an old collection may
    // hold them, and one file.
    const int folder = addFile("album.mp3/inside.mp3", 1);
    f1().List2.setList(folder, source + "album.mp3");
    const std::string pipe = source + "pipe.mp3";
    TrackInfo t;
    t.path = pipe;
    t.title = "pipe.mp3";
    t.cls = 1;
    addTrack(t);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    addFile("c.mp3", 1);
    const std::string refused = "Not a file, left untouched ---> ";

    state().DeleteFromDisk = true;
    state().DeleteToRecycle = true;
    lib().mnufiledeleteall_Click();
    EXPECT_TRUE(fs::exists(source + "album.mp3/inside.mp3"));
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(h.desktop.trashCalls, (std::vector<std::string>{source + "c.mp3"}));
    EXPECT_TRUE(logHas(refused + source + "album.mp3"));
    EXPECT_TRUE(logHas(refused + pipe));
    EXPECT_TRUE(logHas("failed to delete ---> " + pipe));
    EXPECT_EQ(paths(), (std::vector<std::string>{source + "album.mp3", pipe}));

    // Deleting for good, and with the tracks leaving even on a disk error.
    state().DeleteToRecycle = false;
    state().DeleteEvenOnDiskError = true;
    lib().mnufiledeleteall_Click();
    EXPECT_TRUE(fs::exists(source + "album.mp3/inside.mp3"));
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(f1().List2.ListCount(), 0);

    // Copy and move refuse them too.
    addTrack(t);
    h.dialogs.answerFolder(dest);
    lib().MnuFileCopyAll_Click();
    EXPECT_TRUE(logHas(refused + pipe));
    EXPECT_TRUE(fs::is_empty(dest));
    h.dialogs.answerFolder(dest);
    lib().mnufilemoveall_Click();
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(paths(), std::vector<std::string>{pipe});
}

TEST_F(CopyMoveDeleteTest, DeclinedDeleteChangesNothing) {
    addFile("a.mp3", 1);
    state().DeleteFromDisk = true;
    state().DeleteToRecycle = true;
    h.dialogs.answerMsgBox(mb::OK);
    h.dialogs.answerMsgBox(mb::Cancel);  // the trash warning

    lib().mnufiledeleteall_Click();

    EXPECT_EQ(paths(), (std::vector<std::string>{source + "a.mp3"}));
    EXPECT_TRUE(fs::exists(source + "a.mp3"));
    EXPECT_FALSE(logHas("Saved"));
    expectGuardsCleared();

    // Delete Selected with nothing selected.
    h.dialogs.clearTranscript();
    lib().mnufilesdelete_Click();
    EXPECT_EQ(msgBoxes(), (std::vector<std::string>{kNothingOfCategory}));
}

TEST_F(CopyMoveDeleteTest, DiskSwitchGreysOutTheOtherTwo) {
    lib().mnufiledeletedisk_Click();
    EXPECT_TRUE(f1().mnufiledeleterecycle.Enabled());
    EXPECT_TRUE(f1().Check3.Enabled());
    EXPECT_TRUE(f1().mnufiledeleteevendiskerror.Enabled());

    lib().mnufiledeleterecycle_Click();
    EXPECT_EQ(f1().Check3.Value(), 1);
    EXPECT_TRUE(f1().mnufiledeleterecycle.Checked());

    lib().mnufiledeletedisk_Click();
    EXPECT_FALSE(state().DeleteFromDisk);
    EXPECT_FALSE(f1().mnufiledeleterecycle.Enabled());
    EXPECT_FALSE(f1().Check3.Enabled());
    EXPECT_FALSE(f1().mnufiledeleteevendiskerror.Enabled());
    // Their own values stay.
    EXPECT_TRUE(state().DeleteToRecycle);

    lib().mnufiledeleterecycle_Click();
    EXPECT_EQ(f1().Check3.Value(), 0);
    EXPECT_FALSE(state().DeleteToRecycle);
}

TEST_F(CopyMoveDeleteTest, TheSwitchesAndTheirTwinsAgreeFromStartUpOn) {
    auto restart = [&] {
        std::int32_t failed = 0;
        h->collection.Save_Preferences(failed);
        ASSERT_EQ(failed, 0);
        h.build();
        h->playback.Form_Load();
    };
    auto expectInStep = [&](const char* when) {
        const bool disk = state().DeleteFromDisk;
        EXPECT_EQ(f1().mnufiledeletedisk.Checked(), disk) << when;
        EXPECT_EQ(f1().mnufiledeleterecycle.Enabled(), disk) << when;
        EXPECT_EQ(f1().Check3.Enabled(), disk) << when;
        EXPECT_EQ(f1().mnufiledeleteevendiskerror.Enabled(), disk) << when;
        EXPECT_EQ(f1().mnufiledeleterecycle.Checked(), state().DeleteToRecycle) << when;
        EXPECT_EQ(f1().Check3.Value() == 1, state().DeleteToRecycle) << when;
    };

    h.build();
    h->playback.Form_Load();
    EXPECT_FALSE(state().DeleteFromDisk);
    EXPECT_TRUE(state().DeleteToRecycle);
    expectInStep("a fresh start");

    // Each switch flipped in turn, then stored and read back by a restart.
    struct Step {
        bool flipDisk, flipRecycle, disk, recycle;
        const char* when;
    };
    for (const Step& step : {Step{true, false, true, true, "deleting from disk"},
                             Step{true, true, false, false, "neither"},
                             Step{true, true, true, true, "both"}}) {
        if (step.flipRecycle) lib().mnufiledeleterecycle_Click();
        if (step.flipDisk) lib().mnufiledeletedisk_Click();
        restart();
        EXPECT_EQ(state().DeleteFromDisk, step.disk) << step.when;
        EXPECT_EQ(state().DeleteToRecycle, step.recycle) << step.when;
        expectInStep(step.when);
    }
}

TEST_F(CopyMoveDeleteTest, DeletingTheClassOfThePlayingTrackMovesPlaybackOn) {
    const int playing = addFile("a.mp3", 5);
    addFile("b.mp3", 1);
    addFile("c.mp3", 1);
    for (int i = 0; i < 3; ++i) h.engines.rules().durations[f1().List2.List(i)] = 200;
    const std::string path = play(playing);
    Player& main = f1().WindowsMediaPlayer1;
    state().DeleteFromDisk = false;

    lib().mnufiledeleteS_Click();

    EXPECT_EQ(f1().List2.ListCount(), 2);
    EXPECT_NE(d().CurrentFile, path);
    EXPECT_TRUE(d().CurrentFile == source + "b.mp3" || d().CurrentFile == source + "c.mp3") << d().CurrentFile;
    EXPECT_EQ(main.URL(), d().CurrentFile);
}

// ---- File actions on the filtered table ----------------------------------------

class FilteredFileActionsTest : public CopyMoveDeleteTest {
protected:
    void SetUp() override {
        CopyMoveDeleteTest::SetUp();
        addFile("one.mp3", 1, 1, "Rock");
        addFile("two.mp3", 1, 1, "Jazz");
        addFile("three.mp3", 2, 1, "Rock");
        addFile("four.mp3", 2, 1, "Pop");
        addFile("five.mp3", 3, 1, "Jazz");
        lib().Filtered_Songs_List(-1);
        state().DestFolder = dest;
    }
    void choose(int option) { f1().Option3[option].setValue(true); }
};

TEST_F(FilteredFileActionsTest, TheSavedFilterFileHoldsTheTableAsItIsAfterTheCommand) {
    const std::string filters = CollectionStore::filterPartFileOf(d().CollectionPath);
    // Whether a table line of the stored file names the title, as another
    // program reads the file back.
    auto stored = [&](const std::string& title) {
        ProgramHarness reader;
        std::int32_t failed = 0;
        reader->collection.Load_Collection_Filters(filters, failed);
        EXPECT_EQ(failed, 0);
        const ListBox& table = reader->Form1.List5;
        for (int j = 2; j < table.ListCount(); ++j) {
            if (table.List(j).find(title) != std::string::npos) return true;
        }
        return false;
    };
    // Saved, and the loop run long enough for anything kept for later.
    auto expectStoredWithout = [&](const std::string& title) {
        EXPECT_TRUE(d().CollectionSaved) << title;
        EXPECT_FALSE(stored(title)) << title;
        EXPECT_TRUE(logHas(" -> Σώθηκε - Saved")) << title;
        h.loop.advance(2000);
        EXPECT_TRUE(d().CollectionSaved) << title;
        EXPECT_FALSE(d().FiltersDirty) << title;
    };
    h->collection.Save_Collection(false, false);
    ASSERT_TRUE(stored("two.mp3"));
    state().DeleteFromDisk = false;

    // Delete by class: one and two are X.
    lib().mnufiledeleteX_Click();
    expectStoredWithout("two.mp3");
    EXPECT_TRUE(stored("five.mp3"));

    // Delete from the table: the line of four.
    lib().showAllTracks();
    int line = -1;
    for (int j = 2; j < f1().List5.ListCount(); ++j) {
        if (f1().List5.List(j).find("four.mp3") != std::string::npos) line = j;
    }
    ASSERT_GE(line, 2);
    f1().List5.setSelected(line, true);
    choose(2);
    lib().Command16_Click(0);
    expectStoredWithout("four.mp3");
    EXPECT_TRUE(stored("five.mp3"));

    // Move without pointing to the new path takes the tracks out.
    ASSERT_EQ(paths().back(), source + "five.mp3");
    f1().List2.setSelected(f1().List2.ListCount() - 1, true);
    h.dialogs.answerFolder(dest);
    lib().mnufilesmove_Click();
    ASSERT_EQ(paths(), std::vector<std::string>{source + "three.mp3"});
    expectStoredWithout("five.mp3");
    EXPECT_TRUE(stored("three.mp3"));
}

TEST_F(FilteredFileActionsTest, CopyOfTheFilteredTableNamesTheFilterAndCopiesItsTracks) {
    typeFilter(4, "Rock");
    ASSERT_TRUE(f1().List4.Enabled());
    choose(0);

    lib().Command16_Click(0);

    ASSERT_EQ(msgBoxes().size(), 1u);
    EXPECT_EQ(msgBoxes()[0], "Θέλετε σίγουρα να ΑΝΤΙΓΡΑΨΕΤΕ τα αρχεία με τα ακόλουθα κριτήρια;\r\n"
                             "Are you sure you want to COPY files with the following criterion?\r\n\r\n"
                             "|Είδος - Genre: Rock | \r\n");
    EXPECT_EQ(h.dialogs.calls("MsgBox")[0].buttons, mb::YesNo + mb::Question);
    EXPECT_TRUE(fs::exists(dest + "one.mp3"));
    EXPECT_TRUE(fs::exists(dest + "three.mp3"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dest), fs::directory_iterator()), 2);
    expectGuardsCleared();
}

TEST_F(FilteredFileActionsTest, SelectedLinesWithoutFiltersAreListedAndAloneDeleted) {
    state().DeleteFromDisk = true;
    state().DeleteToRecycle = false;
    choose(2);
    for (int line : {2, 4, 6}) f1().List5.setSelected(line, true);  // one, three, five

    lib().Command16_Click(0);

    ASSERT_GE(msgBoxes().size(), 2u);
    const std::string q = msgBoxes()[0];
    EXPECT_EQ(q.rfind("Θέλετε σίγουρα να ΔΙΑΓΡΑΨΕΤΕ από τον ΔΙΣΚΟ ΣΑΣ τα αρχεία με τα ακόλουθα κριτήρια;\r\n"
                      "Are you sure you want to DELETE from your DISK files with the following criterion?\r\n\r\n"
                      "Όλα τα ΕΠΙΛΕΓΜΕΝΑ αρχεία; - All SELECTED files?\r\n\r\n",
                      0),
              0u);
    EXPECT_NE(q.find(Left(f1().List5.List(4), 60) + "...\r\n"), std::string::npos);
    const std::string ending = "\r\nκ.λ.π. - ecc";
    EXPECT_EQ(q.substr(q.size() - ending.size()), ending);
    EXPECT_EQ(paths(), (std::vector<std::string>{source + "two.mp3", source + "four.mp3"}));
    EXPECT_TRUE(fs::exists(source + "two.mp3"));
    EXPECT_FALSE(fs::exists(source + "three.mp3"));
    expectAligned();
    // The number column counts again from 000001.
    EXPECT_EQ(f1().List3_0[0].List(0), "000001");
    EXPECT_EQ(f1().List3_0[0].List(1), "000002");
    EXPECT_TRUE(logHas(" -> Σώθηκε - Saved"));
    expectGuardsCleared();
    // The table is made again once the command is over.
    h.loop.advance(500);
    EXPECT_EQ(f1().List5.ListCount(), 4);
}

TEST_F(FilteredFileActionsTest, TheActionShownChosenIsTheOneGoAsksAbout) {
    // The option the user picks (-1: none, as the page first shows them),
    // the option shown chosen, and the action Go then asks about.
    struct Case {
        int picked;
        int shown;
        const char* asked;
    };
    const Case cases[] = {{-1, 2, "DELETE"}, {0, 0, "COPY"}, {1, 1, "MOVE"}, {2, 2, "DELETE"}};
    for (const Case& c : cases) {
        if (c.picked >= 0) f1().Option3[c.picked].userClick();
        for (int k = 0; k < 3; ++k) EXPECT_EQ(f1().Option3[k].Value(), k == c.shown) << c.picked << " " << k;
        EXPECT_EQ(f1().Check4.Enabled(), c.shown != 2) << c.picked;
        f1().List5.setSelected(2, true);
        h.dialogs.clearTranscript();
        lib().Command16_Click(0);
        ASSERT_FALSE(msgBoxes().empty()) << c.picked;
        EXPECT_NE(msgBoxes()[0].find(std::string("want to ") + c.asked), std::string::npos) << msgBoxes()[0];
    }
}

TEST_F(FilteredFileActionsTest, NoCriteriaOrNoDestinationIsRefused) {
    choose(2);
    lib().Command16_Click(0);
    choose(1);
    state().DestFolder.clear();
    lib().Command16_Click(0);
    EXPECT_EQ(msgBoxes(), (std::vector<std::string>{"Δεν υπάρχουν κριτήρια επιλογής! - No current criterions selected!",
                                                    kNoDestination}));
    EXPECT_EQ(f1().List2.ListCount(), 5);
}

TEST_F(FilteredFileActionsTest, ALineThatNoLongerMatchesItsTrackIsSkipped) {
    // Track two's entry changed after the table was made.
    f1().List2.setList(1, source + "renamed.mp3");
    fixtures::writeBytes(source + "renamed.mp3", "x");
    choose(0);
    f1().List5.setSelected(3, true);  // two
    f1().List5.setSelected(4, true);  // three

    lib().Command16_Click(0);

    EXPECT_FALSE(fs::exists(dest + "renamed.mp3"));
    EXPECT_FALSE(fs::exists(dest + "two.mp3"));
    EXPECT_TRUE(fs::exists(dest + "three.mp3"));
    EXPECT_TRUE(logHas("The table line does not match a track of the list"));
}

TEST_F(FilteredFileActionsTest, NothingRunsWhileTheTableIsBeingMade) {
    typeFilter(4, "Rock");
    state().Filtering = true;
    lib().Command16_Click(1);
    lib().Command16_Click(0);
    state().Filtering = false;
    EXPECT_EQ(f1().Combo4_0[4].Text(), "Rock");
    EXPECT_TRUE(h.dialogs.transcript().empty());

    lib().Command16_Click(1);
    EXPECT_EQ(f1().Combo4_0[4].Text(), "");
    EXPECT_TRUE(f1().List5.Visible());
}

}  // namespace
}  // namespace tarvolin
