#pragma once

// Private to the engine layer: what a recordset holds, shared with its connection for reloads and closing.

#include "platform/db/connection.h"
#include "platform/db/fieldtype.h"

#include <QString>
#include <QVariant>
#include <map>
#include <string>
#include <vector>

namespace kelvane::db {

class RecordsetData {
public:
    enum class EditMode { None, AddNew, Edit };

    RecordsetData(QString table, std::vector<FieldInfo> fields, QString rowidName, int rowidAliasColumn);

    // Reads the whole table in stored order; the current record keeps its position when it still exists.
    void load(Connection& connection);
    // Frees the prepared statements before the connection closes its handle.
    void releaseStatements() noexcept;

    int count() const { return static_cast<int>(rowids.size()); }
    const QVariant& cell(int row, int column) const { return cells[static_cast<size_t>(row) * fields.size() + column]; }

    // Writes the edit buffer (INSERT or UPDATE of the changed fields) and puts the result in the cache.
    void update(Connection& connection);

    QString table;
    std::vector<FieldInfo> fields;
    QString rowidName;         // "rowid", or another name of it when a column takes that one
    int rowidAliasColumn = -1; // the INTEGER PRIMARY KEY column, which is the rowid itself

    std::vector<qint64> rowids;  // stored order
    std::vector<QVariant> cells; // rows one after the other, fields.size() values each
    int current = 0;             // count() means past the last record

    EditMode mode = EditMode::None;
    std::vector<QVariant> buffer;
    std::string changed; // '1' for each field set since AddNew or Edit, '0' for the others

private:
    sqlite3_stmt* insertStatement(Connection& connection);
    sqlite3_stmt* updateStatement(Connection& connection);
    QString columnList() const;
    void readRow(Connection& connection, qint64 rowid, std::vector<QVariant>& row);
    void insertCached(qint64 rowid, std::vector<QVariant> row);

    // One statement per set of changed fields: a copy sets the same fields record after record.
    std::map<std::string, Statement> inserts_;
    std::map<std::string, Statement> updates_;
    Statement select_;
    bool loaded_ = false; // the first load starts on the first record
};

} // namespace kelvane::db
