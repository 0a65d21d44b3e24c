// The running log under many edits and deletes: the file always equals the table.
#include "log/ContestLog.h"

#include "platform/DurableFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <random>

using namespace tenlog::log;

TEST(ContestLog, ThousandEditsAndDeletesKeepFileAndTableIdentical)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    ContestLog log(path);
    EXPECT_TRUE(log.reload().has_value()) << "a missing log is an error";
    ASSERT_TRUE(tenlog::platform::writeFileAtomically(path, QByteArray()));
    ASSERT_FALSE(log.reload().has_value());
    for (int i = 0; i < 300; ++i) {
        ASSERT_FALSE(log.appendContact({QStringLiteral("K%1A").arg(i), QStringLiteral("599"), QStringLiteral("CT"),
                                        QStringLiteral("599"), QStringLiteral("USA"), QStringLiteral("2013/12/14"),
                                        QStringLiteral("14:05:33"), QStringLiteral("CW"), QStringLiteral("28.025")})
                         .has_value());
    }
    std::mt19937 random(1214);
    for (int step = 0; step < 1000; ++step) {
        QList<QsoRecord> records = log.records();
        const int at = std::uniform_int_distribution<int>(0, static_cast<int>(records.size()) - 1)(random);
        if (step % 3 == 0 && records.size() > 1)
            records.removeAt(at);
        else
            records[at].Call = QStringLiteral("E%1X").arg(step);
        ASSERT_FALSE(log.rewrite(records).has_value()) << step;
        ASSERT_EQ(log.records(), records) << step;
    }
    // The file read back record by record equals the table, byte for byte.
    QByteArray file, expected;
    ASSERT_TRUE(tenlog::platform::readWholeFile(path, &file));
    for (const QsoRecord& r : log.records())
        expected += *recordLine(r);
    EXPECT_EQ(file, expected);
    EXPECT_EQ(parseLog(file).records, log.records());
}

TEST(ContestLog, BackupOnlyWhenTheLogChanged)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    tenlog::platform::writeFileAtomically(path, "\"K1ABC\",\"599\",\"CT\",\"599\",\"USA\",\"2013/12/14\",\"14:05:33\",\"CW\",\"\"\r\n");
    ContestLog log(path);
    ASSERT_FALSE(log.reload().has_value());
    EXPECT_EQ(log.loadedCount(), 1);
    const QDateTime now(QDate(2013, 12, 15), QTime(8, 7, 59));
    EXPECT_TRUE(log.backupTo(dir.filePath(QStringLiteral("BACKUP")), now).path.isEmpty()) << "nothing changed";
    log.appendContact({QStringLiteral("W1AW"), QStringLiteral("599"), QStringLiteral("CT"), QStringLiteral("599"),
                       QStringLiteral("USA"), QStringLiteral("2013/12/14"), QStringLiteral("14:06:00"),
                       QStringLiteral("CW"), QString()});
    EXPECT_EQ(log.backupTo(dir.filePath(QStringLiteral("BACKUP")), now).path,
              dir.filePath(QStringLiteral("BACKUP/201312150807.log")));
    // The same minute again (or a clock set back): the older backup stays.
    EXPECT_EQ(log.backupTo(dir.filePath(QStringLiteral("BACKUP")), now).path,
              dir.filePath(QStringLiteral("BACKUP/201312150807-2.log")));
    EXPECT_EQ(log.backupTo(dir.filePath(QStringLiteral("BACKUP")), now).path,
              dir.filePath(QStringLiteral("BACKUP/201312150807-3.log")));
    // Before an erase the file is copied whatever the count since the load;
    // a backup folder that cannot be made is an error, not a silent skip.
    ContestLog unread(path);
    EXPECT_FALSE(unread.backupTo(dir.filePath(QStringLiteral("BACKUP")), now, false).path.isEmpty());
    tenlog::platform::writeFileAtomically(dir.filePath(QStringLiteral("blocked")), "a file, not a folder");
    const ContestLog::Backup failed = unread.backupTo(dir.filePath(QStringLiteral("blocked/BACKUP")), now, false);
    EXPECT_TRUE(failed.path.isEmpty());
    EXPECT_FALSE(failed.error.isEmpty());
}

namespace {

const QByteArray kLine1 = "\"K1ABC\",\"599\",\"CT\",\"599\",\"USA\",\"2013/12/14\",\"14:05:33\",\"CW\",\"\"\r\n";
const QByteArray kLine2 = "\"W1AW\",\"599\",\"CT\",\"599\",\"USA\",\"2013/12/14\",\"14:06:00\",\"CW\",\"\"\r\n";

} // namespace

TEST(ContestLog, ALastLineCutShortIsSetAsideAndDamageElsewhereStaysAnError)
{
    const QDateTime now(QDate(2013, 12, 15), QTime(8, 7, 59));
    struct Case {
        const char* what;
        QByteArray file;
        int records;            // -1: the load fails
        QByteArray setAside;    // the fragment moved to the side file
    };
    const Case cases[] = {
        {"cut inside a value", kLine1 + kLine2 + "\"K2Y0\",\"59", 2, "\"K2Y0\",\"59"},
        {"cut after a comma", kLine1 + "\"K2Y0\",\"599\",", 1, "\"K2Y0\",\"599\","},
        {"only a fragment", "\"K2Y", 0, "\"K2Y"},
        {"damage in the middle", kLine1 + "\"K2Y0\",\"59\r\n" + kLine2, -1, {}},
        {"a call of 65 characters", kLine1 + "\"" + QByteArray(65, 'K') + "\",\"599\",\"CT\",\"599\",\"USA\",\"2013/12/14\","
                                                                        "\"14:05:33\",\"CW\",\"\"\r\n" + kLine2, -1, {}},
        {"a NUL in a field", kLine1 + QByteArray("\"K1") + QByteArray(1, '\0')
                                 + "X\",\"599\",\"CT\",\"599\",\"USA\",\"2013/12/14\",\"14:05:33\",\"CW\",\"\"\r\n" + kLine2, -1, {}},
        {"a complete last line without its line end", kLine1 + kLine2.chopped(2), 2, {}},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("log.txt"));
        ASSERT_TRUE(tenlog::platform::writeFileAtomically(path, c.file));
        ContestLog log(path);
        const auto error = log.reload(now);
        const QString aside = path + QStringLiteral(".torn-20131215080759");
        if (c.records < 0) {
            EXPECT_TRUE(error.has_value()) << c.what;
            QByteArray unchanged;
            tenlog::platform::readWholeFile(path, &unchanged);
            EXPECT_EQ(unchanged, c.file) << c.what << ": a damaged log is left as it is";
            continue;
        }
        ASSERT_FALSE(error.has_value()) << c.what << ": " << error->toStdString();
        EXPECT_EQ(log.contactCount(), c.records) << c.what;
        QByteArray moved;
        EXPECT_EQ(tenlog::platform::readWholeFile(aside, &moved), !c.setAside.isEmpty()) << c.what;
        EXPECT_EQ(moved, c.setAside) << c.what;
        EXPECT_EQ(log.takeTornNotice().isEmpty(), c.setAside.isEmpty()) << c.what;
        EXPECT_TRUE(log.takeTornNotice().isEmpty()) << c.what << ": said once";
        // What stays in log.txt reads back as exactly the kept records.
        QByteArray kept;
        tenlog::platform::readWholeFile(path, &kept);
        EXPECT_EQ(parseLog(kept).records, log.records()) << c.what;
    }
}

TEST(ContestLog, ARewriteNeverOverwritesAFileChangedByAnotherProgram)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    tenlog::platform::writeFileAtomically(path, kLine1);
    ContestLog log(path);
    ASSERT_FALSE(log.reload().has_value());
    // A second program appends a contact this copy never saw.
    tenlog::platform::appendDurably(path, kLine2);
    const auto refused = log.rewrite({});
    ASSERT_TRUE(refused.has_value());
    EXPECT_TRUE(refused->contains(QStringLiteral("changed by another program")));
    QByteArray file;
    tenlog::platform::readWholeFile(path, &file);
    EXPECT_EQ(file, kLine1 + kLine2) << "nothing was overwritten";
    EXPECT_EQ(log.contactCount(), 2) << "the log was read again";
    EXPECT_TRUE(log.clear() == std::nullopt) << "once read again, this copy's own change goes ahead";
}

TEST(ContestLog, PartialDuplicatesStopPastOneHundredCharacters)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    QByteArray data;
    for (int i = 10; i < 50; ++i) // 40 calls of 6 characters on CW
        data += "\"K1AB" + QByteArray::number(i) + "\",\"599\",\"CT\",\"599\",\"USA\",\"2013/12/14\",\"14:05:33\",\"CW\",\"\"\r\n";
    data += "\"K1ABZZ\",\"59\",\"CT\",\"59\",\"USA\",\"2013/12/14\",\"14:05:33\",\"PH\",\"\"\r\n";
    tenlog::platform::writeFileAtomically(path, data);
    ContestLog log(path);
    ASSERT_FALSE(log.reload().has_value());
    // The first 15 in log order, shown from the 15th back to the 1st.
    QString expected;
    for (int i = 24; i >= 10; --i)
        expected += QStringLiteral("K1AB%1 ").arg(i);
    EXPECT_EQ(log.partialDupes(QStringLiteral("k1ab"), QStringLiteral("CW")), expected);
    EXPECT_EQ(log.partialDupes(QStringLiteral("K1AB"), QStringLiteral("PH")), QStringLiteral("K1ABZZ "));
    EXPECT_EQ(log.partialDupes(QStringLiteral("W"), QStringLiteral("CW")), QString());
}

namespace {

// The checks as a plain scan of the log, to hold the index to.
QString scannedPartialDupes(const QList<QsoRecord>& records, const QString& probe, const QString& mode, int cap = 100)
{
    QString list;
    for (const QsoRecord& r : records) {
        if (r.Mode.compare(mode, Qt::CaseInsensitive) != 0 || !r.Call.startsWith(probe, Qt::CaseInsensitive))
            continue;
        list.prepend(r.Call + QLatin1Char(' '));
        if (list.size() > cap)
            break;
    }
    return list;
}

int scannedDuplicate(const QList<QsoRecord>& records, const QString& call, const QString& mode)
{
    for (int i = 0; i < records.size(); ++i)
        if (records.at(i).Call.compare(call, Qt::CaseInsensitive) == 0
            && records.at(i).Mode.compare(mode, Qt::CaseInsensitive) == 0)
            return i + 1;
    return 0;
}

} // namespace

TEST(ContestLog, IndexedChecksGiveWhatAScanOfTheLogGives)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    tenlog::platform::writeFileAtomically(path, QByteArray());
    ContestLog log(path);
    ASSERT_FALSE(log.reload().has_value());
    std::mt19937 random(28025);
    const char* modes[] = {"CW", "PH", "cw"};
    const char letters[] = "KWNAB1234";
    auto randomCall = [&] {
        QString call;
        const int length = std::uniform_int_distribution<int>(1, 6)(random);
        for (int i = 0; i < length; ++i) {
            QChar c = QLatin1Char(letters[std::uniform_int_distribution<int>(0, 8)(random)]);
            call += std::uniform_int_distribution<int>(0, 3)(random) == 0 ? c.toLower() : c;
        }
        return call;
    };
    for (int step = 0; step < 600; ++step) {
        if (step % 50 == 49) { // a delete rewrites the log
            QList<QsoRecord> records = log.records();
            records.removeAt(std::uniform_int_distribution<int>(0, static_cast<int>(records.size()) - 1)(random));
            ASSERT_FALSE(log.rewrite(records).has_value());
        } else {
            QsoRecord r{randomCall(), QStringLiteral("599"), QStringLiteral("CT"), QStringLiteral("599"),
                        QStringLiteral("USA"), QStringLiteral("2013/12/14"), QStringLiteral("14:05:33"),
                        QString::fromLatin1(modes[step % 3]), QString()};
            ASSERT_FALSE(log.appendContact(r).has_value());
        }
        for (int probes = 0; probes < 5; ++probes) {
            const QString probe = randomCall().left(std::uniform_int_distribution<int>(1, 3)(random));
            const QString mode = QString::fromLatin1(modes[probes % 3]);
            ASSERT_EQ(log.partialDupes(probe, mode), scannedPartialDupes(log.records(), probe, mode)) << step;
            ASSERT_EQ(log.partialDupes(probe, mode, 10), scannedPartialDupes(log.records(), probe, mode, 10)) << step;
            const QString call = randomCall();
            ASSERT_EQ(log.findDuplicate(call, mode), scannedDuplicate(log.records(), call, mode)) << step;
        }
    }
    ASSERT_FALSE(log.reload().has_value()); // and after a fresh read
    EXPECT_EQ(log.partialDupes(QStringLiteral("k"), QStringLiteral("CW")),
              scannedPartialDupes(log.records(), QStringLiteral("k"), QStringLiteral("CW")));
}
