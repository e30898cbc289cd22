#include "register_fixture.h"

#include "data/db_connection.h"
#include "data/record_set.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using fenlark::DBConnection;
using fenlark::RecordSet;

class DbConnectionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void missingFileFailsAndCreatesNothing();
    void fileThatIsNoDatabaseFails_data();
    void fileThatIsNoDatabaseFails();
    void goodFileOpens();
    void passwordGoesIntoTheConnectionText();
    void reconnectClosesTheOpenSets();
    void failedConnectionStillAttachesButNothingOpens();
    void setOutlivingItsConnectionIsSafe();
};

void DbConnectionTest::missingFileFailsAndCreatesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.mdb"));
    DBConnection connection;
    QVERIFY(!connection.connectAccess(path, QString()));
    QVERIFY(!connection.isOpen());
    QVERIFY(!connection.openFailureReason().isEmpty());
    QVERIFY(!QFile::exists(path));
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

void DbConnectionTest::fileThatIsNoDatabaseFails_data()
{
    QTest::addColumn<QByteArray>("content");
    QByteArray noise;
    for (int i = 0; i < 4096; ++i)
        noise.append(char((i * 7919 + 13) % 251));
    QTest::newRow("random bytes") << noise;
    QTest::newRow("text file") << QByteArray("户主,所属管辖\n张三,一村\n").repeated(20);
    QTest::newRow("short text") << QByteArray("hello");
}

void DbConnectionTest::fileThatIsNoDatabaseFails()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.mdb"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    DBConnection connection;
    QVERIFY(!connection.connectAccess(path, QString()));
    QVERIFY(!connection.isOpen());
    QVERIFY(!connection.openFailureReason().isEmpty());
    QFile check(path);
    QVERIFY(check.open(QIODevice::ReadOnly));
    QCOMPARE(check.readAll(), content); // left as it was
}

void DbConnectionTest::goodFileOpens()
{
    RegisterFixture store;
    QVERIFY(store.isReady());
    DBConnection connection;
    QVERIFY(connection.connectAccess(store.path(), QString()));
    QVERIFY(connection.isOpen());
    QVERIFY(connection.openFailureReason().isEmpty());
    QCOMPARE(connection.connectionText(),
             QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=") + store.path());
}

void DbConnectionTest::passwordGoesIntoTheConnectionText()
{
    RegisterFixture store;
    DBConnection connection;
    connection.connectAccess(store.path(), QStringLiteral("pw"));
    QCOMPARE(connection.connectionText(), QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=") +
                                              store.path() + QStringLiteral(";Jet OLEDB:Database Password=pw;"));
}

void DbConnectionTest::reconnectClosesTheOpenSets()
{
    RegisterFixture store;
    store.addRegion(1, QStringLiteral("中国"));
    RecordSet set;
    QVERIFY(set.attach(store.connection()));
    QVERIFY(set.openTable(QStringLiteral("区域管理")));
    QVERIFY(store.connection().connectAccess(store.path(), QString()));
    QVERIFY(!set.isOpen());
    QVERIFY(set.isAtEnd());
    // Still attached: the next open works on the new link.
    QVERIFY(set.openTable(QStringLiteral("区域管理")));
    QCOMPARE(walkColumn(set, QStringLiteral("单位名称")), QStringList{QStringLiteral("中国")});
}

void DbConnectionTest::failedConnectionStillAttachesButNothingOpens()
{
    QTemporaryDir dir;
    DBConnection connection;
    QVERIFY(!connection.connectAccess(dir.filePath(QStringLiteral("data.mdb")), QString()));
    RecordSet set;
    QVERIFY(set.attach(connection));
    QVERIFY(!set.openTable(QStringLiteral("区域管理")));
    QVERIFY(!set.openSorted(QStringLiteral("区域管理"), QStringLiteral("标识 ASC")));
    QVERIFY(!set.openWhere(QStringLiteral("成员信息"), QStringLiteral("录入年份=2016")));
    QVERIFY(set.isAtEnd());
    QVERIFY(!set.moveFirst());
    QVERIFY(!set.find(QStringLiteral("单位名称='x'")));
}

void DbConnectionTest::setOutlivingItsConnectionIsSafe()
{
    RecordSet set;
    {
        RegisterFixture store;
        store.addRegion(1, QStringLiteral("中国"));
        QVERIFY(set.attach(store.connection()));
        QVERIFY(set.openTable(QStringLiteral("区域管理")));
    }
    QVERIFY(!set.isOpen());
    QVERIFY(!set.openTable(QStringLiteral("区域管理")));
    QVERIFY(set.isAtEnd());
}

QTEST_GUILESS_MAIN(DbConnectionTest)
#include "tst_db_connection.moc"
