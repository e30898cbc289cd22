// What the main window's events do: each handler hands over to an operation of a subsystem.
#include "shell/main_window.h"

#include "export/poor_household_export.h"
#include "household/household_openers.h"
#include "printing/detail_sheet_print.h"
#include "region/region_deletion.h"
#include "region/region_entry_window.h"
#include "region/region_list.h"
#include "region/region_tree.h"
#include "registry/household_page.h"
#include "registry/initials_search.h"
#include "registry/member_search.h"
#include "registry/query_window.h"
#include "shell/grid_sheet_source.h"
#include "ui/dialogs.h"
#include "ui/edit_box.h"
#include "ui/egrid.h"
#include "ui/tree_box.h"
#include "years/year_list.h"

#include <QDir>

namespace fenlark {

void MainWindow::rebuildTree()
{
    buildRegionTree(m_state, m_recordSet, *m_tree);
}

void MainWindow::expandTree()
{
    expandRegionTree(*m_tree);
}
void MainWindow::fillYears()
{
    fillYearList(m_recordSet, *m_years, m_services.clock);
}

HouseholdListControls MainWindow::listControls()
{
    return HouseholdListControls{*m_tree,      *m_years,      *m_households, *m_countLabel,
                                 *m_pageLabel, *m_pagesLabel, *m_previous};
}

void MainWindow::onTreeSelectionChanged()
{
    auto controls = listControls();
    onRegionTreeSelectionChanged(m_state, m_connection, controls, m_services.clock);
}

void MainWindow::onYearSelected()
{
    auto controls = listControls();
    onYearChosen(m_state, m_connection, controls, m_services.clock);
}

void MainWindow::onNextPage()
{
    auto controls = listControls();
    showNextPage(m_state, m_connection, controls, m_services.clock, m_services.dialogs, this);
}

void MainWindow::onPreviousPage()
{
    auto controls = listControls();
    showPreviousPage(m_state, m_connection, controls, m_services.clock, m_services.dialogs, this);
}
void MainWindow::onSearchTextChanged()
{
    searchByInitials(m_state, m_connection, *m_byInitials, *m_search, *m_years, *m_households, m_services.clock);
}
void MainWindow::onMemberSearchChanged()
{
    const MemberSearchControls controls{*m_byMember, *m_memberEverywhere, *m_memberSearch,
                                        *m_years,    *m_households,       *m_memberNote};
    searchByMember(m_state, m_connection, controls, m_services.clock);
}
void MainWindow::onHouseholdDoubleClicked()
{
    modifyHousehold();
}
HouseholdEditContext MainWindow::householdContext()
{
    return HouseholdEditContext{*m_households, *m_tree,          *m_years,  m_recordSet,
                                *m_countLabel, m_services.clock, &printer()};
}

void MainWindow::addHousehold()
{
    openHouseholdForAdd(m_state, m_connection, m_services.dialogs, householdContext(), this);
}

void MainWindow::modifyHousehold()
{
    openHouseholdForModify(m_state, m_connection, m_services.dialogs, householdContext(), this);
}

void MainWindow::deleteHousehold()
{
    fenlark::deleteHousehold(m_state, m_recordSet, *m_households, *m_countLabel, m_services.dialogs, this);
}
void MainWindow::openQueryWindow()
{
    fenlark::openQueryWindow(m_state, m_connection, *m_households, *m_countLabel, m_services.clock, m_services.dialogs,
                             this);
}
void MainWindow::addRegion()
{
    openRegionEntryForAdd(m_state, m_connection, *m_regions, m_services.dialogs, this);
    filterRegions();
    // Whatever happened in the window, "退出" included, the tree shows the table as it is now.
    rebuildTree();
    expandTree();
}

void MainWindow::modifyRegion()
{
    if (!openRegionEntryForModify(m_state, m_connection, *m_regions, m_services.dialogs, this))
        return;
    filterRegions();
    rebuildTree();
    expandTree();
}

void MainWindow::deleteRegion()
{
    deleteSelectedRegion(m_state, m_connection, *m_regions, m_services.dialogs, this);
}

void MainWindow::filterRegions()
{
    filterRegionList(*m_regions, m_regionSearch->content());
}

void MainWindow::exportList()
{
    const GridSheetSource source(*m_households);
    const qsizetype before = m_excel.savedFiles().size();
    exportPoorHouseholdSheet(source, m_excel, m_services.dialogs, this);
    // The sheet is a file of its own now: say where, so the clerk finds it again.
    if (m_excel.savedFiles().size() > before)
        m_services.dialogs.message(
            this, QStringLiteral("已导出到：\n%1").arg(QDir::toNativeSeparators(m_excel.savedFiles().last())),
            MessageIcon::None);
}

void MainWindow::printList()
{
    const GridSheetSource source(*m_households);
    printDetailSheet(source, printer(), this);
}

} // namespace fenlark
