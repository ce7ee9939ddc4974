#pragma once

#include <QApplication>

namespace kelvane::widgets {

// Shows the busy cursor while it lives, around work that holds the event loop (a conversion, a folder read).
class Patience {
public:
    Patience() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Patience() { QApplication::restoreOverrideCursor(); }
    Patience(const Patience&) = delete;
    Patience& operator=(const Patience&) = delete;
};

} // namespace kelvane::widgets
