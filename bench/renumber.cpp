// Renumbering the play marks of a full collection (32766 tracks).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

#include "collection/play_order.h"
#include "support/program_harness.h"

namespace {

constexpr std::size_t kTracks = 32766;

// Every track played once, in shuffled order, then some tracks removed:
// the marks have gaps.
std::vector<std::int32_t> marksWithGaps() {
    std::vector<std::int32_t> marks(kTracks);
    std::iota(marks.begin(), marks.end(), 1);
    std::mt19937 rng(7);
    std::shuffle(marks.begin(), marks.end(), rng);
    for (std::size_t i = 0; i < kTracks; i += 9) marks[i] = 0;
    return marks;
}

// Marks read from a damaged file: many repeats.
std::vector<std::int32_t> marksWithRepeats() {
    std::vector<std::int32_t> marks(kTracks);
    std::mt19937 rng(11);
    std::uniform_int_distribution<std::int32_t> mark(0, 4000);
    for (auto& m : marks) m = mark(rng);
    return marks;
}

// All tracks holding the same mark: the longest chain of moves.
std::vector<std::int32_t> marksAllEqual() { return std::vector<std::int32_t>(kTracks, 1); }

void run(benchmark::State& state, const std::vector<std::int32_t>& start) {
    std::vector<bool> saved(kTracks + 1, true);
    for (auto _ : state) {
        std::vector<std::int32_t> marks = start;
        marks.push_back(0);  // the top entry that belongs to no track
        benchmark::DoNotOptimize(tarvolin::renumberPlayMarks(marks, saved, kTracks));
        benchmark::DoNotOptimize(marks.data());
    }
}

void BM_RenumberGaps(benchmark::State& state) { run(state, marksWithGaps()); }
void BM_RenumberRepeats(benchmark::State& state) { run(state, marksWithRepeats()); }
void BM_RenumberAllEqual(benchmark::State& state) { run(state, marksAllEqual()); }

// The whole procedure on a program: the list holds every track, the
// message loop is served while it runs, and the current track is found.
void BM_RenumberPlayOrder(benchmark::State& state) {
    tarvolin::ProgramHarness h;
    tarvolin::CollectionStore& store = h->collection;
    const std::vector<std::int32_t> start = marksWithGaps();
    for (std::size_t i = 0; i < kTracks; ++i) h->Form1.List2.AddItem("/music/" + std::to_string(i) + ".mp3");
    store.d.TrackCount = static_cast<std::int32_t>(kTracks);
    store.d.resizeTrackTables(store.d.TrackCount);
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(start.begin(), start.end(), store.d.PlayOrder.begin());
        store.d.PlayedCount = 30000;
        store.d.MaxPlayedCount = 32766;
        state.ResumeTiming();
        store.Renumber_Play_Order();
    }
}

}  // namespace

BENCHMARK(BM_RenumberPlayOrder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenumberGaps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenumberRepeats)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenumberAllEqual)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
