#pragma once

#include <QDateTime>
#include <QString>

namespace fenlark {

// A date-time of the register is a day count from 1899-12-30 00:00:00 as a double, the time
// of day as its fraction. For negative counts the fraction still runs forward within the day
// (-1.25 is 1899-12-29 06:00), as the office's earlier files stored them.
namespace daycount {

inline constexpr double kZero = 0.0;          // 1899-12-30 00:00:00
inline constexpr double kMin = -657434.0;     // 0100-01-01 00:00:00
inline constexpr double kMax = 2958465.99999; // 9999-12-31 23:59:59 (to the second)

// The calendar date and the time of day (to the second) a day count stands for, limited to
// 0100-01-01 00:00:00 … 9999-12-31 23:59:59 in time order. A count that is not a number
// (NaN) stands for the epoch. Built without any time zone, so no local clock change can move it.
struct DateAndTime {
    QDate date;
    QTime time;
};
DateAndTime toDateAndTime(double days);

QDateTime toDateTime(double days);           // local time, no zone conversion
double fromDateTime(const QDateTime &value); // the inverse, to the second
double fromDateAndTime(const QDate &date, const QTime &time);

// The stored form in the database: "YYYY-MM-DD HH:MM:SS", the year with at least four digits,
// so other SQLite tools read the file. parseStored accepts that form (and "YYYY-MM-DD").
QString toStored(double days);
bool parseStored(const QString &text, double &days);

} // namespace daycount
} // namespace fenlark
