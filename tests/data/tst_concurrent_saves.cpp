#include "register_fixture.h"

#include <QTest>

using fenlark::DBConnection;
using fenlark::RecordSet;

namespace {
const QString kHouseholds = QStringLiteral("成员信息");
const QString kHead = QStringLiteral("户主");
const QString kPhone = QStringLiteral("联系电话");
// A file register has no version column; the same rule holds for one that has it.
const QString kFileVersion = QStringLiteral("ALTER TABLE 成员信息 ADD COLUMN 版本 INTEGER NOT NULL DEFAULT 1;\n");
} // namespace

// Two clerks on one register, each with a connection of their own: a change or deletion made
// on a household another clerk changed or deleted since it was shown is refused, and nothing
// of the other clerk's save is lost.
class ConcurrentSavesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_store = new RegisterFixture(kFileVersion, QStringLiteral(" "));
        REQUIRE_REGISTER(m_store);
        QVERIFY(m_store->connectAgain(m_second));
        m_store->addHousehold(2016, QStringLiteral("张三"));
        m_store->addHousehold(2016, QStringLiteral("李四"));
    }
    void cleanup()
    {
        m_second.close();
        delete m_store;
    }

    void staleWriteRefused_data()
    {
        QTest::addColumn<bool>("firstDeletes");
        QTest::addColumn<bool>("secondDeletes");
        QTest::addColumn<QStringList>("heads");  // as stored at the end
        QTest::addColumn<QStringList>("phones"); // of those rows
        QTest::newRow("changed, then changed again")
            << false << false << QStringList{QStringLiteral("张三"), QStringLiteral("李四")}
            << QStringList{QStringLiteral("一号"), QStringLiteral("")};
        QTest::newRow("changed, then deleted")
            << false << true << QStringList{QStringLiteral("张三"), QStringLiteral("李四")}
            << QStringList{QStringLiteral("一号"), QStringLiteral("")};
        QTest::newRow("deleted, then changed")
            << true << false << QStringList{QStringLiteral("李四")} << QStringList{QStringLiteral("")};
        QTest::newRow("deleted, then deleted")
            << true << true << QStringList{QStringLiteral("李四")} << QStringList{QStringLiteral("")};
    }

    void staleWriteRefused()
    {
        QFETCH(bool, firstDeletes);
        QFETCH(bool, secondDeletes);
        QFETCH(QStringList, heads);
        QFETCH(QStringList, phones);
        RecordSet first;
        first.attach(m_store->connection());
        RecordSet second;
        second.attach(m_second);
        QVERIFY(first.openTable(kHouseholds));
        QVERIFY(second.openTable(kHouseholds));
        QCOMPARE(current(second, kHead), QStringLiteral("张三")); // shown before the first clerk saves

        if (firstDeletes) {
            QVERIFY(first.deleteCurrent());
        } else {
            QVERIFY(first.writeText(kPhone, QStringLiteral("一号")));
            QVERIFY(first.update());
        }
        QVERIFY(!first.wasChangedElsewhere());

        if (secondDeletes) {
            QVERIFY(!second.deleteCurrent());
        } else {
            QVERIFY(second.writeText(kPhone, QStringLiteral("二号")));
            QVERIFY(!second.update());
        }
        QVERIFY(second.wasChangedElsewhere());
        QCOMPARE(stored(kHead), heads);
        QCOMPARE(stored(kPhone), phones);

        // Untouched rows save as ever, and so does the row once shown afresh.
        QVERIFY(second.moveNext());
        QVERIFY(second.writeText(kPhone, QStringLiteral("四号")));
        QVERIFY(second.update());
        QVERIFY(!second.wasChangedElsewhere());
        if (!firstDeletes) {
            QVERIFY(second.openTable(kHouseholds));
            QCOMPARE(current(second, kPhone), QStringLiteral("一号"));
            QVERIFY(second.writeText(kPhone, QStringLiteral("二号")));
            QVERIFY(second.update());
            QCOMPARE(stored(kPhone), (QStringList{QStringLiteral("二号"), QStringLiteral("四号")}));
        }
    }

    void failureOfAnotherKindIsNoConflict()
    {
        RecordSet set;
        set.attach(m_store->connection());
        QVERIFY(set.openTable(kHouseholds));
        QVERIFY(set.writeText(kPhone, QStringLiteral("一号")));
        m_store->connection().close(); // the store gone: a failure, not another clerk's save
        QVERIFY(!set.update());
        QVERIFY(!set.wasChangedElsewhere());
    }

private:
    QStringList stored(const QString &column)
    {
        RecordSet set;
        set.attach(m_second);
        if (!set.openTable(kHouseholds))
            return {QStringLiteral("<not opened>")};
        return walkColumn(set, column);
    }

    RegisterFixture *m_store = nullptr;
    DBConnection m_second;
};

QTEST_GUILESS_MAIN(ConcurrentSavesTest)
#include "tst_concurrent_saves.moc"
