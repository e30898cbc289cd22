#pragma once

// The household list, the search and the query as they were first written: a walk over every
// record of the record set, filtering as it reads. Too slow for a county register, but plainly
// right, so the tests compare the SQL versions with them and the benchmarks time them beside.
#include <QString>
#include <QStringList>

namespace fenlark {

class Clock;
class DBConnection;
struct HouseholdCriteria;

struct PageWalk {
    int count = 0;    // households of the unit and year, whatever their parent unit
    QStringList rows; // the page's rows, their 13 cells joined by "|" (check cells as 0 or 1)
};

// The count, then the page (0 reads as 1) of the unit, parent and year, newest first.
PageWalk literalPageWalk(DBConnection &connection, const QString &unit, const QString &parent, bool allYears, int year,
                         int page, const Clock &clock);

// The whole table in stored order, the unit and year compared, then the first letters of the
// initials. Returns the head names shown.
QStringList literalSearch(DBConnection &connection, const QString &unit, bool allYears, int year, const QString &text);

// The same, the rows listed with their 13 cells joined by "|" as PageWalk holds them.
QStringList literalSearchRows(DBConnection &connection, const QString &unit, bool allYears, int year,
                              const QString &text, const Clock &clock);

// Every record read, the criteria tested in order. Returns the 户主 of the households listed.
QStringList literalQuery(DBConnection &connection, const HouseholdCriteria &c);
// The same, the rows listed with their 13 cells (column 1 holds 户主).
QStringList literalQueryRows(DBConnection &connection, const HouseholdCriteria &c, const Clock &clock);

// The query window's keyword list: every record's 标签 read as text, each text once, in the order
// of first occurrence.
QStringList literalKeywords(DBConnection &connection);

// Every record's 标签 read as text, each text kept the first time it shows: the query window's
// keyword list.
QStringList literalKeywordTexts(DBConnection &connection);

} // namespace fenlark
