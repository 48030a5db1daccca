// The tray icon: one icon for the whole run, carrying the main window's
// current icon and a tip.
#include "app/program.h"
#include "playback/playback.h"

namespace tarvolin {

void Playback::AddIconToTray() {
    trayTip_ = "Tarvolin";
    if (!app.tray().available()) {
        // Nothing is hidden in a tray nobody sees: the start shows the
        // window, and minimising leaves it on the task bar.
        tellUnsupported(toldNoTray_,
                        "Η επιφάνεια εργασίας δεν έχει περιοχή ειδοποιήσεων: το παράθυρο ελαχιστοποιείται στη "
                        "γραμμή εργασιών - The desktop has no system tray: the window minimises to the task bar",
                        {});
        return;
    }
    app.tray().add(app.Form1.Icon(), trayTip_);
}

void Playback::tellUnsupported(bool& told, const std::string& message, std::initializer_list<MenuItem*> items) {
    for (MenuItem* item : items) item->setToolTipText(message);
    if (told) return;
    told = true;
    app.collection.logLine("-> " + message);
}

void Playback::DeleteIconFromTray() { app.tray().remove(); }

void Playback::setTrayTip(const std::string& tip) {
    trayTip_ = tip;
    app.tray().modify(app.Form1.Icon(), trayTip_);
}

void Playback::trayMessage(int message) {
    ModuleState& s = app.state;
    Form1& f = app.Form1;
    Form4& c = app.Form4;
    if (message == 513) {
        // The user's own choice from now on.
        trayModeKept_ = false;
        s.WindowVisible = !s.WindowVisible;
        Form& window = s.CompactMode ? static_cast<Form&>(c) : static_cast<Form&>(f);
        if (s.WindowVisible) {
            window.Show();
            window.setWindowState(0);
        } else {
            window.Hide();
            window.setWindowState(1);
        }
        const int interval = normalInterval();
        // A one-off job keeps its short interval; the new normal one is
        // restored after it.
        if (s.TimerPurpose != 0) {
            s.SavedTimerInterval = interval;
        } else {
            f.Timer1.setInterval(interval);
        }
        c.Timer1.setInterval(interval);
    } else if (message == 516) {
        f.PopupMenu(f.MnuSystemTray);
    }
}

}  // namespace tarvolin
