#pragma once

#include <QByteArray>
#include <vector>

// Private to the engine layer: values between the callers' QVariants, a field's type and SQLite's storage.

#include "platform/db/fieldtype.h"

#include <QVariant>
#include <sqlite3.h>

namespace kelvane::db {

// The value a field holds once `value` is written into it, in the shape reading it back gives (bool, qint16, qint32,
// double, QString, QDateTime, or for a Variant column qlonglong, double, QString, QByteArray). Refuses what does
// not fit: 13 when it does not convert, 6 out of range, 3163 text too long, 3315 empty text refused.
QVariant toFieldValue(const FieldInfo& field, const QVariant& value);
// The same into `out`, which keeps its value when `value` is refused; a value of the field's own type is copied
// without a temporary.
void assignFieldValue(const FieldInfo& field, const QVariant& value, QVariant& out);

// Binds a value shaped by toFieldValue to a statement's parameter; returns SQLite's result code. Texts are handed
// over as UTF-8 kept alive in `keep` until the statement has run, which spares SQLite a copy of each of them.
int bindValue(sqlite3_stmt* statement, int index, const QVariant& value, std::vector<QByteArray>& keep);

// Reads a column as the field's type gives it; a stored value of another kind comes back as stored.
QVariant columnValue(sqlite3_stmt* statement, int column, const FieldInfo& field);

} // namespace kelvane::db
