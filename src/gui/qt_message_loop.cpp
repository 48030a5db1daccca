#include "gui/qt_message_loop.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <utility>
#include <limits>

#include "toolkit/controls.h"

namespace tarvolin {

namespace {
int clampInterval(std::int64_t ms) {
    return static_cast<int>(std::clamp<std::int64_t>(ms, 0, std::numeric_limits<int>::max()));
}
}  // namespace

QtMessageLoop::QtMessageLoop() {
    clock_.start();
    dueTimer_ = new QTimer(this);
    dueTimer_->setSingleShot(true);
    dueTimer_->setTimerType(Qt::PreciseTimer);
    connect(dueTimer_, &QTimer::timeout, this, [this] { runDueCalls(); });
    paintTimer_ = new QTimer(this);
    paintTimer_->setSingleShot(true);
    connect(paintTimer_, &QTimer::timeout, this, [this] {
        for (const QPointer<QObject>& w : std::exchange(heldPaints_, {}))
            if (w) QCoreApplication::postEvent(w, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
    });
}

QtMessageLoop::~QtMessageLoop() {
    if (filtering_ && QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
    for (auto& [t, q] : timers_) delete q;
    timers_.clear();
}

void QtMessageLoop::DoEvents() {
    // Tests may make the loop before the application.
    if (!filtering_ && QCoreApplication::instance()) {
        QCoreApplication::instance()->installEventFilter(this);
        filtering_ = true;
    }
    const bool outer = !yielding_;
    yielding_ = true;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (outer) yielding_ = false;
}

bool QtMessageLoop::eventFilter(QObject* watched, QEvent* event) {
    // A widget window's repaint: its backing store draws what changed since.
    if (event->type() != QEvent::UpdateRequest || !watched->isWidgetType()) return false;
    const std::int64_t now = tickCount();
    if (yielding_ && now - lastPaint_ < kYieldPaintIntervalMs) {
        if (!heldPaints_.contains(watched)) heldPaints_.push_back(watched);
        if (!paintTimer_->isActive()) paintTimer_->start(clampInterval(lastPaint_ + kYieldPaintIntervalMs - now));
        return true;
    }
    lastPaint_ = now;
    return false;
}

std::int64_t QtMessageLoop::tickCount() const { return clock_.elapsed(); }

DateTime QtMessageLoop::now() const {
    const QDateTime t = QDateTime::currentDateTime();
    DateTime d;
    d.year = t.date().year();
    d.month = t.date().month();
    d.day = t.date().day();
    d.hour = t.time().hour();
    d.minute = t.time().minute();
    d.second = t.time().second();
    d.weekday = t.date().dayOfWeek() % 7;  // Qt: 1 Monday .. 7 Sunday
    return d;
}

void QtMessageLoop::post(std::function<void()> fn) {
    QMetaObject::invokeMethod(this, [fn = std::move(fn)] { RuntimeErrorReport::guard(fn); }, Qt::QueuedConnection);
}

void QtMessageLoop::postAt(std::int64_t tick, std::function<void()> fn) {
    {
        std::lock_guard<std::mutex> lock(dueMutex_);
        due_.emplace(tick, std::move(fn));
    }
    // The QTimer belongs to this thread; the caller may be another one.
    QMetaObject::invokeMethod(this, [this] { rearmDueTimer(); }, Qt::QueuedConnection);
}

void QtMessageLoop::rearmDueTimer() {
    std::int64_t first;
    {
        std::lock_guard<std::mutex> lock(dueMutex_);
        if (due_.empty()) {
            dueTimer_->stop();
            return;
        }
        first = due_.begin()->first;
    }
    dueTimer_->start(clampInterval(first - tickCount()));
}

void QtMessageLoop::runDueCalls() {
    // Take every call that is due, in order, then run them: a call may queue
    // new ones.
    std::vector<std::function<void()>> ready;
    {
        std::lock_guard<std::mutex> lock(dueMutex_);
        const std::int64_t t = tickCount();
        auto end = due_.upper_bound(t);
        for (auto it = due_.begin(); it != end; ++it) ready.push_back(std::move(it->second));
        due_.erase(due_.begin(), end);
    }
    for (auto& fn : ready) RuntimeErrorReport::guard(fn);
    rearmDueTimer();
}

void QtMessageLoop::wait(std::int64_t ms) {
    const std::int64_t until = tickCount() + std::max<std::int64_t>(ms, 0);
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    DoEvents();
    while (!quitRequested_) {
        const std::int64_t left = until - tickCount();
        if (left <= 0) break;
        // Sleep until an event comes or the time is up, whichever is first.
        wake.start(clampInterval(left));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

void QtMessageLoop::armTimer(Timer* timer, std::int64_t intervalMs) {
    if (!timer) return;
    QTimer*& q = timers_[timer];
    if (!q) {
        q = new QTimer(this);
        q->setTimerType(Qt::PreciseTimer);
        connect(q, &QTimer::timeout, this, [this, timer] { fireTimer(timer); });
    }
    q->start(clampInterval(std::max<std::int64_t>(intervalMs, 1)));
}

void QtMessageLoop::disarmTimer(Timer* timer) {
    auto it = timers_.find(timer);
    if (it == timers_.end()) return;
    QTimer* q = it->second;
    timers_.erase(it);
    if (q) {
        q->stop();
        q->disconnect();
        // The timer may be disarmed from inside its own timeout.
        q->deleteLater();
    }
}

void QtMessageLoop::fireTimer(Timer* timer) {
    if (!timers_.count(timer) || running_.count(timer)) return;  // never re-entered
    running_.insert(timer);
    timer->fire();
    running_.erase(timer);
}

void QtMessageLoop::quit() {
    quitRequested_ = true;
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::exit(0); },
                              Qt::QueuedConnection);
}

int QtMessageLoop::armedTimers() const { return static_cast<int>(timers_.size()); }

}  // namespace tarvolin
