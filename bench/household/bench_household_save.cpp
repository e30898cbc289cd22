// A household save ("添加" and "修改") through the household form, and a deletion from the list,
// on the demo registers. Only the save or the deletion is timed; building and filling the form
// is not. The households the benchmark adds are deleted again by the deletion benchmark, so
// the kept registers stay as they were made.
#include "bench_register.h"
#include "household_fixture.h"

#include "data/statement.h"
#include "household/household_store.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace fenlark;
using fenlark::bench::benchClock;

namespace {

constexpr int kRounds = 20; // households added, modified and deleted per register

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

    explicit HouseholdPage(int households)
    {
        const QString path = bench::demoRegister(households);
        connection.connectAccess(path, QString());
        mainSet.attach(connection);
        village = bench::firstVillage(path);
        // What an interrupted earlier run may have left.
        Statement leftovers(connection, QStringLiteral("DELETE FROM 成员信息 WHERE 户主 LIKE '基准户%'"));
        leftovers.exec();
        list.setColumnCount(13);
        for (int c : {5, 6, 7, 9, 10, 11})
            list.setCheckColumn(c, true);
        tree.addItem(tree.addItem(-1, village.township), village.name);
        state.villageNames = {village.name};
        state.currentSelection = {benchClock().currentYear(), village.name};
    }
    HouseholdEditContext context() { return {list, tree, years, mainSet, countLabel, benchClock()}; }

    // The list shows just this household, its row under the cursor.
    void listOnly(int n)
    {
        emptyGrid(list);
        HouseholdListRow row;
        row.headName = benchHead(n);
        row.headCard = card(n);
        row.unit = village.name;
        appendHouseholdRow(list, 1, row);
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
    int n = 0;
    for (auto _ : s) {
        s.PauseTiming();
        p.state.editMode = mode;
        prepare(n);
        auto window = std::make_unique<HouseholdEditWindow>(p.state, p.connection, p.dialogs, p.context());
        if (mode == kEditModeModify && !window->loadedHousehold())
            s.SkipWithError("the household to modify was not found");
        if (mode == kEditModeAdd)
            fillValidForm(window.get(), p.village.name, benchHead(n), card(n));
        else
            control<EditBox>(window.get(), u"编辑框9")->setContent(QStringLiteral("二组"));
        s.ResumeTiming();
        window->save();
        s.PauseTiming();
        if (window->result() != QDialog::Accepted)
            s.SkipWithError("the save was refused");
        window.reset();
        ++n;
        s.ResumeTiming();
    }
}

void BM_SaveAdd(benchmark::State &s)
{
    HouseholdPage &p = householdPage(int(s.range(0)));
    timeSaves(s, p, kEditModeAdd, [](int) {});
}

void BM_SaveModify(benchmark::State &s)
{
    HouseholdPage &p = householdPage(int(s.range(0)));
    timeSaves(s, p, kEditModeModify, [&p](int n) { p.listOnly(n); });
}

void BM_Delete(benchmark::State &s)
{
    HouseholdPage &p = householdPage(int(s.range(0)));
    int n = 0;
    for (auto _ : s) {
        s.PauseTiming();
        p.listOnly(n);
        p.dialogs.answerNext(true);
        s.ResumeTiming();
        deleteHousehold(p.state, p.mainSet, p.list, p.countLabel, p.dialogs, nullptr);
        s.PauseTiming();
        if (p.list.rowCount() != 1)
            s.SkipWithError("the household was not deleted");
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

BENCHMARK(BM_SaveAdd)->Apply(sizes);
BENCHMARK(BM_SaveModify)->Apply(sizes);
BENCHMARK(BM_Delete)->Apply(sizes);
BENCHMARK(BM_LocateLiteralWalk)->Apply(sizes);
BENCHMARK(BM_AddLiteralOpen)->Apply(sizes);

} // namespace

int main(int argc, char **argv)
{
    return bench::runWidgetBenchmarks(argc, argv);
}
