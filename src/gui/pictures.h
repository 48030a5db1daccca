#pragma once
// The program's pictures for the widgets: resource keys ("play", "100",
// "splash"), file paths and icon numbers turned into pixmaps and icons, and
// the colours that keep pictures and texts legible on the palette in use.
#include <string>

#include <QColor>
#include <QIcon>
#include <QPixmap>

namespace tarvolin {

// The picture for a resource key or a file path; a null pixmap when none.
// Resource keys are matched without regard to case. The program's own
// pictures are drawn at two sizes: on a screen of more than one device pixel
// a point (`ratio` above 1) the larger one comes, with a device pixel ratio
// of 2, so that it takes the same room and stays sharp.
QPixmap picture(const std::string& keyOrPath, qreal ratio = 1);

// A picture at both its sizes, for a painter to take the one of its device.
struct PictureSizes {
    QPixmap one, two;
    const QPixmap& at(qreal ratio) const { return ratio > 1 ? two : one; }
};
PictureSizes pictureSizes(const std::string& keyOrPath);

// The picture as an icon that holds both sizes, each screen drawing its own.
// The transport pictures are one-colour shapes and come in `ink`, the text
// colour of what they are drawn on.
QIcon pictureIcon(const std::string& keyOrPath, const QColor& ink);

// The window and tray icon for 100 (playing), 101 (paused), 102 (stopped),
// drawn when the resources lack it.
QIcon programIcon(int number);

// How far two colours stand apart: the ratio of their relative luminances
// (each plus 0.05), from 1 (alike) to 21 (black and white).
double contrastRatio(const QColor& a, const QColor& b);

// `text` when it reads on `background` (a contrast of 4.5 or more), else the
// same hue made just as much lighter or darker as it takes to read (or as
// far as it goes).
QColor legibleOn(const QColor& text, const QColor& background);

}  // namespace tarvolin
