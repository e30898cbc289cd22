#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace fenlark {

// One stored value as SQLite hands it over: its storage class and its content. Texts stay in
// UTF-8 until a caller asks for them, so walking rows converts only the columns that are read.
struct FieldValue {
    enum class Type : unsigned char { Null, Integer, Real, Text, Blob };

    Type type = Type::Null;
    qint64 integer = 0;
    double real = 0.0;
    QByteArray bytes; // UTF-8 for a text, raw bytes for a blob

    static FieldValue null() { return {}; }
    static FieldValue fromInteger(qint64 value) { return {Type::Integer, value, 0.0, {}}; }
    static FieldValue fromReal(double value) { return {Type::Real, 0, value, {}}; }
    static FieldValue fromText(const QString &value) { return {Type::Text, 0, 0.0, value.toUtf8()}; }
    static FieldValue fromBlob(const QByteArray &value) { return {Type::Blob, 0, 0.0, value}; }

    bool isNull() const { return type == Type::Null; }
    bool isNumeric() const { return type == Type::Integer || type == Type::Real; }
    double number() const { return type == Type::Integer ? double(integer) : real; }
    QString text() const { return QString::fromUtf8(bytes); }

    bool operator==(const FieldValue &other) const = default;
};

// What the record layer lets a column take part in, from the column's declared type. The
// register's own columns are INTEGER, BOOLEAN, DOUBLE, DATETIME and TEXT; the other names are
// those an imported or hand-made file may carry (Access and common SQL spellings).
enum class ColumnKind : unsigned char {
    Integer,  // every integer size, signed or not, and the unsigned byte
    Single,   // 4-byte floating point
    Double,   // 8-byte floating point
    Decimal,  // exact decimal (kept as a double by SQLite)
    Currency, // four decimal places
    Bool,     // yes/no
    DateTime, // "YYYY-MM-DD HH:MM:SS" text
    Text,
    Blob,
    Untyped, // no declared type: the stored value decides
    Other,   // a declared type of no known family
};

ColumnKind columnKindFromDeclaredType(const QString &declared);

inline bool isIntegerKind(ColumnKind kind)
{
    return kind == ColumnKind::Integer;
}
inline bool isNumberKind(ColumnKind kind)
{
    return kind == ColumnKind::Single || kind == ColumnKind::Double || kind == ColumnKind::Decimal ||
           kind == ColumnKind::Currency;
}

// A whole text as a number (blanks around it allowed, C notation), or nothing.
std::optional<double> parseNumber(const QString &text);
std::optional<qint64> parseInteger(const QString &text); // a whole integer text only
// A date-time text as a day count: the stored form, or the looser ways people write one
// (single-digit parts, "/" between the parts).
std::optional<double> parseDateTimeText(const QString &text);
// "TRUE"/"FALSE", "YES"/"NO", "ON"/"OFF" in any case, or a number (true when not 0).
std::optional<bool> parseBoolText(const QString &text);

// A number as the column keeps it: single precision through float, currency to four places.
// Nothing when the kind cannot hold it (not finite, or beyond the currency range).
std::optional<double> numberForKind(ColumnKind kind, double value);

// The text readText gives for a stored value of a column of this kind.
QString textForRead(ColumnKind kind, const FieldValue &value);

// The value as an integer ("reads as an integer": reals truncate toward zero, number texts
// are converted); nothing for NULL, a blob or a text that is no number.
std::optional<qint64> integerOf(const FieldValue &value);
// The value as a yes/no, as readBool takes it: a text by parseBoolText, anything else as an
// integer (a fraction truncated) that is not 0; nothing for NULL, a blob or a text of neither.
std::optional<bool> boolOf(const FieldValue &value);
// The value as a real; nothing for NULL, a blob or a text that is no number.
std::optional<double> realOf(const FieldValue &value);
// The value as a day count: stored date texts are parsed, numbers are day counts already.
std::optional<double> dayCountOf(const FieldValue &value);

// The value that writeText stores into a column of this kind ("the store converts"): a text
// that the kind cannot take gives nothing.
std::optional<FieldValue> valueFromText(ColumnKind kind, const QString &text);
// The value that writeDateTime stores (the day count already cut to the part asked for).
std::optional<FieldValue> valueFromDayCount(ColumnKind kind, double days);
// The value that writeBool stores: the integer 1 or 0, converted as the kind needs.
std::optional<FieldValue> valueFromBool(ColumnKind kind, bool value);

} // namespace fenlark
