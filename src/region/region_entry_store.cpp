#include "region/region_entry_store.h"

#include "data/record_set.h"
#include "data/schema.h"
#include "data/statement.h"
#include "region/region_entry_rules.h"

namespace fenlark {

namespace columns = schema::regions;

std::optional<StoredRegionUnit> findRegionUnit(DBConnection &connection, const QString &name,
                                               const std::optional<QString> &parent)
{
    QString sql = QStringLiteral("SELECT rowid, \"标识\", IFNULL(\"区域\", ''), \"单位名称\", IFNULL(\"直属管辖\", '') "
                                 "FROM \"区域管理\" WHERE \"单位名称\" = ?1");
    if (parent)
        sql += QStringLiteral(" AND IFNULL(\"直属管辖\", '') = ?2");
    sql += QStringLiteral(" ORDER BY rowid LIMIT 1");
    Statement query(connection, sql);
    query.bind(1, name);
    if (parent)
        query.bind(2, *parent);
    if (!query.step())
        return std::nullopt;
    StoredRegionUnit found;
    found.row = query.int64(0);
    found.unit.level = int(query.int64(1));
    found.unit.levelName = query.text(2);
    found.unit.name = query.text(3);
    found.unit.parent = query.text(4);
    return found;
}

QStringList parentCandidates(RecordSet &set, const QString &levelName)
{
    QStringList names;
    const QString wanted = parentLevelName(levelName);
    if (set.openTable(columns::table) && !wanted.isEmpty()) {
        set.moveFirst();
        while (!set.isAtEnd()) {
            QString name;
            QString level;
            set.readText(columns::name, name);
            set.readText(columns::levelName, level);
            if (level == wanted)
                names.append(name);
            set.moveNext();
        }
    }
    set.close();
    return names;
}

RegionNameClash regionNameClash(DBConnection &connection, const RegionUnit &unit, qint64 except)
{
    Statement sameParent(connection, QStringLiteral("SELECT 1 FROM \"区域管理\" WHERE \"单位名称\" = ? AND "
                                                    "IFNULL(\"直属管辖\", '') = ? AND rowid <> ? LIMIT 1"));
    sameParent.bind(1, unit.name).bind(2, unit.parent).bind(3, except);
    if (sameParent.step())
        return RegionNameClash::SameParent;
    if (unit.level >= kVillageLevel)
        return RegionNameClash::None;
    Statement possibleParent(connection, QStringLiteral("SELECT 1 FROM \"区域管理\" WHERE \"单位名称\" = ? AND "
                                                        "\"标识\" < ? AND rowid <> ? LIMIT 1"));
    possibleParent.bind(1, unit.name).bind(2, kVillageLevel).bind(3, except);
    return possibleParent.step() ? RegionNameClash::AmbiguousParent : RegionNameClash::None;
}

bool insertRegionUnit(DBConnection &connection, const RegionUnit &unit)
{
    Transaction transaction(connection);
    Statement insert(connection, QStringLiteral("INSERT INTO \"区域管理\" (\"标识\", \"区域\", \"单位名称\", "
                                                "\"直属管辖\") VALUES (?, ?, ?, ?)"));
    insert.bind(1, unit.level).bind(2, unit.levelName).bind(3, unit.name).bind(4, unit.parent);
    return transaction.isActive() && insert.exec() && transaction.commit();
}

bool rewriteRegionUnit(DBConnection &connection, qint64 row, const RegionUnit &unit)
{
    Transaction transaction(connection);
    Statement update(connection, QStringLiteral("UPDATE \"区域管理\" SET \"标识\" = ?, \"区域\" = ?, "
                                                "\"单位名称\" = ?, \"直属管辖\" = ? WHERE rowid = ?"));
    update.bind(1, unit.level).bind(2, unit.levelName).bind(3, unit.name).bind(4, unit.parent).bind(5, row);
    return transaction.isActive() && update.exec() && transaction.commit();
}

} // namespace fenlark
