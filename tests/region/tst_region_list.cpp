// The search box above the region list: which rows stay in sight, and that the list keeps its
// order, its numbers and a cursor only on a row the user can see.
#include "region_entry_fixture.h"

#include "region/region_deletion.h"
#include "region/region_list.h"

#include <QTest>

using namespace fenlark;

class RegionListTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void filtersByName_data();
    void filtersByName();
    void cursorLeavesHiddenRows();
    void deletionLandsOnAShownRow();
};

namespace {

void addUnits(RegionFixture &f)
{
    f.addUnit(1, QStringLiteral("国家"), QStringLiteral("中国"));
    f.addUnit(4, QStringLiteral("乡镇"), QStringLiteral("李杨镇"), QStringLiteral("郑州"));
    f.addUnit(5, QStringLiteral("村委会"), QStringLiteral("新村"), QStringLiteral("李杨镇"));
    f.addUnit(5, QStringLiteral("村委会"), QStringLiteral("红旗村"), QStringLiteral("李杨镇"));
    f.addUnit(5, QStringLiteral("村委会"), QStringLiteral("新村"), QStringLiteral("王庄镇"));
    f.addUnit(5, QStringLiteral("村委会"), QStringLiteral("Xincun"), QStringLiteral("王庄镇"));
}

QList<int> shownRows(const EGrid &list)
{
    QList<int> rows;
    for (int r = 1; r < list.rowCount(); ++r) {
        if (isRegionListRowShown(list, r))
            rows << r;
    }
    return rows;
}

} // namespace

void RegionListTest::filtersByName_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("shown");
    QTest::newRow("empty shows all") << QString() << QList<int>{1, 2, 3, 4, 5, 6};
    QTest::newRow("blanks only show all") << QStringLiteral(" \u3000") << QList<int>{1, 2, 3, 4, 5, 6};
    QTest::newRow("part of a name, both 新村") << QStringLiteral("新") << QList<int>{3, 5};
    QTest::newRow("blanks around ignored") << QStringLiteral(" 村 ") << QList<int>{3, 4, 5};
    QTest::newRow("Latin in any case") << QStringLiteral("xin") << QList<int>{6};
    QTest::newRow("nothing matches") << QStringLiteral("东坝") << QList<int>{};
}

void RegionListTest::filtersByName()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, shown);
    RegionFixture f;
    QVERIFY(f.isReady());
    addUnits(f);
    const QStringList before = f.listRows();

    filterRegionList(f.list, QStringLiteral("李杨")); // a first search the second replaces
    filterRegionList(f.list, text);

    QCOMPARE(shownRows(f.list), shown);
    QCOMPARE(f.listRows(), before); // order and running numbers as they were
}

void RegionListTest::cursorLeavesHiddenRows()
{
    RegionFixture f;
    QVERIFY(f.isReady());
    addUnits(f);
    f.list.setCursorCell(4, 1);
    filterRegionList(f.list, QStringLiteral("红旗"));
    QCOMPARE(f.list.cursorRow(), 4); // still in sight
    filterRegionList(f.list, QStringLiteral("新村"));
    QCOMPARE(f.list.cursorRow(), -1);

    // With no cursor, 删除 asks nothing and deletes nothing.
    const QStringList unitsBefore = f.units();
    deleteSelectedRegion(f.state, f.connection, f.list, f.dialogs, nullptr);
    QCOMPARE(f.dialogs.lastText(), QStringLiteral("请选择需要删除的行!"));
    QCOMPARE(f.units(), unitsBefore);
}

void RegionListTest::deletionLandsOnAShownRow()
{
    RegionFixture f;
    QVERIFY(f.isReady());
    addUnits(f);
    filterRegionList(f.list, QStringLiteral("新村"));
    f.list.setCursorCell(3, 1); // 新村 under 李杨镇; 红旗村 after it is out of sight
    f.dialogs.answerNext(true);

    deleteSelectedRegion(f.state, f.connection, f.list, f.dialogs, nullptr);

    QCOMPARE(f.units().size(), 5);
    QVERIFY(f.units().contains(QStringLiteral("5|村委会|新村|王庄镇")));
    QCOMPARE(f.list.rowCount(), 6);
    QCOMPARE(f.list.cellText(3, 0), QStringLiteral("3"));
    QCOMPARE(f.list.cellText(3, 2), QStringLiteral("红旗村"));
    // The cursor passes over the hidden 红旗村 to the other 新村.
    QCOMPARE(f.list.cursorRow(), 4);
    QCOMPARE(f.list.cellText(4, 2), QStringLiteral("新村"));
    QCOMPARE(regionListParent(f.list, 4).value_or(QString()), QStringLiteral("王庄镇"));
}

QTEST_MAIN(RegionListTest)
#include "tst_region_list.moc"
