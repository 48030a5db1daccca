// Start-up with the built-in defaults, the preferences and the tray, and the
// shutdown that saves everything.
#include <filesystem>

#include "playback_fixture.h"
#include "toolkit/record_file.h"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;

TEST_F(PlaybackTest, WithoutAnyFileTheProgramStartsWithItsBuiltInDefaults) {
    startUp();

    ASSERT_EQ(f().Combo1.ListCount(), 128);
    EXPECT_EQ(f().Combo1.List(0), "000 - Αργά - Blues");
    EXPECT_EQ(f().Combo1.List(34), "034 - Acid");
    EXPECT_EQ(f().Combo1.List(35), "035 - House");
    EXPECT_EQ(f().Combo1.List(127), "127 - Drum & Bass");

    ASSERT_EQ(f().List3.ListCount(), 32);
    EXPECT_EQ(f().List3.List(0), "*.mp3");
    EXPECT_EQ(f().List3.List(14), "*.wmv");
    EXPECT_EQ(f().List3.List(25), "*.wmv");
    EXPECT_EQ(f().List3.List(31), "*.wvx");
    EXPECT_EQ(f().List3.SelCount(), 1);
    EXPECT_TRUE(f().List3.Selected(0));

    ComboBox& classes = f().Combo4_0[0];
    ASSERT_EQ(classes.ListCount(), 6);
    EXPECT_EQ(classes.List(0), "Ασημείωτα - Unmarked");
    EXPECT_EQ(classes.List(1), "Κλάση Χ' - Class X'");
    EXPECT_EQ(classes.List(5), "Κλάση Υ' - Class S'");

    ASSERT_EQ(f().Combo3.ListCount(), 3);
    EXPECT_TRUE(f().Combo3.List(0).ends_with("results?search_query="));
    EXPECT_TRUE(f().Combo3.List(1).ends_with("search?q="));
    EXPECT_TRUE(f().Combo3.List(2).ends_with("#q="));

    EXPECT_TRUE(s().ShuffleOn);
    EXPECT_FALSE(s().PreviewOn);
    EXPECT_EQ(s().PauseSeconds, 2);
    EXPECT_EQ(s().Volume, 100);
    EXPECT_EQ(s().StepCount, 3);
    EXPECT_EQ(f().Text3.Text(), "3");
    EXPECT_TRUE(s().AutoSave);
    EXPECT_TRUE(s().ShowSplash);
    EXPECT_EQ(s().ResumeMode, 1);
    for (std::int16_t on : d().PlayClassOn) EXPECT_EQ(on, 0);
}

TEST_F(PlaybackTest, TheDefaultsShowTheFirstPageOnlyAndLeaveTheFolderListCurrent) {
    auto onlyFirstPage = [&] {
        EXPECT_TRUE(f().Frame4.Visible());
        for (Frame* other : {&f().Frame1, &f().Frame12, &f().Frame8, &f().Frame6}) EXPECT_FALSE(other->Visible());
    };
    app().playback.Init_Defaults();
    onlyFirstPage();
    EXPECT_FALSE(s().FolderListStale);

    h.build();
    startUp();
    onlyFirstPage();
    EXPECT_FALSE(s().FolderListStale);
}

// Without a preferences file every check mark and greyed item shows the
// built-in switches, so that the first toggle of each does what it says.
TEST_F(PlaybackTest, OnTheFirstRunTheMenusShowTheBuiltInSwitches) {
    startUp();
    EXPECT_TRUE(f().MnuMoreRandom.Checked());
    EXPECT_TRUE(f().mnusystemtraysuffle.Checked());
    for (MenuItem& item : f().mnumorereplayn) EXPECT_EQ(item.Checked(), item.Index() == 0) << item.Index();
    EXPECT_FALSE(f().mnusystrayrepeat.Checked());
    EXPECT_FALSE(f().MnuMorePreview_Active.Checked());
    EXPECT_FALSE(f().MnuMoreDuration.Enabled());
    EXPECT_FALSE(f().MnuMoreMultiPreview.Enabled());
    EXPECT_FALSE(f().MnuMoreMultiPreview.Checked());
    EXPECT_FALSE(f().MnuMorePauseActive.Checked());
    EXPECT_FALSE(f().MnuMorePauseDur.Enabled());
    EXPECT_FALSE(f().MnuMoreSound.Checked());
    EXPECT_TRUE(f().MnuMoreAutoStart.Checked());
    for (MenuItem& item : f().MnuPlayAutoStartP) EXPECT_EQ(item.Checked(), item.Index() == 1) << item.Index();
    for (MenuItem& item : f().mnuvideoshow) EXPECT_EQ(item.Checked(), item.Index() == 1) << item.Index();
    EXPECT_TRUE(f().mnuFileSaveAsAuto.Checked());
    EXPECT_TRUE(f().MnuMoreFileSizesReadRatings.Checked());
    EXPECT_TRUE(f().MnuMoreFileSizesKeepRatings.Checked());
    EXPECT_TRUE(f().MnuMoreFileSizesKeepRatings.Enabled());
    EXPECT_TRUE(f().MnuMoreFavorWithinFiles.Checked());
    EXPECT_TRUE(f().MnuFiltersLoad.Checked());
    EXPECT_FALSE(f().MnuMoreOnTop.Checked());
    EXPECT_FALSE(f().MnuSystemTrayTop.Checked());
    EXPECT_FALSE(f().MnuMoreReport.Checked());
    EXPECT_TRUE(f().mnu_info2[3].Checked());
    for (MenuItem& item : f().MnumoreStar_Colors) EXPECT_EQ(item.Checked(), item.Index() == 1) << item.Index();
    EXPECT_TRUE(f().MnumoreStar_Active[0].Enabled());
    EXPECT_FALSE(f().MnumoreStar_Active[1].Checked());
    // Deleting from disk is off: its three options wait greyed, the recycle
    // bin chosen.
    EXPECT_FALSE(f().mnufiledeletedisk.Checked());
    EXPECT_TRUE(f().mnufiledeleterecycle.Checked());
    EXPECT_EQ(f().Check3.Value(), 1);
    EXPECT_TRUE(s().DeleteToRecycle);
    EXPECT_FALSE(f().mnufiledeleterecycle.Enabled());
    EXPECT_FALSE(f().Check3.Enabled());
    EXPECT_FALSE(f().mnufiledeleteevendiskerror.Enabled());

    f().MnuMorePauseActive.click();
    EXPECT_TRUE(f().MnuMorePauseDur.Enabled());
    f().MnuMorePreview_Active.click();
    EXPECT_TRUE(f().MnuMoreDuration.Enabled());
    f().mnufiledeletedisk.click();
    EXPECT_TRUE(f().mnufiledeleteevendiskerror.Enabled());
    f().mnufiledeleterecycle.click();
    EXPECT_EQ(f().Check3.Value(), 0);

    // The switches come back from the preferences with their items usable.
    int cancel = 0;
    app().playback.Form_QueryUnload(cancel, 0);
    h.build();
    startUp();
    EXPECT_TRUE(f().MnuMorePauseActive.Checked());
    EXPECT_TRUE(f().MnuMorePauseDur.Enabled());
    EXPECT_TRUE(f().mnufiledeletedisk.Checked());
    EXPECT_TRUE(f().mnufiledeleterecycle.Enabled());
    EXPECT_TRUE(f().Check3.Enabled());
    EXPECT_TRUE(f().mnufiledeleteevendiskerror.Enabled());
    EXPECT_FALSE(s().DeleteToRecycle);
    EXPECT_FALSE(f().mnufiledeleterecycle.Checked());
    EXPECT_EQ(f().Check3.Value(), 0);
}

TEST_F(PlaybackTest, StartUpBringsTheProgramUpInOrder) {
    h.desktop.autostart = true;
    bool splashSeenDuringLoad = false;
    // The collection is loaded while the splash window is up.
    h.loop.onYield = [&] {
        if (app().frmSplash.Visible()) splashSeenDuringLoad = true;
    };
    startUp();

    ASSERT_FALSE(h.desktop.beeps.empty());
    EXPECT_EQ(h.desktop.beeps.front(), std::make_pair(1500, 50));
    EXPECT_TRUE(splashSeenDuringLoad);
    EXPECT_FALSE(app().frmSplash.Visible());
    // The splash stays two seconds; nothing else waited.
    EXPECT_GE(h.loop.tickCount(), 2000);
    EXPECT_LT(h.loop.tickCount(), 2100);

    EXPECT_TRUE(f().Visible());
    EXPECT_EQ(f().WindowState(), 0);
    EXPECT_TRUE(f().Timer1.Enabled());
    EXPECT_EQ(f().Timer1.Interval(), 1000);
    EXPECT_EQ(s().LastAutoSave, h.loop.tickCount());
    EXPECT_TRUE(h.tray.shown());
    EXPECT_EQ(h.tray.tip, "Tarvolin");
    EXPECT_TRUE(f().MnuMoreWindows.Checked());
    EXPECT_FALSE(f().Command14.Enabled());
    EXPECT_FALSE(mainPlayer().settings.autoStart());
    EXPECT_FALSE(app().Form2.WindowsMediaPlayer1.settings.autoStart());
    EXPECT_EQ(s().AlarmTarget, DateText(h.loop.now()));
    EXPECT_EQ(d().CollectionPath, h.folder.path() + "tarvolin_sylloges/tarvolin.tlf");
    EXPECT_EQ(log().find("Error while loading preferences"), std::string::npos);
    // An empty collection: nothing numbered, nothing playing.
    EXPECT_EQ(d().PlayedCount, 0);
    EXPECT_EQ(mainPlayer().URL(), "");
}

TEST_F(PlaybackTest, ShutdownWritesEverythingAndTheNextStartUpReadsIt) {
    startUp();
    addTracks(makeFiles(2, 4));
    s().WindowVisible = false;
    s().ShowSplash = false;
    s().SearchLinks = {"", "https://search.example.org/?q="};
    s().SearchLinkCount = 1;
    s().StatFilesPlayed = 42;

    int cancel = 0;
    f().QueryUnload.raise(cancel, 0);
    EXPECT_EQ(cancel, 0);
    EXPECT_TRUE(app().playback.shutDown());
    EXPECT_TRUE(h.loop.quitRequested());
    EXPECT_FALSE(h.tray.shown());
    EXPECT_EQ(h.tray.calls.back(), "remove");
    EXPECT_FALSE(f().Timer1.Enabled());
    for (const char* file : {"tarvolin_sylloges/default.tl", "tarvolin_sylloges/tarvolin.tlf",
                             "tarvolin_sylloges/tarvolin_Files.ptlf", "tarvolin_preferences/default_pref.tl"}) {
        EXPECT_TRUE(fs::exists(h.folder.file(file))) << file;
    }
    EXPECT_TRUE(h.dialogs.transcript().empty());

    h.build();
    const std::int64_t before = h.loop.tickCount();
    startUp();
    EXPECT_EQ(f().List2.ListCount(), 2);
    EXPECT_EQ(s().StatFilesPlayed, 42);
    // Tray mode: shown during loading, hidden at the end, the slow timer.
    EXPECT_FALSE(f().Visible());
    EXPECT_EQ(f().WindowState(), 1);
    // (The start of play has re-armed it once; the tray's interval is kept.)
    EXPECT_EQ(s().TimerPurpose, 1);
    EXPECT_EQ(s().SavedTimerInterval, 6000);
    // No splash and so no two-second wait (the start of play waits 500 ms).
    EXPECT_LT(h.loop.tickCount() - before, 1000);
    ASSERT_EQ(f().Combo3.ListCount(), 4);
    EXPECT_EQ(f().Combo3.List(3), "https://search.example.org/?q=");
    // The loaded current track opens the play order and plays.
    EXPECT_EQ(d().PlayedCount, 1);
    EXPECT_EQ(d().PlayOrder[0], 1);
    EXPECT_EQ(d().CurrentFile, f().List2.List(0));
}

TEST_F(PlaybackTest, WithoutATrayTheWindowIsNeverHiddenAndTheTrayModeIsKept) {
    auto restart = [&](bool trayUp) {
        int cancel = 0;
        app().playback.Form_QueryUnload(cancel, 0);
        h.tray.isAvailable = trayUp;
        h.build();
        startUp();
    };
    startUp();
    s().WindowVisible = false;

    restart(false);
    EXPECT_TRUE(f().Visible());
    EXPECT_EQ(f().Timer1.Interval(), 1000);
    // A start before the desktop's tray was up keeps the user's tray mode
    // for the next start.
    restart(true);
    EXPECT_FALSE(f().Visible());
    EXPECT_EQ(f().WindowState(), 1);

    // Once the tray comes up the user's own choice from it counts: shown.
    restart(false);
    h.tray.isAvailable = true;
    app().playback.AddIconToTray();
    h.tray.click(513);
    ASSERT_FALSE(f().Visible());
    h.tray.click(513);
    ASSERT_TRUE(f().Visible());
    restart(true);
    EXPECT_TRUE(f().Visible());
}

TEST_F(PlaybackTest, AFailingPreferencesFileIsLoggedAndStartUpGoesOn) {
    fs::create_directories(h.folder.file("tarvolin_preferences"));
    fixtures::writeGarbage(h.folder.file("tarvolin_preferences/default_pref.tl"), 100);
    startUp();
    EXPECT_NE(log().find("-> Λάθος κατά τη φόρτωση προτιμήσεων - Error while loading preferences"),
              std::string::npos);
    EXPECT_TRUE(f().Timer1.Enabled());
}

TEST_F(PlaybackTest, ClosingTheCompactWindowShutsTheProgramDown) {
    startUp();
    app().Form4.requestUnload(0);
    EXPECT_TRUE(app().playback.shutDown());
    EXPECT_TRUE(fs::exists(h.folder.file("tarvolin_sylloges/default.tl")));
}

TEST_F(PlaybackTest, TheFilesMenuExitShutsTheProgramDown) {
    startUp();
    f().mnufilecollection[4].Click.raise();
    EXPECT_TRUE(app().playback.shutDown());
    EXPECT_TRUE(fs::exists(h.folder.file("tarvolin_sylloges/default.tl")));
    EXPECT_TRUE(fs::exists(h.folder.file("tarvolin_preferences/default_pref.tl")));
}

TEST_F(PlaybackTest, TheStartUpPlayMarkReachesThePartFile) {
    startUp();
    addTracks(makeFiles(2, 4));
    s().PlayAtStart = false;
    int cancel = 0;
    f().QueryUnload.raise(cancel, 0);

    // The next start numbers the loaded current track 1, and the shutdown
    // after it stores that mark with the track.
    h.build();
    startUp();
    EXPECT_EQ(d().PlayedCount, 1);
    EXPECT_EQ(d().PlayOrder[0], 1);
    EXPECT_FALSE(d().TrackSaved[0]);
    f().QueryUnload.raise(cancel, 0);
    RecordFile part;
    ASSERT_TRUE(part.Open(h.folder.file("tarvolin_sylloges/tarvolin_Files.ptlf"), RecordFile::Mode::Read, 400));
    std::int32_t mark = -1;
    ASSERT_TRUE(part.GetLong(1, mark));
    EXPECT_EQ(mark, 1);
}

}  // namespace
}  // namespace tarvolin
