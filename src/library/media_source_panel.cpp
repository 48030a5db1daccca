// The media source panel: drive, folder and file lists, the media types, the
// subfolder search with its folder list, and the buttons that add the files
// found to the collection.
#include <array>
#include <utility>

#include "app/program.h"
#include "collection/store_files.h"
#include "library/library.h"

namespace tarvolin {

namespace {

const char* const kSelectAll = "Επέλεξε Όλους - Select All";
const char* const kSelectNone = "Κανένας - None";

// First and last entry of List3 that each type group selects.
constexpr std::array<std::pair<int, int>, 5> kTypeGroups = {{
    {0, 31},   // every type
    {0, 13},   // sound
    {14, 28},  // video
    {29, 31},  // playlists
    {0, 0},    // the first type only
}};

}  // namespace

void Library::Drive1_Change() {
    Form1& f = app.Form1;
    if (!f.Dir1.setPath(f.Drive1.Drive())) {
        app.dialogs().MsgBox("Ο δίσκος δεν είναι διαθέσιμος - The drive is not available: " + f.Drive1.Drive(),
                             mb::OKOnly + mb::Critical);
    }
    f.Dir1.Refresh();
}

void Library::Dir1_change() {
    Form1& f = app.Form1;
    app.state.FolderListStale = true;
    // Setting the path lists the folder afresh.
    if (!f.File1.setPath(f.Dir1.Path())) {
        app.dialogs().MsgBox("Ο φάκελος δεν είναι διαθέσιμος - The folder is not available: " + f.Dir1.Path());
        f.File1.Refresh();
    }
}

void Library::List3_Click() {
    if (app.state.Busy) return;
    Form1& f = app.Form1;
    std::string pattern;
    for (int k = 0; k < f.List3.ListCount(); ++k) {
        if (!f.List3.Selected(k)) continue;
        if (!pattern.empty()) pattern += ';';
        pattern += f.List3.List(k);
    }
    app.state.FolderListStale = true;
    // The new pattern lists the folder again; so does a change of folder.
    f.File1.setPattern(pattern);
    if (f.File1.Path() != f.Dir1.Path()) f.File1.setPath(f.Dir1.Path());
}

void Library::Command7_Click(int Index) {
    if (Index < 0 || Index >= static_cast<int>(kTypeGroups.size())) return;
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    typeGroupOn_ = Index == lastTypeGroup_ ? !typeGroupOn_ : true;

    {
        BulkScope busy(s, BulkScope::Busy);
        for (int k = 0; k < f.List3.ListCount(); ++k) f.List3.setSelected(k, false);
        if (typeGroupOn_) {
            auto [first, last] = kTypeGroups[static_cast<std::size_t>(Index)];
            if (Index == 0) last = f.List3.ListCount() - 1;
            for (int k = first; k <= last && k < f.List3.ListCount(); ++k) f.List3.setSelected(k, true);
        }
    }
    List3_Click();
    lastTypeGroup_ = Index;
}

void Library::Command18_Click(int Index) {
    Form1& f = app.Form1;
    // Without a type the file list shows nothing: that is the message
    // the user needs, so it is asked first.
    if (f.List3.SelCount() == 0) {
        app.dialogs().MsgBox("Eπιλέξτε τουλάχιστον έναν τύπο πολυμεσικού αρχείου - Select at least one type of media file",
                             mb::OKOnly + mb::Exclamation);
        return;
    }
    if (f.File1.ListCount() == 0) {
        app.dialogs().MsgBox(
            "Δεν υπάρχουν αρχεία αναζήτησης σε αυτό τον φάκελο - There aren't any under search type files in this Directory",
            mb::OKOnly + mb::Exclamation);
        return;
    }
    f.Check2.setValue(0);
    // These buttons act on the file list: it is the source now, also when the
    // box was clear already and its handler did not run.
    app.state.ScanFromFileList = false;
    f.MultiPage1.setValue(3);
    if (Index == 0) app.media.Add_Files_From_Folders();
}

void Library::Check2_Click() {
    ModuleState& s = app.state;
    if (s.Busy) return;
    Form1& f = app.Form1;
    if (f.Check2.Value() == 1) {
        f.List1.setEnabled(true);
        f.Frame10.setEnabled(true);
        if (!s.Busy && s.FolderListStale) YpoFakel();
    } else {
        f.List1.setEnabled(false);
        f.Frame10.setEnabled(false);
    }
    const bool on = f.Check2.Value() == 1;
    s.ScanFromFileList = on;
    if (f.List1.ListCount() == 0) {
        f.List1.setEnabled(on);
        f.Command1[0].setEnabled(on);
        f.Command2.setEnabled(on);
        f.Option1_0.setEnabled(on);
        f.Option1_1.setEnabled(on);
    }
    if (!s.Busy) f.MultiPage1.setValue(3);
}

void Library::YpoFakel() {
    ModuleState& s = app.state;
    if (!s.FolderListStale || s.Busy) return;
    Form1& f = app.Form1;
    BulkScope busy(s, BulkScope::Busy);
    const std::string root = f.Dir1.Path();

    if (f.List1.ListCount() > 0 && f.List1.List(0) == storefiles::asFolder(root) && s.ScanFromFileList) {
        if (app.dialogs().MsgBox("Νέα έρευνα για φακέλους; - New direcotry search?", mb::YesNo + mb::Question) == mb::No) {
            f.Check2.setValue(0);
            return;
        }
    }

    f.List1.Clear();
    f.Frame1.setEnabled(false);
    f.Check2.setEnabled(false);
    app.media.Search_Subfolders(root);
    if (s.AbortKey == 27) {
        s.AbortKey = 0;
        f.Check2.setValue(0);
    } else {
        s.FolderListStale = false;
    }
    f.Frame1.setEnabled(true);
    f.Check2.setEnabled(true);
}

void Library::Command1_Click(int Index) {
    Form1& f = app.Form1;
    ListBox& folders = f.List1;
    if (Index == 0) {
        CommandButton& button = f.Command1[0];
        const bool selectAll = button.Caption() == kSelectAll;
        for (int k = 0; k < folders.ListCount(); ++k) folders.setSelected(k, selectAll);
        button.setCaption(selectAll ? kSelectNone : kSelectAll);
    } else if (Index == 1) {
        for (int k = 0; k < folders.ListCount(); ++k) folders.setSelected(k, !folders.Selected(k));
    }
}

void Library::Command2_Click() { app.state.AbortKey = 27; }

void Library::Form_KeyDown(int KeyCode, int /*Shift*/) {
    // Esc asks a long run to stop; any other key takes the request back.
    app.state.AbortKey = KeyCode == 27 ? 27 : 0;
}

void Library::Command19_Click() {
    std::string folder;
    app.collection.Pick_Folder(folder);
}

void Library::Command4_Click() {
    Form1& f = app.Form1;
    app.media.Add_Files_From_Folders();
    f.MultiPage1.setValue(0);
    app.media.Identify_File_Properties(-1);
    app.loop().DoEvents();
    Remake_Filters();
}

void Library::wireMediaSourcePanel() {
    Form1& f = app.Form1;
    f.Drive1.Change = [this] { Drive1_Change(); };
    f.Dir1.Change = [this] { Dir1_change(); };
    f.List3.Click = [this] { List3_Click(); };
    for (CommandButton& b : f.Command7) {
        const int i = b.Index();
        b.Click = [this, i] { Command7_Click(i); };
    }
    // The remove button of the file list is wired with the removal by path.
    f.Command18[0].Click = [this] { Command18_Click(0); };
    f.Check2.Click = [this] { Check2_Click(); };
    for (CommandButton& b : f.Command1) {
        const int i = b.Index();
        b.Click = [this, i] { Command1_Click(i); };
    }
    f.Command2.Click = [this] { Command2_Click(); };
    f.Command4.Click = [this] { Command4_Click(); };
    f.Command19.Click = [this] { Command19_Click(); };
    f.KeyDown = [this](int& keyCode, int shift) { Form_KeyDown(keyCode, shift); };
}

}  // namespace tarvolin
