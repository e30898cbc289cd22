#pragma once

#include <QString>
#include <QStringList>

namespace fenlark {

class DBConnection;
class RecordSet;

// One row of 区域管理 as the entry window writes it.
struct RegionUnit {
    int level = 0;     // 标识
    QString levelName; // 区域
    QString name;      // 单位名称
    QString parent;    // 直属管辖, "" for a country
};

// Opens 区域管理 on the set and moves to the first unit of that name; true when there is one.
// The set stays open (on that row, or at the end).
bool findRegionUnit(RecordSet &set, const QString &name);

// The 区域 and 直属管辖 of the set's current row.
void readRegionUnit(RecordSet &set, QString &levelName, QString &parent);

// The names of the units of the level just above levelName, in table order (none for
// "国家"). Reopens the set and closes it again.
QStringList parentCandidates(RecordSet &set, const QString &levelName);

// Writes the four columns into a new row (asNew) or into the set's current row, and stores
// it in one transaction. False when any write, the store or the commit fails: the table is
// then as it was. The set is closed afterwards either way.
bool storeRegionUnit(RecordSet &set, DBConnection &connection, const RegionUnit &unit, bool asNew);

} // namespace fenlark
