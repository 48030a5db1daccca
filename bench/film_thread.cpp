// How free the program's thread stays while a film plays in the main
// window's own player (on the X display in DISPLAY, drawn with OpenGL): the
// share of that thread's time its work takes, and how late calls posted to
// its loop run (what assistive technology waits for, call by call).
#include <benchmark/benchmark.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "gui/form_view.h"
#include "gui/program_views.h"
#include "gui/qt_message_loop.h"
#include "gui/video_widget.h"
#include "platform/mpv/mpv_engine.h"
#include "platform/tags/tag_media.h"
#include "qt_display.h"
#include "real_program.h"
#include "support/fake_desktop.h"
#include "support/fake_tray.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"
#include "toolkit/scripted_dialogs.h"

namespace {

using namespace tarvolin;
using Clock = std::chrono::steady_clock;

constexpr auto kMeasured = std::chrono::seconds(8);

void BM_MainThreadWhileAFilmPlays(benchmark::State& state) {
    if (!bench::qtOnDisplay(state)) return;
    TempDir folder;
    auto args = fixtures::ffmpegVideoInput(30.0, 640, 360, 25);
    args.insert(args.end(), {"-c:v", "mpeg4", "-q:v", "5"});
    const std::string film = folder.file("film.mkv");
    if (!fixtures::makeWithFfmpeg(film, args)) {
        state.SkipWithError("ffmpeg could not make the film");
        return;
    }
    QtMessageLoop loop;
    ScriptedDialogs dialogs;
    TagMediaReader media;
    MpvEngineFactory engines{loop};
    engines.setAudioOutput("null");
    engines.setVideoOutput("libmpv");
    FakeDesktop desktop;
    FakeTray tray;
    auto app = std::make_unique<Program>(Services{loop, dialogs, engines, media, desktop, tray, {}, {}, ""},
                                         folder.path());
    auto views = createViews(*app);
    app->Form1.Show();
    loop.wait(500);
    Player& player = app->Form1.WindowsMediaPlayer1;
    player.setURL(film);
    player.controls.play();
    loop.wait(2000);

    const pid_t self = getpid(), thread = static_cast<pid_t>(syscall(SYS_gettid));
    double busy = 0, meanLate = 0, maxLate = 0;
    for (auto _ : state) {
        std::vector<double> late;
        const double cpuBefore = bench::cpuSeconds(self, thread);
        const auto start = Clock::now();
        while (Clock::now() - start < kMeasured) {
            const auto posted = Clock::now();
            bool ran = false;
            loop.post([&] {
                late.push_back(std::chrono::duration<double, std::milli>(Clock::now() - posted).count());
                ran = true;
            });
            while (!ran) loop.wait(1);
            loop.wait(20);
        }
        const double cpu = bench::cpuSeconds(self, thread) - cpuBefore;
        busy = cpu / std::chrono::duration<double>(Clock::now() - start).count();
        double sum = 0;
        for (double l : late) sum += l;
        meanLate = late.empty() ? 0 : sum / static_cast<double>(late.size());
        maxLate = late.empty() ? 0 : *std::max_element(late.begin(), late.end());
    }
    if (player.playState() != playstate::Playing) state.SkipWithError("the film did not play");
    // Frames the picture drew: the film is on the screen.
    auto* widget = qobject_cast<VideoWidget*>(viewOf(views, app->Form1)->widget("WindowsMediaPlayer1"));
    state.counters["frames_drawn"] = widget && widget->picture() ? widget->picture()->framesDrawn() : 0;
    player.close();
    for (auto& v : views) v->releaseVideo();
    views.clear();
    app.reset();
    state.counters["thread_busy_share"] = busy;
    state.counters["post_late_mean_ms"] = meanLate;
    state.counters["post_late_max_ms"] = maxLate;
}
BENCHMARK(BM_MainThreadWhileAFilmPlays)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
