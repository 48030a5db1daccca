#pragma once
// The playback engine on libmpv: one mpv handle per player.
//
// libmpv runs its own threads. Its wakeup callback only posts a call to the
// program's message loop; that call drains libmpv's events and reports them
// to the listener on the loop's thread. A call still queued when the engine
// goes finds it gone and does nothing.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/engine.h"
#include "toolkit/message_loop.h"

struct mpv_handle;
struct mpv_event;

namespace tarvolin {

struct MpvEngineOptions {
    // Audio output driver; "" tries kSoundOutputs. Without a usable sound
    // device the file plays silently instead of failing.
    std::string audioOutput;
    // Video output driver: "null" draws nothing, "libmpv" hands the picture
    // to the front end through the render API (nativeHandle()). Until the
    // front end has made its render context, the picture of a "libmpv"
    // engine goes to the null output, and the file plays on.
    std::string videoOutput = "null";
    // The mpv handle is made by the first load, not at once: for the many
    // players that may never play anything (each handle holds its own
    // threads and buffers).
    bool startOnFirstLoad = false;
};

// Before mpv_initialize: the handle loads none of libmpv's scripts and no
// configuration files. Gives libmpv's first error, or 0.
int loadNoScripts(mpv_handle* handle);

// The sound outputs tried, in libmpv's own order but for SDL's: SDL keeps
// its sound state for the whole process, and two players opening it at once
// (as they do once a sound server that never answers has kept both waiting)
// crash inside it. It reaches no device the others do not.
extern const char* const kSoundOutputs;

class MpvEngine : public Engine {
public:
    explicit MpvEngine(MessageLoop& loop, const MpvEngineOptions& options = {});
    ~MpvEngine() override;
    MpvEngine(const MpvEngine&) = delete;
    MpvEngine& operator=(const MpvEngine&) = delete;

    // False when libmpv could not be set up (or, with startOnFirstLoad,
    // before the first load); every load then fails.
    bool valid() const { return handle_ != nullptr; }
    const std::string& setupError() const { return setupError_; }

    void setListener(EngineListener* listener) override { listener_ = listener; }
    void load(const std::string& path, bool paused, double startSeconds) override;
    void unload() override;
    void setPaused(bool paused) override;
    void seek(double seconds) override;
    double position() const override;
    double duration() const override;
    void setVolume(int volume0to100) override;
    void setMute(bool mute) override;
    void* nativeHandle() override { return handle_; }
    // Its video output is the front end's render context ("libmpv").
    bool drawsPictures() const { return options_.videoOutput == "libmpv"; }

    // The front end has just made a render context on this handle. The file
    // open now, whose picture went to the null output for want of one (it
    // was loaded before the picture was first shown, or while the picture's
    // window was being made anew), has its video set up again so that it
    // draws there.
    void pictureAttached();
    // The front end is about to free its render context: the picture moves
    // to the null output first, and the file plays on. Both are called on
    // the loop's thread, which is the one that renders.
    void pictureDetaching();

private:
    struct Wakeup;
    // Makes and starts the mpv handle; on failure handle_ stays null and
    // setupError_ says why.
    void start();

    void drain();
    void handleEvent(const mpv_event& ev);
    void ended(EndReason reason, const std::string& error);
    void reportLater(EndReason reason, std::string error);
    double doubleProperty(const char* name) const;
    void setFlag(const char* name, bool value);

    MessageLoop& loop_;
    MpvEngineOptions options_;
    bool started_ = false;
    // Kept for a handle made later.
    int volume_ = 100;
    bool mute_ = false;
    mpv_handle* handle_ = nullptr;
    std::string setupError_;
    bool drawsPictures_ = false;  // video output "libmpv"
    bool pictureDetached_ = false;  // moved to the null output by pictureDetaching()
    EngineListener* listener_ = nullptr;
    std::shared_ptr<MpvEngine*> alive_;
    std::unique_ptr<Wakeup> wakeup_;

    // Entry id that libmpv gave the file of the last load (-1: none). Events
    // of any other entry belong to a file that was replaced or unloaded.
    std::int64_t currentEntry_ = -1;
    std::int64_t startedEntry_ = -1;  // entry of the last start-file event
    std::uint64_t loadGen_ = 0;
    bool loaded_ = false;
    bool seeking_ = false;  // until libmpv has carried out the last seek
    double seekTarget_ = 0;
    mutable double lastPosition_ = 0;
};

class MpvEngineFactory : public EngineFactory {
public:
    explicit MpvEngineFactory(MessageLoop& loop) : loop_(loop) {}
    std::unique_ptr<Engine> create(PlayerRole role) override;

    // Audio output of every engine ("" = kSoundOutputs; tests use "null").
    void setAudioOutput(std::string ao) { audioOutput_ = std::move(ao); }
    // Video output of the players that show pictures (main, compact, video
    // and preview players); the others always draw nothing.
    void setVideoOutput(std::string vo) { videoOutput_ = std::move(vo); }
    static bool showsVideo(PlayerRole role);

private:
    MessageLoop& loop_;
    std::string audioOutput_;
    std::string videoOutput_ = "null";
};

}  // namespace tarvolin
