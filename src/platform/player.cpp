// The player control's state machine. The engine only reports what happened
// (loaded, ended, failed); every playState the program sees is decided here,
// so the libmpv engine and the simulated engine give the same states in the
// same order.
#include "platform/player.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "toolkit/runtime.h"

namespace tarvolin {

namespace {

// The item newMedia gives when the player has no media reader: it knows
// nothing about the file and refuses every write.
class EmptyMediaItem : public MediaItem {
public:
    explicit EmptyMediaItem(std::string url) : url_(std::move(url)) {}
    std::string getItemInfo(const std::string&) override { return ""; }
    bool setItemInfo(const std::string&, const std::string&) override { return false; }
    bool isReadOnlyItem(const std::string&) override { return true; }
    double duration() override { return 0; }
    std::string sourceURL() override { return url_; }

private:
    std::string url_;
};

}  // namespace

Player::Player() = default;

Player::~Player() {
    if (engine_) engine_->setListener(nullptr);
}

void Player::attach(std::unique_ptr<Engine> engine, MediaReader* reader) {
    if (engine_) {
        engine_->setListener(nullptr);
        if (loaded_ || pendingLoad_) engine_->unload();
    }
    engine_ = std::move(engine);
    reader_ = reader;
    item_.reset();
    loaded_ = false;
    pendingLoad_ = false;
    ++generation_;
    if (engine_) {
        engine_->setListener(this);
        engine_->setVolume(volume_);
        engine_->setMute(mute_);
    }
}

void Player::setState(int s) {
    if (s == state_) return;
    state_ = s;
    changed.emit(Property::PlayState);
    PlayStateChange.raise(s);
}

// Opens url_ in the engine. The file opens paused unless it is to play at
// once; engineLoaded settles the rest.
void Player::startLoad(double startSeconds) {
    unsigned gen = ++generation_;
    error_.clear();
    loaded_ = false;
    if (!engine_) {
        // Nothing can open the file.
        pendingLoad_ = false;
        setState(playstate::Stopped);
        return;
    }
    pendingLoad_ = true;
    setState(playstate::Transitioning);
    // A handler of the change may already have moved on.
    if (gen != generation_ || !pendingLoad_) return;
    engine_->load(url_, intent_ != Intent::Play, std::max(0.0, startSeconds));
}

void Player::unloadEngine() {
    ++generation_;
    if (engine_ && (loaded_ || pendingLoad_)) engine_->unload();
    loaded_ = false;
    pendingLoad_ = false;
    pendingSeek_ = -1;
}

void Player::setURL(const std::string& url) {
    if (url.empty()) {
        close();
        return;
    }
    unloadEngine();
    url_ = url;
    item_.reset();
    duration_ = 0;
    changed.emit(Property::URL);
    intent_ = autoStart_ ? Intent::Play : Intent::Ready;
    startLoad(0);
}

void Player::close() {
    unloadEngine();
    bool hadUrl = !url_.empty();
    url_.clear();
    item_.reset();
    duration_ = 0;
    error_.clear();
    if (hadUrl) changed.emit(Property::URL);
    setState(playstate::Stopped);
}

void Player::setEnabled(bool e) {
    uiEnabled_ = e;
    Control::setEnabled(e);
}

void Player::setUiMode(const std::string& mode) {
    if (mode == uiMode_) return;
    uiMode_ = mode;
    changed.emit(Property::UiMode);
}

std::shared_ptr<MediaItem> Player::newMedia(const std::string& url) {
    if (reader_) {
        if (auto item = reader_->newMedia(url)) return item;
    }
    return std::make_shared<EmptyMediaItem>(url);
}

// ---- engine reports -------------------------------------------------------

void Player::engineLoaded(double durationSeconds) {
    if (!pendingLoad_) return;  // a load that was given up
    pendingLoad_ = false;
    loaded_ = true;
    durationSeconds = KnownAmount(durationSeconds);
    if (durationSeconds > 0) duration_ = durationSeconds;
    Intent intent = intent_;
    intent_ = Intent::Ready;
    if (intent == Intent::Stop) {
        pendingSeek_ = -1;
        engine_->setPaused(true);
        engine_->seek(0);
        setState(playstate::Stopped);
        return;
    }
    if (pendingSeek_ >= 0) {
        engine_->seek(pendingSeek_);
        pendingSeek_ = -1;
    }
    switch (intent) {
    case Intent::Play:
        engine_->setPaused(false);
        setState(playstate::Playing);
        break;
    case Intent::Pause:
        engine_->setPaused(true);
        setState(playstate::Paused);
        break;
    default:
        engine_->setPaused(true);
        setState(playstate::Ready);
        break;
    }
}

void Player::engineDuration(double durationSeconds) {
    if (!loaded_) return;
    durationSeconds = KnownAmount(durationSeconds);
    if (durationSeconds > 0) duration_ = durationSeconds;
}

void Player::engineEnded(EndReason reason, const std::string& error) {
    if (!loaded_ && !pendingLoad_) return;  // an unload we asked for
    bool wasLoaded = loaded_;
    loaded_ = false;
    pendingLoad_ = false;
    pendingSeek_ = -1;
    intent_ = Intent::Ready;
    unsigned gen = ++generation_;
    if (reason == EndReason::Eof && wasLoaded) {
        setState(playstate::MediaEnded);
        // A handler of the end may have loaded the next file already.
        if (gen == generation_) setState(playstate::Stopped);
        return;
    }
    if (reason == EndReason::Stopped) {
        setState(playstate::Stopped);
        return;
    }
    // A load or decode error, or an end before the file had opened: never 8.
    error_ = error.empty() ? std::string("cannot play the file") : error;
    setState(playstate::Stopped);
    if (gen == generation_) MediaError.raise(error_);
}

void Player::enginePaused(bool) {
    // The program's own calls are the only source of pause changes (the
    // engine takes no input of its own); the state was set when they were
    // made, so an echo of them changes nothing.
}

// ---- controls ---------------------------------------------------------------

void PlayerControls::play() {
    Player& p = p_;
    if (p.url_.empty()) return;
    if (p.pendingLoad_) {
        p.intent_ = Player::Intent::Play;
        return;
    }
    if (p.loaded_) {
        p.engine_->setPaused(false);
        p.setState(playstate::Playing);
        return;
    }
    // The file ended, failed or was never opened: open it again.
    double start = p.pendingSeek_ >= 0 ? p.pendingSeek_ : 0;
    p.pendingSeek_ = -1;
    p.intent_ = Player::Intent::Play;
    p.startLoad(start);
}

void PlayerControls::pause() {
    Player& p = p_;
    if (p.pendingLoad_) {
        p.intent_ = Player::Intent::Pause;
        return;
    }
    if (!p.loaded_) return;
    p.engine_->setPaused(true);
    p.setState(playstate::Paused);
}

void PlayerControls::stop() {
    Player& p = p_;
    if (p.pendingLoad_) {
        p.intent_ = Player::Intent::Stop;
        p.pendingSeek_ = -1;
        return;
    }
    p.pendingSeek_ = -1;
    if (p.loaded_) {
        p.engine_->setPaused(true);
        p.engine_->seek(0);
    }
    if (p.state_ != playstate::Undefined || !p.url_.empty()) p.setState(playstate::Stopped);
}

double PlayerControls::currentPosition() const {
    const Player& p = p_;
    if (p.loaded_) return KnownAmount(p.engine_->position());
    if (p.pendingSeek_ >= 0) return p.pendingSeek_;
    return 0;
}

void PlayerControls::setCurrentPosition(double seconds) {
    Player& p = p_;
    if (!(seconds >= 0)) seconds = 0;  // also NaN
    if (p.loaded_) {
        p.engine_->seek(seconds);
        return;
    }
    // Kept as the start point of the next opening of the file.
    if (!p.url_.empty()) p.pendingSeek_ = seconds;
}

std::string PlayerControls::currentPositionString() const {
    double pos = currentPosition();
    long long total = static_cast<long long>(std::floor(pos));
    long long h = total / 3600, m = (total / 60) % 60, s = total % 60;
    char buf[32];
    if (h > 0)
        std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", h, m, s);
    else
        std::snprintf(buf, sizeof buf, "%02lld:%02lld", m, s);
    return buf;
}

// ---- settings ---------------------------------------------------------------

int PlayerSettings::volume() const { return p_.volume_; }

void PlayerSettings::setVolume(int v) {
    v = std::clamp(v, 0, 100);
    if (v == p_.volume_) return;
    p_.volume_ = v;
    if (p_.engine_) p_.engine_->setVolume(v);
    p_.changed.emit(Property::Volume);
    p_.StatusChange.raise();
}

bool PlayerSettings::mute() const { return p_.mute_; }

void PlayerSettings::setMute(bool m) {
    if (m == p_.mute_) return;
    p_.mute_ = m;
    if (p_.engine_) p_.engine_->setMute(m);
    p_.changed.emit(Property::Mute);
}

bool PlayerSettings::autoStart() const { return p_.autoStart_; }

void PlayerSettings::setAutoStart(bool a) { p_.autoStart_ = a; }

// ---- current media ----------------------------------------------------------

double PlayerMedia::duration() const {
    const Player& p = p_;
    if (p.duration_ > 0) return p.duration_;
    if (p.loaded_) return KnownAmount(p.engine_->duration());
    return 0;
}

std::string PlayerMedia::getItemInfo(const std::string& name) const {
    Player& p = p_;
    if (p.url_.empty()) return "";
    if (!p.item_) p.item_ = p.newMedia(p.url_);
    return p.item_->getItemInfo(name);
}

std::string PlayerMedia::sourceURL() const { return p_.url_; }

}  // namespace tarvolin
