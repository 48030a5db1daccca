// Small handlers of the main window: the volume while dragging, the class
// labels, the double click on the track list, the walk buttons, the recycle
// bin box, the rating-star menu, the snooze and shutdown items and the video
// menu.
#include "app/program.h"
#include "playback/playback.h"

namespace tarvolin {

namespace {

// Keeps `seconds` as the current track's resume point and start position.
void keepPosition(Program& app, double seconds) {
    CollectionData& d = app.collection.d;
    d.StartPosition = CLng(seconds);
    if (!app.collection.isTrackRow(d.CurrentTrack)) return;
    const auto i = static_cast<std::size_t>(d.CurrentTrack);
    const Currency value = Currency::fromInteger(d.StartPosition);
    if (d.TrackResumePos[i] != value) d.TrackSaved[i] = false;
    d.TrackResumePos[i] = value;
}

}  // namespace

void Playback::HScroll1_Scroll() {
    ModuleState& s = app.state;
    s.Volume = CInt(app.Form1.HScroll1.Value() / 20.0);
    app.Form1.WindowsMediaPlayer1.settings.setVolume(s.Volume);
    app.Form2.WindowsMediaPlayer1.settings.setVolume(s.Volume);
}

void Playback::classLabel_Click(int Index) {
    if (Index < 1 || Index > 6) return;
    app.library.FavorCommand = Index + 15;
    app.library.Command8_Click();
}

void Playback::List2_DblClick() {
    ModuleState& s = app.state;
    if (app.Form1.List2.ListCount() < 1) return;
    s.TagBoxesFilling = true;
    s.PlaySelected = true;
    Command3_Click(0);
    s.TagBoxesFilling = false;
}

void Playback::Command15_Click(int Index) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    CollectionData& d = app.collection.d;
    switch (Index) {
        case 0:
            Epomeno_Kommati();
            break;
        case 1:
            LastStepDirection = -2;
            Proigoumeno_Kommati();
            break;
        case 2: {
            // Back to the furthest point of the play history: the track
            // that holds the highest mark.
            if (d.MaxPlayedCount <= 0 || d.PlayedCount >= d.MaxPlayedCount) break;
            const int found = app.collection.trackWithMark(d.MaxPlayedCount);
            if (found < 0) break;
            f.List2.setListIndex(found);
            d.PlayedCount = d.MaxPlayedCount;
            s.TagBoxesFilling = true;
            s.PlaySelected = true;
            // Command3_Click keeps where the track now playing was left.
            Command3_Click(0);
            s.TagBoxesFilling = false;
            break;
        }
        case 3:
            app.windows.Passage(1);
            break;
        default:
            break;
    }
}

void Playback::updateReturnButton() {
    const CollectionData& d = app.collection.d;
    const bool back = app.Form1.List2.ListCount() > 0 && d.PlayedCount < d.MaxPlayedCount;
    for (ControlArray<CommandButton>* walk : {&app.Form1.Command15, &app.Form4.Command15}) {
        if (CommandButton* button = walk->get(2)) button->setEnabled(back);
    }
}

void Playback::Check3_Click() {
    const bool on = app.Form1.Check3.Value() == 1;
    app.Form1.mnufiledeleterecycle.setChecked(on);
    app.state.DeleteToRecycle = on;
}

void Playback::MnumoreStar_Active_Click(int Index) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    if (Index != 1) return;
    s.StarsOff = !s.StarsOff;
    if (MenuItem* item = f.MnumoreStar_Active.get(0)) item->setEnabled(!s.StarsOff);
    if (MenuItem* item = f.MnumoreStar_Active.get(1)) item->setChecked(s.StarsOff);
    setStarLabelsBehind(s.StarsOff);
}

void Playback::MnumoreStar_Colors_Click(int Index) {
    Form1& f = app.Form1;
    CollectionData& d = app.collection.d;
    app.state.StarColours = Index;
    for (MenuItem& item : f.MnumoreStar_Colors) item.setChecked(item.Index() == Index);
    int cls = 0;
    if (app.collection.isTrackRow(d.CurrentTrack)) {
        cls = d.TrackClass[static_cast<std::size_t>(d.CurrentTrack)];
    }
    app.collection.Show_Rating_Stars(0, cls);
    app.collection.Show_Rating_Stars(-1, cls);
}

// Both items open the snooze and shutdown window with the shutdown option
// cleared.
void Playback::mnutimeshut_Click() {
    app.windows.showSnoozeWindow();
    app.Form5.Check4.setValue(0);
}

void Playback::mnutimesnooze_Click() {
    app.windows.showSnoozeWindow();
    app.Form5.Check4.setValue(0);
}

void Playback::mnuvideoshow_Click(int Index) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    Player& video = app.Form2.WindowsMediaPlayer1;
    // The player that holds the file, before the mode changes: in the
    // automatic mode a film plays in the video window.
    Player& holder = activePlayer();
    const bool videoHeld = &holder == &video;
    for (MenuItem& item : f.mnuvideoshow) item.setChecked(item.Index() == Index);

    // Closes the video window from this menu: its player lets go of the
    // file, and the window does not hand anything back.
    auto closeVideoWindow = [&] {
        video.controls.stop();
        video.close();
        app.Form2.requestUnload(1);
    };

    switch (Index) {
        case 0:
            keepPosition(app, holder.controls.currentPosition());
            s.VideoMode = -1;
            if (s.OnTop) Apply_On_Top(true);
            Video();
            if (s.OnTop) Apply_On_Top(true);
            break;
        case 1:
            if (videoHeld) keepPosition(app, video.controls.currentPosition());
            s.VideoMode = 0;
            if (videoHeld) closeVideoWindow();
            if (s.OnTop) Apply_On_Top(true);
            break;
        case 2:
            keepPosition(app, holder.controls.currentPosition());
            s.VideoMode = 1;
            if (videoHeld) closeVideoWindow();
            // The file goes to the player its type asks for, after a track
            // start that is running.
            if (!app.collection.d.CollectionJustLoaded && !app.collection.d.CurrentFile.empty())
                asTrackStart([this] { Decide_Video(); });
            if (s.OnTop) Apply_On_Top(true);
            break;
        default:
            break;
    }
}

}  // namespace tarvolin
