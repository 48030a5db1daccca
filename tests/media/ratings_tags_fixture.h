#pragma once
// A Program whose hidden player reads and writes real files through the
// TagLib media layer, with helpers to make tagged files and tracks of them;
// or, with useFakeMedia(), the fake media layer for values no real file can
// hold.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/program.h"
#include "collection/store_files.h"
#include "platform/tags/tag_media.h"
#include "support/media_fixtures.h"
#include "support/program_harness.h"
#include "support/temp_dir.h"

namespace tarvolin {

class RatingsTagsTest : public ::testing::Test {
protected:
    TagMediaReader reader;
    ProgramHarness h{false};
    TempDir disk;

    void SetUp() override { useRealMedia(); }

    void useRealMedia() {
        Services s = h.services();
        h.build(Services{s.loop, s.dialogs, s.engines, reader, s.desktop, s.tray, {}, {}, ""});
        h->playback.Init_Defaults();
    }
    void useFakeMedia() {
        h.build();
        h->playback.Init_Defaults();
    }

    Form1& f1() { return h->Form1; }
    ModuleState& state() { return h->state; }
    CollectionData& d() { return h->collection.d; }
    MediaFiles& media() { return h->media; }
    const std::string& log() { return f1().Text2[0].Text(); }

    // An MP3 under the temporary folder with an ID3v2 tag (title "Old" and
    // the frames given); popm < 0 leaves the rating out.
    std::string mp3(const std::string& name, int popm = -1, int version = 3) {
        fixtures::Mp3Options o;
        o.seconds = 0.5;
        fixtures::Id3Tag tag;
        tag.version = version;
        tag.title = "Old";
        tag.artist = "Old artist";
        tag.genre = "Jazz";
        tag.year = "1990";
        if (popm >= 0) tag.popm.push_back({"Windows Media Player 9 Series", static_cast<uint8_t>(popm), 7});
        o.id3 = tag;
        return fixtures::writeMp3(disk.file(name), o);
    }

    // Appends a track of path with the class given (its table entry and its
    // letter in the class column); gives its row.
    int track(const std::string& path, int cls = 0) {
        EXPECT_TRUE(media().appendTrack(path));
        const int i = f1().List2.ListCount() - 1;
        d().TrackClass[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(cls);
        f1().List3_0[1].setList(i, storefiles::classLetter(cls));
        d().TrackSaved[static_cast<std::size_t>(i)] = true;
        return i;
    }

    // An attribute as a fresh read of the file gives it.
    static std::string onDisk(const std::string& path, const std::string& name) {
        TagMediaItem item(path);
        return item.getItemInfo(name);
    }

    // Raises Esc in the main window at the yield numbered `at`.
    void escAtYield(int at) {
        auto yields = std::make_shared<int>(0);
        h.loop.onYield = [this, yields, at] {
            if (++*yields == at) {
                int esc = 27;
                f1().KeyDown.raise(esc, 0);
            }
        };
    }
};

}  // namespace tarvolin
