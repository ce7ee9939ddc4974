// The demonstration application folder written by the build: every file the program expects, and test files
// that follow the layout.

#include "data/images.h"
#include "images.h"
#include "platform/db/database.h"
#include "source/textsource.h"

#include <QDir>
#include <QImage>
#include <QtTest>
#include <set>

using namespace kelvane;

class TestDemoFolder : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        dir_ = QDir(qEnvironmentVariable("KELVANE_DEMO_DIR"));
        QVERIFY2(dir_.exists(), qPrintable(dir_.path()));
    }

    void holdsTheSettingsFileWithAnEmptyCode() {
        db::Database database =
            db::OpenDatabase(dir_.filePath(QStringLiteral("habilitation.mdb")), db::OpenMode::ReadOnly);
        db::Recordset rs = database.OpenRecordset(QStringLiteral("habilitation"));
        rs.MoveFirst();
        QCOMPARE(rs.RecordCount(), 1);
        QCOMPARE(rs.Fields(QStringLiteral("code")).toString(), QString());
    }

    void holdsTheSymbolPictures() {
        for (const char* name : {"Condo.jpg", "Terre.jpg", "Classe II.jpg"}) {
            const QImage image(dir_.filePath(QStringLiteral("Images/") + QLatin1String(name)));
            QVERIFY2(!image.isNull(), name);
            QCOMPARE(image.width(), mktest::kImageSize);
        }
    }

    void holdsTestFilesOfBothKindsAndAllLevels() {
        const QStringList tests = dir_.entryList({QStringLiteral("*.mdb")}, QDir::Files, QDir::Name);
        QCOMPARE(tests,
                 (QStringList{"B0-Bases.mdb", "B1V-Electricien.mdb", "BR-Intervention.mdb", "habilitation.mdb"}));

        bool classeII = false;
        int pictures = 0;
        std::set<bool> kinds;
        std::set<QString> levels;
        for (const QString& name : tests.mid(0, 3)) {
            db::Database database = db::OpenDatabase(dir_.filePath(name), db::OpenMode::ReadOnly);
            QStringList tables = database.userTables();
            tables.sort();
            if (tables.size() == 4) { // a test with pictures: the two symbols of B1V's question 13
                QCOMPARE(tables.takeLast(), data::kTableImages);
                const data::ImagesTest images = data::lireImages(database);
                pictures += data::nombreImages(images);
                QVERIFY(data::trouverImage(images, 13, 1) && data::trouverImage(images, 13, 3));
            }
            QCOMPARE(tables, (QStringList{"chapitre", "numero", "test"}));

            db::Recordset numero = database.OpenRecordset(QStringLiteral("numero"));
            numero.MoveFirst();
            const int temps = numero.Fields(QStringLiteral("temps")).toInt();
            const int tolerance = numero.Fields(QStringLiteral("tolerance")).toInt();
            QVERIFY2(temps >= 600 && temps <= 900 && tolerance >= 70 && tolerance <= 80, qPrintable(name));

            db::Recordset test = database.OpenRecordset(QStringLiteral("test"));
            QVERIFY2(test.RecordCount() >= 10, qPrintable(name));
            std::set<int> numbers;
            for (test.MoveFirst(); !test.Eof(); test.MoveNext()) {
                numbers.insert(test.Fields(QStringLiteral("numero")).toInt());
                kinds.insert(test.Fields(QStringLiteral("qcm")).toBool());
                for (const QString& level : data::kNiveaux) {
                    if (test.Fields(level).toBool()) {
                        levels.insert(level);
                    }
                }
                if (test.Fields(QStringLiteral("question")).toString() ==
                    u"A quel sigle se reconnait un outil électrique de classe II?") {
                    classeII = true;
                    // Each answer stands beside its picture: the capacitor, the earth, then the double square.
                    const QStringList reponses{test.Fields(QStringLiteral("R1")).toString(),
                                               test.Fields(QStringLiteral("R2")).toString(),
                                               test.Fields(QStringLiteral("R3")).toString()};
                    QCOMPARE(reponses,
                             (QStringList{QStringLiteral("Un symbole de condensateur"),
                                          QStringLiteral("Un symbole de terre"), QStringLiteral("Un double carré")}));
                    QCOMPARE(test.Fields(QStringLiteral("nbrereponse")).toInt(), 3);
                    for (int i = 1; i <= 3; ++i) {
                        QCOMPARE(test.Fields(QStringLiteral("S%1").arg(i)).toInt(), i == 3 ? 1 : 0);
                    }
                }
            }
            QCOMPARE(static_cast<int>(numbers.size()), test.RecordCount());
            QCOMPARE(*numbers.begin(), 1);
            QCOMPARE(*numbers.rbegin(), test.RecordCount());
        }
        QVERIFY(classeII);
        QCOMPARE(pictures, 2);
        QCOMPARE(kinds.size(), 2u);
        QCOMPARE(levels.size(), data::kNiveaux.size());
    }

private:
    QDir dir_;
};

QTEST_GUILESS_MAIN(TestDemoFolder)
#include "tst_demo_folder.moc"
