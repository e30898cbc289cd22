#pragma once

#include <QPoint>
#include <QStringList>
#include <QTableView>
#include <QVariant>

#include <memory>
#include <vector>

namespace fenlark {

class GridModel;
class GridRowReader;
struct GridListedRow;

// The grid of the windows: a header row plus data rows of text and check-box cells.
// All rows are numbered as the windows count them: row 0 is the header row (shown as the view's
// horizontal header), data rows are 1 to rowCount() - 1. Columns count from 0; -1 means none.
class EGrid : public QTableView {
    Q_OBJECT
public:
    enum CellKind { TextCell = 1, CheckCell = 5, PictureCell = 6 };
    enum Alignment { AlignLeft = 0, AlignRight = 1, AlignCentre = 2 };
    enum EditorKind { TextEditor = 1, ListEditor = 4 };

    explicit EGrid(QWidget *parent = nullptr);
    ~EGrid() override;

    // Shape. Row and column sizes apply to all rows; the header row has the row height too.
    void setColumnCount(int count);
    int columnCount() const;
    int rowCount() const; // header row included, so never below 1
    void setDefaultColumnWidth(int width);
    int defaultColumnWidth() const;
    void setUniformRowHeight(int height);
    int uniformRowHeight() const;
    bool setColumnWidth(int column, int width); // false when there is no such column
    int columnWidth(int column) const;          // -1 when there is no such column

    // Check-box columns show their data cells as check boxes holding a bool.
    void setCheckColumn(int column, bool on);
    bool isCheckColumn(int column) const;

    // Editable grids let the user type into text cells and toggle check boxes; the others are
    // lists (double click, cursor), which is the default.
    void setEditable(bool on);
    bool isEditable() const;
    // Whole-row highlight instead of a single cell; the cursor column is still tracked.
    void setRowSelection(bool on);

    // Writes a cell. Kind 1 (text): a QString as it is, integers in decimal, a float with "%.6g",
    // a double with "%.13g"; on row 0 it writes the header text; on a check-box column it makes
    // that cell a text cell. Kind 5 (check box): a bool, on a data row of a check-box column.
    // False when the cell does not exist, the kind is unknown (pictures are not kept) or the value
    // does not fit the kind.
    bool setCell(int row, int column, int kind, const QVariant &value);
    // The cell's value: QString for text cells and the header row, bool for check-box cells,
    // an invalid QVariant when the cell does not exist.
    QVariant cell(int row, int column) const;
    QString cellText(int row, int column) const; // "" for check boxes and missing cells
    bool cellChecked(int row, int column) const; // false for text and missing cells
    // The cells of count data rows from grid row `first` (1 and up) as cell() gives them, row by
    // row: what an export of the whole list reads, in large blocks instead of cell by cell.
    std::vector<GridListedRow> readRows(int first, int count) const;

    // A value kept with a data row, not shown (such as the record a list row stands for); it
    // moves with the row. Invalid when none was set or the row does not exist.
    void setRowData(int row, const QVariant &value);
    QVariant rowData(int row) const;

    // The cursor cell (Qt's current index), -1 when the grid has none.
    int cursorRow() const;
    int cursorColumn() const;
    // Moves the cursor to a data cell; row -1 removes it. False for any other missing cell.
    bool setCursorCell(int row, int column);

    // Inserts one empty row before data row `position`; appends when `position` is not a data row
    // (omitted, 0, beyond the last row), so on a header-only grid position 1 appends row 1.
    bool insertRow(int position = -1);
    // Deletes a data row; false when there is no such row. Row 0 is the header row, which is never
    // deleted: deleteRow(0) returns false and changes nothing.
    bool deleteRow(int row);
    // Column 0 of every data row shows its row number (1, 2, ...) until a text is written there:
    // one change, however long the list.
    void renumberRows();
    // Replaces every data row with the stored rows of these keys, in order; their cells are read
    // by reader when shown or asked for, so the list costs memory in its keys. Column 0 shows the
    // row number. Writing a cell of such a row keeps that row's cells until the next list.
    void showListedRows(std::vector<qint64> keys, std::shared_ptr<GridRowReader> reader);

    // Aligns every existing cell of the block (row 0 included: the header). Alignment 0 left,
    // 1 right, 2 centre; other values change nothing.
    void alignBlock(int firstRow, int firstColumn, int lastRow, int lastColumn, int alignment);
    int cellAlignment(int row, int column) const; // -1 when the cell does not exist

    // A warning on a data cell (row >= 1): its tooltip, and the cell drawn in warning colours;
    // an empty note removes it. Inserting or deleting a row removes every note.
    void setCellNote(int row, int column, const QString &note);
    QString cellNote(int row, int column) const;

    // The collected item list, given to a column's drop-down editor by setColumnEditor(col, 4);
    // the column keeps its own copy, so the collection can be cleared for the next column.
    void addListItem(const QString &text);
    void clearListItems();
    QStringList listItems() const;
    // Editor kinds 1 to 8; 4 is the drop-down list of the collected items, every other kind a
    // plain text editor. False for a missing column or a kind outside 1 to 8.
    bool setColumnEditor(int column, int kind);
    QStringList columnListItems(int column) const;

    // Many rows at once: inside a bulk update the cells change without a signal per cell and the
    // view is reset once at the end (the cursor is lost). Nests.
    void beginBulkUpdate();
    void endBulkUpdate();
    class BulkUpdate {
    public:
        explicit BulkUpdate(EGrid &grid) : m_grid(grid) { m_grid.beginBulkUpdate(); }
        ~BulkUpdate() { m_grid.endBulkUpdate(); }
        BulkUpdate(const BulkUpdate &) = delete;
        BulkUpdate &operator=(const BulkUpdate &) = delete;

    private:
        EGrid &m_grid;
    };

    GridModel *gridModel() const { return m_model; }

Q_SIGNALS:
    void cellDoubleClicked(int row, int column);
    // The user has changed a cell (typed text committed, item chosen, box toggled).
    void editEnded(int row, int column);
    void rightButtonPressed(const QPoint &globalPos);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    bool hasCell(int row, int column) const;
    void updateEditTriggers();

    GridModel *m_model;
    QStringList m_collected;
    std::vector<int> m_editorKinds;
};

} // namespace fenlark
