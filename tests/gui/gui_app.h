#pragma once
// One QApplication for a GUI test executable (made on first use).
#include <QApplication>

namespace tarvolin::testing {

inline QApplication& guiApp() {
    static int argc = 1;
    static char name[] = "test_gui";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return existing;
        return new QApplication(argc, argv);
    }();
    return *app;
}

}  // namespace tarvolin::testing
