#pragma once
// Desktop services in place of the Windows shell, registry, tray and power
// management. Real implementations in platform/desktop (GIO, D-Bus, XDG) and
// gui/ (Qt tray, clipboard, URL opener); fakes in tests/support.
#include <string>

#include "toolkit/event.h"

namespace tarvolin {

struct ScreenSize {
    int widthPixels = 1920;
    int heightPixels = 1080;
};

// The step at which changing the autostart entry failed.
enum class AutostartFailure { None, Opening, Setting };

class Desktop {
public:
    virtual ~Desktop() = default;

    // Opens a web page, mail address or local file/folder with the desktop's
    // opener. Only http, https and mailto URLs and existing local files or
    // folders are opened; anything else is refused (false).
    virtual bool openUrl(const std::string& urlOrPath) = 0;
    // Shows the file selected in the file manager (FileManager1.ShowItems),
    // else opens its folder.
    virtual bool revealFile(const std::string& path) = 0;
    // Moves a file to the desktop's trash. False, with a reason, on failure.
    virtual bool moveToTrash(const std::string& path, std::string* error) = 0;

    // The autostart entry ($XDG_CONFIG_HOME/autostart/tarvolin.desktop).
    virtual bool autostartExists() = 0;
    // Creates (on) or removes (off) it. On failure: errno and its text, and
    // in failedAt the step that failed (Opening: the folder or the file could
    // not be created or removed; Setting: the entry could not be written).
    virtual bool setAutostart(bool on, const std::string& executable, int* err, std::string* errText,
                              AutostartFailure* failedAt = nullptr) = 0;

    virtual void setClipboardText(const std::string& text) = 0;
    virtual std::string clipboardText() = 0;

    // A tone of freq Hz lasting ms milliseconds.
    virtual void beep(int freq, int ms) = 0;

    virtual ScreenSize screenSize() = 0;
    // Whether the desktop keeps a window above the others when asked (some
    // compositors never do).
    virtual bool keepsWindowsOnTop() = 0;

    // Asks the system to power off. Never called by tests.
    virtual bool powerOff() = 0;
};

// The tray icon (Shell_NotifyIcon). A left click reaches the program as
// message 513, a right click as 516.
class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    virtual bool available() = 0;
    // icon: 100 playing, 101 paused, 102 stopped.
    virtual void add(int icon, const std::string& tip) = 0;
    virtual void modify(int icon, const std::string& tip) = 0;
    virtual void remove() = 0;
    virtual bool shown() const = 0;
    Event<int> message;  // 513 left button, 516 right button
};

}  // namespace tarvolin
