// The beep's tone, played through the same engine the program plays with.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/mpv/mpv_beep.h"
#include "platform/mpv/mpv_engine.h"
#include "platform/player.h"
#include "support/blocking_test_loop.h"
#include "support/temp_dir.h"

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

// A sound server that takes connections and never answers: libmpv waits a
// minute for it while opening its audio output, and every call on the handle
// waits as long. The start-up beeps for a file it cannot find, and the
// program's thread was held there (no window), and again at the exit.
TEST(Beep, NeitherTheBeepNorTheExitWaitsForASoundServerThatDoesNotAnswer) {
    if (const char* child = std::getenv("TARVOLIN_SILENT_SERVER_CHILD"); child && *child) {
        std::atomic<bool> returned{false};
        std::thread([&returned] {
            beep(600, 100);
            beep(650, 100);
            beep(600, 100);
            returned = true;
        }).detach();
        for (int i = 0; i < 100 && !returned; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!returned) {
            std::puts("the beep waited for the sound server");
            std::fflush(stdout);
            std::_Exit(3);
        }
        return;
    }
    TempDir dir;
    const std::string socketPath = dir.file("pulse");
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(server, 16), 0);
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(n, 0);
    self[n] = '\0';
    // The run and its exit within half a minute (the server holds a waiting
    // libmpv for a minute). The exit leaves libmpv's handle to the end of the
    // process, which the leak checker would report.
    const std::string command = "cd / && TARVOLIN_SILENT_SERVER_CHILD=1 ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\" "
                                "PULSE_SERVER=unix:" + socketPath +
                                " timeout 30 '" + self + "' --gtest_filter=" +
                                "Beep.NeitherTheBeepNorTheExitWaitsForASoundServerThatDoesNotAnswer > '" +
                                dir.file("log") + "' 2>&1";
    const int rc = std::system(command.c_str());
    ::close(server);
    std::ifstream log(dir.file("log"));
    const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    EXPECT_EQ(rc, 0) << (WIFEXITED(rc) && WEXITSTATUS(rc) == 124 ? "the exit waited for the sound server\n" : "")
                     << text.substr(text.find("[ RUN"));
}

}  // namespace
}  // namespace tarvolin
