// The household list's operations and a household save on a PostgreSQL register beside the
// SQLite register file holding the same households, and twenty clerks saving at once on the
// server. bench/server.sh makes a throwaway cluster, loads it and runs this.
//   bench_server schema CONNINFO        the tables, without their indexes (a faster load)
//   bench_server indexes CONNINFO       the indexes, then the planner's statistics
//   bench_server run CONNINFO FILE      the figures, for the server and for FILE (which it
//                                       writes to: give it a copy)
// Each operation runs several times; the median and the fastest are shown, in milliseconds.
// Both engines must answer each operation with the same rows, and the clerks' saves must all be
// there afterwards: the run says where they differ and exits with 1.
#include "bench_register.h"
#include "household_list_page.h"

#include "data/db_connection.h"
#include "data/member_card_index.h"
#include "data/record_set.h"
#include "data/schema.h"
#include "data/server_schema.h"
#include "data/statement.h"
#include "household/household_store.h"
#include "registry/household_criteria.h"
#include "registry/initials_search.h"
#include "registry/member_search.h"
#include "registry/query_row_reader.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QRegularExpression>

#include <sys/resource.h>

#include <algorithm>
#include <array>
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
constexpr int kShownRows = 30;               // what a list shows of a long answer at first

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

// What an operation answered, to compare across the engines: its row count and a digest of
// the rows (every cell of a short list, the keys and the first screen of a long one).
struct Answer {
    qint64 rows = -1;
    QByteArray digest;
    bool operator==(const Answer &other) const { return rows == other.rows && digest == other.digest; }
};

Answer gridAnswer(const EGrid &grid, int rows)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int row = 1; row <= rows && row < grid.rowCount(); ++row) {
        for (int column = 0; column < grid.columnCount(); ++column)
            hash.addData(grid.cell(row, column).toString().toUtf8().append('\x1f'));
    }
    return {grid.rowCount() - 1, hash.result()};
}

Answer listedAnswer(const std::vector<qint64> &ids, const EGrid &grid)
{
    Answer answer = gridAnswer(grid, kShownRows);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(answer.digest);
    hash.addData(QByteArrayView(reinterpret_cast<const char *>(ids.data()), qsizetype(ids.size() * sizeof(qint64))));
    answer.rows = qint64(ids.size());
    answer.digest = hash.result();
    return answer;
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

qint64 countOf(DBConnection &connection, const QString &sql)
{
    Statement query(connection, sql);
    return query.step() ? query.int64(0) : -1;
}

qint64 benchHouseholds(DBConnection &connection)
{
    return countOf(connection, QStringLiteral("SELECT count(*) FROM 成员信息 WHERE 户主 LIKE '基准户%'"));
}

void removeBenchHouseholds(DBConnection &connection)
{
    Transaction transaction(connection);
    Statement(connection, QStringLiteral("DELETE FROM 成员信息 WHERE 户主 LIKE '基准户%'")).exec();
    transaction.commit();
}

void report(const char *engine, const char *what, const Timing &t, const QString &extra = {})
{
    std::printf("| %-10s | %-44s | %9.2f | %10.2f | %s\n", engine, what, t.median, t.fastest, qPrintable(extra));
    std::fflush(stdout);
}

QString rows(const Answer &answer)
{
    return QStringLiteral("%1 rows").arg(answer.rows);
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
        report(engine, "search by name or card", {}, QStringLiteral("NO MEMBER TO LOOK FOR"));
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
        const Timing t = timeIt(kRepeats, [&] { searchByMember(state, connection, controls, bench::benchClock()); });
        report(engine, c.what, t, QStringLiteral("%1 rows").arg(list.rowCount() - 1));
    }
}

// Runs the operations on one engine; their answers, in order, for the comparison.
std::vector<Answer> runOperations(const char *engine, DBConnection &connection, const bench::Village &village,
                                  const std::array<QString, 2> &keystrokes)
{
    std::vector<Answer> answers;
    bench::HouseholdListPage page(village);
    const Clock &clock = bench::benchClock();
    const Timing load = timeIt(kRepeats, [&] { loadHouseholdPage(page.state, connection, page.controls, 0, clock); });
    answers.push_back(gridAnswer(page.list, page.list.rowCount()));
    report(engine, "page load (first village, every year)", load,
           QStringLiteral("%1 households, %2").arg(page.state.householdCount).arg(rows(answers.back())));
    answers.push_back({page.state.householdCount, {}});
    for (const QString &typed : keystrokes) {
        page.box.setContent(typed);
        const Timing search = timeIt(kRepeats, [&] {
            searchByInitials(page.state, connection, page.byInitials, page.box, page.years, page.list, clock);
        });
        answers.push_back(gridAnswer(page.list, page.list.rowCount()));
        report(engine, qPrintable(QStringLiteral("initials search, keystroke (%1)").arg(typed)), search,
               rows(answers.back()));
    }
    struct Query {
        const char *what;
        HouseholdCriteria criteria;
        int repeats;
    };
    std::vector<Query> queries(3);
    queries[0].what = "query: one village, 是否党员";
    queries[0].criteria.unit = village.name;
    queries[0].criteria.parentUnit = village.township;
    queries[0].criteria.partyMember = true;
    queries[0].repeats = kRepeats;
    queries[1].what = "query: every village, 是否党员";
    queries[1].criteria.partyMember = true;
    queries[1].repeats = 3;
    queries[2].what = "query: every village, 慢性疾病";
    queries[2].criteria.health = QStringLiteral("慢性疾病");
    queries[2].repeats = 3;
    for (const Query &query : queries) {
        std::vector<qint64> ids;
        const Timing t = timeIt(query.repeats, [&] {
            ids = selectIdsByCriteria(connection, query.criteria);
            page.list.showListedRows(ids, std::make_shared<QueryRowReader>(connection, clock));
            for (int row = 1; row < page.list.rowCount() && row <= kShownRows; ++row) {
                for (int column = 0; column < page.list.columnCount(); ++column)
                    page.list.cell(row, column);
            }
        });
        answers.push_back(listedAnswer(ids, page.list));
        report(engine, query.what, t, rows(answers.back()) + QStringLiteral(", the first 30 read"));
    }
    runMemberSearch(engine, connection, village);
    RecordSet set;
    set.attach(connection);
    int n = 0;
    bool saved = true;
    const Timing save =
        timeIt(kSaves, [&] { saved = saveHousehold(connection, set, benchHousehold(village, n++)) && saved; });
    answers.push_back({benchHouseholds(connection), {}});
    report(engine, "household save (add, one transaction)", save,
           (saved ? QString() : QStringLiteral("A SAVE FAILED; ")) +
               QStringLiteral("%1 of %2 saved households there").arg(answers.back().rows).arg(kSaves));
    removeBenchHouseholds(connection);
    return answers;
}

// Twenty clerks, each on a connection of its own, each adding households to a village of its
// own as fast as it can: saves per second over all, and the slowest save. True when every save
// that reported success is in the table afterwards, and no other.
bool runClerks(const QString &server, const std::vector<bench::Village> &villages)
{
    std::mutex lock;
    std::vector<double> saveMs;
    std::atomic<int> failed{0};
    std::atomic<int> unconnected{0};
    QElapsedTimer wall;
    wall.start();
    std::vector<std::thread> clerks;
    for (int clerk = 0; clerk < kClerks; ++clerk) {
        clerks.emplace_back([&, clerk] {
            DBConnection connection;
            if (!connection.connectServer(server)) {
                ++unconnected;
                return;
            }
            RecordSet set;
            set.attach(connection);
            const bench::Village &village = villages[size_t(clerk) % villages.size()];
            std::vector<double> mine;
            for (int i = 0; i < kClerkSaves && wall.elapsed() < kClerkTimeLimitMs; ++i) {
                QElapsedTimer timer;
                timer.start();
                if (saveHousehold(connection, set, benchHousehold(village, 100000 + clerk * 1000 + i)))
                    mine.push_back(double(timer.nsecsElapsed()) / 1e6);
                else
                    ++failed;
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
    std::printf("\n%d clerks (connections on loopback, %d not connected) x up to %d saves within %lld s: %zu saves "
                "in %.2f s = %.1f saves/s; per save median %.1f ms, 95%% %.1f ms, slowest %.1f ms; %d failed\n",
                kClerks, unconnected.load(), kClerkSaves, kClerkTimeLimitMs / 1000, saveMs.size(), seconds,
                double(saveMs.size()) / seconds, at(0.5), at(0.95), saveMs.empty() ? 0.0 : saveMs.back(),
                failed.load());
    DBConnection check;
    if (!check.connectServer(server)) {
        std::printf("cannot connect to count the clerks' saves\n");
        return false;
    }
    const qint64 there = benchHouseholds(check);
    const bool allThere = there == qint64(saveMs.size());
    std::printf("households the clerks saved, counted after: %lld of %zu saves%s\n", there, saveMs.size(),
                allThere ? "" : " - SAVES LOST OR DOUBLED");
    removeBenchHouseholds(check);
    return allThere && failed == 0 && unconnected == 0;
}

// The register file's indexes as this build makes them. A file made by an earlier build keeps
// the indexes of that build under the same names (the program only adds missing ones), and a
// criterion's index without its column makes SQLite read the table's row for every key it
// finds: the figures would be an old build's. Returns how many were made again.
int renewFileIndexes(DBConnection &file)
{
    static const QRegularExpression named(QStringLiteral("CREATE INDEX IF NOT EXISTS (\"[^\"]+\")"));
    int renewed = 0;
    for (QString statement : schema::createIndexesSql().split(u';', Qt::SkipEmptyParts)) {
        statement = statement.trimmed();
        const QRegularExpressionMatch match = named.match(statement);
        if (!match.hasMatch())
            continue;
        QString name = match.captured(1);
        Statement stored(file, QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'index' AND name = ?"));
        stored.bind(1, name.mid(1, name.size() - 2));
        QString wanted = statement;
        wanted.remove(QStringLiteral("IF NOT EXISTS "));
        if (stored.step() && stored.text(0) == wanted)
            continue;
        stored.reset();
        if (!execScript(file, QStringLiteral("DROP INDEX IF EXISTS ") + name) || !execScript(file, statement))
            qFatal("cannot make the index %s again", qPrintable(name));
        ++renewed;
    }
    return renewed;
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

const char *const kOperations[] = {
    "page load",          "household count of the page",    "keystroke, one letter",          "keystroke, two letters",
    "query: one village", "query: every village, 是否党员", "query: every village, 慢性疾病", "saved households"};

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
                        rebuildMemberCardIndex(connection) && execScript(connection, QStringLiteral("VACUUM ANALYZE"));
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
    QElapsedTimer renewal;
    renewal.start();
    const int renewed = renewFileIndexes(local);
    if (renewed > 0)
        std::printf("%d indexes of the file made again as this build makes them (%.1f s)\n", renewed,
                    double(renewal.elapsed()) / 1000.0);
    const bench::Village village = bench::firstVillage(file);
    const std::array<QString, 2> keystrokes = bench::commonInitials(local, village.name);
    const QString count = QStringLiteral("SELECT count(*) FROM 成员信息");
    const qint64 onServer = countOf(connection, count);
    const qint64 inFile = countOf(local, count);
    std::printf("%lld households on the server, %lld in the file; village %s of %s\n\n", onServer, inFile,
                qPrintable(village.name), qPrintable(village.township));
    std::printf("| engine     | operation                                    | median ms | fastest ms |\n");
    const double cpu0 = cpuSeconds();
    const std::vector<Answer> sqlite = runOperations("SQLite", local, village, keystrokes);
    const std::vector<Answer> postgres = runOperations("PostgreSQL", connection, village, keystrokes);
    bool same = onServer == inFile;
    for (size_t i = 0; i < sqlite.size(); ++i) {
        if (sqlite[i] == postgres[i])
            continue;
        same = false;
        std::printf("DIFFERENT ANSWERS, %s: SQLite %lld rows, PostgreSQL %lld rows%s\n", kOperations[i], sqlite[i].rows,
                    postgres[i].rows, sqlite[i].rows == postgres[i].rows ? " (other rows)" : "");
    }
    std::printf("both engines answered every operation with the same rows: %s\n", same ? "yes" : "NO");
    const double cpuOperations = cpuSeconds() - cpu0;
    const bool clerksOk = runClerks(server, villagesOf(connection, kClerks));
    const qint64 afterClerks = countOf(connection, count);
    std::printf("households on the server after the run: %lld\n", afterClerks);
    std::printf("\nclient CPU: %.1f s for the operations, %.1f s for the clerks\n", cpuOperations,
                cpuSeconds() - cpu0 - cpuOperations);
    return same && clerksOk && afterClerks == onServer ? 0 : 1;
}
