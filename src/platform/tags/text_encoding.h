#pragma once
// Text conversions for old files: playlists and tags written on Greek
// systems hold Windows-1253 bytes where a newer file would hold UTF-8.
#include <string>
#include <string_view>

namespace tarvolin::text {

bool isValidUtf8(std::string_view s);

// Windows-1253 bytes to UTF-8. A byte the code page leaves undefined keeps
// its ISO-8859-1 meaning, so nothing is lost.
std::string windows1253ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1253; a character the code page lacks becomes "?".
std::string utf8ToWindows1253(std::string_view utf8);

// UTF-8 when the bytes are valid UTF-8, else Windows-1253.
std::string decodeLegacyText(std::string_view bytes);

}  // namespace tarvolin::text

namespace tarvolin::text {

// Lower case for comparing names without regard to case: Latin, Greek
// (accents kept, final sigma as sigma) and Cyrillic letters; other
// characters and malformed bytes stay as they are.
std::string foldCase(std::string_view utf8);

}  // namespace tarvolin::text
