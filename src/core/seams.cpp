#include "core/process_list.h"
#include "core/program_dir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

#include <unistd.h>

namespace fenlark {

ProcProcessList::ProcProcessList() : ProcProcessList(QStringLiteral("/proc"), getuid()) {}

ProcProcessList::ProcProcessList(QString procRoot, unsigned int uid) : m_root(std::move(procRoot)), m_uid(uid) {}

namespace {

// Whether /proc/<pid>/status describes a process that still runs as `uid`. A zombie (Z) or a
// dead process (X) has exited and only waits to be reaped; its name must not count as a copy.
// Processes of other accounts on a shared PC run their own copy with their own register.
bool isLiveProcessOf(const QString &statusPath, unsigned int uid)
{
    QFile status(statusPath);
    if (!status.open(QIODevice::ReadOnly))
        return false;
    bool live = false;
    bool sameUser = false;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("State:")) {
            const QByteArray state = line.mid(6).trimmed();
            live = !state.isEmpty() && state.at(0) != 'Z' && state.at(0) != 'X';
        } else if (line.startsWith("Uid:")) {
            // Real, effective, saved and file-system uid: the real one says whose process it is.
            const QList<QByteArray> ids = line.mid(4).simplified().split(' ');
            bool ok = false;
            sameUser = !ids.isEmpty() && ids.front().toUInt(&ok) == uid && ok;
        }
    }
    return live && sameUser;
}

} // namespace

QStringList ProcProcessList::executableNames() const
{
    QStringList names;
    const QDir proc(m_root);
    const QStringList entries = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool numeric = false;
        entry.toLongLong(&numeric);
        if (!numeric || !isLiveProcessOf(proc.filePath(entry + QStringLiteral("/status")), m_uid))
            continue;
        // The link to the executable gives the real file name; when it cannot be read, fall back
        // to the name the kernel keeps (cut at 15 bytes, but better than none).
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
