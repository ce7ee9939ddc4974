// The engine layer against the bare SQLite work it wraps: a bulk copy of question records in one transaction, and one
// durable edit. Files live in a folder beside the binary, on the real disk, so that each commit pays its fsyncs.

#include "baresqlite.h"
#include "platform/db/database.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <array>
#include <benchmark/benchmark.h>
#include <memory>
#include <sqlite3.h>
#include <vector>

using namespace kelvane::db;

namespace {

constexpr int kRecords = 1000;

// The question table of a results file: 27 fields.
struct Column {
    const char* name;
    FieldType type;
    int size;
};
const std::vector<Column>& questionColumns() {
    static const std::vector<Column> columns = {
        {"Niveau1", FieldType::Boolean, 0},    {"Niveau2", FieldType::Boolean, 0},  {"Niveau3", FieldType::Boolean, 0},
        {"Niveau4", FieldType::Boolean, 0},    {"Niveau5", FieldType::Boolean, 0},  {"Question", FieldType::Text, 200},
        {"NbReponses", FieldType::Integer, 0}, {"Reponse1", FieldType::Text, 100},  {"Reponse2", FieldType::Text, 100},
        {"Reponse3", FieldType::Text, 100},    {"Reponse4", FieldType::Text, 100},  {"Reponse5", FieldType::Text, 100},
        {"Attendu1", FieldType::Integer, 0},   {"Attendu2", FieldType::Integer, 0}, {"Attendu3", FieldType::Integer, 0},
        {"Attendu4", FieldType::Integer, 0},   {"Attendu5", FieldType::Integer, 0}, {"Chapitre", FieldType::Integer, 0},
        {"Qcm", FieldType::Boolean, 0},        {"Numero", FieldType::Integer, 0},   {"Ordre", FieldType::Integer, 0},
        {"Coche1", FieldType::Integer, 0},     {"Coche2", FieldType::Integer, 0},   {"Coche3", FieldType::Integer, 0},
        {"Coche4", FieldType::Integer, 0},     {"Coche5", FieldType::Integer, 0},   {"Juste", FieldType::Boolean, 0},
    };
    return columns;
}

// The records to copy, as a source recordset hands them over.
const std::vector<std::vector<QVariant>>& sourceRecords() {
    static const std::vector<std::vector<QVariant>> records = [] {
        std::vector<std::vector<QVariant>> all;
        for (int r = 0; r < kRecords; ++r) {
            std::vector<QVariant> row;
            int i = 0;
            for (const Column& column : questionColumns()) {
                switch (column.type) {
                case FieldType::Boolean:
                    row.emplace_back((r + i) % 2 == 0);
                    break;
                case FieldType::Integer:
                    row.emplace_back(QVariant::fromValue<qint16>(static_cast<qint16>((r * 31 + i) % 300)));
                    break;
                default:
                    row.emplace_back(QStringLiteral("Texte %1 de l'enregistrement %2, avec des accents éàè")
                                         .arg(i)
                                         .arg(r)
                                         .left(column.size));
                    break;
                }
                ++i;
            }
            all.push_back(std::move(row));
        }
        return all;
    }();
    return records;
}

QString folder() {
    static QTemporaryDir dir(QDir::current().filePath(QStringLiteral("bench-engine-XXXXXX")));
    return dir.path();
}

QString freshPath() {
    static int n = 0;
    return QDir(folder()).filePath(QStringLiteral("copie%1.mdb").arg(++n));
}

Database createQuestionFile(const QString& path) {
    Database db = CreateDatabase(path);
    TableDef table = db.CreateTableDef(QStringLiteral("question"));
    for (const Column& column : questionColumns()) {
        table.Fields().Append(table.CreateField(QLatin1String(column.name), column.type, column.size));
    }
    db.TableDefs().Append(table);
    return db;
}

// ---- direct SQLite, with the pragmas the engine uses

QString insertSql() {
    QStringList names;
    QStringList marks;
    for (const Column& column : questionColumns()) {
        names.append(QStringLiteral("\"%1\"").arg(QLatin1String(column.name)));
        marks.append(QStringLiteral("?"));
    }
    return QStringLiteral("INSERT INTO \"question\" (%1) VALUES (%2)")
        .arg(names.join(QLatin1String(", ")), marks.join(QLatin1String(", ")));
}

// ---- (1) bulk copy of 1,000 question records in one transaction

void BM_CopyEngine(benchmark::State& state) {
    const auto& records = sourceRecords();
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = freshPath();
        Database db = createQuestionFile(path);
        state.ResumeTiming();

        Recordset rs = db.OpenRecordset(QStringLiteral("question"));
        db.BeginTrans();
        for (const std::vector<QVariant>& record : records) {
            rs.AddNew();
            for (int i = 0; i < static_cast<int>(record.size()); ++i) {
                rs.SetField(i, record[static_cast<size_t>(i)]);
            }
            rs.Update();
        }
        db.CommitTrans();

        state.PauseTiming();
        rs = Recordset();
        db.Close();
        QFile::remove(path);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CopyEngine)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CopyDirect(benchmark::State& state) {
    // The same records from the same values: each text goes to UTF-8 on its way to SQLite, as direct code would do.
    const auto& records = sourceRecords();
    const std::string sql = insertSql().toStdString();
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = freshPath();
        { createQuestionFile(path); }
        bare::Handle db = bare::open(path);
        state.ResumeTiming();

        bare::Statement insert = bare::prepare(db.get(), sql);
        sqlite3_exec(db.get(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        for (const std::vector<QVariant>& record : records) {
            for (int i = 0; i < static_cast<int>(record.size()); ++i) {
                const QVariant& value = record[static_cast<size_t>(i)];
                if (value.metaType().id() == QMetaType::QString) {
                    const QByteArray text = value.toString().toUtf8();
                    sqlite3_bind_text(insert.get(), i + 1, text.constData(), static_cast<int>(text.size()),
                                      SQLITE_TRANSIENT);
                } else {
                    sqlite3_bind_int(insert.get(), i + 1, value.toInt()); // true is 1, as the engine writes it
                }
            }
            if (sqlite3_step(insert.get()) != SQLITE_DONE) {
                state.SkipWithError("insert failed");
            }
            sqlite3_reset(insert.get());
        }
        sqlite3_exec(db.get(), "COMMIT", nullptr, nullptr, nullptr);
        insert.reset();

        state.PauseTiming();
        db.reset();
        QFile::remove(path);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CopyDirect)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---- (2) one durable edit of a record, committed and synced when it returns

const QString& editedFile() {
    static const QString path = [] {
        const QString p = freshPath();
        Database db = createQuestionFile(p);
        Recordset rs = db.OpenRecordset(QStringLiteral("question"));
        Transaction transaction(db);
        for (const std::vector<QVariant>& record : sourceRecords()) {
            rs.AddNew();
            for (int i = 0; i < static_cast<int>(record.size()); ++i) {
                rs.SetField(i, record[static_cast<size_t>(i)]);
            }
            rs.Update();
        }
        transaction.Commit();
        return p;
    }();
    return path;
}

// SQLite skips writing a record whose new content equals the old one, so every edit stores values the record does
// not hold yet: the counter runs on across runs and passes over the table.
int nextEdit() {
    static int n = 0;
    return n++;
}

void BM_DurableEditEngine(benchmark::State& state) {
    Database db = OpenDatabase(editedFile());
    Recordset rs = db.OpenRecordset(QStringLiteral("question"));
    const int coche = rs.FieldIndex(QStringLiteral("Coche1"));
    const int juste = rs.FieldIndex(QStringLiteral("Juste"));
    for (auto _ : state) {
        const int n = nextEdit();
        rs.setAbsolutePosition(n % kRecords);
        rs.Edit();
        rs.SetField(coche, n % 30000);
        rs.SetField(juste, (n / kRecords) % 2 == 0);
        rs.Update();
    }
}
BENCHMARK(BM_DurableEditEngine)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DurableEditDirect(benchmark::State& state) {
    bare::Handle db = bare::open(editedFile());
    bare::Statement update =
        bare::prepare(db.get(), "UPDATE \"question\" SET \"Coche1\" = ?, \"Juste\" = ? WHERE rowid = ?");
    for (auto _ : state) {
        const int n = nextEdit();
        sqlite3_bind_int(update.get(), 1, n % 30000);
        sqlite3_bind_int(update.get(), 2, (n / kRecords) % 2 == 0 ? 1 : 0);
        sqlite3_bind_int64(update.get(), 3, n % kRecords + 1);
        if (sqlite3_step(update.get()) != SQLITE_DONE) {
            state.SkipWithError("update failed");
        }
        sqlite3_reset(update.get());
    }
}
BENCHMARK(BM_DurableEditDirect)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
