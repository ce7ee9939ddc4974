// Writes the seed corpus of fuzz_fichiers into the folder given, with the program's own writers: a test, the results
// files sessions make from it, the settings file, an empty database and a test whose tables have the wrong columns.
// Each file is then rewritten with 512-byte pages, so that the seeds stay a few KiB.
//   fuzz_mkcorpus fuzz/corpus
#include "data/fichierresultats.h"
#include "data/test.h"
#include "platform/db/database.h"
#include "support/fixtures.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <sqlite3.h>

using namespace kelvane;
using namespace kelvane::data;

namespace {

const QDate Jour(2024, 3, 15);

std::vector<fixtures::Question> questionsVariees() {
    std::vector<fixtures::Question> qs = fixtures::questionsSimples(3);
    qs[1].niveaux = {false, true, true, true, true};
    qs[1].chapitre = 2;
    qs[1].texte = QStringLiteral("Remettez dans l'ordre les étapes de la consignation, avant toute intervention.");
    qs[1].qcm = false;
    qs[1].nbReponses = 3;
    qs[1].reponses = {QStringLiteral("Séparer"), QStringLiteral("Condamner"), QStringLiteral("Vérifier"), {}, {}};
    qs[1].attendu = {1, 2, 3, 0, 0};
    qs[2].numero = 5; // a gap in the numbers
    return qs;
}

const std::vector<fixtures::Chapitre> Chapitres{{QStringLiteral("Le risque électrique"), 1},
                                                {QStringLiteral("La consignation"), 2},
                                                {QStringLiteral("Chapitre sans question"), 9}};

// The results file of a session on the test, with the first answers given: the first box ticked, or ranks 1 2 3.
void resultats(const QString& test, const QString& chemin, bool examen, int reponses) {
    const DonneesCandidat candidat{QStringLiteral("Dupont"), QStringLiteral("Jean"), QStringLiteral("1A"),
                                   QStringLiteral("Test")};
    FichierResultats fichier = FichierResultats::creer(chemin, std::get<Test>(lireTest(test)), candidat, examen, Jour);
    for (int i = 0; i < reponses && i < fichier.nbQuestions(); ++i) {
        fichier.noterReponse(i, fichier.question(i).qcm ? std::array<std::int16_t, 5>{1, 0, 0, 0, 0}
                                                        : std::array<std::int16_t, 5>{1, 2, 3, 0, 0});
    }
}

// A file with the tables of a test, but columns of another layout.
void mauvaisesColonnes(const QString& chemin) {
    db::Database base = db::CreateDatabase(chemin);
    for (const char* nom : {"chapitre", "numero", "test"}) {
        db::TableDef table = base.CreateTableDef(QLatin1StringView(nom));
        table.Fields().Append(table.CreateField(QStringLiteral("texte"), db::FieldType::Memo));
        table.Fields().Append(table.CreateField(QStringLiteral("valeur"), db::FieldType::Double));
        base.TableDefs().Append(table);
        db::Recordset rs = base.OpenRecordset(QLatin1StringView(nom));
        rs.AddNew();
        rs.SetField(0, QStringLiteral("pas une question"));
        rs.SetField(1, 2.5);
        rs.Update();
    }
}

// A test typed by hand with an SQLite tool, in the spellings README allows: numbers as text, true as -1, dates,
// nulls, a gap and a duplicate in the question numbers, a table of the teacher's own.
bool saisiALaMain(const QString& chemin) {
    static const char* const sql = R"(
CREATE TABLE chapitre (nom TEXT, numero INT);
CREATE TABLE numero (temps SMALLINT, tolerance REAL, modifie DATETIME);
CREATE TABLE test (B0 BIT, B1 BOOLEAN, B2 BOOLEAN, BR BOOLEAN, BC BOOLEAN, question VARCHAR(200),
  nbrereponse SMALLINT, R1 VARCHAR(100), R2 VARCHAR(100), R3 VARCHAR(100), R4 VARCHAR(100), R5 VARCHAR(100),
  S1 SMALLINT, S2 SMALLINT, S3 SMALLINT, S4 SMALLINT, S5 SMALLINT, temps SMALLINT, qcm BOOLEAN, chapitre INTEGER,
  numero INTEGER, ajoute DATETIME);
INSERT INTO chapitre VALUES ('Le risque électrique', 1), (NULL, '2');
INSERT INTO numero VALUES ('600', 69.5, '15/03/2024');
INSERT INTO test VALUES (-1, 0, NULL, 1, 0, 'Question ?', 2, 'Oui', 'Non', '', NULL, NULL, 1, 0, NULL, NULL, NULL,
  30, -1, 1, 1, '2024-03-15 10:20:30');
INSERT INTO test VALUES (NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
  NULL, NULL, NULL, NULL, NULL, 3, NULL);
INSERT INTO test VALUES (0, 1, 1, 1, 1, 'Ordre', 3, 'a', 'b', 'c', '', '', 3, 1, 2, 0, 0, 32767, 0, 2.0, 1, 45000.5);
)";
    sqlite3* db = nullptr;
    const bool ok = sqlite3_open_v2(QFile::encodeName(chemin).constData(), &db,
                                    SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK &&
                    sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

bool compacter(const QString& chemin) {
    sqlite3* db = nullptr;
    bool ok =
        sqlite3_open_v2(QFile::encodeName(chemin).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
        sqlite3_exec(db, "PRAGMA page_size=512; VACUUM;", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_mkcorpus DOSSIER\n");
        return 2;
    }
    const QDir dossier(QFile::decodeName(argv[1]));
    const auto chemin = [&dossier](const char* nom) {
        const QString c = dossier.filePath(QLatin1StringView(nom));
        QFile::remove(c);
        return c;
    };
    try {
        const QString test = chemin("test.mdb");
        fixtures::creerTest(test, 600, 70, Chapitres, questionsVariees());
        fixtures::creerTest(chemin("test-vide.mdb"), 0, 100, {}, {});
        resultats(test, chemin("resultats-entrainement.mdb"), false, 2);
        resultats(test, chemin("resultats-evaluation.mdb"), true, 3);
        fixtures::creerHabilitation(chemin("habilitation.mdb"), QStringLiteral("SECRET"));
        db::CreateDatabase(chemin("vide.mdb"));
        mauvaisesColonnes(chemin("mauvaises-colonnes.mdb"));
        if (!saisiALaMain(chemin("test-a-la-main.mdb"))) {
            std::fprintf(stderr, "test-a-la-main.mdb impossible\n");
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    for (const QString& nom : dossier.entryList({QStringLiteral("*.mdb")}, QDir::Files)) {
        if (!compacter(dossier.filePath(nom))) {
            std::fprintf(stderr, "VACUUM impossible: %s\n", qPrintable(nom));
            return 1;
        }
    }
    return 0;
}
