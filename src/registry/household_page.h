#pragma once

#include <QString>

class QWidget;

namespace fenlark {

struct AppState;
class Button;
class Clock;
class ComboBox;
class DBConnection;
class Dialogs;
class EGrid;
class Label;
class TreeBox;

// The controls of the household page the list, its paging strip and its events work on.
struct HouseholdListControls {
    TreeBox &tree;     // 树型框1
    ComboBox &years;   // 组合框1
    EGrid &list;       // 高级表格1
    Label &countLabel; // 标签1 "总项目数："
    Label &pageLabel;  // 标签2 "所在页："
    Label &pagesLabel; // 标签3 "页面总数："
    Button &previous;  // 按钮_上一页
};

inline constexpr int kHouseholdPageSize = 15;

// Loads page `page` (0 and 1 both mean the first) of the households of the selected tree item
// and year, newest first. The count compares unit and year; the rows shown also compare the
// parent unit. A selected item with children only updates savedTreeItem. Counting and paging
// run in SQL on the indexes, never over the whole table.
void loadHouseholdPage(AppState &state, DBConnection &connection, HouseholdListControls &controls, int page,
                       const Clock &clock);

// 树型框1 selection changed.
void onRegionTreeSelectionChanged(AppState &state, DBConnection &connection, HouseholdListControls &controls,
                                  const Clock &clock);
// 组合框1 item chosen by the user: the saved tree item again, and the same page number.
void onYearChosen(AppState &state, DBConnection &connection, HouseholdListControls &controls, const Clock &clock);
// 按钮_下一页 / 按钮_上一页.
void showNextPage(AppState &state, DBConnection &connection, HouseholdListControls &controls, const Clock &clock,
                  Dialogs &dialogs, QWidget *parent);
void showPreviousPage(AppState &state, DBConnection &connection, HouseholdListControls &controls, const Clock &clock,
                      Dialogs &dialogs, QWidget *parent);

} // namespace fenlark
