#include "registry/household_query.h"

#include "core/datetime.h"
#include "core/text.h"
#include "data/field_value.h"
#include "data/sql_dialect.h"
#include "data/statement.h"

#include <climits>

namespace fenlark {

const char kHouseholdRowColumns[] =
    "\"户主信息\", \"所属管辖\", \"农户属性\", \"是否计划生育\", \"是否合作医疗\", "
    "\"是否养老保险\", \"健康状况\", \"是否违法\", \"是否残疾\", \"是否党员\", \"录入时间\", \"录入年份\"";

namespace {

constexpr int kYearColumn = 11;

// An equality that reads NULL as the empty text, written so SQLite still uses the index.
QString textEquals(const char *column, const QString &value)
{
    const QString name = QString::fromUtf8(column);
    if (value.isEmpty())
        return QStringLiteral("(\"%1\" = '' OR \"%1\" IS NULL)").arg(name);
    return QStringLiteral("\"%1\" = ?").arg(name);
}

// Every row whose year may read as the year asked for, as a range on the (所属管辖, 录入年份)
// index: a stored fraction reads truncated toward zero, so year Y takes the numbers from Y up to
// Y + 1 (down to Y − 1 below zero). Texts and BLOBs (which sort after every number) are taken
// too, and so for 0 are NULLs and numbers beyond an int, which all read as 0; readsAsYear then
// settles each row exactly.
QString yearCandidates(const DBConnection &connection, int year)
{
    if (year == 0)
        return QStringLiteral("(\"录入年份\" IS NULL OR (\"录入年份\" > -1 AND \"录入年份\" < 1) OR "
                              "\"录入年份\" > 2147483647 OR \"录入年份\" < -2147483648)");
    const QString oddYear = storedAsTextTest(connection, QStringLiteral("\"录入年份\""));
    if (year > 0)
        return QStringLiteral("((\"录入年份\" >= ? AND \"录入年份\" < ?) OR %1)").arg(oddYear);
    return QStringLiteral("((\"录入年份\" > ? AND \"录入年份\" <= ?) OR %1)").arg(oddYear);
}

QString whereClause(const DBConnection &connection, const HouseholdFilter &filter, bool withParent)
{
    QString where = textEquals("所属管辖", filter.unit);
    if (withParent)
        where += QStringLiteral(" AND ") + textEquals("上级管辖", filter.parent);
    if (!filter.allYears)
        where += QStringLiteral(" AND ") + yearCandidates(connection, filter.year);
    return where;
}

int bindFilter(Statement &statement, const HouseholdFilter &filter, bool withParent)
{
    int index = 1;
    if (!filter.unit.isEmpty())
        statement.bind(index++, filter.unit);
    if (withParent && !filter.parent.isEmpty())
        statement.bind(index++, filter.parent);
    if (!filter.allYears && filter.year != 0) {
        // The range of numbers that truncate to the year: [Y, Y + 1), or (Y − 1, Y] below zero.
        const qint64 low = filter.year > 0 ? qint64(filter.year) : qint64(filter.year) - 1;
        statement.bind(index, low).bind(index + 1, low + 1);
        index += 2;
    }
    return index;
}

// The year as the record layer reads it: NULL as 0, a fraction truncated, nothing when it is
// no number or beyond an int.
std::optional<int> storedYear(const FieldValue &value)
{
    if (value.isNull())
        return 0;
    const std::optional<qint64> year = integerOf(value);
    if (!year || *year < INT_MIN || *year > INT_MAX)
        return std::nullopt;
    return int(*year);
}

// Whether the year of a candidate row reads as the filter's (an unreadable year reads as 0).
bool readsAsYear(const Statement &result, int column, const HouseholdFilter &filter)
{
    return filter.allYears || storedYear(result.value(column)).value_or(0) == filter.year;
}

// Whether any household of the unit keeps its year as a text or a BLOB. Without one the year
// range of yearCandidates is exact, and SQLite may count and page on its own.
bool yearsNeedReading(DBConnection &connection, const HouseholdFilter &filter)
{
    if (filter.allYears)
        return false;
    HouseholdFilter unitOnly = filter;
    unitOnly.allYears = true;
    Statement odd(connection, QStringLiteral("SELECT 1 FROM \"成员信息\" WHERE ") +
                                  whereClause(connection, unitOnly, false) + QStringLiteral(" AND ") +
                                  storedAsTextTest(connection, QStringLiteral("\"录入年份\"")) +
                                  QStringLiteral(" LIMIT 1"));
    bindFilter(odd, unitOnly, false);
    return odd.step();
}

} // namespace

QString storedText(const Statement &result, int column)
{
    return textForRead(ColumnKind::Text, result.value(column));
}

bool storedBool(const Statement &result, int column)
{
    return boolOf(result.value(column)).value_or(false);
}

HouseholdListRow readHouseholdRow(const Statement &result, const Clock &clock)
{
    HouseholdListRow row;
    const QStringList parts = splitFields(storedText(result, 0), u'-');
    row.headName = parts.value(0);
    row.headCard = parts.value(2);
    row.unit = storedText(result, 1);
    row.category = storedText(result, 2);
    row.familyPlanning = storedBool(result, 3);
    row.medicalCare = storedBool(result, 4);
    row.pensionInsurance = storedBool(result, 5);
    row.health = storedText(result, 6);
    row.offence = storedBool(result, 7);
    row.disabled = storedBool(result, 8);
    row.partyMember = storedBool(result, 9);
    // A date that cannot be read is the zero day count, which formatTimestamp shows as now.
    row.savedAt = formatTimestamp(dayCountOf(result.value(10)).value_or(daycount::kZero), clock);
    row.entryYear = storedYear(result.value(kYearColumn));
    return row;
}

int countHouseholds(DBConnection &connection, const HouseholdFilter &filter)
{
    if (!yearsNeedReading(connection, filter)) {
        Statement count(connection, QStringLiteral("SELECT count(*) FROM \"成员信息\" WHERE ") +
                                        whereClause(connection, filter, false));
        bindFilter(count, filter, false);
        return count.step() ? int(count.int64(0)) : 0;
    }
    // The candidates' years come from the index alone; each is then read as the list reads it.
    Statement years(connection, QStringLiteral("SELECT \"录入年份\" FROM \"成员信息\" WHERE ") +
                                    whereClause(connection, filter, false));
    bindFilter(years, filter, false);
    int count = 0;
    while (years.step()) {
        if (readsAsYear(years, 0, filter))
            ++count;
    }
    return count;
}

std::vector<HouseholdListRow> selectHouseholdPage(DBConnection &connection, const HouseholdFilter &filter,
                                                  qint64 offset, int limit, const Clock &clock)
{
    std::vector<HouseholdListRow> rows;
    const bool exact = !yearsNeedReading(connection, filter);
    QString sql = QStringLiteral("SELECT ") + QString::fromUtf8(kHouseholdRowColumns) +
                  QStringLiteral(" FROM \"成员信息\" WHERE ") + whereClause(connection, filter, true) +
                  QStringLiteral(" ORDER BY \"id\" DESC");
    if (exact)
        sql += QStringLiteral(" LIMIT ? OFFSET ?");
    Statement page(connection, sql);
    const int next = bindFilter(page, filter, true);
    if (exact) {
        page.bind(next, limit).bind(next + 1, offset);
        while (page.step())
            rows.push_back(readHouseholdRow(page, clock));
        return rows;
    }
    // With a year the candidates are checked one by one, so the page is counted off here.
    qint64 skip = offset;
    while (qint64(rows.size()) < limit && page.step()) {
        if (!readsAsYear(page, kYearColumn, filter))
            continue;
        if (skip > 0) {
            --skip;
            continue;
        }
        rows.push_back(readHouseholdRow(page, clock));
    }
    return rows;
}

std::vector<HouseholdListRow> selectByInitials(DBConnection &connection, const HouseholdFilter &filter,
                                               const QString &prefix, const Clock &clock)
{
    std::vector<HouseholdListRow> rows;
    QString sql = QStringLiteral("SELECT ") + QString::fromUtf8(kHouseholdRowColumns) +
                  QStringLiteral(", \"首拼音\" FROM \"成员信息\" WHERE ") + whereClause(connection, filter, false);
    if (!prefix.isEmpty()) {
        // Every text that begins with prefix sorts between prefix and prefix followed by the
        // highest character; the exact test below settles the rest.
        sql += QStringLiteral(" AND \"首拼音\" >= ? AND \"首拼音\" < ?");
    }
    sql += QStringLiteral(" ORDER BY rowid");
    Statement search(connection, sql);
    const int next = bindFilter(search, filter, false);
    if (!prefix.isEmpty())
        search.bind(next, prefix).bind(next + 1, prefix + QChar(0xDBFF) + QChar(0xDFFF));
    while (search.step()) {
        if (!readsAsYear(search, kYearColumn, filter))
            continue;
        if (!prefix.isEmpty() && !storedText(search, 12).startsWith(prefix))
            continue;
        rows.push_back(readHouseholdRow(search, clock));
    }
    return rows;
}

std::vector<HouseholdListRow> selectHouseholdsByIds(DBConnection &connection, const std::vector<qint64> &ids,
                                                    const Clock &clock)
{
    std::vector<HouseholdListRow> rows;
    Statement one(connection, QStringLiteral("SELECT ") + QString::fromUtf8(kHouseholdRowColumns) +
                                  QStringLiteral(" FROM \"成员信息\" WHERE rowid = ?"));
    for (const qint64 id : ids) {
        one.reset();
        one.bind(1, id);
        if (one.step())
            rows.push_back(readHouseholdRow(one, clock));
    }
    return rows;
}

} // namespace fenlark
