#pragma once
// A desktop for tests: records what the program asks of it and answers as
// the test scripts. The trash is real enough to check: a trashed file is
// moved out of its folder into the fake's own trash folder.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/desktop.h"
#include "support/temp_dir.h"

namespace tarvolin {

class FakeDesktop : public Desktop {
public:
    // --- URLs and the file manager
    // openUrl applies the same whitelist as the real desktop: every request
    // is in requestedUrls, the ones let through in openedUrls.
    bool openUrl(const std::string& urlOrPath) override;
    std::vector<std::string> requestedUrls;
    std::vector<std::string> openedUrls;

    bool revealFile(const std::string& path) override;
    std::vector<std::string> revealedFiles;
    bool revealResult = true;

    // --- Trash
    bool moveToTrash(const std::string& path, std::string* error) override;
    // Every call, in order, and the paths that were actually trashed.
    std::vector<std::string> trashCalls;
    std::vector<std::string> trashedPaths;
    // The next n calls fail with this message (the file stays).
    void failNextTrash(int n = 1, std::string message = "Operation not permitted");
    // Every call for this path fails.
    void failTrashOf(const std::string& path, std::string message = "Operation not permitted");
    // Where a trashed file went ("" if it was not trashed here).
    std::string trashedCopyOf(const std::string& path) const;
    const std::string& trashFolder() const { return trash_.path(); }

    // --- Autostart entry
    bool autostartExists() override { return autostart; }
    bool setAutostart(bool on, const std::string& executable, int* err, std::string* errText,
                      AutostartFailure* failedAt = nullptr) override;
    bool autostart = false;
    std::string autostartExecutable;
    int autostartCalls = 0;
    // The next setAutostart fails at this step with this errno (0: no failure).
    void failNextAutostart(AutostartFailure step, int err);

    // --- Clipboard, beep, screen, power
    void setClipboardText(const std::string& text) override { clipboard = text; }
    std::string clipboardText() override { return clipboard; }
    std::string clipboard;

    void beep(int freq, int ms) override { beeps.emplace_back(freq, ms); }
    std::vector<std::pair<int, int>> beeps;  // (frequency, milliseconds)

    ScreenSize screenSize() override { return screen; }
    ScreenSize screen{1920, 1080};
    bool keepsWindowsOnTop() override { return onTopKept; }
    bool onTopKept = true;

    bool powerOff() override {
        ++powerOffCalls;
        return powerOffResult;
    }
    int powerOffCalls = 0;
    bool powerOffResult = true;

private:
    TempDir trash_;
    int trashFailuresLeft_ = 0;
    std::string trashFailureMessage_;
    std::map<std::string, std::string> failingPaths_;
    std::map<std::string, std::string> trashedCopies_;
    int trashCounter_ = 0;
    AutostartFailure autostartFailStep_ = AutostartFailure::None;
    int autostartFailErr_ = 0;
};

}  // namespace tarvolin
