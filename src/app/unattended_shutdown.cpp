#include "app/unattended_shutdown.h"

#include <filesystem>
#include <iostream>
#include <system_error>

#include "app/program.h"
#include "toolkit/durable_file.h"

namespace tarvolin {

int UnattendedDialogs::closedAnswer(int buttons) {
    switch (buttons & 7) {
        case mb::OKCancel:
        case mb::YesNoCancel:
        case mb::RetryCancel: return mb::Cancel;
        case mb::YesNo: return mb::No;
        case mb::AbortRetryIgnore: return mb::Ignore;
        default: return mb::OK;
    }
}

void UnattendedDialogs::setUnattended(std::function<void(const std::string& text)> tell) {
    tell_ = std::move(tell);
    // Its answer would wait on nobody.
    shown_.closeOpen();
}

int UnattendedDialogs::MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    if (!tell_) return shown_.MsgBox(prompt, buttons, title);
    tell_(prompt);
    return closedAnswer(buttons);
}

std::string UnattendedDialogs::InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) {
    if (!tell_) return shown_.InputBox(prompt, title, defaultText);
    return "";
}

bool UnattendedDialogs::ShowOpen(FileDialogRequest& req) { return !tell_ && shown_.ShowOpen(req); }

bool UnattendedDialogs::ShowSave(FileDialogRequest& req) { return !tell_ && shown_.ShowSave(req); }

std::string UnattendedDialogs::PickFolder(const std::string& title, const std::string& startFolder) {
    if (!tell_) return shown_.PickFolder(title, startFolder);
    return "";
}

void UnattendedDialogs::beginUnattended() {
    if (tell_ || program_ == nullptr) return;
    Program* program = program_;
    setUnattended([program](const std::string& text) { tellUnattended(*program, text); });
}

void tellUnattended(Program& program, const std::string& text) {
    const std::string message = "-> " + text;
    program.collection.logLine(message);

    const std::string report = program.collection.reportFilePath();
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(report).parent_path(), ignored);
    durable::appendWhole(report, LogLineText(program.loop().now(), message));

    // One line per line of the text, without the CR of its line breaks.
    std::string plain;
    plain.reserve(text.size());
    for (char c : text) {
        if (c != '\r') plain += c;
    }
    std::cerr << "tarvolin: " << plain << std::endl;
}

void shutDownUnattended(Program& program, UnattendedDialogs& dialogs, int unloadMode) {
    dialogs.setProgram(&program);
    dialogs.beginUnattended();
    program.Form1.requestUnload(unloadMode);
}

}  // namespace tarvolin
