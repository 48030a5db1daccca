// The video window itself: its saved size, the player kept sized to it, and
// the hand-back of the playing file when the user closes it.
#include "app/program.h"
#include "windows/secondary_windows.h"

namespace tarvolin {

void SecondaryWindows::Form2_Form_Load() {
    Form2& w = app.Form2;
    const ModuleState& s = app.state;
    videoLoaded_ = true;
    // The saved size is kept height first; a new preferences file leaves the
    // design size.
    if (s.VideoWidth >= 1 && s.VideoHeight >= 1) {
        w.setHeight(s.VideoWidth);
        w.setWidth(s.VideoHeight);
    }
    w.fitPlayer();
}

void SecondaryWindows::Form2_Form_Resize() {
    // A minimised window keeps the player as it was; fitPlayer never gives a
    // negative size for a small one.
    if (app.Form2.WindowState() == 1) return;
    app.Form2.fitPlayer();
}

void SecondaryWindows::Form2_Form_QueryUnload(int& /*Cancel*/, int UnloadMode) {
    // The video menu unloads the window itself after taking the file back.
    if (UnloadMode != 0) return;

    ModuleState& s = app.state;
    const std::string& file = app.collection.d.CurrentFile;
    Player& video = app.Form2.WindowsMediaPlayer1;
    const bool holdsFile = !video.URL().empty() && !file.empty();
    const double position = video.controls.currentPosition();
    const double duration = video.currentMedia.duration();

    // Every file plays in the window's player from now on. When the video
    // mode was "Show" this also keeps the resume point and lets the video
    // player go.
    app.playback.mnuvideoshow_Click(1);
    if (!holdsFile) return;

    Player& target = s.CompactMode ? app.Form4.WindowsMediaPlayer1 : app.Form1.WindowsMediaPlayer1;
    target.setURL(file);
    target.controls.setCurrentPosition(position);
    const std::int32_t max = CLng(duration);
    for (Slider* slider : {&app.Form1.Slider1, &app.Form4.Slider1}) {
        slider->setMax(max);
        slider->setTickFrequency(CLng(max * 5 / 100.0));
    }
    target.controls.play();
    target.settings.setVolume(s.Volume);

    if (!video.URL().empty()) video.setURL("");
    video.setEnabled(false);
}

}  // namespace tarvolin
