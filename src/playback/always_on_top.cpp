// Always on top for the main window or the video window.
#include "app/program.h"
#include "playback/playback.h"

namespace tarvolin {

void Playback::Apply_On_Top(bool JustApply) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    if (!JustApply) {
        f.MnuSystemTrayTop.setChecked(!f.MnuSystemTrayTop.Checked());
        f.MnuMoreOnTop.setChecked(!f.MnuMoreOnTop.Checked());
        s.OnTop = f.MnuSystemTrayTop.Checked();
    }
    if (f.MnuSystemTrayTop.Checked()) {
        switch (s.VideoMode) {
            case -1:
                if (JustApply) app.Form1.setOnTop(false);
                app.Form2.setOnTop(true);
                break;
            case 0:
                app.Form1.setOnTop(true);
                break;
            default:
                // The media type decides the window: none is raised.
                break;
        }
    } else {
        app.Form1.setOnTop(false);
        // Changing the hint never shows the video window.
        app.Form2.setOnTop(false);
    }
}

}  // namespace tarvolin
