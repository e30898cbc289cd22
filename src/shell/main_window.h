#pragma once

#include "core/app_state.h"
#include "data/db_connection.h"
#include "data/record_set.h"
#include "export/excel_application.h"
#include "export/excel_workbook.h"
#include "maintenance/register_lock.h"
#include "printing/print_service.h"
#include "shell/shell_services.h"
#include "shell/skin_loader.h"
#include "ui/window_builder.h"

#include <QWidget>

namespace fenlark {

struct HouseholdEditContext;
struct HouseholdListControls;
class CheckBox;
class ComboBox;
class EditBox;
class EGrid;
class Label;
class Button;
class MaintenancePage;
class StartupChecks;
class PageControl;
class PicBox;
class ShapeBox;
class StatisticsPage;
class ToolBar;
class TreeBox;

// The one window that stays open for the whole run: three pages, two tool bars, the region
// tree, the household list with its paging strip and search box, and the region list. It wires
// events to the subsystems' operations and holds no rules of its own.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow(AppState &state, ShellServices services, SkinLoader &skin, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The main-window initialisation, in its fixed order. False when the register is missing or
    // cannot be used: the message has been shown and the program is to end (exit code 0).
    bool initialise();

    const BuiltWindow &controls() const { return m_built; }
    // The statistics page, made the first time it is shown (nullptr before).
    StatisticsPage *statisticsPage() const { return m_statistics; }
    DBConnection &connection() { return m_connection; }
    RecordSet &mainRecordSet() { return m_recordSet; }

    // The maintenance page once shown (null before), and the checks run after the first show.
    MaintenancePage *maintenancePage() const { return m_maintenance; }
    StartupChecks *startupChecks() const { return m_startupChecks; }
    // The quick check and the day's backup, on a worker thread; called once the window shows.
    void startBackgroundChecks();

    // Event handlers, public so tests drive them as the user would.
    void onTopToolBarClicked(int index);
    void onHouseholdToolBarClicked(int index);
    void layoutMainWindow();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void setupGridHeaders();
    void keepSearchInsidePage();
    void markDemoRegister();
    void connectEvents();
    void releaseExportObjects();

    void onTreeSelectionChanged();
    void onYearSelected();
    void onNextPage();
    void onPreviousPage();
    void onSearchTextChanged();
    void onMemberSearchChanged();
    void onHouseholdDoubleClicked();
    void addHousehold();
    void modifyHousehold();
    void deleteHousehold();
    void openQueryWindow();
    void exportList();
    void printList();
    PrintService &printer();
    void addRegion();
    void modifyRegion();
    void deleteRegion();
    void filterRegions();
    HouseholdEditContext householdContext();
    HouseholdListControls listControls();
    void showMaintenancePage();
    DBConnection::IndexBuildProgress indexBuildProgressDialog();
    bool lockRegister();
    void reportDamageOnce();
    void tellIfReadOnly();
    void stopMaintenanceWork();
    void releaseRegister();
    bool reopenRegister();
    void showStatisticsPage();
    void rebuildTree();
    void expandTree();
    void fillYears();

    AppState &m_state;
    ShellServices m_services;
    SkinLoader &m_skin;
    DBConnection m_connection; // 数据库连接1
    RecordSet m_recordSet;     // 记录集1
    ExcelApplication m_excel;  // Excel程序1
    ExcelWorkbook m_workbook;  // Excel工作簿1
    BuiltWindow m_built;
    bool m_released = false;
    maintenance::RegisterLock m_lock; // shared while the register is open: no restore under us
    StartupChecks *m_startupChecks = nullptr;
    MaintenancePage *m_maintenance = nullptr;
    QString m_releasedPath; // the register closed for a restore, to be opened again
    PreviewPrintService m_previewPrinter; // when the services bring no printer

    ToolBar *m_topBar = nullptr;
    PageControl *m_pages = nullptr;
    PicBox *m_logo = nullptr;
    ComboBox *m_years = nullptr;
    ToolBar *m_householdBar = nullptr;
    CheckBox *m_byInitials = nullptr;
    EditBox *m_search = nullptr;
    Label *m_hint = nullptr;   // 标签5, the search's hint
    int m_searchLefts[3] = {}; // stored lefts of 选择框1, 编辑框1 and 标签5
    CheckBox *m_byMember = nullptr;         // 选择框2 "按姓名/身份证检索"
    CheckBox *m_memberEverywhere = nullptr; // 选择框3 "全部单位和年份"
    EditBox *m_memberSearch = nullptr;      // 编辑框3
    Label *m_memberNote = nullptr;          // 标签7
    TreeBox *m_tree = nullptr;
    EGrid *m_households = nullptr;
    ShapeBox *m_pagingStrip = nullptr;
    Button *m_previous = nullptr;
    Button *m_next = nullptr;
    Label *m_pageLabel = nullptr;
    Label *m_pagesLabel = nullptr;
    Label *m_countLabel = nullptr;
    ShapeBox *m_buttonStrip = nullptr;
    EGrid *m_regions = nullptr;
    EditBox *m_regionSearch = nullptr; // 编辑框2, above the region list
    StatisticsPage *m_statistics = nullptr;
};

} // namespace fenlark
