// Removing from the collection every track whose file lies in the chosen
// folders (the subfolder list) or in the folder of the file list, and with
// the delete-from-disk option also the files themselves.
#include <array>
#include <string>

#include "app/program.h"
#include "collection/store_files.h"
#include "library/library.h"

namespace tarvolin {

namespace {

const char* const kCrLf = "\r\n";


}  // namespace

void Library::Command5_Click() {
    bool cancelled = false;
    Confirm_Move_Delete(2, cancelled);
    if (cancelled) return;
    Removing_Files_Under_Path();
    Remake_Filters();
}

void Library::removeFromFileList() {
    Form1& f = app.Form1;
    // The panel's own checks come first; a refused press goes no further.
    const bool refused = f.File1.ListCount() == 0 || f.List3.SelCount() == 0;
    Command18_Click(1);
    if (refused) return;
    bool cancelled = false;
    Confirm_Move_Delete(2, cancelled);
    if (cancelled) return;
    Removing_Files_Under_Path();
}

// Which files the removal looks at, as the options stand when it starts:
// the folders of the folder list or the one folder of the file list, all
// of them or the selected ones, and the words that tell it in the log.
struct Library::RemovalScope {
    bool fromFolderList = false;
    Pick pick = Pick::None;
    std::array<std::string, 2> words;
};

Library::RemovalScope Library::removalScopeNow() {
    const Form1& f = app.Form1;
    RemovalScope scope;
    scope.fromFolderList = app.state.ScanFromFileList;
    if (scope.fromFolderList) {
        if (f.Option1_0.Value()) {
            scope.pick = Pick::All;
            scope.words = {"όλους τους φάκελους", "all directories"};
        } else if (f.Option1_1.Value()) {
            scope.pick = Pick::Selected;
            scope.words = {"τους επιλεγμένους φάκελους", "selected directories"};
        }
    } else {
        const std::string folder = f.File1.Path();
        if (f.Option4.has(0) && f.Option4[0].Value()) {
            scope.pick = Pick::All;
            scope.words = {"ενός φακέλου [" + folder + "]", "one directory [" + folder + "]"};
        } else if (f.Option4.has(1) && f.Option4[1].Value()) {
            scope.pick = Pick::Selected;
            scope.words = {"επιλογές ενός φακέλου [" + folder + "]", "selection of one directory [" + folder + "]"};
        }
    }
    return scope;
}

namespace {

// The current track and the track tables follow the rows left, with the
// class totals; the number column is counted again from 0 at the top.
void settleAfterRemoval(Program& app, const Currency& removed) {
    Form1& f = app.Form1;
    CollectionStore& store = app.collection;
    CollectionData& d = store.d;
    const std::int32_t rows = f.List2.ListCount();
    if (d.CurrentTrack > rows - 1) d.CurrentTrack = rows - 1;
    if (d.CurrentTrack < 0) d.CurrentTrack = 0;
    d.TrackCount = rows;
    d.resizeTrackTables(d.TrackCount);
    store.Calc_Favor_Totals();
    if (removed > Currency{}) {
        d.ClassLabelsDirty = true;
        d.CollectionSaved = false;
    }

    if (f.List3_0.has(0)) {
        ListBox& numbers = f.List3_0[0];
        for (int i = 0; i < numbers.ListCount(); ++i) numbers.setList(i, Format(i, "#0000"));
    }
}

}  // namespace

void Library::Removing_Files_Under_Path() {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    CollectionStore& store = app.collection;
    CollectionData& d = store.d;
    MessageLoop& loop = app.loop();

    // The timer starts no track and the list and player handlers stay out
    // for the length of the run.
    BulkScope guard(s, BulkScope::BusyAndTimer);

    // The main window takes no input while the run lasts.
    app.dialogs().setMousePointer(11);
    f.Text2[0].setText("");
    f.MnuSystemTray.setEnabled(false);
    f.setEnabled(false);

    const RemovalScope scope = removalScopeNow();
    // The subfolder page comes forward: it holds the run's status boxes.
    // Bringing it forward leaves the subfolder box, its list and the source
    // of the scope as they were taken above.
    if (f.MultiPage1.Value() != 3) {
        f.MultiPage1.setValue(3);
    } else {
        MultiPage1_Change();
    }

    // The report file opens; the lists are hidden while rows go.
    const bool report = s.KeepReport == -1;
    if (report) store.Report_File(-1);
    if (d.TrackCount != f.List2.ListCount()) d.TrackCount = f.List2.ListCount();
    store.Make_Invisible();

    Currency removed, errors;
    removeTracksInScope(scope, removed, errors);
    settleAfterRemoval(app, removed);

    // The counts in the status box, and in the report.
    TextBox& status = f.Text2[1];
    status.prepend(TimeText(loop.now()) + "-> Αριθμός αρχείων που αφαιρέθηκαν - Number of removed files :" +
                   Str(removed) + ". Λάθη σε αρχεία - Error in files :" + Str(errors) + kCrLf);
    store.endFilesRun(report);
    store.Make_Visible();
}

void Library::removeTracksInScope(const RemovalScope& scope, Currency& removed, Currency& errors) {
    Form1& f = app.Form1;
    MessageLoop& loop = app.loop();
    CollectionStore& store = app.collection;
    const Pick pick = scope.pick;
    // Looks up every file that File1 lists now (or only its selected ones)
    // and removes the track of each one found.
    auto removeListedFiles = [&](bool onlySelected, auto&& afterEntry) {
        const std::string folder = storefiles::asFolder(f.File1.Path());
        for (int j = 0; j < f.File1.ListCount(); ++j) {
            if (onlySelected && !f.File1.Selected(j)) {
                afterEntry(j);
                continue;
            }
            const std::string path = folder + f.File1.List(j);
            const int k = MediaFiles::findExactPath(f.List2, path);
            if (k >= 0) Remove_the_Files(path, k, scope.words, removed, errors);
            f.Text2[2].setText(TimeText(loop.now()) + "-> " + path);
            loop.DoEvents();
            afterEntry(j);
        }
    };

    std::int64_t done = 0;
    if (scope.fromFolderList) {
        const std::int64_t last = f.List1.ListCount() - 1;
        for (int i = 0; i <= last && i < f.List1.ListCount(); ++i) {
            bool listed = false;
            if (pick == Pick::All || (pick == Pick::Selected && f.List1.Selected(i))) {
                const std::string folder = f.List1.List(i);
                if (f.File1.setPath(folder)) {
                    listed = true;
                } else {
                    // A folder that is gone or cannot be read is passed
                    // over; nothing of the folder listed before is looked
                    // at again.
                    app.collection.logLine("-> Ο φάκελος δεν είναι διαθέσιμος - The folder is not available: " + folder);
                }
            } else if (pick == Pick::None) {
                listed = true;  // File1 keeps its folder
            }
            if (listed) removeListedFiles(false, [](int) {});
            ++done;
            if (done % 10 == 0 || done > last - 50) store.Show_Progress(done, last, 0);
        }
    } else {
        // One pass over the folder's entries, each a step of the progress.
        const std::int64_t last = f.File1.ListCount() - 1;
        removeListedFiles(pick == Pick::Selected, [&](int) {
            ++done;
            if (done % 10 == 0 || done > last - 50) store.Show_Progress(done, last, 0);
        });
    }

}

void Library::Remove_the_Files(const std::string& Path, std::int32_t Index, const std::array<std::string, 2>& Scope,
                               Currency& Removed, Currency& Errors) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    CollectionStore& store = app.collection;
    CollectionData& d = store.d;
    if (Index < 0 || Index >= f.List2.ListCount()) return;
    const std::string now = TimeText(app.loop().now());
    const Currency size = d.hasEntry(Index) ? d.TrackSize[static_cast<std::size_t>(Index)] : Currency{};
    const bool wasCurrent = Path == d.CurrentFile && d.CurrentTrack == Index;

    // Deleting from the disk, when chosen; a failed delete keeps the track
    // unless told to remove it even so.
    std::string detail;
    std::int32_t failed = 0;
    bool keep = false;
    if (s.DeleteFromDisk) {
        app.media.File_Copy_Move_Delete(Path, "", 2, failed);
        if (failed != 0 && !s.DeleteEvenOnDiskError) {
            detail = "Αδύνατη η διαγραφή - ?X?X??X?X? - Impossible to delete file";
            failed = 1;
            Errors += Currency::fromInteger(1);
            keep = true;
        } else {
            detail = "XXXXXXXX";
        }
    }

    // The tables first, while the row is still there; then the rows.
    if (!keep) {
        store.Remove_Track_Data(Index);
        f.List2.RemoveItem(Index);
        for (ListBox& column : f.List3_0) {
            if (Index < column.ListCount()) column.RemoveItem(Index);
        }
        // The current track keeps naming its own track.
        if (d.CurrentTrack > Index) d.CurrentTrack -= 1;
        Removed += Currency::fromInteger(1);
    }

    // The track playing is stopped in the player that holds it.
    if (wasCurrent) app.playback.activePlayer().controls.stop();

    // What was removed, and the disk's errors, in the status box.
    TextBox& status = f.Text2[1];
    status.setText(now + "-> Αφαιρούνται αρχεία από " + Scope[0] + ".Παρακαλώ περιμένετε... " +
                   "- Removing files from " + Scope[1] + ". Please wait..." + kCrLf + " ---> " + detail);
    if (s.DeleteFromDisk) {
        status.prepend(now + "-> " + storefiles::sizeText(size) + kCrLf +
                       "Λάθη διαγραφής από δίσκο - Errors while deleting from disk:" + Str(failed != 0 ? 1 : 0) +
                       kCrLf);
    }
    status.prepend(now + "-> Απομακρύνθηκαν - Removed :" + Str(Removed) + kCrLf);
}

void Library::wireRemoveByPath() {
    Form1& f = app.Form1;
    f.Command5.Click = [this] { Command5_Click(); };
    if (f.Command18.has(1)) f.Command18[1].Click = [this] { removeFromFileList(); };
}

}  // namespace tarvolin
