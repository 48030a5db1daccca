#pragma once
// A message loop on the real monotonic clock for tests that drive real
// libraries (libmpv): calls posted from other threads wake it, and
// runUntil() blocks between events instead of spinning.
//
// The thread that makes the loop is its thread; DoEvents, wait and runUntil
// are to be called there. post and postAt may be called from any thread.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "toolkit/message_loop.h"

namespace tarvolin {

class BlockingTestLoop : public MessageLoop {
public:
    BlockingTestLoop();
    ~BlockingTestLoop() override;

    void DoEvents() override;
    std::int64_t tickCount() const override;
    DateTime now() const override;
    void post(std::function<void()> fn) override;
    void postAt(std::int64_t tick, std::function<void()> fn) override;
    void wait(std::int64_t ms) override;
    void armTimer(Timer* timer, std::int64_t intervalMs) override;
    void disarmTimer(Timer* timer) override;

    // Serves events until done() holds or timeoutMs have passed; returns
    // done(). done is checked after every turn, and at least every pollMs
    // for conditions that change with time alone (a playing position).
    bool runUntil(const std::function<bool()>& done, std::int64_t timeoutMs,
                  std::int64_t pollMs = 10);

    std::thread::id threadId() const { return thread_; }

private:
    // Blocks until something may be due or `until` (a tick) has come.
    void sleepUntil(std::int64_t until);

    std::chrono::steady_clock::time_point start_;
    std::thread::id thread_;
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<std::function<void()>> posted_;
    // Calls for later, by due tick and then by order of arrival.
    std::multimap<std::pair<std::int64_t, std::uint64_t>, std::function<void()>> later_;
    std::uint64_t seq_ = 0;
    std::uint64_t arrivals_ = 0;  // calls queued so far, to wake a sleeping loop
    struct Armed {
        std::int64_t due = 0;
        std::int64_t interval = 0;
    };
    std::map<Timer*, Armed> timers_;  // loop thread only
};

}  // namespace tarvolin
