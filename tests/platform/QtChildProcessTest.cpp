// The real child process: started, reported when it cannot run or exits, and
// never left running after stop() or after its owner is gone.
#include "platform/qt/QtChildProcess.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <signal.h>

using tenlog::platform::QtChildProcess;

namespace {

bool processAlive(qint64 pid)
{
    return ::kill(static_cast<pid_t>(pid), 0) == 0;
}

}  // namespace

TEST(QtChildProcess, EndsTheChildOnStopAndOnDestruction)
{
    for (const bool byDestruction : {false, true}) {
        auto child = std::make_unique<QtChildProcess>();
        child->start(QStringLiteral("sleep"), {QStringLiteral("60")});
        ASSERT_TRUE(QTest::qWaitFor([&] { return child->processId() > 0; }, 5000));
        const qint64 pid = child->processId();
        EXPECT_TRUE(child->isRunning());
        if (byDestruction)
            child.reset();
        else
            child->stop();
        // A stopped child is reaped by QProcess, so the id no longer exists.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !processAlive(pid); }, 5000)) << byDestruction;
    }
}

TEST(QtChildProcess, ReportsHowAProgramEnded)
{
    using Ending = tenlog::platform::ChildProcess::Ending;
    const struct {
        QString program;
        QStringList arguments;
        Ending ending;
        int code;
        const char* text;
    } rows[] = {
        {QStringLiteral("/nonexistent/rigctld"), {}, Ending::NotRun, 0, nullptr},
        {QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("exit 3")}, Ending::Exited, 3, "exit code 3"},
        {QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("kill -9 $$")}, Ending::Killed, 9,
         "killed by signal 9"},
    };
    QtChildProcess child;
    for (const auto& row : rows) {
        std::optional<std::pair<Ending, int>> outcome;
        child.setFinishedHandler([&](Ending ending, int code) { outcome = std::pair{ending, code}; });
        child.start(row.program, row.arguments);
        ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }, 5000)) << row.arguments.join(u' ').toStdString();
        EXPECT_EQ(outcome->first, row.ending) << row.arguments.join(u' ').toStdString();
        if (row.text) {
            EXPECT_EQ(outcome->second, row.code);
            EXPECT_EQ(tenlog::platform::endingText(outcome->first, outcome->second), QLatin1String(row.text));
        }
    }
}

TEST(QtChildProcess, KeepsWhatItPrintedAndFindsInstalledPrograms)
{
    QtChildProcess child;
    bool finished = false;
    child.setFinishedHandler([&](auto, int) { finished = true; });
    child.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("echo first; echo 'last  words' >&2; echo")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 5000));
    EXPECT_EQ(child.output(), QByteArray("first\nlast  words\n\n"));
    EXPECT_EQ(tenlog::platform::lastOutputLine(child.output()), QStringLiteral("last words"));
    EXPECT_TRUE(tenlog::platform::lastOutputLine(QByteArray("\n\x01\n")).isEmpty());

    // A program stopped by its owner is not reported as ending by itself.
    finished = false;
    child.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return child.isRunning(); }, 5000));
    child.stop();
    QTest::qWait(50);
    EXPECT_FALSE(finished);

    EXPECT_TRUE(child.locate(QStringLiteral("sh")).endsWith(QLatin1String("/sh")));
    EXPECT_TRUE(child.locate(QStringLiteral("tenlog-no-such-program")).isEmpty());
    QTemporaryDir folder;
    QFile plain(folder.filePath(QStringLiteral("rigctld")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    plain.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_TRUE(child.locate(plain.fileName()).isEmpty()) << "not executable";
    plain.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(child.locate(plain.fileName()), plain.fileName());
}
