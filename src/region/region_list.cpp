#include "region/region_list.h"

#include "region/region_entry_rules.h"
#include "ui/egrid.h"
#include "ui/grid_rows.h"

#include <algorithm>

namespace fenlark {

namespace {

// Grid rows count the header as row 0; the view's rows start at the first data row.
void setRowShown(EGrid &list, int row, bool shown)
{
    list.setRowHidden(row - 1, !shown);
}

// The nearest shown data row at or after `row`, else before it; -1 when none is shown.
int nearestShownRow(const EGrid &list, int row)
{
    const int last = list.rowCount() - 1;
    for (int r = row; r <= last; ++r) {
        if (isRegionListRowShown(list, r))
            return r;
    }
    for (int r = std::min(row, last + 1) - 1; r >= 1; --r) {
        if (isRegionListRowShown(list, r))
            return r;
    }
    return -1;
}

void placeCursorNear(EGrid &list, int row, int column)
{
    const int target = list.rowCount() > 1 ? nearestShownRow(list, std::max(row, 1)) : -1;
    list.setCursorCell(target, column);
}

} // namespace

void setUpRegionListColumns(EGrid &list)
{
    if (list.columnCount() < kRegionListColumns)
        list.setColumnCount(kRegionListColumns);
    list.setColumnHidden(kRegionListParentColumn, true);
}

QString regionListName(const EGrid &list, int row)
{
    if (row < 1 || row >= list.rowCount())
        return {};
    return list.cellText(row, 2);
}

std::optional<QString> regionListParent(const EGrid &list, int row)
{
    if (row < 1 || row >= list.rowCount() || list.columnCount() <= kRegionListParentColumn)
        return std::nullopt;
    return list.cellText(row, kRegionListParentColumn);
}

void appendRegionListRow(EGrid &list, const QString &levelName, const QString &name, const QString &parent)
{
    list.insertRow();
    const int row = list.rowCount() - 1;
    writeRegionListRow(list, row, levelName, name, parent);
    renumberRows(list);
}

void writeRegionListRow(EGrid &list, int row, const QString &levelName, const QString &name, const QString &parent)
{
    list.setCell(row, 1, EGrid::TextCell, levelName);
    list.setCell(row, 2, EGrid::TextCell, name);
    list.setCell(row, kRegionListParentColumn, EGrid::TextCell, parent);
}

void removeRegionListRow(EGrid &list, int row)
{
    const int column = list.cursorColumn() < 0 ? 0 : list.cursorColumn();
    if (!list.deleteRow(row))
        return;
    placeCursorNear(list, row, column);
    renumberRows(list);
}

bool removeRegionListUnit(EGrid &list, const QString &levelName, const QString &name, const QString &parent)
{
    for (int row = 1; row < list.rowCount(); ++row) {
        if (list.cellText(row, 1) != levelName || list.cellText(row, 2) != name)
            continue;
        const std::optional<QString> rowParent = regionListParent(list, row);
        if (rowParent && *rowParent != parent)
            continue;
        const int cursor = list.cursorRow();
        const int column = list.cursorColumn() < 0 ? 0 : list.cursorColumn();
        list.deleteRow(row);
        if (cursor == row)
            placeCursorNear(list, row, column);
        else if (cursor > row)
            list.setCursorCell(cursor - 1, column);
        renumberRows(list);
        return true;
    }
    return false;
}

void renameRegionListParent(EGrid &list, int level, const QString &oldName, const QString &newName)
{
    if (list.columnCount() <= kRegionListParentColumn)
        return;
    for (int row = 1; row < list.rowCount(); ++row) {
        if (levelCode(list.cellText(row, 1)) > level && list.cellText(row, kRegionListParentColumn) == oldName)
            list.setCell(row, kRegionListParentColumn, EGrid::TextCell, newName);
    }
}

void filterRegionList(EGrid &list, const QString &text)
{
    const QString wanted = text.trimmed();
    for (int row = 1; row < list.rowCount(); ++row)
        setRowShown(list, row, wanted.isEmpty() || list.cellText(row, 2).contains(wanted, Qt::CaseInsensitive));
    const int cursor = list.cursorRow();
    if (cursor >= 1 && !isRegionListRowShown(list, cursor))
        list.setCursorCell(-1, 0);
}

bool isRegionListRowShown(const EGrid &list, int row)
{
    return row >= 1 && row < list.rowCount() && !list.isRowHidden(row - 1);
}

} // namespace fenlark
