#pragma once
// Moving files to the desktop's trash (the freedesktop.org trash, through
// GIO, which also handles files on other mounts).
#include <string>

namespace tarvolin {

// Moves path to the trash. False on failure, with GIO's message in error.
bool trashFile(const std::string& path, std::string* error);

}  // namespace tarvolin
