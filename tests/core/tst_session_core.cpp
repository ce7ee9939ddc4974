#include "data/test.h"
#include "session/session.h"
#include "support/doubles/scriptedservices.h"
#include "support/erreurs.h"
#include "support/fixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvane;
using namespace kelvane::session;

using Cinq = std::array<int, 5>;
Q_DECLARE_METATYPE(Cinq)
Q_DECLARE_METATYPE(Reponse)

namespace {

const Candidat Jean{QStringLiteral("Dupont"), QStringLiteral("Jean"), QStringLiteral("1A")};

// Questions whose text is their stored position ("P0", "P1"...), numbered as given, right when only the first box
// is ticked.
std::vector<fixtures::Question> numerotees(const QList<int>& numeros) {
    std::vector<fixtures::Question> qs = fixtures::questionsSimples(static_cast<int>(numeros.size()));
    for (std::size_t i = 0; i < qs.size(); ++i) {
        qs[i].texte = QStringLiteral("P%1").arg(i);
        qs[i].numero = numeros.at(static_cast<qsizetype>(i));
    }
    return qs;
}

Reponse cases(const Cinq& c) {
    Reponse r;
    for (std::size_t i = 0; i < 5; ++i) {
        r.cases[i] = c[i] != 0;
    }
    return r;
}

Reponse rangs(const std::array<QString, 5>& textes) {
    Reponse r;
    r.rangs = textes;
    return r;
}

// A folder made current, the scripted clock and draws, and tests written into the folder and read as values.
struct Banc {
    QTemporaryDir dossier;
    doubles::ScriptedServices s;

    Banc() { s.files.setCurrentFolder(dossier.path()); }

    data::Test test(const std::vector<fixtures::Question>& questions, int temps = 90, int tolerance = 50,
                    const QString& nom = QStringLiteral("B1V")) {
        const QString chemin = dossier.filePath(nom + QStringLiteral(".mdb"));
        QFile::remove(chemin);
        fixtures::creerTest(chemin, temps, tolerance, {{QStringLiteral("Généralités"), 1}}, questions);
        return std::get<data::Test>(data::lireTest(chemin));
    }
    Session session(const ModeTest& mode) { return Session(mode, s.files, s.clock, s.random); }
};

// The stored positions shown from the first place to the last, moving forward; the moves stop at both ends.
QList<int> parcourir(Session& session) {
    QList<int> positions;
    session.reculer();
    if (!session.premiere()) {
        return {-1};
    }
    for (int place = 0; place < session.nbQuestions(); ++place) {
        const QuestionAffichee q = session.question();
        if (q.numero != place + 1) {
            return {-2};
        }
        positions << q.texte.mid(1).toInt();
        session.avancer();
    }
    return session.derniere() ? positions : QList<int>{-3};
}

} // namespace

class TstSessionCore : public QObject {
    Q_OBJECT

private slots:
    void demarrer_data();
    void demarrer();
    void ordreGardeEntreSessions();
    void demarrageRateLaisseLEtat();
    void reprendre();
    void enregistrer_data();
    void enregistrer();
    void decompter_data();
    void decompter();
    void resultatsEtRapport();
};

void TstSessionCore::demarrer_data() {
    QTest::addColumn<bool>("evaluation");
    QTest::addColumn<QList<int>>("numeros");
    QTest::addColumn<int>("seconde");
    QTest::addColumn<QList<float>>("tirages");
    QTest::addColumn<QList<int>>("positions"); // shown at places 1, 2...
    QTest::addColumn<QString>("fichier");

    QTest::newRow("entraînement: dans l'ordre des numéros")
        << false << QList<int>{3, 1, 2} << 30 << QList<float>{} << QList<int>{1, 2, 0} << "JDupont-B1V-061201.mdb";
    QTest::newRow("évaluation: ordre tiré") << true << QList<int>{3, 1, 2} << 30 << QList<float>{0.9F, 0.2F, 0.7F}
                                            << QList<int>{1, 0, 2} << "JDupont-B1V-Ex-061201.mdb";
    QTest::newRow("évaluation à la seconde 0: ordre stocké")
        << true << QList<int>{3, 1, 2} << 0 << QList<float>{0.9F, 0.2F, 0.7F} << QList<int>{0, 1, 2}
        << "JDupont-B1V-Ex-061201.mdb";
}

void TstSessionCore::demarrer() {
    QFETCH(bool, evaluation);
    QFETCH(QList<int>, numeros);
    QFETCH(int, seconde);
    QFETCH(QList<float>, tirages);
    QFETCH(QList<int>, positions);
    QFETCH(QString, fichier);

    Banc banc;
    banc.s.clock.sec = seconde;
    banc.s.random.values.assign(tirages.begin(), tirages.end());
    const data::Test test = banc.test(numerotees(numeros), 120, 60);
    Session session = banc.session(evaluation ? modeEvaluation() : modeEntrainement());
    session.demarrer(test, Jean, banc.dossier.path());
    session.tirerOrdreEvaluation();

    QCOMPARE(session.nomFichier(), fichier);
    QVERIFY(QFile::exists(session.cheminFichier()));
    QCOMPARE(session.examen(), evaluation);
    QCOMPARE(session.libelleCandidat(), QStringLiteral("Jean DUPONT 1A"));
    QCOMPARE(session.libelleTest(),
             evaluation ? QStringLiteral("B1V (Evaluation)") : QStringLiteral("B1V (Entrainement)"));
    QCOMPARE(int(session.tempsAutorise()), 120);
    QCOMPARE(int(session.tolerance()), 60);
    QCOMPARE(session.tempsRestant(), 120);
    QVERIFY(banc.s.random.values.empty());
    QCOMPARE(parcourir(session), positions);
    QCOMPARE(session.question().chapitre, std::optional<QString>(QStringLiteral("Généralités")));

    // The same candidate again the same day gets a file of its own.
    session.demarrer(test, Jean, banc.dossier.path());
    session.tirerOrdreEvaluation();
    QCOMPARE(session.nomFichier(), QString(fichier).replace(".mdb", "-1.mdb"));
    QCOMPARE(session.place(), 0);
}

void TstSessionCore::ordreGardeEntreSessions() {
    // A place that a later session's numbers do not fill keeps what the earlier session put there; a first
    // session shows the first stored question there.
    Banc banc;
    Session session = banc.session(modeEntrainement());
    session.demarrer(banc.test(numerotees({4, 3, 2, 1})), Jean, banc.dossier.path());
    session.tirerOrdreEvaluation();
    QCOMPARE(parcourir(session), (QList<int>{3, 2, 1, 0}));

    const data::Test doublon = banc.test(numerotees({1, 2, 2}), 90, 50, QStringLiteral("B2V"));
    session.demarrer(doublon, Jean, banc.dossier.path());
    session.tirerOrdreEvaluation();
    QCOMPARE(parcourir(session), (QList<int>{0, 2, 1}));
    QCOMPARE(session.resultats(results::VerdictsSession).lignesQuestions.size(), 3);

    Session neuve = banc.session(modeEntrainement());
    neuve.demarrer(doublon, Jean, banc.dossier.path());
    neuve.tirerOrdreEvaluation();
    QCOMPARE(parcourir(neuve), (QList<int>{0, 2, 0}));
}

void TstSessionCore::demarrageRateLaisseLEtat() {
    Banc banc;
    Session session = banc.session(modeEvaluation());
    session.demarrer(banc.test(numerotees({1, 2}), 90, 50), Jean, banc.dossier.path());
    session.tirerOrdreEvaluation();
    session.avancer();
    const QStringList avant = QDir(banc.dossier.path()).entryList(QDir::Files);

    data::Test trop = banc.test(numerotees({1}), 90, 50, QStringLiteral("Long"));
    trop.questions[0][data::champ::Question] = QString(201, QLatin1Char('x'));
    KELVANE_EXPECT_ERROR(session.demarrer(trop, Jean, banc.dossier.path()), errc::FieldTooSmall);
    trop = banc.test(numerotees({1}), 90, 50, QStringLiteral("Long"));
    trop.temps = 40000;
    KELVANE_EXPECT_ERROR(session.demarrer(trop, Jean, banc.dossier.path()), errc::Overflow);

    QCOMPARE(QDir(banc.dossier.path()).entryList(QDir::Files), avant + QStringList{"Long.mdb"});
    QCOMPARE(session.nomTest(), QStringLiteral("B1V"));
    QCOMPARE(session.nbQuestions(), 2);
    QCOMPARE(session.place(), 1);
    QCOMPARE(session.tempsRestant(), 90);
    QVERIFY(session.question().texte.startsWith(QLatin1Char('P')));
    QVERIFY(session.enregistrer(cases({1, 0, 0, 0, 0})));
}

void TstSessionCore::reprendre() {
    Banc banc;
    QString chemin;
    {
        Session premiere = banc.session(modeEntrainement());
        premiere.demarrer(banc.test(numerotees({2, 1}), 300, 80), Jean, banc.dossier.path());
        premiere.tirerOrdreEvaluation();
        QVERIFY(premiere.enregistrer(cases({1, 0, 0, 0, 0})));
        premiere.avancer();
        QVERIFY(!premiere.enregistrer(cases({0, 1, 0, 0, 0})));
        for (int i = 0; i < 10; ++i) {
            premiere.decompter();
        }
        chemin = premiere.cheminFichier();
    }

    // Nothing changes when the file is not a results file, or a damaged one.
    Session session = banc.session(modeEntrainement());
    QVERIFY(!session.rouvrir(banc.dossier.filePath(QStringLiteral("B1V.mdb"))));
    QCOMPARE(session.nbQuestions(), 0);
    fixtures::Resultats vide;
    const QString endommage = fixtures::creerResultats(banc.dossier.filePath(QStringLiteral("vide.mdb")), vide);
    KELVANE_EXPECT_ERROR(session.rouvrir(endommage), errc::UnrecognizedFormat);
    QVERIFY(session.cheminFichier().isEmpty());

    QVERIFY(session.rouvrir(chemin));
    QCOMPARE(session.cheminFichier(), chemin);
    QCOMPARE(session.nomTest(), QStringLiteral("B1V"));
    QCOMPARE(session.examen(), false);
    QCOMPARE(int(session.tolerance()), 80);
    QCOMPARE(session.tempsRestant(), 300); // the countdown starts again from the whole time
    QCOMPARE(session.libelleCandidat(), QStringLiteral("Jean DUPONT 1A"));
    QCOMPARE(session.place(), 0);
    QCOMPARE(session.question().donnees, (Cinq{1, 0, 0, 0, 0})); // number 1: stored second
    session.avancer();
    QCOMPARE(session.question().donnees, (Cinq{0, 1, 0, 0, 0}));
    QCOMPARE(parcourir(session), (QList<int>{1, 0}));
}

void TstSessionCore::enregistrer_data() {
    QTest::addColumn<bool>("qcm");
    QTest::addColumn<Cinq>("attendu");
    QTest::addColumn<Reponse>("avant"); // recorded first
    QTest::addColumn<Reponse>("reponse");
    QTest::addColumn<Cinq>("enregistre");
    QTest::addColumn<bool>("juste"); // the mark stored at the end
    QTest::addColumn<int>("erreur");

    const Cinq qcm{1, 0, 1, 0, 0};
    const Cinq ordre{2, 3, 1, 0, 0};
    const Reponse rien;
    QTest::newRow("QCM: cases 1 et 3") << true << qcm << rien << cases(qcm) << qcm << true << 0;
    QTest::newRow("QCM: réponse changée, notée à nouveau")
        << true << qcm << cases(qcm) << cases({1, 0, 0, 0, 0}) << Cinq{1, 0, 0, 0, 0} << false << 0;
    QTest::newRow("QCM: les rangs sont ignorés")
        << true << qcm << rien << Reponse{{true, false, true, false, false}, {"3", "3", "3", "3", "3"}} << qcm << true
        << 0;
    QTest::newRow("ordre: rangs 2 3 1") << false << ordre << rien << rangs({"2", "3", "1", "", ""}) << ordre << true
                                        << 0;
    QTest::newRow("ordre: textes tapés à la main, cases ignorées")
        << false << ordre << rien << Reponse{{true, true, true, true, true}, {" 2", "3abc", "1\t", "", "x"}} << ordre
        << true << 0;
    QTest::newRow("ordre: question sautée sans rien toucher") << false << ordre << rien << rien << Cinq{} << false << 0;
    QTest::newRow("ordre: rang au-delà de 16 bits, l'enregistrement reste")
        << false << ordre << rangs({"2", "3", "1", "", ""}) << rangs({"2", "40000", "1", "", ""}) << ordre << true
        << errc::Overflow;
}

void TstSessionCore::enregistrer() {
    QFETCH(bool, qcm);
    QFETCH(Cinq, attendu);
    QFETCH(Reponse, avant);
    QFETCH(Reponse, reponse);
    QFETCH(Cinq, enregistre);
    QFETCH(bool, juste);
    QFETCH(int, erreur);

    Banc banc;
    std::vector<fixtures::Question> qs = numerotees({1});
    qs[0].qcm = qcm;
    qs[0].attendu = attendu;
    Session session = banc.session(modeEntrainement());
    session.demarrer(banc.test(qs), Jean, banc.dossier.path());
    session.tirerOrdreEvaluation();
    session.enregistrer(avant);
    if (erreur != 0) {
        KELVANE_EXPECT_ERROR(session.enregistrer(reponse), erreur);
    } else {
        QCOMPARE(session.enregistrer(reponse), juste);
    }
    QCOMPARE(session.question().donnees, enregistre);
    std::optional<data::FichierResultats> relu =
        data::FichierResultats::ouvrir(session.cheminFichier(), db::OpenMode::ReadOnly);
    QCOMPARE(relu->question(0).donnees, enregistre);
    QCOMPARE(relu->question(0).reussi, juste);
}

void TstSessionCore::decompter_data() {
    QTest::addColumn<int>("temps");
    QTest::addColumn<int>("secondes"); // ticks
    QTest::addColumn<QString>("texte");
    QTest::addColumn<bool>("ecoule");

    QTest::newRow("première seconde d'une minute et demie") << 90 << 1 << "1 mn 29 s" << false;
    QTest::newRow("minute pile") << 61 << 1 << "1 mn 0 s" << false;
    QTest::newRow("dernière seconde") << 90 << 89 << "0 mn 1 s" << false;
    QTest::newRow("fin") << 90 << 90 << "0 mn 0 s" << true;
    QTest::newRow("une heure") << 3600 << 1 << "59 mn 59 s" << false;
}

void TstSessionCore::decompter() {
    QFETCH(int, temps);
    QFETCH(int, secondes);
    QFETCH(QString, texte);
    QFETCH(bool, ecoule);

    Banc banc;
    Session session = banc.session(modeEvaluation());
    session.demarrer(banc.test(numerotees({1}), temps), Jean, banc.dossier.path());
    session.tirerOrdreEvaluation();
    QVERIFY(session.avecDecompte());
    Seconde derniere;
    for (int i = 0; i < secondes; ++i) {
        derniere = session.decompter();
    }
    QCOMPARE(derniere.texte, texte);
    QCOMPARE(derniere.ecoule, ecoule);

    Session sansTemps = banc.session(modeEvaluation());
    sansTemps.demarrer(banc.test(numerotees({1}), 0, 50, QStringLiteral("Libre")), Jean, banc.dossier.path());
    sansTemps.tirerOrdreEvaluation();
    QVERIFY(!sansTemps.avecDecompte());
}

void TstSessionCore::resultatsEtRapport() {
    Banc banc;
    std::vector<fixtures::Question> qs = numerotees({3, 1, 2});
    qs[0].niveaux = {false, false, false, true, false};
    Session session = banc.session(modeEntrainement());
    session.demarrer(banc.test(qs, 90, 50), Jean, banc.dossier.path());
    session.tirerOrdreEvaluation();
    for (bool juste : {true, false, true}) { // places 1 to 3: stored positions 1, 2, 0
        session.enregistrer(cases({juste ? 1 : 0, 0, 0, 0, 0}));
        session.avancer();
    }
    session.terminer();
    banc.s.clock.date = QDate(2002, 3, 7);
    session.tamponnerDate();

    const results::TextesResultats t = session.resultats(results::VerdictsSession);
    QCOMPARE(t.candidat, QStringLiteral("Jean DUPONT 1A"));
    QCOMPARE(t.entete, QStringLiteral("B1V (Entrainement) du 07/03/02"));
    QCOMPARE(t.nombreBonnes, QStringLiteral("Nombre de Bonnes Réponses: 2 sur 3 questions"));
    QCOMPARE(t.verdict, QStringLiteral("66% de bonnes réponses, vous avez réussi le test (>=50%)"));
    QCOMPARE(t.niveaux[3], QStringLiteral("BR:1 sur 1 soit 100%"));
    QCOMPARE(t.lignesQuestions, (QStringList{"P1      :Oui", "P2      :Non", "P0      :Oui"}));
    QCOMPARE(t.lignesChapitres, QStringList{"Généralités:   66%"});

    const results::Rapport r = session.rapport();
    QCOMPARE(r.nbBonnes, 2);
    QCOMPARE(r.nbQuestions, 3);
    QCOMPARE(r.tolerance, 50);
    QCOMPARE(r.date, QDate(2002, 3, 7));
    QCOMPARE(r.questions.first().question, QStringLiteral("P0")); // the report follows the file

    // Back to a question from the results: the session runs again there.
    QVERIFY(session.termine());
    session.allerA(1);
    QCOMPARE(session.place(), 1);
    QVERIFY(!session.termine());
    session.allerA(99);
    QVERIFY(session.derniere());
}

QTEST_GUILESS_MAIN(TstSessionCore)
#include "tst_session_core.moc"
