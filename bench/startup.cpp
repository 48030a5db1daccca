// Start-up of the real program with a full collection of 32766 tracks: the
// time from launch until its main window is on the screen, and its memory
// once started (resident set, and its peak). Runs the built program on the
// X display in DISPLAY (tools/bench.sh starts a virtual one when there is
// none) and finds its window with xdotool.
#include <benchmark/benchmark.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/big_collection.h"
#include "support/program_harness.h"

extern char** environ;

namespace {

using namespace tarvolin;
using Clock = std::chrono::steady_clock;

#ifdef TARVOLIN_EXE
constexpr const char* kExecutable = TARVOLIN_EXE;
#else
constexpr const char* kExecutable = "";
#endif

// A program folder holding a full collection, named by its default file,
// with a copy of the program beside it (the program keeps its data in its
// own folder when it may write there).
struct Setup {
    ProgramHarness h;
    std::string exe;
    Setup() {
        makeBigCollection(*h, kMaxTracks);
        h->collection.Save_Last_Collection();
        exe = h->AppFolder() + "tarvolin";
        std::filesystem::copy_file(kExecutable, exe, std::filesystem::copy_options::overwrite_existing);
        std::filesystem::create_directories(h->AppFolder() + "home");
    }
};

bool mainWindowShown() {
    // The main window's caption begins with the program's name; the splash
    // window's does not.
    return std::system("xdotool search --onlyvisible --name '^(Tarvolin|TARVOLIN)' >/dev/null 2>&1") == 0;
}

// VmRSS or VmHWM of a process, in megabytes.
double memoryMb(pid_t pid, const std::string& field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1)) / 1024.0;
    }
    return 0;
}

void BM_StartUpToMainWindow(benchmark::State& state) {
    if (*kExecutable == '\0') {
        state.SkipWithError("the program is not built (configure with TARVOLIN_GUI=ON)");
        return;
    }
    if (std::getenv("DISPLAY") == nullptr || std::system("command -v xdotool >/dev/null") != 0) {
        state.SkipWithError("needs an X display and xdotool");
        return;
    }
    static Setup setup;
    const std::string home = setup.h->AppFolder() + "home";
    // The environment of the benchmark (display, X authority), with a home
    // of its own so that nothing of the user's is read or written.
    std::vector<std::string> env = {"HOME=" + home, "XDG_CONFIG_HOME=" + home + "/config",
                                    "XDG_DATA_HOME=" + home + "/data", "QT_QPA_PLATFORM=xcb"};
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        if (name != "HOME" && name != "XDG_CONFIG_HOME" && name != "XDG_DATA_HOME" && name != "QT_QPA_PLATFORM")
            env.push_back(entry);
    }
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string exe = setup.exe;
    char* argv[] = {exe.data(), nullptr};

    double rss = 0, peak = 0;
    for (auto _ : state) {
        if (mainWindowShown()) {
            state.SkipWithError("a window of that name is already on the display");
            return;
        }
        pid_t pid = 0;
        const auto start = Clock::now();
        if (posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv, envp.data()) != 0) {
            state.SkipWithError("the program did not start");
            return;
        }
        bool shown = false;
        while (Clock::now() - start < std::chrono::seconds(60)) {
            if (mainWindowShown()) {
                shown = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        // Memory once the start-up has settled.
        std::this_thread::sleep_for(std::chrono::seconds(2));
        rss = memoryMb(pid, "VmRSS");
        peak = memoryMb(pid, "VmHWM");
        ::kill(pid, SIGTERM);
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (!shown) {
            state.SkipWithError("the main window did not appear within a minute");
            return;
        }
    }
    state.counters["rss_MB"] = rss;
    state.counters["peak_MB"] = peak;
}
BENCHMARK(BM_StartUpToMainWindow)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
