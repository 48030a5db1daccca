// The transport: play/pause, next and previous, and the walks forward and
// backward through the play history.
#include <unordered_map>

#include "app/program.h"
#include "playback/playback.h"

namespace tarvolin {

namespace {
// What the Play / Pause button did, spoken to a screen reader user: the
// button shows it only by its picture.
constexpr const char* kPlayingText = "Αναπαραγωγή - Playing";
constexpr const char* kPausedText = "Παύση - Paused";
}  // namespace

Player& Playback::activePlayer() {
    Player& main = app.state.CompactMode ? app.Form4.WindowsMediaPlayer1 : app.Form1.WindowsMediaPlayer1;
    switch (app.state.VideoMode) {
        case -1:
            return app.Form2.WindowsMediaPlayer1;
        case 0:
            return main;
        default: {
            const std::string& current = app.collection.d.CurrentFile;
            if (!current.empty() && app.Form2.WindowsMediaPlayer1.URL() == current)
                return app.Form2.WindowsMediaPlayer1;
            return main;
        }
    }
}

void Playback::Command11_Click() {
    Form1& f = app.Form1;
    Player& p = activePlayer();
    switch (p.playState()) {
        case playstate::Playing:
            f.Command11.setPicture("play");
            app.Form4.Command11.setPicture("play");
            p.controls.pause();
            app.announce(kPausedText);
            break;
        case playstate::Paused:
            f.Command11.setPicture("pause");
            app.Form4.Command11.setPicture("pause");
            p.controls.play();
            app.announce(kPlayingText);
            break;
        default:
            f.Command11.setPicture("stop");
            app.Form4.Command11.setPicture("stop");
            Step_Track();
            if (f.List2.ListCount() > 0) app.announce(kPlayingText);
            break;
    }
}

void Playback::Command3_Click(int Index) {
    asTrackStart([this, Index] { stepOne(Index); });
}

void Playback::Epomeno_Kommati() {
    const int steps = app.state.StepCount;
    asTrackStart([this, steps] { stepForward(steps); });
}

void Playback::Proigoumeno_Kommati() {
    const int steps = app.state.StepCount;
    asTrackStart([this, steps] { stepBack(steps); });
}

void Playback::asTrackStart(std::function<void()> step) {
    ModuleState& s = app.state;
    if (startDepth_ > 0) {
        // It waits, keeping the row a double click chose and the direction
        // of the step it was given with.
        const bool selected = s.PlaySelected;
        s.PlaySelected = false;
        const int row = app.Form1.List2.ListIndex();
        const int direction = LastStepDirection;
        waiting_.push_back([this, step = std::move(step), selected, row, direction] {
            if (selected) {
                if (app.Form1.List2.ListIndex() != row) app.Form1.List2.setListIndex(row);
                app.state.PlaySelected = true;
            }
            LastStepDirection = direction;
            step();
        });
        return;
    }
    // Nothing is starting: it runs at once.
    waiting_.push_front(std::move(step));
    runWaitingCommands();
}

void Playback::runWaitingCommands() {
    while (startDepth_ == 0 && !waiting_.empty()) {
        if (shutDown_) {
            waiting_.clear();
            return;
        }
        std::function<void()> next = std::move(waiting_.front());
        waiting_.pop_front();
        StartScope scope(*this);
        ++startsBegun_;
        dropTimerJobs();
        next();
    }
}

void Playback::dropTimerJobs() {
    ModuleState& s = app.state;
    skipPending_ = false;
    endWhileBusy_ = false;
    skipWhileBusy_ = false;
    if (s.TimerPurpose == 0) return;
    s.TimerPurpose = 0;
    ++jobsArmed_;
    Timer& t = app.Form1.Timer1;
    t.setEnabled(false);
    t.setInterval(s.SavedTimerInterval);
    t.setEnabled(true);
}

void Playback::stepOne(int Index) {
    CollectionData& d = app.collection.d;
    if (d.TrackCount < 0) return;

    // Where the track now playing was left.
    app.collection.keepResumePoint(activePlayer().controls.currentPosition());

    // One track, whatever the step box holds; the box is left as it is.
    if (Index == 0) {
        LastStepDirection = 0;
        stepForward(1);
    } else {
        LastStepDirection = -1;
        stepBack(1);
    }
}

bool Playback::startStep(int steps) {
    Form1& f = app.Form1;
    CollectionData& d = app.collection.d;
    if (f.List2.ListCount() == 0 || steps < 1) return false;
    if (!app.collection.isTrackRow(d.CurrentTrack)) {
        f.List2.setListIndex(0);
        d.CurrentTrack = f.List2.ListIndex();
    }
    return true;
}

void Playback::stepForward(int steps) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    CollectionData& d = app.collection.d;
    if (!startStep(steps)) return;
    BulkScope busy(s, BulkScope::Busy);
    if (!s.PlaySelected && s.ShuffleOn) {
        // The track played `steps` places later in the history.
        const std::int64_t wanted =
            static_cast<std::int64_t>(d.PlayOrder[static_cast<std::size_t>(d.CurrentTrack)]) + steps;
        const int found = app.collection.trackWithMark(wanted);
        if (found < 0) {
            s.PlaySelected = false;
        } else {
            if (!d.CollectionJustLoaded && s.ReplayMode == 0) {
                s.PlaySelected = true;
                d.PlayedCount += steps;
            }
            f.List2.setListIndex(found);
        }
    }
    busy.end();
    LastStepDirection = 1;
    lastStepCount_ = steps;
    chooseTrack();
}

void Playback::stepBack(int steps) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    CollectionData& d = app.collection.d;
    if (!startStep(steps)) return;
    BulkScope busy(s, BulkScope::Busy);
    s.PlaySelected = true;
    const std::int32_t p = d.PlayOrder[static_cast<std::size_t>(d.CurrentTrack)];

    // The first track holding each mark of the history, found in one pass.
    std::unordered_map<std::int32_t, std::int32_t> holder;
    for (std::int32_t i = 0; i < f.List2.ListCount(); ++i) {
        holder.emplace(d.PlayOrder[static_cast<std::size_t>(i)], i);
    }

    std::vector<std::int32_t> h(static_cast<std::size_t>(steps) + 1, 0);
    h[1] = d.CurrentTrack;
    f.List2.setSelected(d.CurrentTrack, false);
    for (int k = 1; k <= steps; ++k) {
        const std::int64_t mark = static_cast<std::int64_t>(p) - k;
        if (mark < 1) continue;
        auto it = holder.find(static_cast<std::int32_t>(mark));
        if (it != holder.end()) h[static_cast<std::size_t>(k)] = it->second;
    }
    for (int k = 1; k <= steps; ++k) {
        const std::int32_t t = h[static_cast<std::size_t>(k)];
        if (d.PlayedCount > 1) {
            --d.PlayedCount;
            f.List2.setSelected(t, false);
            for (ListBox& column : f.List3_0) column.setSelected(t, false);
        }
    }
    const std::int32_t t = h[static_cast<std::size_t>(steps)];
    f.List2.setListIndex(-1);
    f.List2.setListIndex(t);
    f.List2.setSelected(t, true);
    busy.end();
    lastStepCount_ = steps;
    chooseTrack();
}

}  // namespace tarvolin
