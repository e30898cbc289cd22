#include "region_entry_fixture.h"

#include "data/record_set.h"
#include "region/region_entry_rules.h"
#include "region/region_entry_window.h"
#include "region/region_tree.h"
#include "ui/tree_box.h"

#include <QPushButton>
#include <QTest>

using namespace fenlark;

namespace {

// What the user does in the window: a level (index, -1 for none), a parent (by text, "" for
// none) and the typed name, then 确认.
struct Typing {
    int level = -1;
    QString parent;
    QString name;
};

void typeAndConfirm(EntryForm &form, const Typing &typing)
{
    if (typing.level >= 0)
        form.chooseLevel(typing.level);
    if (!typing.parent.isEmpty())
        form.parents->setContent(typing.parent);
    form.name->setContent(typing.name);
    form.ok->click();
}

} // namespace

Q_DECLARE_METATYPE(Typing)

class RegionEntryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void designHasTheLevels();
    void refusedForms_data();
    void refusedForms();
    void storedEntries_data();
    void storedEntries();
    void duplicateCheckUsesTrimmedName();
    void parentListOffersTheLevelAbove_data();
    void parentListOffersTheLevelAbove();
    void failedWriteKeepsWindowAndList();
    void exitWritesNothing();
    void modificationLoadsAndRewrites();
    void renameOntoTakenNameRefused();
    void sameNameUnderAnotherParent_data();
    void sameNameUnderAnotherParent();
    void changeCarriesDown_data();
    void changeCarriesDown();
    void refusedNameKeepsRefusingInModification();
    void modifiedUnitMissingFromTable();
    void modifyWithoutCursorRow();
    void trimUnitName_data();
    void trimUnitName();
    void returnInTheNameBoxPressesNoButton();
};

void RegionEntryTest::designHasTheLevels()
{
    RegionFixture f;
    QVERIFY(f.isReady());
    f.state.editMode = kEditModeAdd;
    RegionEntryWindow window(f.state, f.connection, f.list, f.dialogs);
    QVERIFY(window.built().ok());
    QCOMPARE(window.windowTitle(), QStringLiteral("地区录入"));
    QCOMPARE(window.size(), QSize(398, 193));
    EntryForm form(&window);
    const QStringList texts{QStringLiteral("国家"), QStringLiteral("省"), QStringLiteral("市"), QStringLiteral("乡镇"),
                            QStringLiteral("村委会")};
    QCOMPARE(form.levels->itemCount(), 5);
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(form.levels->itemText(i), texts.at(i));
        QCOMPARE(form.levels->itemValue(i), i + 1);
    }
    QCOMPARE(form.levels->currentIndex(), -1);
    QCOMPARE(form.parents->itemCount(), 0);
    QVERIFY(form.levels->isEnabled());
}

void RegionEntryTest::refusedForms_data()
{
    QTest::addColumn<Typing>("typing");
    QTest::addColumn<QString>("message");
    QTest::newRow("no level") << Typing{-1, {}, QStringLiteral("新乡")} << QStringLiteral("所属匹配为必填项!");
    QTest::newRow("no name") << Typing{0, {}, {}} << QStringLiteral("单位名称为必填项!");
    QTest::newRow("province without parent")
        << Typing{1, {}, QStringLiteral("河南")} << QStringLiteral("上级管辖不得为空!");
    QTest::newRow("blank name, no parent")
        << Typing{2, {}, QStringLiteral("  ")} << QStringLiteral("单位名称为必填项!");
    QTest::newRow("both kinds of blank only")
        << Typing{1, QStringLiteral("中国"), QStringLiteral(" \u3000 ")} << QStringLiteral("单位名称为必填项!");
    QTest::newRow("typed with Return") << Typing{1, QStringLiteral("中国"), QStringLiteral("河南\n")}
                                       << QStringLiteral("单位名称不能包含换行符或制表符!");
    QTest::newRow("line break inside") << Typing{1, QStringLiteral("中国"), QStringLiteral("河\r\n南")}
                                       << QStringLiteral("单位名称不能包含换行符或制表符!");
    QTest::newRow("tab") << Typing{1, QStringLiteral("中国"), QStringLiteral("河\t南")}
                         << QStringLiteral("单位名称不能包含换行符或制表符!");
}

void RegionEntryTest::refusedForms()
{
    QFETCH(Typing, typing);
    QFETCH(QString, message);
    RegionFixture f;
    QVERIFY(f.isReady());
    f.addUnit(1, QStringLiteral("国家"), QStringLiteral("中国"));
    const QStringList unitsBefore = f.units();
    const QStringList listBefore = f.listRows();

    bool stillOpen = false;
    f.dialogs.onNextModal([&](QDialog *window) {
        EntryForm form(window);
        typeAndConfirm(form, typing);
        stillOpen = window->isVisible();
    });
    openRegionEntryForAdd(f.state, f.connection, f.list, f.dialogs, nullptr);

    QVERIFY(stillOpen);
    QCOMPARE(f.dialogs.shown().size(), size_t(1));
    QCOMPARE(f.dialogs.shown().front().text, message);
    QCOMPARE(f.dialogs.shown().front().icon, MessageIcon::Error);
    QCOMPARE(f.dialogs.shown().front().title, QStringLiteral("信息："));
    QCOMPARE(f.units(), unitsBefore);
    QCOMPARE(f.listRows(), listBefore);
    QVERIFY(f.state.editMode.isEmpty());
}

void RegionEntryTest::storedEntries_data()
{
    QTest::addColumn<Typing>("typing");
    QTest::addColumn<QString>("storedRow");
    QTest::addColumn<QString>("listRow");
    QTest::newRow("province under a country") << Typing{1, QStringLiteral("中国"), QStringLiteral("河南")}
                                              << QStringLiteral("2|省|河南|中国") << QStringLiteral("3|省|河南");
    QTest::newRow("country needs no parent")
        << Typing{0, {}, QStringLiteral("法国")} << QStringLiteral("1|国家|法国|") << QStringLiteral("3|国家|法国");
    QTest::newRow("trailing blanks removed") << Typing{1, QStringLiteral("中国"), QStringLiteral(" 湖北 省 \u3000 ")}
                                             << QStringLiteral("2|省| 湖北 省|中国") << QStringLiteral("3|省| 湖北 省");
    QTest::newRow("apostrophe in the name") << Typing{1, QStringLiteral("中国"), QStringLiteral("O'Neil省")}
                                            << QStringLiteral("2|省|O'Neil省|中国") << QStringLiteral("3|省|O'Neil省");
}

void RegionEntryTest::storedEntries()
{
    QFETCH(Typing, typing);
    QFETCH(QString, storedRow);
    QFETCH(QString, listRow);
    RegionFixture f;
    QVERIFY(f.isReady());
    f.addUnit(1, QStringLiteral("国家"), QStringLiteral("中国"));
    f.addUnit(2, QStringLiteral("省"), QStringLiteral("山东"), QStringLiteral("中国"));
    f.list.setCell(2, 0, EGrid::TextCell, QStringLiteral("stale")); // renumbered after the save

    bool closed = false;
    f.dialogs.onNextModal([&](QDialog *window) {
        EntryForm form(window);
        typeAndConfirm(form, typing);
        closed = !window->isVisible();
    });
    openRegionEntryForAdd(f.state, f.connection, f.list, f.dialogs, nullptr);

    QVERIFY(closed);
    QVERIFY(f.dialogs.shown().empty());
    QCOMPARE(f.units().size(), 3);
    QCOMPARE(f.units().last(), storedRow);
    QCOMPARE(f.listRows(), QStringList({QStringLiteral("1|国家|中国"), QStringLiteral("2|省|山东"), listRow}));
    QVERIFY(f.state.editMode.isEmpty());
}

void RegionEntryTest::duplicateCheckUsesTrimmedName()
{
    RegionFixture f;
    QVERIFY(f.isReady());
    f.addUnit(1, QStringLiteral("国家"), QStringLiteral("中国"));
    f.addUnit(2, QStringLiteral("省"), QStringLiteral("河南"), QStringLiteral("中国"));
    const QStringList unitsBefore = f.units();

    bool stillOpen = false;
    f.dialogs.onNextModal([&](QDialog *window) {
        EntryForm form(window);
        typeAndConfirm(form, {1, QStringLiteral("中国"), QStringLiteral("河南  ")});
        stillOpen = window->isVisible();
    });
    openRegionEntryForAdd(f.state, f.connection, f.list, f.dialogs, nullptr);

    QVERIFY(stillOpen);
    QCOMPARE(f.dialogs.lastText(), QStringLiteral(" 当前单位名称已存在,不可重复录入!"));
    QCOMPARE(f.dialogs.shown().back().icon, MessageIcon::Error);
    QCOMPARE(f.units(), unitsBefore);
    QCOMPARE(f.list.rowCount(), 3);
}

void RegionEntryTest::parentListOffersTheLevelAbove_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QStringList>("offered");
    QTest::newRow("国家 empties it") << 0 << QStringList();
    QTest::newRow("省") << 1 << QStringList{QStringLiteral("中国")};
    QTest::newRow("市") << 2 << QStringList{QStringLiteral("河南")};
    QTest::newRow("乡镇") << 3 << QStringList{QStringLiteral("郑州"), QStringLiteral("开封")};
    QTest::newRow("村委会: exactly the townships")
        << 4 << QStringList{QStringLiteral("城关镇"), QStringLiteral("东坝乡"), QStringLiteral("西河镇")};
}

void RegionEntryTest::parentListOffersTheLevelAbove()
{
    QFETCH(int, level);
    QFETCH(QStringList, offered);
    RegionFixture f;
    QVERIFY(f.isReady());
    // Levels interleaved, so table order and level filter both show.
    f.addUnit(4, QStringLiteral("乡镇"), QStringLiteral("城关镇"), QStringLiteral("郑州"));
    f.addUnit(1, QStringLiteral("国家"), QStringLiteral("中国"));
    f.addUnit(3, QStringLiteral("市"), QStringLiteral("郑州"), QStringLiteral("河南"));
    f.addUnit(5, QStringLiteral("村委会"), QStringLiteral("一村"), QStringLiteral("城关镇"));
    f.addUnit(4, QStringLiteral("乡镇"), QStringLiteral("东坝乡"), QStringLiteral("郑州"));
    f.addUnit(2, QStringLiteral("省"), QStringLiteral("河南"), QStringLiteral("中国"));
    f.addUnit(3, QStringLiteral("市"), QStringLiteral("开封"), QStringLiteral("河南"));
    f.addUnit(4, QStringLiteral("乡镇"), QStringLiteral("西河镇"), QStringLiteral("开封"));

    QStringList items;
    int selected = 0;
    f.dialogs.onNextModal([&](QDialog *window) {
        EntryForm form(window);
        form.chooseLevel(4); // a first choice the second must replace
        form.parents->setCurrentIndex(0);
        form.chooseLevel(level);
        items = form.parentItems();
        selected = form.parents->currentIndex();
    });
    openRegionEntryForAdd(f.state, f.connection, f.list, f.dialogs, nullptr);

    QCOMPARE(items, offered);
    QCOMPARE(selected, -1);
}

void RegionEntryTest::failedWriteKeepsWindowAndList()
{
    RegionFixture f;
    QVERIFY(f.isReady());
    f.addUnit(1, QStringLiteral("国家"), QStringLiteral("中国"));
    f.addUnit(2, QStringLiteral("省"), QStringLiteral("河南"), QStringLiteral("中国"));
    QVERIFY(f.exec(QStringLiteral(
        "CREATE TRIGGER refuse BEFORE INSERT ON 区域管理 BEGIN SELECT RAISE(ABORT, 'full'); END;"
        "CREATE TRIGGER refuse_change BEFORE UPDATE ON 区域管理 BEGIN SELECT RAISE(ABORT, 'full'); END;")));
    const QStringList unitsBefore = f.units();
    const QStringList listBefore = f.listRows();

    for (const bool modify : {false, true}) {
        f.dialogs.clear();
        bool stillOpen = false;
        f.dialogs.onNextModal([&](QDialog *window) {
            EntryForm form(window);
            if (modify)
                typeAndConfirm(form, {-1, {}, QStringLiteral("河南省")});
            else
                typeAndConfirm(form, {1, QStringLiteral("中国"), QStringLiteral("湖北")});
            stillOpen = window->isVisible();
        });
        if (modify) {
            f.list.setCursorCell(2, 0);
            QVERIFY(openRegionEntryForModify(f.state, f.connection, f.list, f.dialogs, nullptr));
        } else {
            openRegionEntryForAdd(f.state, f.connection, f.list, f.dialogs, nullptr);
        }
        QVERIFY2(stillOpen, modify ? "modify" : "add");
        QCOMPARE(f.dialogs.shown().size(), size_t(1));
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("单位未能保存到数据库,请稍后重试!"));
        QCOMPARE(f.dialogs.shown().back().icon, MessageIcon::Error);
        QCOMPARE(f.units(), unitsBefore);
        QCOMPARE(f.listRows(), listBefore);
    }
}

void RegionEntryTest::exitWritesNothing()
{
    RegionFixture f;
    QVERIFY(f.isReady());
    f.addUnit(1, QStringLiteral("国家"), QStringLiteral("中国"));
    for (const bool modify : {false, true}) {
        f.dialogs.onNextModal([&](QDialog *window) {
            EntryForm form(window);
            form.name->setContent(QStringLiteral("别的"));
            form.quit->click();
        });
        if (modify) {
            f.list.setCursorCell(1, 0);
            openRegionEntryForModify(f.state, f.connection, f.list, f.dialogs, nullptr);
        } else {
            openRegionEntryForAdd(f.state, f.connection, f.list, f.dialogs, nullptr);
        }
        QCOMPARE(f.units(), QStringList{QStringLiteral("1|国家|中国|")});
        QCOMPARE(f.listRows(), QStringList{QStringLiteral("1|国家|中国")});
        QVERIFY(f.dialogs.shown().empty());
        QVERIFY(f.state.editMode.isEmpty());
    }
}

void RegionEntryTest::modificationLoadsAndRewrites()
{
    RegionFixture f;
    QVERIFY(f.isReady());
    f.addUnit(1, QStringLiteral("国家"), QStringLiteral("中国"));
    f.addUnit(2, QStringLiteral("省"), QStringLiteral("河南"), QStringLiteral("中国"));
    f.addUnit(2, QStringLiteral("省"), QStringLiteral("湖北"), QStringLiteral("中国"));
    f.addUnit(3, QStringLiteral("市"), QStringLiteral("郑州"), QStringLiteral("湖北"));
    f.addUnit(5, QStringLiteral("村委会"), QStringLiteral("一村"), QStringLiteral("镇"));
    f.list.setCursorCell(4, 2);

    QString title;
    bool levelsEnabled = true;
    QString shownLevel;
    QString shownParent;
    QStringList offered;
    QString shownName;
    QString modeInside;
    f.dialogs.onNextModal([&](QDialog *window) {
        EntryForm form(window);
        title = window->windowTitle();
        modeInside = f.state.editMode;
        levelsEnabled = form.levels->isEnabled();
        shownLevel = form.levels->selectedText();
        shownParent = form.parents->selectedText();
        offered = form.parentItems();
        shownName = form.name->content();
        form.parents->setContent(QStringLiteral("河南"));
        form.name->setContent(QStringLiteral("郑州市  "));
        form.ok->click();
    });
    QVERIFY(openRegionEntryForModify(f.state, f.connection, f.list, f.dialogs, nullptr));

    QCOMPARE(title, QStringLiteral("地区修改"));
    QCOMPARE(modeInside, QStringLiteral("修改"));
    QVERIFY(!levelsEnabled);
    QCOMPARE(shownLevel, QStringLiteral("市"));
    QCOMPARE(shownParent, QStringLiteral("湖北"));
    QCOMPARE(offered, QStringList({QStringLiteral("河南"), QStringLiteral("湖北")}));
    QCOMPARE(shownName, QStringLiteral("郑州"));
    QCOMPARE(f.state.regionEditRow, 4);
    QCOMPARE(f.state.regionEditName, QStringLiteral("郑州"));
    QVERIFY(f.dialogs.shown().empty());
    QCOMPARE(f.units().at(3), QStringLiteral("3|市|郑州市|河南"));
    QCOMPARE(f.listRows().at(3), QStringLiteral("4|市|郑州市"));
    QCOMPARE(f.list.rowCount(), 6);
    QVERIFY(f.state.editMode.isEmpty());
}

void RegionEntryTest::renameOntoTakenNameRefused()
{
    RegionFixture f;
    QVERIFY(f.isReady());
    f.addUnit(1, QStringLiteral("国家"), QStringLiteral("中国"));
    f.addUnit(2, QStringLiteral("省"), QStringLiteral("河南"), QStringLiteral("中国"));
    f.addUnit(2, QStringLiteral("省"), QStringLiteral("O'Neil省"), QStringLiteral("中国"));
    const QStringList unitsBefore = f.units();

    // Onto another unit's name: refused, the window stays. Keeping its own name: stored.
    struct Step {
        int row;
        QString typed;
        bool refused;
        QString stored;
    };
    const Step steps[] = {
        {2, QStringLiteral("O'Neil省 "), true, {}},
        {3, QStringLiteral("河南"), true, {}},
        {3, QStringLiteral("O'Neil省"), false, QStringLiteral("2|省|O'Neil省|中国")},
        {3, QStringLiteral("O'Neil新省"), false, QStringLiteral("2|省|O'Neil新省|中国")},
    };
    for (const Step &step : steps) {
        f.dialogs.clear();
        f.list.setCursorCell(step.row, 0);
        bool stillOpen = false;
        f.dialogs.onNextModal([&](QDialog *window) {
            EntryForm form(window);
            form.name->setContent(step.typed);
            form.ok->click();
            stillOpen = window->isVisible();
        });
        QVERIFY(openRegionEntryForModify(f.state, f.connection, f.list, f.dialogs, nullptr));
        QCOMPARE(stillOpen, step.refused);
        if (step.refused) {
            QCOMPARE(f.dialogs.lastText(), QStringLiteral(" 当前单位名称已存在,不可重复录入!"));
            QCOMPARE(f.units(), unitsBefore);
        } else {
            QVERIFY(f.dialogs.shown().empty());
            QCOMPARE(f.units().at(2), step.stored);
            QCOMPARE(f.list.cellText(3, 2), step.typed);
        }
    }
}

namespace {

// Two cities, a township in each, a 新村 in each township and a 红旗村 beside the first.
void addCounty(RegionFixture &f)
{
    f.addUnit(1, QStringLiteral("国家"), QStringLiteral("中国"));
    f.addUnit(2, QStringLiteral("省"), QStringLiteral("河南"), QStringLiteral("中国"));
    f.addUnit(3, QStringLiteral("市"), QStringLiteral("郑州"), QStringLiteral("河南"));
    f.addUnit(3, QStringLiteral("市"), QStringLiteral("开封"), QStringLiteral("河南"));
    f.addUnit(4, QStringLiteral("乡镇"), QStringLiteral("李杨镇"), QStringLiteral("郑州"));
    f.addUnit(4, QStringLiteral("乡镇"), QStringLiteral("王庄镇"), QStringLiteral("开封"));
    f.addUnit(5, QStringLiteral("村委会"), QStringLiteral("新村"), QStringLiteral("李杨镇"));
    f.addUnit(5, QStringLiteral("村委会"), QStringLiteral("新村"), QStringLiteral("王庄镇"));
    f.addUnit(5, QStringLiteral("村委会"), QStringLiteral("红旗村"), QStringLiteral("李杨镇"));
    f.addHousehold(QStringLiteral("张"), QStringLiteral("新村"), QStringLiteral("李杨镇"));
    f.addHousehold(QStringLiteral("李"), QStringLiteral("新村"), QStringLiteral("李杨镇"));
    f.addHousehold(QStringLiteral("王"), QStringLiteral("新村"), QStringLiteral("王庄镇"));
    f.addHousehold(QStringLiteral("赵"), QStringLiteral("红旗村"), QStringLiteral("李杨镇"));
}

// "index:text" entries replace the entries of base at those indexes.
QStringList changed(QStringList base, const QStringList &changes)
{
    for (const QString &change : changes)
        base[change.section(u':', 0, 0).toInt()] = change.section(u':', 1);
    return base;
}

} // namespace

void RegionEntryTest::sameNameUnderAnotherParent_data()
{
    QTest::addColumn<Typing>("typing");
    QTest::addColumn<QString>("refusal"); // "" when stored
    QTest::newRow("新村 under a third township")
        << Typing{4, QStringLiteral("东坝乡"), QStringLiteral("新村")} << QString();
    QTest::newRow("新村 again under 李杨镇") << Typing{4, QStringLiteral("李杨镇"), QStringLiteral("新村 ")}
                                             << QStringLiteral(" 当前单位名称已存在,不可重复录入!");
    QTest::newRow("a village named like a township")
        << Typing{4, QStringLiteral("东坝乡"), QStringLiteral("王庄镇")} << QString();
    QTest::newRow("same city name under the same province") << Typing{2, QStringLiteral("河南"), QStringLiteral("开封")}
                                                            << QStringLiteral(" 当前单位名称已存在,不可重复录入!");
    QTest::newRow("a second 王庄镇, under another city")
        << Typing{3, QStringLiteral("郑州"), QStringLiteral("王庄镇")}
        << QStringLiteral(
               "已有同名的国家、省、市或乡镇单位。下级单位和农户只记上级单位的名称,无法区分同名的两个,请换一个名称!");
}

void RegionEntryTest::sameNameUnderAnotherParent()
{
    QFETCH(Typing, typing);
    QFETCH(QString, refusal);
    RegionFixture f;
    QVERIFY(f.isReady());
    addCounty(f);
    f.addUnit(4, QStringLiteral("乡镇"), QStringLiteral("东坝乡"), QStringLiteral("开封"));
    const QStringList unitsBefore = f.units();

    f.dialogs.onNextModal([&](QDialog *window) {
        EntryForm form(window);
        typeAndConfirm(form, typing);
    });
    openRegionEntryForAdd(f.state, f.connection, f.list, f.dialogs, nullptr);

    if (refusal.isEmpty()) {
        QVERIFY(f.dialogs.shown().empty());
        const QString stored = QString::number(typing.level + 1) + u'|' + f.list.cellText(f.list.rowCount() - 1, 1) +
                               u'|' + typing.name + u'|' + typing.parent;
        QCOMPARE(f.units(), unitsBefore + QStringList{stored});
        QCOMPARE(regionListParent(f.list, f.list.rowCount() - 1).value_or(QString()), typing.parent);
    } else {
        QCOMPARE(f.dialogs.lastText(), refusal);
        QCOMPARE(f.dialogs.shown().back().icon, MessageIcon::Error);
        QCOMPARE(f.units(), unitsBefore);
    }
}

void RegionEntryTest::changeCarriesDown_data()
{
    QTest::addColumn<int>("row"); // of the region list
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("carry");
    QTest::addColumn<QString>("question");       // "" when nothing refers to the unit
    QTest::addColumn<QStringList>("units");      // changes to the table's units
    QTest::addColumn<QStringList>("households"); // changes to the households
    QTest::addColumn<int>("treeItems");
    QTest::addColumn<int>("reachable"); // households the tree leads to

    const QString no = QStringLiteral("选“否”则只修改该单位本身,这些下级单位和农户将不再显示在地区树中。");
    const QString renameVillage = QStringLiteral("是否同时更新引用村委会 新村的记录?\n2条农户记录的所属管辖\n") + no;
    QTest::newRow("village renamed, 是") << 7 << QStringLiteral("李杨镇") << QStringLiteral("新新村") << true
                                         << renameVillage << QStringList{QStringLiteral("6:5|村委会|新新村|李杨镇")}
                                         << QStringList{QStringLiteral("0:张|新新村|李杨镇"),
                                                        QStringLiteral("1:李|新新村|李杨镇")}
                                         << 8 << 4;
    QTest::newRow("village renamed, 否") << 7 << QStringLiteral("李杨镇") << QStringLiteral("新新村") << false
                                         << renameVillage << QStringList{QStringLiteral("6:5|村委会|新新村|李杨镇")}
                                         << QStringList{} << 8 << 2;
    QTest::newRow("the other 新村 renamed, 是")
        << 8 << QStringLiteral("王庄镇") << QStringLiteral("王庄新村") << true
        << QStringLiteral("是否同时更新引用村委会 新村的记录?\n1条农户记录的所属管辖\n") + no
        << QStringList{QStringLiteral("7:5|村委会|王庄新村|王庄镇")}
        << QStringList{QStringLiteral("2:王|王庄新村|王庄镇")} << 8 << 4;
    QTest::newRow("village moved to another township, 是")
        << 9 << QStringLiteral("王庄镇") << QStringLiteral("红旗村") << true
        << QStringLiteral("是否同时更新引用村委会 红旗村的记录?\n1条农户记录的上级管辖\n") + no
        << QStringList{QStringLiteral("8:5|村委会|红旗村|王庄镇")} << QStringList{QStringLiteral("3:赵|红旗村|王庄镇")}
        << 8 << 4;
    QTest::newRow("village moved to another township, 否")
        << 9 << QStringLiteral("王庄镇") << QStringLiteral("红旗村") << false
        << QStringLiteral("是否同时更新引用村委会 红旗村的记录?\n1条农户记录的上级管辖\n") + no
        << QStringList{QStringLiteral("8:5|村委会|红旗村|王庄镇")} << QStringList{} << 8 << 3;
    const QString renameTownship = QStringLiteral("是否同时更新引用乡镇 李杨镇的记录?\n2个下级单位的直属管辖\n"
                                                  "下级单位的3条农户记录的上级管辖\n") +
                                   no;
    QTest::newRow("township renamed, 是")
        << 5 << QStringLiteral("郑州") << QStringLiteral("李杨街道") << true << renameTownship
        << QStringList{QStringLiteral("4:4|乡镇|李杨街道|郑州"), QStringLiteral("6:5|村委会|新村|李杨街道"),
                       QStringLiteral("8:5|村委会|红旗村|李杨街道")}
        << QStringList{QStringLiteral("0:张|新村|李杨街道"), QStringLiteral("1:李|新村|李杨街道"),
                       QStringLiteral("3:赵|红旗村|李杨街道")}
        << 8 << 4;
    QTest::newRow("township renamed, 否")
        << 5 << QStringLiteral("郑州") << QStringLiteral("李杨街道") << false << renameTownship
        << QStringList{QStringLiteral("4:4|乡镇|李杨街道|郑州")} << QStringList{} << 6 << 1;
    QTest::newRow("township moved to another city: nothing refers to its city")
        << 5 << QStringLiteral("开封") << QStringLiteral("李杨镇") << true << QString()
        << QStringList{QStringLiteral("4:4|乡镇|李杨镇|开封")} << QStringList{} << 8 << 4;
    const QString renameCity = QStringLiteral("是否同时更新引用市 郑州的记录?\n1个下级单位的直属管辖\n") + no;
    QTest::newRow("city renamed, 是") << 3 << QStringLiteral("河南") << QStringLiteral("郑州市") << true << renameCity
                                      << QStringList{QStringLiteral("2:3|市|郑州市|河南"),
                                                     QStringLiteral("4:4|乡镇|李杨镇|郑州市")}
                                      << QStringList{} << 8 << 4;
    QTest::newRow("city renamed, 否") << 3 << QStringLiteral("河南") << QStringLiteral("郑州市") << false << renameCity
                                      << QStringList{QStringLiteral("2:3|市|郑州市|河南")} << QStringList{} << 5 << 1;
}

void RegionEntryTest::changeCarriesDown()
{
    QFETCH(int, row);
    QFETCH(QString, parent);
    QFETCH(QString, name);
    QFETCH(bool, carry);
    QFETCH(QString, question);
    QFETCH(QStringList, units);
    QFETCH(QStringList, households);
    QFETCH(int, treeItems);
    QFETCH(int, reachable);
    RegionFixture f;
    QVERIFY(f.isReady());
    addCounty(f);
    const QStringList unitsBefore = f.units();
    const QStringList householdsBefore = f.households();
    f.list.setCursorCell(row, 2);
    f.dialogs.answerNext(carry);

    f.dialogs.onNextModal([&](QDialog *window) {
        EntryForm form(window);
        form.parents->setContent(parent);
        form.name->setContent(name);
        form.ok->click();
    });
    QVERIFY(openRegionEntryForModify(f.state, f.connection, f.list, f.dialogs, nullptr));

    if (question.isEmpty()) {
        QVERIFY(f.dialogs.shown().empty());
    } else {
        QCOMPARE(f.dialogs.shown().size(), size_t(1));
        QCOMPARE(f.dialogs.lastText(), question);
        QVERIFY(f.dialogs.shown().back().question);
        QCOMPARE(f.dialogs.shown().back().defaultAnswer, DefaultAnswer::Yes);
    }
    // In the file.
    QCOMPARE(f.units(), changed(unitsBefore, units));
    QCOMPARE(f.households(), changed(householdsBefore, households));
    // In the list: the row, and the parents kept with the rows below it.
    QCOMPARE(f.list.cellText(row, 2), name);
    for (int r = 1; r < f.list.rowCount(); ++r)
        QCOMPARE(regionListParent(f.list, r).value_or(QStringLiteral("?")), f.units().at(r - 1).section(u'|', 3));
    // In the tree: how many units it shows, and how many households it leads to (a household
    // is reached by an item of its 所属管辖 under an item of its 上级管辖).
    AppState state;
    state.topRegionLevel = 2;
    RecordSet set;
    set.attach(f.connection);
    TreeBox tree;
    buildRegionTree(state, set, tree);
    QCOMPARE(tree.itemCount(), treeItems);
    int reached = 0;
    for (const QString &household : f.households()) {
        for (int i = 0; i < tree.itemCount(); ++i) {
            if (tree.itemText(i) == household.section(u'|', 1, 1) &&
                tree.itemText(tree.parentOf(i)) == household.section(u'|', 2, 2)) {
                ++reached;
                break;
            }
        }
    }
    QCOMPARE(reached, reachable);
}

void RegionEntryTest::refusedNameKeepsRefusingInModification()
{
    RegionFixture f;
    QVERIFY(f.isReady());
    addCounty(f);
    const QStringList unitsBefore = f.units();
    struct Step {
        int row;
        QString parent;
        QString typed;
        QString message;
    };
    const Step steps[] = {
        {9, QStringLiteral("李杨镇"), QStringLiteral("新村"), QStringLiteral(" 当前单位名称已存在,不可重复录入!")},
        {9, QStringLiteral("王庄镇"), QStringLiteral("新村"), QStringLiteral(" 当前单位名称已存在,不可重复录入!")},
        {6, QStringLiteral("开封"), QStringLiteral("李杨镇"),
         QStringLiteral(
             "已有同名的国家、省、市或乡镇单位。下级单位和农户只记上级单位的名称,无法区分同名的两个,请换一个名称!")},
        {7, QStringLiteral("李杨镇"), QStringLiteral("新\n村"), QStringLiteral("单位名称不能包含换行符或制表符!")},
        {7, QStringLiteral("李杨镇"), QStringLiteral("\u3000"), QStringLiteral("单位名称为必填项!")},
    };
    for (const Step &step : steps) {
        f.dialogs.clear();
        f.list.setCursorCell(step.row, 0);
        bool stillOpen = false;
        f.dialogs.onNextModal([&](QDialog *window) {
            EntryForm form(window);
            form.parents->setContent(step.parent);
            form.name->setContent(step.typed);
            form.ok->click();
            stillOpen = window->isVisible();
        });
        QVERIFY(openRegionEntryForModify(f.state, f.connection, f.list, f.dialogs, nullptr));
        QVERIFY2(stillOpen, qPrintable(step.typed));
        QCOMPARE(f.dialogs.lastText(), step.message);
        QCOMPARE(f.units(), unitsBefore);
    }
}

void RegionEntryTest::modifiedUnitMissingFromTable()
{
    RegionFixture f;
    QVERIFY(f.isReady());
    f.addUnit(1, QStringLiteral("国家"), QStringLiteral("中国"));
    f.addUnit(2, QStringLiteral("省"), QStringLiteral("河南"), QStringLiteral("中国"));
    QVERIFY(f.exec(QStringLiteral("DELETE FROM 区域管理 WHERE 单位名称 = '河南'"))); // gone since start-up
    f.list.setCursorCell(2, 0);

    QString title;
    bool levelsEnabled = false;
    QString loadedName = QStringLiteral("<unset>");
    bool closed = false;
    f.dialogs.onNextModal([&](QDialog *window) {
        EntryForm form(window);
        title = window->windowTitle();
        levelsEnabled = form.levels->isEnabled();
        loadedName = form.name->content();
        typeAndConfirm(form, {0, {}, QStringLiteral("法国")});
        closed = !window->isVisible();
    });
    QVERIFY(openRegionEntryForModify(f.state, f.connection, f.list, f.dialogs, nullptr));

    QCOMPARE(title, QStringLiteral("地区修改"));
    QVERIFY(levelsEnabled);
    QCOMPARE(loadedName, QString());
    QVERIFY(closed);
    QVERIFY(f.dialogs.shown().empty());
    QCOMPARE(f.units(), QStringList{QStringLiteral("1|国家|中国|")});
    QCOMPARE(f.listRows(), QStringList({QStringLiteral("1|国家|中国"), QStringLiteral("2|省|河南")}));
}

void RegionEntryTest::modifyWithoutCursorRow()
{
    RegionFixture f;
    QVERIFY(f.isReady());
    f.addUnit(1, QStringLiteral("国家"), QStringLiteral("中国"));
    f.list.setCursorCell(-1, 0);
    bool opened = false;
    f.dialogs.onNextModal([&](QDialog *) { opened = true; });
    QVERIFY(!openRegionEntryForModify(f.state, f.connection, f.list, f.dialogs, nullptr));
    QVERIFY(!opened);
    QCOMPARE(f.dialogs.lastText(), QStringLiteral("请选择需要修改的行!"));
    QCOMPARE(f.dialogs.shown().back().icon, MessageIcon::Error);
    QCOMPARE(f.dialogs.shown().back().title, QStringLiteral("信息："));
    QVERIFY(f.state.editMode.isEmpty());
}

void RegionEntryTest::trimUnitName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("ascii and double-byte blanks") << QStringLiteral("一村 \u3000 ") << QStringLiteral("一村");
    QTest::newRow("leading and inner blanks stay") << QStringLiteral("  一 村") << QStringLiteral("  一 村");
    QTest::newRow("line break stays") << QStringLiteral("一村\n ") << QStringLiteral("一村\n");
    QTest::newRow("blanks only") << QStringLiteral("\u3000 ") << QString();
}

void RegionEntryTest::trimUnitName()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QCOMPARE(fenlark::trimUnitName(typed), stored);
}

// Return ends the typing of a name; it neither stores the unit (确认) nor leaves (退出).
void RegionEntryTest::returnInTheNameBoxPressesNoButton()
{
    RegionFixture f;
    QVERIFY(f.isReady());
    f.addUnit(1, QStringLiteral("国家"), QStringLiteral("中国"));
    const QStringList unitsBefore = f.units();
    bool stillOpen = false;
    f.dialogs.onNextModal([&](QDialog *window) {
        EntryForm form(window);
        form.chooseLevel(1);
        form.parents->setContent(QStringLiteral("中国"));
        form.name->setFocus();
        QTest::keyClicks(form.name, QStringLiteral("henan"));
        QTest::keyClick(form.name, Qt::Key_Return);
        QTest::keyClick(form.name, Qt::Key_Enter);
        stillOpen = window->isVisible();
        for (const QPushButton *button : window->findChildren<QPushButton *>())
            QVERIFY2(!button->autoDefault() && !button->isDefault(), qPrintable(button->objectName()));
    });
    openRegionEntryForAdd(f.state, f.connection, f.list, f.dialogs, nullptr);
    QVERIFY(stillOpen);
    QVERIFY(f.dialogs.shown().empty());
    QCOMPARE(f.units(), unitsBefore);
}

QTEST_MAIN(RegionEntryTest)
#include "tst_region_entry.moc"
