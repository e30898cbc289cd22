#include "data/safe_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace fenlark {

namespace {

bool syncPath(const QString &path, int flags)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// rename() that fails instead of replacing an existing target, even when another process
// takes the name between a check and the move.
int renameNoReplace(const QByteArray &from, const QByteArray &to)
{
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return -1;
#endif
    // A file system without the flag: a hard link fails on an existing name just as well.
    if (::link(from.constData(), to.constData()) != 0)
        return -1;
    ::unlink(from.constData());
    return 0;
}

} // namespace

QString unusedNameBeside(const QString &target)
{
    for (int i = 0; i < 1000; ++i) {
        const QString name = target + QStringLiteral(".part") + (i > 0 ? QString::number(i) : QString());
        const QFileInfo info(name);
        if (!info.exists() && !info.isSymLink())
            return name;
    }
    return QString();
}

bool syncFile(const QString &path)
{
    return syncPath(path, O_RDONLY);
}

bool syncFolderOf(const QString &path)
{
    return syncPath(QFileInfo(path).absolutePath(), O_RDONLY | O_DIRECTORY);
}

bool moveIntoPlace(const QString &temporary, const QString &target, bool replace, QString &error)
{
    if (!syncFile(temporary)) {
        error = QStringLiteral("cannot write %1 to the disk").arg(QDir::toNativeSeparators(temporary));
        return false;
    }
    const QByteArray from = QFile::encodeName(temporary);
    const QByteArray to = QFile::encodeName(target);
    const int rc = replace ? ::rename(from.constData(), to.constData()) : renameNoReplace(from, to);
    if (rc != 0) {
        const int code = errno;
        error = code == EEXIST
                    ? QStringLiteral("%1 already exists; it is left as it is (choose a new file name)")
                          .arg(QDir::toNativeSeparators(target))
                    : QStringLiteral("cannot give the new file the name %1: %2")
                          .arg(QDir::toNativeSeparators(target), QString::fromLocal8Bit(std::strerror(code)));
        return false;
    }
    // The rename is done; a folder that cannot be synced only weakens what a power cut keeps.
    syncFolderOf(target);
    return true;
}

} // namespace fenlark
