#pragma once
// Modal dialogs of the original toolkit: message box, input box, the common
// dialog's open and save, the folder picker and the mouse pointer.
// The Qt implementation lives in gui/; tests use ScriptedDialogs
// (toolkit/scripted_dialogs.h), which answers from a queue and keeps a
// transcript of every text shown.
#include <string>

namespace tarvolin {

// Button and icon codes, and answers, of the original MsgBox.
namespace mb {
inline constexpr int OKOnly = 0, OKCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4,
                     RetryCancel = 5;
inline constexpr int Critical = 16, Question = 32, Exclamation = 48, Information = 64;
inline constexpr int DefaultButton2 = 256, DefaultButton3 = 512;
inline constexpr int SystemModal = 4096;
// Answers
inline constexpr int OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7;
}  // namespace mb

// The common dialog's properties as the program sets them.
struct FileDialogRequest {
    std::string Filter;      // "Text (*.tlf) | *.tlf|Other | *.a;*.b"
    std::string InitDir;
    std::string DialogTitle;
    std::string FileName;    // preset name in, chosen path out
    int Flags = 0;           // 4096 the file must exist; 2050 confirm overwrite
    int FilterIndex = 1;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Returns one of mb::OK .. mb::No.
    virtual int MsgBox(const std::string& prompt, int buttons = mb::OKOnly,
                       const std::string& title = "") = 0;

    // Returns the text entered, or "" when cancelled (as the original).
    virtual std::string InputBox(const std::string& prompt, const std::string& title = "",
                                 const std::string& defaultText = "") = 0;

    // True when a file was chosen (its path in req.FileName); false on cancel.
    virtual bool ShowOpen(FileDialogRequest& req) = 0;
    virtual bool ShowSave(FileDialogRequest& req) = 0;

    // A folder chosen by the user, or "" when cancelled.
    virtual std::string PickFolder(const std::string& title, const std::string& startFolder = "") = 0;

    // Screen.MousePointer: 0 default, 11 hourglass.
    // From now on nobody watches the screen (a shutdown the program runs by
    // itself): no dialog may wait for an answer. Dialogs that are always
    // answered do nothing here.
    virtual void beginUnattended() {}
    // Closes the dialogs that are open, as their close boxes would: a
    // message box gives the answer of a box closed without a button, every
    // other dialog is cancelled. Dialogs that are always answered do nothing.
    virtual void closeOpen() {}

    virtual void setMousePointer(int pointer) = 0;
    virtual int mousePointer() const = 0;
};

}  // namespace tarvolin
