#pragma once
// A playback engine beneath the player control: libmpv for the program
// (platform/mpv), a simulated engine on the VirtualLoop for tests
// (platform/sim_engine.h). An engine only reports what happened; the
// player control (platform/player.h) turns that into the control's
// playState values, so both engines give the same states in the same order.
//
// Every listener call is made on the message loop's thread.
#include <memory>
#include <string>

namespace tarvolin {

enum class EndReason { Eof, Error, Stopped };

class EngineListener {
public:
    virtual ~EngineListener() = default;
    // The file given to load() is open; its duration (0 when unknown).
    virtual void engineLoaded(double durationSeconds) = 0;
    // The duration became known or changed.
    virtual void engineDuration(double durationSeconds) = 0;
    // The file ended (Eof), could not be loaded or decoded (Error), or was
    // unloaded (Stopped). An unload() asked for, and a file replaced by the
    // next load(), are not reported: what the listener hears always concerns
    // the file of the last load().
    virtual void engineEnded(EndReason reason, const std::string& error) = 0;
    // The engine's pause state changed (after load, setPaused, end).
    virtual void enginePaused(bool paused) = 0;
};

class Engine {
public:
    virtual ~Engine() = default;
    virtual void setListener(EngineListener* listener) = 0;

    // Opens path; paused = do not start; startSeconds = start point.
    virtual void load(const std::string& path, bool paused, double startSeconds) = 0;
    virtual void unload() = 0;
    virtual void setPaused(bool paused) = 0;
    virtual void seek(double seconds) = 0;
    virtual double position() const = 0;  // 0 when nothing loaded
    virtual double duration() const = 0;  // 0 while unknown
    virtual void setVolume(int volume0to100) = 0;
    virtual void setMute(bool mute) = 0;

    // The engine's native handle for drawing video (mpv_handle*), or null.
    virtual void* nativeHandle() { return nullptr; }
};

// Which player an engine is made for; the factory may set different options.
enum class PlayerRole { Main, Compact, Video, Snooze, Preview, Beep };

class EngineFactory {
public:
    virtual ~EngineFactory() = default;
    virtual std::unique_ptr<Engine> create(PlayerRole role) = 0;
};

}  // namespace tarvolin
