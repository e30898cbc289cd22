#include "data/sql_dialect.h"

#include "data/db_connection.h"

#include <QSet>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace fenlark::postgres {

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

// Index of the first character after the blanks from at.
qsizetype skipBlanks(const QString &sql, qsizetype at)
{
    while (at < sql.size() && sql[at].isSpace())
        ++at;
    return at;
}

// Copies a quoted part (opening quote at from) up to and including its closing quote; a
// doubled quote inside stays part of it. Returns the index after it.
qsizetype copyQuoted(const QString &sql, qsizetype from, QChar close, QString &out)
{
    qsizetype at = from + 1;
    while (at < sql.size()) {
        if (sql[at] == close) {
            if (at + 1 < sql.size() && sql[at + 1] == close) {
                at += 2;
                continue;
            }
            ++at;
            break;
        }
        ++at;
    }
    out += QStringView(sql).mid(from, at - from);
    return at;
}

// The length of a dollar-quote tag ($$ or $name$) starting at at, 0 when there is none ($1 is
// a parameter, not a tag).
qsizetype dollarTagLength(const QString &sql, qsizetype at)
{
    if (sql[at] != u'$')
        return 0;
    qsizetype end = at + 1;
    if (end < sql.size() && (sql[end].isLetter() || sql[end] == u'_')) {
        while (end < sql.size() && (sql[end].isLetterOrNumber() || sql[end] == u'_'))
            ++end;
    }
    return end < sql.size() && sql[end] == u'$' ? end - at + 1 : 0;
}

// Whether a + written at the end of out stands before its operand alone (a unary plus): at the
// start, after an opening parenthesis, a comma, a comparison or a keyword that starts an operand.
bool unaryPosition(const QString &out)
{
    qsizetype end = out.size();
    while (end > 0 && out[end - 1].isSpace())
        --end;
    if (end == 0)
        return true;
    const QChar last = out[end - 1];
    if (QStringLiteral("(,=<>!").contains(last))
        return true;
    if (!isWordChar(last))
        return false;
    qsizetype begin = end;
    while (begin > 0 && isWordChar(out[begin - 1]))
        --begin;
    static const QStringList keywords{QStringLiteral("WHERE"), QStringLiteral("AND"),  QStringLiteral("OR"),
                                      QStringLiteral("NOT"),   QStringLiteral("ON"),   QStringLiteral("SELECT"),
                                      QStringLiteral("WHEN"),  QStringLiteral("THEN"), QStringLiteral("ELSE")};
    return keywords.contains(out.mid(begin, end - begin), Qt::CaseInsensitive);
}

} // namespace

RewrittenSql rewriteForPostgres(const QString &sql)
{
    RewrittenSql result;
    QString &out = result.sql;
    out.reserve(sql.size() + 16);
    int highest = 0;
    QSet<int> used;
    qsizetype at = 0;
    int depth = 0;           // of the parentheses outside quotes and comments
    std::vector<int> hidden; // the depths of the +(...) being rewritten, innermost last
    while (at < sql.size()) {
        const QChar c = sql[at];
        if (c == u'\'' || c == u'"') {
            at = copyQuoted(sql, at, c, out);
        } else if (c == u'[' || c == u'`') {
            const QChar close = c == u'[' ? QChar(u']') : QChar(u'`');
            const qsizetype end = sql.indexOf(close, at + 1);
            if (end < 0) {
                out += QStringView(sql).mid(at);
                break;
            }
            QString name = sql.mid(at + 1, end - at - 1);
            name.replace(u'"', QStringLiteral("\"\""));
            out += u'"' + name + u'"';
            at = end + 1;
        } else if (c == u'-' && at + 1 < sql.size() && sql[at + 1] == u'-') {
            qsizetype end = sql.indexOf(u'\n', at);
            end = end < 0 ? sql.size() : end;
            out += QStringView(sql).mid(at, end - at);
            at = end;
        } else if (c == u'/' && at + 1 < sql.size() && sql[at + 1] == u'*') {
            qsizetype end = sql.indexOf(QStringLiteral("*/"), at + 2);
            end = end < 0 ? sql.size() : end + 2;
            out += QStringView(sql).mid(at, end - at);
            at = end;
        } else if (const qsizetype tag = dollarTagLength(sql, at); tag > 0) {
            // A dollar-quoted body (a function's): the server's own text, copied as it is.
            const qsizetype close = sql.indexOf(QStringView(sql).mid(at, tag), at + tag);
            const qsizetype end = close < 0 ? sql.size() : close + tag;
            out += QStringView(sql).mid(at, end - at);
            at = end;
        } else if (c == u'+' && skipBlanks(sql, at + 1) < sql.size() && sql[skipBlanks(sql, at + 1)] == u'(' &&
                   unaryPosition(out)) {
            // +(expr): SQLite's way to keep a condition from its index. The server's planner
            // would look such a switch up in its index and intersect the rows with the
            // village's, reading 80,000 index entries at a million for the 300 rows of one
            // village; a scalar subquery gives the same value and is matched to no index.
            out += QStringLiteral("(SELECT ");
            hidden.push_back(depth + 1);
            at = skipBlanks(sql, at + 1);
        } else if (c == u'?') {
            qsizetype end = at + 1;
            while (end < sql.size() && sql[end].isDigit() && sql[end].unicode() < 128)
                ++end;
            int number = 0;
            if (end > at + 1)
                number = sql.mid(at + 1, end - at - 1).toInt();
            else
                number = highest + 1;
            highest = std::max(highest, number);
            used.insert(number);
            out += u'$' + QString::number(number);
            at = end;
        } else if (isWordChar(c)) {
            qsizetype end = at;
            while (end < sql.size() && isWordChar(sql[end]))
                ++end;
            const QString word = sql.mid(at, end - at);
            const bool call = skipBlanks(sql, end) < sql.size() && sql[skipBlanks(sql, end)] == u'(';
            const qsizetype next = skipBlanks(sql, end);
            if ((word == QLatin1String("x") || word == QLatin1String("X")) && end < sql.size() && sql[end] == u'\'') {
                // A blob literal x'00ff': bytea's hex form.
                const qsizetype close = sql.indexOf(u'\'', end + 1);
                if (close < 0) {
                    out += QStringView(sql).mid(at);
                    break;
                }
                out += QStringLiteral("'\\x") + QStringView(sql).mid(end + 1, close - end - 1) +
                       QStringLiteral("'::bytea");
                end = close + 1;
            } else if (word.compare(QLatin1String("rowid"), Qt::CaseInsensitive) == 0) {
                out += u'"' + keyColumn + u'"';
            } else if (word.compare(QLatin1String("collate"), Qt::CaseInsensitive) == 0 &&
                       sql.mid(next, 6).compare(QLatin1String("binary"), Qt::CaseInsensitive) == 0 &&
                       (next + 6 >= sql.size() || !isWordChar(sql[next + 6]))) {
                out += QStringLiteral("COLLATE \"C\"");
                end = next + 6;
            } else if (call && word.compare(QLatin1String("ifnull"), Qt::CaseInsensitive) == 0)
                out += QStringLiteral("COALESCE");
            else if (call && word.compare(QLatin1String("instr"), Qt::CaseInsensitive) == 0)
                out += QStringLiteral("strpos");
            else if (call && word.compare(QLatin1String("typeof"), Qt::CaseInsensitive) == 0)
                out += QStringLiteral("fenlark_typeof");
            else
                out += word;
            at = end;
        } else {
            out += c;
            ++at;
            if (c == u'(') {
                ++depth;
            } else if (c == u')') {
                if (!hidden.empty() && hidden.back() == depth) {
                    out += u')';
                    hidden.pop_back();
                }
                --depth;
            }
        }
    }
    result.parameterCount = highest;
    for (int number = 1; number < highest; ++number) {
        if (!used.contains(number))
            result.unusedParameters << number;
    }
    return result;
}

} // namespace fenlark::postgres

namespace fenlark {

QString storedAsTextTest(const DBConnection &connection, const QString &column)
{
    if (connection.isServer())
        return QStringLiteral("FALSE");
    return column + QStringLiteral(" >= ''");
}

} // namespace fenlark
