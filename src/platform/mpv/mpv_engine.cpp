#include "platform/mpv/mpv_engine.h"

#include <mpv/client.h>

#include <atomic>
#include <charconv>
#include <clocale>
#include <cstring>

namespace tarvolin {

namespace {

// The outputs of an engine that draws pictures: the front end's render
// context, or nothing while there is none.
constexpr const char* kPictureOutputs = "libmpv,null";

// Numbers for libmpv's option texts, always with "." whatever the locale.
std::string numberText(double v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 3);
    return std::string(buf, r.ptr);
}

}  // namespace

const char* const kSoundOutputs = "pipewire,pulse,alsa,jack";

int loadNoScripts(mpv_handle* handle) {
    // Each script would run in a thread of its own with a script interpreter,
    // in every handle, for what the program does not offer (on-screen
    // controls and console, statistics, profiles, web addresses); the user's
    // scripts and settings are for the user's own mpv.
    int result = 0;
    for (const char* name : {"load-scripts", "osc", "ytdl", "load-stats-overlay", "load-osd-console",
                             "load-auto-profiles", "config"}) {
        const int rc = mpv_set_option_string(handle, name, "no");
        if (rc < 0 && result == 0) result = rc;
    }
    return result;
}

// Shared with libmpv's threads: the wakeup callback reads it, the engine's
// destructor frees it only after the handle is gone.
struct MpvEngine::Wakeup {
    MessageLoop* loop = nullptr;
    std::weak_ptr<MpvEngine*> alive;
    std::atomic<bool> posted{false};

    static void callback(void* d) {
        auto* w = static_cast<Wakeup*>(d);
        if (w->posted.exchange(true)) return;  // a drain is already queued
        std::weak_ptr<MpvEngine*> alive = w->alive;
        w->loop->post([alive] {
            if (auto self = alive.lock()) (*self)->drain();
        });
    }
};

MpvEngine::MpvEngine(MessageLoop& loop, const MpvEngineOptions& options)
    : loop_(loop), alive_(std::make_shared<MpvEngine*>(this)), wakeup_(std::make_unique<Wakeup>()) {
    wakeup_->loop = &loop_;
    wakeup_->alive = alive_;

    options_ = options;
    if (!options_.startOnFirstLoad) start();
}

void MpvEngine::start() {
    if (started_) return;
    started_ = true;
    const MpvEngineOptions& options = options_;
    // libmpv refuses to start under a locale whose decimal point is not ".".
    std::setlocale(LC_NUMERIC, "C");
    handle_ = mpv_create();
    if (!handle_) {
        setupError_ = "mpv_create failed";
        return;
    }
    auto opt = [this](const char* name, const std::string& value) {
        int rc = mpv_set_option_string(handle_, name, value.c_str());
        if (rc < 0 && setupError_.empty())
            setupError_ = std::string("option ") + name + ": " + mpv_error_string(rc);
    };
    // libmpv cannot set up its "libmpv" output before the front end has a
    // render context, and a file whose video fails to start before its audio
    // does is ended as an error. The null output stands in until then
    // (pictureAttached() moves the picture over).
    const std::string& vo = options.videoOutput;
    drawsPictures_ = vo == "libmpv";
    opt("vo", vo.empty() ? "null" : drawsPictures_ ? kPictureOutputs : vo);
    // Video is decoded in software, so the render context needs none of the
    // hardware decoders' GL interops. Left to itself it loads every one of
    // them, and the CUDA one complains on standard error on every machine
    // without NVIDIA's driver.
    opt("hwdec", "no");
    opt("gpu-hwdec-interop", "no");
    opt("ao", options.audioOutput.empty() ? kSoundOutputs : options.audioOutput);
    opt("audio-fallback-to-null", "yes");
    opt("input-default-bindings", "no");
    opt("input-vo-keyboard", "no");
    opt("idle", "yes");
    // A file played to its end stays open, paused on its end (reported as
    // its end through "eof-reached"): the core does not go idle between two
    // files, and so keeps its audio output open for the next one instead of
    // closing it and finding a device again.
    opt("keep-open", "yes");
    opt("volume-max", "100");
    const int scriptsOff = loadNoScripts(handle_);
    if (scriptsOff < 0 && setupError_.empty()) setupError_ = std::string("scripts: ") + mpv_error_string(scriptsOff);
    opt("audio-client-name", "tarvolin");  // the name the sound server shows
    // The option errors above are not fatal; a failed start is.
    int rc = mpv_initialize(handle_);
    if (rc < 0) {
        setupError_ = std::string("mpv_initialize: ") + mpv_error_string(rc);
        mpv_terminate_destroy(handle_);
        handle_ = nullptr;
        return;
    }
    mpv_observe_property(handle_, 1, "duration", MPV_FORMAT_DOUBLE);
    mpv_observe_property(handle_, 2, "pause", MPV_FORMAT_FLAG);
    mpv_observe_property(handle_, 3, "eof-reached", MPV_FORMAT_FLAG);
    mpv_set_wakeup_callback(handle_, &Wakeup::callback, wakeup_.get());
    setVolume(volume_);
    if (mute_) setMute(true);
}

MpvEngine::~MpvEngine() {
    alive_.reset();  // queued drains now do nothing
    if (handle_) {
        mpv_set_wakeup_callback(handle_, nullptr, nullptr);
        mpv_terminate_destroy(handle_);
        handle_ = nullptr;
    }
}

double MpvEngine::doubleProperty(const char* name) const {
    if (!handle_) return 0;
    double v = 0;
    if (mpv_get_property(handle_, name, MPV_FORMAT_DOUBLE, &v) < 0) return 0;
    return v;
}

void MpvEngine::setFlag(const char* name, bool value) {
    if (!handle_) return;
    int flag = value ? 1 : 0;
    mpv_set_property(handle_, name, MPV_FORMAT_FLAG, &flag);
}

// A failure found inside a call is reported from the loop, never from
// inside the call that caused it.
void MpvEngine::reportLater(EndReason reason, std::string error) {
    std::weak_ptr<MpvEngine*> alive = alive_;
    std::uint64_t gen = loadGen_;
    loop_.post([alive, gen, reason, error = std::move(error)] {
        auto self = alive.lock();
        if (!self) return;
        MpvEngine* e = *self;
        if (e->loadGen_ != gen) return;  // another load or an unload came first
        e->currentEntry_ = -1;
        e->loaded_ = false;
        if (e->listener_) e->listener_->engineEnded(reason, error);
    });
}

void MpvEngine::load(const std::string& path, bool paused, double startSeconds) {
    ++loadGen_;
    loaded_ = false;
    seeking_ = false;
    currentEntry_ = -1;
    start();
    if (!handle_) {
        reportLater(EndReason::Error, setupError_.empty() ? "no playback engine" : setupError_);
        return;
    }
    setFlag("pause", paused);
    std::string options;
    if (startSeconds > 0) {
        options = "start=" + numberText(startSeconds);
        // Until playback has begun there, the start point is the position.
        seeking_ = true;
        seekTarget_ = startSeconds;
    }
    lastPosition_ = startSeconds > 0 ? startSeconds : 0;
    const char* args[] = {"loadfile", path.c_str(), "replace", options.c_str(), nullptr};
    mpv_node result;
    std::memset(&result, 0, sizeof result);
    int rc = mpv_command_ret(handle_, args, &result);
    if (rc < 0) {
        reportLater(EndReason::Error, mpv_error_string(rc));
        return;
    }
    if (result.format == MPV_FORMAT_NODE_MAP && result.u.list) {
        for (int i = 0; i < result.u.list->num; ++i) {
            if (std::strcmp(result.u.list->keys[i], "playlist_entry_id") == 0 &&
                result.u.list->values[i].format == MPV_FORMAT_INT64)
                currentEntry_ = result.u.list->values[i].u.int64;
        }
    }
    mpv_free_node_contents(&result);
    if (currentEntry_ < 0) reportLater(EndReason::Error, "the file was not queued");
}

void MpvEngine::unload() {
    ++loadGen_;
    currentEntry_ = -1;  // its end-file event is ours, not news
    loaded_ = false;
    seeking_ = false;
    if (!handle_) return;
    const char* args[] = {"stop", nullptr};
    mpv_command(handle_, args);
}

void MpvEngine::setPaused(bool paused) { setFlag("pause", paused); }

void MpvEngine::seek(double seconds) {
    if (!handle_ || !loaded_) return;
    if (seconds < 0) seconds = 0;
    std::string target = numberText(seconds);
    const char* args[] = {"seek", target.c_str(), "absolute", nullptr};
    if (mpv_command(handle_, args) >= 0) {
        seeking_ = true;
        seekTarget_ = seconds;
        lastPosition_ = seconds;
    }
}

double MpvEngine::position() const {
    if (!loaded_) return 0;
    if (seeking_) return seekTarget_;
    double p = 0;
    // While libmpv sets up its outputs it may have no position for a moment:
    // the last one known stands in for it.
    if (!handle_ || mpv_get_property(handle_, "time-pos", MPV_FORMAT_DOUBLE, &p) < 0) return lastPosition_;
    lastPosition_ = p > 0 ? p : 0;
    return lastPosition_;
}

double MpvEngine::duration() const { return loaded_ ? doubleProperty("duration") : 0; }

void MpvEngine::setVolume(int volume0to100) {
    volume_ = volume0to100;
    if (!handle_) return;
    double v = volume0to100 < 0 ? 0 : volume0to100 > 100 ? 100 : volume0to100;
    mpv_set_property(handle_, "volume", MPV_FORMAT_DOUBLE, &v);
}

void MpvEngine::setMute(bool mute) {
    mute_ = mute;
    setFlag("mute", mute);
}

// The requests of pictureAttached() go asynchronously: the caller renders,
// and a render thread must not wait for libmpv's core.
void MpvEngine::pictureAttached() {
    if (!handle_ || !drawsPictures_) return;
    if (pictureDetached_) {
        // A change of the outputs sets the video of the file open up again
        // on the first that works, now the render context.
        pictureDetached_ = false;
        const char* outputs = kPictureOutputs;
        mpv_set_property_async(handle_, 0, "vo", MPV_FORMAT_STRING, &outputs);
        return;
    }
    if (currentEntry_ < 0) return;  // nothing open: the next file finds the context
    char* vo = mpv_get_property_string(handle_, "current-vo");
    const bool drawing = vo && std::strcmp(vo, "libmpv") == 0;
    mpv_free(vo);
    if (drawing) return;
    // libmpv keeps its output for as long as the video track stays chosen.
    // Choosing no video and then the default track again sets the output up
    // anew, on the render context that now exists; the option ends as "auto"
    // as before, so the next file chooses its own track. An audio file
    // without pictures has no track to choose and stays as it is.
    const char* none = "no";
    const char* automatic = "auto";
    mpv_set_property_async(handle_, 0, "vid", MPV_FORMAT_STRING, &none);
    mpv_set_property_async(handle_, 0, "vid", MPV_FORMAT_STRING, &automatic);
}

void MpvEngine::pictureDetaching() {
    if (!handle_ || !drawsPictures_ || pictureDetached_) return;
    // Freeing a render context that an output still uses makes libmpv drop
    // the video track, and end a file that has no sound. The output moves to
    // "null" first; synchronously, since the context is freed right after.
    pictureDetached_ = true;
    mpv_set_property_string(handle_, "vo", "null");
}

void MpvEngine::drain() {
    wakeup_->posted.store(false);
    std::weak_ptr<MpvEngine*> alive = alive_;
    while (handle_) {
        mpv_event* ev = mpv_wait_event(handle_, 0);
        if (!ev || ev->event_id == MPV_EVENT_NONE) break;
        handleEvent(*ev);
        if (alive.expired()) return;  // a listener let the engine go
    }
}

void MpvEngine::ended(EndReason reason, const std::string& error) {
    currentEntry_ = -1;
    loaded_ = false;
    seeking_ = false;
    ++loadGen_;
    if (listener_) listener_->engineEnded(reason, error);
}

void MpvEngine::handleEvent(const mpv_event& ev) {
    switch (ev.event_id) {
    case MPV_EVENT_START_FILE: {
        auto* sf = static_cast<mpv_event_start_file*>(ev.data);
        startedEntry_ = sf ? sf->playlist_entry_id : -1;
        break;
    }
    case MPV_EVENT_FILE_LOADED:
        // Belongs to the last started entry, which may since have been replaced.
        if (currentEntry_ >= 0 && startedEntry_ == currentEntry_ && !loaded_) {
            loaded_ = true;
            double d = doubleProperty("duration");
            if (listener_) listener_->engineLoaded(d > 0 ? d : 0);
        }
        break;
    case MPV_EVENT_END_FILE: {
        auto* ef = static_cast<mpv_event_end_file*>(ev.data);
        if (!ef || currentEntry_ < 0 || ef->playlist_entry_id != currentEntry_) break;
        bool wasLoaded = loaded_;
        switch (ef->reason) {
        case MPV_END_FILE_REASON_EOF:
            // An end before the file opened is a file that could not be read.
            if (wasLoaded)
                ended(EndReason::Eof, "");
            else
                ended(EndReason::Error, "unrecognized file format");
            break;
        case MPV_END_FILE_REASON_ERROR:
            ended(EndReason::Error, mpv_error_string(ef->error));
            break;
        case MPV_END_FILE_REASON_REDIRECT: {
            // A playlist, not a media file: do not play its entries.
            const char* args[] = {"stop", nullptr};
            mpv_command(handle_, args);
            ended(EndReason::Error, "not a media file");
            break;
        }
        default:  // STOP, QUIT: unloaded by something other than us
            ended(EndReason::Stopped, "");
            break;
        }
        break;
    }
    case MPV_EVENT_PLAYBACK_RESTART:
        seeking_ = false;
        break;
    case MPV_EVENT_PROPERTY_CHANGE: {
        auto* prop = static_cast<mpv_event_property*>(ev.data);
        if (!prop || !prop->data) break;
        if (std::strcmp(prop->name, "duration") == 0 && prop->format == MPV_FORMAT_DOUBLE) {
            if (loaded_ && listener_) listener_->engineDuration(*static_cast<double*>(prop->data));
        } else if (std::strcmp(prop->name, "pause") == 0 && prop->format == MPV_FORMAT_FLAG) {
            if (listener_) listener_->enginePaused(*static_cast<int*>(prop->data) != 0);
        } else if (std::strcmp(prop->name, "eof-reached") == 0 && prop->format == MPV_FORMAT_FLAG) {
            // The file open played to its end (it stays open, see keep-open).
            if (*static_cast<int*>(prop->data) != 0 && loaded_ && currentEntry_ >= 0 &&
                startedEntry_ == currentEntry_)
                ended(EndReason::Eof, "");
        }
        break;
    }
    default:
        break;
    }
}

bool MpvEngineFactory::showsVideo(PlayerRole role) {
    switch (role) {
    case PlayerRole::Main:
    case PlayerRole::Compact:
    case PlayerRole::Video:
    case PlayerRole::Preview:
        return true;
    default:
        return false;
    }
}

std::unique_ptr<Engine> MpvEngineFactory::create(PlayerRole role) {
    MpvEngineOptions options;
    options.audioOutput = audioOutput_;
    options.videoOutput = showsVideo(role) ? videoOutput_ : "null";
    // Only the main player plays in every run; the others (twelve preview
    // players, the compact, video and snooze windows' players) stand ready,
    // and many runs never use them.
    options.startOnFirstLoad = role != PlayerRole::Main;
    return std::make_unique<MpvEngine>(loop_, options);
}

}  // namespace tarvolin
