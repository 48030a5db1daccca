// One rating click on a large MP3: the media layer against a bare TagLib
// save in place followed by fdatasync. The tags have room for the new
// rating, as they do after the first write, so both rewrite the tag where
// the file lies and send it to the disk; the media layer also reads the file
// before and after, as a click does.
#include <benchmark/benchmark.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/popularimeterframe.h>

#include <map>
#include <memory>
#include <string>

#include "platform/tags/tag_media.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"
#include "toolkit/durable_file.h"

namespace {

using namespace tarvolin;

// A tagged MP3 of about `megabytes` MB at 320 kbps, one per size and use.
const std::string& trackOf(int megabytes, const std::string& use) {
    static TempDir dir;
    static std::map<std::string, std::string> made;
    const std::string name = use + std::to_string(megabytes) + ".mp3";
    auto it = made.find(name);
    if (it != made.end()) return it->second;
    fixtures::Mp3Options opts;
    opts.kbps = 320;
    opts.seconds = megabytes * 1e6 / 40000.0;
    fixtures::Id3Tag tag;
    tag.title = "Τραγούδι";
    tag.artist = "Artist";
    tag.popm.push_back({"Windows Media Player 9 Series", 128, 0});
    tag.padding = 1024;
    opts.id3 = tag;
    // On the disk before any timing: the first sync would otherwise write
    // the whole new file.
    const std::string path = fixtures::writeMp3(dir.file(name), opts);
    durable::syncFile(path);
    return made.emplace(name, path).first->second;
}

void BM_RatingWrite(benchmark::State& state) {
    const std::string& path = trackOf(static_cast<int>(state.range(0)), "layer");
    TagMediaReader reader;
    auto item = reader.newMedia(path);
    bool high = false;
    for (auto _ : state) {
        high = !high;
        if (!item->setItemInfo("UserRating", high ? "99" : "25")) state.SkipWithError("the rating was not written");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(state.range(0)) * 1000000);
}
BENCHMARK(BM_RatingWrite)->Arg(10)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BareTagLibRatingInPlace(benchmark::State& state) {
    const std::string& path = trackOf(static_cast<int>(state.range(0)), "bare");
    bool high = false;
    for (auto _ : state) {
        high = !high;
        {
            TagLib::MPEG::File f(path.c_str());
            TagLib::ID3v2::Tag* tag = f.ID3v2Tag(true);
            auto frames = tag->frameList("POPM");
            auto* popm = frames.isEmpty() ? nullptr : dynamic_cast<TagLib::ID3v2::PopularimeterFrame*>(frames.front());
            if (!popm) {
                state.SkipWithError("no rating frame");
                break;
            }
            popm->setRating(high ? 255 : 64);
            if (!f.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v3))
                state.SkipWithError("the rating was not written");
        }
        if (!durable::syncFile(path)) state.SkipWithError("the file was not sent to the disk");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(state.range(0)) * 1000000);
}
BENCHMARK(BM_BareTagLibRatingInPlace)->Arg(10)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
