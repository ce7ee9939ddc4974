// Field types and values: what a field accepts, what it refuses, and what reads back from our files and foreign ones.

#include "platform/db/database.h"
#include "platform/db/packedrow.h"
#include "platform/error.h"
#include "rawsqlite.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvane;
using namespace kelvane::db;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(kelvane::db::FieldType)

class TestDbValues : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void declaredTypesOfForeignFiles_data();
    void declaredTypesOfForeignFiles();
    void fieldTypesSurviveTheFile_data();
    void fieldTypesSurviveTheFile();
    void writeConvertsOrRefuses_data();
    void writeConvertsOrRefuses();
    void foreignValuesReadBack_data();
    void foreignValuesReadBack();
    void refusedWriteLeavesTheRecordEditable();
    void packedRowsGiveBackTheSameValues();

private:
    QString newFile() { return dir_.filePath(QStringLiteral("v%1.mdb").arg(++files_)); }

    QTemporaryDir dir_;
    int files_ = 0;
};

void TestDbValues::declaredTypesOfForeignFiles_data() {
    QTest::addColumn<QString>("declared");
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<int>("size");

    QTest::newRow("BOOL") << "BOOL" << FieldType::Boolean << 0;
    QTest::newRow("bit") << "bit" << FieldType::Boolean << 0;
    QTest::newRow("INT2") << "INT2" << FieldType::Integer << 0;
    QTest::newRow("SHORT") << "SHORT" << FieldType::Integer << 0;
    QTest::newRow("INT") << "INT" << FieldType::Long << 0;
    QTest::newRow("BIGINT") << "BIGINT" << FieldType::Long << 0;
    QTest::newRow("NVARCHAR(30)") << "NVARCHAR(30)" << FieldType::Text << 30;
    QTest::newRow("lower varchar ( 12 )") << "varchar ( 12 )" << FieldType::Text << 12;
    QTest::newRow("CHARACTER(3)") << "CHARACTER(3)" << FieldType::Text << 3;
    QTest::newRow("SHORT TEXT(8) is text") << "SHORT TEXT(8)" << FieldType::Text << 8;
    QTest::newRow("CLOB") << "CLOB" << FieldType::Memo << 0;
    QTest::newRow("STRING") << "STRING" << FieldType::Memo << 0;
    QTest::newRow("SINGLE") << "SINGLE" << FieldType::Single << 0;
    QTest::newRow("REAL") << "REAL" << FieldType::Double << 0;
    QTest::newRow("DOUBLE PRECISION") << "DOUBLE PRECISION" << FieldType::Double << 0;
    QTest::newRow("DECIMAL(10,2)") << "DECIMAL(10,2)" << FieldType::Double << 0;
    QTest::newRow("NUMERIC") << "NUMERIC" << FieldType::Double << 0;
    QTest::newRow("DATE") << "DATE" << FieldType::Date << 0;
    QTest::newRow("TIMESTAMP") << "TIMESTAMP" << FieldType::Date << 0;
    QTest::newRow("no type") << "" << FieldType::Variant << 0;
    QTest::newRow("BLOB") << "BLOB" << FieldType::Variant << 0;
    QTest::newRow("LONGBINARY") << "LONGBINARY" << FieldType::LongBinary << 0;
}

void TestDbValues::declaredTypesOfForeignFiles() {
    QFETCH(QString, declared);
    QFETCH(FieldType, type);
    QFETCH(int, size);
    const FieldInfo field = fieldFromDeclaredType(QStringLiteral("c"), declared);
    QCOMPARE(field.type, type);
    QCOMPARE(field.size, size);
}

void TestDbValues::fieldTypesSurviveTheFile_data() {
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("allowZeroLength");

    QTest::newRow("Boolean") << FieldType::Boolean << 0 << true;
    QTest::newRow("Integer") << FieldType::Integer << 0 << true;
    QTest::newRow("Long") << FieldType::Long << 0 << true;
    QTest::newRow("Single") << FieldType::Single << 0 << true;
    QTest::newRow("Double") << FieldType::Double << 0 << true;
    QTest::newRow("Date") << FieldType::Date << 0 << true;
    QTest::newRow("Text 200") << FieldType::Text << 200 << true;
    QTest::newRow("Text 1 refusing empty") << FieldType::Text << 1 << false;
    QTest::newRow("Memo") << FieldType::Memo << 0 << true;
    QTest::newRow("Memo refusing empty") << FieldType::Memo << 0 << false;
    QTest::newRow("LongBinary") << FieldType::LongBinary << 0 << true;
}

void TestDbValues::fieldTypesSurviveTheFile() {
    QFETCH(FieldType, type);
    QFETCH(int, size);
    QFETCH(bool, allowZeroLength);
    const QString path = newFile();
    {
        Database db = CreateDatabase(path);
        TableDef table = db.CreateTableDef(QStringLiteral("t"));
        table.Fields().Append(table.CreateField(QStringLiteral("avant"), FieldType::Long));
        Field field = table.CreateField(QStringLiteral("Le \"champ\""), type, size);
        field.setAllowZeroLength(allowZeroLength);
        table.Fields().Append(field);
        db.TableDefs().Append(table);
    }
    Database db = OpenDatabase(path, OpenMode::ReadOnly);
    const TableDef table = db.TableDefs().Item(QStringLiteral("T"));
    QCOMPARE(table.Name(), QStringLiteral("t"));
    QCOMPARE(table.Fields().Count(), 2);
    QCOMPARE(table.Fields()[0].Name(), QStringLiteral("avant"));
    const Field& field = table.Fields()[1];
    QCOMPARE(field.Name(), QStringLiteral("Le \"champ\""));
    QCOMPARE(field.Type(), type);
    QCOMPARE(field.Size(), size);
    QCOMPARE(field.AllowZeroLength(), allowZeroLength);
}

void TestDbValues::writeConvertsOrRefuses_data() {
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("allowZeroLength");
    QTest::addColumn<QVariant>("written");
    QTest::addColumn<int>("error");
    QTest::addColumn<QVariant>("read");

    const auto i16 = [](int v) { return QVariant::fromValue<qint16>(static_cast<qint16>(v)); };
    const auto i32 = [](qint64 v) { return QVariant::fromValue<qint32>(static_cast<qint32>(v)); };
    const QVariant none;
    const auto ok = [](const char* name, FieldType type, int size, const QVariant& written, const QVariant& read) {
        QTest::newRow(name) << type << size << true << written << 0 << read;
    };
    const auto refused = [](const char* name, FieldType type, int size, const QVariant& written, int error) {
        QTest::newRow(name) << type << size << true << written << error << QVariant();
    };
    using enum FieldType;
    const QDateTime midnight(QDate(2001, 12, 6), QTime(0, 0));
    const QDateTime morning(QDate(2001, 12, 6), QTime(10, 30, 5));

    ok("text that fits", Text, 5, QVariant("abcde"), QVariant("abcde"));
    refused("text one too long", Text, 5, QVariant("abcdef"), 3163);
    ok("accented text counts characters", Text, 5, QVariant(QStringLiteral("éèàùç")),
       QVariant(QStringLiteral("éèàùç")));
    ok("empty text allowed", Text, 5, QVariant(""), QVariant(""));
    QTest::newRow("empty text refused") << Text << 5 << false << QVariant("") << 3315 << none;
    QTest::newRow("empty memo refused") << Memo << 0 << false << QVariant("") << 3315 << none;
    QTest::newRow("null where empty is refused") << Text << 5 << false << none << 0 << none;
    ok("long memo", Memo, 0, QVariant(QString(10000, QLatin1Char('m'))), QVariant(QString(10000, QLatin1Char('m'))));
    ok("date into text", Text, 20, QVariant(midnight), QVariant("06/12/01"));
    ok("date and time into text", Text, 20, QVariant(morning), QVariant("06/12/01 10:30:05"));
    refused("date into too small text", Text, 7, QVariant(midnight), 3163);
    ok("number into text", Text, 10, QVariant(42), QVariant("42"));
    ok("decimal into text", Text, 10, QVariant(2.5), QVariant("2,5"));

    ok("integer at max", Integer, 0, QVariant(32767), i16(32767));
    ok("integer at min", Integer, 0, QVariant(-32768), i16(-32768));
    refused("integer above max", Integer, 0, QVariant(32768), 6);
    refused("integer below min", Integer, 0, QVariant(-32769), 6);
    ok("integer from digits", Integer, 0, QVariant(" 123 "), i16(123));
    refused("integer from letters", Integer, 0, QVariant("abc"), 13);
    refused("integer from empty text", Integer, 0, QVariant(""), 13);
    ok("2.5 rounds to 2", Integer, 0, QVariant(2.5), i16(2));
    ok("3.5 rounds to 4", Integer, 0, QVariant(3.5), i16(4));
    ok("-2.5 rounds to -2", Integer, 0, QVariant(-2.5), i16(-2));
    ok("2.6 rounds to 3", Integer, 0, QVariant(2.6), i16(3));
    ok("decimal comma text", Integer, 0, QVariant("4,5"), i16(4));
    refused("32767.5 rounds out of range", Integer, 0, QVariant(32767.5), 6);
    ok("true is -1 in a number", Integer, 0, QVariant(true), i16(-1));
    refused("date into integer", Integer, 0, QVariant(midnight), 13);

    ok("long at max", Long, 0, QVariant(2147483647), i32(2147483647));
    refused("long above max", Long, 0, QVariant(qint64(2147483648LL)), 6);
    refused("long from huge double", Long, 0, QVariant(3e9), 6);
    refused("long from huge unsigned", Long, 0, QVariant(std::numeric_limits<quint64>::max()), 6);

    ok("boolean true", Boolean, 0, QVariant(true), QVariant(true));
    ok("boolean from -1", Boolean, 0, QVariant(-1), QVariant(true));
    ok("boolean from 0", Boolean, 0, QVariant(0), QVariant(false));
    ok("boolean from Vrai", Boolean, 0, QVariant("Vrai"), QVariant(true));
    ok("boolean from false", Boolean, 0, QVariant("false"), QVariant(false));
    refused("boolean from other words", Boolean, 0, QVariant("oui?"), 13);

    ok("double from point text", Double, 0, QVariant("1.25"), QVariant(1.25));
    refused("double from letters", Double, 0, QVariant("x"), 13);
    ok("double from integer", Double, 0, QVariant(7), QVariant(7.0));
    refused("single beyond its range", Single, 0, QVariant(1e39), 6);

    ok("date and time", Date, 0, QVariant(morning), QVariant(morning));
    ok("date from French text", Date, 0, QVariant("6/12/2001"), QVariant(midnight));
    ok("date from short year", Date, 0, QVariant("06/12/01 10:30:05"), QVariant(morning));
    refused("date from day 31 of a 30-day month", Date, 0, QVariant("31/11/2001"), 13);
    refused("date from a number", Date, 0, QVariant(5), 13);

    const QByteArray octets("\x89PNG\0\xff", 6);
    ok("bytes with a zero", LongBinary, 0, QVariant(octets), QVariant(octets));
    refused("text into bytes", LongBinary, 0, QVariant("x"), 13);

    ok("untyped keeps text", Variant, 0, QVariant("x"), QVariant("x"));
    ok("untyped keeps numbers", Variant, 0, QVariant(3.25), QVariant(3.25));
}

void TestDbValues::writeConvertsOrRefuses() {
    QFETCH(FieldType, type);
    QFETCH(int, size);
    QFETCH(bool, allowZeroLength);
    QFETCH(QVariant, written);
    QFETCH(int, error);
    QFETCH(QVariant, read);

    const QString path = newFile();
    {
        Database db = CreateDatabase(path);
        TableDef table = db.CreateTableDef(QStringLiteral("t"));
        Field field = table.CreateField(QStringLiteral("f"), type, size);
        field.setAllowZeroLength(allowZeroLength);
        table.Fields().Append(field);
        db.TableDefs().Append(table);
        Recordset rs = db.OpenRecordset(QStringLiteral("t"));
        rs.AddNew();
        if (error != 0) {
            KELVANE_EXPECT_ERROR(rs.SetField(0, written), error);
            return;
        }
        rs.SetField(0, written);
        rs.Update();
        rs.MoveFirst();
        QCOMPARE(rs.Fields(0), read); // the cache holds what the file holds
    }
    Database db = OpenDatabase(path, OpenMode::ReadOnly);
    Recordset rs = db.OpenRecordset(QStringLiteral("t"));
    const QVariant value = rs.Fields(QStringLiteral("F"));
    QCOMPARE(value.metaType(), read.metaType());
    QCOMPARE(value, read);
}

void TestDbValues::foreignValuesReadBack_data() {
    QTest::addColumn<QString>("declared");
    QTest::addColumn<QString>("stored"); // an SQL literal
    QTest::addColumn<QVariant>("read");

    QTest::newRow("boolean stored as 1") << u"BOOLEAN"_s << u"1"_s << QVariant(true);
    QTest::newRow("boolean stored as -1") << u"BIT"_s << u"-1"_s << QVariant(true);
    QTest::newRow("boolean stored as 0") << u"YESNO BOOL"_s << u"0"_s << QVariant(false);
    QTest::newRow("null boolean") << u"BOOLEAN"_s << u"NULL"_s << QVariant();
    QTest::newRow("text in an integer column") << u"INTEGER"_s << u"'douze'"_s << QVariant("douze");
    QTest::newRow("long too big stays as stored") << u"SMALLINT"_s << u"70000"_s << QVariant(qlonglong(70000));
    QTest::newRow("integer in a real column") << u"REAL"_s << u"3"_s << QVariant(3.0);
    QTest::newRow("SQLite date text") << u"DATE"_s << u"'2001-12-06 10:30:05'"_s
                                      << QVariant(QDateTime(QDate(2001, 12, 6), QTime(10, 30, 5)));
    QTest::newRow("bare ISO date") << u"DATE"_s << u"'2001-12-06'"_s
                                   << QVariant(QDateTime(QDate(2001, 12, 6), QTime(0, 0)));
    QTest::newRow("unreadable date stays text") << u"DATE"_s << u"'bientôt'"_s << QVariant(QStringLiteral("bientôt"));
    QTest::newRow("number in a text column with no affinity") << u"STRING(5)"_s << u"12"_s << QVariant(qlonglong(12));
    QTest::newRow("blob in an untyped column") << u""_s << u"x'00ff'"_s << QVariant(QByteArray("\x00\xff", 2));
}

void TestDbValues::foreignValuesReadBack() {
    QFETCH(QString, declared);
    QFETCH(QString, stored);
    QFETCH(QVariant, read);
    const QString path = newFile();
    rawsqlite::exec(
        path,
        QStringLiteral("CREATE TABLE t (c %1); INSERT INTO t VALUES (%2);").arg(declared, stored).toUtf8().constData());
    Database db = OpenDatabase(path);
    Recordset rs = db.OpenRecordset(QStringLiteral("t"));
    const QVariant value = rs.Fields(0);
    QCOMPARE(value.metaType(), read.metaType());
    QCOMPARE(value, read);
}

void TestDbValues::refusedWriteLeavesTheRecordEditable() {
    const QString path = newFile();
    Database db = CreateDatabase(path);
    TableDef table = db.CreateTableDef(QStringLiteral("t"));
    table.Fields().Append(table.CreateField(QStringLiteral("nom"), FieldType::Text, 3));
    table.Fields().Append(table.CreateField(QStringLiteral("n"), FieldType::Integer));
    db.TableDefs().Append(table);
    Recordset rs = db.OpenRecordset(QStringLiteral("t"));
    rs.AddNew();
    rs.SetField(QStringLiteral("nom"), QStringLiteral("abc"));
    KELVANE_EXPECT_ERROR(rs.SetField(QStringLiteral("n"), 100000), errc::Overflow);
    QCOMPARE(rs.Fields(QStringLiteral("n")), QVariant()); // the refused value never reached the buffer
    rs.SetField(QStringLiteral("n"), 7);
    rs.Update();
    QCOMPARE(rs.RecordCount(), 1);
    QVERIFY(rs.Eof()); // back where it was before AddNew
    rs.MoveFirst();
    QCOMPARE(rs.Fields(QStringLiteral("nom")), QVariant(QStringLiteral("abc")));
}

// Every shape a field's value takes in memory comes back with its type, its value and its null or empty text.
void TestDbValues::packedRowsGiveBackTheSameValues() {
    const QDateTime local(QDate(2001, 12, 6), QTime(10, 30, 5));
    const std::vector<QVariant> values = {
        QVariant(),
        true,
        false,
        QVariant::fromValue<qint16>(-32768),
        QVariant::fromValue<qint32>(70000),
        QVariant(qlonglong(1) << 40),
        -2.5,
        QString(),
        QStringLiteral(""),
        QStringLiteral("Écart de sécurité 𝄞"),
        QByteArray(),
        QByteArray("\x00\xff", 2),
        local,
        local.toUTC(),
        local.toOffsetFromUtc(3600),
        QString(300, QLatin1Char('x')),
    };
    const PackedRow row = PackedRow::pack(values.data(), values.size());
    std::vector<QVariant> unpacked(values.size(), QVariant(7));
    row.unpack(unpacked.data(), unpacked.size());
    for (size_t i = 0; i < values.size(); ++i) {
        for (const QVariant& value : {row.value(i), unpacked[i]}) {
            QCOMPARE(value.metaType(), values[i].metaType());
            QCOMPARE(value, values[i]);
            QCOMPARE(value.toString().isNull(), values[i].toString().isNull());
            QCOMPARE(value.toDateTime().timeSpec(), values[i].toDateTime().timeSpec());
        }
    }
}

QTEST_GUILESS_MAIN(TestDbValues)
#include "tst_db_values.moc"
