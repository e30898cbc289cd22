#pragma once

#include "statistics/household_counts.h"

#include <QString>

#include <vector>

namespace fenlark {

class TreeBox;

// The units of a region tree in its item-index order (a parent before its children), each with
// the index of its parent (-1 for a root).
struct UnitTree {
    struct Unit {
        QString name;
        int parent = -1;
    };
    std::vector<Unit> units;

    // The tree as a TreeBox shows it.
    static UnitTree fromTree(const TreeBox &tree);
};

inline const QString kUnplacedRowName = QStringLiteral("未归属");
inline const QString kTotalRowName = QStringLiteral("合计");

// One row of the statistics table: a unit (or "未归属") and its counts.
struct StatisticsRow {
    QString name;
    CategoryCounts counts;
};

// The table of one unit: its direct sub-units, then "未归属" when some of its households are in
// none of them, then the total.
struct StatisticsTable {
    QString unit;
    std::vector<StatisticsRow> rows; // without the total
    CategoryCounts total;
};

// The counted groups placed on the tree, every unit's figures the sum of its sub-units'.
// A group belongs to the unit named by its 所属管辖 under the parent named by its 上级管辖; to
// the first unit (in index order) of that name when the parent does not match; when no unit has
// that name, to the unit its 上级管辖 names, where it shows as "未归属"; when that names none
// either, to "未归属" of the whole register. A unit's own households (a township named directly as
// the 所属管辖) also show as its "未归属", since they are in none of its villages.
class RegionStatistics {
public:
    RegionStatistics(const UnitTree &tree, const std::vector<HouseholdGroup> &groups);

    // The table of a unit by its index; -1 for the whole register, whose sub-units are the roots.
    StatisticsTable tableFor(int unit) const;
    // Everything counted under the unit, its sub-units included; -1: the whole register.
    CategoryCounts totalOf(int unit) const;

private:
    UnitTree m_tree;
    std::vector<std::vector<int>> m_children;
    std::vector<int> m_roots;
    std::vector<CategoryCounts> m_own;
    std::vector<CategoryCounts> m_total;
    CategoryCounts m_unplaced;
    CategoryCounts m_all;
};

} // namespace fenlark
