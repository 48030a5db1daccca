// The preferences file: the user's switches and values in 257-byte records,
// one value per record, in a fixed order; counted groups (search links,
// folders, media types) store their count first.
#include <algorithm>
#include <filesystem>

#include "app/program.h"
#include "collection/collection_store.h"
#include "collection/store_files.h"
#include "toolkit/durable_file.h"
#include "toolkit/record_file.h"

namespace tarvolin {

namespace sf = storefiles;

namespace {

constexpr std::size_t kTextBytes = sf::kPreferencesRecord - 2;

std::int16_t flag(bool on) { return on ? -1 : 0; }

std::int16_t integer(int v) {
    return static_cast<std::int16_t>(std::clamp(v, -32768, 32767));
}

// Reads the records in order. The first value that cannot be read, or that
// lies beyond the end of the file, stops the reading: nothing after it is
// applied.
class SequentialReader {
public:
    explicit SequentialReader(RecordFile& file) : file_(file), records_(file.RecordCount()) {}
    bool stopped() const { return stopped_; }
    void stop() { stopped_ = true; }
    // False, and the reading stopped, when count more records would run
    // past the end of the file.
    bool fits(std::int64_t count) {
        if (record_ + count > records_) stopped_ = true;
        return !stopped_;
    }

    bool integer(std::int16_t& v) { return !stopped_ && done(file_.GetInteger(++record_, v)); }
    bool longValue(std::int32_t& v) { return !stopped_ && done(file_.GetLong(++record_, v)); }
    bool byte(std::uint8_t& v) { return !stopped_ && done(file_.GetByte(++record_, v)); }
    bool text(std::string& v) { return !stopped_ && done(file_.GetString(++record_, v)); }

private:
    bool done(bool ok) {
        if (!ok || file_.pastEnd()) stopped_ = true;
        return !stopped_;
    }
    RecordFile& file_;
    std::int64_t records_;
    std::int64_t record_ = 0;
    bool stopped_ = false;
};

// The play mode: volume, shuffle, preview, replay.
void readPlayMode(SequentialReader& in, Program& app) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    std::int16_t v = 0;
    if (in.integer(v)) s.Volume = std::clamp<int>(v, 0, 100);
    if (in.integer(v)) {
        s.ShuffleOn = v != 0;
        f.MnuMoreRandom.setChecked(v != 0);
    }
    if (in.integer(v)) s.PreviewOn = v != 0;
    if (in.integer(v)) {
        s.PreviewSeconds = v;
        if (s.PreviewOn) {
            f.MnuMorePreview_Active.setChecked(true);
            f.MnuMoreDuration.setEnabled(true);
            f.MnuMoreMultiPreview.setEnabled(true);
        } else {
            f.MnuMoreDuration.setEnabled(false);
            f.MnuMoreMultiPreview.setEnabled(false);
        }
        if (s.PreviewSeconds < 2) s.PreviewSeconds = 10;
    }
    if (in.integer(v)) {
        f.MnuMoreMultiPreview.setChecked(v != 0);
        s.PreviewPoints.assign(v == -1 ? 4 : 1, 0);
    }
    in.integer(v);  // the scan source keeps its built-in value
    if (in.integer(v)) {
        s.ReplayMode = v;
        if (v >= 0 && v <= 2) {
            for (int k = 0; k <= 2; ++k) {
                if (MenuItem* item = f.mnumorereplayn.get(k)) item->setChecked(k == v);
            }
        }
    }
}

// The alarm, the window shown or in the tray, and the step count.
void readAlarmAndWindow(SequentialReader& in, Program& app) {
    ModuleState& s = app.state;
    std::int16_t v = 0;
    std::int32_t l = 0;
    std::string t;
    if (in.longValue(l)) s.AlarmShutdown = l;
    for (std::size_t k = 0; k < 3; ++k) {
        if (in.longValue(l)) s.AlarmTime[k] = l;
        if (in.longValue(l)) s.AlarmCountdown[k] = l;
    }
    if (in.longValue(l)) s.AlarmMode = l;
    if (in.text(t)) s.AlarmTarget = t;
    if (in.integer(v)) s.WindowVisible = v != 0;
    if (in.integer(v)) s.StepCount = std::max<int>(v, 1);
}

// The sound and pause between tracks, the report, the automatic rating,
// the delete options and the play at start.
void readBetweenTracksAndFiles(SequentialReader& in, Program& app) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    std::int16_t v = 0;
    if (in.integer(v)) {
        s.BeepBetween = v != 0;
        f.MnuMoreSound.setChecked(v != 0);
    }
    if (in.integer(v)) s.PauseSeconds = std::clamp<int>(v, 2, 8);
    if (in.integer(v)) {
        f.MnuMorePauseActive.setChecked(v != 0);
        f.MnuMorePauseDur.setEnabled(v != 0);
    }
    if (in.integer(v)) {
        f.MnuMoreReport.setChecked(v != 0);
        s.KeepReport = v;
    }
    if (in.integer(v)) {
        f.MnuFavorAuto2.setChecked(v != 0);
        s.AutoFavor = v != 0;
        f.TrayFavorAuto.setChecked(v != 0);
    }
    if (in.integer(v)) {
        f.mnufiledeleterecycle.setChecked(v != 0);
        s.DeleteToRecycle = v != 0;
        // The recycle box on the filter page shows the same switch.
        f.Check3.setValue(v != 0 ? 1 : 0);
    }
    if (in.integer(v)) {
        f.mnufiledeletedisk.setChecked(v != 0);
        s.DeleteFromDisk = v != 0;
        f.Check3.setEnabled(v != 0);
        f.mnufiledeleterecycle.setEnabled(v != 0);
        // The other option that only matters when deleting from disk, as the
        // menu item itself does it.
        f.mnufiledeleteevendiskerror.setEnabled(v != 0);
    }
    if (in.integer(v)) {
        s.PlayAtStart = v != 0;
        f.MnuMoreAutoStart.setChecked(v == -1);
    }
}

// The search links, keeping on top, the report again, the rating asked
// for, the folder list and deleting despite a disk error.
void readLinksAndLists(SequentialReader& in, Program& app) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    std::int16_t v = 0;
    std::string t;
    // Search links: the count is the highest index.
    if (in.integer(v)) {
        if (v < -1 || v > 999 || !in.fits(v + 1)) {
            in.stop();
        } else {
            s.SearchLinkCount = v;
            s.SearchLinks.assign(static_cast<std::size_t>(v + 1), std::string());
            for (std::size_t k = 0; k < s.SearchLinks.size(); ++k) {
                if (in.text(t)) s.SearchLinks[k] = t;
            }
        }
    }
    if (in.integer(v)) {
        if (v == -1) {
            s.OnTop = false;
            app.playback.Apply_On_Top(false);
        } else {
            s.OnTop = v != 0;
        }
    }
    if (in.integer(v)) {
        f.MnuMoreReport.setChecked(v != 0);
        s.KeepReport = v;
    }
    if (in.integer(v)) {
        s.DemandFavor = v != 0;
        f.MnuMoreDemandFavor.setChecked(v != 0);
    }
    if (in.integer(v)) {
        if (v < 0 || !in.fits(v)) {
            in.stop();
        } else {
            f.List1.setVisible(false);
            for (int k = 0; k < v; ++k) {
                if (in.text(t)) f.List1.setList(k, t);
            }
            f.List1.setVisible(true);
        }
    }
    if (in.integer(v)) {
        f.mnufiledeleteevendiskerror.setChecked(v != 0);
        s.DeleteEvenOnDiskError = v != 0;
    }
}

// The video size, the file switches, the media types chosen, the compact
// window, the stars, the splash and the resume mode.
void readLookAndSwitches(SequentialReader& in, Program& app) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    std::int16_t v = 0;
    if (in.integer(v)) s.VideoWidth = v;
    if (in.integer(v)) s.VideoHeight = v;
    auto menuSwitch = [&](MenuItem& item, bool& value) {
        if (in.integer(v)) {
            value = v != 0;
            item.setChecked(v != 0);
        }
    };
    menuSwitch(f.mnuFileSaveAsAuto, s.AutoSave);
    menuSwitch(f.MnuMoreFileSizesReadRatings, s.ReadRatingsFromFiles);
    menuSwitch(f.MnuMoreFileSizesKeepRatings, s.KeepRatings);
    menuSwitch(f.MnuMoreFavorWithinFiles, s.SaveRatingsInFiles);
    menuSwitch(f.MnuFileMoveReference, s.FileMoveReference);
    menuSwitch(f.MnuFilecopyreference, s.FileCopyReference);
    if (in.integer(v)) {
        if (v < 0 || !in.fits(v)) {
            in.stop();
        } else {
            for (int k = 0; k < v; ++k) {
                std::int16_t selected = 0;
                if (in.integer(selected) && k < f.List3.ListCount()) f.List3.setSelected(k, selected != 0);
            }
        }
    }
    menuSwitch(f.MnuFiltersLoad, s.LoadFiltersAtStart);
    if (in.integer(v)) s.CompactMode = v != 0;
    if (in.integer(v)) {
        s.StarColours = std::clamp<int>(v, 0, 3);
        for (MenuItem& item : f.MnumoreStar_Colors) item.setChecked(item.Index() == s.StarColours);
    }
    if (in.integer(v)) {
        s.ShowSplash = v != 0;
        if (MenuItem* item = f.mnu_info2.get(3)) item->setChecked(v != 0);
    }
    if (in.integer(v)) {
        s.StarsOff = v != 0;
        if (v == -1) {
            if (MenuItem* item = f.MnumoreStar_Active.get(0)) item->setEnabled(false);
            if (MenuItem* item = f.MnumoreStar_Active.get(1)) item->setChecked(true);
            app.playback.setStarLabelsBehind(true);
        }
    }
    std::uint8_t b = 0;
    if (in.byte(b)) {
        s.ResumeMode = std::min<int>(b, 2);
        for (MenuItem& item : f.MnuPlayAutoStartP) item.setChecked(item.Index() == s.ResumeMode);
    }
}

}  // namespace

std::string CollectionStore::preferencesFilePath() const {
    return app_.state.AppFolder + "tarvolin_preferences/default_pref.tl";
}

void CollectionStore::Load_Preferences(std::int32_t& Failed) {
    Form1& f = app_.Form1;
    ModuleState& s = app_.state;
    Failed = 0;
    Make_Data_Folder(2);
    app_.dialogs().setMousePointer(11);

    const std::string path = preferencesFilePath();
    RecordFile file;
    if (sf::fileSize(path) < 0 || !file.Open(path, RecordFile::Mode::Read, sf::kPreferencesRecord)) {
        // No preferences yet: the built-in values stay.
        app_.dialogs().setMousePointer(0);
        return;
    }

    // The values are read in the order they are stored.
    SequentialReader in(file);
    readPlayMode(in, app_);
    readAlarmAndWindow(in, app_);
    readBetweenTracksAndFiles(in, app_);
    readLinksAndLists(in, app_);
    readLookAndSwitches(in, app_);
    if (in.stopped()) Failed = -1;
    file.Close();

    f.MnuMoreRandom.setChecked(s.ShuffleOn);
    f.mnusystemtraysuffle.setChecked(s.ShuffleOn);
    f.HScroll1.setValue(s.Volume * 20);
    app_.dialogs().setMousePointer(0);
}

void CollectionStore::Save_Preferences(std::int32_t& Failed) {
    Form1& f = app_.Form1;
    ModuleState& s = app_.state;
    Make_Data_Folder(2);
    app_.dialogs().setMousePointer(11);

    // Written whole beside the old file, which it replaces only once it is
    // on the disk: a kill or a full disk mid-save keeps the old settings.
    const std::string path = preferencesFilePath();
    const std::string temp = durable::temporaryBeside(path);
    RecordFile file;
    if (!file.Open(temp, RecordFile::Mode::ReadWrite, sf::kPreferencesRecord)) {
        Failed = -1;
        return;
    }
    bool error = false;  // a write the system refused
    bool cut = false;    // a text stored shortened: the file is still whole
    auto put = [&](bool ok) {
        if (!ok) error = true;
    };
    auto putInteger = [&](int value) { put(file.PutInteger(RecordFile::Next, integer(value))); };
    auto putLong = [&](std::int32_t value) { put(file.PutLong(RecordFile::Next, value)); };
    auto putText = [&](const std::string& value) {
        if (value.size() > kTextBytes) {
            // Stored shortened so that every later record keeps its place.
            cut = true;
            put(file.PutString(RecordFile::Next, CutAtCharBoundary(value, kTextBytes)));
        } else {
            put(file.PutString(RecordFile::Next, value));
        }
    };

    putInteger(s.Volume);
    putInteger(flag(f.MnuMoreRandom.Checked()));
    putInteger(flag(s.PreviewOn));
    putInteger(s.PreviewSeconds);
    putInteger(flag(f.MnuMoreMultiPreview.Checked()));
    putInteger(flag(s.ScanFromFileList));
    putInteger(s.ReplayMode);
    putLong(s.AlarmShutdown);
    for (std::size_t k = 0; k < 3; ++k) {
        putLong(s.AlarmTime[k]);
        putLong(s.AlarmCountdown[k]);
    }
    putLong(s.AlarmMode);
    putText(s.AlarmTarget);
    putInteger(flag(s.WindowVisible));
    putInteger(s.StepCount);
    putInteger(flag(s.BeepBetween));
    putInteger(s.PauseSeconds);
    putInteger(flag(f.MnuMorePauseActive.Checked()));
    putInteger(flag(f.MnuMoreReport.Checked()));
    putInteger(flag(f.MnuFavorAuto2.Checked()));
    putInteger(flag(f.mnufiledeleterecycle.Checked()));
    putInteger(flag(f.mnufiledeletedisk.Checked()));
    putInteger(flag(f.MnuMoreAutoStart.Checked()));
    const int n = std::clamp(s.SearchLinkCount, -1, 999);
    putInteger(n);
    for (int k = 0; k <= n; ++k) {
        putText(static_cast<std::size_t>(k) < s.SearchLinks.size() ? s.SearchLinks[static_cast<std::size_t>(k)]
                                                                   : std::string());
    }
    putInteger(flag(s.OnTop));
    putInteger(flag(f.MnuMoreReport.Checked()));
    putInteger(flag(f.MnuMoreDemandFavor.Checked()));
    putInteger(f.List1.ListCount());
    for (int k = 0; k < f.List1.ListCount(); ++k) putText(f.List1.List(k));
    putInteger(flag(f.mnufiledeleteevendiskerror.Checked()));
    putInteger(s.VideoWidth);
    putInteger(s.VideoHeight);
    putInteger(flag(f.mnuFileSaveAsAuto.Checked()));
    putInteger(flag(f.MnuMoreFileSizesReadRatings.Checked()));
    putInteger(flag(f.MnuMoreFileSizesKeepRatings.Checked()));
    putInteger(flag(f.MnuMoreFavorWithinFiles.Checked()));
    putInteger(flag(f.MnuFileMoveReference.Checked()));
    putInteger(flag(f.MnuFilecopyreference.Checked()));
    putInteger(f.List3.ListCount());
    for (int k = 0; k < f.List3.ListCount(); ++k) putInteger(flag(f.List3.Selected(k)));
    putInteger(flag(f.MnuFiltersLoad.Checked()));
    putInteger(flag(s.CompactMode));
    putInteger(s.StarColours);
    putInteger(flag(s.ShowSplash));
    putInteger(flag(s.StarsOff));
    put(file.PutByte(RecordFile::Next, static_cast<std::uint8_t>(std::clamp(s.ResumeMode, 0, 255))));
    put(file.Close());

    if (error || !durable::replaceFile(temp, path)) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        Failed = -1;
        return;
    }
    // A shortened save is no copy to fall back on.
    if (cut) {
        Failed = -1;
        return;
    }
    if (!durable::copyFile(path, backupOf(path))) Failed = -1;
}

}  // namespace tarvolin
