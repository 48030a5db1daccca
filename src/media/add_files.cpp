// Growing the collection from the folders on disk: the files that the file
// list shows (one folder, or every folder of the subfolder list in turn) are
// appended as new tracks, and the subfolder search fills the subfolder list
// with every folder that holds files of the chosen media types.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <deque>
#include <set>
#include <utility>
#include <vector>

#include "app/program.h"
#include "collection/store_files.h"
#include "media/media_files.h"
#include "toolkit/runtime.h"

namespace tarvolin {

namespace {

const char* const kCrLf = "\r\n";

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The endings of the media types selected in List3: each pattern without its
// first character ("*.mp3" gives ".mp3"). A type selected twice counts twice.
std::vector<std::string> selectedEndings(const ListBox& types) {
    std::vector<std::string> endings;
    for (int k = 0; k < types.ListCount(); ++k) {
        if (!types.Selected(k)) continue;
        const std::string& pattern = types.List(k);
        endings.push_back(pattern.empty() ? std::string() : Mid(pattern, 2));
    }
    return endings;
}

struct FolderEntry {
    std::string key;  // name folded for sorting
    std::string name;
    bool folder = false;
};

// The visible entries of a folder (names beginning with "." are hidden),
// plain files and folders, sorted as the folder lists sort. Symbolic links
// count as what they point to; dangling ones are left out. False when the
// folder cannot be read.
bool listFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    DIR* dir = opendir(folder.c_str());
    if (!dir) return false;
    while (const dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name.empty() || name.front() == '.') continue;
        bool isFolder = false;
        bool isFile = false;
        if (e->d_type == DT_DIR) {
            isFolder = true;
        } else if (e->d_type == DT_REG) {
            isFile = true;
        } else if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
            struct stat st {};
            if (stat((folder + name).c_str(), &st) == 0) {
                isFolder = S_ISDIR(st.st_mode);
                isFile = S_ISREG(st.st_mode);
            }
        }
        if (!isFolder && !isFile) continue;
        entries.push_back({foldCase(name), name, isFolder});
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        return a.key != b.key ? a.key < b.key : a.name < b.name;
    });
    return true;
}

}  // namespace

int MediaFiles::findExactPath(const ListBox& list, const std::string& path) {
    // The list's own find ignores letter case; paths are told apart exactly.
    const int first = list.findStringExact(path, -1);
    if (first < 0) return -1;
    int i = first;
    do {
        if (list.List(i) == path) return i;
        i = list.findStringExact(path, i);
    } while (i >= 0 && i != first);
    return -1;
}

bool MediaFiles::appendTrack(const std::string& path) {
    Form1& f = app.Form1;
    CollectionData& d = app.collection.d;
    const int row = f.List2.ListCount();
    if (row + 1 > kMaxTracks || !app.collection.pathFitsCollection(path)) return false;
    d.resizeTrackTables(row + 1);
    d.emptyTrackEntry(static_cast<std::size_t>(row));
    if (!app.collection.appendTrackRow(static_cast<std::size_t>(row), path, false)) return false;
    d.TrackCount = row + 1;
    return true;
}

namespace {

// What adding files from folders works on and has come to: the source (the
// folder list, or the one folder of the file list), the index of its last
// entry, the heading that tells it, and the counts so far.
struct AddingRun {
    bool fromFolderList = false;
    int last = 0;
    std::string heading;
    std::int64_t added = 0;
    std::int64_t zeroLength = 0;
    std::int32_t doubles = 0;
    bool full = false;
};

// The status box emptied and the window locked; the play position of a
// track started later is its beginning.
void lockWindowForAdding(Program& app) {
    Form1& f = app.Form1;
    f.Text2[1].setText("");
    f.MnuSystemTray.setEnabled(false);
    f.setEnabled(false);
    app.collection.d.StartPosition = 0;
}

// The subfolder page comes forward, the report opens, the track count
// follows the rows and the lists are hidden while rows come. True when the
// report is kept.
bool prepareAdding(Program& app) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    CollectionStore& store = app.collection;
    CollectionData& d = store.d;
    {
        BulkScope busy(s, BulkScope::Busy);
        f.MultiPage1.setValue(3);
    }
    app.dialogs().setMousePointer(11);
    const bool report = s.KeepReport == -1;
    if (report) store.Report_File(-1);
    if (d.TrackCount != 0 && d.TrackCount != f.List2.ListCount()) d.TrackCount = f.List2.ListCount();
    store.Make_Invisible();
    return report;
}

// The source as the options stand now, and the heading that tells it.
AddingRun sourceOfAdding(const Form1& f, bool fromFolderList) {
    AddingRun run;
    run.fromFolderList = fromFolderList;
    std::string greek, english;
    if (fromFolderList) {
        run.last = f.List1.ListCount() - 1;
        if (f.Option1_0.Value()) {
            greek = "όλους τους φάκελους";
            english = "all directories";
        } else if (f.Option1_1.Value()) {
            greek = "τους επιλεγμένους φάκελους";
            english = "selected directories";
        }
    } else {
        run.last = f.File1.ListCount() - 1;
        if (f.Option4[0].Value()) {
            greek = "ενός φακέλου [" + f.File1.Path() + "]";
            english = "one directory [" + f.File1.Path() + "]";
        } else if (f.Option4[1].Value()) {
            greek = "επιλογές ενός φακέλου [" + f.File1.Path() + "]";
            english = "selection of one directory [" + f.File1.Path() + "]";
        }
    }
    run.heading = "-> Προστείθονται αρχεία από " + greek + ".Παρακαλώ περιμένετε... " + "- Adding files from " +
                  english + ". Please wait...";
    return run;
}

// One file becomes a new track, or is counted as a double or as empty; a
// path too long to be stored is left out (and logged with the summary), and
// a full collection ends the run.
void addFile(MediaFiles& media, AddingRun& run, const std::string& path) {
    CollectionStore& store = media.app.collection;
    const ListBox& tracks = media.app.Form1.List2;
    if (MediaFiles::findExactPath(tracks, path) >= 0) {
        ++run.doubles;
        return;
    }
    std::string checked = path;
    Currency bytes;
    store.Check_Zero_Length(checked, bytes);
    if (checked.empty()) {
        // Empty, gone since it was listed, or not readable.
        ++run.zeroLength;
    } else if (!store.pathFitsCollection(path)) {
        // Left out, and logged with the summary.
    } else if (tracks.ListCount() + 1 > kMaxTracks || !media.appendTrack(path)) {
        run.full = true;
    } else {
        ++run.added;
    }
}

// The files the file list shows (only its selected ones when so chosen),
// each told in the status box with the counts so far; a player playlist
// among them is imported. A full collection is told in a box.
void addFolderShown(MediaFiles& media, AddingRun& run) {
    Program& app = media.app;
    Form1& f = app.Form1;
    MessageLoop& loop = app.loop();
    const bool onlySelected = !run.fromFolderList && f.Option4[1].Value();
    const std::string folder = storefiles::asFolder(f.File1.Path());
    const int entries = f.File1.ListCount();
    for (int j = 0; j < entries; ++j) {
        if (onlySelected && !f.File1.Selected(j)) {
            loop.DoEvents();
            continue;
        }
        const std::string name = f.File1.List(j);
        const std::string ending = Right(name, 4);
        if (ending == ".wpl" || ending == ".m3u") {
            // A player playlist: its entries join the collection through
            // the playlist import, which writes its own status.
            media.Open_Merge_WMP_Playlist(true, true, "", folder + name);
            loop.DoEvents();
            continue;
        }
        addFile(media, run, folder + name);
        if (run.full) break;
        f.Text2[1].setText(TimeText(loop.now()) + run.heading + kCrLf + "Νέα αρχεία - New Files :" + Str(run.added) +
                           kCrLf + " ---> " + name + kCrLf +
                           "Διπλά αρχεία που δεν προστέθηκαν [υπάρχουν στη συλλογή] - Double Files that were not "
                           "added [allready in Collection]:" +
                           Str(run.doubles));
        loop.DoEvents();
        if (!run.fromFolderList && (j % 50 == 0 || j == run.last)) app.collection.Show_Progress(j, run.last, 0);
    }
    // A folder with more files than a list can show: once the collection
    // is full, the files the list could not show cannot be added either.
    if (!run.full && entries >= ListControl::MaxItems && f.List2.ListCount() >= kMaxTracks) run.full = true;
    if (run.full) {
        app.dialogs().MsgBox("Δεν είναι δυνατή η περαιτέρω προσθήκη πολυμέσων - It's not possible adding more media files",
                             mb::OKOnly + mb::Critical);
    }
}

// Every folder of the folder list in turn (only its selected ones when so
// chosen) shown in the file list and added, until the collection is full.
void addFoldersOfList(MediaFiles& media, AddingRun& run) {
    Form1& f = media.app.Form1;
    const bool onlySelected = f.Option1_1.Value();
    for (int i = 0; i <= run.last && i < f.List1.ListCount(); ++i) {
        if (!onlySelected || f.List1.Selected(i)) {
            // A folder that is gone is passed over; the file list keeps
            // nothing of the folder listed before.
            if (f.File1.setPath(f.List1.List(i))) addFolderShown(media, run);
        }
        if (run.full) break;
        if (i % 10 == 0 || i > run.last - 50) media.app.collection.Show_Progress(i, run.last, 0);
    }
}

// The lists shown again; the track tables follow the rows and the totals
// and the first row's rating are made again for the grown collection.
void settleAfterAdding(Program& app) {
    CollectionStore& store = app.collection;
    CollectionData& d = store.d;
    store.Make_Visible();
    d.TrackCount = app.Form1.List2.ListCount();
    d.resizeTrackTables(d.TrackCount);
    if (d.CurrentTrack < 0) d.CurrentTrack = 0;
    store.Calc_Favor_Totals();
    d.ClassLabelsDirty = true;
    // Shown for the first row with its own class, so that its class letter
    // (which a playlist may have given) stays.
    store.showFirstTrackRating();
    d.CollectionSaved = false;
}

// The counts in the status box, aloud and in the report; the totals shown
// and the window usable again.
void tellAdded(Program& app, const AddingRun& run, bool report) {
    Form1& f = app.Form1;
    CollectionStore& store = app.collection;
    store.logPathsLeftOut();
    TextBox& status = f.Text2[1];
    const std::string summary = "Αριθμός αρχείων που Προστέθηκαν - Number of Added files :" + Str(run.added) +
                                ". Λάθη σε αρχεία με μηδενικό μήκος - Error in files with zero bytes :" +
                                Str(run.zeroLength) + ". Διπλά αρχεία - Double Files :" + Str(run.doubles);
    status.setText(TimeText(app.loop().now()) + "-> " + summary + kCrLf + f.Text2[0].Text());
    app.announce(summary + ".");
    store.endFilesRun(report);
}

}  // namespace

void MediaFiles::Add_Files_From_Folders() {
    lockWindowForAdding(app);
    BulkScope suspend(app.state, BulkScope::Timer);
    const bool report = prepareAdding(app);

    AddingRun run = sourceOfAdding(app.Form1, app.state.ScanFromFileList);
    if (run.fromFolderList) {
        addFoldersOfList(*this, run);
    } else {
        addFolderShown(*this, run);
    }

    settleAfterAdding(app);
    suspend.end();
    tellAdded(app, run, report);
}

void MediaFiles::Search_Subfolders(const std::string& rootFolder) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    MessageLoop& loop = app.loop();
    auto timeNow = [&] { return TimeText(loop.now()); };

    // The folder list is filled hidden; the stop button is usable meanwhile.
    app.dialogs().setMousePointer(11);
    f.Command2.setEnabled(true);
    const std::string root = storefiles::asFolder(rootFolder);
    std::deque<std::string> queue{root};
    f.List1.setVisible(false);
    f.Text2[1].setText(timeNow() + "-> Αναζήτηση Υποφακέλων με τα επιλεγμένα Αρχεία - Searching Subdirectories with Selected Files" +
                       kCrLf);

    const std::vector<std::string> endings = selectedEndings(f.List3);
    std::int32_t foldersFound = 0, filesFound = 0;
    // Folders already walked, by device and inode: a link back up the tree
    // is not followed round again.
    std::set<std::pair<dev_t, ino_t>> visited;
    std::vector<FolderEntry> entries;
    bool cancelled = false;

    // The folders level by level: each one holding a chosen media type is
    // listed; Escape stops the search.
    while (!queue.empty() && !cancelled) {
        const std::string folder = std::move(queue.front());
        queue.pop_front();
        struct stat st {};
        if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) continue;
        if (!visited.insert({st.st_dev, st.st_ino}).second) continue;
        // A folder that cannot be read is passed over.
        if (!listFolder(folder, entries)) {
            loop.DoEvents();
            continue;
        }
        for (const FolderEntry& e : entries) {
            if (e.folder) {
                const std::string sub = folder + e.name + "/";
                queue.push_back(sub);
                f.Text2[2].setText(Str(foldersFound) + "--->" + sub);
            } else {
                for (const std::string& ending : endings) {
                    if (ending.empty() || !endsWith(e.name, ending)) continue;
                    if (findExactPath(f.List1, folder) < 0) {
                        f.List1.AddItem(folder);
                        ++foldersFound;
                    }
                    ++filesFound;
                }
            }
            if (s.AbortKey == 27) {
                f.Text2[1].prependLine(timeNow() + "-> Ακυρώθηκε - Canceled");
                f.Check2.setValue(0);
                s.FolderListStale = true;
                cancelled = true;
                break;
            }
            loop.DoEvents();
        }
        if (!cancelled) loop.DoEvents();
    }

    // The counts found, in the status box and the frame's caption.
    const std::string counts = "Υποφάκελοι - Subdirectories -->" + Str(foldersFound) + " Αρχεία - Files --->" + Str(filesFound);
    f.List1.setVisible(true);
    f.Command2.setEnabled(false);
    f.Text2[1].prependLine(timeNow() + counts);
    f.Text2[1].prependLine(timeNow() + "-> Έτοιμο - Ready");
    f.Text2[2].setText("");
    f.Frame8.setCaption(counts);
    app.dialogs().setMousePointer(0);
}

}  // namespace tarvolin
