#pragma once
// A message loop on a virtual clock, for tests.
//
// The monotonic clock starts at 0 and moves only through advance(ms) and
// wait(ms); the local date and time (settable with setNow) moves with it.
//
// - advance(ms): moves the clock forward by ms, firing every timer that falls
//   due on the way in time order (equal due times: in the order the timers
//   were armed). A timer is re-armed for its next interval at the moment it
//   fires, before its handler runs. Posted calls run before each timer fires
//   and at the end.
// - DoEvents(): runs the onYield hook, the calls posted so far, and the
//   timers due at the current time; it never moves the clock.
// - wait(ms): a DoEvents, then advance(ms) - the original busy-wait on the
//   tick count with DoEvents.
// - A timer whose handler is running is not entered again: if the handler
//   yields (DoEvents, wait) and its own timer falls due meanwhile, that
//   firing is skipped (the timer is re-armed for its next interval).
// - post() and postAt() are thread-safe.
// - runUntilIdle(): DoEvents until no posted call is left (bounded).
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>

#include "toolkit/message_loop.h"

namespace tarvolin {

class VirtualLoop : public MessageLoop {
public:
    VirtualLoop();
    ~VirtualLoop() override;

    // MessageLoop
    void DoEvents() override;
    std::int64_t tickCount() const override { return now_; }
    DateTime now() const override;
    void post(std::function<void()> fn) override;
    // Runs fn when the clock reaches tick: in advance() at that very time,
    // ordered with the timers due then by when each was queued or armed.
    void postAt(std::int64_t tick, std::function<void()> fn) override;
    void wait(std::int64_t ms) override;
    void armTimer(Timer* timer, std::int64_t intervalMs) override;
    void disarmTimer(Timer* timer) override;
    void quit() override { quitRequested_ = true; }

    // Test controls
    void advance(std::int64_t ms);
    // Moves the clock to the next timer's (or timed call's) due time and
    // fires it; false when nothing is waiting.
    bool advanceToNextTimer();
    void runUntilIdle();
    // Sets the local date and time now (the weekday is computed); it then
    // moves with the monotonic clock.
    void setNow(const DateTime& dt);
    // Run at the start of every DoEvents (also inside wait): scripts what a
    // user does while the program yields, e.g. a cancel after n yields.
    std::function<void()> onYield;

    bool quitRequested() const { return quitRequested_; }
    int yieldCount() const { return yields_; }
    bool isArmed(const Timer* t) const { return timers_.count(const_cast<Timer*>(t)) != 0; }
    // Due time of an armed timer, -1 when not armed.
    std::int64_t dueTime(const Timer* t) const;
    std::size_t pendingPosts() const;
    std::size_t pendingTimedCalls() const;

private:
    struct Armed {
        std::int64_t due = 0;
        std::int64_t interval = 0;
        std::uint64_t seq = 0;
    };
    void runPosted();
    // Fires the earliest timer or timed call due at or before `limit`, moving
    // the clock to its due time; false when none is due.
    bool fireNextDue(std::int64_t limit);
    // Re-arms t for its next interval from now and raises its event unless
    // its handler is running.
    void fireTimer(Timer* t, std::int64_t interval);
    // Runs the timed calls due at the current time.
    void runDueTimedCalls();

    std::int64_t now_ = 0;
    std::int64_t dateBaseTick_ = 0;
    std::int64_t dateBaseSeconds_ = 0;  // local seconds since 1970-01-01 at dateBaseTick_
    std::map<Timer*, Armed> timers_;
    std::set<Timer*> running_;
    std::atomic<std::uint64_t> nextSeq_{1};
    mutable std::mutex postMutex_;
    std::deque<std::function<void()>> posted_;
    // (due tick, order queued) -> call; guarded by postMutex_.
    std::map<std::pair<std::int64_t, std::uint64_t>, std::function<void()>> timed_;
    bool quitRequested_ = false;
    bool inYieldHook_ = false;
    int yields_ = 0;
};

}  // namespace tarvolin
