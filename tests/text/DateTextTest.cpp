// Tests for date and time text: the display patterns and the readers for typed
// dates and times.
#include "text/DateText.h"

#include <gtest/gtest.h>

using namespace tenlog::text;

namespace {

const QDateTime contestMoment(QDate(2013, 12, 14), QTime(14, 5, 33));

} // namespace

TEST(DateText, FormatsDisplayPatterns)
{
    EXPECT_EQ(formatDateTime(contestMoment, QStringLiteral("hh:nn")), QStringLiteral("14:05"));
    EXPECT_EQ(formatDateTime(contestMoment, QStringLiteral("hh:nn:ss")), QStringLiteral("14:05:33"));
    EXPECT_EQ(formatDateTime(contestMoment, QStringLiteral("yyyy/mm/dd")), QStringLiteral("2013/12/14"));
    EXPECT_EQ(formatDateTime(contestMoment, QStringLiteral("YYYY/MM/DD")), QStringLiteral("2013/12/14"));
    EXPECT_EQ(formatDateTime(contestMoment, QStringLiteral("MM/DD")), QStringLiteral("12/14"));
    EXPECT_EQ(formatDateTime(contestMoment, QStringLiteral("yyyymmddhhnn")), QStringLiteral("201312141405"));
    EXPECT_EQ(formatDateTime(QDate(2014, 1, 2), QTime(3, 4, 5), QStringLiteral("yyyy/mm/dd hh:nn:ss")),
              QStringLiteral("2014/01/02 03:04:05"));
    EXPECT_EQ(formatDateTime(QDate(2014, 1, 2), QTime(3, 4, 5), QStringLiteral("m/d/yy h:n:s")),
              QStringLiteral("1/2/14 3:4:5"));
}

TEST(DateText, MmAfterAnHourMeansMinutes)
{
    EXPECT_EQ(formatDateTime(contestMoment, QStringLiteral("hh:mm")), QStringLiteral("14:05"));
    EXPECT_EQ(formatDateTime(contestMoment, QStringLiteral("hh:mm:ss")), QStringLiteral("14:05:33"));
    EXPECT_EQ(formatDateTime(contestMoment, QStringLiteral("mm/dd hh:mm")), QStringLiteral("12/14 14:05"));
}

TEST(DateText, TwelveHourClock)
{
    const QString pattern = QStringLiteral("h:nn:ss AMPM");
    EXPECT_EQ(formatTime(QTime(0, 5), pattern), QStringLiteral("12:05:00 AM"));
    EXPECT_EQ(formatTime(QTime(11, 59, 59), pattern), QStringLiteral("11:59:59 AM"));
    EXPECT_EQ(formatTime(QTime(12, 0), pattern), QStringLiteral("12:00:00 PM"));
    EXPECT_EQ(formatTime(QTime(13, 0), pattern), QStringLiteral("1:00:00 PM"));
    EXPECT_EQ(formatTime(QTime(23, 7, 1), QStringLiteral("hh:nn AM/PM")), QStringLiteral("11:07 PM"));
}

TEST(DateText, InvalidPartsGiveEmptyText)
{
    EXPECT_EQ(formatDate(QDate(), QStringLiteral("yyyy/mm/dd")), QString());
    EXPECT_EQ(formatDateTime(QDate(), QTime(1, 2), QStringLiteral("hh:nn")), QStringLiteral("01:02"));
    EXPECT_EQ(formatTime(QTime(), QStringLiteral("hh:nn")), QString());
}

TEST(DateText, ParsesDates)
{
    EXPECT_EQ(parseDate(QStringLiteral("2013/12/14")), QDate(2013, 12, 14));
    EXPECT_EQ(parseDate(QStringLiteral("2013/1/5")), QDate(2013, 1, 5));
    EXPECT_EQ(parseDate(QStringLiteral("2013-12-14")), QDate(2013, 12, 14));
    EXPECT_EQ(parseDate(QStringLiteral("12/14/2013")), QDate(2013, 12, 14));
    EXPECT_EQ(parseDate(QStringLiteral(" 2012/02/29 ")), QDate(2012, 2, 29));
}

TEST(DateText, RejectsBadDates)
{
    for (const char* text : {"2013/13/45", "2013/02/30", "2013/02/29", "", "   ", "garbage", "2013/12/14x",
                             "2013/12/14 10:00", "13/12/14", "2013/12-14", "2013/123/1", "12/14/13", "0000/01/01",
                             "2013//14"})
        EXPECT_FALSE(isValidDate(QString::fromLatin1(text))) << text;
}

TEST(DateText, ParsesTimes)
{
    EXPECT_EQ(parseTime(QStringLiteral("9:05")), QTime(9, 5));
    EXPECT_EQ(parseTime(QStringLiteral("09:05")), QTime(9, 5));
    EXPECT_EQ(parseTime(QStringLiteral("23:59:59")), QTime(23, 59, 59));
    EXPECT_EQ(parseTime(QStringLiteral("0:00")), QTime(0, 0));
    EXPECT_EQ(parseTime(QStringLiteral("12:05:00 AM")), QTime(0, 5));
    EXPECT_EQ(parseTime(QStringLiteral("12:00 pm")), QTime(12, 0));
    EXPECT_EQ(parseTime(QStringLiteral("1:00:00 PM")), QTime(13, 0));
    EXPECT_EQ(parseTime(QStringLiteral("11:30PM")), QTime(23, 30));
}

TEST(DateText, RejectsBadTimes)
{
    for (const char* text : {"24:00", "99:99", "12:60", "23:59:60", "", "9", "9:5", "9:05:1", "123:00", "0:00 AM",
                             "13:00 PM", "9:05 XM", "9:05:00:00", "9.05", "-1:00"})
        EXPECT_FALSE(isValidTime(QString::fromLatin1(text))) << text;
}

TEST(DateText, FormattedTextParsesBack)
{
    // Every day of a leap year, and every minute of a day with varying seconds.
    for (QDate date(2012, 1, 1); date.year() == 2012; date = date.addDays(1))
        ASSERT_EQ(parseDate(formatDate(date, QStringLiteral("yyyy/mm/dd"))), date);
    for (int minute = 0; minute < 24 * 60; ++minute) {
        const QTime time(minute / 60, minute % 60, minute % 60 == 0 ? 59 : minute % 60);
        ASSERT_EQ(parseTime(formatTime(time, QStringLiteral("hh:nn:ss"))), time);
        ASSERT_EQ(parseTime(formatTime(time, QStringLiteral("h:nn:ss AMPM"))), time);
        ASSERT_EQ(parseTime(formatTime(time, QStringLiteral("hh:mm"))), QTime(time.hour(), time.minute()));
    }
}
