// Sessions killed with SIGKILL at a random moment, from the session start to the last answer; after each kill the
// folder is judged through the program's own lists and engine layer.
//
// Environment: KELVANE_CRASH_NOMBRE kills (10 by default), from seed KELVANE_CRASH_DEPART (drawn and printed when
// not given); KELVANE_CRASH_GRAINE replays that one seed. A seed decides the child's mode and answers and the delay
// of the kill after the child is ready; where the kill then lands depends on the machine.
#include "controle.h"
#include "data/fichierresultats.h"
#include "session/modetest.h"
#include "support/fixtures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <random>
#include <sqlite3.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono;

namespace {

QByteArray contenu(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Tour {
    quint64 graine = 0;
    std::unique_ptr<QTemporaryDir> racine;
    QString dossier;
    QString erreurs;
    scenario::Journal journal;
    int statut = 0;
    microseconds debut{-1}; // from PRET to DEBUT, and to FIN, when not killed
    microseconds fin{-1};
};

} // namespace

class TestCrash : public QObject {
    Q_OBJECT

    QTemporaryDir modeles_;
    QString modele_;
    QByteArray octetsTest_;
    microseconds fenetreDebut_{0};
    microseconds fenetreTotale_{0};
    Tour tour_;
    QElapsedTimer chrono_;
    struct {
        int tues = 0;
        int auDebut = 0;
        int absents = 0;
        int nonListes = 0;
        int complets = 0;
        int pendantReponses = 0;
        int apresFin = 0;
        int reponses = 0;
    } bilan_;

    // One session in a fresh folder holding a copy of the test; killed `delai` after PRET when a delay is given.
    void jouer(quint64 graine, std::optional<microseconds> delai, const QStringList& options = {}) {
        tour_ = Tour{};
        tour_.graine = graine;
        tour_.racine = std::make_unique<QTemporaryDir>();
        tour_.dossier = tour_.racine->filePath(QStringLiteral("eleves"));
        tour_.erreurs = tour_.racine->filePath(QStringLiteral("enfant.err"));
        QVERIFY(QDir().mkdir(tour_.dossier));
        QVERIFY(QFile::copy(modele_, tour_.dossier + QLatin1Char('/') + scenario::kFichierTest));

        controle::Enfant enfant(QStringList{tour_.dossier, QString::number(graine)} + options, tour_.erreurs);
        QVERIFY2(enfant.attendrePret(tour_.journal), "l'enfant n'est pas arrivé jusqu'à OkNom");
        const auto pret = steady_clock::now();
        if (delai) {
            std::this_thread::sleep_for(*delai);
            enfant.tuer();
            enfant.lireTout(tour_.journal);
        } else {
            while (const auto l = enfant.ligne()) {
                tour_.journal.lire(*l);
                const auto ecoule = duration_cast<microseconds>(steady_clock::now() - pret);
                if (l->startsWith(QLatin1StringView("DEBUT"))) {
                    tour_.debut = ecoule;
                } else if (*l == QLatin1StringView("FIN")) {
                    tour_.fin = ecoule;
                }
            }
        }
        tour_.statut = enfant.attendre();
    }

    // The folder as the kill left it, judged through the program's lists and the engine.
    void juger() {
        const scenario::Journal& j = tour_.journal;
        QVERIFY2(j.erreurs.isEmpty(), qPrintable(j.erreurs.join(QLatin1Char('\n'))));
        const QString testCopie = tour_.dossier + QLatin1Char('/') + scenario::kFichierTest;
        QVERIFY2(contenu(testCopie) == octetsTest_, "le fichier du test a changé");

        const QString nom = kelvane::data::nomFichierResultats(scenario::kPrenom, scenario::kNom, scenario::kTest,
                                                               kelvane::session::modeTest(j.examen).separateurNom,
                                                               scenario::kJourCourt);
        if (!j.fichier.isEmpty()) {
            QCOMPARE(j.fichier, nom);
        }
        const QStringList autorises{scenario::kFichierTest, nom, nom + QStringLiteral("-journal")};
        for (const QString& present : QDir(tour_.dossier).entryList(QDir::Files | QDir::Hidden)) {
            QVERIFY2(autorises.contains(present), qPrintable(QStringLiteral("fichier inattendu: ") + present));
        }

        // The lists first: they read without writing, as a pupil's or teacher's program would find the folder.
        const controle::Listes l = controle::listes(tour_.dossier);
        QCOMPARE(l.tests, QStringList{scenario::kFichierTest});
        const bool liste = l.resultats.contains(nom);
        QCOMPARE(l.commences.contains(nom), liste && !j.examen);
        if (!j.fichier.isEmpty()) {
            QVERIFY2(liste, "le fichier d'une session commencée n'est plus dans les listes");
        }
        if (liste) {
            const QStringList defauts =
                controle::defautsResultats(tour_.dossier + QLatin1Char('/') + nom, testCopie, j.examen, j);
            QVERIFY2(defauts.isEmpty(), qPrintable(defauts.join(QLatin1Char('\n'))));
        }

        bilan_.reponses += static_cast<int>(j.reponses.size());
        if (j.fichier.isEmpty()) {
            bilan_.auDebut += 1;
            if (liste) {
                bilan_.complets += 1;
            } else if (QFile::exists(tour_.dossier + QLatin1Char('/') + nom)) {
                bilan_.nonListes += 1;
            } else {
                bilan_.absents += 1;
            }
        } else if (j.fin) {
            bilan_.apresFin += 1;
        } else {
            bilan_.pendantReponses += 1;
        }
    }

private slots:
    void initTestCase() {
        chrono_.start();
        QVERIFY2(QFile::exists(controle::cheminEnfant()), qPrintable(controle::cheminEnfant()));
        modele_ = modeles_.filePath(scenario::kFichierTest);
        fixtures::creerTest(modele_, scenario::kTemps, scenario::kTolerance, scenario::chapitres(),
                            scenario::questions());
        octetsTest_ = contenu(modele_);

        // Whole sessions of both modes, never killed: they size the windows the kills are drawn in, and prove that
        // a session left alone is judged sound.
        for (const QStringList& options : {QStringList{}, QStringList{QStringLiteral("--examen")}}) {
            for (quint64 graine : {2, 3}) {
                jouer(graine, std::nullopt, options);
                QVERIFY2(tour_.journal.fin, qPrintable(tour_.journal.lignes.join(QLatin1Char('\n'))));
                QCOMPARE(tour_.journal.reponses.size(), std::size_t(scenario::kNbQuestions));
                QCOMPARE(controle::etat(tour_.statut), QStringLiteral("exit 0"));
                juger();
                fenetreDebut_ = std::max(fenetreDebut_, tour_.debut);
                fenetreTotale_ = std::max(fenetreTotale_, tour_.fin);
            }
        }
        bilan_ = {};
        qInfo("fenêtres: début de session %lld µs, session entière %lld µs",
              static_cast<long long>(fenetreDebut_.count()), static_cast<long long>(fenetreTotale_.count()));
    }

    void cleanup() {
        if (QTest::currentTestFailed()) {
            qInfo("graine %llu (pour la rejouer: scripts/crash.sh 1 %llu), journal de l'enfant (%s):\n%s\n%s",
                  static_cast<unsigned long long>(tour_.graine), static_cast<unsigned long long>(tour_.graine),
                  qPrintable(controle::etat(tour_.statut)), qPrintable(tour_.journal.lignes.join(QLatin1Char('\n'))),
                  contenu(tour_.erreurs).constData());
        }
    }

    void aSessionKilledAtRandom_data() {
        QTest::addColumn<quint64>("graine");
        if (qEnvironmentVariableIsSet("KELVANE_CRASH_GRAINE")) {
            const quint64 graine = qEnvironmentVariable("KELVANE_CRASH_GRAINE").toULongLong();
            QTest::addRow("graine %llu", static_cast<unsigned long long>(graine)) << graine;
            return;
        }
        const int nombre = qEnvironmentVariableIsSet("KELVANE_CRASH_NOMBRE")
                               ? qEnvironmentVariableIntValue("KELVANE_CRASH_NOMBRE")
                               : 10;
        const quint64 depart = qEnvironmentVariableIsSet("KELVANE_CRASH_DEPART")
                                   ? qEnvironmentVariable("KELVANE_CRASH_DEPART").toULongLong()
                                   : std::random_device{}() % 1000000;
        qInfo("%d sessions tuées, graines %llu à %llu", nombre, static_cast<unsigned long long>(depart),
              static_cast<unsigned long long>(depart + static_cast<quint64>(nombre) - 1));
        for (int i = 0; i < nombre; ++i) {
            const quint64 graine = depart + static_cast<quint64>(i);
            QTest::addRow("graine %llu", static_cast<unsigned long long>(graine)) << graine;
        }
    }

    void aSessionKilledAtRandom() {
        QFETCH(quint64, graine);
        // Another stream than the child's: a third of the seeds aim at the session start, short as it is.
        std::mt19937_64 rng(graine ^ 0x5DEECE66DULL);
        const bool viserDebut = rng() % 3 == 0;
        const double u = std::uniform_real_distribution<double>(0.0, 1.0)(rng);
        const auto fenetre = viserDebut ? fenetreDebut_ * 13 / 10 : fenetreTotale_ * 21 / 20;
        const microseconds delai(static_cast<long long>(u * static_cast<double>(fenetre.count())));
        jouer(graine, delai);
        bilan_.tues += 1;
        juger();
    }

    // The window that random kills seldom hit, made on purpose: a writer dies in the middle of its transaction,
    // after its changes reached the file, leaving its journal. The lists, which only read, must still find the
    // file, and it must read as it was before that writer began.
    void aJournalLeftByAKilledWriterKeepsTheFileListed() {
        jouer(5, std::nullopt, {QStringLiteral("--reponses"), QStringLiteral("4")});
        const scenario::Journal j = tour_.journal;
        QCOMPARE(j.reponses.size(), std::size_t(4));
        const QString chemin = tour_.dossier + QLatin1Char('/') + j.fichier;
        const QByteArray avant = contenu(chemin);
        const QByteArray cheminC = QFile::encodeName(chemin);

        const pid_t pid = ::fork();
        if (pid == 0) {
            sqlite3* base = nullptr;
            sqlite3_open_v2(cheminC.constData(), &base, SQLITE_OPEN_READWRITE, nullptr);
            // A cache too small for the transaction: its pages go to the file before any commit.
            sqlite3_exec(base,
                         "PRAGMA cache_size=1; BEGIN; CREATE TABLE remplissage(x);"
                         "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000)"
                         "  INSERT INTO remplissage SELECT randomblob(500) FROM n;"
                         "UPDATE question SET RE1 = 9, reussi = 1;",
                         nullptr, nullptr, nullptr);
            ::_exit(0); // neither commit nor rollback
        }
        QVERIFY(pid > 0);
        int statut = 0;
        QCOMPARE(::waitpid(pid, &statut, 0), pid);
        QVERIFY(QFile::exists(chemin + QStringLiteral("-journal")));
        QVERIFY(contenu(chemin) != avant);

        const controle::Listes l = controle::listes(tour_.dossier);
        QVERIFY(l.resultats.contains(j.fichier));
        QCOMPARE(l.commences.contains(j.fichier), !j.examen);
        QVERIFY(contenu(chemin) == avant);
        QVERIFY(!QFile::exists(chemin + QStringLiteral("-journal")));
        const QStringList defauts =
            controle::defautsResultats(chemin, tour_.dossier + QLatin1Char('/') + scenario::kFichierTest, j.examen, j);
        QVERIFY2(defauts.isEmpty(), qPrintable(defauts.join(QLatin1Char('\n'))));
    }

    void cleanupTestCase() {
        qInfo("%d sessions tuées en %.1f s: %d pendant le début de session (%d fichiers absents, %d laissés hors des "
              "listes, %d complets), %d pendant les réponses, %d après la fin; %d réponses vérifiées",
              bilan_.tues, static_cast<double>(chrono_.elapsed()) / 1000.0, bilan_.auDebut, bilan_.absents,
              bilan_.nonListes, bilan_.complets, bilan_.pendantReponses, bilan_.apresFin, bilan_.reponses);
    }
};

QTEST_MAIN(TestCrash)
#include "tst_crash.moc"
