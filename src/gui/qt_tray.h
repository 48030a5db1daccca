#pragma once
// The tray icon on QSystemTrayIcon. A left click reaches the program as
// message 513, a right click as 516; the program pops up its own menu.
#include <functional>
#include <memory>
#include <string>

#include <QObject>
#include <QSystemTrayIcon>

#include "platform/desktop.h"

namespace tarvolin {

class QtTray final : public QObject, public TrayIcon {
    Q_OBJECT
public:
    // hasTray: whether the desktop shows tray icons; by default asked of the
    // desktop without a word from Qt where it has no tray.
    explicit QtTray(std::function<bool()> hasTray = {});
    ~QtTray() override;

    bool available() override;
    void add(int icon, const std::string& tip) override;
    void modify(int icon, const std::string& tip) override;
    void remove() override;
    bool shown() const override { return shown_; }

    // The icon, made by the first add on a desktop with a tray; else null.
    QSystemTrayIcon* icon() const { return icon_.get(); }
    // The activation as the system tray reports it (also used by tests).
    void activated(QSystemTrayIcon::ActivationReason reason);

private:
    void apply(int icon, const std::string& tip);
    std::function<bool()> hasTray_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    bool shown_ = false;
};

}  // namespace tarvolin
