// The paged household list against the literal walk over the record set (kept here as the
// reference), on a table with awkward data; and the paging rules.
#include "core/app_state.h"
#include "core/clock.h"
#include "core/datetime.h"
#include "core/text.h"
#include "data/db_connection.h"
#include "data/record_set.h"
#include "data/register_file.h"
#include "data/statement.h"
#include "literal_walks.h"
#include "odd_values.h"
#include "registry/household_page.h"
#include "test_register.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/dialogs.h"
#include "ui/egrid.h"
#include "ui/label.h"
#include "ui/tree_box.h"

#include <QTemporaryDir>
#include <QTest>

using namespace fenlark;

namespace {

const FixedClock kClock(QDateTime(QDate(2026, 5, 1), QTime(9, 0)));

struct Page {
    TreeBox tree;
    ComboBox years;
    EGrid list;
    Label count, page, pages;
    Button previous;
    HouseholdListControls controls{tree, years, list, count, page, pages, previous};
    Page()
    {
        list.setColumnCount(13);
        for (int c : {5, 6, 7, 9, 10, 11})
            list.setCheckColumn(c, true);
    }
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

// A register file, or a schema on the test server (test_register.h).
struct Register {
    TestRegister store;
    DBConnection &connection = store.connection();
    void household(const QVariant &unit, const QVariant &parent, const QVariant &year, const QVariant &info, int flags)
    {
        Statement insert(connection,
                         QStringLiteral("INSERT INTO 成员信息 (所属管辖, 上级管辖, 录入年份, 户主信息, 农户属性, "
                                        "是否计划生育, 是否合作医疗, 是否养老保险, 健康状况, 是否违法, 是否残疾, "
                                        "是否党员, 录入时间) VALUES (?,?,?,?,'扶贫户',?,?,?,'健康',?,?,?,?)"));
        auto bindText = [&](int i, const QVariant &v) {
            if (v.isNull())
                insert.bindNull(i);
            else
                insert.bind(i, v.toString());
        };
        bindText(1, unit);
        bindText(2, parent);
        if (year.isNull())
            insert.bindNull(3);
        else
            insert.bind(3, year.toInt());
        bindText(4, info);
        for (int i = 0; i < 6; ++i)
            insert.bind(5 + i, (flags >> i) & 1);
        insert.bind(11, daycount::toStored(46000.25 + flags));
        QVERIFY(insert.exec());
    }
};

} // namespace

class HouseholdPageTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sameRowsAsLiteralWalk();
    void pagingAtZeroFifteenSixteen_data();
    void pagingAtZeroFifteenSixteen();
    void itemWithChildrenLoadsNothing();
    void yearChangeKeepsPage();
};

void HouseholdPageTest::sameRowsAsLiteralWalk()
{
    Register reg;
    REQUIRE_TEST_REGISTER(reg.store);
    // One village name under two townships, NULLs, several years, odd 户主信息, and the odd
    // stored values of odd_values.h.
    for (int i = 0; i < 40; ++i) {
        const QString parent = i % 3 == 0 ? QStringLiteral("乙镇") : QStringLiteral("甲镇");
        reg.household(QStringLiteral("同名村"), parent, 2024 + i % 3,
                      QStringLiteral("户%1-男-4301%2-初中").arg(i).arg(i, 14, 10, QLatin1Char('0')), i % 64);
    }
    reg.household(QStringLiteral("同名村"), QVariant(), 2025, QStringLiteral("无上级-女"), 3);
    reg.household(QStringLiteral("同名村"), QStringLiteral("甲镇"), QVariant(), QVariant(), 5);
    reg.household(QStringLiteral("同名村 "), QStringLiteral("甲镇"), 2025, QStringLiteral("尾空格-男-1-小学"), 0);
    reg.household(QStringLiteral("TONG"), QStringLiteral("甲镇"), 2025, QStringLiteral("大写-男-1-小学"), 0);
    reg.household(QVariant(), QVariant(), 2025, QStringLiteral("无单位-男-1-小学"), 1);
    QVERIFY(addOddHouseholds(reg.connection, QStringLiteral("同名村"), QStringLiteral("甲镇")));
    // Fractional years in a unit without text years, where SQLite counts and pages on its own.
    QVERIFY(execScript(
        reg.connection,
        QStringLiteral("INSERT INTO 成员信息 (所属管辖, 上级管辖, 录入年份, 户主信息) VALUES "
                       "('tong', '甲镇', 2025.7, '分数-男-1-小学'), ('tong', '甲镇', -0.3, '负分数-男-2-小学'), "
                       "('tong', '甲镇', 2026, '整数-男-3-小学'), ('tong', '甲镇', 2024.99, '差一点-男-4-小学')")));

    Page page;
    const int a = page.tree.addItem(-1, QStringLiteral("甲镇"));
    page.tree.addItem(a, QStringLiteral("同名村"));
    page.tree.addItem(a, QStringLiteral("tong"));
    const int b = page.tree.addItem(-1, QStringLiteral("乙镇"));
    page.tree.addItem(b, QStringLiteral("同名村"));
    for (const char16_t *y : {u"2024", u"2025", u"2026", u"0", u"全部"})
        page.years.addItem(QString::fromUtf16(y));

    AppState state;
    for (int item = 0; item < page.tree.itemCount(); ++item) {
        if (page.tree.hasChildren(item))
            continue;
        for (int y = 0; y < page.years.itemCount(); ++y) {
            for (int p : {0, 1, 2, 3, 9}) {
                page.tree.select(item);
                page.years.setCurrentIndex(y);
                loadHouseholdPage(state, reg.connection, page.controls, p, kClock);
                const bool all = page.years.itemText(y) == QStringLiteral("全部");
                const PageWalk ref = literalPageWalk(reg.connection, page.tree.itemText(item),
                                                     page.tree.itemText(page.tree.parentOf(item)), all,
                                                     page.years.itemText(y).toInt(), p, kClock);
                const QString where =
                    QStringLiteral("item %1 year %2 page %3").arg(item).arg(page.years.itemText(y)).arg(p);
                QVERIFY2(state.householdCount == ref.count, qPrintable(where));
                QVERIFY2(page.rows() == ref.rows, qPrintable(where));
            }
        }
    }
}

void HouseholdPageTest::pagingAtZeroFifteenSixteen_data()
{
    QTest::addColumn<int>("households");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("rowsOnPage2");
    QTest::newRow("none") << 0 << 1 << -1;
    QTest::newRow("fifteen") << 15 << 2 << 0;
    QTest::newRow("sixteen") << 16 << 2 << 1;
}

void HouseholdPageTest::pagingAtZeroFifteenSixteen()
{
    QFETCH(int, households);
    QFETCH(int, pages);
    QFETCH(int, rowsOnPage2);
    Register reg;
    REQUIRE_TEST_REGISTER(reg.store);
    for (int i = 0; i < households; ++i)
        reg.household(QStringLiteral("村"), QStringLiteral("镇"), 2026, QStringLiteral("户-男-1-小学"), 0);
    Page page;
    page.tree.addItem(page.tree.addItem(-1, QStringLiteral("镇")), QStringLiteral("村"));
    page.years.addItem(QStringLiteral("2026"));
    page.years.setCurrentIndex(0);
    AppState state;
    ScriptedDialogs dialogs;
    page.tree.select(1);
    loadHouseholdPage(state, reg.connection, page.controls, 0, kClock);
    QCOMPARE(page.count.caption(), QStringLiteral("总项目数：%1").arg(households));
    QCOMPARE(page.page.caption(), QStringLiteral("所在页：1"));
    QCOMPARE(page.pages.caption(), QStringLiteral("页面总数：%1").arg(pages));
    QVERIFY(!page.previous.isEnabled());
    QCOMPARE(page.list.rowCount() - 1, std::min(households, 15));
    showNextPage(state, reg.connection, page.controls, kClock, dialogs, nullptr);
    if (rowsOnPage2 < 0) {
        QCOMPARE(dialogs.lastText(), QStringLiteral("当前无法进行下一页操作!"));
        QCOMPARE(dialogs.shown().back().icon, MessageIcon::Error);
        return;
    }
    QVERIFY(dialogs.shown().empty());
    QCOMPARE(page.list.rowCount() - 1, rowsOnPage2);
    if (rowsOnPage2 > 0)
        QCOMPARE(page.list.cellText(1, 0), QStringLiteral("1"));
    QVERIFY(page.previous.isEnabled());
    showNextPage(state, reg.connection, page.controls, kClock, dialogs, nullptr);
    QCOMPARE(dialogs.lastText(), QStringLiteral("当前无法进行下一页操作!"));
    showPreviousPage(state, reg.connection, page.controls, kClock, dialogs, nullptr);
    QCOMPARE(page.page.caption(), QStringLiteral("所在页：1"));
    QVERIFY(!page.previous.isEnabled());
    showPreviousPage(state, reg.connection, page.controls, kClock, dialogs, nullptr);
    QCOMPARE(dialogs.lastText(), QStringLiteral("当前无法进行上一页操作!"));
}

void HouseholdPageTest::itemWithChildrenLoadsNothing()
{
    Register reg;
    REQUIRE_TEST_REGISTER(reg.store);
    reg.household(QStringLiteral("村"), QStringLiteral("镇"), 2026, QStringLiteral("户-男-1-小学"), 0);
    Page page;
    page.tree.addItem(page.tree.addItem(-1, QStringLiteral("镇")), QStringLiteral("村"));
    page.years.addItem(QStringLiteral("2026"));
    page.years.setCurrentIndex(0);
    AppState state;
    page.tree.select(1);
    loadHouseholdPage(state, reg.connection, page.controls, 0, kClock);
    QCOMPARE(page.list.rowCount(), 2);
    page.tree.select(0);
    loadHouseholdPage(state, reg.connection, page.controls, 0, kClock);
    QCOMPARE(state.savedTreeItem, 0);
    QCOMPARE(page.list.rowCount(), 2); // the previous list stays
    QCOMPARE(state.currentSelection.unit, QStringLiteral("村"));
}

void HouseholdPageTest::yearChangeKeepsPage()
{
    Register reg;
    REQUIRE_TEST_REGISTER(reg.store);
    for (int i = 0; i < 40; ++i)
        reg.household(QStringLiteral("村"), QStringLiteral("镇"), 2026, QStringLiteral("户-男-1-小学"), 0);
    reg.household(QStringLiteral("村"), QStringLiteral("镇"), 2025, QStringLiteral("户-男-1-小学"), 0);
    Page page;
    page.tree.addItem(page.tree.addItem(-1, QStringLiteral("镇")), QStringLiteral("村"));
    page.years.addItem(QStringLiteral("2025"));
    page.years.addItem(QStringLiteral("2026"));
    page.years.addItem(QStringLiteral("全部"));
    page.years.setCurrentIndex(1);
    AppState state;
    page.tree.select(1);
    loadHouseholdPage(state, reg.connection, page.controls, 3, kClock);
    QCOMPARE(page.list.rowCount() - 1, 10);
    page.years.setCurrentIndex(0);
    onYearChosen(state, reg.connection, page.controls, kClock);
    QCOMPARE(page.page.caption(), QStringLiteral("所在页：3"));
    QCOMPARE(page.list.rowCount(), 1);
    QCOMPARE(state.currentSelection.year, 2025);
    page.years.setCurrentIndex(2); // "全部" keeps the year of the last choice
    onYearChosen(state, reg.connection, page.controls, kClock);
    QCOMPARE(state.currentSelection.year, 2025);
    QCOMPARE(page.count.caption(), QStringLiteral("总项目数：41"));
}

QTEST_MAIN(HouseholdPageTest)
#include "tst_household_page.moc"
