// One copy of the program per working folder. Two copies on the same log
// would each rewrite it from what they alone loaded and erase the other's
// contacts, so the first copy holds an exclusive lock on a lock file in the
// working folder (".tenlog.lock", holding its process id) for its whole run
// and a second copy is turned away before it touches any file. The lock is
// an open-file-description lock: the kernel drops it when the process ends,
// however it ends, so a crash never leaves the folder locked.
#pragma once

#include <QString>

namespace tenlog::platform {

class WorkingFolderLock {
public:
    explicit WorkingFolderLock(QString folder);
    ~WorkingFolderLock();
    WorkingFolderLock(const WorkingFolderLock&) = delete;
    WorkingFolderLock& operator=(const WorkingFolderLock&) = delete;

    enum class Result {
        Held,       // this copy now holds the folder
        InUse,      // another copy holds it (holderPid() says which, when known)
        Unlockable, // the lock file cannot be made here (a read-only folder): nothing can be written either
    };
    Result acquire();
    // The process id written by the copy that holds the folder; 0 when unknown.
    qint64 holderPid() const { return m_holderPid; }
    // The system's reason when the lock file could not be made.
    const QString& error() const { return m_error; }
    static QString lockFileName() { return QStringLiteral(".tenlog.lock"); }

private:
    QString m_folder;
    int m_fd = -1;
    qint64 m_holderPid = 0;
    QString m_error;
};

} // namespace tenlog::platform
