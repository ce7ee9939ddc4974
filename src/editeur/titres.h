#pragma once

#include <QString>

namespace kelvane::editeur {

// The title of the editor's message boxes.
inline const QString kTitreEditeur = QStringLiteral("Éditeur de test");

} // namespace kelvane::editeur
