// The main window's timer tick: the program's main loop. It reads the player
// in use, fills the status boxes of both windows, advances the preview,
// refreshes the tray tip, counts the listening statistics, auto-saves, and
// serves the one-off jobs the timer was re-armed for.
#include <algorithm>

#include "app/program.h"
#include "playback/playback.h"

namespace tarvolin {

namespace {

constexpr std::int64_t kAutoSaveMs = 600 * 1000;
// The longest the play command waits for a file that is still opening.
constexpr std::int64_t kOpeningWaitMs = 5000;

std::string hms(std::int64_t h, std::int64_t m, std::int64_t s) {
    return Format(h, "0#") + ":" + Format(m, "0#") + ":" + Format(s, "0#");
}

std::string starText(int cls) {
    switch (cls) {
        case 0: return " - ";
        case 1: return " * ";
        case 2: return " ** ";
        case 3: return " *** ";
        case 4: return " **** ";
        case 5: return " ***** ";
        default: return "";
    }
}

// A unit of the listening time past its limit starts again at zero and
// counts one of the next unit.
void carryOver(std::int32_t& unit, std::int32_t limit, std::int32_t& next) {
    if (unit <= limit) return;
    unit = 0;
    ++next;
}

}  // namespace

int Playback::normalInterval() const { return app.state.WindowVisible ? 1000 : 6000; }

void Playback::armOneOff(int purpose, int ms) {
    ModuleState& s = app.state;
    Timer& t = app.Form1.Timer1;
    // A one-off interval is never kept as the one to restore.
    s.SavedTimerInterval = s.TimerPurpose != 0 ? normalInterval() : t.Interval();
    s.TimerPurpose = purpose;
    ++jobsArmed_;
    t.setEnabled(false);
    t.setInterval(ms);
    t.setEnabled(true);
}

void Playback::Timer1_Timer() {
    if (inTick_ || shutDown_) return;
    struct Guard {
        bool& flag;
        explicit Guard(bool& f) : flag(f) { flag = true; }
        ~Guard() { flag = false; }
    } guard(inTick_);

    // Only a job armed before this tick is this tick's to serve; one armed
    // during it waits for its own interval.
    const std::uint64_t jobsBefore = jobsArmed_;
    if (serveEndWhileBusy()) return;
    if (app.state.TimerSuspended) return;

    // The snooze window's alarm: the wake-up file, or the shutdown.
    app.windows.Check_Alarm();
    if (shutDown_) return;

    const std::uint64_t startsBefore = startsBegun_;
    const TickReading now = readPlayerInUse();
    if (!serveEvents()) return;
    app.Form1.Slider1.setValue(now.pos);
    countTimeLeft(now);
    showStatusBoxes(now);

    if (app.Form1.List2.ListCount() == 0 || app.collection.d.CurrentTrack < 0) return;
    // Not while a track is starting, nor when one started after the player
    // was read: the values read are not about its file.
    if (app.state.PreviewOn && now.player && !now.url.empty() && !trackStarting() && startsBegun_ == startsBefore) {
        advancePreview(now);
    }
    if (!serveEvents()) return;

    countFilesPlayed();
    showTrayTip();
    if (now.state == playstate::Playing) countListeningTime();
    autoSaveEveryTenMinutes();

    // One-off jobs, never while a track is starting: that start arms its
    // own.
    if (trackStarting() || jobsArmed_ != jobsBefore) return;
    serveOneOffJob();
}

bool Playback::serveEndWhileBusy() {
    if (app.state.Busy || trackStarting() || !(endWhileBusy_ || skipWhileBusy_)) return false;
    const bool skip = skipWhileBusy_ && !endWhileBusy_;
    endWhileBusy_ = skipWhileBusy_ = false;
    if (skip) {
        skipUnplayable();
    } else {
        armOneOff(2, 300);
    }
    return true;
}

bool Playback::serveEvents() {
    app.loop().DoEvents();
    return !shutDown_;
}

Playback::TickReading Playback::readPlayerInUse() {
    TickReading r;
    if (app.Form1.List2.ListCount() < 1) return r;
    r.player = &activePlayer();
    r.url = r.player->URL();
    if (!r.url.empty()) {
        r.pos = CLng(r.player->controls.currentPosition());
        r.dur = CLng(r.player->currentMedia.duration());
        r.state = r.player->playState();
    }
    return r;
}

void Playback::countTimeLeft(const TickReading& now) {
    if (now.url.empty()) return;
    CollectionData& d = app.collection.d;
    const std::int32_t pos = now.pos;
    const bool rowOk = app.collection.isTrackRow(d.CurrentTrack);
    const auto row = static_cast<std::size_t>(rowOk ? d.CurrentTrack : 0);
    // Nothing is left of a file played past the length it gave, or whose
    // length is unknown.
    const std::int32_t rest = std::max(0, now.dur - pos);
    d.TickHours = Currency::fromInteger(rest / 3600);
    d.TickMinutes = Currency::fromInteger((rest % 3600) / 60);
    d.TickSeconds = Currency::fromInteger((rest % 3600) % 60);
    const Currency position = Currency::fromInteger(pos);
    const Currency fileLeft = Currency::fromInteger(rest);
    // The current track is among the played ones of the pass from its start
    // on: the time played is the others' and the position in it.
    Currency playedBefore = d.PlayedTotal;
    if (rowOk && d.PlayOrder[row] != 0 && d.PlayOrder[row] <= d.PlayedCount) {
        playedBefore = std::max(Currency{}, playedBefore - d.TrackDuration[row]);
    }
    d.PlayedTimeNow = playedBefore + position;
    d.DurationLeft =
        d.TotalDuration > Currency{} ? std::max(Currency{}, d.TotalDuration - d.PlayedTimeNow) : fileLeft;
    if (d.PlayClassActive && rowOk) {
        const int cls = d.TrackClass[row];
        if (cls >= 0 && cls < kClassCount && d.PlayClassOn[static_cast<std::size_t>(cls)] != 0) {
            d.FavorPlayedNow = d.FavorPlayedTotal + position;
            d.FavorTimeLeft =
                d.FavorDuration > Currency{} ? std::max(Currency{}, d.FavorDuration - d.FavorPlayedNow) : fileLeft;
        }
    }
}

void Playback::showStatusBoxes(const TickReading& now) {
    Form1& f = app.Form1;
    Form4& c = app.Form4;
    const std::int32_t pos = now.pos;
    if (pos == 0) {
        for (ControlArray<TextBox>* boxes : {&f.Text5, &c.Text5}) {
            (*boxes)[1].setText("00:00:00");
            (*boxes)[2].setText("00:00:00");
            (*boxes)[3].setText("");
            (*boxes)[4].setText("");
        }
        if (f.List2.ListCount() == 0) f.Text6.setText("");
        return;
    }
    showFileSizeAndBitrate();
    const std::string elapsed = hms(pos / 3600, (pos % 3600) / 60, (pos % 3600) % 60);
    if (app.state.PreviewOn) {
        showPreviewTimes(elapsed, pos);
    } else {
        const CollectionData& d = app.collection.d;
        f.Text5[1].setText(elapsed);
        f.Text5[2].setText(hms(CLng(d.TickHours), CLng(d.TickMinutes), CLng(d.TickSeconds)));
        c.Text5[1].setText(f.Text5[1].Text());
        c.Text5[2].setText(f.Text5[2].Text());
    }
    app.collection.Show_Time_Totals();
}

void Playback::showFileSizeAndBitrate() {
    Form1& f = app.Form1;
    const CollectionData& d = app.collection.d;
    if (app.collection.isTrackRow(d.CurrentTrack)) {
        const auto row = static_cast<std::size_t>(d.CurrentTrack);
        Currency size = KnownAmount(d.TrackSize[row]);
        std::string unit = "Mb";
        if (size >= Currency::fromInteger(1024)) {
            unit = "Gb";
            size = Currency::fromInteger(CLng(size) / 1024);
        }
        f.Text5[3].setText(Format(size, "000.00") + unit);
        f.Text5[4].setText(Format(d.TrackBitrate[row], "000"));
    } else {
        f.Text5[3].setText("");
        f.Text5[4].setText("");
    }
    app.Form4.Text5[3].setText(f.Text5[3].Text());
    app.Form4.Text5[4].setText(f.Text5[4].Text());
}

void Playback::showPreviewTimes(const std::string& elapsed, std::int32_t pos) {
    Form1& f = app.Form1;
    Form4& c = app.Form4;
    const ModuleState& s = app.state;
    const std::size_t k = static_cast<std::size_t>(s.PreviewPointIndex) < s.PreviewPoints.size()
                              ? static_cast<std::size_t>(s.PreviewPointIndex)
                              : 0;
    const std::int64_t point = s.PreviewPoints.empty() ? 0 : s.PreviewPoints[k];
    f.Text5[1].setText(elapsed + "     [" + Format(s.PreviewSeconds, "00") + "]" + " -" +
                       Format(std::max<std::int64_t>(0, pos - point - 1), "00"));
    c.Text5[1].setText(f.Text5[1].Text());
    const std::string left = Format(std::max<std::int64_t>(0, point + s.PreviewSeconds - pos + 1), "00");
    f.Text5[2].setText(left);
    c.Text5[2].setText(left);
}

void Playback::advancePreview(const TickReading& now) {
    ModuleState& s = app.state;
    if (s.PreviewPoints.empty()) s.PreviewPoints.resize(1);
    if (static_cast<std::size_t>(s.PreviewPointIndex) >= s.PreviewPoints.size()) s.PreviewPointIndex = 0;
    const std::int64_t end =
        static_cast<std::int64_t>(s.PreviewPoints[static_cast<std::size_t>(s.PreviewPointIndex)]) + s.PreviewSeconds;
    if (now.pos <= end && now.pos < now.dur && now.dur > 0) return;
    if (s.PreviewPointIndex < static_cast<int>(s.PreviewPoints.size()) - 1) {
        ++s.PreviewPointIndex;
        const Currency point = Currency::fromDouble((s.PreviewPointIndex + 1) * static_cast<double>(now.dur) / 5.0);
        s.PreviewPoints[static_cast<std::size_t>(s.PreviewPointIndex)] = CLng(point);
        now.player->controls.setCurrentPosition(point.toDouble());
    } else {
        s.PreviewPointIndex = 0;
        Command3_Click(0);
    }
}

void Playback::countFilesPlayed() {
    const CollectionData& d = app.collection.d;
    if (d.CurrentTrack == LastTickTrack) return;
    LastTickTrack = d.CurrentTrack;
    ++app.state.StatFilesPlayed;
    CollectionStore::File_Name_Of_Path(d.CurrentFile, TipFileName);
}

void Playback::showTrayTip() {
    const CollectionData& d = app.collection.d;
    const Form1& f = app.Form1;
    const bool tipRow = app.collection.isTrackRow(d.CurrentTrack);
    const std::string stars = tipRow ? starText(d.TrackClass[static_cast<std::size_t>(d.CurrentTrack)]) : "";
    setTrayTip(Left("No(" + std::to_string(d.CurrentTrack) + ") -> " + f.Text5[1].Text() + "<" + stars + ">" +
                        f.Text5[2].Text() + "\r\n" + " - " + TipFileName,
                    256));
}

void Playback::countListeningTime() {
    ModuleState& s = app.state;
    s.StatSeconds += CLng(app.Form1.Timer1.Interval() / 1000.0);
    carryOver(s.StatSeconds, 59, s.StatMinutes);
    carryOver(s.StatMinutes, 59, s.StatHours);
    carryOver(s.StatHours, 23, s.StatDays);
    carryOver(s.StatDays, 29, s.StatMonths);
    carryOver(s.StatMonths, 12, s.StatYears);
}

void Playback::autoSaveEveryTenMinutes() {
    ModuleState& s = app.state;
    MessageLoop& loop = app.loop();
    // Measured on the monotonic clock.
    if (!s.AutoSave || autoSaveRunning_ || loop.tickCount() <= s.LastAutoSave + kAutoSaveMs) return;
    s.LastAutoSave = loop.tickCount();
    autoSaveRunning_ = true;
    app.collection.Save_Collection(false, false);
    autoSaveRunning_ = false;
    if (app.collection.d.CollectionSaved) app.collection.logLine(" -> Σώθηκε 10' - Saved 10'");
}

void Playback::restoreNormalInterval() {
    ModuleState& s = app.state;
    Timer& t = app.Form1.Timer1;
    s.TimerPurpose = 0;
    t.setEnabled(false);
    t.setInterval(s.SavedTimerInterval);
    t.setEnabled(true);
}

void Playback::serveOneOffJob() {
    switch (app.state.TimerPurpose) {
        case 1:
            restoreNormalInterval();
            playAfterPause();
            break;
        case 2:
            restoreNormalInterval();
            if (skipPending_) {
                // The track that could not be played is passed over by the
                // step that reached it: the same direction, as many tracks.
                skipPending_ = false;
                asTrackStart([this] { repeatStep(LastStepDirection, lastStepCount_); });
            } else {
                Command3_Click(0);
            }
            break;
        default:
            break;
    }
}

void Playback::playAfterPause() {
    MessageLoop& loop = app.loop();
    Player& p = activePlayer();
    p.controls.play();
    {
        // Still the track's start: a command given while the file
        // opens waits for it.
        StartScope scope(*this);
        const std::int64_t start = loop.tickCount();
        while (p.playState() == playstate::Transitioning && !shutDown_ &&
               loop.tickCount() - start < kOpeningWaitMs) {
            loop.wait(10);
        }
    }
    runWaitingCommands();
}

}  // namespace tarvolin
