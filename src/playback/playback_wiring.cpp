#include "playback/playback.h"

#include "app/program.h"

namespace tarvolin {

void Playback::wireEvents() {
    Form1& f = app.Form1;
    wireMainWindowItems();
    f.HScroll1.Change = [this] { HScroll1_Change(); };

    // Start-up is the main window's load; its close is the shutdown.
    f.Load = [this] { Form_Load(); };
    f.QueryUnload = [this](int& cancel, int mode) { Form_QueryUnload(cancel, mode); };
    // The Files menu's "Exit" closes the program the same way.
    if (MenuItem* exit = f.mnufilecollection.get(4)) {
        exit->Click = [this] {
            int cancel = 0;
            Form_QueryUnload(cancel, 0);
        };
    }
    f.Timer1.TimerEvent = [this] { Timer1_Timer(); };
    f.Command11.Click = [this] { Command11_Click(); };
    for (int i : {0, 1}) {
        if (CommandButton* b = f.Command3.get(i)) b->Click = [this, i] { Command3_Click(i); };
    }
    f.List2.Click = [this] { list2_click(); };

    Player& main = f.WindowsMediaPlayer1;
    main.PlayStateChange = [this](int state) { WindowsMediaPlayer1_PlayStateChange(state); };
    main.StatusChange = [this] { WindowsMediaPlayer1_StatusChange(); };
    for (Player* p : {&main, &app.Form4.WindowsMediaPlayer1, &app.Form2.WindowsMediaPlayer1}) {
        p->MediaError = [this, p](const std::string& why) { playerMediaError(*p, why); };
    }
}

}  // namespace tarvolin
