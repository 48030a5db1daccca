// The silence between two tracks when a collection plays on its own with the
// pause between files off: from the moment libmpv reports the end of one
// file's audio to the moment its core plays the next one. The program runs
// on libmpv in real time with the null audio output (which keeps the pace of
// a sound card); a second client on the main player's mpv handle watches
// its events, so the figure is libmpv's own and not the program's idea of it.
// Headless, and with the program's windows shown (their drawing shares the
// program's thread with the steps between two tracks).
#include <benchmark/benchmark.h>

#include <mpv/client.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/program.h"
#include "gui/form_view.h"
#include "gui/program_views.h"
#include "gui/qt_message_loop.h"
#include "platform/mpv/mpv_engine.h"
#include "platform/tags/tag_media.h"
#include "qt_display.h"
#include "playback/playback_fixture.h"
#include "support/blocking_test_loop.h"
#include "support/fake_desktop.h"
#include "support/fake_tray.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"
#include "toolkit/scripted_dialogs.h"

namespace {

using namespace tarvolin;
using Clock = std::chrono::steady_clock;

constexpr int kTracks = 12;
constexpr double kTrackSeconds = 1.5;
const char* const kPassOver = "Every file has been reproduced";

// Ends of audio and starts of play on one mpv handle, in seconds of the
// steady clock.
class GapWatch {
public:
    explicit GapWatch(mpv_handle* core) : client_(mpv_create_client(core, "gap_watch")) {
        mpv_observe_property(client_, kCoreIdle, "core-idle", MPV_FORMAT_FLAG);
        // A file kept open at its end reports its end here, not by ending.
        mpv_observe_property(client_, kEndReached, "eof-reached", MPV_FORMAT_FLAG);
        thread_ = std::thread([this] { run(); });
    }
    ~GapWatch() {
        stop_ = true;
        mpv_wakeup(client_);
        thread_.join();
        mpv_destroy(client_);
    }

    // Each end of a file's audio paired with the next start of play.
    std::vector<double> gaps() {
        std::lock_guard<std::mutex> lock(mutex_);
        std::vector<double> out;
        for (double end : ends_) {
            auto next = std::upper_bound(starts_.begin(), starts_.end(), end);
            if (next != starts_.end()) out.push_back(*next - end);
        }
        return out;
    }

private:
    static constexpr std::uint64_t kCoreIdle = 1, kEndReached = 2;

    void run() {
        while (!stop_) {
            mpv_event* ev = mpv_wait_event(client_, 1.0);
            const double t = std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
            std::lock_guard<std::mutex> lock(mutex_);
            if (ev->event_id == MPV_EVENT_END_FILE) {
                auto* ef = static_cast<mpv_event_end_file*>(ev->data);
                if (ef && ef->reason == MPV_END_FILE_REASON_EOF) ends_.push_back(t);
            } else if (ev->event_id == MPV_EVENT_PROPERTY_CHANGE) {
                auto* p = static_cast<mpv_event_property*>(ev->data);
                if (p->format != MPV_FORMAT_FLAG) continue;
                const bool on = *static_cast<int*>(p->data) != 0;
                if (ev->reply_userdata == kCoreIdle && !on) starts_.push_back(t);
                if (ev->reply_userdata == kEndReached && on) ends_.push_back(t);
            }
        }
    }

    mpv_handle* client_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::mutex mutex_;
    std::vector<double> ends_, starts_;
};

// Plays a collection of kTracks tones through once on `loop`, with the
// program's windows shown when `withWindows`, and reports the gaps.
template <class Loop>
void playThrough(benchmark::State& state, Loop& loop, bool withWindows) {
    TempDir folder;
    ScriptedDialogs dialogs;
    TagMediaReader media;
    MpvEngineFactory engines{loop};
    engines.setAudioOutput("null");
    engines.setVideoOutput(withWindows ? "libmpv" : "null");
    FakeDesktop desktop;
    FakeTray tray;
    const Services services{loop, dialogs, engines, media, desktop, tray, {}, {}, ""};

    std::vector<std::string> paths;
    const std::string music = folder.makeDir("music");
    for (int i = 0; i < kTracks; ++i) {
        fixtures::WavOptions wav;
        wav.pcm.seconds = kTrackSeconds;
        wav.pcm.sineHz = 330 + 55 * i;
        paths.push_back(fixtures::writeWav(music + "tone" + std::to_string(i) + ".wav", wav));
    }
    {
        Program first(services, folder.path());
        first.playback.Form_Load();
        putTracks(first, paths, std::vector<double>(paths.size(), kTrackSeconds));
        first.Form1.MnuMorePauseActive.setChecked(false);
        int cancel = 0;
        first.playback.Form_QueryUnload(cancel, 0);
    }

    std::vector<double> gaps;
    for (auto _ : state) {
        Program app(services, folder.path());
        std::vector<std::unique_ptr<FormView>> views;
        if (withWindows) views = createViews(app);
        auto* core = static_cast<mpv_handle*>(app.Form1.WindowsMediaPlayer1.engine()->nativeHandle());
        GapWatch watch(core);
        app.playback.Form_Load();  // shows the main window and plays at start
        const auto start = Clock::now();
        while (app.Form1.Text2[0].Text().find(kPassOver) == std::string::npos &&
               Clock::now() - start < std::chrono::minutes(2))
            loop.wait(20);
        if (app.Form1.Text2[0].Text().find(kPassOver) == std::string::npos) state.SkipWithError("the pass did not end");
        gaps = watch.gaps();
        int cancel = 0;
        app.playback.Form_QueryUnload(cancel, 0);
        for (auto& v : views) v->releaseVideo();
    }
    if (gaps.empty()) return;
    std::sort(gaps.begin(), gaps.end());
    state.counters["gaps"] = static_cast<double>(gaps.size());
    state.counters["median_s"] = gaps[gaps.size() / 2];
    state.counters["max_s"] = gaps.back();
}

void BM_SilenceBetweenTracks(benchmark::State& state) {
    BlockingTestLoop loop;
    playThrough(state, loop, false);
}
BENCHMARK(BM_SilenceBetweenTracks)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// The same with the main window shown (on the X display in DISPLAY).
void BM_SilenceBetweenTracksWindowShown(benchmark::State& state) {
    if (!bench::qtOnDisplay(state)) return;
    QtMessageLoop loop;
    playThrough(state, loop, true);
}
BENCHMARK(BM_SilenceBetweenTracksWindowShown)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
