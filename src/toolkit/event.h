#pragma once
// Events and change notifications of the toolkit model.
//
// An Event is what the program handles: one handler, wired by Program
// (Form1.Command3[0].Click -> playback.Command3_Click(0)); a second handler
// wired over the first while the program wires them stops a debug build.
// Raising an event with no handler does nothing. A RuntimeError that leaves the handler ends
// it there and goes to the thread's RuntimeErrorReport.
//
// A Signal tells observers (the Qt binders, tests) that a control's state
// changed, so that a view can redraw. Any number of listeners; it never
// carries behaviour of the program.
#include <cassert>
#include <functional>
#include <utility>
#include <vector>

#include "toolkit/runtime_error.h"

namespace tarvolin {

// Open while the program wires its handlers: wiring a handler over another
// then is a mistake (only the last would run) and stops a debug build. A
// handler meant to take over is wired after disconnect().
class EventWiring {
public:
    EventWiring() { ++depth(); }
    ~EventWiring() { --depth(); }
    EventWiring(const EventWiring&) = delete;
    EventWiring& operator=(const EventWiring&) = delete;
    static bool open() { return depth() > 0; }

private:
    static int& depth() {
        thread_local int d = 0;
        return d;
    }
};

template <typename... Args>
class Event {
public:
    using Handler = std::function<void(Args...)>;

    Event& operator=(Handler h) {
        connect(std::move(h));
        return *this;
    }
    void connect(Handler h) {
        assert((!handler_ || !h || !EventWiring::open()) && "an event has one handler");
        handler_ = std::move(h);
    }
    void disconnect() { handler_ = nullptr; }
    bool connected() const { return static_cast<bool>(handler_); }

    void raise(Args... args) const {
        if (handler_) {
            // Copy: a handler may rewire the event while it runs.
            Handler h = handler_;
            try {
                h(args...);
            } catch (const RuntimeError& e) {
                RuntimeErrorReport::tell(e);
            }
        }
    }
    void operator()(Args... args) const { raise(args...); }

private:
    Handler handler_;
};

template <typename... Args>
class Signal {
public:
    using Listener = std::function<void(Args...)>;

    int listen(Listener l) {
        listeners_.push_back({next_, std::move(l)});
        return next_++;
    }
    void unlisten(int id) {
        for (auto it = listeners_.begin(); it != listeners_.end(); ++it) {
            if (it->first == id) {
                listeners_.erase(it);
                return;
            }
        }
    }
    void emit(Args... args) const {
        if (listeners_.empty()) return;
        auto copy = listeners_;
        for (auto& [id, l] : copy) l(args...);
    }
    bool empty() const { return listeners_.empty(); }

private:
    std::vector<std::pair<int, Listener>> listeners_;
    int next_ = 1;
};

}  // namespace tarvolin
