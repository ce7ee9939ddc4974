// Scanning a working folder of 50 tests and 50 results files, from the folder change to the lists filled,
// against the bare SQLite work of opening each file and reading its table list and one record.
#include "data/fichierresultats.h"
#include "forms/formetest.h"
#include "support/doubles/scriptedservices.h"
#include "support/ecrans.h"
#include "support/fixtures.h"
#include "widgets/dirlistbox.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace kelvane;
using namespace kelvane::doubles;

namespace {

QTemporaryDir* dossier() {
    static QTemporaryDir* d = [] {
        auto* t = new QTemporaryDir(QDir::currentPath() + QStringLiteral("/bench-scan-XXXXXX"));
        for (int i = 0; i < 50; ++i) {
            fixtures::creerTest(t->filePath(QStringLiteral("Test%1.mdb").arg(i)), 600, 70,
                                {{QStringLiteral("Généralités"), 1}}, fixtures::questionsSimples(20));
            kelvane::db::Database r =
                fixtures::creerFichierResultats(t->filePath(QStringLiteral("Eleve%1-Test-061201.mdb").arg(i)));
            kelvane::db::Recordset e = r.OpenRecordset(QStringLiteral("eleves"));
            e.AddNew();
            e.SetField(QStringLiteral("examen"), i % 2 == 0);
            e.Update();
        }
        return t;
    }();
    return d;
}

void BM_ScanBareSqlite(benchmark::State& state) {
    const QDir d(dossier()->path());
    const QStringList noms = d.entryList({QStringLiteral("*.mdb")}, QDir::Files);
    for (auto _ : state) {
        int listes = 0;
        for (const QString& nom : noms) {
            sqlite3* db = nullptr;
            sqlite3_open_v2(d.filePath(nom).toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
            sqlite3_stmt* st = nullptr;
            sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name COLLATE NOCASE",
                               -1, &st, nullptr);
            bool resultats = false;
            while (sqlite3_step(st) == SQLITE_ROW) {
                resultats = resultats ||
                            std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))) == "eleves";
            }
            sqlite3_finalize(st);
            sqlite3_prepare_v2(db, resultats ? "SELECT examen FROM eleves LIMIT 1" : "SELECT * FROM numero LIMIT 1", -1,
                               &st, nullptr);
            listes += sqlite3_step(st) == SQLITE_ROW ? 1 : 0;
            sqlite3_finalize(st);
            sqlite3_close(db);
        }
        benchmark::DoNotOptimize(listes);
    }
}
BENCHMARK(BM_ScanBareSqlite)->Unit(benchmark::kMillisecond);

void BM_ScanFolderChange(benchmark::State& state) {
    kelvane::doubles::ScriptedServices services;
    const QString ici = QDir::currentPath();
    forms::FormeTest forme(session::modeEntrainement(), services.all(), forms::Lieux{ici, ici});
    forme.Form_Load();
    const ecrans::EcranTest f(&forme);
    for (auto _ : state) {
        f->listerepertoire2->setPath(dossier()->path());
        state.PauseTiming();
        const bool complet = f->listefichier->count() == 50 && f->List3->count() == 25;
        f->listerepertoire2->setPath(ici);
        state.ResumeTiming();
        if (!complet) {
            state.SkipWithError("the lists are not complete");
        }
    }
}
BENCHMARK(BM_ScanFolderChange)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete dossier();
    return 0;
}
