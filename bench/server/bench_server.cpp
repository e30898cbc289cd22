// The household list's operations and a household save on a PostgreSQL register beside the
// SQLite register file holding the same households, and twenty clerks saving at once on the
// server. bench/server.sh makes a throwaway cluster, loads it and runs this.
//   bench_server schema CONNINFO        the tables, without their indexes (a faster load)
//   bench_server indexes CONNINFO       the indexes, then the planner's statistics
//   bench_server run CONNINFO FILE      the figures, for the server and for FILE
// Each operation runs several times; the median and the fastest are shown, in milliseconds.
#include "bench_register.h"

#include "core/app_state.h"
#include "data/db_connection.h"
#include "data/member_card_index.h"
#include "data/record_set.h"
#include "data/schema.h"
#include "data/server_schema.h"
#include "data/statement.h"
#include "household/household_store.h"
#include "registry/household_criteria.h"
#include "registry/household_page.h"
#include "registry/initials_search.h"
#include "registry/member_search.h"
#include "registry/query_row_reader.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/edit_box.h"
#include "ui/egrid.h"
#include "ui/label.h"
#include "ui/tree_box.h"

#include <QApplication>
#include <QElapsedTimer>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

using namespace fenlark;

namespace {

constexpr int kRepeats = 9;
constexpr int kSaves = 20;
constexpr int kClerks = 20;
constexpr int kClerkSaves = 50;
constexpr qint64 kClerkTimeLimitMs = 180000; // the clerks stop by then, whatever they saved

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Timing {
    double median = 0;
    double fastest = 0;
};

Timing timeIt(int repeats, const std::function<void()> &run)
{
    std::vector<double> ms;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front()};
}

// A household as a clerk of the village saves it.
HouseholdRecord benchHousehold(const bench::Village &village, int n)
{
    HouseholdRecord r;
    r.initials = QStringLiteral("jzh");
    r.entryYear = 2026;
    r.unit = village.name;
    r.parentUnit = village.township;
    r.headName = QStringLiteral("基准户%1").arg(n);
    r.headInfo = r.headName + QStringLiteral("-男-1101011990%1-小学").arg(n, 8, 10, QLatin1Char('0'));
    r.category = QStringLiteral("低保户");
    r.members = r.headInfo;
    r.health = QStringLiteral("健康");
    r.savedAt = 46000.5;
    r.keywords = QStringLiteral("种植");
    return r;
}

// An add as the household form stores it: the row and its year in one transaction.
bool saveHousehold(DBConnection &connection, RecordSet &set, const HouseholdRecord &record)
{
    Transaction transaction(connection);
    bool stored = transaction.isActive() && set.openForAppend(schema::households::table) && set.addNew() &&
                  writeHousehold(set, record);
    set.close();
    stored = stored && registerYear(set, record.entryYear);
    set.close();
    return stored && transaction.commit();
}

void removeBenchHouseholds(DBConnection &connection)
{
    Transaction transaction(connection);
    Statement(connection, QStringLiteral("DELETE FROM 成员信息 WHERE 户主 LIKE '基准户%'")).exec();
    transaction.commit();
}

// The household page as far as the list, the search and the query need it, on the first village.
struct Page {
    TreeBox tree;
    ComboBox years;
    EGrid list;
    Label count, page, pages;
    Button previous;
    CheckBox byInitials;
    EditBox box;
    HouseholdListControls controls{tree, years, list, count, page, pages, previous};
    AppState state;

    explicit Page(const bench::Village &village)
    {
        list.setColumnCount(13);
        for (int c : {5, 6, 7, 9, 10, 11})
            list.setCheckColumn(c, true);
        tree.select(tree.addItem(tree.addItem(-1, village.township), village.name));
        years.addItem(QStringLiteral("2026"));
        years.addItem(QStringLiteral("全部"));
        years.setCurrentIndex(1);
        state.currentSelection.unit = village.name;
        byInitials.setChecked(true);
        box.setContent(QStringLiteral("z"));
    }
};

// extra tells what the timed runs left (rows listed, a failure): called after them.
void report(
    const char *engine, const char *what, const Timing &t,
    const std::function<QString()> &extra = [] { return QString(); })
{
    std::printf("| %-10s | %-46s | %9.2f | %9.2f | %s\n", engine, what, t.median, t.fastest, qPrintable(extra()));
    std::fflush(stdout);
}

// One keystroke of the search by name or card (the list it writes included): a member of the
// village who is not its head, looked for in the village and across every unit and year.
void runMemberSearch(const char *engine, DBConnection &connection, const bench::Village &village)
{
    Statement member(
        connection,
        QStringLiteral(
            "SELECT m.姓名, m.身份证号 FROM 成员身份证 AS m JOIN 成员信息 AS h ON h.rowid = m.户id "
            "WHERE m.所属管辖 = ? AND m.姓名 <> h.户主 AND length(m.姓名) = 3 ORDER BY m.户id, m.rowid LIMIT 1"));
    member.bind(1, village.name);
    if (!member.step()) {
        report(engine, "search by name or card", {}, [] { return QStringLiteral("NO MEMBER TO LOOK FOR"); });
        return;
    }
    const QString name = member.text(0);
    const QString card = member.text(1);
    CheckBox byMember, everywhere;
    EditBox box;
    ComboBox years;
    EGrid list;
    Label note;
    list.setColumnCount(13);
    years.addItem(QStringLiteral("全部"));
    years.setCurrentIndex(0);
    byMember.setChecked(true);
    MemberSearchControls controls{byMember, everywhere, box, years, list, note};
    AppState state;
    state.currentSelection.unit = village.name;
    const struct {
        const char *what;
        bool everywhere;
        QString fragment;
    } cases[] = {{"name search: village, 2 characters", false, name.right(2)},
                 {"name search: everywhere, 1 character", true, name.left(1)},
                 {"name search: everywhere, 2 characters", true, name.right(2)},
                 {"name search: everywhere, whole name", true, name},
                 {"card search: everywhere, first 10 digits", true, card.left(10)}};
    for (const auto &c : cases) {
        everywhere.setChecked(c.everywhere);
        box.setContent(c.fragment);
        report(engine, c.what,
               timeIt(kRepeats, [&] { searchByMember(state, connection, controls, bench::benchClock()); }),
               [&] { return QStringLiteral("%1 rows").arg(list.rowCount() - 1); });
    }
}

void runOperations(const char *engine, DBConnection &connection, const bench::Village &village)
{
    Page page(village);
    const Clock &clock = bench::benchClock();
    report(engine, "page load (first village, every year)",
           timeIt(kRepeats, [&] { loadHouseholdPage(page.state, connection, page.controls, 0, clock); }),
           [&] { return QStringLiteral("%1 households").arg(page.state.householdCount); });
    report(engine, "initials search, one keystroke (z)",
           timeIt(kRepeats,
                  [&] {
                      searchByInitials(page.state, connection, page.byInitials, page.box, page.years, page.list, clock);
                  }),
           [&] { return QStringLiteral("%1 rows").arg(page.list.rowCount() - 1); });
    HouseholdCriteria one;
    one.unit = village.name;
    one.partyMember = true;
    report(engine, "query: one village, 是否党员",
           timeIt(kRepeats,
                  [&] {
                      page.list.showListedRows(selectIdsByCriteria(connection, one),
                                               std::make_shared<QueryRowReader>(connection, clock));
                  }),
           [&] { return QStringLiteral("%1 rows").arg(page.list.rowCount() - 1); });
    HouseholdCriteria all;
    all.partyMember = true;
    report(engine, "query: every village, one switch (是否党员)",
           timeIt(3,
                  [&] {
                      page.list.showListedRows(selectIdsByCriteria(connection, all),
                                               std::make_shared<QueryRowReader>(connection, clock));
                  }),
           [&] { return QStringLiteral("%1 rows").arg(page.list.rowCount() - 1); });
    runMemberSearch(engine, connection, village);
    RecordSet set;
    set.attach(connection);
    int n = 0;
    bool saved = true;
    report(engine, "household save (add, one transaction)",
           timeIt(kSaves, [&] { saved = saveHousehold(connection, set, benchHousehold(village, n++)) && saved; }),
           [&] { return saved ? QString() : QStringLiteral("A SAVE FAILED"); });
    removeBenchHouseholds(connection);
}

// Twenty clerks, each on a connection of its own, each adding households to a village of its
// own as fast as it can: saves per second over all, and the slowest save.
void runClerks(const QString &server, const std::vector<bench::Village> &villages)
{
    std::mutex lock;
    std::vector<double> saveMs;
    std::atomic<int> failed{0};
    QElapsedTimer wall;
    wall.start();
    std::vector<std::thread> clerks;
    for (int clerk = 0; clerk < kClerks; ++clerk) {
        clerks.emplace_back([&, clerk] {
            DBConnection connection;
            if (!connection.connectServer(server)) {
                failed += kClerkSaves;
                return;
            }
            RecordSet set;
            set.attach(connection);
            const bench::Village &village = villages[size_t(clerk) % villages.size()];
            std::vector<double> mine;
            for (int i = 0; i < kClerkSaves && wall.elapsed() < kClerkTimeLimitMs; ++i) {
                QElapsedTimer timer;
                timer.start();
                if (!saveHousehold(connection, set, benchHousehold(village, 100000 + clerk * 1000 + i)))
                    ++failed;
                mine.push_back(double(timer.nsecsElapsed()) / 1e6);
            }
            std::lock_guard<std::mutex> guard(lock);
            saveMs.insert(saveMs.end(), mine.begin(), mine.end());
        });
    }
    for (std::thread &clerk : clerks)
        clerk.join();
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    std::sort(saveMs.begin(), saveMs.end());
    const auto at = [&](double q) { return saveMs.empty() ? 0.0 : saveMs[size_t(q * double(saveMs.size() - 1))]; };
    std::printf("\n%d clerks x %d saves: %zu saves in %.2f s = %.1f saves/s; per save median %.1f ms, 95%% %.1f ms, "
                "slowest %.1f ms; %d failed\n",
                kClerks, kClerkSaves, saveMs.size(), seconds, double(saveMs.size()) / seconds, at(0.5), at(0.95),
                saveMs.empty() ? 0.0 : saveMs.back(), failed.load());
    DBConnection cleanup;
    if (cleanup.connectServer(server))
        removeBenchHouseholds(cleanup);
}

std::vector<bench::Village> villagesOf(DBConnection &connection, int count)
{
    // Village committees (level 5) with their township, in the region table's order.
    Statement query(connection,
                    QStringLiteral("SELECT 单位名称, 直属管辖 FROM 区域管理 WHERE 标识 = 5 ORDER BY rowid"));
    std::vector<bench::Village> villages;
    while (int(villages.size()) < count && query.step())
        villages.push_back({query.text(1), query.text(0)});
    return villages;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: bench_server schema|indexes CONNINFO | run CONNINFO FILE\n");
        return 2;
    }
    const QString mode = args.at(1);
    const QString server = args.at(2);
    DBConnection connection;
    if (!connection.connectServer(server)) {
        std::fprintf(stderr, "cannot connect: %s\n", qPrintable(connection.errorText()));
        return 1;
    }
    if (mode == QLatin1String("schema")) {
        // The tables alone: the indexes come after the load, built once instead of row by row.
        return execScript(connection, schema::createServerBareTablesSql()) ? 0 : 1;
    }
    if (mode == QLatin1String("indexes")) {
        // The member-card index is filled from the loaded households, as a first open of a file
        // without it does.
        const bool ok = execScript(connection, schema::createServerIndexesSql()) &&
                        rebuildMemberCardIndex(connection) && execScript(connection, QStringLiteral("ANALYZE"));
        return ok ? 0 : 1;
    }
    if (mode != QLatin1String("run") || args.size() < 4)
        return 2;
    const QString file = args.at(3);
    DBConnection local;
    if (!local.connectAccess(file, QString())) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(file));
        return 1;
    }
    const bench::Village village = bench::firstVillage(file);
    Statement households(connection, QStringLiteral("SELECT count(*) FROM 成员信息"));
    std::printf("%lld households on the server; village %s of %s\n\n", households.step() ? households.int64(0) : -1,
                qPrintable(village.name), qPrintable(village.township));
    std::printf("| engine     | operation                                      | median ms | fastest ms |\n");
    const double cpu0 = cpuSeconds();
    runOperations("SQLite", local, village);
    runOperations("PostgreSQL", connection, village);
    runClerks(server, villagesOf(connection, kClerks));
    std::printf("\nclient CPU %.1f s\n", cpuSeconds() - cpu0);
    return 0;
}
