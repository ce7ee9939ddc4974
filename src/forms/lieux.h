#pragma once

#include <QString>

namespace kelvane::forms {

// The folders the program takes at its start: the application folder (settings, pictures) and the folder where
// every drive and folder list starts.
struct Lieux {
    QString appli;
    QString initial;
};

} // namespace kelvane::forms
