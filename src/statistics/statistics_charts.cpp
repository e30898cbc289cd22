#include "statistics/statistics_charts.h"

#include "statistics/region_statistics.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QPieSeries>
#include <QPieSlice>
#include <QValueAxis>

#include <algorithm>

namespace fenlark {

namespace {

void clearChart(QChart &chart)
{
    chart.removeAllSeries();
    for (QAbstractAxis *axis : chart.axes()) {
        chart.removeAxis(axis);
        delete axis;
    }
}

} // namespace

void showCategoryBars(QChart &chart, const StatisticsTable &table)
{
    clearChart(chart);
    auto *series = new QBarSeries;
    QStringList units;
    for (const StatisticsRow &row : table.rows)
        units << row.name;
    qint64 highest = 0;
    for (int c = 0; c < kCategoryCount; ++c) {
        auto *set = new QBarSet(categoryName(c));
        for (const StatisticsRow &row : table.rows) {
            const qint64 value = row.counts.categories[std::size_t(c)];
            highest = std::max(highest, value);
            *set << double(value);
        }
        series->append(set);
    }
    chart.addSeries(series);

    auto *unitAxis = new QBarCategoryAxis;
    unitAxis->append(units);
    chart.addAxis(unitAxis, Qt::AlignBottom);
    series->attachAxis(unitAxis);
    auto *countAxis = new QValueAxis;
    countAxis->setLabelFormat(QStringLiteral("%d"));
    countAxis->setRange(0, double(std::max<qint64>(highest, 1)));
    countAxis->applyNiceNumbers();
    chart.addAxis(countAxis, Qt::AlignLeft);
    series->attachAxis(countAxis);
    chart.legend()->setVisible(true);
    chart.legend()->setAlignment(Qt::AlignBottom);
}

void showCategoryPie(QChart &chart, const StatisticsTable &table)
{
    clearChart(chart);
    auto *series = new QPieSeries;
    for (int c = 0; c < kCategoryCount; ++c) {
        const qint64 value = table.total.categories[std::size_t(c)];
        QPieSlice *slice = series->append(QString::number(value), double(value));
        slice->setLabelVisible(value > 0);
    }
    chart.addSeries(series);
    // The slices carry their counts and the legend, below, the categories' names: "name count"
    // on either was cut short ("非贫困人口 ...") in the page's narrower chart, with counts of two
    // digits already.
    const auto markers = chart.legend()->markers(series);
    for (int c = 0; c < kCategoryCount && c < markers.size(); ++c)
        markers[c]->setLabel(categoryName(c));
    chart.legend()->setVisible(true);
    chart.legend()->setAlignment(Qt::AlignBottom);
}

} // namespace fenlark
