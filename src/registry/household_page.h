#pragma once

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

// The controls of the household page that the list and its paging strip work on.
struct HouseholdListControls {
    TreeBox *tree = nullptr;     // 树型框1
    ComboBox *years = nullptr;   // 组合框1
    EGrid *list = nullptr;       // 高级表格1
    Label *countLabel = nullptr; // 标签1 "总项目数："
    Label *pageLabel = nullptr;  // 标签2 "所在页："
    Label *pagesLabel = nullptr; // 标签3 "页面总数："
    Button *previous = nullptr;  // 按钮_上一页
};

inline constexpr int kHouseholdPageSize = 15;

// Loads page `page` (0 and 1 both mean the first) of the households of the selected tree
// item and the chosen year, newest first. An item with children only records savedTreeItem.
// The count looks at unit and year, the rows also at the parent unit, as the office's lists
// always did. Counting and paging are done by the store, so the table is never read whole.
void loadHouseholdPage(AppState &state, DBConnection &connection, HouseholdListControls &controls, int page,
                       const Clock &clock);

// 按钮_下一页 clicked.
void showNextPage(AppState &state, DBConnection &connection, HouseholdListControls &controls, Dialogs &dialogs,
                  QWidget *window, const Clock &clock);
// 按钮_上一页 clicked.
void showPreviousPage(AppState &state, DBConnection &connection, HouseholdListControls &controls, Dialogs &dialogs,
                      QWidget *window, const Clock &clock);
// 树型框1 selection changed: the first page of the newly selected unit.
void onTreeSelectionChanged(AppState &state, DBConnection &connection, HouseholdListControls &controls,
                            const Clock &clock);
// 组合框1 item chosen by the user: the item of the last load is selected again, then the same
// page number is loaded for the new year.
void onYearSelected(AppState &state, DBConnection &connection, HouseholdListControls &controls, const Clock &clock);

} // namespace fenlark
