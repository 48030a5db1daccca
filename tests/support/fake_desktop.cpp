#include "support/fake_desktop.h"

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/open_rules.h"

namespace tarvolin {

bool FakeDesktop::openUrl(const std::string& urlOrPath) {
    requestedUrls.push_back(urlOrPath);
    if (!isOpenable(urlOrPath)) return false;
    openedUrls.push_back(urlOrPath);
    return true;
}

bool FakeDesktop::revealFile(const std::string& path) {
    revealedFiles.push_back(path);
    return revealResult;
}

void FakeDesktop::failNextTrash(int n, std::string message) {
    trashFailuresLeft_ = n;
    trashFailureMessage_ = std::move(message);
}

void FakeDesktop::failTrashOf(const std::string& path, std::string message) {
    failingPaths_[path] = std::move(message);
}

std::string FakeDesktop::trashedCopyOf(const std::string& path) const {
    auto it = trashedCopies_.find(path);
    return it == trashedCopies_.end() ? std::string() : it->second;
}

bool FakeDesktop::moveToTrash(const std::string& path, std::string* error) {
    trashCalls.push_back(path);
    auto fail = [&](const std::string& message) {
        if (error) *error = message;
        return false;
    };
    if (trashFailuresLeft_ > 0) {
        --trashFailuresLeft_;
        return fail(trashFailureMessage_);
    }
    if (auto it = failingPaths_.find(path); it != failingPaths_.end()) return fail(it->second);

    struct stat st {};
    if (path.empty() || ::lstat(path.c_str(), &st) != 0) {
        return fail("Error trashing file " + path + ": " + std::strerror(ENOENT));
    }
    std::string name = std::filesystem::path(path).filename().string();
    std::string target = trash_.path() + std::to_string(++trashCounter_) + "_" + name;
    std::error_code ec;
    std::filesystem::rename(path, target, ec);
    if (ec) {
        // Another file system: copy, then remove the original.
        std::filesystem::copy(path, target, std::filesystem::copy_options::recursive, ec);
        if (!ec) std::filesystem::remove_all(path, ec);
        if (ec) return fail("Error trashing file " + path + ": " + ec.message());
    }
    trashedPaths.push_back(path);
    trashedCopies_[path] = target;
    if (error) error->clear();
    return true;
}

void FakeDesktop::failNextAutostart(AutostartFailure step, int err) {
    autostartFailStep_ = step;
    autostartFailErr_ = err;
}

bool FakeDesktop::setAutostart(bool on, const std::string& executable, int* err, std::string* errText,
                               AutostartFailure* failedAt) {
    ++autostartCalls;
    if (autostartFailStep_ != AutostartFailure::None) {
        if (err) *err = autostartFailErr_;
        if (errText) *errText = std::strerror(autostartFailErr_);
        if (failedAt) *failedAt = autostartFailStep_;
        autostartFailStep_ = AutostartFailure::None;
        return false;
    }
    if (err) *err = 0;
    if (errText) errText->clear();
    if (failedAt) *failedAt = AutostartFailure::None;
    autostart = on;
    if (on) autostartExecutable = executable;
    return true;
}

}  // namespace tarvolin
