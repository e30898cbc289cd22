#include "region/region_subtree.h"

#include "data/statement.h"

#include <QSet>

#include <deque>
#include <functional>

namespace fenlark {

namespace {

// The households of unit ?1 (所属管辖) under parent ?2, the unit's own row being ?3: those
// whose 上级管辖 is the parent, and those whose 上级管辖 names no other unit called ?1.
const QString kOwnHouseholds =
    QStringLiteral("\"所属管辖\" = ?1 AND (IFNULL(\"上级管辖\", '') = ?2 OR IFNULL(\"上级管辖\", '') NOT IN "
                   "(SELECT IFNULL(\"直属管辖\", '') FROM \"区域管理\" WHERE \"单位名称\" = ?1 AND rowid <> ?3))");

// The households of the sub-units of unit ?1 (its level ?2) that name it as their 上级管辖.
const QString kSubUnitHouseholds =
    QStringLiteral("\"上级管辖\" = ?1 AND \"所属管辖\" IN "
                   "(SELECT \"单位名称\" FROM \"区域管理\" WHERE \"直属管辖\" = ?1 AND \"标识\" > ?2)");

void bindOwn(Statement &statement, const StoredRegionUnit &unit)
{
    statement.bind(1, unit.unit.name).bind(2, unit.unit.parent).bind(3, unit.row);
}

qint64 countWhere(DBConnection &connection, const QString &table, const QString &where,
                  const std::function<void(Statement &)> &bind)
{
    Statement count(connection, QStringLiteral("SELECT count(*) FROM \"%1\" WHERE ").arg(table) + where);
    bind(count);
    return count.step() ? count.int64(0) : 0;
}

std::vector<StoredRegionUnit> subUnitsOf(DBConnection &connection, const StoredRegionUnit &unit)
{
    Statement query(
        connection,
        QStringLiteral("SELECT rowid, \"标识\", IFNULL(\"区域\", ''), \"单位名称\", IFNULL(\"直属管辖\", '') "
                       "FROM \"区域管理\" WHERE \"直属管辖\" = ? AND \"标识\" > ? ORDER BY rowid"));
    query.bind(1, unit.unit.name).bind(2, unit.unit.level);
    std::vector<StoredRegionUnit> found;
    while (query.step()) {
        StoredRegionUnit sub;
        sub.row = query.int64(0);
        sub.unit.level = int(query.int64(1));
        sub.unit.levelName = query.text(2);
        sub.unit.name = query.text(3);
        sub.unit.parent = query.text(4);
        found.push_back(std::move(sub));
    }
    return found;
}

} // namespace

qint64 householdsOfUnit(DBConnection &connection, const StoredRegionUnit &unit)
{
    return countWhere(connection, QStringLiteral("成员信息"), kOwnHouseholds, [&](Statement &s) { bindOwn(s, unit); });
}

std::vector<StoredRegionUnit> unitsBelow(DBConnection &connection, const StoredRegionUnit &unit)
{
    // Levels only grow downwards, so the walk ends; the set guards against a row met twice
    // (two parents of one name both lead to it).
    std::vector<StoredRegionUnit> below;
    QSet<qint64> seen{unit.row};
    std::deque<StoredRegionUnit> pending{unit};
    while (!pending.empty()) {
        const StoredRegionUnit parent = pending.front();
        pending.pop_front();
        for (StoredRegionUnit &sub : subUnitsOf(connection, parent)) {
            if (seen.contains(sub.row))
                continue;
            seen.insert(sub.row);
            below.push_back(sub);
            pending.push_back(std::move(sub));
        }
    }
    return below;
}

RegionSubtree regionSubtree(DBConnection &connection, const StoredRegionUnit &unit)
{
    RegionSubtree subtree;
    subtree.units = unitsBelow(connection, unit);
    subtree.households = householdsOfUnit(connection, unit);
    for (const StoredRegionUnit &sub : subtree.units)
        subtree.households += householdsOfUnit(connection, sub);
    return subtree;
}

RegionDeletionResult deleteEmptyRegionSubtree(DBConnection &connection, const StoredRegionUnit &unit,
                                              const std::vector<StoredRegionUnit> &askedSubUnits)
{
    RegionDeletionResult result;
    Transaction transaction(connection);
    if (!transaction.isActive())
        return result;
    result.now = regionSubtree(connection, unit);
    if (result.now.households > 0) {
        result.outcome = RegionDeletion::HouseholdsBelow;
        return result;
    }
    QSet<qint64> asked;
    for (const StoredRegionUnit &sub : askedSubUnits)
        asked.insert(sub.row);
    QSet<qint64> below;
    for (const StoredRegionUnit &sub : result.now.units)
        below.insert(sub.row);
    if (asked != below) {
        result.outcome = RegionDeletion::SubUnitsChanged;
        return result;
    }
    Statement remove(connection, QStringLiteral("DELETE FROM \"区域管理\" WHERE rowid = ?"));
    std::vector<qint64> rows{unit.row};
    for (const StoredRegionUnit &sub : result.now.units)
        rows.push_back(sub.row);
    for (const qint64 row : rows) {
        remove.reset();
        remove.bind(1, row);
        if (!remove.exec())
            return result;
    }
    if (transaction.commit())
        result.outcome = RegionDeletion::Deleted;
    return result;
}

RegionReferences referencesToChange(DBConnection &connection, const StoredRegionUnit &unit, const RegionUnit &changed)
{
    RegionReferences references;
    const bool renamed = changed.name != unit.unit.name;
    const bool moved = changed.parent != unit.unit.parent;
    if (!renamed && !moved)
        return references;
    references.ownHouseholds = householdsOfUnit(connection, unit);
    if (renamed) {
        const auto bindOld = [&](Statement &s) { s.bind(1, unit.unit.name).bind(2, unit.unit.level); };
        references.subUnits = countWhere(connection, QStringLiteral("区域管理"),
                                         QStringLiteral("\"直属管辖\" = ?1 AND \"标识\" > ?2"), bindOld);
        references.subUnitHouseholds = countWhere(connection, QStringLiteral("成员信息"), kSubUnitHouseholds, bindOld);
    }
    return references;
}

bool carryRegionChange(DBConnection &connection, const StoredRegionUnit &unit, const RegionUnit &changed)
{
    Transaction transaction(connection);
    bool carried = transaction.isActive();
    // The unit's own households first: while the sub-units still carry the old name, a
    // sub-unit of the same name as the unit cannot be mistaken for it.
    if (carried) {
        Statement own(connection,
                      QStringLiteral("UPDATE \"成员信息\" SET \"所属管辖\" = ?4, \"上级管辖\" = ?5 WHERE ") +
                          kOwnHouseholds);
        bindOwn(own, unit);
        own.bind(4, changed.name).bind(5, changed.parent);
        carried = own.exec();
    }
    if (carried && changed.name != unit.unit.name) {
        Statement households(connection,
                             QStringLiteral("UPDATE \"成员信息\" SET \"上级管辖\" = ?3 WHERE ") + kSubUnitHouseholds);
        households.bind(1, unit.unit.name).bind(2, unit.unit.level).bind(3, changed.name);
        carried = households.exec();
        if (carried) {
            Statement subUnits(connection, QStringLiteral("UPDATE \"区域管理\" SET \"直属管辖\" = ?3 WHERE "
                                                          "\"直属管辖\" = ?1 AND \"标识\" > ?2 AND rowid <> ?4"));
            subUnits.bind(1, unit.unit.name).bind(2, unit.unit.level).bind(3, changed.name).bind(4, unit.row);
            carried = subUnits.exec();
        }
    }
    return carried && transaction.commit();
}

} // namespace fenlark
