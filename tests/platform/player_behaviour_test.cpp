// The player control over both engines: the simulated engine on a virtual
// clock and libmpv with null outputs on short generated WAV files. Both must
// give the same play states in the same order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/mpv/mpv_engine.h"
#include "platform/player.h"
#include "platform/sim_engine.h"
#include "support/blocking_test_loop.h"
#include "support/fake_media.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"
#include "toolkit/virtual_loop.h"

namespace tarvolin {
namespace {

// Records every PlayStateChange with the thread it came on.
struct StateLog {
    std::vector<int> states;
    std::vector<std::thread::id> threads;
    std::vector<std::string> errors;

    void watch(Player& p) {
        p.PlayStateChange = [this](int s) {
            states.push_back(s);
            threads.push_back(std::this_thread::get_id());
        };
        p.MediaError = [this](std::string e) { errors.push_back(std::move(e)); };
    }
    bool saw(int s) const { return std::find(states.begin(), states.end(), s) != states.end(); }
};

// ---- the two set-ups ----------------------------------------------------------

struct SimSetup {
    static constexpr const char* name = "sim";
    VirtualLoop loop;
    FakeMediaReader media;
    TempDir dir;

    std::unique_ptr<Player> makePlayer() {
        auto p = std::make_unique<Player>();
        p->attach(std::make_unique<SimEngine>(loop, &media), &media);
        return p;
    }
    std::string audioFile(const std::string& name, double seconds) {
        std::string path = dir.file(name);
        fixtures::WavOptions wav;
        wav.pcm.seconds = 0.05;  // the engine takes its length from the media item
        wav.pcm.sampleRate = 8000;
        wav.pcm.channels = 1;
        fixtures::writeWav(path, wav);
        media.add(path, seconds);
        return path;
    }
    std::string emptyFile(const std::string& name) { return fixtures::writeEmpty(dir.file(name)); }
    std::string garbageFile(const std::string& name) { return fixtures::writeGarbage(dir.file(name)); }
    std::string missingFile(const std::string& name) { return dir.file(name); }

    bool runUntil(const std::function<bool()>& done, std::int64_t limitMs) {
        for (std::int64_t t = 0; t <= limitMs; t += 5) {
            loop.advance(t == 0 ? 0 : 5);
            if (done()) return true;
        }
        return false;
    }
    void elapse(std::int64_t ms) { loop.advance(ms); }
    std::thread::id loopThread() const { return std::this_thread::get_id(); }
};

struct MpvSetup {
    static constexpr const char* name = "mpv";
    BlockingTestLoop loop;
    TempDir dir;

    std::unique_ptr<Player> makePlayer() {
        MpvEngineOptions options;
        options.audioOutput = "null";
        options.videoOutput = "null";
        auto engine = std::make_unique<MpvEngine>(loop, options);
        EXPECT_TRUE(engine->valid());
        EXPECT_EQ(engine->setupError(), "");  // every option was taken
        auto p = std::make_unique<Player>();
        p->attach(std::move(engine));
        return p;
    }
    std::string audioFile(const std::string& name, double seconds) {
        fixtures::WavOptions wav;
        wav.pcm.seconds = seconds;
        wav.pcm.sampleRate = 8000;
        wav.pcm.channels = 1;
        wav.pcm.sineHz = 440;
        return fixtures::writeWav(dir.file(name), wav);
    }
    std::string emptyFile(const std::string& name) { return fixtures::writeEmpty(dir.file(name)); }
    std::string garbageFile(const std::string& name) { return fixtures::writeGarbage(dir.file(name)); }
    std::string missingFile(const std::string& name) { return dir.file(name); }

    bool runUntil(const std::function<bool()>& done, std::int64_t limitMs) {
        return loop.runUntil(done, std::max<std::int64_t>(limitMs, 10000));
    }
    void elapse(std::int64_t ms) { loop.wait(ms); }
    std::thread::id loopThread() const { return loop.threadId(); }
};

template <typename Env>
class PlayerBehaviour : public ::testing::Test {
protected:
    Env env;

    // Runs until the file has ended (8 then 1) or the time is out.
    bool runToEnd(Player& p, StateLog& log, std::int64_t limitMs = 10000) {
        return env.runUntil(
            [&] { return log.saw(playstate::MediaEnded) && p.playState() == playstate::Stopped; },
            limitMs);
    }
    bool runUntilState(Player& p, int s, std::int64_t limitMs = 10000) {
        return env.runUntil([&] { return p.playState() == s; }, limitMs);
    }
};

struct SetupNames {
    template <typename T>
    static std::string GetName(int) {
        return T::name;
    }
};

using Setups = ::testing::Types<SimSetup, MpvSetup>;
TYPED_TEST_SUITE(PlayerBehaviour, Setups, SetupNames);

TYPED_TEST(PlayerBehaviour, AutoStartPlaysToTheEndThenStops) {
    auto p = this->env.makePlayer();
    StateLog log;
    log.watch(*p);
    std::string f = this->env.audioFile("a.wav", 1.0);

    p->setURL(f);
    // The change to 9 comes at once, inside the call.
    ASSERT_EQ(log.states, std::vector<int>({playstate::Transitioning}));
    ASSERT_TRUE(this->runToEnd(*p, log));
    EXPECT_EQ(log.states, std::vector<int>({9, 3, 8, 1}));
    for (auto id : log.threads) EXPECT_EQ(id, this->env.loopThread());
    EXPECT_EQ(p->URL(), f);
    EXPECT_EQ(p->controls.currentPosition(), 0);
    EXPECT_NEAR(p->currentMedia.duration(), 1.0, 0.05);  // the item keeps its duration
    EXPECT_TRUE(log.errors.empty());
}

TYPED_TEST(PlayerBehaviour, WithoutAutoStartTheFileWaitsReady) {
    auto p = this->env.makePlayer();
    StateLog log;
    log.watch(*p);
    p->settings.setAutoStart(false);
    std::string f = this->env.audioFile("a.wav", 1.0);

    p->setURL(f);
    EXPECT_EQ(p->currentMedia.duration(), 0);  // unknown until the file is open
    ASSERT_TRUE(this->runUntilState(*p, playstate::Ready));
    EXPECT_NEAR(p->currentMedia.duration(), 1.0, 0.05);
    this->env.elapse(300);
    EXPECT_EQ(p->playState(), playstate::Ready);
    EXPECT_EQ(p->controls.currentPosition(), 0);

    p->controls.play();
    EXPECT_EQ(p->playState(), playstate::Playing);
    ASSERT_TRUE(this->runToEnd(*p, log));
    EXPECT_EQ(log.states, std::vector<int>({9, 10, 3, 8, 1}));
}

TYPED_TEST(PlayerBehaviour, PauseHoldsThePositionAndPlayGoesOn) {
    auto p = this->env.makePlayer();
    StateLog log;
    log.watch(*p);
    p->setURL(this->env.audioFile("a.wav", 1.5));
    ASSERT_TRUE(this->env.runUntil([&] { return p->controls.currentPosition() > 0.3; }, 1500));

    p->controls.pause();
    EXPECT_EQ(p->playState(), playstate::Paused);
    double held = p->controls.currentPosition();
    this->env.elapse(400);
    EXPECT_NEAR(p->controls.currentPosition(), held, 0.05);
    EXPECT_EQ(p->playState(), playstate::Paused);

    p->controls.play();
    ASSERT_TRUE(this->runToEnd(*p, log));
    EXPECT_EQ(log.states, std::vector<int>({9, 3, 2, 3, 8, 1}));
}

TYPED_TEST(PlayerBehaviour, PositionSetBeforeTheLoadIsTheStartPoint) {
    auto p = this->env.makePlayer();
    StateLog log;
    log.watch(*p);
    p->settings.setAutoStart(false);
    p->setURL(this->env.audioFile("a.wav", 2.0));
    p->controls.setCurrentPosition(1.25);
    EXPECT_DOUBLE_EQ(p->controls.currentPosition(), 1.25);  // kept while loading

    ASSERT_TRUE(this->runUntilState(*p, playstate::Ready));
    ASSERT_TRUE(this->env.runUntil([&] { return std::abs(p->controls.currentPosition() - 1.25) < 0.1; }, 2000));
    this->env.elapse(200);
    EXPECT_NEAR(p->controls.currentPosition(), 1.25, 0.1);
}

TYPED_TEST(PlayerBehaviour, PositionSetAfterTheLoadSeeks) {
    auto p = this->env.makePlayer();
    StateLog log;
    log.watch(*p);
    p->settings.setAutoStart(false);
    p->setURL(this->env.audioFile("a.wav", 3.0));
    ASSERT_TRUE(this->runUntilState(*p, playstate::Ready));

    p->controls.setCurrentPosition(1.5);
    EXPECT_NEAR(p->controls.currentPosition(), 1.5, 0.05);
    this->env.elapse(200);
    EXPECT_NEAR(p->controls.currentPosition(), 1.5, 0.1);
    EXPECT_EQ(p->controls.currentPositionString(), "00:01");

    // Playing goes on from there and ends well before the file's length
    // (libmpv's null audio output reports the end a little early).
    p->controls.play();
    EXPECT_TRUE(this->env.runUntil([&] { return p->controls.currentPosition() > 1.6; }, 1000));
    ASSERT_TRUE(this->runToEnd(*p, log, 1500));

    // A negative position is taken as the start.
    p->controls.setCurrentPosition(-3);
    EXPECT_EQ(p->controls.currentPosition(), 0);
}

TYPED_TEST(PlayerBehaviour, StopKeepsTheFileAndPlayStartsOver) {
    auto p = this->env.makePlayer();
    StateLog log;
    log.watch(*p);
    std::string f = this->env.audioFile("a.wav", 1.0);
    p->setURL(f);
    ASSERT_TRUE(this->env.runUntil([&] { return p->controls.currentPosition() > 0.3; }, 1000));

    p->controls.stop();
    EXPECT_EQ(p->playState(), playstate::Stopped);
    EXPECT_EQ(p->URL(), f);
    EXPECT_NEAR(p->controls.currentPosition(), 0, 0.05);
    this->env.elapse(1500);  // longer than the file: a stopped file never ends
    EXPECT_EQ(p->playState(), playstate::Stopped);
    EXPECT_FALSE(log.saw(playstate::MediaEnded));
    EXPECT_NEAR(p->controls.currentPosition(), 0, 0.05);
    EXPECT_NEAR(p->currentMedia.duration(), 1.0, 0.05);

    p->controls.play();
    EXPECT_EQ(p->playState(), playstate::Playing);
    ASSERT_TRUE(this->runToEnd(*p, log));
    EXPECT_EQ(log.states, std::vector<int>({9, 3, 1, 3, 8, 1}));
}

TYPED_TEST(PlayerBehaviour, PlayAfterTheEndOpensTheFileAgain) {
    auto p = this->env.makePlayer();
    StateLog log;
    log.watch(*p);
    p->setURL(this->env.audioFile("a.wav", 1.0));
    ASSERT_TRUE(this->runToEnd(*p, log));
    log.states.clear();

    p->controls.play();
    ASSERT_TRUE(this->runToEnd(*p, log));
    EXPECT_EQ(log.states, std::vector<int>({9, 3, 8, 1}));

    // A position set after the end is where the next play begins.
    p->controls.setCurrentPosition(0.3);
    EXPECT_DOUBLE_EQ(p->controls.currentPosition(), 0.3);
    p->controls.play();
    ASSERT_TRUE(this->runUntilState(*p, playstate::Playing));
    EXPECT_GE(p->controls.currentPosition(), 0.29);
    EXPECT_LT(p->controls.currentPosition(), 0.5);
}

TYPED_TEST(PlayerBehaviour, CloseUnloadsAndNothingEndsLater) {
    auto p = this->env.makePlayer();
    StateLog log;
    log.watch(*p);
    p->setURL(this->env.audioFile("a.wav", 1.0));
    ASSERT_TRUE(this->runUntilState(*p, playstate::Playing));

    p->close();
    EXPECT_EQ(p->playState(), playstate::Stopped);
    EXPECT_EQ(p->URL(), "");
    EXPECT_EQ(p->controls.currentPosition(), 0);
    EXPECT_EQ(p->currentMedia.duration(), 0);
    this->env.elapse(1500);
    EXPECT_EQ(log.states, std::vector<int>({9, 3, 1}));

    // Play with nothing loaded does nothing.
    p->controls.play();
    EXPECT_EQ(p->playState(), playstate::Stopped);

    // An empty URL unloads the same way.
    p->setURL(this->env.audioFile("b.wav", 1.0));
    ASSERT_TRUE(this->runUntilState(*p, playstate::Playing));
    p->setURL("");
    EXPECT_EQ(p->URL(), "");
    this->env.elapse(1500);
    EXPECT_EQ(log.states, std::vector<int>({9, 3, 1, 9, 3, 1}));
}

TYPED_TEST(PlayerBehaviour, ANewURLReplacesThePlayingFileWithoutAnEnd) {
    auto p = this->env.makePlayer();
    StateLog log;
    log.watch(*p);
    std::string a = this->env.audioFile("a.wav", 2.0);
    std::string b = this->env.audioFile("b.wav", 0.5);
    p->setURL(a);
    ASSERT_TRUE(this->runUntilState(*p, playstate::Playing));

    p->setURL(b);
    EXPECT_EQ(p->URL(), b);
    ASSERT_TRUE(this->runToEnd(*p, log));
    // The old file's unloading is no news: no 1 or 8 for it.
    EXPECT_EQ(log.states, std::vector<int>({9, 3, 9, 3, 8, 1}));
    EXPECT_NEAR(p->currentMedia.duration(), 0.5, 0.05);
}

TYPED_TEST(PlayerBehaviour, FilesThatCannotPlayStopWithoutAnEnd) {
    auto p = this->env.makePlayer();
    StateLog log;
    log.watch(*p);
    const std::string files[] = {this->env.missingFile("missing.wav"), this->env.emptyFile("empty.wav"),
                                 this->env.garbageFile("garbage.mp3")};
    for (const auto& f : files) {
        SCOPED_TRACE(f);
        log.states.clear();
        log.errors.clear();
        p->setURL(f);
        ASSERT_TRUE(this->env.runUntil([&] { return !log.errors.empty(); }, 5000));
        this->env.elapse(300);
        EXPECT_EQ(log.states, std::vector<int>({9, 1}));
        EXPECT_EQ(log.errors.size(), 1u);
        EXPECT_FALSE(p->errorText().empty());
        EXPECT_EQ(p->URL(), f);  // the control keeps what it was given
        EXPECT_EQ(p->controls.currentPosition(), 0);
        EXPECT_EQ(p->currentMedia.duration(), 0);
    }
    // A good file afterwards plays as usual.
    log.states.clear();
    p->setURL(this->env.audioFile("good.wav", 0.5));
    ASSERT_TRUE(this->runToEnd(*p, log));
    EXPECT_EQ(log.states, std::vector<int>({9, 3, 8, 1}));
    EXPECT_EQ(p->errorText(), "");
}

TYPED_TEST(PlayerBehaviour, VolumeIsClampedAndReported) {
    auto p = this->env.makePlayer();
    int status = 0;
    p->StatusChange = [&] { ++status; };
    EXPECT_EQ(p->settings.volume(), 50);
    p->settings.setVolume(150);
    EXPECT_EQ(p->settings.volume(), 100);
    p->settings.setVolume(-20);
    EXPECT_EQ(p->settings.volume(), 0);
    p->settings.setVolume(0);  // no change, no event
    EXPECT_EQ(status, 2);

    // Volume and mute hold across a file.
    p->settings.setVolume(30);
    p->settings.setMute(true);
    p->setURL(this->env.audioFile("a.wav", 0.5));
    ASSERT_TRUE(this->runUntilState(*p, playstate::Playing));
    EXPECT_EQ(p->settings.volume(), 30);
    EXPECT_TRUE(p->settings.mute());
}

TYPED_TEST(PlayerBehaviour, APlayerLetGoMidWayLeavesNothingBehind) {
    std::string f = this->env.audioFile("a.wav", 1.0);
    {
        auto p = this->env.makePlayer();
        p->setURL(f);  // the load is still under way when the player goes
    }
    this->env.elapse(300);
    {
        auto p = this->env.makePlayer();
        p->setURL(f);
        ASSERT_TRUE(this->runUntilState(*p, playstate::Playing));
    }
    this->env.elapse(1200);  // past the file's end
}

}  // namespace
}  // namespace tarvolin
