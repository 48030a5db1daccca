#include "collection/store_files.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <limits>
#include <system_error>
#include <thread>
#include <vector>

#include "app/program.h"

namespace tarvolin::storefiles {

bool exists(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

std::int64_t fileSize(const std::string& path) {
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return static_cast<std::int64_t>(st.st_size);
}

std::string findAnyCase(const std::string& path) {
    if (path.empty()) return {};
    if (exists(path)) return path;
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
    const std::string wanted = LCase(slash == std::string::npos ? path : path.substr(slash + 1));
    std::error_code ec;
    std::filesystem::directory_iterator it(folder.empty() ? std::string("/") : folder, ec);
    if (ec) return {};
    std::vector<std::string> matches;
    for (const auto& entry : it) {
        const std::string name = entry.path().filename().string();
        if (LCase(name) == wanted) matches.push_back(name);
    }
    if (matches.empty()) return {};
    // The folder's order is arbitrary: take the first name in byte order.
    std::string best = matches.front();
    for (const std::string& m : matches)
        if (m < best) best = m;
    return (slash == std::string::npos ? std::string() : folder) + best;
}

std::string withoutExtension(const std::string& path) {
    const auto len = static_cast<long long>(Len(path));
    return Left(path, len > 4 ? len - 4 : 0);
}

std::string asFolder(std::string path) {
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

bool saneAmount(Currency value) {
    // 32768 tracks of this size still sum inside the range.
    constexpr std::int64_t limit = std::numeric_limits<std::int64_t>::max() / 32768;
    return value.raw() >= -limit && value.raw() <= limit;
}

std::string numberText(std::int64_t track) { return Format(track + 1, "#00000"); }

std::string classLetter(int cls) {
    switch (cls) {
        case 1: return "X";
        case 2: return "C";
        case 3: return "B";
        case 4: return "A";
        case 5: return "S";
        default: return "-";
    }
}

int classOfLetter(const std::string& letter) {
    for (int c = 0; c < kClassCount; ++c) {
        if (letter == classLetter(c)) return c;
    }
    return -1;
}

bool progressDue(std::int64_t done, std::int64_t total) { return done % 40 == 0 || done > total - 50; }

std::string durationText(Currency seconds) {
    const std::int64_t d = tryCLng(seconds).value_or(0);
    return Format(d / 3600, "0#") + ":" + Format((d % 3600) / 60, "0#") + ":" + Format((d % 3600) % 60, "0#");
}

std::string sizeText(Currency megabytes) {
    if (megabytes < Currency::fromInteger(1024)) return Format(megabytes, "#00.00") + "Mb";
    return Format(megabytes / 1024, "#00.00") + "Gb";
}

std::string bitrateText(int kbps) { return Format(kbps, "000"); }

Player& activePlayer(Program& app) {
    Player& main = app.state.CompactMode ? app.Form4.WindowsMediaPlayer1 : app.Form1.WindowsMediaPlayer1;
    switch (app.state.VideoMode) {
        case -1:
            return app.Form2.WindowsMediaPlayer1;
        case 0:
            return main;
        default: {
            const std::string& current = app.collection.d.CurrentFile;
            if (!current.empty() && app.Form2.WindowsMediaPlayer1.URL() == current)
                return app.Form2.WindowsMediaPlayer1;
            return main;
        }
    }
}

std::string temporaryBeside(const std::string& path) {
    static std::atomic<unsigned> serial{0};
    return path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(++serial);
}

bool copyFile(const std::string& from, const std::string& to) {
    const std::string temp = temporaryBeside(to);
    std::error_code ec;
    std::filesystem::copy_file(from, temp, std::filesystem::copy_options::overwrite_existing, ec);
    if (!ec && !replaceFile(temp, to)) ec = std::error_code(errno, std::generic_category());
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        return false;
    }
    return true;
}

bool replaceFile(const std::string& from, const std::string& to) {
    // The old file stays open across the swap, so letting go of its name
    // does not drop its last reference; closing that handle frees it later.
    int old = ::open(to.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    struct stat st;
    if (old >= 0 && (::fstat(old, &st) != 0 || !S_ISREG(st.st_mode))) {
        // Only a file is swapped; anything else is left to the plain rename
        // to refuse or replace as it always did.
        ::close(old);
        old = -1;
    }
    bool renamed = false;
    int renameError = 0;
    if (old >= 0 && ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_EXCHANGE) == 0) {
        // The two names swapped files in one step: from now names the old
        // file, which goes.
        renamed = true;
        ::unlink(from.c_str());
    } else {
        renamed = ::rename(from.c_str(), to.c_str()) == 0;
        renameError = errno;
    }
    // The new file is sent on its way to the disk at once, as a rename over
    // an old file would have done, but without holding up the save.
    const int fresh = renamed ? ::open(to.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK) : -1;
    auto release = [old, fresh] {
        if (fresh >= 0) {
            ::sync_file_range(fresh, 0, 0, SYNC_FILE_RANGE_WRITE);
            ::close(fresh);
        }
        if (old >= 0) ::close(old);
    };
    if (old >= 0 || fresh >= 0) {
        try {
            std::thread(release).detach();
        } catch (const std::system_error&) {
            release();
        }
    }
    errno = renameError;
    return renamed;
}

}  // namespace tarvolin::storefiles
