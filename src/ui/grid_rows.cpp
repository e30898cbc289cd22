#include "ui/grid_rows.h"

#include "ui/egrid.h"
#include "ui/grid_model.h"

namespace fenlark {

void renumberRows(EGrid &list)
{
    list.renumberRows();
}

void emptyGrid(EGrid &list)
{
    // One model reset for all the rows: row by row, the header view makes this slow for 100,000.
    list.showListedRows({}, nullptr);
}

} // namespace fenlark
