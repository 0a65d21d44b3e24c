// Durable writes on POSIX: temp file + fsync + rename + fsync of the folder
// for whole files; for appends, write + fsync, and on failure ftruncate back
// to the size before the append.
#include "platform/DurableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstdio>
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

const QStringList& atomicallyWrittenFileNames()
{
    static const QStringList names{
        // In the working folder.
        QStringLiteral("log.txt"),      // the log: edits, deletions, a new log, a restore
        QStringLiteral("tnpref.txt"),   // the main window's preferences
        QStringLiteral("RigCntrl.txt"), // the rig link settings
        QStringLiteral("PackSpot.txt"), // the spotting settings
        QStringLiteral("CW.txt"),       // the CW messages and keying setup
        QStringLiteral("wave2.txt"),    // the voice keyer settings
        QStringLiteral("LogExp.txt"),   // the export for the general logger
        // In the user data folder.
        QStringLiteral("WK.txt"),       // the WinKey keyer settings
        QStringLiteral("ComPorts.txt"), // the serial device map
        // In the shared folder and the Pegasus folder.
        QStringLiteral("SharedUserPreferences.xml"),
        QStringLiteral("PEGASUS.IN"),
    };
    return names;
}

namespace {

// A log line cut short by a power failure is written beside the log as
// "log.txt.torn-" + the local time as 14 digits, with "-2" and so on when
// that name is taken.
const QString kTornLogPattern = QStringLiteral("log\\.txt\\.torn-[0-9]{14}(-[0-9]+)?");

} // namespace

bool isStaleTemporaryFileName(const QString& fileName, const QStringList& alsoNames)
{
    // "." + the file's name + ".tmp-" + the six letters or digits mkostemp chose.
    static const QRegularExpression shape(QStringLiteral("^\\.(.+)\\.tmp-[A-Za-z0-9]{6}$"));
    static const QRegularExpression tornLog(QStringLiteral("^") + kTornLogPattern + QStringLiteral("$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = shape.match(fileName);
    if (!match.hasMatch())
        return false;
    const QString target = match.captured(1);
    return atomicallyWrittenFileNames().contains(target, Qt::CaseInsensitive)
        || alsoNames.contains(target, Qt::CaseInsensitive) || tornLog.match(target).hasMatch();
}

int removeStaleTemporaryFiles(const QString& folder, const QStringList& alsoNames)
{
    int removed = 0;
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString& name : names)
        if (isStaleTemporaryFileName(name, alsoNames) && QFile::remove(dir.filePath(name)))
            ++removed;
    return removed;
}

QString setAside(const QString& path, const QString& suffix, QString* error)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    struct stat st {};
    QString target = absolute + suffix;
    for (int n = 2; ::lstat(QFile::encodeName(target).constData(), &st) == 0; ++n)
        target = absolute + suffix + QLatin1Char('-') + QString::number(n);
    const QByteArray from = QFile::encodeName(absolute);
    const QByteArray to = QFile::encodeName(target);
    // No-replace, so a name taken since the check above is not lost either.
    int result = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
    if (result != 0 && (errno == EINVAL || errno == ENOSYS))
        result = ::rename(from.constData(), to.constData()); // a file system without the flag
    if (result != 0) {
        setError(error, systemError(errno));
        return QString();
    }
    const int folderFd = openFolder(folderOf(absolute));
    int code = 0;
    if (folderFd >= 0) {
        syncFolder(FileCalls::system(), folderFd, &code);
        ::close(folderFd);
    }
    return target;
}

namespace {

QString sizeText(qint64 bytes)
{
    if (bytes >= 1024 * 1024)
        return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1) + QStringLiteral(" MB");
    if (bytes >= 1024)
        return QString::number(double(bytes) / 1024.0, 'f', 1) + QStringLiteral(" KB");
    return QStringLiteral("%1 bytes").arg(bytes);
}

} // namespace

OwnFileRead readOwnFile(const QString& path, qint64 maxBytes)
{
    OwnFileRead read;
    read.result = OwnFileRead::Result::Failed;
    const QByteArray name = QFile::encodeName(path);
    struct stat entry {};
    if (::lstat(name.constData(), &entry) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            read.result = OwnFileRead::Result::Missing;
        else
            read.problem = QStringLiteral("cannot be read (%1)").arg(systemError(errno));
        return read;
    }
    const bool isLink = S_ISLNK(entry.st_mode);
    // Without O_NONBLOCK a pipe under the file's name would hold start-up until something wrote to it.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int code = errno;
        if (isLink && code == ELOOP)
            read.problem = QStringLiteral("is a link that leads round in a loop, so it reaches no file");
        else if (isLink && code == ENOENT)
            read.problem = QStringLiteral("is a link to %1, which does not exist")
                               .arg(QDir::toNativeSeparators(resolveLinks(path)));
        else
            read.problem = QStringLiteral("cannot be read (%1)").arg(systemError(code));
        return read;
    }
    struct stat st {};
    const QString linkedTo = isLink ? QStringLiteral("is a link to %1, which ").arg(QDir::toNativeSeparators(resolveLinks(path)))
                                    : QStringLiteral("");
    if (::fstat(fd, &st) != 0) {
        read.problem = QStringLiteral("cannot be read (%1)").arg(systemError(errno));
    } else if (S_ISDIR(st.st_mode)) {
        read.problem = linkedTo + (isLink ? QStringLiteral("is a folder") : QStringLiteral("is a folder, not a file"));
    } else if (!S_ISREG(st.st_mode)) {
        read.problem = linkedTo + QStringLiteral("is not a plain file (a device or a pipe)");
    } else if (st.st_size > maxBytes) {
        read.problem = QStringLiteral("is too large (%1, where such a file holds at most %2)")
                           .arg(sizeText(st.st_size), sizeText(maxBytes));
    }
    if (!read.problem.isEmpty()) {
        ::close(fd);
        return read;
    }
    // The file may grow while it is read: one byte past the limit is enough to tell.
    QByteArray data(static_cast<qsizetype>(std::min<qint64>(st.st_size, maxBytes) + 1), '\0');
    qsizetype have = 0;
    while (true) {
        if (have == data.size()) {
            if (have > maxBytes)
                break;
            data.resize(std::min<qsizetype>(data.size() * 2, static_cast<qsizetype>(maxBytes) + 1));
        }
        const ssize_t n = ::read(fd, data.data() + have, static_cast<size_t>(data.size() - have));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            read.problem = QStringLiteral("cannot be read (%1)").arg(systemError(errno));
            ::close(fd);
            return read;
        }
        if (n == 0)
            break;
        have += n;
    }
    ::close(fd);
    if (have > maxBytes) {
        read.problem = QStringLiteral("is too large (more than %1, the most such a file holds)").arg(sizeText(maxBytes));
        return read;
    }
    data.truncate(have);
    read.data = std::move(data);
    read.result = OwnFileRead::Result::Read;
    return read;
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
