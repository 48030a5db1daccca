// The compact window's controls: its buttons and labels do what the main
// window's do; its volume bar and step box follow into the main window; its
// slider seeks the player in use.
#include "playback/playback_fixture.h"

namespace tarvolin {
namespace {

class CompactControlsTest : public PlaybackTest {
protected:
    Form4& c() { return app().Form4; }
    Player& compact() { return app().Form4.WindowsMediaPlayer1; }
};

TEST_F(CompactControlsTest, TheButtonsAndLabelsReachTheMainWindowsHandlers) {
    startWithTracks(3, 60);
    c().Command3[0].Click.raise();
    run(400);
    ASSERT_FALSE(d().CurrentFile.empty());
    EXPECT_EQ(mainPlayer().playState(), playstate::Playing);
    const std::string first = d().CurrentFile;

    c().Command11.Click.raise();
    run(100);
    EXPECT_EQ(mainPlayer().playState(), playstate::Paused);
    c().Command11.Click.raise();
    run(100);
    EXPECT_EQ(mainPlayer().playState(), playstate::Playing);

    c().Command3[0].Click.raise();
    run(400);
    EXPECT_NE(d().CurrentFile, first);

    // A class label rates the current track: label k gives class k - 1.
    const auto track = static_cast<std::size_t>(d().CurrentTrack);
    c().Label10[3].Click.raise();
    EXPECT_EQ(d().TrackClass[track], 2);
    c().Label9[5].Click.raise();
    EXPECT_EQ(d().TrackClass[track], 4);
    c().Label21[2].Click.raise();
    EXPECT_EQ(d().TrackClass[track], 1);

    // Maximize goes back to the main window.
    app().windows.Passage(true);
    ASSERT_TRUE(s().CompactMode);
    c().Command1.Click.raise();
    EXPECT_FALSE(s().CompactMode);
    EXPECT_TRUE(f().Visible());
}

TEST_F(CompactControlsTest, TheVolumeBarAndTheStepBoxFollowIntoTheMainWindow) {
    startUp();
    // The step box opens with the main window's count.
    ASSERT_EQ(f().Text3.Text(), "3");
    app().windows.Passage(true);
    EXPECT_EQ(c().Text3.Text(), "3");
    app().windows.Passage(false);
    f().Text3.setText("5");
    app().windows.Passage(true);
    EXPECT_EQ(c().Text3.Text(), "5");
    EXPECT_EQ(s().StepCount, 5);

    c().HScroll1.setValue(1000);
    EXPECT_EQ(f().HScroll1.Value(), 1000);
    EXPECT_EQ(s().Volume, 50);

    // Dragging rounds halves to the even neighbour: 1.5 and 2.5 both give 2.
    c().HScroll1.userScroll(30);
    EXPECT_EQ(f().HScroll1.Value(), 30);
    EXPECT_EQ(s().Volume, 2);
    c().HScroll1.userScroll(50);
    EXPECT_EQ(s().Volume, 2);
    EXPECT_EQ(mainPlayer().settings.volume(), 2);
    EXPECT_EQ(app().Form2.WindowsMediaPlayer1.settings.volume(), 2);

    c().Text3.setText("7");
    EXPECT_EQ(f().Text3.Text(), "7");
    EXPECT_EQ(s().StepCount, 7);
    c().Text3.setText("x");
    EXPECT_EQ(c().Text3.Text(), "3");
    EXPECT_EQ(f().Text3.Text(), "3");
    EXPECT_EQ(s().StepCount, 3);
}

TEST_F(CompactControlsTest, TheSliderSeeksThePlayerInUseOnlyWhilePausedOrPlaying) {
    startWithTracks(2, 60);
    // Nothing loaded: nothing moves.
    c().Slider1.setMax(60);
    c().Slider1.userScroll(20);
    EXPECT_EQ(mainPlayer().controls.currentPosition(), 0);

    app().playback.Command3_Click(0);
    run(400);
    c().Slider1.setMax(60);
    c().Slider1.userScroll(20);
    EXPECT_NEAR(mainPlayer().controls.currentPosition(), 20, 0.1);
    EXPECT_EQ(c().Slider1.ToolTipText(), "00:20");

    app().windows.Passage(true);
    run(300);
    ASSERT_EQ(compact().playState(), playstate::Playing);
    c().Slider1.userScroll(45);
    EXPECT_NEAR(compact().controls.currentPosition(), 45, 0.1);
    EXPECT_EQ(c().Slider1.ToolTipText(), "00:45");
}

TEST_F(CompactControlsTest, TheSliderSeeksTheVideoWindowWhenItHoldsTheFile) {
    startUp();
    const std::string clip = addFilmInAutomaticVideoMode("clip.wav", 60);
    app().playback.Command3_Click(0);
    run(600);
    Player& video = app().Form2.WindowsMediaPlayer1;
    ASSERT_EQ(video.URL(), clip);
    ASSERT_EQ(video.playState(), playstate::Playing);

    app().windows.Passage(true);
    c().Slider1.setMax(60);
    c().Slider1.userScroll(30);
    EXPECT_NEAR(video.controls.currentPosition(), 30, 0.1);
    EXPECT_EQ(c().Slider1.ToolTipText(), "00:30");
    EXPECT_TRUE(compact().URL().empty());
}

}  // namespace
}  // namespace tarvolin
