// The player control's own rules on the simulated engine: commands given
// while a file is still opening, handlers that act inside a state change,
// the position text, the media items, and the simulated clock itself.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/player.h"
#include "platform/sim_engine.h"
#include "support/fake_media.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"
#include "toolkit/virtual_loop.h"

namespace tarvolin {
namespace {

class PlayerControl : public ::testing::Test {
protected:
    VirtualLoop loop;
    FakeMediaReader media;
    TempDir dir;
    SimEngineFactory factory{loop, &media};
    Player player;
    std::vector<int> states;

    void SetUp() override {
        player.attach(factory.create(PlayerRole::Main), &media);
        player.PlayStateChange = [this](int s) { states.push_back(s); };
    }
    std::string file(const std::string& name, double seconds) {
        std::string path = fixtures::writeBytes(dir.file(name), "not empty");
        media.add(path, seconds, {{"Title", "T " + name}});
        return path;
    }
    SimEngine& engine() { return *static_cast<SimEngine*>(player.engine()); }
};

TEST_F(PlayerControl, CommandsGivenWhileOpeningTakeEffectOnceOpen) {
    factory.rules().loadDelay = 200;
    player.settings.setAutoStart(false);

    // play: the file opens and plays.
    player.setURL(file("a.mp3", 10));
    player.controls.play();
    loop.advance(199);
    EXPECT_EQ(player.playState(), playstate::Transitioning);  // still opening
    loop.advance(1);
    EXPECT_EQ(player.playState(), playstate::Playing);
    EXPECT_FALSE(engine().paused());

    // pause: the file opens paused and says so.
    states.clear();
    player.settings.setAutoStart(true);
    player.setURL(file("b.mp3", 10));
    player.controls.pause();
    loop.advance(200);
    EXPECT_EQ(states, std::vector<int>({9, 2}));
    EXPECT_TRUE(engine().paused());

    // stop: the file opens at its start, stopped, and a start point set
    // before the stop is forgotten.
    states.clear();
    player.setURL(file("c.mp3", 10));
    player.controls.setCurrentPosition(4);
    player.controls.stop();
    loop.advance(200);
    EXPECT_EQ(states, std::vector<int>({9, 1}));
    EXPECT_EQ(player.controls.currentPosition(), 0);
    loop.advance(1000);
    EXPECT_EQ(player.controls.currentPosition(), 0);
}

TEST_F(PlayerControl, AHandlerMayStartTheNextFileAtTheEnd) {
    std::string a = file("a.mp3", 1), b = file("b.mp3", 1);
    player.PlayStateChange = [&](int s) {
        states.push_back(s);
        if (s == playstate::MediaEnded && player.URL() == a) player.setURL(b);
    };
    player.setURL(a);
    loop.advance(1000);
    // No 1 after the 8: the next file was already on its way.
    EXPECT_EQ(states, std::vector<int>({9, 3, 8, 9, 3}));
    EXPECT_EQ(player.URL(), b);
    loop.advance(1000);
    EXPECT_EQ(states, std::vector<int>({9, 3, 8, 9, 3, 8, 1}));
}

TEST_F(PlayerControl, TheSimulatedClockEndsTheFileAtItsDuration) {
    player.setURL(file("a.mp3", 2.5));
    loop.advance(0);
    ASSERT_EQ(player.playState(), playstate::Playing);
    loop.advance(1000);
    EXPECT_DOUBLE_EQ(player.controls.currentPosition(), 1.0);
    player.controls.pause();
    loop.advance(5000);  // paused time does not count
    EXPECT_DOUBLE_EQ(player.controls.currentPosition(), 1.0);
    player.controls.play();
    loop.advance(1499);
    EXPECT_EQ(player.playState(), playstate::Playing);
    loop.advance(1);
    EXPECT_EQ(player.playState(), playstate::Stopped);
    EXPECT_EQ(states, std::vector<int>({9, 3, 2, 3, 8, 1}));

    // A seek to the end of a playing file ends it at once.
    states.clear();
    player.controls.play();
    loop.advance(0);
    player.controls.setCurrentPosition(99);
    loop.advance(0);
    EXPECT_EQ(states, std::vector<int>({9, 3, 8, 1}));
}

TEST_F(PlayerControl, PositionTextTurnsToHoursFromAnHourOn) {
    player.settings.setAutoStart(false);
    player.setURL(file("long.mp3", 7200));
    EXPECT_EQ(player.controls.currentPositionString(), "00:00");
    loop.advance(0);
    player.controls.setCurrentPosition(3599.9);
    EXPECT_EQ(player.controls.currentPositionString(), "59:59");
    player.controls.setCurrentPosition(3725);
    EXPECT_EQ(player.controls.currentPositionString(), "1:02:05");
    player.controls.setCurrentPosition(65);
    EXPECT_EQ(player.controls.currentPositionString(), "01:05");
}

TEST_F(PlayerControl, MediaItemsComeFromTheReader) {
    std::string a = file("a.mp3", 10);
    EXPECT_EQ(player.currentMedia.getItemInfo("Title"), "");  // nothing loaded
    player.setURL(a);
    EXPECT_EQ(player.currentMedia.getItemInfo("Title"), "T a.mp3");
    EXPECT_EQ(player.currentMedia.sourceURL(), a);
    EXPECT_EQ(player.newMedia(a)->duration(), 10);

    // Without a reader every item is empty but usable.
    Player bare;
    auto item = bare.newMedia("/nowhere/x.mp3");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->getItemInfo("Title"), "");
    EXPECT_EQ(item->duration(), 0);
    EXPECT_FALSE(item->setItemInfo("Title", "x"));
    EXPECT_EQ(item->sourceURL(), "/nowhere/x.mp3");
}

TEST_F(PlayerControl, ThePlayerWithoutAnEngineReportsStoppedOnLoads) {
    Player bare;
    std::vector<int> seen;
    bare.PlayStateChange = [&](int s) { seen.push_back(s); };
    bare.setURL(file("a.mp3", 10));
    bare.controls.play();
    bare.controls.setCurrentPosition(5);
    EXPECT_EQ(seen, std::vector<int>({1}));
    EXPECT_EQ(bare.controls.currentPosition(), 5);  // kept as the start point
    EXPECT_EQ(bare.currentMedia.duration(), 0);
}

TEST_F(PlayerControl, TheControlBarSwitchesDoNotStopTheProgramsCalls) {
    std::vector<Property> changes;
    player.changed.listen([&](Property what) { changes.push_back(what); });
    player.setEnabled(false);
    player.setUiMode("none");
    EXPECT_FALSE(player.enabled());
    EXPECT_EQ(player.uiMode(), "none");
    EXPECT_EQ(changes, std::vector<Property>({Property::Enabled, Property::UiMode}));

    player.setURL(file("a.mp3", 1));
    loop.advance(0);
    EXPECT_EQ(player.playState(), playstate::Playing);
}

TEST_F(PlayerControl, EngineRulesOfTheFactoryReachEveryEngine) {
    auto early = factory.create(PlayerRole::Compact);
    std::string a = file("a.mp3", 10);
    factory.rules().decodeErrors[a] = "protected file";

    Player other;
    std::string error;
    other.MediaError = [&](std::string e) { error = std::move(e); };
    other.attach(std::move(early), &media);
    other.setURL(a);
    loop.advance(0);
    EXPECT_EQ(other.playState(), playstate::Stopped);
    EXPECT_EQ(error, "protected file");

    // A duration set for a path plays it without a file on disk.
    factory.rules().durations["/virtual/x.mp3"] = 3;
    other.setURL("/virtual/x.mp3");
    loop.advance(0);
    EXPECT_EQ(other.playState(), playstate::Playing);
    EXPECT_EQ(other.currentMedia.duration(), 3);
}

}  // namespace
}  // namespace tarvolin
