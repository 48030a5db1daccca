#include "platform/desktop/linux_desktop.h"

#include <gio/gio.h>

#include "platform/desktop/autostart.h"
#include "platform/desktop/session_calls.h"
#include "platform/desktop/trash.h"
#include "platform/mpv/mpv_beep.h"
#include "platform/open_rules.h"

namespace tarvolin {

namespace {

bool startsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

bool launchDefault(const std::string& uri, std::string* error) {
    GError* gerror = nullptr;
    if (g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &gerror)) return true;
    if (error) *error = (gerror && gerror->message) ? gerror->message : "No application opens it";
    if (gerror) g_error_free(gerror);
    return false;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return "";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

bool LinuxDesktop::openUrl(const std::string& urlOrPath) {
    lastError_.clear();
    if (!isOpenable(urlOrPath)) {
        lastError_ = "Refused: " + urlOrPath;
        return false;
    }
    // A local path becomes a file:// URI; a file:// URL is passed on as it is.
    std::string url = urlOrPath;
    if (startsWith(urlOrPath, "/")) url = fileUri(urlOrPath);
    if (url.empty()) {
        lastError_ = "Not a local path: " + urlOrPath;
        return false;
    }
    // The toolkit's opener needs a helper (xdg-open) that a bare system may
    // lack; the desktop's default application for the URL is asked then.
    if (hooks_.openUrl && hooks_.openUrl(url)) return true;
    return launchDefault(url, &lastError_);
}

bool LinuxDesktop::revealFile(const std::string& path) {
    std::string reason;
    if (showItemInFileManager(path, &reason)) return true;
    const std::string folder = folderOf(path);
    if (folder.empty()) {
        lastError_ = reason;
        return false;
    }
    return openUrl(folder);
}

bool LinuxDesktop::moveToTrash(const std::string& path, std::string* error) {
    std::string reason;
    const bool ok = trashFile(path, &reason);
    if (!ok) lastError_ = reason;
    if (error) *error = reason;
    return ok;
}

bool LinuxDesktop::autostartExists() { return autostartEntryExists(); }

bool LinuxDesktop::setAutostart(bool on, const std::string& executable, int* err, std::string* errText,
                                AutostartFailure* failedAt) {
    AutostartError error;
    const bool ok = on ? writeAutostartEntry(executable, &error) : removeAutostartEntry(&error);
    if (err) *err = error.err;
    if (errText) *errText = error.text;
    if (failedAt) *failedAt = error.step;
    if (!ok) lastError_ = error.text;
    return ok;
}

void LinuxDesktop::setClipboardText(const std::string& text) {
    if (hooks_.setClipboardText) {
        hooks_.setClipboardText(text);
    } else {
        clipboard_ = text;
    }
}

std::string LinuxDesktop::clipboardText() {
    return hooks_.clipboardText ? hooks_.clipboardText() : clipboard_;
}

void LinuxDesktop::beep(int freq, int ms) {
    if (tarvolin::beep(freq, ms)) return;
    if (hooks_.beep) hooks_.beep(freq, ms);
}

ScreenSize LinuxDesktop::screenSize() { return hooks_.screenSize ? hooks_.screenSize() : ScreenSize{}; }

bool LinuxDesktop::keepsWindowsOnTop() { return !hooks_.keepsWindowsOnTop || hooks_.keepsWindowsOnTop(); }

bool LinuxDesktop::powerOff() {
    std::string reason;
    if (requestPowerOff(&reason)) return true;
    lastError_ = reason;
    return false;
}

}  // namespace tarvolin
