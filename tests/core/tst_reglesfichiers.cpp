#include "data/reglesfichiers.h"
#include "fixtures.h"
#include "platform/db/database.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvane;

Q_DECLARE_METATYPE(GenreFichier)

class TstReglesFichiers : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void sonder_data();
    void sonder();
    void verifierTest_data();
    void verifierTest();
};

namespace {

// Each scenario builds its file in the folder and returns its path.
using Fabrique = std::function<QString(const QDir&)>;

fixtures::Test testSimple() {
    fixtures::Test test;
    test.questions = {fixtures::Question{}};
    return test;
}

} // namespace

Q_DECLARE_METATYPE(Fabrique)

void TstReglesFichiers::sonder_data() {
    QTest::addColumn<Fabrique>("fabrique");
    QTest::addColumn<GenreFichier>("genre");
    QTest::addColumn<bool>("examen");

    QTest::newRow("test à trois tables") << Fabrique([](const QDir& d) {
        return fixtures::creerTest(d, "test-simple.mdb", testSimple());
    }) << GenreFichier::Test << false;
    QTest::newRow("test avec une table en plus avant numero: refusé") << Fabrique([](const QDir& d) {
        fixtures::Test test = testSimple();
        test.tablesEnPlus = {"aide"};
        return fixtures::creerTest(d, "test-table-aide.mdb", test);
    }) << GenreFichier::Autre << false;
    QTest::newRow("test avec une table en plus après test: accepté") << Fabrique([](const QDir& d) {
        fixtures::Test test = testSimple();
        test.tablesEnPlus = {"zzz"};
        return fixtures::creerTest(d, "test-table-zzz.mdb", test);
    }) << GenreFichier::Test << false;
    QTest::newRow("tables en majuscules") << Fabrique([](const QDir& d) {
        return fixtures::creerBase(d, "majuscules.mdb", {"CHAPITRE", "Numero", "TEST"});
    }) << GenreFichier::Test << false;
    QTest::newRow("test sans table numero: illisible") << Fabrique([](const QDir& d) {
        return fixtures::creerBase(d, "sans-numero.mdb", {"chapitre", "numerotation", "test"});
    }) << GenreFichier::NonLisible << false;
    QTest::newRow("résultats d'évaluation") << Fabrique([](const QDir& d) {
        fixtures::Resultats r;
        r.examen = true;
        return fixtures::creerResultats(d, "JDupont-B1V-Ex-061201.mdb", r);
    }) << GenreFichier::Resultats << true;
    QTest::newRow("résultats d'entraînement") << Fabrique([](const QDir& d) {
        fixtures::Resultats r;
        r.examen = false;
        return fixtures::creerResultats(d, "JDupont-B1V-061201.mdb", r);
    }) << GenreFichier::Resultats << false;
    QTest::newRow("résultats sans élève: illisible") << Fabrique([](const QDir& d) {
        fixtures::Resultats r;
        r.avecEleve = false;
        return fixtures::creerResultats(d, "eleves-vide.mdb", r);
    }) << GenreFichier::NonLisible << false;
    QTest::newRow("eleves deuxième et test septième, donc sans numero") << Fabrique([](const QDir& d) {
        return fixtures::creerBase(d, "hybride.mdb", {"chapitre", "eleves", "test"});
    }) << GenreFichier::NonLisible << false;
    QTest::newRow("base de réglages") << Fabrique([](const QDir& d) {
        return fixtures::creerBase(d, "habilitation.mdb", {"habilitation"});
    }) << GenreFichier::Autre << false;
    QTest::newRow("base sans table") << Fabrique([](const QDir& d) { return fixtures::creerBase(d, "vide.mdb", {}); })
                                     << GenreFichier::Autre << false;
    QTest::newRow("texte nommé .mdb") << Fabrique([](const QDir& d) {
        QFile f(d.filePath("pas-une-base.mdb"));
        f.open(QIODevice::WriteOnly);
        f.write("Ceci n'est pas une base de données, seulement un texte assez long pour en avoir l'air.\n");
        return f.fileName();
    }) << GenreFichier::NonLisible << false;
    QTest::newRow("fichier vide nommé .mdb") << Fabrique([](const QDir& d) {
        QFile f(d.filePath("vide-zero-octet.mdb"));
        f.open(QIODevice::WriteOnly);
        return f.fileName();
    }) << GenreFichier::NonLisible << false;
    QTest::newRow("fichier disparu") << Fabrique([](const QDir& d) { return d.filePath("disparu.mdb"); })
                                     << GenreFichier::NonLisible << false;
}

void TstReglesFichiers::sonder() {
    QFETCH(Fabrique, fabrique);
    QFETCH(GenreFichier, genre);
    QFETCH(bool, examen);

    QTemporaryDir dossier;
    const QString chemin = fabrique(QDir(dossier.path()));
    const QByteArray avant = [&chemin] {
        QFile f(chemin);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();

    const SondageFichier sondage = sonderFichier(chemin);
    QCOMPARE(sondage.genre, genre);
    QCOMPARE(sondage.examen, examen);

    // A scan only reads.
    QFile f(chemin);
    QCOMPARE(f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(), avant);
}

void TstReglesFichiers::verifierTest_data() {
    QTest::addColumn<int>("nbQuestions");
    QTest::addColumn<int>("nbParametres");
    QTest::addColumn<int>("nbChamps");
    QTest::addColumn<QString>("message");

    QTest::newRow("test complet") << 2 << 1 << 21 << "";
    QTest::newRow("22 champs") << 1 << 1 << 22 << "";
    QTest::newRow("sans questions") << 0 << 1 << 21 << "Le test sans-questions ne contient aucune question";
    QTest::newRow("sans paramètres") << 1 << 0 << 21
                                     << "Le test sans-parametres n'a pas de paramètres (table numero vide)";
    QTest::newRow("20 champs") << 1 << 1 << 20
                               << "Le test vingt-champs n'a pas le format attendu: sa table test a 20 champs au lieu "
                                  "d'au moins 21";
}

void TstReglesFichiers::verifierTest() {
    QFETCH(int, nbQuestions);
    QFETCH(int, nbParametres);
    QFETCH(int, nbChamps);
    QFETCH(QString, message);

    QTemporaryDir dossier;
    fixtures::Test test;
    test.nbChamps = nbChamps;
    test.questions = QList<fixtures::Question>(nbQuestions);
    test.parametres = QList<std::pair<int, int>>(nbParametres, {600, 70});
    const QString nom = nbQuestions == 0    ? "sans-questions.mdb"
                        : nbParametres == 0 ? "sans-parametres.mdb"
                        : nbChamps == 20    ? "vingt-champs.mdb"
                                            : "complet.mdb";
    db::Database base = db::OpenDatabase(fixtures::creerTest(QDir(dossier.path()), nom, test));
    QVERIFY(estTest(base));
    QCOMPARE(kelvane::verifierTest(base).value_or(QString()), message);
}

QTEST_GUILESS_MAIN(TstReglesFichiers)
#include "tst_reglesfichiers.moc"
