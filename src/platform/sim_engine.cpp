#include "platform/sim_engine.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace tarvolin {

SimEngine::SimEngine(MessageLoop& loop, MediaReader* reader, std::shared_ptr<SimMediaRules> rules)
    : loop_(loop),
      reader_(reader),
      alive_(std::make_shared<SimEngine*>(this)),
      rules_(rules ? std::move(rules) : std::make_shared<SimMediaRules>()) {}

SimEngine::~SimEngine() = default;  // alive_ goes, and with it every queued call

void SimEngine::failDecode(const std::string& path, std::string message) {
    rules_->decodeErrors[path] = std::move(message);
}

void SimEngine::setDuration(const std::string& path, double seconds) {
    rules_->durations[path] = seconds;
}

void SimEngine::report(std::function<void(EngineListener&)> call) {
    std::weak_ptr<SimEngine*> alive = alive_;
    loop_.post([alive, call = std::move(call)] {
        if (auto self = alive.lock()) {
            if ((*self)->listener_) call(*(*self)->listener_);
        }
    });
}

void SimEngine::load(const std::string& path, bool paused, double startSeconds) {
    std::uint64_t gen = ++loadGen_;
    ++endToken_;
    ++loadCount_;
    state_ = State::Opening;
    path_ = path;
    paused_ = paused;
    startSeconds_ = std::max(0.0, startSeconds);
    duration_ = 0;
    basePos_ = 0;
    std::weak_ptr<SimEngine*> alive = alive_;
    loop_.postAt(loop_.tickCount() + std::max<std::int64_t>(0, rules_->loadDelay), [alive, gen] {
        if (auto self = alive.lock()) (*self)->finishLoad(gen);
    });
}

void SimEngine::finishLoad(std::uint64_t gen) {
    if (gen != loadGen_ || state_ != State::Opening) return;  // replaced or unloaded meanwhile

    std::string error;
    double d = 0;
    if (auto it = rules_->decodeErrors.find(path_); it != rules_->decodeErrors.end()) {
        error = it->second;
    } else if (auto dt = rules_->durations.find(path_); dt != rules_->durations.end()) {
        d = dt->second;
        if (!(d > 0)) error = "unrecognized file format";
    } else {
        std::error_code ec;
        auto size = std::filesystem::file_size(path_, ec);
        if (ec) {
            error = "no such file";
        } else if (size == 0) {
            error = "empty file";
        } else {
            if (reader_) {
                if (auto item = reader_->newMedia(path_)) d = item->duration();
            }
            if (!(d > 0)) error = "unrecognized file format";
        }
    }

    if (!error.empty()) {
        state_ = State::Idle;
        ++loadGen_;
        if (listener_) listener_->engineEnded(EndReason::Error, error);
        return;
    }

    state_ = State::Loaded;
    duration_ = d;
    basePos_ = std::min(startSeconds_, duration_);
    baseTick_ = loop_.tickCount();
    if (!paused_) scheduleEnd();
    if (listener_) listener_->engineLoaded(duration_);
}

void SimEngine::unload() {
    ++loadGen_;
    ++endToken_;
    state_ = State::Idle;
    path_.clear();
    duration_ = 0;
    basePos_ = 0;
}

void SimEngine::setPaused(bool paused) {
    if (state_ != State::Loaded) {
        paused_ = paused;
        return;
    }
    if (paused == paused_) return;
    if (paused) {
        basePos_ = position();
        paused_ = true;
        ++endToken_;
    } else {
        paused_ = false;
        baseTick_ = loop_.tickCount();
        scheduleEnd();
    }
    report([paused](EngineListener& l) { l.enginePaused(paused); });
}

void SimEngine::seek(double seconds) {
    if (state_ != State::Loaded) return;  // as the real engine, nothing to seek yet
    basePos_ = std::clamp(seconds, 0.0, duration_);
    baseTick_ = loop_.tickCount();
    if (!paused_) scheduleEnd();
}

double SimEngine::position() const {
    if (state_ != State::Loaded) return 0;
    if (paused_) return basePos_;
    double elapsed = static_cast<double>(loop_.tickCount() - baseTick_) / 1000.0;
    return std::min(duration_, basePos_ + std::max(0.0, elapsed));
}

double SimEngine::duration() const { return state_ == State::Loaded ? duration_ : 0; }

void SimEngine::scheduleEnd() {
    std::uint64_t token = ++endToken_;
    // An end further off than the clock can count never comes.
    const double remaining = std::min(std::ceil((duration_ - basePos_) * 1000.0), 1e15);
    auto remainingMs = static_cast<std::int64_t>(remaining);
    std::weak_ptr<SimEngine*> alive = alive_;
    loop_.postAt(baseTick_ + std::max<std::int64_t>(0, remainingMs), [alive, token] {
        if (auto self = alive.lock()) (*self)->reachEnd(token);
    });
}

void SimEngine::reachEnd(std::uint64_t token) {
    if (token != endToken_ || state_ != State::Loaded || paused_) return;
    // The file is let go at its end, as the real engine does.
    state_ = State::Idle;
    basePos_ = 0;
    ++loadGen_;
    ++endToken_;
    if (listener_) listener_->engineEnded(EndReason::Eof, "");
}

std::unique_ptr<Engine> SimEngineFactory::create(PlayerRole) {
    return std::make_unique<SimEngine>(loop_, reader_, rules_);
}

}  // namespace tarvolin
