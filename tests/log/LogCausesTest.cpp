// Why log.txt could not be read, told as it is: the line and what is wrong
// with it, or what stands where the file should be (real folders, links and
// pipes in a temporary folder). Nothing is ever written to a log that could
// not be read.
#include "log/ContestLog.h"

#include "platform/DurableFile.h"

#include "QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using namespace tenlog::log;

namespace {

const QByteArray kGood = "\"K1ABC\",\"599\",\"CT\",\"599\",\"USA\",\"2013/12/14\",\"14:05:33\",\"CW\",\"28.025\"\r\n";

QByteArray lines(int count)
{
    return kGood.repeated(count);
}

} // namespace

TEST(LogCauses, EachDamagedLineIsNamedWithWhatIsWrong)
{
    const struct {
        const char* what;
        QByteArray data;
        const char* error;
        bool incomplete;
    } rows[] = {
        {"eleven values", lines(1) + kGood.chopped(2) + ",\"x\",\"y\"\r\n" + lines(1),
         "line 2: the record has 11 values, not 9", false},
        {"a blank line", lines(1) + "\r\n" + lines(1), "line 2 is blank", false},
        {"a quote left open", lines(1) + "\"W1AW\",\"599\",\"CT\r\n" + lines(1), "line 2: a quote is not closed on the line",
         false},
        {"a field far too long", lines(1) + "\"" + QByteArray(70, 'K') + kGood.mid(kGood.indexOf("\",")),
         "line 2: the call is 70 characters long, and no field of a contact is longer than 64", false},
        {"a control character", lines(1) + QByteArray("\"K1\x01X", 5) + kGood.mid(kGood.indexOf("\",")),
         "line 2: the call holds the control character 0x01", false},
        {"more than a log holds", lines(kLogCapacity + 1), "line 11001: more than 11000 contacts, the most one log can hold",
         false},
        {"cut off at the end", lines(2) + "\"W1AW\",\"59", "line 3: the record has 2 values, not 9 (the file ends there)",
         true},
        {"whole", lines(3), "", false},
    };
    for (const auto& row : rows) {
        const LogParse parsed = parseLog(row.data);
        EXPECT_EQ(parsed.error, QString::fromLatin1(row.error)) << row.what;
        EXPECT_EQ(parsed.incomplete, row.incomplete) << row.what;
    }
}

TEST(LogCauses, TheFileItselfIsNamedWhenItCannotBeRead)
{
    struct Row {
        const char* what;
        std::function<void(const QString& path, const QDir& folder)> make;
        QString error; // %1: the folder
        bool contents;
    };
    const Row rows[] = {
        {"a folder", [](const QString& path, const QDir&) { QDir().mkdir(path); }, QStringLiteral("log.txt is a folder, not a file"),
         false},
        {"a dangling link", [](const QString& path, const QDir&) { QFile::link(QStringLiteral("/x/y"), path); },
         QStringLiteral("log.txt is a link to /x/y, which does not exist"), false},
        {"a looping link",
         [](const QString& path, const QDir& folder) {
             QFile::link(folder.filePath(QStringLiteral("other.txt")), path);
             QFile::link(path, folder.filePath(QStringLiteral("other.txt")));
         },
         QStringLiteral("log.txt is a link that leads round in a loop, so it reaches no file"), false},
        {"a pipe", [](const QString& path, const QDir&) { ::mkfifo(QFile::encodeName(path).constData(), 0600); },
         QStringLiteral("log.txt is not a plain file (a device or a pipe)"), false},
        {"far too large", [](const QString& path, const QDir&) { QFile f(path); f.open(QIODevice::WriteOnly); f.resize(20 << 20); },
         QStringLiteral("log.txt is too large (20.0 MB, where such a file holds at most 16.0 MB)"), false},
        {"missing", [](const QString&, const QDir&) {}, QStringLiteral("log.txt was not found"), false},
        {"a damaged record in the middle",
         [](const QString& path, const QDir&) {
             tenlog::platform::writeFileAtomically(path, lines(1233) + kGood.left(kGood.lastIndexOf(",\"CW\"")) + "\r\n" + lines(5));
         },
         QStringLiteral("log.txt line 1234: the record has 7 values, not 9"), true},
        {"more DX countries than a log holds",
         [](const QString& path, const QDir&) {
             QByteArray data;
             for (int i = 0; i <= kDxListCapacity; ++i)
                 data += "\"DX" + QByteArray::number(i) + "\",\"599\",\"001\",\"599\",\"Land " + QByteArray::number(i)
                       + "\",\"2013/12/14\",\"14:05:33\",\"CW\",\"\"\r\n";
             tenlog::platform::writeFileAtomically(path, data);
         },
         QStringLiteral("log.txt line 1001: more than 1000 DX countries on CW, the most one log can hold"), true},
    };
    for (const Row& row : rows) {
        QTemporaryDir dir;
        const QDir folder(dir.path());
        const QString path = folder.filePath(QStringLiteral("log.txt"));
        row.make(path, folder);
        const QStringList before = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        const qint64 sizeBefore = QFileInfo(path).size();

        ContestLog log(path);
        const auto error = log.reload(QDateTime(QDate(2013, 12, 15), QTime(8, 0)));
        ASSERT_TRUE(error.has_value()) << row.what;
        EXPECT_EQ(*error, row.error) << row.what;
        EXPECT_EQ(log.lastLoadFailedOnContents(), row.contents) << row.what;
        EXPECT_EQ(log.contactCount(), 0) << row.what;
        // Nothing was moved, set aside or rewritten.
        EXPECT_EQ(folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot), before) << row.what;
        EXPECT_EQ(QFileInfo(path).size(), sizeBefore) << row.what;
    }
}

TEST(LogCauses, AnUnreadableFileSaysSoWhereTheSystemRefusesIt)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser reads every file";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    ASSERT_TRUE(tenlog::platform::writeFileAtomically(path, kGood));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0), 0);
    ContestLog log(path);
    const auto error = log.reload();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(*error, QStringLiteral("log.txt cannot be read (Permission denied)"));
    EXPECT_FALSE(log.lastLoadFailedOnContents());
}
