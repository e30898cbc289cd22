// The search by name initials beside the literal walk over the record set (the reference).
#include "literal_walks.h"
#include "odd_values.h"
#include "test_register.h"

#include "core/app_state.h"
#include "core/clock.h"
#include "data/record_set.h"
#include "registry/initials_search.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/edit_box.h"
#include "ui/egrid.h"

using namespace fenlark;

namespace {

const FixedClock kClock(QDateTime(QDate(2026, 5, 1), QTime(9, 0)));

struct Search {
    CheckBox byInitials;
    EditBox box;
    ComboBox years;
    EGrid list;
    AppState state;
    Search()
    {
        list.setColumnCount(13);
        for (int c : {5, 6, 7, 9, 10, 11})
            list.setCheckColumn(c, true);
        byInitials.setChecked(true);
        for (const char16_t *y : {u"2025", u"2026", u"全部"})
            years.addItem(QString::fromUtf16(y));
    }
    // Every cell of every row, joined by "|" (check cells as 0 or 1).
    QStringList rows() const
    {
        QStringList out;
        for (int r = 1; r < list.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < 13; ++c)
                cells << (list.isCheckColumn(c) ? QString::number(list.cellChecked(r, c)) : list.cellText(r, c));
            out << cells.join(u'|');
        }
        return out;
    }
};

} // namespace

class InitialsSearchTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sameRowsAsLiteralWalk_data();
    void sameRowsAsLiteralWalk();
    void untickedDoesNothing();
};

void InitialsSearchTest::sameRowsAsLiteralWalk_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("yearItem");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty box lists all") << "甲村" << 1 << "";
    QTest::newRow("zh found by zh") << "甲村" << 1 << "zh";
    QTest::newRow("z then next initial finds no zh") << "甲村" << 1 << "zs";
    QTest::newRow("upper case matches nothing") << "甲村" << 1 << "ZHS";
    QTest::newRow("longer than the initials") << "甲村" << 1 << "zhsss";
    QTest::newRow("all years") << "甲村" << 2 << "w";
    QTest::newRow("other year") << "甲村" << 0 << "";
    QTest::newRow("empty unit before any load") << "" << 1 << "";
    QTest::newRow("chinese text") << "甲村" << 1 << "张";
    QTest::newRow("odd stored values") << "甲村" << 0 << "gy";
    QTest::newRow("odd stored values, all years") << "甲村" << 2 << "g";
}

void InitialsSearchTest::sameRowsAsLiteralWalk()
{
    QFETCH(QString, unit);
    QFETCH(int, yearItem);
    QFETCH(QString, text);
    TestRegister reg;
    REQUIRE_TEST_REGISTER(reg);
    const QString insert =
        QStringLiteral("INSERT INTO 成员信息 (所属管辖, 上级管辖, 录入年份, 户主信息, 首拼音) VALUES (?, ?, ?, ?, ?)");
    const QVariantList rows[] = {
        {QStringLiteral("甲村"), QStringLiteral("镇一"), 2026, QStringLiteral("张三-男-1-小学"), QStringLiteral("zhs")},
        {QStringLiteral("甲村"), QStringLiteral("镇二"), 2026, QStringLiteral("周深-男-1-小学"),
         QStringLiteral("zhsh")},
        {QStringLiteral("甲村"), QStringLiteral("镇一"), 2026, QStringLiteral("曾子-男-1-小学"), QStringLiteral("zz")},
        {QStringLiteral("甲村"), QStringLiteral("镇一"), 2025, QStringLiteral("王芳-女-1-小学"), QStringLiteral("wf")},
        {QStringLiteral("甲村"), QStringLiteral("镇一"), 2026, QStringLiteral("王五-男-1-小学"), QStringLiteral("ww")},
        {QStringLiteral("甲村"), QStringLiteral("镇一"), 2026, QStringLiteral("安-男-1-小学"), QVariant()},
        {QStringLiteral("乙村"), QStringLiteral("镇一"), 2026, QStringLiteral("张四-男-1-小学"), QStringLiteral("zhs")},
        {QVariant(), QVariant(), 2026, QStringLiteral("无单位-男-1-小学"), QStringLiteral("wdw")},
        {QStringLiteral("甲村"), QStringLiteral("镇一"), 2026, QStringLiteral("张六-男-1-小学"), QStringLiteral("zhl")},
    };
    for (const QVariantList &row : rows)
        QVERIFY(reg.run(insert, row));
    QVERIFY(addOddHouseholds(reg.connection(), QStringLiteral("甲村"), QStringLiteral("镇一")));
    Search search;
    search.state.currentSelection.unit = unit;
    search.state.currentPage = 3;
    search.state.pageCount = 4;
    search.years.setCurrentIndex(yearItem);
    search.box.setContent(text);
    searchByInitials(search.state, reg.connection(), search.byInitials, search.box, search.years, search.list, kClock);
    const bool all = yearItem == 2;
    const int year = search.years.itemText(yearItem).toInt();
    QCOMPARE(search.rows(), literalSearchRows(reg.connection(), unit, all, year, text, kClock));
    QCOMPARE(search.state.currentPage, 3); // paging state untouched
    QCOMPARE(search.state.pageCount, 4);
}

void InitialsSearchTest::untickedDoesNothing()
{
    TestRegister reg;
    REQUIRE_TEST_REGISTER(reg);
    Search search;
    search.byInitials.setChecked(false);
    search.list.insertRow();
    search.list.setCell(1, 1, EGrid::TextCell, QStringLiteral("留着"));
    searchByInitials(search.state, reg.connection(), search.byInitials, search.box, search.years, search.list, kClock);
    QCOMPARE(search.list.cellText(1, 1), QStringLiteral("留着"));
}

QTEST_MAIN(InitialsSearchTest)
#include "tst_initials_search.moc"
