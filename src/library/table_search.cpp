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
    // 1.
    if (app.state.Filtering) return;
    // 2.
    const std::string& typed = f.Text2[4].Text();
    if (typed.empty()) {
        app.dialogs().MsgBox(kTypeText, mb::Information);
        return;
    }
    // 3.
    const std::string s = LCase(Trim(typed));
    const std::string key = searchKey(typed);
    // 4.
    ListBox* table = f.List5.Enabled() ? &f.List5 : (f.List4.Enabled() ? &f.List4 : nullptr);
    // 5. A whole line typed in is not searched for.
    if (f.List4.findStringExact(s) >= 0) return;
    // 6. Both tables disabled: a table is being built, nothing to mark.
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
    // 1.
    const std::string& typed = f.Text2[3].Text();
    if (typed.empty()) {
        app.dialogs().MsgBox(kTypeText, mb::Information);
        return;
    }
    // 2.
    const std::string s = LCase(Trim(typed));
    const std::string key = searchKey(typed);
    // 3. The filters off: the full table is shown.
    Reboot_Filters();
    Filtered_Songs_List(0);
    // 4. A track path typed in whole is not searched for. The lines are
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
    // 5.
    f.MultiPage1.setValue(1);
}

}  // namespace tarvolin
