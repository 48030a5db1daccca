// Readers of the playlist files the program imports: .m3u, .wpl and the
// .asx family (.wvx, .wax, .asx). Entries come back as local paths.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/media.h"
#include "platform/open_rules.h"
#include "platform/tags/playlist_paths.h"
#include "platform/tags/text_encoding.h"
#include "platform/tags/xml_scan.h"

namespace tarvolin {

namespace {

bool exists(const std::string& path) {
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0;
}

std::string lowerAscii(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

bool hasDriveLetter(std::string_view s) {
    return s.size() >= 2 && std::isalpha(static_cast<unsigned char>(s[0])) && s[1] == ':';
}

// "scheme://" other than file: kept as written.
bool isOtherUrl(std::string_view s) {
    size_t colon = s.find("://");
    if (colon == std::string_view::npos || colon < 2) return false;
    for (size_t i = 0; i < colon; ++i) {
        char c = s[i];
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.')) return false;
    }
    return true;
}

// Removes "." and ".." segments and doubled separators of an absolute path.
std::string normalise(const std::string& path) {
    std::vector<std::string> parts;
    std::string seg;
    std::istringstream in(path);
    while (std::getline(in, seg, '/')) {
        if (seg.empty() || seg == ".") continue;
        if (seg == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(seg);
    }
    std::string out;
    for (const std::string& p : parts) out += "/" + p;
    return out.empty() ? "/" : out;
}

// Lists of folders already read during one playlist.
using FolderCache = std::map<std::string, std::vector<std::string>>;

const std::vector<std::string>& folderNames(FolderCache& cache, const std::string& folder) {
    auto it = cache.find(folder);
    if (it != cache.end()) return it->second;
    std::vector<std::string> names;
    if (DIR* d = opendir(folder.empty() ? "/" : folder.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n != "." && n != "..") names.push_back(n);
        }
        closedir(d);
    }
    return cache.emplace(folder, std::move(names)).first->second;
}

// Finds an absolute path that does not exist as written by matching each
// component without regard to case. "" when some component has no match.
std::string matchIgnoringCase(const std::string& path, FolderCache& cache) {
    std::string current;  // "" stands for the root
    std::istringstream in(path);
    std::string seg;
    while (std::getline(in, seg, '/')) {
        if (seg.empty()) continue;
        std::string exact = current + "/" + seg;
        if (exists(exact)) {
            current = exact;
            continue;
        }
        const std::string folded = text::foldCase(seg);
        std::string found;
        for (const std::string& name : folderNames(cache, current)) {
            if (text::foldCase(name) == folded) {
                found = name;
                break;
            }
        }
        if (found.empty()) return {};
        current += "/" + found;
    }
    return current.empty() ? "/" : current;
}

std::string resolveEntry(std::string entry, const std::string& folder, FolderCache& cache) {
    // Trim blanks and line ends.
    size_t b = entry.find_first_not_of(" \t\r\n");
    size_t e = entry.find_last_not_of(" \t\r\n");
    if (b == std::string::npos) return {};
    entry = entry.substr(b, e - b + 1);

    if (startsWithNoCase(entry, "file:")) {
        std::string rest = entry.substr(5);
        for (char& c : rest)
            if (c == '\\') c = '/';
        if (rest.rfind("//", 0) == 0) {
            rest.erase(0, 2);  // authority: empty or "localhost" is this machine
            if (startsWithNoCase(rest, "localhost/")) rest.erase(0, 9);
            else if (!rest.empty() && rest[0] != '/') rest = "//" + rest;  // another host: keep as text
        }
        // Percent escapes give bytes; those bytes are UTF-8 or an old code page.
        entry = text::decodeLegacyText(percentDecode(rest));
        if (entry.size() >= 3 && entry[0] == '/' && hasDriveLetter(std::string_view(entry).substr(1))) entry.erase(0, 1);
    } else if (isOtherUrl(entry)) {
        return entry;
    }
    for (char& c : entry)
        if (c == '\\') c = '/';
    if (hasDriveLetter(entry)) return entry;  // a path from Windows stays as text
    if (entry.rfind("//", 0) == 0) return entry;  // a network share, likewise

    std::string path = entry[0] == '/' ? entry : folder + "/" + entry;
    path = normalise(path);
    if (exists(path)) return path;
    std::string matched = matchIgnoringCase(path, cache);
    return matched.empty() ? path : matched;
}

std::vector<std::string> m3uEntries(const std::string& bytes) {
    std::string text = bytes;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    text = text::decodeLegacyText(text);
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        size_t b = line.find_first_not_of(" \t\r");
        if (b == std::string::npos || line[b] == '#') continue;
        out.push_back(line);
    }
    return out;
}

std::vector<std::string> wplEntries(const std::string& bytes) {
    std::vector<std::string> out;
    xml::scanTags(xml::fileText(bytes), [&](const xml::Tag& t) {
        if (t.closing || t.name != "media") return;
        // A media element without a path still counts as an entry.
        const std::string* src = t.attribute("src");
        out.push_back(src ? *src : std::string());
    });
    return out;
}

// One list of candidate references per entry.
std::vector<std::vector<std::string>> asxEntries(const std::string& bytes) {
    std::vector<std::vector<std::string>> out;
    bool inEntry = false;
    xml::scanTags(xml::fileText(bytes), [&](const xml::Tag& t) {
        if (t.name == "entry") {
            if (t.closing) {
                inEntry = false;
            } else {
                // An entry left open is closed by the next one.
                out.emplace_back();
                inEntry = !t.selfClosing;
            }
            return;
        }
        if (t.name == "ref" && !t.closing && inEntry) {
            if (const std::string* href = t.attribute("href")) out.back().push_back(*href);
        }
    });
    return out;
}

std::string folderOf(const std::string& path) {
    std::string abs = path;
    if (abs.empty() || abs[0] != '/') {
        char buf[4096];
        if (getcwd(buf, sizeof buf)) abs = std::string(buf) + "/" + abs;
    }
    size_t slash = abs.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string() : abs.substr(0, slash);
}

}  // namespace

std::string resolvePlaylistEntry(const std::string& entry, const std::string& playlistFolder) {
    FolderCache cache;
    std::string folder = playlistFolder;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (folder == "/") folder.clear();
    return resolveEntry(entry, folder, cache);
}

std::vector<std::string> readPlaylistFile(const std::string& path) {
    std::vector<std::string> result;
    std::ifstream f(path, std::ios::binary);
    if (!f) return result;
    std::ostringstream ss;
    ss << f.rdbuf();
    const std::string bytes = ss.str();

    std::string name = path.substr(path.find_last_of('/') + 1);
    size_t dot = name.find_last_of('.');
    const std::string ext = dot == std::string::npos ? std::string() : lowerAscii(name.substr(dot + 1));
    const std::string folder = folderOf(path);
    FolderCache cache;

    if (ext == "m3u") {
        for (const std::string& e : m3uEntries(bytes)) {
            std::string p = resolveEntry(e, folder, cache);
            if (!p.empty()) result.push_back(p);
        }
    } else if (ext == "wpl") {
        for (const std::string& e : wplEntries(bytes)) result.push_back(resolveEntry(e, folder, cache));
    } else if (ext == "wvx" || ext == "wax" || ext == "asx") {
        for (const auto& refs : asxEntries(bytes)) {
            std::string first, chosen;
            for (const std::string& r : refs) {
                std::string p = resolveEntry(r, folder, cache);
                if (p.empty()) continue;
                if (first.empty()) first = p;
                if (exists(p)) {
                    chosen = p;
                    break;
                }
            }
            result.push_back(chosen.empty() ? first : chosen);
        }
    }
    return result;
}

}  // namespace tarvolin
