#include "data/sql_dialect.h"

#include <QTest>

using fenlark::postgres::rewriteForPostgres;

// The program's SQL as the server reads it: only the portable forms change, never a quoted
// text or name.
class SqlDialectTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rewrites_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("parameters");

        QTest::newRow("bare marks count up") << QStringLiteral("SELECT * FROM t WHERE a = ? AND b = ?")
                                             << QStringLiteral("SELECT * FROM t WHERE a = $1 AND b = $2") << 2;
        QTest::newRow("numbered marks keep their number, a bare one follows the highest")
            << QStringLiteral("a = ?2 AND b = ?1 AND c = ?") << QStringLiteral("a = $2 AND b = $1 AND c = $3") << 3;
        QTest::newRow("rowid, bare or qualified, is the key column")
            << QStringLiteral("SELECT rowid FROM t AS h WHERE h.ROWID = ? ORDER BY rowid")
            << QStringLiteral("SELECT \"id\" FROM t AS h WHERE h.\"id\" = $1 ORDER BY \"id\"") << 1;
        QTest::newRow("functions")
            << QStringLiteral("IFNULL(\"x\", '') = ? AND instr(a, ?) > 0 AND typeof (b) = 'blob'")
            << QStringLiteral("COALESCE(\"x\", '') = $1 AND strpos(a, $2) > 0 AND fenlark_typeof (b) = 'blob'") << 2;
        QTest::newRow("binary collation") << QStringLiteral("a = ? COLLATE BINARY AND b = ? collate  binary")
                                          << QStringLiteral("a = $1 COLLATE \"C\" AND b = $2 COLLATE \"C\"") << 2;
        QTest::newRow("blob literal") << QStringLiteral("VALUES (x'00ff', X'', 'x''ab'")
                                      << QStringLiteral("VALUES ('\\x00ff'::bytea, '\\x'::bytea, 'x''ab'") << 0;
        QTest::newRow("dollar-quoted bodies stay")
            << QStringLiteral("AS $f$ SELECT a[1], ? $f$; DO $$ x[2] $$; ?")
            << QStringLiteral("AS $f$ SELECT a[1], ? $f$; DO $$ x[2] $$; $1") << 1;
        QTest::newRow("a word that is no call stays")
            << QStringLiteral("SELECT ifnull, instr FROM t") << QStringLiteral("SELECT ifnull, instr FROM t") << 0;
        QTest::newRow("quoted texts and names stay as they are")
            << QStringLiteral("SELECT 'rowid ? it''s', \"rowid\", \"a\"\"?\" FROM t WHERE x = ?")
            << QStringLiteral("SELECT 'rowid ? it''s', \"rowid\", \"a\"\"?\" FROM t WHERE x = $1") << 1;
        QTest::newRow("comments stay") << QStringLiteral("SELECT 1 -- rowid ?\n/* ? */ , ?")
                                       << QStringLiteral("SELECT 1 -- rowid ?\n/* ? */ , $1") << 1;
        QTest::newRow("bracket and backtick names are quoted")
            << QStringLiteral("SELECT [户主], `标签` FROM [成员信息]")
            << QStringLiteral("SELECT \"户主\", \"标签\" FROM \"成员信息\"") << 0;
        QTest::newRow("a unary plus before a parenthesis hides it in a subquery, an addition stays")
            << QStringLiteral("WHERE +(a) = ? AND +(IFNULL(b, 0) <> 0) = ? AND (c + (d)) > 0 AND e +(1) = f, +(g)")
            << QStringLiteral("WHERE (SELECT (a)) = $1 AND (SELECT (COALESCE(b, 0) <> 0)) = $2 AND (c + (d)) > 0 "
                              "AND e +(1) = f, (SELECT (g))")
            << 2;
        QTest::newRow("hidden expressions nest, and a parenthesis in a text or name does not count")
            << QStringLiteral("+(f(+(a), ')') + \"(\") AND (+ (b))")
            << QStringLiteral("(SELECT (f((SELECT (a)), ')') + \"(\")) AND ((SELECT (b)))") << 0;
        QTest::newRow("Chinese names around the words") << QStringLiteral("SELECT 户主rowid, 户主 FROM 成员信息")
                                                        << QStringLiteral("SELECT 户主rowid, 户主 FROM 成员信息") << 0;
    }

    void rewrites()
    {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        QFETCH(int, parameters);
        const auto rewritten = rewriteForPostgres(sql);
        QCOMPARE(rewritten.sql, expected);
        QCOMPARE(rewritten.parameterCount, parameters);
    }

    void numbersLeftOutAreNamed()
    {
        QCOMPARE(rewriteForPostgres(QStringLiteral("WHERE a = ?1 AND b = ?4 AND c = ?")).unusedParameters,
                 (QList<int>{2, 3}));
        QVERIFY(rewriteForPostgres(QStringLiteral("WHERE a = ? AND b = ?2 OR a = ?1")).unusedParameters.isEmpty());
    }
};

QTEST_GUILESS_MAIN(SqlDialectTest)
#include "tst_sql_dialect.moc"
