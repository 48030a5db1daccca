// The information window: a picture of the program's making drawn at random,
// a looping animation that plays one closing theme after the button, the
// motto and the blinking link to the program's page.
#include <algorithm>
#include <filesystem>

#include "app/program.h"
#include "toolkit/durable_file.h"
#include "windows/secondary_windows.h"

namespace tarvolin {

namespace {

constexpr int kTwipsPerPixel = 15;
// The program's own main pictures (custom 85 to 123) are all drawn at this
// size, in pixels.
constexpr int kPictureWidth = 360;
constexpr int kPictureHeight = 270;

constexpr std::int64_t kLinkBlue = 0xFF0000;     // BGR
constexpr std::int64_t kLinkMagenta = 0xFF00FF;  // BGR

std::string customPicture(int id) { return "custom/" + std::to_string(id); }

}  // namespace

void SecondaryWindows::wireInformationWindow() {
    Form3& w = app.Form3;
    // The window loads when it is first shown, and again after an unload.
    w.Load = [this] { Form3_Form_Load(); };
    w.Activate = [this] {
        if (!infoLoaded_) Form3_Form_Load();
    };
    w.Command1.Click = [this] { Form3_Command1_Click(); };
    w.Label1.Click = [this] { Form3_Label1_Click(); };
    w.Timer1.TimerEvent = [this] { Form3_Timer1_Timer(); };
    w.Unload = [this](int&) {
        app.Form3.Timer1.setEnabled(false);
        infoLoaded_ = false;
    };
}

void SecondaryWindows::Form3_Form_Load() {
    Form3& w = app.Form3;
    infoLoaded_ = true;
    // Each opening starts as the window was designed.
    w.Label1.setForeColor(kLinkBlue);
    LoopAnimation = true;
    Show_Random_Picture();
    AnimationTheme = CInt(app.random.Rnd() * 2.0);
    Set_Frame_Range();
    w.Timer1.setInterval(100);
    w.Timer1.setEnabled(true);

    const ScreenSize screen = app.desktop().screenSize();
    // On a screen smaller than the window its top left corner stays visible.
    w.setLeft(std::max(0, (screen.widthPixels * kTwipsPerPixel - w.Width()) / 2));
    w.setTop(std::max(0, (screen.heightPixels * kTwipsPerPixel - w.Height()) / 2));
}

void SecondaryWindows::Set_Frame_Range() {
    if (LoopAnimation) {
        FirstFrame = 121;
        LastFrame = 137;
    } else {
        switch (AnimationTheme) {
            case 0:
                FirstFrame = 159;
                LastFrame = 168;
                break;
            case 1:
                FirstFrame = 138;
                LastFrame = 158;
                break;
            default:
                FirstFrame = 169;
                LastFrame = 187;
                break;
        }
    }
    CurrentFrame = FirstFrame;
}

void SecondaryWindows::Show_Random_Picture() {
    Form3& w = app.Form3;
    RandomGenerator& random = app.random;
    int id = 0;
    if (CInt(random.Rnd()) == 0) {
        do {
            id = CInt(random.Rnd() * 34.0) + 84;
        } while (id < 85 || id >= 120);
        w.Picture1.setVisible(false);
    } else {
        do {
            id = CInt(random.Rnd() * 6.0) + 119;
        } while (id < 120 || id >= 124);
        const int second = CInt(random.Rnd()) != 0 ? 126 : 125;
        // The small picture is stretched over the box's whole inner area.
        PictureBox& box = w.Picture1;
        box.setScaleMode(3);
        box.setAutoRedraw(true);
        box.setPicture("");
        box.Cls();
        box.PaintPicture(customPicture(second), 0, 0, box.ScaleWidth(), box.ScaleHeight());
        box.setVisible(true);
    }
    w.Image3.setPicture(customPicture(id));

    // The window is the picture, its size that of the window's inside here:
    // no room is kept for a caption and borders. The controls are placed
    // from its bottom right corner (twips).
    const int pictureWidth = kPictureWidth * kTwipsPerPixel;
    const int pictureHeight = kPictureHeight * kTwipsPerPixel;
    w.Image3.move(0, 0, pictureWidth, pictureHeight);
    w.setWidth(pictureWidth);
    w.setHeight(pictureHeight);
    w.Command1.setTop(pictureHeight - 600);
    w.Command1.setLeft(pictureWidth - 1920);
    w.Picture3.setTop(w.Command1.Top() - 1600);
    w.Picture3.setLeft(w.Command1.Left() - 120);
    w.Label1.setLeft(150);
    w.Label1.setTop(w.Command1.Top() + 100);
    w.Label2.setTop(200);
    w.Label2.setLeft(pictureWidth - 2920);
    w.Picture1.setLeft(200);
    w.Picture1.setTop(200);
}

void SecondaryWindows::Form3_Timer1_Timer() {
    Form3& w = app.Form3;
    w.Label1.setForeColor(w.Label1.ForeColor() == kLinkBlue ? kLinkMagenta : kLinkBlue);
    w.Picture3.setPicture(std::to_string(CurrentFrame));
    if (CurrentFrame < LastFrame) {
        ++CurrentFrame;
    } else if (LoopAnimation) {
        CurrentFrame = FirstFrame;
    } else {
        w.requestUnload(1);
    }
}

void SecondaryWindows::Form3_Command1_Click() {
    LoopAnimation = false;
    Set_Frame_Range();
}

void SecondaryWindows::Form3_Label1_Click() { app.playback.Open_Home_Page(); }

bool SecondaryWindows::LoadDataIntoFile(const std::string& DataName, const std::string& FileName) {
    std::error_code ec;
    if (std::filesystem::exists(FileName, ec) || ec) return false;
    std::string bytes;
    if (!dataResource || !dataResource(DataName, bytes)) return false;
    // Whole or not at all: a part left by a kill would pass for the file.
    return durable::writeWhole(FileName, bytes);
}

}  // namespace tarvolin
