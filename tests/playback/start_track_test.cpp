// Starting a track: missing, empty and unplayable files, the preview start
// point, the tray's pause mark and the choice of the player.
#include <filesystem>

#include "playback_fixture.h"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;

TEST_F(PlaybackTest, AMissingFileIsMarkedXLoggedBeepedAndSkippedThroughTheTimer) {
    auto paths = startWithTracks(3, 60);
    fs::remove(paths[1]);
    d().CurrentTrack = 1;
    h.desktop.beeps.clear();

    app().playback.Bres_Kommati();
    EXPECT_EQ(d().TrackClass[1], 1);
    EXPECT_EQ(d().TrackSize[1], Currency{});
    EXPECT_FALSE(d().TrackSaved[1]);
    EXPECT_EQ(d().ClassCount[0], 2);
    EXPECT_EQ(d().ClassCount[1], 1);
    EXPECT_EQ(d().TotalSize, Currency::fromInteger(1));
    EXPECT_EQ(f().List3_0[1].List(1), "X");
    EXPECT_NE(log().find("-> Το αρχείο ( 2)" + paths[1] + "\r\n δεν υφίσταται πλέον ή έχει μηδενικό μήκος."),
              std::string::npos);
    EXPECT_NE(log().find("File ( 2)" + paths[1] + "\r\n dosn't not longer exists or has zero lenght."),
              std::string::npos);
    ASSERT_EQ(h.desktop.beeps.size(), 1u);
    EXPECT_EQ(h.desktop.beeps[0], std::make_pair(2500, 50));

    // No recursion: the skip waits for the timer's one-off 300 ms.
    EXPECT_EQ(d().CurrentTrack, 1);
    EXPECT_EQ(s().TimerPurpose, 2);
    EXPECT_EQ(f().Timer1.Interval(), 300);
    h.loop.advance(300);
    EXPECT_EQ(d().CurrentTrack, 2);
    EXPECT_EQ(s().TimerPurpose, 1);
    run(1000);
    EXPECT_EQ(mainPlayer().URL(), paths[2]);
    EXPECT_EQ(mainPlayer().playState(), playstate::Playing);
    EXPECT_EQ(f().Timer1.Interval(), 1000);
}

TEST_F(PlaybackTest, AnEmptyFileIsTreatedAsMissing) {
    auto paths = startWithTracks(2, 60);
    fixtures::writeEmpty(paths[0]);
    app().playback.Bres_Kommati();
    EXPECT_EQ(d().TrackClass[0], 1);
    EXPECT_EQ(s().TimerPurpose, 2);
}

TEST_F(PlaybackTest, TheOnlyTrackMissingIsMarkedButNotSkipped) {
    auto paths = startWithTracks(1, 60);
    fs::remove(paths[0]);
    app().playback.Bres_Kommati();
    EXPECT_EQ(d().TrackClass[0], 1);
    EXPECT_EQ(s().TimerPurpose, 0);
    run(3000);
    EXPECT_EQ(mainPlayer().URL(), "");
}

TEST_F(PlaybackTest, APassOfUnplayableTracksStopsWithOneLogLine) {
    auto paths = startWithTracks(3, 60);
    for (const auto& p : paths) fs::remove(p);
    s().ReplayMode = 2;
    app().playback.Bres_Kommati();
    run(5000);
    const std::string stop = "No file can be played. Playback stopped";
    const std::size_t at = log().find(stop);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(log().find(stop, at + 1), std::string::npos);
    EXPECT_EQ(s().TimerPurpose, 0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(d().TrackClass[static_cast<std::size_t>(i)], 1);
    const int played = d().PlayedCount;
    run(5000);
    EXPECT_EQ(d().PlayedCount, played);
}

TEST_F(PlaybackTest, ReplayOneWithAMissingFileStopsAtOnce) {
    auto paths = startWithTracks(3, 60);
    fs::remove(paths[0]);
    s().ReplayMode = 1;
    app().playback.Bres_Kommati();
    EXPECT_EQ(s().TimerPurpose, 0);
    run(2000);
    EXPECT_EQ(d().CurrentTrack, 0);
}

TEST_F(PlaybackTest, AFileTheEngineCannotDecodeIsSkippedButKeepsItsClass) {
    auto paths = startWithTracks(3, 60);
    h.engines.rules().decodeErrors[paths[0]] = "unrecognized file format";
    app().playback.Bres_Kommati();
    run(700);
    EXPECT_NE(log().find("The file cannot be played: " + paths[0]), std::string::npos);
    EXPECT_EQ(d().TrackClass[0], 0);
    EXPECT_EQ(d().CurrentTrack, 1);
    run(400);
    EXPECT_EQ(mainPlayer().URL(), paths[1]);
    EXPECT_EQ(mainPlayer().playState(), playstate::Playing);
    EXPECT_EQ(app().playback.UnplayableRun, 0);
}

TEST_F(PlaybackTest, PreviewStartsAtAFifthAndMovesOnAfterItsLength) {
    startWithTracks(2, 100);
    s().PreviewOn = true;
    s().PreviewSeconds = 10;
    app().playback.Bres_Kommati();
    EXPECT_EQ(d().StartPosition, 20);
    EXPECT_EQ(s().PreviewPoints[0], 20);
    run(400);
    EXPECT_NEAR(mainPlayer().controls.currentPosition(), 20.1, 0.2);
    EXPECT_EQ(f().Text5[2].Text().size(), 2u);  // seconds of the preview left
    run(10000);
    EXPECT_EQ(d().CurrentTrack, 0);
    run(1500);
    EXPECT_EQ(d().CurrentTrack, 1);
}

TEST_F(PlaybackTest, WithTheTrayPauseMarkANewTrackIsLoadedAndLeftPaused) {
    auto paths = startWithTracks(2, 60);
    f().mnusystemtraypause.setChecked(true);
    app().playback.Bres_Kommati();
    run(1500);
    EXPECT_EQ(mainPlayer().URL(), paths[0]);
    EXPECT_EQ(mainPlayer().playState(), playstate::Paused);
    EXPECT_EQ(s().TimerPurpose, 0);
}

TEST_F(PlaybackTest, ThePauseBetweenTracksBeepsAndStartsAfterItsLength) {
    startWithTracks(2, 60);
    f().MnuMorePauseActive.setChecked(true);
    s().BeepBetween = true;
    s().PauseSeconds = 3;
    h.desktop.beeps.clear();
    app().playback.Bres_Kommati();
    ASSERT_EQ(h.desktop.beeps.size(), 2u);
    EXPECT_EQ(h.desktop.beeps[0], std::make_pair(600, 100));
    EXPECT_EQ(h.desktop.beeps[1], std::make_pair(650, 100));
    run(2500);
    EXPECT_NE(mainPlayer().playState(), playstate::Playing);
    run(700);
    EXPECT_EQ(mainPlayer().playState(), playstate::Playing);
    EXPECT_EQ(f().Timer1.Interval(), 1000);
}

TEST_F(PlaybackTest, VideoFilesGoToTheVideoWindowInTheAutomaticMode) {
    startUp();
    const std::string video = makeFile("clip.mpg", 30);
    const std::string capital = makeFile("CLIP2.MPG", 30);
    h.media.set(video, "MediaType", "other");
    h.media.set(capital, "MediaType", "other");
    Playback& pb = app().playback;
    EXPECT_TRUE(pb.Is_Video_Media(video));
    EXPECT_FALSE(pb.Is_Video_Media(capital));  // the ending test keeps letter case
    h.media.set(capital, "MediaType", "video");
    EXPECT_TRUE(pb.Is_Video_Media(capital));

    addTracks({video, makeFile("song.wav", 30)});
    s().ShuffleOn = false;
    s().VideoMode = 1;
    pb.Bres_Kommati();
    Player& videoPlayer = app().Form2.WindowsMediaPlayer1;
    EXPECT_EQ(videoPlayer.URL(), video);
    EXPECT_TRUE(app().Form2.Visible());
    run(400);
    EXPECT_EQ(videoPlayer.playState(), playstate::Playing);

    // Audio plays in the main player, and only one player holds a file.
    pb.Bres_Kommati();
    EXPECT_EQ(mainPlayer().URL(), f().List2.List(1));
    EXPECT_EQ(videoPlayer.URL(), "");
    run(400);
    EXPECT_EQ(mainPlayer().playState(), playstate::Playing);
}

TEST_F(PlaybackTest, StartingATrackFillsTheEditorBoxesFromItsFile) {
    auto paths = startWithTracks(1, 60);
    h.media.set(paths[0], "Artist", "Μαρία");
    h.media.set(paths[0], "Genre", "017 - Ροκ - Rock");
    app().playback.Bres_Kommati();
    EXPECT_EQ(f().Text1_0.Text(), "t0.wav");
    EXPECT_EQ(f().Text1_1.Text(), "Μαρία");
    EXPECT_EQ(f().Combo1.Text(), "017 - Ροκ - Rock");
    EXPECT_TRUE(s().TagBoxesFilling);
    EXPECT_FALSE(s().Busy);
}

}  // namespace
}  // namespace tarvolin
