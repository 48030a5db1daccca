#include "gui/focus_hold.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include <deque>
#include <memory>

namespace tarvolin {

namespace {

// The wait of one window's focus widget for its container to be enabled
// again. A child of the window while it waits; it goes after handing over
// the keys it held.
class FocusHold final : public QObject {
public:
    FocusHold(QWidget* window, QWidget* target, QWidget* focusAfter)
        : QObject(window), target_(target), focusAfter_(focusAfter) {
        qApp->installEventFilter(this);
        // The user moving to another control ends the hold of the keys; what
        // was held still goes to its control.
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (now && now != focusAfter_ && now != target_) userMoved_ = true;
        });
    }
    ~FocusHold() override { qApp->removeEventFilter(this); }

    static FocusHold* of(QWidget* window) {
        for (QObject* c : window->children())
            if (auto* h = dynamic_cast<FocusHold*>(c); h && !h->released_) return h;
        return nullptr;
    }

    // `enabled` was just enabled: when the waiting control can take keys
    // again, it gets the focus back now and the held keys once the loop
    // runs (keys arriving until then queue behind them).
    void enabled(QWidget* enabled) {
        if (!target_) {
            finish();
            return;
        }
        if (!(enabled == target_ || enabled->isAncestorOf(target_)) || !target_->isEnabled()) return;
        released_ = true;
        if (!userMoved_ && QApplication::focusWidget() == focusAfter_) target_->setFocus(Qt::OtherFocusReason);
        QMetaObject::invokeMethod(this, [this] { replay(); }, Qt::QueuedConnection);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (replaying_ || userMoved_ || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
            return false;
        auto* w = qobject_cast<QWidget*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        if (!w || !target_ || w->window() != target_->window() || key->key() == Qt::Key_Escape) return false;
        held_.emplace_back(key->clone());
        return true;
    }

private:
    // A key given here may start another operation that disables the
    // container again: the hold made then takes the keys still to come, in
    // their order, as its filter runs before this one's.
    void replay() {
        replaying_ = true;
        while (!held_.empty() && target_) {
            std::unique_ptr<QKeyEvent> key = std::move(held_.front());
            held_.pop_front();
            QCoreApplication::sendEvent(target_, key.get());
        }
        finish();
    }
    void finish() {
        released_ = true;
        held_.clear();
        deleteLater();
    }

    QPointer<QWidget> target_;
    QPointer<QWidget> focusAfter_;  // where Qt left the focus on disabling
    std::deque<std::unique_ptr<QKeyEvent>> held_;
    bool released_ = false, replaying_ = false, userMoved_ = false;
};

}  // namespace

void setEnabledKeepingFocus(QWidget* widget, bool enabled) {
    if (!widget) return;
    QWidget* window = widget->window();
    if (enabled) {
        widget->setEnabled(true);
        if (FocusHold* hold = FocusHold::of(window)) hold->enabled(widget);
        return;
    }
    // Only a container keeps the focus of a control inside it: a control
    // disabled itself hands the focus on as usual.
    QWidget* focus = QApplication::focusWidget();
    const bool inside = focus && widget->isAncestorOf(focus) && focus->isEnabled();
    widget->setEnabled(false);
    if (inside && !FocusHold::of(window)) new FocusHold(window, focus, QApplication::focusWidget());
}

}  // namespace tarvolin
