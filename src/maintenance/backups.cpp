#include "maintenance/backups.h"

#include "maintenance/register_copy.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <mutex>

namespace fenlark::maintenance {

namespace {

const QString kStampFormat = QStringLiteral("yyyy-MM-dd-HHmmss");

QString baseNameOf(const QString &registerPath)
{
    return QFileInfo(registerPath).completeBaseName();
}

// The time in a backup's name, invalid when the name is not one of this register's backups.
QDateTime stampOf(const QString &fileName, const QString &base)
{
    static const QRegularExpression pattern(QStringLiteral("^(.*)-(\\d{4}-\\d{2}-\\d{2}-\\d{6})\\.mdb$"));
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch() || match.captured(1) != base)
        return QDateTime();
    return QDateTime::fromString(match.captured(2), kStampFormat);
}

} // namespace

QString backupFolder(const QString &registerPath)
{
    return QFileInfo(registerPath).absoluteDir().filePath(QStringLiteral("备份"));
}

QString backupPathFor(const QString &registerPath, const QDateTime &at)
{
    return QDir(backupFolder(registerPath))
        .filePath(baseNameOf(registerPath) + u'-' + at.toString(kStampFormat) + QStringLiteral(".mdb"));
}

QList<BackupFile> listBackups(const QString &registerPath)
{
    QList<BackupFile> backups;
    const QString base = baseNameOf(registerPath);
    const QFileInfoList files =
        QDir(backupFolder(registerPath)).entryInfoList({QStringLiteral("*.mdb")}, QDir::Files, QDir::Name);
    for (const QFileInfo &file : files) {
        const QDateTime at = stampOf(file.fileName(), base);
        if (at.isValid())
            backups.append({file.absoluteFilePath(), at, file.size()});
    }
    std::sort(backups.begin(), backups.end(),
              [](const BackupFile &a, const BackupFile &b) { return a.madeAt > b.madeAt; });
    return backups;
}

bool hasBackupOn(const QString &registerPath, const QDate &day)
{
    const QList<BackupFile> backups = listBackups(registerPath);
    return std::any_of(backups.begin(), backups.end(),
                       [&](const BackupFile &backup) { return backup.madeAt.date() == day; });
}

int removeOldBackups(const QString &registerPath, int keep)
{
    const QList<BackupFile> backups = listBackups(registerPath);
    int removed = 0;
    for (qsizetype i = std::max(keep, 0); i < backups.size(); ++i) {
        if (QFile::remove(backups[i].path))
            ++removed;
    }
    return removed;
}

bool makeBackupKeepingAll(const QString &registerPath, const QDateTime &now, QString &madePath, QString &error)
{
    // The day's backup and one asked for on the page may run at once on two threads: one at a
    // time, so they never pick the same name or temporary file.
    static std::mutex oneAtATime;
    const std::lock_guard<std::mutex> lock(oneAtATime);
    madePath.clear();
    const QString folder = backupFolder(registerPath);
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("无法建立备份文件夹 %1").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    // Two backups within one second (a restore right after a backup) get the next free second.
    QDateTime at = now;
    QString path = backupPathFor(registerPath, at);
    while (QFileInfo::exists(path)) {
        at = at.addSecs(1);
        path = backupPathFor(registerPath, at);
    }
    if (!copyRegister(registerPath, path, false, error))
        return false;
    madePath = path;
    return true;
}

bool makeBackup(const QString &registerPath, const QDateTime &now, QString &madePath, QString &error)
{
    if (!makeBackupKeepingAll(registerPath, now, madePath, error))
        return false;
    removeOldBackups(registerPath);
    return true;
}

DailyBackup makeDailyBackup(const QString &registerPath, const QDateTime &now, QString &madePath, QString &error)
{
    madePath.clear();
    if (hasBackupOn(registerPath, now.date()))
        return DailyBackup::AlreadyMade;
    return makeBackup(registerPath, now, madePath, error) ? DailyBackup::Made : DailyBackup::Failed;
}

} // namespace fenlark::maintenance
