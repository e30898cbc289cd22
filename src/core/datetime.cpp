#include "core/datetime.h"

#include <algorithm>
#include <cmath>

namespace fenlark::daycount {

namespace {
// constexpr: usable from other files' static initialisers, which a runtime-built QDate is not.
constexpr QDate kEpoch = QDate::fromJulianDay(2415019); // 1899-12-30
constexpr qint64 kSecondsPerDay = 86400;
} // namespace

DateAndTime toDateAndTime(double days)
{
    if (std::isnan(days))
        days = kZero;
    // A first coarse limit keeps the arithmetic in range; the exact one follows on the
    // instant, because for negative counts the order of the values is not the order in time
    // (-657434.5 is noon of the first allowed day, later than -657434.0).
    days = std::clamp(days, kMin - 1.0, std::floor(kMax) + 1.0);
    const double whole = std::trunc(days);
    const double fraction = std::fabs(days - whole);
    qint64 seconds = static_cast<qint64>(whole) * kSecondsPerDay + std::llround(fraction * kSecondsPerDay);
    // Rounding to the second may carry into the next day; the time of day always runs
    // forward, so the carry goes forward also before the epoch.
    constexpr qint64 first = static_cast<qint64>(kMin) * kSecondsPerDay;
    constexpr qint64 last = static_cast<qint64>(kMax) * kSecondsPerDay + kSecondsPerDay - 1;
    seconds = std::clamp(seconds, first, last);
    const qint64 dayOffset =
        seconds >= 0 ? seconds / kSecondsPerDay : -((-seconds + kSecondsPerDay - 1) / kSecondsPerDay);
    const int secondOfDay = static_cast<int>(seconds - dayOffset * kSecondsPerDay);
    return {kEpoch.addDays(dayOffset), QTime(0, 0).addSecs(secondOfDay)};
}

QDateTime toDateTime(double days)
{
    const DateAndTime parts = toDateAndTime(days);
    return QDateTime(parts.date, parts.time);
}

double fromDateAndTime(const QDate &date, const QTime &time)
{
    const qint64 dayOffset = kEpoch.daysTo(date);
    const double fraction = time.msecsSinceStartOfDay() / 1000 / double(kSecondsPerDay);
    // Before the epoch the fraction is stored with the sign of the day: 1899-12-29 06:00 is -1.25.
    return dayOffset < 0 ? double(dayOffset) - fraction : double(dayOffset) + fraction;
}

double fromDateTime(const QDateTime &value)
{
    return fromDateAndTime(value.date(), value.time());
}

QString toStored(double days)
{
    const DateAndTime dt = toDateAndTime(days);
    const QDate &d = dt.date;
    const QTime &t = dt.time;
    return QStringLiteral("%1-%2-%3 %4:%5:%6")
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(t.hour(), 2, 10, QLatin1Char('0'))
        .arg(t.minute(), 2, 10, QLatin1Char('0'))
        .arg(t.second(), 2, 10, QLatin1Char('0'));
}

namespace {

// "HH:mm:ss" or "HH:mm" with two digits each: the stored form, read without QTime's general
// format parser because a query reads it once for every row it lists.
bool parseTwoDigitClock(QStringView text, QTime &time)
{
    auto digits = [&text](qsizetype at, int &value) {
        const char16_t high = text[at].unicode(), low = text[at + 1].unicode();
        if (high < u'0' || high > u'9' || low < u'0' || low > u'9')
            return false;
        value = (high - u'0') * 10 + (low - u'0');
        return true;
    };
    int hour = 0, minute = 0, second = 0;
    if (text.size() == 8) {
        if (text[2] != u':' || text[5] != u':' || !digits(0, hour) || !digits(3, minute) || !digits(6, second))
            return false;
    } else if (text.size() == 5) {
        if (text[2] != u':' || !digits(0, hour) || !digits(3, minute))
            return false;
    } else {
        return false;
    }
    time = QTime(hour, minute, second);
    return time.isValid();
}

} // namespace

bool parseStored(const QString &text, double &days)
{
    const QStringView s = QStringView(text).trimmed();
    // Year may have more than four digits only in theory; we clamp to 9999 anyway.
    const qsizetype dash1 = s.indexOf(u'-', 1);
    if (dash1 < 1)
        return false;
    const qsizetype dash2 = s.indexOf(u'-', dash1 + 1);
    if (dash2 < 0)
        return false;
    bool ok = false;
    const int year = s.left(dash1).toInt(&ok);
    if (!ok)
        return false;
    const int month = s.mid(dash1 + 1, dash2 - dash1 - 1).toInt(&ok);
    if (!ok)
        return false;
    const QStringView rest = s.mid(dash2 + 1);
    const qsizetype space = rest.indexOf(u' ') >= 0 ? rest.indexOf(u' ') : rest.indexOf(u'T');
    const int day = (space < 0 ? rest : rest.left(space)).toInt(&ok);
    if (!ok)
        return false;
    const QDate date(year, month, day);
    if (!date.isValid())
        return false;
    QTime time(0, 0);
    if (space >= 0) {
        const QStringView clock = rest.mid(space + 1);
        if (!parseTwoDigitClock(clock, time)) {
            // Anything else the general parser reads in these formats.
            const QString other = clock.toString();
            time = QTime::fromString(other, QStringLiteral("HH:mm:ss"));
            if (!time.isValid())
                time = QTime::fromString(other, QStringLiteral("HH:mm"));
            if (!time.isValid())
                return false;
        }
    }
    // Straight from the calendar fields: a local QDateTime asks the system for the time zone
    // (a stat of /etc/localtime) on every call.
    days = fromDateAndTime(date, time);
    return true;
}

} // namespace fenlark::daycount
