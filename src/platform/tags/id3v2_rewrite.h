#pragma once
// Rewriting an ID3v2 tag so that only the field asked for changes: every
// other frame keeps its bytes, and the tag keeps its version (2.2, 2.3 or
// 2.4), its flags and, when the change fits in it, its size.
#include <taglib/tbytevector.h>

#include <cstddef>
#include <optional>
#include <string>

namespace tarvolin::id3v2 {

// The POPM e-mail under which the program keeps its ratings.
extern const char* const kRatingEmail;

// What one write changes: a text field, set or cleared, or the rating.
struct Change {
    std::string key;    // TITLE, ARTIST, ALBUM, COMMENT, GENRE or DATE; "" for the rating
    std::string value;  // UTF-8; "" clears the field
    int popm = 0;       // the program's POPM rating byte, when key is ""
};

// The whole size of the ID3v2 tag whose first ten bytes are given, header
// included; 0 when they begin no tag.
std::size_t tagSize(const TagLib::ByteVector& header);

// The tag `old` (a whole tag; empty for none, and a new ID3v2.3 tag is made)
// with the change made. Every frame that holds the field changed goes, the
// new value takes the place of the first of them, and the program's POPM
// frame keeps its play counter. The result is `room` bytes long when it fits
// in them; otherwise it is longer and ends in padding that later changes fit
// in. Empty when the tag holds what cannot be kept as it is: frames that do
// not read to the end of the tag, unsynchronisation, an extended header or a
// footer.
std::optional<TagLib::ByteVector> rewrite(const TagLib::ByteVector& old, const Change& change, std::size_t room);

}  // namespace tarvolin::id3v2
