// Searching the track tables for a text: the table's own search button
// marks the lines that hold the text and clears the others; the search
// button of the play-control page switches the filters off first and adds
// the lines that hold the text to the selection.
#include <string>

#include "app/program.h"
#include "library/library.h"
#include "toolkit/runtime.h"

namespace tarvolin {

namespace {

const char* const kTypeText = "Πληκτρολογήστε κείμενο για αναζήτηση - Type text to search";

// The text searched for: trimmed, in small letters, folded for comparing.
std::string searchKey(const std::string& typed) { return foldCase(LCase(Trim(typed))); }

bool holds(const std::string& line, const std::string& key) {
    return foldCase(line).find(key) != std::string::npos;
}

}  // namespace

void Library::Command17_Click() {
    Form1& f = app.Form1;
    // Not while a table is being filtered; an empty search box is told.
    if (app.state.Filtering) return;
    const std::string& typed = f.Text2[4].Text();
    if (typed.empty()) {
        app.dialogs().MsgBox(kTypeText, mb::Information);
        return;
    }
    // The text as a whole line, and as the key searched for in the lines.
    const std::string s = LCase(Trim(typed));
    const std::string key = searchKey(typed);
    // The table enabled is the one on display.
    ListBox* table = f.List5.Enabled() ? &f.List5 : (f.List4.Enabled() ? &f.List4 : nullptr);
    // A whole line typed in is not searched for.
    if (f.List4.findStringExact(s) >= 0) return;
    // Both tables disabled: a table is being built, nothing to mark.
    if (!table) return;
    int last = -1;
    for (int k = 2; k < table->ListCount(); ++k) {
        if (holds(table->List(k), key)) {
            table->setSelected(k, true);
            last = k;
        } else {
            table->setSelected(k, false);
        }
    }
    // The current line is the last one found.
    if (last >= 0) table->setListIndex(last);
}

void Library::Command6_Click(int Index) {
    Form1& f = app.Form1;
    if (Index != 0) return;
    // An empty search box is told.
    const std::string& typed = f.Text2[3].Text();
    if (typed.empty()) {
        app.dialogs().MsgBox(kTypeText, mb::Information);
        return;
    }
    // The text as a whole path, and as the key searched for in the lines.
    const std::string s = LCase(Trim(typed));
    const std::string key = searchKey(typed);
    // The filters off: the full table is shown.
    Reboot_Filters();
    Filtered_Songs_List(0);
    // A track path typed in whole is not searched for. The lines are
    // marked in the table on display.
    if (f.List2.findStringExact(s, 0) < 0) {
        ListBox* table = f.List5.Enabled() ? &f.List5 : (f.List4.Enabled() ? &f.List4 : nullptr);
        if (table) {
            int last = -1;
            for (int k = 0; k < table->ListCount(); ++k) {
                if (!holds(table->List(k), key)) continue;
                table->setSelected(k, true);
                last = k;
            }
            if (last >= 0) table->setListIndex(last);
        }
    }
    // The table's page shows what was found.
    f.MultiPage1.setValue(1);
}

}  // namespace tarvolin
