// The statistics on the demo registers: the count by unit, parent and category through the
// packed statistics index, the same count reading the table instead, the whole computation placed on
// the region tree, and the page's recount as the clerk waits for it (table and charts drawn
// offscreen). The first argument of every benchmark is the register size.
#include "bench_register.h"

#include "core/app_state.h"
#include "data/db_connection.h"
#include "data/statement.h"
#include "export/excel_application.h"
#include "export/excel_workbook.h"
#include "export/spreadsheet_opener.h"
#include "printing/print_service.h"
#include "region/region_tree.h"
#include "statistics/household_counts.h"
#include "statistics/region_statistics.h"
#include "statistics/statistics_page.h"
#include "ui/combo_box.h"
#include "ui/dialogs.h"
#include "ui/tree_box.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace fenlark;

namespace {

struct StatisticsBench {
    DBConnection connection;
    ScriptedDialogs dialogs;
    RecordingSpreadsheetOpener opener;
    ExcelApplication excel{opener, bench::benchClock()};
    ExcelWorkbook workbook;
    PdfPrintService printer{QStringLiteral("/dev/null")};
    std::unique_ptr<StatisticsPage> page;
    QString path;

    // FENLARK_BENCH_REGISTER names a register of the size asked for to use instead of the shared
    // demo one: opening a register adds the statistics index to it, which is a write.
    explicit StatisticsBench(int households)
    {
        const QByteArray own = qgetenv("FENLARK_BENCH_REGISTER");
        path = own.isEmpty() ? bench::demoRegister(households) : QString::fromLocal8Bit(own);
        connection.connectAccess(path, QString());
        // Opening the register makes the statistics index on a file that lacks it: once, here.
        page = std::make_unique<StatisticsPage>(
            StatisticsServices{connection, dialogs, bench::benchClock(), excel, workbook, printer, 2});
        page->resize(1200, 560);
        page->show();
        page->refresh();
    }

    void chooseYear(const QString &text)
    {
        for (int i = 0; i < page->yearList().itemCount(); ++i) {
            if (page->yearList().itemText(i) == text)
                page->yearList().setCurrentIndex(i);
        }
    }
};

StatisticsBench &fixture(int households)
{
    return bench::fixtureFor<StatisticsBench>(households);
}

void BM_CountGroups_AllYears(benchmark::State &state)
{
    StatisticsBench &f = fixture(int(state.range(0)));
    std::size_t groups = 0;
    for (auto _ : state)
        groups = countHouseholdGroups(f.connection, std::nullopt).size();
    state.counters["groups"] = double(groups);
}

void BM_CountGroups_OneYear(benchmark::State &state)
{
    StatisticsBench &f = fixture(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(countHouseholdGroups(f.connection, 2026).size());
}

// The same grouping with the table read row by row instead of the index: what the count costs
// without the statistics index.
void BM_CountGroups_TableScan(benchmark::State &state)
{
    StatisticsBench &f = fixture(int(state.range(0)));
    for (auto _ : state) {
        Statement scan(
            f.connection,
            QStringLiteral("SELECT 所属管辖, 上级管辖, 农户属性, count(*), sum(CAST(是否合作医疗 AS INTEGER) <> 0), "
                           "sum(CAST(是否养老保险 AS INTEGER) <> 0), sum(CAST(是否残疾 AS INTEGER) <> 0), "
                           "sum(CAST(是否党员 AS INTEGER) <> 0), sum(CAST(是否上访户 AS INTEGER) <> 0), "
                           "sum(CAST(是否违法 AS INTEGER) <> 0) FROM 成员信息 NOT INDEXED "
                           "GROUP BY 所属管辖, 上级管辖, 农户属性"));
        int rows = 0;
        while (scan.step())
            ++rows;
        benchmark::DoNotOptimize(rows);
    }
}

// Counted, placed on the tree of every unit and summed up to the whole register's table.
void BM_RegionStatistics_AllYears(benchmark::State &state)
{
    StatisticsBench &f = fixture(int(state.range(0)));
    UnitTree tree = UnitTree::fromTree(f.page->unitTree());
    for (auto _ : state) {
        const RegionStatistics statistics(tree, countHouseholdGroups(f.connection, std::nullopt));
        benchmark::DoNotOptimize(statistics.tableFor(-1).total.households);
    }
}

// The page's recount for the whole register and every year: count, table and both charts.
void BM_PageRecount_AllUnitsAllYears(benchmark::State &state)
{
    StatisticsBench &f = fixture(int(state.range(0)));
    f.chooseYear(QStringLiteral("全部"));
    f.page->unitTree().select(0);
    for (auto _ : state)
        f.page->recount();
    state.counters["households"] = double(f.page->shownTable().total.households);
}

// The same for the first township, whose table lists its villages.
void BM_PageRecount_TownshipOneYear(benchmark::State &state)
{
    StatisticsBench &f = fixture(int(state.range(0)));
    const QString township = bench::firstVillage(f.path).township;
    f.chooseYear(QStringLiteral("2026"));
    TreeBox &tree = f.page->unitTree();
    for (int i = 0; i < tree.itemCount(); ++i) {
        if (tree.itemText(i) == township) {
            tree.select(i);
            break;
        }
    }
    for (auto _ : state)
        f.page->recount();
    state.counters["rows"] = double(f.page->shownTable().rows.size());
}

// A unit chosen in the tree after the year was counted: placed from that count, no new one.
void BM_PageUnitChosen_AllYears(benchmark::State &state)
{
    StatisticsBench &f = fixture(int(state.range(0)));
    f.chooseYear(QStringLiteral("全部"));
    f.page->recount();
    TreeBox &tree = f.page->unitTree();
    int unit = 0;
    for (auto _ : state) {
        unit = unit + 1 < tree.itemCount() && unit < 50 ? unit + 1 : 0;
        tree.select(unit);
    }
    state.counters["rows"] = double(f.page->shownTable().rows.size());
}

void sizes(benchmark::internal::Benchmark *b)
{
    for (int size : bench::kSizes)
        b->Arg(size);
    b->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_CountGroups_AllYears)->Apply(sizes);
BENCHMARK(BM_CountGroups_OneYear)->Apply(sizes);
BENCHMARK(BM_CountGroups_TableScan)->Apply(sizes);
BENCHMARK(BM_RegionStatistics_AllYears)->Apply(sizes);
BENCHMARK(BM_PageRecount_AllUnitsAllYears)->Apply(sizes);
BENCHMARK(BM_PageRecount_TownshipOneYear)->Apply(sizes);
BENCHMARK(BM_PageUnitChosen_AllYears)->Apply(sizes);

int main(int argc, char **argv)
{
    return fenlark::bench::runWidgetBenchmarks(argc, argv);
}
