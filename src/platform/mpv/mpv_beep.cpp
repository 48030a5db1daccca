#include "platform/mpv/mpv_beep.h"

#include "platform/mpv/mpv_engine.h"

#include <mpv/client.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <charconv>
#include <clocale>
#include <mutex>
#include <string>
#include <thread>

namespace tarvolin {

std::string toneUrl(int freq, int ms) {
    freq = std::clamp(freq, 1, 48000);
    ms = std::clamp(ms, 1, 60000);
    // Whole milliseconds as seconds with three decimals, independent of locale.
    char secs[32];
    auto r = std::to_chars(secs, secs + sizeof secs, ms / 1000.0, std::chars_format::fixed, 3);
    return "av://lavfi:sine=frequency=" + std::to_string(freq) +
           ":duration=" + std::string(secs, r.ptr);
}

namespace {

// One handle for every beep of the process, made on the first beep, and
// driven from a thread of its own. libmpv opens the sound device on the
// thread of its core, and every call on the handle waits for that thread:
// with a sound server that does not answer, for a minute. The program's
// thread only queues its tones, and at the exit the thread is left to
// itself if it is still held.
class ToneOutput {
public:
    ToneOutput() : state_(std::make_shared<State>()) {
        // libmpv refuses to start under a locale whose decimal point is not ".".
        std::setlocale(LC_NUMERIC, "C");
        std::thread([state = state_] { run(*state); }).detach();
    }
    ~ToneOutput() {
        std::unique_lock<std::mutex> lock(state_->mutex);
        state_->quit = true;
        state_->wake.notify_all();
        state_->wake.wait_for(lock, std::chrono::seconds(1), [this] { return state_->done; });
    }
    ToneOutput(const ToneOutput&) = delete;
    ToneOutput& operator=(const ToneOutput&) = delete;

    // False once libmpv could not be set up.
    bool play(std::string url) {
        std::lock_guard<std::mutex> lock(state_->mutex);
        if (state_->failed) return false;
        state_->tones.push_back(std::move(url));
        state_->wake.notify_all();
        return true;
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable wake;
        std::deque<std::string> tones;
        bool quit = false, failed = false, done = false;
    };

    static mpv_handle* open() {
        mpv_handle* handle = mpv_create();
        if (!handle) return nullptr;
        mpv_set_option_string(handle, "vo", "null");
        mpv_set_option_string(handle, "ao", kSoundOutputs);
        mpv_set_option_string(handle, "audio-fallback-to-null", "yes");
        mpv_set_option_string(handle, "input-default-bindings", "no");
        loadNoScripts(handle);
        mpv_set_option_string(handle, "idle", "yes");
        mpv_set_option_string(handle, "keep-open", "no");
        mpv_set_option_string(handle, "audio-client-name", "tarvolin");
        if (mpv_initialize(handle) < 0) {
            mpv_terminate_destroy(handle);
            return nullptr;
        }
        return handle;
    }

    static void sound(mpv_handle* handle, const std::string& url) {
        // Nobody waits for this handle's events; drop them so they do not pile up.
        while (true) {
            mpv_event* ev = mpv_wait_event(handle, 0);
            if (!ev || ev->event_id == MPV_EVENT_NONE) break;
        }
        int idle = 0;
        mpv_get_property(handle, "idle-active", MPV_FORMAT_FLAG, &idle);
        // While a tone sounds the new one is queued behind it; when idle
        // the queue of finished tones is replaced.
        const char* args[] = {"loadfile", url.c_str(), idle ? "replace" : "append-play", nullptr};
        mpv_command(handle, args);
    }

    static void run(State& state) {
        mpv_handle* handle = open();
        std::unique_lock<std::mutex> lock(state.mutex);
        state.failed = handle == nullptr;
        while (handle && !state.quit) {
            if (state.tones.empty()) {
                state.wake.wait(lock);
                continue;
            }
            const std::string url = std::move(state.tones.front());
            state.tones.pop_front();
            lock.unlock();
            sound(handle, url);
            lock.lock();
        }
        lock.unlock();
        if (handle) mpv_terminate_destroy(handle);
        lock.lock();
        state.done = true;
        state.wake.notify_all();
    }

    std::shared_ptr<State> state_;
};

}  // namespace

bool beep(int freq, int ms) {
    if (freq <= 0 || ms <= 0) return false;
    static ToneOutput output;
    return output.play(toneUrl(freq, ms));
}

}  // namespace tarvolin
