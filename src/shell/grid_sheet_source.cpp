#include "shell/grid_sheet_source.h"

#include "ui/egrid.h"
#include "ui/grid_model.h"

namespace fenlark {

int GridSheetSource::rowCount() const
{
    return m_grid.rowCount();
}

QString GridSheetSource::text(int row, int column) const
{
    return m_grid.cellText(row, column);
}

bool GridSheetSource::checked(int row, int column) const
{
    return m_grid.cellChecked(row, column);
}

std::vector<SheetCell> GridSheetSource::cells(int first, int count, int columns) const
{
    if (first < 1) // the header row, cell by cell
        return SheetSource::cells(first, count, columns);
    std::vector<SheetCell> block;
    for (const GridListedRow &row : m_grid.readRows(first, count)) {
        for (int column = 0; column < columns; ++column) {
            if (size_t(column) >= row.cells.size()) {
                block.emplace_back();
                continue;
            }
            // As cellText and cellChecked read the cell: a check box has no text.
            const GridCell &cell = row.cells[size_t(column)];
            block.push_back(cell.check ? SheetCell{QString(), cell.checked} : SheetCell{cell.text, false});
        }
    }
    return block;
}

} // namespace fenlark
