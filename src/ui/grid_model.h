#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace fenlark {

// One cell of a listed row as its reader gives it.
struct GridCell {
    QString text;
    bool check = false; // a check box, not a text
    bool checked = false;
};

// One listed row as its reader gives it: its cells from column 0 (whose text the grid replaces
// by the row number) and the value the program keeps with the row without showing it.
struct GridListedRow {
    std::vector<GridCell> cells;
    QVariant data;
};

// Reads the cells of listed rows by their keys, for a grid that holds keys instead of cells.
class GridRowReader {
public:
    virtual ~GridRowReader() = default;
    // The rows with these keys, one per key in the order asked. A row that cannot be read may
    // be short or empty: its missing cells show as empty texts.
    virtual std::vector<GridListedRow> read(const std::vector<qint64> &keys) = 0;
};

// The cells behind an EGrid. Qt-facing rows are the grid's data rows (grid row 1 is model row 0);
// the grid's header row lives in headerData.
//
// A row is either held, its cells in memory (a cell is one QString plus a byte of flags), or
// listed: only the key of a stored row, whose cells a GridRowReader reads when they are shown or
// asked for, a block of rows at a time into a small cache. A list of a million households so
// costs its keys, not its cells. A listed row's column 0 is its row number. Writing to a listed
// row turns it into a held one with its cells as they were read, so what a save writes stays
// until the next list is loaded. Rows sit in a deque: emptying a grid by deleting its first data
// row again and again stays linear.
class GridModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Alignment : quint8 { AlignLeft = 0, AlignRight = 1, AlignCentre = 2 };

    explicit GridModel(QObject *parent = nullptr);

    // Qt model interface.
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Shape. Changing the column count keeps the cells of the remaining columns.
    void setColumns(int count);
    int columns() const { return m_columnCount; }
    int dataRows() const { return static_cast<int>(m_rows.size()); }
    // Inserts an empty row before data row `before` (0-based); any other value appends.
    void insertDataRow(int before);
    bool removeDataRow(int row);
    // Every data row replaced by listed rows, one per key in order, read by reader. One reset.
    void setListedRows(std::vector<qint64> keys, std::shared_ptr<GridRowReader> reader);
    // The cells of data rows first to first + count - 1 as they are shown (column 0 of a
    // numbered row its number), with each row's kept value, for a reader that goes through a
    // whole list: the listed rows not in the cache are read in one go and not kept, so the rows
    // on screen stay in the cache. Rows past the end are left out.
    std::vector<GridListedRow> readRows(int first, int count) const;
    // Column 0 of every row shows its row number from now on, until a text is written there;
    // one change for the whole column, and work only for the held rows.
    void renumber();
    // How many rows are held in memory (the others are listed), and how many listed rows' cells
    // the cache keeps: the grid's memory is in these, not in its length.
    int heldRows() const { return static_cast<int>(m_held.size()); }
    int cachedRows() const { return static_cast<int>(m_cache.size()); }

    // Cells of data rows (0-based rows); callers check the ranges.
    void setText(int row, int column, const QString &text);
    void setChecked(int row, int column, bool checked);
    bool isCheckCell(int row, int column) const;
    QString text(int row, int column) const;
    bool checked(int row, int column) const;
    void setAlignment(int row, int column, Alignment alignment);
    Alignment alignment(int row, int column) const;
    // A warning on a cell: shown as its tooltip, the cell drawn in warning colours; an empty
    // note removes it. Notes belong to a position, so inserting or removing a row drops them all
    // (the grids that warn never change their rows).
    void setNote(int row, int column, const QString &note);
    QString note(int row, int column) const;

    // A value the program keeps with a data row without showing it (invalid when none was set);
    // it moves with its row when rows are inserted or deleted before it.
    void setRowData(int row, const QVariant &value);
    QVariant rowData(int row) const;

    // The header row.
    void setHeaderText(int column, const QString &text);
    QString headerText(int column) const;
    void setHeaderAlignment(int column, Alignment alignment);
    Alignment headerAlignment(int column) const;

    // A check-box column turns its cells (present and future) into check boxes; a text written
    // into one of its cells makes that one cell a text cell again.
    void setCheckColumn(int column, bool on);
    bool isCheckColumn(int column) const;

    // Whether the user may change cells from the view (text cells edited, check boxes toggled).
    void setUserEditable(bool on) { m_userEditable = on; }
    bool isUserEditable() const { return m_userEditable; }

    // Drop-down list of a column's editor; empty means a plain text editor.
    void setColumnList(int column, const QStringList &items);
    QStringList columnList(int column) const;

    // While a bulk update is open no per-cell signals go out; closing the outermost one resets
    // the views once (they lose their current cell).
    void beginBulk();
    void endBulk();
    bool inBulk() const { return m_bulkDepth > 0; }

Q_SIGNALS:
    // The user changed a cell through the view (data row, 0-based).
    void userEdited(int row, int column);

private:
    struct Cell {
        enum : quint8 { Check = 0x01, Checked = 0x02, AlignShift = 2, AlignMask = 0x0c };
        QString text;
        quint8 flags = 0;
    };
    using Row = std::vector<Cell>;
    struct HeldRow {
        Row cells;
        QVariant data;
        bool numbered = false; // column 0 shows the row number, not its text
    };
    struct ListedRow {
        Row cells;
        QVariant data;
    };
    struct Slot {
        qint64 key = -1;               // the listed row's key
        std::unique_ptr<HeldRow> held; // set: a held row
    };

    Row emptyRow() const;
    Slot heldSlot(Row cells);
    void cellChanged(int row, int column);
    static Qt::Alignment toQt(Alignment alignment);
    // The cell as shown; column 0 of a numbered row reads its number.
    Cell cellAt(int row, int column) const;
    // The cell to write, the row held first when it was listed.
    Cell &writableCell(int row, int column);
    const ListedRow &listedRow(int row) const;
    HeldRow &heldRow(int row);
    void forgetListed();

    std::deque<Slot> m_rows;
    std::unordered_set<HeldRow *> m_held;
    std::shared_ptr<GridRowReader> m_reader;
    // Cells of listed rows read lately, by key; the oldest go first when it is full.
    mutable std::unordered_map<qint64, ListedRow> m_cache;
    mutable std::deque<qint64> m_cacheOrder;
    int m_columnCount = 0;
    QStringList m_headers;
    std::vector<quint8> m_headerAlignment;
    std::vector<bool> m_checkColumns;
    std::vector<QStringList> m_columnLists;
    std::map<std::pair<int, int>, QString> m_notes;
    bool m_userEditable = false;
    int m_bulkDepth = 0;
};

} // namespace fenlark
