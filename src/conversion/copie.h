#pragma once

#include "conversion/vidage.h"
#include "platform/db/database.h"
#include "platform/db/fieldtype.h"

#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

namespace kelvane::conversion {

// An Access column's type and size in the engine's terms: yes/no a Boolean, byte and integer an Integer, long
// integer a Long, single a Single, double, currency and decimal a Double, date a Date, text a Text of the same
// number of characters, memo a Memo, replication id a Text of 38, binary a Variant. Nothing for the types whose
// values the reader does not give (OLE objects and those libmdb does not know).
std::optional<db::FieldInfo> champKelvane(const ColonneAccess& colonne);

// A value of the dump as a field of that type keeps it (bool, qint16, qint32, double, QString, QDateTime; a value
// that does not fit is left as it is, for the engine to refuse with its own message).
QVariant valeurKelvane(db::FieldType type, const QVariant& valeur);

// Creates each table with its Access name, its fields in order with their names, types and sizes, and writes its
// records in stored order, all in one transaction. A record the engine refuses is error "table T, enregistrement
// N : …" with the engine's number.
void copierTables(db::Database& base, const std::vector<const TableAccess*>& tables);

} // namespace kelvane::conversion
