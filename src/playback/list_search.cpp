// Searching list and combo boxes, the lists' horizontal scroll bars, and the
// track list's click.
#include "app/program.h"
#include "playback/playback.h"

namespace tarvolin {

int Playback::ListBoxFindString(Control& control, const std::string& text, int startIndex, bool exact) {
    ListControl* list = dynamic_cast<ListBox*>(&control);
    if (!list) list = dynamic_cast<ComboBox*>(&control);
    if (!list) return 0;
    return exact ? list->findStringExact(text, startIndex) : list->findString(text, startIndex);
}

void Playback::SizeList(int which) {
    Form1& f = app.Form1;
    ListBox* list = nullptr;
    switch (which) {
        case 1: list = &f.List1; break;
        case 2: list = &f.List2; break;
        case 3: list = &f.List4; break;
        case 4: list = &f.List5; break;
        default: return;
    }
    list->setHorizontalExtent(3000);
}

void Playback::list2_click() {
    Form1& f = app.Form1;
    const int i = f.List2.ListIndex();
    app.collection.d.InfoFile = i >= 0 && i < f.List2.ListCount() ? f.List2.List(i) : std::string();
    // The preview page shows the clicked file at once.
    if (f.Frame6.Visible() && f.MultiPage1.Value() == 4 && !app.state.CompactMode) Reset_Multi_Preview(true);
}

}  // namespace tarvolin
