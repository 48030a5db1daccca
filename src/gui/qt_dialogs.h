#pragma once
// The toolkit's modal dialogs on Qt: message box, input box, open and save
// file dialogs, the folder picker and the application's mouse pointer.
// Timers of the program keep running while a dialog is open (Qt's modal
// loops serve them).
#include <string>
#include <vector>

#include <QString>

#include "toolkit/dialogs.h"

class QWidget;

namespace tarvolin {

// One filter of the common dialog: the description shown and its patterns.
struct FileFilter {
    QString text;             // Qt's form: "Description (*.a *.b)"
    std::vector<QString> patterns;
};

// Splits the common dialog's "Desc | pat;pat|Desc | pat" into filters.
std::vector<FileFilter> parseFileFilter(const std::string& filter);
// The Qt name filter string ("A (*.a);;B (*.b *.c)").
QString qtNameFilter(const std::string& filter);

class QtDialogs final : public Dialogs {
public:
    QtDialogs() = default;
    ~QtDialogs() override;

    // The window dialogs are centred on (may be null).
    void setParentWindow(QWidget* w) { parent_ = w; }

    int MsgBox(const std::string& prompt, int buttons = mb::OKOnly,
               const std::string& title = "") override;
    std::string InputBox(const std::string& prompt, const std::string& title = "",
                         const std::string& defaultText = "") override;
    bool ShowOpen(FileDialogRequest& req) override;
    bool ShowSave(FileDialogRequest& req) override;
    std::string PickFolder(const std::string& title, const std::string& startFolder = "") override;
    void closeOpen() override;
    void setMousePointer(int pointer) override;
    int mousePointer() const override { return pointer_; }

private:
    bool runFileDialog(FileDialogRequest& req, bool save);

    QWidget* parent_ = nullptr;
    int pointer_ = 0;
    bool overrideSet_ = false;
};

}  // namespace tarvolin
