// The volume scroll bar and the display of the class bars when the rating
// stars are switched off.
#include "app/program.h"
#include "playback/playback.h"

namespace tarvolin {

void Playback::HScroll1_Change() {
    ModuleState& s = app.state;
    s.Volume = CInt(app.Form1.HScroll1.Value() / 20.0);
    if (s.CompactMode) {
        app.Form4.WindowsMediaPlayer1.settings.setVolume(s.Volume);
    } else {
        app.Form1.WindowsMediaPlayer1.settings.setVolume(s.Volume);
    }
    app.Form2.WindowsMediaPlayer1.settings.setVolume(s.Volume);
}

void Playback::setStarLabelsBehind(bool behind) {
    for (Label& bar : app.Form1.Label21) bar.setVisible(!behind);
}

}  // namespace tarvolin
