// The working-folder lock on Linux: fcntl F_OFD_SETLK on the lock file.
#include "platform/WorkingFolderLock.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tenlog::platform {

WorkingFolderLock::WorkingFolderLock(QString folder)
    : m_folder(std::move(folder))
{
}

WorkingFolderLock::~WorkingFolderLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock; the file stays for the next copy
}

WorkingFolderLock::Result WorkingFolderLock::acquire()
{
    if (m_fd >= 0)
        return Result::Held;
    const QByteArray path = QFile::encodeName(m_folder + QLatin1Char('/') + lockFileName());
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return Result::Unlockable;
    }
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_SETLK, &whole) != 0) {
        const int reason = errno;
        if (reason == EAGAIN || reason == EACCES) {
            // The holder wrote its process id into the file when it took the lock.
            char text[32] = {};
            const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
            m_holderPid = n > 0 ? QByteArray(text, static_cast<int>(n)).trimmed().toLongLong() : 0;
            ::close(fd);
            return Result::InUse;
        }
        m_error = QString::fromLocal8Bit(std::strerror(reason));
        ::close(fd);
        return Result::Unlockable;
    }
    const QByteArray pid = QByteArray::number(static_cast<qint64>(::getpid())) + '\n';
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, pid.constData(), static_cast<size_t>(pid.size()), 0) != pid.size()) {
        // The lock holds all the same; only the id a second copy would show is missing.
    }
    m_fd = fd;
    return Result::Held;
}

} // namespace tenlog::platform
