#pragma once

#include <QSize>

class QScreen;
class QWidget;

namespace kelvane::widgets {

// The screen a top-level window stands on: the one under its middle, else its own, else the primary screen.
QScreen* ecranDe(const QWidget* fenetre);

// Gives a top-level window its default size, `souhaitee` or less so that the window, frame included, fits the
// available area of its screen (the taskbar left out), and places it in the middle of that area.
void ouvrirDansLEcran(QWidget* fenetre, const QSize& souhaitee);

// Brings a window that passes the available area of its screen (a geometry kept from a larger screen, or from a
// screen gone since) back inside it: shrunk to the area when larger, then moved into it. A maximized or full-screen
// window is left to the system.
void ramenerDansLEcran(QWidget* fenetre);

} // namespace kelvane::widgets
