#pragma once

#include <QList>
#include <QString>

namespace fenlark::postgres {

// Every table of a server register carries this key column: the rows' identity and their
// order of entry, what SQLite's rowid is to a register file (in 成员信息 it is the same id the
// file has).
inline const QString keyColumn = QStringLiteral("id");

struct RewrittenSql {
    QString sql;
    int parameterCount = 0; // the highest $n used
    // The numbers below it that the SQL never uses (SQLite lets ?1 and ?3 go without ?2; the
    // server wants a type for every $n up to the highest, so the engine names one for these).
    QList<int> unusedParameters;
};

// The program's SQL is written once, in the portable forms SQLite reads; this turns it into
// what PostgreSQL reads, outside quoted texts, quoted names, dollar-quoted bodies and comments:
//   ?  and  ?N        → $n (a bare ? takes one more than the highest number so far)
//   rowid             → the key column
//   IFNULL(           → COALESCE(
//   instr(            → strpos(            (same argument order)
//   typeof(           → fenlark_typeof(    (the server schema's function of SQLite's answers)
//   x'00ff'           → '\x00ff'::bytea  (a blob)
//   COLLATE BINARY    → COLLATE "C"        (byte by byte, as SQLite compares)
//   [name], `name`    → "name"
//   +(expr)           → (SELECT (expr))    (a unary plus that keeps SQLite from an index: the
//                                           same value, which the server's planner cannot look
//                                           up in an index either; never around an aggregate)
RewrittenSql rewriteForPostgres(const QString &sql);

} // namespace fenlark::postgres

namespace fenlark {

class DBConnection;

// The test that a numeric column (quoted name) holds a text or a BLOB, which only an imported
// or hand-edited register file can: on SQLite every such value sorts after the numbers, so the
// test is a range on the column's index; a server's typed column holds none.
QString storedAsTextTest(const DBConnection &connection, const QString &column);

} // namespace fenlark
