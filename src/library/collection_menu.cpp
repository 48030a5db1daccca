// The collection items of the Files menu: a new collection, open, merge,
// save, save under another name, the auto-save switch, the resets, and the
// deletion of the collection file; the player-library items beside them.
#include "app/program.h"
#include "collection/store_files.h"
#include "library/library.h"
#include "toolkit/record_file.h"

namespace tarvolin {

namespace sf = storefiles;

namespace {

const char* const kCollectionFilter = "Tarvolin (*.tlf) | *.tlf";
const char* const kWrongEnding = "Το όνομα πρέπει να τελειώνει σε [.tlf] should be the ending of the file";

// The last four characters are exactly ".tlf", letter case included.
bool hasCollectionEnding(const std::string& path) { return Right(path, 4) == ".tlf"; }

std::string collectionsFolder(Program& app) {
    return app.AppFolder() + CollectionStore::dataFolderName(1) + "/";
}

// The common dialog for a collection file; "" when it was cancelled or
// gave no name.
std::string chooseCollectionFile(Program& app, bool save, const std::string& title, const std::string& preset) {
    FileDialogRequest req;
    req.Filter = kCollectionFilter;
    req.InitDir = collectionsFolder(app);
    req.DialogTitle = title;
    req.FileName = preset;
    req.Flags = save ? 2050 : 4096;
    const bool chosen = save ? app.dialogs().ShowSave(req) : app.dialogs().ShowOpen(req);
    return chosen ? req.FileName : std::string();
}

// Whether a collection file may take the current collection's place. What
// its load would refuse (another version, an impossible track count, a
// header that cannot be read) is refused here, before anything is emptied,
// with the message or log line that load gives.
bool collectionFileAcceptable(Program& app, const std::string& path) {
    auto loadError = [&] {
        app.collection.logLine(" --->Λάθος κατά τη φόρτωση της συλλογής \"" + path + "\" -> Error while loading Collection");
        return false;
    };
    // A file that is not there yet makes a new, empty collection.
    if (!sf::exists(path)) return true;
    const std::int64_t size = sf::fileSize(path);
    RecordFile file;
    if (!file.Open(path, RecordFile::Mode::Read, sf::kCollectionRecord)) return size == 0 ? true : loadError();
    std::string version;
    if (!file.GetString(1, version)) return loadError();
    if (version.empty()) return size > 0 ? loadError() : true;
    if (version != app.state.VersionText) {
        app.dialogs().MsgBox("Συλλογή δημιουργημένη με διαφορετική έκδοση - Collection Created with different version",
                             mb::Exclamation);
        return false;
    }
    std::int32_t count = 0;
    if (file.GetLong(6, count) && !file.pastEnd()) {
        if (count > kMaxTracks) {
            app.dialogs().MsgBox("Η παρούσα συλλογή ξεπερνά το όριο κομματιών " + Str(kMaxTracks) +
                                     " New Collection exceeds this limit",
                                 mb::Critical);
            return false;
        }
        if (count < 0) return loadError();
    }
    return true;
}

}  // namespace

void Library::saveCollectionTold() {
    if (!saveCollectionReported(false)) return;
    app.collection.logLine(" -> Σώθηκε - Saved");
    app.announce("Σώθηκε - Saved");
}

bool Library::saveCollectionReported(bool FullRewrite) {
    CollectionStore& store = app.collection;
    // A save that the store refuses leaves CollectionSaved as it was.
    const bool refused =
        !store.RefusedCollectionPath.empty() && store.RefusedCollectionPath == store.d.CollectionPath;
    store.Save_Collection(false, FullRewrite);
    return !refused && store.d.CollectionSaved;
}

void Library::mnuFileOpen_Click() {
    CollectionStore& store = app.collection;
    CollectionData& d = store.d;
    if (!d.CollectionSaved) store.Save_Collection(true, false);

    const std::string path = chooseCollectionFile(app, false, "Άνοιγμα Νέας Συλλογής - Open New Collection", "");
    if (path.empty()) return;
    if (!hasCollectionEnding(path)) {
        app.dialogs().MsgBox(kWrongEnding, mb::OKOnly + mb::Exclamation);
        return;
    }
    if (!collectionFileAcceptable(app, path)) return;

    d.CollectionPath = path;
    store.Reset_Collection(0);
    app.Form1.MultiPage1.setValue(0);
    store.Load_Collection();
    // The menus show the class choice that came with the file.
    store.syncClassChoiceMenus();
    store.Calculate_Ratings();
    d.ClassLabelsDirty = true;
    store.showFirstTrackRating();
    app.playback.Command3_Click(0);
}

void Library::mnuFileSave_Click() {
    // The user asked for this save: a refusal is shown again.
    app.collection.RefusalTold = false;
    saveCollectionTold();
}

void Library::mnuFileSaveAs_Click() {
    CollectionStore& store = app.collection;
    store.Make_Data_Folder(1);
    store.Make_Data_Folder(3);

    const std::string path = chooseCollectionFile(app, true, "Σώσιμο Αρχείου - Save File", store.d.CollectionPath);
    if (path.empty()) return;
    if (!hasCollectionEnding(path)) {
        app.dialogs().MsgBox("Δε σώθηκε η συλλογή. " + std::string(kWrongEnding) + ". Collection was not saved",
                             mb::OKCancel + mb::Critical);
        return;
    }

    store.d.CollectionPath = path;
    // The default file names the new file only once the collection is in it.
    if (saveCollectionReported(true)) store.Save_Last_Collection();
    store.Etiketes_Synol_Songs();
}

void Library::MnuFileMerge_Click() {
    CollectionStore& store = app.collection;
    CollectionData& d = store.d;
    if (app.dialogs().MsgBox("Είστε σίγουροι ότι θέλετε να ενώσετε την παρούσα συλλογή με μία διαφορετική; \r\n"
                             "Are you sure you want to merge this collection with a different one?",
                             mb::YesNo + mb::Question) != mb::Yes) {
        return;
    }
    if (!d.CollectionSaved) store.Save_Collection(true, false);

    const std::string path =
        chooseCollectionFile(app, false, "Πρόσθεση Νέας Συλλογής στην Παρούσα - Add New Collection to the Existing", "");
    if (path.empty()) return;
    if (!hasCollectionEnding(path)) {
        app.dialogs().MsgBox(kWrongEnding, mb::OKOnly + mb::Exclamation);
        return;
    }
    if (path == d.CollectionPath) {
        app.dialogs().MsgBox("Προσπαθείτε να φορτώσετε δύο φορές την ίδια Συλλογή! - You are trying to load the same Collection twice!",
                             mb::OKOnly + mb::Exclamation);
        return;
    }

    // The merged collection takes a name of its own beside the current file.
    std::string otherName;
    CollectionStore::File_Name_Of_Path(path, otherName);
    d.CollectionPath = sf::withoutExtension(d.CollectionPath) + "_Merged_" + sf::withoutExtension(otherName) + ".tlf";

    app.Form1.MultiPage1.setValue(0);
    store.Merge_Collection(path);
    // Nothing is stored under the new name yet.
    d.CollectionSaved = false;
    Refresh_Filters();
    store.Etiketes_Synol_Songs();
    store.Show_Time_Totals();
    d.ClassLabelsDirty = true;
    store.Show_Class_Counts();
}

void Library::mnufilesnew_Click() {
    CollectionStore& store = app.collection;
    CollectionData& d = store.d;
    if (app.Form1.List2.ListCount() > 0) {
        if (app.dialogs().MsgBox("Θέλετε σίγουρα νέα συλλογή;\r\nDo you really want new collection?",
                                 mb::YesNo + mb::Question) != mb::Yes) {
            return;
        }
        store.Save_Collection(false, false);
    }

    store.Reset_Collection(0);
    store.Calculate_Ratings();
    d.ClassLabelsDirty = true;
    store.showFirstTrackRating();

    // A number of the generator; a name already taken moves on to the next.
    std::int64_t n = CInt(static_cast<double>(app.random.Rnd()) * 100);
    auto nameOf = [&](std::int64_t k) { return collectionsFolder(app) + "new_collection" + std::to_string(k) + ".tlf"; };
    while (sf::exists(nameOf(n))) ++n;
    d.CollectionPath = nameOf(n);

    mnuFileSaveAs_Click();
}

void Library::mnuFileReset_Click() {
    CollectionStore& store = app.collection;
    if (app.Form1.List2.ListCount() == 0) return;
    if (app.dialogs().MsgBox("Θέλετε σίγουρα να μηδενήσετε την συλλογή;\r\n"
                             "Θα διαγραφούν όλες οι προτιμήσεις πολυμέσων ενώ η αναπαραγωγή θα αρχίσει από την αρχή ξανά.\r\n"
                             "Do you really want to reset the collection?\r\n"
                             " All favorites will be reseted and reproduction will start over.",
                             mb::YesNo + mb::Question) != mb::Yes) {
        return;
    }
    store.Reset_Collection(1);
    store.Save_Collection(true, false);
    Add_Filters();
    app.loop().DoEvents();
    Reboot_Filters();
    Filtered_Songs_List(-1);
}

void Library::mnufilefavorreset_Click() { app.collection.Reset_Collection(2); }

void Library::mnufiledelete_Click() {
    CollectionStore& store = app.collection;
    CollectionData& d = store.d;
    if (d.CollectionPath == store.defaultCollectionPath()) {
        const std::string name = std::string(CollectionStore::dataFolderName(1)) + "/tarvolin.tlf";
        app.collection.logLine("-> Η αρχική συλλογή \"" + name + "\" δεν γίνεται να διαγραφεί! - Default collection  \"" + name +
                         "\" cannot be deleted!");
        return;
    }
    if (app.dialogs().MsgBox("Θέλετε σίγουρα να διαγράψετε τη συλλογή \"" + d.CollectionPath + "\" από τον δίσκο; \r\n" +
                                 "Do you really want to delete the collection \"" + d.CollectionPath + "\" from disc?",
                             mb::YesNo + mb::Critical) != mb::Yes) {
        return;
    }
    std::int32_t failed = 0;
    app.media.Delete_File_Or_Collection(d.CollectionPath, failed);
    if (failed == -1) {
        app.dialogs().MsgBox("Λάθος κατά τη διαγραφή της συλλογής - Error while deleting collection",
                             mb::OKOnly + mb::Exclamation);
    }
    // The tracks stay: a later save writes the collection again.
    d.CollectionSaved = false;
}

void Library::mnuFileSaveAsAuto_Click() {
    MenuItem& item = app.Form1.mnuFileSaveAsAuto;
    item.setChecked(!item.Checked());
    app.state.AutoSave = item.Checked();
}

void Library::mnuFileCreateWPL_Click(int Index) {
    // The library playlist is named after the collection file.
    std::string name;
    CollectionStore::File_Name_Of_Path(app.collection.d.CollectionPath, name);
    name = sf::withoutExtension(name);
    switch (Index) {
        case 0: app.media.Save_As_WMP_Playlist(name); break;
        case 2: app.media.Open_Merge_WMP_Playlist(false, false, "", ""); break;
        case 3: app.media.Open_Merge_WMP_Playlist(true, false, "", ""); break;
        default: break;  // "Keep Updated" does nothing
    }
}

void Library::wireCollectionMenu() {
    Form1& f = app.Form1;
    f.mnufilesnew.Click = [this] { mnufilesnew_Click(); };
    f.mnuFileOpen.Click = [this] { mnuFileOpen_Click(); };
    f.MnuFileMerge.Click = [this] { MnuFileMerge_Click(); };
    for (int i = 0; i <= 3; ++i) {
        if (MenuItem* item = f.mnuFileCreateWPL.get(i)) item->Click = [this, i] { mnuFileCreateWPL_Click(i); };
    }
    f.mnuFileSave.Click = [this] { mnuFileSave_Click(); };
    f.mnuFileSaveAs.Click = [this] { mnuFileSaveAs_Click(); };
    f.mnuFileSaveAsAuto.Click = [this] { mnuFileSaveAsAuto_Click(); };
    f.mnuFileReset.Click = [this] { mnuFileReset_Click(); };
    f.mnufiledelete.Click = [this] { mnufiledelete_Click(); };
    f.mnufilefavorreset.Click = [this] { mnufilefavorreset_Click(); };
    f.mnustats.Click = [this] { mnustats_Click(); };
    f.mnustatsreset.Click = [this] { mnustatsreset_Click(); };
}

}  // namespace tarvolin
