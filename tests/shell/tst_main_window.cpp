// The main window built offscreen on a small register: headers, ratios, layout, pages, logo.
#include "core/clock.h"
#include "core/pinyin.h"
#include "core/process_list.h"
#include "core/program_dir.h"
#include "export/spreadsheet_opener.h"
#include "fenlark-db/register_maker.h"
#include "printing/pdf_text.h"
#include "printing/print_service.h"
#include "shell/main_window.h"
#include "ui/buttons.h"
#include "statistics/statistics_page.h"
#include "ui/combo_box.h"
#include "ui/dialogs.h"
#include "ui/edit_box.h"
#include "ui/egrid.h"
#include "ui/label.h"
#include "ui/page_control.h"
#include "ui/pic_box.h"
#include "ui/tool_bar.h"
#include "ui/tree_box.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace fenlark;

namespace {

struct Fixture {
    QTemporaryDir dir;
    AppState state;
    ScriptedDialogs dialogs;
    FixedClock clock{QDateTime(QDate(2026, 5, 1), QTime(9, 0))};
    std::unique_ptr<FixedProgramLocation> location;
    RecordingSpreadsheetOpener opener;
    FixedProcessList processes{{}};
    SkinLoader skin;
    PdfPrintService printer{dir.filePath(QStringLiteral("printed.pdf"))};
    std::unique_ptr<MainWindow> window;

    bool open(bool demo = true)
    {
        QString error;
        const QString path = dir.filePath(QStringLiteral("data.mdb"));
        if (!(demo ? dbtool::makeDemoRegister(path, 40, error) : dbtool::makeEmptyRegister(path, error)))
            return false;
        location = std::make_unique<FixedProgramLocation>(dir.path(), QStringLiteral("fenlark"));
        state.versionText = QStringLiteral("1.0");
        state.topRegionLevel = 2;
        window = std::make_unique<MainWindow>(
            state, ShellServices{dialogs, clock, *location, opener, processes, &printer}, skin);
        return window->initialise();
    }
    template <class T> T *control(const char16_t *name)
    {
        return window->controls().control<T>(QString::fromUtf16(name));
    }

    // Shows the households of the first village that has any, over all years, as the user would:
    // the household page, "全部", then a click on the village in the tree. Its tree index, -1 for none.
    int showSomeHouseholds()
    {
        window->onTopToolBarClicked(2);
        auto *years = control<ComboBox>(u"组合框1");
        years->setCurrentIndex(years->itemCount() - 1);
        auto *tree = control<TreeBox>(u"树型框1");
        for (int i = 0; i < tree->itemCount(); ++i) {
            if (tree->hasChildren(i))
                continue;
            tree->select(i);
            if (control<EGrid>(u"高级表格1")->rowCount() > 1)
                return i;
        }
        return -1;
    }
};

QStringList columnTexts(const EGrid &grid, int column)
{
    QStringList texts;
    for (int r = 1; r < grid.rowCount(); ++r)
        texts << grid.cellText(r, column);
    return texts;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void headersAndRatios();
    void resizeKeepsProportions_data();
    void resizeKeepsProportions();
    void regionListFilledLevelByLevel();
    void pageSwitch();
    void listSurvivesTreeRebuilds_data();
    void listSurvivesTreeRebuilds();
    void emptyListToolBarDoesNothing();
    void pagingAndSearchTextsFit_data();
    void pagingAndSearchTextsFit();
    void printPrintsTheListedRows();
    void statisticsPageCountsTheRegister();
    void logoWrittenWhenMissing();
    void userLogoKept();
};

void MainWindowTest::headersAndRatios()
{
    Fixture f;
    QVERIFY(f.open());
    EGrid *list = f.control<EGrid>(u"高级表格1");
    QCOMPARE(list->rowCount(), 1);
    const QStringList heads{QStringLiteral("N"),           QStringLiteral("户主"),     QStringLiteral("身份证"),
                            QStringLiteral("所属管辖"),    QStringLiteral("农户属性"), QStringLiteral("计划生育户"),
                            QStringLiteral("合作医疗"),    QStringLiteral("养老保险"), QStringLiteral("健康状况"),
                            QStringLiteral("违法违纪"),    QStringLiteral("是否残疾"), QStringLiteral("是否党员"),
                            QStringLiteral("最后更新时间")};
    for (int c = 0; c < 13; ++c)
        QCOMPARE(list->cellText(0, c), heads[c]);
    for (int c : {5, 6, 7, 9, 10, 11})
        QVERIFY(list->isCheckColumn(c));
    QVERIFY(!list->isCheckColumn(8));
    // Measured on the stored 952-pixel grid before the window was sized to the screen.
    QCOMPARE(f.state.householdColumnRatios[0], 30.0 / 952.0);
    QCOMPARE(f.state.householdColumnRatios[12], 110.0 / 952.0);
    for (int c = 5; c <= 11; ++c)
        QCOMPARE(f.state.householdColumnRatios[c], 70.0 / 952.0);
    QCOMPARE(f.state.regionColumnRatios[2], 490.0 / 624.0);
    EGrid *regions = f.control<EGrid>(u"高级表格2");
    QCOMPARE(regions->cellText(0, 1), QStringLiteral("区域"));
    QCOMPARE(regions->cellText(0, 2), QStringLiteral("详细名称"));
    QCOMPARE(regions->cellAlignment(0, 1), int(EGrid::AlignCentre));
}

void MainWindowTest::resizeKeepsProportions_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("stored size") << QSize(1265, 704);
    QTest::newRow("wide") << QSize(1900, 1000);
    QTest::newRow("narrow") << QSize(1000, 600);
}

void MainWindowTest::resizeKeepsProportions()
{
    QFETCH(QSize, size);
    Fixture f;
    QVERIFY(f.open());
    f.window->resize(size);
    f.window->layoutMainWindow();
    auto *pages = f.control<PageControl>(u"高级选择夹1");
    EGrid *list = f.control<EGrid>(u"高级表格1");
    QCOMPARE(pages->width(), size.width() - 8 - 8);
    QCOMPARE(pages->height(), size.height() - 64 - 30);
    QCOMPARE(list->width(), pages->width() - 264 - 10);
    QCOMPARE(list->height(), pages->height() - 32 - 55);
    for (int c = 5; c <= 11; ++c)
        QCOMPARE(list->columnWidth(c), int(70.0 / 952.0 * list->width()));
    QWidget *strip = f.window->controls().widget(QStringLiteral("外形框2"));
    QCOMPARE(strip->y(), list->y() + list->height() + 10);
    QCOMPARE(strip->x(), 264);
}

void MainWindowTest::regionListFilledLevelByLevel()
{
    Fixture f;
    QVERIFY(f.open());
    EGrid *regions = f.control<EGrid>(u"高级表格2");
    QVERIFY(regions->rowCount() > 5);
    QCOMPARE(regions->cellText(1, 0), QStringLiteral("1"));
    QCOMPARE(regions->cellText(1, 1), QStringLiteral("国家"));
    const QStringList order{QStringLiteral("国家"), QStringLiteral("省"), QStringLiteral("市"), QStringLiteral("乡镇"),
                            QStringLiteral("村委会")};
    int last = 0;
    for (int r = 1; r < regions->rowCount(); ++r) {
        const int level = int(order.indexOf(regions->cellText(r, 1)));
        QVERIFY(level >= last);
        last = level;
        QCOMPARE(regions->cellText(r, 0), QString::number(r));
        QCOMPARE(regions->cellAlignment(r, 2), int(EGrid::AlignCentre));
    }
}

void MainWindowTest::pageSwitch()
{
    Fixture f;
    QVERIFY(f.open());
    auto *bar = f.control<ToolBar>(u"工具条1");
    auto *pages = f.control<PageControl>(u"高级选择夹1");
    auto *tree = f.control<TreeBox>(u"树型框1");
    EGrid *list = f.control<EGrid>(u"高级表格1");
    QCOMPARE(pages->currentPage(), 0);
    QVERIFY(bar->state(0) & ToolBar::Pressed);
    f.window->onTopToolBarClicked(2);
    QCOMPARE(pages->currentPage(), 1);
    QVERIFY(bar->state(2) & ToolBar::Pressed);
    QVERIFY(!(bar->state(0) & ToolBar::Pressed));
    QCOMPARE(list->rowCount(), 1); // the page switch never loads the list
    for (int i = 0; i < tree->itemCount(); ++i) {
        if (tree->hasChildren(i))
            QVERIFY(tree->itemAt(i)->isExpanded());
    }
    f.window->onTopToolBarClicked(4);
    QCOMPARE(pages->currentPage(), 2);
    f.window->onTopToolBarClicked(3); // a separator: only the pressed look moves
    QCOMPARE(pages->currentPage(), 2);
    f.window->onTopToolBarClicked(0);
    QCOMPARE(pages->currentPage(), 0);
}

void MainWindowTest::listSurvivesTreeRebuilds_data()
{
    // Each way of leaving the household page that rebuilds the region tree on the way back.
    QTest::addColumn<QString>("away");
    QTest::newRow("首页 and back") << "home";
    QTest::newRow("地区管理 and back") << "regions";
    QTest::newRow("region 添加") << "add region";
    QTest::newRow("region 修改") << "modify region";
}

void MainWindowTest::listSurvivesTreeRebuilds()
{
    QFETCH(QString, away);
    Fixture f;
    QVERIFY(f.open());
    const int village = f.showSomeHouseholds();
    QVERIFY(village >= 0);
    EGrid *list = f.control<EGrid>(u"高级表格1");
    auto *count = f.control<Label>(u"标签1");
    const QStringList heads = columnTexts(*list, 1);
    const QString countText = count->caption();
    const Selection selection = f.state.currentSelection;

    if (away == QStringLiteral("home")) {
        f.window->onTopToolBarClicked(0);
    } else {
        f.window->onTopToolBarClicked(4);
        if (away == QStringLiteral("add region")) {
            f.control<Button>(u"按钮_添加")->click();
        } else if (away == QStringLiteral("modify region")) {
            QVERIFY(f.control<EGrid>(u"高级表格2")->setCursorCell(1, 1));
            f.control<Button>(u"按钮_修改")->click();
        }
        QCOMPARE(columnTexts(*list, 1), heads); // the region actions rebuilt the tree already
    }
    f.window->onTopToolBarClicked(2);

    QCOMPARE(columnTexts(*list, 1), heads);
    QCOMPARE(count->caption(), countText);
    QCOMPARE(f.state.currentSelection.unit, selection.unit);

    // The initials search still searches the unit last loaded: with an empty box it lists all
    // its households, and the first head's initials find that head.
    f.control<CheckBox>(u"选择框1")->setChecked(true);
    auto *search = f.control<EditBox>(u"编辑框1");
    search->setContent(QStringLiteral("x"));
    search->setContent(QString());
    QCOMPARE(list->rowCount() - 1, f.state.householdCount);
    search->setContent(pinyinInitials(heads.front()));
    QVERIFY(columnTexts(*list, 1).contains(heads.front()));
}

void MainWindowTest::emptyListToolBarDoesNothing()
{
    Fixture f;
    QVERIFY(f.open());
    for (int index : {2, 4, 5, 6})
        f.window->onHouseholdToolBarClicked(index);
    QVERIFY(f.dialogs.shown().empty());
    QVERIFY(f.opener.opened().isEmpty());
    QVERIFY(f.printer.printed().isEmpty());
}

void MainWindowTest::printPrintsTheListedRows()
{
    Fixture f;
    QVERIFY(f.open());
    auto *tree = f.control<TreeBox>(u"树型框1");
    EGrid *list = f.control<EGrid>(u"高级表格1");
    f.window->onTopToolBarClicked(2);
    for (int i = 0; i < tree->itemCount() && list->rowCount() == 1; ++i) {
        if (!tree->hasChildren(i))
            tree->select(i);
    }
    QVERIFY(list->rowCount() > 1);
    f.window->onHouseholdToolBarClicked(6);
    QCOMPARE(f.printer.printed(), QStringList{QStringLiteral("贫农明细表")});
    const QString text = pdfPageText(f.printer.path(), 1);
    for (int r = 1; r < list->rowCount(); ++r)
        QVERIFY2(text.contains(list->cellText(r, 2)), qPrintable(list->cellText(r, 2)));
    QVERIFY(f.dialogs.shown().empty());
}

void MainWindowTest::statisticsPageCountsTheRegister()
{
    Fixture f;
    QVERIFY(f.open());
    auto *pages = f.control<PageControl>(u"高级选择夹1");
    QVERIFY(!f.window->statisticsPage());
    f.window->onTopToolBarClicked(8);
    QCOMPARE(pages->currentPage(), 4);
    StatisticsPage *page = f.window->statisticsPage();
    QVERIFY(page);
    QCOMPARE(page->parentWidget(), pages->page(4));
    // The whole register by default, every household of the demo register counted once.
    page->yearList().setCurrentIndex(page->yearList().itemCount() - 1);
    page->recount();
    QCOMPARE(page->shownTable().total.households, 40);
    // Shown again: the same page, counted afresh.
    f.window->onTopToolBarClicked(0);
    f.window->onTopToolBarClicked(8);
    QCOMPARE(f.window->statisticsPage(), page);
    QVERIFY(f.dialogs.shown().empty());
}

void MainWindowTest::pagingAndSearchTextsFit_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("1366x768") << QSize(1366, 768);
    QTest::newRow("1280x720") << QSize(1280, 720);
    QTest::newRow("1024x768") << QSize(1024, 768);
}

// A text fits when its label is as wide as the text and the label lies wholly inside its parent.
void MainWindowTest::pagingAndSearchTextsFit()
{
    QFETCH(QSize, size);
    Fixture f;
    QVERIFY(f.open());
    f.window->resize(size);
    f.window->layoutMainWindow();
    f.window->show();
    f.window->onTopToolBarClicked(2);
    QCoreApplication::processEvents(); // the page laid out as shown
    const auto fits = [](const Label *label) {
        const int needed = label->fontMetrics().horizontalAdvance(label->caption());
        const bool inside = label->geometry().right() < label->parentWidget()->width();
        if (needed <= label->contentsRect().width() && inside)
            return true;
        qWarning("%s \"%s\": width %d, needs %d, right edge %d in a parent %d wide", qPrintable(label->objectName()),
                 qPrintable(label->caption()), label->contentsRect().width(), needed, label->geometry().right(),
                 label->parentWidget()->width());
        return false;
    };
    auto *count = f.control<Label>(u"标签1");
    for (int households : {100000, 1000000, 9999999}) {
        count->setCaption(QStringLiteral("总项目数：") + QString::number(households));
        QVERIFY(fits(count));
    }
    auto *pages = f.control<Label>(u"标签3");
    pages->setCaption(QStringLiteral("页面总数：666667"));
    QVERIFY(fits(pages));
    QVERIFY(fits(f.control<Label>(u"标签5")));
    // The hint moved with its search box and check box, never onto the tool bar 工具条2.
    QWidget *box = f.window->controls().widget(QStringLiteral("编辑框1"));
    QWidget *tick = f.window->controls().widget(QStringLiteral("选择框1"));
    QWidget *bar = f.window->controls().widget(QStringLiteral("工具条2"));
    QVERIFY(tick->geometry().right() < box->x());
    QVERIFY(box->geometry().right() < f.control<Label>(u"标签5")->x());
    QVERIFY(bar->geometry().right() < tick->x());
}

void MainWindowTest::logoWrittenWhenMissing()
{
    Fixture f;
    QVERIFY(f.open(false));
    const QString path = f.dir.filePath(QStringLiteral("logo.jpg"));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QFile stored(QStringLiteral(":/images/logo.jpg"));
    QVERIFY(stored.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), stored.readAll());
    QVERIFY(f.control<PicBox>(u"图片框1")->hasImage());
}

void MainWindowTest::userLogoKept()
{
    Fixture f;
    QImage mine(40, 30, QImage::Format_RGB32);
    mine.fill(Qt::red);
    const QString path = f.dir.filePath(QStringLiteral("logo.jpg"));
    QVERIFY(mine.save(path, "JPG"));
    QFile before(path);
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();
    QVERIFY(f.open(false));
    QFile after(path);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), bytes);
    QCOMPARE(f.control<PicBox>(u"图片框1")->image().size(), QSize(40, 30));
}

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
