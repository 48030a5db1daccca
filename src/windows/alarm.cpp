// The alarm of the snooze and shutdown window: its moment, the time left to
// it, and its going off from the main window's timer tick.
#include <chrono>

#include "app/program.h"
#include "collection/store_files.h"
#include "windows/secondary_windows.h"

namespace tarvolin {

namespace {

constexpr std::int64_t kDay = 86400;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// The same day of the month `months` later, kept within that month (the
// 31st of January one month on is the last day of February).
DateTime addMonths(const DateTime& t, int months) {
    using namespace std::chrono;
    const int total = t.year * 12 + (t.month - 1) + months;
    DateTime r = t;
    r.year = floorDiv(total, 12);
    r.month = total - r.year * 12 + 1;
    const year_month_day_last last{year{r.year} / month{static_cast<unsigned>(r.month)} / std::chrono::last};
    const int lastDay = static_cast<int>(static_cast<unsigned>(last.day()));
    if (r.day > lastDay) r.day = lastDay;
    return r;
}

}  // namespace

std::int64_t SecondaryWindows::localSeconds(const DateTime& t) {
    using namespace std::chrono;
    const sys_days d{year{t.year} / month{static_cast<unsigned>(t.month)} / day{static_cast<unsigned>(t.day)}};
    return std::int64_t{d.time_since_epoch().count()} * kDay + t.hour * 3600 + t.minute * 60 + t.second;
}

DateTime SecondaryWindows::fromLocalSeconds(std::int64_t seconds) {
    using namespace std::chrono;
    const std::int64_t days = floorDiv(seconds, kDay);
    const std::int64_t rest = seconds - days * kDay;
    const sys_days d{std::chrono::days{days}};
    const year_month_day ymd{d};
    DateTime t;
    t.year = static_cast<int>(ymd.year());
    t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>((rest / 60) % 60);
    t.second = static_cast<int>(rest % 60);
    t.weekday = static_cast<int>(weekday{d}.c_encoding());
    return t;
}

std::string SecondaryWindows::timeLeftText(const DateTime& now, const DateTime& target) {
    std::int64_t years = 0, months = 0, days = 0, hours = 0, minutes = 0, seconds = 0;
    const std::int64_t from = localSeconds(now);
    const std::int64_t to = localSeconds(target);
    if (to > from) {
        // Whole months first (as the calendar counts them), then the rest,
        // which is always below one month.
        std::int64_t whole = (target.year - now.year) * 12 + (target.month - now.month);
        while (whole > 0 && localSeconds(addMonths(now, static_cast<int>(whole))) > to) --whole;
        years = whole / 12;
        months = whole % 12;
        std::int64_t rest = to - localSeconds(addMonths(now, static_cast<int>(whole)));
        days = rest / kDay;
        rest %= kDay;
        hours = rest / 3600;
        minutes = (rest / 60) % 60;
        seconds = rest % 60;
    }
    return Format(years, "0#") + ":" + Format(months, "0#") + ":" + Format(days, "0#") + ":" +
           Format(hours, "0#") + ":" + Format(minutes, "0#") + ":" + Format(seconds, "0#");
}

bool SecondaryWindows::alarmMoment(std::int64_t& moment) const {
    // Only an armed alarm has a moment to count down to.
    if (!alarmArmed()) return false;
    moment = alarmMoment_;
    return true;
}

void SecondaryWindows::Check_Alarm() {
    ModuleState& s = app.state;
    if (!alarmArmed()) return;
    std::int32_t& due = s.AlarmMode == 1 ? s.AlarmDueTime : s.AlarmDueCountdown;
    if (due != 0) return;
    // A bulk operation finishes first.
    if (s.Busy || s.TimerSuspended) return;
    if (localSeconds(app.loop().now()) < alarmMoment_) return;
    due = -1;
    // It goes off once: Ok arms it again.
    alarmArmed_ = false;
    showAlarmState();

    if (s.AlarmShutdown != 0) {
        // Everything is saved as at any end of the program, then the system
        // is asked to power off. Nobody is there to answer a box: a failure
        // is told where it can be read afterwards.
        app.dialogs().beginUnattended();
        // An operation under way ends first, its result saved.
        app.afterOperations([this] {
            int cancel = 0;
            app.playback.Form_QueryUnload(cancel, 0);
            if (app.playback.shutDown()) app.desktop().powerOff();
        });
        return;
    }

    CollectionData& d = app.collection.d;
    Player& player = app.playback.activePlayer();
    if (!storefiles::exists(s.AlarmFile) || storefiles::fileSize(s.AlarmFile) <= 0) {
        // Nothing to wake the user with: say so where it is seen.
        app.collection.logLine("-> Το αρχείο αφύπνισης δεν βρέθηκε - Snooze file not found: " +
                                                             s.AlarmFile);
        app.desktop().beep(s.BeepFrequency, s.BeepDuration);
        return;
    }
    // The track playing stops where it was, as at any change of track; the
    // wake-up file takes its place in the player in use.
    Form1& f = app.Form1;
    if (!player.URL().empty()) app.collection.keepResumePoint(player.controls.currentPosition());
    player.controls.stop();

    // From now on the wake-up file is the current track: the window shows
    // it, and its own position is what a save keeps. A file that is not in
    // the collection leaves no current track, so that nothing of it is
    // written into another track.
    const int row = MediaFiles::findExactPath(f.List2, s.AlarmFile);
    d.CurrentTrack = row;
    d.StartPosition = 0;
    d.CollectionSaved = false;
    if (row >= 0) app.playback.Show_Current_Media();
    d.CurrentFile = s.AlarmFile;

    const std::int32_t length = CLng(KnownAmount(player.newMedia(s.AlarmFile)->duration()));
    player.setURL(s.AlarmFile);
    player.settings.setVolume(s.Volume);
    player.controls.play();

    for (Slider* slider : {&f.Slider1, &app.Form4.Slider1}) {
        slider->setMax(length);
        slider->setTickFrequency(CLng(length * 5 / 100.0));
    }
    const std::string lengthText = storefiles::durationText(Currency::fromInteger(length));
    f.Text5[0].setText(lengthText);
    app.Form4.Text5[0].setText(lengthText);
    if (row >= 0) {
        d.ClassLabelsDirty = true;
        app.collection.DeikseAgapi(d.TrackClass[static_cast<std::size_t>(row)], row);
    }
    app.media.Show_Album_Art();
    app.library.Fill_Tag_Boxes(s.AlarmFile);
    app.collection.Etiketes_Synol_Songs();
}

}  // namespace tarvolin
