#pragma once
// The information window: a picture of the program's making, a short
// animation, the motto and the blinking link to the program's page.
#include "toolkit/controls.h"
#include "toolkit/form.h"

namespace tarvolin {

struct Form3 : Form {
    Form3();
    Form3(const Form3&) = delete;
    Form3& operator=(const Form3&) = delete;

    Image Image3;          // main picture
    PictureBox Picture1;   // second picture
    PictureBox Picture3;   // animation frames
    Label Label1;          // the link
    Label Label2;          // the motto
    CommandButton Command1;
    Timer Timer1;          // animation, 100 ms
};

}  // namespace tarvolin
