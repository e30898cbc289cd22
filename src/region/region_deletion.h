#pragma once

#include <QString>

class QWidget;

namespace fenlark {

struct AppState;
class DBConnection;
class Dialogs;
class EGrid;

// What still names a unit: units whose 直属管辖 is its name, household rows whose 所属管辖 is.
struct RegionDependants {
    qint64 units = 0;
    qint64 households = 0;
    bool any() const { return units > 0 || households > 0; }
};

RegionDependants countRegionDependants(DBConnection &connection, const QString &name);

// The confirmation asked before a deletion; it names the dependants when there are any, so
// the user knows what drops out of the tree with the unit.
QString regionDeletionQuestion(const RegionDependants &dependants);

// 按钮_删除 of the region page: after a Yes to the confirmation deletes the unit of the region
// list's cursor row from 区域管理 and removes that row from the list (renumbered; the cursor
// stays on the same row number). The region tree and villageNames are left as they are until
// their next rebuild. A unit the store refuses to delete stays listed, and the user is told.
void deleteSelectedRegion(AppState &state, DBConnection &connection, EGrid &regionList, Dialogs &dialogs,
                          QWidget *parent);

} // namespace fenlark
