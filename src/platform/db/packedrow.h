#pragma once

// Private to the engine layer: the records a recordset keeps in memory.

#include <QVariant>
#include <cstddef>
#include <memory>

namespace kelvane::db {

// One record's values packed one after the other into a single block: a kind byte each, then its bytes (texts in
// UTF-16, dates as an instant and its kind of time zone). A value costs a few bytes instead of a 32-byte QVariant and,
// for a text, a heap block of its own. Values come back as the same QVariant: same type, same null or empty text.
class PackedRow {
public:
    PackedRow() = default;

    // Values shaped by toFieldValue or columnValue (null, bool, qint16, qint32, qlonglong, double, QString,
    // QByteArray, QDateTime); any other type is kept as its text.
    static PackedRow pack(const QVariant* values, std::size_t count);

    // The value of `column`, found by walking the values before it: a record has a few dozen at most.
    QVariant value(std::size_t column) const;
    // Every value, in column order, into `out` (which holds at least as many QVariants as the record).
    void unpack(QVariant* out, std::size_t count) const;

private:
    std::unique_ptr<std::byte[]> data_;
};

} // namespace kelvane::db
