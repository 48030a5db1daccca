#include "forms/form5.h"

#include <array>

#include "forms/design.h"

namespace tarvolin {

using design::place;

Form5::Form5() {
    setCaption("Ξυπνητήρι -  Αυτόματο Κλείσιμο | Snooze - Autoshutdown");
    setIcon(102);
    EscapeCloses = true;
    design::size(*this, 490, 360);

    adopt(FrameRemaining, "FrameRemaining");
    place(FrameRemaining, "", 8, 8, 220, 50);
    FrameRemaining.setCaption("Υπολείπεται - Remaining");
    adopt(Label1, "Label1");
    place(Label1, "FrameRemaining", 8, 22, 204, 20);
    Label1.setCaption("00:00:00:00:00:00");

    adopt(FrameSelection, "FrameSelection");
    place(FrameSelection, "", 236, 8, 236, 70);
    FrameSelection.setCaption("Επιλογή - Selection");
    adopt(Check1, "Check1");
    place(Check1, "FrameSelection", 8, 20, 220, 20);
    Check1.setCaption("Ώρα - Time");
    adopt(Check2, "Check2");
    place(Check2, "FrameSelection", 8, 44, 220, 20);
    Check2.setCaption("Αντίστροφη Μέτρηση - Countdown");
    adopt(Check3, "Check3");
    place(Check3, "", 244, 84, 228, 20);
    Check3.setCaption("Ημερολόγιο - Calendar");
    adopt(Check4, "Check4");
    place(Check4, "", 244, 106, 228, 20);
    Check4.setCaption("Κλείσιμο - Shutdown");

    adopt(FrameTime, "FrameTime");
    place(FrameTime, "", 8, 64, 220, 56);
    FrameTime.setCaption("Ώρα - Time");
    adopt(FrameCountdown, "FrameCountdown");
    place(FrameCountdown, "", 8, 126, 220, 56);
    FrameCountdown.setCaption("Αντίστροφη Μέτρηση - Countdown");
    Text1.bind(*this, "Text1");
    Text1.addRange(0, 5);
    VScroll1.bind(*this, "VScroll1");
    VScroll1.addRange(0, 5);
    // Each box and its spinner are named by their frame and their unit.
    static const std::array<const char*, 3> units = {"ώρες - hours", "λεπτά - minutes", "δευτερόλεπτα - seconds"};
    for (int i = 0; i <= 5; ++i) {
        Frame& frame = i < 3 ? FrameTime : FrameCountdown;
        const int col = i % 3;
        const std::string name = design::fieldName(frame.Caption(), units[static_cast<std::size_t>(col)]);
        place(Text1[i], frame.Name(), 8 + col * 70, 22, 36, 22);
        Text1[i].setText("00");
        Text1[i].AccessibleName = name;
        VScroll1[i].AccessibleName = name;
        place(VScroll1[i], frame.Name(), 46 + col * 70, 20, 16, 26);
        VScroll1[i].setMin(0);
        VScroll1[i].setMax(col == 0 ? 23 : 59);
    }

    adopt(FrameDate, "FrameDate");
    place(FrameDate, "", 236, 132, 236, 50);
    FrameDate.setCaption("Ημερομηνία - Date");

    adopt(FrameFile, "FrameFile");
    place(FrameFile, "", 8, 188, 464, 52);
    FrameFile.setCaption("Αρχείο Ξυπνητήρι - File to Snooze");
    adopt(Combo1, "Combo1");
    place(Combo1, "FrameFile", 8, 20, 448, 22);
    Combo1.AccessibleName = FrameFile.Caption();

    static const std::array<const char*, 3> buttons = {"Έξοδος Exit", "Εντάξει Ok", "Ακύρωση Cancel"};
    Command1.bind(*this, "Command1");
    Command1.addRange(0, 2);
    for (CommandButton& b : Command1) {
        place(b, "", 8 + b.Index() * 156, 250, 150, 30);
        b.setCaption(buttons[static_cast<std::size_t>(b.Index())]);
    }

    adopt(Label2, "Label2");
    place(Label2, "", 8, 290, 220, 20);
    Label2.setCaption("Ενεργό - On");

    adopt(Timer1, "Timer1");
    place(Timer1, "", 440, 290, 24, 24);
    Timer1.setEnabled(false);
    Timer1.setInterval(1000);

    // The wake-up file plays in the active player; this one stays hidden.
    adopt(WindowsMediaPlayer1, "WindowsMediaPlayer1");
    place(WindowsMediaPlayer1, "", 244, 290, 180, 20);
    WindowsMediaPlayer1.setVisible(false);
}

}  // namespace tarvolin
