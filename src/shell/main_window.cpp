#include "shell/main_window.h"

#include "core/register_location.h"
#include "data/demo_mark.h"
#include "region/region_list.h"
#include "shell/first_start_window.h"
#include "shell/logo.h"
#include "shell/region_list_fill.h"
#include "shell/register_check.h"
#include "shell/server_register.h"
#include "statistics/statistics_page.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/containers.h"
#include "ui/edit_box.h"
#include "ui/egrid.h"
#include "ui/label.h"
#include "ui/page_control.h"
#include "ui/pic_box.h"
#include "ui/tool_bar.h"
#include "ui/tree_box.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace fenlark {

namespace {

struct ColumnHead {
    const char16_t *text;
    int width;
};

// The household list's columns; 5, 6, 7, 9, 10 and 11 show check boxes.
constexpr ColumnHead kHouseholdColumns[13] = {
    {u"N", 30},          {u"户主", 70},     {u"身份证", 100},       {u"所属管辖", 80}, {u"农户属性", 70},
    {u"计划生育户", 70}, {u"合作医疗", 70}, {u"养老保险", 70},      {u"健康状况", 70}, {u"违法违纪", 70},
    {u"是否残疾", 70},   {u"是否党员", 70}, {u"最后更新时间", 110},
};
constexpr int kHouseholdCheckColumns[] = {5, 6, 7, 9, 10, 11};
constexpr ColumnHead kRegionColumns[3] = {{u"N", 40}, {u"区域", 90}, {u"详细名称", 490}};

} // namespace

MainWindow::MainWindow(AppState &state, ShellServices services, SkinLoader &skin, QWidget *parent)
    : QWidget(parent), m_state(state), m_services(services), m_skin(skin),
      m_excel(services.spreadsheetOpener, services.clock)
{
    m_built = buildWindow(QStringLiteral(":/designs/main_window.json"), this);
    m_topBar = m_built.control<ToolBar>(QStringLiteral("工具条1"));
    m_pages = m_built.control<PageControl>(QStringLiteral("高级选择夹1"));
    m_logo = m_built.control<PicBox>(QStringLiteral("图片框1"));
    m_years = m_built.control<ComboBox>(QStringLiteral("组合框1"));
    m_householdBar = m_built.control<ToolBar>(QStringLiteral("工具条2"));
    m_byInitials = m_built.control<CheckBox>(QStringLiteral("选择框1"));
    m_search = m_built.control<EditBox>(QStringLiteral("编辑框1"));
    m_byMember = m_built.control<CheckBox>(QStringLiteral("选择框2"));
    m_memberEverywhere = m_built.control<CheckBox>(QStringLiteral("选择框3"));
    m_memberSearch = m_built.control<EditBox>(QStringLiteral("编辑框3"));
    m_memberNote = m_built.control<Label>(QStringLiteral("标签7"));
    m_tree = m_built.control<TreeBox>(QStringLiteral("树型框1"));
    m_households = m_built.control<EGrid>(QStringLiteral("高级表格1"));
    m_pagingStrip = m_built.control<ShapeBox>(QStringLiteral("外形框2"));
    m_previous = m_built.control<Button>(QStringLiteral("按钮_上一页"));
    m_next = m_built.control<Button>(QStringLiteral("按钮_下一页"));
    m_pageLabel = m_built.control<Label>(QStringLiteral("标签2"));
    m_pagesLabel = m_built.control<Label>(QStringLiteral("标签3"));
    m_countLabel = m_built.control<Label>(QStringLiteral("标签1"));
    m_buttonStrip = m_built.control<ShapeBox>(QStringLiteral("外形框1"));
    m_regions = m_built.control<EGrid>(QStringLiteral("高级表格2"));
    m_regionSearch = m_built.control<EditBox>(QStringLiteral("编辑框2"));
    m_hint = m_built.control<Label>(QStringLiteral("标签5"));
    Q_ASSERT_X(m_built.ok(), "MainWindow", "the main window's design does not build");
    if (m_hint) {
        m_searchLefts[0] = m_byInitials->x();
        m_searchLefts[1] = m_search->x();
        m_searchLefts[2] = m_hint->x();
    }
    connectEvents();
}

MainWindow::~MainWindow()
{
    releaseExportObjects();
    stopMaintenanceWork();
}

bool MainWindow::initialise()
{
    setWindowTitle(m_built.window() ? QStringLiteral("Fenlark v") + m_state.versionText : QString());
    m_topBar->addState(0, ToolBar::Pressed);

    // No register beside the program nor in the user's folder: the first start makes one (or
    // names the county server).
    RegisterLocation place = locateRegister(m_services.location);
    if (!place.found) {
        if (!offerFirstStart(place, m_services.dialogs))
            return false;
        place = locateRegister(m_services.location);
    }
    m_state.registerFolder = place.folder;
    m_excel.setExportFolder(place.folder + QStringLiteral("/导出"));

    if (place.server) {
        // A county register: the logo and the exports still go in the folder of the conf.
        if (!openServerRegister(place.serverConfPath(), m_connection, m_services.dialogs, this))
            return false;
    } else {
        QString reason;
        m_connection.setIndexBuildProgress(indexBuildProgressDialog());
        const RegisterStatus status = openRegister(m_services.location, m_connection, reason);
        m_connection.setIndexBuildProgress({});
        if (status != RegisterStatus::Opened) {
            reportRegisterStatus(status, registerPath(m_services.location), reason, m_services.dialogs, this);
            return false;
        }
        if (!lockRegister())
            return false;
        reportDamageOnce();
    }
    m_recordSet.attach(m_connection);
    markDemoRegister();

    fillRegionList(m_recordSet, *m_regions);
    m_skin.applySkin(SkinLoader::storedSkin(), 0, 0, 0, false);
    m_pages->resize(width() - 30, m_pages->height());
    m_pages->setCurrentPage(0);
    m_pagingStrip->setBackgroundColour(QColor(236, 236, 236));
    m_buttonStrip->setBackgroundColour(QColor(236, 236, 236));
    m_logo->setImage(loadLogo(m_state.registerFolder));
    setupGridHeaders();

    move(0, 0);
    const QScreen *screen = QGuiApplication::primaryScreen();
    resize(screen ? screen->availableGeometry().size() : size());
    layoutMainWindow();

    rebuildTree();
    fillYears();
    // The tree stays collapsed after start-up: only the provinces show until the user opens a page.
    tellIfReadOnly();
    return true;
}

void MainWindow::markDemoRegister()
{
    // A demo must never pass for an office's own register.
    m_state.demoRegister = isDemoRegister(m_connection);
    if (m_state.demoRegister)
        setWindowTitle(windowTitle() + QStringLiteral(" - 演示数据"));
}

void MainWindow::setupGridHeaders()
{
    m_households->setColumnCount(13);
    for (int c = 0; c < 13; ++c) {
        m_households->setCell(0, c, EGrid::TextCell, QString::fromUtf16(kHouseholdColumns[c].text));
        m_households->setColumnWidth(c, kHouseholdColumns[c].width);
    }
    for (int c : kHouseholdCheckColumns)
        m_households->setCheckColumn(c, true);
    setUpRegionListColumns(*m_regions); // the three shown columns and the hidden parent
    for (int c = 0; c < 3; ++c) {
        m_regions->setCell(0, c, EGrid::TextCell, QString::fromUtf16(kRegionColumns[c].text));
        m_regions->setColumnWidth(c, kRegionColumns[c].width);
    }
    m_households->alignBlock(0, 0, 0, 12, EGrid::AlignCentre);
    m_regions->alignBlock(0, 0, 0, 2, EGrid::AlignCentre);
    // The ratios are taken now, from the stored window's widths, before it is sized to the screen.
    for (int c = 0; c < 3; ++c)
        m_state.regionColumnRatios[c] = double(m_regions->columnWidth(c)) / double(m_regions->width());
    for (int c = 0; c < 13; ++c)
        m_state.householdColumnRatios[c] = double(m_households->columnWidth(c)) / double(m_households->width());
}

void MainWindow::layoutMainWindow()
{
    if (!m_pages)
        return;
    const int w = width();
    const int h = height();
    m_pages->resize(w - m_pages->x() - 8, h - m_pages->y() - 30);
    // Children of a page are measured against the page control's size, as the design does.
    const int pw = m_pages->width();
    const int ph = m_pages->height();
    m_logo->resize(pw - m_logo->x() - 8, ph - m_logo->y() - 8);
    m_tree->resize(m_tree->width(), ph - m_tree->y() - 10);
    m_regions->resize(pw - m_regions->x() - 10, m_regions->height());
    m_households->resize(pw - m_households->x() - 10, m_households->height());
    m_regions->resize(m_regions->width(), ph - m_regions->y() - 10);
    m_households->resize(m_households->width(), ph - m_households->y() - 55);
    for (int c = 0; c < 13; ++c)
        m_households->setColumnWidth(c, int(m_state.householdColumnRatios[c] * m_households->width()));
    for (int c = 0; c < 3; ++c)
        m_regions->setColumnWidth(c, int(m_state.regionColumnRatios[c] * m_regions->width()));
    m_pagingStrip->move(m_pagingStrip->x(), m_households->y() + m_households->height() + 10);
    keepSearchInsidePage();
}

void MainWindow::keepSearchInsidePage()
{
    // On screens narrower than the stored window the initials search (check box, box, hint)
    // would run past the page's edge and cut its hint. It moves left as one, up to the edge of
    // the household list, but never onto the tool bar 工具条2.
    if (!m_hint)
        return;
    QWidget *const parts[] = {m_byInitials, m_search, m_hint};
    const int designRight = m_searchLefts[2] + m_hint->width();
    const int overhang = designRight - (m_pages->width() - 10);
    const int room = m_searchLefts[0] - (m_householdBar->x() + m_householdBar->width() + 8);
    const int shift = std::clamp(overhang, 0, std::max(room, 0));
    for (int i = 0; i < 3; ++i)
        parts[i]->move(m_searchLefts[i] - shift, parts[i]->y());
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutMainWindow();
}

void MainWindow::onTopToolBarClicked(int index)
{
    for (int i = 0; i < m_topBar->buttonCount(); ++i)
        m_topBar->removeState(i, ToolBar::Pressed);
    m_topBar->addState(index, ToolBar::Pressed);
    switch (index) {
    case 0:
        m_pages->setCurrentPage(0);
        break;
    case 2:
        m_pages->setCurrentPage(1);
        rebuildTree();
        expandTree();
        break;
    case 4:
        m_pages->setCurrentPage(2);
        break;
    case 6:
        m_pages->setCurrentPage(3);
        showMaintenancePage();
        break;
    case 8:
        m_pages->setCurrentPage(4);
        showStatisticsPage();
        break;
    default:
        break;
    }
}

void MainWindow::onHouseholdToolBarClicked(int index)
{
    const int rows = m_households->rowCount();
    switch (index) {
    case 0:
        addHousehold();
        break;
    case 1:
        modifyHousehold();
        break;
    case 2:
        if (rows > 1)
            deleteHousehold();
        break;
    case 4:
        if (rows > 1)
            openQueryWindow();
        break;
    case 5:
        if (rows > 1)
            exportList();
        break;
    case 6:
        if (rows > 1)
            printList();
        break;
    default:
        break;
    }
}

void MainWindow::connectEvents()
{
    connect(m_topBar, &ToolBar::clicked, this, &MainWindow::onTopToolBarClicked);
    connect(m_householdBar, &ToolBar::clicked, this, &MainWindow::onHouseholdToolBarClicked);
    connect(m_tree, &TreeBox::selectionChanged, this, &MainWindow::onTreeSelectionChanged);
    connect(m_years, &ComboBox::itemSelected, this, &MainWindow::onYearSelected);
    connect(m_next, &QPushButton::clicked, this, &MainWindow::onNextPage);
    connect(m_previous, &QPushButton::clicked, this, &MainWindow::onPreviousPage);
    connect(m_search, &EditBox::contentChanged, this, &MainWindow::onSearchTextChanged);
    connect(m_memberSearch, &EditBox::contentChanged, this, &MainWindow::onMemberSearchChanged);
    connect(m_memberEverywhere, &QCheckBox::toggled, this, &MainWindow::onMemberSearchChanged);
    connect(m_households, &EGrid::cellDoubleClicked, this, &MainWindow::onHouseholdDoubleClicked);
    connect(m_built.control<Button>(QStringLiteral("按钮_添加")), &QPushButton::clicked, this, &MainWindow::addRegion);
    connect(m_built.control<Button>(QStringLiteral("按钮_修改")), &QPushButton::clicked, this,
            &MainWindow::modifyRegion);
    connect(m_built.control<Button>(QStringLiteral("按钮_删除")), &QPushButton::clicked, this,
            &MainWindow::deleteRegion);
    connect(m_regionSearch, &EditBox::contentChanged, this, &MainWindow::filterRegions);
}

// The statistics page is made when first shown; every showing counts afresh, since households
// and units may have changed on the other pages meanwhile.
void MainWindow::showStatisticsPage()
{
    if (!m_statistics) {
        QWidget *page = m_pages->page(4);
        m_statistics = new StatisticsPage(StatisticsServices{m_connection, m_services.dialogs, m_services.clock,
                                                             m_excel, m_workbook, printer(), m_state.topRegionLevel},
                                          page);
        auto *layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_statistics);
    }
    m_statistics->refresh();
}

PrintService &MainWindow::printer()
{
    return m_services.printer ? *m_services.printer : m_previewPrinter;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    releaseExportObjects();
    QWidget::closeEvent(event);
}

void MainWindow::releaseExportObjects()
{
    if (m_released)
        return;
    m_released = true;
    m_workbook.release();
    m_excel.release();
}

} // namespace fenlark
