#include "gui/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "gui/accessibility.h"

namespace tarvolin {

namespace {

const char* kDefaultTitle = "tarvolin";

QString q(const std::string& s) { return QString::fromStdString(s); }

QString titleOr(const std::string& t) { return t.empty() ? QString(kDefaultTitle) : q(t); }

struct ButtonSet {
    std::vector<std::pair<QMessageBox::StandardButton, int>> buttons;  // Qt button, answer code
};

ButtonSet buttonsFor(int style) {
    using B = QMessageBox;
    switch (style & 7) {
    case mb::OKCancel: return {{{B::Ok, mb::OK}, {B::Cancel, mb::Cancel}}};
    case mb::AbortRetryIgnore:
        return {{{B::Abort, mb::Abort}, {B::Retry, mb::Retry}, {B::Ignore, mb::Ignore}}};
    case mb::YesNoCancel: return {{{B::Yes, mb::Yes}, {B::No, mb::No}, {B::Cancel, mb::Cancel}}};
    case mb::YesNo: return {{{B::Yes, mb::Yes}, {B::No, mb::No}}};
    case mb::RetryCancel: return {{{B::Retry, mb::Retry}, {B::Cancel, mb::Cancel}}};
    default: return {{{B::Ok, mb::OK}}};
    }
}

QMessageBox::Icon iconFor(int style) {
    switch (style & 0x70) {
    case mb::Critical: return QMessageBox::Critical;
    case mb::Question: return QMessageBox::Question;
    case mb::Exclamation: return QMessageBox::Warning;
    case mb::Information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// The answer when the box is closed without a button: Cancel where there is
// one, else No, else the only button (as the original: a Yes/No or
// Abort/Retry/Ignore box cannot be dismissed otherwise).
int escapeAnswer(const ButtonSet& set) {
    for (auto& [b, code] : set.buttons)
        if (code == mb::Cancel) return code;
    for (auto& [b, code] : set.buttons)
        if (code == mb::No) return code;
    return set.buttons.size() == 1 ? set.buttons.front().second : set.buttons.back().second;
}

}  // namespace

std::vector<FileFilter> parseFileFilter(const std::string& filter) {
    std::vector<FileFilter> out;
    const QStringList parts = q(filter).split('|');
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i].trimmed();
        FileFilter f;
        for (const QString& p : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
            const QString t = p.trimmed();
            if (!t.isEmpty()) f.patterns.push_back(t);
        }
        if (f.patterns.empty()) f.patterns.push_back("*");
        QStringList pats;
        for (auto& p : f.patterns) pats << p;
        // Qt reads the patterns from the last parenthesised group: put the
        // real ones there, replacing a shown "(*.a,*.b)" of the description.
        if (desc.endsWith(')')) {
            const int open = desc.lastIndexOf('(');
            if (open >= 0) desc = desc.left(open).trimmed();
        }
        f.text = (desc.isEmpty() ? pats.join(' ') : desc) + " (" + pats.join(' ') + ")";
        out.push_back(std::move(f));
    }
    return out;
}

QString qtNameFilter(const std::string& filter) {
    QStringList l;
    for (auto& f : parseFileFilter(filter)) l << f.text;
    return l.join(";;");
}

QtDialogs::~QtDialogs() {
    if (overrideSet_ && QApplication::instance()) QApplication::restoreOverrideCursor();
}

int QtDialogs::MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    QMessageBox box(iconFor(buttons), titleOr(title), q(prompt), QMessageBox::NoButton, parent_);
    box.setObjectName("MsgBox");
    setAccessibleId(&box, "MsgBox");
    const ButtonSet set = buttonsFor(buttons);
    std::vector<std::pair<QAbstractButton*, int>> made;
    for (auto& [b, code] : set.buttons) made.emplace_back(box.addButton(b), code);
    std::size_t def = 0;
    if (buttons & mb::DefaultButton3) def = 2;
    else if (buttons & mb::DefaultButton2) def = 1;
    if (def < made.size()) box.setDefaultButton(static_cast<QPushButton*>(made[def].first));
    if (buttons & mb::SystemModal) box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (auto& [b, code] : made)
        if (b == clicked) return code;
    return escapeAnswer(set);
}

std::string QtDialogs::InputBox(const std::string& prompt, const std::string& title,
                                const std::string& defaultText) {
    QInputDialog dlg(parent_);
    dlg.setObjectName("InputBox");
    setAccessibleId(&dlg, "InputBox");
    dlg.setWindowTitle(titleOr(title));
    dlg.setLabelText(q(prompt));
    dlg.setTextValue(q(defaultText));
    dlg.setInputMode(QInputDialog::TextInput);
    if (dlg.exec() != QDialog::Accepted) return "";
    return dlg.textValue().toStdString();
}

bool QtDialogs::runFileDialog(FileDialogRequest& req, bool save) {
    QFileDialog dlg(parent_);
    dlg.setObjectName(save ? "ShowSave" : "ShowOpen");
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setWindowTitle(req.DialogTitle.empty() ? QString(save ? "Save As" : "Open") : q(req.DialogTitle));
    const auto filters = parseFileFilter(req.Filter);
    QStringList names;
    for (auto& f : filters) names << f.text;
    if (!names.isEmpty()) {
        dlg.setNameFilters(names);
        const int idx = std::clamp(req.FilterIndex, 1, static_cast<int>(names.size())) - 1;
        dlg.selectNameFilter(names[idx]);
    }
    if (save) {
        dlg.setFileMode(QFileDialog::AnyFile);
        // 2 = confirm before overwriting (2050 as the program passes it).
        dlg.setOption(QFileDialog::DontConfirmOverwrite, (req.Flags & 2) == 0);
    } else {
        // 4096 = the file must exist.
        dlg.setFileMode((req.Flags & 4096) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    }
    if (!req.InitDir.empty()) dlg.setDirectory(q(req.InitDir));
    if (!req.FileName.empty()) {
        const QFileInfo fi(q(req.FileName));
        if (fi.isAbsolute() && req.InitDir.empty()) dlg.setDirectory(fi.absolutePath());
        dlg.selectFile(fi.fileName());
    }
    if (dlg.exec() != QDialog::Accepted) return false;
    const QStringList files = dlg.selectedFiles();
    if (files.isEmpty()) return false;
    req.FileName = files.front().toStdString();
    const int sel = static_cast<int>(names.indexOf(dlg.selectedNameFilter()));
    if (sel >= 0) req.FilterIndex = sel + 1;
    return true;
}

bool QtDialogs::ShowOpen(FileDialogRequest& req) { return runFileDialog(req, false); }
bool QtDialogs::ShowSave(FileDialogRequest& req) { return runFileDialog(req, true); }

std::string QtDialogs::PickFolder(const std::string& title, const std::string& startFolder) {
    const QString dir = QFileDialog::getExistingDirectory(
        parent_, titleOr(title), q(startFolder),
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    return dir.toStdString();
}

void QtDialogs::closeOpen() {
    // The modal dialogs shown are windows of their own; each one's loop ends
    // once the caller is back in it.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(w);
        if (dialog && dialog->isVisible() && dialog->isModal()) dialog->reject();
    }
}

void QtDialogs::setMousePointer(int pointer) {
    pointer_ = pointer;
    if (pointer == 11) {
        if (!overrideSet_) QApplication::setOverrideCursor(Qt::WaitCursor);
        overrideSet_ = true;
    } else if (overrideSet_) {
        QApplication::restoreOverrideCursor();
        overrideSet_ = false;
    }
}

}  // namespace tarvolin
