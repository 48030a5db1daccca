#include "toolkit/scripted_dialogs.h"

namespace tarvolin {

int ScriptedDialogs::firstButton(int buttons) {
    switch (buttons & 7) {
        case mb::AbortRetryIgnore: return mb::Abort;
        case mb::YesNoCancel:
        case mb::YesNo: return mb::Yes;
        case mb::RetryCancel: return mb::Retry;
        default: return mb::OK;
    }
}

std::vector<DialogCall> ScriptedDialogs::calls(const std::string& kind) const {
    std::vector<DialogCall> out;
    for (const auto& c : transcript_) {
        if (c.kind == kind) out.push_back(c);
    }
    return out;
}

int ScriptedDialogs::MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    DialogCall call;
    call.kind = "MsgBox";
    call.prompt = prompt;
    call.title = title;
    call.buttons = buttons;
    if (onShow) onShow(call);
    if (!msgBox_.empty()) {
        call.answer = msgBox_.front();
        msgBox_.pop_front();
    } else {
        call.answer = firstButton(buttons);
    }
    transcript_.push_back(call);
    return call.answer;
}

std::string ScriptedDialogs::InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) {
    DialogCall call;
    call.kind = "InputBox";
    call.prompt = prompt;
    call.title = title;
    call.request.FileName = defaultText;
    if (onShow) onShow(call);
    std::optional<std::string> a;
    if (!input_.empty()) {
        a = std::move(input_.front());
        input_.pop_front();
    }
    call.answer = a ? 1 : 0;
    call.text = a ? *a : std::string();
    transcript_.push_back(call);
    return call.text;
}

bool ScriptedDialogs::fileDialog(const char* kind, std::deque<std::optional<std::string>>& queue,
                                 FileDialogRequest& req) {
    DialogCall call;
    call.kind = kind;
    call.prompt = req.DialogTitle;
    call.title = req.Filter;
    call.buttons = req.Flags;
    call.request = req;
    if (onShow) onShow(call);
    std::optional<std::string> a;
    if (!queue.empty()) {
        a = std::move(queue.front());
        queue.pop_front();
    }
    call.answer = a ? 1 : 0;
    call.text = a ? *a : std::string();
    transcript_.push_back(call);
    if (!a) return false;
    req.FileName = *a;
    return true;
}

bool ScriptedDialogs::ShowOpen(FileDialogRequest& req) { return fileDialog("ShowOpen", open_, req); }
bool ScriptedDialogs::ShowSave(FileDialogRequest& req) { return fileDialog("ShowSave", save_, req); }

std::string ScriptedDialogs::PickFolder(const std::string& title, const std::string& startFolder) {
    DialogCall call;
    call.kind = "PickFolder";
    call.prompt = title;
    call.request.InitDir = startFolder;
    if (onShow) onShow(call);
    std::optional<std::string> a;
    if (!folder_.empty()) {
        a = std::move(folder_.front());
        folder_.pop_front();
    }
    call.answer = a ? 1 : 0;
    call.text = a ? *a : std::string();
    transcript_.push_back(call);
    return call.text;
}

void ScriptedDialogs::setMousePointer(int pointer) {
    pointer_ = pointer;
    pointers_.push_back(pointer);
}

}  // namespace tarvolin
