#include "data/fichierresultats.h"
#include "fixtures.h"
#include "platform/db/database.h"
#include "platform/error.h"
#include "session/correction.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <limits>

using namespace kelvane;

using Cases = std::array<int, 5>;
using Combos = std::array<QString, 5>;
using Valeurs = QList<int>;
Q_DECLARE_METATYPE(Cases)
Q_DECLARE_METATYPE(Combos)

class TstCorrection : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void valeurNumerique_data();
    void valeurNumerique();
    void valeurCombo_data();
    void valeurCombo();
    void enregistrer_data();
    void enregistrer();
    void attenduVideNeComptePas();
    void reponseChangeeRecalculeLaNote();
    void rangHorsLimitesLaisseLaQuestionIntacte();

private:
    struct Fichier {
        QTemporaryDir dossier;
        db::Database base;
        db::Recordset rs;
    };
    // One question with the given expected values, the recordset standing on it.
    static void ouvrir(Fichier& f, bool qcm, const Cases& attendues);
    static Valeurs reponsesEnregistrees(const QString& chemin);
};

void TstCorrection::valeurNumerique_data() {
    QTest::addColumn<QString>("texte");
    QTest::addColumn<double>("attendu");

    QTest::newRow("chiffre suivi de lettres") << "3abc" << 3.0;
    QTest::newRow("blanc puis chiffre") << " 3" << 3.0;
    QTest::newRow("blanc entre deux chiffres") << "1 2" << 12.0;
    QTest::newRow("tabulation et saut de ligne ignorés") << "\t1\n2 " << 12.0;
    QTest::newRow("lettres seules") << "abc" << 0.0;
    QTest::newRow("texte vide") << "" << 0.0;
    QTest::newRow("blancs seuls") << "   " << 0.0;
    QTest::newRow("signe moins") << "-2" << -2.0;
    QTest::newRow("signe séparé par un blanc") << "- 4" << -4.0;
    QTest::newRow("signe plus") << "+5" << 5.0;
    QTest::newRow("deux signes") << "--3" << 0.0;
    QTest::newRow("signe seul") << "-" << 0.0;
    QTest::newRow("point décimal") << "2.5" << 2.5;
    QTest::newRow("point en tête") << ".5" << 0.5;
    QTest::newRow("point final") << "5." << 5.0;
    QTest::newRow("point seul") << "." << 0.0;
    QTest::newRow("virgule: pas un séparateur décimal") << "1,5" << 1.0;
    QTest::newRow("deuxième point arrête le nombre") << "1.2.3" << 1.2;
    QTest::newRow("exposant") << "1e2" << 100.0;
    QTest::newRow("exposant négatif majuscule") << "25E-1" << 2.5;
    QTest::newRow("exposant sans chiffres") << "3e" << 3.0;
    QTest::newRow("exposant signé sans chiffres") << "3e+x" << 3.0;
    QTest::newRow("moins après le nombre") << "3-2" << 3.0;
    QTest::newRow("chiffres d'une autre écriture") << QString::fromUtf8("\u0663") << 0.0;
}

void TstCorrection::valeurNumerique() {
    QFETCH(QString, texte);
    QFETCH(double, attendu);
    QCOMPARE(kelvane::valeurNumerique(texte), attendu);
}

void TstCorrection::valeurCombo_data() {
    QTest::addColumn<QString>("texte");
    QTest::addColumn<int>("attendu"); // INT_MIN: refused with error 6

    const int refuse = std::numeric_limits<int>::min();
    QTest::newRow("rang ordinaire") << "3" << 3;
    QTest::newRow("vide") << "" << 0;
    QTest::newRow("2.6 arrondi") << "2.6" << 3;
    QTest::newRow("moitié vers le pair, en dessous") << "2.5" << 2;
    QTest::newRow("moitié vers le pair, au-dessus") << "3.5" << 4;
    QTest::newRow("plus grand entier 16 bits") << "32767" << 32767;
    QTest::newRow("plus petit entier 16 bits") << "-32768" << -32768;
    QTest::newRow("32768 refusé") << "32768" << refuse;
    QTest::newRow("32767.5 refusé") << "32767.5" << refuse;
    QTest::newRow("trop grand pour un double") << "1e999" << refuse;
}

void TstCorrection::valeurCombo() {
    QFETCH(QString, texte);
    QFETCH(int, attendu);
    if (attendu == std::numeric_limits<int>::min()) {
        try {
            kelvane::valeurCombo(texte);
            QFAIL("the value was accepted");
        } catch (const Error& e) {
            QCOMPARE(e.number(), errc::Overflow);
            QVERIFY2(e.text().contains(texte), qPrintable(e.text()));
        }
    } else {
        QCOMPARE(int(kelvane::valeurCombo(texte)), attendu);
    }
}

void TstCorrection::ouvrir(Fichier& f, bool qcm, const Cases& attendues) {
    fixtures::Resultats resultats;
    fixtures::QuestionResultat q;
    q.qcm = qcm;
    q.attendues = attendues;
    resultats.questions = {q};
    f.base = db::OpenDatabase(fixtures::creerResultats(QDir(f.dossier.path()), "correction.mdb", resultats));
    f.rs = f.base.OpenRecordset(QStringLiteral("question"));
    f.rs.setAbsolutePosition(0);
}

Valeurs TstCorrection::reponsesEnregistrees(const QString& chemin) {
    db::Database base = db::OpenDatabase(chemin, db::OpenMode::ReadOnly);
    db::Recordset rs = base.OpenRecordset(QStringLiteral("question"));
    rs.setAbsolutePosition(0);
    Valeurs valeurs;
    for (int i = 0; i < 5; ++i) {
        valeurs.append(rs.Fields(champ::RE1 + i).toInt());
    }
    valeurs.append(rs.Fields(QStringLiteral("reussi")).toBool() ? 1 : 0);
    return valeurs;
}

void TstCorrection::enregistrer_data() {
    QTest::addColumn<bool>("qcm");
    QTest::addColumn<Cases>("attendues");
    QTest::addColumn<Cases>("cases");
    QTest::addColumn<Combos>("combos");
    QTest::addColumn<Valeurs>("enregistre"); // RE1 to RE5, then reussi

    const Cases qcm{1, 0, 1, 0, 0};
    QTest::newRow("QCM: cases 1 et 3") << true << qcm << Cases{1, 0, 1, 0, 0} << Combos{} << Valeurs{1, 0, 1, 0, 0, 1};
    QTest::newRow("QCM: case 1 seule") << true << qcm << Cases{1, 0, 0, 0, 0} << Combos{} << Valeurs{1, 0, 0, 0, 0, 0};
    QTest::newRow("QCM: cases 1 2 3") << true << qcm << Cases{1, 1, 1, 0, 0} << Combos{} << Valeurs{1, 1, 1, 0, 0, 0};
    QTest::newRow("QCM: rien coché") << true << qcm << Cases{} << Combos{} << Valeurs{0, 0, 0, 0, 0, 0};
    QTest::newRow("QCM: les listes sont ignorées")
        << true << qcm << Cases{1, 0, 1, 0, 0} << Combos{"3", "3", "3", "3", "3"} << Valeurs{1, 0, 1, 0, 0, 1};

    const Cases ordre{2, 3, 1, 0, 0};
    QTest::newRow("ordre: rangs 2 3 1") << false << ordre << Cases{} << Combos{"2", "3", "1", "", ""}
                                        << Valeurs{2, 3, 1, 0, 0, 1};
    QTest::newRow("ordre: troisième liste vide")
        << false << ordre << Cases{} << Combos{"2", "3", "", "", ""} << Valeurs{2, 3, 0, 0, 0, 0};
    QTest::newRow("ordre: textes tapés à la main")
        << false << ordre << Cases{1, 1, 1, 1, 1} << Combos{" 2", "3abc", "1\t", "", "x"} << Valeurs{2, 3, 1, 0, 0, 1};
    QTest::newRow("ordre: question sautée sans rien toucher")
        << false << ordre << Cases{} << Combos{} << Valeurs{0, 0, 0, 0, 0, 0};
    QTest::newRow("ordre de quatre: 2 4 1 3")
        << false << Cases{2, 4, 1, 3, 0} << Cases{} << Combos{"2", "4", "1", "3", ""} << Valeurs{2, 4, 1, 3, 0, 1};
}

void TstCorrection::enregistrer() {
    QFETCH(bool, qcm);
    QFETCH(Cases, attendues);
    QFETCH(Cases, cases);
    QFETCH(Combos, combos);
    QFETCH(Valeurs, enregistre);

    Fichier f;
    ouvrir(f, qcm, attendues);
    QCOMPARE(enregistrerReponse(f.rs, qcm, cases, combos), enregistre.last() == 1);
    QCOMPARE(reponsesEnregistrees(f.base.path()), enregistre);
}

void TstCorrection::attenduVideNeComptePas() {
    // A slot with no expected value cannot be compared, so it is not a difference.
    QVERIFY(estJuste({1, 0, QVariant(), 0, 0}, {1, 0, 1, 0, 0}));
    QVERIFY(!estJuste({1, 0, QVariant(), 0, 0}, {1, 1, 1, 0, 0}));

    Fichier f;
    ouvrir(f, true, {1, 0, 1, 0, 0});
    f.rs.Edit();
    f.rs.SetField(champ::S1 + 4, QVariant());
    f.rs.Update();
    f.rs.setAbsolutePosition(0);
    QVERIFY(enregistrerReponse(f.rs, true, {1, 0, 1, 0, 1}, {}));
}

void TstCorrection::reponseChangeeRecalculeLaNote() {
    Fichier f;
    ouvrir(f, true, {1, 0, 1, 0, 0});
    QVERIFY(enregistrerReponse(f.rs, true, {1, 0, 1, 0, 0}, {}));
    QVERIFY(!enregistrerReponse(f.rs, true, {1, 0, 0, 0, 0}, {}));
    QCOMPARE(reponsesEnregistrees(f.base.path()), (Valeurs{1, 0, 0, 0, 0, 0}));
    QVERIFY(enregistrerReponse(f.rs, true, {1, 0, 1, 0, 0}, {}));
    QCOMPARE(reponsesEnregistrees(f.base.path()), (Valeurs{1, 0, 1, 0, 0, 1}));
}

void TstCorrection::rangHorsLimitesLaisseLaQuestionIntacte() {
    // A rank typed too large must not end the session: the error reaches the form, the record keeps its last
    // saved answer and the next recording works.
    Fichier f;
    ouvrir(f, false, {2, 3, 1, 0, 0});
    QVERIFY(enregistrerReponse(f.rs, false, {}, {"2", "3", "1", "", ""}));
    try {
        enregistrerReponse(f.rs, false, {}, {"2", "40000", "1", "", ""});
        QFAIL("an out-of-range rank was recorded");
    } catch (const Error& e) {
        QCOMPARE(e.number(), errc::Overflow);
    }
    QCOMPARE(reponsesEnregistrees(f.base.path()), (Valeurs{2, 3, 1, 0, 0, 1}));
    QVERIFY(!enregistrerReponse(f.rs, false, {}, {"2", "1", "3", "", ""}));
    QCOMPARE(reponsesEnregistrees(f.base.path()), (Valeurs{2, 1, 3, 0, 0, 0}));
}

QTEST_GUILESS_MAIN(TstCorrection)
#include "tst_correction.moc"
