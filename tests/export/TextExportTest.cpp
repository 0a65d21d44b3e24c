// LogExp.txt for the general logger (its sixteen values per contact, quoted
// and empty values, the US-only exchange) and the clipboard text of the
// contact list (heading line, oldest first).
#include "export/TextExport.h"

#include "QtPrinters.h"
#include "text/QuotedValues.h"

#include <gtest/gtest.h>

using namespace tenlog::exports;
using tenlog::log::QsoRecord;
using tenlog::text::QuotedValue;

namespace {

QsoRecord rec(const char* call, const char* country, const char* sec, const char* mode = "CW")
{
    return {QString::fromLatin1(call), QStringLiteral("579"), QString::fromLatin1(sec), QStringLiteral("599"),
            QString::fromLatin1(country), QStringLiteral("2013/12/14"), QStringLiteral("14:05:33"),
            QString::fromLatin1(mode), QStringLiteral("28.025")};
}

} // namespace

TEST(TessaryExport, SixteenValuesPerContact)
{
    const QList<QsoRecord> log{rec("K1ABC", "USA", "MD"), rec("VE3XYZ", "Canada", "ON", "PH")};
    const auto data = tessaryExportData(log);
    ASSERT_TRUE(data);
    EXPECT_EQ(*data,
              QByteArray("\"K1ABC\",\"2013/12/14\",\"10\",\"CW\",,\"14:05:33\",\"599\",\"579\",,\"USA\",\"MD\",,,,,"
                         "\"ARRL 10 Meter Contest  - Section/Serial = MD\"\r\n"
                         "\"VE3XYZ\",\"2013/12/14\",\"10\",\"SSB\",,\"14:05:33\",\"599\",\"579\",,\"Canada\",\"\",,,,,"
                         "\"ARRL 10 Meter Contest  - Section/Serial = ON\"\r\n"));

    // Read back, the empty columns are values that were never assigned and
    // every line holds sixteen values.
    const QList<QuotedValue> values = tenlog::text::QuotedValueReader::readAll(*data);
    ASSERT_EQ(values.size(), 32);
    for (int line = 0; line < 2; ++line) {
        for (int f = 0; f < 16; ++f) {
            const bool empty = f == 4 || f == 8 || (f >= 11 && f <= 14);
            EXPECT_EQ(values[line * 16 + f].kind(), empty ? QuotedValue::Kind::Empty : QuotedValue::Kind::Text)
                << "field " << f + 1;
        }
        EXPECT_TRUE(values[line * 16 + 15].endsLine());
    }
}

TEST(TessaryExport, ModeAndTheUsOnlyExchange)
{
    const struct {
        const char* country;
        const char* exchange;
        const char* mode;
        const char* field4;
        const char* field11;
    } rows[] = {
        {"USA", "CT", "CW", "CW", "CT"},       {"usa", "R2", "cw", "CW", "R2"},
        {"Alaska", "AK", "PH", "SSB", "AK"},   {"HAWAII", "HI", "ph", "SSB", "HI"},
        {"Canada", "ON", "CW", "CW", ""},      {"Japan", "0042", "", "SSB", ""},
        {"", "", "SSB", "SSB", ""},
    };
    for (const auto& row : rows) {
        const auto data = tessaryExportData({rec("K1ABC", row.country, row.exchange, row.mode)});
        ASSERT_TRUE(data);
        const QList<QuotedValue> v = tenlog::text::QuotedValueReader::readAll(*data);
        ASSERT_EQ(v.size(), 16);
        EXPECT_EQ(v[3].raw(), QString::fromLatin1(row.field4)) << row.mode;
        EXPECT_EQ(v[10].kind(), QuotedValue::Kind::Text) << "written as two double quotes when empty";
        EXPECT_EQ(v[10].raw(), QString::fromLatin1(row.field11)) << row.country;
        EXPECT_EQ(v[15].raw(), QStringLiteral("ARRL 10 Meter Contest  - Section/Serial = ")
                                   + QString::fromLatin1(row.exchange));
    }

    // Dates and times go out as stored, post-contest and edited ones too.
    QsoRecord edited = rec("K1ABC", "USA", "CT");
    edited.QsoDate = QStringLiteral("12/14/2013");
    edited.QsoTime = QStringLiteral("9:05");
    const QList<QuotedValue> v = tenlog::text::QuotedValueReader::readAll(*tessaryExportData({edited}));
    EXPECT_EQ(v[1].raw(), QStringLiteral("12/14/2013"));
    EXPECT_EQ(v[5].raw(), QStringLiteral("9:05"));
}

TEST(TessaryExport, EmptyLogAndUnwritableRecords)
{
    const auto empty = tessaryExportData({});
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->isEmpty());

    // A double quote would end the value early; the export refuses rather than write a broken file.
    QString error;
    const QList<QsoRecord> log{rec("K1ABC", "USA", "CT"), rec("W1\"X", "USA", "CT")};
    EXPECT_FALSE(tessaryExportData(log, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("Contact 2"))) << error.toStdString();
}

TEST(ClipboardText, HeadingLineThenOldestFirst)
{
    const QStringList headings{QStringLiteral("Rec#"), QStringLiteral("Call"), QStringLiteral("Country")};
    // As the list shows them: newest first.
    const QList<QStringList> rows{
        {QStringLiteral("3"), QStringLiteral("N2XX"), QStringLiteral("USA")},
        {QStringLiteral("2"), QStringLiteral("VE3XYZ"), QStringLiteral("Canada")},
        {QStringLiteral("1"), QStringLiteral("K1ABC"), QString()},
    };
    EXPECT_EQ(clipboardText(headings, rows), QStringLiteral("Rec#\tCall\tCountry\r\n"
                                                            "1\tK1ABC\t\r\n"
                                                            "2\tVE3XYZ\tCanada\r\n"
                                                            "3\tN2XX\tUSA\r\n"));
    EXPECT_EQ(clipboardText(headings, {}), QStringLiteral("Rec#\tCall\tCountry\r\n"))
        << "an empty list copies the heading line only";
}
