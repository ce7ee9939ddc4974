// The files kelvane-mktest writes: the test file layout read back through the engine, the settings file,
// the pictures, and the command line (messages, exit status, nothing left behind on failure).

#include "images.h"
#include "platform/db/database.h"
#include "platform/error.h"
#include "source.h"
#include "writer.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace kelvane;
using namespace kelvane::mktest;
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
    QProcess p;
    p.start(QStringLiteral(KELVANE_MKTEST), args);
    if (!p.waitForFinished(60000)) {
        return -1;
    }
    if (err) {
        *err = QString::fromUtf8(p.readAllStandardError());
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

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

    void commandLine() {
        const QString source = dir_->filePath(QStringLiteral("bon.csv"));
        QFile f(source);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(kSource);
        f.close();
        const QString output = dir_->filePath(QStringLiteral("sortie.mdb"));
        QString err;
        QCOMPARE(runTool({QStringLiteral("test"), source, output}, &err), 0);
        QVERIFY2(err.isEmpty(), qPrintable(err));
        const QByteArray good = contents(output);
        QVERIFY(!good.isEmpty());

        // A bad source: French message with file and line, status 1, the previous output untouched.
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(kSource + "question;4;1;B0;qcm;0;Sans réponse\n");
        f.close();
        QCOMPARE(runTool({QStringLiteral("test"), source, output}, &err), 1);
        QVERIFY2(err.contains(QStringLiteral("bon.csv, ligne 8 : aucune réponse")), qPrintable(err));
        QCOMPARE(contents(output), good);
        const QString fresh = dir_->filePath(QStringLiteral("neuf.mdb"));
        QCOMPARE(runTool({QStringLiteral("test"), source, fresh}, &err), 1);
        QVERIFY(!QFile::exists(fresh));

        QCOMPARE(runTool({QStringLiteral("settings"), dir_->filePath(QStringLiteral("h.mdb"))}), 0);
        QCOMPARE(
            runTool({QStringLiteral("settings"), dir_->filePath(QStringLiteral("h2.mdb")), QString(21, u'x')}, &err),
            1);
        QVERIFY2(err.contains(QStringLiteral("Erreur 3163")), qPrintable(err));
        QCOMPARE(runTool({QStringLiteral("test"), source}, &err), 2);
        QVERIFY(err.contains(QStringLiteral("Utilisation")));
        QCOMPARE(QDir(dir_->path()).entryList({QStringLiteral("*.tmp")}, QDir::Files | QDir::Hidden), QStringList());
    }

private:
    std::unique_ptr<QTemporaryDir> dir_; // a fresh folder for each test
};

QTEST_GUILESS_MAIN(TestMktestFiles)
#include "tst_mktest_files.moc"
