#include "register_fixture.h"

#include <QTest>

using fenlark::DBConnection;
using fenlark::RecordSet;
using fenlark::Transaction;

namespace {
const QString kRegions = QStringLiteral("区域管理");
const QString kName = QStringLiteral("单位名称");
} // namespace

// One unit of work per save: what a committed transaction wrote is there for every connection,
// what one rolled back left nothing, on either engine.
class TransactionsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_store = new RegisterFixture;
        REQUIRE_REGISTER(m_store);
        QVERIFY(m_store->connectAgain(m_other));
    }
    void cleanup()
    {
        m_other.close();
        delete m_store;
    }

    void unitsOfWork_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("committed: both rows")
            << QStringLiteral("commit") << QStringList{QStringLiteral("甲"), QStringLiteral("乙")};
        QTest::newRow("not committed: nothing") << QStringLiteral("drop") << QStringList{};
        QTest::newRow("inner rolled back, outer committed: the outer row")
            << QStringLiteral("inner drop") << QStringList{QStringLiteral("甲")};
        QTest::newRow("inner committed, outer rolled back: nothing") << QStringLiteral("outer drop") << QStringList{};
        QTest::newRow("a set's save inside a unit rolled back: nothing") << QStringLiteral("set drop") << QStringList{};
        QTest::newRow("a failed statement: the unit keeps nothing of it")
            << QStringLiteral("failed statement") << QStringList{QStringLiteral("甲")};
    }

    void unitsOfWork()
    {
        QFETCH(QString, how);
        QFETCH(QStringList, kept);
        DBConnection &db = m_store->connection();
        {
            Transaction outer(db);
            QVERIFY(outer.isActive());
            m_store->addRegion(1, QStringLiteral("甲"));
            if (how == QLatin1String("failed statement")) {
                QVERIFY(outer.commit());
                Transaction unit(db);
                m_store->addRegion(2, QStringLiteral("乙"));
                QVERIFY(!fenlark::execScript(db, QStringLiteral("INSERT INTO 没有这个表 VALUES (1)")));
                // The unit is given up at its first failure, as every save does.
            } else if (how == QLatin1String("set drop")) {
                RecordSet set;
                set.attach(db);
                QVERIFY(set.openTable(kRegions));
                QVERIFY(set.addNew());
                QVERIFY(set.writeText(kName, QStringLiteral("乙")));
                QVERIFY(set.update()); // its own transaction, nested in the outer one
            } else {
                {
                    Transaction inner(db);
                    QVERIFY(inner.isActive());
                    m_store->addRegion(2, QStringLiteral("乙"));
                    if (how != QLatin1String("inner drop"))
                        QVERIFY(inner.commit());
                }
                // Until the outer unit ends, another connection sees nothing of it.
                QCOMPARE(namesOn(m_other), QStringList{});
                if (how == QLatin1String("commit") || how == QLatin1String("inner drop"))
                    QVERIFY(outer.commit());
            }
        }
        QCOMPARE(namesOn(db), kept);
        QCOMPARE(namesOn(m_other), kept);
        // The connection is ready for the next unit of work.
        {
            Transaction next(db);
            QVERIFY(next.isActive());
            m_store->addRegion(3, QStringLiteral("丙"));
            QVERIFY(next.commit());
        }
        QCOMPARE(namesOn(m_other), kept + QStringList{QStringLiteral("丙")});
    }

    void statementOutlivingItsConnectionFailsSafely()
    {
        m_store->addRegion(1, QStringLiteral("甲"));
        fenlark::Statement query(m_other, QStringLiteral("SELECT 单位名称 FROM 区域管理"));
        QVERIFY(query.step());
        m_other.close();
        QVERIFY(!query.step()); // the link is gone: no row, and no crash when the statement goes
    }

private:
    static QStringList namesOn(DBConnection &connection)
    {
        RecordSet set;
        set.attach(connection);
        if (!set.openTable(kRegions))
            return {QStringLiteral("<not opened>")};
        return walkColumn(set, kName);
    }

    RegisterFixture *m_store = nullptr;
    DBConnection m_other;
};

QTEST_GUILESS_MAIN(TransactionsTest)
#include "tst_transactions.moc"
