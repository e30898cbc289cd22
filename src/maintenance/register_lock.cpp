#include "maintenance/register_lock.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fenlark::maintenance {

RegisterLock::Result RegisterLock::acquire(const QString &path, Mode mode, QString *error)
{
    release();
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return Result::Failed;
    }
    if (::flock(fd, (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0) {
        const int code = errno;
        ::close(fd);
        if (code == EWOULDBLOCK)
            return Result::HeldElsewhere;
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(code));
        return Result::Failed;
    }
    m_fd = fd;
    return Result::Locked;
}

void RegisterLock::release()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace fenlark::maintenance
