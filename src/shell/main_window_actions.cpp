// What the main window's events do: each handler hands over to an operation of a subsystem.
#include "shell/main_window.h"

#include "export/poor_household_export.h"
#include "shell/grid_sheet_source.h"
#include "ui/egrid.h"

namespace fenlark {

void MainWindow::rebuildTree() {}
void MainWindow::expandTree() {}
void MainWindow::fillYears() {}
void MainWindow::onTreeSelectionChanged() {}
void MainWindow::onYearSelected() {}
void MainWindow::onNextPage() {}
void MainWindow::onPreviousPage() {}
void MainWindow::onSearchTextChanged() {}
void MainWindow::onHouseholdDoubleClicked() { modifyHousehold(); }
void MainWindow::addHousehold() {}
void MainWindow::modifyHousehold() {}
void MainWindow::deleteHousehold() {}
void MainWindow::openQueryWindow() {}
void MainWindow::addRegion() {}
void MainWindow::modifyRegion() {}
void MainWindow::deleteRegion() {}

void MainWindow::exportList()
{
    const GridSheetSource source(*m_households);
    exportPoorHouseholdSheet(source, m_excel, m_workbook, m_services.dialogs, this);
}

} // namespace fenlark
