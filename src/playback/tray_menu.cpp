// The tray menu: the playback items that let the program be driven while it
// lives in the tray. Most of them forward to the main window's handlers.
#include "app/program.h"
#include "platform/open_rules.h"
#include "playback/playback.h"

namespace tarvolin {

void Playback::mnusystemtraynext_Click() {
    if (app.collection.d.TrackCount < 0) return;
    // One step forward, whatever the step box holds; the box is left alone.
    LastStepDirection = 0;
    asTrackStart([this] { stepForward(1); });
}

void Playback::mnusystemtrayback_Click() {
    LastStepDirection = -1;
    asTrackStart([this] { stepBack(1); });
}

void Playback::mnusystemtrayforward_Click() { Epomeno_Kommati(); }

void Playback::mnusystemtraybackwards_Click() {
    LastStepDirection = -2;
    Proigoumeno_Kommati();
}

void Playback::mnusystemtraypause_Click() {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    // The player in use; in the automatic video mode the one holding the file.
    Player& p = activePlayer();
    const int selector = &p == &app.Form2.WindowsMediaPlayer1 ? 2 : 1;
    if (p.playState() == playstate::Playing) {
        p.controls.pause();
        f.mnusystemtraypause.setChecked(true);
        s.Paused = true;
        return;
    }
    f.mnusystemtraypause.setChecked(false);
    s.Paused = false;
    if (p.playState() == playstate::Paused) {
        // A paused track goes on from where it was paused.
        p.controls.play();
    } else {
        // A start of its own: it waits for a track start that is running.
        asTrackStart([this, selector] { Media_Play(selector); });
    }
}

void Playback::MnuSysTrayDaCapo_Click() { activePlayer().controls.setCurrentPosition(0); }

void Playback::mnusystemtraysuffle_Click() { MnuMoreRandom_Click(); }

void Playback::mnusystrayrepeat_Click() { mnumorereplayn_Click(app.Form1.mnusystrayrepeat.Checked() ? 0 : 1); }

void Playback::MnuSystemTrayTop_Click() { Apply_On_Top(false); }

void Playback::mnusystemtraycopypaste_Click() {
    Form1& f = app.Form1;
    const CollectionData& d = app.collection.d;
    std::string text;
    if (d.InfoFile.empty()) {
        const int row = f.List2.ListIndex();
        const std::string path = row >= 0 && row < f.List2.ListCount() ? f.List2.List(row) : std::string();
        if (!path.empty()) CollectionStore::File_Name_Of_Path(path, text);
    } else {
        text = f.Text1_0.Text() + " - " + f.Text1_1.Text();
    }
    if (text.empty() || text == " - ") text = "Μη διαθέσιμο - Not avaible";
    app.desktop().setClipboardText(text);

    if (f.Check1.Value() == 1 && f.Combo3.ListCount() > 0) {
        // The text goes into the link percent-encoded; the desktop opens
        // only what its rules allow.
        app.collection.Open_Help_Page(f.Combo3.List(0) + percentEncodeUtf8(text));
    }
}

void Playback::mnusystemtrayexit_Click() {
    int cancel = 0;
    Form_QueryUnload(cancel, 0);
}

}  // namespace tarvolin
