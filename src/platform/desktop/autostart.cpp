#include "platform/desktop/autostart.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tarvolin {

namespace {

std::string configHome() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    std::string base;
    if (home && *home) {
        base = home;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
        base = pw->pw_dir;
    }
    if (!base.empty() && base.back() == '/') base.pop_back();
    return base + "/.config";
}

std::string autostartFolder() {
    std::string folder = configHome();
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder + "/autostart";
}

void fail(AutostartError* error, AutostartFailure step, int err) {
    if (!error) return;
    error->step = step;
    error->err = err;
    error->text = std::strerror(err);
}

// mkdir -p, keeping errno of the step that failed.
bool makeFolders(const std::string& folder) {
    if (folder.empty()) {
        errno = ENOENT;
        return false;
    }
    size_t pos = 1;
    while (true) {
        size_t slash = folder.find('/', pos);
        std::string part = folder.substr(0, slash);
        if (!part.empty() && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
        pos = slash + 1;
    }
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) return false;
    if (!S_ISDIR(st.st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    return true;
}

// Quotes an argument of the Exec key: inside double quotes the characters
// " ` $ \ are escaped with a backslash, % is doubled (field codes), and the
// value's own escapes double every backslash again and spell out line breaks.
std::string quoteExecArgument(const std::string& arg) {
    std::string quoted;
    for (char c : arg) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    std::string value = "\"";
    for (char c : quoted) {
        switch (c) {
        case '\\': value += "\\\\"; break;
        case '\n': value += "\\n"; break;
        case '\r': value += "\\r"; break;
        case '\t': value += "\\t"; break;
        case '%': value += "%%"; break;
        default: value += c; break;
        }
    }
    value += '"';
    return value;
}

bool writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::string autostartEntryPath() { return autostartFolder() + "/tarvolin.desktop"; }

std::string autostartEntryText(const std::string& executable) {
    return "[Desktop Entry]\nType=Application\nName=tarvolin\nExec=" + quoteExecArgument(executable) + "\n";
}

bool autostartEntryExists() {
    struct stat st {};
    return ::lstat(autostartEntryPath().c_str(), &st) == 0;
}

bool writeAutostartEntry(const std::string& executable, AutostartError* error) {
    if (error) *error = AutostartError{};
    std::string exe = executable.empty() ? currentExecutablePath() : executable;
    if (!exe.empty() && exe[0] != '/') {
        std::error_code ec;
        std::filesystem::path abs = std::filesystem::absolute(exe, ec);
        if (!ec) exe = abs.lexically_normal().string();
    }
    const std::string folder = autostartFolder();
    if (!makeFolders(folder)) {
        fail(error, AutostartFailure::Opening, errno);
        return false;
    }
    const std::string path = folder + "/tarvolin.desktop";
    const std::string temp = path + ".tmp";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        fail(error, AutostartFailure::Opening, errno);
        return false;
    }
    if (!writeAll(fd, autostartEntryText(exe)) || ::fsync(fd) != 0) {
        int err = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        fail(error, AutostartFailure::Setting, err);
        return false;
    }
    if (::close(fd) != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
        int err = errno;
        ::unlink(temp.c_str());
        fail(error, AutostartFailure::Setting, err);
        return false;
    }
    return true;
}

bool removeAutostartEntry(AutostartError* error) {
    if (error) *error = AutostartError{};
    if (::unlink(autostartEntryPath().c_str()) != 0 && errno != ENOENT) {
        fail(error, AutostartFailure::Opening, errno);
        return false;
    }
    return true;
}

std::string currentExecutablePath() {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
}

}  // namespace tarvolin
