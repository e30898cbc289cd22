#include "core/app_state.h"
#include "data/record_set.h"
#include "region/region_tree.h"
#include "registry/test_register.h"
#include "ui/tree_box.h"

#include <QTest>

using namespace fenlark;

namespace {
struct Unit {
    int level;
    QString name;
    QString parent;
};

// The tree as text: one "depth:text" entry per item in index order.
QStringList shapeOf(const TreeBox &tree)
{
    QStringList shape;
    for (int i = 0; i < tree.itemCount(); ++i) {
        int depth = 0;
        for (int p = tree.parentOf(i); p != -1; p = tree.parentOf(p))
            ++depth;
        shape << QString::number(depth) + QLatin1Char(':') + tree.itemText(i);
    }
    return shape;
}

QString s(const char *text)
{
    return QString::fromUtf8(text);
}
} // namespace

class RegionTreeTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void build_data();
    void build();
    void rebuildReplacesEverything();
    void expandOpensEveryParent();
    void parentUnitOfUsesFirstItem();
};

void RegionTreeTest::build_data()
{
    QTest::addColumn<QList<Unit>>("units"); // in table order
    QTest::addColumn<QStringList>("shape");
    QTest::addColumn<QStringList>("villages");

    QTest::newRow("one chain C/P/T/W/V") << QList<Unit>{{1, s("C"), s("")},
                                                        {2, s("P"), s("C")},
                                                        {3, s("T"), s("P")},
                                                        {4, s("W"), s("T")},
                                                        {5, s("V"), s("W")}}
                                         << QStringList{s("0:P"), s("1:T"), s("2:W"), s("3:V")} << QStringList{s("V")};
    // Stored out of level order: the sorted open still reads level by level.
    QTest::newRow("levels read in order, not table order")
        << QList<Unit>{{5, s("V"), s("W")}, {4, s("W"), s("T")}, {3, s("T"), s("P")}, {2, s("P"), s("")}}
        << QStringList{s("0:P"), s("1:T"), s("2:W"), s("3:V")} << QStringList{s("V")};
    QTest::newRow("two provinces, city under the second")
        << QList<Unit>{{2, s("P1"), s("")}, {2, s("P2"), s("")}, {3, s("T"), s("P2")}}
        << QStringList{s("0:P1"), s("0:P2"), s("1:T")} << QStringList{};
    QTest::newRow("first item of a shared name wins")
        << QList<Unit>{{2, s("P1"), s("")},
                       {2, s("P2"), s("")},
                       {3, s("同名"), s("P2")},
                       {3, s("同名"), s("P1")},
                       {4, s("W"), s("同名")}}
        << QStringList{s("0:P1"), s("1:同名"), s("2:W"), s("0:P2"), s("1:同名")} << QStringList{};
    QTest::newRow("missing parent drops the subtree, village still listed")
        << QList<Unit>{{2, s("P"), s("")},
                       {3, s("T"), s("无此市")},
                       {4, s("W"), s("T")},
                       {5, s("V"), s("W")},
                       {5, s("V2"), s("P")}}
        << QStringList{s("0:P"), s("1:V2")} << QStringList{s("V"), s("V2")};
    QTest::newRow("parent of a deeper level is read too late")
        << QList<Unit>{{2, s("P"), s("")}, {3, s("T"), s("W")}, {4, s("W"), s("P")}} << QStringList{s("0:P"), s("1:W")}
        << QStringList{};
    QTest::newRow("comparison is exact") << QList<Unit>{{2, s("Ab"), s("")},
                                                        {3, s("T1"), s("ab")},
                                                        {3, s("T2"), s("Ab ")}}
                                         << QStringList{s("0:Ab")} << QStringList{};
    QTest::newRow("empty table") << QList<Unit>{} << QStringList{} << QStringList{};
    // Village names repeat across townships, and a village may share a township's name: a
    // unit goes below an item of a level above its own, never below a village.
    QTest::newRow("a village named like a township does not take its villages")
        << QList<Unit>{{2, s("P"), s("")},   {3, s("T"), s("P")},   {4, s("W1"), s("T")},
                       {4, s("W2"), s("T")}, {5, s("W2"), s("W1")}, {5, s("V"), s("W2")}}
        << QStringList{s("0:P"), s("1:T"), s("2:W1"), s("3:W2"), s("2:W2"), s("3:V")} << QStringList{s("W2"), s("V")};
    QTest::newRow("two 新村 under two townships")
        << QList<Unit>{{2, s("P"), s("")},
                       {4, s("李杨镇"), s("P")},
                       {4, s("王庄镇"), s("P")},
                       {5, s("新村"), s("王庄镇")},
                       {5, s("新村"), s("李杨镇")}}
        << QStringList{s("0:P"), s("1:李杨镇"), s("2:新村"), s("1:王庄镇"), s("2:新村")}
        << QStringList{s("新村"), s("新村")};
}

void RegionTreeTest::build()
{
    QFETCH(QList<Unit>, units);
    QFETCH(QStringList, shape);
    QFETCH(QStringList, villages);

    TestRegister store;
    REQUIRE_TEST_REGISTER(store);
    for (const Unit &unit : units)
        QVERIFY(store.addUnit(unit.level, unit.name, unit.parent));

    AppState state;
    state.topRegionLevel = 2;
    RecordSet set;
    QVERIFY(set.attach(store.connection()));
    TreeBox tree;
    buildRegionTree(state, set, tree);

    QCOMPARE(shapeOf(tree), shape);
    QCOMPARE(state.villageNames, villages);
    // Each village's own parent, in the same order, whether or not the tree shows it.
    QStringList parents;
    for (const QString &village : villages) {
        for (const Unit &unit : units) {
            if (unit.level == 5 && unit.name == village && !parents.contains(unit.parent)) {
                parents << unit.parent;
                break;
            }
        }
    }
    QCOMPARE(state.villageParents, parents);
    QVERIFY(!set.isOpen());
    for (int i = 0; i < tree.itemCount(); ++i)
        QVERIFY(!tree.itemAt(i)->isExpanded());
}

void RegionTreeTest::rebuildReplacesEverything()
{
    TestRegister store;
    REQUIRE_TEST_REGISTER(store);
    QVERIFY(store.addUnit(2, s("P"), s("")));
    QVERIFY(store.addUnit(5, s("V"), s("P")));

    AppState state;
    state.topRegionLevel = 2;
    state.villageNames = {s("旧")};
    RecordSet set;
    QVERIFY(set.attach(store.connection()));
    TreeBox tree;
    tree.addItem(-1, s("旧"));
    buildRegionTree(state, set, tree);
    buildRegionTree(state, set, tree);
    QCOMPARE(shapeOf(tree), (QStringList{s("0:P"), s("1:V")}));
    QCOMPARE(state.villageNames, QStringList{s("V")});

    // A store that cannot be read gives an empty tree and no villages.
    RecordSet unattached;
    buildRegionTree(state, unattached, tree);
    QCOMPARE(tree.itemCount(), 0);
    QVERIFY(state.villageNames.isEmpty());
}

void RegionTreeTest::expandOpensEveryParent()
{
    TreeBox tree;
    const int p = tree.addItem(-1, s("P"));
    const int t = tree.addItem(p, s("T"));
    const int v = tree.addItem(t, s("V"));
    const int q = tree.addItem(-1, s("Q"));
    expandRegionTree(tree);
    QVERIFY(tree.itemAt(p)->isExpanded());
    QVERIFY(tree.itemAt(t)->isExpanded());
    QVERIFY(!tree.itemAt(v)->isExpanded());
    QVERIFY(!tree.itemAt(q)->isExpanded());
}

void RegionTreeTest::parentUnitOfUsesFirstItem()
{
    TreeBox tree;
    const int p1 = tree.addItem(-1, s("P1"));
    const int p2 = tree.addItem(-1, s("P2"));
    tree.addItem(p2, s("村"));
    tree.addItem(p1, s("村")); // index 1, before the one under P2
    QCOMPARE(parentUnitOf(tree, s("村")), s("P1"));
    QCOMPARE(parentUnitOf(tree, s("P2")), QString());
    QCOMPARE(parentUnitOf(tree, s("无")), QString());
}

QTEST_MAIN(RegionTreeTest)
#include "tst_region_tree.moc"
