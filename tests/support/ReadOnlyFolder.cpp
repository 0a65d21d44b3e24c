// Unwritable folders for failure tests.
#include "ReadOnlyFolder.h"

#include <QFile>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tenlog::testing {

namespace {

bool setImmutable(const QString& path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

} // namespace

ReadOnlyFolder::ReadOnlyFolder(QString path)
    : m_path(std::move(path))
{
    if (::geteuid() == 0) {
        m_immutable = setImmutable(m_path, true);
        m_applied = m_immutable;
    } else {
        m_applied = ::chmod(QFile::encodeName(m_path).constData(), 0555) == 0;
    }
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (!m_applied)
        return;
    if (m_immutable)
        setImmutable(m_path, false);
    else
        ::chmod(QFile::encodeName(m_path).constData(), 0755);
}

} // namespace tenlog::testing
