// Looking up every path of a full collection in a full track list: the
// duplicate test of adding files and loading collections (32766 exact finds in
// 32766 items), the first find building the list's index.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "toolkit/controls.h"

namespace {

constexpr int kItems = 32766;

std::string pathOf(int i) {
    return "/home/user/Μουσική/Καλλιτέχνης " + std::to_string(i % 500) + "/Album " +
           std::to_string(i % 37) + "/" + std::to_string(i) + " - Τραγούδι.mp3";
}

void BM_FindEveryPathExact(benchmark::State& state) {
    std::vector<std::string> probes;
    probes.reserve(kItems);
    for (int i = 0; i < kItems; ++i) probes.push_back(pathOf(kItems - 1 - i));
    for (auto _ : state) {
        state.PauseTiming();
        tarvolin::ListBox list;
        for (int i = 0; i < kItems; ++i) list.AddItem(pathOf(i));
        state.ResumeTiming();
        int found = 0;
        for (const auto& p : probes) found += list.findStringExact(p, -1) >= 0;
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_FindEveryPathExact)->Unit(benchmark::kMillisecond);

// Removing a tenth of the tracks by path, one find and one removal each.
void BM_FindAndRemove(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        tarvolin::ListBox list;
        for (int i = 0; i < kItems; ++i) list.AddItem(pathOf(i));
        state.ResumeTiming();
        for (int i = 0; i < kItems; i += 10) {
            const int k = list.findStringExact(pathOf(i), -1);
            if (k >= 0) list.RemoveItem(k);
        }
        benchmark::DoNotOptimize(list.ListCount());
    }
}
BENCHMARK(BM_FindAndRemove)->Unit(benchmark::kMillisecond);

// Prepending 10,000 log lines and reading the text after each hundred.
void BM_LogBoxPrepend(benchmark::State& state) {
    for (auto _ : state) {
        tarvolin::TextBox log;
        for (int i = 0; i < 10000; ++i) {
            log.prependLine("12:00:00 Προστέθηκε - Added " + std::to_string(i));
            if (i % 100 == 0) benchmark::DoNotOptimize(log.Text().size());
        }
    }
}
BENCHMARK(BM_LogBoxPrepend)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
