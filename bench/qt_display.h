#pragma once
// For the benchmarks that show the program's windows in their own process:
// Qt's application, on the X display in DISPLAY.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>

namespace tarvolin::bench {

// Makes the application once; false, with the benchmark skipped, where
// there is no display.
inline bool qtOnDisplay(benchmark::State& state) {
    if (std::getenv("DISPLAY") == nullptr) {
        state.SkipWithError("needs an X display");
        return false;
    }
    static int argc = 1;
    static char name[] = "tarvolin_bench";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's clean-up at the exit would come after parts of
    // Qt it uses.
    static QApplication* qt = new QApplication(argc, argv);
    return qt != nullptr;
}

}  // namespace tarvolin::bench
