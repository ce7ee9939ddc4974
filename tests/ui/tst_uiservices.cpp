#include "platform/error.h"
#include "platform/services/clock.h"
#include "platform/services/files.h"
#include "platform/services/random.h"
#include "platform/services/timer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <array>
#include <vector>

using namespace kelvane;
using namespace kelvane::services;
using namespace Qt::StringLiterals;

class TestUiServices : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void shortDateIgnoresTheLocale_data();
    void shortDateIgnoresTheLocale();

    void randomCoversItsPeriodBelowOne();
    void randomRepeatsAtEachStart();

    void systemTimerTicksOnlyWhenRunning_data();
    void systemTimerTicksOnlyWhenRunning();

    void joinPath_data();
    void joinPath();

    void listDatabases_data();
    void listDatabases();
    void makeFolder_data();
    void makeFolder();
    void setCurrentFolderFailure_data();
    void setCurrentFolderFailure();
    void currentFolderAndFileExists();
    void drivesPutRootFirst();
    void driveOfPicksTheDeepestVolume();
    void setCurrentDriveKeepsEachDrivesFolder();

private:
    QString startFolder_;
};

void TestUiServices::initTestCase() {
    startFolder_ = QDir::currentPath();
}

void TestUiServices::cleanup() {
    QDir::setCurrent(startFolder_);
    QLocale::setDefault(QLocale::system());
}

void TestUiServices::shortDateIgnoresTheLocale_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("text");

    const QDate sixDec(2001, 12, 6);
    QTest::newRow("english") << QLocale(QLocale::English) << sixDec << "06/12/01";
    QTest::newRow("us, month first") << QLocale(QLocale::English, QLocale::UnitedStates) << sixDec << "06/12/01";
    QTest::newRow("german dots") << QLocale(QLocale::German) << sixDec << "06/12/01";
    QTest::newRow("arabic digits") << QLocale(QLocale::Arabic, QLocale::Egypt) << sixDec << "06/12/01";
    QTest::newRow("french") << QLocale(QLocale::French) << sixDec << "06/12/01";
    QTest::newRow("century turn") << QLocale(QLocale::English) << QDate(2000, 1, 1) << "01/01/00";
    QTest::newRow("last century") << QLocale(QLocale::English) << QDate(1999, 12, 31) << "31/12/99";
    QTest::newRow("invalid date") << QLocale(QLocale::English) << QDate() << "";
}

void TestUiServices::shortDateIgnoresTheLocale() {
    QFETCH(QLocale, locale);
    QFETCH(QDate, date);
    QFETCH(QString, text);
    QLocale::setDefault(locale);
    QCOMPARE(shortDate(date), text);
}

void TestUiServices::randomCoversItsPeriodBelowOne() {
    // The draws pick questions by index (Int(Rnd * n)): a single 1.0 would index past the end. Walking the whole
    // period checks every value the generator can ever give.
    SystemRandom r;
    constexpr int period = 1 << 24;
    std::vector<unsigned char> seen(period, 0);
    unsigned char* const hits = seen.data();
    int outside = 0;
    for (int i = 0; i < period; ++i) {
        const float v = r.next();
        const double slot = static_cast<double>(v) * period; // exact: 24 bits fit a float
        if (slot < 0.0 || slot >= period) {
            ++outside;
        } else {
            hits[static_cast<int>(slot)] = 1;
        }
    }
    QCOMPARE(outside, 0);
    QCOMPARE(std::count(seen.begin(), seen.end(), 1), period); // each value once per period: none is favoured
}

void TestUiServices::randomRepeatsAtEachStart() {
    SystemRandom a;
    SystemRandom b;
    std::vector<float> first;
    for (int i = 0; i < 1000; ++i) {
        first.push_back(a.next());
        QCOMPARE(b.next(), first.back());
    }
    // Spread over the interval: each tenth gets some of the draws.
    std::array<int, 10> buckets{};
    for (float v : first) {
        ++buckets.at(static_cast<std::size_t>(v * 10.0F));
    }
    for (int count : buckets) {
        QVERIFY2(count > 50, "draws are not spread over [0, 1)");
    }
}

void TestUiServices::systemTimerTicksOnlyWhenRunning_data() {
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("ticks");
    QTest::newRow("enabled") << 10 << true << true;
    QTest::newRow("disabled") << 10 << false << false;
    QTest::newRow("interval zero") << 0 << true << false;
}

void TestUiServices::systemTimerTicksOnlyWhenRunning() {
    QFETCH(int, interval);
    QFETCH(bool, enabled);
    QFETCH(bool, ticks);
    SystemTimerFactory factory;
    QObject owner;
    Timer* timer = factory.createTimer(&owner);
    QCOMPARE(timer->parent(), &owner);
    timer->setEnabled(enabled);
    timer->setInterval(interval);
    QSignalSpy spy(timer, &Timer::tick);
    QCOMPARE(spy.wait(ticks ? 5000 : 150), ticks);
    if (ticks) { // disabled after ticking: no more ticks
        timer->setEnabled(false);
        spy.clear();
        QTest::qWait(60);
        QCOMPARE(spy.count(), 0);
    }
}

void TestUiServices::joinPath_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    QTest::newRow("root") << u"/"_s << u"test.mdb"_s << u"/test.mdb"_s;
    QTest::newRow("folder") << u"/home/prof"_s << u"test.mdb"_s << u"/home/prof/test.mdb"_s;
    QTest::newRow("trailing separator") << u"/home/prof/"_s << u"test.mdb"_s << u"/home/prof/test.mdb"_s;
    QTest::newRow("no folder") << u""_s << u"test.mdb"_s << u"test.mdb"_s;
    QTest::newRow("name with spaces") << u"/mnt/cle usb"_s << u"mon test.mdb"_s << u"/mnt/cle usb/mon test.mdb"_s;
}

void TestUiServices::joinPath() {
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, path);
    // Folders are written with the system's own separator.
    QCOMPARE(services::joinPath(QDir::toNativeSeparators(folder), name), QDir::toNativeSeparators(path));
}

namespace {

// Builds entries in a folder: "f:name" a file, "d:name" a folder, "l:name>target" a symbolic link.
void build(const QString& root, const QStringList& entries) {
    QDir dir(root);
    for (const QString& entry : entries) {
        const QString name = entry.mid(2);
        if (entry.startsWith(QLatin1String("f:"))) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("x");
        } else if (entry.startsWith(QLatin1String("d:"))) {
            QVERIFY(dir.mkdir(name));
        } else {
            const QStringList link = name.split(QLatin1Char('>'));
            QVERIFY(QFile::link(dir.filePath(link.at(1)), dir.filePath(link.at(0))));
        }
    }
}

// A fresh temporary folder holding 'entries', made the current folder.
struct Dossier {
    explicit Dossier(const QStringList& entries = {}) {
        build(tmp.path(), entries);
        files.setCurrentFolder(tmp.path());
    }
    QTemporaryDir tmp;
    SystemFiles files;
};

} // namespace

void TestUiServices::listDatabases_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("listed");

    QTest::newRow("empty folder") << QStringList{} << QStringList{};
    QTest::newRow("any case of the extension")
        << QStringList{"f:a.mdb", "f:B.MDB", "f:c.Mdb"} << QStringList{"B.MDB", "a.mdb", "c.Mdb"};
    QTest::newRow("other extensions") << QStringList{"f:a.mdbx", "f:b.mdb.bak", "f:c.txt", "f:mdb", "f:d.ldb"}
                                      << QStringList{};
    QTest::newRow("hidden files") << QStringList{"f:.cache.mdb", "f:vu.mdb"} << QStringList{".cache.mdb", "vu.mdb"};
    QTest::newRow("folders named like files")
        << QStringList{"d:archives.mdb", "d:SAUVE.MDB", "f:test.mdb"} << QStringList{"test.mdb"};
    QTest::newRow("links") << QStringList{"d:dossier", "f:vrai.mdb", "l:lien.mdb>dossier", "l:copie.mdb>vrai.mdb"}
                           << QStringList{"copie.mdb", "vrai.mdb"};
    QTest::newRow("names with spaces and accents")
        << QStringList{"f:Électricité B1.mdb", "f:test 2.MDB"} << QStringList{"test 2.MDB", "Électricité B1.mdb"};
}

void TestUiServices::listDatabases() {
    QFETCH(QStringList, entries);
    QFETCH(QStringList, listed);
#ifdef Q_OS_WIN
    if (QByteArray(QTest::currentDataTag()) == "links") {
        QSKIP("a link made by QFile::link on Windows is a shortcut file (.lnk), not a symbolic link");
    }
#endif
    Dossier d(entries);
    QStringList found = d.files.listDatabases();
    found.sort(Qt::CaseInsensitive); // the system's order is not defined
    listed.sort(Qt::CaseInsensitive);
    QCOMPARE(found, listed);
}

void TestUiServices::makeFolder_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("error"); // empty: the folder is made

    QTest::newRow("new folder") << QStringList{} << u"Cours B1"_s << QString();
    QTest::newRow("accents") << QStringList{} << u"Électricité"_s << QString();
    QTest::newRow("folder exists") << QStringList{"d:Cours"} << u"Cours"_s << u"Le répertoire Cours existe déjà"_s;
    QTest::newRow("file of that name") << QStringList{"f:Cours"} << u"Cours"_s << u"Cours"_s;
    QTest::newRow("separator") << QStringList{} << u"a/b"_s << u"a/b"_s;
    QTest::newRow("empty name") << QStringList{} << u""_s << u"Impossible de créer le répertoire"_s;
    QTest::newRow("parent") << QStringList{} << u".."_s << u".."_s;
    QTest::newRow("name too long") << QStringList{} << QString(300, QLatin1Char('n')) << QString(300, QLatin1Char('n'));
}

void TestUiServices::makeFolder() {
    QFETCH(QStringList, entries);
    QFETCH(QString, name);
    QFETCH(QString, error);
    Dossier d(entries);
    const QDir tmp(d.tmp.path());
    const QStringList before = tmp.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    try {
        d.files.makeFolder(name);
        QVERIFY2(error.isEmpty(), "the folder should have been refused");
        QVERIFY(QFileInfo(tmp.filePath(name)).isDir());
    } catch (const Error& e) {
        QVERIFY2(!error.isEmpty(), qPrintable(e.message()));
        QCOMPARE(e.number(), errc::PathFileAccess);
        QVERIFY2(e.text().contains(error), qPrintable(e.text()));
        QCOMPARE(tmp.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    }
}

void TestUiServices::setCurrentFolderFailure_data() {
    QTest::addColumn<QString>("target"); // relative to a fresh temporary folder
    QTest::newRow("missing") << "absent";
    QTest::newRow("missing deep") << "absent/encore";
    QTest::newRow("a file") << "fichier.mdb";
    QTest::newRow("empty") << "";
}

void TestUiServices::setCurrentFolderFailure() {
    QFETCH(QString, target);
    Dossier d({QStringLiteral("f:fichier.mdb")});
    SystemFiles& files = d.files;
    const QString before = files.currentFolder();
    const QString folder = target.isEmpty() ? QString() : QDir(d.tmp.path()).filePath(target);
    try {
        files.setCurrentFolder(folder);
        QFAIL("the folder should have been refused");
    } catch (const Error& e) {
        QCOMPARE(e.number(), errc::PathNotFound);
        QCOMPARE(e.text(), QStringLiteral("Chemin d'accès introuvable: ") + folder);
    }
    QCOMPARE(files.currentFolder(), before);
}

void TestUiServices::currentFolderAndFileExists() {
    Dossier d({QStringLiteral("f:test.mdb"), QStringLiteral("d:dossier.mdb")});
    SystemFiles& files = d.files;
    const QString tmp = QDir::toNativeSeparators(QFileInfo(d.tmp.path()).canonicalFilePath());
    QCOMPARE(files.currentFolder(), tmp);
    QCOMPARE(QDir::toNativeSeparators(QDir::currentPath()), tmp); // the process's own folder moved

    QVERIFY(files.fileExists(QStringLiteral("test.mdb")));
    QVERIFY(!files.fileExists(QStringLiteral("dossier.mdb")));
    QVERIFY(!files.fileExists(QStringLiteral("absent.mdb")));
    QVERIFY(!files.fileExists(QString()));

    files.makeFolder(QStringLiteral("sous"));
    files.setCurrentFolder(QStringLiteral("sous")); // relative to the current folder
    QCOMPARE(files.currentFolder(), services::joinPath(tmp, QStringLiteral("sous")));
    QVERIFY(!files.fileExists(QStringLiteral("test.mdb")));
}

void TestUiServices::drivesPutRootFirst() {
    SystemFiles files;
    const QStringList drives = files.drives();
    QVERIFY(!drives.isEmpty());
#ifdef Q_OS_WIN
    // The machine's letters, as a drive list spells them; the system's drive among them.
    for (const QString& d : drives) {
        QVERIFY2(d.size() == 2 && d.at(0).isLower() && d.at(1) == QLatin1Char(':'), qPrintable(d));
    }
    QVERIFY(drives.contains(QDir::rootPath().left(2).toLower()));
    QSKIP("the rest is about Linux's mount points");
#endif
    QCOMPARE(drives.first(), QStringLiteral("/"));
    QCOMPARE(drives.count(QStringLiteral("/")), 1);
    QCOMPARE(QSet<QString>(drives.begin(), drives.end()).size(), drives.size());
    for (const QString& d : drives) {
        QVERIFY2(QFileInfo(d).isDir(), qPrintable(d));
        for (const char* system : {"/proc", "/sys", "/dev"}) {
            const QString s = QLatin1String(system);
            QVERIFY2(d != s && !d.startsWith(s + QLatin1Char('/')), qPrintable(d));
        }
    }
}

void TestUiServices::driveOfPicksTheDeepestVolume() {
    SystemFiles files;
#ifdef Q_OS_WIN
    const QString system = QDir::rootPath().left(2).toLower();
    QCOMPARE(files.driveOf(QDir::rootPath() + QStringLiteral("Windows/System32")), system);
    QCOMPARE(files.driveOf(QDir::rootPath().left(2).toUpper() + QStringLiteral("\\Users")), system);
    QSKIP("the rest is about Linux's mount points");
#endif
    QCOMPARE(files.driveOf(QStringLiteral("/")), QStringLiteral("/"));
    QCOMPARE(files.driveOf(QStringLiteral("/proc/self")), QStringLiteral("/")); // not a drive: the system's
    for (const QString& d : files.drives()) {
        QCOMPARE(files.driveOf(d), d);
        QCOMPARE(files.driveOf(services::joinPath(d, QStringLiteral("sous/dossier"))), d);
    }
    // A folder whose name only starts like a volume's root is not inside it.
    for (const QString& d : files.drives()) {
        if (d != QLatin1String("/")) {
            QCOMPARE(files.driveOf(d + QStringLiteral("x/y")), files.driveOf(QFileInfo(d).path()));
        }
    }
}

void TestUiServices::setCurrentDriveKeepsEachDrivesFolder() {
    Dossier d;
    SystemFiles& files = d.files;
    const QString folder = files.currentFolder();
    const QString home = files.driveOf(folder);
    QCOMPARE(files.setCurrentDrive(home), folder); // the drive already current keeps its folder

    QString other;
    for (const QString& d : files.drives()) {
        if (d != home && QFileInfo(d).isWritable()) {
            other = d;
        }
    }
    if (other.isEmpty()) {
        QSKIP("one writable drive only: nothing to come back from");
    }
    QCOMPARE(files.driveOf(files.setCurrentDrive(other)), other); // never visited: its root (Windows: its own folder)
    QCOMPARE(files.driveOf(files.currentFolder()), other);
    QCOMPARE(files.setCurrentDrive(home), folder); // back where it was
}

QTEST_GUILESS_MAIN(TestUiServices)
#include "tst_uiservices.moc"
