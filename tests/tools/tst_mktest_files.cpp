// The files kelvane-outil writes: the test file layout read back through the engine, the settings file, the
// pictures, the command line (messages, exit status, nothing written on failure) and a test exported then built
// again.

#include "data/ecriture.h"
#include "data/test.h"
#include "images.h"
#include "platform/db/database.h"
#include "platform/error.h"
#include "source/textsource.h"
#include "support/outil.h"
#include "writer.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace kelvane;
using namespace kelvane::mktest;
using namespace kelvane::source;
using db::FieldType;

namespace {

const QByteArray kSource = "temps;720\n"
                           "tolerance;80\n"
                           "chapitre;3;Consignation\n"
                           "chapitre;1;Le risque électrique\n"
                           "question;2;3;B1 BC;ordre;30;Classez les étapes.;Condamner;2;Séparer;1;Identifier;3\n"
                           "question;1;1;B0 B1 B2 BR BC;qcm;0;Quel est le symbole de la classe II ?;Un double "
                           "carré;1;Un symbole de terre;0\n"
                           "question;3;1;BR;qcm;0;Un BR peut-il consigner pour son compte ?;Oui;1;Non;0;Peut-être;0;"
                           "Jamais;0;Toujours;0\n";

TestSource parsed(const QByteArray& data = kSource) {
    const ParseResult r = parseTestSource(data, QStringLiteral("source.csv"));
    if (!r.ok()) {
        qFatal("%s", qPrintable(r.errors.join(u'\n')));
    }
    return r.source;
}

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

// Runs the tool; returns its exit code and puts its error output in err.
int runTool(const QStringList& args, QString* err = nullptr) {
    const support::SortieOutil s = support::lancerOutil(QStringLiteral(KELVANE_OUTIL), args);
    if (err) {
        *err = s.erreurs;
    }
    return s.code;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every table of a database, its fields and its records, as text.
QStringList dump(const QString& path) {
    QStringList lines;
    db::Database database = db::OpenDatabase(path, db::OpenMode::ReadOnly);
    for (const QString& table : sorted(database.userTables())) {
        db::Recordset rs = database.OpenRecordset(table);
        QStringList fields;
        for (int i = 0; i < rs.FieldCount(); ++i) {
            const db::FieldInfo& f = rs.FieldDef(i);
            fields << QStringLiteral("%1:%2:%3").arg(f.name).arg(static_cast<int>(f.type)).arg(f.size);
        }
        lines << table + u' ' + fields.join(u',');
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
            QStringList values;
            for (int i = 0; i < rs.FieldCount(); ++i) {
                const QVariant v = rs.Fields(i);
                const bool bytes = v.typeId() == QMetaType::QByteArray;
                values << QString::fromLatin1(v.typeName()) + u'=' +
                              (bytes ? QString::fromLatin1(v.toByteArray().toBase64()) : v.toString());
            }
            lines << values.join(u'|');
        }
    }
    return lines;
}

void put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        qFatal("%s", qPrintable(path));
    }
}

QByteArray png(char fill) {
    return QByteArray("\x89PNG\r\n\x1a\n") + QByteArray(20, fill);
}
const QByteArray kJpeg = QByteArray("\xFF\xD8\xFF\xE0") + QByteArray(20, 'j');

// A Moodle bank: a question with its picture, a true or false one, an essay that the test leaves out.
const QByteArray kBank = QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n"
                                    "<question type=\"category\"><category><text>$course$/top/Sécurité</text>"
                                    "</category></question>\n"
                                    "<question type=\"multichoice\"><name><text>Q1</text></name>"
                                    "<questiontext format=\"html\"><text><![CDATA[<p>Quel symbole ?</p>"
                                    "<img src=\"@@PLUGINFILE@@/vat.png\">]]></text>"
                                    "<file name=\"vat.png\" path=\"/\" encoding=\"base64\">") +
                         png('v').toBase64() +
                         "</file></questiontext><answer fraction=\"100\"><text>Le double carré</text></answer>"
                         "<answer fraction=\"0\"><text>La terre</text></answer></question>\n"
                         "<question type=\"truefalse\"><name><text>Q2</text></name><questiontext><text>Le 230 V "
                         "tue ?</text></questiontext><answer fraction=\"100\"><text>true</text></answer>"
                         "<answer fraction=\"0\"><text>false</text></answer></question>\n"
                         "<question type=\"essay\"><name><text>Libre</text></name><questiontext><text>Racontez."
                         "</text></questiontext></question>\n</quiz>\n";

bool dark(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 96;
}
bool light(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) > 160;
}

} // namespace

class TestMktestFiles : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }

    void testFileHasTheExpectedLayoutAndValues() {
        const QString path = dir_->filePath(QStringLiteral("layout.mdb"));
        writeTestDatabase(parsed(), path);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"layout.mdb"});

        db::Database database = db::OpenDatabase(path, db::OpenMode::ReadOnly);
        QCOMPARE(sorted(database.userTables()), (QStringList{"chapitre", "numero", "test"}));

        db::Recordset numero = database.OpenRecordset(QStringLiteral("numero"));
        numero.MoveFirst();
        QCOMPARE(numero.RecordCount(), 1);
        QCOMPARE(numero.FieldDef(0).name, QStringLiteral("temps"));
        QCOMPARE(numero.FieldDef(1).type, FieldType::Integer);
        QCOMPARE(numero.Fields(QStringLiteral("temps")).toInt(), 720);
        QCOMPARE(numero.Fields(QStringLiteral("tolerance")).toInt(), 80);

        db::Recordset chapitre = database.OpenRecordset(QStringLiteral("chapitre"));
        chapitre.MoveFirst();
        QCOMPARE(chapitre.FieldCount(), 2);
        QCOMPARE(chapitre.FieldDef(0).name, QStringLiteral("nom"));
        QCOMPARE(chapitre.FieldDef(0).type, FieldType::Text);
        QCOMPARE(chapitre.FieldDef(0).size, 80);
        QCOMPARE(chapitre.FieldDef(1).type, FieldType::Integer);
        QCOMPARE(chapitre.RecordCount(), 2);
        QCOMPARE(chapitre.Fields(1).toInt(), 3); // source order
        chapitre.MoveNext();
        QCOMPARE(chapitre.Fields(QStringLiteral("nom")).toString(), QStringLiteral("Le risque électrique"));

        db::Recordset test = database.OpenRecordset(QStringLiteral("test"));
        test.MoveFirst();
        const QStringList names{"B0", "B1", "B2", "BR",    "BC",  "question", "nbrereponse",
                                "R1", "R2", "R3", "R4",    "R5",  "S1",       "S2",
                                "S3", "S4", "S5", "temps", "qcm", "chapitre", "numero"};
        QCOMPARE(test.FieldCount(), names.size());
        for (int i = 0; i < test.FieldCount(); ++i) {
            const db::FieldInfo& f = test.FieldDef(i);
            QCOMPARE(f.name, names[i]);
            const FieldType type = i < 5 || names[i] == u"qcm"                            ? FieldType::Boolean
                                   : names[i] == u"question" || names[i].startsWith(u'R') ? FieldType::Text
                                                                                          : FieldType::Integer;
            QCOMPARE(f.type, type);
            if (type == FieldType::Text) {
                QCOMPARE(f.size, names[i] == u"question" ? 200 : 100);
            }
        }

        QCOMPARE(test.RecordCount(), 3);
        // First record: the ordering question, answers and ranks in the source's order, empty slots beyond.
        QCOMPARE(test.Fields(QStringLiteral("numero")).toInt(), 2);
        QCOMPARE(test.Fields(QStringLiteral("B0")).toBool(), false);
        QCOMPARE(test.Fields(QStringLiteral("B1")).toBool(), true);
        QCOMPARE(test.Fields(QStringLiteral("BC")).toBool(), true);
        QCOMPARE(test.Fields(QStringLiteral("qcm")).toBool(), false);
        QCOMPARE(test.Fields(QStringLiteral("nbrereponse")).toInt(), 3);
        QCOMPARE(test.Fields(QStringLiteral("temps")).toInt(), 30);
        QCOMPARE(test.Fields(QStringLiteral("chapitre")).toInt(), 3);
        QCOMPARE(test.Fields(QStringLiteral("R2")).toString(), QStringLiteral("Séparer"));
        QCOMPARE(test.Fields(QStringLiteral("S1")).toInt(), 2);
        QCOMPARE(test.Fields(QStringLiteral("S2")).toInt(), 1);
        const QVariant r4 = test.Fields(QStringLiteral("R4"));
        QVERIFY2(r4.isValid() && r4.toString().isEmpty(), "an unused answer is the empty text, not null");
        QCOMPARE(test.Fields(QStringLiteral("S5")).toInt(), 0);

        test.MoveNext();
        QCOMPARE(test.Fields(QStringLiteral("numero")).toInt(), 1);
        QCOMPARE(test.Fields(QStringLiteral("question")).toString(),
                 QStringLiteral("Quel est le symbole de la classe II ?"));
        QCOMPARE(test.Fields(QStringLiteral("qcm")).toBool(), true);
        QCOMPARE(test.Fields(QStringLiteral("BR")).toBool(), true);

        test.MoveNext();
        QCOMPARE(test.Fields(QStringLiteral("nbrereponse")).toInt(), 5);
        QCOMPARE(test.Fields(QStringLiteral("R5")).toString(), QStringLiteral("Toujours"));
        QCOMPARE(test.Fields(QStringLiteral("B0")).toBool(), false);
    }

    void rebuildingReplacesTheOutput() {
        const QString path = dir_->filePath(QStringLiteral("again.mdb"));
        writeTestDatabase(parsed(), path);
        TestSource smaller = parsed();
        smaller.questions.resize(1);
        smaller.questions[0].numero = 1;
        writeTestDatabase(smaller, path);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"again.mdb"});
        db::Database database = db::OpenDatabase(path, db::OpenMode::ReadOnly);
        QCOMPARE(database.OpenRecordset(QStringLiteral("test")).RecordCount(), 1);
    }

    void aFailedWriteLeavesNothing() {
        // A text the engine refuses (over its field size) fails the write half way through the records.
        TestSource bad = parsed();
        bad.questions[2].answers[0].text = QString(101, u'x');
        const QString path = dir_->filePath(QStringLiteral("half.mdb"));
        QVERIFY_THROWS_EXCEPTION(Error, writeTestDatabase(bad, path));
        QVERIFY(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden).isEmpty());

        QVERIFY_THROWS_EXCEPTION(Error, writeTestDatabase(parsed(), dir_->filePath(QStringLiteral("absent/x.mdb"))));
    }

    void settingsFileHoldsTheCode() {
        for (const QString& code : {QString(), QStringLiteral("Atelier-2024")}) {
            const QString path = dir_->filePath(QStringLiteral("habilitation.mdb"));
            writeSettingsDatabase(path, code);
            db::Database database = db::OpenDatabase(path, db::OpenMode::ReadOnly);
            QCOMPARE(database.userTables(), QStringList{"habilitation"});
            db::Recordset rs = database.OpenRecordset(QStringLiteral("habilitation"));
            rs.MoveFirst();
            QCOMPARE(rs.FieldCount(), 1);
            QCOMPARE(rs.FieldDef(0).name, QStringLiteral("code"));
            QCOMPARE(rs.FieldDef(0).type, FieldType::Text);
            QCOMPARE(rs.FieldDef(0).size, 20);
            QCOMPARE(rs.RecordCount(), 1);
            const QVariant value = rs.Fields(0);
            QVERIFY(value.isValid());
            QCOMPARE(value.toString(), code.isNull() ? QStringLiteral("") : code);
        }
        const QString tooLong = dir_->filePath(QStringLiteral("long.mdb"));
        QVERIFY_THROWS_EXCEPTION(Error, writeSettingsDatabase(tooLong, QString(21, u'x')));
        QVERIFY(!QFile::exists(tooLong));
    }

    void imagesAreTheSymbolsAndStable() {
        QCOMPARE(writeImages(dir_->filePath(QStringLiteral("a"))), QStringList());
        QCOMPARE(writeImages(dir_->filePath(QStringLiteral("b"))), QStringList());
        for (Symbol s : {Symbol::Condo, Symbol::Terre, Symbol::ClasseII}) {
            const QString name = symbolFileName(s);
            const QByteArray bytes = contents(dir_->filePath(QStringLiteral("a/") + name));
            QVERIFY2(bytes.startsWith("\xFF\xD8"), qPrintable(name)); // a JPEG
            QCOMPARE(contents(dir_->filePath(QStringLiteral("b/") + name)), bytes);
        }

        const QImage condo(dir_->filePath(QStringLiteral("a/Condo.jpg")));
        QCOMPARE(condo.size(), QSize(kImageSize, kImageSize));
        QVERIFY(dark(condo, 10, 48) && dark(condo, 85, 48));   // leads
        QVERIFY(dark(condo, 40, 25) && dark(condo, 56, 70));   // plates
        QVERIFY(light(condo, 48, 48) && light(condo, 20, 25)); // the gap, and off the symbol

        const QImage terre(dir_->filePath(QStringLiteral("a/Terre.jpg")));
        QVERIFY(dark(terre, 48, 20));                         // the conductor
        QVERIFY(dark(terre, 20, 51) && !dark(terre, 20, 65)); // the longest bar is the top one
        QVERIFY(dark(terre, 32, 65) && !dark(terre, 32, 79));
        QVERIFY(dark(terre, 44, 79) && light(terre, 48, 90));

        const QImage classe2(dir_->filePath(QStringLiteral("a/Classe II.jpg")));
        QVERIFY(dark(classe2, 14, 48) && dark(classe2, 30, 48) && dark(classe2, 48, 14) && dark(classe2, 48, 66));
        QVERIFY(light(classe2, 22, 48) && light(classe2, 48, 48) && light(classe2, 4, 4));
    }

    void commandLine_data() {
        // Arguments with "@" for the test's folder. The folder holds good.csv (kSource), bad.csv (a question without
        // answer on line 8), built.mdb (built from kSource), the banks bank.xml (kBank), broken.xml (malformed on
        // line 2) and essay.gift (an essay question only).
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output"); // on the standard output when done, on the error output otherwise
        const QString outil = QStringLiteral(KELVANE_OUTIL);
        QTest::newRow("help") << outil << QStringList{"--help"} << 0 << "kelvane-outil importer BANQUE TEST.mdb";
        QTest::newRow("version") << outil << QStringList{"--version"} << 0
                                 << QStringLiteral("kelvane-outil " KELVANE_VERSION_PROJET "\n");
        QTest::newRow("no command") << outil << QStringList{} << 1 << "Utilisation :";
        QTest::newRow("unknown command") << outil << QStringList{"compile"} << 1
                                         << "kelvane-outil : commande « compile » inconnue.";
        QTest::newRow("missing argument") << outil << QStringList{"test", "@/good.csv"} << 1
                                          << "nombre d'arguments incorrect (attendu : kelvane-outil test SOURCE.csv";
        QTest::newRow("test built and told") << outil << QStringList{"test", "@/good.csv", "@/B1V.mdb"} << 0
                                             << "B1V.mdb : 3 questions, 2 chapitres, 720 s, 80 %";
        QTest::newRow(".MDB in capitals") << outil << QStringList{"test", "@/good.csv", "@/B1V.MDB"} << 0 << "B1V.MDB";
        QTest::newRow("output not .mdb") << outil << QStringList{"test", "@/good.csv", "@/B1V.csv"} << 1
                                         << "B1V.csv : le nom doit finir par .mdb";
        QTest::newRow("missing folder") << outil << QStringList{"test", "@/good.csv", "@/absent/x.mdb"} << 1
                                        << "x.mdb : le dossier « @/absent » n'existe pas";
        QTest::newRow("bad source keeps the old test")
            << outil << QStringList{"test", "@/bad.csv", "@/built.mdb"} << 1 << "bad.csv, ligne 8 : aucune réponse";
        QTest::newRow("missing source") << outil << QStringList{"test", "@/absent.csv", "@/x.mdb"} << 1
                                        << "absent.csv : impossible de lire le fichier";
        QTest::newRow("export") << outil << QStringList{"exporter", "@/built.mdb", "@/back.csv"} << 0
                                << "back.csv : 3 questions, 2 chapitres, 720 s, 80 %";
        QTest::newRow("export of a source")
            << outil << QStringList{"exporter", "@/good.csv", "@/back.csv"} << 1 << "good.csv : ";
        QTest::newRow("export over a test") << outil << QStringList{"exporter", "@/built.mdb", "@/copy.mdb"} << 1
                                            << "copy.mdb : une source ne finit pas par .mdb";
        QTest::newRow("export into a missing folder")
            << outil << QStringList{"exporter", "@/built.mdb", "@/absent/back.csv"} << 1
            << "back.csv : le dossier « @/absent » n'existe pas";
        QTest::newRow("export to Moodle XML") << outil << QStringList{"exporter", "@/built.mdb", "@/b.xml"} << 0
                                              << "b.xml : 3 questions, 2 chapitres, 720 s, 80 %";
        QTest::newRow("export to GIFT") << outil << QStringList{"exporter", "@/built.mdb", "@/b.GIFT"} << 0
                                        << "b.GIFT : 3 questions";
        QTest::newRow("import of a bank") << outil << QStringList{"importer", "@/bank.xml", "@/B.mdb"} << 0
                                          << "B.mdb : 2 questions, 1 chapitre, 120 s, 70 %, 1 image";
        QTest::newRow("import of a malformed bank")
            << outil << QStringList{"importer", "@/broken.xml", "@/B.mdb"} << 1 << "broken.xml, ligne 2";
        QTest::newRow("import of a bank without a question kept")
            << outil << QStringList{"importer", "@/essay.gift", "@/B.mdb"} << 1
            << "essay.gift : aucune question que Kelvane puisse reprendre";
        QTest::newRow("import over a test") << outil << QStringList{"importer", "@/bank.xml", "@/built.mdb"} << 1
                                            << "built.mdb existe déjà : il n'est pas remplacé";
        QTest::newRow("import into a name not .mdb")
            << outil << QStringList{"importer", "@/bank.xml", "@/B.xml"} << 1 << "B.xml : le nom doit finir par .mdb";
        QTest::newRow("settings") << outil << QStringList{"reglages", "@/h.mdb", "Atelier"} << 0
                                  << "h.mdb : réglages, code « Atelier »";
        QTest::newRow("code too long") << outil << QStringList{"reglages", "@/h.mdb", QString(21, u'x')} << 1
                                       << "h.mdb : code trop long : 21 caractères, 20 au plus";
        QTest::newRow("settings not .mdb")
            << outil << QStringList{"reglages", "@/h.txt"} << 1 << "h.txt : le nom doit finir par .mdb";
        QTest::newRow("images") << outil << QStringList{"images", "@/Images"} << 0 << "Condo.jpg, Terre.jpg";
        const QString mktest = QStringLiteral(KELVANE_MKTEST);
        QTest::newRow("alias: test") << mktest << QStringList{"test", "@/good.csv", "@/m.mdb"} << 0 << "m.mdb : 3";
        QTest::newRow("alias: settings") << mktest << QStringList{"settings", "@/h.mdb"} << 0 << "code vide";
        QTest::newRow("alias: help") << mktest << QStringList{"-h"} << 0 << "kelvane-mktest test SOURCE.csv";
    }

    void commandLine() {
        QFETCH(QString, program);
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, output);
        QDir dir(dir_->path());
        const auto write = [&](const char* name, const QByteArray& data) {
            QFile f(dir.filePath(QLatin1String(name)));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(data) == data.size());
        };
        write("good.csv", kSource);
        write("bad.csv", kSource + "question;4;1;B0;qcm;0;Sans réponse\n");
        write("bank.xml", kBank);
        write("broken.xml", "<quiz>\n<question type=\"multichoice\"></quiz>\n");
        write("essay.gift", "::Libre::Racontez. {}\n");
        writeTestDatabase(parsed(), dir.filePath(QStringLiteral("built.mdb")));
        const auto snapshot = [&] {
            QStringList files;
            for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot)) {
                files << name + u' ' + QString::fromLatin1(contents(dir.filePath(name)).toBase64());
            }
            return files;
        };
        const QStringList before = snapshot();

        for (QString& a : args) {
            a.replace(u'@', dir_->path());
        }
        QProcess p;
        p.start(program, args);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), status);
        // Windows writes CR LF and may name the folder with its own separator.
        const QString out = QDir::fromNativeSeparators(
            QString::fromUtf8(status == 0 ? p.readAllStandardOutput() : p.readAllStandardError())
                .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QVERIFY2(out.contains(QString(output).replace(u'@', dir_->path())), qPrintable(out));
        if (status != 0) {
            QCOMPARE(snapshot(), before); // nothing written, nothing left behind
        } else if (args.size() > 1) {
            QVERIFY(QFileInfo::exists(args.last()) || QFileInfo::exists(args[1]));
        }
    }

    void exportThenBuildGivesTheSameFile_data() {
        QTest::addColumn<QString>("test");
        const QDir demo(qEnvironmentVariable("KELVANE_DEMO_DIR"));
        for (const char* name : {"B0-Bases.mdb", "B1V-Electricien.mdb", "BR-Intervention.mdb"}) {
            QTest::newRow(name) << demo.filePath(QLatin1String(name));
        }
        QTest::newRow("quotes, ; and accents") << QString();
    }

    void exportThenBuildGivesTheSameFile() {
        QFETCH(QString, test);
        if (test.isEmpty()) {
            test = dir_->filePath(QStringLiteral("guillemets.mdb"));
            writeTestDatabase(parsed(kSource +
                                     "chapitre;2;\"Salle # 2 « été »\"\n"
                                     "question;4;2;B2;qcm;0;\"L'\"\"ouvrage\"\" ; déjà là ?\";\" Oui \";1;\"#\";0\n"),
                              test);
        }
        const QString source = dir_->filePath(QStringLiteral("source.csv"));
        const QString again = dir_->filePath(QStringLiteral("again.mdb"));
        QString err;
        QCOMPARE(runTool({QStringLiteral("exporter"), test, source}, &err), 0);
        QCOMPARE(runTool({QStringLiteral("test"), source, again}, &err), 0);
        QVERIFY2(err.isEmpty(), qPrintable(err));
        QCOMPARE(dump(again), dump(test));
    }

    void exportWritesThePicturesBesideTheSource() {
        // Two pictures of one stored name and different bytes, names that no file may take as they are, and a folder
        // that already holds a different schéma.png and the same vat.jpg.
        data::Test pictured = toTest(parsed(), QStringLiteral("images.mdb"));
        pictured.images[1].question = data::Image{QStringLiteral("schéma.png"), png('a')};
        pictured.images[1].reponses[0] = data::Image{QStringLiteral("schéma.png"), png('b')};
        pictured.images[2].reponses[0] = data::Image{QStringLiteral("plans/B:1.png"), png('c')};
        pictured.images[2].reponses[1] = data::Image{QStringLiteral("../.png"), png('d')};
        pictured.images[3].question = data::Image{QStringLiteral("vat.jpg"), kJpeg};
        pictured.images[3].reponses[4] = data::Image{QStringLiteral("CON.png"), png('e')};
        QDir dir(dir_->path());
        const QString test = dir.filePath(QStringLiteral("images.mdb"));
        data::ecrireTest(pictured, test);
        put(dir.filePath(QStringLiteral("schéma.png")), png('z'));
        put(dir.filePath(QStringLiteral("vat.jpg")), kJpeg);
        QVERIFY(dir.mkdir(QStringLiteral("dossier.csv")));
        const auto files = [&] {
            return dir.entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot);
        };

        // A source that cannot be written leaves no picture behind.
        const QStringList before = files();
        const TestExport refused = exportTestFile(test, dir.filePath(QStringLiteral("dossier.csv")));
        QVERIFY(!refused.writeFailure.isEmpty());
        QCOMPARE(refused.failedFile, dir.filePath(QStringLiteral("dossier.csv")));
        QCOMPARE(files(), before);

        QString err;
        QCOMPARE(runTool({QStringLiteral("exporter"), test, dir.filePath(QStringLiteral("source.csv"))}, &err), 0);
        const QStringList written{"image question 2 réponse 2.png",
                                  "image question 3 réponse 5.png",
                                  "plans_B_1.png",
                                  "schéma (2).png",
                                  "schéma (3).png",
                                  "source.csv"};
        QCOMPARE(sorted(files()), sorted(before + written));
        QCOMPARE(contents(dir.filePath(QStringLiteral("schéma.png"))), png('z'));
        QCOMPARE(contents(dir.filePath(QStringLiteral("schéma (2).png"))), png('a'));
        QCOMPARE(contents(dir.filePath(QStringLiteral("schéma (3).png"))), png('b'));
        QVERIFY(contents(dir.filePath(QStringLiteral("source.csv")))
                    .contains("image;3;question;vat.jpg\nimage;3;5;image question 3 réponse 5.png;CON.png\n"));

        // Exported again, every picture is already there; built again, the same file.
        QCOMPARE(runTool({QStringLiteral("exporter"), test, dir.filePath(QStringLiteral("again.csv"))}, &err), 0);
        QCOMPARE(files().size(), before.size() + written.size() + 1);
        const QString again = dir.filePath(QStringLiteral("again.mdb"));
        QCOMPARE(runTool({QStringLiteral("test"), dir.filePath(QStringLiteral("again.csv")), again}, &err), 0);
        QVERIFY2(err.isEmpty(), qPrintable(err));
        QCOMPARE(dump(again), dump(test));
    }

    void banksInAndOut() {
        QDir dir(dir_->path());
        QString err;
        // A Moodle bank gives a test holding its picture; what it leaves out is said on the error output.
        put(dir.filePath(QStringLiteral("bank.xml")), kBank);
        const QString fromBank = dir.filePath(QStringLiteral("banque.mdb"));
        QCOMPARE(runTool({QStringLiteral("importer"), dir.filePath(QStringLiteral("bank.xml")), fromBank}, &err), 0);
        QVERIFY2(err.startsWith(QStringLiteral("bank.xml, ligne 6, « Libre » : ")), qPrintable(err));
        const auto read = data::lireTest(fromBank);
        const data::Test& bank = std::get<data::Test>(read);
        QCOMPARE(bank.questions.size(), 2u);
        QCOMPARE(*data::trouverImage(bank.images, 1, 0), (data::Image{QStringLiteral("vat.png"), png('v')}));

        // A test as a bank gives it (a minute a question, 70 %, no time per question, chapters numbered in order)
        // comes back the same from Moodle XML, pictures included.
        data::Test test = toTest(parsed("temps;120\ntolerance;70\nchapitre;1;Le risque électrique\n"
                                        "chapitre;2;Consignation\n"
                                        "question;1;1;B0 BR;qcm;0;Le symbole ?;Le double carré;1;La terre;0\n"
                                        "question;2;2;B1 BC;ordre;0;Classez.;Séparer;2;Identifier;1;Condamner;3\n"),
                                 QStringLiteral("t.mdb"));
        test.images[1].question = data::Image{QStringLiteral("vat.png"), png('q')};
        test.images[2].reponses[2] = data::Image{QStringLiteral("cadenas.jpg"), kJpeg};
        const QString original = dir.filePath(QStringLiteral("t.mdb"));
        data::ecrireTest(test, original);
        const QString xml = dir.filePath(QStringLiteral("t.xml"));
        const QString back = dir.filePath(QStringLiteral("back.mdb"));
        QCOMPARE(runTool({QStringLiteral("exporter"), original, xml}, &err), 0);
        QCOMPARE(runTool({QStringLiteral("importer"), xml, back}, &err), 0);
        QCOMPARE(dump(back), dump(original));

        // GIFT leaves the pictures behind, and says so.
        QCOMPARE(runTool({QStringLiteral("exporter"), original, dir.filePath(QStringLiteral("t.gift"))}, &err), 0);
        QVERIFY2(err.startsWith(QStringLiteral("t.gift : 2 images non reprises")), qPrintable(err));
    }

private:
    std::unique_ptr<QTemporaryDir> dir_; // a fresh folder for each test
};

QTEST_GUILESS_MAIN(TestMktestFiles)
#include "tst_mktest_files.moc"
