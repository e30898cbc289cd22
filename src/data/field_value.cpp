#include "data/field_value.h"

#include "core/datetime.h"

#include <cmath>
#include <limits>

namespace fenlark {

namespace {

// Beyond these a double no longer truncates to a qint64.
constexpr double kInt64Low = -9223372036854775808.0;
constexpr double kInt64High = 9223372036854775808.0;
constexpr double kCurrencyLimit = 922337203685477.5807;

std::optional<qint64> truncated(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double whole = std::trunc(value);
    if (whole < kInt64Low || whole >= kInt64High)
        return std::nullopt;
    return static_cast<qint64>(whole);
}

QString currencyText(double value)
{
    // As the currency type prints itself: up to four decimals, no trailing zeros.
    QString text = QString::number(value, 'f', 4);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

QString dateTimeText(double days)
{
    // "%Y-%m-%d %H:%M:%S": the year with as many digits as it has.
    const QDateTime value = daycount::toDateTime(days);
    const QDate d = value.date();
    const QTime t = value.time();
    return QStringLiteral("%1-%2-%3 %4:%5:%6")
        .arg(d.year())
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(t.hour(), 2, 10, QLatin1Char('0'))
        .arg(t.minute(), 2, 10, QLatin1Char('0'))
        .arg(t.second(), 2, 10, QLatin1Char('0'));
}

bool isOneOf(const QString &word, std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        if (word == QLatin1String(name))
            return true;
    }
    return false;
}

} // namespace

ColumnKind columnKindFromDeclaredType(const QString &declared)
{
    QString type = declared;
    const qsizetype paren = type.indexOf(u'(');
    if (paren >= 0)
        type.truncate(paren); // VARCHAR(255), DECIMAL(10,2)
    type = type.simplified().toUpper();
    if (type.isEmpty())
        return ColumnKind::Untyped;

    if (isOneOf(type, {"BOOLEAN", "BOOL", "BIT", "YESNO", "LOGICAL"}))
        return ColumnKind::Bool;
    if (isOneOf(type, {"DATETIME", "DATE", "TIME", "TIMESTAMP", "SMALLDATETIME", "DATETIME2"}))
        return ColumnKind::DateTime;
    if (isOneOf(type, {"CURRENCY", "MONEY", "SMALLMONEY"}))
        return ColumnKind::Currency;
    if (isOneOf(type, {"SINGLE", "FLOAT4", "IEEESINGLE"}))
        return ColumnKind::Single;
    if (isOneOf(type, {"DOUBLE", "DOUBLE PRECISION", "FLOAT", "FLOAT8", "REAL", "IEEEDOUBLE", "NUMBER"}))
        return ColumnKind::Double;
    if (isOneOf(type, {"DECIMAL", "NUMERIC", "DEC"}))
        return ColumnKind::Decimal;
    if (isOneOf(type, {"BLOB", "BINARY", "VARBINARY", "LONGBINARY", "IMAGE", "OLEOBJECT", "BYTEA", "GENERAL"}))
        return ColumnKind::Blob;
    if (isOneOf(type, {"BYTE", "TINYINT", "SMALLINT", "SHORT", "INT", "INTEGER", "LONG", "BIGINT", "MEDIUMINT", "INT2",
                       "INT4", "INT8", "COUNTER", "AUTOINCREMENT", "UNSIGNED BIG INT"}))
        return ColumnKind::Integer;
    if (isOneOf(type, {"TEXT", "MEMO", "LONGTEXT", "LONGCHAR", "NTEXT", "STRING", "CLOB"}))
        return ColumnKind::Text;

    // SQLite's own affinity rules for the rest, so a file made by other tools still reads.
    if (type.contains(QLatin1String("INT")))
        return ColumnKind::Integer;
    if (type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("CLOB")) ||
        type.contains(QLatin1String("TEXT")))
        return ColumnKind::Text;
    if (type.contains(QLatin1String("BLOB")))
        return ColumnKind::Blob;
    if (type.contains(QLatin1String("REAL")) || type.contains(QLatin1String("FLOA")) ||
        type.contains(QLatin1String("DOUB")))
        return ColumnKind::Double;
    return ColumnKind::Other;
}

std::optional<double> parseNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// A date-time text as the store takes it: the stored form, or the looser ways people write
// one (single-digit parts, "/" between the parts).
std::optional<double> parseDateTimeText(const QString &text)
{
    double days = 0.0;
    if (daycount::parseStored(text, days))
        return days;
    const QString trimmed = text.trimmed();
    for (const char *format : {"yyyy-M-d H:m:s", "yyyy-M-d H:m", "yyyy/M/d H:m:s", "yyyy/M/d H:m", "yyyy/M/d"}) {
        const QDateTime value = QDateTime::fromString(trimmed, QLatin1String(format));
        if (value.isValid())
            return daycount::fromDateTime(value);
    }
    return std::nullopt;
}

std::optional<qint64> parseInteger(const QString &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<bool> parseBoolText(const QString &text)
{
    const QString word = text.trimmed().toUpper();
    if (isOneOf(word, {"TRUE", "YES", "ON"}))
        return true;
    if (isOneOf(word, {"FALSE", "NO", "OFF"}))
        return false;
    if (const auto whole = parseInteger(word))
        return *whole != 0;
    if (const auto number = parseNumber(word)) {
        // Read as an integer: a fraction truncates toward zero.
        if (const auto whole = truncated(*number))
            return *whole != 0;
    }
    return std::nullopt;
}

std::optional<double> numberForKind(ColumnKind kind, double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    if (kind == ColumnKind::Single) {
        if (std::fabs(value) > double(std::numeric_limits<float>::max()))
            return std::nullopt;
        return double(static_cast<float>(value));
    }
    if (kind == ColumnKind::Currency) {
        if (std::fabs(value) > kCurrencyLimit)
            return std::nullopt;
        return std::round(value * 10000.0) / 10000.0;
    }
    return value;
}

QString textForRead(ColumnKind kind, const FieldValue &value)
{
    using Type = FieldValue::Type;
    if (value.isNull() || ((value.type == Type::Text || value.type == Type::Blob) && value.bytes.isEmpty()))
        return QString(QLatin1String(""));
    if (kind == ColumnKind::Other)
        return QStringLiteral("UN_KNOW");
    if (kind == ColumnKind::Blob || value.type == Type::Blob)
        return QStringLiteral("[BLOB]");

    switch (kind) {
    case ColumnKind::Integer:
        if (value.type == Type::Integer)
            return QString::number(value.integer);
        if (const auto whole = truncated(value.real); whole && value.type == Type::Real)
            return QString::number(*whole);
        break;
    case ColumnKind::Single:
        if (value.isNumeric())
            return QString::number(value.number(), 'f', 4);
        break;
    case ColumnKind::Double:
    case ColumnKind::Decimal:
        if (value.isNumeric())
            return QString::number(value.number(), 'f', 8);
        break;
    case ColumnKind::Currency:
        if (value.isNumeric())
            return currencyText(value.number());
        break;
    case ColumnKind::Bool:
        if (value.isNumeric())
            return value.number() != 0.0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        if (const auto flag = parseBoolText(value.text()))
            return *flag ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        break;
    case ColumnKind::DateTime:
        if (const auto days = dayCountOf(value))
            return dateTimeText(*days);
        break;
    case ColumnKind::Text:
    case ColumnKind::Untyped:
        if (value.type == Type::Integer)
            return QString::number(value.integer);
        if (value.type == Type::Real)
            return QString::number(value.real, 'f', 8);
        break;
    case ColumnKind::Blob:
    case ColumnKind::Other:
        break;
    }
    // A value the column's type does not describe (a text in a number column): as stored.
    return value.text();
}

std::optional<qint64> integerOf(const FieldValue &value)
{
    switch (value.type) {
    case FieldValue::Type::Integer:
        return value.integer;
    case FieldValue::Type::Real:
        return truncated(value.real);
    case FieldValue::Type::Text:
        if (const auto whole = parseInteger(value.text()))
            return whole;
        if (const auto number = parseNumber(value.text()))
            return truncated(*number);
        return std::nullopt;
    case FieldValue::Type::Null:
    case FieldValue::Type::Blob:
        break;
    }
    return std::nullopt;
}

std::optional<bool> boolOf(const FieldValue &value)
{
    if (value.type == FieldValue::Type::Text)
        return parseBoolText(value.text());
    if (const auto number = integerOf(value))
        return *number != 0;
    return std::nullopt;
}

std::optional<double> realOf(const FieldValue &value)
{
    if (value.isNumeric())
        return value.number();
    if (value.type == FieldValue::Type::Text)
        return parseNumber(value.text());
    return std::nullopt;
}

std::optional<double> dayCountOf(const FieldValue &value)
{
    if (value.isNumeric()) {
        const double days = value.number();
        return std::isfinite(days) ? std::optional<double>(days) : std::nullopt;
    }
    if (value.type == FieldValue::Type::Text)
        return parseDateTimeText(value.text());
    return std::nullopt;
}

std::optional<FieldValue> valueFromText(ColumnKind kind, const QString &text)
{
    switch (kind) {
    case ColumnKind::Text:
    case ColumnKind::Untyped:
    case ColumnKind::Other:
        return FieldValue::fromText(text);
    case ColumnKind::Blob:
        return FieldValue::fromBlob(text.toUtf8());
    case ColumnKind::Integer:
        if (const auto whole = parseInteger(text))
            return FieldValue::fromInteger(*whole);
        if (const auto number = parseNumber(text)) {
            if (const auto whole = truncated(*number))
                return FieldValue::fromInteger(*whole);
        }
        return std::nullopt;
    case ColumnKind::Single:
    case ColumnKind::Double:
    case ColumnKind::Decimal:
    case ColumnKind::Currency:
        if (const auto number = parseNumber(text)) {
            if (const auto kept = numberForKind(kind, *number))
                return FieldValue::fromReal(*kept);
        }
        return std::nullopt;
    case ColumnKind::Bool:
        if (const auto flag = parseBoolText(text))
            return FieldValue::fromInteger(*flag ? 1 : 0);
        return std::nullopt;
    case ColumnKind::DateTime:
        if (const auto days = parseDateTimeText(text))
            return valueFromDayCount(kind, *days);
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<FieldValue> valueFromDayCount(ColumnKind kind, double days)
{
    // The store's date range: 1 January 100 to 31 December 9999.
    if (!std::isfinite(days) || days < daycount::kMin || days >= std::floor(daycount::kMax) + 1.0)
        return std::nullopt;
    switch (kind) {
    case ColumnKind::DateTime:
    case ColumnKind::Text:
    case ColumnKind::Untyped:
    case ColumnKind::Other:
        return FieldValue::fromText(daycount::toStored(days));
    case ColumnKind::Single:
    case ColumnKind::Double:
    case ColumnKind::Decimal:
    case ColumnKind::Currency:
        if (const auto kept = numberForKind(kind, days))
            return FieldValue::fromReal(*kept);
        return std::nullopt;
    case ColumnKind::Integer:
        if (const auto whole = truncated(days))
            return FieldValue::fromInteger(*whole);
        return std::nullopt;
    case ColumnKind::Bool:
        return FieldValue::fromInteger(days != 0.0 ? 1 : 0);
    case ColumnKind::Blob:
        break;
    }
    return std::nullopt;
}

std::optional<FieldValue> valueFromBool(ColumnKind kind, bool value)
{
    const int number = value ? 1 : 0;
    switch (kind) {
    case ColumnKind::Integer:
    case ColumnKind::Bool:
    case ColumnKind::Untyped:
        return FieldValue::fromInteger(number);
    case ColumnKind::Single:
    case ColumnKind::Double:
    case ColumnKind::Decimal:
    case ColumnKind::Currency:
        return FieldValue::fromReal(number);
    case ColumnKind::Text:
    case ColumnKind::Other:
        return FieldValue::fromText(QString::number(number));
    case ColumnKind::DateTime:
        return valueFromDayCount(kind, number);
    case ColumnKind::Blob:
        break;
    }
    return std::nullopt;
}

} // namespace fenlark
