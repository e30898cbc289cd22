// fenlark-db backup, restore and check as the real program, and makers killed half-way.
#include "maintenance/backups.h"
#include "maintenance/register_copy.h"
#include "maintenance/register_lock.h"

#include "fenlark-db/register_maker.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "data/db_connection.h"
#include "data/statement.h"

#include <csignal>

using namespace fenlark;
using namespace fenlark::maintenance;

namespace {

struct RunResult {
    int exitCode = -1;
    QString out;
    QString err;
};

RunResult runTool(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(FENLARK_DB_PATH), args);
    RunResult result;
    if (!process.waitForFinished(120000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

} // namespace

class MaintenanceCommandsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void backupRestoreCheckRoundTrip();
    void checkExitCodes_data();
    void checkExitCodes();
    void restoreRefusals();
    void checkRepairRebuildsTheCardIndex();
    void checkOfAnOlderRegisterSaysItBuildsTheCardIndex();
    void killedDemoNeverLeavesAHalfMadeRegister();
};

void MaintenanceCommandsTest::backupRestoreCheckRoundTrip()
{
    QTemporaryDir dir;
    const QString reg = dir.filePath(QStringLiteral("data.mdb"));
    QCOMPARE(runTool({QStringLiteral("demo"), reg, QStringLiteral("--households"), QStringLiteral("50")}).exitCode, 0);

    // Without DEST: into 备份 beside the register, named by the time.
    RunResult run = runTool({QStringLiteral("backup"), reg});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    const QList<BackupFile> backups = listBackups(reg);
    QCOMPARE(backups.size(), 1);
    // With a file as DEST: that file, never over an existing one.
    const QString copy = dir.filePath(QStringLiteral("copy.mdb"));
    QCOMPARE(runTool({QStringLiteral("backup"), reg, copy}).exitCode, 0);
    QCOMPARE(householdCount(copy), 50);
    run = runTool({QStringLiteral("backup"), reg, copy});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(QStringLiteral("already exists")), qPrintable(run.err));

    QCOMPARE(runTool({QStringLiteral("check"), reg}).exitCode, 0);
    QFile::remove(reg);
    run = runTool({QStringLiteral("restore"), backups.first().path, reg});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(householdCount(reg), 50);
    QCOMPARE(runTool({QStringLiteral("check"), reg}).exitCode, 0);
}

void MaintenanceCommandsTest::checkExitCodes_data()
{
    QTest::addColumn<QString>("plant"); // SQL run on a demo register; "garbage" writes a non-database
    QTest::addColumn<int>("code");
    QTest::newRow("clean") << QString() << 0;
    QTest::newRow("findings") << QStringLiteral("UPDATE 成员信息 SET 户主 = '' WHERE id = 1") << 1;
    QTest::newRow("unreadable") << QStringLiteral("garbage") << 2;
    // The head's card with its check character changed is found among the cards.
    QTest::newRow("card check digit") << QStringLiteral("badcard") << 1;
}

void MaintenanceCommandsTest::checkExitCodes()
{
    QFETCH(QString, plant);
    QFETCH(int, code);
    QString badCard;
    QTemporaryDir dir;
    const QString reg = dir.filePath(QStringLiteral("data.mdb"));
    QString error;
    QVERIFY(dbtool::makeDemoRegister(reg, 30, error));
    if (plant == QStringLiteral("garbage")) {
        QFile file(reg);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(4096, 'x'));
    } else if (plant == QStringLiteral("badcard")) {
        DBConnection db;
        QVERIFY(db.connectAccess(reg, QString()));
        Statement read(db, QStringLiteral("SELECT 户主信息, 家庭人员信息 FROM 成员信息 WHERE id = 1"));
        QVERIFY(read.step());
        const QString head = read.text(0);
        const QString members = read.text(1);
        const QString card = head.split(u'-').value(2);
        QCOMPARE(card.size(), 18);
        const QString wrong = card.left(17) + (card.at(17) == u'1' ? u'2' : u'1');
        badCard = wrong;
        Statement write(db, QStringLiteral("UPDATE 成员信息 SET 户主信息 = ?, 家庭人员信息 = ? WHERE id = 1"));
        write.bind(1, QString(head).replace(card, wrong)).bind(2, QString(members).replace(card, wrong));
        QVERIFY(write.exec());
    } else if (!plant.isEmpty()) {
        DBConnection db;
        QVERIFY(db.connectAccess(reg, QString()));
        QVERIFY(execScript(db, plant));
    }
    const RunResult run = runTool({QStringLiteral("check"), reg});
    QCOMPARE(run.exitCode, code);
    if (code == 1)
        QVERIFY2(run.out.contains(QTest::currentDataTag() == QByteArray("findings")
                                      ? QStringLiteral("户主是空的")
                                      : badCard + QStringLiteral(": 校验位不正确")),
                 qPrintable(run.out));
    if (code == 2)
        QVERIFY(run.err.contains(reg));
}

void MaintenanceCommandsTest::checkRepairRebuildsTheCardIndex()
{
    QTemporaryDir dir;
    const QString reg = dir.filePath(QStringLiteral("data.mdb"));
    QString error;
    QVERIFY(dbtool::makeDemoRegister(reg, 30, error));
    const auto indexed = [&] {
        DBConnection db;
        if (!db.connectAccess(reg, QString()))
            return qint64(-1);
        Statement query(db, QStringLiteral("SELECT count(*) FROM 成员身份证"));
        return query.step() ? query.int64(0) : qint64(-1);
    };
    const qint64 before = indexed();
    QVERIFY(before > 0);
    {
        // Another tool emptied the index behind the program's back.
        DBConnection db;
        QVERIFY(db.connectAccess(reg, QString()));
        QVERIFY(execScript(db, QStringLiteral("DELETE FROM 成员身份证")));
    }
    QCOMPARE(indexed(), qint64(0));
    const RunResult run = runTool({QStringLiteral("check"), reg, QStringLiteral("--repair")});
    QVERIFY2(run.out.contains(QStringLiteral("索引已重建")), qPrintable(run.out + run.err));
    QCOMPARE(indexed(), before);
}

// Opening a register from before the member-card index builds it, which takes about a minute at
// a million households: the check says each step on stderr instead of sitting silent.
void MaintenanceCommandsTest::checkOfAnOlderRegisterSaysItBuildsTheCardIndex()
{
    QTemporaryDir dir;
    const QString reg = dir.filePath(QStringLiteral("data.mdb"));
    QString error;
    QVERIFY(dbtool::makeDemoRegister(reg, 30, error));
    {
        DBConnection db;
        QVERIFY(db.connectAccess(reg, QString()));
        QVERIFY(execScript(db, QStringLiteral("DROP TABLE 成员身份证; DROP TABLE 成员姓名检索;")));
    }
    RunResult run = runTool({QStringLiteral("check"), reg});
    QCOMPARE(run.exitCode, 0);
    QStringList lines = run.err.split(u'\n', Qt::SkipEmptyParts);
    QVERIFY2(lines.size() >= 4, qPrintable(run.err));
    QCOMPARE(lines.first(), QStringLiteral("fenlark-db check: 正在建立身份证索引… 0%"));
    // The share is of the whole build: the cards are its first half.
    QVERIFY(lines.contains(QStringLiteral("fenlark-db check: 正在建立身份证索引… 50%")));
    QVERIFY(lines.contains(QStringLiteral("fenlark-db check: 正在建立姓名检索… 50%")));
    QCOMPARE(lines.last(), QStringLiteral("fenlark-db check: 正在建立姓名检索… 100%"));
    // Built once: the next check has nothing to say there.
    run = runTool({QStringLiteral("check"), reg});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QString());
}

void MaintenanceCommandsTest::restoreRefusals()
{
    QTemporaryDir dir;
    const QString reg = dir.filePath(QStringLiteral("data.mdb"));
    QString error;
    QVERIFY(dbtool::makeDemoRegister(reg, 30, error));
    const QString backup = dir.filePath(QStringLiteral("good.mdb"));
    QCOMPARE(runTool({QStringLiteral("backup"), reg, backup}).exitCode, 0);

    { // The program has the register open: refused, nothing touched.
        RegisterLock program;
        QCOMPARE(program.acquire(reg, RegisterLock::Mode::Shared), RegisterLock::Result::Locked);
        const RunResult run = runTool({QStringLiteral("restore"), backup, reg});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("正被程序使用")), qPrintable(run.err));
        QVERIFY(listBackups(reg).isEmpty());
    }
    // A backup that is no sound register: refused.
    const QString bad = dir.filePath(QStringLiteral("bad.mdb"));
    QFile file(bad);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    const RunResult run = runTool({QStringLiteral("restore"), bad, reg});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(QStringLiteral("不能用来恢复")), qPrintable(run.err));
    QCOMPARE(runTool({QStringLiteral("restore"), backup}).exitCode, 2);
}

// The demo maker is killed at random moments of its work: the register's name either does
// not exist or holds the whole register, never a half-made one.
void MaintenanceCommandsTest::killedDemoNeverLeavesAHalfMadeRegister()
{
    QTemporaryDir dir;
    const QStringList demoArgs{QStringLiteral("--households"), QStringLiteral("20000")};
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(
        runTool(QStringList{QStringLiteral("demo"), dir.filePath(QStringLiteral("timing.mdb"))} + demoArgs).exitCode,
        0);
    const qint64 whole = qMax<qint64>(timer.elapsed(), 20);

    QRandomGenerator random(20260501);
    for (int round = 0; round < 8; ++round) {
        const QString target = dir.filePath(QStringLiteral("killed-%1.mdb").arg(round));
        QProcess process;
        process.start(QStringLiteral(FENLARK_DB_PATH), QStringList{QStringLiteral("demo"), target} + demoArgs);
        QVERIFY(process.waitForStarted());
        QTest::qSleep(int(random.bounded(whole * 11 / 10)));
        ::kill(pid_t(process.processId()), SIGKILL);
        process.waitForFinished();
        if (QFileInfo::exists(target)) {
            QVERIFY2(integrityProblems(target, CheckDepth::Full).isEmpty(), qPrintable(target));
            QCOMPARE(householdCount(target), 20000);
        }
    }
}

QTEST_GUILESS_MAIN(MaintenanceCommandsTest)
#include "maintenance_commands_test.moc"
