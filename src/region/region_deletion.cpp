#include "region/region_deletion.h"

#include "data/record_set.h"
#include "data/schema.h"
#include "data/statement.h"
#include "region/region_entry_rules.h"
#include "region/region_entry_store.h"
#include "region/region_list.h"
#include "ui/dialogs.h"
#include "ui/egrid.h"

namespace fenlark {

namespace {

qint64 countRows(DBConnection &connection, const QString &table, const QString &column, const QString &value)
{
    Statement count(connection, QStringLiteral("SELECT count(*) FROM ") + quoteIdentifier(table) +
                                    QStringLiteral(" WHERE ") + quoteIdentifier(column) + QStringLiteral(" = ?"));
    count.bind(1, value);
    return count.step() ? count.int64(0) : 0;
}

} // namespace

RegionDependants countRegionDependants(DBConnection &connection, const QString &name)
{
    RegionDependants dependants;
    dependants.units = countRows(connection, schema::regions::table, schema::regions::parent, name);
    dependants.households = countRows(connection, schema::households::table, schema::households::unit, name);
    return dependants;
}

QString regionDeletionQuestion(const RegionDependants &dependants)
{
    if (!dependants.any())
        return regionText::confirmDeletion;
    return regionText::confirmDeletion +
           QStringLiteral("\n该单位下仍有%1个下级单位、%2条农户记录,删除后它们将不再显示在地区树中。")
               .arg(dependants.units)
               .arg(dependants.households);
}

void deleteSelectedRegion(AppState & /*state: nothing of it changes*/, DBConnection &connection, EGrid &regionList,
                          Dialogs &dialogs, QWidget *parent)
{
    const int row = regionList.cursorRow();
    if (row < 1) {
        dialogs.message(parent, regionText::chooseRowToDelete, MessageIcon::Error);
        return;
    }
    const QString name = regionListName(regionList, row);
    const QString question = regionDeletionQuestion(countRegionDependants(connection, name));
    if (!dialogs.askYesNo(parent, question, MessageIcon::Question))
        return;

    RecordSet set;
    set.attach(connection);
    if (findRegionUnit(set, name)) {
        Transaction transaction(connection);
        const bool deleted = transaction.isActive() && set.deleteCurrent() && set.update() && transaction.commit();
        set.close();
        if (!deleted) {
            dialogs.message(parent, regionText::deleteFailed, MessageIcon::Error);
            return;
        }
    }
    set.close();
    // A unit no longer in the table (deleted elsewhere meanwhile) leaves the list all the same.
    removeRegionListRow(regionList, row);
}

} // namespace fenlark
