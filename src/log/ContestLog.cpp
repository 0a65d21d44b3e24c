// The running contest's log.
#include "log/ContestLog.h"

#include "log/MultTable.h"
#include "platform/DurableFile.h"
#include "text/DateText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace tenlog::log {

ContestLog::FileStamp ContestLog::stampNow() const
{
    struct stat st {};
    if (::stat(QFile::encodeName(m_file.path()).constData(), &st) != 0)
        return {};
    return {static_cast<qint64>(st.st_dev), static_cast<qint64>(st.st_ino), static_cast<qint64>(st.st_size),
            static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

std::optional<QString> ContestLog::reload(const QDateTime& localNow)
{
    LogParse parsed = m_file.load();
    m_failedOnContents = false;
    if (parsed.fileUnreadable)
        return parsed.error;
    if (!parsed.error.isEmpty()) {
        // Only a last line cut short is repaired; damage anywhere else stays an error.
        QByteArray data;
        QString error;
        if (!platform::readWholeFile(m_file.path(), &data, &error))
            return error;
        const std::optional<TornTail> torn = findTornTail(data);
        if (!torn) {
            m_failedOnContents = true;
            return parsed.error;
        }
        const QDateTime now = localNow.isValid() ? localNow : QDateTime::currentDateTime();
        const QString base = m_file.path() + QStringLiteral(".torn-") + text::formatDateTime(now, QStringLiteral("yyyymmddhhnnss"));
        QString aside = base;
        for (int n = 2; QFileInfo::exists(aside); ++n)
            aside = base + QLatin1Char('-') + QString::number(n);
        if (!platform::writeFileAtomically(aside, torn->fragment, &error)
            || !platform::writeFileAtomically(m_file.path(), torn->complete, &error))
            return QStringLiteral("the last line is incomplete and could not be set aside (") + error + QLatin1Char(')');
        parsed = parseLog(torn->complete);
        m_tornNotice = QStringLiteral("The last line of log.txt was incomplete: the program or the computer stopped "
                                      "while a contact was being written. That line was moved to ")
                     + QDir::toNativeSeparators(aside) + QStringLiteral(" and every complete contact was kept (")
                     + QString::number(parsed.records.size()) + QStringLiteral(").");
    }
    LogTally tally = tallyLog(parsed.records);
    if (!tally.error.isEmpty()) {
        m_failedOnContents = true;
        return QFileInfo(m_file.path()).fileName() + QLatin1Char(' ') + tally.error;
    }
    m_records = std::move(parsed.records);
    m_tally = std::move(tally);
    m_index.rebuild(m_records);
    m_stamp = stampNow();
    if (m_loadedCount == 0)
        m_loadedCount = contactCount();
    return std::nullopt;
}

std::optional<QString> ContestLog::refuseIfChangedElsewhere(const QDateTime& localNow)
{
    // A log never read has nothing of this copy's to protect (a new log at start-up).
    if (m_stamp.inode < 0 || stampNow() == m_stamp)
        return std::nullopt;
    const auto reread = reload(localNow);
    return QStringLiteral("log.txt was changed by another program since this log was read, so it was not "
                          "overwritten. ")
         + (reread ? QStringLiteral("It could not be read again: ") + *reread
                   : QStringLiteral("It has been read again; please make the change again."));
}

std::optional<QString> ContestLog::appendContact(const QsoRecord& record)
{
    if (contactCount() >= kLogCapacity)
        return QStringLiteral("The log is full (%1 contacts).").arg(kLogCapacity);
    QString error;
    if (!m_file.append(record, &error))
        return error;
    m_records.append(record);
    m_index.add(record, contactCount() - 1);
    m_stamp = stampNow();

    const int c = multIndex(record.SecSer);
    if (c > 0) {
        if (isCw(record.Mode) && ++m_tally.cwMultHits[c] == 1)
            ++m_tally.cwMultsWorked;
        else if (isPhone(record.Mode) && ++m_tally.phMultHits[c] == 1)
            ++m_tally.phMultsWorked;
    }
    if (isCw(record.Mode) && (record.Call.endsWith(QLatin1String("/N"), Qt::CaseInsensitive)
                              || record.Call.endsWith(QLatin1String("/T"), Qt::CaseInsensitive)))
        ++m_tally.cwNtCount;
    if (isDxContact(record.Country, record.SecSer)) {
        QStringList* list = isCw(record.Mode) ? &m_tally.cwDxCountries
                          : isPhone(record.Mode) ? &m_tally.phDxCountries : nullptr;
        if (list && !list->contains(record.Country, Qt::CaseInsensitive) && list->size() < kDxListCapacity)
            list->append(record.Country);
    }
    return std::nullopt;
}

std::optional<QString> ContestLog::rewrite(const QList<QsoRecord>& records)
{
    if (auto changed = refuseIfChangedElsewhere())
        return changed;
    QString error;
    if (!m_file.rewrite(records, &error))
        return error;
    m_stamp = stampNow();
    // The file now holds exactly these records (the writer refuses anything it
    // could not read back), so the reload rebuilds from them without reading
    // the file again.
    LogTally tally = tallyLog(records);
    if (!tally.error.isEmpty())
        return tally.error;
    m_records = records;
    m_tally = std::move(tally);
    m_index.rebuild(m_records);
    if (m_loadedCount == 0)
        m_loadedCount = contactCount();
    return std::nullopt;
}

std::optional<QString> ContestLog::clear()
{
    if (auto changed = refuseIfChangedElsewhere())
        return changed;
    QString error;
    if (!m_file.truncate(&error))
        return error;
    m_stamp = stampNow();
    m_records.clear();
    m_index.rebuild(m_records);
    m_tally = LogTally{};
    return std::nullopt;
}

ContestLog::Backup ContestLog::backupTo(const QString& backupFolder, const QDateTime& localNow,
                                       bool onlyWhenChanged) const
{
    if (onlyWhenChanged ? contactCount() == 0 || contactCount() == m_loadedCount
                        : QFileInfo(m_file.path()).size() == 0)
        return {}; // nothing to keep
    if (!QDir().mkpath(backupFolder))
        return {{}, QStringLiteral("the backup folder %1 could not be made").arg(QDir::toNativeSeparators(backupFolder))};
    // Two backups in one minute, a clock set back or the repeated hour of a
    // daylight-saving change must not replace an older backup.
    const QString stem = QDir(backupFolder).filePath(text::formatDateTime(localNow, QStringLiteral("yyyymmddhhnn")));
    QString target = stem + QStringLiteral(".log");
    for (int n = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n)
        target = stem + QLatin1Char('-') + QString::number(n) + QStringLiteral(".log");
    QString error;
    if (!platform::copyFileAtomically(m_file.path(), target, &error))
        return {{}, error};
    return {target, {}};
}

int ContestLog::findDuplicate(const QString& call, const QString& mode) const
{
    return m_index.firstExact(call, mode) + 1;
}

QString ContestLog::partialDupes(const QString& probe, const QString& mode, int cap) const
{
    // Each listed call takes at least one character and its space, so the
    // earliest cap + 1 matches always reach past the cap.
    QString list;
    for (int position : m_index.firstMatches(probe, mode, cap + 1)) {
        list.prepend(m_records.at(position).Call + QLatin1Char(' '));
        if (list.size() > cap)
            break;
    }
    return list;
}

ContestLog::MultCount ContestLog::multiplierCount(const QString& abbreviation) const
{
    MultCount count;
    for (const QsoRecord& r : m_records) {
        if (r.SecSer.compare(abbreviation, Qt::CaseInsensitive) != 0)
            continue;
        if (isCw(r.Mode))
            ++count.cw;
        else if (isPhone(r.Mode))
            ++count.phone;
    }
    return count;
}

Score ContestLog::currentScore() const
{
    Score s;
    s.contacts = contactCount();
    s.multipliers = static_cast<int>(m_tally.cwDxCountries.size() + m_tally.phDxCountries.size())
                  + m_tally.phMultsWorked + m_tally.cwMultsWorked;
    int phone = 0;
    for (const QsoRecord& r : m_records)
        if (isPhone(r.Mode))
            ++phone;
    const int cw = s.contacts - phone;
    s.points = 4 * cw + 2 * phone + 4 * m_tally.cwNtCount;
    s.score = static_cast<qint64>(s.points) * s.multipliers;
    return s;
}

std::optional<Rates> ContestLog::rates(const QDateTime& utcNow) const
{
    Rates r;
    int in20 = 0;
    const QDateTime now(utcNow.date(), utcNow.time(), Qt::UTC);
    for (auto it = m_records.crbegin(); it != m_records.crend(); ++it) {
        const auto date = text::parseDate(it->QsoDate);
        const auto time = text::parseTime(it->QsoTime);
        if (!date || !time)
            return std::nullopt;
        const qint64 age = QDateTime(*date, *time, Qt::UTC).secsTo(now);
        if (age < 1200)
            ++in20;
        if (age >= 3600)
            break;
        ++r.last60;
    }
    r.last20 = 3 * in20;
    return r;
}

const QStringList& ContestLog::dxCountries(const QString& mode) const
{
    return isCw(mode) ? m_tally.cwDxCountries : m_tally.phDxCountries;
}

} // namespace tenlog::log
