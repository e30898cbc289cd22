#include "registry/household_criteria.h"

#include "data/statement.h"
#include "registry/household_query.h"

#include <algorithm>

namespace fenlark {

namespace {

struct Condition {
    QString sql;
    QString text;      // bound when isText
    qint64 number = 0; // bound otherwise
    bool isText = false;
};

// A yes/no column reads as true when its value is not 0; NULL reads as false.
Condition flagEquals(const char *column, bool wanted)
{
    return {QStringLiteral("(IFNULL(\"%1\", 0) <> 0) = ?").arg(QString::fromUtf8(column)), {}, wanted ? 1 : 0, false};
}

// A text equality that reads NULL as the empty text.
Condition textIs(const char *column, const QString &value)
{
    return {QStringLiteral("IFNULL(\"%1\", '') = ?").arg(QString::fromUtf8(column)), value, 0, true};
}

bool keywordMatches(const QString &keywords, const QString &wanted)
{
    return wanted.isEmpty() || keywords.split(u',').contains(wanted);
}

} // namespace

std::vector<HouseholdListRow> selectByCriteria(DBConnection &connection, const HouseholdCriteria &criteria,
                                               const Clock &clock)
{
    std::vector<Condition> conditions;
    if (criteria.unit) {
        // A plain equality for a named unit, so the unit index narrows the query to one village.
        if (criteria.unit->isEmpty())
            conditions.push_back(textIs("所属管辖", QString()));
        else
            conditions.push_back({QStringLiteral("\"所属管辖\" = ?"), *criteria.unit, 0, true});
    }
    if (criteria.familyPlanning)
        conditions.push_back(flagEquals("是否计划生育", *criteria.familyPlanning));
    if (criteria.medicalCare)
        conditions.push_back(flagEquals("是否合作医疗", *criteria.medicalCare));
    if (criteria.pensionInsurance)
        conditions.push_back(flagEquals("是否养老保险", *criteria.pensionInsurance));
    if (criteria.health)
        conditions.push_back(textIs("健康状况", *criteria.health));
    if (criteria.offence)
        conditions.push_back(flagEquals("是否违法", *criteria.offence));
    if (criteria.disabled)
        conditions.push_back(flagEquals("是否残疾", *criteria.disabled));
    if (criteria.petitioner)
        conditions.push_back(flagEquals("是否上访户", *criteria.petitioner));
    if (criteria.partyMember)
        conditions.push_back(flagEquals("是否党员", *criteria.partyMember));
    const QString keyword = criteria.keyword.value_or(QString());
    if (!keyword.isEmpty()) {
        // A quick narrowing on the joined text; the exact test on the parts follows below.
        conditions.push_back(
            {QStringLiteral("instr(',' || IFNULL(\"标签\", '') || ',', ',' || ? || ',') > 0"), keyword, 0, true});
    }

    QString sql = QStringLiteral("SELECT ") + QString::fromUtf8(kHouseholdRowColumns) +
                  QStringLiteral(", IFNULL(\"户主\", ''), IFNULL(\"标签\", '') FROM \"成员信息\"");
    for (size_t i = 0; i < conditions.size(); ++i)
        sql += (i == 0 ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ")) + conditions[i].sql;
    sql += QStringLiteral(" ORDER BY rowid");

    Statement query(connection, sql);
    for (size_t i = 0; i < conditions.size(); ++i) {
        if (conditions[i].isText)
            query.bind(int(i) + 1, conditions[i].text);
        else
            query.bind(int(i) + 1, conditions[i].number);
    }
    std::vector<HouseholdListRow> rows;
    while (query.step()) {
        if (!keywordMatches(query.text(13), keyword))
            continue;
        HouseholdListRow row = readHouseholdRow(query, clock);
        row.headName = query.text(12);
        rows.push_back(std::move(row));
    }
    return rows;
}

QStringList distinctKeywordTexts(DBConnection &connection)
{
    // A county register has a million rows but only a handful of distinct keyword texts, so
    // the texts are stepped through on the 标签 index one by one, each with the first row that
    // holds it, instead of grouping the whole table. A NULL reads as the empty text.
    std::vector<std::pair<qint64, QString>> found;
    auto firstRowOf = [&connection](const QString &text) -> qint64 {
        Statement first(connection, QStringLiteral("SELECT min(rowid) FROM \"成员信息\" WHERE \"标签\" = ?"));
        first.bind(1, text);
        return first.step() && !first.isNull(0) ? first.int64(0) : -1;
    };
    qint64 emptyRow = -1;
    {
        Statement nulls(connection, QStringLiteral("SELECT min(rowid) FROM \"成员信息\" WHERE \"标签\" IS NULL"));
        if (nulls.step() && !nulls.isNull(0))
            emptyRow = nulls.int64(0);
    }
    // Text values in index order: the smallest, then each one just above the last.
    Statement smallest(connection, QStringLiteral("SELECT \"标签\" FROM \"成员信息\" WHERE \"标签\" IS NOT NULL "
                                                  "ORDER BY \"标签\" LIMIT 1"));
    Statement above(connection, QStringLiteral("SELECT \"标签\" FROM \"成员信息\" WHERE \"标签\" > ? "
                                               "ORDER BY \"标签\" LIMIT 1"));
    bool more = smallest.step();
    QString text = more ? smallest.text(0) : QString();
    while (more) {
        const qint64 row = firstRowOf(text);
        if (text.isEmpty())
            emptyRow = emptyRow < 0 ? row : std::min(emptyRow, row);
        else
            found.emplace_back(row, text);
        above.reset();
        above.bind(1, text);
        more = above.step();
        if (more)
            text = above.text(0);
    }
    if (emptyRow >= 0)
        found.emplace_back(emptyRow, QString());
    std::sort(found.begin(), found.end());
    QStringList texts;
    for (const auto &entry : found)
        texts << entry.second;
    return texts;
}

} // namespace fenlark
