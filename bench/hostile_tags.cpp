// Tag writes into files whose headers announce more than they hold: a title
// for an M4A whose chunk-offset table announces four billion entries, a
// rating for a WMA whose attribute lists announce 65,535 attributes each.
// Both are refused; what is timed is how soon, beside the same writes into
// the whole files they were made from.
#include <benchmark/benchmark.h>

#include <functional>
#include <string>

#include "platform/tags/tag_media.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"

namespace {

using namespace tarvolin;

// Writes the attribute into the file `make` makes, one of two values by turns.
void write(benchmark::State& state, const std::function<std::string(const std::string&)>& make, const char* name,
           const char* attribute, const char* one, const char* other, bool whole) {
    TempDir dir;
    const std::string path = make(dir.file(name));
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        if (TagMediaItem(path).setItemInfo(attribute, flip ? one : other) != whole)
            state.SkipWithError(whole ? "the write failed" : "the write went through");
    }
}

const auto whole = [](const std::string& path) { return fixtures::writeDamaged(path, nullptr); };

void BM_TitleIntoM4a(benchmark::State& s) { write(s, whole, "whole.m4a", "Title", "A title", "Another", true); }
void BM_TitleIntoM4aOfEndlessOffsets(benchmark::State& s) {
    write(s, fixtures::writeM4aOfEndlessOffsets, "endless.m4a", "Title", "A title", "Another", false);
}
void BM_RatingIntoWma(benchmark::State& s) { write(s, whole, "whole.wma", "UserRating", "99", "25", true); }
void BM_RatingIntoWmaOfEndlessAttributes(benchmark::State& s) {
    write(s, fixtures::writeWmaOfEndlessAttributes, "endless.wma", "UserRating", "99", "25", false);
}
BENCHMARK(BM_TitleIntoM4a)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TitleIntoM4aOfEndlessOffsets)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RatingIntoWma)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RatingIntoWmaOfEndlessAttributes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
