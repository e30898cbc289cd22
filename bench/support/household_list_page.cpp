#include "household_list_page.h"

#include "data/db_connection.h"
#include "data/statement.h"

namespace fenlark::bench {

void setUpHouseholdGrid(EGrid &grid)
{
    grid.setColumnCount(13);
    for (int c : {5, 6, 7, 9, 10, 11})
        grid.setCheckColumn(c, true);
}

HouseholdListPage::HouseholdListPage(const Village &village)
{
    setUpHouseholdGrid(list);
    tree.select(tree.addItem(tree.addItem(-1, village.township), village.name));
    years.addItem(QStringLiteral("2026"));
    years.addItem(QStringLiteral("全部"));
    years.setCurrentIndex(1);
    state.currentSelection.unit = village.name;
    byInitials.setChecked(true);
}

std::array<QString, 2> commonInitials(DBConnection &connection, const QString &village)
{
    Statement common(connection,
                     QStringLiteral("SELECT substr(首拼音, 1, 2), count(*) FROM 成员信息 WHERE 所属管辖 = ? "
                                    "AND length(首拼音) >= 2 GROUP BY 1 ORDER BY 2 DESC LIMIT 1"));
    common.bind(1, village);
    if (!common.step())
        qFatal("the village %s has no households", qPrintable(village));
    const QString two = common.text(0);
    return {two.left(1), two};
}

} // namespace fenlark::bench
