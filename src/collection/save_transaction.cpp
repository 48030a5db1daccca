#include "collection/save_transaction.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "collection/store_files.h"
#include "toolkit/durable_file.h"
#include "toolkit/record_file.h"

namespace tarvolin::storefiles {

namespace {

// The journal: a start mark, the number of entries, the entries, a check
// sum of everything before it and an end mark. An entry is its kind and
// its part, then for an edit the offset, the length and the bytes. Numbers
// are little-endian.
constexpr char kStartMark[8] = {'t', 'v', 'j', 'o', 'u', 'r', '1', '\n'};
constexpr char kEndMark[8] = {'t', 'v', 'j', 'e', 'n', 'd', '1', '\n'};
constexpr unsigned char kEditEntry = 1;
constexpr unsigned char kReplaceEntry = 2;

void putNumber(std::vector<unsigned char>& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

// FNV-1a, 64 bits.
std::uint64_t checksum(const unsigned char* data, std::size_t size) {
    std::uint64_t h = 14695981039346656037ULL;
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
    bool take(std::size_t n, const unsigned char*& p) {
        if (end_ - at_ < n) return false;
        p = bytes_.data() + at_;
        at_ += n;
        return true;
    }
    bool done() const { return at_ == end_; }

private:
    const std::vector<unsigned char>& bytes_;
    std::size_t end_;
    std::size_t at_ = 0;
};

int openRetried(const char* path, int flags, mode_t mode = 0) {
    int fd;
    do {
        fd = ::open(path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool readWhole(const std::string& path, std::vector<unsigned char>& bytes) {
    const int fd = openRetried(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bytes.clear();
    unsigned char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    ::close(fd);
    return true;
}

bool removeIfThere(const std::string& path) { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }

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
    edits_.push_back(Edit{p, offset, std::vector<unsigned char>(data, data + size)});
    editedBytes_ += size;
}

void SaveTransaction::replace(Part p) { replaced_[static_cast<std::size_t>(p)] = true; }

std::vector<unsigned char> SaveTransaction::journalBytes() const {
    std::vector<unsigned char> out(kStartMark, kStartMark + sizeof kStartMark);
    std::uint64_t entries = edits_.size();
    for (bool r : replaced_) entries += r ? 1 : 0;
    putNumber(out, entries, 4);
    for (const Edit& e : edits_) {
        out.push_back(kEditEntry);
        out.push_back(static_cast<unsigned char>(e.part));
        putNumber(out, e.offset, 8);
        putNumber(out, e.bytes.size(), 8);
        out.insert(out.end(), e.bytes.begin(), e.bytes.end());
    }
    for (int p = 0; p < kParts; ++p) {
        if (!replaced_[static_cast<std::size_t>(p)]) continue;
        out.push_back(kReplaceEntry);
        out.push_back(static_cast<unsigned char>(p));
    }
    putNumber(out, checksum(out.data(), out.size()), 8);
    out.insert(out.end(), kEndMark, kEndMark + sizeof kEndMark);
    return out;
}

bool SaveTransaction::parseJournal(const std::vector<unsigned char>& bytes) {
    edits_.clear();
    replaced_.fill(false);
    editedBytes_ = 0;
    constexpr std::size_t tail = 8 + sizeof kEndMark;
    if (bytes.size() < sizeof kStartMark + 4 + tail) return false;
    if (std::memcmp(bytes.data(), kStartMark, sizeof kStartMark) != 0) return false;
    if (std::memcmp(bytes.data() + bytes.size() - sizeof kEndMark, kEndMark, sizeof kEndMark) != 0) return false;
    const std::size_t body = bytes.size() - tail;
    std::uint64_t stored = 0;
    for (int i = 0; i < 8; ++i) stored |= std::uint64_t(bytes[body + static_cast<std::size_t>(i)]) << (8 * i);
    if (stored != checksum(bytes.data(), body)) return false;

    Reader in(bytes, body);
    const unsigned char* skip;
    std::uint64_t entries = 0;
    if (!in.take(sizeof kStartMark, skip) || !in.number(entries, 4)) return false;
    for (std::uint64_t k = 0; k < entries; ++k) {
        std::uint64_t kind = 0, part = 0;
        if (!in.number(kind, 1) || !in.number(part, 1) || part >= kParts) return false;
        if (kind == kEditEntry) {
            std::uint64_t offset = 0, size = 0;
            const unsigned char* data;
            if (!in.number(offset, 8) || !in.number(size, 8) || !in.take(size, data)) return false;
            edit(static_cast<Part>(part), offset, data, size);
        } else if (kind == kReplaceEntry) {
            replace(static_cast<Part>(part));
        } else {
            return false;
        }
    }
    return in.done();
}

bool SaveTransaction::apply() {
    // The part files first, the collection file with its track count last.
    for (Part p : {Tracks, Filters, Header}) {
        bool any = false;
        for (const Edit& e : edits_) any = any || e.part == p;
        if (any) {
            const int fd = openRetried(file(p).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
            if (fd < 0) return fail(file(p));
            for (const Edit& e : edits_) {
                if (e.part == p && !WriteAllAt(fd, e.bytes.data(), e.bytes.size(), static_cast<off_t>(e.offset))) {
                    const int err = errno;
                    ::close(fd);
                    errno = err;
                    return fail(file(p));
                }
            }
            const bool synced = ::fdatasync(fd) == 0;
            const int err = errno;
            ::close(fd);
            errno = err;
            if (!synced) return fail(file(p));
        }
        // A new file that is no longer there was renamed before.
        if (replaces(p) && exists(newFile(p)) && !durable::renameOver(newFile(p), file(p))) return fail(file(p));
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

bool SaveTransaction::recover() {
    removeUnfinishedCopies();
    bool ok = true;
    std::vector<unsigned char> bytes;
    if (exists(journal_)) {
        if (readWhole(journal_, bytes) && parseJournal(bytes)) {
            committed_ = true;
            ok = apply() && removeJournal();
        } else {
            // Cut short: the save it began was never made, and the files
            // are as they were. A journal that cannot be removed now is
            // thrown away the next time.
            removeJournal();
            abandon();
        }
    } else {
        abandon();
    }
    edits_.clear();
    replaced_.fill(false);
    editedBytes_ = 0;
    committed_ = false;
    return ok;
}

bool SaveTransaction::commit() {
    // 1. What was written beforehand goes to the disk, and the files to be
    // edited get the room the edits need, so that no edit can find the disk
    // full once the save counts as made.
    for (int k = 0; k < kParts; ++k) {
        const Part p = static_cast<Part>(k);
        if (replaces(p) && !durable::syncFile(newFile(p))) {
            fail(newFile(p));
            abandon();
            return false;
        }
        if (ahead_[static_cast<std::size_t>(k)] && !durable::syncFile(file(p))) {
            fail(file(p));
            abandon();
            return false;
        }
        std::uint64_t end = 0;
        for (const Edit& e : edits_) {
            if (e.part == p) end = std::max<std::uint64_t>(end, e.offset + e.bytes.size());
        }
        if (end == 0) continue;
        const int fd = openRetried(file(p).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        struct stat st;
        bool room = fd >= 0 && ::fstat(fd, &st) == 0;
        if (room && end > static_cast<std::uint64_t>(st.st_size)) {
            room = ::fallocate(fd, FALLOC_FL_KEEP_SIZE, st.st_size, static_cast<off_t>(end) - st.st_size) == 0 ||
                   errno == EOPNOTSUPP || errno == ENOSYS;
        }
        if (!room) {
            fail(file(p));
            const int err = errno;
            if (fd >= 0) ::close(fd);
            abandon();
            errno = err;
            return false;
        }
        ::close(fd);
    }

    // 2. The journal: once it is on the disk, the save is made.
    const std::vector<unsigned char> bytes = journalBytes();
    const int fd = openRetried(journal_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    bool written = fd >= 0 && WriteAllAt(fd, bytes.data(), bytes.size(), 0) && ::fdatasync(fd) == 0;
    if (fd >= 0 && ::close(fd) != 0) written = false;
    if (!written || !durable::syncFolderOf(journal_)) {
        fail(journal_);
        const int err = errno;
        removeIfThere(journal_);
        abandon();
        errno = err;
        return false;
    }
    committed_ = true;

    // 3 and 4. A journal that cannot be removed is carried out once more,
    // to the same bytes, before the next save or load.
    if (!apply()) return false;
    removeJournal();
    return true;
}

}  // namespace tarvolin::storefiles
