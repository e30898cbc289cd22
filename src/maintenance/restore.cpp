#include "maintenance/restore.h"

#include "maintenance/backups.h"
#include "maintenance/register_copy.h"
#include "maintenance/register_lock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace fenlark::maintenance {

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Keeps the register that is about to be replaced. A sound one becomes an ordinary backup; a
// damaged one cannot pass the copy's check, so its bytes are kept as they are instead.
bool keepCurrent(const QString &registerPath, const QDateTime &now, RestoreResult &result, QString &error)
{
    QString made;
    if (makeBackupKeepingAll(registerPath, now, made, error)) {
        result.keptPath = made;
        return true;
    }
    const QString damaged = backupPathFor(registerPath, now) + QStringLiteral(".damaged");
    QFile::remove(damaged);
    if (!QFile::copy(registerPath, damaged)) {
        error = QStringLiteral("无法保留当前数据库 %1: %2").arg(native(registerPath), error);
        return false;
    }
    result.keptPath = damaged;
    result.keptDamaged = true;
    error.clear();
    return true;
}

} // namespace

bool restoreRegister(const QString &backupPath, const QString &registerPath, const QDateTime &now,
                     RestoreResult &result, QString &error)
{
    result = RestoreResult();
    error.clear();
    bool unreadable = false;
    const QStringList problems = integrityProblems(backupPath, CheckDepth::Full, &unreadable);
    if (!problems.isEmpty()) {
        error = QStringLiteral("备份文件 %1 %2,不能用来恢复:\n  %3")
                    .arg(native(backupPath), unreadable ? QStringLiteral("无法读取") : QStringLiteral("已损坏"),
                         problems.mid(0, 5).join(QStringLiteral("\n  ")));
        return false;
    }

    RegisterLock lock;
    const bool exists = QFileInfo::exists(registerPath);
    if (exists) {
        QString why;
        switch (lock.acquire(registerPath, RegisterLock::Mode::Exclusive, &why)) {
        case RegisterLock::Result::Locked:
            break;
        case RegisterLock::Result::HeldElsewhere:
            error = QStringLiteral("数据库 %1 正被程序使用,请先关闭程序再恢复").arg(native(registerPath));
            return false;
        case RegisterLock::Result::Failed:
            error = QStringLiteral("无法锁定数据库 %1: %2").arg(native(registerPath), why);
            return false;
        }
        if (!keepCurrent(registerPath, now, result, error))
            return false;
    }

    // A journal left beside the old file would be played into the restored one on its next
    // open; the file it belongs to is being replaced (and was kept above), so it goes.
    for (const char *suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(registerPath + QString::fromLatin1(suffix));
    if (!copyRegister(backupPath, registerPath, true, error))
        return false;
    // Only now: the backup just restored may have been the oldest of those kept.
    removeOldBackups(registerPath);
    return true;
}

} // namespace fenlark::maintenance
