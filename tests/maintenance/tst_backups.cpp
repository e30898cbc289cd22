// Backups (online, verified, once a day, thirty kept) and the restore that brings one back.
#include "maintenance_fixture.h"

#include "maintenance/backups.h"
#include "maintenance/register_copy.h"
#include "maintenance/register_lock.h"
#include "maintenance/restore.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace fenlark;
using namespace fenlark::maintenance;

namespace {

const QDateTime kMorning(QDate(2026, 5, 1), QTime(9, 0, 0));

QString householdsOf(const QString &path)
{
    return QString::number(householdCount(path));
}

} // namespace

class BackupsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dailyBackupOncePerDayAndSound();
    void namesOfOtherFilesAreNoBackups();
    void rotationKeepsThirty();
    void backupWhileAnotherConnectionWrites();
    void restoreRoundTrip();
    void restoreRefusesDamagedOrForeignBackup_data();
    void restoreRefusesDamagedOrForeignBackup();
    void restoreRefusesWhileTheProgramHoldsTheRegister();
    void damagedRegisterIsKeptAsItsBytes();
    void restoreFromTheOldestOfThirty();
};

void BackupsTest::dailyBackupOncePerDayAndSound()
{
    DemoRegister reg;
    QVERIFY2(!reg.path.isEmpty(), qPrintable(reg.error));
    QString made, error;
    QCOMPARE(makeDailyBackup(reg.path, kMorning, made, error), DailyBackup::Made);
    QCOMPARE(made, QDir(reg.dir.path()).filePath(QStringLiteral("备份/data-2026-05-01-090000.mdb")));
    QVERIFY(integrityProblems(made, CheckDepth::Full).isEmpty());
    QCOMPARE(householdsOf(made), QStringLiteral("60"));
    // Later the same day: nothing more; the next day: a new one.
    QCOMPARE(makeDailyBackup(reg.path, kMorning.addSecs(8 * 3600), made, error), DailyBackup::AlreadyMade);
    QCOMPARE(listBackups(reg.path).size(), 1);
    QCOMPARE(makeDailyBackup(reg.path, kMorning.addDays(1), made, error), DailyBackup::Made);
    const QList<BackupFile> backups = listBackups(reg.path);
    QCOMPARE(backups.size(), 2);
    QCOMPARE(backups.first().madeAt, kMorning.addDays(1)); // newest first
    QVERIFY(backups.first().size > 0);
    // Nothing but finished backups is left in the folder.
    QCOMPARE(QDir(backupFolder(reg.path)).entryList(QDir::Files).size(), 2);
}

void BackupsTest::namesOfOtherFilesAreNoBackups()
{
    DemoRegister reg;
    QVERIFY(QDir().mkpath(backupFolder(reg.path)));
    for (const char *name : {"data-2026-05-01-090000.mdb.part", "other-2026-05-01-090000.mdb", "data-20260501.mdb",
                             "data-2026-13-01-090000.mdb", "data-2026-05-01-090000.mdb.damaged"}) {
        QFile file(QDir(backupFolder(reg.path)).filePath(QString::fromUtf8(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(listBackups(reg.path).isEmpty());
    QString made, error;
    QCOMPARE(makeDailyBackup(reg.path, kMorning, made, error), DailyBackup::Made);
}

void BackupsTest::rotationKeepsThirty()
{
    DemoRegister reg(5);
    QString made, error;
    for (int day = 0; day < 33; ++day)
        QVERIFY2(makeDailyBackup(reg.path, kMorning.addDays(day), made, error) == DailyBackup::Made, qPrintable(error));
    const QList<BackupFile> backups = listBackups(reg.path);
    QCOMPARE(backups.size(), kBackupsKept);
    QCOMPARE(backups.first().madeAt, kMorning.addDays(32));
    QCOMPARE(backups.last().madeAt, kMorning.addDays(3)); // the three oldest went
}

void BackupsTest::backupWhileAnotherConnectionWrites()
{
    DemoRegister reg(200);
    DBConnection db;
    QVERIFY(db.connectAccess(reg.path, QString()));
    // A write transaction left open: the copy must wait for it or copy the committed state,
    // never catch it half-way.
    QVERIFY(execScript(db, QStringLiteral("BEGIN; INSERT INTO 年份管理 (年份) VALUES (1999);")));
    QString made, error;
    QVERIFY2(makeBackup(reg.path, kMorning, made, error), qPrintable(error));
    QVERIFY(execScript(db, QStringLiteral("COMMIT;")));
    QVERIFY(integrityProblems(made, CheckDepth::Full).isEmpty());
    QCOMPARE(householdsOf(made), QStringLiteral("200"));
}

void BackupsTest::restoreRoundTrip()
{
    DemoRegister reg;
    QString made, error;
    QVERIFY(makeBackup(reg.path, kMorning, made, error));
    // A household saved after the backup ...
    QVERIFY(reg.exec(QStringLiteral("INSERT INTO 成员信息 (录入年份, 户主, 所属管辖) VALUES (2026, '后来户', 'x')")));
    QCOMPARE(reg.count(QStringLiteral("SELECT count(*) FROM 成员信息")), 61);

    RestoreResult result;
    QVERIFY2(restoreRegister(made, reg.path, kMorning.addSecs(3600), result, error), qPrintable(error));
    // ... is gone after the restore,
    QCOMPARE(reg.count(QStringLiteral("SELECT count(*) FROM 成员信息")), 60);
    QCOMPARE(reg.count(QStringLiteral("SELECT count(*) FROM 成员信息 WHERE 户主 = '后来户'")), 0);
    // and the replaced register is kept as a backup that still has it.
    QVERIFY(!result.keptDamaged);
    QCOMPARE(result.keptPath, backupPathFor(reg.path, kMorning.addSecs(3600)));
    QCOMPARE(householdsOf(result.keptPath), QStringLiteral("61"));
    QCOMPARE(listBackups(reg.path).size(), 2);
    QVERIFY(integrityProblems(reg.path, CheckDepth::Full).isEmpty());
    QVERIFY(!QFileInfo::exists(reg.path + QStringLiteral(".part")));
}

void BackupsTest::restoreRefusesDamagedOrForeignBackup_data()
{
    QTest::addColumn<int>("damage"); // 0 a damaged page, 1 not a database, 2 empty, 3 missing
    QTest::newRow("damaged page") << 0;
    QTest::newRow("not a database") << 1;
    QTest::newRow("empty file") << 2;
    QTest::newRow("no such file") << 3;
}

void BackupsTest::restoreRefusesDamagedOrForeignBackup()
{
    QFETCH(int, damage);
    DemoRegister reg(400);
    QString made, error;
    QVERIFY(makeBackup(reg.path, kMorning, made, error));
    switch (damage) {
    case 0:
        QVERIFY(damageMiddlePage(made));
        break;
    case 1: {
        QFile file(made);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8192, 'x'));
        break;
    }
    case 2: {
        QFile file(made);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        break;
    }
    default:
        QVERIFY(QFile::remove(made));
    }
    QVERIFY(reg.exec(QStringLiteral("DELETE FROM 成员信息 WHERE id <= 10")));
    QFile original(reg.path);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    original.close();

    RestoreResult result;
    QVERIFY(!restoreRegister(made, reg.path, kMorning.addSecs(60), result, error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(made)), qPrintable(error));
    QVERIFY2(error.contains(QStringLiteral("不能用来恢复")), qPrintable(error));
    QVERIFY(original.open(QIODevice::ReadOnly));
    QCOMPARE(original.readAll(), before);
    QCOMPARE(listBackups(reg.path).size(), damage == 3 ? 0 : 1); // nothing was kept: nothing replaced
}

void BackupsTest::restoreRefusesWhileTheProgramHoldsTheRegister()
{
    DemoRegister reg;
    QString made, error;
    QVERIFY(makeBackup(reg.path, kMorning, made, error));
    RestoreResult result;
    {
        RegisterLock program;
        QCOMPARE(program.acquire(reg.path, RegisterLock::Mode::Shared), RegisterLock::Result::Locked);
        QVERIFY(!restoreRegister(made, reg.path, kMorning.addSecs(60), result, error));
        QVERIFY2(error.contains(QStringLiteral("正被程序使用")), qPrintable(error));
        QCOMPARE(listBackups(reg.path).size(), 1);
    }
    // Once the program has let go, the same restore goes through.
    QVERIFY2(restoreRegister(made, reg.path, kMorning.addSecs(60), result, error), qPrintable(error));
}

void BackupsTest::damagedRegisterIsKeptAsItsBytes()
{
    DemoRegister reg(400);
    QString made, error;
    QVERIFY(makeBackup(reg.path, kMorning, made, error));
    QVERIFY(damageMiddlePage(reg.path));
    QFile damaged(reg.path);
    QVERIFY(damaged.open(QIODevice::ReadOnly));
    const QByteArray bytes = damaged.readAll();
    damaged.close();

    RestoreResult result;
    QVERIFY2(restoreRegister(made, reg.path, kMorning.addSecs(60), result, error), qPrintable(error));
    QVERIFY(result.keptDamaged);
    QFile kept(result.keptPath);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), bytes);
    QVERIFY(integrityProblems(reg.path, CheckDepth::Full).isEmpty());
    QCOMPARE(listBackups(reg.path).size(), 1); // the damaged copy is no backup to restore from
}

// Keeping the replaced register makes a thirty-first backup; the oldest, the one being
// restored, must not be rotated away before it is copied.
void BackupsTest::restoreFromTheOldestOfThirty()
{
    DemoRegister reg(5);
    QString made, error;
    for (int day = 0; day < kBackupsKept; ++day)
        QVERIFY(makeDailyBackup(reg.path, kMorning.addDays(day), made, error) == DailyBackup::Made);
    const QString oldest = listBackups(reg.path).last().path;
    QVERIFY(reg.exec(QStringLiteral("DELETE FROM 成员信息")));
    RestoreResult result;
    QVERIFY2(restoreRegister(oldest, reg.path, kMorning.addDays(40), result, error), qPrintable(error));
    QCOMPARE(householdsOf(reg.path), QStringLiteral("5"));
    QCOMPARE(listBackups(reg.path).size(), kBackupsKept);
    QCOMPARE(listBackups(reg.path).first().path, result.keptPath);
}

QTEST_GUILESS_MAIN(BackupsTest)
#include "tst_backups.moc"
