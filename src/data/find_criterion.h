#pragma once

#include "data/field_value.h"

#include <QString>

#include <optional>

namespace fenlark {

// A find criterion as the program writes them: column name, "=", literal. The literal is a
// text in single quotes (a doubled quote stands for one quote inside: 'O''Brien'), a date in
// #...#, or an unquoted number. Anything else, a stray quote included, is no criterion.
struct FindCriterion {
    QString column;
    QString literal;
    bool quoted = false;
};

std::optional<FindCriterion> parseFindCriterion(const QString &text);

// The literal converted for the column it is compared with, and the comparison itself.
// Texts compare byte for byte (case-sensitive); numbers compare as numbers, a quoted literal
// against a number column included; NULL equals nothing.
class CriterionMatcher {
public:
    // Nothing when the literal cannot be converted to the column's kind ('abc' against an
    // integer column): such a criterion is invalid.
    static std::optional<CriterionMatcher> make(ColumnKind kind, const FindCriterion &criterion);

    bool matches(const FieldValue &value) const;

    // True when "column = ?" with bindValue() selects exactly the stored values matches()
    // accepts (SQLite compares these kinds the same way), so the store may do the search.
    bool storeCanCompare() const { return m_mode == Mode::Text || m_mode == Mode::Number; }
    // For a text comparison the store must compare bytes, whatever the column's collation.
    bool needsBinaryCollation() const { return m_mode == Mode::Text; }
    FieldValue bindValue() const;

private:
    enum class Mode { Text, Number, Bool, DateTime, Loose };

    Mode m_mode = Mode::Text;
    QByteArray m_bytes;
    bool m_hasNumber = false; // a loose comparison also compares numbers when the literal is one
    double m_number = 0.0;
    std::optional<qint64> m_integer; // set when the number is a whole qint64
    bool m_flag = false;
    qint64 m_seconds = 0;
};

} // namespace fenlark
