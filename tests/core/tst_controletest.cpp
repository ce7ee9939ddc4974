#include "data/controletest.h"
#include "data/fichierresultats.h"

#include <QDir>
#include <QTest>
#include <functional>

using namespace kelvane::data;

namespace {

// A sound two-question test: a question to tick and one to put in order, both in chapter 1.
Test testSain() {
    Test t;
    t.nom = QStringLiteral("B1V");
    t.temps = 600;
    t.tolerance = 70;
    t.chapitres = {{QStringLiteral("Généralités"), 1}};
    QuestionTest cocher{};
    cocher[champ::B0] = true;
    cocher[champ::Question] = QStringLiteral("Quelle tension ?");
    cocher[champ::NbreReponse] = 2;
    cocher[champ::R1] = QStringLiteral("230 V");
    cocher[champ::R1 + 1] = QStringLiteral("12 V");
    cocher[champ::S1] = 1;
    cocher[champ::S1 + 1] = 0;
    cocher[champ::Qcm] = true;
    cocher[champ::Chapitre] = 1;
    cocher[champ::Numero] = 1;
    QuestionTest ordre = cocher;
    ordre[champ::Question] = QStringLiteral("Dans l'ordre ?");
    ordre[champ::NbreReponse] = 3;
    ordre[champ::R1 + 2] = QStringLiteral("Vérifier");
    ordre[champ::S1] = 2;
    ordre[champ::S1 + 1] = 3;
    ordre[champ::S1 + 2] = 1;
    ordre[champ::Qcm] = false;
    ordre[champ::Numero] = 2;
    t.questions = {cocher, ordre};
    return t;
}

using Abimer = std::function<void(Test&)>;

} // namespace

Q_DECLARE_METATYPE(Abimer)

// The one set of rules that the editor, the text import and the Access conversion share: each row breaks one rule
// of a sound test and names the single problem the teacher must see (no follow-on problem).
class TestControleTest : public QObject {
    Q_OBJECT

private slots:
    void unTestSainNaAucunProbleme() { QVERIFY(controlerTest(testSain()).empty()); }

    void chaqueRegleDonneUnSeulProbleme_data() {
        QTest::addColumn<Abimer>("abimer");
        QTest::addColumn<int>("question");
        QTest::addColumn<QString>("message");
        auto q = [](int i, int champ, QVariant v) { return Abimer([=](Test& t) { t.questions[i][champ] = v; }); };
        QTest::newRow("temps nul") << Abimer([](Test& t) { t.temps = 0; }) << -1
                                   << "temps du test : 0 s hors des limites (1 à 32767)";
        QTest::newRow("temps vide") << Abimer([](Test& t) { t.temps = QVariant(); }) << -1 << "temps du test vide";
        QTest::newRow("tolérance non entière")
            << Abimer([](Test& t) { t.tolerance = 70.5; }) << -1 << "tolérance : « 70.5 » n'est pas un nombre entier";
        QTest::newRow("tolérance 101") << Abimer([](Test& t) { t.tolerance = 101; }) << -1
                                       << "tolérance : 101 % hors des limites (0 à 100)";
        QTest::newRow("chapitre en double") << Abimer([](Test& t) {
            t.chapitres.push_back({QStringLiteral("Autre"), 1});
        }) << -1 << "chapitre 1 déclaré deux fois";
        QTest::newRow("nom de chapitre de 81 caractères")
            << Abimer([](Test& t) { t.chapitres[0].nom = QString(81, QLatin1Char('c')); }) << -1
            << "chapitre 1 : nom : 81 caractères, 80 au plus";
        QTest::newRow("texte de 201 caractères") << q(0, champ::Question, QString(201, QLatin1Char('q'))) << 0
                                                 << "texte de la question : 201 caractères, 200 au plus";
        QTest::newRow("texte vide") << q(1, champ::Question, QString()) << 1 << "texte de la question vide";
        QTest::newRow("réponse de 101 caractères")
            << q(0, champ::R1, QString(101, QLatin1Char('r'))) << 0 << "réponse 1 : 101 caractères, 100 au plus";
        QTest::newRow("réponse vide") << q(1, champ::R1 + 2, QString()) << 1 << "réponse 3 vide";
        QTest::newRow("aucun niveau") << q(0, champ::B0, false) << 0 << "aucun niveau (B0, B1, B2, BR ou BC)";
        QTest::newRow("chapitre non déclaré") << q(1, champ::Chapitre, 4) << 1 << "chapitre « 4 » non déclaré";
        QTest::newRow("six réponses") << q(0, champ::NbreReponse, 6) << 0 << "6 réponses : il en faut de 1 à 5";
        QTest::newRow("aucune réponse") << q(0, champ::NbreReponse, 0) << 0 << "0 réponses : il en faut de 1 à 5";
        QTest::newRow("rien à cocher") << q(0, champ::S1, 0) << 0 << "aucune réponse à cocher";
        QTest::newRow("valeur 2 à cocher")
            << q(0, champ::S1 + 1, 2) << 0 << "réponse 2 : la valeur doit être 1 (à cocher) ou 0";
        QTest::newRow("rang donné deux fois")
            << q(1, champ::S1 + 2, 3) << 1
            << "question à remettre dans l'ordre : chaque rang de 1 à 3 doit être donné une fois";
        QTest::newRow("rang hors de 1 à n")
            << q(1, champ::S1 + 2, 4) << 1
            << "question à remettre dans l'ordre : chaque rang de 1 à 3 doit être donné une fois";
        QTest::newRow("numéro en double") << q(1, champ::Numero, 1) << 1 << "numéro 1 déjà donné à la question 1";
        QTest::newRow("numéro hors de 1 à N")
            << q(1, champ::Numero, 3) << 1 << "numéro « 3 » : les questions sont numérotées de 1 à 2";
        QTest::newRow("aucune question") << Abimer([](Test& t) { t.questions.clear(); }) << -1 << "aucune question";
    }
    void chaqueRegleDonneUnSeulProbleme() {
        QFETCH(Abimer, abimer);
        QFETCH(int, question);
        QFETCH(QString, message);
        Test t = testSain();
        abimer(t);
        const std::vector<Probleme> problemes = controlerTest(t);
        QCOMPARE(problemes.size(), std::size_t{1});
        QCOMPARE(problemes.front().question, question);
        QCOMPARE(problemes.front().message, message);
    }

    // The tests shipped to schools must pass the rules that their editor will apply.
    void lesTestsDeDemonstrationSontSains() {
        const QDir demo(qEnvironmentVariable("KELVANE_DEMO_DIR"));
        const QStringList tests = demo.entryList({QStringLiteral("*.mdb")}, QDir::Files);
        QVERIFY(tests.size() >= 3);
        for (const QString& nom : tests) {
            const auto lu = lireTest(demo.filePath(nom));
            if (const auto* test = std::get_if<Test>(&lu)) {
                for (const Probleme& p : controlerTest(*test)) {
                    QFAIL(qPrintable(nom + QStringLiteral(" : ") + p.message));
                }
            }
        }
    }

    // The panel lists the test's problems first, then each question's in the test's order.
    void lesProblemesSuiventLOrdreDuTest() {
        Test t = testSain();
        t.questions[1][champ::Numero] = 1;
        t.questions[0][champ::B0] = false;
        t.tolerance = -1;
        const std::vector<Probleme> problemes = controlerTest(t);
        QCOMPARE(problemes.size(), std::size_t{3});
        QCOMPARE(problemes[0].question, -1);
        QCOMPARE(problemes[1].question, 0);
        QCOMPARE(problemes[2].question, 1);
    }
};

QTEST_GUILESS_MAIN(TestControleTest)
#include "tst_controletest.moc"
