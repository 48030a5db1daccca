#pragma once
// Whether one of the program's own operations is under way, and what waits
// until none is.
//
// An operation that yields (DoEvents, wait, a modal dialog) lets other
// events run before it has ended: a load between two tracks, a folder add
// between two files, a box it shows. The program reaches its message loop
// and its dialogs through the two wrappers here, which count those yields:
// while one is on the stack, an operation is under way beneath the event now
// served. What must never run in the middle of one (the shutdown and its
// save) is held until the program's code has returned to the message loop's
// top level; meanwhile every yield ends as the Esc key ends it, so that an
// operation the user may cancel is cancelled.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/dialogs.h"
#include "toolkit/message_loop.h"

namespace tarvolin {

class OperationWatch {
public:
    // loop and dialogs: the program's services; abortKey: the key the long
    // loops watch for Esc (27).
    OperationWatch(MessageLoop& loop, Dialogs& dialogs, int& abortKey);
    OperationWatch(const OperationWatch&) = delete;
    OperationWatch& operator=(const OperationWatch&) = delete;

    // The loop and dialogs of the program's own code.
    MessageLoop& loop() { return loop_; }
    Dialogs& dialogs() { return dialogs_; }

    // The program's code is inside one of its yields.
    bool underWay() const { return depth_ > 0; }
    // Runs fn at once when no operation is under way, else once the
    // program's code is back at the message loop's top level.
    void afterOperations(std::function<void()> fn);

private:
    // One yield of the program's code, from its start to its end.
    class Yield {
    public:
        explicit Yield(OperationWatch& watch) : watch_(watch) { ++watch_.depth_; }
        ~Yield() { watch_.leave(); }
        Yield(const Yield&) = delete;
        Yield& operator=(const Yield&) = delete;

    private:
        OperationWatch& watch_;
    };

    class CountedLoop final : public MessageLoop {
    public:
        CountedLoop(OperationWatch& watch, MessageLoop& inner) : watch_(watch), inner_(inner) {}
        void DoEvents() override;
        void wait(std::int64_t ms) override;
        std::int64_t tickCount() const override { return inner_.tickCount(); }
        DateTime now() const override { return inner_.now(); }
        void post(std::function<void()> fn) override { inner_.post(std::move(fn)); }
        void postAt(std::int64_t tick, std::function<void()> fn) override { inner_.postAt(tick, std::move(fn)); }
        void armTimer(Timer* timer, std::int64_t intervalMs) override { inner_.armTimer(timer, intervalMs); }
        void disarmTimer(Timer* timer) override { inner_.disarmTimer(timer); }
        void quit() override { inner_.quit(); }

    private:
        OperationWatch& watch_;
        MessageLoop& inner_;
    };

    class CountedDialogs final : public Dialogs {
    public:
        CountedDialogs(OperationWatch& watch, Dialogs& inner) : watch_(watch), inner_(inner) {}
        int MsgBox(const std::string& prompt, int buttons, const std::string& title) override;
        std::string InputBox(const std::string& prompt, const std::string& title,
                             const std::string& defaultText) override;
        bool ShowOpen(FileDialogRequest& req) override;
        bool ShowSave(FileDialogRequest& req) override;
        std::string PickFolder(const std::string& title, const std::string& startFolder) override;
        void beginUnattended() override { inner_.beginUnattended(); }
        void closeOpen() override { inner_.closeOpen(); }
        void setMousePointer(int pointer) override { inner_.setMousePointer(pointer); }
        int mousePointer() const override { return inner_.mousePointer(); }

    private:
        OperationWatch& watch_;
        Dialogs& inner_;
    };

    void leave();
    void runHeld();

    MessageLoop& inner_;
    int& abortKey_;
    int depth_ = 0;
    std::vector<std::function<void()>> held_;
    bool checkPosted_ = false;
    // A call posted to the loop finds out through this whether the watch is
    // still there.
    std::shared_ptr<char> alive_;
    CountedLoop loop_;
    CountedDialogs dialogs_;
};

}  // namespace tarvolin
