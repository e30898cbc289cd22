#include "registry/initials_search.h"

#include "core/app_state.h"
#include "core/text.h"
#include "registry/household_query.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/edit_box.h"
#include "ui/egrid.h"

namespace fenlark {

void searchByInitials(AppState &state, DBConnection &connection, const CheckBox &byInitials, const EditBox &box,
                      const ComboBox &years, EGrid &list, const Clock &clock)
{
    if (!byInitials.isChecked())
        return;
    EGrid::BulkUpdate bulk(list);
    emptyGrid(list);
    HouseholdFilter filter;
    const QString yearText = years.itemText(years.currentIndex());
    filter.allYears = yearText == QStringLiteral("全部");
    if (!filter.allYears) {
        filter.year = int(textToNumber(yearText));
        state.currentSelection.year = filter.year;
    }
    filter.unit = state.currentSelection.unit;
    int n = 1;
    for (const HouseholdListRow &row : selectByInitials(connection, filter, box.content(), clock))
        appendHouseholdRow(list, n++, row);
}

} // namespace fenlark
