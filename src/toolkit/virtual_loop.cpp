#include "toolkit/virtual_loop.h"

#include <chrono>
#include <vector>

#include "toolkit/controls.h"

namespace tarvolin {

namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

}  // namespace

VirtualLoop::VirtualLoop() {
    DateTime start;
    start.year = 2024;
    start.month = 3;
    start.day = 15;
    start.hour = 12;
    setNow(start);
}

VirtualLoop::~VirtualLoop() {
    // Timers that outlive the loop must not call back into it.
    std::vector<Timer*> armed;
    for (const auto& [t, a] : timers_) armed.push_back(t);
    timers_.clear();
    for (Timer* t : armed) t->detachLoop();
}

void VirtualLoop::setNow(const DateTime& dt) {
    using namespace std::chrono;
    const sys_days d{year{dt.year} / month{static_cast<unsigned>(dt.month)} / day{static_cast<unsigned>(dt.day)}};
    const std::int64_t days = d.time_since_epoch().count();
    dateBaseSeconds_ = days * 86400 + dt.hour * 3600 + dt.minute * 60 + dt.second;
    dateBaseTick_ = now_;
}

DateTime VirtualLoop::now() const {
    using namespace std::chrono;
    const std::int64_t secs = dateBaseSeconds_ + floorDiv(now_ - dateBaseTick_, 1000);
    const std::int64_t days = floorDiv(secs, 86400);
    const std::int64_t rest = secs - days * 86400;
    const sys_days d{std::chrono::days{days}};
    const year_month_day ymd{d};
    DateTime dt;
    dt.year = static_cast<int>(ymd.year());
    dt.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    dt.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    dt.hour = static_cast<int>(rest / 3600);
    dt.minute = static_cast<int>((rest / 60) % 60);
    dt.second = static_cast<int>(rest % 60);
    dt.weekday = static_cast<int>(weekday{d}.c_encoding());
    return dt;
}

void VirtualLoop::post(std::function<void()> fn) {
    std::lock_guard<std::mutex> lock(postMutex_);
    posted_.push_back(std::move(fn));
}

void VirtualLoop::postAt(std::int64_t tick, std::function<void()> fn) {
    std::lock_guard<std::mutex> lock(postMutex_);
    timed_.emplace(std::make_pair(tick, nextSeq_++), std::move(fn));
}

std::size_t VirtualLoop::pendingTimedCalls() const {
    std::lock_guard<std::mutex> lock(postMutex_);
    return timed_.size();
}

void VirtualLoop::runDueTimedCalls() {
    for (;;) {
        std::function<void()> fn;
        {
            std::lock_guard<std::mutex> lock(postMutex_);
            auto it = timed_.begin();
            if (it == timed_.end() || it->first.first > now_) return;
            fn = std::move(it->second);
            timed_.erase(it);
        }
        if (fn) RuntimeErrorReport::guard(fn);
    }
}

std::size_t VirtualLoop::pendingPosts() const {
    std::lock_guard<std::mutex> lock(postMutex_);
    return posted_.size();
}

void VirtualLoop::runPosted() {
    // Only the calls posted so far: a call that posts again runs next turn.
    std::deque<std::function<void()>> batch;
    {
        std::lock_guard<std::mutex> lock(postMutex_);
        batch.swap(posted_);
    }
    for (auto& fn : batch) {
        if (fn) RuntimeErrorReport::guard(fn);
    }
}

void VirtualLoop::armTimer(Timer* timer, std::int64_t intervalMs) {
    if (!timer || intervalMs <= 0) {
        disarmTimer(timer);
        return;
    }
    timers_[timer] = Armed{now_ + intervalMs, intervalMs, nextSeq_++};
}

void VirtualLoop::disarmTimer(Timer* timer) { timers_.erase(timer); }

std::int64_t VirtualLoop::dueTime(const Timer* t) const {
    auto it = timers_.find(const_cast<Timer*>(t));
    return it == timers_.end() ? -1 : it->second.due;
}

bool VirtualLoop::fireNextDue(std::int64_t limit) {
    Timer* best = nullptr;
    Armed bestArm;
    for (const auto& [t, a] : timers_) {
        if (a.due > limit) continue;
        if (!best || a.due < bestArm.due || (a.due == bestArm.due && a.seq < bestArm.seq)) {
            best = t;
            bestArm = a;
        }
    }
    // A timed call queued before the timer was armed goes first.
    {
        std::function<void()> fn;
        {
            std::lock_guard<std::mutex> lock(postMutex_);
            auto it = timed_.begin();
            if (it != timed_.end() && it->first.first <= limit &&
                (!best || it->first.first < bestArm.due ||
                 (it->first.first == bestArm.due && it->first.second < bestArm.seq))) {
                if (it->first.first > now_) now_ = it->first.first;
                fn = std::move(it->second);
                timed_.erase(it);
            }
        }
        if (fn) {
            RuntimeErrorReport::guard(fn);
            return true;
        }
    }
    if (!best) return false;
    if (bestArm.due > now_) now_ = bestArm.due;
    fireTimer(best, bestArm.interval);
    return true;
}

void VirtualLoop::fireTimer(Timer* t, std::int64_t interval) {
    // Re-arm for the next interval before the handler runs.
    timers_[t] = Armed{now_ + interval, interval, nextSeq_++};
    if (running_.count(t)) return;  // its handler is still running
    running_.insert(t);
    t->fire();
    running_.erase(t);
}

void VirtualLoop::DoEvents() {
    ++yields_;
    if (onYield && !inYieldHook_) {
        inYieldHook_ = true;
        auto hook = onYield;
        hook();
        inYieldHook_ = false;
    }
    runPosted();
    // Each timer due now fires once (re-arming moves it past now).
    std::set<Timer*> fired;
    for (;;) {
        runDueTimedCalls();
        Timer* best = nullptr;
        Armed bestArm;
        for (const auto& [t, a] : timers_) {
            if (a.due > now_ || fired.count(t)) continue;
            if (!best || a.due < bestArm.due || (a.due == bestArm.due && a.seq < bestArm.seq)) {
                best = t;
                bestArm = a;
            }
        }
        if (!best) break;
        fired.insert(best);
        fireTimer(best, bestArm.interval);
    }
}

void VirtualLoop::advance(std::int64_t ms) {
    if (ms < 0) ms = 0;
    const std::int64_t target = now_ + ms;
    runPosted();
    while (fireNextDue(target)) runPosted();
    if (now_ < target) now_ = target;
    runPosted();
}

bool VirtualLoop::advanceToNextTimer() {
    bool any = false;
    std::int64_t due = 0;
    for (const auto& [t, a] : timers_) {
        due = any ? std::min(due, a.due) : a.due;
        any = true;
    }
    {
        std::lock_guard<std::mutex> lock(postMutex_);
        if (!timed_.empty()) {
            const std::int64_t d = timed_.begin()->first.first;
            due = any ? std::min(due, d) : d;
            any = true;
        }
    }
    if (!any) return false;
    advance(due > now_ ? due - now_ : 0);
    return true;
}

void VirtualLoop::wait(std::int64_t ms) {
    DoEvents();
    advance(ms);
}

void VirtualLoop::runUntilIdle() {
    for (int turn = 0; turn < 100000; ++turn) {
        DoEvents();
        if (pendingPosts() == 0) {
            std::lock_guard<std::mutex> lock(postMutex_);
            if (timed_.empty() || timed_.begin()->first.first > now_) return;
        }
    }
}

}  // namespace tarvolin
