#pragma once
// The program's one thread: its message loop, clocks and timers.
//
// Two implementations: the Qt loop of the front end (gui/) and VirtualLoop
// (toolkit/virtual_loop.h) for tests, whose clock moves only when a test
// advances it or a wait needs it to.
#include <cstdint>
#include <functional>

namespace tarvolin {

// Local calendar date and time, as the original runtime's Now gives it.
struct DateTime {
    int year = 1970, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    int weekday = 4;  // 0 Sunday .. 6 Saturday
};

class Timer;

class MessageLoop {
public:
    virtual ~MessageLoop() = default;

    // Serves pending events (posted calls, due timers, user input) and
    // returns. Never blocks waiting for new work.
    virtual void DoEvents() = 0;

    // Monotonic milliseconds since an arbitrary start. Never wraps, never
    // goes back.
    virtual std::int64_t tickCount() const = 0;

    // Local date and time now.
    virtual DateTime now() const = 0;

    // Thread-safe: queue fn to run on the loop's thread at the next turn.
    virtual void post(std::function<void()> fn) = 0;

    // Thread-safe: queue fn to run on the loop's thread once tickCount() has
    // reached tick (at the next turn when it already has). Calls due at the
    // same tick run in the order they were queued.
    virtual void postAt(std::int64_t tick, std::function<void()> fn) = 0;

    // Keeps serving events until ms milliseconds of the monotonic clock have
    // passed (a busy-wait on the tick count that keeps the windows alive).
    virtual void wait(std::int64_t ms) = 0;

    // Timer controls register themselves while they are enabled with a
    // positive interval; the loop raises their Timer event when due.
    // (Re)arming restarts the interval from now.
    virtual void armTimer(Timer* timer, std::int64_t intervalMs) = 0;
    virtual void disarmTimer(Timer* timer) = 0;

    // Ends the loop's run (the process then exits).
    virtual void quit() {}
};

}  // namespace tarvolin
