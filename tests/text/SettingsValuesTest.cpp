// Settings values taken in order, and the first fault of a settings file
// named by its line: the shared rule of the loaders of tnpref.txt,
// RigCntrl.txt, CW.txt and wave2.txt.
#include "text/SettingsValues.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace tenlog::text;

namespace {

struct Reading {
    int taken = 0;
    bool endedShort = false;
    QString damage;
};

// Takes three values as a loader does; a value "bad" is refused.
Reading readThree(const QByteArray& data)
{
    SettingsValues values(QStringLiteral("x.txt"), data, 3);
    QuotedValue value;
    while (values.taken() < 3 && values.next(value)) {
        if (value.toText() == u"bad")
            values.refuse(QStringLiteral("the value is \"bad\""));
    }
    return {values.taken(), values.endedShort(), values.damage()};
}

} // namespace

TEST(SettingsValues, NamesTheFirstFaultByLine)
{
    const struct {
        const char* what;
        QByteArray data;
        int taken;
        bool endedShort;
        const char* damage;
    } rows[] = {
        {"whole", "\"a\"\r\n1\r\n\"c\"\r\n", 3, false, ""},
        {"whole, the last line end missing", "\"a\"\r\n1\r\n\"c\"", 3, false, ""},
        {"more values than needed", "\"a\"\r\n1\r\n\"c\"\r\n\"d\"\r\n", 3, false, ""},
        {"short, ending cleanly", "\"a\"\r\n1\r\n", 2, true, ""},
        {"empty", "", 0, false, "x.txt is empty"},
        {"only line ends and blanks", "\r\n  \r\n", 0, false, "x.txt is empty"},
        {"binary", QByteArray("\"a\"\r\n\x01\x00\xff", 7), 0, false,
         "x.txt is not text: line 2 holds the byte 0x01, so the file is binary or garbled"},
        {"cut in the middle of a line", "\"a\"\r\n12", 1, false,
         "x.txt line 2: the file stops in the middle of this line, after 1 of its 3 values"},
        {"a quote cut off at the end", "\"a\"\r\n\"b", 1, false,
         "x.txt line 2: the file stops in the middle of this line, after 1 of its 3 values"},
        {"a quote open across lines", "\"a\r\n1\r\n\"c\"\r\n2\r\n3\r\n", 0, false, "x.txt line 1: a quote is not closed on this line"},
        {"a value refused", "\"a\"\r\nbad\r\n\"c\"\r\n", 1, false, "x.txt line 2: the value is \"bad\""},
        {"a value refused on a shared line", "\"a\",bad\r\n\"c\"\r\n", 1, false, "x.txt line 1: the value is \"bad\""},
    };
    for (const auto& row : rows) {
        const Reading r = readThree(row.data);
        EXPECT_EQ(r.taken, row.taken) << row.what;
        EXPECT_EQ(r.endedShort, row.endedShort) << row.what;
        EXPECT_EQ(r.damage, QString::fromLatin1(row.damage)) << row.what;
    }
}

TEST(SettingsValues, TextKeepsTabsAndBytesAboveAsciiButNotControlCharacters)
{
    EXPECT_FALSE(findNonTextByte("\"caf\xe9\"\t1\r\n\"x\"\r"));
    const auto found = findNonTextByte(QByteArray("a\rb\r\nc\nd\x7f", 9));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->line, 4) << "a lone CR, CR LF and a lone LF each end a line";
    EXPECT_EQ(found->byte, 0x7f);
}
