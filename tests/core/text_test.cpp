#include "core/clock.h"
#include "core/text.h"

#include <QtTest>

#include <cfloat>
#include <limits>

using namespace fenlark;

namespace {

// Before the epoch the day is negative and the time of day is still added to it in
// magnitude: 1899-12-29 06:00 is -1.25.
double dayCountOf(const QDate &date, int hour = 0, int minute = 0, double second = 0)
{
    const double day = QDate(1899, 12, 30).daysTo(date);
    const double fraction = (hour * 3600 + minute * 60 + second) / 86400.0;
    return day < 0 ? day - fraction : day + fraction;
}

} // namespace

class TextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void formatTimestamp_data();
    void formatTimestamp();
    void numberToText_data();
    void numberToText();
    void textToNumber_data();
    void textToNumber();
    void gbkByteLength_data();
    void gbkByteLength();
    void asciiLower_data();
    void asciiLower();
    void splitFields_data();
    void splitFields();
};

void TextTest::formatTimestamp_data()
{
    QTest::addColumn<double>("dayCount");
    QTest::addColumn<QString>("expected");

    const QString now = QStringLiteral("2016-04-13 08:05:09");
    QTest::newRow("epoch means now") << 0.0 << now;
    QTest::newRow("negative zero means now") << -0.0 << now;
    QTest::newRow("not a number means now") << std::numeric_limits<double>::quiet_NaN() << now;
    QTest::newRow("tiny but not zero is the epoch itself") << 1e-12 << QStringLiteral("1899-12-30 00:00:00");
    QTest::newRow("ordinary") << dayCountOf(QDate(2016, 4, 13), 8, 5, 9) << now;
    QTest::newRow("two digits everywhere")
        << dayCountOf(QDate(2023, 11, 25), 23, 59, 1) << QStringLiteral("2023-11-25 23:59:01");
    QTest::newRow("one day") << 1.0 << QStringLiteral("1899-12-31 00:00:00");
    QTest::newRow("before the epoch the time runs forward") << -1.25 << QStringLiteral("1899-12-29 06:00:00");
    QTest::newRow("three-digit year unpadded")
        << dayCountOf(QDate(999, 6, 1), 7) << QStringLiteral("999-06-01 07:00:00");
    QTest::newRow("first day") << -657434.0 << QStringLiteral("100-01-01 00:00:00");
    QTest::newRow("noon of the first day") << -657434.5 << QStringLiteral("100-01-01 12:00:00");
    QTest::newRow("below the range") << -1e9 << QStringLiteral("100-01-01 00:00:00");
    QTest::newRow("just below the range") << -657435.25 << QStringLiteral("100-01-01 00:00:00");
    QTest::newRow("plus infinity") << std::numeric_limits<double>::infinity() << QStringLiteral("9999-12-31 23:59:59");
    QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity() << QStringLiteral("100-01-01 00:00:00");
    QTest::newRow("last second") << dayCountOf(QDate(9999, 12, 31), 23, 59, 59)
                                 << QStringLiteral("9999-12-31 23:59:59");
    QTest::newRow("rounding past the last second") << 2958465.9999999 << QStringLiteral("9999-12-31 23:59:59");
    QTest::newRow("above the range") << 1e9 << QStringLiteral("9999-12-31 23:59:59");
    QTest::newRow("no 24:00:00") << dayCountOf(QDate(2016, 4, 13), 23, 59, 59.9)
                                 << QStringLiteral("2016-04-14 00:00:00");
    QTest::newRow("no 60 seconds") << dayCountOf(QDate(2016, 4, 13), 0, 0, 59.6)
                                   << QStringLiteral("2016-04-13 00:01:00");
    QTest::newRow("carry before the epoch goes forward") << -1.9999999 << QStringLiteral("1899-12-30 00:00:00");
    QTest::newRow("carry at the end of a month")
        << dayCountOf(QDate(2020, 2, 29), 23, 59, 59.7) << QStringLiteral("2020-03-01 00:00:00");
}

void TextTest::formatTimestamp()
{
    QFETCH(double, dayCount);
    QFETCH(QString, expected);
    const FixedClock clock(QDateTime(QDate(2016, 4, 13), QTime(8, 5, 9, 500)));
    QCOMPARE(fenlark::formatTimestamp(dayCount, clock), expected);
}

void TextTest::numberToText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("integer") << 1500.0 << QStringLiteral("1500");
    QTest::newRow("fraction") << 12.5 << QStringLiteral("12.5");
    QTest::newRow("zero") << 0.0 << QStringLiteral("0");
    QTest::newRow("negative zero") << -0.0 << QStringLiteral("0");
    QTest::newRow("negative") << -7.25 << QStringLiteral("-7.25");
    QTest::newRow("cents") << 1234.56 << QStringLiteral("1234.56");
    QTest::newRow("binary noise rounded away") << 0.1 + 0.2 << QStringLiteral("0.3");
    QTest::newRow("single precision shows") << double(1234.56f) << QStringLiteral("1234.560058594");
    QTest::newRow("thirteen digits") << 1234567890123.0 << QStringLiteral("1234567890123");
    QTest::newRow("thirds") << 2.0 / 3.0 << QStringLiteral("0.6666666666667");
    QTest::newRow("small decimal") << 0.0001 << QStringLiteral("0.0001");
    QTest::newRow("fourteen digits take an exponent") << 12345678901234.0 << QStringLiteral("1.234567890123e+13");
    QTest::newRow("huge") << 1e20 << QStringLiteral("1e+20");
    QTest::newRow("tiny") << 1.5e-7 << QStringLiteral("1.5e-07");
    QTest::newRow("largest") << DBL_MAX << QStringLiteral("1.797693134862e+308");
}

void TextTest::numberToText()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(fenlark::numberToText(value), expected);
}

void TextTest::textToNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("letters") << QStringLiteral("abc") << 0.0;
    QTest::newRow("blanks and unit") << QStringLiteral("  12.5kg") << 12.5;
    QTest::newRow("tab") << QStringLiteral("\t42") << 42.0;
    QTest::newRow("full-width digits") << QStringLiteral("１２３") << 123.0;
    QTest::newRow("full-width blank, point and minus") << QStringLiteral("　－１２．５") << -12.5;
    QTest::newRow("full-width exponent") << QStringLiteral("１ｅ３") << 1000.0;
    QTest::newRow("exponent") << QStringLiteral("1e3") << 1000.0;
    QTest::newRow("capital exponent with sign") << QStringLiteral("25E-2") << 0.25;
    QTest::newRow("exponent then text") << QStringLiteral("1e+2x") << 100.0;
    QTest::newRow("exponent without digits") << QStringLiteral("1e") << 1.0;
    QTest::newRow("exponent sign without digits") << QStringLiteral("1e+") << 1.0;
    QTest::newRow("leading point") << QStringLiteral(".5") << 0.5;
    QTest::newRow("trailing point") << QStringLiteral("5.") << 5.0;
    QTest::newRow("plus sign") << QStringLiteral("+7") << 7.0;
    QTest::newRow("sign only") << QStringLiteral("-") << 0.0;
    QTest::newRow("no digit at all") << QStringLiteral("+.e1") << 0.0;
    QTest::newRow("blank after sign") << QStringLiteral("- 5") << 0.0;
    QTest::newRow("second point ends it") << QStringLiteral("3.14.15") << 3.14;
    QTest::newRow("thousands comma ends it") << QStringLiteral("1,234") << 1.0;
    QTest::newRow("inner blank ends it") << QStringLiteral("12 34") << 12.0;
    QTest::newRow("hex is not read") << QStringLiteral("0x10") << 0.0;
    QTest::newRow("leading zeros") << QStringLiteral("00012") << 12.0;
    QTest::newRow("Chinese before the digits") << QStringLiteral("约12") << 0.0;
    QTest::newRow("overflow stays finite") << QStringLiteral("1e999") << DBL_MAX;
    QTest::newRow("negative overflow") << QStringLiteral("-1e999") << -DBL_MAX;
    QTest::newRow("underflow") << QStringLiteral("1e-999") << 0.0;
}

void TextTest::textToNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(fenlark::textToNumber(text), expected);
}

void TextTest::gbkByteLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("ASCII") << QStringLiteral("abc 1") << 5;
    QTest::newRow("Chinese") << QStringLiteral("张三") << 4;
    QTest::newRow("mixed") << QStringLiteral("张3") << 3;
    QTest::newRow("card number") << QStringLiteral("11010119900307123X") << 18;
    QTest::newRow("sixteen ASCII and one Chinese") << QStringLiteral("1101011990030712张") << 18;
    QTest::newRow("GBK outside GB2312") << QStringLiteral("喆") << 2;
    QTest::newRow("full-width") << QStringLiteral("１　") << 4;
    QTest::newRow("punctuation") << QStringLiteral("，。·") << 6;
    QTest::newRow("extension A outside GBK") << QStringLiteral("㐀䴉") << 8;
    // Not in GBK, but GB18030 gives it the two bytes GBK's user area had for it.
    QTest::newRow("outside GBK, two bytes in GB18030") << QStringLiteral("䶮") << 2;
    QTest::newRow("extension B outside GBK") << QStringLiteral("王𪚥") << 6;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + QStringLiteral("a") << 5;
}

void TextTest::gbkByteLength()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(fenlark::gbkByteLength(text), expected);
}

void TextTest::asciiLower_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("letters") << QStringLiteral("ZhangSan") << QStringLiteral("zhangsan");
    QTest::newRow("digits and Chinese kept") << QStringLiteral("A1张B_") << QStringLiteral("a1张b_");
    QTest::newRow("accented kept") << QStringLiteral("ÀÉİ") << QStringLiteral("ÀÉİ");
    QTest::newRow("full-width kept") << QStringLiteral("ＺＨ") << QStringLiteral("ＺＨ");
}

void TextTest::asciiLower()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(fenlark::asciiLower(text), expected);
}

void TextTest::splitFields_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QStringList>("expected");

    const QChar dash(u'-');
    QTest::newRow("plain") << QStringLiteral("张三-男-初中") << dash
                           << QStringList{QStringLiteral("张三"), QStringLiteral("男"), QStringLiteral("初中")};
    QTest::newRow("empty last field counts")
        << QStringLiteral("张三-男-") << dash << QStringList{QStringLiteral("张三"), QStringLiteral("男"), QString()};
    QTest::newRow("empty inner fields") << QStringLiteral("a--b") << dash
                                        << QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")};
    QTest::newRow("empty text is one empty field") << QString() << dash << QStringList{QString()};
    QTest::newRow("other separator") << QStringLiteral("a-b,c") << QChar(u',')
                                     << QStringList{QStringLiteral("a-b"), QStringLiteral("c")};
}

void TextTest::splitFields()
{
    QFETCH(QString, text);
    QFETCH(QChar, separator);
    QFETCH(QStringList, expected);
    QCOMPARE(fenlark::splitFields(text, separator), expected);
}

QTEST_GUILESS_MAIN(TextTest)
#include "text_test.moc"
