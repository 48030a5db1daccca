// The filter page's file actions: copying, moving or deleting the files of
// the tracks that the track table shows, or of its selected lines.
#include "app/program.h"
#include "library/library.h"

namespace tarvolin {

void Library::Command16_Click(int Index) {
    ModuleState& s = app.state;
    Form1& f = app.Form1;
    Dialogs& dialogs = app.dialogs();
    const std::string br = "\r\n";
    if (s.Filtering) return;
    if (Index == 1) {
        showAllTracks();
        return;
    }

    std::int32_t operation = 2;
    if (f.Option3.has(0) && f.Option3[0].Value()) {
        operation = 0;
    } else if (f.Option3.has(1) && f.Option3[1].Value()) {
        operation = 1;
    }
    std::string greekVerb, englishVerb;
    switch (operation) {
        case 0:
            greekVerb = "ΑΝΤΙΓΡΑΨΕΤΕ";
            englishVerb = "COPY";
            break;
        case 1:
            greekVerb = "ΜΕΤΑΚΙΝΗΣΕΤΕ";
            englishVerb = "MOVE";
            break;
        default:
            greekVerb = std::string("ΔΙΑΓΡΑΨΕΤΕ") + (s.DeleteToRecycle ? " στον ΚΑΔΟ ΑΝΑΚΥΚΛΩΣΗΣ" : " από τον ΔΙΣΚΟ ΣΑΣ");
            englishVerb = std::string("DELETE") + (s.DeleteToRecycle ? " to the RECYCLE BIN" : " from your DISK");
            break;
    }

    if (operation != 2 && s.DestFolder.empty()) {
        dialogs.MsgBox("Δεν έχετε επιλέξει Φάκελο Μετακίνησης - You have not setted a Destination Directory",
                       mb::Critical);
        return;
    }

    // The filters in use, the last box first.
    std::string criteria;
    for (ComboBox& box : f.Combo4_0) {
        if (box.Text().empty()) continue;
        const int k = box.Index();
        const std::string caption = f.Label12.has(k) ? f.Label12[k].Caption() : std::string();
        criteria = "|" + caption + ": " + box.Text() + " | " + br + criteria;
    }
    if (criteria.empty()) {
        std::string lines;
        for (int j = 0; j < f.List5.ListCount(); ++j) {
            if (f.List5.Selected(j)) lines += Left(f.List5.List(j), 60) + "..." + br;
        }
        if (lines.empty()) {
            dialogs.MsgBox("Δεν υπάρχουν κριτήρια επιλογής! - No current criterions selected!", mb::Information);
            return;
        }
        criteria = "Όλα τα ΕΠΙΛΕΓΜΕΝΑ αρχεία; - All SELECTED files?" + br + br + lines + br + "κ.λ.π. - ecc";
    }

    const std::string question = "Θέλετε σίγουρα να " + greekVerb + " τα αρχεία με τα ακόλουθα κριτήρια;" + br +
                                 "Are you sure you want to " + englishVerb + " files with the following criterion?" +
                                 br + br + criteria;
    if (dialogs.MsgBox(question, mb::YesNo + mb::Question) == mb::No) return;

    // The progress counts the lines the worker takes: the selected track
    // lines of the table shown, else all of its track lines.
    const ListBox& shown = f.List5.Enabled() ? f.List5 : f.List4;
    std::int64_t total = 0, selected = 0;
    for (int j = 2; j < shown.ListCount(); ++j) {
        ++total;
        if (shown.Selected(j)) ++selected;
    }
    if (selected > 0) total = selected;
    if (total < 1) total = 1;

    bool cancelled = false;
    bool stopped = false;
    BulkScope busy(s, BulkScope::Busy, false);
    Copy_Move_Delete_Files(-1, 0, operation, Currency::fromInteger(total), cancelled, stopped);
    if (cancelled) return;

    if (operation == 1 || operation == 2 || s.FileCopyReference) {
        if (f.List3_0.has(0)) {
            ListBox& numbers = f.List3_0[0];
            numbers.setVisible(false);
            numbers.Clear();
            for (int i = 1; i <= f.List2.ListCount(); ++i) numbers.AddItem(Format(i, "000000"));
            numbers.setVisible(true);
        }
        saveAfterFileCommand(true);
    }
}

}  // namespace tarvolin
