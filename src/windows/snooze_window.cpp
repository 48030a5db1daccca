// The snooze and shutdown window: the alarm's mode, time of day or
// countdown, wake-up file and shutdown option, and the time left to it.
#include <string>

#include "app/program.h"
#include "windows/secondary_windows.h"

namespace tarvolin {

namespace {

const char* const kOn = "Ενεργό - On";
const char* const kOff = "Ανενεργό - Off";

// The largest value a digit box takes: the hour boxes 23, the countdown's
// hour box 24, minutes and seconds 59.
int boxLimit(int index) {
    if (index == 0) return 23;
    if (index == 3) return 24;
    return 59;
}

bool isDigitText(const std::string& t) {
    if (t.empty() || t.size() > 2) return false;
    for (char c : t) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

}  // namespace

void SecondaryWindows::wireSnoozeWindow() {
    Form5& w = app.Form5;
    w.Check1.Click = [this] { Form5_Check1_Click(); };
    w.Check2.Click = [this] { Form5_Check2_Click(); };
    w.Check4.Click = [this] { Form5_Check4_Click(); };
    for (TextBox& box : w.Text1) {
        const int i = box.Index();
        box.Change = [this, i] { Form5_Text1_Change(i); };
    }
    for (VScrollBar& bar : w.VScroll1) {
        const int i = bar.Index();
        bar.Change = [this, i] { Form5_VScroll1_Change(i); };
    }
    for (CommandButton& b : w.Command1) {
        const int i = b.Index();
        b.Click = [this, i] { Form5_Command1_Click(i); };
    }
    w.Timer1.TimerEvent = [this] { Form5_Timer1_Timer(); };
    w.Activate = [this] {
        if (!app.Form5.Timer1.Enabled()) app.Form5.Timer1.setEnabled(true);
    };
    w.QueryUnload = [this](int& cancel, int mode) { Form5_Form_QueryUnload(cancel, mode); };
}

void SecondaryWindows::showSnoozeWindow() {
    Form5& w = app.Form5;
    ModuleState& s = app.state;
    ComboBox& files = w.Combo1;
    const ListBox& tracks = app.Form1.List2;

    // The wake-up files are the collection's tracks, in list order.
    bool same = files.ListCount() == tracks.ListCount();
    for (int i = 0; same && i < tracks.ListCount(); ++i) same = files.List(i) == tracks.List(i);
    if (!same) {
        files.Clear();
        for (int i = 0; i < tracks.ListCount(); ++i) files.AddItem(tracks.List(i));
    }

    for (int i = 0; i < 3; ++i) {
        if (TextBox* box = w.Text1.get(i)) box->setText(std::to_string(s.AlarmTime[static_cast<std::size_t>(i)]));
        if (TextBox* box = w.Text1.get(i + 3)) {
            box->setText(std::to_string(s.AlarmCountdown[static_cast<std::size_t>(i)]));
        }
    }

    // The chosen file stays selected; one no longer listed leaves none.
    if (!s.AlarmFile.empty()) {
        int found = -1;
        for (int i = 0; i < files.ListCount() && found < 0; ++i) {
            if (files.List(i) == s.AlarmFile) found = i;
        }
        if (files.ListIndex() != found) files.setListIndex(found);
    } else if (files.ListIndex() < 0 && files.ListCount() > 0) {
        // No file chosen yet: the first track is offered, and is the one
        // that Ok stores unless the user picks another.
        files.setListIndex(0);
    }

    // The mode boxes show the mode; any other mode is the alarm off. A
    // mode kept from an earlier run is not an armed alarm: only Ok arms one.
    if (s.AlarmMode == 1 || s.AlarmMode == 2) {
        setModeBox(w.Check1, s.AlarmMode == 1 ? 1 : 0);
        setModeBox(w.Check2, s.AlarmMode == 2 ? 1 : 0);
        showAlarmState();
    } else {
        Form5_Command1_Click(2);
    }

    w.Show();
    if (!w.Timer1.Enabled()) w.Timer1.setEnabled(true);
    Form5_Timer1_Timer();
}

void SecondaryWindows::setModeBox(CheckBox& box, int value) {
    const bool was = settingModeBoxes_;
    settingModeBoxes_ = true;
    box.setValue(value);
    settingModeBoxes_ = was;
}

void SecondaryWindows::Form5_Check1_Click() {
    if (settingModeBoxes_) return;
    Form5& w = app.Form5;
    ModuleState& s = app.state;
    if (w.Check1.Value() == 1) {
        setModeBox(w.Check2, 0);
        s.AlarmMode = 1;
    } else {
        s.AlarmMode = w.Check2.Value() == 1 ? 2 : 0;
    }
    // The alarm armed for another mode waits for Ok again.
    if (armedMode_ != s.AlarmMode) alarmArmed_ = false;
    showAlarmState();
}

void SecondaryWindows::Form5_Check2_Click() {
    if (settingModeBoxes_) return;
    Form5& w = app.Form5;
    ModuleState& s = app.state;
    if (w.Check2.Value() == 1) {
        setModeBox(w.Check1, 0);
        s.AlarmMode = 2;
    } else {
        s.AlarmMode = w.Check1.Value() == 1 ? 1 : 0;
    }
    if (armedMode_ != s.AlarmMode) alarmArmed_ = false;
    showAlarmState();
}

void SecondaryWindows::Form5_Check4_Click() {
    app.state.AlarmShutdown = app.Form5.Check4.Value() == 1 ? -1 : 0;
}

void SecondaryWindows::Form5_Text1_Change(int Index) {
    TextBox* box = app.Form5.Text1.get(Index);
    if (!box) return;
    const std::string& t = box->Text();
    if (!isDigitText(t) || std::stoi(t) > boxLimit(Index)) box->setText("00");
}

void SecondaryWindows::Form5_VScroll1_Change(int Index) {
    const VScrollBar* bar = app.Form5.VScroll1.get(Index);
    TextBox* box = app.Form5.Text1.get(Index);
    if (bar && box) box->setText(std::to_string(bar->Value()));
}

void SecondaryWindows::Form5_Command1_Click(int Index) {
    Form5& w = app.Form5;
    ModuleState& s = app.state;
    switch (Index) {
        case 1: {
            for (int i = 0; i < 3; ++i) {
                const auto k = static_cast<std::size_t>(i);
                s.AlarmTime[k] = CLng(Val(w.Text1[i].Text()));
                s.AlarmCountdown[k] = CLng(Val(w.Text1[i + 3].Text()));
            }
            s.AlarmFile = w.Combo1.Text();
            // The target is a full date and time: the next time the clock
            // shows the time of day, or the countdown from now.
            const DateTime now = app.loop().now();
            const std::int64_t nowSeconds = localSeconds(now);
            std::int64_t moment = 0;
            if (s.AlarmMode == 1) {
                DateTime at = now;
                at.hour = s.AlarmTime[0];
                at.minute = s.AlarmTime[1];
                at.second = s.AlarmTime[2];
                moment = localSeconds(at);
                if (moment <= nowSeconds) moment += 86400;
            } else if (s.AlarmMode == 2) {
                moment = nowSeconds + std::int64_t{s.AlarmCountdown[0]} * 3600 +
                         std::int64_t{s.AlarmCountdown[1]} * 60 + s.AlarmCountdown[2];
            }
            // No mode chosen: nothing can go off.
            alarmArmed_ = s.AlarmMode == 1 || s.AlarmMode == 2;
            if (alarmArmed_) {
                armedMode_ = s.AlarmMode;
                alarmMoment_ = moment;
                s.AlarmTarget = DateText(fromLocalSeconds(moment));
            }
            showAlarmState();
            w.announce(w.Label2.Caption());
            break;
        }
        case 0:
            w.Hide();
            [[fallthrough]];
        case 2:
            s.AlarmMode = 0;
            alarmArmed_ = false;
            setModeBox(w.Check1, 0);
            setModeBox(w.Check2, 0);
            showAlarmState();
            break;
        default:
            return;
    }
    s.AlarmDueTime = 0;
    s.AlarmDueCountdown = 0;
    Form5_Timer1_Timer();
}

bool SecondaryWindows::alarmArmed() const { return alarmArmed_ && armedMode_ == app.state.AlarmMode; }

void SecondaryWindows::showAlarmState() { app.Form5.Label2.setCaption(alarmArmed() ? kOn : kOff); }

void SecondaryWindows::Form5_Timer1_Timer() {
    const DateTime now = app.loop().now();
    std::int64_t moment = 0;
    const std::string text = alarmMoment(moment) ? timeLeftText(now, fromLocalSeconds(moment))
                                                 : timeLeftText(now, now);
    app.Form5.Label1.setCaption(text);
}

void SecondaryWindows::Form5_Form_QueryUnload(int& /*Cancel*/, int /*UnloadMode*/) {
    app.Form5.Timer1.setEnabled(false);
}

}  // namespace tarvolin
