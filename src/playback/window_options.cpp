// The window options of the More menu: always on top, the compact window,
// and starting with the desktop session (the autostart entry).
#include <utility>

#include "app/program.h"
#include "playback/playback.h"

namespace tarvolin {

int Playback::Count_Forms_Named(const std::string& name) {
    const std::pair<const char*, Form*> windows[] = {
        {"form1", &app.Form1}, {"form2", &app.Form2}, {"form3", &app.Form3},
        {"form4", &app.Form4}, {"form5", &app.Form5}, {"frmsplash", &app.frmSplash},
    };
    const std::string wanted = LCase(name);
    int count = 0;
    for (const auto& [windowName, window] : windows) {
        if (wanted == windowName && window->Visible()) ++count;
    }
    return count;
}

void Playback::MnuMoreOnTop_Click() { Apply_On_Top(false); }

void Playback::MnuMoreMinimize_Click() { app.windows.Passage(1); }

void Playback::MnuMoreWindows_Click() {
    Form1& f = app.Form1;
    f.MnuMoreWindows.setChecked(!f.MnuMoreWindows.Checked());
    Set_AutoStart(f.MnuMoreWindows.Checked());
    // The mark shows what the desktop will do, also after a failure.
    f.MnuMoreWindows.setChecked(Is_AutoStart_Set());
}

bool Playback::Is_AutoStart_Set() { return app.desktop().autostartExists(); }

void Playback::Set_AutoStart(bool on) {
    int err = 0;
    std::string text;
    AutostartFailure failedAt = AutostartFailure::None;
    if (app.desktop().setAutostart(on, app.executablePath(), &err, &text, &failedAt)) return;
    const char* step = failedAt == AutostartFailure::Setting ? " setting key" : " opening key";
    app.dialogs().MsgBox("Error " + std::to_string(err) + step + "\r\n" + text, mb::OKOnly);
}

}  // namespace tarvolin
