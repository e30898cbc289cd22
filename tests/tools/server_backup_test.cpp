#include "data/db_connection.h"
#include "data/server_schema.h"
#include "data/statement.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// fenlark-db backup of a register on a server: pg_dump's file, put in place only when it reads
// back, and nothing left behind when the server cannot be reached.
class ServerBackupTest : public QObject {
    Q_OBJECT

private:
    static int runTool(const QStringList &args, QString *err = nullptr)
    {
        QProcess process;
        process.start(QStringLiteral(FENLARK_DB_PATH), args);
        if (!process.waitForFinished(120000))
            return -1;
        if (err)
            *err = QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

private Q_SLOTS:
    void unreachableServerLeavesNoFile()
    {
        QTemporaryDir dir;
        const QString dest = dir.filePath(QStringLiteral("county.dump"));
        QString err;
        QCOMPARE(
            runTool({QStringLiteral("backup"), QStringLiteral("host=") + dir.path() + QStringLiteral(" port=1"), dest},
                    &err),
            1);
        QVERIFY2(err.contains(QStringLiteral(".s.PGSQL.1")), qPrintable(err));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{});
    }

    void serverNeedsADestination()
    {
        QCOMPARE(runTool({QStringLiteral("backup"), QStringLiteral("host=/nowhere dbname=x")}), 2);
    }

    void dumpsTheRegisterIntoAFolder()
    {
        const QString server = QString::fromLocal8Bit(qgetenv("FENLARK_TEST_PG"));
        if (qgetenv("FENLARK_TEST_ENGINE") != "postgresql" || server.isEmpty())
            QSKIP("a server register only (FENLARK_TEST_ENGINE=postgresql with FENLARK_TEST_PG)");
        const QString database = QStringLiteral("fenlark_backup_%1").arg(QCoreApplication::applicationPid());
        fenlark::DBConnection cluster;
        QVERIFY(cluster.connectServer(server));
        QVERIFY(fenlark::execScript(cluster, QStringLiteral("CREATE DATABASE ") + database));
        const QString uri = server + QStringLiteral(" dbname=") + database;
        {
            fenlark::DBConnection county;
            QVERIFY(county.connectServer(uri));
            QVERIFY(fenlark::execScript(county, fenlark::schema::createServerTablesSql()));
            QVERIFY(fenlark::execScript(
                county, QStringLiteral("INSERT INTO 成员信息 (户主, 所属管辖) VALUES ('张三', '村A')")));
        }
        QTemporaryDir dir;
        const int code = runTool({QStringLiteral("backup"), uri, dir.path()});
        fenlark::execScript(cluster, QStringLiteral("DROP DATABASE ") + database);
        QCOMPARE(code, 0);
        const QStringList files = QDir(dir.path()).entryList(QDir::Files);
        QCOMPARE(files.size(), 1);
        QVERIFY(files.first().startsWith(QStringLiteral("fenlark-server-")) &&
                files.first().endsWith(QStringLiteral(".dump")));
        QProcess list;
        list.start(QStringLiteral("pg_restore"), {QStringLiteral("--list"), dir.filePath(files.first())});
        QVERIFY(list.waitForFinished(60000));
        QVERIFY(QString::fromUtf8(list.readAllStandardOutput()).contains(QStringLiteral("成员信息")));
    }
};

QTEST_GUILESS_MAIN(ServerBackupTest)
#include "server_backup_test.moc"
