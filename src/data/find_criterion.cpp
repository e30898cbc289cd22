#include "data/find_criterion.h"

#include <cmath>

namespace fenlark {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

qsizetype skipBlanks(const QString &text, qsizetype at)
{
    while (at < text.size() && isBlank(text.at(at)))
        ++at;
    return at;
}

std::optional<qint64> wholeNumber(double value)
{
    if (!std::isfinite(value) || std::trunc(value) != value || value < -9223372036854775808.0 ||
        value >= 9223372036854775808.0)
        return std::nullopt;
    return static_cast<qint64>(value);
}

// Day counts compare to the second, the precision the store keeps.
qint64 toSeconds(double days)
{
    return std::llround(days * 86400.0);
}

} // namespace

std::optional<FindCriterion> parseFindCriterion(const QString &text)
{
    FindCriterion result;
    qsizetype at = skipBlanks(text, 0);

    // Column: a bracketed name, or everything up to a blank or the operator.
    if (at < text.size() && text.at(at) == u'[') {
        const qsizetype close = text.indexOf(u']', at + 1);
        if (close < 0)
            return std::nullopt;
        result.column = text.mid(at + 1, close - at - 1);
        at = close + 1;
    } else {
        const qsizetype start = at;
        while (at < text.size() && !isBlank(text.at(at)) && text.at(at) != u'=' && text.at(at) != u'<' &&
               text.at(at) != u'>' && text.at(at) != u'\'')
            ++at;
        result.column = text.mid(start, at - start);
    }
    if (result.column.isEmpty())
        return std::nullopt;

    at = skipBlanks(text, at);
    if (at >= text.size() || text.at(at) != u'=')
        return std::nullopt;
    at = skipBlanks(text, at + 1);
    if (at >= text.size())
        return std::nullopt;

    const QChar open = text.at(at);
    if (open == u'\'') {
        result.quoted = true;
        ++at;
        for (;;) {
            if (at >= text.size())
                return std::nullopt; // unterminated
            if (text.at(at) == u'\'') {
                if (at + 1 < text.size() && text.at(at + 1) == u'\'') {
                    result.literal += u'\'';
                    at += 2;
                    continue;
                }
                ++at;
                break;
            }
            result.literal += text.at(at);
            ++at;
        }
    } else if (open == u'#') {
        const qsizetype close = text.indexOf(u'#', at + 1);
        if (close < 0)
            return std::nullopt;
        result.quoted = true;
        result.literal = text.mid(at + 1, close - at - 1);
        at = close + 1;
    } else {
        const qsizetype start = at;
        while (at < text.size() && !isBlank(text.at(at)))
            ++at;
        result.literal = text.mid(start, at - start);
        if (!parseNumber(result.literal))
            return std::nullopt;
    }

    // Nothing may follow the literal: "户主='O'Brien'" ends its literal at "O" and is invalid.
    if (skipBlanks(text, at) != text.size())
        return std::nullopt;
    return result;
}

std::optional<CriterionMatcher> CriterionMatcher::make(ColumnKind kind, const FindCriterion &criterion)
{
    CriterionMatcher matcher;
    switch (kind) {
    case ColumnKind::Text:
    case ColumnKind::Untyped:
    case ColumnKind::Blob:
        matcher.m_mode = Mode::Text;
        matcher.m_bytes = criterion.literal.toUtf8();
        return matcher;
    case ColumnKind::Integer:
    case ColumnKind::Single:
    case ColumnKind::Double:
    case ColumnKind::Decimal:
    case ColumnKind::Currency: {
        matcher.m_mode = Mode::Number;
        const auto number = parseNumber(criterion.literal);
        if (!number)
            return std::nullopt;
        const auto kept = numberForKind(kind, *number);
        if (!kept)
            return std::nullopt;
        matcher.m_number = *kept;
        if (const auto whole = parseInteger(criterion.literal); whole && kind == ColumnKind::Integer)
            matcher.m_integer = whole; // exact even beyond a double's 53 bits
        else
            matcher.m_integer = wholeNumber(*kept);
        return matcher;
    }
    case ColumnKind::Bool: {
        matcher.m_mode = Mode::Bool;
        const auto flag = parseBoolText(criterion.literal);
        if (!flag)
            return std::nullopt;
        matcher.m_flag = *flag;
        return matcher;
    }
    case ColumnKind::DateTime: {
        matcher.m_mode = Mode::DateTime;
        const std::optional<double> days =
            criterion.quoted ? parseDateTimeText(criterion.literal) : parseNumber(criterion.literal);
        if (!days)
            return std::nullopt;
        matcher.m_seconds = toSeconds(*days);
        return matcher;
    }
    case ColumnKind::Other:
        matcher.m_mode = Mode::Loose;
        matcher.m_bytes = criterion.literal.toUtf8();
        if (const auto number = parseNumber(criterion.literal)) {
            matcher.m_hasNumber = true;
            matcher.m_number = *number;
            matcher.m_integer = wholeNumber(*number);
        }
        return matcher;
    }
    return std::nullopt;
}

bool CriterionMatcher::matches(const FieldValue &value) const
{
    using Type = FieldValue::Type;
    switch (m_mode) {
    case Mode::Text:
        return value.type == Type::Text && value.bytes == m_bytes;
    case Mode::Loose:
        if (value.type == Type::Text)
            return value.bytes == m_bytes;
        if (!m_hasNumber)
            return false;
        [[fallthrough]];
    case Mode::Number:
        if (value.type == Type::Integer) {
            if (m_integer)
                return value.integer == *m_integer;
            return false;
        }
        if (value.type == Type::Real) {
            if (m_integer) {
                const auto whole = wholeNumber(value.real);
                return whole && *whole == *m_integer;
            }
            return value.real == m_number;
        }
        return false;
    case Mode::Bool:
        if (value.isNumeric())
            return (value.number() != 0.0) == m_flag;
        if (value.type == Type::Text) {
            const auto flag = parseBoolText(value.text());
            return flag && *flag == m_flag;
        }
        return false;
    case Mode::DateTime:
        if (const auto days = dayCountOf(value))
            return toSeconds(*days) == m_seconds;
        return false;
    }
    return false;
}

FieldValue CriterionMatcher::bindValue() const
{
    if (m_mode == Mode::Text)
        return FieldValue{FieldValue::Type::Text, 0, 0.0, m_bytes};
    if (m_integer)
        return FieldValue::fromInteger(*m_integer);
    return FieldValue::fromReal(m_number);
}

} // namespace fenlark
