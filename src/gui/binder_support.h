#pragma once
// What the binders of the several control kinds share: the conversions
// between the model's texts, colours, keys and buttons and Qt's, and the
// binder of each control kind, which bindControl picks.
#include <memory>
#include <string>
#include <string_view>

#include <QPalette>
#include <QString>

#include "gui/binders.h"

class QKeyEvent;

namespace tarvolin {

class CheckBox;
class CommandButton;
class Frame;
class Label;
class MultiPage;
class OptionButton;
class Player;
class ScrollBar;
class Shape;
class Slider;
class TextBox;

// Twips in a pixel: the model's positions and sizes are in twips.
inline constexpr int kTwips = 15;

inline QString q(const std::string& s) { return QString::fromStdString(s); }

// Text shown in a widget: the model keeps CR LF line ends.
QString shownText(std::string_view s);
// The model's text of what a widget shows.
std::string modelText(const QString& t, bool multiLine);
// The model's mouse button (1 left, 2 right, 4 middle) of a Qt button.
int mouseButton(Qt::MouseButton b);
// Sets a palette role of the widget; an invalid colour gives back the
// application's own.
void setPaletteColour(QWidget* w, QPalette::ColorRole role, const QColor& c);
// Whether a key press presses the control that has the focus: Return or
// Enter (and Space where space is true), not repeated by a held key, without
// Ctrl or Alt.
bool isPressKey(const QKeyEvent* ke, bool space);

// The binder of each control kind, with its widget made a child of parent.
std::unique_ptr<Binder> bindLabel(Label& l, QWidget* parent);
std::unique_ptr<Binder> bindButton(CommandButton& b, QWidget* parent);
std::unique_ptr<Binder> bindText(TextBox& t, QWidget* parent);
std::unique_ptr<Binder> bindCheck(CheckBox& c, QWidget* parent);
std::unique_ptr<Binder> bindOption(OptionButton& o, QWidget* parent);
std::unique_ptr<Binder> bindFrame(Frame& f, QWidget* parent);
// ListBox, FileListBox, DirListBox.
std::unique_ptr<Binder> bindList(ListControl& l, QWidget* parent);
// ComboBox, DriveListBox.
std::unique_ptr<Binder> bindCombo(ListControl& l, QWidget* parent);
// PictureBox, Image.
std::unique_ptr<Binder> bindPicture(Control& c, QWidget* parent);
std::unique_ptr<Binder> bindShape(Shape& s, QWidget* parent);
std::unique_ptr<Binder> bindSlider(Slider& s, QWidget* parent);
std::unique_ptr<Binder> bindScroll(ScrollBar& s, Qt::Orientation o, QWidget* parent);
std::unique_ptr<Binder> bindPages(MultiPage& m, QWidget* parent);
std::unique_ptr<Binder> bindPlayer(Player& p, QWidget* parent);

}  // namespace tarvolin
