// The compact player window: the hand-over of the playing file between the
// main window's player and its own, its seek-slider timer and its player's
// state handler.
#include "app/program.h"
#include "windows/secondary_windows.h"

namespace tarvolin {

namespace {

// Moves the playing file from one player to another, at its position and at
// the program's volume, and empties the player that gave it up.
void moveFile(Player& from, Player& to, const std::string& file, int volume) {
    const double position = from.controls.currentPosition();
    to.setURL(file);
    to.controls.setCurrentPosition(position);
    to.controls.play();
    to.settings.setVolume(volume);
    from.setURL("");
    from.setEnabled(false);
}

}  // namespace

void SecondaryWindows::Passage(int ToCompact) {
    Form1& f = app.Form1;
    Form4& c = app.Form4;
    ModuleState& s = app.state;
    const std::string& file = app.collection.d.CurrentFile;
    // While a one-off interval runs the window keeps the normal one.
    const int normal = s.WindowVisible ? 1000 : 6000;

    if (ToCompact != 0) {
        MainTimerInterval = s.TimerPurpose != 0 ? normal : f.Timer1.Interval();
        f.Hide();
        c.HScroll1.setValue(s.Volume * 20);
        c.HScroll1.setValue(f.HScroll1.Value());
        c.Slider1.setMax(f.Slider1.Max());
        c.Slider1.setValue(f.Slider1.Value());
        // The step box shows the main window's count.
        c.Text3.setText(f.Text3.Text());
        s.CompactMode = true;
        if (s.WindowVisible) c.Show();
        c.Timer1.setEnabled(true);
        // Only the player that holds the file gives it up; a file in the
        // video window stays there.
        Player& main = f.WindowsMediaPlayer1;
        if (!main.URL().empty()) moveFile(main, c.WindowsMediaPlayer1, file, s.Volume);
        return;
    }

    c.Hide();
    f.Slider1.setValue(c.Slider1.Value());
    f.HScroll1.setValue(c.HScroll1.Value());
    const int interval = MainTimerInterval > 0 ? MainTimerInterval : normal;
    if (s.TimerPurpose != 0) {
        s.SavedTimerInterval = interval;
    } else {
        f.Timer1.setInterval(interval);
    }
    f.Timer1.setEnabled(true);
    s.CompactMode = false;
    if (s.WindowVisible) f.Show();
    c.Timer1.setEnabled(false);
    Player& compact = c.WindowsMediaPlayer1;
    if (!compact.URL().empty()) moveFile(compact, f.WindowsMediaPlayer1, file, s.Volume);
}

void SecondaryWindows::Form4_WindowsMediaPlayer1_PlayStateChange(int /*NewState*/) {
    app.playback.playStateEffects(app.Form4.WindowsMediaPlayer1);
}

void SecondaryWindows::Form4_Timer1_Timer() {
    app.Form4.Slider1.setValue(CLng(app.Form4.WindowsMediaPlayer1.controls.currentPosition()));
}

}  // namespace tarvolin
