#pragma once
// The desktop services of a Linux session: trash (GIO), autostart entry
// (XDG), file manager and power-off (D-Bus).
//
// Opening URLs, the clipboard and the screen size belong to the window
// toolkit, which this layer does not use. The front end hands them in as
// hooks (DesktopHooks) rather than subclassing, so that openUrl here always
// applies the whitelist (isOpenable) before any hook sees a URL. A hook
// left empty falls back to: GIO's default application for URLs (also when
// the URL hook fails), a clipboard held inside the program, and the default
// ScreenSize.
//
// The beep is a sine tone through libmpv; the beep hook (the toolkit's own
// beep) sounds only when libmpv could not take the tone.
#include <functional>
#include <string>

#include "platform/desktop.h"

namespace tarvolin {

struct DesktopHooks {
    // Opens a URL that passed the whitelist. Local files arrive as file://
    // URIs, web and mail addresses as given.
    std::function<bool(const std::string& url)> openUrl;
    std::function<void(const std::string& text)> setClipboardText;
    std::function<std::string()> clipboardText;
    std::function<ScreenSize()> screenSize;
    // Whether windows can be kept on top; yes when not told.
    std::function<bool()> keepsWindowsOnTop;
    // Used only when the tone cannot be played through libmpv.
    std::function<void(int freq, int ms)> beep;
};

class LinuxDesktop : public Desktop {
public:
    LinuxDesktop() = default;
    explicit LinuxDesktop(DesktopHooks hooks) : hooks_(std::move(hooks)) {}

    void setHooks(DesktopHooks hooks) { hooks_ = std::move(hooks); }
    DesktopHooks& hooks() { return hooks_; }

    // Refuses (false) what isOpenable refuses; the reason of the last
    // refusal or failure is in lastError().
    bool openUrl(const std::string& urlOrPath) override;
    // FileManager1.ShowItems; when no file manager answers, the file's
    // folder is opened instead.
    bool revealFile(const std::string& path) override;
    bool moveToTrash(const std::string& path, std::string* error) override;

    bool autostartExists() override;
    // executable "" means this program's own executable.
    bool setAutostart(bool on, const std::string& executable, int* err, std::string* errText,
                      AutostartFailure* failedAt = nullptr) override;

    void setClipboardText(const std::string& text) override;
    std::string clipboardText() override;
    void beep(int freq, int ms) override;
    ScreenSize screenSize() override;
    bool keepsWindowsOnTop() override;
    bool powerOff() override;

    const std::string& lastError() const { return lastError_; }

private:
    DesktopHooks hooks_;
    std::string clipboard_;
    std::string lastError_;
};

}  // namespace tarvolin
