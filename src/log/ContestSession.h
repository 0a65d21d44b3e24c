// The contest being operated: the log and its counters, the preferences, the
// prefix table, the operating time, the current mode and the decisions of the
// entry line. The main window's areas read it and react to its signals; the
// operator's requests (log the line, switch mode, edit, delete, a new log,
// restore) come in as calls. No widget is needed to run a contest through it.
#pragma once

#include "common/AppFolders.h"
#include "common/SharedPreferences.h"
#include "geo/PrefixTable.h"
#include "log/ContestLog.h"
#include "log/EntryRules.h"
#include "log/OperatingTime.h"
#include "log/Prefs.h"
#include "log/PrefsFile.h"

#include <QObject>

#include <QStringList>

#include <functional>
#include <utility>

namespace tenlog::platform {
class Clock;
class Dialogs;
}

namespace tenlog::log {

// The entry line as the operator left it.
struct EntryLine {
    QString call;
    QString rstRcvd;
    QString exchange;
    QString rstSnt;
    QString country;
    // After the contest the operator types the UTC date and time.
    bool postContest = false;
    QString postContestDate;
    QString postContestTime;
};

// What logging the entry line decided, for the entry line to carry out.
struct EntryOutcome {
    bool logged = false;
    // The line is emptied and the call box takes the focus.
    bool clearLine = false;
    // A failed check leaves the focus in this box.
    std::optional<EntryBox> focus;
    // The duplicate found (record number), 0 when none.
    int duplicateOf = 0;
    // The post-contest boxes rewritten to their stored form.
    QString postContestDate;
    QString postContestTime;
};

// Continent, bearing and distance of a call or a completed country.
struct CallInfo {
    QString continent;
    QString bearing;
    QString miles;
    bool operator==(const CallInfo&) const = default;
};

// The message line's text while log.txt has not been read.
extern const QString kLogNotReadText;

class ContestSession : public QObject {
    Q_OBJECT
public:
    ContestSession(platform::Clock& clock, platform::Dialogs& dialogs, common::AppFolders folders,
                   QObject* parent = nullptr);

    // Start-up: tnpref.txt, with the defaults for whatever it lacks (what
    // was wrong goes to takeFileProblems()), then the prefix file from the
    // shared, user data and working folders: false with the message shown
    // when that cannot be read.
    void loadPreferences();
    bool loadPrefixes();
    // What start-up found wrong with the program's files (a damaged
    // tnpref.txt, and where it was set aside), for the one report made once
    // start-up is done; emptied by the call. Found later, it goes to the
    // message line instead.
    QStringList takeFileProblems() { return std::exchange(m_fileProblems, QStringList()); }
    // Compares the stored UTC offset with the system clock and asks when they differ.
    void checkUtcOffset();
    // The log has been loaded once: later mode switches save and reload.
    void setStarted() { m_started = true; }
    // True once log.txt has been read: until then nothing may be written to it.
    bool logLoaded() const { return m_logLoaded; }

    // Reads log.txt and rebuilds every counter. A log that cannot be read
    // shows "File Error" with the cause (the line and what is wrong with it,
    // or why the file cannot be read) and asks the program to end
    // (logUnreadable); nothing is written to it.
    bool reloadLog();
    // Checks the entry line and, when it passes, stamps and appends the contact.
    EntryOutcome logEntry(const EntryLine& line);
    // Replaces a contact by its edited form (or rewrites it unchanged) and reloads.
    void rewriteContact(int recordNumber, const std::optional<QsoRecord>& edited);
    void deleteContact(int recordNumber);
    void switchMode(const QString& mode);
    // A mode reported by the radio: only "CW" and "PH" switch, and only when different.
    void followRadioMode(const QString& mode);
    // Asks for "YES", makes a backup and empties the log; false when the log
    // could not be read afterwards.
    bool startNewLog();
    // Copies the log into the backup folder when it changed since the load.
    void backupLog();
    void archiveLog();
    void restoreLog();

    // Operating time.
    bool loggedOn() const { return m_opTime.loggedOn(); }
    void timeOn();
    void timeOff();
    // Keeps the running total with the preferences (on leaving).
    void saveOperatingTime();
    double operatingSeconds() const;

    // Entry-line questions.
    // The duplicate of this call on the current mode: shows its notice, beeps,
    // and returns its record number (0 when none).
    int checkDuplicate(const QString& call);
    // A key typed into the call box: returns the partial-duplicate line
    // (empty when the list is off or the key does not refresh it) and sets
    // the message line.
    QString partialDupeCheck(const QString& callText, QChar key, bool listOn);
    // The partial-duplicate line for the call as it stands (after a deletion).
    QString partialDupeList(const QString& callText, bool listOn) const;
    // The prefix lookup for the call box: the country box text and the information.
    std::pair<QString, std::optional<CallInfo>> lookupCall(const QString& call) const;
    CallInfo callInfoFor(const geo::PrefixEntry& entry) const;
    bool isNewCountry(const QString& country, const QString& exchange) const;
    // "  Connecticut    Total =5 ..." for a hovered grid entry.
    QString multiplierSummary(int index) const;

    // Preferences.
    void setPrefs(const Prefs& prefs) { m_prefs = prefs; }
    void savePrefs();
    const Prefs& prefs() const { return m_prefs; }
    Prefs& mutablePrefs() { return m_prefs; }
    const QString& mode() const { return m_prefs.CurrentMode; }

    // The radio's frequency, stored with the next contact.
    void setRadioFrequency(float megahertz);
    // The radio's frequency is no longer known (it stopped answering, its
    // link broke): the next contact is stored without one.
    void forgetRadioFrequency() { m_pendingFreq.clear(); }
    const QString& pendingFrequency() const { return m_pendingFreq; }

    // The message line: the last text shown and whether it is the red (duplicate) one.
    void showMessage(const QString& text, bool red = false);
    const QString& message() const { return m_message; }
    bool messageIsRed() const { return m_messageRed; }

    const ContestLog& log() const { return m_log; }
    const geo::PrefixTable& prefixes() const { return m_prefixes; }
    const common::AppFolders& folders() const { return m_folders; }
    platform::Clock& clock() const { return m_clock; }
    QDateTime utcNow() const;

signals:
    void contactLogged(int recordNumber, const tenlog::log::QsoRecord& record, bool newCountry);
    void logReloaded();
    // Score and rates may have changed.
    void scoreChanged();
    void modeChanged(const QString& mode);
    void messageChanged(const QString& text, bool red);
    void loggedOnChanged(bool on);
    // The log cannot be read: the program must end with this code.
    void logUnreadable(int exitCode);

private:
    bool postContestChecks(const EntryLine& line, EntryOutcome& outcome);
    // A backup of the log before it is erased or replaced; false (and said
    // under title) when it could not be made.
    bool backupBeforeErasing(const QString& title);

    platform::Clock& m_clock;
    platform::Dialogs& m_dialogs;
    common::AppFolders m_folders;
    PrefsFile m_prefsFile;
    Prefs m_prefs;
    QStringList m_fileProblems;
    ContestLog m_log;
    geo::PrefixTable m_prefixes;
    OperatingTime m_opTime;
    QString m_pendingFreq;
    QString m_message;
    bool m_messageRed = false;
    bool m_badExchange = false;
    bool m_started = false;
    bool m_logLoaded = false;
};

} // namespace tenlog::log
