#pragma once
// What the windows offer assistive technology and the keyboard beyond each
// control's own: the internal names for test drivers, and the Tab key's
// round through a window in the order its controls are drawn.
class QAbstractItemView;
class QAccessibleInterface;
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

// Lists that may hold the whole collection (tens of thousands of rows) show
// assistive technology the rows in view only, each made when first asked
// for and telling its place in the whole list, so that a search of the
// window never walks every row. markShownRowsOnly sets a list so (before
// its accessible interface is first asked for, or the one there is let
// go); shownRowsAccessible gives the interface of such a list, else null.
void markShownRowsOnly(QAbstractItemView* view);
bool shownRowsOnly(const QAbstractItemView* view);
QAccessibleInterface* shownRowsAccessible(QWidget* widget);
// Tells assistive technology that row of a shown-rows list is its focus.
void tellFocusedRow(QAbstractItemView* view, int row);

}  // namespace tarvolin
