#include "platform/db/recordset.h"

#include "platform/db/recordsetdata.h"
#include "platform/db/value.h"

#include <algorithm>

namespace kelvane::db {

namespace {

Error noCurrentRecord() {
    return Error(errc::NoCurrentRecord, QStringLiteral("Aucun enregistrement en cours"));
}

Error notEditing() {
    return Error(errc::UpdateWithoutEdit, QStringLiteral("Update ou CancelUpdate sans AddNew ou Edit"));
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------
// RecordsetData

RecordsetData::RecordsetData(QString table, std::vector<FieldInfo> fields, QString rowidName, int rowidAliasColumn)
    : table(std::move(table)), fields(std::move(fields)), rowidName(std::move(rowidName)),
      rowidAliasColumn(rowidAliasColumn) {}

QString RecordsetData::columnList() const {
    QStringList columns;
    columns.reserve(static_cast<qsizetype>(fields.size()));
    for (const FieldInfo& field : fields) {
        columns.append(quoteIdentifier(field.name));
    }
    return columns.join(QLatin1String(", "));
}

void RecordsetData::load(Connection& connection) {
    const bool wasPastEnd = loaded_ && current >= rowCount();
    const qint64 currentRowid = loaded_ && !wasPastEnd ? rowids[static_cast<size_t>(current)] : 0;

    const QString rowid = quoteIdentifier(rowidName);
    Statement statement = connection.prepare(
        QStringLiteral("SELECT %1, %2 FROM %3 ORDER BY %1").arg(rowid, columnList(), quoteIdentifier(table)));
    std::vector<qint64> newRowids;
    std::vector<PackedRow> newRows;
    std::vector<QVariant> row(fields.size());
    while (connection.step(statement.get())) {
        newRowids.push_back(sqlite3_column_int64(statement.get(), 0));
        for (size_t c = 0; c < fields.size(); ++c) {
            row[c] = columnValue(statement.get(), static_cast<int>(c) + 1, fields[c]);
        }
        newRows.push_back(PackedRow::pack(row.data(), row.size()));
    }
    rowids = std::move(newRowids);
    rows = std::move(newRows);
    mode = EditMode::None;
    if (wasPastEnd) {
        current = rowCount();
    } else if (!loaded_) {
        current = 0;
    } else {
        // The same record if it is still there, else the one that now stands where it stood.
        current = static_cast<int>(std::lower_bound(rowids.begin(), rowids.end(), currentRowid) - rowids.begin());
    }
    loaded_ = true;
}

void RecordsetData::releaseStatements() noexcept {
    inserts_.clear();
    updates_.clear();
    select_.reset();
}

sqlite3_stmt* RecordsetData::insertStatement(Connection& connection) {
    Statement& statement = inserts_[changed];
    if (!statement) {
        QStringList columns;
        QStringList parameters;
        for (size_t i = 0; i < fields.size(); ++i) {
            if (changed[i] == '1') {
                columns.append(quoteIdentifier(fields[i].name));
                parameters.append(QStringLiteral("?"));
            }
        }
        const QString sql = columns.isEmpty()
                                ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteIdentifier(table))
                                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                      .arg(quoteIdentifier(table), columns.join(QLatin1String(", ")),
                                           parameters.join(QLatin1String(", ")));
        try {
            statement = connection.prepare(sql, true);
        } catch (...) {
            inserts_.erase(changed);
            throw;
        }
    }
    return statement.get();
}

sqlite3_stmt* RecordsetData::updateStatement(Connection& connection) {
    Statement& statement = updates_[changed];
    if (!statement) {
        QStringList assignments;
        for (size_t i = 0; i < fields.size(); ++i) {
            if (changed[i] == '1') {
                assignments.append(quoteIdentifier(fields[i].name) + QStringLiteral(" = ?"));
            }
        }
        const QString sql =
            QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                .arg(quoteIdentifier(table), assignments.join(QLatin1String(", ")), quoteIdentifier(rowidName));
        try {
            statement = connection.prepare(sql, true);
        } catch (...) {
            updates_.erase(changed);
            throw;
        }
    }
    return statement.get();
}

void RecordsetData::readRow(Connection& connection, qint64 rowid, std::vector<QVariant>& row) {
    if (!select_) {
        select_ = connection.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                                         .arg(columnList(), quoteIdentifier(table), quoteIdentifier(rowidName)),
                                     true);
    }
    StatementScope scope(select_.get());
    sqlite3_bind_int64(select_.get(), 1, rowid);
    if (!connection.step(select_.get())) {
        return; // gone meanwhile: the written values stay as the best knowledge
    }
    for (size_t c = 0; c < fields.size(); ++c) {
        row[c] = columnValue(select_.get(), static_cast<int>(c), fields[c]);
    }
}

void RecordsetData::insertCached(qint64 rowid, const std::vector<QVariant>& row) {
    PackedRow packed = PackedRow::pack(row.data(), row.size());
    const auto position = std::upper_bound(rowids.begin(), rowids.end(), rowid);
    const int index = static_cast<int>(position - rowids.begin());
    rows.insert(rows.begin() + index, std::move(packed));
    rowids.insert(position, rowid);
    if (current >= index) {
        ++current;
    }
}

void RecordsetData::write(Connection& connection) {
    if (mode == EditMode::Edit && changed.find('1') == std::string::npos) {
        mode = EditMode::None;
        return;
    }
    bool changedVariant = false;
    for (size_t i = 0; i < fields.size(); ++i) {
        changedVariant = changedVariant || (changed[i] == '1' && fields[i].type == FieldType::Variant);
    }
    std::vector<QByteArray>& texts = texts_; // alive until the statement has run
    texts.clear();
    texts.reserve(fields.size());
    const auto bindChanged = [&](sqlite3_stmt* statement) {
        int parameter = 1;
        for (size_t i = 0; i < fields.size(); ++i) {
            if (changed[i] == '1') {
                const int rc = bindValue(statement, parameter++, buffer[i], texts);
                if (rc != SQLITE_OK) {
                    connection.raise(rc);
                }
            }
        }
        return parameter;
    };

    if (mode == EditMode::AddNew) {
        // Defaults of unset columns and the affinity of untyped ones are only known once SQLite stored the row.
        const bool reread = changedVariant || changed.find('0') != std::string::npos;
        sqlite3_stmt* statement = insertStatement(connection);
        qint64 rowid = 0;
        std::vector<QVariant> row;
        connection.write([&] {
            StatementScope scope(statement);
            bindChanged(statement);
            connection.step(statement);
            rowid = sqlite3_last_insert_rowid(connection.handle());
            if (reread) {
                row.resize(fields.size());
                for (size_t i = 0; i < fields.size(); ++i) {
                    row[i] = value(static_cast<int>(i));
                }
                readRow(connection, rowid, row);
            }
        });
        // The buffer is kept until the write succeeded: after a failure the caller may fix a value and retry.
        insertCached(rowid, reread ? row : buffer);
        mode = EditMode::None;
        return;
    }

    const qint64 rowid = rowids[static_cast<size_t>(current)];
    const bool rowidChanged = rowidAliasColumn >= 0 && changed[static_cast<size_t>(rowidAliasColumn)] == '1';
    sqlite3_stmt* statement = updateStatement(connection);
    std::vector<QVariant> row;
    connection.write([&] {
        StatementScope scope(statement);
        const int parameter = bindChanged(statement);
        sqlite3_bind_int64(statement, parameter, rowid);
        connection.step(statement);
        row = buffer;
        if (changedVariant && !rowidChanged) {
            readRow(connection, rowid, row);
        }
    });
    mode = EditMode::None;
    if (rowidChanged) {
        // The record moved in the stored order: read the table again and follow it.
        const qint64 newRowid = row[static_cast<size_t>(rowidAliasColumn)].toLongLong();
        load(connection);
        current = static_cast<int>(std::lower_bound(rowids.begin(), rowids.end(), newRowid) - rowids.begin());
        return;
    }
    rows[static_cast<size_t>(current)] = PackedRow::pack(row.data(), row.size());
}

// ---------------------------------------------------------------------------------------------------------------
// Recordset

Recordset::Recordset() = default;
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;

Recordset::Recordset(std::shared_ptr<Connection> connection, std::shared_ptr<RecordsetData> data)
    : connection_(std::move(connection)), data_(std::move(data)) {}

RecordsetData& Recordset::checked() const {
    if (!connection_ || !data_) {
        throw Error(errc::ObjectClosed, QStringLiteral("Objet non valide ou plus défini : aucun recordset ouvert"));
    }
    if (!connection_->isOpen()) {
        throw fileError(errc::ObjectClosed, connection_->path());
    }
    return *data_;
}

bool Recordset::isOpen() const {
    return connection_ && data_ && connection_->isOpen();
}

QString Recordset::tableName() const {
    return data_ ? data_->table : QString();
}

int Recordset::RecordCount() const {
    return checked().rowCount();
}

bool Recordset::Eof() const {
    const RecordsetData& d = checked();
    return d.current >= d.rowCount();
}

bool Recordset::Bof() const {
    return checked().rowCount() == 0;
}

int Recordset::AbsolutePosition() const {
    const RecordsetData& d = checked();
    return d.current < d.rowCount() ? d.current : -1;
}

void Recordset::setAbsolutePosition(int position) {
    RecordsetData& d = checked();
    if (position < 0 || position >= d.rowCount()) {
        throw Error(errc::InvalidArgument,
                    QStringLiteral("Argument non valide : position %1 hors de la table « %2 » (%3 enregistrements)")
                        .arg(position)
                        .arg(d.table)
                        .arg(d.rowCount()));
    }
    d.mode = RecordsetData::EditMode::None;
    d.current = position;
}

void Recordset::MoveFirst() {
    RecordsetData& d = checked();
    if (d.rowCount() == 0) {
        throw noCurrentRecord();
    }
    d.mode = RecordsetData::EditMode::None;
    d.current = 0;
}

void Recordset::MoveNext() {
    RecordsetData& d = checked();
    if (d.current >= d.rowCount()) {
        throw noCurrentRecord();
    }
    d.mode = RecordsetData::EditMode::None;
    ++d.current;
}

int Recordset::FieldCount() const {
    return static_cast<int>(checked().fields.size());
}

const FieldInfo& Recordset::FieldDef(int index) const {
    const RecordsetData& d = checked();
    if (index < 0 || index >= static_cast<int>(d.fields.size())) {
        throw Error(
            errc::ItemNotFound,
            QStringLiteral("Élément non trouvé dans cette collection : champ %1 de « %2 »").arg(index).arg(d.table));
    }
    return d.fields[static_cast<size_t>(index)];
}

int Recordset::FieldIndex(const QString& name) const {
    const RecordsetData& d = checked();
    for (size_t i = 0; i < d.fields.size(); ++i) {
        if (d.fields[i].name.compare(name, Qt::CaseInsensitive) == 0) {
            return static_cast<int>(i);
        }
    }
    throw Error(errc::ItemNotFound,
                QStringLiteral("Élément non trouvé dans cette collection : champ « %1 » de « %2 »").arg(name, d.table));
}

QVariant Recordset::Fields(int index) const {
    const RecordsetData& d = checked();
    FieldDef(index);
    if (d.mode != RecordsetData::EditMode::None) {
        return d.value(index);
    }
    if (d.current >= d.rowCount()) {
        throw noCurrentRecord();
    }
    return d.cell(d.current, index);
}

std::vector<QVariant> Recordset::GetRow() const {
    const RecordsetData& d = checked();
    if (d.mode != RecordsetData::EditMode::None) {
        std::vector<QVariant> row(d.fields.size());
        for (std::size_t i = 0; i < row.size(); ++i) {
            row[i] = d.value(static_cast<int>(i));
        }
        return row;
    }
    if (d.current >= d.rowCount()) {
        throw noCurrentRecord();
    }
    std::vector<QVariant> row(d.fields.size());
    d.rows[static_cast<size_t>(d.current)].unpack(row.data(), row.size());
    return row;
}

QVariant Recordset::Fields(const QString& name) const {
    return Fields(FieldIndex(name));
}

void Recordset::SetField(int index, const QVariant& value) {
    RecordsetData& d = checked();
    if (index < 0 || index >= static_cast<int>(d.fields.size())) {
        FieldDef(index); // raises the engine's error for a field that is not there
    }
    const FieldInfo& field = d.fields[static_cast<size_t>(index)];
    if (d.mode == RecordsetData::EditMode::None) {
        throw notEditing();
    }
    assignFieldValue(field, value, d.buffer[static_cast<size_t>(index)]);
    d.changed[static_cast<size_t>(index)] = '1';
}

void Recordset::SetField(const QString& name, const QVariant& value) {
    SetField(FieldIndex(name), value);
}

void Recordset::AddNew() {
    RecordsetData& d = checked();
    d.mode = RecordsetData::EditMode::AddNew;
    d.buffer.resize(d.fields.size()); // values left from before count only once set again
    d.changed.assign(d.fields.size(), '0');
}

void Recordset::Edit() {
    RecordsetData& d = checked();
    if (d.current >= d.rowCount()) {
        throw noCurrentRecord();
    }
    d.mode = RecordsetData::EditMode::Edit;
    d.buffer.resize(d.fields.size());
    d.rows[static_cast<size_t>(d.current)].unpack(d.buffer.data(), d.fields.size());
    d.changed.assign(d.fields.size(), '0');
}

void Recordset::Update() {
    RecordsetData& d = checked();
    if (d.mode == RecordsetData::EditMode::None) {
        throw notEditing();
    }
    d.write(*connection_);
}

void Recordset::CancelUpdate() {
    RecordsetData& d = checked();
    if (d.mode == RecordsetData::EditMode::None) {
        throw notEditing();
    }
    d.mode = RecordsetData::EditMode::None;
}

} // namespace kelvane::db
