#pragma once
// A temporary folder for one test, removed with everything in it when the
// object goes. Made under $TMPDIR (or /tmp).
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace tarvolin {

class TempDir {
public:
    TempDir() {
        const char* base = std::getenv("TMPDIR");
        std::string root = (base && *base) ? base : "/tmp";
        if (root.back() != '/') root += '/';
        std::string pattern = root + "tarvolin-test-XXXXXX";
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back('\0');
        if (!mkdtemp(buf.data())) throw std::runtime_error("cannot create a temporary folder under " + root);
        path_ = std::string(buf.data()) + "/";
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, ending in "/".
    const std::string& path() const { return path_; }
    // path() + name; name may hold subfolders ("a/b.mp3").
    std::string file(const std::string& name) const { return path_ + name; }
    // Creates a subfolder (and its parents) and gives its path ending in "/".
    std::string makeDir(const std::string& name) const {
        std::filesystem::create_directories(path_ + name);
        std::string p = path_ + name;
        if (p.back() != '/') p += '/';
        return p;
    }

private:
    std::string path_;
};

}  // namespace tarvolin
