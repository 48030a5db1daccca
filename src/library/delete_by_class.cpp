// The Files menu's Delete submenu: deleting all tracks, one class, the
// unmarked or the selected tracks, from the collection or from the disk too,
// and its three switches.
#include "app/program.h"
#include "library/library.h"

namespace tarvolin {

void Library::Pro_File_Del(std::int32_t Which) {
    ModuleState& s = app.state;
    Form1& f = app.Form1;
    if (f.List2.ListCount() == 0) return;
    s.MoveClassCode = Which;

    const std::int64_t count = moveClassCount(Which);
    if (count == 0) {
        app.dialogs().MsgBox("Δεν υπάρχουν αρχεία αυτής της κατηγορίας - There aren't any files of this category",
                             mb::Exclamation);
        return;
    }

    std::int32_t operation = 2;
    bool cancelled = false;
    bool stopped = false;
    BulkScope busy(s, BulkScope::Busy, false);
    Copy_Move_Delete_Files(0, Which, operation, Currency::fromInteger(count), cancelled, stopped);
    if (cancelled) return;
    if (stopped && f.List2.ListCount() > 0) app.playback.Step_Track();

    saveAfterFileCommand(true);
}

void Library::mnufiledeleteS_Click() { Pro_File_Del(6); }
void Library::mnufiledeleteA_Click() { Pro_File_Del(3); }
void Library::mnufiledeleteB_Click() { Pro_File_Del(2); }
void Library::mnufiledeleteC_Click() { Pro_File_Del(1); }
void Library::mnufiledeleteX_Click() { Pro_File_Del(4); }
void Library::mnufiledeleteunclass_Click() { Pro_File_Del(5); }
void Library::mnufilesdelete_Click() { Pro_File_Del(-1); }
void Library::mnufiledeleteall_Click() { Pro_File_Del(0); }

void Library::mnufiledeletedisk_Click() {
    Form1& f = app.Form1;
    f.mnufiledeletedisk.setChecked(!f.mnufiledeletedisk.Checked());
    const bool on = f.mnufiledeletedisk.Checked();
    app.state.DeleteFromDisk = on;
    f.mnufiledeleterecycle.setEnabled(on);
    f.Check3.setEnabled(on);
    f.mnufiledeleteevendiskerror.setEnabled(on);
}

void Library::mnufiledeleterecycle_Click() {
    Form1& f = app.Form1;
    f.mnufiledeleterecycle.setChecked(!f.mnufiledeleterecycle.Checked());
    const bool on = f.mnufiledeleterecycle.Checked();
    f.Check3.setValue(on ? 1 : 0);
    app.state.DeleteToRecycle = on;
}

void Library::mnufiledeleteevendiskerror_Click() {
    Form1& f = app.Form1;
    f.mnufiledeleteevendiskerror.setChecked(!f.mnufiledeleteevendiskerror.Checked());
    app.state.DeleteEvenOnDiskError = f.mnufiledeleteevendiskerror.Checked();
}

}  // namespace tarvolin
