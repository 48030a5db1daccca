// Selecting every track of the main window's track list with the window on
// the screen, at 5,000 tracks and at the largest collection: Ctrl+A, and
// Shift+End from the first row. The whole key press is timed, from the key to the views
// showing the selection in the track list and its five columns. Needs an X
// display (tools/bench.sh starts a virtual one when there is none).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QListView>

#include <cstdlib>
#include <memory>

#include "gui/gui_program.h"
#include "support/big_collection.h"

namespace {

using namespace tarvolin;

struct Setup {
    std::unique_ptr<testing::GuiProgram> gp;
    QListView* list = nullptr;
    explicit Setup(int tracks) {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        testing::guiApp();
        gp = std::make_unique<testing::GuiProgram>();
        makeBigCollection(gp->program, tracks);
        gp->program.Form1.Show();
        gp->loop.DoEvents();
        list = qobject_cast<QListView*>(gp->view(gp->program.Form1).widget("List2"));
        list->setFocus();
    }
    // A plain press on the first row: it alone is selected.
    void pressFirstRow() {
        ListBox& l = gp->program.Form1.List2;
        l.userClick(0);
        l.MouseDown.raise(1, 0, 0.0f, 0.0f);
        gp->loop.DoEvents();
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods) {
        QKeyEvent press(QEvent::KeyPress, k, mods);
        QApplication::sendEvent(list, &press);
        gp->loop.DoEvents();
    }
};

// One program at a time: the collection of the last size asked for. Let go
// before the end of main, while Qt is still there.
std::unique_ptr<Setup> setup;

void selectEveryTrack(benchmark::State& state, Qt::Key k, Qt::KeyboardModifiers mods) {
    if (std::getenv("DISPLAY") == nullptr) {
        state.SkipWithError("needs an X display");
        return;
    }
    const int tracks = static_cast<int>(state.range(0));
    static int made = 0;
    if (made != tracks) {
        setup.reset();
        setup = std::make_unique<Setup>(tracks);
        made = tracks;
    }
    for (auto _ : state) {
        state.PauseTiming();
        setup->pressFirstRow();
        state.ResumeTiming();
        setup->key(k, mods);
    }
    if (setup->gp->program.Form1.List3_0[4].SelCount() != tracks)
        state.SkipWithError("not every row was selected");
}

void BM_CtrlA(benchmark::State& state) { selectEveryTrack(state, Qt::Key_A, Qt::ControlModifier); }
void BM_ShiftEnd(benchmark::State& state) { selectEveryTrack(state, Qt::Key_End, Qt::ShiftModifier); }
BENCHMARK(BM_CtrlA)->Unit(benchmark::kMillisecond)->Iterations(3)->Arg(5000)->Arg(ListControl::MaxItems);
BENCHMARK(BM_ShiftEnd)->Unit(benchmark::kMillisecond)->Iterations(3)->Arg(5000)->Arg(ListControl::MaxItems);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    setup.reset();
    return 0;
}
