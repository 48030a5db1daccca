#include "gui/qt_tray.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QGuiApplication>

#include "gui/pictures.h"

namespace tarvolin {

namespace {

// On X11 Qt finds the tray itself. Elsewhere only a status notifier host on
// the session bus shows icons, and Qt's own check, finding none, falls back
// to X11 calls that fail with a warning.
bool desktopHasTray() {
    if (QGuiApplication::platformName() != "xcb") {
        const QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected() || !bus.interface() ||
            !bus.interface()->isServiceRegistered("org.kde.StatusNotifierWatcher"))
            return false;
    }
    return QSystemTrayIcon::isSystemTrayAvailable();
}

}  // namespace

QtTray::QtTray(std::function<bool()> hasTray) : hasTray_(hasTray ? std::move(hasTray) : desktopHasTray) {}

QtTray::~QtTray() {
    if (icon_) icon_->hide();
}

bool QtTray::available() { return hasTray_(); }

void QtTray::apply(int icon, const std::string& tip) {
    icon_->setIcon(programIcon(icon));
    icon_->setToolTip(QString::fromStdString(tip));
}

void QtTray::add(int icon, const std::string& tip) {
    // On X11 the icon waits for a tray that comes up later (a panel started
    // after the program); elsewhere no icon goes to a tray nobody sees.
    if (!icon_ && QGuiApplication::platformName() != "xcb" && !available()) return;
    if (!icon_) {
        icon_ = std::make_unique<QSystemTrayIcon>();
        icon_->setObjectName("TrayIcon");
        connect(icon_.get(), &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason r) { activated(r); });
    }
    apply(icon, tip);
    icon_->show();
    shown_ = true;
}

void QtTray::modify(int icon, const std::string& tip) {
    if (!icon_) return;
    apply(icon, tip);
    if (shown_) icon_->show();
}

void QtTray::remove() {
    if (icon_) icon_->hide();
    shown_ = false;
}

void QtTray::activated(QSystemTrayIcon::ActivationReason reason) {
    if (!shown_) return;
    switch (reason) {
    case QSystemTrayIcon::Trigger: message.raise(513); break;
    case QSystemTrayIcon::Context: message.raise(516); break;
    default: break;
    }
}

}  // namespace tarvolin
