#include "ui/egrid.h"
#include "ui/grid_model.h"

#include <QComboBox>
#include <QHeaderView>
#include <QSignalSpy>
#include <QStyledItemDelegate>
#include <QTest>

using fenlark::EGrid;

namespace {

// A grid of three columns (column 2 holds check boxes) whose data rows carry "r1", "r2", …
// in column 0, so a test can see which rows are left and where an empty one went.
void fill(EGrid &grid, int dataRows)
{
    grid.setColumnCount(3);
    grid.setCheckColumn(2, true);
    for (int r = 1; r <= dataRows; ++r) {
        grid.insertRow();
        grid.setCell(r, 0, EGrid::TextCell, QStringLiteral("r%1").arg(r));
    }
}

QStringList firstColumn(const EGrid &grid)
{
    QStringList texts;
    for (int r = 1; r < grid.rowCount(); ++r)
        texts << grid.cellText(r, 0);
    return texts;
}

} // namespace

class TestEGrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void setCell_data();
    void setCell();
    void headerRowIsTheViewsHeader();
    void insertRow_data();
    void insertRow();
    void deleteRow_data();
    void deleteRow();
    void emptyingLeavesTheHeader();
    void rowDataMovesWithItsRow();
    void checkColumns();
    void cursor();
    void columnWidths();
    void alignBlock();
    void listEditorOffersCollectedItems();
    void userEditsReportEditEnded();
    void onlyEditableGridsTakeInput();
    void bulkUpdateResetsOnce();
    void mouseSignals();
    void cellsShowTheirWholeTextAsTooltip();
};

void TestEGrid::setCell_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QVariant>("stored");

    const QVariant none;
    QTest::newRow("text as it is") << 1 << 0 << 1 << QVariant(QStringLiteral("张三")) << true
                                   << QVariant(QStringLiteral("张三"));
    QTest::newRow("int") << 1 << 0 << 1 << QVariant(42) << true << QVariant(QStringLiteral("42"));
    QTest::newRow("negative int") << 1 << 0 << 1 << QVariant(-7) << true << QVariant(QStringLiteral("-7"));
    QTest::newRow("qint64") << 1 << 0 << 1 << QVariant(qint64(12345678901234)) << true
                            << QVariant(QStringLiteral("12345678901234"));
    QTest::newRow("double 12.5") << 1 << 0 << 1 << QVariant(12.5) << true << QVariant(QStringLiteral("12.5"));
    QTest::newRow("double 1/3, 13 digits")
        << 1 << 0 << 1 << QVariant(1.0 / 3.0) << true << QVariant(QStringLiteral("0.3333333333333"));
    QTest::newRow("double 1500") << 1 << 0 << 1 << QVariant(1500.0) << true << QVariant(QStringLiteral("1500"));
    QTest::newRow("double 0") << 1 << 0 << 1 << QVariant(0.0) << true << QVariant(QStringLiteral("0"));
    QTest::newRow("float 1/3, 6 digits") << 1 << 0 << 1 << QVariant(1.0f / 3.0f) << true
                                         << QVariant(QStringLiteral("0.333333"));
    QTest::newRow("float 2.5") << 1 << 0 << 1 << QVariant(2.5f) << true << QVariant(QStringLiteral("2.5"));
    QTest::newRow("text kind refuses a bool") << 1 << 0 << 1 << QVariant(true) << false << QVariant(QString());
    QTest::newRow("text on a check column")
        << 1 << 2 << 1 << QVariant(QStringLiteral("x")) << true << QVariant(QStringLiteral("x"));
    QTest::newRow("check box on a check column") << 1 << 2 << 5 << QVariant(true) << true << QVariant(true);
    QTest::newRow("check box on a text column") << 1 << 0 << 5 << QVariant(true) << false << QVariant(QString());
    QTest::newRow("check box needs a bool") << 1 << 2 << 5 << QVariant(1) << false << QVariant(false);
    QTest::newRow("check box not on the header")
        << 0 << 2 << 5 << QVariant(true) << false << QVariant(QStringLiteral("H2"));
    QTest::newRow("pictures are not kept")
        << 1 << 0 << 6 << QVariant(QByteArray("jpg")) << false << QVariant(QString());
    QTest::newRow("unknown kind") << 1 << 0 << 2 << QVariant(QStringLiteral("x")) << false << QVariant(QString());
    QTest::newRow("row beyond the last") << 2 << 0 << 1 << QVariant(QStringLiteral("x")) << false << none;
    QTest::newRow("negative row") << -1 << 0 << 1 << QVariant(QStringLiteral("x")) << false << none;
    QTest::newRow("column beyond the last") << 1 << 3 << 1 << QVariant(QStringLiteral("x")) << false << none;
    QTest::newRow("negative column") << 1 << -1 << 1 << QVariant(QStringLiteral("x")) << false << none;
    QTest::newRow("header text") << 0 << 1 << 1 << QVariant(QStringLiteral("户主")) << true
                                 << QVariant(QStringLiteral("户主"));
}

void TestEGrid::setCell()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, kind);
    QFETCH(QVariant, value);
    QFETCH(bool, accepted);
    QFETCH(QVariant, stored);

    EGrid grid;
    grid.setColumnCount(3);
    grid.setCheckColumn(2, true);
    for (int c = 0; c < 3; ++c)
        grid.setCell(0, c, EGrid::TextCell, QStringLiteral("H%1").arg(c));
    grid.insertRow(); // one empty data row; the grid has rows 0 and 1

    QCOMPARE(grid.setCell(row, column, kind, value), accepted);
    QCOMPARE(grid.cell(row, column), stored);
}

void TestEGrid::headerRowIsTheViewsHeader()
{
    EGrid grid;
    grid.setColumnCount(2);
    QCOMPARE(grid.rowCount(), 1);
    grid.setCell(0, 1, EGrid::TextCell, QStringLiteral("户主"));
    QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("户主"));
    QCOMPARE(grid.model()->rowCount(), 0); // the header is no model row
    grid.insertRow();
    grid.setCell(1, 1, EGrid::TextCell, QStringLiteral("张三"));
    QCOMPARE(grid.model()->index(0, 1).data().toString(), QStringLiteral("张三"));
    QCOMPARE(grid.uniformRowHeight(), 24);
    QCOMPARE(grid.horizontalHeader()->height(), 24);
}

void TestEGrid::insertRow_data()
{
    QTest::addColumn<int>("dataRows");
    QTest::addColumn<int>("position");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("header only, position 1 appends row 1") << 0 << 1 << QStringList{QString()};
    QTest::newRow("header only, no position") << 0 << -1 << QStringList{QString()};
    QTest::newRow("before data row 1") << 2 << 1 << QStringList{QString(), QStringLiteral("r1"), QStringLiteral("r2")};
    QTest::newRow("before data row 2") << 2 << 2 << QStringList{QStringLiteral("r1"), QString(), QStringLiteral("r2")};
    QTest::newRow("position past the last row appends")
        << 2 << 3 << QStringList{QStringLiteral("r1"), QStringLiteral("r2"), QString()};
    QTest::newRow("position 0 (the header) appends")
        << 2 << 0 << QStringList{QStringLiteral("r1"), QStringLiteral("r2"), QString()};
    QTest::newRow("no position appends") << 2 << -1
                                         << QStringList{QStringLiteral("r1"), QStringLiteral("r2"), QString()};
}

void TestEGrid::insertRow()
{
    QFETCH(int, dataRows);
    QFETCH(int, position);
    QFETCH(QStringList, after);

    EGrid grid;
    fill(grid, dataRows);
    QVERIFY(grid.insertRow(position));
    QCOMPARE(grid.rowCount(), dataRows + 2);
    QCOMPARE(firstColumn(grid), after);
}

void TestEGrid::deleteRow_data()
{
    QTest::addColumn<int>("dataRows");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("deleted");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("header only refuses row 1") << 0 << 1 << false << QStringList{};
    QTest::newRow("the header row stays") << 2 << 0 << false << QStringList{QStringLiteral("r1"), QStringLiteral("r2")};
    QTest::newRow("negative row") << 2 << -1 << false << QStringList{QStringLiteral("r1"), QStringLiteral("r2")};
    QTest::newRow("row equal to the row count")
        << 2 << 3 << false << QStringList{QStringLiteral("r1"), QStringLiteral("r2")};
    QTest::newRow("first data row") << 2 << 1 << true << QStringList{QStringLiteral("r2")};
    QTest::newRow("last data row") << 2 << 2 << true << QStringList{QStringLiteral("r1")};
}

void TestEGrid::deleteRow()
{
    QFETCH(int, dataRows);
    QFETCH(int, row);
    QFETCH(bool, deleted);
    QFETCH(QStringList, after);

    EGrid grid;
    fill(grid, dataRows);
    QCOMPARE(grid.deleteRow(row), deleted);
    QCOMPARE(firstColumn(grid), after);
}

void TestEGrid::emptyingLeavesTheHeader()
{
    EGrid grid;
    fill(grid, 5);
    grid.setCell(0, 0, EGrid::TextCell, QStringLiteral("N"));
    int deletions = 0;
    while (grid.deleteRow(1))
        ++deletions;
    QCOMPARE(deletions, 5);
    QCOMPARE(grid.rowCount(), 1);
    QCOMPARE(grid.cellText(0, 0), QStringLiteral("N"));
}

void TestEGrid::rowDataMovesWithItsRow()
{
    EGrid grid;
    fill(grid, 3);
    for (int r = 1; r <= 3; ++r)
        grid.setRowData(r, 2020 + r);
    grid.insertRow(1);
    QVERIFY(!grid.rowData(1).isValid()); // a new row carries nothing
    QVERIFY(grid.deleteRow(3));          // was r2
    QCOMPARE(firstColumn(grid), (QStringList{QString(), QStringLiteral("r1"), QStringLiteral("r3")}));
    QCOMPARE(grid.rowData(2), QVariant(2021));
    QCOMPARE(grid.rowData(3), QVariant(2023));
    QVERIFY(!grid.rowData(0).isValid()); // the header row and missing rows carry nothing
    QVERIFY(!grid.rowData(4).isValid());
    grid.setRowData(9, 1); // no such row: ignored
    QCOMPARE(grid.rowCount(), 4);
}

void TestEGrid::checkColumns()
{
    EGrid grid;
    fill(grid, 1);
    // Existing and new rows of a check column hold unticked boxes.
    QCOMPARE(grid.cell(1, 2), QVariant(false));
    grid.insertRow();
    QCOMPARE(grid.cell(2, 2), QVariant(false));
    QVERIFY(grid.setCell(2, 2, EGrid::CheckCell, true));
    QVERIFY(grid.cellChecked(2, 2));
    QCOMPARE(grid.model()->index(1, 2).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QVERIFY(!grid.model()->index(1, 2).data(Qt::DisplayRole).isValid());
    // The header of a check column is text.
    QVERIFY(grid.setCell(0, 2, EGrid::TextCell, QStringLiteral("是否党员")));
    QCOMPARE(grid.cell(0, 2), QVariant(QStringLiteral("是否党员")));
    // Switching the column off turns its cells into empty texts.
    grid.setCheckColumn(2, false);
    QCOMPARE(grid.cell(2, 2), QVariant(QString()));
    QVERIFY(!grid.setCell(2, 2, EGrid::CheckCell, true));
}

void TestEGrid::cursor()
{
    EGrid grid;
    fill(grid, 3);
    QCOMPARE(grid.cursorRow(), -1);
    QCOMPARE(grid.cursorColumn(), -1);
    QVERIFY(grid.setCursorCell(2, 1));
    QCOMPARE(grid.cursorRow(), 2);
    QCOMPARE(grid.cursorColumn(), 1);
    QVERIFY(!grid.setCursorCell(0, 0)); // the header row takes no cursor
    QVERIFY(!grid.setCursorCell(4, 0));
    QCOMPARE(grid.cursorRow(), 2);
    // A row inserted above moves the cursor row with its row.
    grid.insertRow(1);
    QCOMPARE(grid.cursorRow(), 3);
    while (grid.deleteRow(1)) {
    }
    QCOMPARE(grid.cursorRow(), -1);
    QCOMPARE(grid.cursorColumn(), -1);
}

void TestEGrid::columnWidths()
{
    EGrid grid;
    grid.setDefaultColumnWidth(70);
    grid.setColumnCount(3);
    QCOMPARE(grid.columnWidth(1), 70);
    QVERIFY(grid.setColumnWidth(1, 100));
    QCOMPARE(grid.columnWidth(1), 100);
    QCOMPARE(grid.columnWidth(-1), -1);
    QCOMPARE(grid.columnWidth(3), -1);
    QVERIFY(!grid.setColumnWidth(3, 10));
    QVERIFY(!grid.setColumnWidth(-1, 10));
}

void TestEGrid::alignBlock()
{
    EGrid grid;
    fill(grid, 2);
    grid.alignBlock(0, 0, 0, 2, EGrid::AlignCentre); // the header row
    for (int c = 0; c < 3; ++c)
        QCOMPARE(grid.cellAlignment(0, c), int(EGrid::AlignCentre));
    QCOMPARE(Qt::Alignment(grid.model()->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt()),
             Qt::Alignment(Qt::AlignCenter));
    QCOMPARE(grid.cellAlignment(1, 0), int(EGrid::AlignLeft));

    grid.alignBlock(2, 0, 2, 9, EGrid::AlignCentre); // reaching past the last column
    QCOMPARE(grid.cellAlignment(2, 2), int(EGrid::AlignCentre));
    QCOMPARE(grid.cellAlignment(1, 2), int(EGrid::AlignLeft));
    QCOMPARE(Qt::Alignment(grid.model()->index(1, 0).data(Qt::TextAlignmentRole).toInt()),
             Qt::Alignment(Qt::AlignCenter));
    grid.alignBlock(1, 0, 1, 0, 7); // no such alignment
    QCOMPARE(grid.cellAlignment(1, 0), int(EGrid::AlignLeft));
    QCOMPARE(grid.cellAlignment(3, 0), -1);
}

void TestEGrid::listEditorOffersCollectedItems()
{
    EGrid grid;
    grid.setColumnCount(3);
    grid.insertRow();
    const QStringList sexes{QStringLiteral("男"), QStringLiteral("女"), QStringLiteral("未知")};
    for (const QString &item : sexes)
        grid.addListItem(item);
    QVERIFY(grid.setColumnEditor(1, EGrid::ListEditor));
    grid.clearListItems();
    QVERIFY(grid.listItems().isEmpty());
    grid.addListItem(QStringLiteral("汉族"));
    QVERIFY(grid.setColumnEditor(2, EGrid::ListEditor));
    grid.clearListItems();

    QCOMPARE(grid.columnListItems(1), sexes); // kept after the collection was cleared
    QCOMPARE(grid.columnListItems(2), QStringList{QStringLiteral("汉族")});
    QVERIFY(grid.columnListItems(0).isEmpty());
    QVERIFY(!grid.setColumnEditor(3, EGrid::ListEditor));
    QVERIFY(!grid.setColumnEditor(0, 9));
    QVERIFY(!grid.setColumnEditor(0, 0));

    QStyleOptionViewItem option;
    QAbstractItemDelegate *delegate = grid.itemDelegate();
    std::unique_ptr<QWidget> editor(delegate->createEditor(grid.viewport(), option, grid.model()->index(0, 1)));
    auto *combo = qobject_cast<QComboBox *>(editor.get());
    QVERIFY(combo);
    QVERIFY(combo->isEditable()); // typed text is kept as typed
    QStringList offered;
    for (int i = 0; i < combo->count(); ++i)
        offered << combo->itemText(i);
    QCOMPARE(offered, sexes);

    // Choosing an item leaves its text in the cell.
    grid.setEditable(true);
    combo->setCurrentIndex(1);
    delegate->setModelData(combo, grid.model(), grid.model()->index(0, 1));
    QCOMPARE(grid.cellText(1, 1), QStringLiteral("女"));

    std::unique_ptr<QWidget> plain(delegate->createEditor(grid.viewport(), option, grid.model()->index(0, 0)));
    QVERIFY(!qobject_cast<QComboBox *>(plain.get()));

    // A plain editor kind takes the list away again.
    QVERIFY(grid.setColumnEditor(1, EGrid::TextEditor));
    QVERIFY(grid.columnListItems(1).isEmpty());
}

void TestEGrid::userEditsReportEditEnded()
{
    EGrid grid;
    fill(grid, 2);
    grid.setEditable(true);
    QSignalSpy ended(&grid, &EGrid::editEnded);

    grid.setCell(1, 0, EGrid::TextCell, QStringLiteral("program")); // the program writing: no event
    QCOMPARE(ended.count(), 0);

    QVERIFY(grid.model()->setData(grid.model()->index(1, 1), QStringLiteral("3"))); // as the view commits
    QCOMPARE(ended.count(), 1);
    QCOMPARE(ended.at(0).at(0).toInt(), 2);
    QCOMPARE(ended.at(0).at(1).toInt(), 1);
    QCOMPARE(grid.cellText(2, 1), QStringLiteral("3"));

    QVERIFY(grid.model()->setData(grid.model()->index(0, 2), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(ended.count(), 2);
    QVERIFY(grid.cellChecked(1, 2));
}

void TestEGrid::onlyEditableGridsTakeInput()
{
    EGrid grid;
    fill(grid, 1);
    const QModelIndex text = grid.model()->index(0, 0);
    const QModelIndex box = grid.model()->index(0, 2);
    QVERIFY(!(grid.model()->flags(text) & Qt::ItemIsEditable));
    QVERIFY(!(grid.model()->flags(box) & Qt::ItemIsUserCheckable));
    QCOMPARE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    grid.setEditable(true);
    QVERIFY(grid.model()->flags(text) & Qt::ItemIsEditable);
    QVERIFY(grid.model()->flags(box) & Qt::ItemIsUserCheckable);
    QVERIFY(grid.editTriggers() & QAbstractItemView::DoubleClicked);
}

void TestEGrid::bulkUpdateResetsOnce()
{
    EGrid grid;
    grid.setColumnCount(13);
    grid.setCheckColumn(5, true);
    QSignalSpy changed(grid.model(), &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(grid.model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(grid.model(), &QAbstractItemModel::modelReset);
    {
        EGrid::BulkUpdate bulk(grid);
        {
            EGrid::BulkUpdate nested(grid);
            for (int r = 1; r <= 500; ++r) {
                grid.insertRow();
                grid.setCell(r, 0, EGrid::TextCell, r);
                grid.setCell(r, 5, EGrid::CheckCell, r % 2 == 0);
            }
        }
        QCOMPARE(reset.count(), 0);
    }
    QCOMPARE(reset.count(), 1);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(grid.rowCount(), 501);
    QCOMPARE(grid.model()->rowCount(), 500);
    QCOMPARE(grid.cellText(500, 0), QStringLiteral("500"));
    QVERIFY(grid.cellChecked(500, 5));
}

void TestEGrid::mouseSignals()
{
    EGrid grid;
    fill(grid, 3);
    grid.resize(400, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));

    QSignalSpy right(&grid, &EGrid::rightButtonPressed);
    QSignalSpy doubled(&grid, &EGrid::cellDoubleClicked);
    const QPoint row2col1 = grid.visualRect(grid.model()->index(1, 1)).center();

    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, row2col1);
    QCOMPARE(right.count(), 1);
    QCOMPARE(grid.cursorRow(), 2); // the press put the cursor on the clicked row first
    QCOMPARE(right.at(0).at(0).toPoint(), grid.viewport()->mapToGlobal(row2col1));

    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, row2col1);
    QCOMPARE(doubled.count(), 1);
    QCOMPARE(doubled.at(0).at(0).toInt(), 2);
    QCOMPARE(doubled.at(0).at(1).toInt(), 1);
}

// A narrow column (the 18-digit 身份证 at 1366 pixels) cuts its text; the tooltip shows it all.
void TestEGrid::cellsShowTheirWholeTextAsTooltip()
{
    EGrid grid;
    fill(grid, 1);
    const QString card = QStringLiteral("110101199001010011");
    grid.setCell(0, 1, EGrid::TextCell, QStringLiteral("身份证"));
    grid.setCell(1, 1, EGrid::TextCell, card);
    grid.setColumnWidth(1, 40);
    QCOMPARE(grid.model()->index(0, 1).data(Qt::ToolTipRole).toString(), card);
    QCOMPARE(grid.model()->headerData(1, Qt::Horizontal, Qt::ToolTipRole).toString(), QStringLiteral("身份证"));
    grid.setCell(1, 1, EGrid::TextCell, QString());
    QVERIFY(!grid.model()->index(0, 1).data(Qt::ToolTipRole).isValid()); // an empty cell shows no tip
    QVERIFY(!grid.model()->index(0, 2).data(Qt::ToolTipRole).isValid()); // nor does a check box
}

QTEST_MAIN(TestEGrid)
#include "tst_egrid.moc"
