#include "registry/household_page.h"

#include "core/app_state.h"
#include "core/text.h"
#include "data/statement.h"
#include "data/value_query.h"
#include "registry/household_query.h"
#include "registry/household_row.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/dialogs.h"
#include "ui/egrid.h"
#include "ui/label.h"
#include "ui/tree_box.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace fenlark {

namespace {

const QString kAllYears = QStringLiteral("全部");

// A year as the drop-down's text gives it: the leading number, truncated toward zero.
qint32 yearOfText(const QString &text)
{
    const double number = std::trunc(textToNumber(text));
    if (!(number >= std::numeric_limits<qint32>::min() && number <= std::numeric_limits<qint32>::max()))
        return 0;
    return static_cast<qint32>(number);
}

int countHouseholds(DBConnection &connection, const QString &unit, bool allYears, qint32 year)
{
    QString sql =
        QStringLiteral("SELECT count(*) FROM \"成员信息\" WHERE ") + textEqualsSql(QStringLiteral("所属管辖"), 1, unit);
    if (!allYears)
        sql += QStringLiteral(" AND ") + intEqualsSql(QStringLiteral("录入年份"), 2, year);
    Statement count(connection, sql);
    count.bind(1, unit);
    if (!allYears)
        count.bind(2, year);
    if (!count.step())
        return 0;
    return static_cast<int>(count.int64(0));
}

void showHouseholds(DBConnection &connection, EGrid &list, const QString &unit, const QString &parent, bool allYears,
                    qint32 year, int page, const Clock &clock)
{
    QString sql = QStringLiteral("SELECT ") + householdListColumns() + QStringLiteral(" FROM \"成员信息\" WHERE ") +
                  textEqualsSql(QStringLiteral("所属管辖"), 1, unit) + QStringLiteral(" AND ") +
                  textEqualsSql(QStringLiteral("上级管辖"), 2, parent);
    if (!allYears)
        sql += QStringLiteral(" AND ") + intEqualsSql(QStringLiteral("录入年份"), 3, year);
    sql += QStringLiteral(" ORDER BY \"id\" DESC LIMIT ?4 OFFSET ?5");

    ValueQuery rows(connection, sql);
    rows.bind(1, FieldValue::fromText(unit));
    rows.bind(2, FieldValue::fromText(parent));
    rows.bind(3, FieldValue::fromInteger(year));
    rows.bind(4, FieldValue::fromInteger(kHouseholdPageSize));
    rows.bind(5, FieldValue::fromInteger(std::max<qint64>(0, qint64(page - 1) * kHouseholdPageSize)));

    EGrid::BulkUpdate bulk(list);
    int n = 1;
    while (rows.next())
        appendHouseholdRow(list, n++, householdRowAt(rows, clock));
}

} // namespace

void loadHouseholdPage(AppState &state, DBConnection &connection, HouseholdListControls &controls, int page,
                       const Clock &clock)
{
    TreeBox &tree = *controls.tree;
    const int selected = tree.selectedIndex();
    state.savedTreeItem = selected;
    if (tree.hasChildren(selected))
        return;

    emptyGrid(*controls.list);
    const QString unit = tree.itemText(selected);

    const QString yearText = controls.years->selectedText();
    const bool allYears = yearText == kAllYears;
    qint32 year = state.currentSelection.year;
    if (!allYears) {
        year = yearOfText(yearText);
        state.currentSelection.year = year;
    }
    state.currentSelection.unit = unit;
    const QString parent = tree.itemText(tree.parentOf(selected));

    state.householdCount = countHouseholds(connection, unit, allYears, year);
    controls.countLabel->setCaption(QStringLiteral("总项目数：") + QString::number(state.householdCount));

    if (page == 0 || page == 1) {
        page = 1;
        controls.previous->setEnabled(false);
    } else {
        controls.previous->setEnabled(true);
    }
    controls.pageLabel->setCaption(QStringLiteral("所在页：") + QString::number(page));
    state.pageCount = state.householdCount / kHouseholdPageSize + 1;
    controls.pagesLabel->setCaption(QStringLiteral("页面总数：") + QString::number(state.pageCount));
    state.currentPage = page;

    showHouseholds(connection, *controls.list, unit, parent, allYears, year, page, clock);
}

void showNextPage(AppState &state, DBConnection &connection, HouseholdListControls &controls, Dialogs &dialogs,
                  QWidget *window, const Clock &clock)
{
    if (state.currentPage >= state.pageCount) {
        dialogs.message(window, QStringLiteral("当前无法进行下一页操作!"), MessageIcon::Error);
        return;
    }
    loadHouseholdPage(state, connection, controls, state.currentPage + 1, clock);
}

void showPreviousPage(AppState &state, DBConnection &connection, HouseholdListControls &controls, Dialogs &dialogs,
                      QWidget *window, const Clock &clock)
{
    if (state.currentPage > 1) {
        loadHouseholdPage(state, connection, controls, state.currentPage - 1, clock);
        return;
    }
    dialogs.message(window, QStringLiteral("当前无法进行上一页操作!"), MessageIcon::Error);
}

void onTreeSelectionChanged(AppState &state, DBConnection &connection, HouseholdListControls &controls,
                            const Clock &clock)
{
    loadHouseholdPage(state, connection, controls, 0, clock);
}

void onYearSelected(AppState &state, DBConnection &connection, HouseholdListControls &controls, const Clock &clock)
{
    // Selecting may itself report a change (and load page 1) when the tree lost its selection;
    // the page number is read only afterwards, as the list always did.
    controls.tree->select(state.savedTreeItem);
    loadHouseholdPage(state, connection, controls, state.currentPage, clock);
}

} // namespace fenlark
