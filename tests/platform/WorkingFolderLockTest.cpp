// One copy per working folder: the lock is exclusive across open files and
// processes, names its holder, and goes with the process however it ends.
#include "platform/WorkingFolderLock.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using tenlog::platform::WorkingFolderLock;

TEST(WorkingFolderLock, ASecondHolderIsTurnedAwayUntilTheFirstLetsGo)
{
    QTemporaryDir dir;
    auto first = std::make_unique<WorkingFolderLock>(dir.path());
    ASSERT_EQ(first->acquire(), WorkingFolderLock::Result::Held);
    WorkingFolderLock second(dir.path());
    EXPECT_EQ(second.acquire(), WorkingFolderLock::Result::InUse);
    EXPECT_EQ(second.holderPid(), static_cast<qint64>(::getpid()));
    first.reset();
    EXPECT_EQ(second.acquire(), WorkingFolderLock::Result::Held);
}

TEST(WorkingFolderLock, AKilledHolderLeavesTheFolderFree)
{
    QTemporaryDir dir;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        WorkingFolderLock held(dir.path());
        const char answer = held.acquire() == WorkingFolderLock::Result::Held ? 'y' : 'n';
        (void)!::write(ready[1], &answer, 1);
        ::pause();
        ::_exit(0);
    }
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    ASSERT_EQ(answer, 'y');
    WorkingFolderLock second(dir.path());
    EXPECT_EQ(second.acquire(), WorkingFolderLock::Result::InUse);
    EXPECT_EQ(second.holderPid(), static_cast<qint64>(child)) << "the message can name the other copy";
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(second.acquire(), WorkingFolderLock::Result::Held) << "a crash never leaves the folder locked";
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(WorkingFolderLock, AFolderWithoutRoomForTheLockFileIsReported)
{
    WorkingFolderLock nowhere(QStringLiteral("/proc/no-such-folder"));
    EXPECT_EQ(nowhere.acquire(), WorkingFolderLock::Result::Unlockable);
    EXPECT_FALSE(nowhere.error().isEmpty());
}
