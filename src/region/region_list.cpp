#include "region/region_list.h"

#include "ui/egrid.h"
#include "ui/grid_rows.h"

namespace fenlark {

QString regionListName(const EGrid &list, int row)
{
    if (row < 1 || row >= list.rowCount())
        return {};
    return list.cellText(row, 2);
}

void appendRegionListRow(EGrid &list, const QString &levelName, const QString &name)
{
    list.insertRow();
    const int row = list.rowCount() - 1;
    list.setCell(row, 1, EGrid::TextCell, levelName);
    list.setCell(row, 2, EGrid::TextCell, name);
    renumberRows(list);
}

void writeRegionListRow(EGrid &list, int row, const QString &levelName, const QString &name)
{
    list.setCell(row, 1, EGrid::TextCell, levelName);
    list.setCell(row, 2, EGrid::TextCell, name);
}

void removeRegionListRow(EGrid &list, int row)
{
    const int column = list.cursorColumn() < 0 ? 0 : list.cursorColumn();
    if (!list.deleteRow(row))
        return;
    const int lastRow = list.rowCount() - 1;
    if (lastRow < 1)
        list.setCursorCell(-1, column);
    else
        list.setCursorCell(row <= lastRow ? row : lastRow, column);
    renumberRows(list);
}

} // namespace fenlark
