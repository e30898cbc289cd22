#include "shell/region_list_fill.h"

#include "data/record_set.h"
#include "data/schema.h"
#include "registry/household_row.h"
#include "ui/egrid.h"

namespace fenlark {

void fillRegionList(RecordSet &mainSet, EGrid &regionList)
{
    emptyGrid(regionList);
    EGrid::BulkUpdate bulk(regionList);
    mainSet.openSorted(schema::regions::table, QStringLiteral("标识 ASC"));
    int n = 1;
    for (mainSet.moveFirst(); !mainSet.isAtEnd(); mainSet.moveNext()) {
        QString levelName;
        QString name;
        mainSet.readText(schema::regions::levelName, levelName);
        mainSet.readText(schema::regions::name, name);
        regionList.insertRow();
        regionList.setCell(n, 0, EGrid::TextCell, QString::number(n));
        regionList.setCell(n, 1, EGrid::TextCell, levelName);
        regionList.setCell(n, 2, EGrid::TextCell, name);
        regionList.alignBlock(n, 0, n, 2, EGrid::AlignCentre);
        ++n;
    }
    mainSet.close();
}

} // namespace fenlark
