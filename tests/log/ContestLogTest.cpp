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
    EXPECT_TRUE(log.backupTo(dir.filePath(QStringLiteral("BACKUP")), now).isEmpty()) << "nothing changed";
    log.appendContact({QStringLiteral("W1AW"), QStringLiteral("599"), QStringLiteral("CT"), QStringLiteral("599"),
                       QStringLiteral("USA"), QStringLiteral("2013/12/14"), QStringLiteral("14:06:00"),
                       QStringLiteral("CW"), QString()});
    EXPECT_EQ(log.backupTo(dir.filePath(QStringLiteral("BACKUP")), now),
              dir.filePath(QStringLiteral("BACKUP/201312150807.log")));
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
