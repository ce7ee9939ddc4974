#include "data/reglesfichiers.h"
#include "data/test.h"
#include "support/erreurs.h"
#include "support/fixtures.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace kelvane;
using namespace kelvane::data;

namespace {

// Each scenario builds its file at the path given.
using Fabrique = std::function<void(const QString&)>;

fixtures::Test testAvec(int nbQuestions, int nbParametres = 1, int nbChamps = 21, QStringList tablesEnPlus = {}) {
    fixtures::Test test;
    test.questions = fixtures::questionsSimples(nbQuestions);
    test.parametres = QList<std::pair<int, int>>(nbParametres, {600, 70});
    test.nbChamps = nbChamps;
    test.tablesEnPlus = std::move(tablesEnPlus);
    return test;
}

Fabrique test(const fixtures::Test& t) {
    return [t](const QString& p) { fixtures::creerTest(p, t); };
}
Fabrique base(const QStringList& tables) {
    return [tables](const QString& p) { fixtures::creerBase(p, tables); };
}
Fabrique resultats(bool examen, bool avecEleve = true) {
    return [=](const QString& p) {
        fixtures::Resultats r;
        r.examen = examen;
        r.avecEleve = avecEleve;
        fixtures::creerResultats(p, r);
    };
}
Fabrique octets(const QByteArray& contenu) {
    return [contenu](const QString& p) {
        QFile f(p);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(contenu);
    };
}

QByteArray contenu(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(GenreFichier)
Q_DECLARE_METATYPE(Fabrique)

class TstReglesFichiers : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void sonder_data();
    void sonder();
    void estFichierTest_data();
    void estFichierTest();
    void lireTestRefuse_data();
    void lireTestRefuse();
    void lireTestLitLesValeurs();
    void lireTestErreursDuMoteur();
};

void TstReglesFichiers::sonder_data() {
    QTest::addColumn<Fabrique>("fabrique");
    QTest::addColumn<GenreFichier>("genre");
    QTest::addColumn<bool>("examen");

    const auto nonLisible = GenreFichier::NonLisible;
    QTest::newRow("test à trois tables") << test(testAvec(1)) << GenreFichier::Test << false;
    QTest::newRow("test avec une table en plus avant numero: refusé")
        << test(testAvec(1, 1, 21, {"aide"})) << GenreFichier::Autre << false;
    QTest::newRow("test avec une table en plus après test: accepté")
        << test(testAvec(1, 1, 21, {"zzz"})) << GenreFichier::Test << false;
    QTest::newRow("tables en majuscules") << base({"CHAPITRE", "Numero", "TEST"}) << GenreFichier::Test << false;
    QTest::newRow("test sans table numero") << base({"chapitre", "numerotation", "test"}) << nonLisible << false;
    QTest::newRow("résultats d'évaluation") << resultats(true) << GenreFichier::Resultats << true;
    QTest::newRow("résultats d'entraînement") << resultats(false) << GenreFichier::Resultats << false;
    QTest::newRow("résultats sans élève") << resultats(true, false) << nonLisible << false;
    QTest::newRow("eleves deuxième et test septième, donc sans numero")
        << base({"chapitre", "eleves", "test"}) << nonLisible << false;
    QTest::newRow("base de réglages") << base({"habilitation"}) << GenreFichier::Autre << false;
    QTest::newRow("base sans table") << base({}) << GenreFichier::Autre << false;
    QTest::newRow("texte nommé .mdb") << octets("Ceci n'est pas une base de données, seulement un texte assez long.\n")
                                      << nonLisible << false;
    QTest::newRow("fichier vide nommé .mdb") << octets({}) << nonLisible << false;
    QTest::newRow("fichier disparu") << Fabrique([](const QString&) {}) << nonLisible << false;
}

void TstReglesFichiers::sonder() {
    QFETCH(Fabrique, fabrique);
    QFETCH(GenreFichier, genre);
    QFETCH(bool, examen);

    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("fichier.mdb"));
    fabrique(chemin);
    const QByteArray avant = contenu(chemin);

    const SondageFichier sondage = sonderFichier(chemin);
    QCOMPARE(sondage.genre, genre);
    QCOMPARE(sondage.examen, examen);
    QCOMPARE(contenu(chemin), avant); // a scan only reads
}

// What the workbench may list, copy or delete: a test by its tables, never the settings file whatever it holds.
void TstReglesFichiers::estFichierTest_data() {
    QTest::addColumn<QString>("nom");
    QTest::addColumn<Fabrique>("fabrique");
    QTest::addColumn<bool>("test");

    QTest::newRow("test") << "B1V.mdb" << test(testAvec(1)) << true;
    QTest::newRow("réglages faits comme un test") << "habilitation.mdb" << test(testAvec(1)) << false;
    QTest::newRow("réglages en majuscules") << "HABILITATION.MDB" << test(testAvec(1)) << false;
    QTest::newRow("résultats") << "JDupont-B1V-Ex-061201.mdb" << resultats(true) << false;
    QTest::newRow("texte") << "notes.mdb" << octets("pas une base") << false;
}

void TstReglesFichiers::estFichierTest() {
    QFETCH(QString, nom);
    QFETCH(Fabrique, fabrique);
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(nom);
    fabrique(chemin);
    QTEST(data::estFichierTest(chemin), "test");
}

void TstReglesFichiers::lireTestRefuse_data() {
    QTest::addColumn<Fabrique>("fabrique");
    QTest::addColumn<bool>("pasUnTest");
    QTest::addColumn<QString>("message");

    QTest::newRow("résultats") << resultats(true) << true
                               << "La base essai.mdb n'est pas un test d'habilitation électrique";
    QTest::newRow("table en plus avant numero") << test(testAvec(1, 1, 21, {"aide"})) << true
                                                << "La base essai.mdb n'est pas un test d'habilitation électrique";
    QTest::newRow("sans questions") << test(testAvec(0)) << false << "Le test essai ne contient aucune question";
    QTest::newRow("sans paramètres") << test(testAvec(1, 0)) << false
                                     << "Le test essai n'a pas de paramètres (table numero vide)";
    QTest::newRow("20 champs")
        << test(testAvec(1, 1, 20)) << false
        << "Le test essai n'a pas le format attendu: sa table test a 20 champs au lieu d'au moins 21";
}

void TstReglesFichiers::lireTestRefuse() {
    QFETCH(Fabrique, fabrique);
    QFETCH(bool, pasUnTest);
    QFETCH(QString, message);

    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("essai.mdb"));
    fabrique(chemin);
    const auto lu = lireTest(chemin);
    QVERIFY(std::holds_alternative<TestRefuse>(lu));
    QCOMPARE(std::get<TestRefuse>(lu).pasUnTest, pasUnTest);
    QCOMPARE(std::get<TestRefuse>(lu).message, message);
}

void TstReglesFichiers::lireTestLitLesValeurs() {
    // Only the first settings record counts; a 22nd column is not read; values keep their nulls.
    QTemporaryDir dossier;
    fixtures::Test t = testAvec(2, 1, 22);
    t.parametres = {{900, 75}, {60, 10}};
    t.chapitres = {{QStringLiteral("Dangers"), 2}, {QStringLiteral("Généralités"), 1}};
    t.questions[1].texte = QStringLiteral("Deuxième");
    t.questions[1].numero = 7;
    const QString chemin = dossier.filePath(QStringLiteral("B1V.mdb"));
    fixtures::creerTest(chemin, t);

    const auto lu = lireTest(chemin);
    QVERIFY(std::holds_alternative<Test>(lu));
    const Test& test = std::get<Test>(lu);
    QCOMPARE(test.fichier, QStringLiteral("B1V.mdb"));
    QCOMPARE(test.nom, QStringLiteral("B1V"));
    QCOMPARE(test.temps.toInt(), 900);
    QCOMPARE(test.tolerance.toInt(), 75);
    QCOMPARE(test.chapitres.size(), 2U);
    QCOMPARE(test.chapitres[0].nom.toString(), QStringLiteral("Dangers"));
    QCOMPARE(test.chapitres[0].numero.toInt(), 2);
    QCOMPARE(test.questions.size(), 2U);
    QCOMPARE(test.questions[1][5].toString(), QStringLiteral("Deuxième"));
    QCOMPARE(test.questions[1][20].toInt(), 7);
    QVERIFY(test.questions[0][0].toBool());
    QCOMPARE(test.questions[0][9].toString(), QString()); // R3 left empty
}

void TstReglesFichiers::lireTestErreursDuMoteur() {
    // The engine's own failures reach the caller as errors, not as refusals.
    QTemporaryDir dossier;
    KELVANE_EXPECT_ERROR(lireTest(dossier.filePath(QStringLiteral("absent.mdb"))), errc::FileNotFound);
    const QString sansTable = dossier.filePath(QStringLiteral("sans-numero.mdb"));
    base({"chapitre", "numerotation", "test"})(sansTable);
    KELVANE_EXPECT_ERROR(lireTest(sansTable), errc::TableNotFound);
}

QTEST_GUILESS_MAIN(TstReglesFichiers)
#include "tst_reglesfichiers.moc"
