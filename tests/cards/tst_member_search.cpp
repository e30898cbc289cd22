#include "member_register.h"

#include "cards/member_search.h"

#include <QTest>

#include <map>

using namespace fenlark;

// Households of the register below, by label, so a row of the table reads as a list of labels.
class TestMemberSearch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void fragments_data();
    void fragments();
    void acrossEveryUnitTheListIsLimited();

private:
    QStringList labels(const std::vector<qint64> &ids) const;

    MemberRegister m_register;
    std::map<qint64, QString> m_labels;
};

void TestMemberSearch::initTestCase()
{
    REQUIRE_MEMBER_REGISTER(m_register);
    m_labels[m_register.add(2016, u"村A"_qs, {u"张三:110101199003071233"_qs, u"李四:110101199003071241"_qs})] =
        u"h1"_qs;
    m_labels[m_register.add(2016, u"村A"_qs, {u"王𬀩:440304198501010013"_qs, u"赵小明:110101199001010015"_qs})] =
        u"h2"_qs;
    m_labels[m_register.add(2016, u"村B"_qs, {u"张三丰:330102198002290015"_qs})] = u"h3"_qs;
    m_labels[m_register.add(2015, u"村A"_qs, {u"张伟:11010519491231002X"_qs})] = u"h4"_qs;
    m_labels[m_register.add(2016, u"村A"_qs, {u"Tom:110101199001010023"_qs})] = u"h5"_qs;
}

QStringList TestMemberSearch::labels(const std::vector<qint64> &ids) const
{
    QStringList found;
    for (const qint64 id : ids)
        found << m_labels.at(id);
    return found;
}

void TestMemberSearch::fragments_data()
{
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<int>("scope"); // 0: 村A in 2016, 1: 村A in every year, 2: everywhere
    QTest::addColumn<QStringList>("households");
    QTest::newRow("surname in the unit") << u"张"_qs << 0 << QStringList{u"h1"_qs};
    QTest::newRow("surname in every year") << u"张"_qs << 1 << QStringList{u"h1"_qs, u"h4"_qs};
    QTest::newRow("surname everywhere") << u"张"_qs << 2 << QStringList{u"h1"_qs, u"h3"_qs, u"h4"_qs};
    QTest::newRow("member who is not the head") << u"李四"_qs << 0 << QStringList{u"h1"_qs};
    QTest::newRow("given name of a member") << u"小明"_qs << 2 << QStringList{u"h2"_qs};
    QTest::newRow("one character in the middle") << u"小"_qs << 2 << QStringList{u"h2"_qs};
    QTest::newRow("rare character in the unit") << u"𬀩"_qs << 0 << QStringList{u"h2"_qs};
    QTest::newRow("rare character everywhere") << u"王𬀩"_qs << 2 << QStringList{u"h2"_qs};
    QTest::newRow("two characters in a row") << u"三丰"_qs << 2 << QStringList{u"h3"_qs};
    QTest::newRow("not in the unit") << u"三丰"_qs << 0 << QStringList{};
    QTest::newRow("characters not in a row") << u"张丰"_qs << 2 << QStringList{};
    QTest::newRow("latin name, exact case") << u"Tom"_qs << 2 << QStringList{u"h5"_qs};
    QTest::newRow("latin name, other case") << u"tom"_qs << 2 << QStringList{};
    QTest::newRow("middle of a card in the unit") << u"19900307"_qs << 0 << QStringList{u"h1"_qs};
    QTest::newRow("end of a card in the unit") << u"0013"_qs << 0 << QStringList{u"h2"_qs};
    QTest::newRow("lower-case x for an X") << u"002x"_qs << 1 << QStringList{u"h4"_qs};
    QTest::newRow("start of a card everywhere") << u"3301"_qs << 2 << QStringList{u"h3"_qs};
    QTest::newRow("whole card with x everywhere") << u"11010519491231002x"_qs << 2 << QStringList{u"h4"_qs};
    QTest::newRow("card start shared") << u"110101"_qs << 2 << QStringList{u"h1"_qs, u"h2"_qs, u"h5"_qs};
    QTest::newRow("nothing typed") << QString() << 0 << QStringList{};
    QTest::newRow("only punctuation everywhere") << u"."_qs << 2 << QStringList{};
}

void TestMemberSearch::fragments()
{
    QFETCH(QString, fragment);
    QFETCH(int, scope);
    QFETCH(QStringList, households);
    const MemberSearchScope where{scope == 2, u"村A"_qs, 2016, scope == 1};
    const MemberSearchResult result = findHouseholdsByMember(m_register.connection, where, fragment, 100);
    QCOMPARE(labels(result.households), households);
    QVERIFY(!result.truncated);
}

void TestMemberSearch::acrossEveryUnitTheListIsLimited()
{
    const MemberSearchResult result = findHouseholdsByMember(m_register.connection, {true, {}, 0, true}, u"张"_qs, 2);
    QCOMPARE(labels(result.households), (QStringList{u"h1"_qs, u"h3"_qs}));
    QVERIFY(result.truncated);
}

QTEST_GUILESS_MAIN(TestMemberSearch)
#include "tst_member_search.moc"
