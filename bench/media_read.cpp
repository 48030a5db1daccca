// Reading the attributes of many tagged MP3 files: the media layer against a
// bare TagLib loop over the same files. Each run of the media layer uses a
// fresh reader, so every file is opened and read.
#include <benchmark/benchmark.h>
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/tags/tag_media.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"

namespace {

using namespace tarvolin;

constexpr int kFiles = 2000;

struct Library {
    TempDir dir;
    std::vector<std::string> paths;

    Library() {
        fixtures::Mp3Options opts;
        opts.seconds = 2.0;
        for (int i = 0; i < kFiles; ++i) {
            fixtures::Id3Tag tag;
            tag.title = "Τραγούδι " + std::to_string(i);
            tag.artist = "Artist " + std::to_string(i % 97);
            tag.album = "Album " + std::to_string(i % 31);
            tag.genre = "Rock";
            tag.year = std::to_string(1960 + i % 60);
            tag.comment = "comment";
            tag.popm.push_back({"Windows Media Player 9 Series", static_cast<uint8_t>((i * 37) % 256), 3});
            tag.padding = 1024;
            opts.id3 = tag;
            paths.push_back(fixtures::writeMp3(dir.file("track" + std::to_string(i) + ".mp3"), opts));
        }
    }
};

Library& library() {
    static Library lib;
    return lib;
}

void BM_MediaLayerRead(benchmark::State& state) {
    const auto& paths = library().paths;
    for (auto _ : state) {
        TagMediaReader reader;
        for (const std::string& p : paths) {
            auto item = reader.newMedia(p);
            for (const char* name : {"Title", "Artist", "Album", "Genre", "WM/Year", "Bitrate", "Filesize", "UserRating"})
                benchmark::DoNotOptimize(item->getItemInfo(name));
            benchmark::DoNotOptimize(item->duration());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(paths.size()));
    state.counters["files_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations() * paths.size()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MediaLayerRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BareTagLibRead(benchmark::State& state) {
    const auto& paths = library().paths;
    for (auto _ : state) {
        for (const std::string& p : paths) {
            TagLib::FileRef f(p.c_str());
            if (TagLib::Tag* t = f.tag()) {
                benchmark::DoNotOptimize(t->title().to8Bit(true));
                benchmark::DoNotOptimize(t->artist().to8Bit(true));
                benchmark::DoNotOptimize(t->album().to8Bit(true));
                benchmark::DoNotOptimize(t->genre().to8Bit(true));
                benchmark::DoNotOptimize(t->year());
            }
            if (TagLib::AudioProperties* a = f.audioProperties()) {
                benchmark::DoNotOptimize(a->bitrate());
                benchmark::DoNotOptimize(a->lengthInMilliseconds());
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(paths.size()));
    state.counters["files_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations() * paths.size()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BareTagLibRead)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
