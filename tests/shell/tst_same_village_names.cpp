// Village names repeat across townships: two 新村, each with its own households, must each be
// listed, opened, saved and queried as its own, from the main window as the clerk uses it.
// The region page's search box is driven here too.
#include "../household/household_fixture.h"

#include "core/clock.h"
#include "core/process_list.h"
#include "core/program_dir.h"
#include "export/spreadsheet_opener.h"
#include "fenlark-db/register_maker.h"
#include "region/region_list.h"
#include "shell/main_window.h"
#include "ui/combo_box.h"
#include "ui/dialogs.h"
#include "ui/edit_box.h"
#include "ui/egrid.h"
#include "ui/tree_box.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace fenlark;

namespace {

struct Fixture {
    QTemporaryDir dir;
    AppState state;
    ScriptedDialogs dialogs;
    FixedClock clock{QDateTime(QDate(2016, 5, 1), QTime(9, 0))};
    std::unique_ptr<FixedProgramLocation> location;
    RecordingSpreadsheetOpener opener;
    FixedProcessList processes{{}};
    SkinLoader skin;
    std::unique_ptr<MainWindow> window;

    // Two townships of one city, a 新村 in each: two households in the first, one in the second.
    bool open()
    {
        QString error;
        const QString path = dir.filePath(QStringLiteral("data.mdb"));
        if (!dbtool::makeEmptyRegister(path, error))
            return false;
        {
            DBConnection connection;
            if (!connection.connectAccess(path, QString()))
                return false;
            const auto unit = [&](int level, const char *levelName, const char *name, const char *parent) {
                Statement insert(connection, QStringLiteral("INSERT INTO 区域管理 VALUES (?, ?, ?, ?)"));
                insert.bind(1, level).bind(2, QString::fromUtf8(levelName)).bind(3, QString::fromUtf8(name));
                insert.bind(4, QString::fromUtf8(parent));
                return insert.exec();
            };
            const auto household = [&](const char *head, const char *township, int n) {
                Statement insert(connection,
                                 QStringLiteral("INSERT INTO 成员信息 (录入年份, 所属管辖, 上级管辖, 户主, 户主信息, "
                                                "农户属性, 是否计划生育, 是否合作医疗, 是否养老保险, 健康状况, "
                                                "家庭人员信息, 家庭住址) VALUES (2016, '新村', ?, ?, ?, '低保户', 0, "
                                                "0, 0, '健康', ?, '一组')"));
                const QString name = QString::fromUtf8(head);
                insert.bind(1, QString::fromUtf8(township)).bind(2, name);
                insert.bind(3, name + QStringLiteral("-男-") + card(n) + QStringLiteral("-初中"));
                insert.bind(4, name + QStringLiteral("-男-") + card(n) + QStringLiteral("-户主-汉族-初中"));
                return insert.exec();
            };
            if (!(unit(1, "国家", "中国", "") && unit(2, "省", "河南", "中国") && unit(3, "市", "郑州", "河南") &&
                  unit(4, "乡镇", "李杨镇", "郑州") && unit(4, "乡镇", "王庄镇", "郑州") &&
                  unit(5, "村委会", "新村", "李杨镇") && unit(5, "村委会", "新村", "王庄镇") &&
                  household("张一", "李杨镇", 1) && household("张二", "李杨镇", 2) && household("王一", "王庄镇", 3) &&
                  execScript(connection, QStringLiteral("INSERT INTO 年份管理 VALUES (2016)"))))
                return false;
        }
        location = std::make_unique<FixedProgramLocation>(dir.path(), QStringLiteral("fenlark"));
        state.versionText = QStringLiteral("1.0");
        state.topRegionLevel = 2;
        window = std::make_unique<MainWindow>(state, ShellServices{dialogs, clock, *location, opener, processes}, skin);
        if (!window->initialise())
            return false;
        window->onTopToolBarClicked(2); // the household page, its tree rebuilt and expanded
        return true;
    }
    template <class T> T *control(const char16_t *name)
    {
        return window->controls().control<T>(QString::fromUtf16(name));
    }
    // The tree item 新村 under the township.
    int village(const QString &township)
    {
        auto *tree = control<TreeBox>(u"树型框1");
        for (int i = 0; i < tree->itemCount(); ++i) {
            if (tree->itemText(i) == QStringLiteral("新村") && tree->itemText(tree->parentOf(i)) == township)
                return i;
        }
        return -1;
    }
    QStringList listedHeads()
    {
        QStringList heads;
        EGrid *list = control<EGrid>(u"高级表格1");
        for (int r = 1; r < list->rowCount(); ++r)
            heads << list->cellText(r, 1);
        return heads;
    }
    // Every household as "户主|所属管辖|上级管辖".
    QStringList households()
    {
        QStringList rows;
        Statement query(window->connection(),
                        QStringLiteral("SELECT 户主, 所属管辖, 上级管辖 FROM 成员信息 ORDER BY rowid"));
        while (query.step())
            rows << query.text(0) + u'|' + query.text(1) + u'|' + query.text(2);
        return rows;
    }
};

QStringList itemsOf(const ComboBox &box)
{
    QStringList items;
    for (int i = 0; i < box.itemCount(); ++i)
        items << box.itemText(i);
    return items;
}

} // namespace

class SameVillageNamesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void eachListedAsItsOwn();
    void eachOpenedAndSavedAsItsOwn();
    void eachQueriedAsItsOwn();
    void regionSearchBox();
};

void SameVillageNamesTest::eachListedAsItsOwn()
{
    Fixture f;
    QVERIFY(f.open());
    auto *tree = f.control<TreeBox>(u"树型框1");
    QVERIFY(f.village(QStringLiteral("李杨镇")) >= 0);
    QVERIFY(f.village(QStringLiteral("王庄镇")) >= 0);
    tree->select(f.village(QStringLiteral("李杨镇")));
    QCOMPARE(f.listedHeads(), (QStringList{QStringLiteral("张二"), QStringLiteral("张一")}));
    tree->select(f.village(QStringLiteral("王庄镇")));
    QCOMPARE(f.listedHeads(), QStringList{QStringLiteral("王一")});
    QCOMPARE(f.state.currentSelection.parent, QStringLiteral("王庄镇"));
}

void SameVillageNamesTest::eachOpenedAndSavedAsItsOwn()
{
    Fixture f;
    QVERIFY(f.open());
    auto *tree = f.control<TreeBox>(u"树型框1");
    EGrid *list = f.control<EGrid>(u"高级表格1");
    const QStringList offered{QStringLiteral("新村（李杨镇）"), QStringLiteral("新村（王庄镇）")};

    // Opened from the second 新村: the form shows that one, and the save keeps it there.
    tree->select(f.village(QStringLiteral("王庄镇")));
    list->setCursorCell(1, 1);
    QStringList items;
    QString shown;
    f.dialogs.onNextModal([&](QDialog *w) {
        auto *unit = control<ComboBox>(w, u"组合框3");
        items = itemsOf(*unit);
        shown = unit->selectedText();
        clickSave(w);
    });
    f.window->onHouseholdToolBarClicked(1);
    QCOMPARE(items, offered);
    QCOMPARE(shown, QStringLiteral("新村（王庄镇）"));
    QCOMPARE(f.households().at(2), QStringLiteral("王一|新村|王庄镇"));
    QCOMPARE(f.listedHeads(), QStringList{QStringLiteral("王一")});

    // Added there: preselected as the listed one, saved under its own township (the first tree
    // item of the name is the one under 李杨镇) and listed at the top.
    f.dialogs.onNextModal([&](QDialog *w) {
        shown = control<ComboBox>(w, u"组合框3")->selectedText();
        fillValidForm(w, shown, QStringLiteral("王二"), card(4));
        clickSave(w);
    });
    f.window->onHouseholdToolBarClicked(0);
    QCOMPARE(shown, QStringLiteral("新村（王庄镇）"));
    QCOMPARE(f.households().at(3), QStringLiteral("王二|新村|王庄镇"));
    QCOMPARE(f.listedHeads(), (QStringList{QStringLiteral("王二"), QStringLiteral("王一")}));
    QCOMPARE(f.dialogs.lastText(), QStringLiteral("  添加成功！"));

    // Added to the other 新村 while this one is listed: stored there, not listed here.
    f.dialogs.onNextModal([&](QDialog *w) {
        fillValidForm(w, QStringLiteral("新村（李杨镇）"), QStringLiteral("张三"), card(5));
        clickSave(w);
    });
    f.window->onHouseholdToolBarClicked(0);
    QCOMPARE(f.households().at(4), QStringLiteral("张三|新村|李杨镇"));
    QCOMPARE(f.listedHeads(), (QStringList{QStringLiteral("王二"), QStringLiteral("王一")}));
    tree->select(f.village(QStringLiteral("李杨镇")));
    QCOMPARE(f.listedHeads(), (QStringList{QStringLiteral("张三"), QStringLiteral("张二"), QStringLiteral("张一")}));

    // Opened from the first 新村: that one is shown.
    list->setCursorCell(2, 1);
    f.dialogs.onNextModal([&](QDialog *w) {
        shown = control<ComboBox>(w, u"组合框3")->selectedText();
        clickSave(w);
    });
    f.window->onHouseholdToolBarClicked(1);
    QCOMPARE(shown, QStringLiteral("新村（李杨镇）"));
    QCOMPARE(f.households().at(1), QStringLiteral("张二|新村|李杨镇"));
}

void SameVillageNamesTest::eachQueriedAsItsOwn()
{
    Fixture f;
    QVERIFY(f.open());
    f.control<TreeBox>(u"树型框1")->select(f.village(QStringLiteral("王庄镇")));
    QStringList items;
    QString preselected;
    QStringList second;
    QStringList first;
    QStringList all;
    f.dialogs.onNextModal([&](QDialog *w) {
        auto *regions = control<ComboBox>(w, u"组合框1");
        auto *query = control<Button>(w, u"按钮_查询");
        items = itemsOf(*regions);
        preselected = regions->selectedText();
        query->click();
        second = f.listedHeads();
        regions->setCurrentIndex(0);
        query->click();
        first = f.listedHeads();
        regions->setCurrentIndex(2);
        query->click();
        all = f.listedHeads();
    });
    f.window->onHouseholdToolBarClicked(4);
    QCOMPARE(items,
             (QStringList{QStringLiteral("新村（李杨镇）"), QStringLiteral("新村（王庄镇）"), QStringLiteral("全部")}));
    QCOMPARE(preselected, QStringLiteral("新村（王庄镇）"));
    QCOMPARE(second, QStringList{QStringLiteral("王一")});
    QCOMPARE(first, (QStringList{QStringLiteral("张一"), QStringLiteral("张二")}));
    QCOMPARE(all, (QStringList{QStringLiteral("张一"), QStringLiteral("张二"), QStringLiteral("王一")}));
}

void SameVillageNamesTest::regionSearchBox()
{
    Fixture f;
    QVERIFY(f.open());
    f.window->onTopToolBarClicked(4);
    EGrid *regions = f.control<EGrid>(u"高级表格2");
    auto *search = f.control<EditBox>(u"编辑框2");
    QVERIFY(search);
    QCOMPARE(regions->rowCount(), 8);
    // Both 新村 rows know their township, out of sight.
    QCOMPARE(regionListParent(*regions, 6).value_or(QString()), QStringLiteral("李杨镇"));
    QCOMPARE(regionListParent(*regions, 7).value_or(QString()), QStringLiteral("王庄镇"));
    QVERIFY(regions->isColumnHidden(kRegionListParentColumn));

    search->setContent(QStringLiteral("镇"));
    QList<int> shown;
    for (int r = 1; r < regions->rowCount(); ++r) {
        if (isRegionListRowShown(*regions, r))
            shown << r;
    }
    QCOMPARE(shown, (QList<int>{4, 5}));
    QCOMPARE(regions->cellText(5, 0), QStringLiteral("5"));

    // A unit added while searching is listed at the end and filtered like the others.
    f.dialogs.onNextModal([](QDialog *w) {
        auto *levels = control<ComboBox>(w, u"组合框1");
        levels->setCurrentIndex(4);
        Q_EMIT levels->activated(4);
        control<ComboBox>(w, u"组合框2")->setContent(QStringLiteral("王庄镇"));
        control<EditBox>(w, u"编辑框1")->setContent(QStringLiteral("东村"));
        control<Button>(w, u"按钮_确认")->click();
    });
    f.control<Button>(u"按钮_添加")->click();
    QCOMPARE(regions->rowCount(), 9);
    QVERIFY(!isRegionListRowShown(*regions, 8));
    search->setContent(QString());
    QVERIFY(isRegionListRowShown(*regions, 8));
    QCOMPARE(regions->cellText(8, 2), QStringLiteral("东村"));
}

QTEST_MAIN(SameVillageNamesTest)
#include "tst_same_village_names.moc"
