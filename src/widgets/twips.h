#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace kelvane::widgets {

// The forms are laid out in twips: 1440 to the logical inch, so 15 to the pixel at 96 DPI.
// Results are device-independent pixels, scaled by the logical DPI of the widget's screen (or of the primary
// screen when there is no widget), 96 when no screen is known.
int twips(int tw, const QWidget* w = nullptr);
QRect twipsRect(int left, int top, int width, int height, const QWidget* w = nullptr);
QSize twipsSize(int width, int height, const QWidget* w = nullptr);

} // namespace kelvane::widgets
