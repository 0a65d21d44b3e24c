// Whole-file and append writes: complete or not at all, with clear errors,
// through symbolic links, on a disk that fills up or fails part-way.
#include "platform/DurableFile.h"

#include "common/AppFolders.h"
#include "cw/CwSettings.h"
#include "export/TextExport.h"
#include "log/ContactLog.h"
#include "log/Prefs.h"
#include "platform/ComPortMap.h"
#include "rig/RigCommands.h"
#include "rig/RigSettings.h"
#include "spots/SpotSettings.h"
#include "voice/VoiceKeyerSettings.h"

#include "FailingFileCalls.h"
#include "ReadOnlyFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tenlog::platform;
using tenlog::testing::FailingFileCalls;
using tenlog::testing::ReadOnlyFolder;

namespace {

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

QByteArray contents(const QString& path)
{
    QByteArray data;
    readWholeFile(path, &data);
    return data;
}

const QByteArray kRecord("\"K1ABC\",\"599\",\"CT\",\"599\",\"USA\"\r\n");

} // namespace

TEST(DurableFile, AtomicWriteReplacesWholeAndLeavesNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    ASSERT_TRUE(writeFileAtomically(path, "first\r\n"));
    ASSERT_TRUE(writeFileAtomically(path, "second\r\n"));
    EXPECT_EQ(contents(path), QByteArray("second\r\n"));
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("log.txt")});
    EXPECT_EQ(QFile::permissions(path) & QFile::ReadOther, QFile::ReadOther);
}

TEST(DurableFile, AppendAddsToTheEnd)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    ASSERT_EQ(appendDurably(path, "a\r\n"), AppendResult::Appended);
    ASSERT_EQ(appendDurably(path, "b\r\n"), AppendResult::Appended);
    EXPECT_EQ(contents(path), QByteArray("a\r\nb\r\n"));
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
    EXPECT_EQ(contents(path), QByteArray("old"));
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("log.txt")});

    QString error;
    EXPECT_EQ(appendDurably(dir.filePath(QStringLiteral("missing/log.txt")), "x", &error), AppendResult::NotAppended);
    EXPECT_FALSE(error.isEmpty());
    QByteArray data;
    EXPECT_FALSE(readWholeFile(dir.filePath(QStringLiteral("missing.txt")), &data, &error));
}

TEST(DurableFile, FullDiskIsReportedNotHidden)
{
    // /dev/full accepts the open and fails every write with "No space left on device".
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    QString error;
    EXPECT_NE(appendDurably(QStringLiteral("/dev/full"), QByteArray(4096, 'x'), &error), AppendResult::Appended);
    EXPECT_TRUE(error.contains(QLatin1String("No space left on device"))) << error.toStdString();
}

// Each row breaks one step of an append. Whatever reached the file is cut
// back out, so the file holds what it held before and the next append starts
// clean instead of being glued to a fragment or storing a record twice.
TEST(DurableFile, FailedAppendLeavesTheFileAsItWas)
{
    struct Case {
        const char* what;
        const char* before; // nullptr: the file does not exist yet
        long long bytesLeft;
        int failingSync;
        const char* reason;
    };
    const Case cases[] = {
        {"disk fills part-way through the record", "\"W1AW\"\r\n", 7, 0, "No space left on device"},
        {"disk already full", "\"W1AW\"\r\n", 0, 0, "No space left on device"},
        {"disk fills inside the added line end", "\"W1AW\"", 1, 0, "No space left on device"},
        {"sync of the record fails", "\"W1AW\"\r\n", -1, 1, "Input/output error"},
        {"sync of the new file's folder fails", nullptr, -1, 2, "folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("log.txt"));
        if (c.before) {
            ASSERT_TRUE(writeFileAtomically(path, c.before));
        }
        FailingFileCalls calls;
        calls.bytesLeft = c.bytesLeft;
        calls.failingSync = c.failingSync;
        QString error;
        EXPECT_EQ(appendDurably(path, kRecord, &error, LineStart::OwnLine, calls), AppendResult::NotAppended);
        EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << error.toStdString();
        EXPECT_TRUE(error.contains(QLatin1String("the file is as it was"))) << error.toStdString();
        const QByteArray before = c.before ? QByteArray(c.before) : QByteArray();
        EXPECT_EQ(contents(path), before);

        ASSERT_EQ(appendDurably(path, kRecord, nullptr, LineStart::OwnLine), AppendResult::Appended);
        const QByteArray lineEnd = before.isEmpty() || before.endsWith('\n') ? QByteArray() : QByteArray("\r\n");
        EXPECT_EQ(contents(path), before + lineEnd + kRecord);
    }
}

TEST(DurableFile, AppendThatCannotBeCutBackSaysTheFileMayHoldPartOfIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    ASSERT_TRUE(writeFileAtomically(path, "\"W1AW\"\r\n"));
    FailingFileCalls calls;
    calls.bytesLeft = 7;
    calls.truncateFails = true;
    QString error;
    EXPECT_EQ(appendDurably(path, kRecord, &error, LineStart::AsIs, calls), AppendResult::MayHoldPartialData);
    EXPECT_TRUE(error.contains(QLatin1String("No space left on device"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QLatin1String("partial record"))) << error.toStdString();
    EXPECT_EQ(contents(path), QByteArray("\"W1AW\"\r\n") + kRecord.left(7));
}

namespace {

// A tmpfs of a few kilobytes, unmounted when the test ends; unavailable
// unless the test may mount (root with the capability to).
class TinyDisk {
public:
    explicit TinyDisk(const QString& folder) : m_folder(QFile::encodeName(folder))
    {
        m_mounted = ::mount("tmpfs", m_folder.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=8k") == 0;
    }
    ~TinyDisk()
    {
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    TinyDisk(const TinyDisk&) = delete;
    TinyDisk& operator=(const TinyDisk&) = delete;
    bool mounted() const { return m_mounted; }

private:
    QByteArray m_folder;
    bool m_mounted = false;
};

} // namespace

// The kernel itself cuts the write short when the disk fills mid-record.
TEST(DurableFile, RealDiskFillingMidRecordLeavesNoFragment)
{
    QTemporaryDir dir;
    const TinyDisk disk(dir.path());
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    // 8 KiB of whole lines but a few bytes, so the next record does not fit.
    QByteArray full;
    while (full.size() + kRecord.size() <= 8192 - 10)
        full += kRecord;
    full += QByteArray(8192 - 10 - full.size() - 2, 'x') + "\r\n";
    ASSERT_EQ(appendDurably(path, full), AppendResult::Appended);

    QString error;
    EXPECT_EQ(appendDurably(path, kRecord, &error), AppendResult::NotAppended);
    EXPECT_TRUE(error.contains(QLatin1String("No space left on device"))) << error.toStdString();
    EXPECT_EQ(QFileInfo(path).size(), full.size());
    EXPECT_EQ(contents(path), full);
}

// A file whose last line lost its line end gets one before the new data.
TEST(DurableFile, AppendStartsOnALineOfItsOwn)
{
    struct Case {
        QByteArray before;
        LineStart lineStart;
        QByteArray after;
    };
    const Case cases[] = {
        {"", LineStart::OwnLine, "new\r\n"},
        {"a\r\n", LineStart::OwnLine, "a\r\nnew\r\n"},
        {"a", LineStart::OwnLine, "a\r\nnew\r\n"},
        {"a\r", LineStart::OwnLine, "a\r\nnew\r\n"},
        {"a\n", LineStart::OwnLine, "a\nnew\r\n"},
        {"a", LineStart::AsIs, "anew\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before.toStdString());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("log.txt"));
        ASSERT_TRUE(writeFileAtomically(path, c.before));
        ASSERT_EQ(appendDurably(path, "new\r\n", nullptr, c.lineStart), AppendResult::Appended);
        EXPECT_EQ(contents(path), c.after);
    }
}

TEST(DurableFile, FailedSyncOfAWholeFileWriteIsReported)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tnpref.txt"));
    ASSERT_TRUE(writeFileAtomically(path, "old"));

    FailingFileCalls fileSync;
    fileSync.failingSync = 1;
    QString error;
    EXPECT_FALSE(writeFileAtomically(path, "new", &error, fileSync));
    EXPECT_TRUE(error.contains(QLatin1String("Input/output error"))) << error.toStdString();
    EXPECT_EQ(contents(path), QByteArray("old"));
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("tnpref.txt")});

    // The rename has happened when the folder fails to sync: the new file is
    // there, and the caller hears that it may not last.
    FailingFileCalls folderSync;
    folderSync.failingSync = 2;
    EXPECT_FALSE(writeFileAtomically(path, "new", &error, folderSync));
    EXPECT_TRUE(error.contains(QLatin1String("folder"))) << error.toStdString();
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("tnpref.txt")});
}

// Rewrites replace the file a link points to, not the link: the link keeps
// working and the temporary file lives (and dies) beside the real file.
TEST(DurableFile, WritesFollowSymbolicLinks)
{
    struct Case {
        const char* what;
        QStringList chain; // link names in "work", each pointing to the next; the last names the real file
        QString realFile;  // relative to the temporary folder
        bool realExists;
    };
    const Case cases[] = {
        {"link beside its file", {QStringLiteral("log.txt"), QStringLiteral("real.txt")}, QStringLiteral("work/real.txt"), true},
        {"chain of links", {QStringLiteral("log.txt"), QStringLiteral("hop.txt"), QStringLiteral("real.txt")},
         QStringLiteral("work/real.txt"), true},
        {"link into another folder", {QStringLiteral("log.txt"), QStringLiteral("../other/real.txt")},
         QStringLiteral("other/real.txt"), true},
        {"dangling link", {QStringLiteral("log.txt"), QStringLiteral("../other/new.txt")},
         QStringLiteral("other/new.txt"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QDir root(dir.path());
        ASSERT_TRUE(root.mkpath(QStringLiteral("work")) && root.mkpath(QStringLiteral("other")));
        const QString work = root.filePath(QStringLiteral("work"));
        const QString real = root.filePath(c.realFile);
        if (c.realExists) {
            ASSERT_TRUE(writeFileAtomically(real, "old\r\n"));
        }
        for (qsizetype i = 0; i + 1 < c.chain.size(); ++i)
            ASSERT_EQ(::symlink(QFile::encodeName(c.chain[i + 1]).constData(),
                                QFile::encodeName(QDir(work).filePath(c.chain[i])).constData()),
                      0);
        const QString link = QDir(work).filePath(c.chain.first());
        EXPECT_EQ(resolveLinks(link).toStdString(), QFileInfo(real).absoluteFilePath().toStdString());

        QString error;
        ASSERT_TRUE(writeFileAtomically(link, "new\r\n", &error)) << error.toStdString();
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_EQ(contents(real), QByteArray("new\r\n"));
        ASSERT_EQ(appendDurably(link, "more\r\n"), AppendResult::Appended);
        EXPECT_EQ(contents(real), QByteArray("new\r\nmore\r\n"));

        const QString source = root.filePath(QStringLiteral("source.txt"));
        ASSERT_TRUE(writeFileAtomically(source, "copied\r\n"));
        ASSERT_TRUE(copyFileAtomically(source, link));
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_EQ(contents(real), QByteArray("copied\r\n"));

        for (const QString& folder : {work, root.filePath(QStringLiteral("other"))})
            for (const QString& name : entries(folder))
                EXPECT_FALSE(name.startsWith(QLatin1Char('.'))) << name.toStdString();
    }

    QTemporaryDir dir;
    const QString loop = dir.filePath(QStringLiteral("loop.txt"));
    ASSERT_EQ(::symlink("loop.txt", QFile::encodeName(loop).constData()), 0);
    QString error;
    EXPECT_FALSE(writeFileAtomically(loop, "x", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(loop).isSymLink());
}

namespace {

// Dies in the middle of writing, as a crash or a kill would.
class DyingFileCalls : public tenlog::platform::FileCalls {
public:
    ssize_t write(int fd, const void* data, size_t size) override
    {
        FileCalls::write(fd, data, size / 2);
        ::_exit(0);
    }
};

} // namespace

// Only the program's own temporary files are cleaned up after a crash.
TEST(DurableFile, StaleTemporaryFilesAreRemovedAndNothingElse)
{
    QTemporaryDir dir;
    const QDir folder(dir.path());
    const QString log = folder.filePath(QStringLiteral("log.txt"));
    ASSERT_TRUE(writeFileAtomically(log, "kept\r\n"));

    // A rewrite that died part-way leaves its real temporary file.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        DyingFileCalls dying;
        writeFileAtomically(log, QByteArray(4096, 'x'), nullptr, dying);
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_EQ(entries(dir.path()).size(), 2);

    const QStringList keep{QStringLiteral("log.txt"),           QStringLiteral(".log.txt.tmp-abc"),
                           QStringLiteral("log.txt.tmp-ABCDEF"), QStringLiteral(".log.txt.tmp-ABCDEF.bak"),
                           QStringLiteral(".tmp-ABCDEF"),        QStringLiteral(".log.txt.tmp-AB_DEF"),
                           QStringLiteral("notes.txt")};
    for (const QString& name : keep)
        if (!QFile::exists(folder.filePath(name))) {
            ASSERT_TRUE(writeFileAtomically(folder.filePath(name), "mine"));
        }
    ASSERT_TRUE(writeFileAtomically(folder.filePath(QStringLiteral(".tnpref.txt.tmp-x9Y8z7")), "stale"));
    ASSERT_TRUE(folder.mkdir(QStringLiteral(".dir.tmp-ABCDEF")));
    ASSERT_EQ(::symlink("notes.txt", QFile::encodeName(folder.filePath(QStringLiteral(".link.tmp-ABCDEF"))).constData()), 0);

    EXPECT_EQ(removeStaleTemporaryFiles(dir.path()), 2);
    QStringList left = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QStringList expected = keep + QStringList{QStringLiteral(".link.tmp-ABCDEF"), QStringLiteral(".dir.tmp-ABCDEF")};
    left.sort();
    expected.sort();
    EXPECT_EQ(left, expected);
    EXPECT_EQ(contents(log), QByteArray("kept\r\n"));
    EXPECT_EQ(removeStaleTemporaryFiles(dir.path()), 0);
}

// Start-up clears what a crash left of the program's own rewrites, and
// never a file of the operator's that merely looks like one.
TEST(DurableFile, OnlyTheProgramsOwnTemporaryFilesCountAsStale)
{
    const struct {
        const char* name;
        bool stale;
    } rows[] = {
        {".log.txt.tmp-abc123", true},
        {".Log.txt.tmp-A1b2C3", true}, // the log found under another letter case
        {".log.txt.torn-20131215080759.tmp-Ab12Cd", true},
        {".log.txt.torn-20131215080759-2.tmp-Ab12Cd", true},
        {".notes.txt.tmp-abc123", false},
        {".log.txt.torn-yesterday.tmp-Ab12Cd", false},
        {".log.txt.tmp-abc1234", false},
        {".readtm.txt.tmp-abc123", false}, // a shipped file, unless named as one
    };
    for (const auto& row : rows)
        EXPECT_EQ(isStaleTemporaryFileName(QString::fromLatin1(row.name)), row.stale) << row.name;
    EXPECT_TRUE(isStaleTemporaryFileName(QStringLiteral(".readtm.txt.tmp-abc123"), {QStringLiteral("readtm.txt")}));
}

TEST(DurableFile, SetAsideRenamesWithoutReplacingAnything)
{
    QTemporaryDir dir;
    const QDir folder(dir.path());
    const QString file = folder.filePath(QStringLiteral("tnpref.txt"));
    const QString suffix = QStringLiteral(".damaged-20261210-143000");
    for (const char* expected : {"tnpref.txt.damaged-20261210-143000", "tnpref.txt.damaged-20261210-143000-2",
                                 "tnpref.txt.damaged-20261210-143000-3"}) {
        ASSERT_TRUE(writeFileAtomically(file, expected));
        QString error;
        const QString aside = setAside(file, suffix, &error);
        EXPECT_EQ(aside, folder.filePath(QString::fromLatin1(expected))) << error.toStdString();
        EXPECT_EQ(contents(aside), QByteArray(expected)) << "each copy kept as it was";
        EXPECT_FALSE(QFileInfo::exists(file));
    }
    // A folder under the file's name moves aside the same way.
    ASSERT_TRUE(folder.mkdir(QStringLiteral("tnpref.txt")));
    EXPECT_TRUE(QFileInfo(setAside(file, QStringLiteral(".damaged-x"))).isDir());

    QString error;
    EXPECT_TRUE(setAside(folder.filePath(QStringLiteral("none.txt")), suffix, &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}

// A folder, a broken or looping link, a pipe and a file too large are told
// apart through the log, in the log's own tests; a link to a folder here.
TEST(DurableFile, ReadingOwnFilesTellsTheCausesApart)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("file.txt"));
    ASSERT_EQ(::symlink("/", QFile::encodeName(path).constData()), 0);
    const OwnFileRead linked = readOwnFile(path, 1024);
    EXPECT_EQ(linked.result, OwnFileRead::Result::Failed);
    EXPECT_EQ(linked.problem, QStringLiteral("is a link to /, which is a folder"));

    QFile::remove(path);
    ASSERT_TRUE(writeFileAtomically(path, "data"));
    EXPECT_EQ(readOwnFile(path, 4).data, QByteArray("data")) << "exactly the limit is read";
    EXPECT_EQ(readOwnFile(path, 3).result, OwnFileRead::Result::Failed);
}

// The names each writer uses, taken from the writers themselves: a writer
// whose file is renamed, or a new file written through writeFileAtomically,
// fails here until the list beside the writer knows it.
TEST(DurableFile, EveryFileTheProgramRewritesIsOnTheList)
{
    QTemporaryDir empty;
    const QStringList written{
        QFileInfo(tenlog::log::LogFile::pathIn(empty.path())).fileName(),
        tenlog::log::prefsFileName(),
        tenlog::rig::rigSettingsFileName(),
        tenlog::rig::pegasusInputFileName(),
        tenlog::spots::spotSettingsFileName(),
        QString::fromLatin1(tenlog::cw::cwSettingsFileName),
        QString::fromLatin1(tenlog::voice::voiceKeyerFileName),
        QString::fromLatin1(tenlog::exports::kTessaryFileName),
        ComPortMap::fileName(),
        QFileInfo(tenlog::common::AppFolders{}.sharedPreferencesPath()).fileName(),
    };
    for (const QString& name : written)
        EXPECT_TRUE(isStaleTemporaryFileName(QLatin1Char('.') + name + QStringLiteral(".tmp-Ab12Cd"))) << name.toStdString();
}
