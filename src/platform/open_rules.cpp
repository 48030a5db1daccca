#include "platform/open_rules.h"

#include <sys/stat.h>

#include <cstdlib>
#include <string_view>
#include <vector>

namespace tarvolin {

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

bool hasControlCharacters(std::string_view text) {
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F) return true;
    }
    return false;
}

// A regular file or a folder (following links); devices, pipes and sockets
// are not opened.
bool isLocalFileOrFolder(const std::string& path) {
    if (path.empty() || path[0] != '/') return false;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    return S_ISREG(st.st_mode) || S_ISDIR(st.st_mode);
}

bool isRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string withSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool isOpenable(const std::string& urlOrPath) {
    if (urlOrPath.empty() || hasControlCharacters(urlOrPath)) return false;
    if (startsWithNoCase(urlOrPath, "http://")) return urlOrPath.size() > 7;
    if (startsWithNoCase(urlOrPath, "https://")) return urlOrPath.size() > 8;
    if (startsWithNoCase(urlOrPath, "mailto:")) return urlOrPath.size() > 7;
    if (startsWithNoCase(urlOrPath, "file://")) {
        std::string rest = urlOrPath.substr(7);
        if (startsWithNoCase(rest, "localhost/")) rest = rest.substr(9);
        std::string path = percentDecode(rest);
        // A %00 or an encoded line break must not sneak through the decoding.
        if (hasControlCharacters(path)) return false;
        return isLocalFileOrFolder(path);
    }
    return isLocalFileOrFolder(urlOrPath);
}

std::string percentEncodeUtf8(const std::string& text) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (unsigned char c : text) {
        bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                          c == '-' || c == '.' || c == '_' || c == '~';
        if (unreserved) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0x0F];
        }
    }
    return out;
}

std::string percentDecode(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            int hi = hexValue(text[i + 1]);
            int lo = hexValue(text[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string findHelpPage(const std::string& appFolder, const std::string& exeDir) {
    std::vector<std::string> folders;
    if (!appFolder.empty()) folders.push_back(withSlash(appFolder));
    if (!exeDir.empty()) {
        folders.push_back(withSlash(exeDir));
        folders.push_back(withSlash(exeDir) + "../share/tarvolin/");
    }
    const char* dataDirs = std::getenv("XDG_DATA_DIRS");
    std::string dirs = (dataDirs && *dataDirs) ? dataDirs : "/usr/local/share/:/usr/share/";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        // Relative entries are not meaningful in the search path; skip them.
        if (!dir.empty() && dir[0] == '/') folders.push_back(withSlash(dir) + "tarvolin/");
        start = end + 1;
    }
    for (const std::string& folder : folders) {
        std::string candidate = folder + kHelpPageName;
        if (isRegularFile(candidate)) return candidate;
    }
    return "";
}

}  // namespace tarvolin
