// The video window's player state handler: as the compact window's, and the
// volume of the video player's own controls becomes the program's.
#include <algorithm>

#include "app/program.h"
#include "windows/secondary_windows.h"

namespace tarvolin {

void SecondaryWindows::Form2_WindowsMediaPlayer1_PlayStateChange(int /*NewState*/) {
    ModuleState& s = app.state;
    app.playback.playStateEffects(app.Form2.WindowsMediaPlayer1);
    // The volume of the video player's own controls, while it holds a file.
    if (s.Busy || app.Form2.WindowsMediaPlayer1.URL().empty()) return;
    s.Volume = std::clamp(app.Form2.WindowsMediaPlayer1.settings.volume(), 0, 100);
    app.Form1.HScroll1.setValue(s.Volume * 20);
    app.Form4.HScroll1.setValue(s.Volume * 20);
}

}  // namespace tarvolin
