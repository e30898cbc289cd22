#include "cards/member_search.h"

#include "data/member_card_index.h"
#include "data/statement.h"

#include <QStringList>

#include <algorithm>
#include <set>

namespace fenlark {

namespace {

bool isCardCharacter(QChar c)
{
    return (c >= u'0' && c <= u'9') || c == u'X' || c == u'x';
}

bool looksLikeCard(const QString &fragment)
{
    return std::all_of(fragment.begin(), fragment.end(), isCardCharacter);
}

// The highest character, so [prefix, prefix + highest) holds every text beginning with prefix.
QString rangeEnd(const QString &prefix)
{
    return prefix + QChar(0xDBFF) + QChar(0xDFFF);
}

void withinUnit(DBConnection &connection, const MemberSearchScope &scope, const QString &fragment,
                MemberSearchResult &result)
{
    // One unit (and year) is a short range of the (所属管辖, 录入年份) index: testing each member
    // there is faster than any index of fragments, and finds a card fragment anywhere.
    QString sql = QStringLiteral("SELECT DISTINCT \"户id\" FROM \"成员身份证\" WHERE ");
    sql += scope.unit.isEmpty() ? QStringLiteral("(\"所属管辖\" = '' OR \"所属管辖\" IS NULL)")
                                : QStringLiteral("\"所属管辖\" = ?1");
    if (!scope.allYears) {
        sql += scope.year == 0 ? QStringLiteral(" AND (\"录入年份\" = 0 OR \"录入年份\" IS NULL)")
                               : QStringLiteral(" AND \"录入年份\" = ?2");
    }
    sql += QStringLiteral(" AND (instr(\"姓名\", ?3) > 0 OR instr(upper(\"身份证号\"), upper(?3)) > 0) "
                          "ORDER BY \"户id\"");
    Statement query(connection, sql);
    if (!scope.unit.isEmpty())
        query.bind(1, scope.unit);
    if (!scope.allYears && scope.year != 0)
        query.bind(2, scope.year);
    query.bind(3, fragment);
    while (query.step())
        result.households.push_back(query.int64(0));
}

void byName(DBConnection &connection, const QString &fragment, int limit, std::set<qint64> &found)
{
    for (const qint64 household : householdsByMemberName(connection, fragment, limit))
        found.insert(household);
}

void byCardStart(DBConnection &connection, const QString &fragment, int limit, std::set<qint64> &found)
{
    Statement query(connection, QStringLiteral("SELECT DISTINCT \"户id\" FROM \"成员身份证\" WHERE "
                                               "(\"身份证号\" >= ?1 AND \"身份证号\" < ?2) OR "
                                               "(\"身份证号\" >= ?3 AND \"身份证号\" < ?4) LIMIT ?5"));
    // A final x of the fragment may be stored either way.
    const QString upper = fragment.toUpper();
    QString lower = upper;
    if (lower.endsWith(u'X'))
        lower.back() = u'x';
    query.bind(1, upper).bind(2, rangeEnd(upper)).bind(3, lower).bind(4, rangeEnd(lower)).bind(5, limit);
    while (query.step())
        found.insert(query.int64(0));
}

} // namespace

MemberSearchResult findHouseholdsByMember(DBConnection &connection, const MemberSearchScope &scope,
                                          const QString &fragment, int limit)
{
    MemberSearchResult result;
    if (fragment.isEmpty() || !ensureMemberCardIndex(connection))
        return result;
    if (!scope.everywhere) {
        withinUnit(connection, scope, fragment, result);
        return result;
    }
    // One more than the limit tells whether there were more.
    std::set<qint64> found;
    byName(connection, fragment, limit + 1, found);
    if (looksLikeCard(fragment))
        byCardStart(connection, fragment, limit + 1, found);
    result.households.assign(found.begin(), found.end());
    if (int(result.households.size()) > limit) {
        result.households.resize(size_t(limit));
        result.truncated = true;
    }
    return result;
}

} // namespace fenlark
