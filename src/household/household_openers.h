#pragma once

#include "household/household_edit_context.h"

#include <QString>

class QWidget;

namespace fenlark {

struct AppState;
class DBConnection;
class Dialogs;
class EGrid;
class Label;
class RecordSet;

// Tool-bar button 0 "添加" of the household page: opens the household form for a new household
// and, once it has closed, writes householdCount into 标签1 ("总项目数：").
void openHouseholdForAdd(AppState &state, DBConnection &connection, Dialogs &dialogs,
                         const HouseholdEditContext &context, QWidget *parent);

// Tool-bar button 1 "修改" and a double click on the household list: opens the form for the
// household of the list's cursor row; without a cursor row says so and opens nothing.
void openHouseholdForModify(AppState &state, DBConnection &connection, Dialogs &dialogs,
                            const HouseholdEditContext &context, QWidget *parent);

// Tool-bar button 2 "删除": asks, then deletes the stored household of the cursor row through the
// main window's record set and takes its row off the list. Nothing at all while the list has
// no data row.
void deleteHousehold(AppState &state, RecordSet &mainSet, EGrid &list, Label &countLabel, Dialogs &dialogs,
                     QWidget *parent);

// The entry year under which the household of a list row is looked for: the row's own (a list
// of "全部" shows several years), or currentSelection.year for a row that carries none.
int listedYear(const EGrid &list, int row, const AppState &state);
// The unit of the household on list row `row`: its own 所属管辖 cell (the query window lists
// every village while the page's selection names one), else the selected unit.
QString listedUnit(const EGrid &list, int row, const AppState &state);

} // namespace fenlark
