// What the program's window costs while songs play: the CPU time a minute
// of the real program playing a collection of WAV songs on its own, with its
// main window shown and with it unmapped (as a minimise does), and of the
// mpv command line playing the same files. All play to the null audio
// output (the program falls back to it without a sound device).
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "playback/playback_fixture.h"
#include "real_program.h"
#include "support/media_fixtures.h"
#include "support/program_harness.h"

namespace {

using namespace tarvolin;
using namespace tarvolin::bench;

constexpr int kSongs = 8;
constexpr double kSongSeconds = 30;
constexpr auto kSettle = std::chrono::seconds(4);
constexpr auto kMeasured = std::chrono::seconds(30);

// A program folder whose collection of WAV songs plays at start, the pause
// between files off.
struct Songs {
    ProgramHarness h;
    std::string exe;
    std::vector<std::string> paths;
    Songs() {
        const std::string music = h.folder.makeDir("music");
        for (int i = 0; i < kSongs; ++i) {
            fixtures::WavOptions wav;
            wav.pcm.seconds = kSongSeconds;
            wav.pcm.sineHz = 330 + 55 * i;
            paths.push_back(fixtures::writeWav(music + "song" + std::to_string(i) + ".wav", wav));
        }
        h->playback.Form_Load();
        putTracks(*h, paths, std::vector<double>(paths.size(), kSongSeconds));
        h->Form1.MnuMorePauseActive.setChecked(false);
        h->state.PlayAtStart = true;
        int cancel = 0;
        h->playback.Form_QueryUnload(cancel, 0);
        exe = copyProgram(h->AppFolder());
    }
};

Songs& songs() {
    static Songs s;
    return s;
}

// CPU seconds a minute of `program` over the measured stretch.
double cpuPerMinute(const Process& program) {
    const double before = cpuSeconds(program.pid());
    std::this_thread::sleep_for(kMeasured);
    const double used = cpuSeconds(program.pid()) - before;
    return used * 60.0 / std::chrono::duration<double>(kMeasured).count();
}

void playing(benchmark::State& state, bool unmapped) {
    if (const std::string why = cannotRun(); !why.empty()) {
        state.SkipWithError(why.c_str());
        return;
    }
    Songs& s = songs();
    double perMinute = 0;
    for (auto _ : state) {
        Process program({s.exe}, s.h->AppFolder() + "home");
        if (program.pid() <= 0 || !program.waitForMainWindow()) {
            state.SkipWithError("the main window did not appear");
            return;
        }
        if (unmapped) unmapMainWindow();
        std::this_thread::sleep_for(kSettle);
        perMinute = cpuPerMinute(program);
    }
    state.counters["cpu_s_per_min"] = perMinute;
}

void BM_PlayingSongsWindowShown(benchmark::State& state) { playing(state, false); }
void BM_PlayingSongsWindowUnmapped(benchmark::State& state) { playing(state, true); }

void BM_PlayingSongsMpvCommandLine(benchmark::State& state) {
    if (std::system("command -v mpv >/dev/null") != 0) {
        state.SkipWithError("needs the mpv command line");
        return;
    }
    Songs& s = songs();
    double perMinute = 0;
    for (auto _ : state) {
        std::vector<std::string> argv = {"mpv", "--no-config", "--ao=null", "--really-quiet", "--loop-playlist=inf"};
        argv.insert(argv.end(), s.paths.begin(), s.paths.end());
        Process mpv(argv, s.h->AppFolder() + "home");
        std::this_thread::sleep_for(kSettle);
        perMinute = cpuPerMinute(mpv);
    }
    state.counters["cpu_s_per_min"] = perMinute;
}

BENCHMARK(BM_PlayingSongsWindowShown)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_PlayingSongsWindowUnmapped)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_PlayingSongsMpvCommandLine)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
