#include "desktop/printerqt.h"
#include "platform/error.h"
#include "results/impression.h"
#include "results/rapport.h"
#include "support/doubles/scriptedservices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvane;
using namespace kelvane::doubles;
using namespace kelvane::services;

namespace {

const QDate Aujourdhui(2001, 12, 6);
const QString AucuneImprimante =
    QStringLiteral("Aucune imprimante n'est installée: le rapport a été enregistré dans le fichier ");

QString sortieDe(const QString& programme, const QStringList& arguments) {
    QProcess p;
    p.start(programme, arguments);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of a PDF as pdftotext lays it out, pages separated by form feeds.
QString texteDuPdf(const QString& pdf) {
    return sortieDe(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
}

int pagesDuPdf(const QString& pdf) {
    const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)$"), QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = pages.match(sortieDe(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QByteArray contenu(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString simplifie(const QString& ligne) {
    return ligne.simplified();
}

// Jean Dupont's report of an evaluation of B1V, its questions in stored order, and the folder of its results file.
struct Essai {
    QTemporaryDir dossier;
    QString chemin = dossier.filePath(QStringLiteral("JDupont-B1V-Ex-061201.mdb"));
    results::Rapport rapport;

    Essai(const QList<results::Rapport::Ligne>& questions, int tolerance) {
        rapport = {QStringLiteral("Jean"),
                   QStringLiteral("Dupont"),
                   QStringLiteral("1ELEC"),
                   QStringLiteral("B1V"),
                   Aujourdhui,
                   0,
                   static_cast<int>(questions.size()),
                   tolerance,
                   questions};
        for (const results::Rapport::Ligne& q : questions) {
            rapport.nbBonnes += q.reussi ? 1 : 0;
        }
    }
};

QList<results::Rapport::Ligne> questions(int total, int justes) {
    QList<results::Rapport::Ligne> out;
    for (int i = 0; i < total; ++i) {
        out.append({QStringLiteral("Question %1").arg(i + 1), i < justes});
    }
    return out;
}

} // namespace

class TstImpressionPdf : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void rapportEnPdf();
    void pagesAutomatiques();
    void sansImprimanteParDefaut();
    void echecs_data();
    void echecs();

private:
    QString dossierDepart_;
};

void TstImpressionPdf::initTestCase() {
    dossierDepart_ = QDir::currentPath();
}

void TstImpressionPdf::cleanup() {
    QDir::setCurrent(dossierDepart_);
}

void TstImpressionPdf::rapportEnPdf() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        QSKIP("pdftotext n'est pas installé");
    }
    const QString longue = QStringLiteral("Quelle distance minimale faut-il respecter au voisinage d'une pièce nue "
                                          "sous tension en basse tension lors d'une intervention ?");
    QVERIFY(longue.size() > 100);
    const QString reste = QStringLiteral("consignation-").repeated(15);
    Essai r({{QStringLiteral("Question 1"), true},
             {QStringLiteral("Une question un peu plus longue que la première"), false},
             {longue, true},
             {QStringLiteral("Une ") + reste, false}},
            50);
    const QString pdf = QDir(r.dossier.path()).filePath(QStringLiteral("rapport.pdf"));
    desktop::PdfPrinter printer(pdf);
    const PrintOutcome sortie = results::imprimerRapport(printer, r.rapport);
    QVERIFY(sortie.toPdf);
    QCOMPARE(QDir::fromNativeSeparators(sortie.path), pdf);

    const QStringList lignes = texteDuPdf(pdf).split(QLatin1Char('\n'));
    QStringList simples;
    std::transform(lignes.begin(), lignes.end(), std::back_inserter(simples), simplifie);
    simples.removeAll(QString());
    QCOMPARE(simples.mid(0, 4), (QStringList{"Jean DUPONT - 1ELEC - Habilitation: B1V - Le 06/12/01",
                                             "Vous avez 2 bonnes réponses sur 4 Questions soit 50 %",
                                             "Vous êtes Habilité(e)", "Question 1 Oui"}));
    QCOMPARE(simples.at(4), QStringLiteral("Une question un peu plus longue que la première Non"));
    const qsizetype coupure = results::coupureQuestion(longue);
    QCOMPARE(simples.at(5), longue.left(coupure).trimmed());
    QCOMPARE(simples.at(6), longue.mid(coupure) + QStringLiteral(" Oui"));
    // A rest too wide for the page goes on at the left margin rather than off the paper.
    QCOMPARE(simples.at(7), QStringLiteral("Une"));
    QCOMPARE(simples.size(), 10);
    QCOMPARE(simples.at(8) + simples.at(9), reste + QStringLiteral(" Non"));
    QFile::remove(QCoreApplication::applicationDirPath() + QStringLiteral("/rapport-court.pdf"));
    QFile::copy(pdf, QCoreApplication::applicationDirPath() + QStringLiteral("/rapport-court.pdf"));

    // The marks stand in one column, the texts in another.
    QList<qsizetype> marques;
    QList<qsizetype> textes;
    for (const QString& l : lignes) {
        if (l.endsWith(QStringLiteral("Oui")) || l.endsWith(QStringLiteral("Non"))) {
            marques << l.size() - 3;
        }
        if (l.contains(QStringLiteral("Question 1")) || l.contains(QStringLiteral("Vous "))) {
            textes << l.indexOf(QRegularExpression(QStringLiteral("\\S")));
        }
    }
    QCOMPARE(marques.size(), 4);
    QCOMPARE(marques.count(marques.first()), 4);
    QCOMPARE(textes.count(textes.first()), 3);
}

void TstImpressionPdf::pagesAutomatiques() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()) {
        QSKIP("pdftotext ou pdfinfo n'est pas installé");
    }
    Essai r(questions(300, 150), 50);
    const QString pdf = QDir(r.dossier.path()).filePath(QStringLiteral("rapport.pdf"));
    desktop::PdfPrinter printer(pdf);
    results::imprimerRapport(printer, r.rapport);
    // Kept beside the test to be looked at.
    QFile::remove(QCoreApplication::applicationDirPath() + QStringLiteral("/rapport-300.pdf"));
    QFile::copy(pdf, QCoreApplication::applicationDirPath() + QStringLiteral("/rapport-300.pdf"));

    const QString texte = texteDuPdf(pdf);
    const QStringList pages = texte.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    // About 80 lines of Arial 8 fit between the margins of an A4 page: 305 lines take four pages.
    QCOMPARE(pagesDuPdf(pdf), pages.size());
    QVERIFY2(pages.size() >= 4 && pages.size() <= 6, qPrintable(QString::number(pages.size())));
    // Every question once, in order, with its mark on its own line.
    const QRegularExpression question(QStringLiteral("^\\s*Question (\\d+)\\s+(Oui|Non)$"),
                                      QRegularExpression::MultilineOption);
    int attendue = 1;
    for (auto it = question.globalMatch(texte); it.hasNext(); ++attendue) {
        const QRegularExpressionMatch m = it.next();
        QCOMPARE(m.captured(1).toInt(), attendue);
        QCOMPARE(m.captured(2), attendue <= 150 ? QStringLiteral("Oui") : QStringLiteral("Non"));
    }
    QCOMPARE(attendue, 301);
    // Full pages hold the same count; the first gives room to the header, the last holds what is left.
    const auto lignesDe = [](const QString& page) { return page.count(QStringLiteral("Question ")); };
    const qsizetype pleine = lignesDe(pages.at(1));
    QVERIFY(lignesDe(pages.first()) < pleine);
    for (const QString& page : pages.mid(1, pages.size() - 2)) {
        QCOMPARE(lignesDe(page), pleine);
    }
    QVERIFY(lignesDe(pages.last()) <= pleine);
}

void TstImpressionPdf::sansImprimanteParDefaut() {
    ScriptedServices services;
    desktop::SystemPrinter printer([] { return QString(); });
    Services s = services.all();
    s.printer = &printer;

    Essai r(questions(4, 3), 70);
    QVERIFY(QDir::setCurrent(r.dossier.path()));
    QFile occupe(QStringLiteral("JDupont-B1V-Ex-061201.pdf"));
    QVERIFY(occupe.open(QIODevice::WriteOnly));
    occupe.write("déjà là");
    occupe.close();

    const QString premier = QDir::toNativeSeparators(QDir(r.dossier.path()).filePath("JDupont-B1V-Ex-061201-1.pdf"));
    const QString second = QDir::toNativeSeparators(QDir(r.dossier.path()).filePath("JDupont-B1V-Ex-061201-2.pdf"));
    services.messages.expectMessage(AucuneImprimante + premier);
    services.messages.expectMessage(AucuneImprimante + second);
    QVERIFY(results::imprimerResultats(s, r.rapport, r.chemin));
    const QByteArray imprime = contenu(premier);
    QVERIFY(imprime.startsWith("%PDF"));
    QVERIFY(results::imprimerResultats(s, r.rapport, r.chemin));
    QVERIFY(services.messages.allAnswered());
    QCOMPARE(services.messages.last().title, QStringLiteral(" Avertissement"));

    QCOMPARE(contenu(QStringLiteral("JDupont-B1V-Ex-061201.pdf")), QByteArray("déjà là"));
    QCOMPARE(contenu(premier), imprime);
    QVERIFY(contenu(second).startsWith("%PDF"));
}

void TstImpressionPdf::echecs_data() {
    QTest::addColumn<QString>("imprimante"); // empty: a PDF in a folder that does not exist
    QTest::addColumn<int>("numero");
    QTest::addColumn<QString>("texte");

    QTest::newRow("dossier absent") << QString() << int(errc::PathFileAccess)
                                    << QStringLiteral("Impossible d'écrire le fichier %1");
    QTest::newRow("imprimante inconnue") << QStringLiteral("Kelvane-imprimante-absente") << ErreurImprimante
                                         << QStringLiteral("L'imprimante « Kelvane-imprimante-absente » n'est pas "
                                                           "installée");
}

void TstImpressionPdf::echecs() {
    QFETCH(QString, imprimante);
    QFETCH(int, numero);
    QFETCH(QString, texte);

    QTemporaryDir dossier;
    const QString pdf = QDir::toNativeSeparators(dossier.filePath(QStringLiteral("absent/rapport.pdf")));
    std::unique_ptr<PrinterService> printer;
    if (imprimante.isEmpty()) {
        printer = std::make_unique<desktop::PdfPrinter>(pdf);
        texte = texte.arg(pdf);
        for (int i = 0; i < 2; ++i) {
            QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        }
    } else {
        printer = std::make_unique<desktop::QtPrinter>(imprimante);
    }
    printer->setFontName(QStringLiteral("Arial"));
    try {
        printer->printLine({"rien"});
        QFAIL("l'impression aurait dû échouer");
    } catch (const kelvane::Error& e) {
        QCOMPARE(e.number(), numero);
        QCOMPARE(e.text(), texte);
    }
    // Nothing is left begun: the next attempt fails the same way, and dropping it is harmless.
    QVERIFY_THROWS_EXCEPTION(kelvane::Error, printer->endDoc());
    printer->abortDoc();
    QVERIFY(!QFileInfo::exists(pdf));
}

QTEST_MAIN(TstImpressionPdf)
#include "tst_impressionpdf.moc"
