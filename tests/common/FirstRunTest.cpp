// First-run seeding: shipped files arrive, the operator's files are never touched.
#include "common/FirstRun.h"

#include "platform/DurableFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using tenlog::common::seedWorkingFolder;

namespace {

QByteArray bytesOf(const QString& path)
{
    QByteArray data;
    tenlog::platform::readWholeFile(path, &data);
    return data;
}

} // namespace

TEST(FirstRun, CopiesShippedFilesWithoutOverwritingAnyCaseVariant)
{
    QTemporaryDir shipped, working;
    const QDir s(shipped.path()), w(working.path());
    tenlog::platform::writeFileAtomically(s.filePath(QStringLiteral("log.txt")), "");
    tenlog::platform::writeFileAtomically(s.filePath(QStringLiteral("tnpref.txt")), "\"\"\r\n");
    tenlog::platform::writeFileAtomically(s.filePath(QStringLiteral("readtm.txt")), "help\r\n");
    tenlog::platform::writeFileAtomically(s.filePath(QStringLiteral("README.md")), "notes");
    // The operator's own log, under another letter case.
    tenlog::platform::writeFileAtomically(w.filePath(QStringLiteral("Log.txt")), "\"K1ABC\"\r\n");
    tenlog::platform::writeFileAtomically(w.filePath(QStringLiteral("readtm.txt")), "my notes");

    const auto result = seedWorkingFolder(shipped.path(), working.path());
    EXPECT_EQ(result.copied, QStringList{QStringLiteral("tnpref.txt")});
    EXPECT_TRUE(result.failed.isEmpty());
    EXPECT_FALSE(QFile::exists(w.filePath(QStringLiteral("log.txt"))));
    EXPECT_EQ(bytesOf(w.filePath(QStringLiteral("Log.txt"))), QByteArray("\"K1ABC\"\r\n"));
    EXPECT_EQ(bytesOf(w.filePath(QStringLiteral("readtm.txt"))), QByteArray("my notes"));
    EXPECT_EQ(bytesOf(w.filePath(QStringLiteral("tnpref.txt"))), QByteArray("\"\"\r\n"));
    EXPECT_FALSE(QFile::exists(w.filePath(QStringLiteral("README.md"))));

    // A second start copies nothing.
    EXPECT_TRUE(seedWorkingFolder(shipped.path(), working.path()).copied.isEmpty());
}

TEST(FirstRun, ShippedDefaultsHaveTheExpectedShape)
{
    // The shipped settings must load: sixteen preference lines and thirteen voice lines.
    const QDir data(QStringLiteral(TENLOG_SOURCE_DATA_DIR));
    const QByteArray prefs = bytesOf(data.filePath(QStringLiteral("tnpref.txt")));
    EXPECT_EQ(prefs.count("\r\n"), 16);
    EXPECT_TRUE(prefs.contains("\"CW\"\r\n"));
    EXPECT_TRUE(prefs.contains("\"None\"\r\n"));
    const QByteArray wave = bytesOf(data.filePath(QStringLiteral("wave2.txt")));
    EXPECT_EQ(wave.count("\r\n"), 13);
    EXPECT_TRUE(wave.endsWith("\"&H378\"\r\n"));
    EXPECT_TRUE(bytesOf(data.filePath(QStringLiteral("log.txt"))).isEmpty());
}
