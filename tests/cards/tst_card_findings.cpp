#include "member_register.h"

#include "cards/card_holders.h"

#include <QTest>

using namespace fenlark;

namespace {
const QString kMan = QStringLiteral("110101199003071233");
const QString kOther = QStringLiteral("440304198501010013");
const QString kWithX = QStringLiteral("11010519491231002X");
} // namespace

class TestCardFindings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void holdersOfACard();
    void wholeRegisterCheck();
    void cardSavedByAnotherClerkIsFound();
};

void TestCardFindings::holdersOfACard()
{
    MemberRegister r;
    REQUIRE_MEMBER_REGISTER(r);
    const qint64 one = r.add(2016, u"村A"_qs, {u"张三:"_qs + kMan});
    const qint64 two = r.add(2016, u"村B"_qs, {u"王五:"_qs + kOther, u"王小:"_qs + kWithX});
    r.add(2015, u"村A"_qs, {u"张三:"_qs + kMan});

    // The same year only; the household being saved over is not another.
    std::vector<CardHolder> holders = cardHolders(r.connection, kMan, 2016, 0);
    QCOMPARE(holders.size(), size_t(1));
    QCOMPARE(holders.front().household, one);
    QCOMPARE(describeHousehold(holders.front()), u"户主 张三, 所属管辖 村A, 年份 2016"_qs);
    QVERIFY(cardHolders(r.connection, kMan, 2016, one).empty());
    QVERIFY(cardHolders(r.connection, kMan, 2017, 0).empty());

    // A member who is not the head, found with "x" for "X".
    holders = cardHolders(r.connection, u"11010519491231002x"_qs, 2016, 0);
    QCOMPARE(holders.size(), size_t(1));
    QCOMPARE(holders.front().household, two);
    QCOMPARE(holders.front().memberName, u"王小"_qs);
    QCOMPARE(holders.front().headName, u"王五"_qs);
}

void TestCardFindings::wholeRegisterCheck()
{
    MemberRegister r;
    REQUIRE_MEMBER_REGISTER(r);
    r.add(2016, u"村A"_qs, {u"张三:"_qs + kMan, u"张四:110101199003071234"_qs}); // wrong check digit
    r.add(2016, u"村B"_qs, {u"李四:"_qs + kMan});                                // same card, same year
    r.add(2015, u"村B"_qs, {u"李四:"_qs + kOther});                              // another year: no duplicate
    r.add(2016, u"村C"_qs, {u"王五:"_qs + kWithX, u"王六:"_qs + kWithX.toLower()}, u"女"_qs); // twice in one household
    r.add(2016, u"村C"_qs, {u"女人:110101199003071250"_qs}, u"女"_qs);                        // check and sex wrong
    r.add(2016, u"村D"_qs, {u"短号:123"_qs});

    QStringList lines;
    for (const CardFinding &finding : cardFindings(r.connection, QDate(2016, 5, 1)))
        lines << describeFinding(finding);
    QCOMPARE(
        lines,
        (QStringList{
            u"身份证号 110101199003071234: 校验位不正确 — 张四 (户主 张三, 所属管辖 村A, 年份 2016)"_qs,
            u"身份证号 110101199003071250: 校验位不正确、性别与身份证不符 — 女人 (户主 女人, 所属管辖 村C, 年份 2016)"_qs,
            u"身份证号 123: 长度不是18位 — 短号 (户主 短号, 所属管辖 村D, 年份 2016)"_qs,
            u"身份证号 110101199003071233 在 2016 年重复: 张三 (户主 张三, 所属管辖 村A, 年份 2016); "
            u"李四 (户主 李四, 所属管辖 村B, 年份 2016)"_qs,
            u"身份证号 11010519491231002X 在 2016 年重复: 王五 (户主 王五, 所属管辖 村C, 年份 2016); "
            u"王六 (户主 王五, 所属管辖 村C, 年份 2016)"_qs,
        }));
}

// Another program on the same register (another clerk's, on a server) keeps the index as well:
// the card it just saved is a duplicate here.
void TestCardFindings::cardSavedByAnotherClerkIsFound()
{
    MemberRegister r;
    REQUIRE_MEMBER_REGISTER(r);
    r.add(2016, u"村A"_qs, {u"张三:"_qs + kOther});
    QVERIFY(cardHolders(r.connection, kMan, 2016, 0).empty());
    DBConnection other;
    QVERIFY(r.connectAgain(other));
    Statement insert(other, QStringLiteral("INSERT INTO 成员信息 (录入年份, 所属管辖, 户主, 家庭人员信息) "
                                           "VALUES (2016, '村B', '王五', ?)"));
    insert.bind(1, u"王五-男-"_qs + kOther + u"-户主-汉族-初中,王小-男-"_qs + kMan + u"-儿子-汉族-"_qs);
    QVERIFY(insert.exec());
    const std::vector<CardHolder> holders = cardHolders(r.connection, kMan, 2016, 0);
    QCOMPARE(holders.size(), size_t(1));
    QCOMPARE(holders.front().memberName, u"王小"_qs);
    QCOMPARE(describeHousehold(holders.front()), u"户主 王五, 所属管辖 村B, 年份 2016"_qs);
    QCOMPARE(cardHolders(r.connection, kOther, 2016, 0).size(), size_t(2));
}

QTEST_GUILESS_MAIN(TestCardFindings)
#include "tst_card_findings.moc"
