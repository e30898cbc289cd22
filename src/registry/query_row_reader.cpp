#include "registry/query_row_reader.h"

#include "data/statement.h"
#include "registry/household_query.h"

#include <QStringList>

#include <unordered_map>

namespace fenlark {

namespace {

// Rowids asked for in one statement; a block the grid reads fits in one.
constexpr int kMarks = 64;

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
    QStringList marks;
    for (int i = 0; i < kMarks; ++i)
        marks << QStringLiteral("?");
    Statement query(m_connection,
                    QStringLiteral("SELECT ") + QString::fromUtf8(kHouseholdRowColumns) +
                        QStringLiteral(", \"户主\", rowid FROM \"成员信息\" WHERE rowid IN (") +
                        marks.join(QStringLiteral(", ")) + u')');
    if (!query.isValid())
        return rows;
    for (size_t from = 0; from < keys.size(); from += kMarks) {
        std::unordered_map<qint64, size_t> wanted;
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
            const auto found = wanted.find(query.int64(13));
            if (found == wanted.end())
                continue;
            HouseholdListRow row = readHouseholdRow(query, m_clock);
            row.headName = storedText(query, 12);
            rows[found->second] = listedOf(row);
        }
    }
    return rows;
}

} // namespace fenlark
