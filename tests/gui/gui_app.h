#pragma once
// One QApplication for a GUI test executable (made on first use).
#include <QApplication>

#include <cstdlib>

#include "gui/form_view.h"

namespace tarvolin::testing {

// The tests find the controls and windows by their internal names.
inline QApplication& guiApp() {
    static const int ids = setenv("TARVOLIN_ACCESSIBLE_IDS", "1", 1);
    (void)ids;
    static int argc = 1;
    static char name[] = "test_gui";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        // The windows have the room of a common screen, not the virtual
        // display's few pixels.
        setScreenArea([](const QWidget&) { return QRect(0, 0, 1920, 1080); });
        if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return existing;
        return new QApplication(argc, argv);
    }();
    return *app;
}

}  // namespace tarvolin::testing
