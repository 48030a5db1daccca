#pragma once
// Changes to the user's media files that a kill, a crash, a power cut or a
// full disk cannot leave half made, and that never move the audio of a file
// that no copy can stand for.
#include <cstddef>
#include <functional>
#include <string>

namespace TagLib {
class IOStream;
}

namespace tarvolin::tagwrite {

// Lets edit change the media file at path through the stream it is handed,
// and tells whether the change reached the file. The stream only gathers the
// change: the file is written after edit returned true. A file that cannot
// be opened for writing is a failure.
//
// A change that leaves every byte it does not rewrite where it was (a tag
// rewritten within its own room, or grown at the file's end) is made where
// the file lies: only the bytes that differ are written, then the file's
// data is sent to the disk. The audio is never written.
//
// A change that moves other bytes is made on a copy beside the file that has
// the file's permission bits, group and extended attributes; once the copy
// is whole on the disk it takes the file's name, so the file is either as it
// was or wholly changed. A file that a copy cannot stand in for is left as it
// is and the write fails: one with more than one name (the others would keep
// the old file), one of another owner (the copy would be ours), one whose
// folder takes no new file, and one whose group or attributes the copy
// cannot take.
//
// A symbolic link stays as it is and its target is written. The unfinished
// copies that killed writers left beside the file are removed.
bool editMediaFile(const std::string& path, const std::function<bool(TagLib::IOStream&)>& edit);

// How many pieces of the planned change were visited while edit changed the
// open file fd through the stream it is handed; the file is not written.
// Shows how the cost of a planned change grows with the number of edits.
std::size_t plannedSteps(int fd, const std::function<void(TagLib::IOStream&)>& edit);

}  // namespace tarvolin::tagwrite
