#include "registry/household_criteria.h"

#include "data/db_connection.h"
#include "data/field_value.h"
#include "data/keyword_catalogue.h"
#include "data/schema.h"
#include "data/statement.h"
#include "data/statistics_index.h"
#include "registry/household_query.h"

#include <QHash>

#include <algorithm>
#include <iterator>

namespace fenlark {

namespace {

// One criterion as a condition on the stored rows. The SQL finds candidates on an index; where
// an odd stored value (a word or a fraction in a yes/no column, a BLOB) may read otherwise than
// the SQL judges it, the row's column is read back and tested as the record layer reads it.
struct Condition {
    enum Kind { Unit, EmptyUnit, Parent, Flag, Health, Keyword };
    Kind kind = Unit;
    QString column;
    QString text;        // the unit, parent, health or keyword asked for
    bool wanted = false; // a switch's answer
    // How narrow an index on the condition is likely to make the query: a unit (about 300
    // households), a health text, a yes/no switch that asks for yes (the rarer answer in a
    // register), one that asks for no; 0: no index decides it.
    int narrowing = 0;
    // Whether the column is read back for the exact test.
    bool checked = false;
};

QString quoted(const QString &column)
{
    return u'"' + column + u'"';
}

// The left side each index is made on: exactly these expressions, or the store will not use it.
QString flagExpression(const QString &column)
{
    return QStringLiteral("(IFNULL(%1, 0) <> 0)").arg(quoted(column));
}

// The condition's SQL with at most one '?'; hidden writes the indexed side as +(...), the same
// test the store cannot answer from an index, so another condition's index is taken.
QString sqlOf(const Condition &c, bool hidden)
{
    const QString plus = hidden ? QStringLiteral("+") : QString();
    switch (c.kind) {
    case Condition::Unit:
        return plus + QStringLiteral("(\"所属管辖\") = ?");
    case Condition::EmptyUnit:
        return QStringLiteral("IFNULL(\"所属管辖\", '') = ?");
    case Condition::Parent:
        // The parent tells apart villages of one name under several townships; a stored BLOB
        // never reads as a real township's name, so plain equality is exact here.
        return QStringLiteral("IFNULL(\"上级管辖\", '') = ?");
    case Condition::Flag:
        // A nonzero integer always reads as yes, 0 and NULL as no (the expression is 0 for those
        // only); words, fractions and BLOBs need the exact reading (0.5 and 'abc' read as no,
        // 'TRUE' and 1.5 as yes), and the expression counts them all as not 0.
        if (c.wanted)
            return plus + flagExpression(c.column) + QStringLiteral(" = ?");
        return QStringLiteral("(%1%2 = ? OR typeof(%3) NOT IN ('integer', 'null'))")
            .arg(plus, flagExpression(c.column), quoted(c.column));
    case Condition::Health:
        // NULL reads as the empty text; a BLOB as "[BLOB]", or as the empty text when empty.
        if (c.checked)
            return QStringLiteral("(IFNULL(\"健康状况\", '') = ? OR typeof(\"健康状况\") = 'blob')");
        return plus + QStringLiteral("(IFNULL(\"健康状况\", '')) = ?");
    case Condition::Keyword:
        // A keyword with a replacement character can only come from bytes that are not UTF-8,
        // which no narrowing on the stored bytes finds: then every row is read and tested.
        if (c.text.contains(QChar(QChar::ReplacementCharacter)))
            return QStringLiteral("length(?) > 0");
        // A quick narrowing on the joined text; the exact test on the parts follows. A BLOB
        // reads as "[BLOB]", which may be the keyword.
        return QStringLiteral("(instr(',' || IFNULL(\"标签\", '') || ',', ',' || ? || ',') > 0 "
                              "OR typeof(\"标签\") = 'blob')");
    }
    return {};
}

bool keywordMatches(const QString &keywords, const QString &wanted)
{
    return wanted.isEmpty() || keywords.split(u',').contains(wanted);
}

Condition flagCondition(const char *column, bool wanted)
{
    return {Condition::Flag, QString::fromUtf8(column), {}, wanted, wanted ? 2 : 1, true};
}

std::vector<Condition> conditionsOf(const HouseholdCriteria &criteria)
{
    std::vector<Condition> conditions;
    if (criteria.unit) {
        // A plain equality for a named unit, so the unit index narrows the query to one village.
        if (criteria.unit->isEmpty())
            conditions.push_back({Condition::EmptyUnit, {}, QString(), false, 0, false});
        else
            conditions.push_back({Condition::Unit, {}, *criteria.unit, false, 4, false});
        if (criteria.parentUnit)
            conditions.push_back({Condition::Parent, {}, *criteria.parentUnit, false, 0, false});
    }
    const std::pair<const std::optional<bool> *, const char *> flags[] = {
        {&criteria.familyPlanning, "是否计划生育"},
        {&criteria.medicalCare, "是否合作医疗"},
        {&criteria.pensionInsurance, "是否养老保险"},
        {&criteria.offence, "是否违法"},
        {&criteria.disabled, "是否残疾"},
        {&criteria.petitioner, "是否上访户"},
        {&criteria.partyMember, "是否党员"},
    };
    for (const auto &[wanted, column] : flags) {
        if (*wanted)
            conditions.push_back(flagCondition(column, **wanted));
    }
    if (criteria.health) {
        // Only the empty text and "[BLOB]" can be read from a BLOB; any other health text is
        // found exactly by the index.
        const bool blobMayRead = criteria.health->isEmpty() || *criteria.health == QStringLiteral("[BLOB]");
        conditions.push_back(
            {Condition::Health, QStringLiteral("健康状况"), *criteria.health, false, blobMayRead ? 0 : 3, blobMayRead});
    }
    const QString keyword = criteria.keyword.value_or(QString());
    if (!keyword.isEmpty())
        conditions.push_back({Condition::Keyword, QStringLiteral("标签"), keyword, false, 0, true});
    return conditions;
}

// The store uses the index of one condition and tests the others on the rows it finds. Without
// statistics it may pick any indexed one (a switch over the whole county instead of a village's
// 300 rows), so all but the narrowest are hidden from the choice.
std::vector<bool> hiddenOf(const std::vector<Condition> &conditions)
{
    std::vector<bool> hidden(conditions.size(), false);
    const auto narrowest =
        std::max_element(conditions.begin(), conditions.end(),
                         [](const Condition &a, const Condition &b) { return a.narrowing < b.narrowing; });
    for (size_t i = 0; i < conditions.size(); ++i)
        hidden[i] = conditions.begin() + qsizetype(i) != narrowest && conditions[i].narrowing > 0;
    return hidden;
}

// The query of the conditions, their values bound: the columns asked for, then the column of
// every condition tested exactly, in the conditions' order (read by passes()).
Statement conditionsQuery(DBConnection &connection, const std::vector<Condition> &conditions, const QString &columns,
                          bool ordered)
{
    const std::vector<bool> hidden = hiddenOf(conditions);
    QString sql = QStringLiteral("SELECT ") + columns;
    for (const Condition &c : conditions) {
        if (c.checked)
            sql += QStringLiteral(", ") + quoted(c.column);
    }
    sql += QStringLiteral(" FROM \"成员信息\"");
    for (size_t i = 0; i < conditions.size(); ++i)
        sql += (i == 0 ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ")) + sqlOf(conditions[i], hidden[i]);
    if (ordered)
        sql += QStringLiteral(" ORDER BY rowid");

    Statement query(connection, sql);
    for (size_t i = 0; i < conditions.size(); ++i) {
        if (conditions[i].kind == Condition::Flag)
            query.bind(int(i) + 1, qint64(conditions[i].wanted ? 1 : 0));
        else
            query.bind(int(i) + 1, conditions[i].text);
    }
    return query;
}

// Whether a row the query found passes every condition exactly; its checked columns start at
// result column `first`.
bool passes(const Statement &query, const std::vector<Condition> &conditions, int first)
{
    int column = first;
    for (const Condition &c : conditions) {
        if (!c.checked)
            continue;
        switch (c.kind) {
        case Condition::Flag:
            if (storedBool(query, column) != c.wanted)
                return false;
            break;
        case Condition::Health:
            if (storedText(query, column) != c.text)
                return false;
            break;
        case Condition::Keyword:
            if (!keywordMatches(storedText(query, column), c.text))
                return false;
            break;
        default:
            break;
        }
        ++column;
    }
    return true;
}

} // namespace

std::vector<HouseholdListRow> selectByCriteria(DBConnection &connection, const HouseholdCriteria &criteria,
                                               const Clock &clock)
{
    const std::vector<Condition> conditions = conditionsOf(criteria);
    Statement query = conditionsQuery(connection, conditions,
                                      QString::fromUtf8(kHouseholdRowColumns) + QStringLiteral(", \"户主\""), true);
    constexpr int kHeadColumn = 12;
    std::vector<HouseholdListRow> rows;
    while (query.step()) {
        if (!passes(query, conditions, kHeadColumn + 1))
            continue;
        HouseholdListRow row = readHouseholdRow(query, clock);
        row.headName = storedText(query, kHeadColumn);
        rows.push_back(std::move(row));
    }
    return rows;
}

namespace {

// The rowids of every household whose switch reads as the condition asks, in order, or nothing
// when the register cannot answer it this way. A switch's index holds its expression and the
// stored value, but the store reads the table's row for any column a query names besides the
// indexed expression: asking for the stored value to test odd values exactly costs a table read
// per household found, 80,000 and more over every village. So only the rowids come from the
// switch's index, which judges every integer and NULL exactly, and the few households holding
// another kind of value in a yes/no column come from the statistics' index of odd values and
// are judged as the record layer reads them.
std::optional<std::vector<qint64>> flagIdsOnIndexes(DBConnection &connection, const Condition &flag)
{
    if (connection.isServer())
        return std::nullopt;
    bool counted = false;
    for (int f = 0; f < 2 * statisticsIndex::kPackCount; ++f)
        counted = counted || statisticsIndex::flagColumn(f) == flag.column;
    if (!counted || !indexExists(connection, statisticsIndex::oddValuesName))
        return std::nullopt;

    std::vector<qint64> odd;     // every household holding an odd value in any yes/no column
    std::vector<qint64> oddKept; // those of them whose switch reads as asked
    Statement oddRows(
        connection,
        QStringLiteral("SELECT rowid, %1 FROM %2 WHERE ").arg(quoted(flag.column), quoted(schema::households::table)) +
            statisticsIndex::oddFlagsCondition());
    while (oddRows.step()) {
        odd.push_back(oddRows.int64(0));
        if (storedBool(oddRows, 1) == flag.wanted)
            oddKept.push_back(oddRows.int64(0));
    }
    std::sort(odd.begin(), odd.end());
    std::sort(oddKept.begin(), oddKept.end());

    Statement found(connection, QStringLiteral("SELECT rowid FROM %1 WHERE %2 = ?")
                                    .arg(quoted(schema::households::table), flagExpression(flag.column)));
    found.bind(1, qint64(flag.wanted ? 1 : 0));
    std::vector<qint64> ids;
    while (found.step())
        ids.push_back(found.int64(0));
    if (!std::is_sorted(ids.begin(), ids.end()))
        std::sort(ids.begin(), ids.end());
    if (odd.empty())
        return ids;
    std::vector<qint64> plain;
    std::set_difference(ids.begin(), ids.end(), odd.begin(), odd.end(), std::back_inserter(plain));
    std::vector<qint64> all;
    std::set_union(plain.begin(), plain.end(), oddKept.begin(), oddKept.end(), std::back_inserter(all));
    return all;
}

// The rowids of the rows that pass the conditions, in order.
std::vector<qint64> idsOf(DBConnection &connection, const std::vector<Condition> &conditions)
{
    if (conditions.size() == 1 && conditions.front().kind == Condition::Flag) {
        if (auto ids = flagIdsOnIndexes(connection, conditions.front()))
            return std::move(*ids);
    }
    // Only the rowids (and the columns tested exactly) are read, and in no order asked of the
    // store: it may then answer from the smallest index that decides the conditions (for none
    // at all, any index) instead of walking the table's pages. The ids are put in order here;
    // those of one index key already are.
    Statement query = conditionsQuery(connection, conditions, QStringLiteral("rowid"), false);
    std::vector<qint64> ids;
    while (query.step()) {
        if (passes(query, conditions, 1))
            ids.push_back(query.int64(0));
    }
    if (!std::is_sorted(ids.begin(), ids.end()))
        std::sort(ids.begin(), ids.end());
    return ids;
}

} // namespace

std::vector<qint64> selectIdsByCriteria(DBConnection &connection, const HouseholdCriteria &criteria)
{
    const std::vector<Condition> conditions = conditionsOf(criteria);
    const bool oneUnit = criteria.unit && !criteria.unit->isEmpty();
    const auto indexed =
        std::count_if(conditions.begin(), conditions.end(), [](const Condition &c) { return c.narrowing > 0; });
    if (oneUnit || indexed < 2)
        return idsOf(connection, conditions);

    // Several criteria over every village: the store would take one index and read the table's
    // row for every household it finds there to test the others, 100,000 rows and more at a
    // million. Instead each criterion's rows come from its own index, which holds the rowids
    // and the column tested, and the lists are intersected here.
    // A switch that asks for no matches most of a register: its rows are taken away as the
    // complement of those that read as yes (every value reads as yes or no, so the two answers
    // divide the register), after the criteria that select rows.
    std::vector<Condition> ordered = conditions;
    std::stable_partition(ordered.begin(), ordered.end(), [](const Condition &c) { return c.narrowing != 1; });
    std::vector<qint64> ids;
    bool first = true;
    for (const Condition &condition : ordered) {
        const bool complement = !first && condition.narrowing == 1;
        Condition asked = condition;
        if (complement)
            asked.wanted = true;
        const std::vector<qint64> these = idsOf(connection, {asked});
        std::vector<qint64> kept;
        if (first)
            kept = these;
        else if (complement)
            std::set_difference(ids.begin(), ids.end(), these.begin(), these.end(), std::back_inserter(kept));
        else
            std::set_intersection(ids.begin(), ids.end(), these.begin(), these.end(), std::back_inserter(kept));
        ids = std::move(kept);
        first = false;
        if (ids.empty())
            break;
    }
    return ids;
}

namespace {

// The texts of found (plain texts, each shown by one group only) and odd (groups whose shown
// text may equal another's), each text once with the first row of any group showing it, in
// the order of those first rows.
TextTable mergedByFirstRow(std::vector<std::pair<qint64, QString>> found, std::vector<std::pair<qint64, QString>> odd)
{
    if (!odd.empty()) {
        QHash<QString, size_t> at;
        at.reserve(qsizetype(found.size() + odd.size()));
        for (size_t i = 0; i < found.size(); ++i)
            at.insert(found[i].second, i);
        for (auto &[row, text] : odd) {
            if (const auto same = at.constFind(text); same != at.cend()) {
                found[*same].first = std::min(found[*same].first, row);
            } else {
                at.insert(text, found.size());
                found.emplace_back(row, std::move(text));
            }
        }
    }
    const auto byFirstRow = [](const auto &a, const auto &b) { return a.first < b.first; };
    if (!std::is_sorted(found.begin(), found.end(), byFirstRow))
        std::sort(found.begin(), found.end(), byFirstRow);
    TextTable table;
    qsizetype characters = 0;
    for (const auto &entry : found)
        characters += entry.second.size();
    table.reserve(qsizetype(found.size()), characters);
    for (const auto &entry : found)
        table.append(entry.second);
    return table;
}

} // namespace

TextTable keywordTextTable(DBConnection &connection)
{
    // The groups are by stored value; the list is by the text a read shows. Those differ for the
    // odd values a hand-made or imported file may hold: a NULL shows as the empty text, every
    // blob as "[BLOB]", and texts that are no valid UTF-8 may show alike. So groups that show the
    // same text are merged here, each text keeping its first row, exactly as a walk over every
    // record would see them. A group of plain text (valid UTF-8, not empty) shows a text no
    // other such group shows, so those need no merging; only the few odd groups are looked up
    // among them.
    //
    // A register file keeps its distinct values with their first rows in the keyword catalogue,
    // already in first-row order: a short scan however many households there are. A server
    // register, and a file that could not be given the catalogue, group the households in one
    // ordered pass over the 标签 index, which holds (标签, rowid): read once from end to end
    // without touching the table. A text per statement cost a statement per text, seconds for a
    // few hundred thousand of them.
    const bool catalogued = keywordCatalogueReady(connection);
    Statement groups(connection,
                     catalogued ? keywordCatalogue::orderedSql()
                                : QStringLiteral("SELECT \"标签\", min(rowid) FROM \"成员信息\" GROUP BY \"标签\""));
    // Texts read as the households' own column reads them, whatever the catalogue declares.
    const ColumnKind kind = columnKindFromDeclaredType(
        catalogued ? Statement(connection, QStringLiteral("SELECT \"标签\" FROM \"成员信息\" LIMIT 0")).declaredType(0)
                   : groups.declaredType(0));
    const bool textColumn = kind == ColumnKind::Text || kind == ColumnKind::Untyped;
    const auto isPlain = [](const QString &text) {
        return !text.isEmpty() && !text.contains(QChar(QChar::ReplacementCharacter));
    };

    std::vector<std::pair<qint64, QString>> odd;
    if (catalogued && textColumn) {
        // The plain texts go straight into the table in the catalogue's order; the catalogue says
        // which values are stored as text, so those are read without their bytes copied first.
        TextTable table;
        std::vector<qint64> rows;
        Statement size(connection, QStringLiteral("SELECT count(*) FROM %1").arg(quoted(keywordCatalogue::table)));
        const qsizetype count = size.step() ? qsizetype(size.int64(0)) : 0;
        table.reserve(count, 12 * count);
        rows.reserve(size_t(count));
        while (groups.step()) {
            const qint64 row = groups.int64(1);
            const bool storedAsText = groups.int64(2) == 1;
            QString text = storedAsText ? groups.text(0) : textForRead(kind, groups.value(0));
            if (storedAsText && isPlain(text)) {
                table.append(text);
                rows.push_back(row);
            } else {
                odd.emplace_back(row, std::move(text));
            }
        }
        if (odd.empty())
            return table;
        // A few odd values: merged with the rest below, as for any register.
        std::vector<std::pair<qint64, QString>> found;
        found.reserve(rows.size() + odd.size());
        for (size_t i = 0; i < rows.size(); ++i)
            found.emplace_back(rows[i], table.at(qsizetype(i)).toString());
        return mergedByFirstRow(std::move(found), std::move(odd));
    }
    std::vector<std::pair<qint64, QString>> found;
    while (groups.step()) {
        const qint64 row = groups.int64(1);
        const FieldValue value = groups.value(0);
        QString text = textForRead(kind, value);
        const bool plain =
            textColumn && value.type == FieldValue::Type::Text && !value.bytes.isEmpty() && isPlain(text);
        (plain ? found : odd).emplace_back(row, std::move(text));
    }
    return mergedByFirstRow(std::move(found), std::move(odd));
}

QStringList distinctKeywordTexts(DBConnection &connection)
{
    return keywordTextTable(connection).toStringList();
}

} // namespace fenlark
