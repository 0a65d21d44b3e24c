// The real child process: started, reported when it cannot run or exits, and
// never left running after stop() or after its owner is gone.
#include "platform/qt/QtChildProcess.h"

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

TEST(QtChildProcess, ReportsAProgramThatCannotRunAndOneThatExits)
{
    QtChildProcess child;
    std::optional<std::pair<bool, int>> outcome;
    child.setFinishedHandler([&](bool started, int code) { outcome = std::pair{started, code}; });
    child.start(QStringLiteral("/nonexistent/rigctld"), {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }, 5000));
    EXPECT_FALSE(outcome->first);

    outcome.reset();
    child.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("exit 3")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }, 5000));
    EXPECT_EQ(*outcome, std::pair(true, 3));
}
