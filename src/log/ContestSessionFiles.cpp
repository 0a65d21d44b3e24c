// The contest session's log-keeping commands: a new log, the backup made on
// closing, and archiving and restoring copies of the log.
#include "log/ContestSession.h"

#include "common/SharedPreferences.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/DurableFile.h"
#include "text/DateText.h"

#include <QDir>

namespace tenlog::log {

namespace {

const QString kLogFilter = QStringLiteral("Log Files (*.log)");

} // namespace

bool ContestSession::startNewLog()
{
    const auto answer = m_dialogs.inputBox(
        QStringLiteral("WARNING - Your existing log file will be ERASED!"),
        QStringLiteral("Are you sure that you want to start a new log file?  This function will ERASE the existing "
                       "log file!\r\n\r\nTo verify that you want to start a new log file, please type: YES"),
        QString());
    if (answer && answer->toUpper() == QLatin1String("YES")) {
        if (!backupBeforeErasing(QStringLiteral("Error Starting New Log")))
            return reloadLog();
        m_prefs.SavedOpSeconds = 0;
        m_opTime.reset();
        if (const auto error = m_log.clear())
            m_dialogs.message(QStringLiteral("Error Starting New Log"), QStringLiteral("log.txt could not be emptied: ") + *error,
                              platform::MessageIcon::Critical);
        savePrefs();
    }
    // An unconfirmed request simply reloads the old log.
    return reloadLog();
}

void ContestSession::backupLog()
{
    m_log.backupTo(m_folders.backupFolder(), m_clock.localNow());
}

bool ContestSession::backupBeforeErasing(const QString& title)
{
    // Whatever the count since the load: nothing is erased without a copy on disk.
    const ContestLog::Backup backup = m_log.backupTo(m_folders.backupFolder(), m_clock.localNow(), false);
    if (backup.error.isEmpty())
        return true;
    m_dialogs.message(title,
                      QStringLiteral("The log could not be backed up first, so nothing was changed: ") + backup.error,
                      platform::MessageIcon::Critical);
    return false;
}

void ContestSession::archiveLog()
{
    m_dialogs.message(
        QStringLiteral("Archive Information"),
        QStringLiteral("This function is used to create a permanent copy of your currently open log file.  To open "
                       "your log file at a later date, click File > Restore from Archive or Backup."));
    const QString folder = m_folders.backupFolder();
    QDir().mkpath(folder);
    const QString proposed = common::callSignFileStem(m_prefs.OwnCall)
                           + text::formatDateTime(m_clock.localNow(), QStringLiteral("yyyy-mm-dd")) + QStringLiteral(".log");
    const auto target = m_dialogs.saveFile({QString(), kLogFilter, folder, proposed, true});
    if (!target)
        return; // cancelled
    QString error;
    if (!platform::copyFileAtomically(m_log.path(), *target, &error))
        m_dialogs.message(QStringLiteral("Error Archiving Log"), error, platform::MessageIcon::Critical);
}

void ContestSession::restoreLog()
{
    m_dialogs.message(
        QStringLiteral("Opening Archived Data Information"),
        QStringLiteral("This action will open an archived log or backup file and creates a working file called "
                       "log.txt.  If you make any changes to your archived data that you would like to permanently "
                       "save, before you click File > New to start a new contest, be sure to click File > Archive "
                       "to save your changes."));
    if (m_log.contactCount() > 0
        && m_dialogs.message(QStringLiteral("Are your sure?"),
                             QStringLiteral("Are you sure that you want to open an archived log?  This action "
                                            "will clear and replace existing QSO data."),
                             platform::MessageIcon::Question, platform::MessageButtons::YesNo)
               == platform::Answer::No)
        return;
    const auto source = m_dialogs.openFile({QString(), kLogFilter, m_folders.backupFolder()});
    if (!source)
        return; // cancelled
    // The chosen file must read as a log before it may replace the working
    // one; otherwise the reload would end the program and the log would be lost.
    QByteArray archived;
    QString error;
    if (platform::readWholeFile(*source, &archived, &error)) {
        const LogParse parsed = parseLog(archived);
        error = parsed.error.isEmpty() ? tallyLog(parsed.records).error : parsed.error;
        // Any text of nine quoted values parses; a log also has real dates, times and modes.
        for (int i = 0; error.isEmpty() && i < parsed.records.size(); ++i) {
            const QsoRecord& r = parsed.records.at(i);
            if (!text::parseDate(r.QsoDate) || !text::parseTime(r.QsoTime))
                error = QStringLiteral("record %1 has no valid date and time").arg(i + 1);
            else if (!isCw(r.Mode) && !isPhone(r.Mode))
                error = QStringLiteral("record %1 has the mode \"%2\", not CW or PH").arg(i + 1).arg(r.Mode);
        }
        if (!error.isEmpty())
            error = QStringLiteral("The file is not a readable log (") + error
                  + QStringLiteral("). The working log was left as it was.");
    }
    if (error.isEmpty() && !backupBeforeErasing(QStringLiteral("Error Restoring Log")))
        return;
    if (error.isEmpty() && !platform::writeFileAtomically(m_log.path(), archived, &error))
        error = QStringLiteral("log.txt could not be replaced: ") + error;
    if (!error.isEmpty()) {
        m_dialogs.message(QStringLiteral("Error Restoring Log"), error, platform::MessageIcon::Critical);
        return;
    }
    reloadLog();
}

} // namespace tenlog::log
