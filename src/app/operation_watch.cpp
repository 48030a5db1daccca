#include "app/operation_watch.h"

namespace tarvolin {

OperationWatch::OperationWatch(MessageLoop& loop, Dialogs& dialogs, int& abortKey)
    : inner_(loop),
      abortKey_(abortKey),
      alive_(std::make_shared<char>()),
      loop_(*this, loop),
      dialogs_(*this, dialogs) {}

void OperationWatch::afterOperations(std::function<void()> fn) {
    if (!underWay()) {
        fn();
        return;
    }
    held_.push_back(std::move(fn));
}

void OperationWatch::leave() {
    --depth_;
    if (held_.empty()) return;
    abortKey_ = 27;
    if (depth_ > 0 || checkPosted_) return;
    // Back in the operation's own code: the loop runs this check once the
    // operation has returned to it, or in the operation's next yield, whose
    // end posts it again.
    checkPosted_ = true;
    std::weak_ptr<char> alive = alive_;
    inner_.post([this, alive] {
        if (alive.expired()) return;
        checkPosted_ = false;
        if (!underWay()) runHeld();
    });
}

void OperationWatch::runHeld() {
    std::vector<std::function<void()>> calls;
    calls.swap(held_);
    for (auto& fn : calls) fn();
}

void OperationWatch::CountedLoop::DoEvents() {
    Yield yield(watch_);
    inner_.DoEvents();
}

void OperationWatch::CountedLoop::wait(std::int64_t ms) {
    Yield yield(watch_);
    inner_.wait(ms);
}

int OperationWatch::CountedDialogs::MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    Yield yield(watch_);
    return inner_.MsgBox(prompt, buttons, title);
}

std::string OperationWatch::CountedDialogs::InputBox(const std::string& prompt, const std::string& title,
                                                     const std::string& defaultText) {
    Yield yield(watch_);
    return inner_.InputBox(prompt, title, defaultText);
}

bool OperationWatch::CountedDialogs::ShowOpen(FileDialogRequest& req) {
    Yield yield(watch_);
    return inner_.ShowOpen(req);
}

bool OperationWatch::CountedDialogs::ShowSave(FileDialogRequest& req) {
    Yield yield(watch_);
    return inner_.ShowSave(req);
}

std::string OperationWatch::CountedDialogs::PickFolder(const std::string& title, const std::string& startFolder) {
    Yield yield(watch_);
    return inner_.PickFolder(title, startFolder);
}

}  // namespace tarvolin
