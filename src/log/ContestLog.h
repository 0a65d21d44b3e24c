// The running contest's log: the records in logging order, the counters
// rebuilt from them, and the file they live in. Every change goes to the file
// first; the in-memory table only follows a write that succeeded, so the
// window never shows a contact that is not on disk.
#pragma once

#include "log/CallIndex.h"
#include "log/ContactLog.h"

#include <QDateTime>

#include <optional>
#include <utility>

namespace tenlog::log {

struct Score {
    int contacts = 0;
    int multipliers = 0;
    int points = 0;
    qint64 score = 0;
};

struct Rates {
    int last20 = 0; // contacts per hour over the last 20 minutes
    int last60 = 0; // contacts in the last 60 minutes
};

class ContestLog {
public:
    explicit ContestLog(QString path) : m_file(std::move(path)) {}

    // Reads the file and rebuilds every counter. On error nothing in memory
    // changes and the reason is returned. A last line cut short (a power
    // failure during an append) is moved to "log.txt.torn-yyyymmddhhnnss"
    // beside the log, named for localNow, and tornNotice() says so once.
    std::optional<QString> reload(const QDateTime& localNow = QDateTime());
    // The last failed reload() read the file but found its contents
    // damaged (as opposed to a file that could not be read at all).
    bool lastLoadFailedOnContents() const { return m_failedOnContents; }
    // What the last load had to set aside, once; empty when nothing.
    QString takeTornNotice() { return std::exchange(m_tornNotice, QString()); }

    // Appends one contact (file first, synced), then counts it.
    std::optional<QString> appendContact(const QsoRecord& record);
    // Empties the log file and the table (a new contest).
    std::optional<QString> clear();
    // Copies the log into the backup folder as "yyyymmddhhnn.log" of the
    // given local time ("yyyymmddhhnn-2.log" and so on when that name is
    // taken: an older backup is never replaced). With onlyWhenChanged, only
    // when the log has contacts and its count differs from the count at
    // load; without it, whenever the file holds anything, read or not.
    // path is empty when no copy was due; error says why one failed.
    struct Backup {
        QString path;
        QString error;
    };
    Backup backupTo(const QString& backupFolder, const QDateTime& localNow, bool onlyWhenChanged = true) const;

    // Replaces the file with these records. When log.txt is no longer the
    // file this log was read from (another program wrote it), nothing is
    // overwritten: the file is read again and the reason returned.
    std::optional<QString> rewrite(const QList<QsoRecord>& records);

    const QList<QsoRecord>& records() const { return m_records; }
    int contactCount() const { return static_cast<int>(m_records.size()); }
    const LogTally& tally() const { return m_tally; }
    // The count taken by the first load while it was still 0 (the backup rule).
    int loadedCount() const { return m_loadedCount; }
    const QString& path() const { return m_file.path(); }

    // 1-based record number of the first contact with this call on this
    // mode (letter case ignored), 0 when there is none.
    int findDuplicate(const QString& call, const QString& mode) const;

    // Calls of this mode beginning with the probe (letter case ignored),
    // each followed by a space, the latest collected first; collection stops
    // once the list is longer than the cap.
    QString partialDupes(const QString& probe, const QString& mode, int cap = 100) const;

    // Contacts whose exchange is this multiplier, per mode.
    struct MultCount {
        int cw = 0;
        int phone = 0;
    };
    MultCount multiplierCount(const QString& abbreviation) const;

    Score currentScore() const;
    // Rates at the given UTC moment; nullopt when a record's date or time cannot be read.
    std::optional<Rates> rates(const QDateTime& utcNow) const;

    const QStringList& dxCountries(const QString& mode) const;

private:
    // What identifies the file's contents as this log last left them.
    struct FileStamp {
        qint64 device = -1;
        qint64 inode = -1;
        qint64 size = -1;
        qint64 modifiedNs = -1;
        bool operator==(const FileStamp&) const = default;
    };
    FileStamp stampNow() const;
    std::optional<QString> refuseIfChangedElsewhere(const QDateTime& localNow = QDateTime());

    LogFile m_file;
    CallIndex m_index;
    FileStamp m_stamp;
    QString m_tornNotice;
    bool m_failedOnContents = false;
    QList<QsoRecord> m_records;
    LogTally m_tally;
    int m_loadedCount = 0;
};

} // namespace tenlog::log
