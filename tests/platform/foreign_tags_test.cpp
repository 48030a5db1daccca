// Files that other programs wrote: what they hold is read, and a write
// either reads back as made or is refused with the file as it was.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/tags/tag_media.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"

namespace tarvolin {
namespace {

using namespace fixtures;

// Puts a chunk of three bytes and the pad byte `pad` before the data chunk
// of a WAV file, with an ID3 tag or none.
std::string wavWithOddChunk(const std::string& path, char pad, bool tagged) {
    WavOptions opts;
    if (tagged) opts.id3.emplace().title = "Old";
    std::string bytes = readBytes(writeWav(path, opts));
    bytes.insert(bytes.find("data"), std::string("odd ") + uint32Bytes(3, false) + "xyz" + pad);
    bytes.replace(4, 4, uint32Bytes(static_cast<std::uint32_t>(bytes.size() - 8), false));
    return writeBytes(path, bytes);
}

TEST(ForeignFile, AWavOfAnOddSizedChunkIsWrittenAsItIsRead) {
    const struct {
        char pad;
        bool tagged;
    } cases[] = {{'Q', false}, {'Q', true}, {'\0', false}, {'\0', true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("pad ") + std::to_string(c.pad) + (c.tagged ? ", tagged" : ""));
        TempDir dir;
        const std::string path = wavWithOddChunk(dir.file("odd.wav"), c.pad, c.tagged);
        ASSERT_GT(TagMediaItem(path).duration(), 0.9);
        ASSERT_TRUE(TagMediaItem(path).setItemInfo("UserRating", "99"));
        const std::size_t size = readBytes(path).size();
        ASSERT_TRUE(TagMediaItem(path).setItemInfo("UserRating", "25"));
        ASSERT_TRUE(TagMediaItem(path).setItemInfo("Title", "New"));
        TagMediaItem back(path);
        EXPECT_EQ(back.getItemInfo("UserRating"), "25");
        EXPECT_EQ(back.getItemInfo("Title"), "New");
        EXPECT_GT(back.duration(), 0.9) << "the audio is lost";
        EXPECT_EQ(readBytes(path).size(), size) << "a later write grew the file";
    }
}

TEST(ForeignFile, AnId3v1GenreIsTheNumberGivenOrTheNumberOfTheNameGiven) {
    const std::pair<const char*, unsigned char> cases[] = {{"17", 17}, {"0", 0}, {"147", 147}, {"Rock", 17}};
    for (const auto& [genre, byte] : cases) {
        SCOPED_TRACE(genre);
        TempDir dir;
        Mp3Options opts;
        opts.id3v1.emplace().title = "Old";
        const std::string path = writeMp3(dir.file("v1.mp3"), opts);
        ASSERT_TRUE(TagMediaItem(path).setItemInfo("Genre", genre));
        const std::string bytes = readBytes(path);
        EXPECT_EQ(static_cast<unsigned char>(bytes.back()), byte);
    }
}

TEST(ForeignFile, TheCommentsOfOggStreamsAreRead) {
    const std::pair<const char*, const char*> cases[] = {
        {"ogg", "libvorbis"}, {"opus", "libopus"}, {"spx", "libspeex"}};
    for (const auto& [ext, codec] : cases) {
        SCOPED_TRACE(ext);
        TempDir dir;
        const std::string path = dir.file(std::string("song.") + ext);
        std::vector<std::string> args = ffmpegSineInput(0.5, ext == std::string("ogg") ? 44100 : 16000);
        args.insert(args.end(), {"-c:a", codec, "-metadata", "title=Τίτλος", "-metadata", "artist=Someone",
                                 "-metadata", "album=Album", "-metadata", "genre=Jazz", "-metadata", "date=1999"});
        ASSERT_TRUE(makeWithFfmpeg(path, args));
        TagMediaItem item(path);
        EXPECT_EQ(item.getItemInfo("Title"), "Τίτλος");
        EXPECT_EQ(item.getItemInfo("Artist"), "Someone");
        EXPECT_EQ(item.getItemInfo("Album"), "Album");
        EXPECT_EQ(item.getItemInfo("Genre"), "Jazz");
        EXPECT_EQ(item.getItemInfo("WM/Year"), "1999");
    }
}

// An MP4 atom of that name around data.
std::string atom(const std::string& name, const std::string& data) {
    return uint32Bytes(static_cast<std::uint32_t>(data.size() + 8), true) + name + data;
}

TEST(ForeignFile, AnMp4FreeFormItemNamedWithAColonIsNeverLost) {
    TempDir dir;
    const std::string path = dir.file("song.m4a");
    std::vector<std::string> args = ffmpegSineInput(0.5);
    args.insert(args.end(), {"-metadata", "title=Old"});
    ASSERT_TRUE(makeWithFfmpeg(path, args));
    // The item goes at the end of the item list, whose atoms and those that
    // hold it grow by its size; the audio lies before them.
    std::string bytes = readBytes(path);
    const std::string item =
        atom("----", atom("mean", std::string(4, '\0') + "com.apple.iTunes") + atom("name", std::string(4, '\0') + "a:b") +
                         atom("data", uint32Bytes(1, true) + std::string(4, '\0') + "kept"));
    const std::size_t list = bytes.find("ilst") - 4;
    ASSERT_LT(bytes.find("mdat"), list);
    const std::size_t end = list + uint32At(bytes, list, true);
    for (const char* holder : {"moov", "udta", "meta", "ilst"}) {
        const std::size_t at = bytes.find(holder) - 4;
        ASSERT_LT(at, list + 1) << holder;
        bytes.replace(at, 4, uint32Bytes(uint32At(bytes, at, true) + static_cast<std::uint32_t>(item.size()), true));
    }
    bytes.insert(end, item);
    writeBytes(path, bytes);
    ASSERT_EQ(TagMediaItem(path).getItemInfo("Title"), "Old");

    // Kept by the write, or the write refused and the file as it was.
    const bool written = TagMediaItem(path).setItemInfo("Title", "A much longer title than before");
    const std::string after = readBytes(path);
    EXPECT_NE(after.find("a:b"), std::string::npos) << (written ? "the write dropped the item" : "");
    EXPECT_TRUE(written || after == bytes);
    EXPECT_EQ(TagMediaItem(path).getItemInfo("Title"), written ? "A much longer title than before" : "Old");
}

}  // namespace
}  // namespace tarvolin
