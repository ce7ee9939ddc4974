#include "session/ordre.h"
#include "support/doubles/scriptedservices.h"

#include <QTest>
#include <algorithm>
#include <numeric>

using namespace kelvane;
using namespace kelvane::session;

// QList for the columns and the comparisons, so that a failure prints both orders.
using Ordre = QList<int>;

namespace {
Ordre liste(const std::vector<int>& ordre) {
    return Ordre(ordre.begin(), ordre.end());
}
std::vector<int> vecteur(const Ordre& ordre) {
    return std::vector<int>(ordre.begin(), ordre.end());
}
} // namespace

class TstOrdre : public QObject {
    Q_OBJECT

private slots:
    void tirage_data();
    void tirage();
    void tirageEstUnePermutation_data();
    void tirageEstUnePermutation();
    void tirageEnSimplePrecision();

    void ordreParNumero_data();
    void ordreParNumero();
    void ordreParNumeroCommeLaRegleQuadratique();
};

void TstOrdre::tirage_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("seconde");
    QTest::addColumn<QList<float>>("tirages");
    QTest::addColumn<Ordre>("attendu");

    QTest::newRow("exemple: seconde 30, tirages 0.9 0.2 0.7")
        << 3 << 30 << QList<float>{0.9F, 0.2F, 0.7F} << Ordre{1, 0, 2};
    QTest::newRow("seconde 0: ordre stocké quels que soient les tirages")
        << 5 << 0 << QList<float>{0.99F, 0.7F, 0.5F, 0.3F, 0.9F} << Ordre{0, 1, 2, 3, 4};
    QTest::newRow("seconde 45: le tirage ferme le trou laissé dans la réserve")
        << 4 << 45 << QList<float>{0.5F, 0.99F, 0.0F, 0.3F} << Ordre{1, 3, 0, 2};
    QTest::newRow("une seule question, fin de minute") << 1 << 59 << QList<float>{0.99F} << Ordre{0};
    QTest::newRow("aucune question") << 0 << 30 << QList<float>{} << Ordre{};
}

void TstOrdre::tirage() {
    QFETCH(int, n);
    QFETCH(int, seconde);
    QFETCH(QList<float>, tirages);
    QFETCH(Ordre, attendu);

    doubles::ScriptedRandom aleatoire;
    aleatoire.values.assign(tirages.begin(), tirages.end());
    QCOMPARE(liste(tirerOrdre(n, facteurSecondes(seconde), aleatoire)), attendu);
    QVERIFY2(aleatoire.values.empty(), "one number of the generator per question, none thrown back");
}

void TstOrdre::tirageEstUnePermutation_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("seconde");
    QTest::addColumn<float>("tirageFixe"); // < 0: the program's own generator

    for (int n : {1, 2, 7, 499, 500, 501, 1001, 2000}) {
        for (int seconde : {0, 1, 30, 59}) {
            QTest::addRow("%d questions, seconde %d", n, seconde) << n << seconde << -1.0F;
        }
    }
    // r * m formed in single precision rounds up to m itself for the largest r: j must still stay in the pool.
    QTest::newRow("tirages juste sous 1, 2000 questions") << 2000 << 59 << 0.99999994F;
    QTest::newRow("tirages à 0, 2000 questions") << 2000 << 59 << 0.0F;
}

void TstOrdre::tirageEstUnePermutation() {
    QFETCH(int, n);
    QFETCH(int, seconde);
    QFETCH(float, tirageFixe);

    services::SystemRandom systeme;
    doubles::ScriptedRandom fixe;
    fixe.fallback = tirageFixe;
    services::RandomService& aleatoire = tirageFixe < 0 ? static_cast<services::RandomService&>(systeme) : fixe;

    Ordre ordre = liste(tirerOrdre(n, facteurSecondes(seconde), aleatoire));
    QCOMPARE(ordre.size(), n);
    std::sort(ordre.begin(), ordre.end());
    Ordre tous(n);
    std::iota(tous.begin(), tous.end(), 0);
    QCOMPARE(ordre, tous);
}

void TstOrdre::tirageEnSimplePrecision() {
    // r * m must be formed in single precision: at second 2 with 36 questions and r = 0.833333313, the product is
    // 30 in single precision (j = 2) but 29.9999993 in double precision (j = 1).
    doubles::ScriptedRandom aleatoire;
    aleatoire.values = {0.833333313F};
    QCOMPARE(tirerOrdre(36, facteurSecondes(2), aleatoire).front(), 1);

    // A factor that no clock gives would let a draw be thrown back for ever; it falls back to the stored order.
    doubles::ScriptedRandom toujoursHaut;
    toujoursHaut.fallback = 0.99F;
    QCOMPARE(liste(tirerOrdre(3, 1.5, toujoursHaut)), (Ordre{0, 1, 2}));
    QCOMPARE(liste(tirerOrdre(3, -2.0, toujoursHaut)), (Ordre{0, 1, 2}));
}

void TstOrdre::ordreParNumero_data() {
    QTest::addColumn<QVariantList>("numeros"); // in stored order
    QTest::addColumn<Ordre>("avant");
    QTest::addColumn<Ordre>("attendu");

    QTest::newRow("numéros 3 1 2") << QVariantList{3, 1, 2} << Ordre{} << Ordre{1, 2, 0};
    QTest::newRow("numéros 1 2 2, formulaire neuf: le dernier 2 gagne, le 3 manquant montre la première")
        << QVariantList{1, 2, 2} << Ordre{} << Ordre{0, 2, 0};
    QTest::newRow("numéros 1 2 2 après une session plus longue: la place sans numéro garde sa valeur")
        << QVariantList{1, 2, 2} << Ordre{7, 7, 7, 9} << Ordre{0, 2, 7, 9};
    QTest::newRow("numéro au-delà du nombre de questions: jamais placé")
        << QVariantList{1, 5, 2} << Ordre{4, 4, 4} << Ordre{0, 2, 4};
    QTest::newRow("numéros 0 et négatif: jamais placés") << QVariantList{0, -1, 1} << Ordre{} << Ordre{2, 0, 0};
    QTest::newRow("ordre plus long que la session: jamais raccourci")
        << QVariantList{2, 1} << Ordre{5, 5, 5} << Ordre{1, 0, 5};
    QTest::newRow("numéro nul, non entier ou pas un nombre: jamais placé")
        << QVariantList{QVariant(), 2.5, "x", 1, "2"} << Ordre{} << Ordre{3, 4, 0, 0, 0};
}

void TstOrdre::ordreParNumero() {
    QFETCH(QVariantList, numeros);
    QFETCH(Ordre, avant);
    QFETCH(Ordre, attendu);

    const std::vector<QVariant> valeurs(numeros.begin(), numeros.end());
    QCOMPARE(liste(session::ordreParNumero(valeurs, static_cast<int>(numeros.size()), vecteur(avant))), attendu);
}

void TstOrdre::ordreParNumeroCommeLaRegleQuadratique() {
    // 2000 questions with doubles, gaps and numbers out of range: the single walk must leave exactly what walking
    // the whole table once per number would.
    const int n = 2000;
    std::vector<QVariant> numeros;
    for (int i = 0; i < n; ++i) {
        numeros.emplace_back((i * 7919 + 13) % (n + 40) - 10);
    }
    Ordre attendu(n, 3);
    for (int i = 1; i <= n; ++i) {
        for (int pos = 0; pos < n; ++pos) {
            if (numeros[static_cast<std::size_t>(pos)].toInt() == i) {
                attendu[i - 1] = pos;
            }
        }
    }
    QCOMPARE(liste(session::ordreParNumero(numeros, n, std::vector<int>(n, 3))), attendu);
}

QTEST_GUILESS_MAIN(TstOrdre)
#include "tst_ordre.moc"
