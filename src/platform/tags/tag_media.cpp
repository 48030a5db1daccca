#include "platform/tags/tag_media.h"

#include <sys/stat.h>
#include <unistd.h>

#include <taglib/aifffile.h>
#include <taglib/asffile.h>
#include <taglib/asftag.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>
#include <taglib/mpegfile.h>
#include <taglib/popularimeterframe.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tfilestream.h>
#include <taglib/tpropertymap.h>
#include <taglib/wavfile.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "platform/tags/av_probe.h"
#include "platform/tags/id3v2_rewrite.h"
#include "platform/tags/tag_file_write.h"
#include "platform/tags/tag_layout.h"
#include "platform/tags/text_encoding.h"

namespace tarvolin {

namespace {

const char* const kAsfRating = "WM/SharedUserRating";
constexpr size_t kCacheLimit = 40000;

// How a file is read, by its extension.
enum class Kind {
    Mpeg,         // .mp3
    MpegIfAudio,  // .mp2, .mpa: MPEG only when libavformat finds MPEG audio
    Wav,
    Aiff,
    Asf,
    Mp4,
    AvOnly,       // libavformat alone, never written
    Midi,         // no duration, nothing read
    NotMedia,     // playlists and the like: nothing at all
};

Kind kindOf(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    size_t dot = name.find_last_of('.');
    if (dot == std::string::npos) return Kind::AvOnly;
    std::string ext = name.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    static const std::unordered_map<std::string, Kind> table = {
        {"mp3", Kind::Mpeg},       {"mp2", Kind::MpegIfAudio}, {"mpa", Kind::MpegIfAudio},
        {"wav", Kind::Wav},        {"aif", Kind::Aiff},        {"aiff", Kind::Aiff},
        {"aifc", Kind::Aiff},      {"wma", Kind::Asf},         {"wm", Kind::Asf},
        {"asf", Kind::Asf},        {"wmv", Kind::Asf},         {"dvr-ms", Kind::Asf},
        {"mp4", Kind::Mp4},        {"m4a", Kind::Mp4},         {"avi", Kind::AvOnly},
        {"snd", Kind::AvOnly},     {"au", Kind::AvOnly},       {"mpeg", Kind::AvOnly},
        {"mpg", Kind::AvOnly},     {"mpe", Kind::AvOnly},      {"m1v", Kind::AvOnly},
        {"mpv2", Kind::AvOnly},    {"mp2v", Kind::AvOnly},     {"mid", Kind::Midi},
        {"midi", Kind::Midi},      {"rmi", Kind::Midi},        {"cda", Kind::NotMedia},
        {"wmd", Kind::NotMedia},   {"wax", Kind::NotMedia},    {"wvx", Kind::NotMedia},
        {"m3u", Kind::NotMedia},   {"wpl", Kind::NotMedia},
    };
    auto it = table.find(ext);
    return it == table.end() ? Kind::AvOnly : it->second;
}

bool taglibWritable(Kind k) {
    return k == Kind::Mpeg || k == Kind::Wav || k == Kind::Aiff || k == Kind::Asf || k == Kind::Mp4;
}
bool hasRating(Kind k) {
    return k == Kind::Mpeg || k == Kind::Wav || k == Kind::Aiff || k == Kind::Asf;
}

// Latin-1 ID3v2 frames and ID3v1 tags on Greek systems hold Windows-1253.
TagLib::String fromLegacyBytes(const TagLib::ByteVector& data) {
    std::string bytes(data.data(), data.size());
    bytes = bytes.substr(0, bytes.find('\0'));
    return TagLib::String(text::windows1253ToUtf8(bytes), TagLib::String::UTF8);
}

class GreekId3v2Latin1 : public TagLib::ID3v2::Latin1StringHandler {
public:
    TagLib::String parse(const TagLib::ByteVector& data) const override { return fromLegacyBytes(data); }
};

class GreekId3v1 : public TagLib::ID3v1::StringHandler {
public:
    TagLib::String parse(const TagLib::ByteVector& data) const override {
        return fromLegacyBytes(data).stripWhiteSpace();
    }
    TagLib::ByteVector render(const TagLib::String& s) const override {
        std::string bytes = text::utf8ToWindows1253(s.to8Bit(true));
        return TagLib::ByteVector(bytes.data(), static_cast<unsigned>(bytes.size()));
    }
};

class SilentDebug : public TagLib::DebugListener {
public:
    void printMessage(const TagLib::String&) override {}
};

void setUpTagLib() {
    static std::once_flag once;
    std::call_once(once, [] {
        static GreekId3v2Latin1 latin1;
        static GreekId3v1 v1;
        static SilentDebug quiet;
        TagLib::ID3v2::Tag::setLatin1StringHandler(&latin1);
        TagLib::ID3v1::Tag::setStringHandler(&v1);
        TagLib::setDebugListener(&quiet);
        // Text the program writes is Unicode: a Latin-1 frame would read back
        // through the Windows-1253 decoding above as other letters.
        TagLib::ID3v2::FrameFactory::instance()->setDefaultTextEncoding(TagLib::String::UTF16);
    });
}

std::string utf8(const TagLib::String& s) { return s.to8Bit(true); }

std::string prop(const TagLib::PropertyMap& pm, const char* key) {
    auto it = pm.find(key);
    if (it == pm.end() || it->second.isEmpty()) return {};
    return utf8(it->second.toString("; "));
}

// The program's POPM frame, else the first POPM frame.
TagLib::ID3v2::PopularimeterFrame* ratingFrame(TagLib::ID3v2::Tag* tag) {
    if (!tag) return nullptr;
    TagLib::ID3v2::PopularimeterFrame* first = nullptr;
    for (TagLib::ID3v2::Frame* f : tag->frameList("POPM")) {
        auto* p = dynamic_cast<TagLib::ID3v2::PopularimeterFrame*>(f);
        if (!p) continue;
        if (p->email() == id3v2::kRatingEmail) return p;
        if (!first) first = p;
    }
    return first;
}

std::string asfRating(const TagLib::ASF::Tag* tag) {
    if (!tag || !tag->contains(kAsfRating)) return {};
    const TagLib::ASF::AttributeList list = tag->attribute(kAsfRating);
    if (list.isEmpty()) return {};
    const TagLib::ASF::Attribute& a = list.front();
    switch (a.type()) {
        case TagLib::ASF::Attribute::DWordType: return std::to_string(a.toUInt());
        case TagLib::ASF::Attribute::QWordType: return std::to_string(a.toULongLong());
        case TagLib::ASF::Attribute::WordType: return std::to_string(a.toUShort());
        case TagLib::ASF::Attribute::UnicodeType: return utf8(a.toString());
        default: return {};
    }
}

// A whole number 0 to 99 from a "UserRating" text; -1 when it is none.
int ratingValue(const std::string& text) {
    if (text.empty()) return -1;
    char* end = nullptr;
    double d = std::strtod(text.c_str(), &end);
    while (end && std::isspace(static_cast<unsigned char>(*end))) ++end;
    if (!end || *end != '\0' || !std::isfinite(d)) return -1;
    double r = std::nearbyint(d);  // halves to the even neighbour
    if (r < 0 || r > 99) return -1;
    return static_cast<int>(r);
}

int64_t mtimeNs(const struct stat& st) {
    return static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

// A text tag: the item names it goes by, its property-map key, and what
// each container the program writes calls it.
struct TextField {
    const char* item;
    const char* otherItem;  // a second item name, or nullptr
    const char* key;
    const char* info;      // RIFF INFO field
    const char* mp4;       // MP4 item atom
    const char* asf;       // ASF content description string or attribute
    const char* asfAlias;  // the plain attribute name other writers give it
};

constexpr TextField kTextFields[] = {
    {"Title", nullptr, "TITLE", "INAM", "\251nam", "Title", "title"},
    {"Artist", nullptr, "ARTIST", "IART", "\251ART", "Author", "artist"},
    {"Album", nullptr, "ALBUM", "IPRD", "\251alb", "WM/AlbumTitle", "album"},
    {"Comment", nullptr, "COMMENT", "ICMT", "\251cmt", "Description", "comment"},
    {"Genre", nullptr, "GENRE", "IGNR", "\251gen", "WM/Genre", "genre"},
    {"Year", "WM/Year", "DATE", "ICRD", "\251day", "WM/Year", "date"},
};

// The text tag of a property-map key; nullptr for other keys.
const TextField* fieldOfKey(const std::string& key) {
    for (const TextField& f : kTextFields)
        if (key == f.key) return &f;
    return nullptr;
}

// The name's property-map key for the text tags; "" for other names.
const char* textKey(const std::string& name) {
    for (const TextField& f : kTextFields)
        if (name == f.item || (f.otherItem && name == f.otherItem)) return f.key;
    return "";
}

// What one attribute's write changes.
struct Change {
    std::string key;  // property-map key, or "" for the rating
    std::string value;
    int rating = -1;
};

enum class Asked { Refused, Same, Changed };

// Whether setting the item's attribute name to value is refused, changes
// nothing or is the change c.
Asked ask(MediaItem& item, const std::string& name, const std::string& value, Change& c) {
    if (item.isReadOnlyItem(name)) return Asked::Refused;
    if (name == "UserRating") {
        c.rating = ratingValue(value);
        if (c.rating < 0) return Asked::Refused;
        const int current = ratingValue(item.getItemInfo(name));
        return current >= 0 && current == c.rating ? Asked::Same : Asked::Changed;
    }
    c.key = textKey(name);
    c.value = value;
    // The year compares with what "WM/Year" shows, so that saving the shown
    // year back does not cut a full date down to its year.
    return item.getItemInfo(name) == value ? Asked::Same : Asked::Changed;
}

void applyInfo(TagLib::RIFF::Info::Tag* tag, const Change& c) {
    const TextField* field = fieldOfKey(c.key);
    if (!field) return;
    const char* id = field->info;
    if (c.value.empty())
        tag->removeField(id);
    else
        tag->setFieldText(id, TagLib::String(c.value, TagLib::String::UTF8));
}

// Sets or clears one item of an MP4 tag; the others stay.
void applyMp4(TagLib::MP4::Tag* tag, const Change& c) {
    const TextField* field = fieldOfKey(c.key);
    if (!field) return;
    const TagLib::String name(field->mp4, TagLib::String::Latin1);
    if (c.value.empty())
        tag->removeItem(name);
    else
        tag->setItem(name, TagLib::StringList(TagLib::String(c.value, TagLib::String::UTF8)));
}

// Sets one field of the MPEG file's ID3v1 tag: only that field's bytes of
// the 128 change.
void patchId3v1(TagLib::MPEG::File& f, TagLib::IOStream& stream, const Change& c) {
    TagLib::ID3v1::Tag* tag = f.ID3v1Tag();
    const TagLib::String value(c.value, TagLib::String::UTF8);
    const long start = stream.length() - 128;
    stream.seek(start);
    TagLib::ByteVector bytes = stream.readBlock(128);
    // Where the field lies; a comment leaves the track number of ID3v1.1.
    unsigned at = 3, length = 30;
    if (c.key == "TITLE") {
        tag->setTitle(value);
    } else if (c.key == "ARTIST") {
        tag->setArtist(value);
        at = 33;
    } else if (c.key == "ALBUM") {
        tag->setAlbum(value);
        at = 63;
    } else if (c.key == "DATE") {
        tag->setYear(static_cast<unsigned>(std::max(0, std::atoi(c.value.c_str()))));
        at = 93;
        length = 4;
    } else if (c.key == "COMMENT") {
        tag->setComment(value);
        at = 97;
        length = bytes[125] == 0 && bytes[126] != 0 ? 28 : 30;
    } else {
        // The genre is given by its number (as the editor's genre list
        // gives it) or by its name.
        const bool number = !c.value.empty() && c.value.size() <= 3 &&
                            std::all_of(c.value.begin(), c.value.end(), [](char d) { return d >= '0' && d <= '9'; });
        if (number && std::stoi(c.value) < 255)
            tag->setGenreNumber(static_cast<unsigned>(std::stoi(c.value)));
        else
            tag->setGenre(value);
        at = 127;
        length = 1;
    }
    bytes = bytes.mid(0, at) + tag->render().mid(at, length) + bytes.mid(at + length);
    stream.seek(start);
    stream.writeBlock(bytes);
}

// False for a file whose header announces more than the file holds; the
// stream is left at its start, where TagLib begins to read.
bool headerHolds(TagLib::IOStream& stream, Kind kind) {
    const bool holds = kind == Kind::Asf   ? taglayout::asfHolds(stream)
                       : kind == Kind::Mp4 ? taglayout::mp4Holds(stream)
                                           : true;
    stream.seek(0);
    return holds;
}

// False when TagLib's save of the MP4 tag would drop one of its items: a
// free-form item ("----:" mean ":" name) whose name holds a ":" of its own.
bool savesEveryItem(const TagLib::MP4::Tag& tag) {
    const auto& items = tag.itemMap();
    return std::none_of(items.begin(), items.end(), [](const auto& item) {
        const std::string key = item.first.to8Bit(true);
        return key.rfind("----:", 0) == 0 && std::count(key.begin(), key.end(), ':') != 2;
    });
}

bool hasAudio(TagLib::File& f) {
    const TagLib::AudioProperties* p = f.audioProperties();
    return p && (p->lengthInMilliseconds() > 0 || p->bitrate() > 0 || p->sampleRate() > 0);
}

// Makes the change in the stream: each tag is rewritten in the room it
// takes, so that the audio stays where it is whenever the change fits.
bool writeChange(TagLib::IOStream& stream, Kind kind, const Change& c) {
    const bool text = !c.key.empty();
    const id3v2::Change change{c.key, c.value, text ? 0 : popmFromUserRating(c.rating)};
    // TagLib reads some files from where the stream stands: the start, also
    // after an earlier change of the same write.
    stream.seek(0);
    switch (kind) {
        case Kind::Mpeg: {
            TagLib::MPEG::File f(&stream, TagLib::ID3v2::FrameFactory::instance(), true);
            if (!f.isValid() || !hasAudio(f)) return false;
            if (text && f.hasID3v1Tag()) patchId3v1(f, stream, c);
            return taglayout::rewriteLeadingTag(stream, f.hasID3v2Tag(), change);
        }
        case Kind::Wav: {
            TagLib::RIFF::WAV::File f(&stream, true);
            if (!f.isValid() || !hasAudio(f)) return false;
            const bool withInfo = text && f.hasInfoTag();
            TagLib::ByteVector info;
            if (withInfo) {
                applyInfo(f.InfoTag(), c);
                info = f.InfoTag()->render();
            }
            return taglayout::rewriteChunks(stream, false, change, withInfo ? &info : nullptr);
        }
        case Kind::Aiff: {
            TagLib::RIFF::AIFF::File f(&stream, true);
            if (!f.isValid() || !hasAudio(f)) return false;
            return taglayout::rewriteChunks(stream, true, change, nullptr);
        }
        case Kind::Asf: {
            if (!headerHolds(stream, kind)) return false;
            TagLib::ASF::File f(&stream, true);
            if (!f.isValid()) return false;
            // The field's name, and the plain name other writers give it.
            const TextField* named = text ? fieldOfKey(c.key) : nullptr;
            if (text && !named) return false;
            const char* field = named ? named->asf : kAsfRating;
            const char* alias = named ? named->asfAlias : "";
            return taglayout::rewriteAsf(stream, field, alias, c.value, text ? -1 : c.rating);
        }
        case Kind::Mp4: {
            if (!headerHolds(stream, kind)) return false;
            TagLib::MP4::File f(&stream, true);
            if (!f.isValid() || !text || !savesEveryItem(*f.tag())) return false;
            applyMp4(f.tag(), c);
            return f.save();
        }
        default:
            return false;
    }
}

}  // namespace

struct TagMediaItem::Values {
    Kind kind = Kind::NotMedia;
    bool exists = false;
    int64_t mtime = 0;
    int64_t size = -1;
    std::string title, artist, album, comment, genre, date, rating, bitrate, filesize;
    std::string mediaType;
    bool mediaTypeKnown = false;
    double duration = 0;
    bool tagsWritable = false;
    bool ratingWritable = false;
};

std::string userRatingFromPopm(int b) {
    if (b <= 0) return "0";
    if (b <= 31) return "1";
    if (b <= 95) return "25";
    if (b <= 159) return "50";
    if (b <= 223) return "75";
    return "99";
}

int popmFromUserRating(int v) {
    if (v <= 0) return 0;
    if (v <= 12) return 1;
    if (v <= 37) return 64;
    if (v <= 62) return 128;
    if (v <= 86) return 196;
    return 255;
}

TagMediaItem::TagMediaItem(std::string path) : path_(std::move(path)), v_(std::make_unique<Values>()) {
    setUpTagLib();
    read();
}

TagMediaItem::~TagMediaItem() = default;

bool TagMediaItem::exists() const { return v_->exists; }

bool TagMediaItem::matchesDisk() const {
    struct stat st;
    if (stat(path_.c_str(), &st) != 0) return !v_->exists;
    return v_->exists && S_ISREG(st.st_mode) && mtimeNs(st) == v_->mtime && st.st_size == v_->size;
}

namespace {

using Values = TagMediaItem::Values;

// What one read gathers besides the values: libavformat's probe, once it
// ran, and what TagLib told.
struct Reading {
    av::Probe probe;
    bool probed = false;
    bool taglibRead = false;
    int64_t taglibBitrate = 0;
};

// The text tags TagLib found: the container's own, and those of an older tag
// that fill in what the first lacks.
struct FoundTags {
    TagLib::PropertyMap pm, fallback;
};

// The file's existence, modification time and size. False when nothing more
// is to be read: the file is missing, not media, empty or MIDI.
bool readFileStatus(const std::string& path, Values& v, struct stat& st) {
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        v.mediaTypeKnown = true;
        return false;
    }
    v.exists = true;
    v.mtime = mtimeNs(st);
    v.size = st.st_size;
    if (v.kind == Kind::NotMedia) {
        v.mediaTypeKnown = true;
        return false;
    }
    v.filesize = std::to_string(st.st_size);
    if (st.st_size == 0) {
        v.mediaTypeKnown = true;
        return false;
    }
    if (v.kind == Kind::Midi) return false;
    return true;
}

void probeOnce(const std::string& path, Reading& r) {
    if (r.probed) return;
    r.probe = av::probeFile(path);
    r.probed = true;
}

// The texts and the rating of a file's ID3v2 tag, when it has one.
void takeId3v2(TagLib::ID3v2::Tag* t2, Values& v, FoundTags& found) {
    if (t2) found.pm = t2->properties();
    if (auto* popm = ratingFrame(t2)) v.rating = userRatingFromPopm(popm->rating());
}

// Bits a second of uncompressed samples.
int64_t pcmBitrate(int sampleRate, int channels, int bitsPerSample) {
    return static_cast<int64_t>(sampleRate) * channels * bitsPerSample;
}

// MPEG audio: the ID3v2 tag, with the ID3v1 tag filling in.
std::unique_ptr<TagLib::File> readMpeg(TagLib::IOStream& stream, Values& v, FoundTags& found) {
    auto* f = new TagLib::MPEG::File(&stream, TagLib::ID3v2::FrameFactory::instance(), true);
    std::unique_ptr<TagLib::File> file(f);
    if (f->isValid()) {
        takeId3v2(f->hasID3v2Tag() ? f->ID3v2Tag() : nullptr, v, found);
        if (f->hasID3v1Tag()) found.fallback = f->ID3v1Tag()->properties();
    }
    return file;
}

// WAV: the ID3v2 chunk, with the INFO list filling in; the bit rate of PCM.
std::unique_ptr<TagLib::File> readWav(TagLib::IOStream& stream, Values& v, FoundTags& found, Reading& r) {
    auto* f = new TagLib::RIFF::WAV::File(&stream, true);
    std::unique_ptr<TagLib::File> file(f);
    if (f->isValid()) {
        takeId3v2(f->hasID3v2Tag() ? f->ID3v2Tag() : nullptr, v, found);
        if (f->hasInfoTag()) {
            TagLib::RIFF::Info::Tag* info = f->InfoTag();
            for (const TextField& k : kTextFields) {
                TagLib::String s = info->fieldText(k.info);
                if (!s.isEmpty()) found.fallback.replace(k.key, TagLib::StringList(s));
            }
        }
        const auto* p = f->audioProperties();
        if (p && p->format() == 1 && p->bitsPerSample() > 0)
            r.taglibBitrate = pcmBitrate(p->sampleRate(), p->channels(), p->bitsPerSample());
    }
    return file;
}

// AIFF: the ID3v2 chunk; the bit rate of plain AIFF's samples (AIFF-C's
// may be compressed).
std::unique_ptr<TagLib::File> readAiff(TagLib::IOStream& stream, Values& v, FoundTags& found, Reading& r) {
    auto* f = new TagLib::RIFF::AIFF::File(&stream, true);
    std::unique_ptr<TagLib::File> file(f);
    if (f->isValid()) {
        takeId3v2(f->hasID3v2Tag() ? f->tag() : nullptr, v, found);
        const auto* p = f->audioProperties();
        if (p && !p->isAiffC() && p->bitsPerSample() > 0)
            r.taglibBitrate = pcmBitrate(p->sampleRate(), p->channels(), p->bitsPerSample());
    }
    return file;
}

// ASF: its tags and its rating attribute.
std::unique_ptr<TagLib::File> readAsf(TagLib::IOStream& stream, Values& v, FoundTags& found) {
    auto* f = new TagLib::ASF::File(&stream, true);
    std::unique_ptr<TagLib::File> file(f);
    if (f->isValid()) {
        found.pm = f->tag()->properties();
        v.rating = asfRating(f->tag());
    }
    return file;
}

// MP4: its items; it holds no rating.
std::unique_ptr<TagLib::File> readMp4(TagLib::IOStream& stream, FoundTags& found) {
    auto* f = new TagLib::MP4::File(&stream, true);
    std::unique_ptr<TagLib::File> file(f);
    if (f->isValid()) found.pm = f->tag()->properties();
    return file;
}

// Opens the file with TagLib's class for its kind, which reads its tags, its
// rating and an uncompressed file's bit rate; nullptr for the kinds TagLib
// does not take.
std::unique_ptr<TagLib::File> readTagLibFormat(TagLib::IOStream& stream, Values& v, FoundTags& found, Reading& r) {
    switch (v.kind) {
        case Kind::Mpeg: return readMpeg(stream, v, found);
        case Kind::Wav: return readWav(stream, v, found, r);
        case Kind::Aiff: return readAiff(stream, v, found, r);
        case Kind::Asf: return readAsf(stream, v, found);
        case Kind::Mp4: return readMp4(stream, found);
        default: return nullptr;
    }
}

// The text tags, duration and bit rate of a file TagLib read, and whether
// its tags and rating can be written.
void takeTagLibValues(TagLib::File& file, const FoundTags& found, Values& v, Reading& r) {
    r.taglibRead = true;
    auto pick = [&](const char* key) {
        std::string s = prop(found.pm, key);
        return s.empty() ? prop(found.fallback, key) : s;
    };
    v.title = pick("TITLE");
    v.artist = pick("ARTIST");
    v.album = pick("ALBUM");
    v.comment = pick("COMMENT");
    v.genre = pick("GENRE");
    v.date = pick("DATE");
    if (const TagLib::AudioProperties* p = file.audioProperties()) {
        v.duration = p->lengthInMilliseconds() / 1000.0;
        // TagLib takes an ASF file's audio properties from its last stream,
        // of whatever kind: after a video stream they hold the picture's size
        // and no channels, and the bit rate is left to libavformat.
        const bool fromVideo = v.kind == Kind::Asf && p->channels() == 0;
        if (r.taglibBitrate == 0 && !fromVideo) r.taglibBitrate = static_cast<int64_t>(p->bitrate()) * 1000;
    }
    v.tagsWritable = taglibWritable(v.kind) && (v.kind == Kind::Asf || v.kind == Kind::Mp4 || hasAudio(file));
    v.ratingWritable = v.tagsWritable && hasRating(v.kind);
}

// TagLib's read of the formats it takes. False when the file's header
// announces more than it holds: then nothing more is read.
bool readWithTagLib(const std::string& path, Values& v, Reading& r) {
    TagLib::FileStream stream(path.c_str(), true);
    // Neither library reads a file whose header announces more than it
    // holds: libavformat too walks an ASF header's counts one by one.
    if (stream.isOpen() && !headerHolds(stream, v.kind)) {
        v.mediaTypeKnown = true;
        return false;
    }
    if (stream.isOpen()) {
        FoundTags found;
        std::unique_ptr<TagLib::File> file = readTagLibFormat(stream, v, found, r);
        if (file && file->isValid()) takeTagLibValues(*file, found, v, r);
        file.reset();  // before the stream it reads from
    }
    return true;
}

// libavformat: the whole read for the containers TagLib does not take,
// and duration and bit rate where TagLib could not tell them.
void readWithLibav(const std::string& path, Values& v, Reading& r) {
    if (!r.taglibRead || v.duration <= 0 || r.taglibBitrate <= 0) {
        probeOnce(path, r);
        const av::Probe& probe = r.probe;
        if (probe.opened) {
            if (v.duration <= 0) v.duration = probe.duration;
            if (r.taglibBitrate <= 0) r.taglibBitrate = probe.bitRate;
            if (!r.taglibRead) {
                v.title = probe.title;
                v.artist = probe.artist;
                v.album = probe.album;
                v.comment = probe.comment;
                v.genre = probe.genre;
                v.date = probe.date;
            }
        }
    }
}

// The media type when libavformat looked at the file, the bit rate when
// known, and no duration rather than a nonsensical one.
void settleTypeRateAndDuration(Values& v, const Reading& r) {
    if (r.probed) {
        v.mediaType = av::mediaTypeOf(r.probe);
        v.mediaTypeKnown = true;
    }
    if (r.taglibBitrate > 0) v.bitrate = std::to_string(r.taglibBitrate);
    if (!(v.duration > 0) || !std::isfinite(v.duration)) v.duration = 0;
}

}  // namespace

void TagMediaItem::read() {
    Values& v = *v_;
    v = Values();
    v.kind = kindOf(path_);
    struct stat st;
    if (!readFileStatus(path_, v, st)) return;

    Reading r;
    if (v.kind == Kind::MpegIfAudio) {
        probeOnce(path_, r);
        v.kind = r.probe.mpegAudioOnly ? Kind::Mpeg : Kind::AvOnly;
    }
    if (v.kind != Kind::AvOnly && !readWithTagLib(path_, v, r)) return;
    // A file without write permission is read-only, also for a user whom the
    // system would let write it anyway.
    if (r.taglibRead && (access(path_.c_str(), W_OK) != 0 || (st.st_mode & 0222) == 0))
        v.tagsWritable = v.ratingWritable = false;

    readWithLibav(path_, v, r);
    settleTypeRateAndDuration(v, r);
}

std::string TagMediaItem::getItemInfo(const std::string& name) {
    Values& v = *v_;
    if (name == "Title") return v.title;
    if (name == "Artist") return v.artist;
    if (name == "Album") return v.album;
    if (name == "Comment") return v.comment;
    if (name == "Genre") return v.genre;
    if (name == "WM/Year" || name == "Year") {
        if (v.date.size() >= 4 && std::isdigit(static_cast<unsigned char>(v.date[0])) &&
            std::isdigit(static_cast<unsigned char>(v.date[1])) && std::isdigit(static_cast<unsigned char>(v.date[2])) &&
            std::isdigit(static_cast<unsigned char>(v.date[3])))
            return v.date.substr(0, 4);
        return v.date;
    }
    if (name == "Bitrate") return v.bitrate;
    if (name == "Filesize") return v.filesize;
    if (name == "UserRating") return v.rating;
    if (name == "MediaType") {
        if (!v.mediaTypeKnown) {
            v.mediaType = av::mediaTypeOf(av::probeFile(path_));
            v.mediaTypeKnown = true;
        }
        return v.mediaType;
    }
    return {};
}

bool TagMediaItem::isReadOnlyItem(const std::string& name) {
    if (name == "UserRating") return !v_->ratingWritable;
    if (*textKey(name)) return !v_->tagsWritable;
    return true;
}

bool TagMediaItem::setItemInfo(const std::string& name, const std::string& value) {
    return setItemInfos({{name, value}}).empty();
}

std::vector<std::string> TagMediaItem::setItemInfos(const std::vector<std::pair<std::string, std::string>>& values) {
    // A file changed since it was read is judged by what it holds now.
    if (!matchesDisk()) read();
    std::vector<std::string> failed, changed;
    std::vector<Change> changes;
    for (const auto& [name, value] : values) {
        Change c;
        const Asked asked = ask(*this, name, value, c);
        if (asked == Asked::Refused) failed.push_back(name);
        if (asked != Asked::Changed) continue;
        changed.push_back(name);
        changes.push_back(c);
    }
    if (changes.empty()) return failed;
    const Kind kind = v_->kind;
    const bool ok = tagwrite::editMediaFile(path_, [&](TagLib::IOStream& s) {
        return std::all_of(changes.begin(), changes.end(), [&](const Change& c) { return writeChange(s, kind, c); });
    });
    read();
    if (!ok) failed.insert(failed.end(), changed.begin(), changed.end());
    return failed;
}

double TagMediaItem::duration() { return v_->duration; }

std::string TagMediaItem::sourceURL() {
    // A path from Windows ("C:/Music/a.mp3") or a URL is no name relative
    // to this folder: it stays as it was given.
    const bool keptAsText = (path_.size() >= 2 && std::isalpha(static_cast<unsigned char>(path_[0])) &&
                             path_[1] == ':') ||
                            path_.find("://") != std::string::npos;
    if (!path_.empty() && path_[0] != '/' && !keptAsText) {
        std::error_code ec;
        auto abs = std::filesystem::absolute(path_, ec);
        if (!ec) return abs.string();
    }
    return path_;
}

TagMediaReader::TagMediaReader() { setUpTagLib(); }

std::shared_ptr<MediaItem> TagMediaReader::newMedia(const std::string& path) {
    auto it = cache_.find(path);
    if (it != cache_.end()) {
        if (it->second->exists() && it->second->matchesDisk()) return it->second;
        cache_.erase(it);
    }
    auto item = std::make_shared<TagMediaItem>(path);
    if (item->exists()) {
        if (cache_.size() >= kCacheLimit) cache_.clear();
        cache_.emplace(path, item);
    }
    return item;
}

}  // namespace tarvolin
