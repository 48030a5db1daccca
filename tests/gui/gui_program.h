#pragma once
// A whole Program on the real windows, with the simulated player engine and
// fake desktop services, for the GUI tests.
#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <memory>
#include <vector>

#include "app/program.h"
#include "gui/form_view.h"
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

// Answers every modal dialog the program opens (the first button is taken
// by accepting), so that the test never waits for a person.
class DialogAnswerer : public QObject {
public:
    DialogAnswerer() {
        timer_.setInterval(50);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                ++answered;
                if (auto* d = qobject_cast<QDialog*>(w)) d->accept();
                else w->close();
            }
        });
        timer_.start();
    }
    int answered = 0;

private:
    QTimer timer_;
};

struct GuiProgram {
    GuiProgram()
        : engines(loop, &media),
          program(Services{loop, dialogs, engines, media, desktop, tray, {}, {}, "/usr/bin/tarvolin"},
                  dir.path()) {
        views = createViews(program);
        dialogs.setParentWindow(views.front()->window());
    }
    ~GuiProgram() {
        for (auto& v : views) v->releaseVideo();
        views.clear();
    }
    FormView& view(const Form& f) { return *viewOf(views, f); }

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
