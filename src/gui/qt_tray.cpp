#include "gui/qt_tray.h"

#include "gui/pictures.h"

namespace tarvolin {

QtTray::QtTray() : icon_(std::make_unique<QSystemTrayIcon>()) {
    icon_->setObjectName("TrayIcon");
    connect(icon_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason r) { activated(r); });
}

QtTray::~QtTray() { icon_->hide(); }

bool QtTray::available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void QtTray::apply(int icon, const std::string& tip) {
    icon_->setIcon(programIcon(icon));
    icon_->setToolTip(QString::fromStdString(tip));
}

void QtTray::add(int icon, const std::string& tip) {
    apply(icon, tip);
    icon_->show();
    shown_ = true;
}

void QtTray::modify(int icon, const std::string& tip) {
    apply(icon, tip);
    if (shown_) icon_->show();
}

void QtTray::remove() {
    icon_->hide();
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
