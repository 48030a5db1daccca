#pragma once
// Dialogs for tests: answers come from queues, and every dialog shown is
// written to a transcript.
//
// When a queue is empty the default answer is given: MsgBox answers its first
// button (OK, Abort, Yes or Retry), InputBox "" (cancelled), the file
// dialogs and the folder picker are cancelled.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/dialogs.h"

namespace tarvolin {

struct DialogCall {
    std::string kind;     // "MsgBox", "InputBox", "ShowOpen", "ShowSave", "PickFolder"
    std::string prompt;   // MsgBox/InputBox prompt; the dialog title for the others
    std::string title;    // MsgBox/InputBox title; the file dialog's filter
    int buttons = 0;      // MsgBox buttons and icon code; file dialog Flags
    int answer = 0;       // MsgBox answer; 1 chosen / 0 cancelled for the others
    std::string text;     // InputBox text, chosen path or folder ("" cancelled)
    FileDialogRequest request;  // file dialogs: the request as passed in
};

class ScriptedDialogs : public Dialogs {
public:
    // Queued answers, taken in order.
    void answerMsgBox(int answer) { msgBox_.push_back(answer); }
    // std::nullopt cancels (InputBox then gives "").
    void answerInputBox(std::optional<std::string> text) { input_.push_back(std::move(text)); }
    void answerOpen(std::optional<std::string> path) { open_.push_back(std::move(path)); }
    void answerSave(std::optional<std::string> path) { save_.push_back(std::move(path)); }
    void answerFolder(std::optional<std::string> folder) { folder_.push_back(std::move(folder)); }

    // Runs while a dialog is open (as timers keep running inside a modal
    // dialog), before its answer is taken.
    std::function<void(const DialogCall&)> onShow;

    const std::vector<DialogCall>& transcript() const { return transcript_; }
    // The calls of one kind, in order.
    std::vector<DialogCall> calls(const std::string& kind) const;
    const DialogCall* last() const { return transcript_.empty() ? nullptr : &transcript_.back(); }
    void clearTranscript() { transcript_.clear(); }
    // Every mouse pointer set, in order.
    const std::vector<int>& pointerHistory() const { return pointers_; }

    // The default answer of a MsgBox with these buttons: its first button.
    static int firstButton(int buttons);

    // Dialogs
    int MsgBox(const std::string& prompt, int buttons = mb::OKOnly, const std::string& title = "") override;
    std::string InputBox(const std::string& prompt, const std::string& title = "",
                         const std::string& defaultText = "") override;
    bool ShowOpen(FileDialogRequest& req) override;
    bool ShowSave(FileDialogRequest& req) override;
    std::string PickFolder(const std::string& title, const std::string& startFolder = "") override;
    void setMousePointer(int pointer) override;
    int mousePointer() const override { return pointer_; }

private:
    bool fileDialog(const char* kind, std::deque<std::optional<std::string>>& queue, FileDialogRequest& req);

    std::deque<int> msgBox_;
    std::deque<std::optional<std::string>> input_, open_, save_, folder_;
    std::vector<DialogCall> transcript_;
    std::vector<int> pointers_;
    int pointer_ = 0;
};

}  // namespace tarvolin
