#pragma once
// The rating display that the main and the compact window both carry: the
// rating button, the stars and the seven class rows (name, bar, numbers).
#include <string>

#include "toolkit/control_array.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"

namespace tarvolin::design {

struct RatingDisplayLayout {
    std::string container;
    int left = 0, top = 0;     // of the rating button, pixels within the container
    int width = 0;             // of the button and the stars
    int nameWidth = 0;         // of a class name
    int numbersWidth = 0;      // of a class's numbers
    int rowsTop = 0;           // first class row
};

void addRatingDisplay(Form& form, CommandButton& Command8, PictureBox& Picture2,
                      ControlArray<Label>& Label10, ControlArray<Label>& Label21,
                      ControlArray<Label>& Label9, const RatingDisplayLayout& at);

}  // namespace tarvolin::design
