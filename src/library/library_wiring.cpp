#include "library/library.h"

#include "app/program.h"

namespace tarvolin {

void Library::wireEvents() {
    Form1& f = app.Form1;
    f.Text3.Change = [this] { Text3_Change(); };
    wireTrackTable();
    wireMediaSourcePanel();
    wirePages();
    wireClassSelection();
    wireCollectionMenu();
    wireEditorParts();
    wireCopyMoveDelete();
}

}  // namespace tarvolin
