// The log file: exact lines, the field-stream reader, the load counters, and
// durability when the process dies or the disk fails in the middle of a write.
#include "log/ContactLog.h"
#include "log/MultTable.h"

#include "platform/DurableFile.h"

#include "../platform/FailingFileCalls.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace tenlog::log;
using tenlog::testing::FailingFileCalls;

namespace {

QsoRecord rec(const char* call, const char* sec, const char* country, const char* mode = "CW",
              const char* freq = "28.025")
{
    return {QString::fromLatin1(call), QStringLiteral("599"), QString::fromLatin1(sec), QStringLiteral("599"),
            QString::fromLatin1(country), QStringLiteral("2013/12/14"), QStringLiteral("14:05:33"),
            QString::fromLatin1(mode), QString::fromLatin1(freq)};
}

} // namespace

TEST(LogFile, LineFormatIsExactAndRefusesQuotes)
{
    EXPECT_EQ(*recordLine(rec("K1ABC", "CT", "USA")),
              QByteArray("\"K1ABC\",\"599\",\"CT\",\"599\",\"USA\",\"2013/12/14\",\"14:05:33\",\"CW\",\"28.025\"\r\n"));
    EXPECT_EQ(*recordLine(rec("K1ABC", "CT", "USA", "PH", "")),
              QByteArray("\"K1ABC\",\"599\",\"CT\",\"599\",\"USA\",\"2013/12/14\",\"14:05:33\",\"PH\",\"\"\r\n"));
    EXPECT_FALSE(recordLine(rec("K1\"ABC", "CT", "USA")).has_value());
}

TEST(LogFile, AppendedAndRewrittenFilesAreIdentical)
{
    QTemporaryDir dir;
    const LogFile appended(dir.filePath(QStringLiteral("a.txt")));
    const LogFile rewritten(dir.filePath(QStringLiteral("b.txt")));
    QList<QsoRecord> records{rec("K1ABC", "CT", "USA"), rec("JA1XYZ", "001", "Japan", "PH", ""),
                             rec("XE1\xC9", "JAL", "Mexico")}; // a byte above 127 survives
    for (const auto& r : records)
        ASSERT_TRUE(appended.append(r));
    ASSERT_TRUE(rewritten.rewrite(records));
    QByteArray a, b;
    tenlog::platform::readWholeFile(appended.path(), &a);
    tenlog::platform::readWholeFile(rewritten.path(), &b);
    EXPECT_EQ(a, b);
    const LogParse back = appended.load();
    EXPECT_TRUE(back.error.isEmpty());
    EXPECT_EQ(back.records, records);
}

TEST(LogFile, DamagedFilesAreErrors)
{
    EXPECT_TRUE(parseLog(QByteArray()).error.isEmpty());
    EXPECT_TRUE(parseLog(QByteArray()).records.isEmpty());
    // A missing field shifts the rest, and the last record runs out of values.
    EXPECT_FALSE(parseLog("\"K1ABC\",\"599\",\"CT\",\"599\",\"USA\",\"2013/12/14\",\"14:05:33\",\"CW\"\r\n")
                     .error.isEmpty());
    // A quote left open swallows the line ends after it.
    const QByteArray good = *recordLine(rec("K1ABC", "CT", "USA"));
    EXPECT_FALSE(parseLog(good + "\"K1ABC\",\"599\",\"CT\r\n" + good).error.isEmpty());

    QByteArray full;
    for (int i = 0; i < kLogCapacity; ++i)
        full += good;
    EXPECT_TRUE(parseLog(full).error.isEmpty());
    EXPECT_EQ(parseLog(full).records.size(), kLogCapacity);
    EXPECT_FALSE(parseLog(full + good).error.isEmpty());

    QTemporaryDir dir;
    EXPECT_FALSE(LogFile(dir.filePath(QStringLiteral("none.txt"))).load().error.isEmpty());
}

TEST(LogTally, CountsMultipliersDxAndSlashNt)
{
    const QList<QsoRecord> records{
        rec("K1ABC", "CT", "USA"),          rec("W1XYZ", "ct", "USA"),
        rec("K1ABC", "CT", "USA", "PH"),    rec("KL7AA", "AK", "Alaska"),
        rec("JA1XYZ", "001", "Japan"),      rec("JA2XYZ", "002", "Japan"),
        rec("JA3XYZ", "003", "Japan", "PH"), rec("G3ABC", "R2", "England"),
        rec("DL1ABC", "5", "Fed. Rep. of Germany", "RY"),
        rec("K2ABC/t", "NY", "USA"),         rec("K3ABC/N", "PA", "USA", "PH"),
        rec("EA1ABC", "7", "Spain"),
    };
    const LogTally t = tallyLog(records);
    EXPECT_EQ(t.cwMultHits[1], 2); // CT twice on CW, case ignored
    EXPECT_EQ(t.phMultHits[1], 1);
    EXPECT_EQ(t.cwMultHits[37], 1); // Alaska's AK
    EXPECT_EQ(t.cwMultsWorked, 4);  // CT, AK, R2, NY
    EXPECT_EQ(t.phMultsWorked, 2);  // CT, PA
    EXPECT_EQ(t.cwDxCountries, (QStringList{QStringLiteral("Japan"), QStringLiteral("Spain")}));
    EXPECT_EQ(t.phDxCountries, QStringList{QStringLiteral("Japan")});
    EXPECT_EQ(t.cwNtCount, 1); // /t on CW counts, /N on phone does not
    EXPECT_TRUE(t.error.isEmpty());

    QList<QsoRecord> many;
    for (int i = 0; i <= kDxListCapacity; ++i)
        many.append(rec("X1X", "1", QByteArray("Land" + QByteArray::number(i)).constData()));
    EXPECT_FALSE(tallyLog(many).error.isEmpty());
}

TEST(MultTable, TableAndSectionCheck)
{
    EXPECT_STREQ(multEntry(1).Abbrev, "CT");
    EXPECT_STREQ(multEntry(68).Abbrev, "NU");
    EXPECT_STREQ(multEntry(68).heading, "Can");
    EXPECT_STREQ(multEntry(64).Name, "Prince Edward");
    EXPECT_STREQ(multEntry(100).Abbrev, "ZAC");
    for (const char* ok : {"CT", "ct", "NWT", "QUI", "R2", "001", "5NN", "-3"})
        EXPECT_EQ(checkExchange(QString::fromLatin1(ok)), SectionCheck::Valid) << ok;
    for (const char* bad : {"CTX", "NT", "PEI"})
        EXPECT_EQ(checkExchange(QString::fromLatin1(bad)), SectionCheck::Invalid) << bad;
    EXPECT_EQ(checkExchange(QString()), SectionCheck::NotChecked);
    EXPECT_TRUE(isDxContact(QStringLiteral("Japan"), QStringLiteral("001")));
    EXPECT_FALSE(isDxContact(QStringLiteral("Japan"), QStringLiteral("R3")));
    EXPECT_FALSE(isDxContact(QStringLiteral("hawaii"), QStringLiteral("HI")));
    EXPECT_FALSE(isDxContact(QStringLiteral("Not Found"), QStringLiteral("1")));
}

// A child process logs and rewrites as fast as it can and reports each
// finished write through a pipe; it is killed at random moments. Whatever
// moment it dies, the log must load and hold every record whose write had
// finished.
TEST(LogFile, SurvivesBeingKilledAtAnyMoment)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    std::mt19937 random(20131214);
    for (int round = 0; round < 12; ++round) {
        ASSERT_TRUE(LogFile(path).truncate());
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(fds[0]);
            const LogFile log(path);
            QList<QsoRecord> records;
            for (int i = 1;; ++i) {
                const QsoRecord r = rec(QByteArray("K" + QByteArray::number(i) + "AB").constData(), "CT", "USA");
                records.append(r);
                const bool ok = (i % 7 == 0) ? log.rewrite(records) : log.append(r);
                if (!ok)
                    ::_exit(3);
                const int32_t done = i;
                if (::write(fds[1], &done, sizeof done) != sizeof done)
                    ::_exit(4);
            }
        }
        ::close(fds[1]);
        ::usleep(std::uniform_int_distribution<int>(2000, 60000)(random));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        int32_t completed = 0, value = 0;
        while (::read(fds[0], &value, sizeof value) == sizeof value)
            completed = value;
        ::close(fds[0]);

        const LogParse loaded = LogFile(path).load();
        ASSERT_TRUE(loaded.error.isEmpty()) << "round " << round << ": " << loaded.error.toStdString();
        // The write in flight may or may not have landed; nothing finished may be missing.
        ASSERT_GE(loaded.records.size(), completed) << "round " << round;
        ASSERT_LE(loaded.records.size(), completed + 1) << "round " << round;
        for (int i = 0; i < loaded.records.size(); ++i)
            ASSERT_EQ(loaded.records[i].Call, QStringLiteral("K%1AB").arg(i + 1));
        // The killed rewrite may leave its temporary file; the start-up
        // clean-up removes it and only it.
        tenlog::platform::removeStaleTemporaryFiles(dir.path());
        ASSERT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("log.txt")})
            << "round " << round;
    }
}

// A failed append is cut back out, so the log holds only confirmed records:
// the next contact is not glued to a fragment, and logging the same contact
// again stores it once.
TEST(LogFile, FailedAppendLeavesOnlyConfirmedRecords)
{
    struct Case {
        const char* what;
        long long bytesLeft;
        int failingSync;
    };
    for (const Case& c : {Case{"disk fills mid-record", 20, 0}, Case{"sync fails", -1, 1}}) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        FailingFileCalls calls;
        const LogFile log(dir.filePath(QStringLiteral("log.txt")), calls);
        const QsoRecord first = rec("K1ABC", "CT", "USA"), second = rec("W6XYZ", "SCV", "USA");
        ASSERT_TRUE(log.append(first));
        calls.syncCalls = 0;
        calls.bytesLeft = c.bytesLeft;
        calls.failingSync = c.failingSync;
        QString error;
        EXPECT_FALSE(log.append(second, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(log.mayEndWithPartialRecord());
        EXPECT_EQ(log.load().records, QList<QsoRecord>{first});

        calls.bytesLeft = -1;
        calls.failingSync = 0;
        ASSERT_TRUE(log.append(second));
        const LogParse loaded = log.load();
        EXPECT_TRUE(loaded.error.isEmpty()) << loaded.error.toStdString();
        EXPECT_EQ(loaded.records, (QList<QsoRecord>{first, second}));
    }
}

// When not even the cut-back works, the file may end with a fragment; more
// appends would bury it mid-log, so they are refused until a whole-file
// write puts the log right.
TEST(LogFile, AppendsAreRefusedWhileTheFileMayEndWithAPartialRecord)
{
    QTemporaryDir dir;
    FailingFileCalls calls;
    const LogFile log(dir.filePath(QStringLiteral("log.txt")), calls);
    const QsoRecord first = rec("K1ABC", "CT", "USA"), second = rec("W6XYZ", "SCV", "USA");
    ASSERT_TRUE(log.append(first));
    calls.bytesLeft = 20;
    calls.truncateFails = true;
    QString error;
    EXPECT_FALSE(log.append(second, &error));
    EXPECT_TRUE(log.mayEndWithPartialRecord());
    EXPECT_TRUE(error.contains(QLatin1String("partial record"))) << error.toStdString();
    const qint64 damagedSize = QFileInfo(log.path()).size();
    EXPECT_EQ(damagedSize, recordLine(first)->size() + 20);

    // The disk is fine again, but the fragment is still there.
    calls.bytesLeft = -1;
    calls.truncateFails = false;
    EXPECT_FALSE(log.append(second, &error));
    EXPECT_TRUE(error.contains(QLatin1String("log.txt may end with a partial record"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QLatin1String("Check"))) << error.toStdString();
    EXPECT_EQ(QFileInfo(log.path()).size(), damagedSize);

    ASSERT_TRUE(log.rewrite({first}));
    EXPECT_FALSE(log.mayEndWithPartialRecord());
    ASSERT_TRUE(log.append(second));
    EXPECT_EQ(log.load().records, (QList<QsoRecord>{first, second}));
}

// An editor that drops the final line end must not cost the log: the next
// record goes on a line of its own and the file still loads.
TEST(LogFile, RecordAfterALastLineWithoutLineEndStartsItsOwnLine)
{
    QTemporaryDir dir;
    const LogFile log(dir.filePath(QStringLiteral("log.txt")));
    const QsoRecord first = rec("K1ABC", "CT", "USA"), second = rec("W6XYZ", "SCV", "USA");
    ASSERT_TRUE(tenlog::platform::writeFileAtomically(log.path(), recordLine(first)->chopped(2)));
    ASSERT_TRUE(log.append(second));
    const LogParse loaded = log.load();
    EXPECT_TRUE(loaded.error.isEmpty()) << loaded.error.toStdString();
    EXPECT_EQ(loaded.records, (QList<QsoRecord>{first, second}));
}

TEST(ContactLog, ARefusedRecordNamesItsField)
{
    QsoRecord r{QStringLiteral("K1ABC"), QStringLiteral("599"), QStringLiteral("CT"), QStringLiteral("599"),
                QString::fromUtf8("Russia \u0416"), QStringLiteral("2013/12/14"), QStringLiteral("14:05:33"),
                QStringLiteral("CW"), QString()};
    EXPECT_FALSE(recordLine(r).has_value());
    EXPECT_TRUE(unstorableFieldMessage(r).startsWith(QStringLiteral("the country"))) << unstorableFieldMessage(r).toStdString();
    r.Country = QStringLiteral("Russia");
    r.Call = QStringLiteral("K1\"A");
    EXPECT_TRUE(unstorableFieldMessage(r).startsWith(QStringLiteral("the call")));
}
