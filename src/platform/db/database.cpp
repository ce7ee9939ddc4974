#include "platform/db/database.h"

#include "platform/db/connection.h"
#include "platform/db/recordsetdata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace kelvane::db {

namespace {

bool isEngineTable(const QString& name) {
    return engineTableNames().contains(name, Qt::CaseInsensitive);
}

void sortByName(QStringList& names) {
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
}

Error itemNotFound(const QString& what) {
    return Error(errc::ItemNotFound, QStringLiteral("Élément non trouvé dans cette collection : « %1 »").arg(what));
}

// SQLite calls the rowid by three names; a table may take some of them for its own columns.
std::optional<QString> rowidName(const std::vector<FieldInfo>& fields) {
    for (const char* candidate : {"rowid", "_rowid_", "oid"}) {
        const QString name = QLatin1String(candidate);
        const bool taken = std::any_of(fields.begin(), fields.end(), [&name](const FieldInfo& field) {
            return field.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (!taken) {
            return name;
        }
    }
    return std::nullopt;
}

// The column declared INTEGER PRIMARY KEY, which SQLite makes the rowid itself.
int rowidAliasColumn(const Connection& connection, const QString& table, const std::vector<FieldInfo>& fields) {
    Statement statement = connection.prepare(
        QStringLiteral("SELECT name FROM pragma_table_info(?1) WHERE pk = 1 AND upper(type) = 'INTEGER' "
                       "AND (SELECT count(*) FROM pragma_table_info(?1) WHERE pk > 0) = 1"));
    const QByteArray utf8 = table.toUtf8();
    sqlite3_bind_text(statement.get(), 1, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    if (!connection.step(statement.get())) {
        return -1;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 0));
    const QString name = QString::fromUtf8(text, sqlite3_column_bytes(statement.get(), 0));
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

const QStringList& engineTableNames() {
    static const QStringList names{QStringLiteral("MSysACEs"), QStringLiteral("MSysObjects"),
                                   QStringLiteral("MSysQueries"), QStringLiteral("MSysRelationships")};
    return names;
}

// ---------------------------------------------------------------------------------------------------------------
// TableDefCollection

// The listing rule, in this one place: the user tables and the four engine tables, by name without regard to case.
QStringList TableDefCollection::Names() const {
    QStringList names = db_.connection().userTables();
    for (const QString& engine : engineTableNames()) {
        if (!names.contains(engine, Qt::CaseInsensitive)) {
            names.append(engine);
        }
    }
    sortByName(names);
    return names;
}

int TableDefCollection::Count() const {
    return static_cast<int>(Names().size());
}

QString TableDefCollection::Name(int index) const {
    const QStringList names = Names();
    if (index < 0 || index >= names.size()) {
        throw itemNotFound(QString::number(index));
    }
    return names.at(index);
}

TableDef TableDefCollection::Item(const QString& name) const {
    Connection& connection = db_.connection();
    if (const std::optional<QString> table = connection.findTable(name)) {
        TableDef definition(*table);
        for (const FieldInfo& info : connection.tableFields(*table)) {
            Field field(info.name, info.type, info.size);
            field.setAllowZeroLength(info.allowZeroLength);
            definition.Fields().fields_.push_back(field);
        }
        return definition;
    }
    for (const QString& engine : engineTableNames()) {
        if (engine.compare(name, Qt::CaseInsensitive) == 0) {
            return TableDef(engine); // listed, but its contents are the engine's own business
        }
    }
    throw itemNotFound(name);
}

void TableDefCollection::Append(const TableDef& table) {
    Connection& connection = db_.connection();
    const QString name = table.Name();
    if (name.trimmed().isEmpty()) {
        throw Error(errc::InvalidArgument, QStringLiteral("Argument non valide : une table doit avoir un nom"));
    }
    if (isEngineTable(name) || connection.findTable(name) ||
        name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive)) {
        throw Error(errc::TableExists,
                    QStringLiteral("La table « %1 » existe déjà dans « %2 »").arg(name, connection.path()));
    }
    if (table.Fields().Count() == 0) {
        throw Error(dberr::NoFieldDefined,
                    QStringLiteral("Aucun champ défini : impossible d'ajouter la table « %1 »").arg(name));
    }
    QStringList columns;
    for (int i = 0; i < table.Fields().Count(); ++i) {
        const FieldInfo& field = table.Fields()[i].info();
        QString column = quoteIdentifier(field.name);
        const QString type = declaredType(field);
        if (!type.isEmpty()) {
            column += QLatin1Char(' ') + type;
        }
        // The rule travels with the file, so that it reads back and holds for any other writer too.
        if (!field.allowZeroLength && (field.type == FieldType::Text || field.type == FieldType::Memo)) {
            column += QStringLiteral(" CHECK (%1 <> '')").arg(quoteIdentifier(field.name));
        }
        columns.append(column);
    }
    const QString sql =
        QStringLiteral("CREATE TABLE %1 (%2)").arg(quoteIdentifier(name), columns.join(QLatin1String(", ")));
    connection.write([&] { connection.exec(sql); });
}

// ---------------------------------------------------------------------------------------------------------------
// Database

Database::Database() = default;

Database::Database(std::shared_ptr<Connection> connection) : connection_(std::move(connection)) {}

Database::~Database() {
    release();
}

Database::Database(Database&& other) noexcept : connection_(std::move(other.connection_)) {}

Database& Database::operator=(Database&& other) noexcept {
    if (this != &other) {
        release();
        connection_ = std::move(other.connection_);
    }
    return *this;
}

void Database::release() noexcept {
    if (connection_) {
        connection_->rollbackAll();
        connection_.reset();
    }
}

bool Database::isOpen() const {
    return connection_ && connection_->isOpen();
}

QString Database::path() const {
    return connection_ ? connection_->path() : QString();
}

void Database::Close() {
    if (connection_) {
        connection_->closeHandle();
    }
}

Connection& Database::connection() const {
    if (!connection_) {
        throw Error(errc::ObjectClosed, QStringLiteral("Objet non valide ou plus défini : aucune base ouverte"));
    }
    connection_->handle(); // 3420 once closed
    return *connection_;
}

Recordset Database::OpenRecordset(const QString& table, int type) {
    Q_UNUSED(type); // every recordset is a dynaset
    Connection& c = connection();
    const std::optional<QString> name = c.findTable(table);
    if (!name) {
        throw Error(
            errc::TableNotFound,
            QStringLiteral("Table introuvable : « %1 » dans « %2 »").arg(table, QDir::toNativeSeparators(c.path())));
    }
    std::vector<FieldInfo> fields = c.tableFields(*name);
    const std::optional<QString> rowid = rowidName(fields);
    if (!rowid) {
        throw fileError(errc::CannotOpen, c.path());
    }
    const int alias = rowidAliasColumn(c, *name, fields);
    auto data = std::make_shared<RecordsetData>(*name, std::move(fields), *rowid, alias);
    data->load(c);
    c.attach(data);
    return Recordset(connection_, std::move(data));
}

void Database::BeginTrans() {
    connection().beginTransaction();
}

void Database::CommitTrans() {
    connection().commitTransaction();
}

void Database::Rollback() {
    connection().rollbackTransaction();
}

bool Database::inTransaction() const {
    return isOpen() && connection_->transactionDepth() > 0;
}

QStringList Database::userTables() const {
    QStringList names = connection().userTables();
    sortByName(names);
    return names;
}

Database OpenDatabase(const QString& path, OpenMode mode) {
    return Database(Connection::open(path, mode));
}

Database CreateDatabase(const QString& name, const QString& locale) {
    Q_UNUSED(locale); // text is UTF-8 whatever the caller's collating order
    const QString path = QDir::cleanPath(QDir::current().absoluteFilePath(name));
    if (name.trimmed().isEmpty()) {
        throw fileError(errc::PathFileAccess, path);
    }
    const auto taken = [&path] {
        const QFileInfo info(path);
        return info.exists() || info.isSymLink();
    };
    if (taken()) {
        throw fileError(errc::DatabaseExists, path);
    }
    // O_CREAT|O_EXCL: of two programs creating the same name, one gets 3204 and the other's file is never touched.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (taken()) {
            throw fileError(errc::DatabaseExists, path);
        }
        if (!QFileInfo(path).dir().exists()) {
            throw fileError(errc::PathNotFound, path);
        }
        throw fileError(errc::PathFileAccess, path);
    }
    file.close();
    try {
        return Database(Connection::open(path, OpenMode::ReadWrite, true));
    } catch (...) {
        QFile::remove(path); // the empty file is ours: nobody else can have opened it as a database yet
        throw;
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Transaction

Transaction::Transaction(Database& db) : db_(db) {
    db_.BeginTrans();
}

Transaction::~Transaction() {
    if (open_) {
        try {
            db_.Rollback();
        } catch (const Error&) { // the error that left the scope is the one that matters
        }
    }
}

void Transaction::Commit() {
    if (!open_) {
        throw Error(errc::NoTransaction, QStringLiteral("Aucune transaction commencée : déjà validée"));
    }
    db_.CommitTrans();
    open_ = false;
}

} // namespace kelvane::db
