#include "region_entry_fixture.h"

#include "region/region_deletion.h"
#include "region/region_entry_window.h"

#include <QTest>

using namespace fenlark;

namespace {

// Five units, listed as start-up lists them.
void addFive(RegionFixture &f)
{
    f.addUnit(1, QStringLiteral("国家"), QStringLiteral("中国"));
    f.addUnit(2, QStringLiteral("省"), QStringLiteral("河南"), QStringLiteral("中国"));
    f.addUnit(3, QStringLiteral("市"), QStringLiteral("郑州"), QStringLiteral("河南"));
    f.addUnit(4, QStringLiteral("乡镇"), QStringLiteral("城关镇"), QStringLiteral("郑州"));
    f.addUnit(5, QStringLiteral("村委会"), QStringLiteral("一村"), QStringLiteral("城关镇"));
}

// Five units none of which has a sub-unit: each is deleted after one question.
void addFiveLeaves(RegionFixture &f)
{
    f.addUnit(1, QStringLiteral("国家"), QStringLiteral("中国"));
    f.addUnit(2, QStringLiteral("省"), QStringLiteral("湖北"), QStringLiteral("法国"));
    f.addUnit(3, QStringLiteral("市"), QStringLiteral("郑州"), QStringLiteral("河南"));
    f.addUnit(4, QStringLiteral("乡镇"), QStringLiteral("城关镇"), QStringLiteral("开封"));
    f.addUnit(5, QStringLiteral("村委会"), QStringLiteral("一村"), QStringLiteral("东坝乡"));
}

// The five units, a second village under 城关镇, and a second township 东坝乡 with two villages.
void addTwoTownships(RegionFixture &f)
{
    addFive(f);
    f.addUnit(5, QStringLiteral("村委会"), QStringLiteral("二村"), QStringLiteral("城关镇"));
    f.addUnit(4, QStringLiteral("乡镇"), QStringLiteral("东坝乡"), QStringLiteral("郑州"));
    f.addUnit(5, QStringLiteral("村委会"), QStringLiteral("三村"), QStringLiteral("东坝乡"));
    f.addUnit(5, QStringLiteral("村委会"), QStringLiteral("四村"), QStringLiteral("东坝乡"));
}

QStringList names(const QStringList &rows)
{
    QStringList out;
    for (const QString &row : rows)
        out << row.section(u'|', 2, 2);
    return out;
}

} // namespace

class RegionDeletionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void deletesRowAndKeepsCursor_data();
    void deletesRowAndKeepsCursor();
    void questionDefaultsToNoAndNamesTheUnit();
    void refusals();
    void subtrees_data();
    void subtrees();
    void refusedByStoreKeepsRow();
    void householdsAddedWhileAskedStopTheDeletion_data();
    void householdsAddedWhileAskedStopTheDeletion();
    void apostropheUnitAddedRenamedDeleted();
};

void RegionDeletionTest::deletesRowAndKeepsCursor_data()
{
    QTest::addColumn<int>("units");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("cursorAfter");
    QTest::addColumn<QString>("gone");
    QTest::newRow("third of five") << 5 << 3 << 3 << QStringLiteral("郑州");
    QTest::newRow("last row moves the cursor up") << 5 << 5 << 4 << QStringLiteral("一村");
    QTest::newRow("first row") << 5 << 1 << 1 << QStringLiteral("中国");
    QTest::newRow("only row leaves no cursor") << 1 << 1 << -1 << QStringLiteral("中国");
}

void RegionDeletionTest::deletesRowAndKeepsCursor()
{
    QFETCH(int, units);
    QFETCH(int, row);
    QFETCH(int, cursorAfter);
    QFETCH(QString, gone);
    RegionFixture f;
    QVERIFY(f.isReady());
    if (units == 5)
        addFiveLeaves(f);
    else
        f.addUnit(1, QStringLiteral("国家"), QStringLiteral("中国"));
    f.list.setCursorCell(row, 1);
    f.dialogs.answerNext(true);

    deleteSelectedRegion(f.state, f.connection, f.list, f.dialogs, nullptr);

    QCOMPARE(f.dialogs.shown().size(), size_t(1));
    QVERIFY(f.dialogs.shown().front().question);
    QCOMPARE(f.dialogs.shown().front().icon, MessageIcon::Question);
    QCOMPARE(f.dialogs.shown().front().title, QStringLiteral("信息："));
    QVERIFY(!names(f.units()).contains(gone));
    QCOMPARE(f.units().size(), units - 1);
    QCOMPARE(f.list.rowCount(), units);
    for (int r = 1; r < f.list.rowCount(); ++r)
        QCOMPARE(f.list.cellText(r, 0), QString::number(r));
    QVERIFY(!names(f.listRows()).contains(gone));
    QCOMPARE(names(f.listRows()), names(f.units()));
    QCOMPARE(f.list.cursorRow(), cursorAfter);
}

void RegionDeletionTest::questionDefaultsToNoAndNamesTheUnit()
{
    RegionFixture f;
    QVERIFY(f.isReady());
    addFive(f);
    f.list.setCursorCell(3, 1);

    deleteSelectedRegion(f.state, f.connection, f.list, f.dialogs, nullptr);

    // Return on the question (or closing it) must never delete: it defaults to 否, and it says
    // which unit goes.
    QCOMPARE(f.dialogs.shown().size(), size_t(1));
    const ScriptedDialogs::Shown &asked = f.dialogs.shown().front();
    QVERIFY(asked.question);
    QCOMPARE(asked.defaultAnswer, DefaultAnswer::No);
    QVERIFY2(asked.text.startsWith(QStringLiteral("删除后将不能被恢复,请确认是否继续删除!")), qPrintable(asked.text));
    QVERIFY2(asked.text.contains(QStringLiteral("市 郑州")), qPrintable(asked.text));
    QVERIFY2(asked.text.contains(QStringLiteral("河南")), qPrintable(asked.text));
    QCOMPARE(f.units().size(), 5);
}

void RegionDeletionTest::refusals()
{
    RegionFixture f;
    QVERIFY(f.isReady());
    addFive(f);
    const QStringList unitsBefore = f.units();
    const QStringList listBefore = f.listRows();

    // No cursor row: told so, nothing asked.
    f.list.setCursorCell(-1, 0);
    deleteSelectedRegion(f.state, f.connection, f.list, f.dialogs, nullptr);
    QCOMPARE(f.dialogs.shown().size(), size_t(1));
    QCOMPARE(f.dialogs.lastText(), QStringLiteral("请选择需要删除的行!"));
    QCOMPARE(f.dialogs.shown().back().icon, MessageIcon::Error);
    QVERIFY(!f.dialogs.shown().back().question);

    // Answered No: nothing changes.
    f.list.setCursorCell(2, 0);
    f.dialogs.answerNext(false);
    deleteSelectedRegion(f.state, f.connection, f.list, f.dialogs, nullptr);
    QVERIFY(f.dialogs.shown().back().question);
    QCOMPARE(f.units(), unitsBefore);
    QCOMPARE(f.listRows(), listBefore);
    QCOMPARE(f.list.cursorRow(), 2);
}

void RegionDeletionTest::subtrees_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("asked");   // what was shown, in order
    QTest::addColumn<QStringList>("deleted"); // names gone from the table and the list
    const QString ask = QStringLiteral("删除后将不能被恢复,请确认是否继续删除!\n要删除的单位：");
    const QString refusalTail = QStringLiteral("不能删除!\n请先把这些农户移到其他单位或删除,再删除该单位。");

    QTest::newRow("leaf, answered 是") << QStringLiteral("三村") << QList<bool>{true}
                                       << QStringList{ask + QStringLiteral("村委会 三村（上级管辖：东坝乡）")}
                                       << QStringList{QStringLiteral("三村")};
    QTest::newRow("leaf, answered 否") << QStringLiteral("三村") << QList<bool>{false}
                                       << QStringList{ask + QStringLiteral("村委会 三村（上级管辖：东坝乡）")}
                                       << QStringList{};
    const QStringList emptyTownship{
        ask + QStringLiteral("乡镇 东坝乡（上级管辖：郑州）\n该单位下共有2个下级单位(都没有农户记录),将与它一并删除。"),
        QStringLiteral(
            "以下2个下级单位将与乡镇 东坝乡一并删除,删除后不能恢复:\n村委会 三村、村委会 四村\n请确认是否一并删除!")};
    QTest::newRow("township with empty villages, 是 twice")
        << QStringLiteral("东坝乡") << QList<bool>{true, true} << emptyTownship
        << QStringList{QStringLiteral("东坝乡"), QStringLiteral("三村"), QStringLiteral("四村")};
    QTest::newRow("township with empty villages, 否 the second time")
        << QStringLiteral("东坝乡") << QList<bool>{true, false} << emptyTownship << QStringList{};
    QTest::newRow("township with households below is refused")
        << QStringLiteral("城关镇") << QList<bool>{}
        << QStringList{QStringLiteral("乡镇 城关镇（上级管辖：郑州）下仍有2个下级单位、4条农户记录,") + refusalTail}
        << QStringList{};
    QTest::newRow("village with households is refused")
        << QStringLiteral("一村") << QList<bool>{}
        << QStringList{QStringLiteral("村委会 一村（上级管辖：城关镇）下仍有0个下级单位、3条农户记录,") + refusalTail}
        << QStringList{};
    QTest::newRow("province counts every level below")
        << QStringLiteral("河南") << QList<bool>{}
        << QStringList{QStringLiteral("省 河南（上级管辖：中国）下仍有7个下级单位、4条农户记录,") + refusalTail}
        << QStringList{};
}

void RegionDeletionTest::subtrees()
{
    QFETCH(QString, unit);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, asked);
    QFETCH(QStringList, deleted);
    RegionFixture f;
    QVERIFY(f.isReady());
    addTwoTownships(f);
    f.addHousehold(QStringLiteral("张三"), QStringLiteral("一村"), QStringLiteral("城关镇"));
    f.addHousehold(QStringLiteral("李四"), QStringLiteral("一村"), QStringLiteral("城关镇"));
    f.addHousehold(QStringLiteral("王五"), QStringLiteral("一村"), QStringLiteral("城关镇"));
    f.addHousehold(QStringLiteral("赵六"), QStringLiteral("城关镇"), QStringLiteral("郑州"));
    // A household of another 一村, under another township: not below 城关镇.
    f.addHousehold(QStringLiteral("钱七"), QStringLiteral("一村"), QStringLiteral("王庄镇"));
    f.addUnit(5, QStringLiteral("村委会"), QStringLiteral("一村"), QStringLiteral("王庄镇"));
    const QStringList unitsBefore = f.units();
    const int row = int(names(f.listRows()).indexOf(unit)) + 1;
    f.list.setCursorCell(row, 1);
    for (const bool yes : answers)
        f.dialogs.answerNext(yes);

    deleteSelectedRegion(f.state, f.connection, f.list, f.dialogs, nullptr);

    QStringList shown;
    for (const ScriptedDialogs::Shown &box : f.dialogs.shown()) {
        shown << box.text;
        QCOMPARE(box.title, QStringLiteral("信息："));
        QCOMPARE(box.icon, box.question ? MessageIcon::Question : MessageIcon::Error);
        if (box.question)
            QCOMPARE(box.defaultAnswer, DefaultAnswer::No);
    }
    QCOMPARE(shown, asked);
    QStringList expectedUnits;
    for (const QString &stored : unitsBefore) {
        if (!deleted.contains(stored.section(u'|', 2, 2)))
            expectedUnits << stored;
    }
    QCOMPARE(f.units(), expectedUnits);
    QCOMPARE(names(f.listRows()), names(expectedUnits));
    for (int r = 1; r < f.list.rowCount(); ++r)
        QCOMPARE(f.list.cellText(r, 0), QString::number(r));
    QCOMPARE(f.householdCount(), 5);
    if (!deleted.isEmpty())
        QCOMPARE(f.list.cursorRow(), row); // the next unit now shows there
}

void RegionDeletionTest::refusedByStoreKeepsRow()
{
    RegionFixture f;
    QVERIFY(f.isReady());
    addFive(f);
    QVERIFY(f.exec(
        QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON 区域管理 BEGIN SELECT RAISE(ABORT, 'busy'); END;")));
    const QStringList listBefore = f.listRows();
    f.list.setCursorCell(3, 0); // 郑州 with its township and village: none of the three goes
    f.dialogs.answerNext(true);
    f.dialogs.answerNext(true);

    deleteSelectedRegion(f.state, f.connection, f.list, f.dialogs, nullptr);

    QCOMPARE(f.dialogs.lastText(), QStringLiteral("单位未能从数据库删除,请稍后重试!"));
    QCOMPARE(f.dialogs.shown().back().icon, MessageIcon::Error);
    QCOMPARE(f.units().size(), 5);
    QCOMPARE(f.listRows(), listBefore);
}

void RegionDeletionTest::householdsAddedWhileAskedStopTheDeletion_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("question"); // the question during which another clerk adds a household
    QTest::addColumn<QString>("village");
    QTest::addColumn<QString>("township");
    QTest::addColumn<bool>("household"); // a household is added under village (else a village under township)
    QTest::addColumn<QString>("refusal");
    QTest::newRow("a village, while its question is up")
        << QStringLiteral("二村") << 1 << QStringLiteral("二村") << QStringLiteral("城关镇") << true
        << QStringLiteral("下仍有0个下级单位、1条农户记录,不能删除!");
    QTest::newRow("a township, while its sub-units' question is up")
        << QStringLiteral("东坝乡") << 2 << QStringLiteral("三村") << QStringLiteral("东坝乡") << true
        << QStringLiteral("下仍有2个下级单位、1条农户记录,不能删除!");
    QTest::newRow("a township, a village added to it meanwhile")
        << QStringLiteral("东坝乡") << 2 << QStringLiteral("五村") << QStringLiteral("东坝乡") << false
        << QStringLiteral("该单位的下级单位刚被其他人改动,没有删除任何单位!");
}

// The questions wait on the clerk for as long as they like; meanwhile a clerk elsewhere (on the
// county server) may save a household under the unit. The deletion then must not leave that
// household under a unit that no longer exists.
void RegionDeletionTest::householdsAddedWhileAskedStopTheDeletion()
{
    QFETCH(QString, unit);
    QFETCH(int, question);
    QFETCH(QString, village);
    QFETCH(QString, township);
    QFETCH(bool, household);
    QFETCH(QString, refusal);
    RegionFixture f;
    QVERIFY(f.isReady());
    addTwoTownships(f);
    const QStringList unitsBefore = f.units();
    const QStringList listBefore = f.listRows();
    f.list.setCursorCell(int(names(listBefore).indexOf(unit)) + 1, 1);
    for (int asked = 1; asked <= question; ++asked) {
        if (asked == question)
            f.dialogs.answerNext(true, [&] {
                if (household)
                    f.addHousehold(QStringLiteral("新户"), village, township);
                else
                    f.addUnit(5, QStringLiteral("村委会"), village, township);
            });
        else
            f.dialogs.answerNext(true);
    }

    deleteSelectedRegion(f.state, f.connection, f.list, f.dialogs, nullptr);

    QVERIFY2(f.dialogs.lastText().contains(refusal), qPrintable(f.dialogs.lastText()));
    QCOMPARE(f.dialogs.shown().back().icon, MessageIcon::Error);
    QCOMPARE(f.units().mid(0, unitsBefore.size()), unitsBefore);
    QCOMPARE(f.listRows().mid(0, listBefore.size()), listBefore);
    QCOMPARE(f.householdCount(), household ? 1 : 0);
}

void RegionDeletionTest::apostropheUnitAddedRenamedDeleted()
{
    RegionFixture f;
    QVERIFY(f.isReady());
    f.addUnit(1, QStringLiteral("国家"), QStringLiteral("中国"));

    f.dialogs.onNextModal([](QDialog *window) {
        EntryForm form(window);
        form.chooseLevel(0);
        form.name->setContent(QStringLiteral("Côte d'Ivoire"));
        form.ok->click();
    });
    openRegionEntryForAdd(f.state, f.connection, f.list, f.dialogs, nullptr);
    QCOMPARE(f.units().last(), QStringLiteral("1|国家|Côte d'Ivoire|"));

    // Found again by name: loaded, renamed, then deleted.
    QString loadedName;
    f.list.setCursorCell(2, 0);
    f.dialogs.onNextModal([&](QDialog *window) {
        EntryForm form(window);
        loadedName = form.name->content();
        form.name->setContent(QStringLiteral("Côte d'Ivoire '科特迪瓦'"));
        form.ok->click();
    });
    QVERIFY(openRegionEntryForModify(f.state, f.connection, f.list, f.dialogs, nullptr));
    QCOMPARE(loadedName, QStringLiteral("Côte d'Ivoire"));
    QCOMPARE(f.units().last(), QStringLiteral("1|国家|Côte d'Ivoire '科特迪瓦'|"));
    QCOMPARE(f.listRows().last(), QStringLiteral("2|国家|Côte d'Ivoire '科特迪瓦'"));

    f.dialogs.answerNext(true);
    deleteSelectedRegion(f.state, f.connection, f.list, f.dialogs, nullptr);
    QCOMPARE(f.units(), QStringList{QStringLiteral("1|国家|中国|")});
    QCOMPARE(f.listRows(), QStringList{QStringLiteral("1|国家|中国")});
    QVERIFY(f.dialogs.shown().size() == 1 && f.dialogs.shown().front().question);
}

QTEST_MAIN(RegionDeletionTest)
#include "tst_region_deletion.moc"
