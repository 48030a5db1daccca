#pragma once
// A shutdown that nobody watches: SIGTERM, SIGINT and the end of the desktop
// session end the program at once, so nothing they run may wait on a dialog.
// The front end's dialogs go through UnattendedDialogs; from the moment such a
// shutdown starts, every message box is told where it can still be read (the
// log box, the report file and standard error) and answered as closing it
// would answer it, and every other dialog is cancelled; a dialog already
// open then is closed the same way. A shutdown the user starts from the
// window keeps its message boxes.
#include <functional>
#include <string>

#include "toolkit/dialogs.h"

namespace tarvolin {

class Program;

class UnattendedDialogs final : public Dialogs {
public:
    // shown: the dialogs of the front end, used until the shutdown starts.
    explicit UnattendedDialogs(Dialogs& shown) : shown_(shown) {}

    // From now on no dialog is shown; each message box's text goes to tell.
    void setUnattended(std::function<void(const std::string& text)> tell);
    // The program whose log and report hear what a box would say when the
    // program itself asks for no dialogs (beginUnattended).
    void setProgram(Program* program) { program_ = program; }
    void beginUnattended() override;

    int MsgBox(const std::string& prompt, int buttons = mb::OKOnly, const std::string& title = "") override;
    std::string InputBox(const std::string& prompt, const std::string& title = "",
                         const std::string& defaultText = "") override;
    bool ShowOpen(FileDialogRequest& req) override;
    bool ShowSave(FileDialogRequest& req) override;
    std::string PickFolder(const std::string& title, const std::string& startFolder = "") override;
    void closeOpen() override { shown_.closeOpen(); }
    void setMousePointer(int pointer) override { shown_.setMousePointer(pointer); }
    int mousePointer() const override { return shown_.mousePointer(); }

    // The answer of a box closed without a button: Cancel where there is
    // one, else No, else the last button (OK of a box with OK alone).
    static int closedAnswer(int buttons);

private:
    Dialogs& shown_;
    std::function<void(const std::string&)> tell_;
    Program* program_ = nullptr;
};

// A message of a shutdown nobody watches: a line in the log box, the same
// line at the end of the report file, and a line on standard error.
void tellUnattended(Program& program, const std::string& text);

// Runs the program's shutdown for a signal (UnloadMode 3) or the end of the
// desktop session (2) without waiting on any dialog. The program's dialogs
// must be `dialogs`.
void shutDownUnattended(Program& program, UnattendedDialogs& dialogs, int unloadMode);

}  // namespace tarvolin
