#pragma once

#include "bench_register.h"

#include "core/app_state.h"
#include "registry/household_page.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/edit_box.h"
#include "ui/egrid.h"
#include "ui/label.h"
#include "ui/tree_box.h"

#include <QString>

#include <array>

namespace fenlark {
class DBConnection;
}

namespace fenlark::bench {

// The main window's household page as far as the list, the initials search and the query need
// it: a register's village selected under its township, "全部" years, the search by initials
// on. The connection stays the caller's, so the same page runs on either engine.
struct HouseholdListPage {
    TreeBox tree;
    ComboBox years;
    EGrid list;
    Label count, page, pages;
    Button previous;
    CheckBox byInitials;
    EditBox box;
    HouseholdListControls controls{tree, years, list, count, page, pages, previous};
    AppState state;

    explicit HouseholdListPage(const Village &village);
};

// An empty grid with the household list's thirteen columns and its check-box columns.
void setUpHouseholdGrid(EGrid &grid);

// The village's commonest beginnings of initials, one letter and two: the keystrokes a clerk
// searching it types most.
std::array<QString, 2> commonInitials(DBConnection &connection, const QString &village);

} // namespace fenlark::bench
