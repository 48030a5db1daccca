// The main window's library pages: bringing a page forward shows its frame
// and hides the others; leaving the video preview page empties its players.
#include "app/program.h"
#include "library/library.h"

namespace tarvolin {

void Library::MultiPage1_Change() {
    Form1& f = app.Form1;
    Playback& playback = app.playback;

    int page = f.MultiPage1.Value();
    if (page < 0 || page > 4) page = 1;

    // Leaving the folder pages ends the work on subfolders. The subfolder
    // page itself keeps the box: ticking it brings that page forward, and
    // clearing it there would undo the tick at once.
    if (page != 3) f.Check2.setValue(0);

    if (page != 4 && playback.MultiPreviewPending) playback.Reset_Multi_Preview(false);

    Frame* frames[] = {&f.Frame1, &f.Frame4, &f.Frame12, &f.Frame8, &f.Frame6};
    Frame* shown = page == 0 ? &f.Frame4
                 : page == 1 ? &f.Frame12
                 : page == 2 ? &f.Frame1
                 : page == 3 ? &f.Frame8
                             : &f.Frame6;
    for (Frame* frame : frames) frame->setVisible(frame == shown);

    if (page == 4 && !playback.MultiPreviewPending) playback.Reset_Multi_Preview(true);
}

void Library::wirePages() {
    Form1& f = app.Form1;
    f.MultiPage1.Change = [this] { MultiPage1_Change(); };
    f.MultiPage1.Click = [this](int) { MultiPage1_Change(); };
    f.MultiPage1.GotFocus = [this] { MultiPage1_Change(); };
}

}  // namespace tarvolin
