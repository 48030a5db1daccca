#include "support/blocking_test_loop.h"

#include <algorithm>
#include <ctime>
#include <vector>

#include "toolkit/controls.h"

namespace tarvolin {

BlockingTestLoop::BlockingTestLoop()
    : start_(std::chrono::steady_clock::now()), thread_(std::this_thread::get_id()) {}

BlockingTestLoop::~BlockingTestLoop() = default;

std::int64_t BlockingTestLoop::tickCount() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start_)
        .count();
}

DateTime BlockingTestLoop::now() const {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    DateTime dt;
    dt.year = tm.tm_year + 1900;
    dt.month = tm.tm_mon + 1;
    dt.day = tm.tm_mday;
    dt.hour = tm.tm_hour;
    dt.minute = tm.tm_min;
    dt.second = tm.tm_sec;
    dt.weekday = tm.tm_wday;
    return dt;
}

void BlockingTestLoop::post(std::function<void()> fn) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        posted_.push_back(std::move(fn));
        ++arrivals_;
    }
    cv_.notify_all();
}

void BlockingTestLoop::postAt(std::int64_t tick, std::function<void()> fn) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        later_.emplace(std::make_pair(tick, seq_++), std::move(fn));
        ++arrivals_;
    }
    cv_.notify_all();
}

void BlockingTestLoop::armTimer(Timer* timer, std::int64_t intervalMs) {
    if (!timer || intervalMs <= 0) {
        disarmTimer(timer);
        return;
    }
    timers_[timer] = Armed{tickCount() + intervalMs, intervalMs};
}

void BlockingTestLoop::disarmTimer(Timer* timer) { timers_.erase(timer); }

void BlockingTestLoop::DoEvents() {
    std::vector<std::function<void()>> batch;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const std::int64_t now = tickCount();
        // Calls that have come due go first: they were queued earlier.
        while (!later_.empty() && later_.begin()->first.first <= now) {
            batch.push_back(std::move(later_.begin()->second));
            later_.erase(later_.begin());
        }
        for (auto& fn : posted_) batch.push_back(std::move(fn));
        posted_.clear();
    }
    for (auto& fn : batch) {
        if (fn) fn();
    }
    const std::int64_t now = tickCount();
    std::vector<Timer*> due;
    for (auto& [t, a] : timers_) {
        if (a.due <= now) due.push_back(t);
    }
    for (Timer* t : due) {
        auto it = timers_.find(t);
        if (it == timers_.end()) continue;  // disarmed by an earlier handler
        it->second.due = now + it->second.interval;
        t->fire();
    }
}

void BlockingTestLoop::sleepUntil(std::int64_t until) {
    std::int64_t next = until;
    for (auto& [t, a] : timers_) next = std::min(next, a.due);
    std::unique_lock<std::mutex> lock(mutex_);
    if (!later_.empty()) next = std::min(next, later_.begin()->first.first);
    const std::int64_t now = tickCount();
    if (!posted_.empty() || next <= now) return;
    const std::uint64_t seen = arrivals_;
    cv_.wait_for(lock, std::chrono::milliseconds(next - now), [&] { return arrivals_ != seen; });
}

void BlockingTestLoop::wait(std::int64_t ms) {
    const std::int64_t end = tickCount() + ms;
    DoEvents();
    while (tickCount() < end) {
        sleepUntil(end);
        DoEvents();
    }
}

bool BlockingTestLoop::runUntil(const std::function<bool()>& done, std::int64_t timeoutMs,
                                std::int64_t pollMs) {
    const std::int64_t end = tickCount() + timeoutMs;
    DoEvents();
    while (!done()) {
        const std::int64_t now = tickCount();
        if (now >= end) return false;
        sleepUntil(pollMs > 0 ? std::min(end, now + pollMs) : end);
        DoEvents();
    }
    return true;
}

}  // namespace tarvolin
