#pragma once

#include <QString>
#include <QStringList>

#include <optional>

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

// A stored unit with the row it lives in. Units are told apart by name and parent: two
// villages of one name under two townships are two units.
struct StoredRegionUnit {
    qint64 row = -1; // the table's rowid
    RegionUnit unit;
};

// The first unit, in table order, of that name and, when parent is given, of that 直属管辖
// (a NULL 直属管辖 counts as ""). Names are compared exactly; a quote in a name is no problem.
std::optional<StoredRegionUnit> findRegionUnit(DBConnection &connection, const QString &name,
                                               const std::optional<QString> &parent);

// The names of the units of the level just above levelName, in table order (none for
// "国家"). Reopens the set and closes it again.
QStringList parentCandidates(RecordSet &set, const QString &levelName);

// Why a unit cannot take its name and parent (next to every unit but the row `except`).
enum class RegionNameClash {
    None,
    SameParent, // another unit of that name under the same parent
    // Another unit of that name that can have sub-units, while this one can have them too:
    // sub-units and households name their parent by name alone and could not tell the two apart.
    AmbiguousParent,
};
RegionNameClash regionNameClash(DBConnection &connection, const RegionUnit &unit, qint64 except = -1);

// Adds the unit as a new row, or rewrites the columns of row `row`. Runs inside the caller's
// transaction when there is one (it opens its own savepoint); false when the store refuses,
// the table then as it was.
bool insertRegionUnit(DBConnection &connection, const RegionUnit &unit);
bool rewriteRegionUnit(DBConnection &connection, qint64 row, const RegionUnit &unit);

} // namespace fenlark
