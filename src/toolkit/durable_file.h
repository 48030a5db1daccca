#pragma once
// Writing files so that a kill, a full disk or a power cut leaves either
// the old or the whole new file: temporary names beside a file, synced
// replacement, folder syncs and the kernel's copy.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <sys/stat.h>
#include <sys/types.h>

namespace tarvolin::durable {

// A fresh temporary name beside path (same folder, so a rename replaces
// the file in one step).
std::string temporaryBeside(const std::string& path);
// Removes the files temporaryBeside(path) named for processes that are gone
// (a writer killed before its copy took the name); a running process's
// copy stays.
void removeAbandonedTemporaries(const std::string& path);

// Opens path with flags, O_CLOEXEC added, again after a signal; mode is that
// of a file it makes. -1 with errno.
int openRetried(const std::string& path, int flags, mode_t mode = 0);
// The same, for a regular file only: whether a symbolic link is followed is
// up to flags (O_NOFOLLOW). Anything else found there is closed again and
// gives -1 with errno EISDIR for a folder and EINVAL for the rest, or that
// of fstat. st, when given, gets the status of whatever was opened, also
// when it is refused.
int openRegular(const std::string& path, int flags, mode_t mode = 0, struct stat* st = nullptr);

// Copies a file over another through a temporary file that is sent to the
// disk and then renamed over the destination, so the destination is either
// the old or the whole new copy, also after a power cut. The copy keeps the
// source's permission bits.
bool copyFile(const std::string& from, const std::string& to);

// Copies what the handle in holds from its offset on to the end into out
// at out's offset; false on any error (errno tells).
bool copyContents(int in, int out);
// The same for at most length bytes: fewer when in ends before.
bool copyContents(int in, int out, std::uint64_t length);
// Writes all size bytes of data to fd at its offset (again after a signal or
// a short write); false when the system refuses one or writes nothing.
bool writeAll(int fd, const char* data, std::size_t size);

// Sends a file's data to the disk (fdatasync).
bool syncFile(const std::string& path);
// Sends the entries of the folder that holds path to the disk, so that a
// name made, renamed or removed there stays so.
bool syncFolderOf(const std::string& path);

// Renames from over to in one step and sends the folder to the disk. When
// to named a file, the system frees a large file's pages and blocks as its
// last name and handle go, which would hold up the caller: a handle on it
// is kept across the rename and let go of on a helper thread.
bool renameOver(const std::string& from, const std::string& to);

// Puts the file from in the place of to: from is sent to the disk first,
// then renamed over to (renameOver).
bool replaceFile(const std::string& from, const std::string& to);

// Writes bytes as the whole of path through a temporary file beside it that
// is sent to the disk and then replaces path (replaceFile): path is either
// the old file or the whole new one. False, with path untouched, on failure.
bool writeWhole(const std::string& path, std::string_view bytes);
// The same with path's old contents (none when it is missing) before bytes:
// an append that is there whole or not at all.
bool appendWhole(const std::string& path, std::string_view bytes);

}  // namespace tarvolin::durable
