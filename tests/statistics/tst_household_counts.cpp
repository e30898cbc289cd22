// The count behind the statistics on stored values the save never writes: every yes/no column
// must count a household exactly when the record layer reads the value as yes, whatever its
// storage class, and such a value must not disturb the other households' counts.
#include "statistics_fixture.h"

#include "data/register_fixture.h"

#include "data/field_value.h"
#include "statistics/household_counts.h"

#include <QTest>

using namespace fenlark;

namespace {

const char *const kFlagColumns[] = {"是否合作医疗", "是否养老保险", "是否残疾", "是否党员", "是否上访户", "是否违法"};

// The count of kFlagColumns[flag].
qint64 flagCount(const CategoryCounts &counts, int flag)
{
    const qint64 values[] = {counts.medicalCare, counts.pensionInsurance, counts.disabled,
                             counts.partyMember, counts.petitioner,       counts.offence};
    return values[flag];
}

} // namespace

class HouseholdCountsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void oddStoredValues_data();
    void oddStoredValues();
    void olderRegisterGetsThePackedIndex();
    void countsOnEitherEngine();
};

void HouseholdCountsTest::oddStoredValues_data()
{
    QTest::addColumn<QString>("literal"); // the stored value as an SQL literal
    QTest::addColumn<bool>("set");
    const std::pair<const char *, bool> values[] = {
        {"1", true},      {"0", false},     {"2", true},       {"-1", true},     {"NULL", false},   {"0.5", false},
        {"1.5", true},    {"-0.5", false},  {"'1'", true},     {"'TRUE'", true}, {"' yes '", true}, {"'on'", true},
        {"'off'", false}, {"'abc'", false}, {"'2abc'", false}, {"''", false},    {"X'31'", false},  {"X''", false},
    };
    for (const auto &[literal, set] : values)
        QTest::newRow(literal) << QString::fromUtf8(literal) << set;
}

void HouseholdCountsTest::oddStoredValues()
{
    SQLITE_ONLY("storage classes the save never writes");
    QFETCH(QString, literal);
    QFETCH(bool, set);
    StatisticsFixture f;
    QVERIFY(f.open());
    // One household holding the value in all six columns, beside two of the save's kind in the
    // same group, so that a value read wrongly shows in the group's sums.
    QVERIFY(f.addHousehold(QStringLiteral("V1"), QStringLiteral("W1"), 2020, QStringLiteral("扶贫户"),
                           QStringLiteral("101010")));
    QVERIFY(f.addHousehold(QStringLiteral("V1"), QStringLiteral("W1"), 2021, QStringLiteral("低保户"),
                           QStringLiteral("110011")));
    QString sql = QStringLiteral("INSERT INTO 成员信息 (所属管辖, 上级管辖, 录入年份, 农户属性");
    for (const char *column : kFlagColumns)
        sql += QStringLiteral(", ") + QString::fromUtf8(column);
    sql += QStringLiteral(") VALUES ('V1', 'W1', 2020, '扶贫户'");
    for (int i = 0; i < 6; ++i)
        sql += QStringLiteral(", ") + literal;
    QVERIFY(Statement(f.connection, sql + QStringLiteral(")")).exec());

    // The record layer's reading of what was stored is the reference.
    Statement stored(f.connection, QStringLiteral("SELECT 是否违法 FROM 成员信息 ORDER BY id DESC LIMIT 1"));
    QVERIFY(stored.step());
    QCOMPARE(boolOf(stored.value(0)).value_or(false), set);

    const int base[][6] = {{1, 0, 1, 0, 1, 0}, {1, 1, 0, 0, 1, 1}};
    for (const std::optional<int> year : {std::optional<int>(), std::optional<int>(2020)}) {
        const std::vector<HouseholdGroup> groups = countHouseholdGroups(f.connection, year);
        QCOMPARE(groups.size(), std::size_t(1));
        const CategoryCounts &counts = groups.front().counts;
        QCOMPARE(counts.households, year ? 2 : 3);
        QCOMPARE(counts.categories[0], 2);
        for (int flag = 0; flag < 6; ++flag) {
            const qint64 expected = base[0][flag] + (year ? 0 : base[1][flag]) + (set ? 1 : 0);
            QVERIFY2(flagCount(counts, flag) == expected, kFlagColumns[flag]);
        }
    }
}

// A register from before the packed index counts right as it is; opened again, it gets the
// packed index and loses the old one.
void HouseholdCountsTest::olderRegisterGetsThePackedIndex()
{
    SQLITE_ONLY("a register file from an earlier version");
    StatisticsFixture f;
    QVERIFY(f.open());
    QVERIFY(f.addHousehold(QStringLiteral("V1"), QStringLiteral("W1"), 2020, QStringLiteral("三无"),
                           QStringLiteral("111111")));
    QVERIFY(execScript(f.connection,
                       QStringLiteral("DROP INDEX 成员信息_计数; DROP INDEX 成员信息_计数_异值; "
                                      "CREATE INDEX 成员信息_统计 ON 成员信息 (所属管辖, 上级管辖, 农户属性, 录入年份, "
                                      "是否合作医疗, 是否养老保险, 是否残疾, 是否党员, 是否上访户, 是否违法);")));
    const auto indexes = [&] {
        QStringList names;
        Statement list(f.connection, QStringLiteral("SELECT name FROM sqlite_master WHERE name IN ('成员信息_统计', "
                                                    "'成员信息_计数', '成员信息_计数_异值') ORDER BY name"));
        while (list.step())
            names << list.text(0);
        return names;
    };
    QCOMPARE(indexes(), QStringList{QStringLiteral("成员信息_统计")});
    std::vector<HouseholdGroup> groups = countHouseholdGroups(f.connection, std::nullopt);
    QCOMPARE(groups.size(), std::size_t(1));
    QCOMPARE(groups.front().counts.offence, 1);

    const QString path = f.connection.filePath();
    f.connection.close();
    QVERIFY(f.connection.connectAccess(path, QString()));
    QCOMPARE(indexes(), (QStringList{QStringLiteral("成员信息_计数"), QStringLiteral("成员信息_计数_异值")}));
    groups = countHouseholdGroups(f.connection, 2020);
    QCOMPARE(groups.size(), std::size_t(1));
    QCOMPARE(groups.front().counts.categories[2], 1);
    QCOMPARE(groups.front().counts.medicalCare, 1);
    QCOMPARE(groups.front().counts.offence, 1);
}

// The count over the values every save writes, on a register file and on a server register
// (whose statistics index is made by server-init from the same statements).
void HouseholdCountsTest::countsOnEitherEngine()
{
    RegisterFixture store;
    REQUIRE_REGISTER(&store);
    QVERIFY(execScript(store.connection(),
                       QStringLiteral("INSERT INTO 成员信息 (所属管辖, 上级管辖, 录入年份, 农户属性, 是否合作医疗, "
                                      "是否养老保险, 是否残疾, 是否党员, 是否上访户, 是否违法) VALUES "
                                      "('V1', 'W1', 2020, '扶贫户', 1, 0, 1, 0, 1, 0), "
                                      "('V1', 'W1', 2020, '低保户', 1, 1, NULL, 0, 0, 1), "
                                      "('V1', 'W1', 2021, '扶贫户', 0, 1, 1, 1, 1, 1), "
                                      "('V2', NULL, 2020, '其它', NULL, NULL, NULL, NULL, NULL, NULL)")));
    // unit|parent: households, the four categories, then the six yes/no counts.
    const auto lines = [&](std::optional<int> year) {
        QStringList out;
        for (const HouseholdGroup &g : countHouseholdGroups(store.connection(), year)) {
            const CategoryCounts &c = g.counts;
            out << QStringLiteral("%1|%2: %3 %4 %5 %6 %7 %8 %9 %10 %11 %12 %13")
                       .arg(g.unit, g.parent)
                       .arg(c.households)
                       .arg(c.categories[0])
                       .arg(c.categories[1])
                       .arg(c.categories[2])
                       .arg(c.categories[3])
                       .arg(c.medicalCare)
                       .arg(c.pensionInsurance)
                       .arg(c.disabled)
                       .arg(c.partyMember)
                       .arg(c.petitioner)
                       .arg(c.offence);
        }
        out.sort();
        return out;
    };
    QCOMPARE(lines(std::nullopt), (QStringList{QStringLiteral("V1|W1: 3 2 1 0 0 2 2 2 1 2 2"),
                                               QStringLiteral("V2|: 1 0 0 0 0 0 0 0 0 0 0")}));
    QCOMPARE(lines(2020), (QStringList{QStringLiteral("V1|W1: 2 1 1 0 0 2 1 1 0 1 1"),
                                       QStringLiteral("V2|: 1 0 0 0 0 0 0 0 0 0 0")}));
    QCOMPARE(lines(2021), QStringList{QStringLiteral("V1|W1: 1 1 0 0 0 0 1 1 1 1 1")});
}

QTEST_MAIN(HouseholdCountsTest)
#include "tst_household_counts.moc"
