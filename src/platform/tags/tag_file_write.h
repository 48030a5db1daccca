#pragma once
// Changes to the user's media files that a kill, a crash, a power cut or a
// full disk cannot leave half made.
#include <functional>
#include <string>

namespace TagLib {
class IOStream;
}

namespace tarvolin::tagwrite {

// Lets edit change the media file at path through the stream it is handed,
// and tells whether the edit and every read and write it made succeeded; a
// file that cannot be opened for writing is a failure.
//
// The edit works on a copy beside the file that has the file's permission
// bits, group and extended attributes. Once the copy is whole on the disk it
// takes the file's name, so the file is either as it was or wholly changed;
// when anything fails the copy goes and the file stays as it was.
//
// A file that a copy cannot stand in for is edited in place: one with more
// than one name (the others would keep the old file), one of another owner
// (the copy would be ours), one whose folder takes no new file, and one
// whose group or attributes the copy cannot take. A symbolic link stays as
// it is and its target is written.
bool editMediaFile(const std::string& path, const std::function<bool(TagLib::IOStream&)>& edit);

}  // namespace tarvolin::tagwrite
