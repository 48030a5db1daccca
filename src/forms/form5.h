#pragma once
// The snooze and shutdown window: a time of day or a countdown, the file to
// wake the user with, the shutdown option, and the time left.
#include "platform/player.h"
#include "toolkit/control_array.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"

namespace tarvolin {

struct Form5 : Form {
    Form5();
    Form5(const Form5&) = delete;
    Form5& operator=(const Form5&) = delete;

    Frame FrameRemaining;             // holds Label1
    Label Label1;                     // time left "yy:mm:dd:hh:mm:ss"
    Frame FrameSelection;             // holds Check1, Check2
    CheckBox Check1;                  // time
    CheckBox Check2;                  // countdown
    CheckBox Check3;                  // calendar
    CheckBox Check4;                  // shutdown
    Frame FrameTime;                  // holds Text1(0..2)
    Frame FrameCountdown;             // holds Text1(3..5)
    ControlArray<TextBox> Text1;      // 0-2 time, 3-5 countdown: hour, minute, second
    ControlArray<VScrollBar> VScroll1;  // spinner beside Text1 of the same index
    Frame FrameFile;                  // holds Combo1
    ComboBox Combo1;                  // track paths
    Frame FrameDate;                  // no input
    ControlArray<CommandButton> Command1;  // 0 exit, 1 ok, 2 cancel
    Label Label2;                     // on / off
    Timer Timer1;                     // 1000 ms, off at design
    Player WindowsMediaPlayer1;
};

}  // namespace tarvolin
