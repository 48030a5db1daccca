#include "platform/tags/tag_layout.h"

#include <taglib/rifffile.h>
#include <taglib/tiostream.h>
#include <taglib/tstring.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tarvolin::taglayout {

namespace {

using TagLib::ByteVector;

// Room left after a chunk or header that had to grow.
constexpr unsigned kPadding = 1024;
constexpr unsigned kChunkHeader = 8;
constexpr unsigned kAsfObjectHeader = 24;

ByteVector readAt(TagLib::IOStream& s, long at, unsigned long length) {
    s.seek(at);
    return s.readBlock(length);
}

// A chunk: where its header begins, its name, its data's size and whether a
// pad byte follows.
struct Chunk {
    long at;
    ByteVector id;
    unsigned size, pad;
    long end() const { return at + kChunkHeader + size + pad; }
};

// TagLib's own walk of a RIFF or AIFF stream's chunks, which decides where
// it finds the tags: a pad byte after an odd-sized chunk is one when it is
// zero or when a chunk name follows it.
class RiffWalk : public TagLib::RIFF::File {
public:
    RiffWalk(TagLib::IOStream* s, bool bigEndian) : File(s, bigEndian ? BigEndian : LittleEndian) {}
    TagLib::Tag* tag() const override { return nullptr; }
    TagLib::AudioProperties* audioProperties() const override { return nullptr; }
    bool save() override { return false; }
    std::vector<Chunk> chunks() const {
        std::vector<Chunk> out;
        for (unsigned i = 0; i < chunkCount(); ++i)
            out.push_back({static_cast<long>(chunkOffset(i)) - static_cast<long>(kChunkHeader), chunkName(i),
                           chunkDataSize(i), chunkPadding(i)});
        return out;
    }
};

// The chunks after the container's header, as TagLib finds them.
std::vector<Chunk> chunksOf(TagLib::IOStream& s, bool bigEndian) {
    s.seek(0);  // where TagLib begins
    return RiffWalk(&s, bigEndian).chunks();
}

// The names and sizes of chunks, to compare walks by.
using ChunkSet = std::multiset<std::pair<std::string, unsigned>>;
void addChunk(ChunkSet& set, const ByteVector& id, unsigned size) { set.emplace(std::string(id.data(), 4), size); }

ByteVector chunk(const ByteVector& id, const ByteVector& data, bool bigEndian) {
    ByteVector out = id;
    out.append(ByteVector::fromUInt(data.size(), bigEndian));
    out.append(data);
    if (data.size() % 2) out.append('\0');
    return out;
}

ByteVector junk(unsigned size) { return chunk("JUNK", ByteVector(size - kChunkHeader, '\0'), false); }

// The LIST chunk of `info` filling `room` bytes: what is left goes to a JUNK
// chunk, or a few bytes to the end of the last text; when it does not fit,
// a JUNK chunk leaves room for the next writes.
ByteVector infoIn(ByteVector info, unsigned room) {
    const unsigned size = info.isEmpty() ? 0 : kChunkHeader + ((info.size() + 1) & ~1u);
    if (size < room && room - size < kChunkHeader && !info.isEmpty()) {
        // The last field's text takes zeros after its end.
        unsigned last = 4;
        for (unsigned at = 4; at + kChunkHeader <= info.size();
             at += kChunkHeader + ((info.toUInt(at + 4, false) + 1) & ~1u))
            last = at;
        const unsigned more = room - size;
        info = info.mid(0, last + 4) + ByteVector::fromUInt(info.toUInt(last + 4, false) + more, false) +
               info.mid(last + kChunkHeader) + ByteVector(more, '\0');
    }
    ByteVector out = info.isEmpty() ? ByteVector() : chunk("LIST", info, false);
    if (out.size() == room) return out;
    if (out.size() + kChunkHeader <= room) return out + junk(room - out.size());
    return out + junk(kPadding);
}

// ASF objects: a GUID, a 64-bit size, the data.
const ByteVector kAsfPadding("\x74\xD4\x06\x18\xDF\xCA\x09\x45\xA4\xBA\x9A\xAB\xCB\x96\xAA\xE8", 16);
const ByteVector kContentDescription("\x33\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16);
const ByteVector kExtendedContentDescription("\x40\xA4\xD0\xD2\x07\xE3\xD2\x11\x97\xF0\x00\xA0\xC9\x5E\xA8\x50", 16);
const ByteVector kHeaderExtension("\xB5\x03\xBF\x5F\x2E\xA9\xCF\x11\x8E\xE3\x00\xC0\x0C\x20\x53\x65", 16);
const ByteVector kMetadata("\xEA\xCB\xF8\xC5\xAF\x5B\x77\x48\x84\x67\xAA\x8C\x44\xFA\x4C\xCA", 16);
const ByteVector kMetadataLibrary("\x94\x1C\x23\x44\x98\x94\xD1\x49\xA1\x41\x1D\x13\x4E\x45\x70\x54", 16);

struct AsfObject {
    unsigned at, size;
    ByteVector guid;
};

// The objects from `from` to `to`, when they fill it exactly.
std::optional<std::vector<AsfObject>> asfObjects(const ByteVector& b, unsigned from, unsigned to) {
    std::vector<AsfObject> objects;
    while (from < to) {
        const auto size =
            to - from < kAsfObjectHeader ? 0 : static_cast<unsigned long long>(b.toLongLong(from + 16, false));
        if (size < kAsfObjectHeader || size > to - from) return std::nullopt;
        objects.push_back({from, static_cast<unsigned>(size), b.mid(from, 16)});
        from += static_cast<unsigned>(size);
    }
    return objects;
}

ByteVector asfObject(const ByteVector& guid, const ByteVector& data) {
    return guid + ByteVector::fromLongLong(data.size() + kAsfObjectHeader, false) + data;
}

ByteVector word(unsigned v) { return ByteVector::fromShort(static_cast<short>(v), false); }

// A UTF-16LE name with its ASCII letters in lower case: readers take
// attribute names in any case.
ByteVector folded(ByteVector name) {
    for (unsigned i = 0; i + 1 < name.size(); i += 2)
        if (name[i + 1] == 0 && name[i] >= 'A' && name[i] <= 'Z') name[i] = static_cast<char>(name[i] + 'a' - 'A');
    return name;
}

// The attribute records of an extended content description, or of a
// metadata (library) object, without those of the two names (folded).
std::optional<ByteVector> withoutAttribute(const ByteVector& body, const ByteVector (&names)[2], bool metadata) {
    if (body.size() < 2) return std::nullopt;
    const unsigned count = body.toUShort(0, false);
    ByteVector kept;
    unsigned left = 0, at = 2;
    for (unsigned i = 0; i < count; ++i) {
        // metadata: language, stream, name size, type, value size; else
        // name size, name, type, value size.
        const unsigned fixed = metadata ? 12 : 2;
        if (at + fixed > body.size()) return std::nullopt;
        const unsigned nameSize = body.toUShort(metadata ? at + 4 : at, false);
        const unsigned nameAt = at + fixed;
        if (!metadata && nameAt + nameSize + 4 > body.size()) return std::nullopt;
        const unsigned valueSize = metadata ? body.toUInt(at + 8, false) : body.toUShort(nameAt + nameSize + 2, false);
        const unsigned end = nameAt + nameSize + (metadata ? 0 : 4) + valueSize;
        if (end > body.size() || end < at) return std::nullopt;
        ByteVector raw = body.mid(nameAt, nameSize);
        while (raw.endsWith(ByteVector(2, '\0'))) raw.resize(raw.size() - 2);
        if (folded(raw) != names[0] && folded(raw) != names[1]) {
            kept.append(body.mid(at, end - at));
            ++left;
        }
        at = end;
    }
    if (at != body.size()) return std::nullopt;
    return word(left) + kept;
}

// The header made exactly `room` bytes long through its padding object,
// when that fits; otherwise given padding for later changes.
ByteVector asfPadded(const ByteVector& header, std::size_t room) {
    unsigned padAt = 0, padSize = 0;
    for (const AsfObject& o : asfObjects(header, 30, header.size()).value_or(std::vector<AsfObject>()))
        if (o.guid == kAsfPadding) {
            padAt = o.at;
            padSize = o.size;
            break;
        }
    long long pad = static_cast<long long>(room) - (static_cast<long long>(header.size()) - padSize);
    if (pad != 0 && pad < kAsfObjectHeader) pad = kPadding;
    if (pad == padSize) return header;
    const ByteVector padding =
        pad == 0 ? ByteVector()
                 : asfObject(kAsfPadding, ByteVector(static_cast<unsigned>(pad) - kAsfObjectHeader, '\0'));
    const ByteVector out = padAt ? header.mid(0, padAt) + padding + header.mid(padAt + padSize) : header + padding;
    const unsigned objects = header.toUInt(24, false) + (padAt ? 0 : 1) - (pad == 0 ? 1 : 0);
    return out.mid(0, 16) + ByteVector::fromLongLong(out.size(), false) + ByteVector::fromUInt(objects, false) +
           out.mid(28);
}

// Atoms whose data are atoms, as TagLib reads them, and the bytes before
// their first atom.
long long mp4ChildrenAt(const ByteVector& name, const ByteVector& data) {
    static const char* const containers[] = {"moov", "udta", "mdia", "ilst", "stbl", "minf",
                                             "moof", "traf", "trak", "meta", "stsd"};
    if (std::none_of(std::begin(containers), std::end(containers), [&](const char* c) { return name == c; }))
        return -1;
    if (name == "stsd") return 8;
    // A meta atom of version and flags, or (QuickTime's) of atoms at once.
    if (name == "meta") {
        static const char* const children[] = {"hdlr", "ilst", "mhdr", "ctry", "lang"};
        const ByteVector second = data.mid(4, 4);
        return std::any_of(std::begin(children), std::end(children), [&](const char* c) { return second == c; }) ? 0
                                                                                                                : 4;
    }
    return 0;
}

// The atoms from `from` to `to` (the file's end when top), depth levels in.
bool mp4AtomsHold(TagLib::IOStream& s, long long from, long long to, bool top, int depth) {
    if (depth > 32) return false;
    for (long long at = from; at + kChunkHeader <= to;) {
        const ByteVector head = readAt(s, static_cast<long>(at), 24);
        const ByteVector name = head.mid(4, 4);
        long long size = head.toUInt(0, true);
        unsigned header = kChunkHeader;
        if (size == 1) {
            size = head.size() < 16 ? 0 : head.toLongLong(8, true);
            header = 16;
        } else if (size == 0 && top) {
            size = to - at;
        }
        if (size < header) return false;
        const long long children = mp4ChildrenAt(name, head.mid(header));
        if (size > to - at) return top && children < 0;  // a last atom cut short
        if (name == "stco" || name == "co64") {
            // Version and flags, the count, the entries.
            const long long count = readAt(s, static_cast<long>(at + header + 4), 4).toUInt(true);
            if (size < header + 8 || count > (size - header - 8) / (name == "stco" ? 4 : 8)) return false;
        }
        if (children >= 0 && !mp4AtomsHold(s, at + header + children, at + size, false, depth + 1)) return false;
        at += size;
    }
    return true;
}

// The objects of an ASF header from `from` to `to` (within the header
// extension when inner).
bool asfObjectsHold(const ByteVector& b, unsigned from, unsigned to, bool inner) {
    for (unsigned at = from; at + kAsfObjectHeader <= to;) {
        const auto size = static_cast<unsigned long long>(b.toLongLong(at + 16, false));
        if (size < kAsfObjectHeader || size > to - at) return false;
        const ByteVector guid = b.mid(at, 16);
        const unsigned body = at + kAsfObjectHeader, room = static_cast<unsigned>(size) - kAsfObjectHeader;
        // The number of records a body announces before them, and the
        // fewest bytes of each.
        const auto holds = [&](unsigned before, unsigned long long count, unsigned least) {
            return room >= before && count * least <= room - before;
        };
        const auto word = [&](unsigned i) { return room >= i + 2 ? b.toUShort(body + i, false) : 0u; };
        if (guid == kContentDescription && !holds(10, word(0) + word(2) + word(4) + word(6) + word(8), 1))
            return false;
        if (guid == kExtendedContentDescription && !holds(2, word(0), 6)) return false;
        if ((guid == kMetadata || guid == kMetadataLibrary) && !holds(2, word(0), 12)) return false;
        if (guid == kHeaderExtension && !inner) {
            const unsigned long long inside = room >= 22 ? b.toUInt(body + 18, false) : ~0ull;
            if (!holds(22, inside, 1) ||
                !asfObjectsHold(b, body + 22, body + 22 + static_cast<unsigned>(inside), true))
                return false;
        }
        at += static_cast<unsigned>(size);
    }
    return true;
}

}  // namespace

bool mp4Holds(TagLib::IOStream& s) { return mp4AtomsHold(s, 0, s.length(), true, 0); }

bool asfHolds(TagLib::IOStream& s) {
    const ByteVector top = readAt(s, 0, 30);
    const auto size = top.size() < 30 ? 0ull : static_cast<unsigned long long>(top.toLongLong(16, false));
    if (size < 30 || size > static_cast<unsigned long long>(std::max(0L, s.length()))) return false;
    if (top.toUInt(24, false) > (size - 30) / kAsfObjectHeader) return false;
    const ByteVector header = readAt(s, 0, static_cast<unsigned long>(size));
    return header.size() == size && asfObjectsHold(header, 30, header.size(), false);
}

bool rewriteLeadingTag(TagLib::IOStream& s, bool taglibFoundTag, const id3v2::Change& change) {
    const std::size_t room = id3v2::tagSize(readAt(s, 0, 10));
    if (room == 0 && taglibFoundTag) return false;
    const auto tag = id3v2::rewrite(room ? readAt(s, 0, room) : ByteVector(), change, room);
    if (!tag) return false;
    s.insert(*tag, 0, room);
    return true;
}

bool rewriteChunks(TagLib::IOStream& s, bool bigEndian, const id3v2::Change& change, const ByteVector* info) {
    const std::vector<Chunk> chunks = chunksOf(s, bigEndian);
    struct Splice {
        long at;
        unsigned long length;
        ByteVector bytes;
    };
    std::vector<Splice> splices;

    const auto id3 =
        std::find_if(chunks.begin(), chunks.end(), [](const Chunk& c) { return c.id == "ID3 " || c.id == "id3 "; });
    if (id3 != chunks.end()) {
        const ByteVector data = readAt(s, id3->at + kChunkHeader, id3->size);
        const std::size_t size = id3v2::tagSize(data);
        const auto tag = size > 0 && size <= data.size()
                             ? id3v2::rewrite(data.mid(0, static_cast<unsigned>(size)), change, data.size())
                             : std::nullopt;
        if (!tag) return false;
        splices.push_back({id3->at, static_cast<unsigned long>(id3->end() - id3->at), chunk(id3->id, *tag, bigEndian)});
    } else {
        const auto tag = id3v2::rewrite({}, change, 0);
        if (!tag) return false;
        // After the last chunk, on an even offset.
        const long end = chunks.empty() ? 12 : chunks.back().end();
        splices.push_back({end, 0, (end % 2 ? ByteVector(1, '\0') : ByteVector()) + chunk("ID3 ", *tag, bigEndian)});
    }

    const auto list = std::find_if(chunks.begin(), chunks.end(), [&](const Chunk& c) {
        return c.id == "LIST" && readAt(s, c.at + kChunkHeader, 4) == "INFO";
    });
    if (info && list != chunks.end()) {
        // The list's room takes in the JUNK chunks right after it.
        auto next = list + 1;
        while (next != chunks.end() && next->id == "JUNK") ++next;
        const long end = next == chunks.end() ? chunks.back().end() : next->at;
        splices.push_back({list->at, static_cast<unsigned long>(end - list->at),
                           infoIn(*info, static_cast<unsigned>(end - list->at))});
    }

    // What a walk of the changed stream must find: the chunks that stay and
    // those the splices bring.
    ChunkSet expected;
    for (const Chunk& c : chunks)
        if (std::none_of(splices.begin(), splices.end(),
                         [&](const Splice& sp) { return c.at >= sp.at && c.at < sp.at + static_cast<long>(sp.length); }))
            addChunk(expected, c.id, c.size);
    for (const Splice& sp : splices)
        for (unsigned at = sp.bytes.size() % 2; at + kChunkHeader <= sp.bytes.size();) {
            const unsigned size = sp.bytes.toUInt(at + 4, bigEndian);
            addChunk(expected, sp.bytes.mid(at, 4), size);
            at += kChunkHeader + ((size + 1) & ~1u);
        }

    // From the last to the first, so that the offsets still hold.
    std::sort(splices.begin(), splices.end(), [](const Splice& a, const Splice& b) { return a.at > b.at; });
    long long grown = 0;
    for (const Splice& sp : splices) {
        s.insert(sp.bytes, sp.at, sp.length);
        grown += static_cast<long long>(sp.bytes.size()) - static_cast<long long>(sp.length);
    }
    if (grown != 0) {
        const unsigned size = readAt(s, 4, 4).toUInt(bigEndian);
        s.seek(4);
        s.writeBlock(ByteVector::fromUInt(static_cast<unsigned>(size + grown), bigEndian));
    }
    // A change that would not read back as made is no change.
    ChunkSet found;
    for (const Chunk& c : chunksOf(s, bigEndian)) addChunk(found, c.id, c.size);
    return found == expected;
}

std::optional<ByteVector> rewriteAsfHeader(const ByteVector& header, const std::string& field, const std::string& alias,
                                           const std::string& text, long number, std::size_t room) {
    const auto objects = header.size() < 30 ? std::nullopt : asfObjects(header, 30, header.size());
    if (!objects) return std::nullopt;
    static const char* const described[] = {"Title", "Author", "Copyright", "Description", "Rating"};
    const auto found =
        std::find_if(std::begin(described), std::end(described), [&](const char* d) { return field == d; });
    const long index = found == std::end(described) ? -1 : found - std::begin(described);
    const auto utf16 = [](const std::string& s) {
        return TagLib::String(s, TagLib::String::UTF8).data(TagLib::String::UTF16LE);
    };
    const ByteVector name = utf16(field);
    const ByteVector names[] = {folded(name), folded(utf16(alias.empty() ? field : alias))};
    const ByteVector value = number >= 0    ? ByteVector::fromUInt(static_cast<unsigned>(number), false)
                             : text.empty() ? ByteVector()
                                            : utf16(text) + ByteVector(2, '\0');
    const ByteVector record =
        word(name.size() + 2) + name + ByteVector(2, '\0') + word(number >= 0 ? 3 : 0) + word(value.size()) + value;
    // The new value goes to the content description or the extended content
    // description, made when the header has none.
    bool placed = index < 0 && value.isEmpty();
    ByteVector out = header.mid(0, 30);
    unsigned count = header.toUInt(24, false);
    for (const AsfObject& o : *objects) {
        ByteVector body = header.mid(o.at + kAsfObjectHeader, o.size - kAsfObjectHeader);
        if (index >= 0 && o.guid == kContentDescription) {
            // Five lengths, then the five strings.
            if (body.size() < 10) return std::nullopt;
            ByteVector lengths, strings;
            unsigned at = 10;
            for (unsigned i = 0; i < 5; ++i) {
                const unsigned n = body.toUShort(2 * i, false);
                if (at + n > body.size()) return std::nullopt;
                const ByteVector string = static_cast<long>(i) == index ? value : body.mid(at, n);
                lengths.append(word(string.size()));
                strings.append(string);
                at += n;
            }
            body = lengths + strings + body.mid(at);
            placed = true;
        } else if (o.guid == kExtendedContentDescription) {
            // Attributes of the name go: also those that repeat a string of
            // the content description.
            auto kept = withoutAttribute(body, names, false);
            if (!kept) return std::nullopt;
            body = placed || index >= 0 ? *kept : word(kept->toUShort(0, false) + 1u) + kept->mid(2) + record;
            placed = placed || index < 0;
        } else if (o.guid == kHeaderExtension) {
            // 18 reserved bytes and the size of the objects, then the objects.
            const unsigned size = body.size() < 22 ? 0 : body.toUInt(18, false);
            const auto inner = body.size() - 22 == size ? asfObjects(body, 22, body.size()) : std::nullopt;
            if (!inner) return std::nullopt;
            ByteVector objects;
            for (const AsfObject& m : *inner) {
                std::optional<ByteVector> data = body.mid(m.at + kAsfObjectHeader, m.size - kAsfObjectHeader);
                if (m.guid == kMetadata || m.guid == kMetadataLibrary) data = withoutAttribute(*data, names, true);
                if (!data) return std::nullopt;
                objects.append(asfObject(m.guid, *data));
            }
            body = body.mid(0, 18) + ByteVector::fromUInt(objects.size(), false) + objects;
        }
        out.append(asfObject(o.guid, body));
    }
    if (!placed) {
        ByteVector lengths, strings;
        for (long i = 0; i < 5; ++i) lengths.append(word(i == index ? value.size() : 0));
        out.append(index >= 0 ? asfObject(kContentDescription, lengths + value)
                              : asfObject(kExtendedContentDescription, word(1) + record));
        ++count;
    }
    return asfPadded(out.mid(0, 24) + ByteVector::fromUInt(count, false) + out.mid(28), room);
}

bool rewriteAsf(TagLib::IOStream& s, const std::string& field, const std::string& alias, const std::string& text,
                long number) {
    // The header object's size follows its GUID; it is read only when the
    // stream holds that much.
    const auto size = static_cast<unsigned long long>(readAt(s, 16, 8).toLongLong(false));
    if (size < 30 || size > static_cast<unsigned long long>(std::max(0L, s.length()))) return false;
    const ByteVector header = readAt(s, 0, static_cast<unsigned long>(size));
    if (header.size() != size) return false;
    const auto edited = rewriteAsfHeader(header, field, alias, text, number, static_cast<std::size_t>(size));
    if (!edited) return false;
    s.insert(*edited, 0, static_cast<unsigned long>(size));
    return true;
}

}  // namespace tarvolin::taglayout
