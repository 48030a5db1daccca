#pragma once
// What the windows offer assistive technology and the keyboard beyond each
// control's own: the internal names for test drivers, and the Tab key's
// round through a window in the order its controls are drawn.
class QString;
class QWidget;

namespace tarvolin {

// Whether the environment asks for the internal names (TARVOLIN_ACCESSIBLE_IDS
// set to 1): test drivers find the controls and windows by them.
bool accessibleIdsShown();
// Makes id ("Command18_0", "Form1") the widget's accessible description
// where the internal names are asked for; otherwise the description stays
// the tool tip.
void setAccessibleId(QWidget* widget, const QString& id);

// Moves the focus to the next (or previous) place of root the Tab key stops
// at, after the control holding the focus, round the end; false when root
// has none. The controls go in the order they are drawn: the children of a
// container row by row, top to bottom, and left to right within a row; a
// child that holds controls (a frame, a page, a player's control bar) is
// gone through in its place the same way.
bool moveFocusInLayout(QWidget* root, bool next);

}  // namespace tarvolin
