// The contact record and the log file "log.txt".
//
// log.txt: single-byte text, one record a line, CR LF line ends, no header.
// Each line holds nine quoted values separated by single commas:
//   "Call","RstRcvd","SecSer","RstSnt","Country","QsoDate","QsoTime","Mode","Freq"
// e.g. "K1ABC","599","CT","599","USA","2013/12/14","14:05:33","CW","28.025".
// There is no escape: no field may hold a double quote. Reading takes the
// file as a stream of values (commas and line ends alike separate them), so
// every nine values make one record.
//
// Appends are synced before they return and always start on a line of their
// own; a failed append is cut back out, so the file holds exactly the
// confirmed records. A rewrite replaces the file through a synced temporary
// file, so a crash never leaves a torn log.
#pragma once

#include "platform/DurableFile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace tenlog::log {

struct QsoRecord {
    QString Call;
    QString RstRcvd;
    QString SecSer;
    QString RstSnt;
    QString Country;
    QString QsoDate; // "yyyy/mm/dd" UTC
    QString QsoTime; // "hh:mm:ss" UTC, "hh:mm" when typed in after the contest
    QString Mode;    // "CW" or "PH"
    QString Freq;    // MHz as "#####.##0", or empty

    bool operator==(const QsoRecord&) const = default;
};

inline constexpr int kLogCapacity = 11000;
// No field can be typed longer than this; a longer one means a damaged file.
inline constexpr int kLongestField = 64;
inline constexpr int kDxListCapacity = 1000;

// One record as its line of the file; nullopt when a field holds a double
// quote or a character the single-byte file cannot hold.
std::optional<QByteArray> recordLine(const QsoRecord& record);
// Which field recordLine refused, in words for the operator.
QString unstorableFieldMessage(const QsoRecord& record);

// Nothing a log can hold comes near this; a larger file is not a log, and
// reading it whole could hold up start-up.
inline constexpr qint64 kLogFileMaxBytes = 16 * 1024 * 1024;

struct LogParse {
    QList<QsoRecord> records;
    // Empty when the whole file read as records. Otherwise the cause with
    // its line: "line 1234: the record has 7 values, not 9"; LogFile::load()
    // puts the file's name in front ("log.txt line 1234: ...", "log.txt is
    // a folder, not a file").
    QString error;
    bool incomplete = false; // the data ended inside a record
    // The file itself could not be read (missing, a folder, a broken link,
    // no permission, too large); error says why. Its contents are unknown.
    bool fileUnreadable = false;
};

// Reads log data, one record a line. An error names the first line that is
// not a record: one with more or fewer than nine values, a quote that is not
// closed on its line, a field over kLongestField characters or holding a
// control character, a record past the 11000th.
LogParse parseLog(const QByteArray& data);

// A log whose only fault is its last line, cut short by a power failure
// during an append: the complete records before it and the fragment.
struct TornTail {
    QByteArray complete; // every line up to and including the last line end
    QByteArray fragment; // the incomplete last line
};
// nullopt when the data reads whole, or when the damage is not confined to
// the last line (that stays a damaged log).
std::optional<TornTail> findTornTail(const QByteArray& data);

// The counters every load rebuilds from the records.
struct LogTally {
    std::array<int, 101> cwMultHits{}; // index 1..100 as the multiplier table
    std::array<int, 101> phMultHits{};
    int cwMultsWorked = 0;
    int phMultsWorked = 0;
    QStringList cwDxCountries; // in order of first appearance
    QStringList phDxCountries;
    int cwNtCount = 0; // CW calls ending in /N or /T
    // Set when a DX list would pass its capacity: "line 812: ...", taking
    // record n to stand on line n, as it does in any log parseLog() accepts.
    QString error;
};

LogTally tallyLog(const QList<QsoRecord>& records);

bool isCw(const QString& mode);
bool isPhone(const QString& mode);

class LogFile {
public:
    explicit LogFile(QString path, platform::FileCalls& calls = platform::FileCalls::system())
        : m_path(std::move(path)), m_calls(&calls) {}
    const QString& path() const { return m_path; }

    // Reads and parses the whole file; a missing file is an error.
    // Larger than kLogFileMaxBytes, it is not read.
    LogParse load() const;
    // Appends one record and syncs it. When the last line of the file has no
    // line end, one is written first. Refused while mayEndWithPartialRecord().
    bool append(const QsoRecord& record, QString* error = nullptr) const;
    // Replaces the file with exactly these records.
    bool rewrite(const QList<QsoRecord>& records, QString* error = nullptr) const;
    // Leaves an empty log.
    bool truncate(QString* error = nullptr) const;

    // True after an append failed and could not be cut back out: the file
    // may end with part of a record, and appending to it would bury that
    // fragment in the middle of the log. A rewrite or truncate that succeeds
    // replaces the whole file and clears it.
    bool mayEndWithPartialRecord() const { return m_mayEndWithPartialRecord; }

    // The log file in a folder, matched without regard to letter case.
    static QString pathIn(const QString& folder);

private:
    QString m_path;
    platform::FileCalls* m_calls;
    // Mutable like the file it describes: writes through a const handle
    // change the file, and this follows the file.
    mutable bool m_mayEndWithPartialRecord = false;
};

} // namespace tenlog::log
