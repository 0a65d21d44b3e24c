// The contest being operated: every decision the main window shows.
#include "log/ContestSession.h"

#include "geo/Bearing.h"
#include "log/MultTable.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/DurableFile.h"
#include "text/DateText.h"
#include "text/NumberText.h"

#include <QDir>
#include <QLocale>

namespace tenlog::log {

namespace {

const QString kFileErrorText = QStringLiteral(
    "Error opening file.  This error is annoying but probably correctable.  In all likelihood, a character "
    "such as a quote got into your data or one of your entries has an invalid date/time format.  Close this "
    "program and open log.txt in the program's working directory with a text editor such as notepad.  "
    "Inspect the data and fix any errors you see (remove any extra quotes and make sure your date and time "
    "entries are valid).");

} // namespace

const QString kLogNotReadText = QStringLiteral(
    "log.txt has not been read, so contacts cannot be logged or changed. Put right the problem shown at "
    "start-up and start the program again.");

ContestSession::ContestSession(platform::Clock& clock, platform::Dialogs& dialogs, common::AppFolders folders,
                               QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_dialogs(dialogs)
    , m_folders(std::move(folders))
    , m_prefsFile(m_folders.workingFolder)
    , m_log(LogFile::pathIn(m_folders.workingFolder))
{
}

void ContestSession::loadPreferences()
{
    m_prefs = m_prefsFile.load();
    if (!m_prefsFile.problem().isEmpty())
        m_fileProblems << m_prefsFile.problem();
    m_opTime = OperatingTime(m_prefs.SavedOpSeconds);
}

bool ContestSession::loadPrefixes()
{
    QString error;
    QString path;
    const auto result = m_prefixes.loadFirstFound(
        {m_folders.sharedFolder, m_folders.userDataFolder, m_folders.workingFolder}, &error, &path);
    if (result != geo::PrefixTable::LoadResult::Error)
        return true;
    m_dialogs.message(QStringLiteral("Error opeining file"),
                      QStringLiteral("Error opening file %1: %2.\n\nThe prefix file gives every call its country, "
                                     "so nothing can be logged without it. Put back a good copy of the file (the "
                                     "program ships one) and start the program again.")
                          .arg(QDir::toNativeSeparators(path), error),
                      platform::MessageIcon::Critical);
    return false;
}

void ContestSession::checkUtcOffset()
{
    const QDateTime local = m_clock.localNow();
    const QDateTime utc = m_clock.utcNow();
    const double recommended = recommendedUtcOffset(local, utc);
    if (static_cast<double>(m_prefs.UtcOffsetHours) == recommended
        || text::roundHalfEven(m_prefs.UtcOffsetHours, 2) == recommended)
        return;
    const auto answer = m_dialogs.inputBox(QStringLiteral("Update the Local Time / UTC Offset?"),
                                           utcOffsetPrompt(local, utc, m_prefs.UtcOffsetHours, recommended),
                                           text::plainNumber(recommended));
    if (!answer || !text::isNumeric(*answer))
        return; // the remembered offset stays and nothing is saved
    m_prefs.UtcOffsetHours = static_cast<float>(text::val(*answer));
    savePrefs();
}

void ContestSession::savePrefs()
{
    QString error;
    if (!m_prefsFile.save(m_prefs, m_clock.localNow(), &error)) {
        m_dialogs.message(QStringLiteral("Settings Not Saved"), QStringLiteral("tnpref.txt could not be written: ") + error,
                          platform::MessageIcon::Warning);
        return;
    }
    const QString setAside = m_prefsFile.takeSetAsideNotice();
    if (setAside.isEmpty())
        return;
    // During start-up it joins the report made at its end; later the operator may be typing.
    if (m_started)
        showMessage(setAside);
    else
        m_fileProblems << setAside;
}

QDateTime ContestSession::utcNow() const
{
    return utcFromLocal(m_clock.localNow(), m_prefs.UtcOffsetHours);
}

bool ContestSession::reloadLog()
{
    if (const auto cause = m_log.reload(m_clock.localNow())) {
        // The long text is about what an editor can put right inside the
        // file; a file that cannot be read at all needs other words.
        const QString text = m_log.lastLoadFailedOnContents()
            ? *cause + QStringLiteral(".\n\n") + kFileErrorText
            : *cause + QStringLiteral(".\n\nThe log file is %1. Nothing was written to it. Put it right, or restore "
                                      "the log from a backup in %2, and start the program again.")
                           .arg(QDir::toNativeSeparators(m_log.path()),
                                QDir::toNativeSeparators(m_folders.backupFolder()));
        m_dialogs.message(QStringLiteral("File Error"), text, platform::MessageIcon::Critical);
        emit logUnreadable(1);
        return false;
    }
    m_logLoaded = true;
    const QString torn = m_log.takeTornNotice();
    if (!torn.isEmpty())
        m_dialogs.message(QStringLiteral("Incomplete Contact Set Aside"), torn, platform::MessageIcon::Warning);
    emit logReloaded();
    emit scoreChanged();
    return true;
}

void ContestSession::showMessage(const QString& text, bool red)
{
    m_message = text;
    m_messageRed = red;
    emit messageChanged(text, red);
}

bool ContestSession::postContestChecks(const EntryLine& line, EntryOutcome& outcome)
{
    const auto date = postContestDate(line.postContestDate);
    if (!date) {
        showMessage(QStringLiteral("Invalid date format!"));
        m_dialogs.beep();
        return false;
    }
    outcome.postContestDate = *date;
    const auto time = postContestTime(line.postContestTime);
    if (!time) {
        showMessage(QStringLiteral("Invalid time format!"));
        m_dialogs.beep();
        return false;
    }
    outcome.postContestTime = *time;
    return true;
}

EntryOutcome ContestSession::logEntry(const EntryLine& line)
{
    EntryOutcome outcome;
    if (!m_logLoaded) {
        // Appending to a log that was never read would duplicate and misnumber contacts.
        m_dialogs.beep();
        showMessage(kLogNotReadText);
        return outcome;
    }
    if (!loggedOn()) {
        timeOn();
        outcome.focus = EntryBox::Call;
    }
    const bool newCountry = isNewCountry(line.country, line.exchange);
    if (line.postContest && !postContestChecks(line, outcome))
        return outcome;

    const QList<Failure> failures = checkEntryComplete(line.call, line.rstRcvd, line.exchange, line.rstSnt,
                                                       line.country);
    for (const Failure& f : failures) {
        m_dialogs.beep();
        showMessage(f.message);
        outcome.focus = f.box;
    }
    const bool incomplete = !failures.isEmpty();
    // An exchange that is not judged (empty) keeps the verdict of the last one.
    const SectionCheck exchange = checkExchange(line.exchange);
    if (exchange != SectionCheck::NotChecked) {
        m_badExchange = exchange == SectionCheck::Invalid;
        if (m_badExchange) {
            m_dialogs.beep();
            showMessage(QStringLiteral("Invalid Section!"));
        }
    }
    outcome.duplicateOf = checkDuplicate(line.call);

    if (outcome.duplicateOf == 0 && !incomplete && !m_badExchange) {
        QsoRecord r;
        r.Call = line.call;
        r.RstRcvd = line.rstRcvd;
        r.SecSer = line.exchange;
        r.RstSnt = line.rstSnt;
        r.Country = line.country;
        const QDateTime utc = utcNow();
        r.QsoDate = line.postContest ? outcome.postContestDate : text::formatDateTime(utc, QStringLiteral("yyyy/mm/dd"));
        r.QsoTime = line.postContest ? outcome.postContestTime : text::formatDateTime(utc, QStringLiteral("hh:nn:ss"));
        r.Mode = m_prefs.CurrentMode;
        r.Freq = m_pendingFreq;
        if (newCountry && m_log.dxCountries(r.Mode).size() >= kDxListCapacity) {
            // Accepted, it would make every later load of the log fail.
            m_dialogs.beep();
            m_dialogs.message(QStringLiteral("Contact Not Logged"),
                              QStringLiteral("The log already holds %1 DX countries on this mode, as many as it can keep, "
                                             "so a contact with a new one cannot be logged.\nIt is still on the entry line.")
                                  .arg(kDxListCapacity),
                              platform::MessageIcon::Critical);
            return outcome;
        }

        // The contact shows as logged only once it is safely on disk.
        if (const auto error = m_log.appendContact(r)) {
            m_dialogs.beep();
            m_dialogs.message(QStringLiteral("Contact Not Logged"),
                              QStringLiteral("The contact could not be written to log.txt: ") + *error
                                  + QStringLiteral("\nIt is still on the entry line."),
                              platform::MessageIcon::Critical);
            return outcome;
        }
        outcome.logged = true;
        showMessage(QString());
        emit contactLogged(m_log.contactCount(), r, newCountry);
    }
    if (!m_badExchange && !incomplete) {
        outcome.clearLine = true;
        outcome.focus.reset();
    }
    emit scoreChanged();
    m_pendingFreq.clear();
    return outcome;
}

int ContestSession::checkDuplicate(const QString& call)
{
    const int rec = m_log.findDuplicate(call, m_prefs.CurrentMode);
    if (rec == 0)
        return 0;
    const QsoRecord& r = m_log.records().at(rec - 1);
    showMessage(QStringLiteral("Duplicate ") + r.Call + QLatin1Char(' ') + r.SecSer + QLatin1Char(' ') + r.QsoDate
                    + QLatin1Char(' ') + r.QsoTime + QStringLiteral(" ON ") + r.Mode + QStringLiteral("  Rec# ")
                    + QString::number(rec),
                true);
    m_dialogs.beep();
    return rec;
}

QString ContestSession::partialDupeCheck(const QString& callText, QChar key, bool listOn)
{
    if (m_messageRed)
        showMessage(m_message, false);
    const QString probe = callText + key;
    QString list;
    if (listOn && refreshesPartialDupes(key))
        list = m_log.partialDupes(probe, m_prefs.CurrentMode);
    if (callText.size() > 2 && !list.isEmpty())
        showMessage(QStringLiteral("Possible Duplicate!"));
    else if (loggedOn())
        showMessage(QStringLiteral(" "));
    if (probe.size() == 3 && refreshesPartialDupes(key)) {
        if (callShapeWarning(probe, key)) {
            m_dialogs.beep();
            showMessage(QStringLiteral("The second or third character is not numeric!"));
        } else {
            showMessage(QStringLiteral(" "));
        }
    }
    return list;
}

QString ContestSession::partialDupeList(const QString& callText, bool listOn) const
{
    if (!listOn || callText.isEmpty())
        return {};
    return m_log.partialDupes(callText, m_prefs.CurrentMode);
}

CallInfo ContestSession::callInfoFor(const geo::PrefixEntry& entry) const
{
    const geo::BearingLabels labels
        = geo::bearingAndDistance(m_prefs.OwnLatitude, m_prefs.OwnLongitude, entry.Latitude, entry.Longitude);
    return {entry.Continent, labels.bearing, labels.distance};
}

std::pair<QString, std::optional<CallInfo>> ContestSession::lookupCall(const QString& call) const
{
    const geo::CallLookup found = m_prefixes.lookupCall(call);
    if (!found.found)
        return {found.country, std::nullopt};
    return {found.country, callInfoFor(*found.entry)};
}

bool ContestSession::isNewCountry(const QString& country, const QString& exchange) const
{
    return newCountryFlag(country, exchange, m_log.dxCountries(m_prefs.CurrentMode));
}

QString ContestSession::multiplierSummary(int index) const
{
    const MultEntry& entry = multEntry(index);
    const ContestLog::MultCount count = m_log.multiplierCount(QString::fromLatin1(entry.Abbrev));
    return QStringLiteral("  ") + QString::fromLatin1(entry.Name) + QStringLiteral("    Total =")
         + QString::number(count.cw + count.phone) + QStringLiteral("\n   CW =") + QString::number(count.cw)
         + QStringLiteral("  PH =") + QString::number(count.phone);
}

void ContestSession::rewriteContact(int recordNumber, const std::optional<QsoRecord>& edited)
{
    if (!m_logLoaded || recordNumber < 1 || recordNumber > m_log.contactCount())
        return;
    QList<QsoRecord> records = m_log.records();
    if (edited)
        records[recordNumber - 1] = *edited;
    if (const auto error = m_log.rewrite(records)) {
        m_dialogs.message(QStringLiteral("Contact Not Changed"), QStringLiteral("log.txt could not be rewritten: ") + *error,
                          platform::MessageIcon::Critical);
        reloadLog();
        return;
    }
    emit logReloaded();
    emit scoreChanged();
}

void ContestSession::deleteContact(int recordNumber)
{
    if (!m_logLoaded || recordNumber < 1 || recordNumber > m_log.contactCount())
        return;
    QList<QsoRecord> records = m_log.records();
    records.removeAt(recordNumber - 1);
    if (const auto error = m_log.rewrite(records)) {
        m_dialogs.message(QStringLiteral("Contact Not Deleted"), QStringLiteral("log.txt could not be rewritten: ") + *error,
                          platform::MessageIcon::Critical);
        reloadLog();
        return;
    }
    emit logReloaded();
    emit scoreChanged();
}

void ContestSession::switchMode(const QString& mode)
{
    m_prefs.CurrentMode = mode;
    if (m_started) {
        savePrefs();
        reloadLog();
    }
    emit modeChanged(mode);
}

void ContestSession::followRadioMode(const QString& mode)
{
    // The radio's word for the mode is taken in any letter case.
    if (mode.isEmpty() || mode.compare(m_prefs.CurrentMode, Qt::CaseInsensitive) == 0)
        return;
    if (mode.compare(QLatin1String("PH"), Qt::CaseInsensitive) == 0)
        switchMode(QStringLiteral("PH"));
    else if (mode.compare(QLatin1String("CW"), Qt::CaseInsensitive) == 0)
        switchMode(QStringLiteral("CW"));
}

void ContestSession::setRadioFrequency(float megahertz)
{
    m_pendingFreq = text::formatNumber(megahertz, QStringLiteral("#####.##0"));
}

void ContestSession::timeOn()
{
    m_opTime.timeOn(m_clock.localNow());
    showMessage(QStringLiteral(" "));
    emit loggedOnChanged(true);
}

void ContestSession::timeOff()
{
    const QDateTime local = m_clock.localNow();
    m_prefs.SavedOpSeconds = static_cast<float>(m_opTime.timeOff(local));
    const QDateTime utc = utcFromLocal(local, m_prefs.UtcOffsetHours);
    showMessage(QStringLiteral("Logged Off at ") + QLocale::system().toString(utc.date(), QLocale::ShortFormat)
                + QLatin1Char(' ') + text::formatDateTime(utc, QStringLiteral("hh:mm:ss")));
    savePrefs();
    emit loggedOnChanged(false);
}

void ContestSession::saveOperatingTime()
{
    if (!loggedOn())
        return;
    m_prefs.SavedOpSeconds = static_cast<float>(m_opTime.timeOff(m_clock.localNow()));
    savePrefs();
}

double ContestSession::operatingSeconds() const
{
    return m_opTime.opSeconds(m_clock.localNow());
}

} // namespace tenlog::log
