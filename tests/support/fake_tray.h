#pragma once
// A tray icon for tests: keeps the icon, the tip and whether it is shown,
// with every call in order; click() raises the mouse message as the real
// tray does (513 left button, 516 right button).
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace tarvolin {

class FakeTray : public TrayIcon {
public:
    bool available() override { return isAvailable; }

    void add(int iconNumber, const std::string& tipText) override {
        calls.push_back("add " + std::to_string(iconNumber) + " " + tipText);
        if (!isAvailable) return;
        icon = iconNumber;
        tip = tipText;
        shown_ = true;
    }
    void modify(int iconNumber, const std::string& tipText) override {
        calls.push_back("modify " + std::to_string(iconNumber) + " " + tipText);
        if (!shown_) return;
        icon = iconNumber;
        tip = tipText;
    }
    void remove() override {
        calls.push_back("remove");
        shown_ = false;
    }
    bool shown() const override { return shown_; }

    // As the user clicking the icon: 513 left, 516 right. Nothing reaches
    // the program while the icon is not shown.
    void click(int message) {
        if (shown_) this->message.raise(message);
    }

    bool isAvailable = true;
    int icon = 0;
    std::string tip;
    std::vector<std::string> calls;

private:
    bool shown_ = false;
};

}  // namespace tarvolin
