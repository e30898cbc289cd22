#include "shell/region_list_fill.h"

#include "data/record_set.h"
#include "data/schema.h"
#include "region/region_list.h"
#include "registry/household_row.h"
#include "ui/egrid.h"

namespace fenlark {

void fillRegionList(RecordSet &mainSet, EGrid &regionList)
{
    emptyGrid(regionList);
    setUpRegionListColumns(regionList);
    EGrid::BulkUpdate bulk(regionList);
    mainSet.openSorted(schema::regions::table, QStringLiteral("标识 ASC"));
    int n = 1;
    for (mainSet.moveFirst(); !mainSet.isAtEnd(); mainSet.moveNext()) {
        QString levelName;
        QString name;
        QString parent;
        mainSet.readText(schema::regions::levelName, levelName);
        mainSet.readText(schema::regions::name, name);
        mainSet.readText(schema::regions::parent, parent);
        regionList.insertRow();
        regionList.setCell(n, 0, EGrid::TextCell, QString::number(n));
        regionList.setCell(n, 1, EGrid::TextCell, levelName);
        regionList.setCell(n, 2, EGrid::TextCell, name);
        regionList.setCell(n, kRegionListParentColumn, EGrid::TextCell, parent);
        regionList.alignBlock(n, 0, n, 2, EGrid::AlignCentre);
        ++n;
    }
    mainSet.close();
}

} // namespace fenlark
