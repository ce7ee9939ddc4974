#include "platform/services/printerrecording.h"
#include "resultatsessai.h"
#include "results/impression.h"
#include "results/rapport.h"
#include "support/doubles/scriptedservices.h"

#include <QTest>

using namespace kelvane;
using namespace kelvane::doubles;
using namespace kelvane::services;

using Pieces = QList<PrintPiece>;
using Questions = QList<essai::Question>;
Q_DECLARE_METATYPE(Pieces)
Q_DECLARE_METATYPE(Questions)

namespace {

const QString Entete = QStringLiteral(" Jean DUPONT - 1ELEC - Habilitation: B1V - Le 06/12/01");

QString blancs(qsizetype n) {
    return QString(n, QLatin1Char(' '));
}

// A question line as the report lays it out: the text from column 5, the mark (if any) at column 110.
QString ligneQuestion(const QString& texte, const QString& marque = {}) {
    QString ligne = blancs(4) + texte;
    if (!marque.isEmpty()) {
        ligne += blancs(109 - ligne.size()) + marque;
    }
    return ligne;
}

QStringList imprimer(RecordingPrinter& printer, const results::Rapport& r) {
    results::imprimerRapport(printer, r);
    return printer.texts();
}

const QString Fichier = QStringLiteral("/dossier/JDupont-B1V-Ex-061201.mdb");

} // namespace

class TstRapport : public QObject {
    Q_OBJECT

private slots:
    void lignesDUnePiece_data();
    void lignesDUnePiece();
    void margeDroite_data();
    void margeDroite();
    void pagesSuccessives();

    void enteteEtVerdict_data();
    void enteteEtVerdict();
    void policesDuRapport();
    void coupureDesQuestions_data();
    void coupureDesQuestions();
    void lireRapportSurValeurs();

    void boutonImprimer();
    void boutonImprimerSansImprimante();
    void boutonImprimerImprimanteEnPanne();
};

void TstRapport::lignesDUnePiece_data() {
    QTest::addColumn<Pieces>("pieces");
    QTest::addColumn<QStringList>("lignes");
    QTest::addColumn<QList<int>>("colonnes"); // where the pieces of the first line start

    QTest::newRow("ligne vide") << Pieces{} << QStringList{""} << QList<int>{};
    QTest::newRow("tab vers la droite") << Pieces{"ab", Tab(5), "c"} << QStringList{"ab  c"} << QList<int>{1, 5};
    QTest::newRow("tab sur la colonne atteinte")
        << Pieces{"abcd", Tab(5), "e"} << QStringList{"abcde"} << QList<int>{1, 5};
    QTest::newRow("tab dépassé: ligne suivante")
        << Pieces{"abcdef", Tab(3), "x"} << QStringList{"abcdef", "  x"} << QList<int>{1};
    QTest::newRow("deux tabs dépassés") << Pieces{Tab(4), "abc", Tab(2), "d", Tab(1), "e"}
                                        << QStringList{"   abc", " d", "e"} << QList<int>{4};
    QTest::newRow("tab 0 vaut la colonne 1") << Pieces{Tab(0), "a"} << QStringList{"a"} << QList<int>{1};
    QTest::newRow("nombres: signe ou blanc devant, blanc derrière")
        << Pieces{"n", NumberPiece(12), "|", NumberPiece(-3), "|", NumberPiece(0)} << QStringList{"n 12 |-3 | 0 "}
        << QList<int>{1, 2, 6, 7, 10, 11};
    QTest::newRow("texte vide: aucune place") << Pieces{"", "a", QString()} << QStringList{"a"} << QList<int>{1};
}

void TstRapport::lignesDUnePiece() {
    QFETCH(Pieces, pieces);
    QFETCH(QStringList, lignes);
    QFETCH(QList<int>, colonnes);

    RecordingPrinter printer;
    printer.printLine(pieces);
    QCOMPARE(printer.texts(), lignes);
    QCOMPARE(printer.lines.first().columns, colonnes);
}

void TstRapport::margeDroite_data() {
    QTest::addColumn<Pieces>("pieces");
    QTest::addColumn<QStringList>("lignes");

    // Ten columns between the margins.
    QTest::newRow("coupé après le dernier blanc qui tient")
        << Pieces{"abc def ghij"} << QStringList{"abc def ", "ghij"};
    QTest::newRow("sans blanc: coupé à la marge") << Pieces{"abcdefghijklm"} << QStringList{"abcdefghij", "klm"};
    QTest::newRow("exactement jusqu'à la marge") << Pieces{"abcdefghij"} << QStringList{"abcdefghij"};
    QTest::newRow("le tab suit le reste") << Pieces{"abcdefghijkl", Tab(5), "z"} << QStringList{"abcdefghij", "kl  z"};
    QTest::newRow("texte qui commence à la marge droite") << Pieces{Tab(11), "ab"} << QStringList{"", "ab"};
}

void TstRapport::margeDroite() {
    QFETCH(Pieces, pieces);
    QFETCH(QStringList, lignes);

    LineMetrics m;
    m.columnWidth = 1.0;
    m.textWidth = [](const QString& t) { return static_cast<double>(t.size()); };
    m.rightLimit = 10.0;
    QStringList rendu;
    for (const PlacedLine& line : layoutLine(pieces, m)) {
        QString texte;
        for (const PlacedRun& run : line) {
            texte = texte.leftJustified(run.column - 1, QLatin1Char(' ')) + run.text;
        }
        rendu << texte;
    }
    QCOMPARE(rendu, lignes);
}

void TstRapport::pagesSuccessives() {
    RecordingPrinter printer(4);
    for (int i = 0; i < 9; ++i) {
        // The second piece passes its tab: every printLine takes two lines of the page.
        printer.printLine({QStringLiteral("ligne %1").arg(i), Tab(2), "x"});
    }
    printer.endDoc();
    QCOMPARE(printer.lines.size(), 18);
    for (int i = 0; i < printer.lines.size(); ++i) {
        QCOMPARE(printer.lines[i].page, i / 4 + 1);
    }
    // A new document starts again on page 1.
    printer.printLine({"suite"});
    QCOMPARE(printer.lines.last().page, 1);
}

void TstRapport::enteteEtVerdict_data() {
    QTest::addColumn<Questions>("questions");
    QTest::addColumn<int>("tolerance");
    QTest::addColumn<QString>("compte");
    QTest::addColumn<QString>("verdict");

    QTest::newRow("12 sur 20") << essai::questions(20, 12) << 60
                               << "Vous avez  12 bonnes réponses sur  20  Questions soit  60 %"
                               << "Vous êtes Habilité(e)";
    QTest::newRow("2 sur 3, tolérance 66: 66.67 passe")
        << essai::questions(3, 2) << 66 << "Vous avez  2 bonnes réponses sur  3  Questions soit  66 %"
        << "Vous êtes Habilité(e)";
    QTest::newRow("2 sur 3, tolérance 67")
        << essai::questions(3, 2) << 67 << "Vous avez  2 bonnes réponses sur  3  Questions soit  66 %"
        << "Vous n'êtes pas Habilité(e)";
    QTest::newRow("tolérance 0, rien de juste")
        << essai::questions(2, 0) << 0 << "Vous avez  0 bonnes réponses sur  2  Questions soit  0 %"
        << "Vous êtes Habilité(e)";
    QTest::newRow("aucune question") << Questions{} << 50 << "Vous avez  0 bonnes réponses sur  0  Questions soit  0 %"
                                     << "Vous n'êtes pas Habilité(e)";
    QTest::newRow("400 sur 400: pas de dépassement")
        << essai::questions(400, 400) << 100 << "Vous avez  400 bonnes réponses sur  400  Questions soit  100 %"
        << "Vous êtes Habilité(e)";
}

void TstRapport::enteteEtVerdict() {
    QFETCH(Questions, questions);
    QFETCH(int, tolerance);
    QFETCH(QString, compte);
    QFETCH(QString, verdict);

    RecordingPrinter printer;
    const QStringList lignes = imprimer(printer, essai::rapport(questions, tolerance));
    QCOMPARE(lignes.size(), 5 + questions.size());
    QCOMPARE(lignes.mid(0, 5), (QStringList{Entete, "", blancs(4) + compte, blancs(4) + verdict, ""}));
    QCOMPARE(printer.documentsEnded, 1);
}

void TstRapport::policesDuRapport() {
    essai::Candidat c;
    c.nom = QStringLiteral("de la Fontaine-Éluard");
    c.prenom = QString();
    c.classe = QString();
    RecordingPrinter printer;
    const QStringList lignes = imprimer(printer, essai::rapport(essai::questions(2, 1), 70, c));
    // Empty fields print as nothing; the surname in capitals, accents included.
    QCOMPARE(lignes.first(), QStringLiteral("  DE LA FONTAINE-ÉLUARD -  - Habilitation: B1V - Le 06/12/01"));
    for (int i = 0; i < printer.lines.size(); ++i) {
        const RecordedLine& l = printer.lines[i];
        QCOMPARE(l.font, QStringLiteral("Arial"));
        QCOMPARE(l.size, i < 2 ? 10.0 : 8.0);
        QCOMPARE(l.bold, i < 2);
    }
}

void TstRapport::coupureDesQuestions_data() {
    QTest::addColumn<QString>("texte");
    QTest::addColumn<bool>("reussi");
    QTest::addColumn<QStringList>("lignes");
    QTest::addColumn<QList<QList<int>>>("colonnes");

    const QString a99 = QString(99, QLatin1Char('a'));
    const QString cent = a99 + QLatin1Char('z');
    QTest::newRow("100 caractères: une ligne")
        << cent << true << QStringList{ligneQuestion(cent, "Oui")} << QList<QList<int>>{{5, 110}};

    const QString mots = QString(50, QLatin1Char('a')) + QLatin1Char(' ') + QString(50, QLatin1Char('b'));
    QTest::newRow("101 caractères: coupé au dernier blanc")
        << mots << false
        << QStringList{ligneQuestion(mots.left(51)), ligneQuestion(QString(50, QLatin1Char('b')), "Non")}
        << QList<QList<int>>{{5}, {5, 110}};

    const QString blanc100 = a99 + QStringLiteral(" b");
    QTest::newRow("101 caractères, 100e blanc")
        << blanc100 << true << QStringList{ligneQuestion(a99 + " "), ligneQuestion("b", "Oui")}
        << QList<QList<int>>{{5}, {5, 110}};

    const QString plusieurs = QStringLiteral("Le B1V peut-il ") + QString(80, QLatin1Char('c')) +
                              QStringLiteral(" d ") + QString(20, QLatin1Char('e'));
    QTest::newRow("plusieurs blancs: le dernier dans les 100")
        << plusieurs << true << QStringList{ligneQuestion(plusieurs.left(98)), ligneQuestion(plusieurs.mid(98), "Oui")}
        << QList<QList<int>>{{5}, {5, 110}};

    const QString long200 = QStringLiteral("Une ") + QString(196, QLatin1Char('f'));
    QTest::newRow("200 caractères, blanc au début: la marque passe à la ligne")
        << long200 << false
        << QStringList{ligneQuestion("Une "), ligneQuestion(QString(196, QLatin1Char('f'))), ligneQuestion("", "Non")}
        << QList<QList<int>>{{5}, {5}, {110}};

    const QString reste105 = QString(94, QLatin1Char('g')) + QLatin1Char(' ') + QString(105, QLatin1Char('h'));
    QTest::newRow("reste qui finit juste avant la colonne 110")
        << reste105 << true
        << QStringList{ligneQuestion(reste105.left(95)), blancs(4) + QString(105, QLatin1Char('h')) + "Oui"}
        << QList<QList<int>>{{5}, {5, 110}};

    const QString sansBlanc = QString(150, QLatin1Char('x'));
    QTest::newRow("sans blanc dans les 100: coupé au 100e")
        << sansBlanc << false
        << QStringList{ligneQuestion(sansBlanc.left(100)), ligneQuestion(QString(50, QLatin1Char('x')), "Non")}
        << QList<QList<int>>{{5}, {5, 110}};

    const QString blancApres = QString(100, QLatin1Char('y')) + QStringLiteral(" fin");
    QTest::newRow("blanc au 101e seulement: coupé au 100e")
        << blancApres << true << QStringList{ligneQuestion(blancApres.left(100)), ligneQuestion(" fin", "Oui")}
        << QList<QList<int>>{{5}, {5, 110}};

    QTest::newRow("question vide") << QString() << false << QStringList{ligneQuestion("", "Non")}
                                   << QList<QList<int>>{{110}};
}

void TstRapport::coupureDesQuestions() {
    QFETCH(QString, texte);
    QFETCH(bool, reussi);
    QFETCH(QStringList, lignes);
    QFETCH(QList<QList<int>>, colonnes);

    RecordingPrinter printer;
    const QStringList imprime = imprimer(printer, essai::rapport({essai::Question{texte, reussi}})).mid(5);
    QCOMPARE(imprime, lignes);
    QList<QList<int>> vues;
    for (qsizetype i = 5; i < printer.lines.size(); ++i) {
        vues << printer.lines[i].columns;
    }
    QCOMPARE(vues, colonnes);
}

void TstRapport::lireRapportSurValeurs() {
    // Every question in the order given (the file's), the count and pass mark as the results gave them, the day
    // of printing; a report printed twice reads the same.
    const results::Rapport r = essai::rapport(
        {{QStringLiteral("Première"), true}, {QStringLiteral("Deuxième"), false}, {QStringLiteral("Troisième"), true}},
        66);
    QCOMPARE((QStringList{r.prenom, r.nom, r.classe, r.nomTest}), (QStringList{"Jean", "Dupont", "1ELEC", "B1V"}));
    QCOMPARE(r.date, essai::Aujourdhui);
    QCOMPARE(r.nbBonnes, 2);
    QCOMPARE(r.nbQuestions, 3);
    QCOMPARE(r.tolerance, 66);
    RecordingPrinter printer;
    const QStringList premiere = imprimer(printer, r);
    QCOMPARE(premiere.mid(5), (QStringList{ligneQuestion("Première", "Oui"), ligneQuestion("Deuxième", "Non"),
                                           ligneQuestion("Troisième", "Oui")}));
    printer.clear();
    QCOMPARE(imprimer(printer, r), premiere);
}

void TstRapport::boutonImprimer() {
    ScriptedServices services;
    QVERIFY(results::imprimerResultats(services.all(), essai::rapport(essai::questions(3, 2), 66), Fichier));
    QCOMPARE(services.printer.documentName(), QStringLiteral("JDupont-B1V-Ex-061201.mdb"));
    QCOMPARE(services.printer.documentsEnded, 1);
    QCOMPARE(services.printer.texts().first(), Entete);
    QVERIFY(services.messages.shown().isEmpty()); // a printer took it: nothing to say
}

void TstRapport::boutonImprimerSansImprimante() {
    ScriptedServices services;
    Services s = services.all();
    s.printer = nullptr;
    services.messages.expectMessage({});
    QVERIFY(!results::imprimerResultats(s, essai::rapport(essai::questions(3, 2), 66), Fichier));
    QVERIFY(services.messages.allAnswered());
    QVERIFY2(services.messages.last().prompt.contains(QStringLiteral("Aucune imprimante")),
             qPrintable(services.messages.last().prompt));
}

void TstRapport::boutonImprimerImprimanteEnPanne() {
    ScriptedServices services;
    const results::Rapport r = essai::rapport(essai::questions(3, 2), 66);
    services.printer.failure = QStringLiteral("Imprimante hors ligne");
    services.messages.expectMessage({});
    QVERIFY(!results::imprimerResultats(services.all(), r, Fichier));
    QVERIFY(services.messages.allAnswered());
    QVERIFY2(services.messages.last().prompt.contains(QStringLiteral("Imprimante hors ligne")),
             qPrintable(services.messages.last().prompt));
    QVERIFY(!services.printer.inDocument());

    // The next click prints a whole report of its own, from its first page.
    services.printer.clear();
    QVERIFY(results::imprimerResultats(services.all(), r, Fichier));
    QCOMPARE(services.printer.lines.size(), 8);
    QCOMPARE(services.printer.documentsEnded, 1);
}

QTEST_GUILESS_MAIN(TstRapport)
#include "tst_rapport.moc"
