#pragma once

#include <QString>

namespace kelvane::atelier {

// The workbench's name: its window's title and the title of its message boxes.
inline const QString kTitreAtelier = QStringLiteral("Kelvane — Atelier");

} // namespace kelvane::atelier
