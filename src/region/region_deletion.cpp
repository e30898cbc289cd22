#include "region/region_deletion.h"

#include "region/region_entry_rules.h"
#include "region/region_entry_store.h"
#include "region/region_list.h"
#include "region/region_subtree.h"
#include "ui/dialogs.h"
#include "ui/egrid.h"

namespace fenlark {

namespace {

// A question long enough to list a county's villages would not fit the screen.
constexpr int kNamesListed = 30;

QString describe(const StoredRegionUnit &unit)
{
    return describeUnit(unit.unit.levelName, unit.unit.name, unit.unit.parent);
}

} // namespace

QString regionDeletionQuestion(const StoredRegionUnit &unit, qint64 subUnitCount)
{
    QString text = regionText::confirmDeletion + QStringLiteral("\n要删除的单位：") + describe(unit);
    if (subUnitCount > 0)
        text += QStringLiteral("\n该单位下共有%1个下级单位(都没有农户记录),将与它一并删除。").arg(subUnitCount);
    return text;
}

QString regionSubUnitsQuestion(const StoredRegionUnit &unit, const std::vector<StoredRegionUnit> &subUnits)
{
    QStringList names;
    for (const StoredRegionUnit &sub : subUnits) {
        if (names.size() == kNamesListed) {
            names << QStringLiteral("等");
            break;
        }
        names << sub.unit.levelName + u' ' + sub.unit.name;
    }
    return QStringLiteral("以下%1个下级单位将与%2一并删除,删除后不能恢复:\n")
               .arg(subUnits.size())
               .arg(unit.unit.levelName + u' ' + unit.unit.name) +
           names.join(QStringLiteral("、")) + QStringLiteral("\n请确认是否一并删除!");
}

QString regionDeletionRefusal(const StoredRegionUnit &unit, qint64 subUnitCount, qint64 households)
{
    return describe(unit) +
           QStringLiteral("下仍有%1个下级单位、%2条农户记录,不能删除!\n请先把这些农户移到其他单位或删除,再删除该单位。")
               .arg(subUnitCount)
               .arg(households);
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
    const std::optional<StoredRegionUnit> unit = findRegionUnit(connection, name, regionListParent(regionList, row));
    if (!unit) {
        // No longer in the table (deleted elsewhere meanwhile): asked as ever, the row goes.
        StoredRegionUnit listed;
        listed.unit.levelName = regionList.cellText(row, 1);
        listed.unit.name = name;
        if (dialogs.askYesNo(parent, regionDeletionQuestion(listed, 0), MessageIcon::Question, defaultMessageTitle(),
                             DefaultAnswer::No))
            removeRegionListRow(regionList, row);
        return;
    }

    const RegionSubtree below = regionSubtree(connection, *unit);
    const qint64 subUnitCount = qint64(below.units.size());
    if (below.households > 0) {
        dialogs.message(parent, regionDeletionRefusal(*unit, subUnitCount, below.households), MessageIcon::Error);
        return;
    }
    if (!dialogs.askYesNo(parent, regionDeletionQuestion(*unit, subUnitCount), MessageIcon::Question,
                          defaultMessageTitle(), DefaultAnswer::No))
        return;
    if (subUnitCount > 0 && !dialogs.askYesNo(parent, regionSubUnitsQuestion(*unit, below.units), MessageIcon::Question,
                                              defaultMessageTitle(), DefaultAnswer::No))
        return;

    const RegionDeletionResult deletion = deleteEmptyRegionSubtree(connection, *unit, below.units);
    switch (deletion.outcome) {
    case RegionDeletion::Deleted:
        break;
    case RegionDeletion::HouseholdsBelow:
        dialogs.message(parent,
                        regionDeletionRefusal(*unit, qint64(deletion.now.units.size()), deletion.now.households),
                        MessageIcon::Error);
        return;
    case RegionDeletion::SubUnitsChanged:
        dialogs.message(parent, regionText::subUnitsChanged, MessageIcon::Error);
        return;
    case RegionDeletion::Refused:
        dialogs.message(parent, regionText::deleteFailed, MessageIcon::Error);
        return;
    }
    // The sub-units' rows first: the cursor stays on the unit's row until the unit itself goes.
    for (const StoredRegionUnit &sub : below.units)
        removeRegionListUnit(regionList, sub.unit.levelName, sub.unit.name, sub.unit.parent);
    removeRegionListRow(regionList, regionList.cursorRow());
}

} // namespace fenlark
