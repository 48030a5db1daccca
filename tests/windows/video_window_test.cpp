// The video window: its saved size, the player sized to it, and the file
// handed back when the user closes it, but not when the video menu does.
#include "playback/playback_fixture.h"

namespace tarvolin {
namespace {

class VideoWindowTest : public PlaybackTest {
protected:
    Player& video() { return app().Form2.WindowsMediaPlayer1; }
    Player& compact() { return app().Form4.WindowsMediaPlayer1; }

    // Starts a 60-second track and moves it into the video window through
    // the video menu's "Show".
    void playInVideoWindow() {
        startWithTracks(3, 60);
        app().playback.Command3_Click(0);
        run(400);
        f().mnuvideoshow[0].click();
        run(600);
        ASSERT_EQ(video().URL(), d().CurrentFile);
        ASSERT_TRUE(app().Form2.Visible());
        ASSERT_TRUE(mainPlayer().URL().empty());
    }
};

TEST_F(VideoWindowTest, TheSavedSizeAppliesOnShowAndThePlayerNeverGetsANegativeSize) {
    Form2& w = app().Form2;
    const int designWidth = w.Width();
    const int designHeight = w.Height();
    s().VideoWidth = 9000;
    s().VideoHeight = 6000;
    w.Show();
    EXPECT_EQ(w.Height(), 9000);
    EXPECT_EQ(w.Width(), 6000);
    EXPECT_EQ(w.WindowsMediaPlayer1.Height(), 9000 - 540);
    EXPECT_GT(w.WindowsMediaPlayer1.Width(), 0);
    EXPECT_LE(w.WindowsMediaPlayer1.Width(), 6000);

    // Shrunk below the caption's height by the user: an empty player.
    w.userResized(150, 300);
    EXPECT_EQ(w.WindowsMediaPlayer1.Width(), 0);
    EXPECT_EQ(w.WindowsMediaPlayer1.Height(), 0);
    w.userResized(4500, 3000);
    const int playerWidth = w.WindowsMediaPlayer1.Width();
    const int playerHeight = w.WindowsMediaPlayer1.Height();
    EXPECT_EQ(playerHeight, 3000 - 540);
    // Minimising keeps the player as it was.
    w.setWindowState(1);
    EXPECT_EQ(w.WindowsMediaPlayer1.Width(), playerWidth);
    EXPECT_EQ(w.WindowsMediaPlayer1.Height(), playerHeight);

    // Showing again after an unload loads the saved size again; a window
    // only hidden keeps its size.
    w.setWindowState(0);
    w.Hide();
    w.Show();
    EXPECT_EQ(w.Height(), 3000);
    ASSERT_TRUE(w.requestUnload(1));
    w.Show();
    EXPECT_EQ(w.Height(), 9000);

    // Without a saved size the design size stays.
    ProgramHarness other;
    other->state.VideoWidth = 0;
    other->state.VideoHeight = 7000;
    other->Form2.Show();
    EXPECT_EQ(other->Form2.Width(), designWidth);
    EXPECT_EQ(other->Form2.Height(), designHeight);
}

TEST_F(VideoWindowTest, ClosingTheWindowHandsThePausedFileBackToTheMainPlayer) {
    playInVideoWindow();
    run(2000);
    video().controls.pause();
    run(100);
    const double at = video().controls.currentPosition();
    const std::string file = d().CurrentFile;
    const auto track = static_cast<std::size_t>(d().CurrentTrack);
    f().HScroll1.setValue(800);
    ASSERT_EQ(video().settings.volume(), 40);

    ASSERT_TRUE(app().Form2.requestUnload(0));
    EXPECT_FALSE(app().Form2.Visible());
    EXPECT_EQ(s().VideoMode, 0);
    EXPECT_TRUE(f().mnuvideoshow[1].Checked());
    EXPECT_TRUE(video().URL().empty());
    EXPECT_FALSE(video().enabled());
    // The resume point is the video player's, not the emptied player's 0.
    EXPECT_NEAR(d().TrackResumePos[track].toDouble(), at, 1);

    EXPECT_EQ(mainPlayer().URL(), file);
    EXPECT_EQ(mainPlayer().settings.volume(), 40);
    EXPECT_EQ(f().Slider1.Max(), 60);
    EXPECT_EQ(f().Slider1.TickFrequency(), 3);
    EXPECT_EQ(app().Form4.Slider1.Max(), 60);
    run(300);
    EXPECT_EQ(mainPlayer().playState(), playstate::Playing);
    EXPECT_NEAR(mainPlayer().controls.currentPosition(), at + 0.3, 0.2);
    EXPECT_NE(video().playState(), playstate::Playing);
}

TEST_F(VideoWindowTest, InCompactModeTheFileGoesBackToTheCompactPlayer) {
    playInVideoWindow();
    // The video player keeps the file through the switch of windows.
    app().windows.Passage(true);
    ASSERT_TRUE(s().CompactMode);
    ASSERT_EQ(video().URL(), d().CurrentFile);

    ASSERT_TRUE(app().Form2.requestUnload(0));
    EXPECT_EQ(compact().URL(), d().CurrentFile);
    EXPECT_TRUE(mainPlayer().URL().empty());
    run(300);
    EXPECT_EQ(compact().playState(), playstate::Playing);
    EXPECT_NE(mainPlayer().playState(), playstate::Playing);
}

TEST_F(VideoWindowTest, AnUnloadByTheMenuOrOfAnEmptyWindowHandsNothingBack) {
    playInVideoWindow();
    f().mnuvideoshow[1].click();
    EXPECT_FALSE(app().Form2.Visible());
    run(500);
    EXPECT_TRUE(mainPlayer().URL().empty());
    EXPECT_TRUE(compact().URL().empty());
    EXPECT_NE(video().playState(), playstate::Playing);

    // The user closing a window whose player holds nothing starts nothing.
    app().Form2.Show();
    ASSERT_TRUE(app().Form2.requestUnload(0));
    EXPECT_EQ(s().VideoMode, 0);
    run(500);
    EXPECT_TRUE(mainPlayer().URL().empty());
    EXPECT_NE(mainPlayer().playState(), playstate::Playing);
}

}  // namespace
}  // namespace tarvolin
