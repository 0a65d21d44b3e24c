// Operating time and the start-up UTC offset check.
#include "log/OperatingTime.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace tenlog::log;

namespace {

QDateTime at(int h, int m, int s, int day = 14)
{
    return QDateTime(QDate(2013, 12, day), QTime(h, m, s));
}

} // namespace

TEST(OperatingTime, TotalGrowsOnlyWhileOnAndSurvivesARestart)
{
    OperatingTime op;
    op.timeOn(at(10, 0, 0));
    EXPECT_DOUBLE_EQ(op.timeOff(at(10, 30, 0)), 1800.0);
    EXPECT_DOUBLE_EQ(op.opSeconds(at(10, 45, 0)), 1800.0) << "off: the total stands still";
    op.timeOn(at(11, 0, 0));
    EXPECT_EQ(formatOperatingTime(op.opSeconds(at(11, 0, 10))), QStringLiteral("00:30:10"));

    // A restart continues from the saved total.
    OperatingTime restarted(op.timeOff(at(11, 0, 10)));
    restarted.timeOn(at(12, 0, 0));
    EXPECT_EQ(formatOperatingTime(restarted.opSeconds(at(12, 0, 5))), QStringLiteral("00:30:15"));
    // Across midnight.
    OperatingTime night;
    night.timeOn(at(23, 59, 0));
    EXPECT_DOUBLE_EQ(night.opSeconds(at(0, 1, 0, 15)), 120.0);
}

TEST(OperatingTime, LabelShowsTheLastTwoDigitsOfEachPart)
{
    EXPECT_EQ(formatOperatingTime(0), QStringLiteral("00:00:00"));
    EXPECT_EQ(formatOperatingTime(100 * 3600.0), QStringLiteral("00:00:00"));
    EXPECT_EQ(formatOperatingTime(123 * 3600.0 + 4 * 60 + 5), QStringLiteral("23:04:05"));
    EXPECT_EQ(formatOperatingTime(47.9), QStringLiteral("00:00:47"));
}

TEST(UtcOffset, RecommendationFromTheSystemClock)
{
    // A system on UTC+1: local 13:00 is 12:00 UTC.
    EXPECT_DOUBLE_EQ(recommendedUtcOffset(at(13, 0, 0), QDateTime(QDate(2013, 12, 14), QTime(12, 0, 0), Qt::UTC)), -1.0);
    // India: UTC is 5:30 behind, so 5.5 hours are added... the other way round here.
    EXPECT_DOUBLE_EQ(recommendedUtcOffset(at(6, 30, 0), QDateTime(QDate(2013, 12, 14), QTime(12, 0, 0), Qt::UTC)), 5.5);
    // Minute boundaries, not elapsed seconds.
    EXPECT_DOUBLE_EQ(recommendedUtcOffset(at(6, 59, 59), QDateTime(QDate(2013, 12, 14), QTime(12, 0, 0), Qt::UTC)), 5.02);
    const QString prompt = utcOffsetPrompt(at(13, 0, 0), QDateTime(QDate(2013, 12, 14), QTime(12, 0, 0), Qt::UTC), 0.0f, -1.0);
    EXPECT_TRUE(prompt.startsWith(QStringLiteral("Would you like to adjust the UTC offset for your local time setting?\r\n\r\nCurrent System Time: 12:00\r\n\r\nCurrent Local Time: 13:00\r\n\r\nCurrent Offset: 0\r\n\r\nRecommended Offset: -1\r\n\r\n")));
}
