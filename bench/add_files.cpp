// Building a collection from a folder tree: 10,000 tagged MP3 files in
// nested folders are found by the subfolder search, added from the folder
// list and their attributes read through the media layer on TagLib and
// libavformat, as the panel's add button does it. Every run starts a new
// program with a new media layer, so every file is opened and read; the
// files themselves stay in the page cache (warm cache).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "gui/form_view.h"
#include "gui/program_views.h"
#include "gui/qt_message_loop.h"
#include "platform/sim_engine.h"
#include "platform/tags/tag_media.h"
#include "qt_display.h"
#include "support/fake_desktop.h"
#include "support/fake_tray.h"
#include "support/media_fixtures.h"
#include "support/program_harness.h"
#include "support/temp_dir.h"

namespace {

using namespace tarvolin;

constexpr int kTopFolders = 10;
constexpr int kSubFolders = 10;
constexpr int kFilesPerFolder = 100;
constexpr int kFiles = kTopFolders * kSubFolders * kFilesPerFolder;

struct Tree {
    TempDir dir;
    std::string root;

    Tree() {
        root = dir.makeDir("music");
        fixtures::Mp3Options opts;
        opts.seconds = 1.0;
        int n = 0;
        for (int a = 0; a < kTopFolders; ++a) {
            for (int b = 0; b < kSubFolders; ++b) {
                const std::string folder =
                    dir.makeDir("music/artist" + std::to_string(a) + "/album" + std::to_string(b));
                for (int k = 0; k < kFilesPerFolder; ++k, ++n) {
                    fixtures::Id3Tag tag;
                    tag.title = "Τραγούδι " + std::to_string(n);
                    tag.artist = "Artist " + std::to_string(a);
                    tag.album = "Album " + std::to_string(b);
                    tag.genre = "Rock";
                    tag.year = std::to_string(1960 + n % 60);
                    tag.popm.push_back({"Windows Media Player 9 Series", static_cast<uint8_t>((n * 37) % 256), 1});
                    opts.id3 = tag;
                    fixtures::writeMp3(folder + "track" + std::to_string(k) + ".mp3", opts);
                }
            }
        }
    }
};

Tree& tree() {
    static Tree t;
    return t;
}

// The folder, the types, the subfolder box (the search), then the folder
// list's add button: add, read, and the filters offered.
void addAndRead(Program& app, ScriptedDialogs& dialogs, const std::string& root) {
    app.Form1.Dir1.setPath(root);
    app.Form1.Command7[4].Click.raise();
    app.Form1.Check2.setValue(1);
    dialogs.answerMsgBox(mb::Yes);  // read the attributes
    dialogs.answerMsgBox(mb::No);   // no save
    dialogs.answerMsgBox(mb::No);   // no new filters
    app.Form1.Command4.Click.raise();
}

void BM_AddAndReadTaggedFiles(benchmark::State& state) {
    const std::string root = tree().root;
    std::int64_t yields = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto h = std::make_unique<ProgramHarness>(false);
        TagMediaReader reader;
        Services s = h->services();
        h->build(Services{s.loop, s.dialogs, s.engines, reader, s.desktop, s.tray, {}, {}, ""});
        Program& app = **h;
        app.playback.Init_Defaults();
        app.state.ReadRatingsFromFiles = true;
        app.state.KeepRatings = false;
        const int yieldsBefore = h->loop.yieldCount();
        state.ResumeTiming();

        addAndRead(app, h->dialogs, root);

        state.PauseTiming();
        if (app.Form1.List2.ListCount() != kFiles || !app.collection.d.TrackInfoRead[kFiles - 1]) {
            state.SkipWithError("not every file was added and read");
        }
        yields += h->loop.yieldCount() - yieldsBefore;
        h.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
    state.counters["files_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFiles, benchmark::Counter::kIsRate);
    state.counters["yields_per_file"] =
        static_cast<double>(yields) / (static_cast<double>(state.iterations()) * kFiles);
}
BENCHMARK(BM_AddAndReadTaggedFiles)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The add alone, without reading: the duplicate tests and the appends of
// 10,000 new tracks to a collection that already holds 20,000.
void BM_AddToALargeCollection(benchmark::State& state) {
    const std::string root = tree().root;
    for (auto _ : state) {
        state.PauseTiming();
        auto h = std::make_unique<ProgramHarness>();
        Program& app = **h;
        app.playback.Init_Defaults();
        for (int i = 0; i < 20000; ++i) app.media.appendTrack("/elsewhere/" + std::to_string(i) + ".mp3");
        app.Form1.Dir1.setPath(root);
        app.Form1.Command7[4].Click.raise();
        app.Form1.Check2.setValue(1);
        state.ResumeTiming();

        app.media.Add_Files_From_Folders();

        state.PauseTiming();
        if (app.Form1.List2.ListCount() != 20000 + kFiles) state.SkipWithError("not every file was added");
        h.reset();
        state.ResumeTiming();
    }
    state.counters["files_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFiles, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AddToALargeCollection)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The same add in the program's windows on Qt's loop (on the X display in
// DISPLAY), with the main window shown and with it never shown: the add
// yields after every file, and a shown window repaints what changed.
void addInWindows(benchmark::State& state, bool shown) {
    if (!bench::qtOnDisplay(state)) return;
    const std::string root = tree().root;
    for (auto _ : state) {
        state.PauseTiming();
        TempDir folder;
        QtMessageLoop loop;
        ScriptedDialogs dialogs;
        TagMediaReader reader;
        SimEngineFactory engines{loop, &reader};
        FakeDesktop desktop;
        FakeTray tray;
        auto app = std::make_unique<Program>(Services{loop, dialogs, engines, reader, desktop, tray, {}, {}, ""},
                                             folder.path());
        auto views = createViews(*app);
        app->playback.Init_Defaults();
        app->state.ReadRatingsFromFiles = true;
        app->state.KeepRatings = false;
        if (shown) {
            app->Form1.Show();
            loop.wait(500);
        }
        state.ResumeTiming();

        addAndRead(*app, dialogs, root);

        state.PauseTiming();
        if (app->Form1.List2.ListCount() != kFiles) state.SkipWithError("not every file was added");
        for (auto& v : views) v->releaseVideo();
        views.clear();
        app.reset();
        state.ResumeTiming();
    }
}
void BM_AddInWindowsShown(benchmark::State& state) { addInWindows(state, true); }
void BM_AddInWindowsNotShown(benchmark::State& state) { addInWindows(state, false); }
BENCHMARK(BM_AddInWindowsShown)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_AddInWindowsNotShown)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
