#pragma once
// A simulated playback engine for tests: it plays nothing, but opens, plays,
// pauses, seeks and ends files on the message loop's clock, reporting to the
// player control what the libmpv engine reports, in the same order and
// always through the loop (never from inside the call that caused it).
//
// A file opens when it exists, is not empty and its media item gives a
// duration above 0 (the media reader's newMedia(path)->duration(), or a
// duration set with setDuration); anything else is a load error. Opening
// takes loadDelay() milliseconds of the loop's clock (0: the next turn).
// While playing, the position advances with the loop's tick count, and the
// end of the file is reported when it reaches the duration.
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/engine.h"
#include "platform/media.h"
#include "toolkit/message_loop.h"

namespace tarvolin {

// The test controls of simulated engines; a factory's engines share its set.
struct SimMediaRules {
    std::map<std::string, std::string> decodeErrors;  // path -> message
    std::map<std::string, double> durations;          // path -> seconds
    std::int64_t loadDelay = 0;
};

class SimEngine : public Engine {
public:
    SimEngine(MessageLoop& loop, MediaReader* reader = nullptr,
              std::shared_ptr<SimMediaRules> rules = nullptr);
    ~SimEngine() override;

    void setListener(EngineListener* listener) override { listener_ = listener; }
    void load(const std::string& path, bool paused, double startSeconds) override;
    void unload() override;
    void setPaused(bool paused) override;
    void seek(double seconds) override;
    double position() const override;
    double duration() const override;
    void setVolume(int volume0to100) override { volume_ = volume0to100; }
    void setMute(bool mute) override { mute_ = mute; }

    // ---- test controls ----
    // Loading path fails as an undecodable file, with that message.
    void failDecode(const std::string& path, std::string message = "unrecognized file format");
    // Overrides the duration that the media reader gives for path; this also
    // lets a test play paths that do not exist on disk.
    void setDuration(const std::string& path, double seconds);
    void setLoadDelay(std::int64_t ms) { rules_->loadDelay = ms; }

    // ---- what the engine was told, for tests ----
    bool loaded() const { return state_ == State::Loaded; }
    bool paused() const { return paused_; }
    const std::string& path() const { return path_; }
    int volume() const { return volume_; }
    bool muted() const { return mute_; }
    int loadCount() const { return loadCount_; }

private:
    enum class State { Idle, Opening, Loaded };

    void finishLoad(std::uint64_t gen);
    void scheduleEnd();
    void reachEnd(std::uint64_t token);
    // Queues a report to the listener; dropped when the engine is gone.
    void report(std::function<void(EngineListener&)> call);

    MessageLoop& loop_;
    MediaReader* reader_;
    EngineListener* listener_ = nullptr;
    std::shared_ptr<SimEngine*> alive_;

    State state_ = State::Idle;
    std::string path_;
    bool paused_ = true;
    double duration_ = 0;
    double basePos_ = 0;           // position when the clock last started or stopped
    std::int64_t baseTick_ = 0;    // tick count at that moment, while playing
    double startSeconds_ = 0;
    std::uint64_t loadGen_ = 0;    // counts loads and unloads
    std::uint64_t endToken_ = 0;   // counts re-plannings of the end
    int volume_ = 100;
    bool mute_ = false;
    int loadCount_ = 0;
    std::shared_ptr<SimMediaRules> rules_;
};

class SimEngineFactory : public EngineFactory {
public:
    SimEngineFactory(MessageLoop& loop, MediaReader* reader = nullptr)
        : loop_(loop), reader_(reader), rules_(std::make_shared<SimMediaRules>()) {}
    std::unique_ptr<Engine> create(PlayerRole role) override;

    // The test controls of every engine this factory made or will make.
    SimMediaRules& rules() { return *rules_; }

private:
    MessageLoop& loop_;
    MediaReader* reader_;
    std::shared_ptr<SimMediaRules> rules_;
};

}  // namespace tarvolin
