#include "registry/query_row_reader.h"

#include "data/statement.h"
#include "registry/household_query.h"

#include <QStringList>

#include <algorithm>
#include <unordered_map>

namespace fenlark {

namespace {

// Rowids asked for in one statement; a block the grid reads fits in one.
constexpr int kMarks = 64;
// A run of at least this many ids in order, spread over at most this many times as many rows of
// the table, is read in one walk along it.
constexpr size_t kRangeRows = 32;
constexpr qint64 kRangeSpread = 4;

GridListedRow listedOf(const HouseholdListRow &row)
{
    const auto text = [](const QString &t) { return GridCell{t, false, false}; };
    const auto check = [](bool on) { return GridCell{QString(), true, on}; };
    GridListedRow listed;
    listed.cells = {text(QString()),    text(row.headName),        text(row.headCard),     text(row.unit),
                    text(row.category), check(row.familyPlanning), check(row.medicalCare), check(row.pensionInsurance),
                    text(row.health),   check(row.offence),        check(row.disabled),    check(row.partyMember),
                    text(row.savedAt)};
    // The household's own entry year, which a modify or delete from a list over every year needs.
    listed.data = row.entryYear ? QVariant(*row.entryYear) : QVariant();
    return listed;
}

} // namespace

std::vector<GridListedRow> QueryRowReader::read(const std::vector<qint64> &keys)
{
    std::vector<GridListedRow> rows(keys.size());
    const QString columns = QStringLiteral("SELECT ") + QString::fromUtf8(kHouseholdRowColumns) +
                            QStringLiteral(", \"户主\", rowid FROM \"成员信息\" WHERE ");
    const auto listed = [this](const Statement &query) {
        HouseholdListRow row = readHouseholdRow(query, m_clock);
        row.headName = storedText(query, 12);
        return listedOf(row);
    };
    if (keys.size() >= kRangeRows && std::is_sorted(keys.begin(), keys.end()) &&
        keys.back() - keys.front() < qint64(keys.size()) * kRangeSpread) {
        // A long run of ids in order, most of the rows between its ends wanted (an export of a
        // whole list, a block at a time): one walk along the table from the first to the last
        // reads them in the table's order, each row once, instead of a search per block.
        Statement query(m_connection, columns + QStringLiteral("rowid BETWEEN ? AND ? ORDER BY rowid"));
        if (!query.isValid())
            return rows;
        query.bind(1, keys.front()).bind(2, keys.back());
        size_t at = 0;
        while (at < keys.size() && query.step()) {
            const qint64 id = query.int64(13);
            while (at < keys.size() && keys[at] < id)
                ++at;
            // Equal ids asked twice get the same cells.
            for (; at < keys.size() && keys[at] == id; ++at)
                rows[at] = listed(query);
        }
        return rows;
    }

    QStringList marks;
    for (int i = 0; i < kMarks; ++i)
        marks << QStringLiteral("?");
    Statement query(m_connection, columns + QStringLiteral("rowid IN (") + marks.join(QStringLiteral(", ")) + u')');
    if (!query.isValid())
        return rows;
    for (size_t from = 0; from < keys.size(); from += kMarks) {
        std::unordered_multimap<qint64, size_t> wanted;
        query.reset();
        for (int mark = 0; mark < kMarks; ++mark) {
            const size_t at = from + size_t(mark);
            if (at < keys.size()) {
                query.bind(mark + 1, keys[at]);
                wanted.emplace(keys[at], at);
            } else {
                query.bindNull(mark + 1);
            }
        }
        while (query.step()) {
            const auto [first, last] = wanted.equal_range(query.int64(13));
            for (auto found = first; found != last; ++found)
                rows[found->second] = listed(query);
        }
    }
    return rows;
}

} // namespace fenlark
