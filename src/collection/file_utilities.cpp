// Small file and path utilities: the help and home pages, empty or missing
// media files, the file name of a path, and letting a player go of its file.
#include <filesystem>
#include <fstream>
#include <system_error>

#include "app/program.h"
#include "collection/collection_store.h"
#include "platform/open_rules.h"

namespace tarvolin {

namespace {

// The program's home page, opened by an empty topic.
const char* const kHomePage = "https://tarvolin.org/";

// The folder of the running executable, "" when unknown.
std::string executableFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path().string();
}

bool isReadableRegularFile(const std::string& path, std::uintmax_t* size) {
    if (path.empty()) return false;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) || ec) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return false;
    if (size) {
        const std::uintmax_t length = std::filesystem::file_size(path, ec);
        if (ec) return false;
        *size = length;
    }
    return true;
}

}  // namespace

void CollectionStore::Open_Help_Page(const std::string& what) {
    std::string target;
    if (what.empty()) {
        target = kHomePage;
    } else if (what == "Help") {
        target = findHelpPage(app_.state.AppFolder, executableFolder());
        if (target.empty()) target = app_.state.AppFolder + kHelpPageName;
    } else {
        target = what;
    }
    if (!app_.desktop().openUrl(target)) {
        logLine("-> Αδυναμία ανοίγματος - Cannot open: " + target);
    }
}

void CollectionStore::Check_Zero_Length(std::string& path, Currency& size) {
    std::uintmax_t length = 0;
    if (isReadableRegularFile(path, &length)) {
        size = Currency::fromInteger(static_cast<std::int64_t>(length));
    } else {
        size = Currency{};
        path.clear();
    }
    app_.loop().DoEvents();
    if (size == Currency{}) path.clear();
}

void CollectionStore::File_Name_Of_Path(const std::string& path, std::string& name) {
    if (path.empty()) return;
    const std::size_t slash = path.rfind('/');
    name = slash == std::string::npos ? path : path.substr(slash + 1);
}

bool CollectionStore::File_Exists(const std::string& path) {
    return isReadableRegularFile(path, nullptr);
}

void CollectionStore::Load_Dump_Media(int player) {
    Player* p = nullptr;
    if (player == 1) p = &app_.Form1.WindowsMediaPlayer1;
    if (player == 2) p = &app_.Form2.WindowsMediaPlayer1;
    if (!p) return;
    p->controls.stop();
    p->close();
}

void CollectionStore::Kill_Dump_Media() {
    std::error_code ec;
    std::filesystem::remove(app_.state.AppFolder + "dump.mp3", ec);
}

}  // namespace tarvolin
