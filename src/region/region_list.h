#pragma once

#include <QString>

namespace fenlark {

class EGrid;

// The region list of the region page (高级表格2): column 0 the running number, column 1 the
// level name, column 2 the unit name. After start-up it is never read back from the table;
// the region page's actions change it in place through these.

// The unit name shown in a data row ("" for no such row).
QString regionListName(const EGrid &list, int row);
// Appends a row holding the level and the name (default alignment), then renumbers.
void appendRegionListRow(EGrid &list, const QString &levelName, const QString &name);
// Rewrites the level and the name of an existing data row.
void writeRegionListRow(EGrid &list, int row, const QString &levelName, const QString &name);
// Removes a data row and renumbers. The cursor stays on the same row number, which now shows
// the next unit; after the last row it moves up one; with no data row left there is none.
void removeRegionListRow(EGrid &list, int row);

} // namespace fenlark
