// The beep's tone, played through the same engine the program plays with.
#include <gtest/gtest.h>

#include <vector>

#include "platform/mpv/mpv_beep.h"
#include "platform/mpv/mpv_engine.h"
#include "platform/player.h"
#include "support/blocking_test_loop.h"

namespace tarvolin {
namespace {

TEST(Beep, TheToneIsAFileTheEnginePlaysToItsEnd) {
    EXPECT_EQ(toneUrl(600, 100), "av://lavfi:sine=frequency=600:duration=0.100");
    EXPECT_EQ(toneUrl(650, 1500), "av://lavfi:sine=frequency=650:duration=1.500");

    BlockingTestLoop loop;
    MpvEngineOptions options;
    options.audioOutput = "null";
    Player player;
    player.attach(std::make_unique<MpvEngine>(loop, options));
    std::vector<int> states;
    player.PlayStateChange = [&](int s) { states.push_back(s); };
    player.setURL(toneUrl(600, 200));
    ASSERT_TRUE(loop.runUntil([&] { return states.size() >= 4; }, 10000)) << player.errorText();
    EXPECT_EQ(states, std::vector<int>({9, 3, 8, 1}));
}

TEST(Beep, ReturnsAtOnceAndTakesTonesInTurn) {
    EXPECT_TRUE(beep(600, 100));
    EXPECT_TRUE(beep(650, 100));
    EXPECT_FALSE(beep(0, 100));
}

}  // namespace
}  // namespace tarvolin
