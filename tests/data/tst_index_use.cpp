#include "register_fixture.h"

#include <QTest>

#include <memory>

using namespace fenlark;

// Which index each engine answers the program's list queries from, read from its plan. A query
// that lists rows by their key must be answered from the index alone, as the file's indexes
// (which always hold the rowid) answer it: reading the table's row for each of 100,000 keys is
// seconds at a county's size. And a condition the program hides from the indexes (+(...)) must
// not be looked up in its own index, which the program hides because it matches much of the
// register. The server is made to prefer any index to reading its table, so only a plan that
// cannot use the index avoids it.
class IndexUseTest : public QObject {
    Q_OBJECT

    std::unique_ptr<RegisterFixture> m_store;

    QString planOf(const QString &sql)
    {
        const bool server = RegisterFixture::onServer();
        Statement plan(m_store->connection(),
                       (server ? QStringLiteral("EXPLAIN ") : QStringLiteral("EXPLAIN QUERY PLAN ")) + sql);
        QStringList lines;
        while (plan.step())
            lines << plan.text(server ? 0 : 3);
        return lines.join(u'\n');
    }

private Q_SLOTS:
    void init()
    {
        m_store = std::make_unique<RegisterFixture>();
        REQUIRE_REGISTER(m_store);
        if (RegisterFixture::onServer())
            QVERIFY(m_store->exec(QStringLiteral("SET enable_seqscan = off; SET enable_bitmapscan = off")));
    }
    void cleanup() { m_store.reset(); }

    void plans_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("index");  // the index the plan looks the rows up in; empty: none
        QTest::addColumn<bool>("indexOnly"); // on the server, answered from the index alone

        QTest::newRow("the keys of a health")
            << QStringLiteral("SELECT rowid FROM \"成员信息\" WHERE (IFNULL(\"健康状况\", '')) = '慢性疾病'")
            << QStringLiteral("成员信息_健康状况") << true;
        QTest::newRow("the keys of a switch, with its stored value")
            << QStringLiteral(
                   "SELECT rowid, \"是否党员\" FROM \"成员信息\" WHERE (IFNULL(\"是否党员\", 0) <> 0) = TRUE")
            << QStringLiteral("成员信息_是否党员") << true;
        QTest::newRow("the keys of a village's year")
            << QStringLiteral("SELECT rowid FROM \"成员信息\" WHERE \"所属管辖\" = '村' AND \"录入年份\" = 2026")
            << QStringLiteral("成员信息_") << true; // either index of the unit and the year
        QTest::newRow("a hidden switch is not looked up in its index")
            << QStringLiteral("SELECT rowid FROM \"成员信息\" WHERE +(IFNULL(\"是否党员\", 0) <> 0) = TRUE")
            << QString() << false;
        QTest::newRow("a hidden unit is not looked up in its index")
            << QStringLiteral("SELECT rowid FROM \"成员信息\" WHERE +(\"所属管辖\") = '村'") << QString() << false;
    }

    void plans()
    {
        QFETCH(QString, sql);
        QFETCH(QString, index);
        QFETCH(bool, indexOnly);
        const QString plan = planOf(sql);
        QVERIFY2(!plan.isEmpty(), qPrintable(m_store->connection().errorText()));
        // A lookup: SQLite searches an index, the server has an index condition. Reading a whole
        // index from end to end is no lookup (either may do that instead of reading the table).
        const bool lookup = plan.contains(QStringLiteral("SEARCH")) || plan.contains(QStringLiteral("Index Cond"));
        QVERIFY2(lookup == !index.isEmpty(), qPrintable(plan));
        if (!index.isEmpty())
            QVERIFY2(plan.contains(index), qPrintable(plan));
        if (indexOnly && RegisterFixture::onServer())
            QVERIFY2(plan.contains(QStringLiteral("Index Only Scan")), qPrintable(plan));
    }
};

QTEST_GUILESS_MAIN(IndexUseTest)
#include "tst_index_use.moc"
