#pragma once
#include <string>

namespace tarvolin {

// One playlist entry as a local path: "\" becomes "/", a file:// URL is
// percent-decoded, a relative path is taken from the playlist's folder, and a
// path that does not exist is matched without regard to the case of each
// component. A drive-letter path, a network share or another URL stays as
// converted text. "" for an empty entry.
std::string resolvePlaylistEntry(const std::string& entry, const std::string& playlistFolder);

}  // namespace tarvolin
