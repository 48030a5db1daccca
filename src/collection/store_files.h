#pragma once
// Small helpers shared by the collection store's file procedures: file
// lookup under another letter case, the record lengths of the file formats,
// the display texts of the track columns, and the check of amounts read
// from files.
#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/runtime.h"

namespace tarvolin {
namespace storefiles {

inline constexpr int kCollectionRecord = 300;   // collection file
inline constexpr int kHeaderRecords = 28;       // records of it that a save writes
inline constexpr int kTrackRecord = 400;        // track part file
inline constexpr int kTrackRecords = 45;        // records per track
inline constexpr int kFilterRecord = 600;       // filter part file
inline constexpr int kPreferencesRecord = 257;  // preferences file

// True when something (file or folder) exists at path.
bool exists(const std::string& path);
// The byte size of a regular file, -1 when it is missing or not a file.
std::int64_t fileSize(const std::string& path);

// The path under which the file named by path exists: path itself, or the
// first entry of its folder whose name matches without regard to letter
// case; "" when there is none.
std::string findAnyCase(const std::string& path);

// The text without its last four characters (a ".tlf" ending).
std::string withoutExtension(const std::string& path);

// A folder path with its closing "/" ("/" stays "/").
std::string asFolder(std::string path);

// Whether a text file's line (the default file's first line) holds text as
// it is: it has no line break, and no blank at its start (a load takes
// those off).
bool fitsTextLine(const std::string& text);

// A Currency read from a file that can be summed over a whole collection
// without leaving the Currency range; larger magnitudes are damage.
bool saneAmount(Currency value);

// Display texts of the track columns.
std::string numberText(std::int64_t track);        // "#00000" of track + 1
std::string classLetter(int cls);                  // "-", "X", "C", "B", "A", "S"
int classOfLetter(const std::string& letter);      // the inverse; -1 for any other text
// Whether a long loop shows its progress at this step: every 40th, and
// each of the last 50.
bool progressDue(std::int64_t done, std::int64_t total);
std::string durationText(Currency seconds);        // "0#:0#:0#"
std::string sizeText(Currency megabytes);          // "#00.00" + "Mb" / "Gb"
std::string bitrateText(int kbps);                 // "000"

}  // namespace storefiles
}  // namespace tarvolin
