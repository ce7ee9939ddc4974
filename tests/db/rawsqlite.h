#pragma once

// Files made and checked behind the engine's back, as teachers make them with sqlite3 or DB Browser.

#include "support/erreurs.h"

#include <QFile>
#include <QString>
#include <QTest>
#include <memory>
#include <sqlite3.h>

namespace rawsqlite {

struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Handle = std::unique_ptr<sqlite3, Closer>;

inline Handle open(const QString& path) {
    sqlite3* db = nullptr;
    const int rc =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Handle handle(db);
    if (rc != SQLITE_OK) {
        qFatal("sqlite3_open_v2 %s: %s", qPrintable(path), sqlite3_errstr(rc));
    }
    sqlite3_busy_timeout(db, 2000);
    return handle;
}

inline void exec(sqlite3* db, const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const QByteArray text(message ? message : "?");
        sqlite3_free(message);
        qFatal("sqlite3_exec %s: %s", sql, text.constData());
    }
}

inline void exec(const QString& path, const char* sql) {
    exec(open(path).get(), sql);
}

// The first column of the first row as text, or "<none>".
inline QString query(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        return QStringLiteral("<error: %1>").arg(QString::fromUtf8(sqlite3_errmsg(db)));
    }
    QString result = QStringLiteral("<none>");
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW) {
        result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    } else if (rc != SQLITE_DONE) {
        result = QStringLiteral("<error: %1>").arg(QString::fromUtf8(sqlite3_errstr(rc)));
    }
    sqlite3_finalize(statement);
    return result;
}

inline QString query(const QString& path, const char* sql) {
    return query(open(path).get(), sql);
}

} // namespace rawsqlite
