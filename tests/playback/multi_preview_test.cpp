// The video-preview page's twelve players.
#include <cmath>
#include <functional>

#include "platform/sim_engine.h"
#include "playback_fixture.h"

namespace tarvolin {
namespace {

class MultiPreviewTest : public PlaybackTest {
protected:
    void SetUp() override { startUp(); }

    ControlArray<Player>& players() { return f().WindowsMediaPlayer3; }

    std::string makeVideo(const std::string& name, double seconds) {
        const std::string path = makeFile(name, seconds);
        h.media.set(path, "MediaType", "video");
        return path;
    }

    // Where each player stands once the files are open, less the time they
    // have played since.
    std::vector<double> startPoints(double playedSeconds) {
        std::vector<double> at;
        for (Player& p : players()) at.push_back(p.controls.currentPosition() - playedSeconds);
        return at;
    }
};

TEST_F(MultiPreviewTest, AVideoOf220SecondsFillsTwelvePlayersAtTheSliceMiddles) {
    d().InfoFile = makeVideo("film.wav", 220);
    const std::int64_t before = h.loop.tickCount();
    app().playback.Reset_Multi_Preview(true);
    const double waited = (h.loop.tickCount() - before) / 1000.0;
    EXPECT_TRUE(app().playback.MultiPreviewPending);
    ASSERT_EQ(players().UBound(), 11);
    for (Player& p : players()) {
        EXPECT_EQ(p.URL(), d().InfoFile);
        EXPECT_TRUE(p.settings.mute());
        EXPECT_EQ(p.uiMode(), "none");
        EXPECT_TRUE(p.Visible());
    }
    EXPECT_FALSE(players()[0].settings.autoStart());

    run(200, 10);
    const std::vector<double> at = startPoints(0.2);
    const double expected[] = {0, 10, 30, 50, 70, 90, 110, 130, 150, 170, 190, 210};
    EXPECT_NEAR(at[0], waited, 0.1);
    for (int k = 1; k <= 11; ++k) EXPECT_NEAR(at[static_cast<std::size_t>(k)], expected[k], 0.1) << k;
    for (Player& p : players()) EXPECT_EQ(p.playState(), playstate::Playing);
}

TEST_F(MultiPreviewTest, DurationIsRoundedHalfToEven) {
    for (const auto& [seconds, whole] : {std::pair{218.5, 218.0}, std::pair{219.5, 220.0}}) {
        d().InfoFile = makeVideo("f" + std::to_string(whole) + ".wav", seconds);
        app().playback.Reset_Multi_Preview(true);
        run(100, 10);
        const std::vector<double> at = startPoints(0.1);
        EXPECT_NEAR(at[11], static_cast<float>(10.5 / 11 * whole), 0.05) << seconds;
        EXPECT_NEAR(at[1], static_cast<float>(0.5 / 11 * whole), 0.05) << seconds;
    }
}

TEST_F(MultiPreviewTest, AnAudioFileStopsAndHidesThePlayersAndKeepsThePendingMark) {
    d().InfoFile = makeVideo("film.wav", 60);
    app().playback.Reset_Multi_Preview(true);
    ASSERT_TRUE(app().playback.MultiPreviewPending);
    players()[7].setUiMode("full");

    d().InfoFile = makeFile("song.wav", 60);
    app().playback.Reset_Multi_Preview(true);
    EXPECT_TRUE(app().playback.MultiPreviewPending);
    for (Player& p : players()) {
        EXPECT_TRUE(p.URL().empty());
        EXPECT_FALSE(p.Visible());
        EXPECT_EQ(p.uiMode(), "none");
    }
}

TEST_F(MultiPreviewTest, ClearingStopsClosesAndHidesButKeepsTheControlBars) {
    d().InfoFile = makeVideo("film.wav", 60);
    app().playback.Reset_Multi_Preview(true);
    players()[5].setUiMode("full");
    app().playback.Reset_Multi_Preview(false);
    EXPECT_FALSE(app().playback.MultiPreviewPending);
    for (Player& p : players()) {
        EXPECT_TRUE(p.URL().empty());
        EXPECT_FALSE(p.Visible());
    }
    EXPECT_EQ(players()[5].uiMode(), "full");
    EXPECT_EQ(players()[0].uiMode(), "none");
}

TEST_F(MultiPreviewTest, AFileThatNeverOpensEndsTheWaitAndStartsEveryPlayerAtZero) {
    d().InfoFile = makeVideo("slow.wav", 220);
    h.engines.rules().loadDelay = 60000;
    const std::int64_t before = h.loop.tickCount();
    app().playback.Reset_Multi_Preview(true);
    const std::int64_t waited = h.loop.tickCount() - before;
    EXPECT_GE(waited, Playback::kPreviewOpenWaitMs);
    EXPECT_LT(waited, Playback::kPreviewOpenWaitMs + 500);
    EXPECT_TRUE(app().playback.MultiPreviewPending);
    h.engines.rules().loadDelay = 0;
    run(60000, 1000);
    for (Player& p : players()) EXPECT_LT(p.controls.currentPosition(), 10) << p.Index();
}

// While the first player opens its file the program serves the user: a
// click on another row, or leaving the page, takes over from the fill.
TEST_F(MultiPreviewTest, AClickDuringTheWaitLeavesEveryPlayerOnOneFile) {
    const std::vector<std::string> paths = {makeVideo("first.wav", 100), makeVideo("second.wav", 220),
                                            makeFile("song.wav", 60)};
    addTracks(paths);
    f().MultiPage1.setValue(4);
    h.engines.rules().loadDelay = 1000;

    // What the user does at the first yield of the wait.
    auto during = [&](const std::function<void()>& act) {
        bool done = false;
        h.loop.onYield = [&] {
            if (done) return;
            done = true;
            act();
        };
        f().List2.setListIndex(0);
        h.loop.onYield = nullptr;
        ASSERT_TRUE(done);
    };

    during([&] { f().List2.setListIndex(1); });
    for (Player& p : players()) {
        EXPECT_EQ(p.URL(), paths[1]) << p.Index();
        EXPECT_TRUE(p.Visible()) << p.Index();
    }
    run(2000, 10);
    // The later fill placed the players on the second file's slices.
    EXPECT_NEAR(players()[11].controls.currentPosition(), 10.5 / 11 * 220 + 1, 1.5);
    EXPECT_TRUE(app().playback.MultiPreviewPending);

    f().List2.setListIndex(1);
    during([&] { f().List2.setListIndex(2); });
    for (Player& p : players()) {
        EXPECT_TRUE(p.URL().empty()) << p.Index();
        EXPECT_FALSE(p.Visible()) << p.Index();
    }

    during([&] { f().MultiPage1.setValue(1); });
    for (Player& p : players()) {
        EXPECT_TRUE(p.URL().empty()) << p.Index();
        EXPECT_FALSE(p.Visible()) << p.Index();
    }
    EXPECT_FALSE(app().playback.MultiPreviewPending);
}

TEST_F(MultiPreviewTest, TrackListClickFillsThePlayersOnlyOnThePreviewPage) {
    auto paths = makeFiles(2, 60);
    paths.push_back(makeVideo("film.wav", 100));
    addTracks(paths);

    f().MultiPage1.setValue(1);
    f().List2.setListIndex(2);
    EXPECT_EQ(d().InfoFile, paths[2]);
    EXPECT_TRUE(players()[0].URL().empty());

    // Bringing the page forward fills the players from the file shown;
    // leaving it empties them.
    f().MultiPage1.setValue(4);
    EXPECT_EQ(players()[0].URL(), paths[2]);
    f().MultiPage1.setValue(1);
    EXPECT_TRUE(players()[0].URL().empty());

    f().List2.setListIndex(0);  // an audio file: the page opens empty
    f().MultiPage1.setValue(4);
    EXPECT_TRUE(players()[0].URL().empty());
    s().CompactMode = true;
    f().List2.setListIndex(2);
    EXPECT_TRUE(players()[0].URL().empty());

    s().CompactMode = false;
    f().List2.setListIndex(2);
    EXPECT_EQ(players()[0].URL(), paths[2]);
    EXPECT_TRUE(app().playback.MultiPreviewPending);
}

}  // namespace
}  // namespace tarvolin
