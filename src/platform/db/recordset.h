#pragma once

#include "platform/db/fieldtype.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

namespace kelvane::db {

class Connection;
class RecordsetData;

// A dynaset over a whole table in stored (insertion) order. The table is read once when the recordset opens;
// moves are served from memory and Update writes through to the file.
//
// Values are QVariant: null (an invalid QVariant), bool, qint16, qint32, double, QString or QDateTime, after the
// field's declared type. Writing converts to that type and refuses what does not fit (error 3163 for a text
// longer than its field, 6 for a number out of range, 13 for a value that does not convert).
class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    bool isOpen() const;
    QString tableName() const;

    int RecordCount() const;
    bool Eof() const;
    bool Bof() const;
    int AbsolutePosition() const;           // zero-based; -1 when there is no current record
    void setAbsolutePosition(int position); // error 3001 out of range
    void MoveFirst();
    void MoveNext();

    int FieldCount() const;
    const FieldInfo& FieldDef(int index) const;
    int FieldIndex(const QString& name) const; // without regard to case; error 3265 when absent

    QVariant Fields(int index) const;
    QVariant Fields(const QString& name) const;
    // Every field of the current record at once, in field order (cheaper than one Fields call each).
    std::vector<QVariant> GetRow() const;
    void SetField(int index, const QVariant& value); // only between AddNew or Edit and Update
    void SetField(const QString& name, const QVariant& value);

    void AddNew();
    void Edit();
    void Update(); // durable when it returns, outside a transaction
    void CancelUpdate();

private:
    friend class Database;
    Recordset(std::shared_ptr<Connection> connection, std::shared_ptr<RecordsetData> data);
    RecordsetData& checked() const; // error 3420 when not open or its database was closed

    std::shared_ptr<Connection> connection_;
    std::shared_ptr<RecordsetData> data_;
};

} // namespace kelvane::db
