#pragma once
// The splash window shown during start-up: a frame filling the window, the
// logo and nine labels with fixed texts.
#include "toolkit/control_array.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"

namespace tarvolin {

struct frmSplash : Form {
    frmSplash();
    frmSplash(const frmSplash&) = delete;
    frmSplash& operator=(const frmSplash&) = delete;

    Frame Frame1;
    Image imgLogo;
    ControlArray<Label> lblText;  // 0..8
};

}  // namespace tarvolin
