// The media layer on real files: tags, ratings, durations and bit rates read
// and written through TagLib and libavformat.
#include <gtest/gtest.h>
#include <taglib/asffile.h>
#include <taglib/fileref.h>
#include <taglib/mp4file.h>
#include <taglib/tpropertymap.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fcntl.h>
#include <map>

#include "platform/tags/av_probe.h"
#include "platform/tags/tag_media.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"

namespace tarvolin {
namespace {

using namespace fixtures;

const char* const kEmail = "Windows Media Player 9 Series";

// Windows-1253 bytes of a few Greek words.
const std::string kTitle1253 = "\xD4\xDF\xF4\xEB\xEF\xF2";                  // Τίτλος
const std::string kArtist1253 = "\xCA\xE1\xEB\xEB\xE9\xF4\xDD\xF7\xED\xE7\xF2";  // Καλλιτέχνης
const std::string kAlbum1253 = "\xCC\xEF\xF5\xF3\xE9\xEA\xDE";               // Μουσική

struct Id3Frame {
    std::string id;
    std::string body;
};

struct Id3View {
    bool found = false;
    int version = 0;
    std::vector<Id3Frame> frames;
    const Id3Frame* frame(const std::string& id) const {
        for (const auto& f : frames)
            if (f.id == id) return &f;
        return nullptr;
    }
    std::vector<const Id3Frame*> all(const std::string& id) const {
        std::vector<const Id3Frame*> out;
        for (const auto& f : frames)
            if (f.id == id) out.push_back(&f);
        return out;
    }
};

uint32_t syncsafe(const std::string& b, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 7) | (static_cast<unsigned char>(b[at + i]) & 0x7F);
    return v;
}
uint32_t plain32(const std::string& b, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

// The first ID3v2 tag found in a file's bytes, frame by frame.
Id3View id3In(const std::string& bytes) {
    Id3View view;
    size_t at = 0;
    while ((at = bytes.find("ID3", at)) != std::string::npos) {
        if (at + 10 <= bytes.size() && (bytes[at + 3] == 3 || bytes[at + 3] == 4)) break;
        ++at;
    }
    if (at == std::string::npos) return view;
    view.found = true;
    view.version = bytes[at + 3];
    const size_t end = at + 10 + syncsafe(bytes, at + 6);
    size_t p = at + 10;
    while (p + 10 <= end && bytes[p] != '\0') {
        std::string id = bytes.substr(p, 4);
        uint32_t size = view.version == 4 ? syncsafe(bytes, p + 4) : plain32(bytes, p + 4);
        if (p + 10 + size > end) break;
        view.frames.push_back({id, bytes.substr(p + 10, size)});
        p += 10 + size;
    }
    return view;
}

// The rating byte and counter of the POPM frame with the given e-mail.
struct PopmView {
    bool found = false;
    int rating = -1;
    uint32_t counter = 0;
};
PopmView popmOf(const Id3View& v, const std::string& email) {
    PopmView out;
    for (const Id3Frame* f : v.all("POPM")) {
        size_t nul = f->body.find('\0');
        if (nul == std::string::npos || f->body.substr(0, nul) != email) continue;
        out.found = true;
        out.rating = static_cast<unsigned char>(f->body[nul + 1]);
        if (f->body.size() >= nul + 6) out.counter = plain32(f->body, nul + 2);
    }
    return out;
}

struct DiskState {
    std::string bytes;
    int64_t mtime = 0;
};
// Moves the file's modification time into the past, so that any later write
// shows, and gives its state.
DiskState ageAndSnapshot(const std::string& path) {
    struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
    struct stat st;
    stat(path.c_str(), &st);
    return {readBytes(path), static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}
DiskState snapshot(const std::string& path) {
    struct stat st;
    stat(path.c_str(), &st);
    return {readBytes(path), static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

Mp3Options mp3With(std::optional<Id3Tag> id3, std::optional<Id3v1Tag> v1 = std::nullopt) {
    Mp3Options s;
    s.id3 = std::move(id3);
    s.id3v1 = std::move(v1);
    return s;
}
WavOptions wavWith(std::optional<InfoTag> info, std::optional<Id3Tag> id3 = std::nullopt) {
    WavOptions s;
    s.info = std::move(info);
    s.id3 = std::move(id3);
    return s;
}

// A fresh reader, so that nothing comes from a cache.
std::shared_ptr<MediaItem> fresh(const std::string& path) {
    TagMediaReader r;
    return r.newMedia(path);
}

std::vector<std::string> asfArgs() {
    auto a = ffmpegSineInput(2.0);
    a.insert(a.end(), {"-c:a", "wmav2", "-b:a", "64k"});
    return a;
}

// ---------------------------------------------------------------------------
// Writable formats: every tag name and every rating value goes into the file
// and comes back from a fresh read.

struct FormatCase {
    const char* name;
    const char* ext;
    bool id3;  // the rating lives in an ID3v2 POPM frame
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

class WritableFormat : public ::testing::TestWithParam<FormatCase> {
protected:
    std::string make() {
        const std::string path = dir.file(std::string("track.") + GetParam().ext);
        const std::string ext = GetParam().ext;
        Mp3Options mp3;
        mp3.seconds = 2.0;
        WavOptions wav;
        wav.pcm.seconds = 2.0;
        AiffOptions aiff;
        aiff.pcm.seconds = 2.0;
        if (ext == "mp3") writeMp3(path, mp3);
        else if (ext == "wav") writeWav(path, wav);
        else if (ext == "aiff") writeAiff(path, aiff);
        else if (ext == "wma") {
            EXPECT_TRUE(makeWithFfmpeg(path, asfArgs()));
        }
        return path;
    }
    TempDir dir;
};

TEST_P(WritableFormat, EveryTagNameRoundTrips) {
    const std::string path = make();
    auto item = fresh(path);
    const std::map<std::string, std::string> values = {
        {"Title", "Νύχτα στο λιμάνι"}, {"Artist", "Artist One"}, {"Album", "Άλμπουμ"},
        {"Comment", "σχόλιο & note"},  {"Genre", "Λαϊκό"},
    };
    for (const auto& [name, value] : values) {
        EXPECT_FALSE(item->isReadOnlyItem(name)) << name;
        EXPECT_TRUE(item->setItemInfo(name, value)) << name;
    }
    EXPECT_FALSE(item->isReadOnlyItem("WM/Year"));
    EXPECT_TRUE(item->setItemInfo("Year", "1987"));

    auto back = fresh(path);
    for (const auto& [name, value] : values) EXPECT_EQ(back->getItemInfo(name), value) << name;
    EXPECT_EQ(back->getItemInfo("WM/Year"), "1987");
    // The item that wrote sees its own values too.
    EXPECT_EQ(item->getItemInfo("Title"), "Νύχτα στο λιμάνι");
    EXPECT_GT(back->duration(), 1.5);

    // Clearing a tag removes it.
    EXPECT_TRUE(back->setItemInfo("Comment", ""));
    EXPECT_EQ(fresh(path)->getItemInfo("Comment"), "");
    EXPECT_EQ(fresh(path)->getItemInfo("Title"), "Νύχτα στο λιμάνι");
}

TEST_P(WritableFormat, EveryRatingValueRoundTrips) {
    const std::string path = make();
    EXPECT_EQ(fresh(path)->getItemInfo("UserRating"), "");  // no rating yet
    const std::vector<std::pair<std::string, int>> classes = {
        {"0", 0}, {"1", 1}, {"25", 64}, {"50", 128}, {"75", 196}, {"99", 255}};
    for (const auto& [value, popmByte] : classes) {
        auto item = fresh(path);
        EXPECT_FALSE(item->isReadOnlyItem("UserRating"));
        ASSERT_TRUE(item->setItemInfo("UserRating", value)) << value;
        EXPECT_EQ(fresh(path)->getItemInfo("UserRating"), value);
        if (GetParam().id3) {
            PopmView p = popmOf(id3In(readBytes(path)), kEmail);
            EXPECT_TRUE(p.found) << value;
            EXPECT_EQ(p.rating, popmByte) << value;
        }
    }
    // Text that is no rating, or one out of range, is refused.
    auto item = fresh(path);
    EXPECT_FALSE(item->setItemInfo("UserRating", "abc"));
    EXPECT_FALSE(item->setItemInfo("UserRating", "100"));
    EXPECT_FALSE(item->setItemInfo("UserRating", "-1"));
    EXPECT_EQ(fresh(path)->getItemInfo("UserRating"), "99");
}

TEST_P(WritableFormat, UnchangedValueIsNotRewritten) {
    const std::string path = make();
    ASSERT_TRUE(fresh(path)->setItemInfo("Title", "Same"));
    ASSERT_TRUE(fresh(path)->setItemInfo("UserRating", "50"));
    ASSERT_TRUE(fresh(path)->setItemInfo("Year", "2001"));
    const DiskState before = ageAndSnapshot(path);
    auto item = fresh(path);
    EXPECT_TRUE(item->setItemInfo("Title", "Same"));
    EXPECT_TRUE(item->setItemInfo("UserRating", "50"));
    EXPECT_TRUE(item->setItemInfo("Year", "2001"));
    const DiskState after = snapshot(path);
    EXPECT_EQ(after.mtime, before.mtime);
    EXPECT_TRUE(after.bytes == before.bytes);
}

INSTANTIATE_TEST_SUITE_P(Formats, WritableFormat,
                         ::testing::Values(FormatCase{"Mp3", "mp3", true}, FormatCase{"Wav", "wav", true},
                                           FormatCase{"Aiff", "aiff", true}, FormatCase{"Wma", "wma", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// ID3v2 details: versions, encodings, ID3v1, POPM frames of other players.

TEST(MediaId3, NewTagIsVersion3WithUnicodeTextAndNoId3v1) {
    TempDir dir;
    const std::string path = writeMp3(dir.file("a.mp3"), Mp3Options{});
    ASSERT_TRUE(fresh(path)->setItemInfo("Title", "Ωδή"));
    const std::string bytes = readBytes(path);
    Id3View v = id3In(bytes);
    ASSERT_TRUE(v.found);
    EXPECT_EQ(bytes.compare(0, 3, "ID3"), 0);
    EXPECT_EQ(v.version, 3);
    const Id3Frame* tit2 = v.frame("TIT2");
    ASSERT_NE(tit2, nullptr);
    EXPECT_EQ(tit2->body[0], 1);  // UTF-16 with byte order mark
    EXPECT_NE(bytes.compare(bytes.size() - 128, 3, "TAG"), 0) << "no ID3v1 tag may appear";
}

TEST(MediaId3, ExistingTagKeepsItsVersion) {
    TempDir dir;
    Id3Tag tag;
    tag.version = 4;
    tag.encoding = TextEncoding::Utf8;
    tag.title = "Four";
    const std::string path = writeMp3(dir.file("v4.mp3"), mp3With(tag));
    ASSERT_TRUE(fresh(path)->setItemInfo("Artist", "Someone"));
    ASSERT_TRUE(fresh(path)->setItemInfo("UserRating", "75"));
    Id3View v = id3In(readBytes(path));
    EXPECT_EQ(v.version, 4);
    auto item = fresh(path);
    EXPECT_EQ(item->getItemInfo("Title"), "Four");
    EXPECT_EQ(item->getItemInfo("Artist"), "Someone");
    EXPECT_EQ(item->getItemInfo("UserRating"), "75");
}

TEST(MediaId3, Id3v1IsUpdatedOnlyWhenPresent) {
    TempDir dir;
    Id3v1Tag v1;
    v1.title = "Old";
    v1.year = "1970";
    const std::string path = writeMp3(dir.file("v1.mp3"), mp3With(std::nullopt, v1));
    ASSERT_TRUE(fresh(path)->setItemInfo("Title", "Νέος"));
    const std::string bytes = readBytes(path);
    const std::string tail = bytes.substr(bytes.size() - 128);
    ASSERT_EQ(tail.compare(0, 3, "TAG"), 0);
    EXPECT_EQ(tail.substr(3, 4), "\xCD\xDD\xEF\xF2") << "ID3v1 keeps the Greek code page";
    EXPECT_EQ(fresh(path)->getItemInfo("Title"), "Νέος");
    EXPECT_EQ(fresh(path)->getItemInfo("WM/Year"), "1970");
}

TEST(MediaId3, OldGreekTagsReadAsWindows1253) {
    TempDir dir;
    Id3Tag tag;
    tag.encoding = TextEncoding::Latin1;
    tag.title = kTitle1253;
    tag.artist = kArtist1253;
    Id3v1Tag v1;
    v1.album = kAlbum1253;
    const std::string path = writeMp3(dir.file("old.mp3"), mp3With(tag, v1));
    auto item = fresh(path);
    EXPECT_EQ(item->getItemInfo("Title"), "Τίτλος");
    EXPECT_EQ(item->getItemInfo("Artist"), "Καλλιτέχνης");
    EXPECT_EQ(item->getItemInfo("Album"), "Μουσική");  // from ID3v1

    // Writing one tag keeps the others' text: old frames are written again
    // in Unicode, never as question marks.
    ASSERT_TRUE(item->setItemInfo("Title", "Νέος"));
    auto back = fresh(path);
    EXPECT_EQ(back->getItemInfo("Title"), "Νέος");
    EXPECT_EQ(back->getItemInfo("Artist"), "Καλλιτέχνης");
    EXPECT_EQ(back->getItemInfo("Album"), "Μουσική");
    Id3View v = id3In(readBytes(path));
    ASSERT_NE(v.frame("TIT2"), nullptr);
    EXPECT_EQ(v.frame("TIT2")->body[0], 1);
}

TEST(MediaId3, PopmOfAnotherPlayerIsReadAndKept) {
    TempDir dir;
    Id3Tag tag;
    tag.title = "T";
    tag.popm.push_back({"someone@example.org", 200, 7});
    const std::string path = writeMp3(dir.file("p.mp3"), mp3With(tag));
    auto item = fresh(path);
    EXPECT_EQ(item->getItemInfo("UserRating"), "75");  // 200 lies in 160..223

    ASSERT_TRUE(item->setItemInfo("UserRating", "25"));
    Id3View v = id3In(readBytes(path));
    PopmView other = popmOf(v, "someone@example.org");
    PopmView ours = popmOf(v, kEmail);
    EXPECT_TRUE(other.found);
    EXPECT_EQ(other.rating, 200);
    EXPECT_EQ(other.counter, 7u);
    EXPECT_TRUE(ours.found);
    EXPECT_EQ(ours.rating, 64);
    // Ours is read first from now on.
    EXPECT_EQ(fresh(path)->getItemInfo("UserRating"), "25");
}

TEST(MediaId3, OurPopmKeepsItsPlayCounter) {
    TempDir dir;
    Id3Tag tag;
    tag.popm.push_back({"another@example.org", 10, 3});
    tag.popm.push_back({kEmail, 128, 42});
    const std::string path = writeMp3(dir.file("c.mp3"), mp3With(tag));
    EXPECT_EQ(fresh(path)->getItemInfo("UserRating"), "50");  // ours, not the first frame
    ASSERT_TRUE(fresh(path)->setItemInfo("UserRating", "99"));
    Id3View v = id3In(readBytes(path));
    PopmView ours = popmOf(v, kEmail);
    EXPECT_EQ(ours.rating, 255);
    EXPECT_EQ(ours.counter, 42u);
    EXPECT_EQ(v.all("POPM").size(), 2u);
}

TEST(MediaId3, PopmBytesReadInBands) {
    const std::vector<std::pair<int, std::string>> bands = {
        {0, "0"},    {1, "1"},    {31, "1"},   {32, "25"},  {95, "25"}, {96, "50"},
        {159, "50"}, {160, "75"}, {223, "75"}, {224, "99"}, {255, "99"}};
    TempDir dir;
    for (const auto& [byte, value] : bands) {
        Id3Tag tag;
        tag.popm.push_back({kEmail, static_cast<uint8_t>(byte), std::nullopt});
        const std::string path = writeMp3(dir.file("b" + std::to_string(byte) + ".mp3"), mp3With(tag));
        EXPECT_EQ(fresh(path)->getItemInfo("UserRating"), value) << "byte " << byte;
    }
    // Values between the classes are written as the class they read as.
    EXPECT_EQ(popmFromUserRating(12), 1);
    EXPECT_EQ(popmFromUserRating(13), 64);
    EXPECT_EQ(popmFromUserRating(62), 128);
    EXPECT_EQ(popmFromUserRating(63), 196);
    EXPECT_EQ(popmFromUserRating(87), 255);
}

TEST(MediaId3, DateShowsItsYearAndIsNotCutBySavingTheYearBack) {
    TempDir dir;
    Id3Tag tag;
    tag.version = 4;
    tag.year = "1999-05-01";
    const std::string path = writeMp3(dir.file("d.mp3"), mp3With(tag));
    auto item = fresh(path);
    EXPECT_EQ(item->getItemInfo("WM/Year"), "1999");
    const DiskState before = ageAndSnapshot(path);
    EXPECT_TRUE(item->setItemInfo("Year", "1999"));
    EXPECT_EQ(snapshot(path).mtime, before.mtime);

    Id3Tag text;
    text.year = "circa 1950";
    const std::string other = writeMp3(dir.file("e.mp3"), mp3With(text));
    EXPECT_EQ(fresh(other)->getItemInfo("WM/Year"), "circa 1950");
}

// ---------------------------------------------------------------------------
// WAV tags: the ID3v2 chunk first, then LIST INFO.

TEST(MediaWav, InfoChunkIsReadAndKeptInStepWithWrites) {
    TempDir dir;
    InfoTag info;
    info.title = "Info title";
    info.artist = "Info artist";
    info.date = "1984";
    const std::string path = writeWav(dir.file("i.wav"), wavWith(info));
    auto item = fresh(path);
    EXPECT_EQ(item->getItemInfo("Title"), "Info title");
    EXPECT_EQ(item->getItemInfo("WM/Year"), "1984");
    ASSERT_TRUE(item->setItemInfo("Title", "Τίτλος"));
    auto back = fresh(path);
    EXPECT_EQ(back->getItemInfo("Title"), "Τίτλος");
    EXPECT_EQ(back->getItemInfo("Artist"), "Info artist");
    const std::string bytes = readBytes(path);
    EXPECT_NE(bytes.find("INAM"), std::string::npos);
    EXPECT_NE(bytes.find("Τίτλος"), std::string::npos) << "INFO holds the new title as UTF-8";

    Id3Tag tag;
    tag.title = "From id3";
    const std::string both = writeWav(dir.file("both.wav"), wavWith(info, tag));
    EXPECT_EQ(fresh(both)->getItemInfo("Title"), "From id3");
    EXPECT_EQ(fresh(both)->getItemInfo("Artist"), "Info artist");
}

// ---------------------------------------------------------------------------
// Durations, bit rates, sizes and media types.

TEST(MediaProperties, DurationBitrateAndSize) {
    TempDir dir;
    Mp3Options mp3;
    mp3.seconds = 3.0;
    const std::string m = writeMp3(dir.file("a.mp3"), mp3);
    auto mi = fresh(m);
    EXPECT_NEAR(mi->duration(), mp3Duration(mp3), 0.05);
    EXPECT_EQ(mi->getItemInfo("Bitrate"), "128000");
    EXPECT_EQ(mi->getItemInfo("Filesize"), std::to_string(std::filesystem::file_size(m)));
    EXPECT_EQ(mi->getItemInfo("MediaType"), "audio");
    EXPECT_EQ(mi->sourceURL(), m);

    Mp3Options low;
    low.seconds = 2.0;
    low.kbps = 64;
    low.mono = true;
    auto li = fresh(writeMp3(dir.file("low.mp3"), low));
    EXPECT_NEAR(li->duration(), mp3Duration(low), 0.05);
    EXPECT_EQ(li->getItemInfo("Bitrate"), "64000");

    WavOptions wav;
    wav.pcm.seconds = 2.5;
    wav.pcm.sineHz = 440;
    auto wi = fresh(writeWav(dir.file("a.wav"), wav));
    EXPECT_NEAR(wi->duration(), 2.5, 0.01);
    EXPECT_EQ(wi->getItemInfo("Bitrate"), "1411200");

    AiffOptions aiff;
    aiff.pcm.seconds = 1.0;
    aiff.pcm.channels = 1;
    aiff.pcm.sampleRate = 22050;
    auto ai = fresh(writeAiff(dir.file("a.aif"), aiff));
    EXPECT_NEAR(ai->duration(), 1.0, 0.01);
    EXPECT_EQ(ai->getItemInfo("Bitrate"), "352800");
}

TEST(MediaProperties, VideoContainersAreReadThroughLibavformatAndNeverWritten) {
    TempDir dir;
    const std::string avi = dir.file("clip.avi");
    auto args = ffmpegVideoInput(2.0);
    auto audio = ffmpegSineInput(2.0);
    args.insert(args.end(), audio.begin(), audio.end());
    args.insert(args.end(), {"-c:v", "mpeg4", "-c:a", "pcm_s16le", "-metadata", "title=Clip title"});
    ASSERT_TRUE(makeWithFfmpeg(avi, args));
    const std::string mpg = dir.file("clip.mpg");
    auto margs = ffmpegVideoInput(2.0, 64, 48, 25);
    margs.insert(margs.end(), {"-c:v", "mpeg1video"});
    ASSERT_TRUE(makeWithFfmpeg(mpg, margs));

    for (const std::string& path : {avi, mpg}) {
        auto item = fresh(path);
        EXPECT_NEAR(item->duration(), 2.0, 0.2) << path;
        EXPECT_EQ(item->getItemInfo("MediaType"), "video") << path;
        EXPECT_FALSE(item->getItemInfo("Bitrate").empty()) << path;
        EXPECT_TRUE(item->isReadOnlyItem("UserRating")) << path;
        EXPECT_TRUE(item->isReadOnlyItem("Title")) << path;
        const DiskState before = ageAndSnapshot(path);
        EXPECT_FALSE(item->setItemInfo("UserRating", "50"));
        EXPECT_FALSE(item->setItemInfo("Title", "x"));
        const DiskState after = snapshot(path);
        EXPECT_EQ(after.mtime, before.mtime) << path;
        EXPECT_TRUE(after.bytes == before.bytes) << path;
    }
    EXPECT_EQ(fresh(avi)->getItemInfo("Title"), "Clip title");
}

TEST(MediaProperties, WindowsMediaVideoCarriesTagsAndRatingAuOnlyPlays) {
    TempDir dir;
    const std::string wmv = dir.file("film.wmv");
    auto args = ffmpegVideoInput(1.5);
    auto audio = ffmpegSineInput(1.5);
    args.insert(args.end(), audio.begin(), audio.end());
    args.insert(args.end(), {"-c:v", "wmv2", "-c:a", "wmav2"});
    ASSERT_TRUE(makeWithFfmpeg(wmv, args));
    auto w = fresh(wmv);
    EXPECT_EQ(w->getItemInfo("MediaType"), "video");
    EXPECT_NEAR(w->duration(), 1.5, 0.2);
    ASSERT_TRUE(w->setItemInfo("UserRating", "75"));
    ASSERT_TRUE(w->setItemInfo("Album", "Ταινίες"));
    EXPECT_EQ(fresh(wmv)->getItemInfo("UserRating"), "75");
    EXPECT_EQ(fresh(wmv)->getItemInfo("Album"), "Ταινίες");

    const std::string au = dir.file("voice.au");
    auto aargs = ffmpegSineInput(1.0, 8000);
    aargs.insert(aargs.end(), {"-c:a", "pcm_mulaw"});
    ASSERT_TRUE(makeWithFfmpeg(au, aargs));
    auto a = fresh(au);
    EXPECT_EQ(a->getItemInfo("MediaType"), "audio");
    EXPECT_NEAR(a->duration(), 1.0, 0.05);
    EXPECT_NEAR(std::stod(a->getItemInfo("Bitrate")), 64000, 1000);  // the container's rate, header included
    EXPECT_TRUE(a->isReadOnlyItem("UserRating"));
    EXPECT_TRUE(a->isReadOnlyItem("Title"));
}

// TagLib reads an ASF file's audio properties from its last stream, of
// whatever kind; the bit rate shown is the audio's or the whole file's,
// never one read out of a video stream's picture size.
TEST(MediaProperties, WindowsMediaBitRateIsNeverReadFromTheVideoStream) {
    struct Row {
        const char* name;
        bool audio, video, videoFirst;
    };
    const Row rows[] = {
        {"audio.wma", true, false, false},
        {"video_then_audio.wmv", true, true, true},
        {"audio_then_video.wmv", true, true, false},
        {"video_only.wmv", false, true, true},
    };
    TempDir dir;
    for (const Row& row : rows) {
        std::vector<std::string> args;
        const auto video = ffmpegVideoInput(1.5), audio = ffmpegSineInput(1.5);
        if (row.video && row.videoFirst) args.insert(args.end(), video.begin(), video.end());
        if (row.audio) args.insert(args.end(), audio.begin(), audio.end());
        if (row.video && !row.videoFirst) args.insert(args.end(), video.begin(), video.end());
        if (row.audio && row.video) args.insert(args.end(), {"-map", "0", "-map", "1"});  // in input order
        if (row.video) args.insert(args.end(), {"-c:v", "wmv2"});
        if (row.audio) args.insert(args.end(), {"-c:a", "wmav2", "-b:a", "64k"});
        const std::string path = dir.file(row.name);
        ASSERT_TRUE(makeWithFfmpeg(path, args)) << row.name;
        const std::string rate = fresh(path)->getItemInfo("Bitrate");
        ASSERT_FALSE(rate.empty()) << row.name;
        EXPECT_GT(std::stoll(rate), 8000) << row.name;
        EXPECT_LT(std::stoll(rate), 2000000) << row.name;  // a 64x48 picture and 64 kb/s of sound
    }
}

TEST(MediaProperties, Mp4HasTagsButNoRating) {
    TempDir dir;
    const std::string path = dir.file("song.m4a");
    auto args = ffmpegSineInput(1.0);
    args.insert(args.end(), {"-c:a", "aac", "-b:a", "96k"});
    ASSERT_TRUE(makeWithFfmpeg(path, args));
    auto item = fresh(path);
    EXPECT_TRUE(item->isReadOnlyItem("UserRating"));
    EXPECT_FALSE(item->setItemInfo("UserRating", "50"));
    EXPECT_FALSE(item->isReadOnlyItem("Title"));
    ASSERT_TRUE(item->setItemInfo("Title", "Μικρό"));
    EXPECT_EQ(fresh(path)->getItemInfo("Title"), "Μικρό");
    EXPECT_NEAR(fresh(path)->duration(), 1.0, 0.1);
}

TEST(MediaProperties, Mp2IsMpegOnlyWhenItHoldsMpegAudio) {
    TempDir dir;
    const std::string audio = dir.file("tune.mp2");
    auto args = ffmpegSineInput(1.0);
    args.insert(args.end(), {"-c:a", "mp2", "-b:a", "128k"});
    ASSERT_TRUE(makeWithFfmpeg(audio, args));
    auto a = fresh(audio);
    EXPECT_FALSE(a->isReadOnlyItem("Title"));
    EXPECT_TRUE(a->setItemInfo("Title", "Layer two"));
    EXPECT_EQ(fresh(audio)->getItemInfo("Title"), "Layer two");
    EXPECT_EQ(fresh(audio)->getItemInfo("Bitrate"), "128000");

    // A video stream under an audio ending is never handled as MPEG audio.
    const std::string video = dir.file("movie.mpa");
    auto vargs = ffmpegVideoInput(1.0, 64, 48, 25);
    vargs.insert(vargs.end(), {"-c:v", "mpeg1video", "-f", "mpeg"});
    ASSERT_TRUE(makeWithFfmpeg(video, vargs));
    auto v = fresh(video);
    EXPECT_TRUE(v->isReadOnlyItem("Title"));
    EXPECT_EQ(v->getItemInfo("MediaType"), "video");
    const DiskState before = ageAndSnapshot(video);
    EXPECT_FALSE(v->setItemInfo("Title", "x"));
    EXPECT_TRUE(snapshot(video).bytes == before.bytes);
}

// ---------------------------------------------------------------------------
// Files that are missing, empty, not media or not writable.

TEST(MediaBadFiles, GarbageAndEmptyFilesAnswerEmptyAndStayUntouched) {
    TempDir dir;
    const std::vector<std::string> paths = {
        writeGarbage(dir.file("noise.mp3"), 20000, 7),
        writeGarbage(dir.file("noise.wav"), 5000, 9),
        writeGarbage(dir.file("noise.wma"), 5000, 11),
        writeEmpty(dir.file("empty.mp3")),
        writeEmpty(dir.file("empty.aiff")),
    };
    for (const std::string& path : paths) {
        const DiskState before = ageAndSnapshot(path);
        auto item = fresh(path);
        for (const char* name : {"Title", "Artist", "Album", "Genre", "WM/Year", "Comment", "Bitrate", "UserRating"})
            EXPECT_EQ(item->getItemInfo(name), "") << path << " " << name;
        EXPECT_EQ(item->duration(), 0.0) << path;
        EXPECT_TRUE(item->isReadOnlyItem("Title")) << path;
        EXPECT_TRUE(item->isReadOnlyItem("UserRating")) << path;
        EXPECT_FALSE(item->setItemInfo("Title", "x")) << path;
        EXPECT_FALSE(item->setItemInfo("UserRating", "50")) << path;
        item->getItemInfo("MediaType");
        const DiskState after = snapshot(path);
        EXPECT_EQ(after.mtime, before.mtime) << path;
        EXPECT_TRUE(after.bytes == before.bytes) << path;
    }
}

TEST(MediaBadFiles, MissingFilesPlaylistsAndFoldersGiveNothing) {
    TempDir dir;
    const std::string missing = dir.file("gone.mp3");
    auto item = fresh(missing);
    EXPECT_EQ(item->getItemInfo("Title"), "");
    EXPECT_EQ(item->getItemInfo("Filesize"), "");
    EXPECT_EQ(item->getItemInfo("MediaType"), "");
    EXPECT_EQ(item->duration(), 0.0);
    EXPECT_FALSE(item->setItemInfo("Title", "x"));
    EXPECT_FALSE(std::filesystem::exists(missing));

    writeBytes(dir.file("list.m3u"), "a.mp3\n");
    auto list = fresh(dir.file("list.m3u"));
    EXPECT_EQ(list->getItemInfo("Filesize"), "");
    EXPECT_EQ(list->getItemInfo("MediaType"), "");
    EXPECT_TRUE(list->isReadOnlyItem("Title"));

    auto folder = fresh(dir.path());
    EXPECT_EQ(folder->getItemInfo("Filesize"), "");
    EXPECT_EQ(folder->duration(), 0.0);
}

TEST(MediaBadFiles, FileWithoutWritePermissionIsReadOnly) {
    TempDir dir;
    Id3Tag tag;
    tag.title = "Locked";
    const std::string path = writeMp3(dir.file("ro.mp3"), mp3With(tag));
    chmod(path.c_str(), 0444);
    auto item = fresh(path);
    EXPECT_EQ(item->getItemInfo("Title"), "Locked");
    EXPECT_TRUE(item->isReadOnlyItem("Title"));
    EXPECT_TRUE(item->isReadOnlyItem("UserRating"));
    const DiskState before = ageAndSnapshot(path);
    EXPECT_FALSE(item->setItemInfo("Title", "Changed"));
    EXPECT_TRUE(snapshot(path).bytes == before.bytes);
}

// ---------------------------------------------------------------------------
// The reader's cache.

TEST(MediaReaderCache, SameFileGivesSameItemUntilItChanges) {
    TempDir dir;
    Id3Tag tag;
    tag.title = "One";
    const std::string path = writeMp3(dir.file("c.mp3"), mp3With(tag));
    TagMediaReader reader;
    auto a = reader.newMedia(path);
    auto b = reader.newMedia(path);
    EXPECT_EQ(a.get(), b.get());

    // A write through the item keeps it valid, with the new value.
    ASSERT_TRUE(a->setItemInfo("Title", "Two"));
    auto c = reader.newMedia(path);
    EXPECT_EQ(c->getItemInfo("Title"), "Two");

    // A change by someone else is seen.
    tag.title = "Three, from elsewhere";
    writeMp3(path, mp3With(tag));
    auto d = reader.newMedia(path);
    EXPECT_EQ(d->getItemInfo("Title"), "Three, from elsewhere");

    // A missing file is not kept: once it appears it is read.
    const std::string later = dir.file("later.mp3");
    EXPECT_EQ(reader.newMedia(later)->getItemInfo("Title"), "");
    writeMp3(later, mp3With(tag));
    EXPECT_EQ(reader.newMedia(later)->getItemInfo("Title"), "Three, from elsewhere");
}

// ---------------------------------------------------------------------------
// A write changes only the field it is asked to change: every other frame,
// atom or attribute keeps its values as TagLib and libavformat read them, and
// the edited field reads back as typed, all its old values gone. A tag that
// TagLib does not read to its end is not written at all.

std::string latin1(const std::string& text) { return std::string(1, '\0') + text; }

// What TagLib and libavformat read of a file's tags.
std::map<std::string, std::string> fieldsOf(const std::string& path) {
    std::map<std::string, std::string> out;
    TagLib::FileRef ref(path.c_str());
    if (ref.file())
        for (const auto& [key, values] : ref.file()->properties()) out[key.to8Bit(true)] = values.toString("|").to8Bit(true);
    const av::Probe p = av::probeFile(path);
    out["av TITLE"] = p.title;
    out["av ARTIST"] = p.artist;
    out["av GENRE"] = p.genre;
    out["av DATE"] = p.date;
    return out;
}

struct Edit {
    const char* name;
    const char* value;
    bool written = true;
};

// Makes each edit on a fresh copy of the file.
void expectOnlyTheEditedField(const std::string& file, const std::vector<Edit>& edits) {
    static const std::map<std::string, std::string> keys = {
        {"Title", "TITLE"}, {"Artist", "ARTIST"}, {"Genre", "GENRE"}, {"Year", "DATE"}, {"UserRating", ""}};
    for (const Edit& e : edits) {
        SCOPED_TRACE(file + ": " + e.name + " = " + e.value);
        const std::string path = file + ".edited" + std::filesystem::path(file).extension().string();
        std::filesystem::copy_file(file, path, std::filesystem::copy_options::overwrite_existing);
        const std::string bytes = readBytes(path);
        std::map<std::string, std::string> before = fieldsOf(path);
        ASSERT_EQ(TagMediaItem(path).setItemInfo(e.name, e.value), e.written);
        if (!e.written) {
            EXPECT_TRUE(readBytes(path) == bytes) << "a refused write changed the file";
            continue;
        }
        std::map<std::string, std::string> after = fieldsOf(path);
        const std::string key = keys.at(e.name);
        if (!key.empty()) {
            EXPECT_EQ(after[key], e.value);
            EXPECT_EQ(after["av " + key], e.value);
            for (auto* m : {&before, &after}) m->erase(key), m->erase("av " + key);
        }
        EXPECT_EQ(after, before);
        EXPECT_EQ(TagMediaItem(path).getItemInfo(e.name == std::string("Year") ? "WM/Year" : e.name), e.value);
        // An ID3v2.2 tag stays one.
        const std::string v22("ID3\x02", 4);
        EXPECT_TRUE(bytes.find(v22) == std::string::npos || readBytes(path).find(v22) != std::string::npos);
    }
}

TEST(TagFields, AWriteChangesOnlyTheFieldAskedFor) {
    TempDir dir;
    // Two artist frames, a track total, a full date (2.3: year and day); an
    // old year frame beside a 2.4 date; a 2.2 tag; frames of size 0 ahead of
    // good ones, which leave TagLib reading nothing.
    const auto tagOf = [](int version, const std::string& year, std::vector<std::pair<std::string, std::string>> frames) {
        Id3Tag tag;
        tag.version = version;
        tag.title = "Old";
        tag.year = year;
        tag.frames = std::move(frames);
        return tag;
    };
    Id3Tag rich = tagOf(3, "2010", {{"TPE1", latin1("Second")}, {"TRCK", latin1("02/10")}, {"TDAT", latin1("0304")}});
    rich.artist = "First";
    rich.popm = {{"someone@example.org", 10, 4}};
    Id3Tag unread = tagOf(4, "", {{"TXXX", ""}, {"TXXX", ""}});
    unread.popm = {{"Windows Media Player 9 Series", 128, 0}};
    const std::pair<Id3Tag, std::vector<Edit>> tags[] = {
        {rich, {{"Title", "New"}, {"Artist", "Only"}, {"Year", "2012"}, {"UserRating", "99"}}},
        {tagOf(4, "2010-04-03", {{"TYER", latin1("1999")}}), {{"Year", "2012"}, {"Title", "New"}}},
        {tagOf(2, "2010", {{"TDA", latin1("0304")}}), {{"UserRating", "99"}, {"Title", "New"}}},
        {unread, {{"UserRating", "99", false}, {"Title", "New", false}}},
    };
    int n = 0;
    for (const std::string ext : {"mp3", "mp2", "wav", "aiff"}) {
        for (const auto& [tag, edits] : tags) {
            const std::string path = dir.file(std::to_string(++n) + "." + ext);
            WavOptions wav;
            AiffOptions aiff;
            Mp3Options mp3;
            wav.id3 = aiff.id3 = mp3.id3 = tag;
            ext == "wav" ? writeWav(path, wav) : ext == "aiff" ? writeAiff(path, aiff) : writeMp3(path, mp3);
            expectOnlyTheEditedField(path, edits);
        }
    }

    // WMA and M4A from ffmpeg, given a field of two values through TagLib.
    std::vector<std::string> args = ffmpegSineInput(0.5);
    for (const char* m : {"title=Old", "artist=First", "track=02/10", "date=2010-04-03"}) args.insert(args.end(), {"-metadata", m});
    ASSERT_TRUE(makeWithFfmpeg(dir.file("song.wma"), args));
    TagLib::ASF::AttributeList genres;
    for (const char* g : {"Rock", "Jazz"}) genres.append(TagLib::String(g));
    TagLib::ASF::File wma(dir.file("song.wma").c_str());
    wma.tag()->setAttribute("WM/Genre", genres);
    wma.save();
    expectOnlyTheEditedField(dir.file("song.wma"), {{"Title", "New"}, {"Genre", "Blues"}, {"Year", "2012"}, {"UserRating", "99"}});
    ASSERT_TRUE(makeWithFfmpeg(dir.file("song.m4a"), args));
    TagLib::MP4::File m4a(dir.file("song.m4a").c_str());
    m4a.tag()->setItem("\251ART", TagLib::StringList("First").append("Second"));
    m4a.save();
    expectOnlyTheEditedField(dir.file("song.m4a"), {{"Title", "New"}, {"Artist", "Only"}, {"Year", "2012"}});
}

}  // namespace
}  // namespace tarvolin
