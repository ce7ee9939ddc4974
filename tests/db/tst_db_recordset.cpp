// Recordsets: names, stored order and positions, the edit protocol, transactions and closed databases.

#include "platform/db/database.h"
#include "platform/error.h"
#include "rawsqlite.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace kelvane;
using namespace kelvane::db;

namespace {

// A "numero" table as test files have it: a number and a name.
void createNumeros(Database& db, int records) {
    TableDef table = db.CreateTableDef(QStringLiteral("numero"));
    table.Fields().Append(table.CreateField(QStringLiteral("Numero"), FieldType::Integer));
    table.Fields().Append(table.CreateField(QStringLiteral("NomChapitre"), FieldType::Text, 50));
    db.TableDefs().Append(table);
    Recordset rs = db.OpenRecordset(QStringLiteral("numero"));
    for (int i = 0; i < records; ++i) {
        rs.AddNew();
        rs.SetField(0, i + 1);
        rs.SetField(1, QStringLiteral("chapitre %1").arg(i + 1));
        rs.Update();
    }
}

void add(Recordset& rs, int number) {
    rs.AddNew();
    rs.SetField(0, number);
    rs.Update();
}

void edit(Recordset& rs, int field, const QVariant& value) {
    rs.Edit();
    rs.SetField(field, value);
    rs.Update();
}

// The numbers as another program reads them from the file.
QString stored(const QString& path) {
    return rawsqlite::query(path, "SELECT group_concat(Numero) FROM numero");
}

// A new file with a "numero" table of 'records' records, open on that table.
struct Numeros {
    Numeros(const QString& file, int records) : path(file), db(CreateDatabase(file)) {
        createNumeros(db, records);
        rs = db.OpenRecordset(QStringLiteral("numero"));
    }
    QString path;
    Database db;
    Recordset rs;
};

QList<int> numbers(Recordset& rs) {
    QList<int> result;
    if (rs.RecordCount() == 0) {
        return result;
    }
    rs.MoveFirst();
    while (!rs.Eof()) {
        result.append(rs.Fields(0).toInt());
        rs.MoveNext();
    }
    return result;
}

} // namespace

using Call = std::function<void(Recordset&)>;
Q_DECLARE_METATYPE(Call)

class TestDbRecordset : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void fieldNamesIgnoreCase_data();
    void fieldNamesIgnoreCase();
    void walkingThroughTheRecords();
    void editProtocolErrors_data();
    void editProtocolErrors();
    void storedOrderAfterInsertsAndEdits();
    void addNewKeepsTheCurrentRecord_data();
    void addNewKeepsTheCurrentRecord();
    void foreignDefaultsAndRowidColumns();
    void refusedUpdatesLeaveStatementsReusable();
    void rolledBackCopyLeavesNothing();
    void commitMakesTheCopyVisible();
    void nestedTransactions();
    void transactionGuardRollsBack();
    void transactionCallsWithoutBegin_data();
    void transactionCallsWithoutBegin();
    void closedDatabase();
    void releasedDatabaseStaysOpenForItsRecordsets();

private:
    QString newFile() { return dir_.filePath(QStringLiteral("r%1.mdb").arg(++files_)); }

    QTemporaryDir dir_;
    int files_ = 0;
};

void TestDbRecordset::fieldNamesIgnoreCase_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::newRow("as created") << "NomChapitre" << 1;
    QTest::newRow("lower case") << "nomchapitre" << 1;
    QTest::newRow("upper case") << "NUMERO" << 0;
    QTest::newRow("unknown") << "Nom" << -1;
}

void TestDbRecordset::fieldNamesIgnoreCase() {
    QFETCH(QString, name);
    QFETCH(int, index);
    Numeros n(newFile(), 2);
    Recordset rs = n.db.OpenRecordset(QStringLiteral("NUMERO")); // tables too
    QCOMPARE(rs.tableName(), QStringLiteral("numero"));
    if (index < 0) {
        KELVANE_EXPECT_ERROR(rs.FieldIndex(name), errc::ItemNotFound);
        KELVANE_EXPECT_ERROR(rs.Fields(name), errc::ItemNotFound);
        return;
    }
    QCOMPARE(rs.FieldIndex(name), index);
    QCOMPARE(rs.Fields(name), rs.Fields(index));
    rs.Edit();
    rs.SetField(name, index == 0 ? QVariant(9) : QVariant(QStringLiteral("neuf"))); // by name
    rs.Update();
    QCOMPARE(rs.Fields(index).toString(), index == 0 ? QStringLiteral("9") : QStringLiteral("neuf"));
}

void TestDbRecordset::walkingThroughTheRecords() {
    Numeros empty(newFile(), 0);
    QCOMPARE(empty.rs.RecordCount(), 0);
    QVERIFY(empty.rs.Eof());
    QVERIFY(empty.rs.Bof());
    QCOMPARE(empty.rs.AbsolutePosition(), -1);
    KELVANE_EXPECT_ERROR(empty.rs.Fields(0), errc::NoCurrentRecord);
    KELVANE_EXPECT_ERROR(empty.rs.MoveFirst(), errc::NoCurrentRecord);
    KELVANE_EXPECT_ERROR(empty.rs.Edit(), errc::NoCurrentRecord);

    Numeros n(newFile(), 3);
    Recordset& rs = n.rs;
    QVERIFY(!rs.Eof());
    QVERIFY(!rs.Bof());
    QCOMPARE(rs.AbsolutePosition(), 0);
    rs.MoveNext();
    rs.MoveNext();
    QCOMPARE(rs.AbsolutePosition(), 2);
    rs.MoveNext();
    QVERIFY(rs.Eof());
    QCOMPARE(rs.AbsolutePosition(), -1);
    KELVANE_EXPECT_ERROR(rs.Fields(0), errc::NoCurrentRecord);
    KELVANE_EXPECT_ERROR(rs.MoveNext(), errc::NoCurrentRecord);
    rs.setAbsolutePosition(1);
    QCOMPARE(rs.Fields(0).toInt(), 2);
    rs.MoveFirst();
    QCOMPARE(rs.Fields(0).toInt(), 1);
}

void TestDbRecordset::editProtocolErrors_data() {
    QTest::addColumn<Call>("call");
    QTest::addColumn<int>("error");
    QTest::newRow("Update without AddNew or Edit") << Call([](Recordset& rs) { rs.Update(); }) << 3020;
    QTest::newRow("CancelUpdate without AddNew or Edit") << Call([](Recordset& rs) { rs.CancelUpdate(); }) << 3020;
    QTest::newRow("SetField without AddNew or Edit") << Call([](Recordset& rs) { rs.SetField(0, 5); }) << 3020;
    QTest::newRow("SetField of a field out of range") << Call([](Recordset& rs) {
        rs.Edit();
        rs.SetField(9, 5);
    }) << 3265;
    QTest::newRow("position before the first") << Call([](Recordset& rs) { rs.setAbsolutePosition(-1); }) << 3001;
    QTest::newRow("position past the last") << Call([](Recordset& rs) { rs.setAbsolutePosition(3); }) << 3001;
    QTest::newRow("Update after a move cancelled the edit") << Call([](Recordset& rs) {
        rs.Edit();
        rs.SetField(0, 5);
        rs.MoveNext();
        rs.Update();
    }) << 3020;
}

void TestDbRecordset::editProtocolErrors() {
    QFETCH(Call, call);
    QFETCH(int, error);
    Numeros n(newFile(), 3);
    KELVANE_EXPECT_ERROR(call(n.rs), error);
    QCOMPARE(numbers(n.rs), (QList<int>{1, 2, 3})); // nothing was written
}

void TestDbRecordset::storedOrderAfterInsertsAndEdits() {
    const QString path = newFile();
    {
        Numeros n(path, 3);
        n.rs.setAbsolutePosition(1);
        edit(n.rs, 0, 20);
        QCOMPARE(n.rs.AbsolutePosition(), 1);
        add(n.rs, 0); // a small number does not sort first: records keep the order they were stored in
        n.rs.setAbsolutePosition(0);
        edit(n.rs, 0, 10);
        QCOMPARE(numbers(n.rs), (QList<int>{10, 20, 3, 0}));
    }
    Database db = OpenDatabase(path);
    Recordset rs = db.OpenRecordset(QStringLiteral("numero"));
    QCOMPARE(numbers(rs), (QList<int>{10, 20, 3, 0}));
    rs.setAbsolutePosition(3);
    QVERIFY(rs.Fields(1).isNull()); // never set
}

void TestDbRecordset::addNewKeepsTheCurrentRecord_data() {
    QTest::addColumn<int>("position"); // -1 for past the end
    QTest::newRow("on the first") << 0;
    QTest::newRow("on the last") << 2;
    QTest::newRow("past the end") << -1;
}

void TestDbRecordset::addNewKeepsTheCurrentRecord() {
    QFETCH(int, position);
    Numeros n(newFile(), 3);
    Recordset& rs = n.rs;
    rs.setAbsolutePosition(position >= 0 ? position : 2);
    if (position < 0) {
        rs.MoveNext();
    }
    rs.AddNew();
    rs.SetField(0, 4);
    QCOMPARE(rs.Fields(0).toInt(), 4); // the buffer while adding
    rs.Update();
    QCOMPARE(rs.RecordCount(), 4);
    QCOMPARE(rs.AbsolutePosition(), position);
    QCOMPARE(rs.Eof(), position < 0);
    if (position >= 0) {
        QCOMPARE(rs.Fields(0).toInt(), position + 1);
    }
    rs.setAbsolutePosition(3);
    QCOMPARE(rs.Fields(0).toInt(), 4);
}

// Each set of changed fields has its prepared statement, used again record after record: a refused write leaves it
// ready for the retry and the next records, and the memory copy matches the file throughout.
void TestDbRecordset::refusedUpdatesLeaveStatementsReusable() {
    const QString path = newFile();
    rawsqlite::exec(path, "CREATE TABLE t (n SMALLINT UNIQUE, nom VARCHAR(20))");
    const auto contents = [](Recordset& rs) {
        QStringList records;
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
            records.append(QStringLiteral("%1 %2").arg(rs.Fields(0).toInt()).arg(rs.Fields(1).toString()));
        }
        return records;
    };
    {
        Database db = OpenDatabase(path);
        Recordset rs = db.OpenRecordset(QStringLiteral("t"));
        for (const auto& [n, nom] : {std::pair{1, "un"}, std::pair{1, "deux"}, std::pair{3, "trois"}}) {
            rs.AddNew();
            QVERIFY(rs.Fields(1).isNull()); // nothing left from the record before
            rs.SetField(0, n);
            rs.SetField(1, QString::fromUtf8(nom));
            if (n == 1 && rs.RecordCount() == 1) {
                KELVANE_EXPECT_ERROR(rs.Update(), 3022);
                rs.SetField(0, 2);
            }
            rs.Update();
        }
        rs.MoveFirst();
        edit(rs, 1, QStringLiteral("UN"));
        rs.setAbsolutePosition(2);
        edit(rs, 1, QStringLiteral("TROIS"));
        rs.Edit();
        rs.SetField(1, QStringLiteral("pas écrit"));
        rs.SetField(0, 1);
        KELVANE_EXPECT_ERROR(rs.Update(), 3022);
        rs.CancelUpdate();
        QCOMPARE(contents(rs), (QStringList{"1 UN", "2 deux", "3 TROIS"}));
    }
    Database db = OpenDatabase(path, OpenMode::ReadOnly);
    Recordset rs = db.OpenRecordset(QStringLiteral("t"));
    QCOMPARE(contents(rs), (QStringList{"1 UN", "2 deux", "3 TROIS"}));
}

// Files made by hand may have defaults, NOT NULL columns and an INTEGER PRIMARY KEY called "rowid" itself.
void TestDbRecordset::foreignDefaultsAndRowidColumns() {
    const QString path = newFile();
    rawsqlite::exec(path, "CREATE TABLE t (rowid INTEGER PRIMARY KEY, nom TEXT NOT NULL DEFAULT 'anonyme', "
                          "note SMALLINT DEFAULT 10);"
                          "INSERT INTO t VALUES (5, 'b', 1), (2, 'a', 2);");
    Database db = OpenDatabase(path);
    Recordset rs = db.OpenRecordset(QStringLiteral("t"));
    QCOMPARE(rs.Fields(QStringLiteral("nom")).toString(), QStringLiteral("a")); // rowid order
    rs.AddNew();
    rs.SetField(QStringLiteral("note"), 3);
    rs.Update();
    rs.setAbsolutePosition(2);
    QCOMPARE(rs.Fields(QStringLiteral("nom")).toString(), QStringLiteral("anonyme"));
    QCOMPARE(rs.Fields(QStringLiteral("rowid")).toInt(), 6);

    rs.AddNew();
    rs.SetField(QStringLiteral("nom"), QVariant());
    KELVANE_EXPECT_ERROR(rs.Update(), 3314);
    rs.CancelUpdate();

    rs.setAbsolutePosition(0);
    edit(rs, rs.FieldIndex(QStringLiteral("rowid")), 9); // moves the record to the end of the stored order
    QCOMPARE(rs.Fields(QStringLiteral("nom")).toString(), QStringLiteral("a"));
    QCOMPARE(rs.AbsolutePosition(), 2);
    QCOMPARE(rs.RecordCount(), 3);
}

void TestDbRecordset::rolledBackCopyLeavesNothing() {
    const QString path = newFile();
    {
        Numeros n(path, 2);
        Recordset other = n.db.OpenRecordset(QStringLiteral("numero"));
        n.rs.setAbsolutePosition(1);
        n.db.BeginTrans();
        QVERIFY(n.db.inTransaction());
        for (int i = 0; i < 100; ++i) {
            add(n.rs, 100 + i);
        }
        edit(other, 1, QStringLiteral("modifié"));
        QCOMPARE(n.rs.RecordCount(), 102);
        n.db.Rollback();
        QVERIFY(!n.db.inTransaction());
        // Both recordsets show the file again, and keep their records.
        QCOMPARE(n.rs.RecordCount(), 2);
        QCOMPARE(n.rs.AbsolutePosition(), 1);
        QCOMPARE(other.Fields(1).toString(), QStringLiteral("chapitre 1"));
    }
    QCOMPARE(stored(path), QStringLiteral("1,2"));
    QCOMPARE(rawsqlite::query(path, "SELECT NomChapitre FROM numero WHERE Numero = 1"), QStringLiteral("chapitre 1"));
}

void TestDbRecordset::commitMakesTheCopyVisible() {
    Numeros n(newFile(), 1);
    n.db.BeginTrans();
    add(n.rs, 2);
    QCOMPARE(stored(n.path), QStringLiteral("1")); // other programs see the file as it was until the commit
    n.db.CommitTrans();
    QCOMPARE(stored(n.path), QStringLiteral("1,2"));
    QCOMPARE(n.rs.RecordCount(), 2);
}

void TestDbRecordset::nestedTransactions() {
    Numeros n(newFile(), 1);
    n.db.BeginTrans();
    add(n.rs, 2);
    n.db.BeginTrans();
    add(n.rs, 3);
    n.db.Rollback(); // the inner one only
    QCOMPARE(numbers(n.rs), (QList<int>{1, 2}));
    n.db.BeginTrans();
    add(n.rs, 4);
    n.db.CommitTrans();
    QVERIFY(n.db.inTransaction());
    n.db.CommitTrans();
    QVERIFY(!n.db.inTransaction());
    QCOMPARE(stored(n.path), QStringLiteral("1,2,4"));
}

void TestDbRecordset::transactionGuardRollsBack() {
    Numeros n(newFile(), 1);
    try {
        Transaction transaction(n.db);
        add(n.rs, 2);
        n.rs.AddNew();
        n.rs.SetField(0, 40000); // the copy fails half-way
        transaction.Commit();
        QFAIL("the copy should have failed");
    } catch (const Error& error) {
        QCOMPARE(error.number(), errc::Overflow);
    }
    QVERIFY(!n.db.inTransaction());
    QCOMPARE(n.rs.RecordCount(), 1);
    {
        Transaction transaction(n.db);
        add(n.rs, 3);
        transaction.Commit();
    }
    QCOMPARE(stored(n.path), QStringLiteral("1,3"));
}

void TestDbRecordset::transactionCallsWithoutBegin_data() {
    QTest::addColumn<bool>("commit");
    QTest::newRow("CommitTrans") << true;
    QTest::newRow("Rollback") << false;
}

void TestDbRecordset::transactionCallsWithoutBegin() {
    QFETCH(bool, commit);
    Database db = CreateDatabase(newFile());
    KELVANE_EXPECT_ERROR(commit ? db.CommitTrans() : db.Rollback(), errc::NoTransaction);
    db.BeginTrans();
    db.CommitTrans();
    KELVANE_EXPECT_ERROR(commit ? db.CommitTrans() : db.Rollback(), errc::NoTransaction);
}

void TestDbRecordset::closedDatabase() {
    Numeros n(newFile(), 2);
    const QString& path = n.path;
    Database& db = n.db;
    Recordset& rs = n.rs;
    db.BeginTrans();
    edit(rs, 0, 7);
    db.Close();
    db.Close(); // closing twice is harmless
    QVERIFY(!db.isOpen());
    QVERIFY(!rs.isOpen());
    try {
        rs.MoveNext();
        QFAIL("a recordset of a closed database must fail");
    } catch (const Error& error) {
        QCOMPARE(error.number(), errc::ObjectClosed);
        QVERIFY2(error.text().contains(QFileInfo(path).fileName()), qPrintable(error.text()));
    }
    KELVANE_EXPECT_ERROR(rs.Fields(0), errc::ObjectClosed);
    KELVANE_EXPECT_ERROR(rs.RecordCount(), errc::ObjectClosed);
    KELVANE_EXPECT_ERROR(db.OpenRecordset(QStringLiteral("numero")), errc::ObjectClosed);
    KELVANE_EXPECT_ERROR(db.TableDefs().Count(), errc::ObjectClosed);
    // Closing rolled the pending transaction back.
    QCOMPARE(stored(path), QStringLiteral("1,2"));

    Recordset never;
    KELVANE_EXPECT_ERROR(never.Eof(), errc::ObjectClosed);
}

void TestDbRecordset::releasedDatabaseStaysOpenForItsRecordsets() {
    const QString path = newFile();
    Recordset rs;
    {
        Database db = CreateDatabase(path);
        createNumeros(db, 2);
        rs = db.OpenRecordset(QStringLiteral("numero"));
    }
    edit(rs, 0, 5);
    QCOMPARE(stored(path), QStringLiteral("5,2"));
}

QTEST_GUILESS_MAIN(TestDbRecordset)
#include "tst_db_recordset.moc"
