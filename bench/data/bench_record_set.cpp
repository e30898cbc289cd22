// What a record set costs on a big register: opening, paging, finding and walking a
// household table of a million rows. Memory is the heap in use while the set is open.
#include "data/db_connection.h"
#include "data/record_set.h"
#include "data/schema.h"
#include "data/statement.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <malloc.h>

#include <memory>

namespace {

constexpr int kRows = 1000000;

struct BigRegister {
    QTemporaryDir dir;
    fenlark::DBConnection connection;
    bool ready = false;

    BigRegister()
    {
        const QString path = dir.filePath(QStringLiteral("data.mdb"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.close();
        ready = connection.connectAccess(path, QString()) &&
                fenlark::execScript(connection, fenlark::schema::createTablesSql()) &&
                fenlark::execScript(connection, fenlark::schema::createIndexesSql()) &&
                fenlark::execScript(
                    connection, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n "
                                               "WHERE i < %1) "
                                               "INSERT INTO 成员信息 (录入年份, 所属管辖, 上级管辖, 户主, 户主信息, "
                                               "首拼音, 农户属性, 家庭人员信息, 家庭住址, 录入时间) "
                                               "SELECT 2014 + i % 4, '村' || (i % 200), '乡' || (i % 20), "
                                               "'户主' || i, '户主' || i || '-男-420101199001011234-初中', "
                                               "'hz', '扶贫户', "
                                               "'户主' || i || '-男-420101199001011234-户主-汉族-初中,"
                                               "配偶-女-420101199101011234-配偶-汉族-小学', "
                                               "'某县某乡某村' || i || '号', '2016-04-13 08:05:09' FROM n")
                                    .arg(kRows - 1));
    }
};

BigRegister &bigRegister()
{
    static BigRegister store;
    return store;
}

size_t heapInUse()
{
    return mallinfo2().uordblks;
}

template <typename Open> void openAndClose(benchmark::State &state, Open open)
{
    BigRegister &store = bigRegister();
    if (!store.ready) {
        state.SkipWithError("no register");
        return;
    }
    fenlark::RecordSet set;
    set.attach(store.connection);
    double heap = 0;
    for (auto _ : state) {
        const size_t before = heapInUse();
        if (!open(set))
            state.SkipWithError("open failed");
        heap = double(heapInUse() - before);
        set.close();
    }
    state.counters["heap_MB"] = heap / 1e6;
}

void BM_OpenTable(benchmark::State &state)
{
    openAndClose(state, [](fenlark::RecordSet &set) { return set.openTable(QStringLiteral("成员信息")); });
}

void BM_OpenSortedIdDesc(benchmark::State &state)
{
    openAndClose(state, [](fenlark::RecordSet &set) {
        return set.openSorted(QStringLiteral("成员信息"), QStringLiteral("id DESC"));
    });
}

void BM_OpenWhereYear(benchmark::State &state)
{
    openAndClose(state, [](fenlark::RecordSet &set) {
        return set.openWhere(QStringLiteral("成员信息"), QStringLiteral("录入年份=2016"));
    });
}

// One page of the list deep inside the set: move, then read 15 rows of 4 columns.
void BM_ReadPage(benchmark::State &state)
{
    fenlark::RecordSet set;
    set.attach(bigRegister().connection);
    set.openSorted(QStringLiteral("成员信息"), QStringLiteral("id DESC"));
    for (auto _ : state) {
        set.moveFromFirst(500000);
        for (int i = 0; i < 15 && !set.isAtEnd(); ++i) {
            QString text;
            set.readText(QStringLiteral("户主"), text);
            set.readText(QStringLiteral("户主信息"), text);
            set.readText(QStringLiteral("所属管辖"), text);
            set.readText(QStringLiteral("录入时间"), text);
            benchmark::DoNotOptimize(text);
            set.moveNext();
        }
    }
}

// A head found by name in the open set (through the index on 户主), then findNext to the end.
void BM_FindHead(benchmark::State &state)
{
    fenlark::RecordSet set;
    set.attach(bigRegister().connection);
    set.openSorted(QStringLiteral("成员信息"), QStringLiteral("id DESC"));
    for (auto _ : state) {
        set.moveFirst();
        bool found = set.find(QStringLiteral("户主='户主123456'"));
        while (found)
            found = set.findNext();
    }
}

// The whole walk of the list's count: every row, two columns compared.
void BM_WalkAllTwoColumns(benchmark::State &state)
{
    fenlark::RecordSet set;
    set.attach(bigRegister().connection);
    set.openSorted(QStringLiteral("成员信息"), QStringLiteral("id DESC"));
    const QString unit = QStringLiteral("村7");
    for (auto _ : state) {
        int count = 0;
        set.moveFirst();
        while (!set.isAtEnd()) {
            QString text;
            int year = 0;
            set.readText(QStringLiteral("所属管辖"), text);
            set.readInt(QStringLiteral("录入年份"), year);
            count += text == unit && year == 2016;
            set.moveNext();
        }
        benchmark::DoNotOptimize(count);
    }
}

} // namespace

BENCHMARK(BM_OpenTable)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_OpenSortedIdDesc)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_OpenWhereYear)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ReadPage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FindHead)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_WalkAllTwoColumns)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
