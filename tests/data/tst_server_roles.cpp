#include "register_fixture.h"

#include "data/server_setup.h"
#include "data/statistics_index.h"

#include <QTest>

using fenlark::DBConnection;
using fenlark::RecordSet;
using fenlark::Statement;

namespace {
const QString kHouseholds = QStringLiteral("成员信息");
const QString kRegions = QStringLiteral("区域管理");
} // namespace

// A county register on a server, made by initServerRegister in a database of its own: a
// township's clerks read everything and write only under their own township, the county
// writes everywhere, and the server enforces it whatever SQL a program sends.
class ServerRolesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void initMakesTheRolesOfEveryTownship();
    void townshipClerkReadsAllWritesOwn();
    void townshipRefusedElsewhereWhateverTheSql_data();
    void townshipRefusedElsewhereWhateverTheSql();
    void countyWritesEverywhere();
    void initBringsAnEarlierRegisterUpToDate();

private:
    QString as(const QString &user) const
    {
        return m_server + QStringLiteral(" dbname=%1 user=%2").arg(m_database, user);
    }
    static QStringList column(DBConnection &connection, const QString &sql)
    {
        QStringList values;
        Statement query(connection, sql);
        while (query.step())
            values << query.text(0);
        return values;
    }
    void addHousehold(DBConnection &connection, const QString &head, const QString &unit, const QString &parent)
    {
        Statement insert(connection, QStringLiteral("INSERT INTO 成员信息 (录入年份, 户主, 所属管辖, 上级管辖) "
                                                    "VALUES (2016, ?, ?, ?)"));
        insert.bind(1, head).bind(2, unit).bind(3, parent);
        QVERIFY2(insert.exec(), qPrintable(connection.errorText()));
    }

    QString m_server;
    QString m_database;
    QString m_townClerk;
    QString m_countyClerk;
    DBConnection m_admin; // the administrator on the register's database
    fenlark::ServerInitReport m_report;
};

void ServerRolesTest::initTestCase()
{
    if (!RegisterFixture::onServer())
        QSKIP("a server register only (FENLARK_TEST_ENGINE=postgresql)");
    m_server = QString::fromLocal8Bit(qgetenv("FENLARK_TEST_PG"));
    if (m_server.isEmpty())
        QSKIP("no PostgreSQL server: FENLARK_TEST_PG is not set (ctest starts one with tests/support/pg_cluster.sh)");
    const QString tag = QString::number(QCoreApplication::applicationPid());
    m_database = QStringLiteral("fenlark_roles_") + tag;
    m_townClerk = QStringLiteral("clerk_town_") + tag;
    m_countyClerk = QStringLiteral("clerk_county_") + tag;
    {
        DBConnection cluster;
        QVERIFY2(cluster.connectServer(m_server), qPrintable(cluster.openFailureReason()));
        QVERIFY(fenlark::execScript(cluster, QStringLiteral("CREATE DATABASE ") + m_database));
    }
    QVERIFY(m_admin.connectServer(m_server + QStringLiteral(" dbname=") + m_database));
    QString error;
    // First on an empty server (the tables only), then again once the tree is there.
    QVERIFY2(fenlark::initServerRegister(m_admin, m_report, error), qPrintable(error));
    QVERIFY(m_report.tablesMade);
    QVERIFY(m_report.townships.isEmpty());
    QVERIFY(fenlark::execScript(m_admin, QStringLiteral("INSERT INTO 区域管理 (标识, 区域, 单位名称, 直属管辖) VALUES "
                                                        "(1, '国家', '中国', ''), (4, '乡镇', '镇一', '市'), "
                                                        "(4, '乡镇', '镇二', '市'), (5, '村委会', '村A', '镇一'), "
                                                        "(5, '村委会', '村B', '镇二')")));
    addHousehold(m_admin, QStringLiteral("张三"), QStringLiteral("村A"), QStringLiteral("镇一"));
    addHousehold(m_admin, QStringLiteral("李四"), QStringLiteral("村B"), QStringLiteral("镇二"));
    QVERIFY2(fenlark::initServerRegister(m_admin, m_report, error), qPrintable(error));
    QVERIFY(!m_report.tablesMade);
    const QStringList townRole = column(m_admin, QStringLiteral("SELECT 角色 FROM 乡镇角色 WHERE 乡镇 = '镇一'"));
    QCOMPARE(townRole.size(), 1);
    QVERIFY(fenlark::execScript(m_admin,
                                QStringLiteral("CREATE ROLE %1 LOGIN IN ROLE %2; CREATE ROLE %3 LOGIN IN ROLE %4")
                                    .arg(m_townClerk, townRole.first(), m_countyClerk, fenlark::serverRoles::county)));
}

void ServerRolesTest::cleanupTestCase()
{
    if (m_database.isEmpty() || !m_admin.isOpen())
        return;
    m_admin.close();
    DBConnection cluster;
    if (!cluster.connectServer(m_server))
        return;
    fenlark::execScript(cluster, QStringLiteral("DROP DATABASE IF EXISTS ") + m_database);
    fenlark::execScript(cluster, QStringLiteral("DROP ROLE IF EXISTS ") + m_townClerk);
    fenlark::execScript(cluster, QStringLiteral("DROP ROLE IF EXISTS ") + m_countyClerk);
}

void ServerRolesTest::initMakesTheRolesOfEveryTownship()
{
    QCOMPARE(m_report.townships, (QStringList{QStringLiteral("镇一"), QStringLiteral("镇二")}));
    QCOMPARE(column(m_admin, QStringLiteral("SELECT count(*) FROM pg_roles WHERE rolname IN "
                                            "(SELECT 角色 FROM 乡镇角色) OR rolname = 'fenlark_county'")),
             QStringList{QStringLiteral("3")});
}

void ServerRolesTest::townshipClerkReadsAllWritesOwn()
{
    DBConnection clerk;
    QVERIFY2(clerk.connectServer(as(m_townClerk)), qPrintable(clerk.openFailureReason()));
    RecordSet set;
    set.attach(clerk);
    QVERIFY(set.openTable(kHouseholds));
    QCOMPARE(walkColumn(set, QStringLiteral("户主")), (QStringList{QStringLiteral("张三"), QStringLiteral("李四")}));

    // Its own household changes, another township's is refused with the server's words.
    QVERIFY(set.moveFirst());
    QVERIFY(set.writeText(QStringLiteral("家庭住址"), QStringLiteral("一村一号")));
    QVERIFY2(set.update(), qPrintable(clerk.errorText()));
    QVERIFY(set.moveNext());
    QVERIFY(set.writeText(QStringLiteral("家庭住址"), QStringLiteral("改了")));
    QVERIFY(!set.update());
    QVERIFY(!set.wasChangedElsewhere());
    QVERIFY(clerk.errorText().contains(QStringLiteral("不属于本乡镇")));
    QVERIFY(!set.deleteCurrent());

    // A village of its own is added; one under another township is not.
    RecordSet units;
    units.attach(clerk);
    QVERIFY(units.openForAppend(kRegions));
    QVERIFY(units.addNew() && units.writeInt(QStringLiteral("标识"), 5) &&
            units.writeText(QStringLiteral("单位名称"), QStringLiteral("村C")) &&
            units.writeText(QStringLiteral("直属管辖"), QStringLiteral("镇一")));
    QVERIFY2(units.update(), qPrintable(clerk.errorText()));
    QVERIFY(units.addNew() && units.writeInt(QStringLiteral("标识"), 5) &&
            units.writeText(QStringLiteral("单位名称"), QStringLiteral("村D")) &&
            units.writeText(QStringLiteral("直属管辖"), QStringLiteral("镇二")));
    QVERIFY(!units.update());
    QCOMPARE(column(m_admin, QStringLiteral("SELECT 家庭住址 FROM 成员信息 ORDER BY id")),
             (QStringList{QStringLiteral("一村一号"), QString()}));
    QCOMPARE(column(m_admin, QStringLiteral("SELECT 单位名称 FROM 区域管理 WHERE 标识 = 5 ORDER BY id")),
             (QStringList{QStringLiteral("村A"), QStringLiteral("村B"), QStringLiteral("村C")}));
}

void ServerRolesTest::townshipRefusedElsewhereWhateverTheSql_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("change every household") << QStringLiteral("UPDATE 成员信息 SET 家庭住址 = '全改'");
    QTest::newRow("move another's household in")
        << QStringLiteral("UPDATE 成员信息 SET 所属管辖 = '村A', 上级管辖 = '镇一' WHERE 户主 = '李四'");
    QTest::newRow("move its own household out")
        << QStringLiteral("UPDATE 成员信息 SET 所属管辖 = '村B', 上级管辖 = '镇二' WHERE 户主 = '张三'");
    QTest::newRow("delete another's household") << QStringLiteral("DELETE FROM 成员信息 WHERE 户主 = '李四'");
    QTest::newRow("add under another township")
        << QStringLiteral("INSERT INTO 成员信息 (户主, 所属管辖, 上级管辖) VALUES ('王五', '村B', '镇二')");
    QTest::newRow("rename another township's village")
        << QStringLiteral("UPDATE 区域管理 SET 单位名称 = '新村' WHERE 单位名称 = '村B'");
    QTest::newRow("switch the guard off") << QStringLiteral("ALTER TABLE 成员信息 DISABLE TRIGGER fenlark_guard");
}

void ServerRolesTest::townshipRefusedElsewhereWhateverTheSql()
{
    QFETCH(QString, sql);
    DBConnection clerk;
    QVERIFY(clerk.connectServer(as(m_townClerk)));
    const QStringList before = column(m_admin, QStringLiteral("SELECT 户主 || 所属管辖 || COALESCE(家庭住址, '') "
                                                              "FROM 成员信息 ORDER BY id"));
    QVERIFY(!fenlark::execScript(clerk, sql));
    QCOMPARE(column(m_admin, QStringLiteral("SELECT 户主 || 所属管辖 || COALESCE(家庭住址, '') FROM 成员信息 "
                                            "ORDER BY id")),
             before);
    QCOMPARE(column(m_admin, QStringLiteral("SELECT count(*) FROM 区域管理 WHERE 单位名称 = '新村'")),
             QStringList{QStringLiteral("0")});
}

void ServerRolesTest::countyWritesEverywhere()
{
    DBConnection county;
    QVERIFY(county.connectServer(as(m_countyClerk)));
    QVERIFY2(fenlark::execScript(county, QStringLiteral("UPDATE 成员信息 SET 家庭住址 = '县改' WHERE 户主 = '李四'")),
             qPrintable(county.errorText()));
    addHousehold(county, QStringLiteral("赵六"), QStringLiteral("村B"), QStringLiteral("镇二"));
    QCOMPARE(column(m_admin, QStringLiteral("SELECT 户主 || COALESCE(家庭住址, '') FROM 成员信息 WHERE "
                                            "所属管辖 = '村B' ORDER BY id")),
             (QStringList{QStringLiteral("李四县改"), QStringLiteral("赵六")}));
}

// A register made while typeof was one general function read a yes/no value as text, and its
// statistics counted no yes/no column; run again, the initialisation gives it what counts them.
void ServerRolesTest::initBringsAnEarlierRegisterUpToDate()
{
    QVERIFY(fenlark::execScript(
        m_admin, QStringLiteral("DROP FUNCTION fenlark_typeof(smallint), fenlark_typeof(integer), "
                                "fenlark_typeof(bigint), fenlark_typeof(yesno), fenlark_typeof(real), "
                                "fenlark_typeof(double precision), fenlark_typeof(numeric), fenlark_typeof(text), "
                                "fenlark_typeof(datetime), fenlark_typeof(bytea) CASCADE;\n") +
                     fenlark::statisticsIndex::createSql() +
                     QStringLiteral("UPDATE 成员信息 SET 是否党员 = 1 WHERE 户主 = '张三';")));
    const QString typeOfFlag = QStringLiteral("SELECT typeof(是否党员) FROM 成员信息 WHERE 户主 = '张三'");
    const QString indexesOnTheFlagFunction =
        QStringLiteral("SELECT count(DISTINCT objid) FROM pg_depend WHERE objid IN (to_regclass('\"%1\"'), "
                       "to_regclass('\"%2\"')) AND refobjid = to_regprocedure('fenlark_typeof(yesno)')")
            .arg(fenlark::statisticsIndex::name, fenlark::statisticsIndex::oddValuesName);
    QCOMPARE(column(m_admin, typeOfFlag), QStringList{QStringLiteral("text")});

    QString error;
    QVERIFY2(fenlark::initServerRegister(m_admin, m_report, error), qPrintable(error));
    QCOMPARE(column(m_admin, typeOfFlag), QStringList{QStringLiteral("integer")});
    QCOMPARE(column(m_admin, indexesOnTheFlagFunction), QStringList{QStringLiteral("2")});
    // Once is enough: a further run finds it up to date.
    QVERIFY2(fenlark::initServerRegister(m_admin, m_report, error), qPrintable(error));
    QCOMPARE(column(m_admin, indexesOnTheFlagFunction), QStringList{QStringLiteral("2")});
}

QTEST_GUILESS_MAIN(ServerRolesTest)
#include "tst_server_roles.moc"
