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
    void refusals();
    void questionNamesDependants_data();
    void questionNamesDependants();
    void refusedByStoreKeepsRow();
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
        addFive(f);
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

void RegionDeletionTest::questionNamesDependants_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("question");
    const QString ask = QStringLiteral("删除后将不能被恢复,请确认是否继续删除!");
    QTest::newRow("township with villages and households")
        << 4 << ask + QStringLiteral("\n该单位下仍有2个下级单位、1条农户记录,删除后它们将不再显示在地区树中。");
    QTest::newRow("village with households")
        << 5 << ask + QStringLiteral("\n该单位下仍有0个下级单位、3条农户记录,删除后它们将不再显示在地区树中。");
    QTest::newRow("nothing below") << 6 << ask;
}

void RegionDeletionTest::questionNamesDependants()
{
    QFETCH(int, row);
    QFETCH(QString, question);
    RegionFixture f;
    QVERIFY(f.isReady());
    addFive(f);
    f.addUnit(5, QStringLiteral("村委会"), QStringLiteral("二村"), QStringLiteral("城关镇"));
    f.addHousehold(QStringLiteral("张三"), QStringLiteral("一村"));
    f.addHousehold(QStringLiteral("李四"), QStringLiteral("一村"));
    f.addHousehold(QStringLiteral("王五"), QStringLiteral("一村"));
    f.addHousehold(QStringLiteral("赵六"), QStringLiteral("城关镇"));
    f.list.setCursorCell(row, 0);
    f.dialogs.answerNext(false);

    deleteSelectedRegion(f.state, f.connection, f.list, f.dialogs, nullptr);

    QCOMPARE(f.dialogs.lastText(), question);
    QCOMPARE(f.units().size(), 6);
}

void RegionDeletionTest::refusedByStoreKeepsRow()
{
    RegionFixture f;
    QVERIFY(f.isReady());
    addFive(f);
    QVERIFY(f.exec(
        QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON 区域管理 BEGIN SELECT RAISE(ABORT, 'busy'); END;")));
    const QStringList listBefore = f.listRows();
    f.list.setCursorCell(3, 0);
    f.dialogs.answerNext(true);

    deleteSelectedRegion(f.state, f.connection, f.list, f.dialogs, nullptr);

    QCOMPARE(f.dialogs.lastText(), QStringLiteral("单位未能从数据库删除,请稍后重试!"));
    QCOMPARE(f.dialogs.shown().back().icon, MessageIcon::Error);
    QCOMPARE(f.units().size(), 5);
    QCOMPARE(f.listRows(), listBefore);
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
