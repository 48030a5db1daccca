#include "platform/tags/tag_file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <taglib/tiostream.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <utility>
#include <set>
#include <string>
#include <vector>

#include "toolkit/durable_file.h"
#include "toolkit/record_file.h"

namespace tarvolin::tagwrite {

namespace {

// Reads all of a stretch of the open file fd from `at`; false on any error
// or when the file ends first.
bool readFully(int fd, off_t at, char* data, std::size_t size) {
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::pread(fd, data + done, size - done, at + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A TagLib stream that changes nothing on the disk: it reads the open file
// and keeps what is written, inserted or removed as the file's new contents,
// a row of pieces that are each a stretch of the file or new bytes. The row
// is a tree balanced by chance (each piece has a random rank, above those of
// its subtrees) that knows the length of each subtree, so that an edit
// costs the logarithm of the number of pieces, never a walk of them all.
// Every read or write the system refused is noted, where TagLib's own file
// stream lets them pass unseen.
class PlannedFile : public TagLib::IOStream {
public:
    PlannedFile(int fd, std::string name, off_t size) : fd_(fd), name_(std::move(name)), original_(size), size_(size) {
        if (size > 0) root_ = node(size, 0, {});
    }

    bool failed() const { return failed_; }
    std::size_t steps() const { return steps_; }

    TagLib::FileName name() const override { return name_.c_str(); }

    TagLib::ByteVector readBlock(unsigned long length) override {
        const off_t n =
            std::clamp<off_t>(size_ - pos_, 0, static_cast<off_t>(std::min<unsigned long>(length, 1u << 30)));
        TagLib::ByteVector data(static_cast<unsigned int>(n), '\0');
        read(pos_, data.data(), static_cast<std::size_t>(n));
        pos_ += n;
        return data;
    }

    void writeBlock(const TagLib::ByteVector& data) override {
        replace(pos_, std::min<off_t>(data.size(), std::max<off_t>(0, size_ - pos_)), data);
        pos_ += data.size();
    }

    void insert(const TagLib::ByteVector& data, unsigned long start, unsigned long length) override {
        replace(static_cast<off_t>(start), static_cast<off_t>(length), data);
        pos_ = static_cast<off_t>(start + data.size());
    }

    void removeBlock(unsigned long start, unsigned long length) override {
        replace(static_cast<off_t>(start), static_cast<off_t>(length), {});
        pos_ = static_cast<off_t>(start);
    }

    bool readOnly() const override { return false; }
    bool isOpen() const override { return true; }

    void seek(long offset, Position p) override {
        const off_t base = p == Beginning ? 0 : p == Current ? pos_ : size_;
        // Like a file stream, a seek before the start goes nowhere.
        if (base + offset >= 0) pos_ = base + offset;
    }

    long tell() const override { return static_cast<long>(pos_); }
    long length() override { return static_cast<long>(size_); }

    void truncate(long length) override {
        if (length < size_)
            replace(length, size_ - length, {});
        else if (length > size_)
            replace(size_, 0, TagLib::ByteVector(static_cast<unsigned int>(length - size_), '\0'));
    }

    // True when every byte of the file that stays is where it was, so that the
    // change can be made in the file itself.
    bool keepsPlaces() const {
        off_t at = 0;
        bool kept = true;
        each(root_.get(), [&](const Piece& p) {
            if (p.from >= 0 && p.from != at) kept = false;
            at += p.length;
        });
        return kept;
    }

    // Makes the change in the file: of each new piece only the bytes that
    // differ from what the file holds there are written.
    bool writeInPlace() const {
        off_t at = 0;
        std::string old;
        bool ok = true;
        each(root_.get(), [&](const Piece& p) {
            if (ok && p.from < 0) {
                std::size_t first = 0, last = p.bytes.size();
                if (at < original_) {
                    const auto common = static_cast<std::size_t>(std::min<off_t>(p.length, original_ - at));
                    old.resize(common);
                    ok = readFully(fd_, at, old.data(), common);
                    while (first < common && old[first] == p.bytes[first]) ++first;
                    if (common == last)
                        while (last > first && old[last - 1] == p.bytes[last - 1]) --last;
                }
                if (ok && first < last)
                    ok = WriteAllAt(fd_, p.bytes.data() + first, last - first, at + static_cast<off_t>(first));
            }
            at += p.length;
        });
        return ok && (size_ >= original_ || ::ftruncate(fd_, size_) == 0);
    }

    // Writes the changed file into the empty file out; false also when the
    // file ended early, cut by another writer.
    bool writeTo(int out) const {
        bool ok = true;
        each(root_.get(), [&](const Piece& p) {
            ok = ok && (p.from >= 0 ? ::lseek(fd_, p.from, SEEK_SET) == p.from &&
                                          durable::copyContents(fd_, out, static_cast<std::uint64_t>(p.length))
                                    : durable::writeAll(out, p.bytes.data(), p.bytes.size()));
        });
        return ok && ::lseek(out, 0, SEEK_CUR) == size_;
    }

private:
    // `length` bytes: the file's from `from` on, or `bytes` when from < 0.
    struct Piece {
        off_t length;
        off_t from;
        std::string bytes;
    };
    struct Node;
    using Tree = std::unique_ptr<Node>;
    struct Node {
        Piece piece;
        std::uint32_t rank;
        off_t total;  // the length of the subtree
        Tree left, right;
    };

    static off_t total(const Tree& t) { return t ? t->total : 0; }
    static Tree& fixed(Tree& t) {
        t->total = total(t->left) + t->piece.length + total(t->right);
        return t;
    }

    Tree node(off_t length, off_t from, std::string bytes) {
        return Tree(new Node{{length, from, std::move(bytes)}, static_cast<std::uint32_t>(random_()), length, nullptr, nullptr});
    }

    // The pieces in their order.
    template <typename F>
    static void each(const Node* t, F&& f) {
        for (; t; t = t->right.get()) {
            each(t->left.get(), f);
            f(t->piece);
        }
    }

    // One row after the other.
    Tree join(Tree a, Tree b) {
        ++steps_;
        if (!a) return b;
        if (!b) return a;
        if (a->rank > b->rank) {
            a->right = join(std::move(a->right), std::move(b));
            return std::move(fixed(a));
        }
        b->left = join(std::move(a), std::move(b->left));
        return std::move(fixed(b));
    }

    // The row cut in two at `at`, a piece that spans it cut in two.
    std::pair<Tree, Tree> cut(Tree t, off_t at) {
        ++steps_;
        if (!t) return {};
        const off_t before = total(t->left), after = before + t->piece.length;
        if (at <= before) {
            auto [a, b] = cut(std::move(t->left), at);
            t->left = std::move(b);
            return {std::move(a), std::move(fixed(t))};
        }
        if (at >= after) {
            auto [a, b] = cut(std::move(t->right), at - after);
            t->right = std::move(a);
            return {std::move(fixed(t)), std::move(b)};
        }
        Piece& p = t->piece;
        const off_t head = at - before;
        Tree tail = node(p.length - head, p.from < 0 ? -1 : p.from + head,
                         p.from < 0 ? p.bytes.substr(static_cast<std::size_t>(head)) : std::string());
        p.length = head;
        p.bytes.resize(p.from < 0 ? static_cast<std::size_t>(head) : 0);
        Tree rest = join(std::move(tail), std::move(t->right));
        return {std::move(fixed(t)), std::move(rest)};
    }

    // Puts data in the place of `length` bytes from start; a start past the
    // end first fills the gap with zeros.
    void replace(off_t start, off_t length, const TagLib::ByteVector& data) {
        if (start > size_) replace(size_, 0, TagLib::ByteVector(static_cast<unsigned int>(start - size_), '\0'));
        length = std::min(length, size_ - start);
        auto [head, rest] = cut(std::move(root_), start);
        Tree tail = cut(std::move(rest), length).second;
        if (!data.isEmpty())
            head = join(std::move(head), node(static_cast<off_t>(data.size()), -1, std::string(data.data(), data.size())));
        root_ = join(std::move(head), std::move(tail));
        size_ += static_cast<off_t>(data.size()) - length;
    }

    // The new contents from `at` on.
    void read(off_t at, char* data, std::size_t size) {
        if (size == 0) return;
        auto [head, rest] = cut(std::move(root_), at);
        auto [middle, tail] = cut(std::move(rest), static_cast<off_t>(size));
        each(middle.get(), [&](const Piece& p) {
            ++steps_;
            if (p.from < 0)
                std::copy_n(p.bytes.data(), p.length, data);
            else if (!readFully(fd_, p.from, data, static_cast<std::size_t>(p.length)))
                failed_ = true;
            data += p.length;
        });
        root_ = join(std::move(head), join(std::move(middle), std::move(tail)));
    }

    int fd_;
    std::string name_;
    off_t original_;
    off_t size_;
    Tree root_;
    std::minstd_rand random_;
    off_t pos_ = 0;
    bool failed_ = false;
    std::size_t steps_ = 0;
};

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

// Writes the planned file to a copy beside target (the file open as in,
// described by st) that then takes its name. False when the folder takes no
// copy, the copy cannot be like the file, or a write fails.
bool writeCopy(int in, const struct stat& st, const std::string& target, const PlannedFile& plan) {
    const std::string temp = durable::temporaryBeside(target);
    const int out = ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0) return false;
    bool ok = takeAttributes(in, out, st) && plan.writeTo(out);
    if (::close(out) != 0) ok = false;
    if (ok && durable::replaceFile(temp, target)) return true;
    ::unlink(temp.c_str());
    return false;
}

}  // namespace

std::size_t plannedSteps(int fd, const std::function<void(TagLib::IOStream&)>& edit) {
    struct stat st;
    if (::fstat(fd, &st) != 0) return 0;
    PlannedFile plan(fd, "", st.st_size);
    edit(plan);
    return plan.steps();
}

bool editMediaFile(const std::string& path, const std::function<bool(TagLib::IOStream&)>& edit) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return false;
    const std::string target(resolved);
    std::free(resolved);
    const int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
        durable::removeAbandonedTemporaries(target);
        PlannedFile plan(fd, target, st.st_size);
        try {
            ok = edit(plan) && !plan.failed();
        } catch (...) {
            ok = false;
        }
        if (ok && plan.keepsPlaces())
            ok = plan.writeInPlace() && ::fdatasync(fd) == 0;
        else if (ok)
            // The audio moves: only where a copy can stand for the file.
            ok = st.st_nlink == 1 && st.st_uid == ::geteuid() && writeCopy(fd, st, target, plan);
    }
    ::close(fd);
    return ok;
}

}  // namespace tarvolin::tagwrite
