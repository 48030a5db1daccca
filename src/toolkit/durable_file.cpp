#include "toolkit/durable_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <thread>
#include <vector>

namespace tarvolin::durable {

std::string temporaryBeside(const std::string& path) {
    static std::atomic<unsigned> serial{0};
    return path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(++serial);
}

void removeAbandonedTemporaries(const std::string& path) {
    const std::filesystem::path file(path);
    const std::string start = file.filename().string() + ".tmp-";
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path(), ec)) {
        const std::string name = entry.path().filename().string();
        if (name.compare(0, start.size(), start) != 0) continue;
        // "<pid>-<serial>", both numbers.
        const std::string rest = name.substr(start.size());
        const std::size_t dash = rest.find('-');
        const auto digits = [](const std::string& t) {
            return !t.empty() && t.find_first_not_of("0123456789") == std::string::npos;
        };
        if (dash == std::string::npos || !digits(rest.substr(0, dash)) || !digits(rest.substr(dash + 1))) continue;
        const long pid = std::strtol(rest.substr(0, dash).c_str(), nullptr, 10);
        if (pid <= 0 || pid == ::getpid()) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        std::error_code gone;
        if (entry.is_regular_file(gone) && !entry.is_symlink(gone)) std::filesystem::remove(entry.path(), gone);
    }
}

namespace {

// Retries a call that a signal interrupted.
template <typename F>
auto retried(F call) {
    decltype(call()) r;
    do {
        r = call();
    } while (r < 0 && errno == EINTR);
    return r;
}

}  // namespace

int openRetried(const std::string& path, int flags, mode_t mode) {
    return retried([&] { return ::open(path.c_str(), flags | O_CLOEXEC, mode); });
}

int openRegular(const std::string& path, int flags, mode_t mode, struct stat* st) {
    const int fd = openRetried(path, flags, mode);
    if (fd < 0) return -1;
    struct stat own;
    if (st == nullptr) st = &own;
    const bool stated = ::fstat(fd, st) == 0;
    if (stated && S_ISREG(st->st_mode)) return fd;
    const int e = !stated ? errno : S_ISDIR(st->st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    errno = e;
    return -1;
}

bool writeAll(int fd, const char* data, std::size_t size) {
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = retried([&] { return ::write(fd, data + done, size - done); });
        if (n < 0) return false;
        if (n == 0) {
            errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool copyContents(int in, int out) { return copyContents(in, out, UINT64_MAX); }

bool copyContents(int in, int out, std::uint64_t length) {
    // The system copies within the kernel where it can.
    bool kernelCopy = true;
    std::vector<char> buffer;
    while (length > 0) {
        const std::size_t most = static_cast<std::size_t>(std::min<std::uint64_t>(length, std::uint64_t(1) << 30));
        if (kernelCopy) {
            const ssize_t n = retried([&] { return ::copy_file_range(in, nullptr, out, nullptr, most, 0); });
            if (n > 0) {
                length -= static_cast<std::uint64_t>(n);
                continue;
            }
            if (n == 0) return true;
            if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP) return false;
            // Not between these files: by hand from where it stopped.
            kernelCopy = false;
            buffer.resize(std::size_t(1) << 20);
        }
        const ssize_t got = retried([&] { return ::read(in, buffer.data(), std::min(buffer.size(), most)); });
        if (got < 0) return false;
        if (got == 0) return true;
        if (!writeAll(out, buffer.data(), static_cast<std::size_t>(got))) return false;
        length -= static_cast<std::uint64_t>(got);
    }
    return true;
}

bool copyFile(const std::string& from, const std::string& to) {
    struct stat st;
    const int in = openRegular(from, O_RDONLY, 0, &st);
    if (in < 0) return false;
    const std::string temp = temporaryBeside(to);
    const int out = retried([&] { return ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777); });
    if (out < 0) {
        const int e = errno;
        ::close(in);
        errno = e;
        return false;
    }
    bool ok = copyContents(in, out);
    int e = errno;
    ::close(in);
    if (ok && ::fdatasync(out) != 0) {
        ok = false;
        e = errno;
    }
    if (::close(out) != 0 && ok) {
        ok = false;
        e = errno;
    }
    if (ok && !renameOver(temp, to)) {
        ok = false;
        e = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        errno = e;
    }
    return ok;
}

namespace {

// Opens path with flags and hands it to sync (fdatasync, fsync).
bool syncOpened(const std::string& path, int flags, int (*sync)(int)) {
    const int fd = retried([&] { return ::open(path.c_str(), flags | O_RDONLY | O_CLOEXEC); });
    if (fd < 0) return false;
    const bool ok = sync(fd) == 0;
    const int e = errno;
    ::close(fd);
    errno = e;
    return ok;
}

}  // namespace

bool syncFile(const std::string& path) { return syncOpened(path, O_NOFOLLOW | O_NONBLOCK, ::fdatasync); }

bool syncFolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
    return syncOpened(folder, O_DIRECTORY, ::fsync);
}

bool renameOver(const std::string& from, const std::string& to) {
    // The old file stays open across the rename, so losing its name does not
    // drop its last reference; closing that handle frees it later.
    int old = retried([&] { return ::open(to.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK); });
    struct stat st;
    if (old >= 0 && (::fstat(old, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(old);
        old = -1;
    }
    bool ok = ::rename(from.c_str(), to.c_str()) == 0;
    int e = errno;
    if (ok && !syncFolderOf(to)) {
        ok = false;
        e = errno;
    }
    if (old >= 0) {
        auto release = [old] { ::close(old); };
        try {
            std::thread(release).detach();
        } catch (const std::system_error&) {
            release();
        }
    }
    errno = e;
    return ok;
}

bool replaceFile(const std::string& from, const std::string& to) {
    if (!syncFile(from)) return false;
    return renameOver(from, to);
}

namespace {

// The new path written beside it: what path holds first when keep is set,
// then bytes.
bool replaceWith(const std::string& path, bool keep, std::string_view bytes) {
    const std::string temp = temporaryBeside(path);
    const int out = openRetried(temp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0666);
    if (out < 0) return false;
    bool ok = true;
    if (keep) {
        const int in = openRetried(path, O_RDONLY);
        if (in >= 0) {
            ok = copyContents(in, out);
            ::close(in);
        } else {
            ok = errno == ENOENT;
        }
    }
    ok = ok && writeAll(out, bytes.data(), bytes.size());
    if (::close(out) != 0) ok = false;
    if (ok && replaceFile(temp, path)) return true;
    const int err = errno;
    ::unlink(temp.c_str());
    errno = err;
    return false;
}

}  // namespace

bool writeWhole(const std::string& path, std::string_view bytes) { return replaceWith(path, false, bytes); }

bool appendWhole(const std::string& path, std::string_view bytes) { return replaceWith(path, true, bytes); }

}  // namespace tarvolin::durable
