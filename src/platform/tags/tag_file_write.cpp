#include "platform/tags/tag_file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <taglib/tiostream.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <set>
#include <vector>

#include "toolkit/durable_file.h"

namespace tarvolin::tagwrite {

namespace {

// A TagLib stream on an open file that notes every read or write the
// system refused, where TagLib's own file stream lets them pass unseen.
class CheckedStream : public TagLib::IOStream {
public:
    CheckedStream(int fd, std::string name) : fd_(fd), name_(std::move(name)) {}

    // True once any read or write failed.
    bool failed() const { return failed_; }

    TagLib::FileName name() const override { return name_.c_str(); }

    TagLib::ByteVector readBlock(unsigned long length) override {
        const off_t left = std::max<off_t>(0, size() - pos_);
        TagLib::ByteVector data(static_cast<unsigned int>(std::min<off_t>(static_cast<off_t>(length), left)), '\0');
        const std::size_t got = readAt(pos_, data.data(), data.size());
        data.resize(static_cast<unsigned int>(got));
        pos_ += static_cast<off_t>(got);
        return data;
    }

    void writeBlock(const TagLib::ByteVector& data) override {
        writeAt(pos_, data.data(), data.size());
        pos_ += data.size();
    }

    void insert(const TagLib::ByteVector& data, unsigned long start, unsigned long replace) override {
        const auto at = static_cast<off_t>(start);
        moveTail(at + static_cast<off_t>(replace), at + static_cast<off_t>(data.size()));
        writeAt(at, data.data(), data.size());
        pos_ = at + static_cast<off_t>(data.size());
    }

    void removeBlock(unsigned long start, unsigned long length) override {
        const auto at = static_cast<off_t>(start);
        moveTail(at + static_cast<off_t>(length), at);
        pos_ = at;
    }

    bool readOnly() const override { return false; }
    bool isOpen() const override { return true; }

    void seek(long offset, Position p) override {
        const off_t base = p == Beginning ? 0 : p == Current ? pos_ : size();
        // Like a file stream, a seek before the start goes nowhere.
        if (base + offset >= 0) pos_ = base + offset;
    }

    long tell() const override { return static_cast<long>(pos_); }
    long length() override { return static_cast<long>(size()); }

    void truncate(long length) override {
        if (::ftruncate(fd_, length) != 0) failed_ = true;
    }

private:
    off_t size() {
        struct stat st;
        if (::fstat(fd_, &st) == 0) return st.st_size;
        failed_ = true;
        return 0;
    }

    std::size_t readAt(off_t at, char* data, std::size_t size) {
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::pread(fd_, data + done, size - done, at + static_cast<off_t>(done));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) failed_ = true;
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        return done;
    }

    void writeAt(off_t at, const char* data, std::size_t size) {
        for (std::size_t done = 0; done < size;) {
            const ssize_t n = ::pwrite(fd_, data + done, size - done, at + static_cast<off_t>(done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                failed_ = true;
                return;
            }
            done += static_cast<std::size_t>(n);
        }
    }

    // Moves the bytes from `from` to the end so that they begin at `to`; the
    // file ends after them.
    void moveTail(off_t from, off_t to) {
        if (from == to) return;
        const off_t end = size();
        std::vector<char> buffer(std::size_t(1) << 20);
        const auto chunk = static_cast<off_t>(buffer.size());
        if (to > from) {
            // Growing: from the end backwards, so nothing is overwritten
            // before it has been moved.
            for (off_t left = end; left > from && !failed_;) {
                const off_t n = std::min(chunk, left - from);
                left -= n;
                if (readAt(left, buffer.data(), static_cast<std::size_t>(n)) != static_cast<std::size_t>(n)) failed_ = true;
                writeAt(left + (to - from), buffer.data(), static_cast<std::size_t>(n));
            }
            return;
        }
        for (off_t at = from; at < end && !failed_; at += chunk) {
            const off_t n = std::min(chunk, end - at);
            if (readAt(at, buffer.data(), static_cast<std::size_t>(n)) != static_cast<std::size_t>(n)) failed_ = true;
            writeAt(at - (from - to), buffer.data(), static_cast<std::size_t>(n));
        }
        truncate(static_cast<long>(from < end ? end - (from - to) : std::min(end, to)));
    }

    int fd_;
    std::string name_;
    off_t pos_ = 0;
    bool failed_ = false;
};

bool edited(int fd, const std::string& name, const std::function<bool(TagLib::IOStream&)>& edit) {
    CheckedStream stream(fd, name);
    try {
        return edit(stream) && !stream.failed();
    } catch (...) {
        return false;
    }
}

// The names of the extended attributes of the open file fd; none where the
// file system keeps none.
bool attributeNames(int fd, std::set<std::string>& names) {
    const ssize_t size = ::flistxattr(fd, nullptr, 0);
    if (size < 0) return errno == ENOTSUP;
    std::vector<char> list(static_cast<std::size_t>(size));
    const ssize_t got = ::flistxattr(fd, list.data(), list.size());
    if (got < 0) return false;
    for (const char* name = list.data(); name < list.data() + got; name += std::char_traits<char>::length(name) + 1)
        names.insert(name);
    return true;
}

// Gives the copy out the group, permission bits and extended attributes of
// the file described by st and open as in; false when one of them cannot be
// given.
bool takeAttributes(int in, int out, const struct stat& st) {
    struct stat made;
    if (::fstat(out, &made) != 0) return false;
    if (made.st_gid != st.st_gid && ::fchown(out, static_cast<uid_t>(-1), st.st_gid) != 0) return false;
    std::set<std::string> names, extra;
    if (!attributeNames(in, names) || !attributeNames(out, extra)) return false;
    std::vector<char> value;
    for (const std::string& name : names) {
        extra.erase(name);
        const ssize_t size = ::fgetxattr(in, name.c_str(), nullptr, 0);
        if (size < 0) return false;
        value.resize(static_cast<std::size_t>(size));
        const ssize_t read = ::fgetxattr(in, name.c_str(), value.data(), value.size());
        if (read < 0 || ::fsetxattr(out, name.c_str(), value.data(), static_cast<std::size_t>(read), 0) != 0)
            return false;
    }
    // What the folder gives every new file (an inherited access list, say)
    // the file did not have.
    for (const std::string& name : extra)
        if (::fremovexattr(out, name.c_str()) != 0) return false;
    // Last: an access list set above also sets the bits.
    return ::fchmod(out, st.st_mode & 07777) == 0;
}

enum class CopyEdit { Written, Failed, NotHere };

// The edit on a copy of the file open as in (st) that then takes its name:
// NotHere when the folder takes no copy or the copy cannot be like the file.
CopyEdit editCopy(int in, const struct stat& st, const std::string& target,
                  const std::function<bool(TagLib::IOStream&)>& edit) {
    durable::removeAbandonedTemporaries(target);
    const std::string temp = durable::temporaryBeside(target);
    const int out = ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0) return errno == EACCES || errno == EPERM || errno == EROFS ? CopyEdit::NotHere : CopyEdit::Failed;
    CopyEdit result = CopyEdit::Failed;
    if (!takeAttributes(in, out, st)) {
        result = CopyEdit::NotHere;
    } else if (::lseek(in, 0, SEEK_SET) == 0 && durable::copyContents(in, out) && edited(out, temp, edit)) {
        result = CopyEdit::Written;
    }
    if (::close(out) != 0) result = CopyEdit::Failed;
    if (result == CopyEdit::Written && durable::replaceFile(temp, target)) return result;
    ::unlink(temp.c_str());
    return result == CopyEdit::NotHere ? result : CopyEdit::Failed;
}

}  // namespace

bool editMediaFile(const std::string& path, const std::function<bool(TagLib::IOStream&)>& edit) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return false;
    const std::string target(resolved);
    std::free(resolved);
    const int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    bool ok = false;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        const bool copyFits = st.st_nlink == 1 && st.st_uid == ::geteuid();
        const CopyEdit copy = copyFits ? editCopy(fd, st, target, edit) : CopyEdit::NotHere;
        if (copy == CopyEdit::NotHere)
            ok = edited(fd, target, edit) && ::fdatasync(fd) == 0;
        else
            ok = copy == CopyEdit::Written;
    }
    ::close(fd);
    return ok;
}

}  // namespace tarvolin::tagwrite
