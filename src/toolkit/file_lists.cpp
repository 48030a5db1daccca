// Drive, folder and file list boxes over the real file system.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "toolkit/controls.h"

namespace fs = std::filesystem;

namespace tarvolin {

namespace {

const std::string kEmpty;

bool startsWith(std::string_view s, std::string_view p) {
    return s.size() >= p.size() && s.compare(0, p.size(), p) == 0;
}

bool isUnder(std::string_view path, std::string_view root) {
    return path == root || (startsWith(path, root) && path.size() > root.size() && path[root.size()] == '/');
}

// Mount table fields escape blanks and backslashes as \ooo.
std::string unescapeMountField(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() &&
            s[i + 1] >= '0' && s[i + 1] <= '7' && s[i + 2] >= '0' && s[i + 2] <= '7' &&
            s[i + 3] >= '0' && s[i + 3] <= '7') {
            out.push_back(static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(s[i]);
        }
    }
    return out;
}

// Sorted without regard to case; equal folded names keep byte order.
void sortNames(std::vector<std::string>& names) {
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(names.size());
    for (auto& n : names) keyed.emplace_back(foldCase(n), std::move(n));
    std::sort(keyed.begin(), keyed.end());
    names.clear();
    for (auto& [k, n] : keyed) names.push_back(std::move(n));
}

bool isFolder(const std::string& p) {
    std::error_code ec;
    return !p.empty() && fs::is_directory(fs::path(p), ec);
}

std::string joinPath(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::vector<std::string> splitPatterns(std::string_view pattern) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= pattern.size()) {
        std::size_t end = pattern.find(';', start);
        if (end == std::string_view::npos) end = pattern.size();
        std::string_view one = pattern.substr(start, end - start);
        while (!one.empty() && one.front() == ' ') one.remove_prefix(1);
        while (!one.empty() && one.back() == ' ') one.remove_suffix(1);
        if (!one.empty()) out.emplace_back(one);
        start = end + 1;
    }
    return out;
}

// The folder the lists open on: the working folder, else the root.
std::string startFolder() {
    std::error_code ec;
    std::string cwd = fs::current_path(ec).string();
    if (ec || cwd.empty()) cwd = "/";
    return normaliseFolderPath(cwd);
}

// The names of folder's entries that are not hidden and that `keep` accepts,
// sorted as the lists show them; nothing for a folder that cannot be read.
template <typename Keep>
std::vector<std::string> visibleEntries(const std::string& folder, Keep keep) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(fs::path(folder), fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (name.empty() || name.front() == '.') continue;
        if (!keep(*it, name)) continue;
        names.push_back(std::move(name));
    }
    if (ec) names.clear();
    sortNames(names);
    return names;
}

}  // namespace

std::string normaliseFolderPath(std::string_view p) {
    if (p.empty()) return {};
    fs::path path{std::string(p)};
    if (path.is_relative()) {
        std::error_code ec;
        fs::path base = fs::current_path(ec);
        if (!ec) path = base / path;
    }
    std::string out = path.lexically_normal().string();
    while (out.size() > 1 && out.back() == '/') out.pop_back();
    return out;
}

// ---------------------------------------------------------------------------
// DriveListBox

DriveListBox::DriveListBox() { Refresh(); }

std::vector<std::string> DriveListBox::drivesFromMounts(std::string_view mountsText) {
    std::vector<std::string> drives;
    std::istringstream in{std::string(mountsText)};
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint;
        if (!(fields >> device >> mountPoint)) continue;
        mountPoint = normaliseFolderPath(unescapeMountField(mountPoint));
        if (mountPoint.empty() || mountPoint == "/" || mountPoint.front() != '/') continue;
        const bool blockDevice = startsWith(device, "/dev/") && !startsWith(device, "/dev/loop");
        const bool removableArea = isUnder(mountPoint, "/media") || isUnder(mountPoint, "/mnt") ||
                                   isUnder(mountPoint, "/run/media");
        if (!blockDevice && !removableArea) continue;
        drives.push_back(mountPoint);
    }
    sortNames(drives);
    drives.erase(std::unique(drives.begin(), drives.end()), drives.end());
    drives.insert(drives.begin(), "/");
    return drives;
}

void DriveListBox::Refresh() {
    std::ifstream f(mountTable_);
    std::stringstream text;
    if (f) text << f.rdbuf();
    replaceItems(drivesFromMounts(text.str()));
    const int i = findStringExact(drive_, -1);
    if (i >= 0 && List(i) == drive_) ListControl::setListIndex(i);
}

bool DriveListBox::setDrive(std::string d) {
    d = normaliseFolderPath(d);
    int found = -1;
    for (int i = 0; i < ListCount(); ++i) {
        if (List(i) == d) {
            found = i;
            break;
        }
    }
    if (found < 0) {
        // The volume may have been mounted since the list was read.
        Refresh();
        for (int i = 0; i < ListCount(); ++i) {
            if (List(i) == d) {
                found = i;
                break;
            }
        }
    }
    if (found < 0 || !isFolder(d)) return false;
    if (d == drive_) return true;
    drive_ = std::move(d);
    ListControl::setListIndex(found);
    changed.emit(Property::Drive);
    Change.raise();
    return true;
}

// ---------------------------------------------------------------------------
// DirListBox

DirListBox::DirListBox() {
    path_ = startFolder();
    Refresh();
}

const std::string& DirListBox::List(int i) const {
    if (i >= 0) return ListControl::List(i);
    const auto up = static_cast<std::size_t>(-i - 1);
    return up < parents_.size() ? parents_[up] : kEmpty;
}

void DirListBox::Refresh() {
    parents_.clear();
    for (std::string p = path_;;) {
        parents_.push_back(p);
        if (p == "/" || p.empty()) break;
        const auto slash = p.rfind('/');
        if (slash == std::string::npos) break;
        p = slash == 0 ? "/" : p.substr(0, slash);
    }

    std::vector<std::string> names = visibleEntries(path_, [](const fs::directory_entry& e, const std::string&) {
        std::error_code ec;
        return e.is_directory(ec);
    });
    for (auto& n : names) n = joinPath(path_, n);
    replaceItems(std::move(names));
}

bool DirListBox::setPath(std::string p) {
    p = normaliseFolderPath(p);
    if (!isFolder(p)) return false;
    const bool differs = p != path_;
    path_ = std::move(p);
    Refresh();
    if (!differs) return true;
    Change.raise();
    return true;
}

// ---------------------------------------------------------------------------
// FileListBox

FileListBox::FileListBox() {
    path_ = startFolder();
    Refresh();
}

void FileListBox::Refresh() {
    const std::vector<std::string> patterns = splitPatterns(pattern_);
    std::vector<std::string> folded;
    folded.reserve(patterns.size());
    bool all = false;
    for (const auto& p : patterns) {
        if (p == "*.*" || p == "*") all = true;
        folded.push_back(foldCase(p));
    }

    replaceItems(visibleEntries(path_, [&](const fs::directory_entry& e, const std::string& name) {
        std::error_code ec;
        if (!e.is_regular_file(ec)) return false;
        if (all) return true;
        const std::string key = foldCase(name);
        for (const auto& p : folded) {
            if (matchesPattern(p, key)) return true;
        }
        return false;
    }));
}

bool FileListBox::setPath(std::string p) {
    p = normaliseFolderPath(p);
    if (!isFolder(p)) return false;
    const bool differs = p != path_;
    path_ = std::move(p);
    Refresh();
    if (!differs) return true;
    PathChange.raise();
    return true;
}

void FileListBox::setPattern(std::string p) {
    const bool differs = p != pattern_;
    pattern_ = std::move(p);
    Refresh();
    if (!differs) return;
    PatternChange.raise();
}

}  // namespace tarvolin
