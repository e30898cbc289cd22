#pragma once

#include <QString>

#include <vector>

namespace fenlark {

// One cell as the export reads it: its text, or in a check-box column whether the box is set.
struct SheetCell {
    QString text;
    bool checked = false;
};

// What the export reads from the household list: its rows with the header as row 0, the text of
// a cell and, in the check-box columns, whether the box is set.
class SheetSource {
public:
    virtual ~SheetSource() = default;
    virtual int rowCount() const = 0; // header row included
    virtual QString text(int row, int column) const = 0;
    virtual bool checked(int row, int column) const = 0;

    // The cells of rows first to first + count - 1 (within the list), row by row, `columns` to a
    // row, each as text() and checked() give it. A list whose rows are read from the store
    // answers a block of thousands of rows far sooner than cell by cell.
    virtual std::vector<SheetCell> cells(int first, int count, int columns) const
    {
        std::vector<SheetCell> block;
        for (int row = first; row < first + count && row < rowCount(); ++row) {
            for (int column = 0; column < columns; ++column)
                block.push_back(SheetCell{text(row, column), checked(row, column)});
        }
        return block;
    }
};

} // namespace fenlark
