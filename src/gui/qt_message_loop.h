#pragma once
// The program's message loop on Qt's event loop.
//
// DoEvents serves pending Qt events, the clock is a monotonic timer started
// with the loop, timers of the toolkit model run on QTimers, and post() is
// safe from any thread (libmpv's callbacks use it).
//
// A long operation yields (DoEvents) after every file, and each yield would
// repaint what the file changed: a window repaints inside a yield at most
// once every kYieldPaintIntervalMs; a repaint asked for sooner waits until
// then (the last state of the window is always drawn).
#include <QObject>
#include <QElapsedTimer>
#include <QList>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "toolkit/message_loop.h"

class QTimer;

namespace tarvolin {

class QtMessageLoop final : public QObject, public MessageLoop {
    Q_OBJECT
public:
    // Must be created on the GUI thread after the QApplication.
    QtMessageLoop();
    ~QtMessageLoop() override;

    void DoEvents() override;
    std::int64_t tickCount() const override;
    DateTime now() const override;
    void post(std::function<void()> fn) override;
    void postAt(std::int64_t tick, std::function<void()> fn) override;
    void wait(std::int64_t ms) override;
    void armTimer(Timer* timer, std::int64_t intervalMs) override;
    void disarmTimer(Timer* timer) override;
    void quit() override;

    // quit() was called (the caller then leaves or skips QApplication::exec).
    bool quitRequested() const { return quitRequested_; }
    // Number of armed model timers (for tests).
    int armedTimers() const;

    static constexpr std::int64_t kYieldPaintIntervalMs = 50;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fireTimer(Timer* timer);
    void runDueCalls();
    void rearmDueTimer();

    QElapsedTimer clock_;
    std::map<Timer*, QTimer*> timers_;
    std::set<Timer*> running_;  // timers whose handler is on the stack

    mutable std::mutex dueMutex_;
    std::multimap<std::int64_t, std::function<void()>> due_;  // guarded by dueMutex_
    QTimer* dueTimer_ = nullptr;
    bool quitRequested_ = false;

    bool filtering_ = false;  // the filter holding repaints is installed
    bool yielding_ = false;   // inside DoEvents
    std::int64_t lastPaint_ = -kYieldPaintIntervalMs;
    QList<QPointer<QObject>> heldPaints_;  // repaints a yield put off
    QTimer* paintTimer_ = nullptr;
};

}  // namespace tarvolin
