// A grid that lists a million rows by their keys: every grid operation keeps its meaning, and
// the grid holds the keys, a few written rows and a small cache, never the million rows' cells.
#include "ui/egrid.h"
#include "ui/grid_model.h"

#include <QSignalSpy>
#include <QTest>

using fenlark::EGrid;
using fenlark::GridCell;

namespace {

constexpr int kRows = 1000000;

// Row r (1-based) lists key 10 r; its cells are "k<key>" in column 1 and a check box in column 2,
// ticked for keys divisible by 20; its hidden value is the key. Counts what it is asked to read.
class KeyReader final : public fenlark::GridRowReader {
public:
    std::vector<fenlark::GridListedRow> read(const std::vector<qint64> &keys) override
    {
        ++calls;
        rowsRead += keys.size();
        std::vector<fenlark::GridListedRow> rows;
        for (const qint64 key : keys)
            rows.push_back(
                {{GridCell{QStringLiteral("ignored"), false, false},
                  GridCell{QStringLiteral("k%1").arg(key), false, false}, GridCell{QString(), true, key % 20 == 0}},
                 QVariant(key)});
        return rows;
    }
    int calls = 0;
    size_t rowsRead = 0;
};

} // namespace

class TestListedRows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void operations_data();
    void operations();
    void renumberingIsOneChange();
    void readingEveryRowKeepsTheCacheSmall();
    void aNewListForgetsWrittenRows();
    void hiddenValuesMoveWithTheirRows();
    void blocksReadAsCellByCell();

private:
    EGrid *m_grid = nullptr;
    std::shared_ptr<KeyReader> m_reader;
};

void TestListedRows::init()
{
    m_grid = new EGrid;
    m_grid->setColumnCount(3);
    m_grid->setCheckColumn(2, true);
    m_reader = std::make_shared<KeyReader>();
    std::vector<qint64> keys(kRows);
    for (int i = 0; i < kRows; ++i)
        keys[size_t(i)] = qint64(i + 1) * 10;
    m_grid->showListedRows(std::move(keys), m_reader);
    QCOMPARE(m_grid->rowCount(), kRows + 1);
    QCOMPARE(m_reader->calls, 0); // nothing is read before it is asked for
}

void TestListedRows::cleanup()
{
    delete m_grid;
}

void TestListedRows::operations_data()
{
    // After the operation (then renumberRows, as the program always does), the cell (row,
    // column) reads text and the grid has rowCount rows, header included.
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("rowCount");

    const int all = kRows + 1;
    QTest::newRow("first row, number") << "none" << 1 << 0 << "1" << all;
    QTest::newRow("last row, cell") << "none" << kRows << 1 << "k10000000" << all;
    QTest::newRow("cursor, then its cell") << "cursor 500000" << 500000 << 1 << "k5000000" << all;
    QTest::newRow("insert at 1: the new row is empty") << "insert 1" << 1 << 1 << "" << all + 1;
    QTest::newRow("insert at 1: the old first row moves down") << "insert 1" << 2 << 1 << "k10" << all + 1;
    QTest::newRow("insert at 1: renumbered") << "insert 1" << kRows + 1 << 0 << QString::number(kRows + 1) << all + 1;
    QTest::newRow("insert in the middle") << "insert 600000" << 600001 << 1 << "k6000000" << all + 1;
    QTest::newRow("delete the first row") << "delete 1" << 1 << 1 << "k20" << all - 1;
    QTest::newRow("delete: renumbered") << "delete 1" << 1 << 0 << "1" << all - 1;
    QTest::newRow("delete the last row") << "delete 1000000" << kRows - 1 << 1 << "k9999990" << all - 1;
    QTest::newRow("delete the header row: nothing") << "delete 0" << 1 << 1 << "k10" << all;
    QTest::newRow("set a cell") << "set 700000" << 700000 << 1 << "新" << all;
    QTest::newRow("set a cell: the row keeps its other cells") << "set 700000" << 700000 << 0 << "700000" << all;
    QTest::newRow("set a cell: the neighbour is untouched") << "set 700000" << 700001 << 1 << "k7000010" << all;
    QTest::newRow("set a cell, then delete above it") << "set 700000, delete 1" << 699999 << 1 << "新" << all - 1;
    QTest::newRow("set a cell, then insert above: renumbered")
        << "set 700000, insert 1" << 700001 << 0 << "700001" << all + 1;
    QTest::newRow("a number written stays until renumbered") << "number 5" << 5 << 0 << "1" << all;
}

void TestListedRows::operations()
{
    QFETCH(QString, operation);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(int, rowCount);

    for (const QString &step : operation.split(QStringLiteral(", "))) {
        const QStringList words = step.split(u' ');
        const int at = words.value(1).toInt();
        if (words[0] == QLatin1String("cursor")) {
            QVERIFY(m_grid->setCursorCell(at, 1));
            QCOMPARE(m_grid->cursorRow(), at);
            QCOMPARE(m_grid->cursorColumn(), 1);
        } else if (words[0] == QLatin1String("insert")) {
            QVERIFY(m_grid->insertRow(at));
            m_grid->renumberRows();
        } else if (words[0] == QLatin1String("delete")) {
            QCOMPARE(m_grid->deleteRow(at), at >= 1);
            m_grid->renumberRows();
        } else if (words[0] == QLatin1String("set")) {
            QVERIFY(m_grid->setCell(at, 1, EGrid::TextCell, QStringLiteral("新")));
            QVERIFY(m_grid->cellChecked(at, 2) == ((qint64(at) * 10) % 20 == 0));
            QVERIFY(m_grid->setCell(at, 2, EGrid::CheckCell, true));
            QVERIFY(m_grid->cellChecked(at, 2));
        } else if (words[0] == QLatin1String("number")) {
            QVERIFY(m_grid->setCell(at, 0, EGrid::TextCell, QStringLiteral("1")));
        }
    }
    QCOMPARE(m_grid->cellText(row, column), text);
    QCOMPARE(m_grid->rowCount(), rowCount);
    QVERIFY(m_grid->gridModel()->heldRows() <= 2);
    QVERIFY(m_reader->rowsRead < 1000);
}

void TestListedRows::renumberingIsOneChange()
{
    QVERIFY(m_grid->deleteRow(3));
    QSignalSpy changes(m_grid->gridModel(), &QAbstractItemModel::dataChanged);
    m_grid->renumberRows();
    QCOMPARE(changes.count(), 1);
    QCOMPARE(m_grid->cellText(kRows - 1, 0), QString::number(kRows - 1));
}

void TestListedRows::readingEveryRowKeepsTheCacheSmall()
{
    // As the export reads the list: row after row, text and check cells.
    int ticked = 0;
    for (int r = 1; r < m_grid->rowCount(); ++r) {
        if (m_grid->cellText(r, 1).size() < 3)
            QFAIL(qPrintable(QStringLiteral("row %1 is empty").arg(r)));
        ticked += m_grid->cellChecked(r, 2) ? 1 : 0;
    }
    QCOMPARE(ticked, kRows / 2);
    QVERIFY(m_grid->gridModel()->cachedRows() <= 600);
    QVERIFY(m_reader->rowsRead <= size_t(kRows) * 11 / 10); // each row read about once
    QCOMPARE(m_grid->gridModel()->heldRows(), 0);
}

void TestListedRows::aNewListForgetsWrittenRows()
{
    QVERIFY(m_grid->setCell(2, 1, EGrid::TextCell, QStringLiteral("written")));
    QCOMPARE(m_grid->gridModel()->heldRows(), 1);
    m_grid->showListedRows({70, 80}, m_reader);
    QCOMPARE(m_grid->rowCount(), 3);
    QCOMPARE(m_grid->cellText(2, 1), QStringLiteral("k80"));
    QCOMPARE(m_grid->gridModel()->heldRows(), 0);
}

void TestListedRows::hiddenValuesMoveWithTheirRows()
{
    // A listed row's hidden value comes from its reader, survives the row being written (held)
    // and moves with it when rows are inserted or deleted above.
    QCOMPARE(m_grid->rowData(3), QVariant(qint64(30)));
    QVERIFY(m_grid->setCell(3, 1, EGrid::TextCell, QStringLiteral("written")));
    QCOMPARE(m_grid->rowData(3), QVariant(qint64(30)));
    QVERIFY(m_grid->insertRow(1));
    QCOMPARE(m_grid->rowData(1), QVariant());
    QCOMPARE(m_grid->rowData(4), QVariant(qint64(30)));
    QCOMPARE(m_grid->rowData(900001), QVariant(qint64(9000000)));
    m_grid->setRowData(900001, 2024);
    QCOMPARE(m_grid->rowData(900001), QVariant(2024));
    QVERIFY(m_grid->deleteRow(1));
    QCOMPARE(m_grid->rowData(3), QVariant(qint64(30)));
    QCOMPARE(m_grid->rowData(900000), QVariant(2024));
}

void TestListedRows::blocksReadAsCellByCell()
{
    // A block of rows as the export reads it holds what the cells show one by one: listed rows
    // not read yet, rows in the cache, a written row (held, its number written as text), a
    // row inserted empty and a renumbered column; a block past the end stops at the last row.
    QCOMPARE(m_grid->cellText(5, 1), QStringLiteral("k50")); // rows about 5 are cached now
    QVERIFY(m_grid->setCell(7, 0, EGrid::TextCell, QStringLiteral("seven")));
    QVERIFY(m_grid->setCell(8, 2, EGrid::CheckCell, true));
    QVERIFY(m_grid->insertRow(9));
    const auto same = [this](int first, int count) {
        const std::vector<fenlark::GridListedRow> block = m_grid->readRows(first, count);
        QCOMPARE(int(block.size()), std::min(count, m_grid->rowCount() - first));
        for (int i = 0; i < int(block.size()); ++i) {
            const int row = first + i;
            QCOMPARE(int(block[size_t(i)].cells.size()), 3);
            QCOMPARE(block[size_t(i)].data, m_grid->rowData(row));
            for (int column = 0; column < 3; ++column) {
                const GridCell &cell = block[size_t(i)].cells[size_t(column)];
                QCOMPARE(cell.check, m_grid->cell(row, column).metaType().id() == QMetaType::Bool);
                QCOMPARE(cell.check ? QString() : cell.text, m_grid->cellText(row, column));
                QCOMPARE(cell.check && cell.checked, m_grid->cellChecked(row, column));
            }
        }
    };
    same(1, 5000);
    same(kRows - 10, 100);
    const int cached = m_grid->gridModel()->cachedRows();
    QCOMPARE(int(m_grid->readRows(kRows / 2, 3000).size()), 3000);
    QCOMPARE(m_grid->gridModel()->cachedRows(), cached); // the rows on screen stay in the cache
    m_grid->renumberRows();
    same(1, 20);
}

QTEST_MAIN(TestListedRows)
#include "tst_listed_rows.moc"
