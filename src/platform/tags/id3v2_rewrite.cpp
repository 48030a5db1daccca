#include "platform/tags/id3v2_rewrite.h"

#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2synchdata.h>
#include <taglib/id3v2tag.h>
#include <taglib/popularimeterframe.h>
#include <taglib/tpropertymap.h>

#include <memory>
#include <vector>

namespace tarvolin::id3v2 {

const char* const kRatingEmail = "Windows Media Player 9 Series";

namespace {

using TagLib::ByteVector;

constexpr std::size_t kHeaderSize = 10;
// Room left after a tag that had to grow, so that the next writes fit.
constexpr std::size_t kPadding = 1024;
// The most that the header's syncsafe size holds.
constexpr std::size_t kLargest = (std::size_t(1) << 28) - 1;

// Frame ids by field and tag version (2.2, 2.3, 2.4).
struct FieldIds {
    const char* key;
    const char* ids[3];
};
constexpr FieldIds kFieldIds[] = {
    {"TITLE", {"TT2", "TIT2", "TIT2"}}, {"ARTIST", {"TP1", "TPE1", "TPE1"}},  {"ALBUM", {"TAL", "TALB", "TALB"}},
    {"GENRE", {"TCO", "TCON", "TCON"}}, {"COMMENT", {"COM", "COMM", "COMM"}}, {"DATE", {"TYE", "TYER", "TDRC"}},
};
constexpr const char* kRatingIds[3] = {"POP", "POPM", "POPM"};
// The frames that hold parts of a date, in every version: a new date
// replaces them all, so that no older year is read in its place.
constexpr const char* kDateIds[] = {"TYE", "TDA", "TIM", "TRD", "TYER", "TDAT", "TIME", "TRDA", "TDRC"};

unsigned bigEndian(const ByteVector& b, std::size_t at, int count, int bits = 8) {
    unsigned v = 0;
    for (int i = 0; i < count; ++i) v = (v << bits) | static_cast<unsigned char>(b[static_cast<unsigned>(at) + i]);
    return v;
}

bool syncsafe(const ByteVector& b, std::size_t at) {
    for (unsigned i = 0; i < 4; ++i)
        if (static_cast<unsigned char>(b[static_cast<unsigned>(at) + i]) & 0x80) return false;
    return true;
}

// A frame of the tag: where it begins and its whole size, header included.
struct Frame {
    std::size_t at, size;
};

// The frames of a whole tag, when everything after its header reads as
// frames followed by zeros and nothing asks for what this cannot keep.
std::optional<std::vector<Frame>> framesOf(const ByteVector& tag, int version) {
    const unsigned flags = static_cast<unsigned char>(tag[5]);
    // Unsynchronisation; compression (2.2) or an extended header; a footer.
    if (version < 2 || version > 4 || static_cast<unsigned char>(tag[4]) == 0xFF || (flags & 0xD0) != 0 ||
        tagSize(tag) != tag.size())
        return std::nullopt;
    const std::size_t head = version == 2 ? 6 : 10, idSize = version == 2 ? 3 : 4;
    std::vector<Frame> frames;
    std::size_t at = kHeaderSize;
    while (at < tag.size() && tag[static_cast<unsigned>(at)] != 0) {
        if (tag.size() - at < head) return std::nullopt;
        for (std::size_t i = 0; i < idSize; ++i) {
            const char c = tag[static_cast<unsigned>(at + i)];
            if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return std::nullopt;
        }
        if (version == 4 && !syncsafe(tag, at + 4)) return std::nullopt;
        const unsigned from = static_cast<unsigned>(at);
        const std::size_t size = version == 2   ? tag.toUInt(from + 3, 3, true)
                                 : version == 4 ? TagLib::ID3v2::SynchData::toUInt(tag.mid(from + 4, 4))
                                                : tag.toUInt(from + 4, true);
        if (size == 0 || size > tag.size() - at - head) return std::nullopt;
        frames.push_back({at, head + size});
        at += head + size;
    }
    for (; at < tag.size(); ++at)
        if (tag[static_cast<unsigned>(at)] != 0) return std::nullopt;
    return frames;
}

ByteVector frameBytes(int version, const ByteVector& id, const ByteVector& flags, const ByteVector& body) {
    ByteVector out = id;
    if (version == 2)
        out.append(ByteVector::fromUInt(body.size(), true).mid(1));
    else if (version == 4)
        out.append(TagLib::ID3v2::SynchData::fromUInt(body.size()));
    else
        out.append(ByteVector::fromUInt(body.size(), true));
    if (version > 2) out.append(flags.size() == 2 ? flags : ByteVector(2, '\0'));
    out.append(body);
    return out;
}

ByteVector utf16(const std::string& text) {
    return TagLib::String(text, TagLib::String::UTF8).data(TagLib::String::UTF16);
}

// A new frame of the field with one value, in UTF-16; a comment has no
// description and the language given.
ByteVector textFrame(int version, const Change& c, const ByteVector& language) {
    const char* id = "";
    for (const FieldIds& f : kFieldIds)
        if (c.key == f.key) id = f.ids[version - 2];
    ByteVector body(1, '\x01');
    if (c.key == "COMMENT") {
        body.append(language);
        body.append(utf16(""));
        body.append(ByteVector(2, '\0'));
    }
    body.append(utf16(c.value));
    return frameBytes(version, id, {}, body);
}

bool isDateId(const ByteVector& id) {
    for (const char* d : kDateIds)
        if (id == d) return true;
    return false;
}

// Whether the frame, as TagLib reads it, holds what the change replaces: the
// program's POPM frame, or a value of the field.
bool holds(std::unique_ptr<TagLib::ID3v2::Frame> frame, const ByteVector& id, const Change& c) {
    if (c.key.empty()) {
        const auto* popm = dynamic_cast<const TagLib::ID3v2::PopularimeterFrame*>(frame.get());
        return popm && popm->email() == kRatingEmail;
    }
    if (c.key == "DATE" && isDateId(id)) return true;
    // What a tag of this frame alone reads as.
    TagLib::ID3v2::Tag alone;
    alone.addFrame(frame.release());
    return alone.properties().contains(c.key);
}

}  // namespace

std::size_t tagSize(const ByteVector& header) {
    if (header.size() < kHeaderSize || !header.startsWith("ID3") || !syncsafe(header, 6)) return 0;
    const bool footer = header[3] == 4 && (static_cast<unsigned char>(header[5]) & 0x10);
    return kHeaderSize + bigEndian(header, 6, 4, 7) + (footer ? kHeaderSize : 0);
}

std::optional<ByteVector> rewrite(const ByteVector& old, const Change& c, std::size_t room) {
    const ByteVector fresh("ID3\x03\x00\x00\x00\x00\x00\x00", 10);
    const ByteVector& tag = old.isEmpty() ? fresh : old;
    if (tag.size() < kHeaderSize) return std::nullopt;
    const int version = tag[3];
    const std::optional<std::vector<Frame>> frames = framesOf(tag, version);
    if (!frames) return std::nullopt;

    const std::size_t head = version == 2 ? 6 : 10;
    const TagLib::ID3v2::Header header(tag.mid(0, kHeaderSize));
    const bool rating = c.key.empty();
    ByteVector kept, replacement, language("XXX");
    bool replaced = false;
    for (const Frame& fr : *frames) {
        const ByteVector raw = tag.mid(static_cast<unsigned>(fr.at), static_cast<unsigned>(fr.size));
        // What TagLib reads from the frame; a frame it cannot read ends its
        // reading of the tag, so the tag is left alone.
        std::unique_ptr<TagLib::ID3v2::Frame> frame(TagLib::ID3v2::FrameFactory::instance()->createFrame(raw, &header));
        if (!frame || frame->size() == 0) return std::nullopt;
        const ByteVector id = raw.mid(0, version == 2 ? 3 : 4);
        const ByteVector flags = version == 2 ? ByteVector() : raw.mid(8, 2);
        // Compression, encryption, grouping, unsynchronisation, data length.
        const bool plain = version == 2 || (static_cast<unsigned char>(flags[1]) & (version == 3 ? 0xE0 : 0x4F)) == 0;
        if (!holds(std::move(frame), id, c)) {
            kept.append(raw);
            continue;
        }
        if (replaced) continue;
        replaced = true;
        if (rating) {
            // The rating byte follows the e-mail; the play counter after it stays.
            ByteVector body = raw.mid(static_cast<unsigned>(head));
            const int end = body.find(ByteVector(1, '\0'));
            if (!plain || end < 0) return std::nullopt;
            if (static_cast<unsigned>(end) + 1 < body.size())
                body[static_cast<unsigned>(end) + 1] = static_cast<char>(c.popm);
            else
                body.append(static_cast<char>(c.popm));
            replacement = frameBytes(version, id, flags, body);
        } else {
            if (c.key == "COMMENT" && plain && raw.size() >= head + 4)
                language = raw.mid(static_cast<unsigned>(head) + 1, 3);
            if (!c.value.empty()) replacement = textFrame(version, c, language);
        }
        kept.append(replacement);
    }
    if (!replaced && rating) {
        ByteVector body(kRatingEmail);
        body.append('\0');
        body.append(static_cast<char>(c.popm));
        body.append(ByteVector(4, '\0'));  // no plays counted
        kept.append(frameBytes(version, kRatingIds[version - 2], {}, body));
    } else if (!replaced && !c.value.empty()) {
        kept.append(textFrame(version, c, language));
    }

    const std::size_t used = kHeaderSize + kept.size();
    const std::size_t total = used <= room ? room : used + kPadding;
    if (total - kHeaderSize > kLargest) return std::nullopt;
    ByteVector out = tag.mid(0, 6);
    out.append(TagLib::ID3v2::SynchData::fromUInt(static_cast<unsigned>(total - kHeaderSize)));
    out.append(kept);
    out.resize(static_cast<unsigned>(total), '\0');
    return out;
}

}  // namespace tarvolin::id3v2
