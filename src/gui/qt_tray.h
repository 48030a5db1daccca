#pragma once
// The tray icon on QSystemTrayIcon. A left click reaches the program as
// message 513, a right click as 516; the program pops up its own menu.
#include <memory>
#include <string>

#include <QObject>
#include <QSystemTrayIcon>

#include "platform/desktop.h"

namespace tarvolin {

class QtTray final : public QObject, public TrayIcon {
    Q_OBJECT
public:
    QtTray();
    ~QtTray() override;

    bool available() override;
    void add(int icon, const std::string& tip) override;
    void modify(int icon, const std::string& tip) override;
    void remove() override;
    bool shown() const override { return shown_; }

    QSystemTrayIcon* icon() const { return icon_.get(); }
    // The activation as the system tray reports it (also used by tests).
    void activated(QSystemTrayIcon::ActivationReason reason);

private:
    void apply(int icon, const std::string& tip);
    std::unique_ptr<QSystemTrayIcon> icon_;
    bool shown_ = false;
};

}  // namespace tarvolin
