#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/containers.h"
#include "ui/date_picker.h"
#include "ui/edit_box.h"
#include "ui/egrid.h"
#include "ui/label.h"
#include "ui/page_control.h"
#include "ui/pic_box.h"
#include "ui/popup_menu.h"
#include "ui/tool_bar.h"
#include "ui/tree_box.h"
#include "ui/window_builder.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

using namespace fenlark;

namespace {

const QString kMainWindow = QStringLiteral(":/designs/main_window.json");

bool hasWindowFont(const QWidget *widget, int pixelSize)
{
    const QFont font = widget->font();
    return font.families().value(0) == QStringLiteral("微软雅黑") &&
           font.families().contains(QStringLiteral("WenQuanYi Micro Hei")) && font.pixelSize() == pixelSize &&
           font.weight() == QFont::Normal;
}

bool anyErrorContains(const BuiltWindow &built, const QString &fragment)
{
    for (const QString &error : built.errors()) {
        if (error.contains(fragment))
            return true;
    }
    return false;
}

} // namespace

class TestWindowBuilder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mainWindowBuildsWithoutFaults();
    void mainWindowHasEveryControl();
    void mainWindowPlacement_data();
    void mainWindowPlacement();
    void mainWindowFonts_data();
    void mainWindowFonts();
    void mainWindowContents();
    void controlKindsFromDesign();
    void faultyDesigns_data();
    void faultyDesigns();
    void missingDesign();
};

void TestWindowBuilder::mainWindowBuildsWithoutFaults()
{
    QDialog window;
    const BuiltWindow built = buildWindow(kMainWindow, &window);
    QVERIFY2(built.ok(), qPrintable(built.errors().join(QLatin1Char('\n'))));
    QCOMPARE(built.window(), &window);
    QCOMPARE(window.windowTitle(), QStringLiteral("Fenlark"));
    QCOMPARE(window.size(), QSize(1265, 704));
    QCOMPARE(window.pos(), QPoint(50, 50));
}

void TestWindowBuilder::mainWindowHasEveryControl()
{
    struct Expected {
        const char *name;
        const char *kind;
    };
    const Expected controls[] = {
        {"工具条1", "ToolBar"},    {"高级选择夹1", "PageControl"}, {"图片框1", "PicBox"},   {"标签4", "Label"},
        {"组合框1", "ComboBox"},   {"工具条2", "ToolBar"},         {"选择框1", "CheckBox"}, {"编辑框1", "EditBox"},
        {"标签5", "Label"},        {"树型框1", "TreeBox"},         {"高级表格1", "EGrid"},  {"外形框2", "ShapeBox"},
        {"按钮_上一页", "Button"}, {"按钮_下一页", "Button"},      {"标签2", "Label"},      {"标签3", "Label"},
        {"标签1", "Label"},        {"外形框1", "ShapeBox"},        {"按钮_添加", "Button"}, {"按钮_修改", "Button"},
        {"按钮_删除", "Button"},   {"高级表格2", "EGrid"},         {"标签6", "Label"},      {"编辑框2", "EditBox"},
        {"选择框2", "CheckBox"},   {"编辑框3", "EditBox"},         {"选择框3", "CheckBox"}, {"标签7", "Label"},
    };
    QDialog window;
    const BuiltWindow built = buildWindow(kMainWindow, &window);
    QCOMPARE(built.names().size(), int(std::size(controls)));
    for (const Expected &expected : controls) {
        const QString name = QString::fromUtf8(expected.name);
        QWidget *widget = built.widget(name);
        QVERIFY2(widget, expected.name);
        QCOMPARE(widget->objectName(), name);
        QCOMPARE(built.kind(name), QString::fromLatin1(expected.kind));
        QCOMPARE(window.findChild<QWidget *>(name), widget);
    }
    // Typed lookup answers only for the right kind.
    QVERIFY(built.control<EGrid>(QStringLiteral("高级表格1")));
    QVERIFY(!built.control<TreeBox>(QStringLiteral("高级表格1")));
    QVERIFY(!built.control<EGrid>(QStringLiteral("高级表格3")));
}

void TestWindowBuilder::mainWindowPlacement_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent"); // "window", "page N" of 高级选择夹1, or a control
    QTest::addColumn<QRect>("rect");

    QTest::newRow("top tool bar") << QStringLiteral("工具条1") << QStringLiteral("window") << QRect(0, 0, 678, 28);
    QTest::newRow("page control") << QStringLiteral("高级选择夹1") << QStringLiteral("window")
                                  << QRect(8, 64, 1248, 572);
    QTest::newRow("logo") << QStringLiteral("图片框1") << QStringLiteral("page 0") << QRect(8, 8, 624, 556);
    QTest::newRow("year list") << QStringLiteral("组合框1") << QStringLiteral("page 1") << QRect(72, 6, 186, 25);
    QTest::newRow("search box") << QStringLiteral("编辑框1") << QStringLiteral("page 1") << QRect(840, 8, 56, 20);
    QTest::newRow("household list") << QStringLiteral("高级表格1") << QStringLiteral("page 1")
                                    << QRect(264, 32, 952, 480);
    QTest::newRow("paging button") << QStringLiteral("按钮_下一页") << QStringLiteral("外形框2")
                                   << QRect(56, 5, 48, 24);
    // Wider than the first design's 96 pixels: "总项目数：" with seven digits fits to the strip's end.
    QTest::newRow("count label") << QStringLiteral("标签1") << QStringLiteral("外形框2") << QRect(456, 5, 128, 24);
    QTest::newRow("region delete") << QStringLiteral("按钮_删除") << QStringLiteral("外形框1") << QRect(192, 0, 80, 32);
    QTest::newRow("region list") << QStringLiteral("高级表格2") << QStringLiteral("page 2") << QRect(8, 48, 624, 232);
}

void TestWindowBuilder::mainWindowPlacement()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, rect);

    QDialog window;
    const BuiltWindow built = buildWindow(kMainWindow, &window);
    QWidget *widget = built.widget(name);
    QVERIFY(widget);
    QWidget *expectedParent = &window;
    if (parent.startsWith(QStringLiteral("page ")))
        expectedParent = built.control<PageControl>(QStringLiteral("高级选择夹1"))->page(parent.mid(5).toInt());
    else if (parent != QStringLiteral("window"))
        expectedParent = built.widget(parent);
    QVERIFY(expectedParent);
    QCOMPARE(widget->parentWidget(), expectedParent);
    QCOMPARE(widget->geometry(), rect);
}

void TestWindowBuilder::mainWindowFonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("captionFont");

    QTest::newRow("label") << QStringLiteral("标签4") << true;
    QTest::newRow("check box") << QStringLiteral("选择框1") << true;
    QTest::newRow("edit box") << QStringLiteral("编辑框1") << true;
    QTest::newRow("drop-down") << QStringLiteral("组合框1") << true;
    QTest::newRow("tool bar") << QStringLiteral("工具条2") << true;
    QTest::newRow("tree") << QStringLiteral("树型框1") << true;
    QTest::newRow("region page button") << QStringLiteral("按钮_添加") << true;
    QTest::newRow("paging button keeps the default") << QStringLiteral("按钮_上一页") << false;
    QTest::newRow("grid keeps the default") << QStringLiteral("高级表格1") << false;
    QTest::newRow("page control keeps the default") << QStringLiteral("高级选择夹1") << false;
}

void TestWindowBuilder::mainWindowFonts()
{
    QFETCH(QString, name);
    QFETCH(bool, captionFont);

    QDialog window;
    const BuiltWindow built = buildWindow(kMainWindow, &window);
    QWidget *widget = built.widget(name);
    QVERIFY(widget);
    QCOMPARE(hasWindowFont(widget, 12), captionFont);
    if (!captionFont)
        QCOMPARE(widget->font(), QApplication::font(widget));
}

void TestWindowBuilder::mainWindowContents()
{
    QDialog window;
    const BuiltWindow built = buildWindow(kMainWindow, &window);

    auto *top = built.control<ToolBar>(QStringLiteral("工具条1"));
    // The three original pages keep their buttons; maintenance and statistics follow, each after
    // a separator as the others.
    QCOMPARE(top->buttonCount(), 9);
    QCOMPARE(top->buttonCaption(0), QStringLiteral("首  页"));
    QVERIFY(top->isSeparator(1));
    QCOMPARE(top->buttonCaption(4), QStringLiteral("地区管理"));
    QVERIFY(top->isSeparator(5));
    QCOMPARE(top->buttonCaption(6), QStringLiteral("数据维护"));
    QVERIFY(top->isSeparator(7));
    QCOMPARE(top->buttonCaption(8), QStringLiteral("统计分析"));
    auto *household = built.control<ToolBar>(QStringLiteral("工具条2"));
    // "打印" follows "导出"; the original items keep their indexes.
    QCOMPARE(household->buttonCount(), 7);
    QVERIFY(household->isSeparator(3));
    QCOMPARE(household->buttonCaption(4), QStringLiteral("查找"));
    QCOMPARE(household->buttonCaption(5), QStringLiteral("导出"));
    QCOMPARE(household->buttonCaption(6), QStringLiteral("打印"));

    auto *pages = built.control<PageControl>(QStringLiteral("高级选择夹1"));
    QCOMPARE(pages->pageCount(), 5);
    QCOMPARE(pages->pageCaption(2), QStringLiteral("地区管理"));
    QCOMPARE(pages->pageCaption(3), QStringLiteral("数据维护"));
    QCOMPARE(pages->pageCaption(4), QStringLiteral("统计分析"));
    // The top tool bar switches the pages, so the page control shows no tabs of its own and its
    // pages get the whole rectangle: the paging strip at the bottom of page 1 fits.
    QVERIFY(!pages->tabsVisible());
    pages->setCurrentPage(1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(pages->page(1)->rect().contains(built.widget(QStringLiteral("外形框2"))->geometry()));

    auto *list = built.control<EGrid>(QStringLiteral("高级表格1"));
    QCOMPARE(list->columnCount(), 13);
    QCOMPARE(list->rowCount(), 1);
    QCOMPARE(list->defaultColumnWidth(), 70);
    QCOMPARE(list->columnWidth(12), 70);
    QCOMPARE(list->uniformRowHeight(), 24);
    QVERIFY(!list->isEditable());
    auto *regions = built.control<EGrid>(QStringLiteral("高级表格2"));
    QCOMPARE(regions->columnCount(), 3);
    QCOMPARE(regions->defaultColumnWidth(), 60);
    QCOMPARE(regions->uniformRowHeight(), 24);

    QCOMPARE(built.control<Label>(QStringLiteral("标签5"))->caption(), QStringLiteral("如张三,输入zs即可!"));
    QCOMPARE(built.control<CheckBox>(QStringLiteral("选择框1"))->caption(), QStringLiteral("按首拼检索"));
    QCOMPARE(built.control<Button>(QStringLiteral("按钮_上一页"))->caption(), QStringLiteral("上一页"));
    QCOMPARE(built.control<ComboBox>(QStringLiteral("组合框1"))->isEditableText(), false);
    QCOMPARE(built.control<EditBox>(QStringLiteral("编辑框1"))->input(), EditBox::Input::Text);
}

void TestWindowBuilder::controlKindsFromDesign()
{
    const QByteArray design = R"({
      "title": "查询", "rect": [50, 50, 348, 370], "frameless": true,
      "font": {"families": ["微软雅黑", "WenQuanYi Micro Hei"], "pixelSize": 12},
      "controls": [
        {"name": "标签2", "kind": "Label", "rect": [0, 0, 304, 32], "caption": "查询", "fontSize": 16,
         "colour": "#3a6ea5", "align": "centre"},
        {"name": "超级按钮1", "kind": "SuperBtn", "rect": [952, 0, 40, 33], "caption": "关闭"},
        {"name": "组合框1", "kind": "ComboBox", "rect": [80, 8, 100, 20],
         "items": [{"text": "国家", "value": 1}, {"text": "省", "value": 2}]},
        {"name": "组合框5", "kind": "ComboBox", "rect": [80, 496, 152, 25], "editable": true,
         "items": ["生猪养殖", "山羊养殖"]},
        {"name": "编辑框2", "kind": "EditBox", "rect": [104, 200, 80, 24], "input": "decimal"},
        {"name": "编辑框10", "kind": "EditBox", "rect": [558, 152, 418, 216], "input": "multiline"},
        {"name": "分组框1", "kind": "GroupBox", "rect": [16, 231, 520, 193], "caption": "家庭人员情况："},
        {"name": "高级表格1", "kind": "EGrid", "parent": "分组框1", "rect": [8, 18, 504, 167], "columns": 6,
         "rows": 8, "editable": true, "headers": ["姓名", "性别"], "columnWidths": [70, 40],
         "checkColumns": [5]},
        {"name": "外形框1", "kind": "ShapeBox", "rect": [96, 104, 208, 24], "colour": "#ffffff"},
        {"name": "单选框1", "kind": "RadioBox", "parent": "外形框1", "rect": [0, 0, 48, 24], "caption": "是"},
        {"name": "单选框2", "kind": "RadioBox", "parent": "外形框1", "rect": [72, 0, 40, 24], "caption": "否",
         "checked": true},
        {"name": "日期框1", "kind": "DatePicker", "rect": [73, 48, 127, 24], "disabled": true},
        {"name": "工具条1", "kind": "ToolBar", "rect": [0, 0, 200, 28],
         "items": [{"text": "首  页", "state": 2}, {"separator": true}, "地区管理"]},
        {"name": "菜单1", "kind": "Menu", "items": ["删除"]}
      ]})";
    QWidget window;
    const BuiltWindow built = buildWindowFromJson(design, &window);
    QVERIFY2(built.ok(), qPrintable(built.errors().join(QLatin1Char('\n'))));
    QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);

    auto *title = built.control<Label>(QStringLiteral("标签2"));
    QVERIFY(hasWindowFont(title, 16));
    QCOMPARE(title->alignment(), Qt::AlignCenter);
    QVERIFY(title->autoFillBackground());
    QVERIFY(built.control<SuperBtn>(QStringLiteral("超级按钮1"))->isFlat());

    auto *levels = built.control<ComboBox>(QStringLiteral("组合框1"));
    QCOMPARE(levels->itemCount(), 2);
    QCOMPARE(levels->itemValue(1), 2);
    QCOMPARE(levels->currentIndex(), -1);
    QVERIFY(built.control<ComboBox>(QStringLiteral("组合框5"))->isEditableText());

    QVERIFY(built.control<EditBox>(QStringLiteral("编辑框2"))->lineEdit()->validator());
    QVERIFY(built.control<EditBox>(QStringLiteral("编辑框10"))->textEdit());

    auto *members = built.control<EGrid>(QStringLiteral("高级表格1"));
    QCOMPARE(members->parentWidget(), built.widget(QStringLiteral("分组框1")));
    QCOMPARE(members->rowCount(), 8);
    QCOMPARE(members->columnCount(), 6);
    QVERIFY(members->isEditable());
    QCOMPARE(members->cellText(0, 1), QStringLiteral("性别"));
    QCOMPARE(members->columnWidth(1), 40);
    QVERIFY(members->isCheckColumn(5));
    QCOMPARE(built.control<GroupBox>(QStringLiteral("分组框1"))->caption(), QStringLiteral("家庭人员情况："));

    QCOMPARE(built.control<ShapeBox>(QStringLiteral("外形框1"))->backgroundColour(), QColor(Qt::white));
    QVERIFY(!built.control<RadioBox>(QStringLiteral("单选框1"))->isChecked());
    QVERIFY(built.control<RadioBox>(QStringLiteral("单选框2"))->isChecked());
    QVERIFY(!built.control<DatePicker>(QStringLiteral("日期框1"))->isEnabled());

    auto *bar = built.control<ToolBar>(QStringLiteral("工具条1"));
    QCOMPARE(bar->buttonCount(), 3);
    QCOMPARE(bar->state(0), int(ToolBar::Pressed));

    auto *menu = built.control<PopupMenu>(QStringLiteral("菜单1"));
    QVERIFY(menu);
    QCOMPARE(menu->objectName(), QStringLiteral("菜单1"));
    QCOMPARE(menu->itemCaption(0), QStringLiteral("删除"));
}

void TestWindowBuilder::faultyDesigns_data()
{
    QTest::addColumn<QByteArray>("design");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("built");

    QTest::newRow("not JSON") << QByteArray("{") << QStringLiteral("not a design") << QStringList{};
    QTest::newRow("no control list") << QByteArray(R"({"title": "x"})") << QStringLiteral("\"controls\"")
                                     << QStringList{};
    QTest::newRow("unknown kind") << QByteArray(R"({"controls": [{"name": "a", "kind": "Slider", "rect": [0,0,1,1]}]})")
                                  << QStringLiteral("unknown kind") << QStringList{};
    QTest::newRow("name used twice") << QByteArray(R"({"controls": [
            {"name": "a", "kind": "Label", "rect": [0,0,1,1]}, {"name": "a", "kind": "Button", "rect": [0,0,1,1]}]})")
                                     << QStringLiteral("used twice") << QStringList{QStringLiteral("a")};
    QTest::newRow("parent listed after the child")
        << QByteArray(R"({"controls": [
            {"name": "b", "kind": "Button", "parent": "f", "rect": [0,0,1,1]},
            {"name": "f", "kind": "ShapeBox", "rect": [0,0,9,9]}]})")
        << QStringLiteral("parent \"f\"") << QStringList{QStringLiteral("f")};
    QTest::newRow("page that does not exist") << QByteArray(R"({"controls": [
            {"name": "p", "kind": "PageControl", "rect": [0,0,9,9], "pages": ["one"]},
            {"name": "b", "kind": "Button", "parent": "p", "page": 1, "rect": [0,0,1,1]}]})")
                                              << QStringLiteral("page 1") << QStringList{QStringLiteral("p")};
    QTest::newRow("bad rectangle") << QByteArray(R"({"controls": [{"name": "a", "kind": "Label", "rect": [0,0,1]}]})")
                                   << QStringLiteral("\"rect\"") << QStringList{QStringLiteral("a")};
    QTest::newRow("key of another kind") << QByteArray(R"({"controls": [
            {"name": "a", "kind": "Label", "rect": [0,0,1,1], "items": ["x"]}]})")
                                         << QStringLiteral("\"items\" is not a key of a Label")
                                         << QStringList{QStringLiteral("a")};
    QTest::newRow("unknown input rule") << QByteArray(R"({"controls": [
            {"name": "e", "kind": "EditBox", "rect": [0,0,1,1], "input": "integer"}]})")
                                        << QStringLiteral("\"input\"") << QStringList{QStringLiteral("e")};
}

void TestWindowBuilder::faultyDesigns()
{
    QFETCH(QByteArray, design);
    QFETCH(QString, fault);
    QFETCH(QStringList, built);

    QWidget window;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".*")));
    const BuiltWindow result = buildWindowFromJson(design, &window);
    QVERIFY(!result.ok());
    QVERIFY2(anyErrorContains(result, fault), qPrintable(result.errors().join(QLatin1Char('\n'))));
    QCOMPARE(result.names(), built);
}

void TestWindowBuilder::missingDesign()
{
    QWidget window;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot be read")));
    const BuiltWindow built = buildWindow(QStringLiteral(":/designs/no_such_window.json"), &window);
    QVERIFY(!built.ok());
    QVERIFY(built.names().isEmpty());
}

QTEST_MAIN(TestWindowBuilder)
#include "tst_window_builder.moc"
