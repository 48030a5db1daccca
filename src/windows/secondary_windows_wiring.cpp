#include "windows/secondary_windows.h"

#include "app/program.h"

namespace tarvolin {

void SecondaryWindows::wireEvents() {
    Form4& c = app.Form4;
    c.WindowsMediaPlayer1.PlayStateChange = [this](int state) { Form4_WindowsMediaPlayer1_PlayStateChange(state); };
    c.Timer1.TimerEvent = [this] { Form4_Timer1_Timer(); };
    c.Command1.Click = [this] { Passage(0); };
    // The transport buttons are the main window's.
    c.Command11.Click = [this] { app.playback.Command11_Click(); };
    for (int i : {0, 1}) {
        if (CommandButton* b = c.Command3.get(i)) b->Click = [this, i] { app.playback.Command3_Click(i); };
    }
    // Closing the compact window ends the program, everything saved.
    c.Unload = [this](int& cancel) { app.playback.Form_QueryUnload(cancel, 0); };

    app.Form2.WindowsMediaPlayer1.PlayStateChange = [this](int state) {
        Form2_WindowsMediaPlayer1_PlayStateChange(state);
    };
}

}  // namespace tarvolin
