// The play-mode options of the Play menu: shuffle, replay, preview and its
// length, the four-point preview, the pause between files and its length,
// the sound between files, playing at start and the starting point.
#include "app/program.h"
#include "playback/playback.h"

namespace tarvolin {

namespace {

const char* const kRepeatQuestion = "Άκυρη είσοδος. Επανάληψη; - Invalid input. Repeat?";

}  // namespace

void Playback::MnuMoreRandom_Click() {
    Form1& f = app.Form1;
    f.MnuMoreRandom.setChecked(!f.MnuMoreRandom.Checked());
    f.mnusystemtraysuffle.setChecked(f.MnuMoreRandom.Checked());
    app.state.ShuffleOn = f.MnuMoreRandom.Checked();
    app.collection.Etiketes_Synol_Songs();
}

void Playback::mnumorereplayn_Click(int Index) {
    Form1& f = app.Form1;
    app.state.ReplayMode = Index;
    if (Index < 0 || Index > 2) return;
    for (MenuItem& item : f.mnumorereplayn) item.setChecked(item.Index() == Index);
    f.mnusystrayrepeat.setChecked(Index == 1);
}

void Playback::MnuMorePreview_Active_Click() {
    Form1& f = app.Form1;
    app.state.PreviewOn = !app.state.PreviewOn;
    f.MnuMorePreview_Active.setChecked(!f.MnuMorePreview_Active.Checked());
    f.MnuMoreDuration.setEnabled(!f.MnuMoreDuration.Enabled());
    f.MnuMoreMultiPreview.setEnabled(!f.MnuMoreMultiPreview.Enabled());
}

void Playback::MnuMoreDuration_Click() {
    ModuleState& s = app.state;
    for (;;) {
        const std::string answer =
            app.dialogs().InputBox("Όρισε διάρκεια προεπισκόπησης 2-10 δευτερόλεπτα: Declare duration of preview 2-10 secs",
                                   "Ορισμός - Declaring", std::to_string(s.PreviewSeconds));
        if (IsNumeric(answer)) {
            const double v = Val(answer);
            if (v >= 2 && v <= 10) {
                s.PreviewSeconds = CInt(v);
                return;
            }
            continue;
        }
        if (app.dialogs().MsgBox(kRepeatQuestion, mb::YesNo + mb::Question) != mb::Yes) return;
    }
}

void Playback::MnuMoreMultiPreview_Click() {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    if (s.PreviewPoints.size() < 2) {
        f.MnuMoreMultiPreview.setChecked(true);
        s.PreviewPoints.resize(4);
    } else {
        f.MnuMoreMultiPreview.setChecked(false);
        s.PreviewPoints.resize(1);
        s.PreviewPointIndex = 0;
    }
}

void Playback::MnuMorePauseActive_Click() {
    Form1& f = app.Form1;
    f.MnuMorePauseActive.setChecked(!f.MnuMorePauseActive.Checked());
    f.MnuMorePauseDur.setEnabled(!f.MnuMorePauseDur.Enabled());
}

void Playback::MnuMorePauseDur_Click() {
    ModuleState& s = app.state;
    for (;;) {
        const std::string answer =
            app.dialogs().InputBox("Θέσε διάρκεια παύσης (2-8) δευτ. - Input pause duration (2-8) sec", "", "2");
        if (!IsNumeric(answer)) {
            if (app.dialogs().MsgBox(kRepeatQuestion, mb::YesNo + mb::Question) != mb::Yes) return;
            continue;
        }
        // A number too large for a whole number is out of range like 9.
        const auto n = tryCLng(Val(answer));
        if (n && *n == 0) return;
        if (!n || *n < 2 || *n > 8) continue;
        s.PauseSeconds = *n;
        app.collection.logLine("-> Η διάρκεια δευτερολέπτων της παύσης ορίστηκε σε " +
                                                             answer + " Is the number of pause seconds ");
        return;
    }
}

void Playback::MnuMoreSound_Click() {
    Form1& f = app.Form1;
    app.state.BeepBetween = !app.state.BeepBetween;
    f.MnuMoreSound.setChecked(!f.MnuMoreSound.Checked());
}

void Playback::MnuMoreAutoStart_Click() {
    Form1& f = app.Form1;
    f.MnuMoreAutoStart.setChecked(!f.MnuMoreAutoStart.Checked());
    app.state.PlayAtStart = f.MnuMoreAutoStart.Checked();
}

void Playback::MnuPlayAutoStartP_Click(int Index) {
    Form1& f = app.Form1;
    app.state.ResumeMode = static_cast<std::uint8_t>(Index);
    for (MenuItem& item : f.MnuPlayAutoStartP) item.setChecked(item.Index() == Index);
}

}  // namespace tarvolin
