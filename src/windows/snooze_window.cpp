// Opening the snooze and shutdown window: its boxes are filled from the
// alarm settings each time it is shown.
#include "app/program.h"
#include "windows/secondary_windows.h"

namespace tarvolin {

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
    if (!s.AlarmFile.empty()) {
        for (int i = 0; i < files.ListCount(); ++i) {
            if (files.List(i) == s.AlarmFile) {
                files.setListIndex(i);
                break;
            }
        }
    }

    for (int i = 0; i < 3; ++i) {
        if (TextBox* box = w.Text1.get(i)) box->setText(std::to_string(s.AlarmTime[static_cast<std::size_t>(i)]));
        if (TextBox* box = w.Text1.get(i + 3)) {
            box->setText(std::to_string(s.AlarmCountdown[static_cast<std::size_t>(i)]));
        }
    }

    // The mode boxes show the mode; any other mode is the alarm off.
    if (s.AlarmMode != 1 && s.AlarmMode != 2) s.AlarmMode = 0;
    w.Check1.setValue(s.AlarmMode == 1 ? 1 : 0);
    w.Check2.setValue(s.AlarmMode == 2 ? 1 : 0);
    w.Label2.setCaption(s.AlarmMode == 0 ? "Ανενεργό - Off" : "Ενεργό - On");

    w.Show();
    w.Timer1.setEnabled(true);
}

}  // namespace tarvolin
