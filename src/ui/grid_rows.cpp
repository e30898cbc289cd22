#include "ui/grid_rows.h"

#include "ui/egrid.h"

namespace fenlark {

void renumberRows(EGrid &list)
{
    for (int row = 1; row < list.rowCount(); ++row)
        list.setCell(row, 0, EGrid::TextCell, QString::number(row));
}

void emptyGrid(EGrid &list)
{
    // One model reset for all the rows: row by row, the header view makes this slow for 100,000.
    EGrid::BulkUpdate bulk(list);
    while (list.deleteRow(1)) {
    }
}

} // namespace fenlark
