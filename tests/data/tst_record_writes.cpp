#include "register_fixture.h"

#include <QTest>

using fenlark::RecordSet;

namespace {
const QString kRegions = QStringLiteral("区域管理");
const QString kName = QStringLiteral("单位名称");
const QString kParent = QStringLiteral("直属管辖");
const QString kLevel = QStringLiteral("标识");
// A table whose rules the store enforces, so that an update can fail.
const QString kStrictTable = QStringLiteral("CREATE TABLE 约束 (a TEXT NOT NULL CHECK (a <> 'bad'), b INTEGER);\n");
} // namespace

// Adding, changing and deleting rows, and what other sets see of it.
class RecordWritesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void addNewAppendsAndBecomesCurrent();
    void closeDropsAPendingAdd();
    void moveOrReopenDropsAPendingEdit_data();
    void moveOrReopenDropsAPendingEdit();
    void failedUpdateDiscardsThePendingEdit();
    void updateChangesTheCurrentRow();
    void updateWithNothingPending();
    void deleteCurrentCommitsAtOnce();
    void deletedRowStaysCurrentUntilTheNextMove_data();
    void deletedRowStaysCurrentUntilTheNextMove();
    void findNextAfterDeletingTheRowFound();
    void findThenDeleteThenUpdate();
    void deleteAll();
    void staticCursorSeesOnlyItsOwnChanges();
    void conflictingUpdateFails();
    void writesJoinAnOuterTransaction();

private:
    RegisterFixture *m_store = nullptr;
    RecordSet *m_set = nullptr;
};

void RecordWritesTest::init()
{
    m_store = new RegisterFixture(kStrictTable);
    QVERIFY(m_store->isReady());
    m_set = new RecordSet;
    m_set->attach(m_store->connection());
    for (const char *name : {"中国", "省", "市"})
        m_store->addRegion(1, QString::fromUtf8(name));
}

void RecordWritesTest::cleanup()
{
    delete m_set;
    delete m_store;
}

void RecordWritesTest::addNewAppendsAndBecomesCurrent()
{
    QVERIFY(m_set->openTable(kRegions));
    QVERIFY(m_set->moveNext());
    QVERIFY(m_set->addNew());
    QVERIFY(!m_set->isAtEnd());
    QString text = QStringLiteral("x");
    QVERIFY(m_set->readText(kName, text)); // the new row is empty until written
    QCOMPARE(text, QString());
    QVERIFY(m_set->writeInt(kLevel, 5));
    QVERIFY(m_set->writeText(kName, QStringLiteral("新村")));
    QVERIFY(m_set->readText(kName, text));
    QCOMPARE(text, QStringLiteral("新村"));
    QCOMPARE(m_store->count(kRegions), 3); // pending until update
    QVERIFY(m_set->update());
    QCOMPARE(m_store->count(kRegions), 4);

    QCOMPARE(current(*m_set, kName), QStringLiteral("新村"));
    QVERIFY(m_set->moveNext());
    QVERIFY(m_set->isAtEnd()); // it was appended as the last row
    QCOMPARE(walkColumn(*m_set, kName),
             (QStringList{QStringLiteral("中国"), QStringLiteral("省"), QStringLiteral("市"), QStringLiteral("新村")}));

    // The household table's id is assigned by the store, increasing.
    QVERIFY(m_set->openTable(QStringLiteral("成员信息")));
    int firstId = 0;
    for (int i = 0; i < 2; ++i) {
        QVERIFY(m_set->addNew());
        QVERIFY(m_set->writeText(QStringLiteral("户主"), QStringLiteral("甲")));
        QVERIFY(m_set->update());
        int id = 0;
        QVERIFY(m_set->readInt(QStringLiteral("id"), id));
        QVERIFY(id > firstId);
        firstId = id;
    }
}

void RecordWritesTest::closeDropsAPendingAdd()
{
    QVERIFY(m_set->openTable(kRegions));
    QVERIFY(m_set->addNew());
    QVERIFY(m_set->writeText(kName, QStringLiteral("新村")));
    m_set->close();
    QCOMPARE(m_store->count(kRegions), 3);
    QVERIFY(!m_set->update());
    QCOMPARE(m_store->count(kRegions), 3);
}

void RecordWritesTest::moveOrReopenDropsAPendingEdit_data()
{
    QTest::addColumn<QString>("then");
    QTest::newRow("moveNext") << QStringLiteral("moveNext");
    QTest::newRow("moveFirst") << QStringLiteral("moveFirst");
    QTest::newRow("find") << QStringLiteral("find");
    QTest::newRow("open") << QStringLiteral("open");
    QTest::newRow("close") << QStringLiteral("close");
}

void RecordWritesTest::moveOrReopenDropsAPendingEdit()
{
    QFETCH(QString, then);
    QVERIFY(m_set->openTable(kRegions));
    QVERIFY(m_set->writeText(kName, QStringLiteral("改")));
    if (then == QLatin1String("moveNext"))
        m_set->moveNext();
    else if (then == QLatin1String("moveFirst"))
        m_set->moveFirst();
    else if (then == QLatin1String("find"))
        m_set->find(QStringLiteral("单位名称='中国'"));
    else if (then == QLatin1String("open"))
        m_set->openTable(kRegions);
    else
        m_set->close();
    m_set->update();
    // A pending edit is stored only by update, on the row it was made on.
    QCOMPARE(m_store->count(kRegions, QStringLiteral("单位名称 = '改'")), 0);
    QCOMPARE(m_store->count(kRegions, QStringLiteral("单位名称 = '中国'")), 1);
}

void RecordWritesTest::failedUpdateDiscardsThePendingEdit()
{
    QVERIFY(m_store->exec(QStringLiteral("INSERT INTO 约束 VALUES ('good', 1)")));
    QVERIFY(m_set->openTable(QStringLiteral("约束")));

    // A new row the store refuses (a NULL where none is allowed).
    QVERIFY(m_set->addNew());
    QVERIFY(m_set->writeInt(QStringLiteral("b"), 2));
    QVERIFY(!m_set->update());
    QCOMPARE(m_store->count(QStringLiteral("约束")), 1);
    QCOMPARE(current(*m_set, QStringLiteral("a")), QStringLiteral("good")); // back on the row before addNew
    QVERIFY(m_set->update());                                               // nothing left pending
    QCOMPARE(m_store->count(QStringLiteral("约束")), 1);

    // A change the store refuses.
    QVERIFY(m_set->writeText(QStringLiteral("a"), QStringLiteral("bad")));
    QVERIFY(m_set->writeInt(QStringLiteral("b"), 9));
    QVERIFY(!m_set->update());
    QCOMPARE(current(*m_set, QStringLiteral("a")), QStringLiteral("good"));
    QCOMPARE(current(*m_set, QStringLiteral("b")), QStringLiteral("1"));
    QCOMPARE(m_store->storedText(QStringLiteral("SELECT a || b FROM 约束")), QStringLiteral("good1"));
    QVERIFY(!m_store->connection().errorText().isEmpty());
}

void RecordWritesTest::updateChangesTheCurrentRow()
{
    QVERIFY(m_set->openTable(kRegions));
    QVERIFY(m_set->moveFromFirst(1));
    QVERIFY(m_set->writeText(kParent, QStringLiteral("中国")));
    QVERIFY(m_set->writeInt(kLevel, 2));
    QCOMPARE(current(*m_set, kParent), QStringLiteral("中国")); // a pending write reads back
    QVERIFY(m_set->update());
    QCOMPARE(current(*m_set, kName), QStringLiteral("省"));
    QCOMPARE(m_store->storedText(QStringLiteral("SELECT 标识 || 直属管辖 FROM 区域管理 WHERE 单位名称 = '省'")),
             QStringLiteral("2中国"));
    QCOMPARE(m_store->count(kRegions, QStringLiteral("标识 = 2")), 1);
    // Seen again after moving away and back.
    m_set->moveFirst();
    m_set->moveNext();
    QCOMPARE(current(*m_set, kParent), QStringLiteral("中国"));
}

void RecordWritesTest::updateWithNothingPending()
{
    QVERIFY(m_set->openTable(kRegions));
    QVERIFY(m_set->update());
    QCOMPARE(m_store->count(kRegions), 3);
}

void RecordWritesTest::deleteCurrentCommitsAtOnce()
{
    QVERIFY(m_set->openTable(kRegions));
    QVERIFY(m_set->moveNext());
    QVERIFY(m_set->deleteCurrent());
    QCOMPARE(m_store->count(kRegions), 2); // no update needed
    QVERIFY(!m_set->deleteCurrent());      // the row is gone already
    QCOMPARE(walkColumn(*m_set, kName), (QStringList{QStringLiteral("中国"), QStringLiteral("市")}));

    // An addNew pending is discarded, never deleted from the store.
    QVERIFY(m_set->addNew());
    QVERIFY(!m_set->deleteCurrent());
    QCOMPARE(m_store->count(kRegions), 2);
}

void RecordWritesTest::deletedRowStaysCurrentUntilTheNextMove_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("next"); // the row that follows it, after moveNext
    QTest::newRow("first") << 0 << QStringLiteral("省");
    QTest::newRow("middle") << 1 << QStringLiteral("市");
    QTest::newRow("last") << 2 << QStringLiteral("<end>");
}

void RecordWritesTest::deletedRowStaysCurrentUntilTheNextMove()
{
    QFETCH(int, row);
    QFETCH(QString, next);
    QVERIFY(m_set->openTable(kRegions));
    QVERIFY(m_set->moveFromFirst(row));
    QVERIFY(m_set->deleteCurrent());
    QVERIFY(!m_set->isAtEnd());
    QString text = QStringLiteral("x");
    QVERIFY(!m_set->readText(kName, text)); // the deleted row cannot be read
    QCOMPARE(text, QString());
    QVERIFY(!m_set->writeText(kName, QStringLiteral("y")));
    QVERIFY(m_set->moveNext());
    QCOMPARE(current(*m_set, kName), next);

    // The program's deleting walk visits every row.
    QVERIFY(m_set->openTable(kRegions));
    int visited = 0;
    m_set->moveFirst();
    while (!m_set->isAtEnd()) {
        ++visited;
        m_set->deleteCurrent();
        m_set->moveNext();
    }
    QCOMPARE(visited, 2);
    QCOMPARE(m_store->count(kRegions), 0);
}

void RecordWritesTest::findNextAfterDeletingTheRowFound()
{
    for (const char *name : {"甲", "乙", "甲"})
        m_store->addRegion(5, QString::fromUtf8(name), QStringLiteral("p"));
    QVERIFY(m_set->openTable(kRegions));
    m_set->moveFirst();
    QVERIFY(m_set->find(QStringLiteral("单位名称='甲'")));
    QVERIFY(m_set->deleteCurrent());
    QVERIFY(m_set->findNext()); // the next 甲, two rows on
    QVERIFY(m_set->deleteCurrent());
    QVERIFY(!m_set->findNext());
    QCOMPARE(m_store->count(kRegions, QStringLiteral("单位名称 = '甲'")), 0);
    QCOMPARE(m_store->count(kRegions), 4);
}

void RecordWritesTest::findThenDeleteThenUpdate()
{
    // The region list's deletion: find, deleteCurrent, update, close.
    QVERIFY(m_set->openTable(kRegions));
    m_set->moveFirst();
    QVERIFY(m_set->find(QStringLiteral("单位名称='省'"), 1));
    QVERIFY(m_set->deleteCurrent());
    QVERIFY(m_set->update());
    m_set->close();
    QCOMPARE(m_store->count(kRegions, QStringLiteral("单位名称 = '省'")), 0);
    QCOMPARE(m_store->count(kRegions), 2);
}

void RecordWritesTest::deleteAll()
{
    QVERIFY(m_set->openWhere(kRegions, QStringLiteral("单位名称='省'")));
    RecordSet other;
    other.attach(m_store->connection());
    QVERIFY(other.openTable(kRegions));
    // "delete from" the whole remembered table, whatever the condition of the open.
    QVERIFY(m_set->deleteAll());
    QVERIFY(m_set->isAtEnd());
    QCOMPARE(m_store->count(kRegions), 0);
    QCOMPARE(walkColumn(other, kName),
             (QStringList{QStringLiteral("中国"), QStringLiteral("省"), QStringLiteral("市")}));
    m_set->close();
    QVERIFY(!m_set->deleteAll());
}

void RecordWritesTest::staticCursorSeesOnlyItsOwnChanges()
{
    QVERIFY(m_set->openTable(kRegions));
    QCOMPARE(current(*m_set, kName), QStringLiteral("中国")); // row 0 read before the change, row 1 after

    RecordSet other;
    other.attach(m_store->connection());
    QVERIFY(other.openTable(kRegions));
    QVERIFY(other.writeText(kName, QStringLiteral("改国")));
    QVERIFY(other.update());
    QVERIFY(other.moveNext());
    QVERIFY(other.writeText(kName, QStringLiteral("改省")));
    QVERIFY(other.update());
    QVERIFY(other.moveNext());
    QVERIFY(other.deleteCurrent());
    QVERIFY(other.addNew());
    QVERIFY(other.writeText(kName, QStringLiteral("新")));
    QVERIFY(other.update());

    // This set still shows the rows as of its open ...
    QCOMPARE(walkColumn(*m_set, kName),
             (QStringList{QStringLiteral("中国"), QStringLiteral("省"), QStringLiteral("市")}));
    m_set->moveFirst();
    QVERIFY(m_set->find(QStringLiteral("单位名称='市'")));
    QVERIFY(!m_set->find(QStringLiteral("单位名称='改省'")));
    // ... the other its own changes.
    QCOMPARE(walkColumn(other, kName),
             (QStringList{QStringLiteral("改国"), QStringLiteral("改省"), QStringLiteral("新")}));

    // Its own changes show in it.
    m_set->moveFirst();
    QVERIFY(m_set->addNew());
    QVERIFY(m_set->writeText(kName, QStringLiteral("己")));
    QVERIFY(m_set->update());
    QCOMPARE(walkColumn(*m_set, kName),
             (QStringList{QStringLiteral("中国"), QStringLiteral("省"), QStringLiteral("市"), QStringLiteral("己")}));
    QCOMPARE(walkColumn(other, kName),
             (QStringList{QStringLiteral("改国"), QStringLiteral("改省"), QStringLiteral("新")}));

    // A new open shows the store as it is.
    QVERIFY(m_set->openTable(kRegions));
    QCOMPARE(walkColumn(*m_set, kName),
             (QStringList{QStringLiteral("改国"), QStringLiteral("改省"), QStringLiteral("新"), QStringLiteral("己")}));
}

void RecordWritesTest::conflictingUpdateFails()
{
    QVERIFY(m_set->openTable(kRegions));
    RecordSet other;
    other.attach(m_store->connection());
    QVERIFY(other.openTable(kRegions));
    QVERIFY(other.writeText(kParent, QStringLiteral("他")));
    QVERIFY(other.update());

    // This set's row changed elsewhere since it showed it: optimistic locking refuses.
    QVERIFY(m_set->writeText(kParent, QStringLiteral("我")));
    QVERIFY(!m_set->update());
    QVERIFY(!m_set->deleteCurrent());
    QCOMPARE(m_store->storedText(QStringLiteral("SELECT 直属管辖 FROM 区域管理 WHERE 单位名称 = '中国'")),
             QStringLiteral("他"));
    QCOMPARE(current(*m_set, kParent), QString());

    // A row deleted elsewhere cannot be changed either; untouched rows can.
    QVERIFY(other.moveNext());
    QVERIFY(other.deleteCurrent());
    QVERIFY(m_set->moveNext());
    QCOMPARE(current(*m_set, kName), QStringLiteral("省"));
    QVERIFY(m_set->writeText(kParent, QStringLiteral("我")));
    QVERIFY(!m_set->update());
    QVERIFY(m_set->moveNext());
    QVERIFY(m_set->writeText(kParent, QStringLiteral("我")));
    QVERIFY(m_set->update());
    QCOMPARE(m_store->count(kRegions, QStringLiteral("直属管辖 = '我'")), 1);
}

void RecordWritesTest::writesJoinAnOuterTransaction()
{
    {
        fenlark::Transaction outer(m_store->connection());
        QVERIFY(m_set->openTable(kRegions));
        QVERIFY(m_set->addNew());
        QVERIFY(m_set->writeText(kName, QStringLiteral("新")));
        QVERIFY(m_set->update());
        QVERIFY(m_set->deleteCurrent());
        QVERIFY(m_set->moveFirst());
        QVERIFY(m_set->deleteCurrent());
        // not committed
    }
    QCOMPARE(m_store->count(kRegions), 3);
}

QTEST_GUILESS_MAIN(RecordWritesTest)
#include "tst_record_writes.moc"
