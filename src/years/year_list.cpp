#include "years/year_list.h"

#include "core/clock.h"
#include "data/record_set.h"
#include "data/schema.h"
#include "ui/combo_box.h"

namespace fenlark {

void fillYearList(RecordSet &mainSet, ComboBox &years, const Clock &clock)
{
    const int current = clock.currentYear();
    years.clear();
    mainSet.openTable(schema::years::table);
    int index = 0;
    int chosen = 0;
    for (mainSet.moveFirst(); !mainSet.isAtEnd(); mainSet.moveNext()) {
        int year = 0;
        mainSet.readInt(schema::years::year, year);
        years.addItem(QString::number(year));
        if (year == current)
            chosen = index;
        ++index;
    }
    years.addItem(QStringLiteral("全部"));
    years.setCurrentIndex(chosen);
}

} // namespace fenlark
