#pragma once

// Private to the engine layer: what a recordset holds, shared with its connection for reloads and closing.

#include "platform/db/connection.h"
#include "platform/db/fieldtype.h"
#include "platform/db/packedrow.h"

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

    int rowCount() const { return static_cast<int>(rowids.size()); }
    QVariant cell(int row, int column) const {
        return rows[static_cast<size_t>(row)].value(static_cast<size_t>(column));
    }

    // Writes the edit buffer (INSERT or UPDATE of the changed fields) and puts the result in the cache.
    void write(Connection& connection);

    QString table;
    std::vector<FieldInfo> fields;
    QString rowidName;         // "rowid", or another name of it when a column takes that one
    int rowidAliasColumn = -1; // the INTEGER PRIMARY KEY column, which is the rowid itself

    std::vector<qint64> rowids;  // stored order
    std::vector<PackedRow> rows; // the records' values, in the same order
    int current = 0;             // rowCount() means past the last record

    // The edit buffer. After AddNew it keeps the values of the previous record, so that AddNew costs nothing for a
    // copy that sets every field again; only the fields marked in `changed` count, the others are null.
    EditMode mode = EditMode::None;
    std::vector<QVariant> buffer;
    std::string changed; // '1' for each field set since AddNew or Edit, '0' for the others
    QVariant value(int column) const {
        const auto c = static_cast<size_t>(column);
        return mode == EditMode::AddNew && changed[c] == '0' ? QVariant() : buffer[c];
    }

private:
    sqlite3_stmt* insertStatement(Connection& connection);
    sqlite3_stmt* updateStatement(Connection& connection);
    QString columnList() const;
    void readRow(Connection& connection, qint64 rowid, std::vector<QVariant>& row);
    void insertCached(qint64 rowid, const std::vector<QVariant>& row);

    // One statement per set of changed fields: a copy sets the same fields record after record.
    std::map<std::string, Statement> inserts_;
    std::map<std::string, Statement> updates_;
    Statement select_;
    std::vector<QByteArray> texts_; // the UTF-8 texts bound by the last update, kept for their capacity
    bool loaded_ = false;           // the first load starts on the first record
};

} // namespace kelvane::db
