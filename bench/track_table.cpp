// The filter boxes and the track tables of a full collection (32766 tracks,
// Latin and Greek tags): building the eight value lists and the full table,
// and applying a filter to the stored rows. Target: under 1 s each.
#include <benchmark/benchmark.h>

#include <string>

#include "collection/store_files.h"
#include "support/program_harness.h"

namespace {

constexpr std::int32_t kTracks = 32766;

const char* const kClassNames[] = {
    "Ασημείωτα - Unmarked", "Κλάση Χ' - Class X'", "Κλάση Γ' - Class C'",
    "Κλάση Β' - Class B'",  "Κλάση Α' - Class A'", "Κλάση Υ' - Class S'",
};

// A collection as a load leaves it: many distinct titles, fewer albums and
// artists, a handful of genres and years.
void fillCollection(tarvolin::Program& p) {
    using namespace tarvolin;
    Form1& f = p.Form1;
    CollectionData& d = p.collection.d;
    for (const char* name : kClassNames) f.Combo4_0[0].AddItem(name);
    d.TrackCount = kTracks;
    d.resizeTrackTables(kTracks);
    p.collection.Make_Invisible();
    for (std::int32_t i = 0; i < kTracks; ++i) {
        const auto e = static_cast<std::size_t>(i);
        const bool greek = i % 3 == 0;
        const std::string folder = greek ? "/μουσική/καλλιτέχνης " + std::to_string(i % 700) + "/"
                                         : "/home/user/Music/Artist " + std::to_string(i % 700) + "/";
        d.TrackTitle[e] = (greek ? "Τραγούδι της θάλασσας " : "Song of the sea ") + std::to_string(i);
        d.TrackArtist[e] = (greek ? "Καλλιτέχνης " : "Artist ") + std::to_string(i % 700);
        d.TrackAlbum[e] = (greek ? "Άλμπουμ " : "Album ") + std::to_string(i % 2500);
        d.TrackGenre[e] = greek ? "Έντεχνο" : (i % 2 ? "Rock" : "Jazz");
        d.TrackYear[e] = std::to_string(1960 + i % 60);
        d.TrackClass[e] = static_cast<std::int16_t>(i % 6);
        d.TrackDuration[e] = Currency::fromInteger(120 + i % 400);
        d.TrackSize[e] = Currency::fromDouble(2.0 + (i % 900) / 100.0);
        d.TrackBitrate[e] = static_cast<std::int16_t>(i % 2 ? 128 : 320);
        const std::string path = folder + d.TrackTitle[e] + ".mp3";
        f.List2.AddItem(path);
        f.List3_0[0].AddItem(storefiles::numberText(i));
        f.List3_0[1].AddItem(storefiles::classLetter(d.TrackClass[e]));
        f.List3_0[2].AddItem(storefiles::durationText(d.TrackDuration[e]));
        f.List3_0[3].AddItem(storefiles::sizeText(d.TrackSize[e]));
        f.List3_0[4].AddItem(storefiles::bitrateText(d.TrackBitrate[e]));
    }
    p.collection.Make_Visible();
}

// Everything the rebuild command does: the eight value lists, the boxes
// reset, and every row of the full table.
void BM_BuildValueListsAndFullTable(benchmark::State& state) {
    tarvolin::ProgramHarness h;
    fillCollection(*h);
    for (auto _ : state) {
        h->library.Refresh_Filters();
    }
    state.counters["lines"] = h->Form1.List5.ListCount();
    state.counters["genres"] = h->Form1.Combo4_0[4].ListCount();
    state.counters["titles"] = h->Form1.Combo4_0[8].ListCount();
}

// The full table alone.
void BM_BuildFullTable(benchmark::State& state) {
    tarvolin::ProgramHarness h;
    fillCollection(*h);
    for (auto _ : state) {
        h->library.Filtered_Songs_List(-1);
    }
    state.counters["lines"] = h->Form1.List5.ListCount();
}

// A filter typed into a box: the matching tracks copied from the stored
// rows. Two boxes at once: a genre and part of a title.
void BM_ApplyFilter(benchmark::State& state) {
    tarvolin::ProgramHarness h;
    fillCollection(*h);
    h->library.Refresh_Filters();
    tarvolin::ComboBox& genre = h->Form1.Combo4_0[4];
    tarvolin::ComboBox& title = h->Form1.Combo4_0[8];
    for (auto _ : state) {
        state.PauseTiming();
        h->state.Busy = true;
        genre.setText("");
        title.setText("");
        h->state.Busy = false;
        state.ResumeTiming();
        genre.userEdited("rock");
        title.userEdited("SEA");
    }
    state.counters["lines"] = h->Form1.List4.ListCount();
}

// A filter that keeps every track: the largest filtered table.
void BM_ApplyFilterKeepingAll(benchmark::State& state) {
    tarvolin::ProgramHarness h;
    fillCollection(*h);
    h->library.Refresh_Filters();
    tarvolin::ComboBox& size = h->Form1.Combo4_0[2];
    for (auto _ : state) {
        state.PauseTiming();
        h->state.Busy = true;
        size.setText("");
        h->state.Busy = false;
        state.ResumeTiming();
        size.userEdited("Mb");
    }
    state.counters["lines"] = h->Form1.List4.ListCount();
}

}  // namespace

BENCHMARK(BM_BuildValueListsAndFullTable)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BuildFullTable)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ApplyFilter)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ApplyFilterKeepingAll)->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
