#pragma once

#include <QDateTime>
#include <QString>

namespace fenlark::maintenance {

struct RestoreResult {
    QString keptPath; // the replaced register, kept as a backup (or as a damaged copy)
    bool keptDamaged = false;
};

// Puts the backup in the register's place. Refuses a backup that fails the integrity check,
// and a register that another process holds open (the program's RegisterLock). The register
// being replaced is first kept as a backup itself (taken at `now`); if it is too damaged for
// that, a plain copy of it is kept as "<backup name>.damaged" in the backup folder, so nothing
// is lost. The backup is copied beside the register under a temporary name, synced and renamed
// over it in one step: an interruption leaves the old register or the restored one.
bool restoreRegister(const QString &backupPath, const QString &registerPath, const QDateTime &now,
                     RestoreResult &result, QString &error);

} // namespace fenlark::maintenance
