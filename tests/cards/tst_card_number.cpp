#include "cards/card_number.h"

#include <QTest>

using namespace fenlark;

class TestCardNumber : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void checks_data();
    void checks();
    void checkCharacter_data();
    void checkCharacter();
};

void TestCardNumber::checks_data()
{
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("sex");
    QTest::addColumn<QStringList>("problems");
    const QStringList none;
    const QString bad = QStringLiteral("校验位不正确");
    const QString date = QStringLiteral("出生日期无效");
    const QString sex = QStringLiteral("性别与身份证不符");
    QTest::newRow("valid man") << QStringLiteral("110101199003071233") << QStringLiteral("男") << none;
    QTest::newRow("valid woman") << QStringLiteral("110101199003071241") << QStringLiteral("女") << none;
    QTest::newRow("check X") << QStringLiteral("11010519491231002X") << QStringLiteral("女") << none;
    QTest::newRow("check x as typed") << QStringLiteral("11010519491231002x") << QStringLiteral("女") << none;
    QTest::newRow("wrong check digit") << QStringLiteral("110101199003071234") << QStringLiteral("男")
                                       << QStringList{bad};
    QTest::newRow("X where a digit belongs")
        << QStringLiteral("11010119900307123X") << QStringLiteral("男") << QStringList{bad};
    QTest::newRow("30 February") << QStringLiteral("11010119990230001X") << QStringLiteral("男") << QStringList{date};
    QTest::newRow("29 February of a leap year") << QStringLiteral("330102198002290015") << QStringLiteral("男") << none;
    QTest::newRow("29 February of another year")
        << QStringLiteral("330102198102290012") << QStringLiteral("男") << QStringList{date};
    QTest::newRow("born after today") << QStringLiteral("110101201701010016") << QStringLiteral("男")
                                      << QStringList{date};
    QTest::newRow("man's digit for a woman")
        << QStringLiteral("110101199003071233") << QStringLiteral("女") << QStringList{sex};
    QTest::newRow("woman's digit for a man")
        << QStringLiteral("110101199003071241") << QStringLiteral("男") << QStringList{sex};
    QTest::newRow("未知 is not compared") << QStringLiteral("110101199003071241") << QStringLiteral("未知") << none;
    QTest::newRow("empty sex is not compared") << QStringLiteral("110101199003071233") << QString() << none;
    QTest::newRow("every fault at once") << QStringLiteral("110101199902300011") << QStringLiteral("女")
                                         << QStringList{bad, date, sex};
    QTest::newRow("letters in the number")
        << QStringLiteral("1101011990030712号") << QStringLiteral("男") << QStringList{bad};
}

void TestCardNumber::checks()
{
    QFETCH(QString, card);
    QFETCH(QString, sex);
    QFETCH(QStringList, problems);
    // "Today" is the save day of the fixed clock the household tests use.
    QCOMPARE(checkCardNumber(card, sex, QDate(2016, 5, 1)).texts(), problems);
}

void TestCardNumber::checkCharacter_data()
{
    QTest::addColumn<QString>("first17");
    QTest::addColumn<QString>("check");
    QTest::newRow("0") << QStringLiteral("11010119900101002") << QStringLiteral("3");
    QTest::newRow("X for 10") << QStringLiteral("11010519491231002") << QStringLiteral("X");
    QTest::newRow("1") << QStringLiteral("11010119900101001") << QStringLiteral("5");
    QTest::newRow("too short") << QStringLiteral("1101011990010100") << QString();
    QTest::newRow("not digits") << QStringLiteral("1101011990010100a") << QString();
}

void TestCardNumber::checkCharacter()
{
    QFETCH(QString, first17);
    QFETCH(QString, check);
    const QChar c = cardCheckCharacter(first17);
    QCOMPARE(c.isNull() ? QString() : QString(c), check);
}

QTEST_GUILESS_MAIN(TestCardNumber)
#include "tst_card_number.moc"
