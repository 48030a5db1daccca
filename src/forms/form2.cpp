#include "forms/form2.h"

#include <algorithm>

#include "forms/design.h"

namespace tarvolin {

Form2::Form2() {
    setCaption("Βίντεο - Video");
    setIcon(102);
    design::size(*this, 640, 400);
    adopt(WindowsMediaPlayer1, "WindowsMediaPlayer1");
    fitPlayer();
}

void Form2::fitPlayer() {
    WindowsMediaPlayer1.Container.clear();
    WindowsMediaPlayer1.move(0, 0, std::max(0, Width() - 240), std::max(0, Height() - 540));
}

}  // namespace tarvolin
