#pragma once
// A whole Program on the real windows: the Qt message loop and dialogs, the
// simulated playback engine over the fake media layer, the fake desktop and
// tray, on a temporary program folder (or a given one).
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "gui/program_views.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_message_loop.h"
#include "gui_app.h"
#include "platform/sim_engine.h"
#include "support/fake_desktop.h"
#include "support/fake_media.h"
#include "support/fake_tray.h"
#include "support/temp_dir.h"

namespace tarvolin::testing {

struct GuiProgram {
    explicit GuiProgram(const std::string& folder = {})
        : engines(loop, &media),
          program(Services{loop, dialogs, engines, media, desktop, tray, {}, {}, "/usr/bin/tarvolin"},
                  folder.empty() ? dir.path() : folder) {
        views = createViews(program);
        dialogs.setParentWindow(views.front()->window());
    }
    ~GuiProgram() {
        for (auto& v : views) v->releaseVideo();
        views.clear();
    }
    FormView& view(const Form& f) { return *viewOf(views, f); }

    // The application is there before any Qt object of the program.
    struct App {
        App() { guiApp(); }
    } app;
    TempDir dir;
    QtMessageLoop loop;
    QtDialogs dialogs;
    FakeMediaReader media;
    SimEngineFactory engines;
    FakeDesktop desktop;
    FakeTray tray;
    Program program;
    std::vector<std::unique_ptr<FormView>> views;
};

}  // namespace tarvolin::testing
