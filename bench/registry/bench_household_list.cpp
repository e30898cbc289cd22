// The household list's operations on the demo registers of 10,000, 100,000 and 1,000,000
// households, each beside the literal walk over the record set that the identity tests keep as
// their reference. The first argument of every benchmark is the register size.
#include "bench_register.h"
#include "household_list_page.h"
#include "literal_walks.h"

#include "core/app_state.h"
#include "data/db_connection.h"
#include "data/record_set.h"
#include "data/register_file.h"
#include "data/statement.h"
#include "export/excel_application.h"
#include "export/poor_household_export.h"
#include "export/spreadsheet_opener.h"
#include "region/region_tree.h"
#include "registry/household_criteria.h"
#include "registry/household_page.h"
#include "registry/initials_search.h"
#include "registry/query_row_reader.h"
#include "registry/query_window.h"
#include "shell/grid_sheet_source.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/dialogs.h"
#include "ui/edit_box.h"
#include "ui/egrid.h"
#include "ui/label.h"
#include "ui/tree_box.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <array>
#include <memory>

using namespace fenlark;
using fenlark::bench::benchClock;

namespace {

// The household page of the main window on one register, with the register's first village
// selected and "全部" years.
struct ListPage {
    QString path;
    DBConnection connection;
    bench::Village village;
    bench::HouseholdListPage page;
    std::array<QString, 2> keystrokes; // one letter and two, the village's commonest beginnings of initials

    explicit ListPage(int households)
        : path(bench::demoRegister(households)), village(bench::firstVillage(path)), page(village)
    {
        connection.connectAccess(path, QString());
        keystrokes = bench::commonInitials(connection, village.name);
    }
};

ListPage &listPage(int households)
{
    return bench::fixtureFor<ListPage>(households);
}

// Sizes × one more axis; the literal walks run once at a million, they take seconds.
void sizes(benchmark::internal::Benchmark *b, std::vector<int64_t> other = {0})
{
    for (int size : bench::kSizes)
        for (int64_t value : other)
            b->Args({size, value});
}

void BM_LoadPage(benchmark::State &s)
{
    ListPage &p = listPage(int(s.range(0)));
    for (auto _ : s)
        loadHouseholdPage(p.page.state, p.connection, p.page.controls, int(s.range(1)), benchClock());
    s.counters["rows"] = p.page.list.rowCount() - 1;
}
BENCHMARK(BM_LoadPage)->Apply([](auto *b) { sizes(b, {1, 20}); }) -> Unit(benchmark::kMillisecond);

void BM_LoadPageLiteralWalk(benchmark::State &s)
{
    ListPage &p = listPage(int(s.range(0)));
    for (auto _ : s)
        benchmark::DoNotOptimize(
            literalPageWalk(p.connection, p.village.name, p.village.township, true, 0, int(s.range(1)), benchClock()));
}
BENCHMARK(BM_LoadPageLiteralWalk)->Apply([](auto *b) {
                                     sizes(b, {1, 20});
                                 }) -> Unit(benchmark::kMillisecond) -> Iterations(1);

void BM_SearchKeystroke(benchmark::State &s)
{
    ListPage &p = listPage(int(s.range(0)));
    p.page.box.setContent(p.keystrokes[s.range(1) - 1]);
    for (auto _ : s)
        searchByInitials(p.page.state, p.connection, p.page.byInitials, p.page.box, p.page.years, p.page.list,
                         benchClock());
    s.counters["rows"] = p.page.list.rowCount() - 1;
    s.SetLabel(p.keystrokes[s.range(1) - 1].toStdString());
}
BENCHMARK(BM_SearchKeystroke)->Apply([](auto *b) { sizes(b, {1, 2}); }) -> Unit(benchmark::kMillisecond);

void BM_SearchKeystrokeLiteralWalk(benchmark::State &s)
{
    ListPage &p = listPage(int(s.range(0)));
    for (auto _ : s)
        benchmark::DoNotOptimize(literalSearch(p.connection, p.village.name, true, 0, p.keystrokes[s.range(1) - 1]));
}
BENCHMARK(BM_SearchKeystrokeLiteralWalk)->Apply([](auto *b) {
                                            sizes(b, {1, 2});
                                        }) -> Unit(benchmark::kMillisecond) -> Iterations(1);

// The queries timed: 0 every switch off, one village; 1 one village, three switches and the
// health; 2 every village, one switch; 3 every village, the health 慢性疾病 (13 % of the
// register, the query that lists 100,000 households and more at a million); 4 every village, every
// switch off (the whole register); 5 every village, the health and three switches.
HouseholdCriteria criteria(int which, const QString &village)
{
    HouseholdCriteria c;
    if (which <= 1)
        c.unit = village;
    if (which == 1) {
        c.medicalCare = true;
        c.pensionInsurance = false;
        c.partyMember = false;
        c.health = QStringLiteral("健康");
    }
    if (which == 2)
        c.partyMember = true;
    if (which == 3)
        c.health = QStringLiteral("慢性疾病");
    // 4: every village, every switch off: the whole register.
    if (which == 5) { // every village, three criteria: about a thousand rows
        c.partyMember = true;
        c.health = QStringLiteral("慢性疾病");
        c.offence = false;
        c.disabled = true;
    }
    return c;
}

void BM_Query(benchmark::State &s)
{
    ListPage &p = listPage(int(s.range(0)));
    const HouseholdCriteria c = criteria(int(s.range(1)), p.village.name);
    size_t rows = 0;
    for (auto _ : s)
        rows = selectByCriteria(p.connection, c, benchClock()).size();
    s.counters["rows"] = double(rows);
}
BENCHMARK(BM_Query)->Apply([](auto *b) { sizes(b, {0, 1, 2, 3}); }) -> Unit(benchmark::kMillisecond);

// What the clerk waits for: the query as the window runs it, its rowids into the list, and the
// first screen of 30 rows read as the list paints them.
void BM_QueryListed(benchmark::State &s)
{
    ListPage &p = listPage(int(s.range(0)));
    const HouseholdCriteria c = criteria(int(s.range(1)), p.village.name);
    EGrid grid;
    bench::setUpHouseholdGrid(grid);
    for (auto _ : s) {
        grid.showListedRows(selectIdsByCriteria(p.connection, c),
                            std::make_shared<QueryRowReader>(p.connection, benchClock()));
        for (int row = 1; row < grid.rowCount() && row <= 30; ++row) {
            for (int column = 0; column < 13; ++column)
                benchmark::DoNotOptimize(grid.cell(row, column));
        }
    }
    s.counters["rows"] = grid.rowCount() - 1;
}
BENCHMARK(BM_QueryListed)->Apply([](auto *b) { sizes(b, {0, 1, 2, 3, 4, 5}); }) -> Unit(benchmark::kMillisecond);

void BM_QueryLiteralWalk(benchmark::State &s)
{
    ListPage &p = listPage(int(s.range(0)));
    const HouseholdCriteria c = criteria(int(s.range(1)), p.village.name);
    for (auto _ : s)
        benchmark::DoNotOptimize(literalQuery(p.connection, c));
}
BENCHMARK(BM_QueryLiteralWalk)->Apply([](auto *b) {
                                  sizes(b, {0, 1, 2, 3, 5});
                              }) -> Unit(benchmark::kMillisecond) -> Iterations(1);

void BM_KeywordList(benchmark::State &s)
{
    ListPage &p = listPage(int(s.range(0)));
    for (auto _ : s)
        benchmark::DoNotOptimize(keywordTextTable(p.connection));
}
BENCHMARK(BM_KeywordList)->Apply([](auto *b) { sizes(b); }) -> Unit(benchmark::kMillisecond);

// The same list the literal way: every record's 标签 read, each new text kept.
void BM_KeywordListLiteralWalk(benchmark::State &s)
{
    ListPage &p = listPage(int(s.range(0)));
    for (auto _ : s) {
        RecordSet set;
        set.attach(p.connection);
        set.openTable(QStringLiteral("成员信息"));
        QStringList texts;
        for (set.moveFirst(); !set.isAtEnd(); set.moveNext()) {
            QString text;
            set.readText(QStringLiteral("标签"), text);
            if (!texts.contains(text))
                texts << text;
        }
        benchmark::DoNotOptimize(texts);
    }
}
BENCHMARK(BM_KeywordListLiteralWalk)
    ->Apply([](auto *b) { sizes(b); }) -> Unit(benchmark::kMillisecond) -> Iterations(1);

// The keyword list of a register of 1,000,000 households with this many distinct 标签 texts
// (every household one of them, in no order): the list is one pass over the 标签 index, so it
// should grow with the households, not with the texts. Only 标签 and the names are filled;
// the list reads nothing else. The literal walk keeps every new text in a list it searches,
// quadratic in the texts (hours at these counts), so it is timed on the demo registers only.
QString distinctTextsRegister(int texts)
{
    const QString path = QStringLiteral("/tmp/fenlark-bench/keywords-%1.mdb").arg(texts);
    if (QFileInfo::exists(path))
        return path;
    const QString part = path + QStringLiteral(".part");
    QFile::remove(part);
    QString error;
    if (!createRegisterFile(part, error))
        qFatal("cannot make %s: %s", qPrintable(part), qPrintable(error));
    {
        DBConnection maker;
        maker.connectAccess(part, QString());
        Transaction transaction(maker);
        Statement fill(maker, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
                                             "i < 1000000) INSERT INTO 成员信息 (所属管辖, 户主, 标签) SELECT "
                                             "'村' || (i % 3000), '户' || i, '种植,标签' || ((i * 7919) % ?) FROM n"));
        fill.bind(1, texts);
        if (!fill.exec() || !transaction.commit())
            qFatal("cannot fill %s", qPrintable(part));
    }
    QFile::rename(part, path);
    return path;
}

void BM_KeywordListDistinctTexts(benchmark::State &s)
{
    DBConnection connection;
    connection.connectAccess(distinctTextsRegister(int(s.range(0))), QString());
    qsizetype texts = 0;
    for (auto _ : s)
        texts = keywordTextTable(connection).size();
    s.counters["texts"] = double(texts);
}
BENCHMARK(BM_KeywordListDistinctTexts)->Arg(100000)->Arg(400000)->Unit(benchmark::kMillisecond);

// The register with that many distinct texts, and what a query window needs beside it.
struct DistinctTextsWindow {
    DBConnection connection;
    AppState state;
    EGrid list;
    Label count;

    explicit DistinctTextsWindow(int texts)
    {
        connection.connectAccess(distinctTextsRegister(texts), QString());
        bench::setUpHouseholdGrid(list);
    }
    std::unique_ptr<QueryWindow> open()
    {
        auto window = std::make_unique<QueryWindow>(state, connection, list, count, benchClock());
        window->show();
        QCoreApplication::processEvents();
        return window;
    }
};

// What the clerk waits for on 查找 with that many distinct texts: the query window built, its
// keyword box filled, shown and painted (offscreen). The first opening in a process reads the
// catalogue into a cold page cache and a heap not grown yet; time it alone with
// --benchmark_filter=QueryWindowOpenedDistinctTexts/400000 --benchmark_min_time=0.0001.
void BM_QueryWindowOpenedDistinctTexts(benchmark::State &s)
{
    DistinctTextsWindow w(int(s.range(0)));
    int texts = 0;
    for (auto _ : s)
        texts = w.open()->controls().control<ComboBox>(QStringLiteral("组合框3"))->itemCount();
    s.counters["texts"] = double(texts);
}
BENCHMARK(BM_QueryWindowOpenedDistinctTexts)->Arg(100000)->Arg(400000)->Unit(benchmark::kMillisecond);

// The keyword box's drop-down opened and closed in that window.
void BM_KeywordDropDownDistinctTexts(benchmark::State &s)
{
    DistinctTextsWindow w(int(s.range(0)));
    const std::unique_ptr<QueryWindow> window = w.open();
    ComboBox &keywords = *window->controls().control<ComboBox>(QStringLiteral("组合框3"));
    for (auto _ : s) {
        keywords.showPopup();
        QCoreApplication::processEvents();
        keywords.hidePopup();
        QCoreApplication::processEvents();
    }
    s.counters["texts"] = double(keywords.itemCount());
}
BENCHMARK(BM_KeywordDropDownDistinctTexts)->Arg(100000)->Arg(400000)->Unit(benchmark::kMillisecond);

// 5,000 units: a province, 20 cities, 400 townships, 4,578 village committees.
void BM_BuildRegionTree5000(benchmark::State &s)
{
    const QString path = QStringLiteral("/tmp/fenlark-bench/units-5000.mdb");
    if (!QFileInfo::exists(path)) {
        QString error;
        createRegisterFile(path, error);
        DBConnection maker;
        maker.connectAccess(path, QString());
        Transaction transaction(maker);
        Statement insert(maker,
                         QStringLiteral("INSERT INTO 区域管理 (标识, 区域, 单位名称, 直属管辖) VALUES (?, ?, ?, ?)"));
        auto add = [&](int level, const QString &name, const QString &parent) {
            insert.reset();
            insert.bind(1, level).bind(2, QString()).bind(3, name).bind(4, parent);
            insert.exec();
        };
        add(1, QStringLiteral("中国"), QString());
        add(2, QStringLiteral("省"), QStringLiteral("中国"));
        for (int c = 0; c < 20; ++c)
            add(3, QStringLiteral("市%1").arg(c), QStringLiteral("省"));
        for (int t = 0; t < 400; ++t)
            add(4, QStringLiteral("镇%1").arg(t), QStringLiteral("市%1").arg(t % 20));
        for (int v = 0; v < 4578; ++v)
            add(5, QStringLiteral("村%1").arg(v), QStringLiteral("镇%1").arg(v % 400));
        transaction.commit();
    }
    DBConnection connection;
    connection.connectAccess(path, QString());
    RecordSet set;
    set.attach(connection);
    AppState state;
    state.topRegionLevel = 2;
    TreeBox tree;
    for (auto _ : s)
        buildRegionTree(state, set, tree);
    s.counters["items"] = tree.itemCount();
}
BENCHMARK(BM_BuildRegionTree5000)->Unit(benchmark::kMillisecond);

// The export of the list as the user sees it: a page of 15, or the first 10,000 households of
// the query over every village for party members, in a real grid.
void BM_Export(benchmark::State &s)
{
    ListPage &p = listPage(1000000);
    EGrid grid;
    bench::setUpHouseholdGrid(grid);
    {
        EGrid::BulkUpdate bulk(grid);
        const std::vector<HouseholdListRow> rows = selectByCriteria(p.connection, criteria(2, QString()), benchClock());
        for (int n = 1; n <= s.range(0) && n <= int(rows.size()); ++n)
            appendHouseholdRow(grid, n, rows[size_t(n - 1)]);
    }
    const GridSheetSource source(grid);
    // Every export writes its workbook into the temporary folder; this run's go into a folder of
    // their own that goes away with it, so repeated runs leave nothing behind.
    const QTemporaryDir scratch;
    const QByteArray previousTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(scratch.path()));
    RecordingSpreadsheetOpener opener;
    ScriptedDialogs dialogs;
    for (auto _ : s) {
        ExcelApplication app(opener, benchClock());
        exportPoorHouseholdSheet(source, app, dialogs, nullptr);
    }
    s.counters["rows"] = grid.rowCount() - 1;
    if (previousTemp.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", previousTemp);
}
BENCHMARK(BM_Export)->Arg(15)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    const int status = bench::runWidgetBenchmarks(argc, argv);
    std::printf("peak resident set of the bench process: %.0f MB\n", bench::peakResidentMB());
    return status;
}
