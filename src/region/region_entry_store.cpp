#include "region/region_entry_store.h"

#include "data/record_set.h"
#include "data/schema.h"
#include "data/statement.h"
#include "region/region_entry_rules.h"

namespace fenlark {

namespace columns = schema::regions;

bool findRegionUnit(RecordSet &set, const QString &name)
{
    if (!set.openTable(columns::table))
        return false;
    set.moveFirst();
    return set.find(unitNameCriterion(name), 1);
}

void readRegionUnit(RecordSet &set, QString &levelName, QString &parent)
{
    set.readText(columns::levelName, levelName);
    set.readText(columns::parent, parent);
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

bool storeRegionUnit(RecordSet &set, DBConnection &connection, const RegionUnit &unit, bool asNew)
{
    if (asNew && !set.isOpen())
        set.openTable(columns::table);
    Transaction transaction(connection);
    bool written = transaction.isActive() && (!asNew || set.addNew());
    written = written && set.writeInt(columns::level, unit.level);
    written = written && set.writeText(columns::levelName, unit.levelName);
    written = written && set.writeText(columns::name, unit.name);
    written = written && set.writeText(columns::parent, unit.parent);
    const bool stored = written && set.update() && transaction.commit();
    set.close(); // discards a half-written row
    return stored;
}

} // namespace fenlark
