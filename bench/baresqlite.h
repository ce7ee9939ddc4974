#pragma once

// The bare SQLite work the benchmarks set the engine against: the C library alone, with the engine's own pragmas.

#include <QFile>
#include <QString>
#include <memory>
#include <sqlite3.h>
#include <string_view>

namespace bare {

struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct Finalizer {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Handle = std::unique_ptr<sqlite3, Closer>;
using Statement = std::unique_ptr<sqlite3_stmt, Finalizer>;

// Opened as the engine opens its files: the same busy wait, journal and durability.
inline Handle open(const QString& path, int flags = SQLITE_OPEN_READWRITE) {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, flags, nullptr);
    Handle db(raw);
    sqlite3_busy_timeout(raw, 2000);
    sqlite3_exec(raw, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=EXTRA", nullptr, nullptr, nullptr);
    return db;
}

inline Statement prepare(sqlite3* db, std::string_view sql) {
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, nullptr);
    return Statement(raw);
}

} // namespace bare
