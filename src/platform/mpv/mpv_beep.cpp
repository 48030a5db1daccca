#include "platform/mpv/mpv_beep.h"

#include "platform/mpv/mpv_engine.h"

#include <mpv/client.h>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <mutex>

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

// One handle for every beep of the process, made on the first beep.
class ToneOutput {
public:
    ToneOutput() {
        std::setlocale(LC_NUMERIC, "C");
        handle_ = mpv_create();
        if (!handle_) return;
        mpv_set_option_string(handle_, "vo", "null");
        mpv_set_option_string(handle_, "audio-fallback-to-null", "yes");
        mpv_set_option_string(handle_, "input-default-bindings", "no");
        loadNoScripts(handle_);
        mpv_set_option_string(handle_, "idle", "yes");
        mpv_set_option_string(handle_, "keep-open", "no");
        mpv_set_option_string(handle_, "audio-client-name", "tarvolin");
        if (mpv_initialize(handle_) < 0) {
            mpv_terminate_destroy(handle_);
            handle_ = nullptr;
        }
    }
    ~ToneOutput() {
        if (handle_) mpv_terminate_destroy(handle_);
    }
    ToneOutput(const ToneOutput&) = delete;
    ToneOutput& operator=(const ToneOutput&) = delete;

    bool play(const std::string& url) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!handle_) return false;
        // Nobody waits for this handle's events; drop them so they do not pile up.
        while (true) {
            mpv_event* ev = mpv_wait_event(handle_, 0);
            if (!ev || ev->event_id == MPV_EVENT_NONE) break;
        }
        int idle = 0;
        mpv_get_property(handle_, "idle-active", MPV_FORMAT_FLAG, &idle);
        // While a tone sounds the new one is queued behind it; when idle
        // the queue of finished tones is replaced.
        const char* args[] = {"loadfile", url.c_str(), idle ? "replace" : "append-play", nullptr};
        return mpv_command(handle_, args) >= 0;
    }

private:
    std::mutex mutex_;
    mpv_handle* handle_ = nullptr;
};

}  // namespace

bool beep(int freq, int ms) {
    if (freq <= 0 || ms <= 0) return false;
    static ToneOutput output;
    return output.play(toneUrl(freq, ms));
}

}  // namespace tarvolin
