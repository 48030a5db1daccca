// Connects the main window's option menus, the tray icon and its menu, the
// locate and walk buttons, the class labels and the About items.
#include "app/program.h"
#include "playback/playback.h"

namespace tarvolin {

namespace {

template <typename T, typename Handler>
void wireArray(ControlArray<T>& items, Handler handler) {
    for (T& item : items) {
        const int i = item.Index();
        item.Click = [handler, i] { handler(i); };
    }
}

}  // namespace

void Playback::wireMainWindowItems() {
    Form1& f = app.Form1;
    Form4& c = app.Form4;

    // The tray icon's clicks; mouse moves over the window mean nothing here.
    // The tray is a service of the desktop: the program built last takes it.
    app.tray().message.disconnect();
    app.tray().message = [this](int message) { trayMessage(message); };

    // Tray menu
    f.mnusystemtraynext.Click = [this] { mnusystemtraynext_Click(); };
    f.mnusystemtrayback.Click = [this] { mnusystemtrayback_Click(); };
    f.mnusystemtrayforward.Click = [this] { mnusystemtrayforward_Click(); };
    f.mnusystemtraybackwards.Click = [this] { mnusystemtraybackwards_Click(); };
    f.mnusystemtraypause.Click = [this] { mnusystemtraypause_Click(); };
    f.MnuSysTrayDaCapo.Click = [this] { MnuSysTrayDaCapo_Click(); };
    f.mnusystemtraysuffle.Click = [this] { mnusystemtraysuffle_Click(); };
    f.mnusystrayrepeat.Click = [this] { mnusystrayrepeat_Click(); };
    f.MnuSystemTrayTop.Click = [this] { MnuSystemTrayTop_Click(); };
    f.mnusystemtraycopypaste.Click = [this] { mnusystemtraycopypaste_Click(); };
    f.mnusystemtrayexit.Click = [this] { mnusystemtrayexit_Click(); };
    // The copy button of the search links does what the tray's item does.
    if (CommandButton* copy = f.Command6.get(1)) copy->Click = [this] { mnusystemtraycopypaste_Click(); };

    // Play menu
    f.MnuMoreRandom.Click = [this] { MnuMoreRandom_Click(); };
    wireArray(f.mnumorereplayn, [this](int i) { mnumorereplayn_Click(i); });
    f.MnuMorePreview_Active.Click = [this] { MnuMorePreview_Active_Click(); };
    f.MnuMoreDuration.Click = [this] { MnuMoreDuration_Click(); };
    f.MnuMoreMultiPreview.Click = [this] { MnuMoreMultiPreview_Click(); };
    f.MnuMorePauseActive.Click = [this] { MnuMorePauseActive_Click(); };
    f.MnuMorePauseDur.Click = [this] { MnuMorePauseDur_Click(); };
    f.MnuMoreSound.Click = [this] { MnuMoreSound_Click(); };
    f.MnuMoreAutoStart.Click = [this] { MnuMoreAutoStart_Click(); };
    wireArray(f.MnuPlayAutoStartP, [this](int i) { MnuPlayAutoStartP_Click(i); });

    // More menu
    f.MnuMoreOnTop.Click = [this] { MnuMoreOnTop_Click(); };
    f.MnuMoreMinimize.Click = [this] { MnuMoreMinimize_Click(); };
    f.MnuMoreWindows.Click = [this] { MnuMoreWindows_Click(); };
    f.MnuMoreReport.Click = [this] { MnuMoreReport_Click(); };
    f.MnuMoreReportDelete.Click = [this] { MnuMoreReportDelete_Click(); };
    wireArray(f.MnumoreStar_Colors, [this](int i) { MnumoreStar_Colors_Click(i); });
    wireArray(f.MnumoreStar_Active, [this](int i) { MnumoreStar_Active_Click(i); });
    f.mnutimeshut.Click = [this] { mnutimeshut_Click(); };
    f.mnutimesnooze.Click = [this] { mnutimesnooze_Click(); };

    // Video and About menus
    wireArray(f.mnuvideoshow, [this](int i) { mnuvideoshow_Click(i); });
    wireArray(f.mnuinfogr, [this](int i) { mnuinfogr_Click(i); });
    wireArray(f.mnu_info2, [this](int i) { mnu_info2_Click(i); });

    // Controls of the main window, and the compact window's own buttons and
    // labels, which do what the main window's do.
    f.HScroll1.Scroll = [this] { HScroll1_Scroll(); };
    f.HScroll2.Change = [this] { HScroll2_Change(); };
    f.List2.DblClick = [this] { List2_DblClick(); };
    f.Check3.Click = [this] { Check3_Click(); };
    wireArray(f.Command10, [this](int i) { Command10_Click(i); });
    for (ControlArray<CommandButton>* walk : {&f.Command15, &c.Command15}) {
        wireArray(*walk, [this](int i) { Command15_Click(i); });
    }
    for (ControlArray<Label>* labels : {&f.Label9, &f.Label10, &f.Label21, &c.Label9, &c.Label10, &c.Label21}) {
        wireArray(*labels, [this](int i) { classLabel_Click(i); });
    }

    // The rating button and the tray's rating items.
    app.library.wireRating();
}

}  // namespace tarvolin
