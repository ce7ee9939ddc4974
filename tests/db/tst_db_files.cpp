// Database files: the table listing, opening what is not a sound database, creating without overwriting,
// read-only files, locks and durability when the program dies right after an Update.

#include "platform/db/database.h"
#include "platform/error.h"
#include "rawsqlite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <functional>
#ifdef Q_OS_UNIX
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace kelvane;
using namespace kelvane::db;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// 'act' fails with error 'number', and its message holds each of 'mentions'.
void expectRefusal(const std::function<void()>& act, int number, const QStringList& mentions) {
    try {
        act();
        QFAIL("no error was raised");
    } catch (const Error& e) {
        QCOMPARE(e.number(), number);
        for (const QString& mention : mentions) {
            QVERIFY2(e.text().contains(mention), qPrintable(e.text()));
        }
    }
}

// Edits the first field of the current record, leaving the Update to the caller.
void editFirst(Recordset& rs, int value) {
    rs.Edit();
    rs.SetField(0, value);
}

// A results-shaped file of three pages or more: a question table with some records.
void createSoundFile(const QString& path) {
    Database db = CreateDatabase(path);
    TableDef table = db.CreateTableDef(QStringLiteral("question"));
    table.Fields().Append(table.CreateField(QStringLiteral("Numero"), FieldType::Integer));
    table.Fields().Append(table.CreateField(QStringLiteral("Question"), FieldType::Text, 200));
    db.TableDefs().Append(table);
    Recordset rs = db.OpenRecordset(QStringLiteral("question"));
    Transaction transaction(db);
    for (int i = 0; i < 200; ++i) {
        rs.AddNew();
        rs.SetField(0, i);
        rs.SetField(1, QString(150, QLatin1Char('q')));
        rs.Update();
    }
    transaction.Commit();
}

} // namespace

class TestDbFiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void tableListing_data();
    void tableListing();
    void appendingTables_data();
    void appendingTables();
    void openingWhatIsNotASoundDatabase_data();
    void openingWhatIsNotASoundDatabase();
    void missingTable();
    void readOnlyModeNeverWrites();
    void readOnlyFile();
    void snapshotStepsAsideForWriters();
    void createNeverOverwrites();
    void createLandsInTheCurrentFolder();
    void createInAMissingFolder();
    void lockedByAnotherProgram();
    void updateSurvivesAKill_data();
    void updateSurvivesAKill();

private:
    QString newFile() { return dir_.filePath(QStringLiteral("f%1.mdb").arg(++files_)); }

    QTemporaryDir dir_;
    int files_ = 0;
};

void TestDbFiles::tableListing_data() {
    QTest::addColumn<QString>("schema");
    QTest::addColumn<QStringList>("listing");

    QTest::newRow("test file") << "CREATE TABLE chapitre (a); CREATE TABLE numero (a); CREATE TABLE test (a);"
                               << QStringList{"chapitre",          "MSysACEs", "MSysObjects", "MSysQueries",
                                              "MSysRelationships", "numero",   "test"};
    QTest::newRow("results file") << "CREATE TABLE question (a); CREATE TABLE eleves (a); CREATE TABLE chapitre (a);"
                                  << QStringList{"chapitre",    "eleves",      "MSysACEs",
                                                 "MSysObjects", "MSysQueries", "MSysRelationships",
                                                 "question"};
    QTest::newRow("foreign file with an extra table and an index")
        << "CREATE TABLE chapitre (a); CREATE TABLE numero (a); CREATE TABLE test (a); "
           "CREATE TABLE Notes (a INTEGER PRIMARY KEY AUTOINCREMENT); CREATE INDEX i ON test (a); "
           "INSERT INTO Notes (a) VALUES (NULL); CREATE VIEW v AS SELECT * FROM test;"
        << QStringList{"chapitre",          "MSysACEs", "MSysObjects", "MSysQueries",
                       "MSysRelationships", "Notes",    "numero",      "test"};
    QTest::newRow("an engine table of the file's own is listed once")
        << "CREATE TABLE msysobjects (a);"
        << QStringList{"MSysACEs", "msysobjects", "MSysQueries", "MSysRelationships"};
}

void TestDbFiles::tableListing() {
    QFETCH(QString, schema);
    QFETCH(QStringList, listing);
    const QString path = newFile();
    rawsqlite::exec(path, schema.toUtf8().constData());
    Database db = OpenDatabase(path, OpenMode::ReadOnly);
    QCOMPARE(db.TableDefs().Names(), listing);
    QCOMPARE(db.TableDefs().Count(), listing.size());
    for (int i = 0; i < listing.size(); ++i) {
        QCOMPARE(db.TableDefs().Name(i), listing.at(i));
    }
    KELVANE_EXPECT_ERROR(db.TableDefs().Name(listing.size()), errc::ItemNotFound);
    QVERIFY(!db.userTables().contains(QStringLiteral("sqlite_sequence")));
    QCOMPARE(db.TableDefs().Item(QStringLiteral("MSYSQUERIES")).Name(), QStringLiteral("MSysQueries"));
    KELVANE_EXPECT_ERROR(db.TableDefs().Item(QStringLiteral("absente")), errc::ItemNotFound);
}

void TestDbFiles::appendingTables_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("fields");
    QTest::addColumn<int>("error");
    QTest::newRow("new table") << "eleves" << 2 << 0;
    QTest::newRow("name with quotes and spaces") << "les \"bons\" élèves" << 1 << 0;
    QTest::newRow("existing table in another case") << "CHAPITRE" << 1 << 3010;
    QTest::newRow("engine table") << "MSysObjects" << 1 << 3010;
    QTest::newRow("no field") << "vide" << 0 << 3264;
}

void TestDbFiles::appendingTables() {
    QFETCH(QString, name);
    QFETCH(int, fields);
    QFETCH(int, error);
    const QString path = newFile();
    Database db = CreateDatabase(path);
    TableDef chapitre = db.CreateTableDef(QStringLiteral("chapitre"));
    chapitre.Fields().Append(chapitre.CreateField(QStringLiteral("Numero"), FieldType::Integer));
    db.TableDefs().Append(chapitre);

    TableDef table = db.CreateTableDef(name);
    for (int i = 0; i < fields; ++i) {
        table.Fields().Append(table.CreateField(QStringLiteral("c%1").arg(i), FieldType::Text, 10));
    }
    if (error != 0) {
        KELVANE_EXPECT_ERROR(db.TableDefs().Append(table), error);
        QCOMPARE(db.userTables(), QStringList{QStringLiteral("chapitre")});
        return;
    }
    db.TableDefs().Append(table);
    QVERIFY(db.TableDefs().Names().contains(name));
    Recordset rs = db.OpenRecordset(name);
    QCOMPARE(rs.FieldCount(), fields);
}

void TestDbFiles::openingWhatIsNotASoundDatabase_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("error");
    QTest::newRow("missing file") << "missing" << 3024;
    QTest::newRow("empty file") << "empty" << 3343;
    QTest::newRow("random bytes") << "random" << 3343;
    QTest::newRow("text file") << "text" << 3343;
    QTest::newRow("header cut short") << "short" << 3343;
    QTest::newRow("damaged schema page") << "damaged" << 3343;
    QTest::newRow("folder") << "folder" << 3051;
}

void TestDbFiles::openingWhatIsNotASoundDatabase() {
    QFETCH(QString, kind);
    QFETCH(int, error);
    const QString path = newFile();
    if (kind == QLatin1String("empty")) {
        writeBytes(path, {});
    } else if (kind == QLatin1String("random")) {
        QByteArray bytes(8192, '\0');
        for (int i = 0; i < bytes.size(); ++i) {
            bytes[i] = static_cast<char>((i * 7919 + 13) % 251);
        }
        writeBytes(path, bytes);
    } else if (kind == QLatin1String("text")) {
        writeBytes(path, "Questions du chapitre 1\n");
    } else if (kind == QLatin1String("short") || kind == QLatin1String("damaged")) {
        createSoundFile(path);
        QByteArray bytes = readBytes(path);
        if (kind == QLatin1String("short")) {
            bytes.truncate(60);
        } else {
            for (int i = 100; i < 4096; ++i) { // the schema b-tree after the file header
                bytes[i] = static_cast<char>(0xA5);
            }
        }
        writeBytes(path, bytes);
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    }
    for (const OpenMode mode : {OpenMode::ReadWrite, OpenMode::ReadOnly, OpenMode::Snapshot}) {
        expectRefusal([&] { OpenDatabase(path, mode); }, error, {QFileInfo(path).fileName()});
    }
    if (kind == QLatin1String("empty")) {
        QCOMPARE(QFileInfo(path).size(), 0); // refused, not turned into a database
    }
}

void TestDbFiles::missingTable() {
    const QString path = newFile();
    createSoundFile(path);
    Database db = OpenDatabase(path);
    expectRefusal([&] { db.OpenRecordset(QStringLiteral("eleves")); }, errc::TableNotFound,
                  {QStringLiteral("Table introuvable"), QStringLiteral("eleves")});
    KELVANE_EXPECT_ERROR(db.OpenRecordset(QStringLiteral("sqlite_master")), errc::TableNotFound);
}

void TestDbFiles::readOnlyModeNeverWrites() {
    const QString path = newFile();
    createSoundFile(path);
    const QByteArray before = readBytes(path);
    {
        Database db = OpenDatabase(path, OpenMode::ReadOnly);
        Recordset rs = db.OpenRecordset(QStringLiteral("question"));
        QCOMPARE(rs.RecordCount(), 200);
        editFirst(rs, 1000);
        KELVANE_EXPECT_ERROR(rs.Update(), errc::ReadOnly);
        rs.AddNew();
        KELVANE_EXPECT_ERROR(rs.Update(), errc::ReadOnly);
        TableDef table = db.CreateTableDef(QStringLiteral("eleves"));
        table.Fields().Append(table.CreateField(QStringLiteral("Nom"), FieldType::Text, 20));
        KELVANE_EXPECT_ERROR(db.TableDefs().Append(table), errc::ReadOnly);
        QCOMPARE(rs.RecordCount(), 200);
        QCOMPARE(rs.Fields(0).toInt(), 0);
    }
    QCOMPARE(readBytes(path), before);
    QVERIFY(!QFileInfo::exists(path + QStringLiteral("-journal")));
}

void TestDbFiles::snapshotStepsAsideForWriters() {
    const QString path = newFile();
    createSoundFile(path);
    const QByteArray before = readBytes(path);
    {
        Database db = OpenDatabase(path, OpenMode::Snapshot);
        Recordset rs = db.OpenRecordset(QStringLiteral("question"));
        QCOMPARE(rs.RecordCount(), 200);
        editFirst(rs, 1000);
        KELVANE_EXPECT_ERROR(rs.Update(), errc::ReadOnly);
        KELVANE_EXPECT_ERROR(db.BeginTrans(), errc::ReadOnly);
    }
    // A writer at work, even before its first change reaches the file.
    rawsqlite::Handle writer = rawsqlite::open(path);
    rawsqlite::exec(writer.get(), "BEGIN IMMEDIATE");
    expectRefusal([&] { OpenDatabase(path, OpenMode::Snapshot); }, errc::Locked, {QFileInfo(path).fileName()});
    // A commit caught half-way: the file with the journal it needs played back, which Snapshot leaves alone.
    rawsqlite::exec(writer.get(), "UPDATE question SET Numero = Numero + 1");
    const QString copy = newFile();
    QVERIFY(QFile::copy(path + QStringLiteral("-journal"), copy + QStringLiteral("-journal")));
    QVERIFY(QFile::copy(path, copy));
    rawsqlite::exec(writer.get(), "ROLLBACK");
    { // the journal's magic number, as the commit writes it before it touches the file
        QFile journal(copy + QStringLiteral("-journal"));
        QVERIFY(journal.open(QIODevice::ReadWrite));
        journal.write(QByteArray::fromHex("d9d505f920a163d7"));
    }
    const QByteArray copied = readBytes(copy);
    KELVANE_EXPECT_ERROR(OpenDatabase(copy, OpenMode::Snapshot), errc::Locked);
    QCOMPARE(readBytes(copy), copied);
    QVERIFY(QFileInfo::exists(copy + QStringLiteral("-journal")));

    { OpenDatabase(path, OpenMode::Snapshot).OpenRecordset(QStringLiteral("question")); }
    QCOMPARE(readBytes(path), before);
    QVERIFY(!QFileInfo::exists(path + QStringLiteral("-journal")));
}

void TestDbFiles::readOnlyFile() {
    const QString path = newFile();
    createSoundFile(path);
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    if (QFile probe(path); probe.open(QIODevice::ReadWrite)) {
        // root (Wine's too) writes through file permissions; ReadOnly mode is checked by readOnlyModeNeverWrites
        probe.close();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        QSKIP("this user writes through a read-only file's permissions");
    }
    {
        Database db = OpenDatabase(path); // reading a read-only file is fine
        Recordset rs = db.OpenRecordset(QStringLiteral("question"));
        editFirst(rs, 1000);
        KELVANE_EXPECT_ERROR(rs.Update(), errc::ReadOnly);
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);

    // A read-only folder: the file may be written but no journal can be made beside it.
    QTemporaryDir folder(dir_.filePath(QStringLiteral("lecture-seule-XXXXXX")));
    const QString inside = folder.filePath(QStringLiteral("eleve.mdb"));
    createSoundFile(inside);
    QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
    try {
        Database db = OpenDatabase(inside);
        Recordset rs = db.OpenRecordset(QStringLiteral("question"));
        editFirst(rs, 1000);
        rs.Update();
        QFAIL("writing beside a read-only folder should fail");
    } catch (const Error& e) {
        QVERIFY2(e.number() == errc::ReadOnly || e.number() == errc::CannotOpen, qPrintable(e.message()));
    }
    KELVANE_EXPECT_ERROR(CreateDatabase(folder.filePath(QStringLiteral("nouveau.mdb"))), errc::PathFileAccess);
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestDbFiles::createNeverOverwrites() {
    const QString path = newFile();
    writeBytes(path, "le travail d'un autre");
    expectRefusal([&] { CreateDatabase(path); }, errc::DatabaseExists, {QFileInfo(path).fileName()});
    QCOMPARE(readBytes(path), QByteArray("le travail d'un autre"));

    const QString made = newFile();
    { CreateDatabase(made, QStringLiteral(";LANGID=0x0409;CP=1252;COUNTRY=0")); }
    KELVANE_EXPECT_ERROR(CreateDatabase(made), errc::DatabaseExists);
    Database db = OpenDatabase(made); // a new, empty database is a database, not an empty file
    QCOMPARE(db.userTables(), QStringList());
    QVERIFY(QFileInfo(made).size() > 0);
}

void TestDbFiles::createLandsInTheCurrentFolder() {
    const auto back = qScopeGuard([previous = QDir::currentPath()] { QDir::setCurrent(previous); });
    QVERIFY(QDir::setCurrent(dir_.path()));
    const Database db = CreateDatabase(QStringLiteral("courant.mdb"));
    QCOMPARE(db.path(), QDir(dir_.path()).absoluteFilePath(QStringLiteral("courant.mdb")));
    QVERIFY(QFileInfo::exists(dir_.filePath(QStringLiteral("courant.mdb"))));
}

void TestDbFiles::createInAMissingFolder() {
    expectRefusal([&] { CreateDatabase(dir_.filePath(QStringLiteral("absent/eleve.mdb"))); }, errc::PathNotFound,
                  {QStringLiteral("eleve.mdb")});
}

void TestDbFiles::lockedByAnotherProgram() {
    const QString path = newFile();
    createSoundFile(path);
    Database db = OpenDatabase(path);
    Recordset rs = db.OpenRecordset(QStringLiteral("question"));
    rawsqlite::Handle other = rawsqlite::open(path);
    rawsqlite::exec(other.get(), "BEGIN EXCLUSIVE");
    editFirst(rs, 1000);
    KELVANE_EXPECT_ERROR(rs.Update(), errc::Locked);
    KELVANE_EXPECT_ERROR(db.OpenRecordset(QStringLiteral("question")), errc::Locked);
    rawsqlite::exec(other.get(), "ROLLBACK");
    rs.Update(); // the edit is still pending and now goes through
    QCOMPARE(rawsqlite::query(other.get(), "SELECT Numero FROM question WHERE rowid = 1"), QStringLiteral("1000"));
}

void TestDbFiles::updateSurvivesAKill_data() {
    QTest::addColumn<bool>("inTransaction");
    QTest::newRow("killed right after Update") << false;
    QTest::newRow("killed before CommitTrans") << true;
}

// The child process edits a record and kills itself the moment Update returns: what Update promised must be in the
// file, and an uncommitted transaction must leave no trace.
void TestDbFiles::updateSurvivesAKill() {
#ifndef Q_OS_UNIX
    QSKIP("the child is made by fork(), which only POSIX systems have");
#else
    QFETCH(bool, inTransaction);
    const QString path = newFile();
    createSoundFile(path);

    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        try {
            Database db = OpenDatabase(path);
            Recordset rs = db.OpenRecordset(QStringLiteral("question"));
            if (inTransaction) {
                db.BeginTrans();
                for (int i = 0; i < 50; ++i) {
                    rs.AddNew();
                    rs.SetField(0, 5000 + i);
                    rs.Update();
                }
            }
            rs.setAbsolutePosition(10);
            rs.Edit();
            rs.SetField(0, 4242);
            rs.SetField(1, QStringLiteral("écrit avant la mort"));
            rs.Update();
            kill(getpid(), SIGKILL);
        } catch (...) {
        }
        _exit(3);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, "the child failed before its Update returned");

    {
        Database db = OpenDatabase(path);
        Recordset rs = db.OpenRecordset(QStringLiteral("question"));
        rs.setAbsolutePosition(10);
        if (inTransaction) {
            QCOMPARE(rs.RecordCount(), 200);
            QCOMPARE(rs.Fields(0).toInt(), 10);
        } else {
            QCOMPARE(rs.Fields(0).toInt(), 4242);
            QCOMPARE(rs.Fields(1).toString(), QStringLiteral("écrit avant la mort"));
        }
    }
    QCOMPARE(rawsqlite::query(path, "PRAGMA integrity_check"), QStringLiteral("ok"));
    if (!inTransaction) { // an unsynced journal of a dead transaction may stay behind, zeroed and harmless
        QVERIFY(!QFileInfo::exists(path + QStringLiteral("-journal")));
    }
#endif
}

QTEST_GUILESS_MAIN(TestDbFiles)
#include "tst_db_files.moc"
