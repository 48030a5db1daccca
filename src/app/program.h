#pragma once
// One Program is one running program: the services it runs on, the module
// state, the six windows and the five subsystems. There are no globals: a
// test builds as many independent programs as it likes, each on its own
// program folder.
//
// Building a Program creates every window once, with its design captions and
// properties, gives every timer the message loop, attaches a playback engine
// to every player and the media layer to the hidden player, and connects the
// control events. Nothing is loaded and no window is shown: start-up is run
// by the playback subsystem when the front end asks for it.
//
// Wiring of events. Each subsystem connects the events of the controls it
// handles in its own wireEvents(), defined in its own folder (for example
// src/playback/playback_wiring.cpp):
//
//     void Playback::wireEvents() {
//         Form1& f = app.Form1;
//         f.Command3[0].Click = [this] { Command3_Click(0); };
//     }
//
// Program::wireEvents() only calls the five in turn, so no shared file has to
// be edited when a handler is added. A control event has one handler (a
// second one wired over it stops a debug build): the subsystem that owns the
// behaviour wires it, and other subsystems call that handler through it.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/module_state.h"
#include "app/operation_watch.h"
#include "collection/collection_store.h"
#include "forms/form1.h"
#include "forms/form2.h"
#include "forms/form3.h"
#include "forms/form4.h"
#include "forms/form5.h"
#include "forms/frm_splash.h"
#include "library/library.h"
#include "media/media_files.h"
#include "platform/desktop.h"
#include "platform/engine.h"
#include "platform/media.h"
#include "playback/playback.h"
#include "toolkit/dialogs.h"
#include "toolkit/message_loop.h"
#include "toolkit/runtime.h"
#include "windows/secondary_windows.h"

namespace tarvolin {

// What a Program runs on. The referenced services must outlive the Program.
struct Services {
    MessageLoop& loop;
    Dialogs& dialogs;
    EngineFactory& engines;
    MediaReader& media;
    Desktop& desktop;
    TrayIcon& tray;
    // Makes the player library kept in the given folder (may be empty: the
    // program then has no player library).
    std::function<std::unique_ptr<PlaylistCollection>(const std::string& folder)> makeLibrary;
    // Reads a playlist file into its entries (may be empty: playlist files
    // then read as empty).
    std::function<std::vector<std::string>(const std::string& path)> readPlaylist;
    // The program's executable (for the autostart entry).
    std::string executablePath;
};

// The program folder for an executable: the executable's folder when it is
// writable and the default file can name paths in it, else
// $XDG_DATA_HOME/tarvolin/ (by default ~/.local/share/tarvolin/), which is
// created. Always ends in "/".
std::string defaultAppFolder(const std::string& executablePath);

class Program {
public:
    // appFolder: the program folder ("" takes defaultAppFolder of the
    // executable); a missing final "/" is added.
    Program(const Services& services, const std::string& appFolder);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // ---- Services ----------------------------------------------------------
    // The loop and dialogs through which the program's own code yields.
    MessageLoop& loop() const { return operations_.loop(); }
    Dialogs& dialogs() const { return operations_.dialogs(); }
    EngineFactory& engines() const { return services_.engines; }
    MediaReader& mediaReader() const { return services_.media; }
    Desktop& desktop() const { return services_.desktop; }
    TrayIcon& tray() const { return services_.tray; }
    const std::string& executablePath() const { return services_.executablePath; }
    // The player library (null when the program has none).
    PlaylistCollection* playerLibrary() const { return playerLibrary_.get(); }

    // One of the program's operations is under way: its code is inside a
    // yield (DoEvents, wait or a modal dialog) beneath the event now served.
    bool operationUnderWay() const { return operations_.underWay(); }
    // Runs fn at once when no operation is under way, else once the
    // program's code is back at the message loop's top level; meanwhile
    // every yield ends as the Esc key ends it (OperationWatch).
    void afterOperations(std::function<void()> fn) { operations_.afterOperations(std::move(fn)); }

    // Has a result spoken to a screen reader user in the player window shown
    // (the compact one while it is up, else the main window).
    void announce(const std::string& text);

    // The program folder, ending in "/" (also state.AppFolder).
    const std::string& AppFolder() const { return state.AppFolder; }

    // Connects every control event to its handler: each subsystem's
    // wireEvents() in turn. Run once by the constructor.
    void wireEvents();

    // Every window, in creation order: Form1, Form2, Form3, Form4, Form5,
    // frmSplash.
    std::vector<Form*> forms();

private:
    Services services_;

public:
    // ---- Module state --------------------------------------------------------
    ModuleState state;
    // The language runtime's Rnd: one unseeded generator per program.
    RandomGenerator random;

private:
    // Counts the yields of the program's own code.
    mutable OperationWatch operations_;
    // Made before the windows and gone after them: the hidden player keeps a
    // pointer to it.
    std::unique_ptr<PlaylistCollection> playerLibrary_;

public:
    // ---- Windows ---------------------------------------------------------------
    tarvolin::Form1 Form1;          // main window
    tarvolin::Form2 Form2;          // video
    tarvolin::Form3 Form3;          // information
    tarvolin::Form4 Form4;          // compact player
    tarvolin::Form5 Form5;          // snooze and shutdown
    tarvolin::frmSplash frmSplash;  // splash

    // ---- Subsystems --------------------------------------------------------------
    CollectionStore collection;
    Playback playback;
    MediaFiles media;
    Library library;
    SecondaryWindows windows;

private:
    static ModuleState initialState(const Services& services, const std::string& appFolder);
    void attachPlayers();
    void logRuntimeError(const RuntimeError& error);

    // A run-time error that leaves a handler while the program lives is
    // logged; the handler ends and the program goes on.
    RuntimeErrorReport runtimeErrors_{[this](const RuntimeError& e) { logRuntimeError(e); }};
};

}  // namespace tarvolin
