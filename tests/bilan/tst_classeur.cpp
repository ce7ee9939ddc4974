// What a teacher takes away from the class summary: the workbook read back from its zip (sheets, headers, cells,
// percent format, frozen header, filters), written over a file or refused without a half-written file, and the
// printed summary with its pictures.

#include "bilan/impressionbilan.h"
#include "classe.h"
#include "classeur/classeur.h"
#include "desktop/printerqt.h"
#include "exportations/formatsbilan.h"
#include "platform/services/printerrecording.h"
#include "support/erreurs.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvane;

namespace {

// One member of the zip, as unzip gives it.
QString membre(const QString& zip, const QString& nom) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, nom});
    unzip.waitForFinished();
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

QByteArray png() {
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray octets;
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    image.save(&tampon, "PNG");
    return octets;
}

// One session of a test of one question worded `texte`.
bilan::Classe classeDUneQuestion(const QString& texte) {
    bilan::Classe c;
    c.dossier = QStringLiteral("classe");
    bilan::EnonceQuestion q;
    q.numero = QStringLiteral("1");
    q.chapitre = 1;
    q.texte = texte;
    q.nbReponses = 2;
    q.qcm = true;
    q.attendues = {true, false, false, false, false};
    c.questionsParTest[QStringLiteral("B1V")] = {q};
    c.chapitresParTest[QStringLiteral("B1V")] = {{1, QStringLiteral("Généralités"), std::nullopt}};
    bilan::Passage& p = c.passages.emplace_back();
    p.nom = QStringLiteral("Martin");
    p.test = QStringLiteral("B1V");
    p.total = p.bonnes = p.repondues = 1;
    p.pourcentage = 100.0;
    p.questions = {{0, true, true, 1}};
    return c;
}

// The text of a PDF as pdftotext lays it out, pages separated by form feeds.
QString texteDuPdf(const QString& pdf) {
    QProcess texte;
    texte.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    texte.waitForFinished();
    return QString::fromUtf8(texte.readAllStandardOutput());
}

} // namespace

class TstClasseur : public QObject {
    Q_OBJECT

    QTemporaryDir dossier_;
    bilan::Classe classe_;

private slots:
    void initTestCase() {
        classe::creer(dossier_.path());
        classe_ = bilan::lireResultatsDuDossier(dossier_.path());
        QCOMPARE(classe_.passages.size(), std::size_t(4));
    }

    void classeurRelu() {
        if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty()) {
            QSKIP("unzip n'est pas installé (sous Wine, scripts/windows/essai.sh relit le classeur sous Linux)");
        }
        QTemporaryDir sortie;
        const QString chemin = sortie.filePath(QStringLiteral("classe.xlsx"));
        QFile ancien(chemin);
        QVERIFY(ancien.open(QIODevice::WriteOnly));
        ancien.write("ancien classeur");
        ancien.close();
        classeur::ecrireClasseur(chemin, classe_, bilan::tous(classe_));
        QCOMPARE(QDir(sortie.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"classe.xlsx"});

        const QString classeur = membre(chemin, QStringLiteral("xl/workbook.xml"));
        for (const char* feuille : {"Élèves", "Questions", "Niveaux et chapitres"}) {
            QVERIFY2(classeur.contains(QStringLiteral("name=\"%1\"").arg(QString::fromUtf8(feuille))),
                     qPrintable(classeur));
        }
        const QString textes = membre(chemin, QStringLiteral("xl/sharedStrings.xml"));
        for (const char* texte : {"Prénom", "Questions répondues", "Pourcentage", "Réponse 2 cochée", "Généralités",
                                  "Chloé", "Non réussi", "Question numéro 2 ?"}) {
            QVERIFY2(textes.contains(QString::fromUtf8(texte)), texte);
        }
        const QString eleves = membre(chemin, QStringLiteral("xl/worksheets/sheet1.xml"));
        QVERIFY(eleves.contains(QStringLiteral("state=\"frozen\"")));
        QVERIFY(eleves.contains(QStringLiteral("<autoFilter ref=\"A1:")));
        QVERIFY(eleves.contains(QStringLiteral("<v>0.5</v>")));   // Bruno's training, a share as a number
        QVERIFY(eleves.contains(QStringLiteral("<v>37231</v>"))); // 06/12/2001 as a date serial
        QVERIFY(eleves.contains(QStringLiteral("<cols>")));
        QVERIFY(membre(chemin, QStringLiteral("xl/styles.xml")).contains(QStringLiteral("formatCode=\"0.0%\"")));
        // The questions' sheet, hardest first: question 2 (50 %) comes before question 1 (75 %).
        const QString questions = membre(chemin, QStringLiteral("xl/worksheets/sheet2.xml"));
        QVERIFY(questions.indexOf(QStringLiteral("<v>0.5</v>")) < questions.indexOf(QStringLiteral("<v>0.75</v>")));
    }

    // The one table the class view and kelvane-outil both take their formats from: each writes its own kind of file
    // at the name given, nothing beside it, and is found by its extension whatever the case.
    void formatsDuBilan_data() {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QByteArray>("debut");
        QTest::newRow("classeur") << "xlsx" << QByteArray("PK");
        QTest::newRow("CSV") << "csv" << QByteArray("\xEF\xBB\xBFNom;");
        QTest::newRow("PDF") << "pdf" << QByteArray("%PDF-");
    }

    void formatsDuBilan() {
        QFETCH(QString, extension);
        QFETCH(QByteArray, debut);
        const exportations::FormatBilan* format = exportations::formatBilan(extension.toUpper());
        QVERIFY(format != nullptr);
        QCOMPARE(format->extension, extension);
        QVERIFY2(format->filtre.contains(QStringLiteral("*.") + extension), qPrintable(format->filtre));
        QTemporaryDir sortie;
        const QString chemin = sortie.filePath(QStringLiteral("classe.") + extension);
        format->ecrire(chemin, classe_, bilan::tous(classe_));
        QFile f(chemin);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.read(debut.size()), debut);
        QCOMPARE(QDir(sortie.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(chemin).fileName()});
    }

    void chaqueFormatEstEssaye() {
        QStringList extensions;
        for (const exportations::FormatBilan& format : exportations::formatsBilan()) {
            extensions << format.extension;
        }
        QCOMPARE(extensions, (QStringList{"xlsx", "csv", "pdf"}));
        QCOMPARE(exportations::formatBilan(QStringLiteral("odt")), nullptr);
    }

    void classeurImpossible() {
        QTemporaryDir sortie;
        KELVANE_EXPECT_ERROR(
            classeur::ecrireClasseur(sortie.filePath(QStringLiteral("absent/classe.xlsx")), classe_, {}),
            errc::PathFileAccess);
        QVERIFY(QDir(sortie.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    }

    void bilanImprime() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
            QSKIP("pdftotext n'est pas installé");
        }
        services::RecordingPrinter imprimante;
        int appels = 0;
        const bilan::Illustrations images = [&](const bilan::Classe&, const QString& test, const bilan::Selection&) {
            ++appels;
            return std::vector<bilan::Image>{{QStringLiteral("Répartition des résultats, %1").arg(test), png()}};
        };
        bilan::imprimerBilan(imprimante, classe_, bilan::tous(classe_), images);
        QCOMPARE(appels, 1);
        QCOMPARE(imprimante.documentsEnded, 1);
        const QStringList lignes = imprimante.texts();
        const auto indice = [&](const QString& debut) {
            for (qsizetype i = 0; i < lignes.size(); ++i) {
                if (lignes[i].trimmed().startsWith(debut)) {
                    return i;
                }
            }
            return qsizetype(-1);
        };
        QCOMPARE(lignes.first(), QStringLiteral("Bilan de la classe"));
        QVERIFY(lignes.contains(QStringLiteral("DURAND Bruno (1A)                B1V          Entrainement  "
                                               "06/12/01   3 sur 6 (6 rép.)   50 %     Non réussi")));
        QVERIFY(indice(QStringLiteral("2")) < indice(QStringLiteral("1 ")));        // hardest first
        QVERIFY(indice(QStringLiteral("Cochées : R1 : 3*   R2 : 2   R3 : 0")) > 0); // question 2
        QVERIFY(
            lignes.contains(QStringLiteral("Tous les chapitres                           66 %     58 %     -        "
                                           "62 %     -        62 %")));
        QVERIFY(indice(QStringLiteral("[Image : Répartition des résultats, B1V]")) > 0);

        // On paper (here a PDF), the picture is drawn rather than named.
        QTemporaryDir sortie;
        desktop::PdfPrinter pdf(sortie.filePath(QStringLiteral("bilan.pdf")));
        pdf.setDocumentName(QStringLiteral("Bilan"));
        const services::PrintOutcome fin = bilan::imprimerBilan(pdf, classe_, bilan::tous(classe_), images);
        QVERIFY(fin.toPdf);
        QProcess texte;
        texte.start(QStringLiteral("pdftotext"), {fin.path, QStringLiteral("-")});
        QVERIFY(texte.waitForFinished());
        const QString lu = QString::fromUtf8(texte.readAllStandardOutput());
        QVERIFY2(lu.contains(QStringLiteral("Bilan de la classe")) && lu.contains(QStringLiteral("Chloé")),
                 qPrintable(lu));
        QVERIFY(!lu.contains(QStringLiteral("[Image")));
        QProcess images2;
        images2.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), fin.path});
        QVERIFY(images2.waitForFinished());
        QVERIFY(QString::fromUtf8(images2.readAllStandardOutput()).contains(QStringLiteral("200   100")));
    }

    // A long wording goes on under itself in its column, whole, on the recording printer and on paper.
    void uneLongueQuestionPasseALaLigne() {
        const QString texte = QStringLiteral(
            "À partir de quelle intensité un courant alternatif peut-il empêcher de lâcher un conducteur tenu en main, "
            "lorsque la personne se trouve les pieds dans l'eau, dans un local humide, sans gants ni chaussures "
            "isolantes "
            "?");
        const bilan::Classe classe = classeDUneQuestion(texte);
        services::RecordingPrinter imprimante;
        bilan::imprimerBilan(imprimante, classe, bilan::tous(classe));
        // From the question's line to the ticks' line, what stands in column 24.
        const QStringList lignes = imprimante.texts();
        const auto premiere =
            std::find_if(lignes.begin(), lignes.end(), [&](const QString& l) { return l.contains(texte.left(20)); });
        const auto cochees = std::find_if(
            premiere, lignes.end(), [](const QString& l) { return l.trimmed().startsWith(QStringLiteral("Cochées")); });
        QStringList morceaux;
        for (auto l = premiere; l != cochees; ++l) {
            QVERIFY2(l->size() <= 23 + 72 && l->at(22) == QLatin1Char(' ') && l->at(23) != QLatin1Char(' '),
                     qPrintable(*l));
            morceaux << l->mid(23);
        }
        QVERIFY(morceaux.size() > 2);
        QCOMPARE(morceaux.join(QLatin1Char(' ')), texte);

        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
            QSKIP("pdftotext n'est pas installé");
        }
        QTemporaryDir sortie;
        desktop::PdfPrinter pdf(sortie.filePath(QStringLiteral("bilan.pdf")));
        bilan::imprimerBilan(pdf, classe, bilan::tous(classe));
        const QString lu = texteDuPdf(pdf.path());
        QVERIFY2(lu.simplified().contains(texte), qPrintable(lu));
    }

    // A chart stays on the page of its title: when both do not fit at the foot of a page, the title goes over to
    // the next one with its chart. Every page height from one that holds little to one that holds it all.
    void unGraphiqueResteAvecSonTitre() {
        const bilan::Illustrations images = [](const bilan::Classe&, const QString& test, const bilan::Selection&) {
            return std::vector<bilan::Image>{{QStringLiteral("Répartition, %1").arg(test), png()},
                                             {QStringLiteral("Questions, %1").arg(test), png()}};
        };
        int titresReportes = 0;
        for (int lignesParPage = 16; lignesParPage <= 70; ++lignesParPage) {
            services::RecordingPrinter imprimante(lignesParPage, 12);
            bilan::imprimerBilan(imprimante, classe_, bilan::tous(classe_), images);
            const QList<services::RecordedLine>& l = imprimante.lines;
            int dessins = 0;
            for (qsizetype i = 2; i < l.size(); ++i) {
                if (l[i].text == QStringLiteral("[Dessin]")) {
                    ++dessins;
                    QVERIFY2(l[i - 1].text.endsWith(QStringLiteral(", B1V")) && l[i - 1].page == l[i].page,
                             qPrintable(QStringLiteral("%1 lignes par page : « %2 » page %3, son dessin page %4")
                                            .arg(lignesParPage)
                                            .arg(l[i - 1].text)
                                            .arg(l[i - 1].page)
                                            .arg(l[i].page)));
                    titresReportes += l[i - 2].page < l[i - 1].page ? 1 : 0;
                }
            }
            QCOMPARE(dessins, 2);
        }
        QVERIFY(titresReportes > 0); // some page heights did leave a title at the foot of a page
    }
};

QTEST_MAIN(TstClasseur)
#include "tst_classeur.moc"
