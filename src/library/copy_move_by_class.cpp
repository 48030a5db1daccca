// The Files menu's Copy and Move submenus: copying or moving all tracks, one
// class, the unmarked or the selected tracks to a folder the user picks, and
// the two "Point to new Path" switches.
#include "app/program.h"
#include "library/library.h"

namespace tarvolin {

namespace {

// The words that name the tracks of a MoveClassCode in the question.
struct Wording {
    const char* greek;
    const char* english;
};

Wording wordingOf(std::int32_t which) {
    switch (which) {
        case 0: return {" όλα τα αρχεία", " all"};
        case 1: return {"  όλα τα αρχεία C' Kλάσης", " all the C' Class"};
        case 2: return {"  όλα τα αρχεία B' Kλάσης", "  all the B' Class"};
        case 3: return {"  όλα τα αρχεία A' Kλάσης", "  all the A' Class"};
        case 4: return {"  όλα τα αρχεία X' Kλάσης", "  all the X' Class"};
        case 5: return {"  όλα τα Ασημείωτα αρχεία", "  all the Unmarked"};
        case 6: return {"  όλα τα αρχεία Υπέρ Kλάσης", "  all the Supper Class"};
        default: return {"  όλα τα Επιλεγμένα αρχεία", "  all the Selected"};
    }
}

}  // namespace

void Library::MoveSelected(std::int32_t Move, std::int32_t Which) {
    ModuleState& s = app.state;
    Form1& f = app.Form1;
    Dialogs& dialogs = app.dialogs();
    if (f.List2.ListCount() == 0) return;
    BulkScope busy(s, BulkScope::Busy, false);
    s.MoveClassCode = Which;

    const std::int64_t count = moveClassCount(Which);
    if (count == 0) {
        dialogs.MsgBox("Δεν υπάρχουν αρχεία αυτής της κατηγορίας - There aren't any files of this category",
                       mb::Exclamation);
        return;
    }

    std::string folder;
    app.collection.Pick_Folder(folder);
    if (s.DestFolder.empty()) {
        dialogs.MsgBox("Δεν έχετε επιλέξει Φάκελο Μετακίνησης - You have not setted a Destination Directory",
                       mb::Critical);
        return;
    }

    const bool copy = Move == 0;
    const Wording words = wordingOf(Which);
    const std::string question = std::string("Πρόκειται να ") + (copy ? "αντιγράψετε" : "μετακινήσετε") +
                                 words.greek + " στον κατάλογο: " + s.DestFolder + "\r\n" + " - You are going to " +
                                 (copy ? "copy" : "move") + words.english + " files to directory: " + s.DestFolder;
    if (dialogs.MsgBox(question, mb::OKCancel + mb::Question) == mb::Cancel) return;

    std::int32_t operation = copy ? 0 : 1;
    bool cancelled = false;
    bool stopped = false;
    Copy_Move_Delete_Files(0, Which, operation, Currency::fromInteger(count), cancelled, stopped);

    // The table follows new paths and tracks that left the collection.
    saveAfterFileCommand((copy && s.FileCopyReference) || (!copy && !cancelled));
}

void Library::MnuFileCopy_Click() { MoveSelected(0, -1); }
void Library::MnuFileCopyAll_Click() { MoveSelected(0, 0); }
void Library::MnuFileCopySClass_Click() { MoveSelected(0, 6); }
void Library::MnuFileCopyAClass_Click() { MoveSelected(0, 3); }
void Library::MnuFileCopyBClass_Click() { MoveSelected(0, 2); }
void Library::MnuFileCopyCClass_Click() { MoveSelected(0, 1); }
void Library::MnuFileCopyXClass_Click() { MoveSelected(0, 4); }
void Library::MnuFileCopyUnClass_Click() { MoveSelected(0, 5); }
void Library::mnufilesmove_Click() { MoveSelected(-1, -1); }
void Library::mnufilemoveall_Click() { MoveSelected(-1, 0); }
void Library::MnuFileMoveSClass_Click() { MoveSelected(-1, 6); }
void Library::MnuFileMoveAClass_Click() { MoveSelected(-1, 3); }
void Library::MnuFileMoveBClass_Click() { MoveSelected(-1, 2); }
void Library::MnuFileMoveCClass_Click() { MoveSelected(-1, 1); }
void Library::MnuFileMoveXClass_Click() { MoveSelected(-1, 4); }
void Library::MnuFileMoveUnClass_Click() { MoveSelected(-1, 5); }

void Library::MnuFilecopyreference_Click() {
    MenuItem& item = app.Form1.MnuFilecopyreference;
    item.setChecked(!item.Checked());
    app.state.FileCopyReference = item.Checked();
}

void Library::MnuFileMoveReference_Click() {
    MenuItem& item = app.Form1.MnuFileMoveReference;
    item.setChecked(!item.Checked());
    app.state.FileMoveReference = item.Checked();
}

void Library::wireCopyMoveDelete() {
    Form1& f = app.Form1;
    f.MnuFileCopy.Click = [this] { MnuFileCopy_Click(); };
    f.MnuFileCopyAll.Click = [this] { MnuFileCopyAll_Click(); };
    f.MnuFileCopySClass.Click = [this] { MnuFileCopySClass_Click(); };
    f.MnuFileCopyAClass.Click = [this] { MnuFileCopyAClass_Click(); };
    f.MnuFileCopyBClass.Click = [this] { MnuFileCopyBClass_Click(); };
    f.MnuFileCopyCClass.Click = [this] { MnuFileCopyCClass_Click(); };
    f.MnuFileCopyXClass.Click = [this] { MnuFileCopyXClass_Click(); };
    f.MnuFileCopyUnClass.Click = [this] { MnuFileCopyUnClass_Click(); };
    f.MnuFilecopyreference.Click = [this] { MnuFilecopyreference_Click(); };
    f.mnufilesmove.Click = [this] { mnufilesmove_Click(); };
    f.mnufilemoveall.Click = [this] { mnufilemoveall_Click(); };
    f.MnuFileMoveSClass.Click = [this] { MnuFileMoveSClass_Click(); };
    f.MnuFileMoveAClass.Click = [this] { MnuFileMoveAClass_Click(); };
    f.MnuFileMoveBClass.Click = [this] { MnuFileMoveBClass_Click(); };
    f.MnuFileMoveCClass.Click = [this] { MnuFileMoveCClass_Click(); };
    f.MnuFileMoveXClass.Click = [this] { MnuFileMoveXClass_Click(); };
    f.MnuFileMoveUnClass.Click = [this] { MnuFileMoveUnClass_Click(); };
    f.MnuFileMoveReference.Click = [this] { MnuFileMoveReference_Click(); };

    f.mnufiledeleteS.Click = [this] { mnufiledeleteS_Click(); };
    f.mnufiledeleteA.Click = [this] { mnufiledeleteA_Click(); };
    f.mnufiledeleteB.Click = [this] { mnufiledeleteB_Click(); };
    f.mnufiledeleteC.Click = [this] { mnufiledeleteC_Click(); };
    f.mnufiledeleteX.Click = [this] { mnufiledeleteX_Click(); };
    f.mnufiledeleteunclass.Click = [this] { mnufiledeleteunclass_Click(); };
    f.mnufilesdelete.Click = [this] { mnufilesdelete_Click(); };
    f.mnufiledeleteall.Click = [this] { mnufiledeleteall_Click(); };
    f.mnufiledeletedisk.Click = [this] { mnufiledeletedisk_Click(); };
    f.mnufiledeleterecycle.Click = [this] { mnufiledeleterecycle_Click(); };
    f.mnufiledeleteevendiskerror.Click = [this] { mnufiledeleteevendiskerror_Click(); };

    if (CommandButton* action = f.Command16.get(0)) action->Click = [this] { Command16_Click(0); };
}

}  // namespace tarvolin
