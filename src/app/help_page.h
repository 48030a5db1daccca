#pragma once
// The help page travels inside the program. When it is found nowhere (a
// portable copy: the executable alone in a folder), the program writes it
// into its program folder, where Help then opens it.
#include <string>
#include <string_view>

namespace tarvolin {

// The bytes of the help page the program was built with.
std::string_view carriedHelpPage();

// Writes the carried page into appFolder unless a help page is found in
// appFolder, beside the executable (exeDir) or in the installed data
// folders. The page is written whole or not at all. False when no page can
// be found or written.
bool provideHelpPage(const std::string& appFolder, const std::string& exeDir);

}  // namespace tarvolin
