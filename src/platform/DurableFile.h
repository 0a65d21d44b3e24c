// File writes that survive a crash or a full disk. A whole-file write goes to
// a temporary file beside the target, is synced and renamed over it, so the
// target is always either the old file or the new one. An append is synced
// before it returns, and a failed append is cut back out, so the file holds
// only whole appends. Symbolic links are followed: the file a link points to
// is written and the link keeps working. Errors come back in plain words with
// the system's description.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/types.h>

namespace tenlog::platform {

// The system calls the durable writes go through. Tests pass a subclass that
// makes a write stop part-way or a sync fail, to prove the recovery paths.
class FileCalls {
public:
    virtual ~FileCalls() = default;
    virtual ssize_t write(int fd, const void* data, size_t size);
    virtual int fsync(int fd);
    virtual int ftruncate(int fd, off_t size);

    // The real system calls.
    static FileCalls& system();
};

// Replaces (or creates) path with data. On failure the old file is untouched
// and no temporary file is left behind. When path is a symbolic link, the
// file it points to is replaced.
bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error = nullptr,
                         FileCalls& calls = FileCalls::system());

enum class AppendResult {
    Appended,
    // Nothing of data is in the file: it holds exactly what it held before.
    NotAppended,
    // The write failed and cutting it back out failed too: the file may end
    // with part of data.
    MayHoldPartialData,
};

enum class LineStart {
    AsIs,
    // When the file's last line has no line end, CR LF is written first, so
    // data starts on a line of its own.
    OwnLine,
};

// Appends data to path (created when missing) and syncs it to disk. On any
// failure the file is cut back to its size before the call.
AppendResult appendDurably(const QString& path, const QByteArray& data, QString* error = nullptr,
                           LineStart lineStart = LineStart::AsIs, FileCalls& calls = FileCalls::system());

// Copies source to target through writeFileAtomically.
bool copyFileAtomically(const QString& source, const QString& target, QString* error = nullptr);

// The path a chain of symbolic links ends at (absolute), or path itself when
// it is not a link. A dangling link gives the path it points to, so writing
// there creates the file the link names.
QString resolveLinks(const QString& path);

// The files this program replaces through writeFileAtomically, as name
// patterns matched without regard to letter case. A process that dies
// mid-write leaves "." + the name + ".tmp-" + six letters or digits beside
// the file. A new file written through writeFileAtomically joins this list,
// or its leftovers stay for good. Files whose names the operator types in a
// save dialog (Cabrillo, ADIF, archives) are left out on purpose: such a
// name could equally be one of the operator's own files.
const QStringList& atomicallyWrittenFileNames();

// True when fileName is a temporary file writeFileAtomically makes for one
// of the files above, or for one of alsoNames (exact names).
bool isStaleTemporaryFileName(const QString& fileName, const QStringList& alsoNames = {});

// Deletes the temporary files writeFileAtomically leaves in folder when the
// process dies mid-write, and nothing else: only plain files whose names
// isStaleTemporaryFileName() accepts. Returns how many it deleted.
int removeStaleTemporaryFiles(const QString& folder, const QStringList& alsoNames = {});

// Renames path (the file, folder or link itself) to path + suffix, or to
// path + suffix + "-2", "-3" ... when that name is taken, so nothing is
// replaced, and syncs the folder. Returns the new path; empty with the
// reason when the rename failed, and path is then untouched.
QString setAside(const QString& path, const QString& suffix, QString* error = nullptr);

// One of the program's own files read whole, with the reasons it could not
// be told apart in plain words.
struct OwnFileRead {
    enum class Result {
        Read,
        Missing, // nothing at all at the path
        Failed,  // something is there but could not be read; problem says why
    };
    Result result = Result::Missing;
    QByteArray data;
    // Follows the file's name in a message: "is a folder", "is a link to
    // /x/y, which does not exist", "is a link that leads round in a loop",
    // "is too large (11.0 MB; ...)", "cannot be read (Permission denied)".
    QString problem;
};
// Reads path, refusing anything larger than maxBytes without reading it,
// and anything that is not a plain file (a folder, a device, a pipe that
// would make start-up wait for ever).
OwnFileRead readOwnFile(const QString& path, qint64 maxBytes);

// The program's files are matched without regard to letter case: the path of
// the file in folder whose name equals name ignoring case, or folder/name
// when there is none.
QString fileInFolder(const QString& folder, const QString& name);

// Reads a whole file; false (with the reason) when it cannot be read.
bool readWholeFile(const QString& path, QByteArray* data, QString* error = nullptr);

} // namespace tenlog::platform
