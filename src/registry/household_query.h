#pragma once

#include "registry/household_row.h"

#include <QString>

#include <vector>

namespace fenlark {

class Clock;
class DBConnection;

// Which households the list shows: a unit, its parent unit (for the rows, not the count) and
// a year unless all years are asked for. A NULL text in the table matches the empty text, as
// the record layer reads NULL as "".
struct HouseholdFilter {
    QString unit;
    QString parent;
    int year = 0;
    bool allYears = false;
};

// Households of the unit and year, whatever their parent unit.
int countHouseholds(DBConnection &connection, const HouseholdFilter &filter);

// Rows of the unit, parent and year, newest first (id DESC), from offset on, at most limit.
std::vector<HouseholdListRow> selectHouseholdPage(DBConnection &connection, const HouseholdFilter &filter,
                                                  qint64 offset, int limit, const Clock &clock);

// Rows of the unit and year (parent unit not compared) whose 首拼音 begins with prefix (all of
// them for an empty prefix), in the table's stored order, without a page limit. The prefix is
// found as a range on the (所属管辖, 首拼音) index, then checked exactly.
std::vector<HouseholdListRow> selectByInitials(DBConnection &connection, const HouseholdFilter &filter,
                                               const QString &prefix, const Clock &clock);

// The list rows of the households with these rowids, in the order given (ids no longer
// stored are passed over).
std::vector<HouseholdListRow> selectHouseholdsByIds(DBConnection &connection, const std::vector<qint64> &ids,
                                                    const Clock &clock);

// The list row of one result of a query that selected kHouseholdRowColumns first.
class Statement;
HouseholdListRow readHouseholdRow(const Statement &result, const Clock &clock);
// A text or yes/no column of a result as the record layer reads it, whatever is stored (a BLOB
// reads as "[BLOB]", bytes that are not UTF-8 with replacement characters, a word or a fraction
// in a yes/no column as readBool takes it).
QString storedText(const Statement &result, int column);
bool storedBool(const Statement &result, int column);
extern const char kHouseholdRowColumns[];

} // namespace fenlark
