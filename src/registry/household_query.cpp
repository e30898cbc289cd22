#include "registry/household_query.h"

#include "core/datetime.h"
#include "core/text.h"
#include "data/statement.h"

namespace fenlark {

const char kHouseholdRowColumns[] =
    "\"户主信息\", \"所属管辖\", \"农户属性\", \"是否计划生育\", \"是否合作医疗\", "
    "\"是否养老保险\", \"健康状况\", \"是否违法\", \"是否残疾\", \"是否党员\", \"录入时间\"";

namespace {

// An equality that reads NULL as the empty text, written so SQLite still uses the index.
QString textEquals(const char *column, const QString &value)
{
    const QString name = QString::fromUtf8(column);
    if (value.isEmpty())
        return QStringLiteral("(\"%1\" = '' OR \"%1\" IS NULL)").arg(name);
    return QStringLiteral("\"%1\" = ?").arg(name);
}

QString yearEquals(int year)
{
    // A NULL year reads as 0.
    if (year == 0)
        return QStringLiteral("(\"录入年份\" = 0 OR \"录入年份\" IS NULL)");
    return QStringLiteral("\"录入年份\" = ?");
}

QString whereClause(const HouseholdFilter &filter, bool withParent)
{
    QString where = textEquals("所属管辖", filter.unit);
    if (withParent)
        where += QStringLiteral(" AND ") + textEquals("上级管辖", filter.parent);
    if (!filter.allYears)
        where += QStringLiteral(" AND ") + yearEquals(filter.year);
    return where;
}

int bindFilter(Statement &statement, const HouseholdFilter &filter, bool withParent)
{
    int index = 1;
    if (!filter.unit.isEmpty())
        statement.bind(index++, filter.unit);
    if (withParent && !filter.parent.isEmpty())
        statement.bind(index++, filter.parent);
    if (!filter.allYears && filter.year != 0)
        statement.bind(index++, filter.year);
    return index;
}

bool storedBool(const Statement &result, int column)
{
    return !result.isNull(column) && result.int64(column) != 0;
}

double storedDateTime(const Statement &result, int column)
{
    if (result.isNull(column))
        return daycount::kZero;
    double days = daycount::kZero;
    const QString text = result.text(column);
    if (daycount::parseStored(text, days))
        return days;
    bool numeric = false;
    days = text.toDouble(&numeric);
    return numeric ? days : daycount::kZero;
}

} // namespace

HouseholdListRow readHouseholdRow(const Statement &result, const Clock &clock)
{
    HouseholdListRow row;
    const QStringList parts = splitFields(result.text(0), u'-');
    row.headName = parts.value(0);
    row.headCard = parts.value(2);
    row.unit = result.text(1);
    row.category = result.text(2);
    row.familyPlanning = storedBool(result, 3);
    row.medicalCare = storedBool(result, 4);
    row.pensionInsurance = storedBool(result, 5);
    row.health = result.text(6);
    row.offence = storedBool(result, 7);
    row.disabled = storedBool(result, 8);
    row.partyMember = storedBool(result, 9);
    row.savedAt = formatTimestamp(storedDateTime(result, 10), clock);
    return row;
}

int countHouseholds(DBConnection &connection, const HouseholdFilter &filter)
{
    Statement count(connection,
                    QStringLiteral("SELECT count(*) FROM \"成员信息\" WHERE ") + whereClause(filter, false));
    bindFilter(count, filter, false);
    return count.step() ? int(count.int64(0)) : 0;
}

std::vector<HouseholdListRow> selectHouseholdPage(DBConnection &connection, const HouseholdFilter &filter,
                                                  qint64 offset, int limit, const Clock &clock)
{
    std::vector<HouseholdListRow> rows;
    Statement page(connection, QStringLiteral("SELECT ") + QString::fromUtf8(kHouseholdRowColumns) +
                                   QStringLiteral(" FROM \"成员信息\" WHERE ") + whereClause(filter, true) +
                                   QStringLiteral(" ORDER BY \"id\" DESC LIMIT ? OFFSET ?"));
    const int next = bindFilter(page, filter, true);
    page.bind(next, limit).bind(next + 1, offset);
    while (page.step())
        rows.push_back(readHouseholdRow(page, clock));
    return rows;
}

std::vector<HouseholdListRow> selectByInitials(DBConnection &connection, const HouseholdFilter &filter,
                                               const QString &prefix, const Clock &clock)
{
    std::vector<HouseholdListRow> rows;
    QString sql = QStringLiteral("SELECT ") + QString::fromUtf8(kHouseholdRowColumns) +
                  QStringLiteral(", \"首拼音\" FROM \"成员信息\" WHERE ") + whereClause(filter, false);
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
        if (!prefix.isEmpty() && !search.text(11).startsWith(prefix))
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
