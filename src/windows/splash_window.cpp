// The splash window shown during start-up.
#include <algorithm>

#include "app/program.h"
#include "windows/secondary_windows.h"

namespace tarvolin {

namespace {

constexpr int kTwipsPerPixel = 15;

}  // namespace

void SecondaryWindows::frmSplash_Form_Load() {
    frmSplash& w = app.frmSplash;
    splashLoaded_ = true;
    const ScreenSize screen = app.desktop().screenSize();
    const int screenWidth = screen.widthPixels * kTwipsPerPixel;
    const int screenHeight = screen.heightPixels * kTwipsPerPixel;
    // On a screen smaller than the window its top left corner stays visible.
    w.setLeft(std::max(0, (screenWidth - w.Width()) / 2));
    w.setTop(std::max(0, (screenHeight - w.Height()) / 2));
    w.imgLogo.setPicture("splash");
}

void SecondaryWindows::frmSplash_Form_KeyPress(int& /*KeyAscii*/) {
    frmSplash_Frame1_Click();
}

void SecondaryWindows::frmSplash_Frame1_Click() {
    // A window already closed stays closed.
    if (!app.frmSplash.Visible()) return;
    app.frmSplash.requestUnload(1);
}

}  // namespace tarvolin
