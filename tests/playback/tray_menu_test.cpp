// The tray icon's clicks and the tray menu's playback items.
#include <algorithm>

#include "playback_fixture.h"

namespace tarvolin {
namespace {

class TrayTest : public PlaybackTest {
protected:
    Form1& f1() { return app().Form1; }
    void startPlaying(int tracks = 4, double seconds = 60) {
        startWithTracks(tracks, seconds);
        app().playback.Command3_Click(0);
        run(400);
        ASSERT_EQ(mainPlayer().playState(), playstate::Playing);
    }
};

TEST_F(TrayTest, LeftClickHidesAndShowsThePlayerWindowAndSetsTheTimers) {
    startUp();
    ASSERT_TRUE(h.tray.shown());
    ASSERT_TRUE(f1().Visible());

    h.tray.click(513);
    EXPECT_FALSE(s().WindowVisible);
    EXPECT_FALSE(f1().Visible());
    EXPECT_EQ(f1().WindowState(), 1);
    EXPECT_EQ(f1().Timer1.Interval(), 6000);
    EXPECT_EQ(app().Form4.Timer1.Interval(), 6000);

    h.tray.click(513);
    EXPECT_TRUE(s().WindowVisible);
    EXPECT_TRUE(f1().Visible());
    EXPECT_EQ(f1().WindowState(), 0);
    EXPECT_EQ(f1().Timer1.Interval(), 1000);
    EXPECT_EQ(app().Form4.Timer1.Interval(), 1000);

    // Releases, double clicks and moves over the icon change nothing; a
    // mouse move over the window is never read as a tray message.
    for (int message : {512, 514, 515, 517, 518}) h.tray.click(message);
    f1().MouseMove.raise(0, 0, 513.0f * 15, 0);
    f1().MouseMove.raise(0, 0, 516.0f * 15, 0);
    EXPECT_TRUE(f1().Visible());
    EXPECT_EQ(f1().lastPopup(), nullptr);

    h.tray.click(516);
    EXPECT_EQ(f1().lastPopup(), &f1().MnuSystemTray);
}

TEST_F(TrayTest, LeftClickWithTheCompactPlayerTogglesOnlyTheCompactWindow) {
    startUp();
    app().windows.Passage(1);
    ASSERT_TRUE(app().Form4.Visible());
    ASSERT_FALSE(f1().Visible());

    h.tray.click(513);
    EXPECT_FALSE(app().Form4.Visible());
    EXPECT_EQ(app().Form4.WindowState(), 1);
    EXPECT_FALSE(f1().Visible());
    h.tray.click(513);
    EXPECT_TRUE(app().Form4.Visible());
    EXPECT_FALSE(f1().Visible());
}

TEST_F(TrayTest, ClickDuringAOneOffJobKeepsTheShortIntervalAndRestoresTheNewOne) {
    startUp();
    app().playback.armOneOff(2, 300);
    h.tray.click(513);
    EXPECT_EQ(f1().Timer1.Interval(), 300);
    EXPECT_EQ(s().SavedTimerInterval, 6000);
}

TEST_F(TrayTest, TipGoesBackToTheProgramNameWhenTheIconIsAddedAgain) {
    startUp();
    app().playback.setTrayTip("a song - 00:10");
    EXPECT_EQ(h.tray.tip, "a song - 00:10");
    app().playback.DeleteIconFromTray();
    app().playback.AddIconToTray();
    EXPECT_EQ(h.tray.tip, "Tarvolin");
    EXPECT_TRUE(h.tray.shown());
}

TEST_F(TrayTest, NextAndBackStepOneTrackAndKeepTheStepBox) {
    startWithTracks(8, 60);
    Playback& pb = app().playback;
    f1().Text3.setText("5");
    ASSERT_EQ(s().StepCount, 5);

    for (int k = 0; k < 4; ++k) f1().mnusystemtraynext.click();
    EXPECT_EQ(d().CurrentTrack, 3);
    EXPECT_EQ(d().PlayedCount, 4);
    EXPECT_EQ(f1().Text3.Text(), "5");
    EXPECT_EQ(s().StepCount, 5);

    f1().mnusystemtrayback.click();
    EXPECT_EQ(d().CurrentTrack, 2);
    EXPECT_EQ(d().PlayedCount, 3);
    EXPECT_EQ(f1().Text3.Text(), "5");
    EXPECT_EQ(s().StepCount, 5);
    EXPECT_EQ(pb.LastStepDirection, -1);
    // Back in the history, "Return" can take the player to its furthest point.
    EXPECT_TRUE(f1().Command15[2].Enabled());
    f1().mnusystemtraynext.click();
    EXPECT_FALSE(f1().Command15[2].Enabled());
}

TEST_F(TrayTest, BackOnAnEmptyListDoesNothing) {
    startUp();
    f1().mnusystemtrayback.click();
    f1().mnusystemtraybackwards.click();
    EXPECT_EQ(d().CurrentTrack, 0);
    EXPECT_EQ(d().PlayedCount, 0);
    EXPECT_EQ(f1().Text3.Text(), "3");
}

TEST_F(TrayTest, PauseThenResumeGoesOnFromThePausedPoint) {
    startPlaying();
    run(3000);
    f1().mnusystemtraypause.click();
    run(100);
    EXPECT_EQ(mainPlayer().playState(), playstate::Paused);
    EXPECT_TRUE(f1().mnusystemtraypause.Checked());
    EXPECT_TRUE(s().Paused);
    const double at = mainPlayer().controls.currentPosition();
    ASSERT_GT(at, 2.0);

    run(2000);
    f1().mnusystemtraypause.click();
    run(100);
    EXPECT_EQ(mainPlayer().playState(), playstate::Playing);
    EXPECT_FALSE(f1().mnusystemtraypause.Checked());
    EXPECT_FALSE(s().Paused);
    EXPECT_NEAR(mainPlayer().controls.currentPosition(), at, 0.3);
}

TEST_F(TrayTest, PauseAndDaCapoInAutomaticVideoModeActOnThePlayerHoldingTheFile) {
    startUp();
    const std::string film = addFilmInAutomaticVideoMode("film.wav", 60);
    app().playback.Command3_Click(0);
    run(1000);
    Player& video = app().Form2.WindowsMediaPlayer1;
    ASSERT_EQ(video.playState(), playstate::Playing);
    run(3000);

    f1().MnuSysTrayDaCapo.click();
    run(50);
    EXPECT_LT(video.controls.currentPosition(), 0.5);

    f1().mnusystemtraypause.click();
    run(100);
    EXPECT_EQ(video.playState(), playstate::Paused);
    EXPECT_TRUE(f1().mnusystemtraypause.Checked());
}

TEST_F(TrayTest, ShuffleAndRepeatItemsFollowThePlayMenu) {
    startUp();
    const bool was = s().ShuffleOn;
    ASSERT_EQ(f1().MnuMoreRandom.Checked(), was);
    f1().mnusystemtraysuffle.click();
    EXPECT_EQ(s().ShuffleOn, !was);
    EXPECT_EQ(f1().MnuMoreRandom.Checked(), !was);
    EXPECT_EQ(f1().mnusystemtraysuffle.Checked(), !was);

    f1().mnusystrayrepeat.click();
    EXPECT_EQ(s().ReplayMode, 1);
    EXPECT_TRUE(f1().mnusystrayrepeat.Checked());
    EXPECT_TRUE(f1().mnumorereplayn[1].Checked());
    f1().mnusystrayrepeat.click();
    EXPECT_EQ(s().ReplayMode, 0);
    EXPECT_FALSE(f1().mnusystrayrepeat.Checked());
    EXPECT_TRUE(f1().mnumorereplayn[0].Checked());
}

TEST_F(TrayTest, CopyPropertiesPutsADescriptionOnTheClipboard) {
    startUp();
    f1().Check1.setValue(0);
    // Nothing to describe.
    d().InfoFile.clear();
    f1().mnusystemtraycopypaste.click();
    EXPECT_EQ(h.desktop.clipboard, "Μη διαθέσιμο - Not avaible");

    // The selected row's file name when no file is shown.
    const auto paths = makeFiles(2, 30);
    addTracks(paths);
    f1().List2.setListIndex(1);
    d().InfoFile.clear();
    f1().mnusystemtraycopypaste.click();
    EXPECT_EQ(h.desktop.clipboard, "t1.wav");

    // The editor's title and artist of the file shown.
    d().InfoFile = paths[0];
    f1().Text1_0.setText("");
    f1().Text1_1.setText("");
    f1().mnusystemtraycopypaste.click();
    EXPECT_EQ(h.desktop.clipboard, "Μη διαθέσιμο - Not avaible");
    f1().Text1_0.setText("Καλημέρα & good day");
    f1().Text1_1.setText("Artist");
    f1().mnusystemtraycopypaste.click();
    EXPECT_EQ(h.desktop.clipboard, "Καλημέρα & good day - Artist");
    EXPECT_TRUE(h.desktop.requestedUrls.empty());
}

TEST_F(TrayTest, CopyPropertiesWithTheSearchSwitchOpensTheFirstLinkEncoded) {
    startUp();
    f1().Check1.setValue(1);
    ASSERT_GT(f1().Combo3.ListCount(), 0);
    const std::string link = f1().Combo3.List(0);
    d().InfoFile = "/music/x.mp3";
    f1().Text1_0.setText("Α b&c");
    f1().Text1_1.setText("d?e");
    f1().mnusystemtraycopypaste.click();
    ASSERT_EQ(h.desktop.requestedUrls.size(), 1u);
    EXPECT_EQ(h.desktop.requestedUrls[0], link + "%CE%91%20b%26c%20-%20d%3Fe");
    EXPECT_EQ(h.desktop.clipboard, "Α b&c - d?e");

    // The copy button of the search links does the same.
    f1().Command6[1].click();
    EXPECT_EQ(h.desktop.requestedUrls.size(), 2u);
}

TEST_F(TrayTest, ExitSavesAndEnds) {
    startPlaying(3);
    const int rated = d().CurrentTrack;
    f1().Label9[6].Click.raise();  // class S
    f1().HScroll1.setValue(1000);
    run(2000);

    f1().mnusystemtrayexit.click();
    EXPECT_TRUE(app().playback.shutDown());
    EXPECT_FALSE(h.tray.shown());
    EXPECT_TRUE(h.dialogs.transcript().empty());

    // The next start finds the rating, the volume and where play was left.
    h.build();
    startUp();
    ASSERT_EQ(f1().List2.ListCount(), 3);
    EXPECT_EQ(d().TrackClass[static_cast<std::size_t>(rated)], 5);
    EXPECT_EQ(d().CurrentTrack, rated);
    EXPECT_EQ(s().Volume, 50);
    EXPECT_GT(d().StartPosition, 1);
}

// The walks by the step count through the shuffle history.
TEST_F(TrayTest, BackwardsAndForwardByStepsWalkTheHistoryByTheStepCount) {
    startWithTracks(8, 60);
    s().ShuffleOn = true;
    ASSERT_EQ(s().StepCount, 3);
    std::vector<int> played;
    for (int k = 0; k < 5; ++k) {
        f1().mnusystemtraynext.click();
        played.push_back(d().CurrentTrack);
    }
    ASSERT_EQ(d().PlayedCount, 5);

    f1().mnusystemtraybackwards.click();
    EXPECT_EQ(d().CurrentTrack, played[1]);
    EXPECT_EQ(d().PlayedCount, 2);
    EXPECT_EQ(d().MaxPlayedCount, 5);
    EXPECT_EQ(app().playback.LastStepDirection, -2);
    const std::string back = "Τυχαία Αναπαραγωγή [σε οπισθοδρόμηση] -> [-3] <- Suffle Play [in backtracking]";
    EXPECT_EQ(f1().Label6.Caption(), back);
    EXPECT_EQ(app().Form4.Label6.Caption(), back);
    EXPECT_EQ(d().PlayOrder[static_cast<std::size_t>(played[1])], 2);

    f1().mnusystemtrayforward.click();
    EXPECT_EQ(d().CurrentTrack, played[4]);
    EXPECT_EQ(d().PlayedCount, 5);
    EXPECT_EQ(f1().Label6.Caption(), "Τυχαία Αναπαραγωγή - Suffle Play");
    EXPECT_EQ(f1().Text3.Text(), "3");
    // Nothing further in the history: a new track is drawn and numbered.
    f1().mnusystemtrayforward.click();
    EXPECT_EQ(d().PlayedCount, 6);
    EXPECT_EQ(std::count(played.begin(), played.end(), d().CurrentTrack), 0);
}

}  // namespace
}  // namespace tarvolin
