#include "forms/rating_display_controls.h"

#include <array>
#include <cstddef>

#include "forms/design.h"

namespace tarvolin::design {

void addRatingDisplay(Form& form, CommandButton& Command8, PictureBox& Picture2,
                      ControlArray<Label>& Label10, ControlArray<Label>& Label21,
                      ControlArray<Label>& Label9, const RatingDisplayLayout& at) {
    form.adopt(Command8, "Command8");
    place(Command8, at.container, at.left, at.top, at.width, 28);
    Command8.setCaption("Προτίμηση Rating");
    Command8.setToolTipText("Δώσε βαθμό προτίμησης σε αρχείο -  Give a like grade to a file");
    form.adopt(Picture2, "Picture2");
    place(Picture2, at.container, at.left, at.top + 32, at.width, 22);
    Picture2.setBorderStyle(0);
    Picture2.AccessibleName = "Αστέρια Προτίμησης - Rating Stars";
    // The stars, the bars and the numbers do what the rating button and the
    // class names do: the Tab key stops at those only.
    Picture2.TabStop = false;

    static const std::array<const char*, 7> classNames = {
        "Όλα - All",         "Ασημείωτα - Unmarked", "Κλάση Χ΄- Class X", "Κλάση Γ΄- Class C",
        "Κλάση Β΄- Class B", "Κλάση Α΄- Class A",    "Κλάση Υ΄ - Class S"};
    Label10.bind(form, "Label10");
    Label10.addRange(0, 6);
    Label21.bind(form, "Label21");
    Label21.addRange(0, 6);
    Label9.bind(form, "Label9");
    Label9.addRange(0, 6);
    for (int k = 0; k <= 6; ++k) {
        const int y = at.rowsTop + k * 20;
        place(Label10[k], at.container, at.left, y, at.nameWidth, 18);
        Label10[k].setCaption(classNames[static_cast<std::size_t>(k)]);
        Label10[k].DescribedBy = &Label9[k];
        Label10[k].Markable = k > 0;
        place(Label21[k], at.container, at.left + at.nameWidth + 2, y, 16, 18);
        place(Label9[k], at.container, at.left + at.nameWidth + 20, y, at.numbersWidth, 18);
        for (Label* l : {&Label21[k], &Label9[k]}) {
            l->LabelledBy = &Label10[k];
            l->TabStop = false;
        }
    }
}

}  // namespace tarvolin::design
