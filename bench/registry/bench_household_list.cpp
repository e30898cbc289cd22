// The household list's operations on a demo register of 1,000,000 households (made once and
// kept in /tmp/fenlark-bench), beside the literal walk over the record set where it exists.
#include "core/app_state.h"
#include "core/clock.h"
#include "data/db_connection.h"
#include "data/record_set.h"
#include "data/register_file.h"
#include "data/statement.h"
#include "export/excel_application.h"
#include "export/excel_workbook.h"
#include "export/poor_household_export.h"
#include "export/sheet_source.h"
#include "export/spreadsheet_opener.h"
#include "fenlark-db/register_maker.h"
#include "region/region_tree.h"
#include "registry/household_criteria.h"
#include "registry/household_page.h"
#include "registry/initials_search.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/dialogs.h"
#include "ui/edit_box.h"
#include "ui/egrid.h"
#include "ui/label.h"
#include "ui/tree_box.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

using namespace fenlark;

namespace {

const FixedClock kClock(QDateTime(QDate(2026, 5, 1), QTime(9, 0)));

QString registerWith(int households)
{
    QDir().mkpath(QStringLiteral("/tmp/fenlark-bench"));
    const QString path = QStringLiteral("/tmp/fenlark-bench/%1.mdb").arg(households);
    if (!QFileInfo::exists(path)) {
        QString error;
        if (!dbtool::makeDemoRegister(path, households, error))
            qFatal("cannot make the register: %s", qPrintable(error));
    }
    return path;
}

struct Bench {
    DBConnection connection;
    TreeBox tree;
    ComboBox years;
    EGrid list;
    Label count, page, pages;
    Button previous;
    CheckBox byInitials;
    EditBox box;
    HouseholdListControls controls{tree, years, list, count, page, pages, previous};
    AppState state;
    int village = -1;
    QString villageName;

    Bench()
    {
        connection.connectAccess(registerWith(1000000), QString());
        list.setColumnCount(13);
        for (int c : {5, 6, 7, 9, 10, 11})
            list.setCheckColumn(c, true);
        // One township with the first village of the register, as the tree shows it.
        RecordSet set;
        set.attach(connection);
        set.openSorted(QStringLiteral("区域管理"), QStringLiteral("标识 ASC"));
        QString township, name;
        for (set.moveFirst(); !set.isAtEnd(); set.moveNext()) {
            int level = 0;
            set.readInt(QStringLiteral("标识"), level);
            if (level == 5) {
                set.readText(QStringLiteral("单位名称"), villageName);
                set.readText(QStringLiteral("直属管辖"), township);
                break;
            }
        }
        set.close();
        village = tree.addItem(tree.addItem(-1, township), villageName);
        tree.select(village);
        years.addItem(QStringLiteral("2026"));
        years.addItem(QStringLiteral("全部"));
        years.setCurrentIndex(1);
        state.currentSelection.unit = villageName;
        byInitials.setChecked(true);
    }
};

Bench &bench()
{
    static Bench b;
    return b;
}

void BM_LoadPage(benchmark::State &s)
{
    Bench &b = bench();
    for (auto _ : s)
        loadHouseholdPage(b.state, b.connection, b.controls, int(s.range(0)), kClock);
    s.counters["rows"] = b.list.rowCount() - 1;
}
BENCHMARK(BM_LoadPage)->Arg(1)->Arg(20)->Unit(benchmark::kMillisecond);

void BM_LoadPageLiteralWalk(benchmark::State &s)
{
    Bench &b = bench();
    for (auto _ : s) {
        RecordSet set;
        set.attach(b.connection);
        set.openSorted(QStringLiteral("成员信息"), QStringLiteral("id DESC"));
        int n = 0;
        for (set.moveFirst(); !set.isAtEnd(); set.moveNext()) {
            QString unit;
            set.readText(QStringLiteral("所属管辖"), unit);
            n += unit == b.villageName;
        }
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_LoadPageLiteralWalk)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SearchKeystroke(benchmark::State &s)
{
    Bench &b = bench();
    b.box.setContent(s.range(0) == 1 ? QStringLiteral("w") : QStringLiteral("zh"));
    for (auto _ : s)
        searchByInitials(b.state, b.connection, b.byInitials, b.box, b.years, b.list, kClock);
    s.counters["rows"] = b.list.rowCount() - 1;
}
BENCHMARK(BM_SearchKeystroke)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_QueryOneVillageSeveralSwitches(benchmark::State &s)
{
    Bench &b = bench();
    HouseholdCriteria c;
    c.unit = b.villageName;
    c.medicalCare = true;
    c.pensionInsurance = false;
    c.health = QStringLiteral("健康");
    for (auto _ : s)
        benchmark::DoNotOptimize(selectByCriteria(b.connection, c, kClock));
}
BENCHMARK(BM_QueryOneVillageSeveralSwitches)->Unit(benchmark::kMillisecond);

void BM_QueryAllVillagesOneSwitch(benchmark::State &s)
{
    Bench &b = bench();
    HouseholdCriteria c;
    c.partyMember = true;
    size_t rows = 0;
    for (auto _ : s)
        rows = selectByCriteria(b.connection, c, kClock).size();
    s.counters["rows"] = double(rows);
}
BENCHMARK(BM_QueryAllVillagesOneSwitch)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_KeywordList(benchmark::State &s)
{
    Bench &b = bench();
    for (auto _ : s)
        benchmark::DoNotOptimize(distinctKeywordTexts(b.connection));
}
BENCHMARK(BM_KeywordList)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GridFill100k(benchmark::State &s)
{
    HouseholdListRow row;
    row.headName = QStringLiteral("张三");
    row.headCard = QStringLiteral("430121198001011234");
    row.unit = QStringLiteral("龙源村委会");
    row.savedAt = QStringLiteral("2026-01-01 08:00:00");
    for (auto _ : s) {
        EGrid grid;
        grid.setColumnCount(13);
        EGrid::BulkUpdate bulk(grid);
        for (int n = 1; n <= 100000; ++n)
            appendHouseholdRow(grid, n, row);
    }
}
BENCHMARK(BM_GridFill100k)->Unit(benchmark::kMillisecond)->Iterations(3);

// 5,000 units: a province, 20 cities, 400 townships, 4,579 village committees.
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
BENCHMARK(BM_BuildRegionTree5000)->Unit(benchmark::kMillisecond)->Iterations(3);

struct FakeList final : SheetSource {
    int rows;
    explicit FakeList(int r) : rows(r + 1) {}
    int rowCount() const override { return rows; }
    QString text(int row, int column) const override
    {
        return row == 0 ? QStringLiteral("头%1").arg(column) : QStringLiteral("430121198001011234");
    }
    bool checked(int row, int column) const override { return (row + column) % 2 == 0; }
};

void BM_Export(benchmark::State &s)
{
    RecordingSpreadsheetOpener opener;
    ScriptedDialogs dialogs;
    const FakeList list(int(s.range(0)));
    for (auto _ : s) {
        ExcelApplication app(opener, kClock);
        ExcelWorkbook book;
        exportPoorHouseholdSheet(list, app, book, dialogs, nullptr);
    }
}
BENCHMARK(BM_Export)->Arg(15)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak RSS of the bench process: %ld MB\n", usage.ru_maxrss / 1024);
    return 0;
}
