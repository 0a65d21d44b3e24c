// A small contest run through the session with no window: log, duplicate,
// bad exchange, edit, delete, mode switch and reload, checked against the
// score, the signals and the bytes of log.txt.
#include "log/ContestSession.h"

#include "common/FirstRun.h"
#include "platform/DurableFile.h"

#include <QDir>
#include <QFileInfo>

#include "QtPrinters.h"
#include "ScriptedDialogs.h"
#include "SettableClock.h"
#include "TempPaths.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace tenlog;
using namespace tenlog::log;

namespace {

EntryLine line(const char* call, const char* exchange, const char* country = "USA")
{
    return {QString::fromLatin1(call), QStringLiteral("599"), QString::fromLatin1(exchange), QStringLiteral("599"),
            QString::fromLatin1(country), false, {}, {}};
}

} // namespace

class ContestSessionTest : public ::testing::Test {
protected:
    tenlog::testing::TempPaths paths;
    tenlog::testing::ScriptedDialogs dialogs;
    tenlog::testing::SettableClock clock{QDateTime(QDate(2013, 12, 14), QTime(9, 0)), 5 * 3600};
    std::unique_ptr<ContestSession> session;

    void SetUp() override
    {
        common::seedWorkingFolder(paths.shippedDataFolder(), paths.workingFolder());
        common::AppFolders folders;
        folders.workingFolder = paths.workingFolder();
        folders.userDataFolder = paths.root() + QStringLiteral("/user");
        folders.sharedFolder = paths.root() + QStringLiteral("/shared");
        session = std::make_unique<ContestSession>(clock, dialogs, folders);
        session->loadPreferences();
        ASSERT_TRUE(session->takeFileProblems().isEmpty());
        ASSERT_TRUE(session->loadPrefixes());
        session->mutablePrefs().UtcOffsetHours = 5;
        ASSERT_TRUE(session->reloadLog());
        session->setStarted();
    }

    QByteArray logFile() const
    {
        QByteArray data;
        platform::readWholeFile(paths.workingFolder() + QStringLiteral("/log.txt"), &data);
        return data;
    }
};

TEST_F(ContestSessionTest, ASmallContestFromFirstContactToReload)
{
    QSignalSpy logged(session.get(), &ContestSession::contactLogged);
    QSignalSpy reloaded(session.get(), &ContestSession::logReloaded);
    QSignalSpy modes(session.get(), &ContestSession::modeChanged);

    // The first contact switches the operating clock on and is stamped in UTC.
    session->setRadioFrequency(28.025f);
    EntryOutcome out = session->logEntry(line("K1ABC", "CT"));
    EXPECT_TRUE(out.logged);
    EXPECT_TRUE(out.clearLine);
    EXPECT_TRUE(session->loggedOn());
    EXPECT_TRUE(session->pendingFrequency().isEmpty()) << "the frequency goes with one contact only";
    EXPECT_EQ(logFile(), QByteArray("\"K1ABC\",\"599\",\"CT\",\"599\",\"USA\",\"2013/12/14\",\"14:00:00\","
                                    "\"CW\",\"28.025\"\r\n"));

    clock.advanceMs(60000);
    EXPECT_TRUE(session->logEntry(line("VE3XX", "ON", "Canada")).logged);
    EXPECT_TRUE(session->logEntry(line("DL1AA", "001", "Germany")).logged);
    ASSERT_EQ(logged.size(), 3);
    EXPECT_TRUE(logged.at(2).at(2).toBool()) << "Germany is a new DX country on CW";

    // The same call on the same mode is a duplicate: nothing is written, the
    // red notice names the first contact, the line is cleared.
    const QByteArray before = logFile();
    const int beeps = dialogs.beeps;
    out = session->logEntry(line("k1abc", "MA"));
    EXPECT_FALSE(out.logged);
    EXPECT_EQ(out.duplicateOf, 1);
    EXPECT_TRUE(out.clearLine);
    EXPECT_TRUE(session->messageIsRed());
    EXPECT_EQ(session->message(), QStringLiteral("Duplicate K1ABC CT 2013/12/14 14:00:00 ON CW  Rec# 1"));
    EXPECT_GT(dialogs.beeps, beeps);
    EXPECT_EQ(logFile(), before);

    // An exchange that is not a multiplier keeps the line and the focus there.
    out = session->logEntry(line("W1AW", "CTX"));
    EXPECT_FALSE(out.logged);
    EXPECT_FALSE(out.clearLine);
    EXPECT_EQ(session->message(), QStringLiteral("Invalid Section!"));
    // An incomplete line names its last missing box.
    EntryLine incomplete = line("W1AW", "CT");
    incomplete.rstRcvd.clear();
    out = session->logEntry(incomplete);
    EXPECT_FALSE(out.logged);
    ASSERT_TRUE(out.focus.has_value());
    EXPECT_EQ(session->log().contactCount(), 3);

    // Score: two W/VE multipliers (CT, ON) and the DX country, 3 contacts x 4 points.
    Score s = session->log().currentScore();
    EXPECT_EQ(s.contacts, 3);
    EXPECT_EQ(s.points, 12);
    EXPECT_EQ(s.multipliers, 3);
    EXPECT_EQ(s.score, 36);

    // Edit the second contact's exchange, then delete the first.
    QsoRecord edited = session->log().records().at(1);
    edited.SecSer = QStringLiteral("QC");
    session->rewriteContact(2, edited);
    session->deleteContact(1);
    EXPECT_EQ(session->log().contactCount(), 2);
    EXPECT_EQ(session->log().records().at(0).SecSer, QStringLiteral("QC"));
    EXPECT_EQ(parseLog(logFile()).records, session->log().records());
    EXPECT_EQ(reloaded.size(), 2);

    // K1ABC is no longer a duplicate; on phone it never was.
    session->switchMode(QStringLiteral("PH"));
    ASSERT_EQ(modes.size(), 1);
    EXPECT_EQ(loadPrefs(paths.workingFolder())->CurrentMode, QStringLiteral("PH")) << "the mode is saved";
    EntryLine phone = line("K1ABC", "CT");
    phone.rstRcvd = phone.rstSnt = QStringLiteral("59");
    EXPECT_TRUE(session->logEntry(phone).logged);
    EXPECT_EQ(session->log().records().last().Mode, QStringLiteral("PH"));

    // A reload from the file gives the same score.
    s = session->log().currentScore();
    ASSERT_TRUE(session->reloadLog());
    EXPECT_EQ(session->log().currentScore().score, s.score);
    EXPECT_EQ(session->log().currentScore().contacts, 3);
}

TEST_F(ContestSessionTest, PostContestEntryTakesTheTypedDateAndTime)
{
    EntryLine entry = line("K1ABC", "CT");
    entry.postContest = true;
    entry.postContestDate = QStringLiteral("2013/13/45");
    entry.postContestTime = QStringLiteral("934");
    EntryOutcome out = session->logEntry(entry);
    EXPECT_FALSE(out.logged);
    EXPECT_EQ(session->message(), QStringLiteral("Invalid date format!"));

    entry.postContestDate = QStringLiteral("2013/12/15");
    out = session->logEntry(entry);
    ASSERT_TRUE(out.logged);
    EXPECT_EQ(out.postContestTime, QStringLiteral("09:34"));
    EXPECT_EQ(session->log().records().at(0).QsoDate, QStringLiteral("2013/12/15"));
    EXPECT_EQ(session->log().records().at(0).QsoTime, QStringLiteral("09:34"));
}

TEST_F(ContestSessionTest, AFailedAppendKeepsTheLineAndCountsNothing)
{
    session->logEntry(line("K1ABC", "CT"));
    // Replacing log.txt by a folder makes the next append fail.
    const QString path = paths.workingFolder() + QStringLiteral("/log.txt");
    QFile::remove(path);
    QDir().mkdir(path);
    const EntryOutcome out = session->logEntry(line("W1AW", "CT"));
    EXPECT_FALSE(out.logged);
    EXPECT_FALSE(out.clearLine) << "the contact stays on the entry line";
    EXPECT_EQ(session->log().contactCount(), 1);
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("Contact Not Logged"));
}

TEST_F(ContestSessionTest, AnUnreadableLogAsksTheProgramToEnd)
{
    QSignalSpy ended(session.get(), &ContestSession::logUnreadable);
    platform::writeFileAtomically(paths.workingFolder() + QStringLiteral("/log.txt"), "\"K1ABC\",\"599\"\r\n\"W1AW\",\"599\",\"CT\",\"599\",\"USA\",\"2013/12/14\",\"14:05:33\",\"CW\",\"\"\r\n");
    EXPECT_FALSE(session->reloadLog());
    ASSERT_EQ(ended.size(), 1);
    EXPECT_EQ(ended.at(0).at(0).toInt(), 1);
    EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("File Error"));
}

// The long advice about quotes and dates is kept for damage inside the file,
// where it is the truth (MainWindowTest shows it after the cause); a file that
// cannot be read at all gets its own words.
TEST_F(ContestSessionTest, TheFileErrorGivesTheRealCauseFirst)
{
    const QString path = paths.workingFolder() + QStringLiteral("/log.txt");
    QFile::remove(path);
    ASSERT_TRUE(QDir().mkdir(path));
    EXPECT_FALSE(session->reloadLog());
    const QString text = dialogs.messages.back().text;
    EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("File Error"));
    EXPECT_EQ(text, QStringLiteral("log.txt is a folder, not a file.\n\nThe log file is %1. Nothing was written to it. "
                                   "Put it right, or restore the log from a backup in %2, and start the program again.")
                        .arg(path, session->folders().backupFolder()));
    EXPECT_TRUE(QFileInfo(path).isDir()) << "left as it was";
}

// A damaged tnpref.txt set aside after start-up (its first save was a mode
// switch) is said on the message line, not in a box over the entry line.
TEST_F(ContestSessionTest, ADamagedPreferencesFileSetAsideLaterIsSaidOnTheMessageLine)
{
    const QString prefs = paths.workingFolder() + QStringLiteral("/tnpref.txt");
    platform::writeFileAtomically(prefs, "\"W3LPL\"\r\n\"MD\"\r\nfive\r\n");
    ContestSession later(clock, dialogs, session->folders());
    later.loadPreferences();
    const QStringList problems = later.takeFileProblems();
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems.front().startsWith(prefs + QStringLiteral(" line 3: the hours added for UTC (UtcOffsetHours) is "
                                                                   "not a number: \"five\"")))
        << problems.front().toStdString();
    EXPECT_EQ(later.prefs().OwnCall, QStringLiteral("W3LPL")) << "what came before the damage is kept";
    ASSERT_TRUE(later.reloadLog());
    later.setStarted();
    const size_t boxes = dialogs.messages.size();
    later.switchMode(QStringLiteral("PH"));
    EXPECT_EQ(dialogs.messages.size(), boxes);
    EXPECT_EQ(later.message(), QStringLiteral("The damaged %1 was renamed to %1.damaged-20131214-090000, and the "
                                              "preferences were saved in a new tnpref.txt.").arg(prefs));
    EXPECT_TRUE(later.takeFileProblems().isEmpty());
    EXPECT_EQ(loadPrefs(paths.workingFolder())->CurrentMode, QStringLiteral("PH"));
}

TEST_F(ContestSessionTest, PartialDuplicatesAndTheCallShapeWarning)
{
    session->logEntry(line("K1ABC", "CT"));
    session->logEntry(line("K1ABD", "CT"));
    // Typing the "A" of K1A: both calls listed, latest first.
    EXPECT_EQ(session->partialDupeCheck(QStringLiteral("K1"), QLatin1Char('A'), true), QStringLiteral("K1ABD K1ABC "));
    EXPECT_EQ(session->partialDupeCheck(QStringLiteral("K1A"), QLatin1Char('B'), true), QStringLiteral("K1ABD K1ABC "));
    EXPECT_EQ(session->message(), QStringLiteral("Possible Duplicate!"));
    EXPECT_EQ(session->partialDupeCheck(QStringLiteral("K1A"), QLatin1Char('B'), false), QString());
    const int beeps = dialogs.beeps;
    session->partialDupeCheck(QStringLiteral("KA"), QLatin1Char('B'), true);
    EXPECT_EQ(session->message(), QStringLiteral("The second or third character is not numeric!"));
    EXPECT_EQ(dialogs.beeps, beeps + 1);
}

TEST_F(ContestSessionTest, NothingIsWrittenToALogThatWasNeverRead)
{
    const QByteArray existing = "\"K1ABC\",\"599\",\"CT\",\"599\",\"USA\",\"2013/12/14\",\"14:05:33\",\"CW\",\"\"\r\n";
    platform::writeFileAtomically(paths.workingFolder() + QStringLiteral("/log.txt"), existing);
    ContestSession unread(clock, dialogs, session->folders());
    unread.loadPreferences();
    ASSERT_TRUE(unread.takeFileProblems().isEmpty());
    const EntryOutcome out = unread.logEntry(line("K1ABC", "CT"));
    EXPECT_FALSE(out.logged);
    EXPECT_FALSE(out.clearLine);
    EXPECT_EQ(unread.message(), kLogNotReadText);
    unread.deleteContact(1);
    EXPECT_EQ(logFile(), existing) << "not appended, not rewritten";
}

TEST_F(ContestSessionTest, ALogIsErasedOrReplacedOnlyAfterItsBackupIsOnDisk)
{
    const QByteArray existing = "\"K1ABC\",\"599\",\"CT\",\"599\",\"USA\",\"2013/12/14\",\"14:05:33\",\"CW\",\"\"\r\n";
    const QString logPath = paths.workingFolder() + QStringLiteral("/log.txt");
    platform::writeFileAtomically(logPath, existing);
    const QString backups = session->folders().backupFolder();

    // A backup folder that cannot be made: "YES" changes nothing and says why.
    common::AppFolders blocked = session->folders();
    blocked.userDataFolder = paths.root() + QStringLiteral("/not-a-folder");
    platform::writeFileAtomically(blocked.userDataFolder, "a file where the folder should be");
    ContestSession cannotBackUp(clock, dialogs, blocked);
    cannotBackUp.loadPreferences();
    ASSERT_TRUE(cannotBackUp.takeFileProblems().isEmpty());
    dialogs.inputAnswers = {QStringLiteral("YES")};
    cannotBackUp.startNewLog();
    EXPECT_EQ(logFile(), existing);
    EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("Error Starting New Log"));

    // At start-up the log is erased unread ("No", then "YES"): it is still copied first.
    ContestSession atStart(clock, dialogs, session->folders());
    atStart.loadPreferences();
    ASSERT_TRUE(atStart.takeFileProblems().isEmpty());
    dialogs.inputAnswers = {QStringLiteral("YES")};
    ASSERT_TRUE(atStart.startNewLog());
    EXPECT_EQ(logFile(), QByteArray());
    const QStringList copies = QDir(backups).entryList({QStringLiteral("*.log")}, QDir::Files);
    ASSERT_EQ(copies.size(), 1);
    QByteArray copied;
    platform::readWholeFile(backups + QLatin1Char('/') + copies.first(), &copied);
    EXPECT_EQ(copied, existing);

    // A restore replaces the log only once the log it replaces is backed up.
    atStart.logEntry(line("W1AW", "CT"));
    const QByteArray current = logFile();
    const QString archive = paths.root() + QStringLiteral("/archive.log");
    platform::writeFileAtomically(archive, existing);
    dialogs.messageAnswers = {platform::Answer::Ok, platform::Answer::Yes};
    dialogs.fileAnswers = {archive};
    atStart.restoreLog();
    EXPECT_EQ(logFile(), existing);
    const QStringList after = QDir(backups).entryList({QStringLiteral("*.log")}, QDir::Files, QDir::Name);
    ASSERT_EQ(after.size(), 2) << "the same minute: a second name, the first backup kept";
    const QString second = QString(copies.first()).replace(QStringLiteral(".log"), QStringLiteral("-2.log"));
    ASSERT_TRUE(after.contains(second));
    platform::readWholeFile(backups + QLatin1Char('/') + second, &copied);
    EXPECT_EQ(copied, current);
}

TEST_F(ContestSessionTest, RestoreTakesOnlyWhatReadsAsALog)
{
    const QByteArray good = "\"K1ABC\",\"599\",\"CT\",\"599\",\"USA\",\"2013/12/14\",\"14:05:33\",\"CW\",\"\"\r\n";
    struct Case {
        const char* what;
        QByteArray archive;
        bool accepted;
    };
    const Case cases[] = {
        {"a log", good, true},
        {"a date that is no date", "\"K1ABC\",\"599\",\"CT\",\"599\",\"USA\",\"hello\",\"14:05:33\",\"CW\",\"\"\r\n", false},
        {"a time that is no time", "\"K1ABC\",\"599\",\"CT\",\"599\",\"USA\",\"2013/12/14\",\"25:99\",\"CW\",\"\"\r\n", false},
        {"a mode that is neither", "\"K1ABC\",\"599\",\"CT\",\"599\",\"USA\",\"2013/12/14\",\"14:05:33\",\"FT8\",\"\"\r\n", false},
        {"nine values of something else", "\"a\",\"b\",\"c\",\"d\",\"e\",\"f\",\"g\",\"h\",\"i\"\r\n", false},
    };
    const QString archive = paths.root() + QStringLiteral("/archive.log");
    for (const Case& c : cases) {
        platform::writeFileAtomically(paths.workingFolder() + QStringLiteral("/log.txt"), QByteArray());
        ASSERT_TRUE(session->reloadLog());
        platform::writeFileAtomically(archive, c.archive);
        dialogs.messages.clear();
        dialogs.messageAnswers = {platform::Answer::Ok};
        dialogs.fileAnswers = {archive};
        session->restoreLog();
        EXPECT_EQ(logFile(), c.accepted ? c.archive : QByteArray()) << c.what;
        EXPECT_EQ(dialogs.messages.back().title == QStringLiteral("Error Restoring Log"), !c.accepted) << c.what;
    }
}

TEST_F(ContestSessionTest, ADxCountryPastTheListsCapacityIsRefusedWhenLogged)
{
    QByteArray log;
    for (int i = 0; i < kDxListCapacity; ++i)
        log += "\"DX" + QByteArray::number(i) + "A\",\"599\",\"001\",\"599\",\"Land " + QByteArray::number(i)
             + "\",\"2013/12/14\",\"14:05:33\",\"CW\",\"\"\r\n";
    platform::writeFileAtomically(paths.workingFolder() + QStringLiteral("/log.txt"), log);
    ASSERT_TRUE(session->reloadLog());
    EXPECT_FALSE(session->logEntry(line("DL1AA", "002", "Land 1000")).logged);
    EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("Contact Not Logged"));
    EXPECT_EQ(logFile(), log);
    EXPECT_TRUE(session->logEntry(line("DL1AB", "003", "Land 7")).logged) << "a country already listed is fine";
    ASSERT_TRUE(session->reloadLog()) << "the log still loads";
}
