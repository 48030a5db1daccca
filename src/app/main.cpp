// tarvolin: the program's entry point. Builds the services on Qt, libmpv,
// TagLib and the desktop, the Program on its program folder, a window for
// each of its forms, and runs the start-up; SIGTERM, SIGINT and the end of
// the desktop session run the program's own shutdown once.
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QScreen>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QUrl>

#include <csignal>
#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/help_page.h"
#include "app/program.h"
#include "app/unattended_shutdown.h"
#include "gui/program_views.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_message_loop.h"
#include "gui/qt_tray.h"
#include "platform/desktop/linux_desktop.h"
#include "platform/mpv/mpv_engine.h"
#include "platform/tags/library_folder.h"
#include "platform/tags/tag_media.h"

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int sig) {
    const char c = static_cast<char>(sig);
    [[maybe_unused]] const ssize_t n = write(signalPipe[1], &c, 1);
}

void installSignalHandlers() {
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction sa {};
    sa.sa_handler = &onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
}

#if defined(__SANITIZE_ADDRESS__)
// The test build's leak checker runs once main has returned. By then closing
// the display has unloaded the GL driver that the GL library loaded on its
// own, and what the driver's own variables still held would be reported as
// lost, with no library left to name it by. Every library loaded by the end
// of the run stays loaded until the process ends.
void keepLibrariesLoaded() {
    std::vector<std::string> names;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* out) {
            if (info->dlpi_name && *info->dlpi_name) static_cast<std::vector<std::string>*>(out)->push_back(info->dlpi_name);
            return 0;
        },
        &names);
    for (const std::string& name : names) dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
}
#else
void keepLibrariesLoaded() {}
#endif

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("tarvolin");
    QApplication::setOrganizationName("tarvolin");
    // The program lives on in the tray with every window hidden; it ends
    // when its own shutdown says so.
    QApplication::setQuitOnLastWindowClosed(false);
    installSignalHandlers();

    using namespace tarvolin;
    const std::string executable = QCoreApplication::applicationFilePath().toStdString();

    QtMessageLoop loop;
    QtDialogs shownDialogs;
    // A shutdown from a signal or the session's end shows no dialog.
    UnattendedDialogs dialogs(shownDialogs);
    MpvEngineFactory engines(loop);
    engines.setVideoOutput("libmpv");
    TagMediaReader media;
    DesktopHooks hooks;
    hooks.openUrl = [](const std::string& url) {
        return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
    };
    hooks.setClipboardText = [](const std::string& text) {
        QGuiApplication::clipboard()->setText(QString::fromStdString(text));
    };
    hooks.clipboardText = [] { return QGuiApplication::clipboard()->text().toStdString(); };
    // The room the windows have: the screen less the desktop's panels. The
    // windows place themselves from its corner.
    hooks.screenSize = [] {
        ScreenSize s;
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            s.widthPixels = screen->availableGeometry().width();
            s.heightPixels = screen->availableGeometry().height();
        }
        return s;
    };
    hooks.beep = [](int, int) { QApplication::beep(); };
    // Wayland compositors keep no client window above the others.
    hooks.keepsWindowsOnTop = [] { return !QGuiApplication::platformName().startsWith("wayland"); };
    LinuxDesktop desktop(hooks);
    QtTray tray;

    Services services{loop, dialogs, engines, media, desktop, tray,
                      [&media](const std::string& folder) -> std::unique_ptr<PlaylistCollection> {
                          return std::make_unique<LibraryFolder>(folder, &media);
                      },
                      [](const std::string& path) { return readPlaylistFile(path); },
                      executable};
    Program program(services, defaultAppFolder(executable));
    dialogs.setProgram(&program);
    // Help works in a portable copy too.
    provideHelpPage(program.AppFolder(), QCoreApplication::applicationDirPath().toStdString());

    // The windows go before the program: their video widgets free their
    // render contexts before the players' mpv handles are destroyed.
    std::vector<std::unique_ptr<FormView>> views = createViews(program);
    shownDialogs.setParentWindow(views.front()->window());

    // The normal shutdown, run once whatever asks for it: the main window's
    // QueryUnload, as closing it does (the program never cancels it), which
    // ends the loop once everything is saved. An operation under way (the
    // start-up's load included) ends first. Asked for by a signal or the
    // session's end, it waits on no dialog: one already open is closed.
    bool shutDown = false;
    auto shutdown = [&](int unloadMode) {
        if (shutDown || loop.quitRequested()) return;
        shutDown = true;
        shutDownUnattended(program, dialogs, unloadMode);
    };
    QSocketNotifier signals(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signals, &QSocketNotifier::activated, [&] {
        char c = 0;
        while (read(signalPipe[0], &c, 1) == 1) {
        }
        shutdown(3);
    });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, [&](QSessionManager&) { shutdown(2); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [&] { shutdown(2); });

    // A program that defines no shutdown of its own ends when its main
    // window is closed.
    if (!program.Form1.QueryUnload.connected())
        program.Form1.QueryUnload = [&loop](int&, int) { loop.quit(); };

    // Start-up is the main window's Load; a program without one just shows
    // the window.
    if (program.Form1.Load.connected()) program.Form1.Load.raise();
    else program.Form1.Show();

    int rc = 0;
    if (!loop.quitRequested()) rc = QApplication::exec();
    for (auto& v : views) v->releaseVideo();
    views.clear();
    keepLibrariesLoaded();
    return rc;
}
