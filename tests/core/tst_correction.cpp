#include "data/correction.h"
#include "platform/error.h"

#include <QTest>
#include <limits>

using namespace kelvane;
using namespace kelvane::data;

using Attendues = std::array<QVariant, 5>;
using Reponses = std::array<std::int16_t, 5>;
Q_DECLARE_METATYPE(Attendues)
Q_DECLARE_METATYPE(Reponses)

class TstCorrection : public QObject {
    Q_OBJECT

private slots:
    void valeurNumerique_data();
    void valeurNumerique();
    void valeurCombo_data();
    void valeurCombo();
    void estJuste_data();
    void estJuste();
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
    QCOMPARE(data::valeurNumerique(texte), attendu);
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
            data::valeurCombo(texte);
            QFAIL("the value was accepted");
        } catch (const Error& e) {
            QCOMPARE(e.number(), errc::Overflow);
            QVERIFY2(e.text().contains(texte), qPrintable(e.text()));
        }
    } else {
        QCOMPARE(int(data::valeurCombo(texte)), attendu);
    }
}

void TstCorrection::estJuste_data() {
    QTest::addColumn<Attendues>("attendues");
    QTest::addColumn<Reponses>("reponses");
    QTest::addColumn<bool>("juste");

    const Attendues qcm{1, 0, 1, 0, 0};
    QTest::newRow("QCM: cases 1 et 3") << qcm << Reponses{1, 0, 1, 0, 0} << true;
    QTest::newRow("QCM: case 1 seule") << qcm << Reponses{1, 0, 0, 0, 0} << false;
    QTest::newRow("QCM: une case de trop") << qcm << Reponses{1, 1, 1, 0, 0} << false;
    QTest::newRow("QCM: rien coché") << qcm << Reponses{} << false;
    const Attendues ordre{2, 3, 1, 0, 0};
    QTest::newRow("ordre: rangs 2 3 1") << ordre << Reponses{2, 3, 1, 0, 0} << true;
    QTest::newRow("ordre: troisième rang vide") << ordre << Reponses{2, 3, 0, 0, 0} << false;
    QTest::newRow("ordre de quatre: 2 4 1 3") << Attendues{2, 4, 1, 3, 0} << Reponses{2, 4, 1, 3, 0} << true;
    // A slot with no expected value cannot be compared, so it is not a difference.
    QTest::newRow("attendu nul: pas une différence") << Attendues{1, 0, {}, 0, 0} << Reponses{1, 0, 1, 0, 0} << true;
    QTest::newRow("attendu nul, autre case fausse") << Attendues{1, 0, {}, 0, 0} << Reponses{1, 1, 1, 0, 0} << false;
    QTest::newRow("aucun attendu: toujours juste") << Attendues{} << Reponses{1, 2, 3, 4, 5} << true;
    QTest::newRow("attendu qui n'est pas un nombre: jamais juste")
        << Attendues{QStringLiteral("un"), 0, 0, 0, 0} << Reponses{1, 0, 0, 0, 0} << false;
    QTest::newRow("attendu décimal: comparé tel quel")
        << Attendues{1.5, 0, 0, 0, 0} << Reponses{2, 0, 0, 0, 0} << false;
}

void TstCorrection::estJuste() {
    QFETCH(Attendues, attendues);
    QFETCH(Reponses, reponses);
    QFETCH(bool, juste);
    QCOMPARE(data::estJuste(attendues, reponses), juste);
}

QTEST_GUILESS_MAIN(TstCorrection)
#include "tst_correction.moc"
