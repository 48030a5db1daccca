// Start-up of the real program, with an empty collection and with a full
// one of 32766 tracks: the time from launch until its main window is on the
// screen, the time until its main thread is idle (its CPU time stops
// growing), and its memory once started (resident set, and its peak).
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "real_program.h"
#include "support/big_collection.h"
#include "support/program_harness.h"

namespace {

using namespace tarvolin;
using namespace tarvolin::bench;

// A program folder holding a collection of `tracks` tracks (none: the
// program's first start), with a copy of the program beside it.
struct Setup {
    ProgramHarness h;
    std::string exe;
    explicit Setup(int tracks) {
        if (tracks > 0) {
            makeBigCollection(*h, tracks);
            h->collection.Save_Last_Collection();
        }
        exe = copyProgram(h->AppFolder());
    }
};

// Seconds from `start` until the main thread of `pid` is idle: the first
// moment after which it uses less than a tenth of the CPU for half a second
// (the program's clock ticks every second, so it is never quiet for long).
double secondsUntilIdle(pid_t pid, Clock::time_point start) {
    struct Sample {
        double at, cpu;
    };
    std::vector<Sample> samples;
    const auto seconds = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
    while (seconds() < 60) {
        samples.push_back({seconds(), cpuSeconds(pid, pid)});
        for (const Sample& from : samples) {
            const Sample& to = samples.back();
            if (to.at - from.at >= 0.5 && to.at - from.at < 0.6 && to.cpu - from.cpu < 0.05) return from.at;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return seconds();
}

void startUp(benchmark::State& state, int tracks) {
    if (const std::string why = cannotRun(); !why.empty()) {
        state.SkipWithError(why.c_str());
        return;
    }
    Setup setup(tracks);
    const std::string home = setup.h->AppFolder() + "home";
    double rss = 0, peak = 0, idle = 0, threads = 0;
    for (auto _ : state) {
        if (mainWindowShown()) {
            state.SkipWithError("a window of that name is already on the display");
            return;
        }
        const auto start = Clock::now();
        Process program({setup.exe}, home);
        if (program.pid() <= 0) {
            state.SkipWithError("the program did not start");
            return;
        }
        const bool shown = program.waitForMainWindow();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (!shown) {
            state.SkipWithError("the main window did not appear within a minute");
            return;
        }
        idle = secondsUntilIdle(program.pid(), start);
        // Memory once the start-up has settled.
        std::this_thread::sleep_for(std::chrono::seconds(2));
        rss = statusField(program.pid(), "VmRSS");
        peak = statusField(program.pid(), "VmHWM");
        threads = statusField(program.pid(), "Threads");
    }
    state.counters["idle_s"] = idle;
    state.counters["rss_MB"] = rss;
    state.counters["peak_MB"] = peak;
    state.counters["threads"] = threads;
}

void BM_StartUpEmpty(benchmark::State& state) { startUp(state, 0); }
void BM_StartUpFullCollection(benchmark::State& state) { startUp(state, kMaxTracks); }
BENCHMARK(BM_StartUpEmpty)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_StartUpFullCollection)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
