// The transport: play/pause and the walks through the play history.
#include "playback_fixture.h"

namespace tarvolin {
namespace {

TEST_F(PlaybackTest, NextAndPreviousWalkThroughTheShuffleHistory) {
    startWithTracks(6, 60);
    s().ShuffleOn = true;
    Playback& pb = app().playback;

    std::vector<int> played;
    for (int k = 0; k < 3; ++k) {
        pb.Command3_Click(0);
        played.push_back(d().CurrentTrack);
        run(400);
    }
    ASSERT_EQ(d().PlayedCount, 3);
    EXPECT_EQ(s().StepCount, 3);  // restored after each one-track step

    pb.Command3_Click(1);
    EXPECT_EQ(d().CurrentTrack, played[1]);
    EXPECT_EQ(d().PlayedCount, 2);
    EXPECT_EQ(d().MaxPlayedCount, 3);
    EXPECT_EQ(f().Label6.Caption(),
              "Τυχαία Αναπαραγωγή [σε οπισθοδρόμηση] -> [-1] <- Suffle Play [in backtracking]");
    pb.Command3_Click(1);
    EXPECT_EQ(d().CurrentTrack, played[0]);
    EXPECT_EQ(d().PlayedCount, 1);
    // Going back does not renumber.
    EXPECT_EQ(d().PlayOrder[static_cast<std::size_t>(played[0])], 1);

    pb.Command3_Click(0);
    EXPECT_EQ(d().CurrentTrack, played[1]);
    EXPECT_EQ(d().PlayedCount, 2);
    pb.Command3_Click(0);
    EXPECT_EQ(d().CurrentTrack, played[2]);
    EXPECT_EQ(d().PlayedCount, 3);
    // At the end of the history a new track is drawn.
    pb.Command3_Click(0);
    EXPECT_EQ(d().PlayedCount, 4);
    EXPECT_EQ(d().PlayOrder[static_cast<std::size_t>(d().CurrentTrack)], 4);
    EXPECT_EQ(std::count(played.begin(), played.end(), d().CurrentTrack), 0);
}

TEST_F(PlaybackTest, NextStoresWhereThePlayingTrackWasLeft) {
    startWithTracks(3, 60);
    app().playback.Command3_Click(0);
    run(2300);
    ASSERT_EQ(mainPlayer().playState(), playstate::Playing);
    d().TrackSaved[0] = true;
    app().playback.Command3_Click(0);
    EXPECT_NEAR(d().TrackResumePos[0].toDouble(), 2.0, 0.1);
    EXPECT_FALSE(d().TrackSaved[0]);
}

TEST_F(PlaybackTest, BackByMoreThanTheHistoryLandsOnTheFirstTrack) {
    startWithTracks(5, 60);
    d().CurrentTrack = 3;
    app().playback.Bres_Kommati();  // track 3, mark 1
    app().playback.Bres_Kommati();  // track 4, mark 2
    s().StepCount = 3;
    app().playback.Proigoumeno_Kommati();
    EXPECT_EQ(d().CurrentTrack, 0);
    EXPECT_EQ(d().PlayedCount, 1);
}

TEST_F(PlaybackTest, StepCommandsDoNothingOnAnEmptyListOrWithoutAStepCount) {
    startUp();
    app().playback.Command3_Click(1);
    app().playback.Command3_Click(0);
    EXPECT_EQ(d().PlayedCount, 0);

    addTracks(makeFiles(3, 60));
    s().StepCount = 0;
    app().playback.Proigoumeno_Kommati();
    app().playback.Epomeno_Kommati();
    EXPECT_EQ(d().PlayedCount, 0);
    EXPECT_EQ(mainPlayer().URL(), "");
}

TEST_F(PlaybackTest, PlayPauseFollowsThePlayerInUse) {
    startWithTracks(3, 60);
    Playback& pb = app().playback;

    // Stopped: the last step is repeated, which starts a track.
    pb.Command11_Click();
    run(400);
    ASSERT_EQ(mainPlayer().playState(), playstate::Playing);
    EXPECT_EQ(f().Command11.Picture(), "play");
    EXPECT_EQ(f().Icon(), 100);

    pb.Command11_Click();
    EXPECT_EQ(mainPlayer().playState(), playstate::Paused);
    EXPECT_TRUE(s().Paused);
    EXPECT_TRUE(f().mnusystemtraypause.Checked());
    EXPECT_EQ(f().Icon(), 101);
    EXPECT_EQ(h.tray.icon, 101);

    pb.Command11_Click();
    EXPECT_EQ(mainPlayer().playState(), playstate::Playing);
    EXPECT_FALSE(s().Paused);
    EXPECT_FALSE(f().mnusystemtraypause.Checked());

    // In the compact window the compact player is the one paused.
    app().windows.Passage(true);
    run(400);
    ASSERT_EQ(app().Form4.WindowsMediaPlayer1.playState(), playstate::Playing);
    EXPECT_EQ(mainPlayer().URL(), "");
    pb.Command11_Click();
    EXPECT_EQ(app().Form4.WindowsMediaPlayer1.playState(), playstate::Paused);
}

// The Play / Pause button shows what it did by its picture only: a screen
// reader user hears it in the player window shown.
TEST_F(PlaybackTest, PlayAndPauseAreAnnouncedInThePlayerWindowShown) {
    startWithTracks(3, 60);
    struct Case {
        bool compact;
        const char* said;
    };
    const Case cases[] = {{false, "Αναπαραγωγή - Playing"},
                          {false, "Παύση - Paused"},
                          {false, "Αναπαραγωγή - Playing"},
                          {true, "Παύση - Paused"}};
    for (const Case& c : cases) {
        if (c.compact && !app().Form4.Visible()) {
            app().windows.Passage(true);
            run(400);
        }
        app().playback.Command11_Click();
        run(400);
        const Form& shown = c.compact ? static_cast<const Form&>(app().Form4) : app().Form1;
        EXPECT_EQ(shown.lastAnnouncement(), c.said);
    }
}

}  // namespace
}  // namespace tarvolin
