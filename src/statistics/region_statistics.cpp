#include "statistics/region_statistics.h"

#include "ui/tree_box.h"

#include <QHash>

namespace fenlark {

UnitTree UnitTree::fromTree(const TreeBox &tree)
{
    UnitTree result;
    const int count = tree.itemCount();
    result.units.reserve(std::size_t(count));
    for (int index = 0; index < count; ++index)
        result.units.push_back({tree.itemText(index), tree.parentOf(index)});
    return result;
}

RegionStatistics::RegionStatistics(const UnitTree &tree, const std::vector<HouseholdGroup> &groups) : m_tree(tree)
{
    const std::size_t count = tree.units.size();
    m_children.resize(count);
    m_own.resize(count);
    m_total.resize(count);

    // The first unit of each name and of each (name, parent name) pair, in index order.
    QHash<QString, int> byName;
    QHash<QString, int> byNameAndParent;
    for (std::size_t i = 0; i < count; ++i) {
        const UnitTree::Unit &unit = tree.units[i];
        const QString parentName = unit.parent >= 0 ? tree.units[std::size_t(unit.parent)].name : QString();
        byName.insert(unit.name, byName.value(unit.name, int(i)));
        const QString pair = unit.name + QChar(0) + parentName;
        byNameAndParent.insert(pair, byNameAndParent.value(pair, int(i)));
        if (unit.parent >= 0)
            m_children[std::size_t(unit.parent)].push_back(int(i));
        else
            m_roots.push_back(int(i));
    }

    for (const HouseholdGroup &group : groups) {
        int at = byNameAndParent.value(group.unit + QChar(0) + group.parent, -1);
        if (at < 0)
            at = byName.value(group.unit, -1);
        if (at < 0 && !group.parent.isEmpty())
            at = byName.value(group.parent, -1);
        if (at < 0)
            m_unplaced += group.counts;
        else
            m_own[std::size_t(at)] += group.counts;
        m_all += group.counts;
    }

    // Children come after their parent in index order, so summing from the last unit up
    // finishes every child before its parent takes it.
    for (std::size_t i = count; i-- > 0;) {
        m_total[i] += m_own[i];
        const int parent = tree.units[i].parent;
        if (parent >= 0)
            m_total[std::size_t(parent)] += m_total[i];
    }
}

CategoryCounts RegionStatistics::totalOf(int unit) const
{
    if (unit < 0 || std::size_t(unit) >= m_total.size())
        return m_all;
    return m_total[std::size_t(unit)];
}

StatisticsTable RegionStatistics::tableFor(int unit) const
{
    StatisticsTable table;
    const bool whole = unit < 0 || std::size_t(unit) >= m_total.size();
    const std::vector<int> &children = whole ? m_roots : m_children[std::size_t(unit)];
    const CategoryCounts &own = whole ? m_unplaced : m_own[std::size_t(unit)];
    table.unit = whole ? QString() : m_tree.units[std::size_t(unit)].name;
    table.total = totalOf(unit);

    if (!whole && children.empty()) {
        // A village (or any unit without sub-units) is its own one row.
        table.rows.push_back({table.unit, own});
        return table;
    }
    for (int child : children)
        table.rows.push_back({m_tree.units[std::size_t(child)].name, m_total[std::size_t(child)]});
    if (!own.isEmpty())
        table.rows.push_back({kUnplacedRowName, own});
    return table;
}

} // namespace fenlark
