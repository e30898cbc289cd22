#pragma once

class QChart;

namespace fenlark {

struct StatisticsTable;

// The bar chart of a statistics table: one bar set per category (扶贫户, 低保户, 三无,
// 非贫困人口), one group of bars per row of the table (its sub-units and "未归属"), the total
// left out. Replaces whatever the chart showed.
void showCategoryBars(QChart &chart, const StatisticsTable &table);

// The pie chart of the table's total: one slice per category, labelled with its count.
void showCategoryPie(QChart &chart, const StatisticsTable &table);

} // namespace fenlark
