#pragma once

#include <QString>

// The files of an application folder, as every program of Kelvane reads and writes them.
namespace kelvane::data {

// The settings file of an application folder: the teacher code, and the folder's mark as Kelvane's.
inline const QString kFichierParametres = QStringLiteral("habilitation.mdb");

} // namespace kelvane::data
