#pragma once
// The player control (WindowsMediaPlayer) as the program drives it.
//
// playState: 1 stopped, 2 paused, 3 playing, 8 media ended, 9 transitioning,
// 10 ready. controls.stop keeps the file loaded and reports 1; the end of a
// file reports 8 and then 1; a load error reports 1 (never 8).
// PlayStateChange is raised on the message loop's thread only.
//
// The control works over an Engine (platform/engine.h) given by attach().
// Without an engine it holds its properties and reports state 1 on loads.
#include <memory>
#include <string>

#include "platform/engine.h"
#include "platform/media.h"
#include "toolkit/control.h"
#include "toolkit/event.h"

namespace tarvolin {

class Player;

namespace playstate {
inline constexpr int Undefined = 0, Stopped = 1, Paused = 2, Playing = 3, MediaEnded = 8,
                     Transitioning = 9, Ready = 10;
}

class PlayerControls {
public:
    explicit PlayerControls(Player& p) : p_(p) {}
    void play();
    void pause();
    void stop();
    double currentPosition() const;
    void setCurrentPosition(double seconds);
    std::string currentPositionString() const;  // "mm:ss", "h:mm:ss" from an hour on
private:
    Player& p_;
};

class PlayerSettings {
public:
    explicit PlayerSettings(Player& p) : p_(p) {}
    int volume() const;
    void setVolume(int v);  // clamped to 0..100; raises StatusChange
    bool mute() const;
    void setMute(bool m);
    bool autoStart() const;
    void setAutoStart(bool a);  // off: a URL set loads paused
private:
    Player& p_;
};

class PlayerMedia {
public:
    explicit PlayerMedia(Player& p) : p_(p) {}
    double duration() const;  // 0 while unknown
    std::string getItemInfo(const std::string& name) const;
    std::string sourceURL() const;
private:
    Player& p_;
};

class Player : public Control, private EngineListener {
public:
    Player();
    ~Player() override;
    const char* typeName() const override { return "Player"; }

    void attach(std::unique_ptr<Engine> engine, MediaReader* reader = nullptr);
    Engine* engine() const { return engine_.get(); }
    MediaReader* reader() const { return reader_; }

    const std::string& URL() const { return url_; }
    void setURL(const std::string& url);  // "" unloads
    int playState() const { return state_; }
    bool enabled() const { return uiEnabled_; }
    void setEnabled(bool e) override;
    const std::string& uiMode() const { return uiMode_; }
    void setUiMode(const std::string& mode);  // "none" hides the control bar, "full"
    void close();  // unloads; URL reads ""
    std::shared_ptr<MediaItem> newMedia(const std::string& url);

    PlayerControls controls{*this};
    PlayerSettings settings{*this};
    PlayerMedia currentMedia{*this};

    Event<int> PlayStateChange;
    Event<> StatusChange;
    // Raised after the change to state 1 when the engine could not load or
    // decode the file; the text says why. errorText() keeps it until the
    // next load.
    Event<std::string> MediaError;
    const std::string& errorText() const { return error_; }

private:
    friend class PlayerControls;
    friend class PlayerSettings;
    friend class PlayerMedia;

    // What a load in progress is to do once the file is open.
    enum class Intent { Ready, Play, Pause, Stop };

    void setState(int s);
    void startLoad(double startSeconds);
    void unloadEngine();
    void engineLoaded(double durationSeconds) override;
    void engineDuration(double durationSeconds) override;
    void engineEnded(EndReason reason, const std::string& error) override;
    void enginePaused(bool paused) override;

    std::unique_ptr<Engine> engine_;
    MediaReader* reader_ = nullptr;
    std::string url_;
    std::string uiMode_ = "full";
    int state_ = playstate::Undefined;
    bool uiEnabled_ = true;
    bool loaded_ = false;      // engine holds the file
    bool pendingLoad_ = false; // between load() and engineLoaded()
    Intent intent_ = Intent::Ready;
    unsigned generation_ = 0;  // counts loads and unloads
    std::shared_ptr<MediaItem> item_;  // media item of url_, made on demand
    std::string error_;
    double pendingSeek_ = -1;  // position set before the file was loaded
    double duration_ = 0;
    int volume_ = 50;
    bool mute_ = false;
    bool autoStart_ = true;
};

}  // namespace tarvolin
