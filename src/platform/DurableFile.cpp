// Durable writes on POSIX: temp file + fsync + rename + fsync of the folder.
#include "platform/DurableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tenlog::platform {

namespace {

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

bool writeAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// The rename is only durable once the folder entry itself is on disk.
void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error)
{
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    QByteArray tempName = QFile::encodeName(folder + QStringLiteral("/.") + info.fileName()
                                            + QStringLiteral(".tmp-XXXXXX"));
    const int fd = ::mkostemp(tempName.data(), O_CLOEXEC);
    if (fd < 0) {
        setError(error, systemError(errno));
        return false;
    }
    bool ok = writeAll(fd, data.constData(), data.size()) && ::fsync(fd) == 0;
    int code = ok ? 0 : errno;
    // Keep the old file's permissions where there is one; mkostemp makes 0600.
    if (ok) {
        struct stat st {};
        const mode_t mode = ::stat(QFile::encodeName(path).constData(), &st) == 0
            ? (st.st_mode & 07777) : mode_t(0644);
        ::fchmod(fd, mode);
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        code = errno;
    }
    if (ok && ::rename(tempName.constData(), QFile::encodeName(path).constData()) != 0) {
        ok = false;
        code = errno;
    }
    if (!ok) {
        ::unlink(tempName.constData());
        setError(error, systemError(code));
        return false;
    }
    syncFolder(folder);
    return true;
}

bool appendDurably(const QString& path, const QByteArray& data, QString* error)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        setError(error, systemError(errno));
        return false;
    }
    bool ok = writeAll(fd, data.constData(), data.size()) && ::fsync(fd) == 0;
    const int code = errno;
    ::close(fd);
    if (!ok)
        setError(error, systemError(code));
    return ok;
}

bool readWholeFile(const QString& path, QByteArray* data, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, file.errorString());
        return false;
    }
    *data = file.readAll();
    if (file.error() != QFile::NoError) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

QString fileInFolder(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    if (dir.exists(name))
        return dir.filePath(name);
    const QStringList files = dir.entryList(QDir::Files);
    for (const QString& f : files)
        if (f.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(f);
    return dir.filePath(name);
}

bool copyFileAtomically(const QString& source, const QString& target, QString* error)
{
    QByteArray data;
    return readWholeFile(source, &data, error) && writeFileAtomically(target, data, error);
}

} // namespace tenlog::platform
