// Durable writes on POSIX: temp file + fsync + rename + fsync of the folder
// for whole files; for appends, write + fsync, and on failure ftruncate back
// to the size before the append.
#include "platform/DurableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tenlog::platform {

ssize_t FileCalls::write(int fd, const void* data, size_t size)
{
    return ::write(fd, data, size);
}

int FileCalls::fsync(int fd)
{
    return ::fsync(fd);
}

int FileCalls::ftruncate(int fd, off_t size)
{
    return ::ftruncate(fd, size);
}

FileCalls& FileCalls::system()
{
    static FileCalls calls;
    return calls;
}

namespace {

// mkostemp replaces the six X with letters and digits.
const char kTemporarySuffix[] = ".tmp-XXXXXX";

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// Writes everything, going on after a short write; a write that stops
// (the disk is full) returns false with its errno in *code.
bool writeAll(FileCalls& calls, int fd, const char* data, qsizetype size, int* code)
{
    while (size > 0) {
        const ssize_t n = calls.write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *code = errno;
            return false;
        }
        if (n == 0) { // no progress and no reason: do not spin
            *code = EIO;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

int openFolder(const QString& folder)
{
    return ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// A new or renamed entry is only durable once the folder itself is on disk.
// File systems that cannot sync a folder say EINVAL; there is nothing to do.
bool syncFolder(FileCalls& calls, int folderFd, int* code)
{
    if (calls.fsync(folderFd) == 0 || errno == EINVAL)
        return true;
    *code = errno;
    return false;
}

QString folderOf(const QString& absolutePath)
{
    const qsizetype slash = absolutePath.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : absolutePath.left(slash);
}

} // namespace

QString resolveLinks(const QString& path)
{
    QString current = QFileInfo(path).absoluteFilePath();
    // The kernel's own limit on a chain; more than this is a loop.
    for (int hops = 0; hops < 40; ++hops) {
        const QByteArray name = QFile::encodeName(current);
        struct stat st {};
        if (::lstat(name.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            // The folder as the kernel sees it (a relative link leaves "..").
            const QString folder = QFileInfo(folderOf(current)).canonicalFilePath();
            return folder.isEmpty() ? current
                                    : QDir(folder).filePath(current.mid(current.lastIndexOf(QLatin1Char('/')) + 1));
        }
        QByteArray buffer(PATH_MAX, '\0');
        const ssize_t n = ::readlink(name.constData(), buffer.data(), static_cast<size_t>(buffer.size()));
        if (n < 0)
            return current;
        const QString target = QFile::decodeName(buffer.left(n));
        current = target.startsWith(QLatin1Char('/')) ? target : folderOf(current) + QLatin1Char('/') + target;
    }
    return QString();
}

bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error, FileCalls& calls)
{
    // Rename replaces a link itself; replacing the file it points to keeps the link working.
    const QString target = resolveLinks(path);
    if (target.isEmpty()) {
        setError(error, systemError(ELOOP));
        return false;
    }
    const QFileInfo info(target);
    const QString folder = folderOf(target);
    QByteArray tempName = QFile::encodeName(folder + QStringLiteral("/.") + info.fileName()
                                            + QLatin1String(kTemporarySuffix));
    const int fd = ::mkostemp(tempName.data(), O_CLOEXEC);
    if (fd < 0) {
        setError(error, systemError(errno));
        return false;
    }
    int code = 0;
    bool ok = writeAll(calls, fd, data.constData(), data.size(), &code);
    if (ok && calls.fsync(fd) != 0) {
        ok = false;
        code = errno;
    }
    // Keep the old file's permissions where there is one; mkostemp makes 0600.
    if (ok) {
        struct stat st {};
        const mode_t mode = ::stat(QFile::encodeName(target).constData(), &st) == 0
            ? (st.st_mode & 07777) : mode_t(0644);
        ::fchmod(fd, mode);
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        code = errno;
    }
    // Opened before the rename, so a folder that cannot be synced fails
    // while the old file is still in place.
    const int folderFd = ok ? openFolder(folder) : -1;
    if (ok && folderFd < 0) {
        ok = false;
        code = errno;
    }
    if (ok && ::rename(tempName.constData(), QFile::encodeName(target).constData()) != 0) {
        ok = false;
        code = errno;
    }
    if (!ok) {
        if (folderFd >= 0)
            ::close(folderFd);
        ::unlink(tempName.constData());
        setError(error, systemError(code));
        return false;
    }
    ok = syncFolder(calls, folderFd, &code);
    ::close(folderFd);
    if (!ok)
        setError(error, QStringLiteral("the new file is in place, but its folder could not be saved to disk (%1), "
                                       "so the change may be lost if the computer stops")
                            .arg(systemError(code)));
    return ok;
}

AppendResult appendDurably(const QString& path, const QByteArray& data, QString* error, LineStart lineStart,
                           FileCalls& calls)
{
    const QString target = resolveLinks(path);
    if (target.isEmpty()) {
        setError(error, systemError(ELOOP));
        return AppendResult::NotAppended;
    }
    const QByteArray name = QFile::encodeName(target);
    // Read access lets the last byte be checked for a line end.
    const int flags = O_RDWR | O_APPEND | O_CLOEXEC;
    bool created = false;
    int fd = ::open(name.constData(), flags);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(name.constData(), flags | O_CREAT | O_EXCL, 0644);
        created = fd >= 0;
        if (fd < 0 && errno == EEXIST)
            fd = ::open(name.constData(), flags);
    }
    if (fd < 0) {
        setError(error, systemError(errno));
        return AppendResult::NotAppended;
    }

    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int code = errno;
        ::close(fd);
        setError(error, systemError(code));
        return AppendResult::NotAppended;
    }
    const off_t sizeBefore = st.st_size;

    QByteArray bytes;
    if (lineStart == LineStart::OwnLine && sizeBefore > 0) {
        char last = 0;
        if (::pread(fd, &last, 1, sizeBefore - 1) != 1) {
            const int code = errno;
            ::close(fd);
            setError(error, systemError(code));
            return AppendResult::NotAppended;
        }
        // A lone CR only needs its LF; anything else needs a whole line end.
        if (last == '\r')
            bytes = "\n";
        else if (last != '\n')
            bytes = "\r\n";
    }
    bytes += data;

    int code = 0;
    QString failure;
    if (!writeAll(calls, fd, bytes.constData(), bytes.size(), &code)) {
        failure = QStringLiteral("the disk refused the write (%1)");
    } else if (calls.fsync(fd) != 0) {
        code = errno;
        failure = QStringLiteral("the disk could not confirm the write (%1)");
    } else if (created) {
        const int folderFd = openFolder(folderOf(target));
        if (folderFd < 0 || !syncFolder(calls, folderFd, &code)) {
            if (folderFd < 0)
                code = errno;
            failure = QStringLiteral("the new file's folder could not be saved to disk (%1)");
        }
        if (folderFd >= 0)
            ::close(folderFd);
    }
    if (failure.isEmpty()) {
        ::close(fd);
        return AppendResult::Appended;
    }

    // Whatever part reached the file must go again: the next append would
    // otherwise be glued to it, and a retry would store it twice.
    failure = failure.arg(systemError(code));
    int cutCode = 0;
    if (calls.ftruncate(fd, sizeBefore) != 0 || calls.fsync(fd) != 0)
        cutCode = errno;
    ::close(fd);
    if (cutCode == 0) {
        setError(error, failure + QStringLiteral("; nothing was added, the file is as it was"));
        return AppendResult::NotAppended;
    }
    setError(error, failure + QStringLiteral(", and the part already written could not be removed (%1): "
                                             "the file may now end with a partial record and must be checked")
                                  .arg(systemError(cutCode)));
    return AppendResult::MayHoldPartialData;
}

int removeStaleTemporaryFiles(const QString& folder)
{
    // "." + the file's name + ".tmp-" + the six letters or digits mkostemp chose.
    static const QRegularExpression pattern(QStringLiteral("^\\..+\\.tmp-[A-Za-z0-9]{6}$"));
    int removed = 0;
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString& name : names)
        if (pattern.match(name).hasMatch() && QFile::remove(dir.filePath(name)))
            ++removed;
    return removed;
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
