#pragma once

// Private to the engine layer: the SQLite handle of one open file, its statements and its transactions.

#include "platform/db/database.h"
#include "platform/db/fieldtype.h"
#include "platform/error.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <sqlite3.h>
#include <vector>

namespace kelvane::db {

struct SqliteCloser {
    void operator()(sqlite3* handle) const noexcept { sqlite3_close_v2(handle); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const noexcept { sqlite3_finalize(statement); }
};
using SqliteHandle = std::unique_ptr<sqlite3, SqliteCloser>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Resets a statement when the scope ends, so that no read stays open and holds the file's shared lock.
class StatementScope {
public:
    explicit StatementScope(sqlite3_stmt* statement) : statement_(statement) {}
    // Bindings are cleared too: texts are bound without a copy, and must not outlive the values they point into.
    ~StatementScope() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    StatementScope(const StatementScope&) = delete;
    StatementScope& operator=(const StatementScope&) = delete;

private:
    sqlite3_stmt* statement_;
};

// The error numbers of failures that only this layer raises.
namespace dberr {
inline constexpr int OutOfMemory = 7;       // "Mémoire insuffisante"
inline constexpr int NoFieldDefined = 3264; // "Aucun champ défini"
inline constexpr int DuplicateField = 3191; // "Impossible de définir un champ plusieurs fois"
inline constexpr int DuplicateValue = 3022; // index sans doublons
inline constexpr int NullNotAllowed = 3314; // champ obligatoire
inline constexpr int ValidationRule = 3317; // règle de validation
} // namespace dberr

// "name" with its double quotes doubled, for every identifier put into SQL.
QString quoteIdentifier(const QString& name);

// An error whose text names the file concerned.
Error fileError(int number, const QString& path);

class RecordsetData;

class Connection {
public:
    // Opens an existing file. `fresh` marks a file CreateDatabase has just made empty, which is then initialised
    // instead of being refused as "not a database".
    static std::shared_ptr<Connection> open(const QString& path, OpenMode mode, bool fresh = false);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const QString& path() const { return path_; }
    bool isOpen() const { return handle_ != nullptr; }
    void closeHandle();

    sqlite3* handle() const; // error 3420 once closed
    Statement prepare(const QString& sql, bool persistent = false) const;
    void exec(const QString& sql) const;
    // Steps once; returns true for a row, false when done, raises on failure.
    bool step(sqlite3_stmt* statement) const;
    [[noreturn]] void raise(int rc) const;
    Error errorFor(int rc) const;

    // The table as SQLite spells it, internal tables excepted, or nothing.
    std::optional<QString> findTable(const QString& name) const;
    QStringList userTables() const;
    // Columns in declared order, with the empty-text rule our CHECK constraints carry.
    std::vector<FieldInfo> tableFields(const QString& table) const;

    // Runs `work` as one durable write: its own BEGIN IMMEDIATE ... COMMIT, or inside the open transaction.
    template <class Work> void write(Work&& work) {
        checkWritable();
        if (depth_ > 0) {
            try {
                work();
            } catch (...) {
                afterFailureInTransaction();
                throw;
            }
            return;
        }
        run(begin_.get());
        try {
            work();
            run(commit_.get());
        } catch (...) {
            abandon();
            throw;
        }
    }

    void beginTransaction();
    void commitTransaction();
    void rollbackTransaction();
    void rollbackAll() noexcept; // when the database object goes away with a transaction pending
    int transactionDepth() const { return depth_; }

    // Recordsets register so that a rollback can reload them and a close can free their statements first.
    void attach(const std::shared_ptr<RecordsetData>& recordset);

private:
    Connection(QString path, OpenMode mode);
    void configure(bool fresh);
    void checkWritable() const;
    // Snapshot only: error 3218 when another connection holds the file's write lock.
    void refuseWhileWritten() const;
    void run(sqlite3_stmt* statement) const;
    void abandon() noexcept;
    void afterFailureInTransaction();
    void reloadRecordsets();

    QString path_;
    OpenMode mode_;
    SqliteHandle handle_;
    Statement begin_;
    Statement commit_;
    Statement rollback_;
    int depth_ = 0;
    std::vector<std::weak_ptr<RecordsetData>> recordsets_;
};

} // namespace kelvane::db
