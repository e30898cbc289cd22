#include "core/process_list.h"
#include "core/program_dir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

} // namespace fenlark
