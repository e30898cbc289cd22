#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/containers.h"
#include "ui/edit_box.h"
#include "ui/label.h"
#include "ui/page_control.h"
#include "ui/pic_box.h"
#include "ui/popup_menu.h"
#include "ui/tool_bar.h"
#include "ui/tree_box.h"

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

using namespace fenlark;

namespace {

QStringList walk(const TreeBox &tree)
{
    QStringList texts;
    for (int i = 0; i < tree.itemCount(); ++i)
        texts << tree.itemText(i);
    return texts;
}

QList<int> parents(const TreeBox &tree)
{
    QList<int> result;
    for (int i = 0; i < tree.itemCount(); ++i)
        result << tree.parentOf(i);
    return result;
}

// Adds "parent:text" entries in order ("-1:A" is a top-level A) and returns what addItem gave.
QList<int> addAll(TreeBox &tree, const QStringList &adds)
{
    QList<int> returned;
    for (const QString &add : adds) {
        const int colon = add.indexOf(QLatin1Char(':'));
        returned << tree.addItem(add.left(colon).toInt(), add.mid(colon + 1));
    }
    return returned;
}

// The household page's tool bar: 添加, 修改, 删除, separator, 查找, 导出.
void fillToolBar(ToolBar &bar)
{
    bar.addButton(QStringLiteral("添加"));
    bar.addButton(QStringLiteral("修改"));
    bar.addButton(QStringLiteral("删除"));
    bar.addSeparatorButton();
    bar.addButton(QStringLiteral("查找"));
    bar.addButton(QStringLiteral("导出"));
}

} // namespace

class TestControls : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void treeIndexes_data();
    void treeIndexes();
    void treeQueriesOutOfRange();
    void treeSelection();
    void treeFollowsDirectChanges();
    void treeReportsNothingWhileDestroyed();

    void comboOutOfRange_data();
    void comboOutOfRange();
    void comboSelection();
    void comboReportsOnlyUserChoices();
    void comboContent();
    void comboLongListOpensWideEnough();

    void toolBarStates_data();
    void toolBarStates();
    void toolBarStateLooks();
    void toolBarClickKeepsStates();

    void decimalInput_data();
    void decimalInput();
    void editBoxModes();

    void radioChoiceMayBeEmpty();
    void pageControl();
    void labelReportsLeftPress();
    void picBox();
    void popupMenu();
};

void TestControls::treeIndexes_data()
{
    QTest::addColumn<QStringList>("adds");
    QTest::addColumn<QList<int>>("returned");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("parentIndexes");

    QTest::newRow("C below the earlier A shifts B")
        << QStringList{QStringLiteral("-1:A"), QStringLiteral("-1:B"), QStringLiteral("0:C")} << QList<int>{0, 1, 1}
        << QStringList{QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("B")} << QList<int>{-1, 0, -1};
    QTest::newRow("a chain of levels") << QStringList{QStringLiteral("-1:P"), QStringLiteral("0:T"),
                                                      QStringLiteral("1:W"), QStringLiteral("2:V")}
                                       << QList<int>{0, 1, 2, 3}
                                       << QStringList{QStringLiteral("P"), QStringLiteral("T"), QStringLiteral("W"),
                                                      QStringLiteral("V")}
                                       << QList<int>{-1, 0, 1, 2};
    QTest::newRow("last child goes after the parent's whole subtree")
        << QStringList{QStringLiteral("-1:A"),  QStringLiteral("-1:B"), QStringLiteral("0:A1"),
                       QStringLiteral("1:A1a"), QStringLiteral("3:B1"), QStringLiteral("0:A2")}
        << QList<int>{0, 1, 1, 2, 4, 3}
        << QStringList{QStringLiteral("A"),  QStringLiteral("A1"), QStringLiteral("A1a"),
                       QStringLiteral("A2"), QStringLiteral("B"),  QStringLiteral("B1")}
        << QList<int>{-1, 0, 1, 0, -1, 4};
    QTest::newRow("a parent that names no item adds nothing")
        << QStringList{QStringLiteral("-1:A"), QStringLiteral("5:X"), QStringLiteral("-2:Y")} << QList<int>{0, -1, -1}
        << QStringList{QStringLiteral("A")} << QList<int>{-1};
}

void TestControls::treeIndexes()
{
    QFETCH(QStringList, adds);
    QFETCH(QList<int>, returned);
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, parentIndexes);

    TreeBox tree;
    QCOMPARE(addAll(tree, adds), returned);
    QCOMPARE(walk(tree), texts);
    QCOMPARE(parents(tree), parentIndexes);
}

void TestControls::treeQueriesOutOfRange()
{
    TreeBox tree;
    addAll(tree, {QStringLiteral("-1:A"), QStringLiteral("-1:B"), QStringLiteral("0:C")});
    tree.addItem(-1, QStringLiteral("D"), -1, -1, 42);

    QVERIFY(tree.hasChildren(0));
    QVERIFY(!tree.hasChildren(1));
    QVERIFY(!tree.hasChildren(2));
    QVERIFY(!tree.hasChildren(9));
    QCOMPARE(tree.itemText(4), QString());
    QCOMPARE(tree.itemText(-1), QString());
    QCOMPARE(tree.parentOf(4), -1);
    QCOMPARE(tree.parentOf(-1), -1);
    QCOMPARE(tree.itemValue(3), 42);
    QCOMPARE(tree.itemValue(0), 0);
    QCOMPARE(tree.itemValue(4), -1);

    tree.expand(0);
    QVERIFY(tree.itemAt(0)->isExpanded());
    tree.expand(9); // no such item: nothing
    tree.clear();
    QCOMPARE(tree.itemCount(), 0);
    QCOMPARE(tree.itemText(0), QString());
}

void TestControls::treeSelection()
{
    TreeBox tree;
    addAll(tree, {QStringLiteral("-1:A"), QStringLiteral("-1:B"), QStringLiteral("0:C")});
    QSignalSpy changed(&tree, &TreeBox::selectionChanged);
    QCOMPARE(tree.selectedIndex(), -1);

    tree.select(2);
    QCOMPARE(tree.selectedIndex(), 2);
    QCOMPARE(tree.itemText(tree.selectedIndex()), QStringLiteral("B"));
    QCOMPARE(changed.count(), 1);
    tree.select(2); // already selected: no change to report
    QCOMPARE(changed.count(), 1);

    // Adding below an earlier parent moves the selected item's index with it.
    tree.addItem(0, QStringLiteral("E"));
    QCOMPARE(tree.selectedIndex(), 3);

    tree.select(99);
    QCOMPARE(tree.selectedIndex(), -1);
    QCOMPARE(changed.count(), 2);

    // Clearing drops the selection without reporting it: no one chose "nothing".
    tree.select(0);
    QCOMPARE(changed.count(), 3);
    tree.clear();
    QCOMPARE(tree.selectedIndex(), -1);
    QCOMPARE(changed.count(), 3);
}

void TestControls::treeFollowsDirectChanges()
{
    TreeBox tree;
    addAll(tree, {QStringLiteral("-1:A"), QStringLiteral("-1:B"), QStringLiteral("0:C")});
    QCOMPARE(tree.itemCount(), 3);
    delete tree.takeTopLevelItem(0); // A with C
    QCOMPARE(walk(tree), QStringList{QStringLiteral("B")});
    tree.addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("Z")}));
    QCOMPARE(walk(tree), (QStringList{QStringLiteral("B"), QStringLiteral("Z")}));
    QCOMPARE(tree.addItem(1, QStringLiteral("Z1")), 2);
    tree.itemAt(0)->setText(0, QStringLiteral("B2"));
    QCOMPARE(tree.itemText(0), QStringLiteral("B2"));
}

void TestControls::comboOutOfRange_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");

    QTest::newRow("first") << 0 << QStringLiteral("国家") << 1;
    QTest::newRow("default value") << 1 << QStringLiteral("全部") << 0;
    QTest::newRow("one past the last") << 2 << QString() << -1;
    QTest::newRow("far beyond") << 100 << QString() << -1;
    QTest::newRow("none") << -1 << QString() << -1;
}

void TestControls::comboOutOfRange()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(int, value);

    ComboBox combo;
    QCOMPARE(combo.addItem(QStringLiteral("国家"), 1), 0);
    QCOMPARE(combo.addItem(QStringLiteral("全部")), 1);
    QCOMPARE(combo.itemText(index), text);
    QCOMPARE(combo.itemValue(index), value);
    QCOMPARE(combo.itemCount(), 2);
}

void TestControls::comboSelection()
{
    ComboBox combo;
    combo.addItem(QStringLiteral("省"), 2);
    combo.addItem(QStringLiteral("市"), 3);
    QCOMPARE(combo.currentIndex(), -1); // adding items selects nothing
    QCOMPARE(combo.selectedText(), QString());
    combo.setCurrentIndex(1);
    QCOMPARE(combo.selectedText(), QStringLiteral("市"));
    QCOMPARE(combo.content(), QStringLiteral("市"));
    combo.clear();
    QCOMPARE(combo.currentIndex(), -1);
    QCOMPARE(combo.itemCount(), 0);
}

void TestControls::comboReportsOnlyUserChoices()
{
    ComboBox combo;
    combo.addItem(QStringLiteral("2016"));
    combo.addItem(QStringLiteral("全部"));
    QSignalSpy selected(&combo, &ComboBox::itemSelected);
    combo.setCurrentIndex(0);
    QCOMPARE(selected.count(), 0);
    QTest::keyClick(&combo, Qt::Key_Down); // the user steps to the next item
    QCOMPARE(combo.currentIndex(), 1);
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.at(0).at(0).toInt(), 1);
}

void TestControls::comboContent()
{
    ComboBox editable;
    editable.setEditableText(true);
    editable.addItem(QStringLiteral("生猪养殖"));
    editable.setContent(QStringLiteral("养鸡"));
    QCOMPARE(editable.content(), QStringLiteral("养鸡"));
    QCOMPARE(editable.selectedText(), QString());
    QCOMPARE(editable.itemCount(), 1);
    editable.addItem(QStringLiteral("养蜂户")); // typed text survives new items
    QCOMPARE(editable.content(), QStringLiteral("养鸡"));
    // and a batch of them, after the items there
    editable.addTexts(TextTable::fromStringList({QStringLiteral("种植"), QString(), QStringLiteral("种植")}));
    QCOMPARE(editable.content(), QStringLiteral("养鸡"));
    QCOMPARE(editable.currentIndex(), -1);
    QCOMPARE(editable.itemCount(), 5);
    QCOMPARE(editable.itemText(2), QStringLiteral("种植"));
    QCOMPARE(editable.itemText(3), QString());
    QCOMPARE(editable.itemValue(4), 0);

    // An empty box keeps a batch as its items; it still chooses, finds and takes more items.
    ComboBox batch;
    batch.setEditableText(true);
    batch.setContent(QStringLiteral("打字"));
    batch.addTexts(TextTable::fromStringList({QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("𠀋")}));
    QCOMPARE(batch.currentIndex(), -1);
    QCOMPARE(batch.content(), QStringLiteral("打字"));
    QCOMPARE(batch.itemCount(), 3);
    QCOMPARE(batch.itemText(2), QStringLiteral("𠀋"));
    QCOMPARE(batch.itemValue(1), 0);
    QCOMPARE(batch.findText(QStringLiteral("乙")), 1);
    batch.setCurrentIndex(1);
    QCOMPARE(batch.content(), QStringLiteral("乙"));
    QCOMPARE(batch.addItem(QStringLiteral("丙"), 7), 3);
    QCOMPARE(batch.currentIndex(), 1);
    QCOMPARE(batch.itemText(3), QStringLiteral("丙"));
    QCOMPARE(batch.itemValue(3), 7);
    QCOMPARE(batch.itemText(0), QStringLiteral("甲"));
    batch.addTexts(TextTable());
    QCOMPARE(batch.itemCount(), 4);

    // A box that still holds the batch as it came empties, and loses an item, as any other.
    ComboBox table;
    table.addTexts(TextTable::fromStringList({QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")}));
    table.removeItem(1);
    QCOMPARE(table.itemCount(), 2);
    QCOMPARE(table.itemText(1), QStringLiteral("丙"));
    table.clear();
    QCOMPARE(table.itemCount(), 0);
    QCOMPARE(table.currentIndex(), -1);

    ComboBox list;
    list.addItem(QStringLiteral("扶贫户"));
    list.addItem(QStringLiteral("低保户"));
    list.setContent(QStringLiteral("低保户"));
    QCOMPARE(list.currentIndex(), 1);
    list.setContent(QStringLiteral("三无"));
    QCOMPARE(list.currentIndex(), -1);
    QCOMPARE(list.content(), QString());
}

void TestControls::comboLongListOpensWideEnough()
{
    // A keyword list of thousands: its drop-down opens below the box, showing its longest text
    // whole, wherever in the list that text is.
    QStringList texts;
    for (int i = 0; i < 5000; ++i)
        texts << QStringLiteral("标签%1").arg(i);
    const QString longest = QStringLiteral("种植,养殖,外出务工,合作社,𠀋𠀋");
    texts[4321] = longest;
    QWidget window;
    window.resize(400, 300);
    ComboBox combo(&window);
    combo.setGeometry(10, 10, 100, 20);
    combo.addTexts(TextTable::fromStringList(texts));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    combo.showPopup();
    QWidget *dropDown = combo.view()->window();
    QTRY_VERIFY(dropDown->isVisible());
    QVERIFY(dropDown->width() > combo.fontMetrics().horizontalAdvance(longest));
    QVERIFY(dropDown->geometry().top() >= combo.mapToGlobal(QPoint(0, combo.height())).y() - 1);
    QCOMPARE(combo.view()->model()->data(combo.view()->model()->index(4321, 0)).toString(), longest);
    combo.hidePopup();
    QCOMPARE(combo.currentIndex(), -1);
}

void TestControls::toolBarStates_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("add");
    QTest::addColumn<int>("remove");
    QTest::addColumn<QList<int>>("states");

    QTest::newRow("pressed on the first") << 0 << 2 << 0 << QList<int>{2, 0, 0, 0, 0, 0};
    QTest::newRow("add then remove part") << 4 << (1 | 4) << 1 << QList<int>{0, 0, 0, 0, 4, 0};
    QTest::newRow("the separator counts") << 3 << 8 << 0 << QList<int>{0, 0, 0, 8, 0, 0};
    QTest::newRow("beyond the last button") << 6 << 2 << 0 << QList<int>{0, 0, 0, 0, 0, 0};
    QTest::newRow("negative index") << -1 << 2 << 0 << QList<int>{0, 0, 0, 0, 0, 0};
}

void TestControls::toolBarStates()
{
    QFETCH(int, index);
    QFETCH(int, add);
    QFETCH(int, remove);
    QFETCH(QList<int>, states);

    ToolBar bar;
    fillToolBar(bar);
    QCOMPARE(bar.buttonCount(), 6);
    bar.addState(index, add);
    bar.removeState(index, remove);
    QList<int> now;
    for (int i = 0; i < bar.buttonCount(); ++i)
        now << bar.state(i);
    QCOMPARE(now, states);
    QCOMPARE(bar.state(index), index >= 0 && index < 6 ? add & ~remove : 0);
}

void TestControls::toolBarStateLooks()
{
    ToolBar bar;
    fillToolBar(bar);
    QCOMPARE(bar.buttonCaption(4), QStringLiteral("查找"));
    QCOMPARE(bar.buttonCaption(3), QString());
    QVERIFY(bar.isSeparator(3));
    QCOMPARE(bar.buttonCaption(6), QString());
    QVERIFY(!bar.buttonAction(6));

    bar.addState(0, ToolBar::Pressed);
    bar.addState(1, ToolBar::Checked);
    bar.addState(2, ToolBar::Disabled);
    bar.addState(4, ToolBar::Hidden);
    bar.addState(5, ToolBar::Indeterminate);
    QVERIFY(bar.buttonAction(0)->isChecked());
    QVERIFY(bar.buttonAction(1)->isChecked());
    QVERIFY(!bar.buttonAction(2)->isEnabled());
    QVERIFY(!bar.buttonAction(4)->isVisible());
    QCOMPARE(bar.state(5), int(ToolBar::Indeterminate));
    bar.removeState(0, ToolBar::Pressed);
    QVERIFY(!bar.buttonAction(0)->isChecked());
}

void TestControls::toolBarClickKeepsStates()
{
    ToolBar bar;
    fillToolBar(bar);
    QSignalSpy clicked(&bar, &ToolBar::clicked);
    bar.buttonAction(1)->trigger();
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.at(0).at(0).toInt(), 1);
    QVERIFY(!bar.buttonAction(1)->isChecked()); // the look follows the flags, not the click
    QCOMPARE(bar.state(1), 0);

    bar.addState(2, ToolBar::Disabled);
    bar.buttonAction(2)->trigger();
    QCOMPARE(clicked.count(), 1);
}

void TestControls::decimalInput_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("taken");

    QTest::newRow("nothing") << QString() << true;
    QTest::newRow("integer") << QStringLiteral("1500") << true;
    QTest::newRow("fraction") << QStringLiteral("12.5") << true;
    QTest::newRow("sign alone, on the way") << QStringLiteral("-") << true;
    QTest::newRow("negative") << QStringLiteral("-3.25") << true;
    QTest::newRow("point first") << QStringLiteral(".5") << true;
    QTest::newRow("point last, on the way") << QStringLiteral("12.") << true;
    QTest::newRow("letters") << QStringLiteral("12a") << false;
    QTest::newRow("two points") << QStringLiteral("1.2.3") << false;
    QTest::newRow("sign inside") << QStringLiteral("1-2") << false;
    QTest::newRow("blank") << QStringLiteral(" 1") << false;
    QTest::newRow("exponent") << QStringLiteral("1e5") << false;
    // Chinese input methods type full-width forms; the save turns them into ASCII.
    QTest::newRow("full-width digits") << QStringLiteral("１５００") << true;
    QTest::newRow("full-width point") << QStringLiteral("１２．５") << true;
    QTest::newRow("full-width minus") << QStringLiteral("－３．２５") << true;
    QTest::newRow("full-width plus") << QStringLiteral("＋３") << true;
    QTest::newRow("mixed widths") << QStringLiteral("1２.５") << true;
    QTest::newRow("full-width letters") << QStringLiteral("１２ａ") << false;
    QTest::newRow("full-width two points") << QStringLiteral("１．２.3") << false;
    QTest::newRow("ideographic full stop") << QStringLiteral("１。５") << false;
}

void TestControls::decimalInput()
{
    QFETCH(QString, typed);
    QFETCH(bool, taken);

    QCOMPARE(EditBox::isDecimalInput(typed), taken);
    EditBox box(nullptr, EditBox::Input::Decimal);
    // One key event per character, full-width ones included (keyClicks sends Latin-1 only).
    for (const QChar c : typed)
        QTest::sendKeyEvent(QTest::Click, box.lineEdit(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    if (taken)
        QCOMPARE(box.content(), typed);
    else
        QVERIFY(box.content() != typed);
}

void TestControls::editBoxModes()
{
    EditBox text;
    QVERIFY(text.lineEdit());
    QVERIFY(!text.textEdit());
    QSignalSpy changed(&text, &EditBox::contentChanged);
    QTest::keyClicks(text.lineEdit(), QStringLiteral("zs"));
    QCOMPARE(changed.count(), 2);
    text.setContent(QStringLiteral("张三"));
    QCOMPARE(changed.count(), 3);
    QCOMPARE(text.content(), QStringLiteral("张三"));

    EditBox lines(nullptr, EditBox::Input::MultiLine);
    QVERIFY(lines.textEdit());
    QVERIFY(!lines.lineEdit());
    QSignalSpy linesChanged(&lines, &EditBox::contentChanged);
    lines.setContent(QStringLiteral("一\n二"));
    QCOMPARE(lines.content(), QStringLiteral("一\n二"));
    QCOMPARE(linesChanged.count(), 1);

    // The program's text is shown as given, even in a decimal box.
    EditBox decimal(nullptr, EditBox::Input::Decimal);
    decimal.setContent(QStringLiteral("12.5"));
    QCOMPARE(decimal.content(), QStringLiteral("12.5"));
    decimal.setInput(EditBox::Input::Text);
    QCOMPARE(decimal.content(), QStringLiteral("12.5"));
}

void TestControls::radioChoiceMayBeEmpty()
{
    ShapeBox frame;
    auto *yes = new RadioBox(&frame);
    auto *no = new RadioBox(&frame);
    QVERIFY(!yes->isChecked() && !no->isChecked());
    yes->setChecked(true);
    no->setChecked(true);
    QVERIFY(!yes->isChecked()); // one choice per shape box
    QVERIFY(no->isChecked());
    no->setChecked(false);
    QVERIFY(!yes->isChecked() && !no->isChecked());
    yes->setChecked(true); // still exclusive afterwards
    no->setChecked(true);
    QVERIFY(!yes->isChecked());
}

void TestControls::pageControl()
{
    PageControl pages;
    QCOMPARE(pages.currentPage(), -1);
    QCOMPARE(pages.addPage(QStringLiteral("首页")), 0);
    QCOMPARE(pages.addPage(QStringLiteral("人员管理")), 1);
    QCOMPARE(pages.pageCount(), 2);
    QCOMPARE(pages.pageCaption(1), QStringLiteral("人员管理"));
    QCOMPARE(pages.pageCaption(2), QString());
    QVERIFY(pages.page(1));
    QVERIFY(!pages.page(2));
    QVERIFY(!pages.page(-1));
    pages.setCurrentPage(1);
    QCOMPARE(pages.currentPage(), 1);
    pages.setCurrentPage(5);
    QCOMPARE(pages.currentPage(), 1);
}

void TestControls::labelReportsLeftPress()
{
    Label label;
    label.setCaption(QStringLiteral("关闭"));
    label.resize(48, 32);
    QSignalSpy pressed(&label, &Label::leftButtonPressed);
    QTest::mousePress(&label, Qt::RightButton);
    QCOMPARE(pressed.count(), 0);
    QTest::mousePress(&label, Qt::LeftButton);
    QCOMPARE(pressed.count(), 1);
}

void TestControls::picBox()
{
    PicBox box;
    QVERIFY(!box.hasImage());
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    box.setImage(image);
    QVERIFY(box.hasImage());
    QCOMPARE(box.image().size(), QSize(4, 3));
    box.clear();
    QVERIFY(!box.hasImage());
}

void TestControls::popupMenu()
{
    PopupMenu menu;
    QCOMPARE(menu.addItem(QStringLiteral("删除")), 0);
    QCOMPARE(menu.itemCount(), 1);
    QCOMPARE(menu.itemCaption(0), QStringLiteral("删除"));
    QCOMPARE(menu.itemCaption(1), QString());
    QSignalSpy clicked(&menu, &PopupMenu::itemClicked);
    menu.itemAction(0)->trigger();
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.at(0).at(0).toInt(), 0);
}

// A tree destroyed with an item selected (every window closing, the program's end) must not
// report a change of selection, nor touch its own members, from its half-destroyed self while
// Qt deletes its models (the sanitizer build sees the latter).
void TestControls::treeReportsNothingWhileDestroyed()
{
    auto *tree = new TreeBox;
    addAll(*tree, {QStringLiteral("-1:A"), QStringLiteral("0:B"), QStringLiteral("-1:C")});
    tree->select(1);
    QObject receiver;
    int reports = 0;
    connect(tree, &TreeBox::selectionChanged, &receiver, [&reports] { ++reports; });
    delete tree;
    QCOMPARE(reports, 0);
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
