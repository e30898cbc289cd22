#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// The register's backups: files "<name>-YYYY-MM-DD-HHMMSS.mdb" in the folder 备份 beside the
// register file (data.mdb gives 备份/data-2026-05-01-090000.mdb). The date and time in the
// name are when the backup was taken; only complete backups that passed the integrity check
// ever carry such a name.
namespace fenlark::maintenance {

inline constexpr int kBackupsKept = 30;

struct BackupFile {
    QString path;
    QDateTime madeAt;
    qint64 size = 0;
};

QString backupFolder(const QString &registerPath);
QString backupPathFor(const QString &registerPath, const QDateTime &at);

// The register's backups, newest first (files of other registers in the folder are left out).
QList<BackupFile> listBackups(const QString &registerPath);

// Whether a backup taken on that day is there: the daily backup is made only when not.
bool hasBackupOn(const QString &registerPath, const QDate &day);

// Removes all but the newest `keep` backups; returns how many were removed.
int removeOldBackups(const QString &registerPath, int keep = kBackupsKept);

// Takes a backup now (see copyRegister: online, verified, never half-made), then removes
// the oldest beyond kBackupsKept. madePath receives the new backup's path.
bool makeBackup(const QString &registerPath, const QDateTime &now, QString &madePath, QString &error);

// The same without removing any: for a caller that still needs the oldest (a restore from it).
bool makeBackupKeepingAll(const QString &registerPath, const QDateTime &now, QString &madePath, QString &error);

enum class DailyBackup { Made, AlreadyMade, Failed };

// The backup made at most once a day, decided by the backups' names.
DailyBackup makeDailyBackup(const QString &registerPath, const QDateTime &now, QString &madePath, QString &error);

} // namespace fenlark::maintenance
