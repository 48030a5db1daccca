#include "collection/save_transaction.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "collection/collection_data.h"
#include "collection/store_files.h"
#include "toolkit/durable_file.h"
#include "toolkit/record_file.h"

namespace tarvolin::storefiles {

namespace {

// The journal: a start mark, the number of entries, the size of each file
// when the save was made, the entries, a check sum of everything before it
// and an end mark. An entry is its kind and its part; then for an edit the
// offset, the length, the bytes and the bytes it replaces (those of them
// that lay within the file), and for a new file its size and its check sum
// (FileMark). Numbers are little-endian.
constexpr char kStartMark[8] = {'t', 'v', 'j', 'o', 'u', 'r', '2', '\n'};
// A journal of the first layout (without the bytes it replaces) ends the
// same way: it reads as whole, and is set aside, neither carried out nor
// thrown away.
constexpr char kEndMark[8] = {'t', 'v', 'j', 'e', 'n', 'd', '1', '\n'};
constexpr unsigned char kEditEntry = 1;
constexpr unsigned char kReplaceEntry = 2;

// No save writes a journal near this size: its edits stay within 32 MiB.
constexpr std::uint64_t kLargestJournal = std::uint64_t(256) << 20;
// The bytes at each end of a new file that its check sum covers.
constexpr std::size_t kMarkedEnd = std::size_t(1) << 16;

// Each part's record length, and the most bytes its format holds: the
// records of the collection file that a save writes; 45 records for each of
// the most tracks; the nine counts, the eight value lists and the table's
// lines of the filter part file, each count an Integer.
constexpr std::array<std::uint64_t, 3> kRecordOf = {kCollectionRecord, kTrackRecord, kFilterRecord};
constexpr std::array<std::uint64_t, 3> kLargest = {
    std::uint64_t(kHeaderRecords) * kCollectionRecord,
    std::uint64_t(kMaxTracks) * kTrackRecords * kTrackRecord,
    (9 + 8 * std::uint64_t(32767) + 32768) * kFilterRecord,
};

void putNumber(std::vector<unsigned char>& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

// FNV-1a, 64 bits; h carries a sum on over more bytes.
std::uint64_t checksum(const unsigned char* data, std::size_t size, std::uint64_t h = 14695981039346656037ULL) {
    for (std::size_t i = 0; i < size; ++i) {
        h ^= data[i];
        h *= 1099511628211ULL;
    }
    return h;
}

class Reader {
public:
    Reader(const std::vector<unsigned char>& bytes, std::size_t end) : bytes_(bytes), end_(end) {}
    bool number(std::uint64_t& v, int n) {
        if (end_ - at_ < static_cast<std::size_t>(n)) return false;
        v = 0;
        for (int i = 0; i < n; ++i) v |= std::uint64_t(bytes_[at_ + static_cast<std::size_t>(i)]) << (8 * i);
        at_ += static_cast<std::size_t>(n);
        return true;
    }
    bool take(std::uint64_t n, const unsigned char*& p) {
        if (end_ - at_ < n) return false;
        p = bytes_.data() + at_;
        at_ += static_cast<std::size_t>(n);
        return true;
    }
    bool done() const { return at_ == end_; }

private:
    const std::vector<unsigned char>& bytes_;
    std::size_t end_;
    std::size_t at_ = 0;
};

// Opens one of the collection's own regular files: never through a
// symbolic link, and made only when flags say so. -1 with errno, EINVAL for
// anything but a regular file found there (a folder too). st, when given,
// gets the opened file's status.
int openOwn(const std::string& path, int flags, struct stat* st = nullptr) {
    struct stat own;
    if (st == nullptr) st = &own;
    st->st_mode = 0;
    const int fd = durable::openRegular(path, flags | O_NOFOLLOW | O_NONBLOCK, 0666, st);
    if (fd < 0 && errno == EISDIR && S_ISDIR(st->st_mode)) errno = EINVAL;
    return fd;
}

// Up to size bytes at offset (fewer at the end of the file) into bytes.
bool readAt(int fd, std::uint64_t offset, std::size_t size, std::vector<unsigned char>& bytes) {
    bytes.resize(size);
    const ssize_t got = ReadUpToAt(fd, bytes.data(), size, static_cast<off_t>(offset));
    if (got < 0) return false;
    bytes.resize(static_cast<std::size_t>(got));
    return true;
}

// What stands at a name, its links not followed.
enum class Kind { Missing, Regular, Other };
Kind kindAt(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return Kind::Missing;
    return S_ISREG(st.st_mode) ? Kind::Regular : Kind::Other;
}

bool removeIfThere(const std::string& path) { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }

// Closes fd, keeping the errno of a failure before it.
bool closeAfter(int fd, bool ok) {
    const int err = errno;
    ::close(fd);
    errno = err;
    return ok;
}

}  // namespace

SaveTransaction::SaveTransaction(std::string collectionFile, std::string trackFile, std::string filterFile)
    : files_{std::move(collectionFile), std::move(trackFile), std::move(filterFile)},
      journal_(journalOf(files_[Header])) {}

bool SaveTransaction::fail(const std::string& what) {
    error_ = what + ": " + std::strerror(errno);
    return false;
}

void SaveTransaction::edit(Part p, std::uint64_t offset, const unsigned char* data, std::size_t size) {
    if (size == 0) return;
    edits_.push_back(Edit{p, offset, std::vector<unsigned char>(data, data + size), {}});
}

void SaveTransaction::replace(Part p) { replaced_[static_cast<std::size_t>(p)] = true; }

bool SaveTransaction::markOf(const std::string& path, FileMark& mark, bool onlyName) {
    struct stat st;
    const int fd = openOwn(path, O_RDONLY, &st);
    if (fd < 0) return false;
    if (onlyName && st.st_nlink != 1) return closeAfter(fd, false);
    mark.size = static_cast<std::uint64_t>(st.st_size);
    const std::size_t end = static_cast<std::size_t>(std::min<std::uint64_t>(mark.size, kMarkedEnd));
    std::vector<unsigned char> head, tail;
    const bool ok = readAt(fd, 0, end, head) && readAt(fd, mark.size - end, end, tail);
    mark.sum = checksum(tail.data(), tail.size(), checksum(head.data(), head.size()));
    return closeAfter(fd, ok);
}

std::vector<unsigned char> SaveTransaction::journalBytes() const {
    std::vector<unsigned char> out(kStartMark, kStartMark + sizeof kStartMark);
    std::uint64_t entries = edits_.size();
    for (bool r : replaced_) entries += r ? 1 : 0;
    putNumber(out, entries, 4);
    for (std::uint64_t size : oldSize_) putNumber(out, size, 8);
    for (const Edit& e : edits_) {
        out.push_back(kEditEntry);
        out.push_back(static_cast<unsigned char>(e.part));
        putNumber(out, e.offset, 8);
        putNumber(out, e.bytes.size(), 8);
        out.insert(out.end(), e.bytes.begin(), e.bytes.end());
        out.insert(out.end(), e.old.begin(), e.old.end());
    }
    for (int p = 0; p < kParts; ++p) {
        if (!replaced_[static_cast<std::size_t>(p)]) continue;
        out.push_back(kReplaceEntry);
        out.push_back(static_cast<unsigned char>(p));
        putNumber(out, newMark_[static_cast<std::size_t>(p)].size, 8);
        putNumber(out, newMark_[static_cast<std::size_t>(p)].sum, 8);
    }
    putNumber(out, checksum(out.data(), out.size()), 8);
    out.insert(out.end(), kEndMark, kEndMark + sizeof kEndMark);
    return out;
}

SaveTransaction::Found SaveTransaction::parseJournal(const std::vector<unsigned char>& bytes) {
    edits_.clear();
    replaced_.fill(false);
    constexpr std::size_t tail = 8 + sizeof kEndMark;
    if (bytes.size() < sizeof kStartMark + 4 + tail) return Found::CutShort;
    if (std::memcmp(bytes.data() + bytes.size() - sizeof kEndMark, kEndMark, sizeof kEndMark) != 0) return Found::CutShort;
    const std::size_t body = bytes.size() - tail;
    std::uint64_t stored = 0;
    for (int i = 0; i < 8; ++i) stored |= std::uint64_t(bytes[body + static_cast<std::size_t>(i)]) << (8 * i);
    if (stored != checksum(bytes.data(), body)) return Found::CutShort;
    if (std::memcmp(bytes.data(), kStartMark, sizeof kStartMark) != 0) return Found::Invalid;

    Reader in(bytes, body);
    const unsigned char* skip;
    std::uint64_t entries = 0;
    if (!in.take(sizeof kStartMark, skip) || !in.number(entries, 4)) return Found::Invalid;
    for (std::uint64_t& size : oldSize_) {
        if (!in.number(size, 8)) return Found::Invalid;
    }
    for (std::uint64_t k = 0; k < entries; ++k) {
        std::uint64_t kind = 0, part = 0;
        if (!in.number(kind, 1) || !in.number(part, 1) || part >= kParts) return Found::Invalid;
        const std::uint64_t before = oldSize_[part];
        if (kind == kEditEntry) {
            std::uint64_t offset = 0, size = 0;
            const unsigned char *data, *old;
            if (!in.number(offset, 8) || !in.number(size, 8) || !in.take(size, data)) return Found::Invalid;
            const std::uint64_t within = offset >= before ? 0 : std::min(size, before - offset);
            if (!in.take(within, old)) return Found::Invalid;
            edit(static_cast<Part>(part), offset, data, static_cast<std::size_t>(size));
            if (size > 0) edits_.back().old.assign(old, old + within);
        } else if (kind == kReplaceEntry) {
            FileMark& mark = newMark_[part];
            if (!in.number(mark.size, 8) || !in.number(mark.sum, 8)) return Found::Invalid;
            replace(static_cast<Part>(part));
        } else {
            return Found::Invalid;
        }
    }
    return in.done() && editsFit() ? Found::Whole : Found::Invalid;
}

bool SaveTransaction::editsFit() const {
    // Whole records, in order, and none beyond what its file can hold; a
    // file written anew has no edits.
    std::array<std::uint64_t, kParts> end{};
    for (const Edit& e : edits_) {
        const auto p = static_cast<std::size_t>(e.part);
        const std::uint64_t size = e.bytes.size();
        if (replaced_[p] || e.offset < end[p] || e.offset % kRecordOf[p] != 0 || size % kRecordOf[p] != 0 ||
            e.offset > kLargest[p] || size > kLargest[p] - e.offset) {
            return false;
        }
        end[p] = e.offset + size;
    }
    return true;
}

SaveTransaction::Found SaveTransaction::readJournal() {
    switch (kindAt(journal_)) {
        case Kind::Missing: return Found::Missing;
        case Kind::Other: return Found::Invalid;  // a link is never followed
        case Kind::Regular: break;
    }
    struct stat st;
    const int fd = openOwn(journal_, O_RDONLY, &st);
    if (fd < 0) return Found::Invalid;
    const auto size = static_cast<std::uint64_t>(st.st_size);
    std::vector<unsigned char> bytes;
    const bool read = size <= kLargestJournal && readAt(fd, 0, static_cast<std::size_t>(size), bytes);
    closeAfter(fd, read);
    return read ? parseJournal(bytes) : Found::Invalid;
}

bool SaveTransaction::madeFor() const {
    // Every edited byte holds what the edit replaces or what it writes
    // (beyond the file's old end: nothing or zeros), and the file has not
    // shrunk or grown past the edits.
    bool allWritten = true;
    for (int k = 0; k < kParts; ++k) {
        const Part p = static_cast<Part>(k);
        const std::uint64_t before = oldSize_[static_cast<std::size_t>(k)];
        std::uint64_t end = before;
        bool any = false;
        for (const Edit& e : edits_) {
            if (e.part != p) continue;
            any = true;
            end = std::max<std::uint64_t>(end, e.offset + e.bytes.size());
        }
        if (!any) continue;
        struct stat st;
        const int fd = openOwn(file(p), O_RDONLY, &st);
        if (fd < 0) return false;
        const auto size = static_cast<std::uint64_t>(st.st_size);
        bool ok = size >= before && size <= end;
        std::vector<unsigned char> now;
        for (const Edit& e : edits_) {
            if (!ok) break;
            if (e.part != p) continue;
            ok = readAt(fd, e.offset, e.bytes.size(), now);
            allWritten = allWritten && now.size() == e.bytes.size();
            for (std::size_t i = 0; ok && i < now.size(); ++i) {
                const unsigned char was = i < e.old.size() ? e.old[i] : 0;
                allWritten = allWritten && now[i] == e.bytes[i];
                ok = now[i] == e.bytes[i] || now[i] == was;
            }
        }
        closeAfter(fd, ok);
        if (!ok) return false;
    }
    // A new file still under its new name must be this save's, with no
    // other name. One no longer there took its place after every edit was
    // made, and stands there now.
    for (int k = 0; k < kParts; ++k) {
        const Part p = static_cast<Part>(k);
        if (!replaces(p)) continue;
        const bool waiting = kindAt(newFile(p)) != Kind::Missing;
        FileMark found;
        if ((!waiting && !allWritten) || !markOf(waiting ? newFile(p) : file(p), found, waiting) ||
            !(found == newMark_[static_cast<std::size_t>(k)])) {
            return false;
        }
    }
    return true;
}

bool SaveTransaction::apply() {
    // The edits first, the collection file with its track count last; then
    // the new files take their places, so that a new file gone from its
    // name tells that every edit was made.
    for (Part p : {Tracks, Filters, Header}) {
        bool any = false;
        for (const Edit& e : edits_) any = any || e.part == p;
        if (!any) continue;
        // The file is there: the commit made it before the journal.
        const int fd = openOwn(file(p), O_RDWR);
        if (fd < 0) return fail(file(p));
        bool ok = true;
        for (const Edit& e : edits_) {
            if (ok && e.part == p) ok = WriteAllAt(fd, e.bytes.data(), e.bytes.size(), static_cast<off_t>(e.offset));
        }
        if (!closeAfter(fd, ok && ::fdatasync(fd) == 0)) return fail(file(p));
    }
    for (Part p : {Tracks, Filters, Header}) {
        // A new file that is no longer there was renamed before.
        if (replaces(p) && kindAt(newFile(p)) == Kind::Regular && !durable::renameOver(newFile(p), file(p)))
            return fail(file(p));
    }
    return true;
}

bool SaveTransaction::removeJournal() {
    if (!removeIfThere(journal_)) return fail(journal_);
    // Gone for good before anything of the next save is written.
    if (!durable::syncFolderOf(journal_)) return fail(journal_);
    return true;
}

void SaveTransaction::abandon() {
    for (int p = 0; p < kParts; ++p) removeIfThere(newFile(static_cast<Part>(p)));
}

void SaveTransaction::removeUnfinishedCopies() {
    // Copies that a save killed while refreshing the backups left under
    // their temporary names (temporaryBeside).
    for (const std::string& f : files_) {
        const std::size_t slash = f.rfind('/');
        const std::string folder = slash == std::string::npos ? std::string(".") : f.substr(0, slash + 1);
        const std::string start = (slash == std::string::npos ? f : f.substr(slash + 1)) + ".backup.tmp-";
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
            const std::string name = entry.path().filename().string();
            if (name.compare(0, start.size(), start) == 0) removeIfThere(entry.path().string());
        }
    }
}

bool SaveTransaction::putAside(const std::string& path, bool journal) {
    std::string as = asideOf(path);
    for (int n = 2; kindAt(as) != Kind::Missing; ++n) {
        if (n > 1000) {
            errno = EEXIST;
            return fail(path);
        }
        as = asideOf(path) + "-" + std::to_string(n);
    }
    if (::rename(path.c_str(), as.c_str()) != 0 || !durable::syncFolderOf(as)) return fail(path);
    setAside_.push_back(SetAside{path, as, journal});
    return true;
}

bool SaveTransaction::setAsideOtherFiles() {
    setAside_.clear();
    for (const std::string& f : files_) {
        if (kindAt(f) == Kind::Other && !putAside(f, false)) return false;
    }
    return true;
}

bool SaveTransaction::recover(const std::function<void()>& beforeReplay) {
    removeUnfinishedCopies();
    setAside_.clear();
    bool ok = true;
    // No save makes anything but a regular file under a new file's name.
    for (int p = 0; p < kParts && ok; ++p) {
        const std::string name = newFile(static_cast<Part>(p));
        if (kindAt(name) == Kind::Other) ok = putAside(name, false);
    }
    // Nothing is carried out past what could not be set aside.
    if (ok) {
        const Found found = readJournal();
        if (found == Found::Whole && madeFor()) {
            if (beforeReplay) beforeReplay();
            committed_ = true;
            ok = apply() && removeJournal();
        } else if (found == Found::Whole || found == Found::Invalid) {
            // Not made for these files, or not by a save: kept, never carried out.
            ok = putAside(journal_, true);
            if (ok) abandon();
        } else {
            // Cut short: the save it began was never made, and the files are
            // as they were. A journal that cannot be removed now is thrown
            // away the next time.
            if (found == Found::CutShort) removeJournal();
            abandon();
        }
    }
    edits_.clear();
    replaced_.fill(false);
    committed_ = false;
    return ok;
}

bool SaveTransaction::commit() {
    // Nothing is changed when the save is given up before its journal.
    auto giveUp = [this](const std::string& what) {
        fail(what);
        const int err = errno;
        abandon();
        errno = err;
        return false;
    };
    if (!editsFit()) {
        errno = EINVAL;
        return giveUp(journal_);
    }
    // 1. What was written beforehand goes to the disk, and the files to be
    // edited get the room the edits need, so that no edit can find the disk
    // full once the save counts as made. What the edits replace, and the new
    // files as they are, go into the journal.
    for (int k = 0; k < kParts; ++k) {
        const Part p = static_cast<Part>(k);
        const auto at = static_cast<std::size_t>(k);
        if (replaces(p) && (!durable::syncFile(newFile(p)) || !markOf(newFile(p), newMark_[at], true)))
            return giveUp(newFile(p));
        if (ahead_[at] && !durable::syncFile(file(p))) return giveUp(file(p));
        std::uint64_t end = 0;
        for (const Edit& e : edits_) {
            if (e.part == p) end = std::max<std::uint64_t>(end, e.offset + e.bytes.size());
        }
        if (end == 0) continue;
        struct stat st;
        const int fd = openOwn(file(p), O_RDWR | O_CREAT, &st);
        bool room = fd >= 0;
        if (room) oldSize_[at] = static_cast<std::uint64_t>(st.st_size);
        for (Edit& e : edits_) {
            if (room && e.part == p) room = readAt(fd, e.offset, e.bytes.size(), e.old);
        }
        if (room && end > oldSize_[at]) {
            room = ::fallocate(fd, FALLOC_FL_KEEP_SIZE, static_cast<off_t>(oldSize_[at]),
                               static_cast<off_t>(end - oldSize_[at])) == 0 ||
                   errno == EOPNOTSUPP || errno == ENOSYS;
        }
        if (fd >= 0) room = closeAfter(fd, room);
        if (!room) return giveUp(file(p));
    }

    // The names of the new files go to the disk too: a journal that
    // outlived them would be carried out onto files without them.
    std::vector<std::string> folders;
    for (int k = 0; k < kParts; ++k) {
        const Part p = static_cast<Part>(k);
        if (!replaces(p)) continue;
        const std::string folder = std::filesystem::path(newFile(p)).parent_path().string();
        if (std::find(folders.begin(), folders.end(), folder) != folders.end()) continue;
        folders.push_back(folder);
        if (!durable::syncFolderOf(newFile(p))) return giveUp(newFile(p));
    }

    // 2. The journal: once it is on the disk, the save is made.
    const std::vector<unsigned char> bytes = journalBytes();
    const int fd = durable::openRetried(journal_, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, 0666);
    bool written = fd >= 0 && WriteAllAt(fd, bytes.data(), bytes.size(), 0) && ::fdatasync(fd) == 0;
    if (fd >= 0 && ::close(fd) != 0) written = false;
    if (!written || !durable::syncFolderOf(journal_)) {
        const int err = errno;
        removeIfThere(journal_);
        errno = err;
        return giveUp(journal_);
    }
    committed_ = true;

    // 3 and 4. A journal that cannot be removed is carried out once more,
    // to the same bytes, before the next save or load.
    if (!apply()) return false;
    removeJournal();
    return true;
}

}  // namespace tarvolin::storefiles
