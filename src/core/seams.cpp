#include "core/process_list.h"
#include "core/program_dir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace fenlark {

QStringList ProcProcessList::executableNames() const
{
    QStringList names;
    const QDir proc(QStringLiteral("/proc"));
    const QStringList entries = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool numeric = false;
        entry.toLongLong(&numeric);
        if (!numeric)
            continue;
        // The link to the executable gives the real file name; processes of other users hide
        // it, so fall back to the name the kernel keeps (cut at 15 bytes, but better than none).
        const QString exe = QFile::symLinkTarget(proc.filePath(entry + QStringLiteral("/exe")));
        if (!exe.isEmpty()) {
            QString name = QFileInfo(exe).fileName();
            if (name.endsWith(QStringLiteral(" (deleted)")))
                name.chop(10);
            names << name;
            continue;
        }
        QFile comm(proc.filePath(entry + QStringLiteral("/comm")));
        if (comm.open(QIODevice::ReadOnly))
            names << QString::fromUtf8(comm.readAll()).trimmed();
    }
    return names;
}

QString RunningProgramLocation::directory() const
{
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

QString RunningProgramLocation::executableName() const
{
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).fileName();
}

bool RunningProgramLocation::isInstalled() const
{
    // A package puts the program under /usr, where the user's register has no place even when
    // the process could write there (as root); elsewhere a folder we cannot write to counts too.
    const QString dir = directory();
    if (dir == QStringLiteral("/usr") || dir.startsWith(QStringLiteral("/usr/")))
        return true;
    return ::access(QFile::encodeName(dir).constData(), W_OK) != 0;
}

QString RunningProgramLocation::userDataFolder() const
{
    // Named after the program, not the running executable, so fenlark-db finds the same folder.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/fenlark");
}

} // namespace fenlark
