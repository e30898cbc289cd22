#include "registry/household_criteria.h"

#include "data/statement.h"
#include "registry/household_query.h"

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
        conditions.push_back({QStringLiteral("instr(',' || IFNULL(\"标签\", '') || ',', ',' || ? || ',') > 0"),
                              keyword, 0, true});
    }

    QString sql = QStringLiteral("SELECT ") + QString::fromUtf8(kHouseholdRowColumns)
                  + QStringLiteral(", IFNULL(\"户主\", ''), IFNULL(\"标签\", '') FROM \"成员信息\"");
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
        if (!keywordMatches(query.text(12), keyword))
            continue;
        HouseholdListRow row = readHouseholdRow(query, clock);
        row.headName = query.text(11);
        rows.push_back(std::move(row));
    }
    return rows;
}

QStringList distinctKeywordTexts(DBConnection &connection)
{
    QStringList texts;
    Statement query(connection, QStringLiteral("SELECT IFNULL(\"标签\", '') AS k FROM \"成员信息\" "
                                               "GROUP BY k ORDER BY min(rowid)"));
    while (query.step())
        texts << query.text(0);
    return texts;
}

} // namespace fenlark
