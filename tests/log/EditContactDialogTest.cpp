// The edit dialog driven with real key and mouse events under the offscreen
// platform: its controls, the key rules, the checks on leaving a box,
// "Done" with its checks in order, "Delete Dupe", and a stored correction
// that goes back into a real log file unchanged.
#include "log/ui/EditContactDialog.h"

#include "QtPrinters.h"
#include "ScriptedDialogs.h"
#include "geo/PrefixTable.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace tenlog::log;
using Outcome = EditContactDialog::Outcome;

namespace {

// Sorted by prefix as the real file is: "Chatham Islands" is the last name
// beginning with C, "Canada" the last beginning with Ca.
const QByteArray kPrefixes = "\"CE\",\"Chile\",\"SA\",70.67,-33.45,14,12,3\r\n"
                             "\"EA8\",\"Canary Islands\",\"AF\",15.5,28.1,33,36,0\r\n"
                             "\"VE\",\"Canada\",\"NA\",78.75,44.35,5,9,5\r\n"
                             "\"ZL7\",\"Chatham Islands\",\"OC\",176.5,-44,32,60,-12.75\r\n";

const char* const kBoxNames[] = {"txtEditCall", "txtEditNum",  "txtEditPre",  "txtEditCk",
                                 "txtEditSec",  "txtEditDate", "txtEditTime", "txtEditBnd"};

QsoRecord rec(const char* call, const char* mode, const char* sec = "CT")
{
    return {QString::fromLatin1(call), QStringLiteral("579"), QString::fromLatin1(sec), QStringLiteral("599"),
            QStringLiteral("USA"), QStringLiteral("2013/12/14"), QStringLiteral("14:05:33"),
            QString::fromLatin1(mode), QStringLiteral("28.025")};
}

class EditContactDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(prefixes.loadData(kPrefixes));
        records = {rec("W1AW", "CW"), rec("K1ABC", "CW"), rec("N2XX", "PH"), rec("K1ABC", "PH"),
                   rec("VE3ZZ", "CW", "ON"), rec("JA1AA", "CW", "001")};
        records[4].Country = QStringLiteral("Canada");
        records[4].Freq = QStringLiteral("28.400");
    }

    void open(int recordNo)
    {
        dialog = std::make_unique<EditContactDialog>(records, recordNo, prefixes, dialogs);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    QLineEdit* box(const char* name) const { return dialog->findChild<QLineEdit*>(QString::fromLatin1(name)); }
    QLabel* label(const char* name) const { return dialog->findChild<QLabel*>(QString::fromLatin1(name)); }
    QPushButton* button(const char* name) const
    {
        return dialog->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    // Empties a box, focuses it and types into it with real key events.
    void retype(const char* name, const QString& text)
    {
        box(name)->setFocus();
        box(name)->clear();
        QTest::keyClicks(box(name), text);
    }
    void enterIn(const char* name)
    {
        box(name)->setFocus();
        QTest::keyClick(box(name), Qt::Key_Return);
    }
    bool focusedOn(const char* name) const { return box(name)->hasFocus(); }

    tenlog::testing::ScriptedDialogs dialogs;
    tenlog::geo::PrefixTable prefixes;
    QList<QsoRecord> records;
    std::unique_ptr<EditContactDialog> dialog;
};

} // namespace

TEST_F(EditContactDialogTest, OpensWithTheRecordInItsEightBoxes)
{
    open(5);
    EXPECT_EQ(dialog->objectName(), QStringLiteral("frmEditCon"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Edit Contact Entry"));
    EXPECT_EQ(dialog->recordNumber(), 5);
    const QStringList expected{QStringLiteral("VE3ZZ"),      QStringLiteral("599"),        QStringLiteral("Canada"),
                               QStringLiteral("579"),        QStringLiteral("ON"),         QStringLiteral("2013/12/14"),
                               QStringLiteral("14:05:33"),   QStringLiteral("CW")};
    QStringList captions;
    for (int i = 0; i < 8; ++i) {
        ASSERT_NE(box(kBoxNames[i]), nullptr) << kBoxNames[i];
        EXPECT_EQ(box(kBoxNames[i])->text(), expected.at(i)) << kBoxNames[i];
    }
    for (const QLabel* l : dialog->findChildren<QLabel*>()) {
        if (l->buddy())
            captions << l->buddy()->objectName() + QLatin1Char('=') + l->text();
        else
            captions << l->text() + (l->isVisible() ? QStringLiteral(" (shown)") : QString());
    }
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Edit Contact: (shown)"), QStringLiteral("txtEditCall=Callsign"),
                                     QStringLiteral("txtEditNum=Rst(S)"), QStringLiteral("txtEditPre=Country"),
                                     QStringLiteral("txtEditCk=Rst(R)"), QStringLiteral("txtEditSec=Section"),
                                     QStringLiteral("txtEditDate=Date"), QStringLiteral("txtEditTime=Time"),
                                     QStringLiteral("txtEditBnd=Mode"), QStringLiteral("  Dupe!"),
                                     QStringLiteral("   Invalid!"), QStringLiteral("   Invalid!")}));
    EXPECT_EQ(button("cmdDone")->text(), QStringLiteral("Done"));
    EXPECT_TRUE(button("cmdDone")->isVisible());
    EXPECT_EQ(button("cmdDeleteDupe")->text(), QStringLiteral("Delete Dupe"));
    EXPECT_FALSE(button("cmdDeleteDupe")->isVisible());
    EXPECT_TRUE(dialogs.messages.empty()); // scaling found the screen

    // Tab visits the boxes in the order of the table, then "Done".
    box("txtEditCall")->setFocus();
    for (int i = 1; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_TRUE(focusedOn(kBoxNames[i])) << kBoxNames[i];
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_TRUE(button("cmdDone")->hasFocus());
    // A focused button answers Enter itself.
    QTest::keyClick(button("cmdDone"), Qt::Key_Return);
    EXPECT_EQ(dialog->outcome(), Outcome::Saved);
}

TEST_F(EditContactDialogTest, TextBoxesTypeCapitalsAndDropQuotes)
{
    open(5);
    for (const char* name : {"txtEditCall", "txtEditNum", "txtEditCk", "txtEditSec", "txtEditBnd"}) {
        retype(name, QStringLiteral("k1\"ab/c"));
        EXPECT_EQ(box(name)->text(), QStringLiteral("K1AB/C")) << name;
        QTest::keyClick(box(name), Qt::Key_Backspace);
        EXPECT_EQ(box(name)->text(), QStringLiteral("K1AB/")) << name;
    }
    retype("txtEditBnd", QStringLiteral("ph"));
    EXPECT_EQ(box("txtEditBnd")->text(), QStringLiteral("PH"));
}

TEST_F(EditContactDialogTest, DateAndTimeBoxesTakeOnlyTheirCharacters)
{
    open(5);
    retype("txtEditDate", QStringLiteral("12-14/2013a\".:"));
    EXPECT_EQ(box("txtEditDate")->text(), QStringLiteral("1214/2013"));
    QTest::keyClick(box("txtEditDate"), Qt::Key_Backspace);
    EXPECT_EQ(box("txtEditDate")->text(), QStringLiteral("1214/201"));
    box("txtEditDate")->setText(QStringLiteral("12/14/2013")); // so that leaving it is allowed

    retype("txtEditTime", QStringLiteral("9:05 pm/\"14"));
    EXPECT_EQ(box("txtEditTime")->text(), QStringLiteral("9:0514"));
    QTest::keyClick(box("txtEditTime"), Qt::Key_Backspace);
    EXPECT_EQ(box("txtEditTime")->text(), QStringLiteral("9:051"));
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(EditContactDialogTest, CountryCompletesWithLetterCaseSignificant)
{
    open(5);
    retype("txtEditPre", QStringLiteral("C"));
    EXPECT_EQ(box("txtEditPre")->text(), QStringLiteral("Chatham Islands"));
    EXPECT_EQ(box("txtEditPre")->selectedText(), QStringLiteral("hatham Islands"));
    QTest::keyClicks(box("txtEditPre"), QStringLiteral("a"));
    EXPECT_EQ(box("txtEditPre")->text(), QStringLiteral("Canada"));
    EXPECT_EQ(box("txtEditPre")->selectedText(), QStringLiteral("nada"));
    QTest::keyClicks(box("txtEditPre"), QStringLiteral("nar"));
    EXPECT_EQ(box("txtEditPre")->text(), QStringLiteral("Canary Islands"));

    // No capital is made here, and "c" or "CA" names nothing: typed as they are.
    retype("txtEditPre", QStringLiteral("ca\"n"));
    EXPECT_EQ(box("txtEditPre")->text(), QStringLiteral("can"));
    retype("txtEditPre", QStringLiteral("CA"));
    EXPECT_EQ(box("txtEditPre")->text(), QStringLiteral("CA"));
}

TEST_F(EditContactDialogTest, NoBoxTakesADoubleQuoteEvenPasted)
{
    open(5);
    QApplication::clipboard()->setText(QStringLiteral("A\"B"));
    for (const char* name : kBoxNames) {
        QLineEdit* b = box(name);
        const QString before = b->text();
        b->setFocus();
        b->end(false);
        QTest::keyClicks(b, QStringLiteral("\""));
        b->paste();
        QTest::keySequence(b, QKeySequence::Paste);
        EXPECT_FALSE(b->text().contains(QLatin1Char('"'))) << name;
        // Call, report and exchange boxes drop just the quote; the others refuse the paste.
        const bool dropsOnly = QString::fromLatin1(name) == QLatin1String("txtEditCall")
                            || QString::fromLatin1(name) == QLatin1String("txtEditNum")
                            || QString::fromLatin1(name) == QLatin1String("txtEditCk")
                            || QString::fromLatin1(name) == QLatin1String("txtEditSec");
        EXPECT_EQ(b->text(), dropsOnly ? before + QStringLiteral("ABAB") : before) << name;
        b->setText(before);
    }
    // A paste of text the file can hold goes in.
    QApplication::clipboard()->setText(QStringLiteral("/7"));
    box("txtEditCall")->end(false);
    box("txtEditCall")->paste();
    EXPECT_EQ(box("txtEditCall")->text(), QStringLiteral("VE3ZZ/7"));
}

TEST_F(EditContactDialogTest, LeavingABadDateOrTimeBeepsShowsItsMessageAndStays)
{
    open(5);
    struct Case {
        const char* name;
        const char* bad;
        const char* good;
        const char* title;
        const char* text;
    };
    const Case cases[] = {
        {"txtEditDate", "2013/13/14", "2013/12/14", "Invalid Date Format!", "You have entered an invalid date format!"},
        {"txtEditTime", "14:65", "14:05:33", "Invalid Time Format!", "You have entered an invalid time format!"},
    };
    for (const Case& c : cases) {
        dialogs.messages.clear();
        dialogs.beeps = 0;
        retype(c.name, QString::fromLatin1(c.bad));
        QTest::keyClick(box(c.name), Qt::Key_Tab);
        EXPECT_EQ(dialogs.beeps, 1) << c.name;
        ASSERT_EQ(dialogs.messages.size(), 1u) << c.name;
        EXPECT_EQ(dialogs.messages.front().title, QString::fromLatin1(c.title));
        EXPECT_EQ(dialogs.messages.front().text, QString::fromLatin1(c.text));
        QTRY_VERIFY(focusedOn(c.name));

        // Shift+Tab and a mouse click on another box are leaving too.
        QTest::keyClick(box(c.name), Qt::Key_Backtab);
        QTRY_VERIFY(focusedOn(c.name));
        QTest::mouseClick(box("txtEditCall"), Qt::LeftButton);
        QTRY_VERIFY(focusedOn(c.name));
        EXPECT_EQ(dialogs.messages.size(), 3u) << c.name;
        EXPECT_EQ(dialogs.beeps, 3) << c.name;
        box(c.name)->setText(QString::fromLatin1(c.good));
    }
    // Valid texts let the focus go on without a word.
    dialogs.messages.clear();
    retype("txtEditTime", QStringLiteral("9:05"));
    QTest::keyClick(box("txtEditTime"), Qt::Key_Backtab);
    QTRY_VERIFY(focusedOn("txtEditDate"));
    retype("txtEditDate", QStringLiteral("12/14/2013"));
    QTest::keyClick(box("txtEditDate"), Qt::Key_Tab);
    QTest::qWait(20); // no late focus grab follows
    EXPECT_TRUE(focusedOn("txtEditTime"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(EditContactDialogTest, LeavingABadModeShowsItsLabelAndStays)
{
    open(5);
    retype("txtEditBnd", QStringLiteral("ssb"));
    EXPECT_EQ(box("txtEditBnd")->text(), QStringLiteral("SSB"));
    QTest::keyClick(box("txtEditBnd"), Qt::Key_Tab);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_TRUE(label("lblEditModeInvalid")->isVisible());
    EXPECT_FALSE(label("lblEditSecInvalid")->isVisible());
    EXPECT_TRUE(dialogs.messages.empty());
    QTRY_VERIFY(focusedOn("txtEditBnd"));

    retype("txtEditBnd", QStringLiteral("PH"));
    QTest::keyClick(box("txtEditBnd"), Qt::Key_Tab);
    EXPECT_FALSE(label("lblEditModeInvalid")->isVisible());
    QTest::qWait(20);
    EXPECT_TRUE(button("cmdDone")->hasFocus());
    EXPECT_EQ(dialogs.beeps, 1);
}

TEST_F(EditContactDialogTest, ClickingDoneFromABadBoxTellsOnceAndStoresNothing)
{
    open(5);
    retype("txtEditDate", QStringLiteral("2013/02/30"));
    QTest::mouseClick(button("cmdDone"), Qt::LeftButton);
    EXPECT_EQ(dialogs.messageTitles(), QStringList{QStringLiteral("Invalid Date Format!")});
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_TRUE(dialog->isVisible());
    QTRY_VERIFY(focusedOn("txtEditDate"));
    EXPECT_FALSE(button("cmdDone")->isDown());

    // Once the box is right, the same click stores.
    retype("txtEditDate", QStringLiteral("2013/12/15"));
    QTest::mouseClick(button("cmdDone"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->outcome(), Outcome::Saved);
    EXPECT_EQ(dialog->editedRecord().QsoDate, QStringLiteral("2013/12/15"));
}

TEST_F(EditContactDialogTest, DoneChecksTheTimeFirstThenTheDate)
{
    open(5);
    box("txtEditTime")->setText(QStringLiteral("99:99"));
    box("txtEditDate")->setText(QStringLiteral("2013/99/99"));
    enterIn("txtEditDate");
    EXPECT_EQ(dialogs.messageTitles(), QStringList{QStringLiteral("Invalid Time Format!")});
    EXPECT_EQ(dialogs.beeps, 1);
    // The dialog's own move to the time box is not a leaving of the date box.
    EXPECT_TRUE(focusedOn("txtEditTime"));
    QTest::qWait(20);
    EXPECT_TRUE(focusedOn("txtEditTime"));
    EXPECT_EQ(dialogs.messages.size(), 1u);

    box("txtEditTime")->setText(QStringLiteral("14:05:33"));
    QTest::keyClick(box("txtEditTime"), Qt::Key_Return);
    EXPECT_EQ(dialogs.messageTitles(),
              (QStringList{QStringLiteral("Invalid Time Format!"), QStringLiteral("Invalid Date Format!")}));
    EXPECT_TRUE(focusedOn("txtEditDate"));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->outcome(), Outcome::Cancelled);
}

TEST_F(EditContactDialogTest, ADuplicateOnTheSameModeShowsDupeAndStoresNothing)
{
    open(5);
    retype("txtEditCall", QStringLiteral("k1abc"));
    enterIn("txtEditCall");
    EXPECT_TRUE(label("lblEditDupe")->isVisible());
    EXPECT_TRUE(button("cmdDeleteDupe")->isVisible());
    EXPECT_EQ(dialogs.beeps, 1); // record 2 only: record 4 is on phone
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->outcome(), Outcome::Cancelled);
    EXPECT_EQ(dialog->editedRecord(), records.at(4));

    // The same call on the other mode is no duplicate of record 2, but is one of record 4.
    retype("txtEditBnd", QStringLiteral("PH"));
    enterIn("txtEditBnd");
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_TRUE(dialog->isVisible());

    // K1ABC/7 on phone is new.
    retype("txtEditCall", QStringLiteral("k1abc/7"));
    enterIn("txtEditCall");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->outcome(), Outcome::Saved);
    QsoRecord expected = records.at(4);
    expected.Call = QStringLiteral("K1ABC/7");
    expected.Mode = QStringLiteral("PH");
    EXPECT_EQ(dialog->editedRecord(), expected); // frequency kept
    EXPECT_EQ(dialogs.beeps, 2);
}

TEST_F(EditContactDialogTest, DupeLabelHidesWhenTheDuplicateIsGone)
{
    open(5);
    retype("txtEditCall", QStringLiteral("W1AW"));
    retype("txtEditSec", QStringLiteral("BX"));
    enterIn("txtEditSec");
    EXPECT_TRUE(label("lblEditDupe")->isVisible());
    EXPECT_TRUE(label("lblEditSecInvalid")->isVisible());
    EXPECT_EQ(dialogs.beeps, 2);

    // Still a bad section: the dupe warning goes, "Delete Dupe" stays.
    retype("txtEditCall", QStringLiteral("W1XX"));
    enterIn("txtEditCall");
    EXPECT_FALSE(label("lblEditDupe")->isVisible());
    EXPECT_TRUE(button("cmdDeleteDupe")->isVisible());
    EXPECT_TRUE(label("lblEditSecInvalid")->isVisible());
    EXPECT_EQ(dialogs.beeps, 3);
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(EditContactDialogTest, SectionAXIsAcceptedHereThoughTheEntryLineRefusesIt)
{
    open(5);
    retype("txtEditSec", QStringLiteral("ax"));
    enterIn("txtEditSec");
    EXPECT_EQ(dialog->outcome(), Outcome::Saved);
    EXPECT_EQ(dialog->editedRecord().SecSer, QStringLiteral("AX"));
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(EditContactDialogTest, AnEmptySectionShowsInvalidAndKeepsTheDialogOpen)
{
    open(5);
    box("txtEditSec")->setFocus();
    box("txtEditSec")->clear();
    QTest::mouseClick(button("cmdDone"), Qt::LeftButton);
    EXPECT_TRUE(label("lblEditSecInvalid")->isVisible());
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->outcome(), Outcome::Cancelled);

    QTest::keyClicks(box("txtEditSec"), QStringLiteral("qc"));
    enterIn("txtEditSec");
    EXPECT_EQ(dialog->outcome(), Outcome::Saved);
    EXPECT_EQ(dialog->editedRecord().SecSer, QStringLiteral("QC"));
}

TEST_F(EditContactDialogTest, EnterInTheModeBoxDoesNotStoreABadMode)
{
    open(5);
    retype("txtEditBnd", QStringLiteral("SSB"));
    QTest::keyClick(box("txtEditBnd"), Qt::Key_Return);
    EXPECT_TRUE(label("lblEditModeInvalid")->isVisible());
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->outcome(), Outcome::Cancelled);
}

TEST_F(EditContactDialogTest, EnterRunsDoneFromEveryBox)
{
    for (const char* name : kBoxNames) {
        open(3);
        enterIn(name);
        EXPECT_FALSE(dialog->isVisible()) << name;
        EXPECT_EQ(dialog->outcome(), Outcome::Saved) << name;
        EXPECT_EQ(dialog->editedRecord(), records.at(2)) << name;
    }
}

TEST_F(EditContactDialogTest, DeleteDupeClosesAndAsksTheCallerToDelete)
{
    open(5);
    retype("txtEditCall", QStringLiteral("W1AW"));
    enterIn("txtEditCall");
    ASSERT_TRUE(button("cmdDeleteDupe")->isVisible());
    QTest::mouseClick(button("cmdDeleteDupe"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->outcome(), Outcome::DeleteRequested);
    EXPECT_EQ(dialog->recordNumber(), 5);
    EXPECT_EQ(dialog->editedRecord(), records.at(4)); // the typed call is not stored
    EXPECT_TRUE(dialogs.messages.empty());             // the caller asks "Are you sure?"
}

TEST_F(EditContactDialogTest, TheWindowFrameStoresNothing)
{
    open(5);
    retype("txtEditCall", QStringLiteral("K9ZZZ"));
    retype("txtEditDate", QStringLiteral("2013"));
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->outcome(), Outcome::Cancelled);
    EXPECT_EQ(dialog->editedRecord(), records.at(4));
    EXPECT_TRUE(dialogs.messages.empty()); // closing is not leaving the date box for another control
}

TEST_F(EditContactDialogTest, AStoredCorrectionGoesBackIntoLogTxtUnchanged)
{
    QTemporaryDir dir;
    const LogFile file(dir.filePath(QStringLiteral("log.txt")));
    ASSERT_TRUE(file.rewrite(records));
    open(6);
    QApplication::clipboard()->setText(QStringLiteral("\"Tokyo\", JA"));
    retype("txtEditPre", QStringLiteral("Japan, \"Honshu"));
    box("txtEditPre")->paste();
    retype("txtEditSec", QStringLiteral("0\"02"));
    retype("txtEditDate", QStringLiteral("12/14/2013"));
    retype("txtEditTime", QStringLiteral("9:05"));
    enterIn("txtEditTime");
    ASSERT_EQ(dialog->outcome(), Outcome::Saved);

    QList<QsoRecord> changed = records;
    changed[dialog->recordNumber() - 1] = dialog->editedRecord();
    ASSERT_TRUE(file.rewrite(changed));
    const LogParse back = file.load();
    EXPECT_TRUE(back.error.isEmpty());
    EXPECT_EQ(back.records, changed);
    const QsoRecord& stored = back.records.at(5);
    EXPECT_EQ(stored.Country, QStringLiteral("Japan, Honshu"));
    EXPECT_EQ(stored.SecSer, QStringLiteral("002"));
    EXPECT_EQ(stored.QsoDate, QStringLiteral("12/14/2013"));
    EXPECT_EQ(stored.QsoTime, QStringLiteral("9:05"));
    EXPECT_EQ(stored.Freq, QStringLiteral("28.025"));
}
