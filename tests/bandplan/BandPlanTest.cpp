// The band plan file as each reader takes it, and the mode chosen from it.
#include "bandplan/BandPlan.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace tenlog::bandplan;

QByteArray records(int count, const char* licenceClass)
{
    QByteArray data = "\"2012\"\r\n";
    for (int i = 0; i < count; ++i)
        data += "\"10\",\"" + QByteArray(licenceClass) + "\",\"CW\"," + QByteArray::number(28 + i * 0.001) + ",29\r\n";
    return data;
}

struct ReadCase {
    const char* what;
    QByteArray data;
    BandPlanError error;
    qsizetype chartRecords;
    qsizetype extraRecords;
};

TEST(BandPlanFile, BothReadersTakeWhatTheyKeep)
{
    const QByteArray good = "\"March 5, 2012\"\r\n"
                            "\"10\",\"O\",\"PH\",28,29.7\r\n"
                            "\"10\",\"G\",\"CW\",28,28.3\r\n"
                            "\"10\",\"E\",\"PH\",28.3,29.7\r\n";
    const ReadCase cases[] = {
        {"a good file", good, BandPlanError::None, 3, 1},
        {"only the date", "\"March 5, 2012\"\r\n", BandPlanError::None, 0, 0},
        {"an empty file", "", BandPlanError::BadRecord, 0, 0},
        {"an edge that is not a number", good + "\"6\",\"E\",\"CW\",fifty,50.1\r\n", BandPlanError::BadRecord, 3, 1},
        {"a record cut short", good + "\"6\",\"E\",\"CW\"\r\n", BandPlanError::BadRecord, 3, 1},
        {"a bad record before good ones", "\"d\"\r\n\"6\",\"E\",\"CW\",x,1\r\n" + good.mid(17),
         BandPlanError::BadRecord, 0, 0},
        {"200 records", records(200, "E"), BandPlanError::None, 200, 200},
        {"201 records", records(201, "E"), BandPlanError::TooManyRecords, 200, 200},
        {"201 records, few of them Extra", records(201, "G") + "\"10\",\"E\",\"CW\",28,29\r\n",
         BandPlanError::TooManyRecords, 200, 1},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        const BandPlan plan = readBandPlan(c.data);
        EXPECT_EQ(plan.error, c.error);
        EXPECT_EQ(plan.records.size(), c.chartRecords);
        EXPECT_EQ(extraClassRecords(c.data).size(), c.extraRecords);
    }
    const BandPlan plan = readBandPlan(good);
    EXPECT_EQ(plan.effectiveDate, QStringLiteral("March 5, 2012"));
    EXPECT_EQ(plan.records[1], (BandPlanRecord{QStringLiteral("10"), QStringLiteral("G"), QStringLiteral("CW"), 28.0f,
                                               28.3f}));
}

TEST(BandPlanFile, MissingFileAndAnyLetterCase)
{
    QTemporaryDir folder;
    EXPECT_EQ(loadBandPlan(folder.path()).error, BandPlanError::Missing);
    EXPECT_TRUE(loadExtraClassRecords(folder.path()).isEmpty());
    QFile file(folder.path() + QStringLiteral("/bandplan.TXT"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\"d\"\r\n\"40\",\"E\",\"PH\",7.125,7.3\r\n");
    file.close();
    EXPECT_EQ(loadBandPlan(folder.path()).records.size(), 1);
    EXPECT_EQ(loadExtraClassRecords(folder.path()).size(), 1);
}

TEST(BandPlanFile, ModeForAFrequency)
{
    QByteArray shipped;
    QFile file(QStringLiteral(TENLOG_DATA_DIR "/BandPlan.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<BandPlanRecord> plan = extraClassRecords(file.readAll());
    const std::pair<float, const char*> cases[] = {
        {28.475f, "USB"}, {28.025f, "CW"},   {7.2f, "LSB"},   {3.8f, "LSB"},  {5.3585f, "LSB"},
        {14.2f, "USB"},   {14.05f, "CW"},    {1.85f, ""},     {28.3f, ""},    {27.0f, ""},
        {146.52f, "USB"}, {50.05f, "CW"},    {10.12f, "CW"},  {0.0f, ""},
    };
    for (const auto& [megahertz, mode] : cases)
        EXPECT_EQ(bandPlanMode(plan, megahertz), QString::fromLatin1(mode)) << megahertz;
    // Another mode text comes back as the file has it; the first match wins.
    const QList<BandPlanRecord> own = {{"10", "E", "RTTY", 28.0f, 28.2f}, {"10", "E", "PH", 28.0f, 29.7f}};
    EXPECT_EQ(bandPlanMode(own, 28.1f), QStringLiteral("RTTY"));
}

TEST(BandPlanFile, ShippedPlanIsWholeAndInOrder)
{
    QFile file(QStringLiteral(TENLOG_DATA_DIR "/BandPlan.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const BandPlan plan = readBandPlan(file.readAll());
    ASSERT_EQ(plan.error, BandPlanError::None);
    EXPECT_FALSE(plan.effectiveDate.isEmpty());
    QStringList bands;
    const BandPlanRecord* overall = nullptr;
    for (const BandPlanRecord& record : plan.records) {
        SCOPED_TRACE((record.band + u' ' + record.licenceClass).toStdString());
        EXPECT_LT(record.lowMHz, record.highMHz);
        if (record.licenceClass == u"O") {
            overall = &record;
            bands << record.band;
            continue;
        }
        ASSERT_NE(overall, nullptr);
        EXPECT_EQ(record.band, overall->band);
        EXPECT_GE(record.lowMHz, overall->lowMHz);
        EXPECT_LE(record.highMHz, overall->highMHz);
        EXPECT_TRUE(QStringLiteral("NTPGAE").contains(record.licenceClass));
        EXPECT_TRUE(record.mode == u"CW" || record.mode == u"PH");
    }
    EXPECT_EQ(bands, QStringList({"160", "80", "60", "40", "30", "20", "17", "15", "12", "10", "6", "2", "1.25", "70",
                                  "33", "23"}));
}

} // namespace
