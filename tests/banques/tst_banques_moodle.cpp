#include "banques.h"
#include "banques/importation.h"
#include "banques/moodle.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QTest>

using namespace banques;

namespace {

const QString kVraiFaux = reponse(QStringLiteral("100"), QStringLiteral("true")) + reponse("0", "false");
const QString kOuiNon = reponse(QStringLiteral("100"), QStringLiteral("Oui")) + reponse("0", "Non");

QString niveaux(const QStringList& tags) {
    QString xml = QStringLiteral("<tags>");
    for (const QString& t : tags) {
        xml += QStringLiteral("<tag><text>%1</text></tag>").arg(t);
    }
    return xml + QStringLiteral("</tags>");
}

QStringList importer(const QByteArray& xml) {
    return decrire(kelvane::banques::importer(xml, Format::Moodle, QStringLiteral("banque.xml")));
}

} // namespace

// Moodle XML banks as teachers bring them: each row is a bank and what the test made of it holds, questions left
// out with their reasons included.
class TestBanquesMoodle : public QObject {
    Q_OBJECT

private slots:
    void importe_data() {
        QTest::addColumn<QString>("corps");
        QTest::addColumn<QStringList>("attendu");
        const QString sixReponses = QString(kOuiNon).repeated(3);

        QTest::newRow("choix unique, HTML et niveaux")
            << categorie("$course$/top") + categorie("$course$/top/Le risque électrique") +
                   question("multichoice", "Ohm",
                            "<p>Que vaut <b>U</b>&nbsp;?<br/>R&eacute;ponse &#x2192; &lt;1&gt; &amp;&#233;</p>",
                            kOuiNon + niveaux({"b1", "BR", "révision"}))
            << QStringList{"chapitre 1 Le risque électrique",
                           "1 ch1 B1 BR qcm « Que vaut U\u00a0? Réponse → <1> &é » : « Oui » 1, « Non » 0"};
        QTest::newRow("plusieurs justes, sans niveau : les cinq")
            << question("multichoice", "", "Lesquels ?",
                        reponse("50", "A") + reponse("50", "B") + reponse("-100", "C") + reponse("0", "D"))
            << QStringList{"chapitre 1 banque", "1 ch1 B0 B1 B2 BR BC qcm « Lesquels ? » : « A » 1, « B » 1, « C » 0, "
                                                "« D » 0"};
        QTest::newRow("vrai ou faux") << question("truefalse", "", "Le 230 V tue ?", kVraiFaux)
                                      << QStringList{"chapitre 1 banque",
                                                     "1 ch1 B0 B1 B2 BR BC qcm « Le 230 V tue ? » : "
                                                     "« Vrai » 1, « Faux » 0"};
        QTest::newRow("ordre, texte brut")
            << QStringLiteral("<question type=\"ordering\"><questiontext format=\"plain_text\"><text>Dans  "
                              "l'ordre &lt;b&gt;</text></questiontext>") +
                   reponse("1", "Séparer") + reponse("2", "Condamner") + reponse("3", "Vérifier") +
                   QStringLiteral("</question>")
            << QStringList{"chapitre 1 banque", "1 ch1 B0 B1 B2 BR BC ordre « Dans l'ordre <b> » : « Séparer », "
                                                "« Condamner », « Vérifier »"};
        QTest::newRow("chemins de catégories : parent et top écartés, // dans un nom")
            << categorie("$course$/top") + categorie("$course$/top/Parent") +
                   categorie("$course$/top/Parent/Feuille vide") + categorie("$course$/top/Parent/EPI//EPC") +
                   question("truefalse", "", "Q1", kVraiFaux) + categorie("Autre") +
                   question("truefalse", "", "Q2", kVraiFaux) + categorie("$course$/top/Parent/EPI//EPC") +
                   question("truefalse", "", "Q3", kVraiFaux)
            << QStringList{"chapitre 1 Feuille vide",
                           "chapitre 2 EPI/EPC",
                           "chapitre 3 Autre",
                           "1 ch2 B0 B1 B2 BR BC qcm « Q1 » : « Vrai » 1, « Faux » 0",
                           "2 ch3 B0 B1 B2 BR BC qcm « Q2 » : « Vrai » 1, « Faux » 0",
                           "3 ch2 B0 B1 B2 BR BC qcm « Q3 » : « Vrai » 1, « Faux » 0"};
        QTest::newRow("nom de chapitre coupé")
            << categorie(QStringLiteral("$course$/top/") + QString(85, u'c')) +
                   question("truefalse", "", "Q", kVraiFaux)
            << QStringList{"chapitre 1 " + QString(80, u'c'), "1 ch1 B0 B1 B2 BR BC qcm « Q » : « Vrai » 1, « Faux » 0",
                           "chapitre 1 : nom « " + QString(85, u'c') + " » coupé à 80 caractères"};
        QTest::newRow("images de la question et d'une réponse, noms encodés")
            << question("multichoice", "Schéma",
                        "Ce symbole ? <img src=\"@@PLUGINFILE@@/sch%C3%A9ma%201.png\" alt=\"\"> "
                        "@@PLUGINFILE@@/sch%C3%A9ma%201.png",
                        reponse("100", "Terre <img src=\"@@PLUGINFILE@@/t.jpg\">", fichier("t.jpg", jpeg())) +
                            reponse("0", "Masse"),
                        fichier("schéma 1.png", png()) + fichier("inutile.png", png()))
            << QStringList{"chapitre 1 banque", "1 ch1 B0 B1 B2 BR BC qcm « Ce symbole ? » : « Terre » 1, « Masse » 0",
                           "image 1 : schéma 1.png", "image 1, réponse 1 : t.jpg"};

        const auto ecartee = [](const QString& titre, const QString& raison) {
            return QStringList{QStringLiteral("ligne 3, « %1 » : %2").arg(titre, raison)};
        };
        for (const auto& [type, genre] : {std::pair{"essay", "réponse libre"},
                                          {"matching", "appariement"},
                                          {"shortanswer", "réponse courte"},
                                          {"numerical", "numérique"},
                                          {"multianswer", "réponses intégrées, cloze"},
                                          {"description", "description, sans réponse"}}) {
            QTest::newRow(type) << question(type, "T", "x", QString())
                                << ecartee("T", QStringLiteral("type Moodle « %1 » (%2) non pris en charge")
                                                    .arg(QLatin1String(type), QString::fromUtf8(genre)));
        }
        QTest::newRow("type inconnu, titre tiré du texte")
            << question("ddmatrix", "", "Un texte de question bien plus long que quarante caractères", QString())
            << ecartee("Un texte de question bien plus long que…", "type Moodle « ddmatrix » inconnu");
        QTest::newRow("six réponses") << question("multichoice", "T", "x", sixReponses)
                                      << ecartee("T", "6 réponses, 5 au plus");
        QTest::newRow("aucune juste") << question("multichoice", "T", "x", reponse("0", "A") + reponse("-100", "B"))
                                      << ecartee("T", "aucune réponse à cocher");
        QTest::newRow("texte et réponse trop longs")
            << question("multichoice", "T", QString(201, u'q'), reponse("100", QString(101, u'r')))
            << ecartee("T", "texte de la question : 201 caractères, 200 au plus ; réponse 1 : 101 caractères, 100 au "
                            "plus");
        QTest::newRow("texte fait d'une image seule")
            << question("truefalse", "T", "<img src=\"@@PLUGINFILE@@/a.png\">", kVraiFaux, fichier("a.png", png()))
            << ecartee("T", "texte de la question vide");
        QTest::newRow("image GIF") << question("truefalse", "T", "x @@PLUGINFILE@@/a.gif", kVraiFaux,
                                               fichier("a.gif", "GIF89a..."))
                                   << ecartee("T", "image « a.gif » n'est ni un PNG ni un JPEG");
        QTest::newRow("image de plus de 1 Mio")
            << question("truefalse", "T", "x @@PLUGINFILE@@/a.png", kVraiFaux, fichier("a.png", png(1024 * 1024)))
            << ecartee("T", "image « a.png » dépasse 1 Mio (1024 Kio)");
        QTest::newRow("image absente, base64 faux, deux images, image externe")
            << question(
                   "multichoice", "T", "x @@PLUGINFILE@@/a.png <img src=\"https://exemple.fr/b.png\">",
                   reponse("100", "c @@PLUGINFILE@@/c.png @@PLUGINFILE@@/d.png") +
                       reponse("0", "e @@PLUGINFILE@@/e.png", "<file name=\"e.png\" encoding=\"base64\">%%%</file>"))
            << ecartee("T", "texte de la question : image « https://exemple.fr/b.png » hors du fichier, que Kelvane ne "
                            "peut pas reprendre ; texte de la question : image « a.png » absente du fichier ; "
                            "réponse 1 : 2 images (« c.png », « d.png »), une au plus ; réponse 2 : image « e.png » "
                            "mal codée (base64 incorrect)");
    }

    void importe() {
        QFETCH(QString, corps);
        QFETCH(QStringList, attendu);
        QCOMPARE(importer(quiz(corps)), attendu);
    }

    // The file's own faults stop the import, naming the place.
    void fichierFautif_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("erreur");
        QTest::newRow("balises croisées") << QByteArray("<quiz>\n<question type=\"truefalse\">\n</quiz>")
                                          << "banque.xml, ligne 3, colonne 7 : XML mal formé (Opening and ending tag "
                                             "mismatch.)";
        QTest::newRow("fichier coupé") << quiz(question("truefalse", "T", "x", kVraiFaux)).left(120)
                                       << "banque.xml, ligne 3, colonne 74 : fichier XML vide ou incomplet";
        QTest::newRow("fichier vide") << QByteArray()
                                      << "banque.xml, ligne 1, colonne 0 : fichier XML vide ou incomplet";
        QTest::newRow("pas une banque")
            << QByteArray("<?xml version=\"1.0\"?>\n<html><body/></html>")
            << "banque.xml, ligne 2, colonne 6 : élément <html> au lieu de <quiz> : ce n'est pas une banque Moodle XML";
        QTest::newRow("entités en cascade")
            << QByteArray(
                   "<?xml version=\"1.0\"?>\n<!DOCTYPE quiz [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"
                   "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                   "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
                   "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">]>\n<quiz><question type=\"truefalse\">"
                   "<name><text>&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;</text></name></question></quiz>")
            << "banque.xml, ligne 3, colonne 48 : XML mal formé (Entity expands to more characters than the entity "
               "expansion limit.)";
    }

    void fichierFautif() {
        QFETCH(QByteArray, xml);
        QFETCH(QString, erreur);
        QCOMPARE(importer(xml), QStringList{"erreur : " + erreur});
    }

    // A hostile file neither exhausts the memory nor the stack, and is told apart from a bank in well under a
    // second.
    void fichiersHostiles() {
        QElapsedTimer chrono;
        chrono.start();
        const QByteArray imbrique = "<quiz><question type=\"truefalse\"><name>" + QByteArray("<a>").repeated(100000);
        QCOMPARE(importer(imbrique),
                 QStringList{"erreur : banque.xml, ligne 1, colonne 225 : éléments imbriqués sur plus de 64 niveaux"});

        // 24 MiB of base64: the question naming it is left out, one that does not is kept.
        const QString enorme = fichier("e.png", png(18 * 1024 * 1024));
        QCOMPARE(importer(quiz(question("truefalse", "A", "x @@PLUGINFILE@@/e.png", kVraiFaux, enorme) +
                               question("truefalse", "B", "y", kVraiFaux, enorme))),
                 (QStringList{"chapitre 1 banque", "1 ch1 B0 B1 B2 BR BC qcm « y » : « Vrai » 1, « Faux » 0",
                              "ligne 3, « A » : texte de la question : image « e.png » de plus de 1 Mio"}));
        // Texts and paths that a careless parser would go through again and again.
        const QString pieges = question("truefalse", "T", QString("&<a").repeated(300000), kVraiFaux);
        QString categories;
        for (int i = 0; i < 20000; ++i) {
            categories += categorie(QStringLiteral("$course$/top/c%1/d").arg(i));
        }
        const QStringList lu = importer(quiz(pieges + categories));
        QCOMPARE(lu.size(), 20002);
        QCOMPARE(lu.value(20001), "1 ch1 B0 B1 B2 BR BC qcm « & » : « Vrai » 1, « Faux » 0");
        QVERIFY2(chrono.elapsed() < 3000, qPrintable(QString::number(chrono.elapsed())));
    }

    // Moodle's own export writes an ordering question's fractions as 1..n in file order: the test must not show
    // the answers already in their right order.
    void ordreDeMoodleMelange() {
        QString reponses;
        for (int i = 1; i <= 5; ++i) {
            reponses += reponse(QString::number(i), QStringLiteral("étape %1").arg(i));
        }
        const auto r = kelvane::banques::importer(quiz(question("ordering", "T", "x", reponses)), Format::Moodle, "b");
        QCOMPARE(r.source.questions.size(), 1u);
        const auto& a = r.source.questions[0].answers;
        QVERIFY(
            !std::is_sorted(a.begin(), a.end(), [](const auto& x, const auto& y) { return x.expected < y.expected; }));
        for (const auto& reponse : a) {
            QCOMPARE(reponse.text, QStringLiteral("étape %1").arg(reponse.expected));
        }
    }

    void choisitLeFormat_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QByteArray>("debut");
        QTest::addColumn<int>("format");
        QTest::newRow(".xml") << "b.xml" << QByteArray("Q ?") << int(Format::Moodle);
        QTest::newRow(".txt commençant par <") << "b.txt" << QByteArray("\xEF\xBB\xBF  <quiz>") << int(Format::Moodle);
        QTest::newRow(".gift, même commençant par <") << "b.GIFT" << QByteArray("<b>Q</b> ?") << int(Format::Gift);
        QTest::newRow(".txt avec {") << "b.txt" << QByteArray("Q ? {=a ~b}") << int(Format::Gift);
        QTest::newRow(".txt sans {") << "b.txt" << QByteArray("Q ?\nA. a\nANSWER: A") << int(Format::Aiken);
    }

    void choisitLeFormat() {
        QFETCH(QString, nom);
        QFETCH(QByteArray, debut);
        QFETCH(int, format);
        QCOMPARE(int(formatBanque(nom, debut)), format);
    }
};

QTEST_GUILESS_MAIN(TestBanquesMoodle)
#include "tst_banques_moodle.moc"
