#pragma once

#include "registry/household_row.h"

#include <QString>

namespace fenlark {

class Clock;
class ValueQuery;

// The columns of 成员信息 a household-list row is made of, as an SQL select list, in the
// order householdRowAt reads them.
QString householdListColumns();

// The list row of the result row query is on (its columns as householdListColumns names
// them), converted exactly as the record layer's reads convert them: NULL texts read "",
// yes/no values are true when not 0, an unreadable date-time is the zero date-time.
// Column 1 and 2 are the first and third "-" parts of 户主信息 ("" for a missing part).
HouseholdListRow householdRowAt(const ValueQuery &query, const Clock &clock);

// The same texts the record layer's readText gives for column `column` of the result row.
QString readTextAt(const ValueQuery &query, int column);

// The first and third "-" parts of a packed head record; "" for a part it lacks.
QString headNameOf(const QString &headInfo);
QString headCardOf(const QString &headInfo);

// An SQL test that a text column equals the bound parameter `?n` as the record layer reads
// it (NULL reads as ""): the plain equality, which an index serves, unless value is empty.
QString textEqualsSql(const QString &column, int parameter, const QString &value);
// The same for an integer column read as int (NULL reads as 0).
QString intEqualsSql(const QString &column, int parameter, qint64 value);

} // namespace fenlark
