// The main window's small controls: volume, class labels and rating, the
// track list's double click, the walk buttons, the recycle box, the star
// menu, the snooze items and the video menu.
#include <filesystem>
#include <functional>

#include "playback_fixture.h"

namespace tarvolin {
namespace {

class ControlsTest : public PlaybackTest {
protected:
    void startPlaying(int tracks = 4, double seconds = 60) {
        startWithTracks(tracks, seconds);
        app().playback.Command3_Click(0);
        run(400);
        ASSERT_EQ(mainPlayer().playState(), playstate::Playing);
    }
    Player& videoPlayer() { return app().Form2.WindowsMediaPlayer1; }
};

TEST_F(ControlsTest, VolumeScrollRoundsHalvesToEvenAndReachesThePlayersInUse) {
    startUp();
    f().HScroll1.setValue(1010);
    EXPECT_EQ(s().Volume, 50);
    EXPECT_EQ(mainPlayer().settings.volume(), 50);
    EXPECT_EQ(videoPlayer().settings.volume(), 50);
    f().HScroll1.setValue(1030);
    EXPECT_EQ(s().Volume, 52);

    // Dragging sets the main and the video players.
    f().HScroll1.setValue(400);
    EXPECT_EQ(s().Volume, 20);
    f().HScroll1.Scroll.raise();
    EXPECT_EQ(mainPlayer().settings.volume(), 20);
    EXPECT_EQ(videoPlayer().settings.volume(), 20);
}

TEST_F(ControlsTest, ClassLabelsRateTheCurrentTrack) {
    startWithTracks(3);
    d().CurrentTrack = 1;
    f().Label9[5].Click.raise();
    EXPECT_EQ(d().TrackClass[1], 4);  // A
    EXPECT_EQ(d().ClassCount[4], 1);
    EXPECT_EQ(d().ClassCount[0], 2);
    EXPECT_FALSE(d().TrackSaved[1]);
    EXPECT_EQ(f().List3_0[1].ListIndex(), 1);
    EXPECT_NE(log().find("Προστέθηκε στα Αγαπημένα -* A *- το : \r\n\"t1.wav\" \r\n has been added to Favorites -* A *-"),
              std::string::npos);

    // "All" does nothing; the compact window's labels rate as the main ones.
    f().Label10[0].Click.raise();
    EXPECT_EQ(d().TrackClass[1], 4);
    app().Form4.Label21[6].Click.raise();
    EXPECT_EQ(d().TrackClass[1], 5);
    EXPECT_EQ(d().ClassCount[4], 0);
    EXPECT_EQ(d().ClassCount[5], 1);
    EXPECT_EQ(app().library.FavorCommand, 5);

    // Giving the class a track already has takes it back.
    f().Label10[6].Click.raise();
    EXPECT_EQ(d().TrackClass[1], 0);
    EXPECT_EQ(d().ClassCount[5], 0);
    EXPECT_EQ(d().ClassCount[0], 3);
    EXPECT_NE(log().find("Αφαιρέθηκε από τα Αγαπημένα -* S *-"), std::string::npos);
}

TEST_F(ControlsTest, RatingButtonWalksTheClassesAndTrayItemsSetOne) {
    startWithTracks(2);
    d().CurrentTrack = 0;
    const int expected[] = {1, 2, 3, 4, 5, 0, 1};
    for (int c : expected) {
        f().Command8.click();
        EXPECT_EQ(d().TrackClass[0], c);
        // Spoken as the button shows it.
        EXPECT_EQ(f().lastAnnouncement(), f().Command8.Caption());
    }
    f().TrayFavorS.click();
    EXPECT_EQ(d().TrackClass[0], 5);
    // The button goes on from the class just given.
    f().Command8.click();
    EXPECT_EQ(d().TrackClass[0], 0);

    // The unmarked item on an unmarked track changes no table.
    const auto counts = d().ClassCount;
    f().TrayFavorUnclass.click();
    EXPECT_EQ(d().ClassCount, counts);

    // Automatic rating: every command gives the class last cycled to.
    f().MnuFavorAuto2.setChecked(false);
    f().TrayFavorAuto.click();
    EXPECT_TRUE(s().AutoFavor);
    EXPECT_TRUE(f().MnuFavorAuto2.Checked());
    d().CurrentTrack = 1;
    f().TrayFavorA.click();
    EXPECT_EQ(d().TrackClass[1], app().library.LastCycledClass);

    // Per-class totals always match the tracks.
    std::array<std::int32_t, 6> recount{};
    for (int i = 0; i < 2; ++i) ++recount[static_cast<std::size_t>(d().TrackClass[static_cast<std::size_t>(i)])];
    EXPECT_EQ(d().ClassCount, recount);
}

TEST_F(ControlsTest, RatingOnAnEmptyListDoesNothing) {
    startUp();
    f().Label9[3].Click.raise();
    f().Command8.click();
    EXPECT_EQ(d().ClassCount[2], 0);
    EXPECT_EQ(log().find("Αγαπημένα"), std::string::npos);
}

TEST_F(ControlsTest, DoubleClickPlaysTheSelectedRowAndDoesNothingOnAnEmptyList) {
    startUp();
    f().List2.DblClick.raise();
    EXPECT_EQ(d().PlayedCount, 0);
    EXPECT_TRUE(mainPlayer().URL().empty());

    auto paths = makeFiles(4, 60);
    addTracks(paths);
    f().List2.setListIndex(2);
    f().List2.DblClick.raise();
    EXPECT_EQ(d().CurrentTrack, 2);
    EXPECT_EQ(d().CurrentFile, paths[2]);
    EXPECT_FALSE(s().TagBoxesFilling);
    EXPECT_FALSE(s().PlaySelected);
}

TEST_F(ControlsTest, ReturnGoesBackToTheFurthestPointOfTheHistory) {
    startPlaying(6);
    Playback& pb = app().playback;
    for (int k = 0; k < 3; ++k) {
        pb.Command3_Click(0);
        run(400);
    }
    ASSERT_EQ(d().MaxPlayedCount, 4);
    const int last = d().CurrentTrack;
    f().Command15[1].click();  // back by the step count
    run(400);
    ASSERT_LT(d().PlayedCount, d().MaxPlayedCount);
    EXPECT_TRUE(f().Command15[2].Enabled());
    run(2000);
    const int left = d().CurrentTrack;

    f().Command15[2].click();
    EXPECT_EQ(d().CurrentTrack, last);
    EXPECT_EQ(d().PlayedCount, d().MaxPlayedCount);
    EXPECT_FALSE(f().Command15[2].Enabled());
    // The track that was playing keeps where it was left.
    EXPECT_GT(d().TrackResumePos[static_cast<std::size_t>(left)].toDouble(), 1.5);

    // Nothing to return to.
    const int before = d().CurrentTrack;
    pb.Command15_Click(2);
    EXPECT_EQ(d().CurrentTrack, before);
}

// "Return" is usable exactly while the player is back in its history, the
// same moment the play-mode caption shows how far back, whichever way the
// history moved.
TEST_F(ControlsTest, ReturnButtonFollowsTheHistoryAfterEveryMove) {
    auto paths = startWithTracks(6, 5);
    // Does `move`, lets it start, and compares the button with the history.
    auto after = [&](const char* what, const std::function<void()>& move) {
        move();
        run(400);
        const bool back = d().PlayedCount < d().MaxPlayedCount;
        EXPECT_EQ(f().Command15[2].Enabled(), back) << what;
        EXPECT_EQ(app().Form4.Command15[2].Enabled(), back) << what;
        EXPECT_EQ(f().Label6.Caption().find("[-") != std::string::npos, back) << what;
    };
    auto next = [&] { f().Command3[0].click(); };
    auto previous = [&] { f().Command3[1].click(); };
    // Refreshed as at start-up, before anything was played.
    EXPECT_FALSE(f().Command15[2].Enabled());

    after("next", next);
    after("next", next);
    after("previous", previous);
    ASSERT_LT(d().PlayedCount, d().MaxPlayedCount);
    after("return", [&] { f().Command15[2].click(); });
    after("next after return", next);
    after("previous after return", previous);
    ASSERT_LT(d().PlayedCount, d().MaxPlayedCount);

    // A double click on a row, the tray, the end of a track.
    f().List2.setListIndex(5);
    after("double click", [&] { f().List2.DblClick.raise(); });
    after("tray back", [&] { f().mnusystemtrayback.click(); });
    const std::int32_t reached = d().PlayedCount;
    after("end of a track", [&] { run(6000); });
    ASSERT_NE(d().PlayedCount, reached);
    after("tray next", [&] { f().mnusystemtraynext.click(); });

    // A track whose file is gone is skipped through the timer.
    after("previous", previous);
    const int gone = (d().CurrentTrack + 1) % 6;
    std::filesystem::remove(paths[static_cast<std::size_t>(gone)]);
    f().List2.setListIndex(gone);
    after("skip", [&] {
        f().List2.DblClick.raise();
        run(1100);
    });
    EXPECT_NE(log().find("negative favor"), std::string::npos);
}

TEST_F(ControlsTest, ReturnButtonIsGreyedWhenThePassEndsWhileGoingBack) {
    startWithTracks(2, 60);
    for (int k = 0; k < 2; ++k) f().Command3[0].click();
    f().Command3[1].click();
    ASSERT_TRUE(f().Command15[2].Enabled());
    // Every track played: the next one ends the pass and playback stops.
    f().Command3[0].click();
    ASSERT_EQ(d().MaxPlayedCount, 0);
    EXPECT_FALSE(f().Command15[2].Enabled());
}

TEST_F(ControlsTest, ReturnButtonFollowsTheHistoryThatComesWithTheCollection) {
    startWithTracks(3, 60);
    for (int k = 0; k < 2; ++k) f().Command3[0].click();
    f().Command3[1].click();
    s().PlayAtStart = false;
    int cancel = 0;
    app().playback.Form_QueryUnload(cancel, 0);

    h.build();
    startUp();
    ASSERT_LT(d().PlayedCount, d().MaxPlayedCount);
    EXPECT_TRUE(f().Command15[2].Enabled());
}

TEST_F(ControlsTest, CompactButtonHandsOverAndRecycleBoxFollows) {
    startPlaying();
    f().Command15[3].click();
    EXPECT_TRUE(s().CompactMode);
    EXPECT_TRUE(app().Form4.Visible());

    f().Check3.setValue(1);
    EXPECT_TRUE(s().DeleteToRecycle);
    EXPECT_TRUE(f().mnufiledeleterecycle.Checked());
    f().Check3.setValue(0);
    EXPECT_FALSE(s().DeleteToRecycle);
    EXPECT_FALSE(f().mnufiledeleterecycle.Checked());
}

TEST_F(ControlsTest, StarMenuSwitchesTheStarsAndTheirColours) {
    startWithTracks(2);
    const bool off = s().StarsOff;
    f().MnumoreStar_Active[1].click();
    EXPECT_EQ(s().StarsOff, !off);
    EXPECT_EQ(f().MnumoreStar_Active[1].Checked(), !off);
    EXPECT_EQ(f().MnumoreStar_Active[0].Enabled(), off);
    for (Label& bar : f().Label21) EXPECT_EQ(bar.Visible(), off);

    f().MnumoreStar_Colors[2].click();
    EXPECT_EQ(s().StarColours, 2);
    for (MenuItem& item : f().MnumoreStar_Colors) EXPECT_EQ(item.Checked(), item.Index() == 2);
}

TEST_F(ControlsTest, SnoozeItemsShowTheWindowWithShutdownClearedAndTheTracksListed) {
    auto paths = startWithTracks(3);
    s().AlarmFile = paths[1];
    app().Form5.Check4.setValue(1);
    f().mnutimeshut.click();
    Form5& w = app().Form5;
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(w.Check4.Value(), 0);
    ASSERT_EQ(w.Combo1.ListCount(), 3);
    EXPECT_EQ(w.Combo1.ListIndex(), 1);

    EXPECT_EQ(w.Label2.Caption(), "Ανενεργό - Off");  // the alarm is off
    EXPECT_TRUE(w.Timer1.Enabled());

    w.Hide();
    w.Check4.setValue(1);
    s().AlarmMode = 1;
    s().AlarmTime = {23, 59, 7};
    s().AlarmCountdown = {1, 0, 30};
    f().mnutimesnooze.click();
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(w.Check4.Value(), 0);
    EXPECT_EQ(w.Check1.Value(), 1);
    EXPECT_EQ(w.Check2.Value(), 0);
    // A mode set without Ok arms nothing.
    EXPECT_EQ(w.Label2.Caption(), "Ανενεργό - Off");
    EXPECT_EQ(w.Text1[2].Text(), "7");
    EXPECT_EQ(w.Text1[5].Text(), "30");
    EXPECT_EQ(w.Combo1.ListIndex(), 1);
}

TEST_F(ControlsTest, VideoMenuShowHideAndAuto) {
    startPlaying(3);
    run(3000);
    d().TrackSaved[0] = true;

    // Show: the file moves on to the video window at its position.
    f().mnuvideoshow[0].click();
    EXPECT_EQ(s().VideoMode, -1);
    EXPECT_TRUE(f().mnuvideoshow[0].Checked());
    EXPECT_FALSE(f().mnuvideoshow[1].Checked());
    EXPECT_NEAR(d().StartPosition, 3, 1);
    EXPECT_FALSE(d().TrackSaved[0]);
    run(600);
    EXPECT_EQ(videoPlayer().URL(), d().CurrentFile);
    EXPECT_TRUE(mainPlayer().URL().empty());
    EXPECT_TRUE(app().Form2.Visible());
    run(2000);

    // Hide: the video window closes without handing the file back, playback
    // stays stopped, the point is kept.
    d().TrackSaved[0] = true;
    f().mnuvideoshow[1].click();
    EXPECT_EQ(s().VideoMode, 0);
    EXPECT_TRUE(f().mnuvideoshow[1].Checked());
    EXPECT_FALSE(app().Form2.Visible());
    EXPECT_TRUE(videoPlayer().URL().empty());
    EXPECT_TRUE(mainPlayer().URL().empty());
    EXPECT_GT(d().TrackResumePos[0].toDouble(), 4);
    EXPECT_FALSE(d().TrackSaved[0]);
    run(1500);
    EXPECT_NE(mainPlayer().playState(), playstate::Playing);
    EXPECT_NE(videoPlayer().playState(), playstate::Playing);

    // Auto: the track starts again in the player its type calls for.
    f().mnuvideoshow[2].click();
    EXPECT_EQ(s().VideoMode, 1);
    EXPECT_TRUE(f().mnuvideoshow[2].Checked());
    run(1000);
    EXPECT_EQ(mainPlayer().URL(), d().CurrentFile);
    EXPECT_EQ(mainPlayer().playState(), playstate::Playing);
}

// In the automatic mode a film plays in the video window: every item of the
// video menu takes the position from there, so the film goes on where it was
// and keeps its resume point.
TEST_F(ControlsTest, VideoMenuTakesThePositionFromThePlayerHoldingTheFilm) {
    startUp();
    const std::string film = addFilmInAutomaticVideoMode("film.wav", 120);
    f().mnuvideoshow[2].setChecked(true);
    app().playback.Command3_Click(0);
    run(8000);
    ASSERT_EQ(videoPlayer().playState(), playstate::Playing);
    ASSERT_TRUE(mainPlayer().URL().empty());

    // Each item in turn, "Show" and "Auto" also while already chosen.
    for (int item : {0, 0, 2, 2}) {
        const double at = videoPlayer().controls.currentPosition();
        ASSERT_GT(at, 7) << item;
        f().mnuvideoshow[item].click();
        EXPECT_NEAR(d().StartPosition, at, 1) << item;
        EXPECT_NEAR(d().TrackResumePos[0].toDouble(), at, 1) << item;
        run(1500);
        EXPECT_EQ(videoPlayer().URL(), film) << item;
        EXPECT_GT(videoPlayer().controls.currentPosition(), at - 1) << item;
    }

    // "Hide" in the automatic mode closes the video window at the film's
    // point, as it does in the video mode.
    const double at = videoPlayer().controls.currentPosition();
    f().mnuvideoshow[1].click();
    EXPECT_NEAR(d().TrackResumePos[0].toDouble(), at, 1);
    EXPECT_TRUE(videoPlayer().URL().empty());
    EXPECT_FALSE(app().Form2.Visible());
}

TEST_F(ControlsTest, ClosingTheVideoWindowSwitchesTheMenuToHideOnceAndHandsTheFileBack) {
    startPlaying(3);
    f().mnuvideoshow[0].click();
    run(3000);
    ASSERT_EQ(videoPlayer().playState(), playstate::Playing);

    EXPECT_TRUE(app().Form2.requestUnload(0));
    EXPECT_EQ(s().VideoMode, 0);
    EXPECT_TRUE(f().mnuvideoshow[1].Checked());
    EXPECT_FALSE(app().Form2.Visible());
    EXPECT_TRUE(videoPlayer().URL().empty());
    EXPECT_EQ(mainPlayer().URL(), d().CurrentFile);
    run(500);
    EXPECT_EQ(mainPlayer().playState(), playstate::Playing);
    EXPECT_GT(mainPlayer().controls.currentPosition(), 2.5);
}

}  // namespace
}  // namespace tarvolin
