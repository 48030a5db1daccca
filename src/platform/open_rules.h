#pragma once
// What the program lets the desktop open, how text is put into links, and
// where the help page is found. Shared by every Desktop implementation and
// by the procedures that build links; no platform library is needed here.
#include <string>

namespace tarvolin {

// The help page shipped with the program.
inline constexpr const char* kHelpPageName = "tarvolin_help.htm";

// True for what may be handed to the desktop's opener: http, https and
// mailto URLs, and existing local files or folders (an absolute path or a
// file:// URL). Anything else, and any text holding control characters,
// is refused.
bool isOpenable(const std::string& urlOrPath);

// Percent-encodes every byte of UTF-8 text except the unreserved characters
// (A-Z a-z 0-9 - . _ ~), so that it can be appended to a link.
std::string percentEncodeUtf8(const std::string& text);

// Decodes %XX sequences; a malformed sequence is kept as it stands.
std::string percentDecode(const std::string& text);

// The help page: in appFolder, else beside the executable (exeDir), else in
// the installed data folder (<exeDir>/../share/tarvolin/, then each
// $XDG_DATA_DIRS entry's tarvolin/). "" when it is nowhere.
std::string findHelpPage(const std::string& appFolder, const std::string& exeDir);

}  // namespace tarvolin
