#include "register_fixture.h"

#include <QTest>

#include <cmath>

using fenlark::RecordSet;

namespace {
// One column of every kind the layer knows, beside the register's own tables.
const QString kKindsTable = QStringLiteral(
    "CREATE TABLE 类型 (i INTEGER, s SMALLINT, b8 BIGINT, y BYTE, f SINGLE, d DOUBLE, r REAL, n DECIMAL(10,2), "
    "c CURRENCY, yn BOOLEAN, t DATETIME, x TEXT, v VARCHAR(50), bl BLOB, g GUID, u);\n");
const QString kKinds = QStringLiteral("类型");
} // namespace

// Reading and writing columns by kind: conversions, refusals and NULLs.
class RecordValuesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void readTextConverts_data();
    void readTextConverts();
    void nullReads();
    void kindRefusalsLeaveTheVariable_data();
    void kindRefusalsLeaveTheVariable();
    void readsWithoutARow();
    void readBool_data();
    void readBool();
    void writeTextStoreConverts_data();
    void writeTextStoreConverts();
    void writeKindRefusals_data();
    void writeKindRefusals();
    void writeBoolOnEveryKind_data();
    void writeBoolOnEveryKind();
    void singlePrecisionAndCurrency();
    void textsOutsideGbkRoundTrip_data();
    void textsOutsideGbkRoundTrip();
    void dateTimeRoundTrip_data();
    void dateTimeRoundTrip();
    void writeDateTimeParts_data();
    void writeDateTimeParts();

private:
    // Adds one row with the given SQL values for (i, ..., u) and opens the kinds table on it.
    void openWith(const QString &values);

    RegisterFixture *m_store = nullptr;
    RecordSet *m_set = nullptr;
};

void RecordValuesTest::init()
{
    m_store = new RegisterFixture(kKindsTable);
    QVERIFY(m_store->isReady());
    m_set = new RecordSet;
    m_set->attach(m_store->connection());
}

void RecordValuesTest::cleanup()
{
    delete m_set;
    delete m_store;
}

void RecordValuesTest::openWith(const QString &values)
{
    QVERIFY(m_store->exec(QStringLiteral("INSERT INTO 类型 VALUES (") + values + u')'));
    QVERIFY(m_set->openTable(kKinds));
    QVERIFY(!m_set->isAtEnd());
}

void RecordValuesTest::readTextConverts_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("expected");
    QTest::newRow("integer") << QStringLiteral("i") << QStringLiteral("-42");
    QTest::newRow("smallint") << QStringLiteral("s") << QStringLiteral("7");
    QTest::newRow("bigint beyond int") << QStringLiteral("b8") << QStringLiteral("5000000000");
    QTest::newRow("byte") << QStringLiteral("y") << QStringLiteral("255");
    QTest::newRow("single %.4f") << QStringLiteral("f") << QStringLiteral("1.5000");
    QTest::newRow("double %.8f") << QStringLiteral("d") << QStringLiteral("1234.56000000");
    QTest::newRow("real is a double") << QStringLiteral("r") << QStringLiteral("0.10000000");
    QTest::newRow("decimal %.8f") << QStringLiteral("n") << QStringLiteral("12.50000000");
    QTest::newRow("currency") << QStringLiteral("c") << QStringLiteral("12.5");
    QTest::newRow("yes/no") << QStringLiteral("yn") << QStringLiteral("TRUE");
    QTest::newRow("date-time") << QStringLiteral("t") << QStringLiteral("2016-04-13 08:05:09");
    QTest::newRow("text") << QStringLiteral("x") << QStringLiteral("张三");
    QTest::newRow("varchar") << QStringLiteral("v") << QStringLiteral(" a ");
    QTest::newRow("blob") << QStringLiteral("bl") << QStringLiteral("[BLOB]");
    QTest::newRow("unknown type") << QStringLiteral("g") << QStringLiteral("UN_KNOW");
    QTest::newRow("no declared type") << QStringLiteral("u") << QStringLiteral("9");
    QTest::newRow("column name any case") << QStringLiteral("X") << QStringLiteral("张三");
}

void RecordValuesTest::readTextConverts()
{
    QFETCH(QString, column);
    QFETCH(QString, expected);
    openWith(QStringLiteral("-42, 7, 5000000000, 255, 1.5, 1234.56, 0.1, 12.5, 12.5, 1, '2016-04-13 08:05:09', '张三', "
                            "' a ', x'00ff', 'abc', 9"));
    QString text;
    QVERIFY(m_set->readText(column, text));
    QCOMPARE(text, expected);
}

void RecordValuesTest::nullReads()
{
    openWith(QStringLiteral("NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, '', x'', "
                            "NULL, NULL"));
    const QStringList all = {QStringLiteral("i"), QStringLiteral("d"), QStringLiteral("yn"), QStringLiteral("t"),
                             QStringLiteral("x"), QStringLiteral("v"), QStringLiteral("bl")};
    for (const QString &column : all) {
        QString text = QStringLiteral("before");
        QVERIFY2(m_set->readText(column, text), qPrintable(column));
        QCOMPARE(text, QString());
    }
    int number = 77;
    QVERIFY(m_set->readInt(QStringLiteral("i"), number));
    QCOMPARE(number, 0);
    double real = 7.5;
    QVERIFY(m_set->readDouble(QStringLiteral("d"), real));
    QCOMPARE(real, 0.0);
    bool flag = true;
    QVERIFY(!m_set->readBool(QStringLiteral("yn"), flag));
    QCOMPARE(flag, false);
    double days = 99.0;
    QVERIFY(!m_set->readDateTime(QStringLiteral("t"), days));
    QCOMPARE(days, 0.0);
}

void RecordValuesTest::kindRefusalsLeaveTheVariable_data()
{
    QTest::addColumn<QString>("read");
    QTest::addColumn<QString>("column");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("readInt on text") << QStringLiteral("int") << QStringLiteral("x") << false;
    QTest::newRow("readInt on double") << QStringLiteral("int") << QStringLiteral("d") << false;
    QTest::newRow("readInt on yes/no") << QStringLiteral("int") << QStringLiteral("yn") << false;
    QTest::newRow("readInt on date-time") << QStringLiteral("int") << QStringLiteral("t") << false;
    QTest::newRow("readInt beyond int") << QStringLiteral("int") << QStringLiteral("b8") << false;
    QTest::newRow("readInt on byte") << QStringLiteral("int") << QStringLiteral("y") << true;
    QTest::newRow("readInt on smallint") << QStringLiteral("int") << QStringLiteral("s") << true;
    QTest::newRow("readDouble on integer") << QStringLiteral("double") << QStringLiteral("i") << false;
    QTest::newRow("readDouble on text") << QStringLiteral("double") << QStringLiteral("x") << false;
    QTest::newRow("readDouble on single") << QStringLiteral("double") << QStringLiteral("f") << true;
    QTest::newRow("readDouble on decimal") << QStringLiteral("double") << QStringLiteral("n") << true;
    QTest::newRow("readDouble on currency") << QStringLiteral("double") << QStringLiteral("c") << true;
    QTest::newRow("no such column") << QStringLiteral("int") << QStringLiteral("没有") << false;
}

void RecordValuesTest::kindRefusalsLeaveTheVariable()
{
    QFETCH(QString, read);
    QFETCH(QString, column);
    QFETCH(bool, accepted);
    openWith(QStringLiteral("-42, 7, 5000000000, 255, 1.5, 1234.56, 0.1, 12.5, 12.5, 1, '2016-04-13 08:05:09', '12', "
                            "' a ', x'00ff', 'abc', 9"));
    if (read == QLatin1String("int")) {
        int value = 4711;
        QCOMPARE(m_set->readInt(column, value), accepted);
        QCOMPARE(value != 4711, accepted);
    } else {
        double value = 47.11;
        QCOMPARE(m_set->readDouble(column, value), accepted);
        QCOMPARE(value != 47.11, accepted);
    }
}

void RecordValuesTest::readsWithoutARow()
{
    openWith(QStringLiteral("1, 1, 1, 1, 1, 1, 1, 1, 1, 1, '2016-04-13 08:05:09', 'a', 'a', x'00', 'a', 1"));
    QVERIFY(m_set->moveNext());
    QVERIFY(m_set->isAtEnd());
    QString text = QStringLiteral("x");
    QVERIFY(!m_set->readText(QStringLiteral("x"), text));
    QCOMPARE(text, QString());
    int number = 5;
    QVERIFY(!m_set->readInt(QStringLiteral("i"), number));
    QCOMPARE(number, 5);
    double days = 5;
    QVERIFY(!m_set->readDateTime(QStringLiteral("t"), days));
    QCOMPARE(days, 0.0);
    bool flag = true;
    QVERIFY(!m_set->readBool(QStringLiteral("yn"), flag));
    QVERIFY(!flag);
    QVERIFY(!m_set->writeText(QStringLiteral("x"), QStringLiteral("b")));
}

void RecordValuesTest::readBool_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("value");
    QTest::newRow("yes") << QStringLiteral("yn") << QStringLiteral("1") << true << true;
    QTest::newRow("no") << QStringLiteral("yn") << QStringLiteral("0") << true << false;
    QTest::newRow("any non-zero integer") << QStringLiteral("i") << QStringLiteral("-3") << true << true;
    QTest::newRow("a fraction reads as 0") << QStringLiteral("d") << QStringLiteral("0.5") << true << false;
    QTest::newRow("number text") << QStringLiteral("x") << QStringLiteral("'2'") << true << true;
    QTest::newRow("TRUE text") << QStringLiteral("x") << QStringLiteral("'TRUE'") << true << true;
    QTest::newRow("unreadable text") << QStringLiteral("x") << QStringLiteral("'是'") << false << false;
    QTest::newRow("blob") << QStringLiteral("bl") << QStringLiteral("x'01'") << false << false;
    QTest::newRow("null") << QStringLiteral("yn") << QStringLiteral("NULL") << false << false;
}

void RecordValuesTest::readBool()
{
    QFETCH(QString, column);
    QFETCH(QString, stored);
    QFETCH(bool, result);
    QFETCH(bool, value);
    QVERIFY(
        m_store->exec(QStringLiteral("INSERT INTO 类型 (") + column + QStringLiteral(") VALUES (") + stored + u')'));
    QVERIFY(m_set->openTable(kKinds));
    bool flag = !value;
    QCOMPARE(m_set->readBool(column, flag), result);
    QCOMPARE(flag, value);
}

void RecordValuesTest::writeTextStoreConverts_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("stored"); // quote(column) as the store holds it

    QTest::newRow("text") << QStringLiteral("x") << QStringLiteral("张三") << true << QStringLiteral("'张三'");
    QTest::newRow("empty text is not NULL") << QStringLiteral("x") << QString() << true << QStringLiteral("''");
    QTest::newRow("integer") << QStringLiteral("i") << QStringLiteral(" 42 ") << true << QStringLiteral("42");
    QTest::newRow("integer from a fraction")
        << QStringLiteral("i") << QStringLiteral("-2.7") << true << QStringLiteral("-2");
    QTest::newRow("integer refuses a word")
        << QStringLiteral("i") << QStringLiteral("4x") << false << QStringLiteral("NULL");
    QTest::newRow("integer refuses empty") << QStringLiteral("i") << QString() << false << QStringLiteral("NULL");
    QTest::newRow("double") << QStringLiteral("d") << QStringLiteral("12.5") << true << QStringLiteral("12.5");
    QTest::newRow("double refuses a word")
        << QStringLiteral("d") << QStringLiteral("十二") << false << QStringLiteral("NULL");
    QTest::newRow("yes/no word") << QStringLiteral("yn") << QStringLiteral("true") << true << QStringLiteral("1");
    QTest::newRow("yes/no number") << QStringLiteral("yn") << QStringLiteral("0") << true << QStringLiteral("0");
    QTest::newRow("yes/no refuses") << QStringLiteral("yn") << QStringLiteral("是") << false << QStringLiteral("NULL");
    QTest::newRow("date-time") << QStringLiteral("t") << QStringLiteral("2016-4-13 8:05:09") << true
                               << QStringLiteral("'2016-04-13 08:05:09'");
    QTest::newRow("date only") << QStringLiteral("t") << QStringLiteral("2016-04-13") << true
                               << QStringLiteral("'2016-04-13 00:00:00'");
    QTest::newRow("date-time refuses") << QStringLiteral("t") << QStringLiteral("明天") << false
                                       << QStringLiteral("NULL");
    QTest::newRow("no such column") << QStringLiteral("没有") << QStringLiteral("a") << false << QString();
}

void RecordValuesTest::writeTextStoreConverts()
{
    QFETCH(QString, column);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(QString, stored);
    QVERIFY(m_store->exec(QStringLiteral("INSERT INTO 类型 (u) VALUES (1)")));
    QVERIFY(m_set->openTable(kKinds));
    QCOMPARE(m_set->writeText(column, text), accepted);
    QVERIFY(m_set->update());
    if (!stored.isEmpty())
        QCOMPARE(m_store->storedText(QStringLiteral("SELECT quote(") + column + QStringLiteral(") FROM 类型")), stored);
}

void RecordValuesTest::writeKindRefusals_data()
{
    QTest::addColumn<QString>("write");
    QTest::addColumn<QString>("column");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("writeInt on double") << QStringLiteral("int") << QStringLiteral("d") << false;
    QTest::newRow("writeInt on text") << QStringLiteral("int") << QStringLiteral("x") << false;
    QTest::newRow("writeInt on yes/no") << QStringLiteral("int") << QStringLiteral("yn") << false;
    QTest::newRow("writeInt on bigint") << QStringLiteral("int") << QStringLiteral("b8") << true;
    QTest::newRow("writeDouble on integer") << QStringLiteral("double") << QStringLiteral("i") << false;
    QTest::newRow("writeDouble on text") << QStringLiteral("double") << QStringLiteral("x") << false;
    QTest::newRow("writeDouble on decimal") << QStringLiteral("double") << QStringLiteral("n") << true;
    QTest::newRow("writeDateTime on blob") << QStringLiteral("date") << QStringLiteral("bl") << false;
    QTest::newRow("writeDateTime on text") << QStringLiteral("date") << QStringLiteral("x") << true;
}

void RecordValuesTest::writeKindRefusals()
{
    QFETCH(QString, write);
    QFETCH(QString, column);
    QFETCH(bool, accepted);
    QVERIFY(m_set->openTable(kKinds));
    QVERIFY(m_set->addNew());
    QVERIFY(m_set->writeText(QStringLiteral("v"), QStringLiteral("kept")));
    bool result = false;
    if (write == QLatin1String("int"))
        result = m_set->writeInt(column, 3);
    else if (write == QLatin1String("double"))
        result = m_set->writeDouble(column, 3.0);
    else
        result = m_set->writeDateTime(column, 3.0);
    QCOMPARE(result, accepted);
    // The refused write leaves nothing behind; the update stores the other columns.
    QVERIFY(m_set->update());
    QCOMPARE(m_store->storedText(QStringLiteral("SELECT v FROM 类型")), QStringLiteral("kept"));
    QCOMPARE(m_store->count(kKinds, column + QStringLiteral(" IS NULL")), accepted ? 0 : 1);
}

void RecordValuesTest::writeBoolOnEveryKind_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("stored");
    QTest::newRow("yes/no") << QStringLiteral("yn") << true << QStringLiteral("1");
    QTest::newRow("integer") << QStringLiteral("i") << true << QStringLiteral("1");
    QTest::newRow("double") << QStringLiteral("d") << true << QStringLiteral("1.0");
    QTest::newRow("text") << QStringLiteral("x") << true << QStringLiteral("'1'");
    QTest::newRow("date-time: day 1") << QStringLiteral("t") << true << QStringLiteral("'1899-12-31 00:00:00'");
}

void RecordValuesTest::writeBoolOnEveryKind()
{
    QFETCH(QString, column);
    QFETCH(bool, accepted);
    QFETCH(QString, stored);
    QVERIFY(m_set->openTable(kKinds));
    QVERIFY(m_set->addNew());
    QCOMPARE(m_set->writeBool(column, true), accepted);
    QVERIFY(m_set->update());
    QCOMPARE(m_store->storedText(QStringLiteral("SELECT quote(") + column + QStringLiteral(") FROM 类型")), stored);
}

void RecordValuesTest::singlePrecisionAndCurrency()
{
    QVERIFY(m_set->openTable(kKinds));
    QVERIFY(m_set->addNew());
    QVERIFY(m_set->writeDouble(QStringLiteral("f"), 1234.56));
    QVERIFY(m_set->writeDouble(QStringLiteral("d"), 1234.56));
    QVERIFY(m_set->writeDouble(QStringLiteral("c"), 1.234567));
    QVERIFY(!m_set->writeDouble(QStringLiteral("d"), std::nan("")));
    QVERIFY(m_set->update());
    double value = 0;
    QVERIFY(m_set->readDouble(QStringLiteral("f"), value));
    QCOMPARE(value, 1234.56005859375);
    QVERIFY(m_set->readDouble(QStringLiteral("d"), value));
    QCOMPARE(value, 1234.56);
    QVERIFY(m_set->readDouble(QStringLiteral("c"), value));
    QCOMPARE(value, 1.2346);
    QString text;
    QVERIFY(m_set->readText(QStringLiteral("f"), text));
    QCOMPARE(text, QStringLiteral("1234.5601"));
}

void RecordValuesTest::textsOutsideGbkRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("extension B") << QString::fromUtf8("𠀀𪚥");
    QTest::newRow("extension A") << QString::fromUtf8("䶮");
    QTest::newRow("mixed") << QString::fromUtf8("王䶮-男-𠀀𠀁-ä€😀");
    QTest::newRow("long") << QString::fromUtf8("张𠀀,").repeated(300);
}

void RecordValuesTest::textsOutsideGbkRoundTrip()
{
    QFETCH(QString, text);
    QVERIFY(m_set->openTable(QStringLiteral("成员信息")));
    QVERIFY(m_set->addNew());
    QVERIFY(m_set->writeText(QStringLiteral("户主"), text));
    QVERIFY(m_set->writeText(QStringLiteral("家庭人员信息"), text));
    QVERIFY(m_set->update());

    RecordSet reader;
    reader.attach(m_store->connection());
    QVERIFY(reader.openTable(QStringLiteral("成员信息")));
    QString back;
    QVERIFY(reader.readText(QStringLiteral("家庭人员信息"), back));
    QCOMPARE(back, text);
    // Found by the same name, quoted as the program quotes it.
    reader.moveFirst();
    QVERIFY(reader.find(QStringLiteral("户主='") + text + u'\''));
}

void RecordValuesTest::dateTimeRoundTrip_data()
{
    QTest::addColumn<double>("days");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << QStringLiteral("1899-12-30 00:00:00");
    QTest::newRow("a save time") << 42473.33690972222 << QStringLiteral("2016-04-13 08:05:09");
    QTest::newRow("the day before the zero, 06:00") << -1.25 << QStringLiteral("1899-12-29 06:00:00");
    QTest::newRow("1800") << -36522.0 << QStringLiteral("1800-01-01 00:00:00");
    QTest::newRow("the first day") << -657434.0 << QStringLiteral("100-01-01 00:00:00");
    QTest::newRow("the last second") << 2958465.0 + 86399.0 / 86400.0 << QStringLiteral("9999-12-31 23:59:59");
}

void RecordValuesTest::dateTimeRoundTrip()
{
    QFETCH(double, days);
    QFETCH(QString, text);
    QVERIFY(m_set->openTable(QStringLiteral("成员信息")));
    QVERIFY(m_set->addNew());
    QVERIFY(m_set->writeDateTime(QStringLiteral("录入时间"), days));
    QVERIFY(m_set->update());
    m_set->close();
    QVERIFY(m_set->openTable(QStringLiteral("成员信息")));
    double back = 12345.0;
    QVERIFY(m_set->readDateTime(QStringLiteral("录入时间"), back));
    QVERIFY2(std::fabs(back - days) < 0.5 / 86400.0, qPrintable(QString::number(back, 'f', 10)));
    QString shown;
    QVERIFY(m_set->readText(QStringLiteral("录入时间"), shown));
    QCOMPARE(shown, text);
}

void RecordValuesTest::writeDateTimeParts_data()
{
    QTest::addColumn<double>("days");
    QTest::addColumn<int>("part");
    QTest::addColumn<QString>("stored");
    QTest::newRow("whole") << 42473.33690972222 << 0 << QStringLiteral("2016-04-13 08:05:09");
    QTest::newRow("date only") << 42473.33690972222 << 1 << QStringLiteral("2016-04-13 00:00:00");
    QTest::newRow("time only") << 42473.33690972222 << 2 << QStringLiteral("1899-12-30 08:05:09");
    QTest::newRow("date before the zero") << -1.25 << 1 << QStringLiteral("1899-12-29 00:00:00");
    QTest::newRow("time before the zero") << -1.25 << 2 << QStringLiteral("1899-12-30 06:00:00");
}

void RecordValuesTest::writeDateTimeParts()
{
    QFETCH(double, days);
    QFETCH(int, part);
    QFETCH(QString, stored);
    QVERIFY(m_set->openTable(kKinds));
    QVERIFY(m_set->addNew());
    QVERIFY(m_set->writeDateTime(QStringLiteral("t"), days, part));
    QVERIFY(m_set->update());
    QCOMPARE(m_store->storedText(QStringLiteral("SELECT t FROM 类型")), stored);
}

QTEST_GUILESS_MAIN(RecordValuesTest)
#include "tst_record_values.moc"
