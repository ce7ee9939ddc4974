#pragma once

#include "platform/db/recordset.h"
#include "platform/db/tabledef.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace kelvane::db {

class Connection; // the SQLite handle and its pragmas, shared by the database and its recordsets

// ReadOnly plays back the journal a killed writer left, as any open does, then only reads. Snapshot never writes a
// byte of the file or beside it: the connection's whole life is one read transaction, opened with the file, so that
// everything read comes from one committed state; a file that another connection is writing (it holds the write
// lock) or whose interrupted commit waits to be played back fails with error 3218, as a locked file.
enum class OpenMode { ReadWrite, ReadOnly, Snapshot };

class Database;

// The table listing of a database, as the rules that tell a test from a results file expect it:
// the tables by name without regard to case, with four engine tables of the engine's own among them
// (named so that they sort after "chapitre" and "eleves" and before "numero", "question" and "test").
class TableDefCollection {
public:
    explicit TableDefCollection(Database& db) : db_(db) {}

    int Count() const;
    QString Name(int index) const; // zero-based; error 3265 out of range
    QStringList Names() const;
    TableDef Item(const QString& name) const; // the table's definition read back; error 3265 when absent
    void Append(const TableDef& table);       // creates the table; error 3010 when it exists

private:
    Database& db_;
};

// An open database file. Move-only. Close() closes the file: recordsets opened on it stay valid objects but every
// call on them fails with error 3420. Destruction (or assigning another database) only lets go of it, as releasing a
// reference did: the file stays open as long as recordsets opened on it live. Either way a pending transaction is
// rolled back, so that no write lock outlives the object.
class Database {
public:
    Database();
    ~Database();
    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    bool isOpen() const;
    QString path() const; // full path of the file
    void Close();

    TableDefCollection TableDefs() { return TableDefCollection(*this); }
    TableDef CreateTableDef(const QString& name) const { return TableDef(name); }

    // Type 2 (dynaset) is the only kind; the parameter keeps the callers recognisable.
    Recordset OpenRecordset(const QString& table, int type = 2);

    // A bulk copy is one transaction: Updates inside it are committed together by CommitTrans.
    void BeginTrans();
    void CommitTrans();
    void Rollback();
    bool inTransaction() const;

    // The table names exactly as SQLite keeps them, without the engine tables; for tests and tools.
    QStringList userTables() const;

private:
    friend Database OpenDatabase(const QString&, OpenMode);
    friend Database CreateDatabase(const QString&, const QString&);
    friend class TableDefCollection;
    explicit Database(std::shared_ptr<Connection> connection);
    Connection& connection() const; // error 3420 when not open
    void release() noexcept;

    std::shared_ptr<Connection> connection_;
};

// One BeginTrans ... CommitTrans that rolls back when the scope is left without Commit(), by an error for instance.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void Commit();

private:
    Database& db_;
    bool open_ = true;
};

// Opens an existing database file. Errors: 3024 missing file, 3343 not a database (or damaged),
// 3051 cannot be opened.
Database OpenDatabase(const QString& path, OpenMode mode = OpenMode::ReadWrite);

// Creates a new, empty database. A name without a folder lands in the current folder. The file is created
// exclusively: a taken name is error 3204 and the existing file is never touched. The locale string is
// accepted and ignored; text is UTF-8.
Database CreateDatabase(const QString& name, const QString& locale = {});

// The four engine tables that every listing holds.
const QStringList& engineTableNames();

} // namespace kelvane::db
