#include "banques.h"
#include "banques/exportgift.h"
#include "banques/exportmoodle.h"
#include "banques/importation.h"
#include "source/textsource.h"

#include <QTest>

using namespace banques;
using kelvane::data::Test;
namespace source = kelvane::source;

namespace {

// Four questions over two chapters (one with a '/' in its name), a third chapter left empty, every kind of
// answer, texts that HTML and XML must escape, pictures on a question and on answers.
struct Banque {
    source::TestSource source;
    Images images;
};

Banque banque() {
    Banque b;
    b.source.chapters = {
        {0, 1, QStringLiteral("Risque / danger")}, {0, 2, QStringLiteral("Secours")}, {0, 3, QStringLiteral("Vide")}};
    const auto q = [&](int chapitre, std::array<bool, 5> niveaux, bool qcm, const QString& texte,
                       std::vector<source::Answer> reponses) {
        source::SourceQuestion question;
        question.numero = static_cast<int>(b.source.questions.size()) + 1;
        question.chapitre = chapitre;
        question.levels = niveaux;
        question.qcm = qcm;
        question.text = texte;
        question.answers = std::move(reponses);
        b.source.questions.push_back(std::move(question));
    };
    q(1, {false, true, false, true, false}, true, QStringLiteral("Lesquels protègent ? <EPI> & \"gants\""),
      {{"Gants", 1}, {"Écran ]]> facial", 1}, {"Montre", 0}, {"Tapis", 1}, {"Bague", 0}});
    q(2, {true, false, false, false, false}, true, QStringLiteral("Appeler le 18 ?"), {{"Oui", 1}, {"Non", 0}});
    q(1, {false, false, true, false, true}, false, QStringLiteral("Consigner, dans l'ordre :"),
      {{"Vérifier", 3}, {"Séparer", 1}, {"Identifier", 4}, {"Condamner", 2}});
    q(2, {true, true, true, true, true}, true, QStringLiteral("Tout est juste : 100 %"), {{"a:b", 1}, {"{c}", 1}});
    b.images[1].question = Image{QStringLiteral("schéma 1.png"), png(3000)};
    b.images[1].reponses[1] = Image{QStringLiteral("écran.jpg"), jpeg()};
    b.images[3].reponses[2] = Image{QStringLiteral("vat.png"), png()};
    return b;
}

// Each question as the test file holds it, one line of fields.
QStringList lignes(const Test& test) {
    QStringList lignes;
    for (const auto& c : test.chapitres) {
        lignes << QStringLiteral("chapitre %1 %2").arg(c.numero.toString(), c.nom.toString());
    }
    for (const kelvane::data::QuestionTest& q : test.questions) {
        QStringList champs;
        for (const QVariant& v : q) {
            champs << v.toString();
        }
        lignes << champs.join(u'|');
    }
    return lignes;
}

} // namespace

// Kelvane's own banks, written for Moodle and read back: Moodle's fixed grades, and the same test again.
class TestBanquesExport : public QObject {
    Q_OBJECT

private slots:
    void partsDeMoodle_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QString>("parts");
        QTest::newRow("une") << 1 << kCentPourCent << "100";
        QTest::newRow("deux") << 2 << kCentPourCent << "50 50";
        QTest::newRow("trois") << 3 << kCentPourCent << "33.33333 33.33333 33.33334";
        QTest::newRow("quatre fausses") << 4 << -kCentPourCent << "-25 -25 -25 -25";
        QTest::newRow("trois fausses") << 3 << -kCentPourCent << "-33.33333 -33.33333 -33.33334";
        QTest::newRow("fausses d'un choix unique") << 2 << qint64(0) << "0 0";
    }

    void partsDeMoodle() {
        QFETCH(int, n);
        QFETCH(qint64, total);
        QFETCH(QString, parts);
        QStringList textes;
        for (const qint64 p : partsMoodle(n, total)) {
            textes << fractionMoodle(p);
        }
        QCOMPARE(textes.join(u' '), parts);
    }

    void moodleAllerRetour() {
        const Banque b = banque();
        const Test test = source::toTest(b.source, QStringLiteral("B1V.mdb"));
        const QByteArray xml = exporterMoodle(test, b.images);
        for (const char* attendu :
             {"<single>false</single>", "<answer fraction=\"33.33333\" format=\"html\">",
              "<answer fraction=\"33.33334\" format=\"html\">", "<answer fraction=\"-50\" format=\"html\">",
              "<single>true</single>", "<answer fraction=\"0\" format=\"html\">", "<question type=\"ordering\">",
              "<text>$course$/top/Risque // danger</text>", "<tag>\n        <text>BR</text>",
              "<![CDATA[<p>Lesquels protègent ? &lt;EPI&gt; &amp; &quot;gants&quot;</p> "
              "<img src=\"@@PLUGINFILE@@/sch%C3%A9ma%201.png\" alt=\"\">]]>",
              "<![CDATA[Écran ]]&gt; facial <img src=\"@@PLUGINFILE@@/%C3%A9cran.jpg\" alt=\"\">]]>",
              "<file name=\"schéma 1.png\" path=\"/\" encoding=\"base64\">iVBORw0KGgpwcHBw"}) {
            QVERIFY2(xml.contains(attendu), attendu);
        }

        const ResultatImport relu = importer(xml, Format::Moodle, QStringLiteral("B1V.xml"));
        QVERIFY2(relu.ok(), qPrintable(relu.erreur));
        QCOMPARE(lignesRapport(relu.rapport), QStringList());
        QCOMPARE(lignes(source::toTest(relu.source, QStringLiteral("B1V.mdb"))), lignes(test));
        QVERIFY(relu.images == b.images);
    }

    void gift() {
        const Banque b = banque();
        const Test test = source::toTest(b.source, QStringLiteral("B1V.mdb"));
        QStringList notes;
        const QByteArray gift = exporterGift(test, b.images, notes);
        QCOMPARE(notes,
                 QStringList{"3 images non reprises : GIFT ne tient pas d'images (l'export Moodle XML les garde)"});
        QCOMPARE(QString::fromUtf8(gift).section(QStringLiteral("\n\n"), 0, 4),
                 QStringLiteral("// Test B1V.mdb exporté par Kelvane\n\n"
                                "$CATEGORY: $course$/top/Risque // danger\n\n"
                                "// [tag:B1] [tag:BR]\n"
                                "::Question 1::[plain]Lesquels protègent ? <EPI> & \"gants\" {\n"
                                "\t~%33.33333%Gants\n\t~%33.33333%Écran ]]> facial\n\t~%-50%Montre\n"
                                "\t~%33.33334%Tapis\n\t~%-50%Bague\n}\n\n"
                                "$CATEGORY: $course$/top/Secours\n\n"
                                "// [tag:B0]\n::Question 2::[plain]Appeler le 18 ? {\n\t=Oui\n\t~Non\n}"));

        // Read back, the same questions but the pictures and the empty chapter.
        QStringList attendu = decrire(importer(exporterMoodle(test, {}), Format::Moodle, QStringLiteral("B1V")));
        attendu.removeAll(QStringLiteral("chapitre 3 Vide"));
        QCOMPARE(decrire(importer(gift, Format::Gift, QStringLiteral("B1V"))), attendu);
    }
};

QTEST_GUILESS_MAIN(TestBanquesExport)
#include "tst_banques_export.moc"
