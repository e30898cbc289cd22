// The search by a member's name or card number, one keystroke as the user types it, on a
// register given on the command line (made by `fenlark-db demo FILE --households N`):
//     bench_member_search FILE [benchmark options]
// The fragments are taken from the register: members of its first village who are not heads.
#include "bench_register.h"

#include "cards/member_search.h"
#include "core/app_state.h"
#include "data/db_connection.h"
#include "data/member_card_index.h"
#include "data/statement.h"
#include "registry/member_search.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/edit_box.h"
#include "ui/egrid.h"
#include "ui/label.h"

#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <cstdio>

using namespace fenlark;
using fenlark::bench::benchClock;

namespace {

QString g_register;

struct SearchPage {
    DBConnection connection;
    CheckBox byMember, everywhere;
    EditBox box;
    ComboBox years;
    EGrid list;
    Label note;
    MemberSearchControls controls{byMember, everywhere, box, years, list, note};
    AppState state;
    double openMs = 0;
    struct Case {
        const char *what;
        bool everywhere;
        QString fragment;
    };
    std::vector<Case> cases;

    SearchPage()
    {
        QElapsedTimer opening;
        opening.start();
        if (!connection.connectAccess(g_register, QString()))
            qFatal("cannot open %s", qPrintable(g_register));
        openMs = double(opening.nsecsElapsed()) / 1e6; // builds the index when the file lacks it
        const bench::Village village = bench::firstVillage(g_register);
        list.setColumnCount(13);
        years.addItem(QStringLiteral("全部"));
        years.setCurrentIndex(0);
        state.currentSelection.unit = village.name;
        byMember.setChecked(true);
        // A member of the village who is not the head, with a name of three characters.
        Statement member(
            connection,
            QStringLiteral("SELECT m.姓名, m.身份证号 FROM 成员身份证 AS m JOIN 成员信息 AS h ON h.rowid = m.户id "
                           "WHERE m.所属管辖 = ? AND m.姓名 <> h.户主 AND length(m.姓名) = 3 LIMIT 1"));
        member.bind(1, village.name);
        if (!member.step())
            qFatal("the first village has no member to look for");
        const QString name = member.text(0);
        const QString card = member.text(1);
        cases = {
            {"village, 1 character (surname)", false, name.left(1)},
            {"village, 2 characters (given name)", false, name.right(2)},
            {"village, 8 card digits (birth date)", false, card.mid(6, 8)},
            {"everywhere, 1 character (surname)", true, name.left(1)},
            {"everywhere, 1 character (given name)", true, name.right(1)},
            {"everywhere, 2 characters (given name)", true, name.right(2)},
            {"everywhere, whole name", true, name},
            {"everywhere, rare character, no match", true, QStringLiteral("𬀩")},
            {"everywhere, first 10 card digits", true, card.left(10)},
            {"everywhere, whole card", true, card},
        };
    }
};

SearchPage &page()
{
    static SearchPage p;
    return p;
}

void BM_MemberSearchKeystroke(benchmark::State &s)
{
    SearchPage &p = page();
    const SearchPage::Case &c = p.cases.at(size_t(s.range(0)));
    p.everywhere.setChecked(c.everywhere);
    p.box.setContent(c.fragment);
    for (auto _ : s)
        searchByMember(p.state, p.connection, p.controls, benchClock());
    s.counters["rows"] = p.list.rowCount() - 1;
    s.SetLabel(std::string(c.what) + " \"" + c.fragment.toStdString() + "\"");
}
BENCHMARK(BM_MemberSearchKeystroke)->DenseRange(0, 9)->Unit(benchmark::kMillisecond);

// The same keystrokes without the list: the index lookups alone.
void BM_MemberSearchLookup(benchmark::State &s)
{
    SearchPage &p = page();
    const SearchPage::Case &c = p.cases.at(size_t(s.range(0)));
    const MemberSearchScope scope{c.everywhere, p.state.currentSelection.unit, 0, true};
    size_t found = 0;
    for (auto _ : s)
        found = findHouseholdsByMember(p.connection, scope, c.fragment, kMemberSearchLimit).households.size();
    s.counters["households"] = double(found);
    s.SetLabel(c.what);
}
BENCHMARK(BM_MemberSearchLookup)->DenseRange(0, 9)->Unit(benchmark::kMillisecond);

void BM_RebuildIndex(benchmark::State &s)
{
    SearchPage &p = page();
    for (auto _ : s)
        rebuildMemberCardIndex(p.connection);
}
BENCHMARK(BM_RebuildIndex)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || argv[1][0] == '-') {
        std::fputs("usage: bench_member_search REGISTER [benchmark options]\n", stderr);
        return 2;
    }
    g_register = QString::fromLocal8Bit(argv[1]);
    argv[1] = argv[0];
    const int status = bench::runWidgetBenchmarks(argc - 1, argv + 1);
    std::printf("opening the register (the member-card index built when missing): %.0f ms\n", page().openMs);
    std::printf("peak resident set of the bench process: %.0f MB\n", bench::peakResidentMB());
    return status;
}
