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

    // The volume bar, seek slider and step box follow into the main window.
    c.HScroll1.Change = [this] { Form4_HScroll1_Change(); };
    c.HScroll1.Scroll = [this] { Form4_HScroll1_Scroll(); };
    c.Slider1.Scroll = [this] { Form4_Slider1_Scroll(); };
    c.Text3.Change = [this] { Form4_Text3_Change(); };

    Form2& v = app.Form2;
    v.WindowsMediaPlayer1.PlayStateChange = [this](int state) {
        Form2_WindowsMediaPlayer1_PlayStateChange(state);
    };
    // A window loads when it is first shown, and again after an unload.
    v.Load = [this] { Form2_Form_Load(); };
    v.Activate = [this] {
        if (!videoLoaded_) Form2_Form_Load();
    };
    v.Resize = [this] { Form2_Form_Resize(); };
    v.QueryUnload = [this](int& cancel, int mode) { Form2_Form_QueryUnload(cancel, mode); };
    v.Unload = [this](int&) { videoLoaded_ = false; };

    frmSplash& splash = app.frmSplash;
    splash.Load = [this] { frmSplash_Form_Load(); };
    splash.Activate = [this] {
        if (!splashLoaded_) frmSplash_Form_Load();
    };
    splash.KeyPress = [this](int& key) { frmSplash_Form_KeyPress(key); };
    splash.Frame1.Click = [this] { frmSplash_Frame1_Click(); };
    splash.Unload = [this](int&) { splashLoaded_ = false; };

    wireSnoozeWindow();
    wireInformationWindow();
}

}  // namespace tarvolin
