// The edit dialog's rules without the dialog: key rules per box, the checks
// on leaving a box, and "Done"'s checks in their order, including the
// duplicate scan, the section test that differs from the entry line's, and
// the empty section.
#include "log/EditRules.h"
#include "log/MultTable.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace tenlog::log;

namespace {

QsoRecord rec(const char* call, const char* mode, const char* sec = "CT")
{
    return {QString::fromLatin1(call), QStringLiteral("599"), QString::fromLatin1(sec), QStringLiteral("599"),
            QStringLiteral("USA"), QStringLiteral("2013/12/14"), QStringLiteral("14:05:33"),
            QString::fromLatin1(mode), QStringLiteral("28.025")};
}

// Records 1..6: K1ABC is record 2 on CW and record 4 on phone.
QList<QsoRecord> sixRecords()
{
    return {rec("W1AW", "CW"), rec("K1ABC", "CW"), rec("N2XX", "CW"),
            rec("K1ABC", "PH"), rec("VE3ZZ", "CW", "ON"), rec("JA1AA", "CW", "001")};
}

const EditBox kCapitalBoxes[] = {EditBox::Call, EditBox::RstSnt, EditBox::RstRcvd, EditBox::Section,
                                 EditBox::Mode};
const EditBox kAllBoxes[] = {EditBox::Call,    EditBox::RstSnt, EditBox::Country, EditBox::RstRcvd,
                             EditBox::Section, EditBox::Date,   EditBox::Time,    EditBox::Mode};

} // namespace

TEST(EditKeys, EnterRunsDoneAndBackspaceEditsInEveryBox)
{
    for (EditBox box : kAllBoxes) {
        EXPECT_EQ(editKeyPress(box, QChar(kKeyEnter)).action, EditKeyAction::Done) << int(box);
        EXPECT_EQ(editKeyPress(box, QChar(kKeyBackspace)).action, EditKeyAction::Pass) << int(box);
        EXPECT_EQ(editKeyPress(box, QLatin1Char('"')).action, EditKeyAction::Drop) << int(box);
    }
}

TEST(EditKeys, TextBoxesTypeCapitals)
{
    for (EditBox box : kCapitalBoxes) {
        const EditKey lower = editKeyPress(box, QLatin1Char('k'));
        EXPECT_EQ(lower.action, EditKeyAction::Insert);
        EXPECT_EQ(lower.key, QLatin1Char('K'));
        EXPECT_EQ(editKeyPress(box, QLatin1Char('/')).key, QLatin1Char('/'));
        EXPECT_EQ(editKeyPress(box, QLatin1Char('7')).key, QLatin1Char('7'));
        // Only a..z change: a Latin-1 small letter is typed as it is.
        EXPECT_EQ(editKeyPress(box, QChar(0xE9)).key, QChar(0xE9));
    }
}

TEST(EditKeys, CountryCompletesWithTheKeyAsTyped)
{
    const EditKey small = editKeyPress(EditBox::Country, QLatin1Char('c'));
    EXPECT_EQ(small.action, EditKeyAction::Complete);
    EXPECT_EQ(small.key, QLatin1Char('c'));
    EXPECT_EQ(editKeyPress(EditBox::Country, QLatin1Char(' ')).action, EditKeyAction::Complete);
}

TEST(EditKeys, DateTakesSlashAndDigitsTimeTakesDigitsAndColon)
{
    // Codes 46 to 59 around both ranges, then keys well outside them.
    for (char16_t code = 40; code <= 70; ++code) {
        const bool dateOk = code >= 47 && code <= 57;
        const bool timeOk = code >= 48 && code <= 58;
        const EditKey date = editKeyPress(EditBox::Date, QChar(code));
        const EditKey time = editKeyPress(EditBox::Time, QChar(code));
        EXPECT_EQ(date.action, dateOk ? EditKeyAction::Insert : EditKeyAction::Drop) << int(code);
        EXPECT_EQ(time.action, timeOk ? EditKeyAction::Insert : EditKeyAction::Drop) << int(code);
        if (dateOk) {
            EXPECT_EQ(date.key, QChar(code));
        }
    }
    EXPECT_EQ(editKeyPress(EditBox::Date, QLatin1Char('a')).action, EditKeyAction::Drop);
    EXPECT_EQ(editKeyPress(EditBox::Time, QLatin1Char('p')).action, EditKeyAction::Drop);
    EXPECT_EQ(editKeyPress(EditBox::Time, QLatin1Char(' ')).action, EditKeyAction::Drop);
}

TEST(EditStorable, OnlyWhatLogTxtCanHoldMayStandInABox)
{
    EXPECT_TRUE(isStorableText(QStringLiteral("K1ABC/7 , 28.025")));
    EXPECT_TRUE(isStorableText(QString()));
    EXPECT_TRUE(isStorableText(QString(QChar(0xC4)))); // one byte above 127
    EXPECT_FALSE(isStorableText(QStringLiteral("A\"B")));
    EXPECT_FALSE(isStorableText(QString(QChar(0x20AC)))); // beyond one byte
    EXPECT_FALSE(isStorableText(QStringLiteral("K1\r\nABC")));
    EXPECT_FALSE(isStorableText(QStringLiteral("K1\tABC")));
    // Whatever passes writes a line that reads back as the same record.
    QsoRecord r = rec("XE1\xC9", "CW");
    r.Country = QStringLiteral("A, B");
    ASSERT_TRUE(isStorableText(r.Call) && isStorableText(r.Country));
    const LogParse back = parseLog(*recordLine(r));
    ASSERT_EQ(back.records.size(), 1);
    EXPECT_EQ(back.records.front(), r);
}

TEST(EditLeaving, DateAndTimeMustReadBack)
{
    for (const char* ok : {"2013/12/14", "12/14/2013", "2013/1/5", "2012/02/29"}) {
        const LeaveCheck c = checkOnLeaving(EditBox::Date, QString::fromLatin1(ok));
        EXPECT_FALSE(c.stay) << ok;
        EXPECT_FALSE(c.message.has_value()) << ok;
    }
    for (const char* bad : {"", "2013/13/01", "2013/02/29", "20131214", "2013/12/", "14/12/2013"}) {
        const LeaveCheck c = checkOnLeaving(EditBox::Date, QString::fromLatin1(bad));
        EXPECT_TRUE(c.stay) << bad;
        ASSERT_TRUE(c.message.has_value()) << bad;
        EXPECT_EQ(c.message->title, QStringLiteral("Invalid Date Format!"));
        EXPECT_EQ(c.message->text, QStringLiteral("You have entered an invalid date format!"));
        EXPECT_FALSE(c.showModeInvalid.has_value());
    }
    for (const char* ok : {"14:05:33", "14:05", "00:00:00", "9:05"}) {
        EXPECT_FALSE(checkOnLeaving(EditBox::Time, QString::fromLatin1(ok)).stay) << ok;
    }
    for (const char* bad : {"", "24:00:00", "14:60", "1405", "14:5", ":::"}) {
        const LeaveCheck c = checkOnLeaving(EditBox::Time, QString::fromLatin1(bad));
        EXPECT_TRUE(c.stay) << bad;
        ASSERT_TRUE(c.message.has_value()) << bad;
        EXPECT_EQ(c.message->title, QStringLiteral("Invalid Time Format!"));
        EXPECT_EQ(c.message->text, QStringLiteral("You have entered an invalid time format!"));
    }
}

TEST(EditLeaving, ModeIsExactlyCwOrPhAndTheOtherBoxesAreFree)
{
    for (const char* ok : {"CW", "PH"}) {
        const LeaveCheck c = checkOnLeaving(EditBox::Mode, QString::fromLatin1(ok));
        EXPECT_FALSE(c.stay) << ok;
        EXPECT_EQ(c.showModeInvalid, std::optional<bool>(false)) << ok;
    }
    for (const char* bad : {"SSB", "cw", "Ph", "", "CW "}) {
        const LeaveCheck c = checkOnLeaving(EditBox::Mode, QString::fromLatin1(bad));
        EXPECT_TRUE(c.stay) << bad;
        EXPECT_EQ(c.showModeInvalid, std::optional<bool>(true)) << bad;
        EXPECT_FALSE(c.message.has_value()) << bad; // a beep and the label, no message box
    }
    for (EditBox box : {EditBox::Call, EditBox::RstSnt, EditBox::Country, EditBox::RstRcvd, EditBox::Section}) {
        const LeaveCheck c = checkOnLeaving(box, QString());
        EXPECT_FALSE(c.stay);
        EXPECT_FALSE(c.showModeInvalid.has_value());
    }
}

TEST(EditSection, BelowBOrAnExactAbbreviation)
{
    // "AX" and "A": the entry line refuses them, this dialog does not.
    for (const char* ok : {"AX", "A", "001", "5", "#1", "@", "CT", "NWT", "R1", "ZAC"}) {
        EXPECT_TRUE(isValidEditSection(QString::fromLatin1(ok))) << ok;
    }
    EXPECT_EQ(checkExchange(QStringLiteral("AX")), SectionCheck::Invalid);
    for (const char* bad : {"BX", "ct", "Ct", "CTX", "ZZ", "\xE9"}) {
        EXPECT_FALSE(isValidEditSection(QString::fromLatin1(bad))) << bad;
    }
    for (int i = 1; i <= kMultCount; ++i) {
        EXPECT_TRUE(isValidEditSection(QString::fromLatin1(multEntry(i).Abbrev))) << i;
    }
}

TEST(EditSection, AnEmptySectionIsRefusedNotStored)
{
    EXPECT_FALSE(isValidEditSection(QString()));
    QsoRecord boxes = rec("N2XX", "CW", "");
    const DoneCheck c = checkDone(sixRecords(), 3, boxes);
    EXPECT_FALSE(c.refused());
    EXPECT_FALSE(c.sectionValid);
    EXPECT_FALSE(c.store());
    EXPECT_EQ(c.beeps(), 1);
}

TEST(EditDone, TimeIsCheckedBeforeDateAndEitherStopsEverything)
{
    const QList<QsoRecord> records = sixRecords();
    // A duplicate, a bad section and a bad mode as well: none of them is looked at.
    QsoRecord boxes = rec("K1ABC", "CW", "BX");
    boxes.QsoTime = QStringLiteral("25:00");
    boxes.QsoDate = QStringLiteral("2013/12/32");
    DoneCheck c = checkDone(records, 5, boxes);
    ASSERT_TRUE(c.refused());
    EXPECT_EQ(*c.refusedBox, EditBox::Time);
    EXPECT_EQ(c.message->title, QStringLiteral("Invalid Time Format!"));
    EXPECT_TRUE(c.duplicates.isEmpty());
    EXPECT_FALSE(c.store());
    EXPECT_EQ(c.beeps(), 1);

    boxes.QsoTime = QStringLiteral("14:05");
    c = checkDone(records, 5, boxes);
    ASSERT_TRUE(c.refused());
    EXPECT_EQ(*c.refusedBox, EditBox::Date);
    EXPECT_EQ(c.message->text, QStringLiteral("You have entered an invalid date format!"));
    EXPECT_EQ(c.beeps(), 1);

    boxes.QsoDate = QStringLiteral("12/14/2013");
    c = checkDone(records, 5, boxes);
    EXPECT_FALSE(c.refused());
    EXPECT_EQ(c.duplicates, QList<int>{2});
    EXPECT_FALSE(c.sectionValid);
    EXPECT_EQ(c.beeps(), 2);
}

TEST(EditDone, DuplicatesAreOtherRecordsWithTheSameCallAndModeExactly)
{
    QList<QsoRecord> records = sixRecords();
    records.append(rec("K1ABC", "CW")); // record 7

    // Record 5 becomes K1ABC on CW: records 2 and 7, one beep each.
    DoneCheck c = checkDone(records, 5, rec("K1ABC", "CW"));
    EXPECT_EQ(c.duplicates, (QList<int>{2, 7}));
    EXPECT_EQ(c.beeps(), 2);
    EXPECT_FALSE(c.store());

    // The record being edited is never its own duplicate.
    c = checkDone(records, 2, rec("K1ABC", "CW"));
    EXPECT_EQ(c.duplicates, QList<int>{7});

    // The other mode: only record 4 is on phone.
    c = checkDone(records, 5, rec("K1ABC", "PH"));
    EXPECT_EQ(c.duplicates, QList<int>{4});
    c = checkDone(records, 4, rec("K1ABC", "PH"));
    EXPECT_TRUE(c.duplicates.isEmpty());
    EXPECT_TRUE(c.store());

    // Letter case counts in this dialog.
    c = checkDone(records, 5, rec("k1abc", "CW"));
    EXPECT_TRUE(c.duplicates.isEmpty());
    EXPECT_TRUE(c.store());
}

TEST(EditDone, AnInvalidModeIsNotStoredEvenWithoutLeavingItsBox)
{
    const DoneCheck c = checkDone(sixRecords(), 5, rec("VE3ZZ", "SSB", "ON"));
    EXPECT_FALSE(c.refused());
    EXPECT_TRUE(c.sectionValid);
    EXPECT_FALSE(c.modeValid);
    EXPECT_FALSE(c.store());
    EXPECT_EQ(c.beeps(), 1);

    const DoneCheck all = checkDone(sixRecords(), 5, rec("N2XX", "cw", "bx"));
    EXPECT_TRUE(all.duplicates.isEmpty()); // "cw" is not "CW"
    EXPECT_FALSE(all.sectionValid);
    EXPECT_FALSE(all.modeValid);
    EXPECT_EQ(all.beeps(), 2);
}

TEST(EditDone, StoresTheBoxesAsTypedAndKeepsTheFrequency)
{
    QsoRecord boxes = rec("VE3ZZ", "PH", "AX");
    boxes.QsoDate = QStringLiteral("12/14/2013");
    boxes.QsoTime = QStringLiteral("9:05");
    boxes.Freq = QStringLiteral("not a box");
    const DoneCheck c = checkDone(sixRecords(), 5, boxes);
    ASSERT_TRUE(c.store());
    EXPECT_EQ(c.beeps(), 0);

    const QsoRecord stored = editedRecord(sixRecords().at(4), boxes);
    EXPECT_EQ(stored.QsoDate, QStringLiteral("12/14/2013"));
    EXPECT_EQ(stored.QsoTime, QStringLiteral("9:05"));
    EXPECT_EQ(stored.SecSer, QStringLiteral("AX"));
    EXPECT_EQ(stored.Mode, QStringLiteral("PH"));
    EXPECT_EQ(stored.Freq, QStringLiteral("28.025"));
}
