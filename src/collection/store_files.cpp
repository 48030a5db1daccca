#include "collection/store_files.h"

#include <fcntl.h>
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
    if (!ec) std::filesystem::rename(temp, to, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        return false;
    }
    return true;
}

bool replaceFile(const std::string& from, const std::string& to) {
    // The old file stays open across the rename, so the rename does not
    // drop its last reference; closing that handle frees it later.
    const int old = ::open(to.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    const bool renamed = ::rename(from.c_str(), to.c_str()) == 0;
    const int renameError = errno;
    if (old >= 0) {
        try {
            std::thread([old] { ::close(old); }).detach();
        } catch (const std::system_error&) {
            ::close(old);
        }
    }
    errno = renameError;
    return renamed;
}

}  // namespace tarvolin::storefiles
