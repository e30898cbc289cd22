#include "registry/household_criteria.h"

#include "data/field_value.h"
#include "data/statement.h"
#include "registry/household_query.h"

#include <QHash>

#include <algorithm>

namespace fenlark {

namespace {

struct Condition {
    QString sql;
    QString text;      // bound when isText
    qint64 number = 0; // bound otherwise
    bool isText = false;
};

// The rows whose yes/no column may read as wanted; storedBool settles each one exactly. A
// nonzero integer always reads as yes and 0 as no; NULLs, fractions, words and BLOBs need the
// exact reading (0.5 and 'abc' read as no, 'TRUE' and 1.5 as yes).
Condition flagCandidates(const char *column, bool wanted)
{
    const QString name = QString::fromUtf8(column);
    if (wanted)
        return {QStringLiteral("IFNULL(\"%1\", 0) <> 0").arg(name), {}, 0, false};
    return {QStringLiteral("(typeof(\"%1\") <> 'integer' OR \"%1\" = ?)").arg(name), {}, 0, false};
}

// The rows whose text column may read as value (a BLOB reads as "[BLOB]", or as the empty
// text when it is empty); storedText settles each one exactly. NULL reads as the empty text.
Condition textCandidates(const char *column, const QString &value)
{
    return {QStringLiteral("(IFNULL(\"%1\", '') = ? OR typeof(\"%1\") = 'blob')").arg(QString::fromUtf8(column)), value,
            0, true};
}

bool keywordMatches(const QString &keywords, const QString &wanted)
{
    return wanted.isEmpty() || keywords.split(u',').contains(wanted);
}

// Result columns after the twelve of the list row.
constexpr int kHeadColumn = 12;
constexpr int kKeywordsColumn = 13;
constexpr int kPetitionerColumn = 14;

} // namespace

std::vector<HouseholdListRow> selectByCriteria(DBConnection &connection, const HouseholdCriteria &criteria,
                                               const Clock &clock)
{
    std::vector<Condition> conditions;
    if (criteria.unit) {
        // A plain equality for a named unit, so the unit index narrows the query to one village.
        if (criteria.unit->isEmpty())
            conditions.push_back({QStringLiteral("IFNULL(\"所属管辖\", '') = ?"), QString(), 0, true});
        else
            conditions.push_back({QStringLiteral("\"所属管辖\" = ?"), *criteria.unit, 0, true});
        if (criteria.parentUnit)
            // The parent tells apart villages of one name under several townships; a stored
            // BLOB never reads as a real township's name, so plain equality is exact here.
            conditions.push_back({QStringLiteral("IFNULL(\"上级管辖\", '') = ?"), *criteria.parentUnit, 0, true});
    }
    // The yes/no criteria with the result column each is read from.
    const std::pair<const std::optional<bool> *, std::pair<const char *, int>> flags[] = {
        {&criteria.familyPlanning, {"是否计划生育", 3}},
        {&criteria.medicalCare, {"是否合作医疗", 4}},
        {&criteria.pensionInsurance, {"是否养老保险", 5}},
        {&criteria.offence, {"是否违法", 7}},
        {&criteria.disabled, {"是否残疾", 8}},
        {&criteria.petitioner, {"是否上访户", kPetitionerColumn}},
        {&criteria.partyMember, {"是否党员", 9}},
    };
    for (const auto &[wanted, column] : flags) {
        if (*wanted)
            conditions.push_back(flagCandidates(column.first, **wanted));
    }
    if (criteria.health)
        conditions.push_back(textCandidates("健康状况", *criteria.health));
    const QString keyword = criteria.keyword.value_or(QString());
    // A quick narrowing on the stored text; the exact test on the parts read follows below. A
    // keyword with a replacement character can only come from bytes that are not UTF-8, which
    // no narrowing on the stored bytes finds, so then every row is read.
    if (!keyword.isEmpty() && !keyword.contains(QChar(QChar::ReplacementCharacter))) {
        conditions.push_back({QStringLiteral("(instr(',' || IFNULL(\"标签\", '') || ',', ',' || ? || ',') > 0 "
                                             "OR typeof(\"标签\") = 'blob')"),
                              keyword, 0, true});
    }

    QString sql = QStringLiteral("SELECT ") + QString::fromUtf8(kHouseholdRowColumns) +
                  QStringLiteral(", \"户主\", \"标签\", \"是否上访户\" FROM \"成员信息\"");
    for (size_t i = 0; i < conditions.size(); ++i)
        sql += (i == 0 ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ")) + conditions[i].sql;
    sql += QStringLiteral(" ORDER BY rowid");

    Statement query(connection, sql);
    int index = 1;
    for (const Condition &condition : conditions) {
        if (condition.isText)
            query.bind(index++, condition.text);
        else if (condition.sql.contains(u'?'))
            query.bind(index++, condition.number);
    }
    std::vector<HouseholdListRow> rows;
    while (query.step()) {
        bool passes = true;
        for (const auto &[wanted, column] : flags) {
            if (*wanted && storedBool(query, column.second) != **wanted)
                passes = false;
        }
        if (criteria.health && storedText(query, 6) != *criteria.health)
            passes = false;
        if (!passes || !keywordMatches(storedText(query, kKeywordsColumn), keyword))
            continue;
        HouseholdListRow row = readHouseholdRow(query, clock);
        row.headName = storedText(query, kHeadColumn);
        rows.push_back(std::move(row));
    }
    return rows;
}

QStringList distinctKeywordTexts(DBConnection &connection)
{
    // One ordered pass over the 标签 index, the store grouping equal stored values and naming
    // the first row of each: the index holds (标签, rowid), so this reads it once from end to end
    // without touching the table, however many distinct texts there are. A text per statement
    // cost a statement per text, seconds for a few hundred thousand of them.
    //
    // The groups are by stored value; the list is by the text a read shows. Those differ for the
    // odd values a hand-made or imported file may hold: a NULL shows as the empty text, every
    // blob as "[BLOB]", and texts that are no valid UTF-8 may show alike. So groups that show the
    // same text are merged here, each text keeping its first row, exactly as a walk over every
    // record would see them.
    Statement groups(connection, QStringLiteral("SELECT \"标签\", min(rowid) FROM \"成员信息\" GROUP BY \"标签\""));
    const ColumnKind kind = columnKindFromDeclaredType(groups.declaredType(0));
    QHash<QString, qint64> firstRow;
    while (groups.step()) {
        const qint64 row = groups.int64(1);
        const QString text = textForRead(kind, groups.value(0));
        if (const auto at = firstRow.find(text); at == firstRow.end())
            firstRow.insert(text, row);
        else if (row < *at)
            *at = row;
    }
    std::vector<std::pair<qint64, QString>> found;
    found.reserve(size_t(firstRow.size()));
    for (auto at = firstRow.cbegin(); at != firstRow.cend(); ++at)
        found.emplace_back(at.value(), at.key());
    std::sort(found.begin(), found.end());
    QStringList texts;
    texts.reserve(qsizetype(found.size()));
    for (auto &entry : found)
        texts << std::move(entry.second);
    return texts;
}

} // namespace fenlark
