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
    // A desktop that keeps no window on top: the items keep the user's
    // choice for another desktop, say why it does nothing here, and no
    // window claims to be on top.
    if (f.MnuSystemTrayTop.Checked() && !app.desktop().keepsWindowsOnTop()) {
        tellUnsupported(toldNoOnTop_,
                        "Η επιφάνεια εργασίας δεν κρατά παράθυρα πάντα επάνω - The desktop does not keep windows "
                        "always on top",
                        {&f.MnuMoreOnTop, &f.MnuSystemTrayTop});
        app.Form1.setOnTop(false);
        app.Form2.setOnTop(false);
        return;
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
