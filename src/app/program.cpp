#include "app/program.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "collection/store_files.h"

namespace tarvolin {

namespace {

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && *pw->pw_dir) return pw->pw_dir;
    return "/tmp";
}

}  // namespace

std::string defaultAppFolder(const std::string& executablePath) {
    if (!executablePath.empty()) {
        std::error_code ec;
        std::filesystem::path exe = std::filesystem::absolute(executablePath, ec);
        if (!ec) {
            const std::string folder = exe.parent_path().string();
            // The default file must be able to name collections in it.
            if (!folder.empty() && storefiles::fitsTextLine(folder) && std::filesystem::is_directory(folder, ec) &&
                access(folder.c_str(), W_OK | X_OK) == 0) {
                return storefiles::asFolder(folder);
            }
        }
    }
    std::string base;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') {
        base = data;
    } else {
        base = homeFolder() + "/.local/share";
    }
    std::string folder = storefiles::asFolder(storefiles::asFolder(base) + "tarvolin");
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
}

ModuleState Program::initialState(const Services& services, const std::string& appFolder) {
    ModuleState s;
    s.AppFolder = appFolder.empty() ? defaultAppFolder(services.executablePath) : storefiles::asFolder(appFolder);
    return s;
}

Program::Program(const Services& services, const std::string& appFolder)
    : services_(services),
      state(initialState(services, appFolder)),
      operations_(services.loop, services.dialogs, state.AbortKey),
      playerLibrary_(services.makeLibrary ? services.makeLibrary(state.AppFolder + "tarvolin_library/")
                                          : nullptr),
      collection(*this),
      playback(*this),
      media(*this),
      library(*this),
      windows(*this) {
    for (Form* f : forms()) f->setLoop(&services_.loop);
    attachPlayers();
    wireEvents();
}

Program::~Program() = default;

std::vector<Form*> Program::forms() {
    return {&Form1, &Form2, &Form3, &Form4, &Form5, &frmSplash};
}

void Program::announce(const std::string& text) {
    (Form4.Visible() ? static_cast<Form&>(Form4) : static_cast<Form&>(Form1)).announce(text);
}

void Program::attachPlayers() {
    EngineFactory& factory = services_.engines;
    MediaReader* reader = &services_.media;
    Form1.WindowsMediaPlayer1.attach(factory.create(PlayerRole::Main), reader);
    for (Player& p : Form1.WindowsMediaPlayer3) p.attach(factory.create(PlayerRole::Preview), reader);
    Form4.WindowsMediaPlayer1.attach(factory.create(PlayerRole::Compact), reader);
    Form2.WindowsMediaPlayer1.attach(factory.create(PlayerRole::Video), reader);
    Form5.WindowsMediaPlayer1.attach(factory.create(PlayerRole::Snooze), reader);
    Form1.WindowsMediaPlayer2.attach(reader, playerLibrary_.get(), services_.readPlaylist);
}

void Program::logRuntimeError(const RuntimeError& error) {
    const std::string& file = collection.d.CurrentFile;
    const std::string what = std::to_string(error.number()) + " (" + error.what() + ")";
    collection.logLine("-> Σφάλμα εκτέλεσης " + what + ", η ενέργεια σταμάτησε - Run-time error " + what +
                       ", the operation was stopped" + (file.empty() ? std::string() : ": " + file));
}

void Program::wireEvents() {
    const EventWiring wiring;
    collection.wireEvents();
    playback.wireEvents();
    media.wireEvents();
    library.wireEvents();
    windows.wireEvents();
}

}  // namespace tarvolin
