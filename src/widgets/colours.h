#pragma once

#include <QColor>

class QAbstractButton;
class QWidget;

namespace kelvane::widgets {

// The forms' buttons are pink while they can be pressed and grey when they cannot, so that pupils see at a
// glance which steps are open. Enables or disables the button accordingly.
void paintButton(QAbstractButton* b, bool enabled);

// A widget's back colour, as the BackColor property set it: the whole widget is filled with it.
void setBackColour(QWidget* w, QColor colour);

} // namespace kelvane::widgets
