// Hiding the track list and its columns during bulk work, and emptying the
// filter value lists with the track tables.
#include "app/program.h"
#include "collection/collection_store.h"

namespace tarvolin {

void CollectionStore::Make_Invisible() {
    Form1& f = app_.Form1;
    f.List2.setVisible(false);
    for (ListBox& column : f.List3_0) column.setVisible(false);
}

void CollectionStore::Make_Visible() {
    Form1& f = app_.Form1;
    f.List2.setVisible(true);
    for (ListBox& column : f.List3_0) column.setVisible(true);
}

void CollectionStore::Clear_Filters() {
    Form1& f = app_.Form1;
    // Box 0 keeps its class names.
    for (ComboBox& box : f.Combo4_0) {
        if (box.Index() >= 1 && box.Index() <= 8) box.Clear();
    }
    f.List4.Clear();
    f.List5.Clear();
}

}  // namespace tarvolin
