#pragma once
// Where the tags lie in the containers the program writes, and their
// rewriting in the room they take: an ID3v2 tag at the start of an MPEG
// file, the ID3v2 and INFO chunks of a RIFF (WAV) or AIFF file, the header
// object of an ASF file. A tag that fits in its room keeps its place and
// size, so that nothing after it moves; one that grows is given room to
// spare for the next writes.
#include <taglib/tbytevector.h>

#include <cstddef>
#include <optional>
#include <string>

#include "platform/tags/id3v2_rewrite.h"

namespace TagLib {
class IOStream;
}

namespace tarvolin::taglayout {

// Rewrites the ID3v2 tag at the start of an MPEG stream, or puts a new one
// there. False, with nothing changed, when the tag cannot be rewritten
// faithfully, and when TagLib found a tag elsewhere than at the start.
bool rewriteLeadingTag(TagLib::IOStream& stream, bool taglibFoundTag, const id3v2::Change& change);

// Rewrites the ID3v2 chunk of a RIFF (little-endian) or AIFF (big-endian)
// stream, or adds one after the last chunk; with info, also puts that INFO
// list (as TagLib renders it, "" for none) in the place of the file's own.
// The container's size follows. The chunks are those TagLib's reader finds.
// False when the tag cannot be rewritten faithfully, with nothing changed,
// and when the changed stream would not read back as made (TagLib would find
// other chunks in it), the stream then changed and to be dropped.
bool rewriteChunks(TagLib::IOStream& stream, bool bigEndian, const id3v2::Change& change,
                   const TagLib::ByteVector* info);

// Rewrites the header object at the start of an ASF stream with one field
// set, as rewriteAsfHeader does it, in the room the header takes. False,
// with nothing changed, when the size the header gives is not within the
// stream or the header cannot be rewritten.
bool rewriteAsf(TagLib::IOStream& stream, const std::string& field, const std::string& alias, const std::string& text,
                long number);

// Headers that announce more than their file holds. TagLib walks what a
// header announces (the objects of an ASF header and the attributes of each,
// the entries of an MP4 chunk-offset table that a save rewrites) without
// asking whether the file holds that much: a few bytes that announce four
// billion entries keep it busy for hours. Such a file is refused before
// TagLib reads it, so that every read and write ends in a time that grows
// with the file's size.
//
// True when every atom of the MP4 stream that TagLib walks lies within the
// atom that holds it (the file's last atom may be cut short), and each
// chunk-offset table ("stco", "co64") holds the entries it announces.
bool mp4Holds(TagLib::IOStream& stream);
// True when the ASF stream's header object lies within the stream and holds
// the objects it announces, and each of them lies within it and holds the
// strings, attributes and objects it announces.
bool asfHolds(TagLib::IOStream& stream);

// The ASF header object `header` with one field set: a string of its content
// description ("Title", "Author", "Description") or an attribute by name,
// given text (UTF-8, "" clears it) or, when number >= 0, that DWORD. Every
// value of the field goes, wherever the header kept it: the attributes of
// its name, or of the alias other writers give it, in any letter case. Every
// other object and attribute keeps its bytes. The result is exactly `room`
// bytes long through its padding object when it fits; otherwise its padding
// leaves room for later changes. Empty when the header's objects do not read
// to its end.
std::optional<TagLib::ByteVector> rewriteAsfHeader(const TagLib::ByteVector& header, const std::string& field,
                                                   const std::string& alias, const std::string& text, long number,
                                                   std::size_t room);

}  // namespace tarvolin::taglayout
