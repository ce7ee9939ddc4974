// Reading test sources: what a teacher writes becomes the right questions, every kind of mistake is reported
// with the file name and the line (and only real mistakes), the README's example builds, and a test's values give
// back a source that reads as the same test.

#include "data/ecriture.h"
#include "data/fichierresultats.h"
#include "data/parametres.h"
#include "source/textsource.h"

#include <QTemporaryDir>
#include <QtTest>
#include <functional>

using namespace kelvane::source;

namespace {

// Makes the file to export at the path given.
using Fabrique = std::function<void(const QString&)>;

const QByteArray kHeader = "temps;600\ntolerance;70\nchapitre;1;Le risque électrique\n";

QByteArray line(const QString& text) {
    return text.toUtf8() + '\n';
}

kelvane::data::Test twoQuestions() {
    const ParseResult r = parseTestSource(kHeader + line(QStringLiteral("question;1;1;B0;qcm;0;Où ?;Ici;1;Là;0")) +
                                              line(QStringLiteral("question;2;1;BR;ordre;0;Classez.;Un;1;Deux;2")),
                                          QStringLiteral("a.csv"));
    return toTest(r.source, QStringLiteral("B1V.mdb"));
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void put(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        qFatal("%s", qPrintable(path));
    }
}

const QByteArray kPng = QByteArray("\x89PNG\r\n\x1a\n") + QByteArray(24, 'p');
const QByteArray kJpeg = QByteArray("\xFF\xD8\xFF\xE0") + QByteArray(12, 'j');

} // namespace

Q_DECLARE_METATYPE(Fabrique)

class TestMktestSource : public QObject {
    Q_OBJECT

private slots:
    void readsAWellFormedSource() {
        // BOM, CRLF, comments, blank lines, padding from a spreadsheet, quotes and lower-case levels.
        const QByteArray data = "\xEF\xBB\xBF# un commentaire\r\n"
                                "temps ; 900 ;;\r\n"
                                ";;;\r\n"
                                "TOLERANCE;75\r\n"
                                "chapitre;2;Consignation\r\n"
                                "chapitre;1;Le risque électrique\r\n"
                                "question;2;1;b0 BR;qcm;30;\"Cochez ; les \"\"bonnes\"\" réponses\";Oui;1;Non;0;;;\r\n"
                                "question;1;2;BC;ordre;0;Classez.;Condamner;2;Séparer;1;Identifier;3\r\n";
        const ParseResult r = parseTestSource(data, QStringLiteral("a.csv"));
        QVERIFY2(r.ok(), qPrintable(r.errors.join(u'\n')));
        const TestSource& s = r.source;
        QCOMPARE(s.temps, 900);
        QCOMPARE(s.tolerance, 75);
        QCOMPARE(s.chapters.size(), 2u);
        QCOMPARE(s.chapters[0].numero, 2);
        QCOMPARE(s.chapters[1].nom, QStringLiteral("Le risque électrique"));

        QCOMPARE(s.questions.size(), 2u);
        const SourceQuestion& q = s.questions[0];
        QCOMPARE(q.line, 7);
        QCOMPARE(q.numero, 2);
        QCOMPARE(q.chapitre, 1);
        QCOMPARE(q.levels, (std::array<bool, 5>{true, false, false, true, false}));
        QVERIFY(q.qcm);
        QCOMPARE(q.temps, 30);
        QCOMPARE(q.text, QStringLiteral("Cochez ; les \"bonnes\" réponses"));
        QCOMPARE(q.answers.size(), 2u);
        QCOMPARE(q.answers[1].text, QStringLiteral("Non"));
        QCOMPARE(q.answers[1].expected, 0);

        const SourceQuestion& o = s.questions[1];
        QVERIFY(!o.qcm);
        QCOMPARE(o.levels, (std::array<bool, 5>{false, false, false, false, true}));
        QCOMPARE(o.answers.size(), 3u);
        QCOMPARE(o.answers[0].expected, 2);
        QCOMPARE(o.answers[2].text, QStringLiteral("Identifier"));
    }

    void acceptsTheLimits() {
        // Five answers, texts exactly at their field sizes, 16-bit times.
        QByteArray data = "temps;32767\ntolerance;100\n";
        data += line(QStringLiteral("chapitre;32767;") + QString(kelvane::data::TailleChapitre, u'é'));
        QString q = QStringLiteral("question;1;32767;B0 B1 B2 BR BC;ordre;32767;") +
                    QString(kelvane::data::TailleQuestion, u'à');
        for (int i = 1; i <= kelvane::data::NbReponsesMax; ++i) {
            q += u';' + QString(kelvane::data::TailleReponse, u'ç') + u';' +
                 QString::number(kelvane::data::NbReponsesMax + 1 - i);
        }
        data += line(q);
        const ParseResult r = parseTestSource(data, QStringLiteral("a.csv"));
        QVERIFY2(r.ok(), qPrintable(r.errors.join(u'\n')));
        QCOMPARE(r.source.questions[0].answers.size(), 5u);
        QCOMPARE(r.source.questions[0].answers[4].expected, 1);
    }

    void reportsABadLine_data() {
        QTest::addColumn<QByteArray>("badLine");
        QTest::addColumn<QString>("message");

        const QString tooLongQuestion = QString(kelvane::data::TailleQuestion + 1, u'x');
        const QString tooLongAnswer = QString(kelvane::data::TailleReponse + 1, u'x');
        QTest::newRow("answer without value") << line(QStringLiteral("question;1;1;B0;qcm;0;Q ?;Oui;1;Non"))
                                              << QStringLiteral("nombre de colonnes incorrect : 10");
        QTest::newRow("too few columns") << line(QStringLiteral("question;1;1;B0;qcm;0"))
                                         << QStringLiteral("nombre de colonnes incorrect : 6");
        QTest::newRow("no answer") << line(QStringLiteral("question;1;1;B0;qcm;0;Q ?"))
                                   << QStringLiteral(
                                          "aucune réponse : le nombre de réponses (nbrereponse) doit aller de 1 à 5");
        QTest::newRow("six answers") << line(QStringLiteral("question;1;1;B0;qcm;0;Q ?;a;1;b;0;c;0;d;0;e;0;f;0"))
                                     << QStringLiteral(
                                            "6 réponses : le nombre de réponses (nbrereponse) doit aller de 1 à 5");
        QTest::newRow("question too long") << line(QStringLiteral("question;1;1;B0;qcm;0;%1;a;1").arg(tooLongQuestion))
                                           << QStringLiteral("texte de la question : 201 caractères, 200 au plus");
        QTest::newRow("answer too long") << line(
                                                QStringLiteral("question;1;1;B0;qcm;0;Q ?;a;1;%1;0").arg(tooLongAnswer))
                                         << QStringLiteral("réponse 2 : 101 caractères, 100 au plus");
        QTest::newRow("empty answer") << line(QStringLiteral("question;1;1;B0;qcm;0;Q ?;;1;b;0"))
                                      << QStringLiteral("réponse 1 vide");
        QTest::newRow("chapter name too long")
            << line(QStringLiteral("chapitre;2;") + QString(kelvane::data::TailleChapitre + 1, u'x'))
            << QStringLiteral("nom de chapitre : 81 caractères, 80 au plus");
        QTest::newRow("chapter twice") << line(QStringLiteral("chapitre;1;Encore"))
                                       << QStringLiteral("chapitre 1 déjà déclaré ligne 3");
        QTest::newRow("unknown level") << line(QStringLiteral("question;1;1;B0 B3;qcm;0;Q ?;a;1"))
                                       << QStringLiteral("niveau « B3 » inconnu");
        QTest::newRow("unknown kind") << line(QStringLiteral("question;1;1;B0;choix;0;Q ?;a;1"))
                                      << QStringLiteral("genre « choix » inconnu (qcm ou ordre)");
        QTest::newRow("tick value not 0 or 1") << line(QStringLiteral("question;1;1;B0;qcm;0;Q ?;a;2"))
                                               << QStringLiteral("valeur de la réponse 1 : 2 hors des limites (0 à 1)");
        QTest::newRow("rank beyond the answers")
            << line(QStringLiteral("question;1;1;B0;ordre;0;Q ?;a;1;b;3"))
            << QStringLiteral("valeur de la réponse 2 : 3 hors des limites (1 à 2)");
        QTest::newRow("rank given twice")
            << line(QStringLiteral("question;1;1;B0;ordre;0;Q ?;a;2;b;2;c;1"))
            << QStringLiteral("question à remettre dans l'ordre : chaque rang de 1 à 3 doit être donné une fois");
        QTest::newRow("question time over 16 bits") << line(QStringLiteral("question;1;1;B0;qcm;40000;Q ?;a;1"))
                                                    << QStringLiteral("temps de la question : 40000 hors des limites");
        QTest::newRow("undeclared chapter")
            << line(QStringLiteral("question;1;9;B0;qcm;0;Q ?;a;1")) << QStringLiteral("chapitre 9 non déclaré");
        QTest::newRow("numbers with a gap")
            << line(QStringLiteral("question;2;1;B0;qcm;0;Q ?;a;1"))
            << QStringLiteral("question numéro 2 : les questions doivent être numérotées de 1 à 1");
        QTest::newRow("unknown kind of line")
            << line(QStringLiteral("questoin;1;1;B0;qcm;0;Q ?;a;1")) << QStringLiteral("ligne « questoin » inconnue");
        QTest::newRow("unclosed quote") << line(QStringLiteral("question;1;1;B0;qcm;0;\"Q ?;a;1"))
                                        << QStringLiteral("guillemet non refermé");
        QTest::newRow("not UTF-8") << QByteArray("question;1;1;B0;qcm;0;Qu'est-ce qu'un \xE9lectron ?;a;1\n")
                                   << QStringLiteral("texte non UTF-8");
        QTest::newRow("comment after a chapter name")
            << line(QStringLiteral("chapitre;2;Consignation   # le chapitre deux"))
            << QStringLiteral("nom de chapitre : « Consignation   # le chapitre deux » contient un commentaire");
        QTest::newRow("comment after a value") << line(QStringLiteral("question;1;1;B0;qcm;0;Q ?;a;1 # oui"))
                                               << QStringLiteral("valeur de la réponse 1 : « 1 # oui »");
        QTest::newRow("no answer to tick")
            << line(QStringLiteral("question;1;1;B0;qcm;0;Q ?;a;0;b;0")) << QStringLiteral("aucune réponse à cocher");
        QTest::newRow("tolerance twice") << line(QStringLiteral("tolerance;80"))
                                         << QStringLiteral("ligne « tolerance » en double (déjà ligne 2)");
    }

    void reportsABadLine() {
        // The bad line is line 5; its fault comes before any fault of the whole file.
        QFETCH(QByteArray, badLine);
        QFETCH(QString, message);
        const QByteArray data = kHeader + "# ligne 4\n" + badLine;
        const ParseResult r = parseTestSource(data, QStringLiteral("B0.csv"));
        QVERIFY(!r.ok());
        const QString expected = QStringLiteral("B0.csv, ligne 5 : ") + message;
        QVERIFY2(r.errors.first().startsWith(expected), qPrintable(r.errors.join(u'\n') + u'\n' + expected));
    }

    void reportsFaultsOfTheWholeFileAndEveryBadLine() {
        const QByteArray data = "tolerance ; 101\n"
                                "chapitre;1;Un\n"
                                "question;1;1;B0;qcm;0;Q ?;a;9\n"
                                "question;1;1;B0;qcm;0;Q ?;a;1\n"
                                "question;1;1;B0;qcm;0;Q ?;a;1\n";
        const ParseResult r = parseTestSource(data, QStringLiteral("t.csv"));
        QCOMPARE(r.errors,
                 (QStringList{QStringLiteral("t.csv, ligne 1 : tolerance : 101 hors des limites (0 à 100)"),
                              QStringLiteral("t.csv, ligne 3 : valeur de la réponse 1 : 9 hors des limites (0 à 1)"),
                              QStringLiteral("t.csv : ligne « temps;secondes » manquante"),
                              QStringLiteral("t.csv, ligne 5 : question numéro 1 déjà donnée ligne 4")}));

        QVERIFY(parseTestSource(kHeader, QStringLiteral("t.csv"))
                    .errors.contains(QStringLiteral("t.csv : aucune question")));
        const ParseResult missing = readTestSource(QStringLiteral("/nonexistent/absent.csv"));
        QCOMPARE(missing.errors.size(), 1);
        QVERIFY(missing.errors[0].startsWith(QStringLiteral("absent.csv : impossible de lire le fichier")));
    }

    void reportsOnlyTheRealFaults_data() {
        QTest::addColumn<QByteArray>("questions");
        QTest::addColumn<QStringList>("errors");
        QByteArray six;
        for (int i = 1; i <= 6; ++i) {
            six += line(QStringLiteral("question;%1;1;B0;qcm;0;Q%1 ?;a;%2").arg(i).arg(i == 2 ? 7 : 1));
        }
        QTest::newRow("one wrong line among six numbered 1 to 6")
            << six
            << QStringList{QStringLiteral("s.csv, ligne 5 : valeur de la réponse 1 : 7 hors des limites (0 à 1)")};
        QTest::newRow("a '#' in a quoted chapter name")
            << line(QStringLiteral("chapitre;2;\"Salle # 2\"")) + line(QStringLiteral("question;1;2;B0;qcm;0;Q;a;1"))
            << QStringList{};
        QTest::newRow("a number beyond the count is still one")
            << line(QStringLiteral("question;1;1;B0;qcm;0;Q;a;1")) + line(QStringLiteral("question;2;1;B0;qcm;0;Q;a")) +
                   line(QStringLiteral("question;4;1;B0;qcm;0;Q;a;1"))
            << QStringList{QStringLiteral("s.csv, ligne 5 : nombre de colonnes incorrect : 8 (question;numéro;chapitre;"
                                          "niveaux;genre;temps;texte puis une réponse et sa valeur par paire de "
                                          "colonnes)"),
                           QStringLiteral("s.csv, ligne 6 : question numéro 4 : les questions doivent être numérotées "
                                          "de 1 à 3")};
    }

    void reportsOnlyTheRealFaults() {
        QFETCH(QByteArray, questions);
        QFETCH(QStringList, errors);
        QCOMPARE(parseTestSource(kHeader + questions, QStringLiteral("s.csv")).errors, errors);
    }

    // Picture lines, put before the questions they name (from line 4): what each gives, or each fault with its line.
    void readsPictureLines_data() {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QStringList>("expected"); // the pictures as "NUMÉRO PLACE NOM SIZE", or the faults

        QTest::newRow("question and answers, a subfolder, '\\', a name of its own")
            << line(QStringLiteral("image;1;question;vat.png")) +
                   line(QStringLiteral("IMAGE;2;2;images\\écran.jpg;\"Écran ; facial\"")) +
                   line(QStringLiteral("image;1;1;./images/écran.jpg"))
            << QStringList{"1 0 vat.png 32", "2 2 Écran ; facial 16", "1 1 écran.jpg 16"};
        const auto fault = [](int lineNumber, const char* text) {
            return QStringList{QStringLiteral("s.csv, ligne %1 : ").arg(lineNumber) + QString::fromUtf8(text)};
        };
        QTest::newRow("no such question")
            << line(QStringLiteral("image;3;question;vat.png")) << fault(4, "image : aucune question numéro 3");
        QTest::newRow("its question's line refused")
            << line(QStringLiteral("image;3;question;vat.png")) + line(QStringLiteral("question;3;1;B0;qcm;0;Q ?;a;9"))
            << fault(5, "valeur de la réponse 1 : 9 hors des limites (0 à 1)");
        QTest::newRow("no such answer") << line(QStringLiteral("image;1;3;vat.png"))
                                        << fault(4, "image : la question 1 n'a pas de réponse 3 (2 réponses)");
        QTest::newRow("a place twice") << line(QStringLiteral("image;2;1;vat.png")) +
                                              line(QStringLiteral("image;2;1;images/écran.jpg"))
                                       << fault(5, "image : la réponse 1 de la question 2 a déjà une image (ligne 4)");
        QTest::newRow("unknown place") << line(QStringLiteral("image;1;réponse;vat.png"))
                                       << fault(4, "place « réponse » inconnue (question, ou 1 à 5 pour une réponse)");
        QTest::newRow("place beyond five") << line(QStringLiteral("image;1;6;vat.png"))
                                           << fault(4, "place « 6 » inconnue (question, ou 1 à 5 pour une réponse)");
        QTest::newRow("no file") << line(QStringLiteral("image;1;question"))
                                 << fault(4, "nombre de colonnes incorrect : 3 au lieu de 4 ou 5 (image;numéro;place;"
                                             "fichier[;nom])");
        QTest::newRow("missing file") << line(QStringLiteral("image;1;question;absent.png"))
                                      << fault(4, "image « absent.png » introuvable dans le dossier de la source");
        QTest::newRow("a folder") << line(QStringLiteral("image;1;question;images"))
                                  << fault(4, "image « images » : c'est un dossier");
        QTest::newRow("no file name") << line(QStringLiteral("image;1;question;images/"))
                                      << fault(4, "image « images/ » : aucun nom de fichier");
        QTest::newRow("absolute") << line(QStringLiteral("image;1;question;C:\\vat.png"))
                                  << fault(4, "image « C:\\vat.png » : chemin absolu ; nommez l'image depuis le "
                                              "dossier de la source");
        QTest::newRow("out of the folder")
            << line(QStringLiteral("image;1;question;images/../../vat.png"))
            << fault(4, "image « images/../../vat.png » : le chemin sort du dossier de la source ; mettez l'image "
                        "dans ce dossier ou un de ses sous-dossiers");
        QTest::newRow("not a picture") << line(QStringLiteral("image;1;question;plan.gif"))
                                       << fault(4, "image : « plan.gif » n'est ni un PNG ni un JPEG");
        QTest::newRow("empty") << line(QStringLiteral("image;1;question;vide.png"))
                               << fault(4, "image : « vide.png » est vide");
        QTest::newRow("over 1 Mio") << line(QStringLiteral("image;1;question;gros.png"))
                                    << fault(4, "image : « gros.png » dépasse 1 Mio (1025 Kio)");
        QTest::newRow("name too long") << line(QStringLiteral("image;1;question;vat.png;") + QString(256, u'n'))
                                       << fault(4, "nom de l'image : 256 caractères, 255 au plus");
    }

    void readsPictureLines() {
        QFETCH(QByteArray, lines);
        QFETCH(QStringList, expected);
        QTemporaryDir dir;
        put(dir.filePath(QStringLiteral("vat.png")), kPng);
        put(dir.filePath(QStringLiteral("images/écran.jpg")), kJpeg);
        put(dir.filePath(QStringLiteral("plan.gif")), "GIF89a");
        put(dir.filePath(QStringLiteral("vide.png")), {});
        put(dir.filePath(QStringLiteral("gros.png")), kPng + QByteArray(1025 * 1024, 'p'));
        const QByteArray data = kHeader + lines + line(QStringLiteral("question;1;1;B0;qcm;0;Où ?;Ici;1;Là;0")) +
                                line(QStringLiteral("question;2;1;BR;ordre;0;Classez.;Un;1;Deux;2"));
        const ParseResult r = parseTestSource(data, QStringLiteral("s.csv"), dir.path());
        if (!r.ok()) {
            QCOMPARE(r.errors, expected);
            return;
        }
        QStringList pictures;
        for (const SourcePicture& p : r.source.pictures) {
            pictures
                << QStringLiteral("%1 %2 %3 %4").arg(p.numero).arg(p.place).arg(p.image.nom).arg(p.image.octets.size());
        }
        QCOMPARE(pictures, expected);
        const kelvane::data::Test test = toTest(r.source, QStringLiteral("s.mdb"));
        QCOMPARE(kelvane::data::nombreImages(test.images), 3);
        QCOMPARE(kelvane::data::trouverImage(test.images, 2, 2)->octets, kJpeg);
        QVERIFY(summary(test, QStringLiteral("s.mdb")).endsWith(QStringLiteral("70 %, 3 images")));

        // Read from memory, nothing is read from the disk.
        QCOMPARE(parseTestSource(data, QStringLiteral("s.csv")).errors.first(),
                 QStringLiteral("s.csv, ligne 4 : image « vat.png » : aucun dossier où la lire"));
    }

    void theReadmeExampleBuildsAndShowsThePictures() {
        // The example of the README, copied as it is, is a test; its first question is the one shown with the
        // three pictures, its answers in the order of the pictures.
        QFile readme(QStringLiteral(KELVANE_README));
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(readme.readAll());
        const auto block = [&](const QString& after) {
            const qsizetype start = text.indexOf(u"```\n", text.indexOf(after)) + 4;
            return text.mid(start, text.indexOf(u"```", start) - start);
        };
        QVERIFY2(!block(QStringLiteral("The lines are:")).contains(u'#'), "the format shows no comment after a field");
        const ParseResult r =
            parseTestSource(block(QStringLiteral("Example (a complete source")).toUtf8(), QStringLiteral("README.md"));
        QVERIFY2(r.ok(), qPrintable(r.errors.join(u'\n')));
        const SourceQuestion& q = r.source.questions.at(0);
        QCOMPARE(q.text, QStringLiteral("A quel sigle se reconnait un outil électrique de classe II?"));
        QVERIFY(text.contains(u'`' + q.text + u'`'));
        QCOMPARE(q.answers.at(0).text, QStringLiteral("Un symbole de condensateur"));
        QCOMPARE(q.answers.at(2).text, QStringLiteral("Un double carré"));
    }

    void exportedSourceReadsAsTheSameTest() {
        // Quotes, ';', '#', accents, blanks at the ends and both kinds of question come back as they were.
        const QByteArray data = kHeader + line(QStringLiteral("chapitre;2;\"Salle # 2 « été »\"")) +
                                line(QStringLiteral("question;2;2;B1 BC;ordre;30;\" Classez \"\"ça\"\" ; vite \";Un;2;"
                                                    "Deux;1")) +
                                line(QStringLiteral("question;1;1;BR;qcm;5;Où ?;\"Là;ici\";1;#non;0"));
        const ParseResult r = parseTestSource(data, QStringLiteral("a.csv"));
        QVERIFY2(r.ok(), qPrintable(r.errors.join(u'\n')));
        const kelvane::data::Test test = toTest(r.source, QStringLiteral("a.mdb"));
        QStringList errors;
        const QByteArray source = exportSource(test, errors);
        QCOMPARE(errors, QStringList());
        const ParseResult again = parseTestSource(source, QStringLiteral("b.csv"));
        QVERIFY2(again.ok(), qPrintable(again.errors.join(u'\n') + u'\n' + QString::fromUtf8(source)));
        const kelvane::data::Test back = toTest(again.source, QStringLiteral("a.mdb"));
        QCOMPARE(back.temps, test.temps);
        QCOMPARE(back.chapitres.size(), test.chapitres.size());
        QCOMPARE(back.chapitres[1].nom, test.chapitres[1].nom);
        QCOMPARE(back.questions, test.questions);
        QCOMPARE(summary(back, QStringLiteral("a.mdb")),
                 QStringLiteral("a.mdb : 2 questions, 2 chapitres, 600 s, 70 %"));

        kelvane::data::Test broken = test;
        broken.questions[0][kelvane::data::champ::R1] = QStringLiteral("sur\ndeux lignes");
        exportSource(broken, errors);
        QCOMPARE(errors, QStringList{QStringLiteral("a.mdb : question 1, réponse 1 : texte sur plusieurs lignes, "
                                                    "qu'une source ne peut pas tenir")});
    }

    // The export the workbench and kelvane-outil share: the source written whole, or the target left as it was.
    void exportsATestFile_data() {
        QTest::addColumn<Fabrique>("make");
        QTest::addColumn<QString>("target"); // in the test's folder, which holds old.csv
        QTest::addColumn<QString>("fault");  // the one fault, or empty
        QTest::addColumn<bool>("written");

        const Fabrique good = [](const QString& p) { kelvane::data::ecrireTest(twoQuestions(), p); };
        const Fabrique twoLines = [](const QString& p) {
            kelvane::data::Test t = twoQuestions();
            t.questions[1][kelvane::data::champ::Question] = QStringLiteral("sur\ndeux lignes");
            kelvane::data::ecrireTest(t, p);
        };
        const Fabrique settings = [](const QString& p) { kelvane::data::ecrireParametres(p, {}); };
        QTest::newRow("written") << good << "back.csv" << QString() << true;
        QTest::newRow("over an old source") << good << "old.csv" << QString() << true;
        QTest::newRow("a text on two lines") << twoLines << "old.csv"
                                             << "B1V.mdb : question 2 : texte sur plusieurs lignes" << false;
        QTest::newRow("not a test") << settings << "old.csv"
                                    << "B1V.mdb : La base B1V.mdb n'est pas un test d'habilitation électrique" << false;
        QTest::newRow("folder missing") << good << "absent/back.csv" << QString() << false;
    }

    void exportsATestFile() {
        QFETCH(Fabrique, make);
        QFETCH(QString, target);
        QFETCH(QString, fault);
        QFETCH(bool, written);
        QTemporaryDir dir;
        const QString test = dir.filePath(QStringLiteral("B1V.mdb"));
        make(test);
        const QString old = dir.filePath(QStringLiteral("old.csv"));
        QFile f(old);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("ancien") == 6);
        f.close();
        const QString path = dir.filePath(target);

        const TestExport e = exportTestFile(test, path);
        QCOMPARE(e.written(), written);
        QCOMPARE(e.faults.join(u'\n').left(fault.size()), fault);
        QCOMPARE(e.writeFailure.isEmpty(), written || !fault.isEmpty());
        if (written) {
            QStringList errors;
            QCOMPARE(contents(path), exportSource(e.test, errors));
        } else {
            QCOMPARE(contents(old), QByteArray("ancien"));
            QVERIFY(path == old || !QFileInfo::exists(path));
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), written && path != old ? 3 : 2);
    }

    void splitsFields_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("trimmed") << QStringLiteral(" a ; b;c ") << QStringList{"a", "b", "c"};
        QTest::newRow("trailing empties dropped") << QStringLiteral("a;;b;;;") << QStringList{"a", "", "b"};
        QTest::newRow("quoted keeps spaces and ;") << QStringLiteral("\" a;b \";c") << QStringList{" a;b ", "c"};
        QTest::newRow("doubled quote") << QStringLiteral("\"dit \"\"non\"\"\"") << QStringList{"dit \"non\""};
        QTest::newRow("quote inside a field is text")
            << QStringLiteral("l'\"ouvrage\";x") << QStringList{"l'\"ouvrage\"", "x"};
    }

    void splitsFields() {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        QStringList got;
        QVERIFY(splitFields(line, got));
        QCOMPARE(got, fields);
    }
};

QTEST_GUILESS_MAIN(TestMktestSource)
#include "tst_mktest_source.moc"
