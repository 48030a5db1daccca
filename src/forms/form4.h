#pragma once
// The compact player window: its own player, the transport, the volume and
// seek bars, the status boxes and the rating display, a copy in small of the
// main window's. It has no menus.
#include "platform/player.h"
#include "toolkit/control_array.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"

namespace tarvolin {

struct Form4 : Form {
    Form4();
    Form4(const Form4&) = delete;
    Form4& operator=(const Form4&) = delete;

    Player WindowsMediaPlayer1;
    Timer Timer1;  // moves the seek slider, 1000 ms

    TextBox Text6;                  // current file
    TextBox Text1;                  // track number "[00001] - [00010]"
    Label Label3;                   // counts line
    Label Label6;                   // play mode
    ControlArray<Label> Label2;     // 0..1 time totals

    ControlArray<PictureBox> Picture1;  // 0 album art, 1 the fallback picture
    ControlArray<Label> Label1;     // 6, 7, 9, 10, 11: captions of the status boxes
    ControlArray<TextBox> Text5;    // 0 duration, 1 elapsed, 2 remaining, 3 size, 4 bit rate

    Slider Slider1;

    Frame Frame1;                          // transport
    CommandButton Command11;               // play / pause
    ControlArray<CommandButton> Command3;  // 0 next, 1 previous
    ControlArray<CommandButton> Command15; // 0 ahead, 1 back, 2 return
    Label Label5;
    TextBox Text3;                         // step count
    HScrollBar HScroll1;                   // volume 0..2000

    Frame Frame11;                  // rating display
    CommandButton Command8;
    PictureBox Picture2;            // stars
    ControlArray<Label> Label10;    // 0..6 class names
    ControlArray<Label> Label21;    // 0..6 class bars
    ControlArray<Label> Label9;     // 0..6 class numbers

    CommandButton Command1;         // back to the main window

private:
    void buildCurrentFileAndCaptions();
    void buildPictureAndPlayer();
    void buildStatusBoxes();
    void buildSeekSliderAndTimer();
    void buildTransport();
    void buildRatingDisplay();
};

}  // namespace tarvolin
