#pragma once
// Disabling a widget without taking the user's place from them.
//
// Qt takes the keyboard focus from a widget that is disabled, also when one
// of its containers is: a frame disabled around a long operation would leave
// the user typing into nothing (or into the window's own key handling).
// setEnabledKeepingFocus disables and enables as setEnabled does; when the
// focus was inside the widget it is disabled, the focus comes back when the
// widget is enabled again, and the keys typed meanwhile reach the control
// they were typed for, in their order. Esc is never held: it is the key that
// cancels a long operation.
class QWidget;

namespace tarvolin {

void setEnabledKeepingFocus(QWidget* widget, bool enabled);

}  // namespace tarvolin
