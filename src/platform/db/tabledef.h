#pragma once

#include "platform/db/fieldtype.h"

#include <QString>
#include <vector>

namespace kelvane::db {

// A field being built: CreateField, set AllowZeroLength, then Fields().Append().
class Field {
public:
    Field() = default;
    Field(QString name, FieldType type, int size);

    QString Name() const { return info_.name; }
    FieldType Type() const { return info_.type; }
    int Size() const { return info_.size; }
    bool AllowZeroLength() const { return info_.allowZeroLength; }
    void setAllowZeroLength(bool allow) { info_.allowZeroLength = allow; }

    const FieldInfo& info() const { return info_; }

private:
    FieldInfo info_;
};

class TableDef;

// The fields of a table definition, in the order they were appended.
class FieldDefs {
public:
    void Append(const Field& field); // a second field of the same name (any case) is refused
    int Count() const { return static_cast<int>(fields_.size()); }
    const Field& operator[](int index) const; // zero-based; out of range is error 3265
    const Field& operator[](const QString& name) const;

private:
    friend class TableDefCollection; // reads columns back as SQLite has them, without the duplicate check
    std::vector<Field> fields_;
};

// A table definition: made by Database::CreateTableDef and appended with TableDefs().Append(), or read back
// from an existing table (then its fields describe the columns as declared).
class TableDef {
public:
    TableDef() = default;
    explicit TableDef(QString name);

    QString Name() const { return name_; }
    Field CreateField(const QString& name, FieldType type, int size = 0) const;
    FieldDefs& Fields() { return fields_; }
    const FieldDefs& Fields() const { return fields_; }

private:
    QString name_;
    FieldDefs fields_;
};

} // namespace kelvane::db
