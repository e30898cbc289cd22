#include "core/datetime.h"

#include <algorithm>
#include <cmath>

namespace fenlark::daycount {

namespace {
const QDate kEpoch(1899, 12, 30);
constexpr qint64 kSecondsPerDay = 86400;
} // namespace

QDateTime toDateTime(double days)
{
    if (!std::isfinite(days))
        days = kZero;
    days = std::clamp(days, kMin, kMax);
    const double whole = std::trunc(days);
    const double fraction = std::fabs(days - whole);
    qint64 seconds = std::llround(fraction * kSecondsPerDay);
    qint64 dayOffset = static_cast<qint64>(whole);
    if (seconds >= kSecondsPerDay) { // rounding carried into the next day
        seconds -= kSecondsPerDay;
        dayOffset += days < 0 ? -1 : 1;
    }
    const QDate date = kEpoch.addDays(dayOffset);
    return QDateTime(date, QTime(0, 0).addSecs(static_cast<int>(seconds)));
}

double fromDateTime(const QDateTime &value)
{
    const qint64 dayOffset = kEpoch.daysTo(value.date());
    const double fraction = value.time().msecsSinceStartOfDay() / 1000 / double(kSecondsPerDay);
    // Before the epoch the fraction is stored with the sign of the day: 1899-12-29 06:00 is -1.25.
    return dayOffset < 0 ? double(dayOffset) - fraction : double(dayOffset) + fraction;
}

QString toStored(double days)
{
    const QDateTime dt = toDateTime(days);
    const QDate d = dt.date();
    const QTime t = dt.time();
    return QStringLiteral("%1-%2-%3 %4:%5:%6")
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(t.hour(), 2, 10, QLatin1Char('0'))
        .arg(t.minute(), 2, 10, QLatin1Char('0'))
        .arg(t.second(), 2, 10, QLatin1Char('0'));
}

bool parseStored(const QString &text, double &days)
{
    const QString s = text.trimmed();
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
    const QString rest = s.mid(dash2 + 1);
    const qsizetype space = rest.indexOf(u' ') >= 0 ? rest.indexOf(u' ') : rest.indexOf(u'T');
    const int day = (space < 0 ? rest : rest.left(space)).toInt(&ok);
    if (!ok)
        return false;
    const QDate date(year, month, day);
    if (!date.isValid())
        return false;
    QTime time(0, 0);
    if (space >= 0) {
        const QString clock = rest.mid(space + 1);
        time = QTime::fromString(clock, QStringLiteral("HH:mm:ss"));
        if (!time.isValid())
            time = QTime::fromString(clock, QStringLiteral("HH:mm"));
        if (!time.isValid())
            return false;
    }
    days = fromDateTime(QDateTime(date, time));
    return true;
}

} // namespace fenlark::daycount
