#pragma once

#include <QString>

#include <optional>

namespace fenlark {

class EGrid;

// The region list of the region page (高级表格2): column 0 the running number, column 1 the
// level name, column 2 the unit name. After start-up it is never read back from the table;
// the region page's actions change it in place through these.
//
// A hidden column 3 holds each unit's 直属管辖: two villages of one name under two townships
// look alike in the list, and the row must still say which of them it is.

inline constexpr int kRegionListColumns = 4;
inline constexpr int kRegionListParentColumn = 3;

// Gives the list its hidden parent column (the three shown columns stay as they are).
void setUpRegionListColumns(EGrid &list);

// The unit name shown in a data row ("" for no such row).
QString regionListName(const EGrid &list, int row);
// The unit's 直属管辖 kept with the row; nothing when the list has no parent column.
std::optional<QString> regionListParent(const EGrid &list, int row);
// Appends a row holding the level and the name (default alignment), then renumbers.
void appendRegionListRow(EGrid &list, const QString &levelName, const QString &name, const QString &parent);
// Rewrites the level, the name and the parent of an existing data row.
void writeRegionListRow(EGrid &list, int row, const QString &levelName, const QString &name, const QString &parent);
// Removes a data row and renumbers. The cursor stays on the same row number, which now shows
// the next unit; after the last row it moves up one; with no data row left there is none.
// Rows hidden by the search box are passed over, so the cursor never rests on an unseen unit.
void removeRegionListRow(EGrid &list, int row);
// Removes the data row of the unit (level, name, parent) when the list holds one; the cursor
// keeps to the unit it was on. True when a row was removed.
bool removeRegionListUnit(EGrid &list, const QString &levelName, const QString &name, const QString &parent);
// After a rename carried down: rows of units of a level deeper than `level` whose parent was
// oldName now name newName.
void renameRegionListParent(EGrid &list, int level, const QString &oldName, const QString &newName);

// The search box above the list: shows only the rows whose unit name contains the text
// (blanks around it ignored, Latin letters in any case); an empty text shows every row. The
// rows keep their order and running numbers. A cursor on a row that goes out of sight is
// taken away, so 修改 and 删除 never act on a unit the user cannot see.
void filterRegionList(EGrid &list, const QString &text);
bool isRegionListRowShown(const EGrid &list, int row);

} // namespace fenlark
