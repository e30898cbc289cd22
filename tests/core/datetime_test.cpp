#include "core/datetime.h"

#include <QtTest>

using namespace fenlark;

class DateTimeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stored_data();
    void stored();
    void parse_data();
    void parse();
};

void DateTimeTest::stored_data()
{
    QTest::addColumn<double>("days");
    QTest::addColumn<QString>("expected");

    QTest::newRow("epoch") << 0.0 << QStringLiteral("1899-12-30 00:00:00");
    QTest::newRow("noon") << 42473.5 << QStringLiteral("2016-04-13 12:00:00");
    QTest::newRow("before the epoch") << -1.25 << QStringLiteral("1899-12-29 06:00:00");
    QTest::newRow("carry forward before the epoch") << -1.9999999 << QStringLiteral("1899-12-30 00:00:00");
    QTest::newRow("carry forward after the epoch") << 1.9999999 << QStringLiteral("1900-01-01 00:00:00");
    QTest::newRow("first day, four-digit year") << -657434.0 << QStringLiteral("0100-01-01 00:00:00");
    QTest::newRow("below the range") << -700000.0 << QStringLiteral("0100-01-01 00:00:00");
    QTest::newRow("above the range") << 3e6 << QStringLiteral("9999-12-31 23:59:59");
}

void DateTimeTest::stored()
{
    QFETCH(double, days);
    QFETCH(QString, expected);
    QCOMPARE(daycount::toStored(days), expected);
}

void DateTimeTest::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("days");

    QTest::newRow("full") << QStringLiteral("2016-04-13 12:00:00") << true << 42473.5;
    QTest::newRow("date only") << QStringLiteral("2016-04-13") << true << 42473.0;
    QTest::newRow("minutes only") << QStringLiteral("2016-04-13 06:00") << true << 42473.25;
    QTest::newRow("before the epoch") << QStringLiteral("1899-12-29 06:00:00") << true << -1.25;
    QTest::newRow("T separator") << QStringLiteral("2016-04-13T18:00:00") << true << 42473.75;
    QTest::newRow("blanks around") << QStringLiteral(" 2016-04-13 12:00:00 ") << true << 42473.5;
    QTest::newRow("hour out of range") << QStringLiteral("2016-04-13 24:00:00") << false << 0.0;
    QTest::newRow("one-digit hour") << QStringLiteral("2016-04-13 6:00") << false << 0.0;
    QTest::newRow("not a date") << QStringLiteral("2016-13-40") << false << 0.0;
    QTest::newRow("text") << QStringLiteral("abc") << false << 0.0;
}

void DateTimeTest::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, days);
    double parsed = 0;
    QCOMPARE(daycount::parseStored(text, parsed), ok);
    if (ok) {
        QCOMPARE(parsed, days);
        QCOMPARE(daycount::parseStored(daycount::toStored(parsed), parsed), true);
        QCOMPARE(parsed, days);
    }
}

QTEST_GUILESS_MAIN(DateTimeTest)
#include "datetime_test.moc"
