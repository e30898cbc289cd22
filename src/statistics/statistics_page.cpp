#include "statistics/statistics_page.h"

#include "core/app_state.h"
#include "export/table_sheet_export.h"
#include "printing/print_service.h"
#include "printing/table_print.h"
#include "region/region_tree.h"
#include "statistics/statistics_charts.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/egrid.h"
#include "ui/grid_rows.h"
#include "ui/label.h"
#include "ui/tree_box.h"
#include "years/year_list.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QSplitter>
#include <QVBoxLayout>

namespace fenlark {

namespace {

constexpr int kUnitColumnWidth = 110;
constexpr int kCountColumnWidth = 72;

QStringList tableHeaders()
{
    return QStringList{QStringLiteral("单位")} + countColumnHeaders();
}

QStringList rowTexts(const QString &name, const CategoryCounts &counts)
{
    QStringList texts{name};
    for (int c = 0; c < kCountColumnCount; ++c)
        texts << QString::number(countColumnValue(counts, c));
    return texts;
}

std::vector<QStringList> tableRows(const StatisticsTable &table)
{
    std::vector<QStringList> rows;
    for (const StatisticsRow &row : table.rows)
        rows.push_back(rowTexts(row.name, row.counts));
    rows.push_back(rowTexts(kTotalRowName, table.total));
    return rows;
}

QChartView *makeChartView(const QString &name, QWidget *parent)
{
    auto *view = new QChartView(new QChart, parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->chart()->setAnimationOptions(QChart::NoAnimation);
    return view;
}

} // namespace

StatisticsPage::StatisticsPage(StatisticsServices services, QWidget *parent) : QWidget(parent), m_services(services)
{
    setObjectName(QStringLiteral("统计分析页"));
    m_recordSet.attach(m_services.connection);

    m_tree = new TreeBox(this);
    m_tree->setObjectName(QStringLiteral("统计树型框"));
    m_tree->setFixedWidth(248);
    auto *yearLabel = new Label(this);
    yearLabel->setText(QStringLiteral("统计年份："));
    m_years = new ComboBox(this);
    m_years->setObjectName(QStringLiteral("统计年份框"));
    m_years->setMinimumWidth(120);
    m_export = new Button(this);
    m_export->setObjectName(QStringLiteral("按钮_导出"));
    m_export->setCaption(QStringLiteral("导出"));
    m_print = new Button(this);
    m_print->setObjectName(QStringLiteral("按钮_打印"));
    m_print->setCaption(QStringLiteral("打印"));
    m_table = new EGrid(this);
    m_table->setObjectName(QStringLiteral("统计表格"));
    m_table->setRowSelection(true);
    m_table->setColumnCount(1 + kCountColumnCount);
    const QStringList headers = tableHeaders();
    for (int c = 0; c < headers.size(); ++c) {
        m_table->setCell(0, c, EGrid::TextCell, headers[c]);
        m_table->setColumnWidth(c, c == 0 ? kUnitColumnWidth : kCountColumnWidth);
    }
    m_table->alignBlock(0, 0, 0, kCountColumnCount, EGrid::AlignCentre);
    m_bars = makeChartView(QStringLiteral("统计柱状图"), this);
    m_pie = makeChartView(QStringLiteral("统计饼图"), this);

    auto *bar = new QHBoxLayout;
    bar->addWidget(yearLabel);
    bar->addWidget(m_years);
    bar->addWidget(m_export);
    bar->addWidget(m_print);
    bar->addStretch();
    auto *charts = new QSplitter(Qt::Horizontal, this);
    charts->addWidget(m_bars);
    charts->addWidget(m_pie);
    charts->setStretchFactor(0, 3);
    charts->setStretchFactor(1, 2);
    auto *right = new QVBoxLayout;
    right->addLayout(bar);
    right->addWidget(m_table, 2);
    right->addWidget(charts, 3);
    auto *whole = new QHBoxLayout(this);
    whole->setContentsMargins(8, 8, 8, 8);
    whole->addWidget(m_tree);
    whole->addLayout(right, 1);

    connect(m_tree, &TreeBox::selectionChanged, this, &StatisticsPage::showChosenUnit);
    connect(m_years, &ComboBox::itemSelected, this, &StatisticsPage::recount);
    connect(m_export, &QPushButton::clicked, this, &StatisticsPage::exportStatistics);
    connect(m_print, &QPushButton::clicked, this, &StatisticsPage::printStatistics);
}

StatisticsPage::~StatisticsPage()
{
    m_recordSet.close();
}

QChart &StatisticsPage::barChart() const
{
    return *m_bars->chart();
}

QChart &StatisticsPage::pieChart() const
{
    return *m_pie->chart();
}

void StatisticsPage::refresh()
{
    m_counted.reset(); // made on the tree about to be replaced
    const QString chosen = m_tree->itemText(m_tree->selectedIndex());
    const QString year = m_years->selectedText();
    {
        // The tree is built the household page's way; a scratch state keeps villageNames as the
        // program's own tree build left it.
        const QSignalBlocker quiet(m_tree);
        AppState scratch;
        scratch.topRegionLevel = m_services.topRegionLevel;
        buildRegionTree(scratch, m_recordSet, *m_tree);
        QList<QTreeWidgetItem *> roots;
        while (m_tree->topLevelItemCount() > 0)
            roots << m_tree->takeTopLevelItem(0);
        auto *all = new QTreeWidgetItem(QStringList{kAllUnitsItem});
        all->addChildren(roots);
        m_tree->addTopLevelItem(all);
        expandRegionTree(*m_tree);

        int select = 0;
        for (int i = 0; !chosen.isEmpty() && i < m_tree->itemCount(); ++i) {
            if (m_tree->itemText(i) == chosen) {
                select = i;
                break;
            }
        }
        m_tree->select(select);
    }
    fillYearList(m_recordSet, *m_years, m_services.clock);
    m_recordSet.close();
    if (!year.isEmpty()) {
        for (int i = 0; i < m_years->itemCount(); ++i) {
            if (m_years->itemText(i) == year)
                m_years->setCurrentIndex(i);
        }
    }
    recount();
}

std::optional<int> StatisticsPage::chosenYear() const
{
    const QString text = m_years->selectedText();
    if (text.isEmpty() || text == QStringLiteral("全部"))
        return std::nullopt;
    return text.toInt();
}

void StatisticsPage::recount()
{
    const UnitTree tree = UnitTree::fromTree(*m_tree);
    // Item 0 is the whole register; the units below it keep their order, one index lower.
    UnitTree units;
    for (std::size_t i = 1; i < tree.units.size(); ++i)
        units.units.push_back({tree.units[i].name, tree.units[i].parent - 1});
    m_counted.emplace(units, countHouseholdGroups(m_services.connection, chosenYear()));
    showChosenUnit();
}

void StatisticsPage::showChosenUnit()
{
    if (!m_counted) {
        recount();
        return;
    }
    const int selected = m_tree->selectedIndex();
    m_shown = m_counted->tableFor(selected <= 0 ? -1 : selected - 1);
    if (selected <= 0)
        m_shown.unit = kAllUnitsItem;
    showTable();
}

void StatisticsPage::showTable()
{
    emptyGrid(*m_table);
    const std::vector<QStringList> rows = tableRows(m_shown);
    {
        EGrid::BulkUpdate bulk(*m_table);
        for (const QStringList &texts : rows) {
            m_table->insertRow();
            const int r = m_table->rowCount() - 1;
            for (int c = 0; c < texts.size(); ++c)
                m_table->setCell(r, c, EGrid::TextCell, texts[c]);
        }
    }
    m_table->alignBlock(1, 0, m_table->rowCount() - 1, kCountColumnCount, EGrid::AlignCentre);
    showCategoryBars(barChart(), m_shown);
    showCategoryPie(pieChart(), m_shown);
    barChart().setTitle(heading());
    pieChart().setTitle(m_shown.unit + QStringLiteral(" 合计"));
}

QString StatisticsPage::heading() const
{
    const std::optional<int> year = chosenYear();
    return m_shown.unit + QStringLiteral("  ") +
           (year ? QString::number(*year) + QStringLiteral("年") : QStringLiteral("全部年份"));
}

void StatisticsPage::exportStatistics()
{
    std::vector<SheetTable> tables;
    SheetTable main;
    main.headers = tableHeaders();
    main.rows = tableRows(m_shown);
    main.widths.assign(std::size_t(1 + kCountColumnCount), 10.0);
    main.widths[0] = 20;
    // The title names the unit and the year, as the printed table's line under it does.
    main.title = QStringLiteral("统计分析表（") + heading() + QStringLiteral("）");
    for (int c = 1; c <= kCountColumnCount; ++c)
        main.numberColumns.push_back(c);
    tables.push_back(main);

    SheetTable bars;
    bars.title = QStringLiteral("柱状图数据：各单位农户属性户数");
    bars.headers = QStringList{QStringLiteral("单位")};
    bars.numberColumns = {1, 2, 3, 4};
    for (int c = 0; c < kCategoryCount; ++c)
        bars.headers << categoryName(c);
    for (const StatisticsRow &row : m_shown.rows) {
        QStringList texts{row.name};
        for (int c = 0; c < kCategoryCount; ++c)
            texts << QString::number(row.counts.categories[std::size_t(c)]);
        bars.rows.push_back(texts);
    }
    tables.push_back(bars);

    SheetTable pie;
    pie.title = QStringLiteral("饼图数据：合计中的农户属性");
    pie.headers = QStringList{QStringLiteral("农户属性"), QStringLiteral("户数"), QStringLiteral("占比")};
    pie.numberColumns = {1};
    qint64 categorised = 0;
    for (qint64 value : m_shown.total.categories)
        categorised += value;
    for (int c = 0; c < kCategoryCount; ++c) {
        const qint64 value = m_shown.total.categories[std::size_t(c)];
        const QString share = categorised > 0
                                  ? QString::number(100.0 * double(value) / double(categorised), 'f', 1) + u'%'
                                  : QStringLiteral("0.0%");
        pie.rows.push_back(QStringList{categoryName(c), QString::number(value), share});
    }
    tables.push_back(pie);

    // The spreadsheet program's own charts, drawn from the table's cells as the page draws its
    // charts from the table: the categories by sub-unit, and the total row's categories.
    std::vector<TableChart> charts;
    const int subUnits = int(m_shown.rows.size());
    if (subUnits > 0)
        charts.push_back({false, barChart().title(), 0, 0, subUnits - 1, 1, kCategoryCount});
    charts.push_back({true, pieChart().title(), 0, subUnits, subUnits, 1, kCategoryCount});

    exportTableSheet(QStringLiteral("统计分析表"), tables, m_services.excel, m_services.workbook, m_services.dialogs,
                     this, charts);
}

void StatisticsPage::printStatistics()
{
    PrintTable table;
    table.title = QStringLiteral("统计分析表");
    table.subtitle = heading();
    const QStringList headers = tableHeaders();
    for (int c = 0; c < headers.size(); ++c)
        table.columns.push_back({headers[c], c == 0 ? 20.0 : 10.0});
    table.rows = tableRows(m_shown);
    PrintJob job;
    job.documentName = table.title;
    job.orientation = QPageLayout::Landscape;
    job.paint = [&table](QPrinter &printer) { return paintTable(printer, table); };
    m_services.printer.print(this, job);
}

} // namespace fenlark
