#include "platform/db/connection.h"

#include "platform/db/recordsetdata.h"
#include "platform/system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kelvane::db {

namespace {

// Results folders live on network shares and pupils' machines get switched off: a rollback journal next to the
// file (never WAL, whose shared memory does not work across machines) and a sync of the folder at each commit.
constexpr int kBusyTimeoutMs = 2000;

// Marks files this program created, in the header SQLite reserves for it.
constexpr int kApplicationId = 0x4B4C564E; // "KLVN"

QString columnText(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(statement, column));
}

// A writer killed in the middle of a commit (the program killed, a pupil's machine switched off) leaves its journal
// beside the file, and a read-only connection refuses the whole file until someone plays the journal back: the
// results file of an interrupted session would drop out of every list, which only read. A read-write connection
// that reads the schema plays it back, as the next writer would, and writes nothing else; SQLite leaves alone a
// journal that a live writer still holds. A file that cannot be written keeps its journal and reads as before.
void rollBackHotJournal(const QString& fullPath) {
    if (!QFileInfo::exists(fullPath + QStringLiteral("-journal"))) {
        return;
    }
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(platform::sqliteFileName(fullPath).constData(), &raw,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    const SqliteHandle handle(raw); // closed even when the open failed
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(raw, kBusyTimeoutMs);
        sqlite3_exec(raw, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    }
}

// The CHECK our CREATE TABLE writes for a field that refuses the empty text, as it appears in sqlite_master.
QString zeroLengthCheck(const QString& column) {
    return QStringLiteral("CHECK (%1 <> '')").arg(quoteIdentifier(column));
}

} // namespace

QString quoteIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

Error fileError(int number, const QString& path) {
    QString text;
    switch (number) {
    case errc::FileNotFound:
        text = QStringLiteral("Fichier introuvable : « %1 »");
        break;
    case errc::UnrecognizedFormat:
        text = QStringLiteral("Format de base de données non reconnu : « %1 »");
        break;
    case errc::ReadOnly:
        text = QStringLiteral("Impossible de mettre à jour. Base de données ou objet en lecture seule : « %1 »");
        break;
    case errc::Locked:
        text = QStringLiteral("Impossible de mettre à jour : la base « %1 » est verrouillée par un autre utilisateur");
        break;
    case errc::DiskFull:
        text = QStringLiteral("Espace disque insuffisant pour écrire dans « %1 »");
        break;
    case errc::Io:
        text = QStringLiteral("Erreur de disque ou de réseau sur « %1 »");
        break;
    case errc::ObjectClosed:
        text = QStringLiteral("Objet non valide ou plus défini : la base « %1 » est fermée");
        break;
    case errc::DatabaseExists:
        text = QStringLiteral("La base de données « %1 » existe déjà");
        break;
    case errc::PathNotFound:
        text = QStringLiteral("Chemin d'accès introuvable : « %1 »");
        break;
    case errc::PathFileAccess:
        text = QStringLiteral("Erreur d'accès au chemin/fichier : « %1 »");
        break;
    case dberr::OutOfMemory:
        text = QStringLiteral("Mémoire insuffisante pour la base « %1 »");
        break;
    default:
        text = QStringLiteral("Impossible d'ouvrir ou d'utiliser le fichier « %1 »");
        break;
    }
    return Error(number, text.arg(QDir::toNativeSeparators(path)));
}

Connection::Connection(QString path, OpenMode mode) : path_(std::move(path)), mode_(mode) {}

Connection::~Connection() {
    closeHandle();
}

std::shared_ptr<Connection> Connection::open(const QString& path, OpenMode mode, bool fresh) {
    const QFileInfo info(path);
    const QString fullPath = info.absoluteFilePath();
    if (!info.exists()) {
        throw fileError(errc::FileNotFound, fullPath);
    }
    if (info.isDir()) {
        throw fileError(errc::CannotOpen, fullPath);
    }
    // SQLite takes an empty file for an empty database; an empty file where a test or results file was expected
    // is a damaged copy, not a database.
    if (info.size() == 0 && !fresh) {
        throw fileError(errc::UnrecognizedFormat, fullPath);
    }

    if (mode == OpenMode::ReadOnly) {
        rollBackHotJournal(fullPath);
    }

    std::shared_ptr<Connection> connection(new Connection(fullPath, mode));
    const int flags = (mode == OpenMode::ReadWrite ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) |
                      SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE;
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(platform::sqliteFileName(fullPath).constData(), &raw, flags, nullptr);
    connection->handle_.reset(raw); // closed even when the open failed
    if (rc != SQLITE_OK) {
        if ((rc & 0xff) == SQLITE_CANTOPEN) {
            throw fileError(errc::CannotOpen, fullPath);
        }
        connection->raise(rc);
    }
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, kBusyTimeoutMs);
    connection->configure(fresh);
    return connection;
}

void Connection::configure(bool fresh) {
    if (mode_ == OpenMode::Snapshot) {
        exec(QStringLiteral("BEGIN"));
    }
    // Reading the whole schema is what tells a database from other bytes, and a damaged schema from a sound one.
    {
        Statement schema = prepare(QStringLiteral("SELECT type, name, sql FROM sqlite_master"));
        while (step(schema.get())) {
        }
    }
    if (mode_ == OpenMode::Snapshot) {
        refuseWhileWritten();
    }
    if (mode_ == OpenMode::ReadWrite) {
        Statement journal = prepare(QStringLiteral("PRAGMA journal_mode=DELETE"));
        const int rc = sqlite3_step(journal.get());
        // A file the system keeps read-only cannot change its journal; it still reads, and writes fail with 3027.
        if (rc != SQLITE_ROW && rc != SQLITE_DONE && (rc & 0xff) != SQLITE_READONLY) {
            raise(rc);
        }
        exec(QStringLiteral("PRAGMA synchronous=EXTRA"));
    }
    if (fresh) {
        exec(QStringLiteral("PRAGMA application_id=%1").arg(kApplicationId));
    }
    begin_ = prepare(QStringLiteral("BEGIN IMMEDIATE"), true);
    commit_ = prepare(QStringLiteral("COMMIT"), true);
    rollback_ = prepare(QStringLiteral("ROLLBACK"), true);
}

void Connection::closeHandle() {
    if (!handle_) {
        return;
    }
    if (depth_ > 0) {
        abandon();
        depth_ = 0;
    }
    for (const std::weak_ptr<RecordsetData>& weak : recordsets_) {
        if (const std::shared_ptr<RecordsetData> recordset = weak.lock()) {
            recordset->releaseStatements();
        }
    }
    recordsets_.clear();
    begin_.reset();
    commit_.reset();
    rollback_.reset();
    handle_.reset();
}

sqlite3* Connection::handle() const {
    if (!handle_) {
        throw fileError(errc::ObjectClosed, path_);
    }
    return handle_.get();
}

Statement Connection::prepare(const QString& sql, bool persistent) const {
    sqlite3* db = handle();
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v3(db, utf8.constData(), static_cast<int>(utf8.size()),
                                      persistent ? SQLITE_PREPARE_PERSISTENT : 0, &raw, nullptr);
    Statement statement(raw);
    if (rc != SQLITE_OK) {
        raise(rc);
    }
    return statement;
}

void Connection::exec(const QString& sql) const {
    Statement statement = prepare(sql);
    while (step(statement.get())) {
    }
}

bool Connection::step(sqlite3_stmt* statement) const {
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    raise(rc);
}

void Connection::run(sqlite3_stmt* statement) const {
    StatementScope scope(statement);
    while (step(statement)) {
    }
}

Error Connection::errorFor(int rc) const {
    if (mode_ == OpenMode::Snapshot && rc == SQLITE_READONLY_ROLLBACK) {
        return fileError(errc::Locked, path_); // a commit in progress, or one a killed writer left
    }
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return fileError(errc::Locked, path_);
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return fileError(errc::ReadOnly, path_);
    case SQLITE_FULL:
        return fileError(errc::DiskFull, path_);
    case SQLITE_IOERR:
        // SQLite reports a short write as "disk full" only for ENOSPC; a quota or a file-size limit, as on pupils'
        // network folders, is the same lack of room for the candidate and the teacher.
        if (platform::isOutOfSpace(handle_ ? sqlite3_system_errno(handle_.get()) : 0)) {
            return fileError(errc::DiskFull, path_);
        }
        return fileError(errc::Io, path_);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
        return fileError(errc::UnrecognizedFormat, path_);
    case SQLITE_NOMEM:
        return fileError(dberr::OutOfMemory, path_);
    case SQLITE_MISMATCH:
        return Error(errc::TypeMismatch, QStringLiteral("Type incompatible dans « %1 »").arg(path_));
    case SQLITE_CONSTRAINT:
        switch (rc) {
        case SQLITE_CONSTRAINT_NOTNULL:
            return Error(dberr::NullNotAllowed,
                         QStringLiteral("Un champ de la base « %1 » ne peut pas contenir la valeur Null").arg(path_));
        case SQLITE_CONSTRAINT_UNIQUE:
        case SQLITE_CONSTRAINT_PRIMARYKEY:
            return Error(dberr::DuplicateValue,
                         QStringLiteral("Les modifications créeraient des doublons dans la base « %1 »").arg(path_));
        default:
            return Error(
                dberr::ValidationRule,
                QStringLiteral("Une valeur est interdite par une règle de validation de la base « %1 »").arg(path_));
        }
    default:
        return fileError(errc::CannotOpen, path_);
    }
}

void Connection::raise(int rc) const {
    throw errorFor(rc);
}

std::optional<QString> Connection::findTable(const QString& name) const {
    Statement statement =
        prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND "
                               "name = ?1 COLLATE NOCASE AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"));
    const QByteArray utf8 = name.toUtf8();
    sqlite3_bind_text(statement.get(), 1, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    if (step(statement.get())) {
        return columnText(statement.get(), 0);
    }
    return std::nullopt;
}

QStringList Connection::userTables() const {
    // SQLite's own tables are the only internal ones: Kelvane keeps nothing of its own in a file.
    Statement statement = prepare(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"));
    QStringList names;
    while (step(statement.get())) {
        names.append(columnText(statement.get(), 0));
    }
    return names;
}

std::vector<FieldInfo> Connection::tableFields(const QString& table) const {
    QString sql;
    {
        Statement statement =
            prepare(QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?1"));
        const QByteArray utf8 = table.toUtf8();
        sqlite3_bind_text(statement.get(), 1, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
        if (step(statement.get())) {
            sql = columnText(statement.get(), 0);
        }
    }
    Statement statement = prepare(QStringLiteral("SELECT name, type FROM pragma_table_info(?1)"));
    const QByteArray utf8 = table.toUtf8();
    sqlite3_bind_text(statement.get(), 1, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    std::vector<FieldInfo> fields;
    while (step(statement.get())) {
        FieldInfo field = fieldFromDeclaredType(columnText(statement.get(), 0), columnText(statement.get(), 1));
        if (field.type == FieldType::Text || field.type == FieldType::Memo) {
            field.allowZeroLength = !sql.contains(zeroLengthCheck(field.name), Qt::CaseInsensitive);
        }
        fields.push_back(std::move(field));
    }
    return fields;
}

void Connection::refuseWhileWritten() const {
    // The read transaction holds the shared lock now; the reserved lock tells whether a writer is at work (POSIX
    // locks of this process included: SQLite keeps them per file, not per connection).
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(handle(), "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || file == nullptr ||
        file->pMethods == nullptr) {
        return;
    }
    int reserved = 0;
    if (file->pMethods->xCheckReservedLock(file, &reserved) == SQLITE_OK && reserved != 0) {
        throw fileError(errc::Locked, path_);
    }
}

void Connection::checkWritable() const {
    sqlite3* db = handle();
    if (mode_ != OpenMode::ReadWrite || sqlite3_db_readonly(db, "main") == 1) {
        throw fileError(errc::ReadOnly, path_);
    }
}

void Connection::abandon() noexcept {
    if (handle_ && sqlite3_get_autocommit(handle_.get()) == 0) {
        sqlite3_step(rollback_.get());
        sqlite3_reset(rollback_.get());
    }
}

// SQLite rolls the whole transaction back by itself after some failures (disk full, I/O, lock); the recordsets
// then show what the file holds again.
void Connection::afterFailureInTransaction() {
    if (handle_ && sqlite3_get_autocommit(handle_.get()) != 0 && depth_ > 0) {
        depth_ = 0;
        try {
            reloadRecordsets();
        } catch (const Error&) { // the first failure is the one to report
        }
    }
}

void Connection::beginTransaction() {
    handle();
    if (depth_ == 0) {
        if (mode_ == OpenMode::Snapshot) {
            throw fileError(errc::ReadOnly, path_); // already one read transaction, from open to close
        }
        if (mode_ == OpenMode::ReadOnly) {
            exec(QStringLiteral("BEGIN"));
        } else {
            run(begin_.get());
        }
    } else {
        exec(QStringLiteral("SAVEPOINT kelvane_%1").arg(depth_));
    }
    ++depth_;
}

void Connection::commitTransaction() {
    handle();
    if (depth_ == 0) {
        throw Error(errc::NoTransaction,
                    QStringLiteral("Aucune transaction commencée : CommitTrans sans BeginTrans sur « %1 »").arg(path_));
    }
    if (depth_ == 1) {
        try {
            run(commit_.get()); // on failure (a reader in the way) the transaction stays open
        } catch (...) {
            afterFailureInTransaction();
            throw;
        }
    } else {
        exec(QStringLiteral("RELEASE kelvane_%1").arg(depth_ - 1));
    }
    --depth_;
}

void Connection::rollbackTransaction() {
    handle();
    if (depth_ == 0) {
        throw Error(errc::NoTransaction,
                    QStringLiteral("Aucune transaction commencée : Rollback sans BeginTrans sur « %1 »").arg(path_));
    }
    if (depth_ == 1) {
        abandon();
    } else {
        const QString savepoint = QStringLiteral("kelvane_%1").arg(depth_ - 1);
        exec(QStringLiteral("ROLLBACK TO %1").arg(savepoint));
        exec(QStringLiteral("RELEASE %1").arg(savepoint));
    }
    --depth_;
    reloadRecordsets();
}

void Connection::rollbackAll() noexcept {
    if (depth_ == 0 || !handle_) {
        return;
    }
    abandon();
    depth_ = 0;
    try {
        reloadRecordsets();
    } catch (const Error&) { // nothing to tell anyone: the object that asked is going away
    }
}

void Connection::attach(const std::shared_ptr<RecordsetData>& recordset) {
    std::erase_if(recordsets_, [](const std::weak_ptr<RecordsetData>& weak) { return weak.expired(); });
    recordsets_.push_back(recordset);
}

void Connection::reloadRecordsets() {
    std::optional<Error> first;
    for (const std::weak_ptr<RecordsetData>& weak : recordsets_) {
        if (const std::shared_ptr<RecordsetData> recordset = weak.lock()) {
            try {
                recordset->load(*this);
            } catch (const Error& error) {
                if (!first) {
                    first = error;
                }
            }
        }
    }
    if (first) {
        throw *first;
    }
}

} // namespace kelvane::db
