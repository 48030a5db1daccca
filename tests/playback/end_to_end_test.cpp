// Press play once and let a whole collection play: on the virtual clock with
// the simulated engine, and in real time on libmpv with null outputs.
#include <filesystem>
#include <set>

#include "platform/mpv/mpv_engine.h"
#include "platform/tags/tag_media.h"
#include "playback_fixture.h"
#include "support/blocking_test_loop.h"

namespace tarvolin {
namespace {

const char* const kPassOver = "Every file has been reproduced";

// The number of changes of the current track along a sequence that starts
// from track 0.
int changesFromZero(const std::vector<int>& tracks) {
    int changes = 0, last = 0;
    for (int t : tracks) {
        if (t != last) ++changes;
        last = t;
    }
    return changes;
}

TEST_F(PlaybackTest, PlayPressedOnceThePassPlaysThroughAndIsSaved) {
    // A collection of five tracks, stored by the program's own shutdown.
    startUp();
    auto paths = makeFiles(5, 3);
    addTracks(paths);
    int cancel = 0;
    app().playback.Form_QueryUnload(cancel, 0);
    ASSERT_TRUE(h.dialogs.transcript().empty());

    // The next run plays at start: the loaded track first, then a shuffled
    // pass over the others.
    h.build();
    startUp();
    std::vector<int> order;
    std::string lastUrl;
    for (int step = 0; step < 1200 && log().find(kPassOver) == std::string::npos; ++step) {
        if (mainPlayer().playState() == playstate::Playing && mainPlayer().URL() != lastUrl) {
            lastUrl = mainPlayer().URL();
            order.push_back(d().CurrentTrack);
            EXPECT_EQ(d().PlayOrder[static_cast<std::size_t>(d().CurrentTrack)], static_cast<int>(order.size()));
            EXPECT_EQ(lastUrl, paths[static_cast<std::size_t>(d().CurrentTrack)]);
        }
        h.loop.advance(50);
    }
    ASSERT_NE(log().find(kPassOver), std::string::npos);
    ASSERT_EQ(order.size(), 5u);
    EXPECT_EQ(order[0], 0);
    EXPECT_EQ(std::set<int>(order.begin(), order.end()).size(), 5u);

    // The pass is over: marks cleared, the player stopped and emptied.
    for (int i = 0; i < 5; ++i) EXPECT_EQ(d().PlayOrder[static_cast<std::size_t>(i)], 0);
    EXPECT_EQ(d().PlayedCount, 0);
    EXPECT_EQ(mainPlayer().URL(), "");
    EXPECT_EQ(d().CurrentTrack, (order.back() + 1) % 5);
    run(3000);

    std::vector<int> seen = order;
    seen.push_back(d().CurrentTrack);
    const int filesPlayed = changesFromZero(seen);
    EXPECT_EQ(s().StatFilesPlayed, filesPlayed);
    // A second for each tick that found the player playing: two or three of
    // the three seconds of each track.
    const int listened = s().StatMinutes * 60 + s().StatSeconds;
    EXPECT_GE(listened, 10);
    EXPECT_LE(listened, 15);
    const std::int32_t minutes = s().StatMinutes, seconds = s().StatSeconds;

    f().requestUnload(0);
    ASSERT_TRUE(app().playback.shutDown());

    // What the files on disk hold.
    h.build();
    CollectionStore& store = app().collection;
    store.Load_Last_Collection();
    store.Load_Collection();
    ASSERT_EQ(d().TrackCount, 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(d().PlayOrder[static_cast<std::size_t>(i)], 0);
    EXPECT_EQ(d().PlayedCount, 0);
    EXPECT_EQ(d().CurrentTrack, (order.back() + 1) % 5);
    EXPECT_EQ(s().StatFilesPlayed, filesPlayed);
    EXPECT_EQ(s().StatMinutes, minutes);
    EXPECT_EQ(s().StatSeconds, seconds);
}

// A program's services on libmpv with null outputs and the real tag reader,
// in real time.
struct OnLibmpv {
    TempDir folder;
    BlockingTestLoop loop;
    ScriptedDialogs dialogs;
    TagMediaReader media;
    MpvEngineFactory engines{loop};
    FakeDesktop desktop;
    FakeTray tray;
    const Services services{loop, dialogs, engines, media, desktop, tray, {}, {}, ""};

    OnLibmpv() {
        engines.setAudioOutput("null");
        engines.setVideoOutput("null");
    }

    // Three tones of `seconds` each.
    std::vector<std::string> tones(double seconds, int sampleRate = 44100, int channels = 2) {
        std::vector<std::string> paths;
        for (int i = 0; i < 3; ++i) {
            fixtures::WavOptions wav;
            wav.pcm.seconds = seconds;
            wav.pcm.sampleRate = sampleRate;
            wav.pcm.channels = channels;
            wav.pcm.sineHz = 440 + 110 * i;
            paths.push_back(fixtures::writeWav(folder.makeDir("music") + "tone" + std::to_string(i) + ".wav", wav));
        }
        return paths;
    }
};

TEST(PlayThroughOnLibmpv, ACollectionOfShortFilesPlaysToTheEndOfItsPass) {
    OnLibmpv run;
    BlockingTestLoop& loop = run.loop;
    const Services& services = run.services;
    TempDir& folder = run.folder;
    const std::vector<std::string> paths = run.tones(1.0);

    {
        Program first(services, folder.path());
        first.playback.Form_Load();
        putTracks(first, paths, {1.0, 1.0, 1.0});
        int cancel = 0;
        first.playback.Form_QueryUnload(cancel, 0);
    }

    Program app(services, folder.path());
    std::vector<std::string> started;
    Player& player = app.Form1.WindowsMediaPlayer1;
    auto record = [&] {
        if (player.playState() == playstate::Playing &&
            (started.empty() || started.back() != player.URL())) {
            started.push_back(player.URL());
        }
    };
    app.playback.Form_Load();
    const bool over = loop.runUntil(
        [&] {
            record();
            return app.Form1.Text2[0].Text().find(kPassOver) != std::string::npos;
        },
        30000);
    ASSERT_TRUE(over) << app.Form1.Text2[0].Text();
    ASSERT_EQ(started.size(), 3u);
    EXPECT_EQ(std::set<std::string>(started.begin(), started.end()),
              std::set<std::string>(paths.begin(), paths.end()));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(app.collection.d.PlayOrder[static_cast<std::size_t>(i)], 0);
    EXPECT_EQ(player.URL(), "");
    EXPECT_EQ(app.Form1.Text2[0].Text().find("cannot be played"), std::string::npos);

    int cancel = 0;
    app.playback.Form_QueryUnload(cancel, 0);
    EXPECT_TRUE(std::filesystem::exists(folder.file("tarvolin_sylloges/default.tl")));
    EXPECT_TRUE(std::filesystem::exists(folder.file("tarvolin_sylloges/tarvolin_Files.ptlf")));
}

TEST(PlayThroughOnLibmpv, WithPreviewAndThePauseEveryTrackIsPreviewedOnceWithAPauseAfterIt) {
    OnLibmpv run;
    BlockingTestLoop& loop = run.loop;
    FakeDesktop& desktop = run.desktop;
    // Six seconds each: the preview from the first whole second to the
    // third ends well before the file does.
    constexpr double kSeconds = 6.0;
    const std::vector<std::string> paths = run.tones(kSeconds, 8000, 1);

    Program app(run.services, run.folder.path());
    ModuleState& s = app.state;
    CollectionData& d = app.collection.d;
    app.playback.Form_Load();
    putTracks(app, paths, {kSeconds, kSeconds, kSeconds});
    s.ShuffleOn = false;
    s.PreviewOn = true;
    s.PreviewSeconds = 2;
    app.Form1.MnuMorePauseActive.setChecked(true);
    s.PauseSeconds = 2;
    s.BeepBetween = true;
    desktop.beeps.clear();

    // Each start: when the track was chosen, its mark, and when and where it
    // began to play.
    struct Start {
        int track;
        int mark;
        std::int64_t chosenAt;
        std::int64_t playingAt = -1;
        double playingFrom = -1;
    };
    std::vector<Start> starts;
    Player& player = app.Form1.WindowsMediaPlayer1;
    auto record = [&] {
        const std::string url = player.URL();
        if (!url.empty() && (starts.empty() || paths[static_cast<std::size_t>(starts.back().track)] != url)) {
            starts.push_back({d.CurrentTrack, d.PlayOrder[static_cast<std::size_t>(d.CurrentTrack)], loop.tickCount()});
        }
        if (!starts.empty() && starts.back().playingAt < 0 && player.playState() == playstate::Playing) {
            starts.back().playingAt = loop.tickCount();
            starts.back().playingFrom = player.controls.currentPosition();
        }
    };
    app.playback.Command11_Click();  // play, once
    const bool over = loop.runUntil(
        [&] {
            record();
            return app.Form1.Text2[0].Text().find(kPassOver) != std::string::npos;
        },
        40000);
    const std::string log = app.Form1.Text2[0].Text();
    ASSERT_TRUE(over) << log;

    ASSERT_EQ(starts.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        const Start& st = starts[static_cast<std::size_t>(k)];
        SCOPED_TRACE("start " + std::to_string(k));
        EXPECT_EQ(st.track, k);
        EXPECT_EQ(st.mark, k + 1);
        ASSERT_GE(st.playingAt, 0);
        // The pause before it played, and its preview from a fifth of it.
        EXPECT_GE(st.playingAt - st.chosenAt, 1900);
        EXPECT_NEAR(st.playingFrom, 1.0, 0.5);
        // Left at the end of its preview, not at the end of the file.
        const double left = d.TrackResumePos[static_cast<std::size_t>(k)].toDouble();
        EXPECT_GT(left, 3.0);
        EXPECT_LT(left, kSeconds - 0.5);
    }
    // A pause after each track: two beeps each.
    int high = 0, low = 0;
    for (const auto& [freq, ms] : desktop.beeps) {
        if (freq == 600 && ms == 100) ++low;
        if (freq == 650 && ms == 100) ++high;
    }
    EXPECT_EQ(low, 3);
    EXPECT_EQ(high, 3);
    EXPECT_EQ(log.find(kPassOver), log.rfind(kPassOver));
    EXPECT_EQ(log.find("cannot be played"), std::string::npos);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(d.PlayOrder[static_cast<std::size_t>(i)], 0);
    EXPECT_EQ(player.URL(), "");

    int cancel = 0;
    app.playback.Form_QueryUnload(cancel, 0);
}

}  // namespace
}  // namespace tarvolin
