// A household save ("添加" and "修改") through the household form, and a deletion from the list,
// on the demo registers. Only the save or the deletion is timed, the list's update included;
// building and filling the form is not. Each runs twice: with a list of the one household and a
// head name of its own, and (argument 1) with the list of a query over every village (every
// household whose health is 慢性疾病, 130,000 at a million) and the head name most heads of the
// register share. The households the benchmark adds are deleted again by the deletion
// benchmark, so the kept registers stay as they were made.
#include "bench_register.h"
#include "household_fixture.h"

#include "data/statement.h"
#include "household/household_store.h"
#include "registry/household_criteria.h"
#include "registry/query_row_reader.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace fenlark;
using fenlark::bench::benchClock;

namespace {

constexpr int kRounds = 20; // households added, modified and deleted per register and list
// The long-list rounds' households have cards of their own. Each repetition of a benchmark takes
// the next households, so repetitions add, modify and delete households of their own (card(n)
// has room for n < 500: up to ten repetitions).
constexpr int kLongListFirst = 250;

QString benchHead(int n)
{
    return QStringLiteral("基准户%1").arg(n);
}

// The main window's household page as far as the form and the deletion touch it.
struct HouseholdPage {
    DBConnection connection;
    RecordSet mainSet;
    AppState state;
    ScriptedDialogs dialogs;
    EGrid list;
    TreeBox tree;
    ComboBox years;
    Label countLabel;
    bench::Village village;

    // The next household each operation takes, by list (0 short, 1 long), across repetitions.
    enum Operation { Add, Modify, Delete };
    int next[3][2] = {{0, kLongListFirst}, {0, kLongListFirst}, {0, kLongListFirst}};

    QString commonHead;
    std::vector<qint64> queried; // the rowids the query over every village lists

    explicit HouseholdPage(int households)
    {
        const QString path = bench::demoRegister(households);
        connection.connectAccess(path, QString());
        mainSet.attach(connection);
        village = bench::firstVillage(path);
        // What an interrupted earlier run may have left: its heads, or its cards (card(n) for every
        // round of both lists).
        Statement leftovers(connection, QStringLiteral("DELETE FROM 成员信息 WHERE 户主 LIKE '基准户%' OR 户主信息 "
                                                       "LIKE '%-11010119900101____-%'"));
        leftovers.exec();
        Statement common(connection, QStringLiteral("SELECT 户主 FROM 成员信息 GROUP BY 户主 ORDER BY count(*) DESC "
                                                    "LIMIT 1"));
        commonHead = common.step() ? common.text(0) : benchHead(0);
        HouseholdCriteria chronic;
        chronic.health = QStringLiteral("慢性疾病");
        queried = selectIdsByCriteria(connection, chronic);
        list.setColumnCount(13);
        for (int c : {5, 6, 7, 9, 10, 11})
            list.setCheckColumn(c, true);
        tree.addItem(tree.addItem(-1, village.township), village.name);
        state.villageNames = {village.name};
        state.currentSelection = {benchClock().currentYear(), village.name};
    }
    HouseholdEditContext context() { return {list, tree, years, mainSet, countLabel, benchClock()}; }

    QString head(int n, bool common) const { return common ? commonHead : benchHead(n); }

    // The list before an add: empty, or the query's long list.
    void listBefore(bool longList)
    {
        if (longList)
            list.showListedRows(queried, std::make_shared<QueryRowReader>(connection, benchClock()));
        else
            emptyGrid(list);
    }

    // The list shows this household in its first row, under the cursor: alone, or above the
    // query's long list (as after adding it there).
    void listWith(int n, bool longList)
    {
        listBefore(longList);
        HouseholdListRow row;
        row.headName = head(n, longList);
        row.headCard = card(n);
        row.unit = village.name;
        list.insertRow(1);
        writeHouseholdRow(list, 1, row);
        list.renumberRows();
        list.setCursorCell(1, 1);
    }
};

HouseholdPage &householdPage(int households)
{
    return bench::fixtureFor<HouseholdPage>(households);
}

// Times save() alone on forms made and filled by prepare, one form an iteration.
template <class Prepare> void timeSaves(benchmark::State &s, HouseholdPage &p, const QString &mode, Prepare prepare)
{
    const bool longList = s.range(1) != 0;
    int &n = p.next[mode == kEditModeAdd ? HouseholdPage::Add : HouseholdPage::Modify][longList];
    for (auto _ : s) {
        s.PauseTiming();
        p.state.editMode = mode;
        prepare(n);
        auto window = std::make_unique<HouseholdEditWindow>(p.state, p.connection, p.dialogs, p.context());
        if (mode == kEditModeModify && !window->loadedHousehold()) {
            // The timer must not be resumed after an error: the run stops here.
            s.SkipWithError("the household to modify was not found");
            break;
        }
        if (mode == kEditModeAdd)
            fillValidForm(window.get(), p.village.name, p.head(n, longList), card(n));
        else
            control<EditBox>(window.get(), u"编辑框9")->setContent(QStringLiteral("二组"));
        s.ResumeTiming();
        window->save();
        s.PauseTiming();
        if (window->result() != QDialog::Accepted) {
            s.SkipWithError(qPrintable(QStringLiteral("the save was refused: ") + p.dialogs.lastText()));
            break;
        }
        window.reset();
        ++n;
        s.ResumeTiming();
    }
    s.counters["listed"] = p.list.rowCount() - 1;
}

void BM_SaveAdd(benchmark::State &s)
{
    HouseholdPage &p = householdPage(int(s.range(0)));
    timeSaves(s, p, kEditModeAdd, [&p, &s](int) { p.listBefore(s.range(1) != 0); });
}

void BM_SaveModify(benchmark::State &s)
{
    HouseholdPage &p = householdPage(int(s.range(0)));
    timeSaves(s, p, kEditModeModify, [&p, &s](int n) { p.listWith(n, s.range(1) != 0); });
}

void BM_Delete(benchmark::State &s)
{
    HouseholdPage &p = householdPage(int(s.range(0)));
    int &n = p.next[HouseholdPage::Delete][s.range(1) != 0];
    for (auto _ : s) {
        s.PauseTiming();
        p.listWith(n, s.range(1) != 0);
        const int listed = p.list.rowCount();
        p.dialogs.answerNext(true);
        s.ResumeTiming();
        deleteHousehold(p.state, p.mainSet, p.list, p.countLabel, p.dialogs, nullptr);
        s.PauseTiming();
        if (p.list.rowCount() != listed - 1) {
            s.SkipWithError("the household was not deleted");
            break;
        }
        ++n;
        s.ResumeTiming();
    }
}

// How the save and the deletion first found their row, for comparison: a cursor over the whole
// year, walked by find to the head; and a cursor over the whole table to add to.
void BM_LocateLiteralWalk(benchmark::State &s)
{
    HouseholdPage &p = householdPage(int(s.range(0)));
    Statement any(p.connection, QStringLiteral("SELECT 户主, 录入年份 FROM 成员信息 WHERE 所属管辖 = ? LIMIT 1"));
    any.bind(1, p.village.name);
    any.step();
    const QString head = any.text(0);
    const int year = int(any.int64(1));
    for (auto _ : s) {
        RecordSet set;
        set.attach(p.connection);
        set.openWhere(QStringLiteral("成员信息"), QStringLiteral("录入年份=%1").arg(year));
        set.moveFirst();
        benchmark::DoNotOptimize(set.find(headCriterion(head)));
    }
}

void BM_AddLiteralOpen(benchmark::State &s)
{
    HouseholdPage &p = householdPage(int(s.range(0)));
    for (auto _ : s) {
        RecordSet set;
        set.attach(p.connection);
        benchmark::DoNotOptimize(set.openTable(QStringLiteral("成员信息")) && set.addNew());
    }
}

void sizes(benchmark::internal::Benchmark *b)
{
    for (int size : bench::kSizes)
        b->Arg(size);
    b->Unit(benchmark::kMillisecond)->Iterations(kRounds);
}

// Every size, with the short list and own head names (0), then the long list and common ones (1).
void sizesAndLists(benchmark::internal::Benchmark *b)
{
    for (int longList : {0, 1}) {
        for (int size : bench::kSizes)
            b->Args({size, longList});
    }
    b->Unit(benchmark::kMillisecond)->Iterations(kRounds);
}

BENCHMARK(BM_SaveAdd)->Apply(sizesAndLists);
BENCHMARK(BM_SaveModify)->Apply(sizesAndLists);
BENCHMARK(BM_Delete)->Apply(sizesAndLists);
BENCHMARK(BM_LocateLiteralWalk)->Apply(sizes);
BENCHMARK(BM_AddLiteralOpen)->Apply(sizes);

} // namespace

int main(int argc, char **argv)
{
    return bench::runWidgetBenchmarks(argc, argv);
}
