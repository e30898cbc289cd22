#include "registry/member_search.h"

#include "cards/member_search.h"
#include "core/app_state.h"
#include "core/text.h"
#include "registry/household_query.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/edit_box.h"
#include "ui/egrid.h"
#include "ui/label.h"

namespace fenlark {

void searchByMember(AppState &state, DBConnection &connection, const MemberSearchControls &c, const Clock &clock)
{
    if (!c.byMember.isChecked())
        return;
    EGrid::BulkUpdate bulk(c.list);
    emptyGrid(c.list);
    c.note.setCaption(QString());

    HouseholdFilter filter;
    const QString yearText = c.years.itemText(c.years.currentIndex());
    filter.allYears = yearText == QStringLiteral("全部");
    if (!filter.allYears) {
        filter.year = int(textToNumber(yearText));
        state.currentSelection.year = filter.year;
    }
    filter.unit = state.currentSelection.unit;

    const QString fragment = c.box.content();
    std::vector<HouseholdListRow> rows;
    if (fragment.isEmpty()) {
        if (!c.everywhere.isChecked())
            rows = selectByInitials(connection, filter, QString(), clock);
    } else {
        const MemberSearchScope scope{c.everywhere.isChecked(), filter.unit, filter.year, filter.allYears};
        const MemberSearchResult found = findHouseholdsByMember(connection, scope, fragment, kMemberSearchLimit);
        rows = selectHouseholdsByIds(connection, found.households, clock);
        if (found.truncated)
            c.note.setCaption(QStringLiteral("只列出前%1户,请输入更多内容").arg(kMemberSearchLimit));
    }
    int n = 1;
    for (const HouseholdListRow &row : rows)
        appendHouseholdRow(c.list, n++, row);
}

} // namespace fenlark
