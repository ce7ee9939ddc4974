#pragma once

#include <QDataStream>
#include <QString>

namespace kelvane::lecteuraccess {

// Writes the dump of the Access file at `chemin` (every user table, its columns and its records in stored order,
// as conversion/protocole.h describes it) into `sortie`. Returns an empty text when the whole file was read, else
// the reason in French; the dump is then incomplete and its end marker missing.
QString vider(const QString& chemin, QDataStream& sortie);

} // namespace kelvane::lecteuraccess
