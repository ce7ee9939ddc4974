// A session with a test of 1,001 questions, through the real forms with scripted services, against the bare SQLite
// work each step wraps: the session start (OkNom to the first question shown), the recording of one answer (one
// Suivant click), and the results screen. The bare work runs on files with the program's own schema, with the
// program's journal and sync settings, on the same disk.
#include "baresqlite.h"
#include "data/fichierresultats.h"
#include "data/images.h"
#include "forms/formetest.h"
#include "support/doubles/scriptedservices.h"
#include "support/ecrans.h"
#include "support/fixtures.h"
#include "support/gui.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <sqlite3.h>

using namespace kelvane;
using namespace kelvane::doubles;

namespace {

using kelvane::forms::FormeTest;

constexpr int kQuestions = 1001;
const QString kTest = QStringLiteral("grand");
// The same test with 200 pictures of 30 KiB, one question in five.
const QString kTestIllustre = QStringLiteral("illustre");
constexpr int kImages = 200;

kelvane::doubles::ScriptedServices* scriptes = nullptr;

QTemporaryDir& dossier() {
    static QTemporaryDir d(QDir::current().filePath(QStringLiteral("bench-session-XXXXXX")));
    return d;
}

QString chemin(const QString& nom) {
    return dossier().filePath(nom);
}

void preparerDossier() {
    fixtures::creerTest(chemin(kTest + QStringLiteral(".mdb")), 3600, 50,
                        {{QStringLiteral("Généralités"), 1}, {QStringLiteral("Consignation"), 2}},
                        fixtures::questionsSimples(kQuestions));
    const QString illustre = chemin(kTestIllustre + QStringLiteral(".mdb"));
    QFile::copy(chemin(kTest + QStringLiteral(".mdb")), illustre);
    {
        data::ImagesTest images;
        // A real picture, padded to 30 KiB after its end (the decoder stops there).
        QImage petite(8, 8, QImage::Format_RGB32);
        petite.fill(Qt::red);
        QByteArray png;
        QBuffer tampon(&png);
        tampon.open(QIODevice::WriteOnly);
        petite.save(&tampon, "PNG");
        for (int i = 0; i < kImages; ++i) {
            const QByteArray octets = png + QByteArray(30 * 1024, static_cast<char>(i));
            images[1 + 5 * i].question = data::Image{QStringLiteral("image%1.png").arg(i), octets};
        }
        db::Database base = db::OpenDatabase(illustre);
        db::Transaction transaction(base);
        data::ecrireImages(base, images);
        transaction.Commit();
    }
    QDir::setCurrent(dossier().path());
}

void effacerResultats() {
    const QDir d(dossier().path());
    const QStringList motifs{QStringLiteral("*-") + kTest + QStringLiteral("-*.mdb"),
                             QStringLiteral("*-") + kTestIllustre + QStringLiteral("-*.mdb")};
    for (const QString& nom : d.entryList(motifs, QDir::Files)) {
        QFile::remove(d.filePath(nom));
    }
}

// A test form, owned, and its controls as the user finds them.
struct Proprietaire {
    std::unique_ptr<FormeTest> possede;
};
struct Ecran : Proprietaire, ecrans::EcranTest {
    explicit Ecran(std::unique_ptr<FormeTest> f) : Proprietaire{std::move(f)}, ecrans::EcranTest(possede.get()) {}
    // The place of the question shown, from "Question n° N".
    int place() const { return Label31->text().section(QLatin1Char(' '), -1).toInt(); }
};

// A form of the given mode, its test chosen and the candidate's details typed: the next step is OkNom.
std::unique_ptr<Ecran> formeAvantOkNom(bool examen, const QString& test = kTest) {
    const forms::Lieux lieux{dossier().path(), dossier().path()};
    auto f = std::make_unique<Ecran>(std::make_unique<FormeTest>(
        examen ? session::modeEvaluation() : session::modeEntrainement(), scriptes->all(), lieux));
    f->possede->Form_Load();
    f->possede->show();
    gui::cliquerLigne(f->listefichier, gui::ligne(f->listefichier, test + QStringLiteral(".mdb")));
    f->OkTest->click();
    f->Text1->setFocus();
    QTest::keyClicks(f->Text1, QStringLiteral("Dupont"));
    QTest::keyClicks(f->Text2, QStringLiteral("Jean"));
    scriptes->messages.expectMessage(QString()); // the pass mark
    return f;
}

// Question 1 is shown, and the results file the start made holds every question.
bool premiereQuestion(const Ecran& f) {
    if (f->Label31->text() != QStringLiteral("Question n° 1") || !scriptes->messages.allAnswered()) {
        return false;
    }
    const auto fichier = data::FichierResultats::ouvrir(chemin(f->Label6->text()), db::OpenMode::ReadOnly);
    return fichier && fichier->nbQuestions() == kQuestions;
}

void finir(std::unique_ptr<Ecran>& f) {
    f.reset();
    effacerResultats();
}

// ---- bare SQLite

void executer(sqlite3* db, const std::string& sql, benchmark::State& state) {
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        state.SkipWithError(sqlite3_errmsg(db));
    }
}

// Reads every column of the current row, texts as UTF-8, as a caller showing or totalling them does.
std::size_t lireLigne(sqlite3_stmt* st) {
    std::size_t octets = 0;
    for (int c = 0; c < sqlite3_column_count(st); ++c) {
        if (sqlite3_column_type(st, c) == SQLITE_TEXT) {
            octets += static_cast<std::size_t>(sqlite3_column_bytes(st, c));
            benchmark::DoNotOptimize(sqlite3_column_text(st, c));
        } else {
            octets += static_cast<std::size_t>(sqlite3_column_int(st, c));
        }
    }
    return octets;
}

// The results file's layout as the program creates it: its CREATE statements, and the column count of each table.
struct Schema {
    std::vector<std::string> creations;
    int colonnesQuestion = 0;
    int colonnesChapitre = 0;
    int colonnesEleves = 0;
    std::vector<std::string> nomsQuestion;
};

const Schema& schemaResultats() {
    static const Schema schema = [] {
        const QString modele = chemin(QStringLiteral("modele.mdb"));
        { fixtures::creerFichierResultats(modele); }
        Schema s;
        bare::Handle db = bare::open(modele, SQLITE_OPEN_READONLY);
        bare::Statement st =
            bare::prepare(db.get(), "SELECT sql FROM sqlite_master WHERE sql IS NOT NULL ORDER BY rowid");
        while (sqlite3_step(st.get()) == SQLITE_ROW) {
            s.creations.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
        }
        const auto colonnes = [&](const char* table) {
            bare::Statement t = bare::prepare(db.get(), std::string("SELECT * FROM \"") + table + "\"");
            return sqlite3_column_count(t.get());
        };
        s.colonnesQuestion = colonnes("question");
        s.colonnesChapitre = colonnes("chapitre");
        s.colonnesEleves = colonnes("eleves");
        bare::Statement q = bare::prepare(db.get(), "SELECT * FROM question");
        for (int c = 0; c < s.colonnesQuestion; ++c) {
            s.nomsQuestion.emplace_back(sqlite3_column_name(q.get(), c));
        }
        db.reset();
        QFile::remove(modele);
        return s;
    }();
    return schema;
}

std::string marques(int n) {
    std::string m;
    for (int i = 0; i < n; ++i) {
        m += i == 0 ? "?" : ", ?";
    }
    return m;
}

// A results file of 1,001 questions made by a real session start, copied to `nom` for the bare work.
QString copieResultats(const QString& nom) {
    std::unique_ptr<Ecran> f = formeAvantOkNom(false);
    f->OkNom->click();
    const QString source = chemin(f->Label6->text());
    f->possede.reset(); // the file closed before it is copied
    QFile::remove(chemin(nom));
    QFile::copy(source, chemin(nom));
    finir(f);
    return chemin(nom);
}

// ---- (1) session start: OkNom to the first question shown

// An evaluation of `test` started, from OkNom to question 1 shown.
void demarrerEvaluation(benchmark::State& state, const QString& test) {
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<Ecran> f = formeAvantOkNom(true, test);
        state.ResumeTiming();
        f->OkNom->click();
        state.PauseTiming();
        const bool ok = premiereQuestion(*f);
        finir(f);
        state.ResumeTiming();
        if (!ok) {
            state.SkipWithError("the first question is not shown");
            break;
        }
    }
}

void BM_SessionStart(benchmark::State& state) {
    demarrerEvaluation(state, kTest);
}
BENCHMARK(BM_SessionStart)->Unit(benchmark::kMillisecond);

// The same start for the test with pictures: they are copied into the results file and read back for question 1.
void BM_SessionStartPictures(benchmark::State& state) {
    demarrerEvaluation(state, kTestIllustre);
}
BENCHMARK(BM_SessionStartPictures)->Unit(benchmark::kMillisecond);

// Read the test's settings, chapters and questions; create the results file with the program's schema; copy the
// eleves record, the chapters and the 1,001 questions with prepared INSERTs in one durable transaction; read the
// first question back to show it.
void BM_SessionStartBare(benchmark::State& state) {
    const Schema& schema = schemaResultats();
    const QString cible = chemin(QStringLiteral("nu.mdb"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(cible);
        state.ResumeTiming();

        bare::Handle test = bare::open(chemin(kTest + QStringLiteral(".mdb")), SQLITE_OPEN_READONLY);
        bare::Handle eleve = bare::open(cible, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        executer(eleve.get(), "BEGIN IMMEDIATE", state);
        for (const std::string& creation : schema.creations) {
            executer(eleve.get(), creation, state);
        }
        {
            bare::Statement numero = bare::prepare(test.get(), "SELECT * FROM numero");
            sqlite3_step(numero.get());
            bare::Statement eleves =
                bare::prepare(eleve.get(), "INSERT INTO eleves VALUES (" + marques(schema.colonnesEleves) + ")");
            for (int c = 0; c < schema.colonnesEleves; ++c) {
                sqlite3_bind_int(eleves.get(), c + 1, sqlite3_column_int(numero.get(), c % 2));
            }
            sqlite3_step(eleves.get());
        }
        {
            bare::Statement lus = bare::prepare(test.get(), "SELECT * FROM chapitre");
            bare::Statement ecrits =
                bare::prepare(eleve.get(), "INSERT INTO chapitre VALUES (" + marques(schema.colonnesChapitre) + ")");
            while (sqlite3_step(lus.get()) == SQLITE_ROW) {
                for (int c = 0; c < schema.colonnesChapitre; ++c) {
                    sqlite3_bind_value(ecrits.get(), c + 1, sqlite3_column_value(lus.get(), c));
                }
                sqlite3_step(ecrits.get());
                sqlite3_reset(ecrits.get());
            }
        }
        {
            bare::Statement lus = bare::prepare(test.get(), "SELECT * FROM test");
            bare::Statement ecrits =
                bare::prepare(eleve.get(), "INSERT INTO question VALUES (" + marques(schema.colonnesQuestion) + ")");
            const int copies = std::min(sqlite3_column_count(lus.get()), data::champ::RE1);
            while (sqlite3_step(lus.get()) == SQLITE_ROW) {
                for (int c = 0; c < copies; ++c) {
                    sqlite3_bind_value(ecrits.get(), c + 1, sqlite3_column_value(lus.get(), c));
                }
                for (int c = data::champ::RE1; c < schema.colonnesQuestion; ++c) {
                    sqlite3_bind_int(ecrits.get(), c + 1, 0);
                }
                if (sqlite3_step(ecrits.get()) != SQLITE_DONE) {
                    state.SkipWithError("insert failed");
                }
                sqlite3_reset(ecrits.get());
            }
        }
        executer(eleve.get(), "COMMIT", state);
        {
            bare::Statement premiere = bare::prepare(eleve.get(), "SELECT * FROM question WHERE rowid = 1");
            if (sqlite3_step(premiere.get()) != SQLITE_ROW) {
                state.SkipWithError("no first question");
            }
            benchmark::DoNotOptimize(lireLigne(premiere.get()));
        }
    }
    QFile::remove(cible);
}
BENCHMARK(BM_SessionStartBare)->Unit(benchmark::kMillisecond);

// ---- (2) one answer recorded: a click on Suivant (the answer written and synced, the next question shown)

void BM_AnswerRecord(benchmark::State& state) {
    std::unique_ptr<Ecran> f = formeAvantOkNom(false);
    f->OkNom->click();
    for (auto _ : state) {
        state.PauseTiming();
        if (f->place() == kQuestions) {
            f->Suivant->click(); // the results, then back to the first question
            f->Retourner->click();
        }
        f->Check[0]->click(); // a changed answer, so that the record is really written
        const int avant = f->place();
        state.ResumeTiming();
        f->Suivant->click();
        if (f->place() != avant + 1) {
            state.SkipWithError("Suivant did not move on");
            break;
        }
    }
    finir(f);
}
BENCHMARK(BM_AnswerRecord)->Unit(benchmark::kMillisecond);

// One UPDATE of the five answers and the mark of a question, committed and synced, then the next question read.
void BM_AnswerRecordBare(benchmark::State& state) {
    const Schema& schema = schemaResultats();
    const QString fichier = copieResultats(QStringLiteral("reponses.mdb"));
    bare::Handle db = bare::open(fichier, SQLITE_OPEN_READWRITE);
    std::string sql = "UPDATE question SET ";
    for (int c = data::champ::RE1; c < schema.colonnesQuestion; ++c) {
        sql += (c == data::champ::RE1 ? "\"" : ", \"") + schema.nomsQuestion[static_cast<std::size_t>(c)] + "\" = ?";
    }
    sql += " WHERE rowid = ?";
    bare::Statement maj = bare::prepare(db.get(), sql);
    bare::Statement suivante = bare::prepare(db.get(), "SELECT * FROM question WHERE rowid = ?");
    int n = 0;
    for (auto _ : state) {
        const int ligne = n % kQuestions;
        const int valeur = (n / kQuestions) % 2 == 0 ? 1 : 0; // a changed answer at every pass
        for (int c = 1; c <= schema.colonnesQuestion - data::champ::RE1; ++c) {
            sqlite3_bind_int(maj.get(), c, c == 1 ? valeur : 0);
        }
        sqlite3_bind_int(maj.get(), schema.colonnesQuestion - data::champ::RE1 + 1, ligne + 1);
        if (sqlite3_step(maj.get()) != SQLITE_DONE) {
            state.SkipWithError("update failed");
            break;
        }
        sqlite3_reset(maj.get());
        sqlite3_bind_int(suivante.get(), 1, (ligne + 1) % kQuestions + 1);
        sqlite3_step(suivante.get());
        benchmark::DoNotOptimize(lireLigne(suivante.get()));
        sqlite3_reset(suivante.get());
        ++n;
    }
    maj.reset();
    suivante.reset();
    db.reset();
    QFile::remove(fichier);
}
BENCHMARK(BM_AnswerRecordBare)->Unit(benchmark::kMillisecond);

// ---- (3) the results screen: the date stamped (a durable write), the totals, the lists filled

void BM_ResultsScreen(benchmark::State& state) {
    std::unique_ptr<Ecran> f = formeAvantOkNom(false);
    f->OkNom->click();
    const QDate jour = scriptes->clock.date;
    int n = 0;
    for (auto _ : state) {
        // Back to the questions, then "Abandonner": the answer on screen (unchanged) is written again, the date
        // stamped, the totals and lists filled.
        state.PauseTiming();
        if (f->Frame5->isVisible()) {
            f->Retourner->click();
        }
        scriptes->clock.date = jour.addDays(++n % 1000); // a new date, so that the stamp is really written
        scriptes->messages.expectMessage(QString(), services::Answer::Yes);
        state.ResumeTiming();
        f->AnnulerQuestion->click();
    }
    if (!f->Frame5->isVisible() || !f->Label9->text().endsWith(QStringLiteral("sur %1 questions").arg(kQuestions))) {
        state.SkipWithError("the results screen is not complete");
    }
    scriptes->clock.date = jour;
    finir(f);
}
BENCHMARK(BM_ResultsScreen)->Unit(benchmark::kMillisecond);

// One durable UPDATE of the answer on screen (as "Abandonner" records it) and one of the date, then every record of
// the three tables read, as the totals need them.
void BM_ResultsScreenBare(benchmark::State& state) {
    const QString fichier = copieResultats(QStringLiteral("totaux.mdb"));
    bare::Handle db = bare::open(fichier, SQLITE_OPEN_READWRITE);
    bare::Statement date = bare::prepare(db.get(), "UPDATE eleves SET \"date\" = ?");
    bare::Statement reponse = bare::prepare(
        db.get(), "UPDATE question SET RE1 = ?, RE2 = 0, RE3 = 0, RE4 = 0, RE5 = 0, reussi = ? WHERE rowid = 1");
    std::vector<bare::Statement> lectures;
    for (const char* table : {"eleves", "question", "chapitre"}) {
        lectures.push_back(bare::prepare(db.get(), std::string("SELECT * FROM \"") + table + "\""));
    }
    int n = 0;
    for (auto _ : state) {
        const std::string jour = "06/12/" + std::to_string(10 + ++n % 80);
        sqlite3_bind_text(date.get(), 1, jour.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(date.get()) != SQLITE_DONE) {
            state.SkipWithError("update failed");
            break;
        }
        sqlite3_reset(date.get());
        sqlite3_bind_int(reponse.get(), 1, n % 2);
        sqlite3_bind_int(reponse.get(), 2, n % 2);
        if (sqlite3_step(reponse.get()) != SQLITE_DONE) {
            state.SkipWithError("update failed");
            break;
        }
        sqlite3_reset(reponse.get());
        std::size_t total = 0;
        for (bare::Statement& lecture : lectures) {
            while (sqlite3_step(lecture.get()) == SQLITE_ROW) {
                total += lireLigne(lecture.get());
            }
            sqlite3_reset(lecture.get());
        }
        benchmark::DoNotOptimize(total);
    }
    date.reset();
    reponse.reset();
    lectures.clear();
    db.reset();
    QFile::remove(fichier);
}
BENCHMARK(BM_ResultsScreenBare)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const QString ici = QDir::currentPath();
    int statut = 0;
    {
        kelvane::doubles::ScriptedServices scripted;
        scriptes = &scripted;
        preparerDossier();
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        statut = scripted.messages.allAnswered() ? 0 : 1;
        scriptes = nullptr;
    }
    QDir::setCurrent(ici);
    dossier().remove();
    return statut;
}
