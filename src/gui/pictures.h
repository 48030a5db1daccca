#pragma once
// The program's pictures for the widgets: resource keys ("play", "100",
// "splash"), file paths and icon numbers turned into pixmaps and icons.
#include <string>

#include <QIcon>
#include <QPixmap>

namespace tarvolin {

// The picture for a resource key or a file path; a null pixmap when none.
// Resource keys are matched without regard to case.
QPixmap picture(const std::string& keyOrPath);

// The window and tray icon for 100 (playing), 101 (paused), 102 (stopped),
// drawn when the resources lack it.
QIcon programIcon(int number);

}  // namespace tarvolin
