#include "forms/form4.h"

#include <array>

#include "forms/design.h"
#include "forms/rating_display_controls.h"

namespace tarvolin {

using design::place;

Form4::Form4() {
    setCaption("Tarvolin");
    setIcon(102);
    design::size(*this, 680, 530);

    buildCurrentFileAndCaptions();
    buildPictureAndPlayer();
    buildStatusBoxes();
    buildSeekSliderAndTimer();
    buildTransport();
    buildRatingDisplay();

    // Back to the main window.
    adopt(Command1, "Command1");
    place(Command1, "", 8, 364, 300, 30);
    Command1.setCaption("Μεγένθυνση  Maximize");
}

// The current file and its number, the counts line, the play mode and the
// time totals.
void Form4::buildCurrentFileAndCaptions() {
    adopt(Text6, "Text6");
    place(Text6, "", 8, 4, 550, 22);
    Text6.setLocked(true);
    Text6.AccessibleName = design::kCurrentFileName;
    adopt(Text1, "Text1");
    place(Text1, "", 562, 4, 110, 22);
    Text1.setLocked(true);
    Text1.AccessibleName = "Αριθμός Αρχείου - File Number";

    adopt(Label3, "Label3");
    place(Label3, "", 8, 30, 664, 18);
    Label3.setCaption("Τρέχων - Current : Όλα - Total : Υπολείπονται - Remaining:");
    adopt(Label6, "Label6");
    place(Label6, "", 8, 48, 664, 18);
    Label6.setCaption("Σειριακή Αναπαραγωγή - Serial Play");
    Label2.bind(*this, "Label2");
    Label2.addRange(0, 1);
    place(Label2[0], "", 8, 66, 664, 18);
    Label2[0].setCaption("Τώρα - Now:   Σύνολο - Sum:    Ακόμη - Left:");
    place(Label2[1], "", 8, 84, 664, 18);
}

// The album art over its fallback picture, and the player beside them.
void Form4::buildPictureAndPlayer() {
    Picture1.bind(*this, "Picture1");
    Picture1.addRange(0, 1);
    place(Picture1[0], "", 8, 106, 120, 120);
    place(Picture1[1], "", 8, 106, 120, 120);
    Picture1[1].setPicture("fallback_art");
    Picture1[1].setVisible(false);

    adopt(WindowsMediaPlayer1, "WindowsMediaPlayer1");
    place(WindowsMediaPlayer1, "", 136, 106, 280, 120);
    // The picture's own Play / Pause and Position repeat the window's
    // transport: the Tab key passes them by.
    WindowsMediaPlayer1.TabStop = false;
}

// Status boxes with their captions, one row each: duration, elapsed,
// remaining, size (no caption), bit rate.
void Form4::buildStatusBoxes() {
    Label1.bind(*this, "Label1");
    Text5.bind(*this, "Text5");
    Text5.addRange(0, 4);
    static const std::array<int, 5> labels = {6, 7, 9, 11, 10};
    for (int k = 0; k < 5; ++k) {
        const auto i = static_cast<std::size_t>(k);
        Label& l = Label1.add(labels[i]);
        place(l, "", 424, 108 + k * 24, 130, 18);
        if (k != 3) l.setCaption(design::kStatusNames[i]);
        place(Text5[k], "", 556, 106 + k * 24, 116, 22);
        Text5[k].AccessibleName = design::kStatusNames[i];
        Text5[k].setLocked(true);
        if (k <= 2) Text5[k].setText("00:00:00");
    }
}

// The seek slider, and the timer that moves it.
void Form4::buildSeekSliderAndTimer() {
    adopt(Slider1, "Slider1");
    place(Slider1, "", 8, 232, 664, 26);
    Slider1.setSmallChange(5);
    Slider1.setLargeChange(15);
    Slider1.AccessibleName = design::kPositionName;

    adopt(Timer1, "Timer1");
    place(Timer1, "", 648, 400, 24, 24);
    Timer1.setEnabled(false);  // its Load turns it on
    Timer1.setInterval(1000);
}

// Transport: five picture buttons, then "Return" on one line; the step count
// and the volume under them.
void Form4::buildTransport() {
    adopt(Frame1, "Frame1");
    place(Frame1, "", 8, 262, 300, 96);
    Frame1.setCaption("Χειρισμός - Managment");
    adopt(Command11, "Command11");
    place(Command11, "Frame1", 8, 18, 34, 34);
    Command11.AccessibleName = design::kPlayPauseName;
    Command3.bind(*this, "Command3");
    Command3.addRange(0, 1);
    place(Command3[1], "Frame1", 46, 18, 34, 34);
    Command3[1].setToolTipText("Προηγούμενο αρχείο - Last file");
    Command3[1].setPicture("previous");
    place(Command3[0], "Frame1", 84, 18, 34, 34);
    Command3[0].setToolTipText("Επόμενο αρχείο - Next file");
    Command3[0].setPicture("next");
    Command15.bind(*this, "Command15");
    Command15.addRange(0, 2);
    place(Command15[1], "Frame1", 122, 18, 34, 34);
    Command15[1].setToolTipText("Πήγαινε πίσω - Go back");
    Command15[1].setPicture("back");
    place(Command15[0], "Frame1", 160, 18, 34, 34);
    Command15[0].setToolTipText("Πήγαινε μπρος - Go ahead");
    Command15[0].setPicture("ahead");
    place(Command15[2], "Frame1", 198, 18, 94, 34);
    Command15[2].setCaption("Επιστροφή Return");
    Command15[2].setToolTipText("Πήγαινε πίσω - Go back");
    adopt(Label5, "Label5");
    place(Label5, "Frame1", 8, 62, 80, 18);
    Label5.setCaption("Βήμα - Step");
    adopt(Text3, "Text3");
    place(Text3, "Frame1", 90, 60, 36, 22);
    Text3.setToolTipText("Πόσα βήματα μπροστά ή πίσω -  Number of steps ahead or backwards");
    adopt(HScroll1, "HScroll1");
    place(HScroll1, "Frame1", 132, 62, 160, 18);
    HScroll1.setMin(0);
    HScroll1.ValueInPercent = true;
    HScroll1.setMax(2000);
    HScroll1.setSmallChange(20);
    HScroll1.setLargeChange(200);
    HScroll1.AccessibleName = design::kVolumeName;
}

// Rating display, in a frame of its own.
void Form4::buildRatingDisplay() {
    adopt(Frame11, "Frame11");
    place(Frame11, "", 316, 262, 356, 220);
    Frame11.setCaption("Πληροφορίες Προτιμήσεων -  Ratings Info");
    design::addRatingDisplay(*this, Command8, Picture2, Label10, Label21, Label9,
                     {.container = "Frame11", .left = 8, .top = 18, .width = 340, .nameWidth = 104,
                      .numbersWidth = 216, .rowsTop = 72});
}

}  // namespace tarvolin
