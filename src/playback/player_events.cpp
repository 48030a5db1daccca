// The player state events: transport pictures, window and tray icons, the
// pause mark, and the hand-over of a finished file to the timer tick. The
// compact and video windows' players share the same handling.
#include "app/program.h"
#include "playback/playback.h"

namespace tarvolin {

void Playback::WindowsMediaPlayer1_PlayStateChange(int /*NewState*/) {
    playStateEffects(app.Form1.WindowsMediaPlayer1);
}

void Playback::WindowsMediaPlayer1_StatusChange() {
    app.state.Volume = app.Form1.WindowsMediaPlayer1.settings.volume();
}

void Playback::playStateEffects(Player& player) {
    ModuleState& s = app.state;
    CollectionData& d = app.collection.d;
    Form1& f = app.Form1;

    if (s.Busy) {
        // A file that ends during a bulk operation is served once it is over.
        if (player.playState() == playstate::MediaEnded && !shutDown_) endWhileBusy_ = true;
        return;
    }

    // Pause and resume.
    if (player.playState() == playstate::Paused && !s.Paused) {
        s.Paused = true;
        f.mnusystemtraypause.setChecked(true);
        setPictures("pause", 101);
    } else if (player.playState() == playstate::Playing && s.Paused) {
        s.Paused = false;
        f.mnusystemtraypause.setChecked(false);
        setPictures("play", 100);
    }

    switch (player.playState()) {
        case playstate::MediaEnded:
            s.PreviewPointIndex = 0;
            setPictures("stop", 102);
            armOneOff(2, 300);
            // A file played to its end resumes from its start.
            if (app.collection.isTrackRow(d.CurrentTrack)) {
                const auto i = static_cast<std::size_t>(d.CurrentTrack);
                if (d.TrackResumePos[i] != Currency{}) d.TrackSaved[i] = false;
                d.TrackResumePos[i] = Currency{};
            }
            break;
        case playstate::Ready:
        case playstate::Stopped:
            setPictures("stop", 102);
            break;
        case playstate::Playing:
            UnplayableRun = 0;
            setPictures("play", 100);
            break;
        default:
            break;
    }
}

void Playback::setPictures(const std::string& picture, int icon) {
    app.Form1.Command11.setPicture(picture);
    app.Form4.Command11.setPicture(picture);
    DeleteIconFromTray();
    app.Form1.setIcon(icon);
    app.Form4.setIcon(icon);
    AddIconToTray();
}

}  // namespace tarvolin
