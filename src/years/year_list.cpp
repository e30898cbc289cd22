#include "years/year_list.h"

#include "core/clock.h"
#include "data/record_set.h"
#include "data/schema.h"
#include "data/statement.h"
#include "ui/combo_box.h"

namespace fenlark {

void fillYearList(RecordSet &mainSet, ComboBox &years, const Clock &clock)
{
    const int current = clock.currentYear();
    years.clear();
    int index = 0;
    int chosen = 0;
    if (mainSet.openTable(schema::years::table)) {
        int year = 0; // a read that fails keeps the last value
        mainSet.moveFirst();
        while (!mainSet.isAtEnd()) {
            mainSet.readInt(schema::years::year, year);
            years.addItem(QString::number(year));
            if (year == current)
                chosen = index;
            ++index;
            mainSet.moveNext();
        }
    }
    years.addItem(QStringLiteral("全部"));
    years.setCurrentIndex(chosen);
}

bool registerYear(DBConnection &connection, int year)
{
    Statement find(connection, QStringLiteral("SELECT 1 FROM \"年份管理\" WHERE \"年份\" = ? LIMIT 1"));
    find.bind(1, year);
    if (find.step())
        return true;
    if (find.hasFailed())
        return false;
    Transaction transaction(connection);
    Statement add(connection, QStringLiteral("INSERT INTO \"年份管理\" (\"年份\") VALUES (?)"));
    add.bind(1, year);
    return add.exec() && transaction.commit();
}

} // namespace fenlark
