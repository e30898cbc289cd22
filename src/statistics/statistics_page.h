#pragma once

#include "data/record_set.h"
#include "statistics/household_counts.h"
#include "statistics/region_statistics.h"

#include <QWidget>

#include <optional>

class QChart;
class QChartView;

namespace fenlark {

class Button;
class Clock;
class ComboBox;
class DBConnection;
class Dialogs;
class EGrid;
class ExcelApplication;
class ExcelWorkbook;
class PrintService;
class TreeBox;

// What the statistics page works with, handed down by the main window.
struct StatisticsServices {
    DBConnection &connection;
    Dialogs &dialogs;
    const Clock &clock;
    ExcelApplication &excel; // the main window's Excel程序1
    ExcelWorkbook &workbook; // and Excel工作簿1
    PrintService &printer;
    int topRegionLevel = 2;
};

inline const QString kAllUnitsItem = QStringLiteral("全部地区");

// The page "统计分析": a unit tree (the region tree under one item for the whole register), the
// entry years and "全部", the table of the chosen unit's households by category for its direct
// sub-units and in total, a bar chart of the categories by sub-unit and a pie chart of the
// total; "导出" writes the table and the charts' figures to a workbook, "打印" prints the table.
class StatisticsPage : public QWidget {
    Q_OBJECT
public:
    explicit StatisticsPage(StatisticsServices services, QWidget *parent = nullptr);
    ~StatisticsPage() override;

    // Reads the region tree and the years again (each time the page is shown: units and
    // households may have changed meanwhile), keeps the chosen unit when it is still there, and
    // counts afresh.
    void refresh();

    // Counts the chosen year again and shows the chosen unit.
    void recount();
    // Shows the chosen unit from the last count: choosing another unit places nothing but the
    // counted groups anew, while choosing a year or showing the page again counts afresh.
    void showChosenUnit();
    void exportStatistics();
    void printStatistics();

    TreeBox &unitTree() const { return *m_tree; }
    ComboBox &yearList() const { return *m_years; }
    EGrid &table() const { return *m_table; }
    QChart &barChart() const;
    QChart &pieChart() const;
    const StatisticsTable &shownTable() const { return m_shown; }
    // The year counted; none for "全部".
    std::optional<int> chosenYear() const;

private:
    void showTable();
    QString heading() const;

    StatisticsServices m_services;
    RecordSet m_recordSet;
    TreeBox *m_tree = nullptr;
    ComboBox *m_years = nullptr;
    Button *m_export = nullptr;
    Button *m_print = nullptr;
    EGrid *m_table = nullptr;
    QChartView *m_bars = nullptr;
    QChartView *m_pie = nullptr;
    std::optional<RegionStatistics> m_counted; // the last count, on the tree as it was then
    StatisticsTable m_shown;
};

} // namespace fenlark
