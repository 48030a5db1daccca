#pragma once
// Helpers for the windows' design-time layout. Geometry is kept in twips;
// most of it is written here in pixels (15 twips each) for readability.
#include <array>
#include <string>

#include "toolkit/control.h"
#include "toolkit/form.h"

namespace tarvolin::design {

inline constexpr int kTwipsPerPixel = 15;

inline constexpr int px(int pixels) { return pixels * kTwipsPerPixel; }

// Puts c into container ("" the form itself, "Frame12", or a page of a
// multipage as "MultiPage1:2") at x, y with size w × h, all in pixels and
// relative to the container.
inline void place(Control& c, const std::string& container, int x, int y, int w, int h) {
    c.Container = container;
    c.move(px(x), px(y), px(w), px(h));
}

// The same in twips.
inline void placeTwips(Control& c, const std::string& container, int left, int top, int width,
                       int height) {
    c.Container = container;
    c.move(left, top, width, height);
}

// The container name of a multipage's page.
inline std::string page(const std::string& multipage, int index) {
    return multipage + ":" + std::to_string(index);
}

// Sets a form's design size in pixels.
inline void size(Form& f, int w, int h) {
    f.move(f.Left(), f.Top(), px(w), px(h));
}

// The names assistive technology gives controls that show no caption, where
// the main and the compact window have the same ones.
inline constexpr const char* kPlayPauseName = "Αναπαραγωγή / Παύση - Play / Pause";
inline constexpr const char* kPositionName = "Θέση - Position";
inline constexpr const char* kVolumeName = "Ένταση - Volume";
inline constexpr const char* kCurrentFileName = "Τρέχον Αρχείο - Current File";
// The five status boxes: duration, elapsed, remaining, size, bit rate.
inline constexpr std::array<const char*, 5> kStatusNames = {"Διάρκεια - Length", "Διανύθηκε - Elapsed",
                                                            "Υπόλοιπο - Remain.", "Μέγεθος - Size", "Kbps"};

// The name of a field inside a frame: the frame's title joined with the
// field's, in each language ("Ώρα - Time" and "λεπτά - minutes" give
// "Ώρα: λεπτά - Time: minutes").
inline std::string fieldName(const std::string& frame, const std::string& field) {
    const auto f = frame.find(" - "), d = field.find(" - ");
    if (f == std::string::npos || d == std::string::npos) return frame + ": " + field;
    return frame.substr(0, f) + ": " + field.substr(0, d) + " - " + frame.substr(f + 3) + ": " + field.substr(d + 3);
}

}  // namespace tarvolin::design
