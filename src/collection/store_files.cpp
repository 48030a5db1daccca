#include "collection/store_files.h"

#include <sys/stat.h>

#include <filesystem>
#include <limits>
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

bool fitsTextLine(const std::string& text) {
    return text.find_first_of("\r\n") == std::string::npos && (text.empty() || (text[0] != ' ' && text[0] != '\t'));
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

}  // namespace tarvolin::storefiles
