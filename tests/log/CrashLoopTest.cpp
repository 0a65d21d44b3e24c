// The log's promise against crashes: a copy of the session logging, editing
// and deleting contacts is killed at a random moment, again and again; every
// contact it had confirmed must come back from log.txt, and the file must
// always load. TENLOG_CRASH_RUNS sets how many kills (40 by default).
#include "log/ContestSession.h"

#include "common/FirstRun.h"
#include "platform/DurableFile.h"

#include "ScriptedDialogs.h"
#include "SettableClock.h"
#include "TempPaths.h"

#include <QSet>
#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace tenlog;
using namespace tenlog::log;

namespace {

// The child's side: reports each operation before it starts ("B") and once
// it returned successfully ("C"), one line per report, through the pipe.
[[noreturn]] void operate(const common::AppFolders& folders, int report, unsigned seed)
{
    tenlog::testing::ScriptedDialogs dialogs;
    tenlog::testing::SettableClock clock{QDateTime(QDate(2013, 12, 14), QTime(9, 0)), 5 * 3600};
    ContestSession session(clock, dialogs, folders);
    session.loadPreferences();
    if (!session.reloadLog())
        ::_exit(2);
    session.mutablePrefs().UtcOffsetHours = 5;
    std::mt19937 random(seed);
    auto say = [report](const QByteArray& text) { (void)!::write(report, text.constData(), static_cast<size_t>(text.size())); };
    for (int n = 0;; ++n) {
        const int choice = std::uniform_int_distribution<int>(0, 9)(random);
        const int count = session.log().contactCount();
        if (choice < 7 || count < 3) {
            const QByteArray call = "K" + QByteArray::number(seed % 1000) + "X" + QByteArray::number(n);
            say("B A " + call + "\n");
            const EntryOutcome out = session.logEntry({QString::fromLatin1(call), QStringLiteral("599"),
                                                       QStringLiteral("CT"), QStringLiteral("599"), QStringLiteral("USA"), false, {}, {}});
            if (out.logged)
                say("C A " + call + "\n");
        } else {
            const int rec = std::uniform_int_distribution<int>(1, count)(random);
            const QByteArray call = session.log().records().at(rec - 1).Call.toLatin1();
            if (choice < 9) {
                QsoRecord edited = session.log().records().at(rec - 1);
                edited.SecSer = edited.SecSer == QLatin1String("CT") ? QStringLiteral("MA") : QStringLiteral("CT");
                say("B E " + call + "\n");
                session.rewriteContact(rec, edited);
                say("C E " + call + "\n");
            } else {
                say("B D " + call + "\n");
                session.deleteContact(rec);
                say("C D " + call + "\n");
            }
        }
        clock.advanceMs(1000);
    }
}

} // namespace

TEST(CrashLoop, KilledAtRandomMomentsTheLogKeepsEveryConfirmedContact)
{
    tenlog::testing::TempPaths paths;
    common::seedWorkingFolder(paths.shippedDataFolder(), paths.workingFolder());
    common::AppFolders folders;
    folders.workingFolder = paths.workingFolder();
    folders.userDataFolder = paths.root() + QStringLiteral("/user");
    folders.sharedFolder = paths.root() + QStringLiteral("/shared");

    const int runs = qEnvironmentVariableIsSet("TENLOG_CRASH_RUNS") ? qEnvironmentVariableIntValue("TENLOG_CRASH_RUNS") : 40;
    std::mt19937 random(20131214);
    QSet<QString> confirmed; // contacts the operator saw logged and did not delete
    int lost = 0, kills = 0;
    for (int run = 0; run < runs; ++run) {
        int pipeEnds[2];
        ASSERT_EQ(::pipe(pipeEnds), 0);
        const unsigned seed = random();
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeEnds[0]);
            operate(folders, pipeEnds[1], seed);
        }
        ::close(pipeEnds[1]);
        ::usleep(std::uniform_int_distribution<int>(2000, 60000)(random));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        kills += WIFSIGNALED(status) ? 1 : 0;

        QByteArray reports;
        char buffer[4096];
        for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
            reports.append(buffer, static_cast<int>(n));
        ::close(pipeEnds[0]);
        // The one operation under way when the kill came may or may not have happened.
        QString inFlight;
        for (const QByteArray& line : reports.split('\n')) {
            const QList<QByteArray> parts = line.split(' ');
            if (parts.size() != 3)
                continue;
            const QString call = QString::fromLatin1(parts[2]);
            if (parts[0] == "B") {
                inFlight = call;
                continue;
            }
            inFlight.clear();
            if (parts[1] == "A")
                confirmed.insert(call);
            else if (parts[1] == "D")
                confirmed.remove(call);
        }

        ContestLog reread(LogFile::pathIn(folders.workingFolder));
        const auto error = reread.reload();
        ASSERT_FALSE(error.has_value()) << "run " << run << ": " << error->toStdString();
        QSet<QString> inFile;
        for (const QsoRecord& r : reread.records())
            inFile.insert(r.Call);
        for (const QString& call : confirmed)
            if (!inFile.contains(call) && call != inFlight)
                ++lost;
        // What the file holds now is what the next run starts from.
        confirmed = inFile;
    }
    std::cout << "kills: " << kills << ", confirmed contacts lost: " << lost << ", contacts in the log: "
              << confirmed.size() << "\n";
    EXPECT_EQ(kills, runs);
    EXPECT_EQ(lost, 0);
}
