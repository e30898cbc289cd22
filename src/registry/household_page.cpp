#include "registry/household_page.h"

#include "core/app_state.h"
#include "core/datetime.h"
#include "core/text.h"
#include "data/statement.h"
#include "registry/household_query.h"
#include "registry/household_row.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/dialogs.h"
#include "ui/egrid.h"
#include "ui/label.h"
#include "ui/tree_box.h"

namespace fenlark {

void loadHouseholdPage(AppState &state, DBConnection &connection, HouseholdListControls &controls, int page,
                       const Clock &clock)
{
    const int selected = controls.tree.selectedIndex();
    state.savedTreeItem = selected;
    if (controls.tree.hasChildren(selected))
        return;
    emptyGrid(controls.list);

    HouseholdFilter filter;
    filter.unit = controls.tree.itemText(selected);
    const QString yearText = controls.years.itemText(controls.years.currentIndex());
    filter.allYears = yearText == QStringLiteral("全部");
    if (!filter.allYears) {
        filter.year = int(textToNumber(yearText));
        state.currentSelection.year = filter.year;
    }
    state.currentSelection.unit = filter.unit;
    filter.parent = controls.tree.itemText(controls.tree.parentOf(selected));
    state.currentSelection.parent = filter.parent;

    state.householdCount = countHouseholds(connection, filter);
    controls.countLabel.setCaption(QStringLiteral("总项目数：") + QString::number(state.householdCount));

    if (page == 0 || page == 1) {
        page = 1;
        controls.previous.setEnabled(false);
    } else {
        controls.previous.setEnabled(true);
    }
    controls.pageLabel.setCaption(QStringLiteral("所在页：") + QString::number(page));
    state.pageCount = state.householdCount / kHouseholdPageSize + 1;
    controls.pagesLabel.setCaption(QStringLiteral("页面总数：") + QString::number(state.pageCount));
    state.currentPage = page;

    const std::vector<HouseholdListRow> rows =
        selectHouseholdPage(connection, filter, (qint64(page) - 1) * kHouseholdPageSize, kHouseholdPageSize, clock);
    EGrid::BulkUpdate bulk(controls.list);
    int n = 1;
    for (const HouseholdListRow &row : rows)
        appendHouseholdRow(controls.list, n++, row);
}

void onRegionTreeSelectionChanged(AppState &state, DBConnection &connection, HouseholdListControls &controls,
                                  const Clock &clock)
{
    loadHouseholdPage(state, connection, controls, 0, clock);
}

void onYearChosen(AppState &state, DBConnection &connection, HouseholdListControls &controls, const Clock &clock)
{
    controls.tree.select(state.savedTreeItem);
    loadHouseholdPage(state, connection, controls, state.currentPage, clock);
}

void showNextPage(AppState &state, DBConnection &connection, HouseholdListControls &controls, const Clock &clock,
                  Dialogs &dialogs, QWidget *parent)
{
    if (state.currentPage >= state.pageCount) {
        dialogs.message(parent, QStringLiteral("当前无法进行下一页操作!"), MessageIcon::Error);
        return;
    }
    loadHouseholdPage(state, connection, controls, state.currentPage + 1, clock);
}

void showPreviousPage(AppState &state, DBConnection &connection, HouseholdListControls &controls, const Clock &clock,
                      Dialogs &dialogs, QWidget *parent)
{
    if (state.currentPage > 1) {
        loadHouseholdPage(state, connection, controls, state.currentPage - 1, clock);
        return;
    }
    dialogs.message(parent, QStringLiteral("当前无法进行上一页操作!"), MessageIcon::Error);
}

} // namespace fenlark
