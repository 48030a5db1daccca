#pragma once
// Calls to desktop services over D-Bus: showing a file in the file manager
// (org.freedesktop.FileManager1 on the session bus) and powering off
// (org.freedesktop.login1 on the system bus).
#include <string>

namespace tarvolin {

// FileManager1.ShowItems with the file's URI. Gives up after about 2 s.
// False, with the reason, when no file manager answered.
bool showItemInFileManager(const std::string& path, std::string* error);

// login1 Manager.PowerOff, interactive (the user may be asked to
// authenticate). False, with the reason, when the request was refused.
bool requestPowerOff(std::string* error);

// The file:// URI of an absolute or relative local path ("" on failure).
std::string fileUri(const std::string& path);

}  // namespace tarvolin
