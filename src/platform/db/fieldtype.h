#pragma once

#include <QString>

namespace kelvane::db {

// Field types, numbered as the object model that test files were first written for.
enum class FieldType {
    Variant = 0, // a column declared without a type: values are stored as given
    Boolean = 1,
    Integer = 3, // 16-bit signed
    Long = 4,    // 32-bit signed
    Single = 6,
    Double = 7,
    Date = 8,
    Text = 10,       // with a size, in characters
    LongBinary = 11, // bytes, such as a picture's file
    Memo = 12,       // text without a size
};

// One column as the engine sees it: what CreateField made, or what an SQLite file declares.
struct FieldInfo {
    QString name;
    FieldType type = FieldType::Variant;
    int size = 0; // characters, for Text only
    bool allowZeroLength = true;
};

// The SQLite declared type written for a field, and the field type read back from any declared type
// ("VARCHAR(200)" is text of 200, "SMALLINT" a 16-bit integer, "BOOLEAN" a yes/no, "INTEGER" a long...).
QString declaredType(const FieldInfo& field);
FieldInfo fieldFromDeclaredType(const QString& name, const QString& declared);

} // namespace kelvane::db
