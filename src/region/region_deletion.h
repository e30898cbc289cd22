#pragma once

#include <QString>

#include <vector>

class QWidget;

namespace fenlark {

struct AppState;
struct StoredRegionUnit;
class DBConnection;
class Dialogs;
class EGrid;

// The texts of a deletion: what is asked, and why one is refused.
QString regionDeletionQuestion(const StoredRegionUnit &unit, qint64 subUnitCount);
QString regionSubUnitsQuestion(const StoredRegionUnit &unit, const std::vector<StoredRegionUnit> &subUnits);
QString regionDeletionRefusal(const StoredRegionUnit &unit, qint64 subUnitCount, qint64 households);

// 按钮_删除 of the region page, for the unit of the region list's cursor row. A unit with
// households anywhere below it (its own, or of any unit under it) is not deleted: the user is
// told how many and to move or delete them first. Otherwise the question (default 否) names the
// unit and what lies below it; a unit with empty sub-units asks once more, naming them, and goes
// together with them in one transaction. The deleted rows leave the list (renumbered; the
// cursor stays on the same row number). The region tree and villageNames are left as they are
// until their next rebuild. A unit the store refuses to delete stays listed, and the user is told.
void deleteSelectedRegion(AppState &state, DBConnection &connection, EGrid &regionList, Dialogs &dialogs,
                          QWidget *parent);

} // namespace fenlark
