// Start-up, which brings the whole program up in its fixed order, and the
// shutdown, which saves everything and ends the program.
#include "app/program.h"
#include "playback/playback.h"

namespace tarvolin {

namespace {

// How long the splash window stays at least, in milliseconds.
constexpr std::int64_t kSplashMs = 2000;

}  // namespace

void Playback::Form_Load() {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    CollectionStore& store = app.collection;
    if (started_) return;
    started_ = true;

    // The program folder keeps one final "/".
    if (s.AppFolder.empty() || s.AppFolder.back() != '/') s.AppFolder += '/';
    // The built-in defaults and an empty collection, then what was stored.
    Init_Defaults();
    store.Reset_Collection(0);
    loadPreferencesAtStart();
    const std::int64_t splashStart = showSplash();
    Restore_Favor_Play();
    f.Show();
    loadLastCollectionAtStart();
    // The size of the report file, in the log box.
    store.Report_File_Size();
    hideSplash(splashStart);
    store.Show_Time_Totals();
    // The alarm date is today until one is chosen.
    if (s.AlarmTarget.empty() || s.AlarmTarget == " ") s.AlarmTarget = DateText(app.loop().now());
    showPlayerWindowOrTray();
    addUserSearchLinks();
    // Nothing is edited yet: the tag save button waits for an edit.
    f.Command14.setEnabled(false);
    AddIconToTray();
    preparePlayersAtStart();
    // A preview shorter than two seconds takes the ten-second default.
    if (s.PreviewSeconds < 2) s.PreviewSeconds = 10;
    if (s.CompactMode) app.windows.Passage(true);
    // The desktop's autostart entry decides the check mark.
    f.MnuMoreWindows.setChecked(app.desktop().autostartExists());
    openPlayOrderWithCurrentTrack();
    if (s.PlayAtStart) Command3_Click(0);
    // The main loop starts; the first auto-save is ten minutes away.
    f.Timer1.setEnabled(true);
    s.LastAutoSave = app.loop().tickCount();
}

void Playback::loadPreferencesAtStart() {
    Form1& f = app.Form1;
    // A missing preferences file is no failure.
    std::int32_t failed = 0;
    app.collection.Load_Preferences(failed);
    if (failed != 0) {
        f.Text2[0].setText(
            LogLineText(app.loop().now(), "-> Λάθος κατά τη φόρτωση προτιμήσεων - Error while loading preferences"));
    }
    // The step box shows the stored step count.
    f.Text3.setText(std::to_string(app.state.StepCount));
}

std::int64_t Playback::showSplash() {
    if (!app.state.ShowSplash) return -1;
    const std::int64_t start = app.loop().tickCount();
    app.frmSplash.Show();
    app.frmSplash.setOnTop(true);
    return start;
}

void Playback::hideSplash(std::int64_t splashStart) {
    if (splashStart < 0) return;
    MessageLoop& loop = app.loop();
    const std::int64_t left = splashStart + kSplashMs + 1 - loop.tickCount();
    if (left > 0) loop.wait(left);
    app.frmSplash.Hide();
}

void Playback::loadLastCollectionAtStart() {
    CollectionStore& store = app.collection;
    // The last collection, with its own class choice.
    store.Load_Last_Collection();
    store.Load_Collection();
    store.syncClassChoiceMenus();
    // Filters that did not come with the collection are rebuilt.
    if (store.d.TableRows.size() <= 1 && app.state.LoadFiltersAtStart) app.library.Refresh_Filters();
}

void Playback::showPlayerWindowOrTray() {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    // Without a tray the program never hides itself there; the user's tray
    // mode is kept for a later start.
    if (!app.tray().available() && !s.WindowVisible) {
        trayModeKept_ = true;
        s.WindowVisible = true;
    }
    Form& playerWindow = s.CompactMode ? static_cast<Form&>(app.Form4) : static_cast<Form&>(f);
    if (s.WindowVisible) {
        playerWindow.Show();
        f.setWindowState(0);
        f.Timer1.setInterval(1000);
    } else {
        playerWindow.Hide();
        playerWindow.setWindowState(1);
        f.Timer1.setInterval(6000);
    }
}

void Playback::addUserSearchLinks() {
    const ModuleState& s = app.state;
    if (s.SearchLinkCount <= 0) return;
    for (const std::string& link : s.SearchLinks) {
        if (!link.empty()) app.Form1.Combo3.AddItem(link);
    }
}

void Playback::preparePlayersAtStart() {
    // Files are loaded without starting; the timer gives the play command.
    app.Form1.WindowsMediaPlayer1.settings.setAutoStart(false);
    app.Form4.WindowsMediaPlayer1.settings.setAutoStart(false);
    app.Form2.WindowsMediaPlayer1.settings.setAutoStart(false);
    app.Form2.WindowsMediaPlayer1.controls.stop();
}

void Playback::openPlayOrderWithCurrentTrack() {
    CollectionData& d = app.collection.d;
    if (d.PlayedCount != 0 || !app.collection.isTrackRow(d.CurrentTrack)) return;
    d.PlayedCount = 1;
    d.PlayOrder[static_cast<std::size_t>(d.CurrentTrack)] = 1;
    d.TrackSaved[static_cast<std::size_t>(d.CurrentTrack)] = false;
}

void Playback::Restore_Favor_Play() {
    CollectionStore& store = app.collection;
    bool any = false;
    for (int i = 0; i < kClassCount; ++i) {
        std::int16_t& on = store.d.PlayClassOn[static_cast<std::size_t>(i)];
        if (on == -1) {
            any = true;
            on = 0;
            store.MnuFavor_Play(i == 0 ? -1 : i);
        }
    }
    if (!any) store.MnuFavor_Play(0);
}

void Playback::Form_QueryUnload(int& /*Cancel*/, int UnloadMode) {
    if (unloading_ || shutDown_) return;
    // Asked for while an operation is under way (a load, an add, a filter
    // rebuild): the operation ends first, cancelled where Esc cancels it, so
    // that the save below stores its whole result.
    if (app.operationUnderWay()) {
        app.afterOperations([this, UnloadMode] {
            int cancel = 0;
            Form_QueryUnload(cancel, UnloadMode);
        });
        return;
    }
    unloading_ = true;
    ModuleState& s = app.state;
    CollectionStore& store = app.collection;

    // Everything is saved, without a question.
    store.Save_Last_Collection();
    store.Save_Collection(false, false);
    if (trayModeKept_) s.WindowVisible = false;
    std::int32_t failed = 0;
    store.Save_Preferences(failed);

    // The tray icon goes, then half a second in which events are served.
    DeleteIconFromTray();
    Wait(500);

    // Nothing runs any more: no tick, no player event.
    app.Form1.Timer1.setEnabled(false);
    app.Form4.Timer1.setEnabled(false);
    s.Busy = true;
    shutDown_ = true;
    unloading_ = false;
    app.loop().quit();
}

}  // namespace tarvolin
