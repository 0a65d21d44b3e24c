// Whole-file and append writes: complete or not at all, with clear errors.
#include "platform/DurableFile.h"

#include "ReadOnlyFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tenlog::platform;
using tenlog::testing::ReadOnlyFolder;

namespace {

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

} // namespace

TEST(DurableFile, AtomicWriteReplacesWholeAndLeavesNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    ASSERT_TRUE(writeFileAtomically(path, "first\r\n"));
    ASSERT_TRUE(writeFileAtomically(path, "second\r\n"));
    QByteArray data;
    ASSERT_TRUE(readWholeFile(path, &data));
    EXPECT_EQ(data, QByteArray("second\r\n"));
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("log.txt")});
    EXPECT_EQ(QFile::permissions(path) & QFile::ReadOther, QFile::ReadOther);
}

TEST(DurableFile, AppendAddsToTheEnd)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    ASSERT_TRUE(appendDurably(path, "a\r\n"));
    ASSERT_TRUE(appendDurably(path, "b\r\n"));
    QByteArray data;
    ASSERT_TRUE(readWholeFile(path, &data));
    EXPECT_EQ(data, QByteArray("a\r\nb\r\n"));
}

TEST(DurableFile, FailuresKeepTheOldFileAndSayWhy)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    ASSERT_TRUE(writeFileAtomically(path, "old"));
    {
        ReadOnlyFolder readOnly(dir.path());
        if (!readOnly.available())
            GTEST_SKIP() << "this file system cannot make a folder read-only";
        QString error;
        EXPECT_FALSE(writeFileAtomically(path, "new", &error));
        EXPECT_FALSE(error.isEmpty());
    }
    QByteArray data;
    ASSERT_TRUE(readWholeFile(path, &data));
    EXPECT_EQ(data, QByteArray("old"));
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("log.txt")});

    QString error;
    EXPECT_FALSE(appendDurably(dir.filePath(QStringLiteral("missing/log.txt")), "x", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(readWholeFile(dir.filePath(QStringLiteral("missing.txt")), &data, &error));
}

TEST(DurableFile, FullDiskIsReportedNotHidden)
{
    // /dev/full accepts the open and fails every write with "No space left on device".
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    QString error;
    EXPECT_FALSE(appendDurably(QStringLiteral("/dev/full"), QByteArray(4096, 'x'), &error));
    EXPECT_FALSE(error.isEmpty());
}
