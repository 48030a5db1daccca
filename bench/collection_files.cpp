// Loading and saving a full collection of 32766 tracks (a 590 MB track part
// file), and the save after one rating change, beside the time `cat` takes
// to read the same three files and `cp` takes to copy them (and to copy them
// and send the copies to the disk, which a save that survives a power cut
// must do too).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "support/big_collection.h"
#include "support/program_harness.h"

namespace {

using namespace tarvolin;

constexpr int kTracks = kMaxTracks;

struct Bench {
    ProgramHarness h;
    std::string collection, tracks, filters;

    Bench() {
        collection = makeBigCollection(*h, kTracks);
        tracks = CollectionStore::trackPartFileOf(collection);
        filters = CollectionStore::filterPartFileOf(collection);
    }
};

Bench& bench() {
    static Bench b;
    return b;
}

void BM_LoadCollection(benchmark::State& state) {
    Bench& b = bench();
    CollectionStore& store = b.h->collection;
    for (auto _ : state) {
        state.PauseTiming();
        store.Reset_Collection(0);
        store.d.CollectionPath = b.collection;
        state.ResumeTiming();
        store.Load_Collection();
        if (store.d.TrackCount != kTracks) state.SkipWithError("not every track was loaded");
    }
}
BENCHMARK(BM_LoadCollection)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_CatTheThreeFiles(benchmark::State& state) {
    Bench& b = bench();
    const std::string command = "cat '" + b.collection + "' '" + b.tracks + "' '" + b.filters + "' > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("cat failed");
    }
}
BENCHMARK(BM_CatTheThreeFiles)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_FullSave(benchmark::State& state) {
    Bench& b = bench();
    CollectionStore& store = b.h->collection;
    for (auto _ : state) {
        // The backup copies every fifth save are left out.
        state.PauseTiming();
        store.SaveCounter = 0;
        state.ResumeTiming();
        store.Save_Collection(false, true);
        if (!store.d.CollectionSaved) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_FullSave)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// Copies the three files into an empty folder, and with sync sends the
// copies to the disk, as a save must before its new files take the old
// ones' places.
void copyTheThreeFiles(benchmark::State& state, bool sync) {
    Bench& b = bench();
    const std::string target = b.h->AppFolder() + "copies/";
    std::string command = "cp '" + b.collection + "' '" + b.tracks + "' '" + b.filters + "' '" + target + "'";
    if (sync) {
        command += " && sync '" + target + "'";
        for (const std::string* file : {&b.collection, &b.tracks, &b.filters})
            command += " '" + target + std::filesystem::path(*file).filename().string() + "'";
    }
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(target);
        std::filesystem::create_directories(target);
        state.ResumeTiming();
        if (std::system(command.c_str()) != 0) state.SkipWithError("cp failed");
    }
    std::filesystem::remove_all(target);
}

void BM_CpTheThreeFiles(benchmark::State& state) { copyTheThreeFiles(state, false); }
BENCHMARK(BM_CpTheThreeFiles)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_CpAndSyncTheThreeFiles(benchmark::State& state) { copyTheThreeFiles(state, true); }
BENCHMARK(BM_CpAndSyncTheThreeFiles)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_SaveAfterOneRatingChange(benchmark::State& state) {
    Bench& b = bench();
    CollectionStore& store = b.h->collection;
    CollectionData& d = store.d;
    Form1& f = b.h->Form1;
    int track = 1000;
    for (auto _ : state) {
        state.PauseTiming();
        const auto e = static_cast<std::size_t>(track);
        d.TrackClass[e] = static_cast<std::int16_t>((d.TrackClass[e] + 1) % 6);
        d.TrackSaved[e] = false;
        f.List3_0[1].setList(track, "S");
        track = (track + 7919) % kTracks;
        // Every fifth save also refreshes the backup copies (a copy of the
        // whole collection); that is measured by the full save and cp.
        store.SaveCounter = 0;
        state.ResumeTiming();
        store.Save_Collection(false, false);
        if (!d.CollectionSaved) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveAfterOneRatingChange)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

// A save after 2,500 tracks changed (45 MB of records, more than a save
// rewrites in place): the track part file is written anew.
void BM_SaveAfterManyChanges(benchmark::State& state) {
    Bench& b = bench();
    CollectionStore& store = b.h->collection;
    CollectionData& d = store.d;
    int first = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int k = 0; k < 2500; ++k) {
            const auto e = static_cast<std::size_t>((first + 13 * k) % kTracks);
            d.PlayOrder[e] += 1;
            d.TrackSaved[e] = false;
        }
        first += 1;
        store.SaveCounter = 0;
        state.ResumeTiming();
        store.Save_Collection(false, false);
        if (!d.CollectionSaved) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveAfterManyChanges)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
