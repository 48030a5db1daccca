// The step-count box of the main window.
#include <limits>

#include "app/program.h"
#include "library/library.h"
#include "toolkit/runtime.h"

namespace tarvolin {

void Library::Text3_Change() {
    TextBox& box = app.Form1.Text3;
    if (!IsNumeric(box.Text())) {
        box.setText("3");  // raises Change again, which stores the count
        return;
    }
    const double value = Val(box.Text());
    // Above the Integer range the count is the largest Integer; the text
    // stays as typed. Below 1 the step commands do nothing.
    if (value > std::numeric_limits<std::int16_t>::max()) {
        app.state.StepCount = std::numeric_limits<std::int16_t>::max();
    } else if (value < std::numeric_limits<std::int16_t>::min()) {
        app.state.StepCount = 0;
    } else {
        app.state.StepCount = CInt(value);
    }
}

}  // namespace tarvolin
