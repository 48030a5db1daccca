// The compact window's volume bar, seek slider and step box: each follows
// into the main window's control or acts on the player in use.
#include "app/program.h"
#include "windows/secondary_windows.h"

namespace tarvolin {

void SecondaryWindows::Form4_HScroll1_Change() {
    // The main window's own change handler sets the volume.
    app.Form1.HScroll1.setValue(app.Form4.HScroll1.Value());
}

void SecondaryWindows::Form4_HScroll1_Scroll() {
    ModuleState& s = app.state;
    const int value = app.Form4.HScroll1.Value();
    app.Form1.HScroll1.setValue(value);
    s.Volume = CInt(value / 20.0);
    app.Form1.WindowsMediaPlayer1.settings.setVolume(s.Volume);
    app.Form2.WindowsMediaPlayer1.settings.setVolume(s.Volume);
}

void SecondaryWindows::Form4_Slider1_Scroll() {
    Form4& c = app.Form4;
    // The compact player, the main one, or the video window's when that
    // holds the file.
    Player& p = app.playback.activePlayer();
    const int state = p.playState();
    if (state != playstate::Paused && state != playstate::Playing) return;
    p.controls.setCurrentPosition(c.Slider1.Value());
    // The slider shows the position it was moved to.
    c.Slider1.setToolTipText(p.controls.currentPositionString());
}

void SecondaryWindows::Form4_Text3_Change() {
    TextBox& box = app.Form4.Text3;
    if (!IsNumeric(box.Text())) {
        box.setText("3");  // raises Change again, which passes it on
        return;
    }
    // The main window's own change handler stores the step count.
    app.Form1.Text3.setText(box.Text());
}

}  // namespace tarvolin
