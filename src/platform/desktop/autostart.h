#pragma once
// The program's autostart entry: a desktop entry file in the user's
// autostart folder, $XDG_CONFIG_HOME/autostart/tarvolin.desktop (with
// ~/.config when XDG_CONFIG_HOME is unset or not absolute). The entry
// exists = the program starts with the desktop session.
#include <string>

#include "platform/desktop.h"

namespace tarvolin {

struct AutostartError {
    AutostartFailure step = AutostartFailure::None;
    int err = 0;          // errno
    std::string text;     // strerror(errno)
};

// The entry's full path.
std::string autostartEntryPath();

// The entry's text for the executable at this absolute path.
std::string autostartEntryText(const std::string& executable);

bool autostartEntryExists();

// Writes the entry, creating the folders as needed. The file is written
// under a temporary name and renamed, so a failed write never leaves a
// half-written entry. executable is made absolute first.
bool writeAutostartEntry(const std::string& executable, AutostartError* error);

// Removes the entry; a missing entry is no error.
bool removeAutostartEntry(AutostartError* error);

// The running program's own executable (/proc/self/exe), "" if unknown.
std::string currentExecutablePath();

}  // namespace tarvolin
