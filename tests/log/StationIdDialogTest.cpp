// The station identity dialog driven with real key events under the
// offscreen platform: capitals, the UTC box's key filter and its check on
// leaving, country completion, "Done" and the shared preferences document.
#include "log/ui/StationIdDialog.h"

#include "QtPrinters.h"
#include "ScriptedDialogs.h"
#include "common/SharedPreferences.h"
#include "geo/PrefixTable.h"
#include "platform/DurableFile.h"

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

namespace {

// Sorted by prefix as the real file is: "Chatham Islands" is the last name
// beginning with C, "Canada" the last beginning with Ca.
const QByteArray kPrefixes = "\"CE\",\"Chile\",\"SA\",70.67,-33.45,14,12,3\r\n"
                             "\"EA8\",\"Canary Islands\",\"AF\",15.5,28.1,33,36,0\r\n"
                             "\"VE\",\"Canada\",\"NA\",78.75,44.35,5,9,5\r\n"
                             "\"ZL7\",\"Chatham Islands\",\"OC\",176.5,-44,32,60,-12.75\r\n"
                             "\"K\",\"USA\",\"NA\",98.35,39.5,8,7,5\r\n";

class StationIdDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(prefixes.loadData(kPrefixes));
        shared.load(xmlPath());
        prefs.OwnCall = QStringLiteral("W1AW");
        prefs.OwnState = QStringLiteral("CT");
        prefs.OwnCountry = QStringLiteral("USA");
        prefs.OwnLongitude = 72.75f;
        prefs.OwnLatitude = 41.5f;
        prefs.UtcOffsetHours = 5;
        dialog = std::make_unique<StationIdDialog>(prefs, prefixes, dialogs, shared);
    }

    QString xmlPath() const { return dir.filePath(QStringLiteral("SharedUserPreferences.xml")); }
    QLineEdit* box(const char* name) const
    {
        return dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    QPushButton* done() const { return dialog->findChild<QPushButton*>(QStringLiteral("Command1")); }
    void showActive()
    {
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    void clear(const char* name)
    {
        box(name)->clear();
        box(name)->setFocus();
    }
    QString xml() const
    {
        QByteArray data;
        tenlog::platform::readWholeFile(xmlPath(), &data);
        return QString::fromLatin1(data);
    }

    QTemporaryDir dir;
    tenlog::testing::ScriptedDialogs dialogs;
    tenlog::geo::PrefixTable prefixes;
    tenlog::common::SharedPreferences shared;
    Prefs prefs;
    std::unique_ptr<StationIdDialog> dialog;
};

} // namespace

TEST_F(StationIdDialogTest, OpensFilledFromThePrefsWithItsLabels)
{
    EXPECT_EQ(dialog->objectName(), QStringLiteral("frmStationID"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral(" Amateur Station I.D."));
    EXPECT_EQ(done()->text(), QStringLiteral("Done"));
    const std::pair<const char*, const char*> boxes[] = {
        {"Text1", "W1AW"}, {"Text5", "CT"}, {"Text2", "USA"}, {"Text3", "72.75"}, {"Text4", "41.5"}, {"Text6", "5"}};
    for (const auto& [name, value] : boxes) {
        ASSERT_NE(box(name), nullptr) << name;
        EXPECT_EQ(box(name)->text(), QString::fromLatin1(value)) << name;
    }
    QStringList captions;
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->buddy())
            captions << label->buddy()->objectName() + QLatin1Char('=') + label->text();
        else
            captions << label->text();
    }
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Text1=Please Enter your Call Sign:"),
                                     QStringLiteral("Text5=State / Province"), QStringLiteral("(MD, SK, etc.)"),
                                     QStringLiteral("Text2=Your Country:"), QStringLiteral("Text3=Your Longitude:"),
                                     QStringLiteral("Text4=Your Latitude:"),
                                     QStringLiteral("Text6=Hours added for UTC:")}));
    EXPECT_EQ(dialogs.messages.size(), 0u); // scaling found the screen
}

TEST_F(StationIdDialogTest, TheSavedCallComesBackChosenSoTypingReplacesIt)
{
    showActive();
    EXPECT_TRUE(box("Text1")->hasFocus());
    EXPECT_EQ(box("Text1")->selectedText(), QStringLiteral("W1AW"));
    QTest::keyClicks(box("Text1"), QStringLiteral("w1aw"));
    EXPECT_EQ(box("Text1")->text(), QStringLiteral("W1AW"));
}

TEST_F(StationIdDialogTest, ACallThatCannotBeACallSignIsRefused)
{
    showActive();
    box("Text1")->setText(QStringLiteral("W1AWW1AW"));
    box("Text6")->setFocus();
    QTest::mouseClick(done(), Qt::LeftButton);
    EXPECT_EQ(dialogs.messageTitles(), QStringList{QStringLiteral("Not a Call Sign")});
    EXPECT_TRUE(dialogs.messages.back().text.contains(QStringLiteral("W1AWW1AW is not one call sign.")));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(box("Text1")->hasFocus());
    EXPECT_EQ(box("Text1")->selectedText(), QStringLiteral("W1AWW1AW"));
    EXPECT_FALSE(xml().contains(QStringLiteral("W1AWW1AW")));
    EXPECT_EQ(dialog->applyTo(prefs).OwnCall, QStringLiteral("W1AW")) << "closing does not take it either";

    QTest::keyClicks(box("Text1"), QStringLiteral("k1abc"));
    QTest::mouseClick(done(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), int(QDialog::Accepted));
    EXPECT_EQ(dialog->applyTo(prefs).OwnCall, QStringLiteral("K1ABC"));
}

TEST_F(StationIdDialogTest, CallAndStateBecomeCapitals)
{
    showActive();
    clear("Text1");
    QTest::keyClicks(box("Text1"), QStringLiteral("k1abc/7"));
    EXPECT_EQ(box("Text1")->text(), QStringLiteral("K1ABC/7"));
    clear("Text5");
    QTest::keyClicks(box("Text5"), QStringLiteral("md"));
    QTest::keyClick(box("Text5"), Qt::Key_Backspace);
    QTest::keyClicks(box("Text5"), QStringLiteral("e"));
    EXPECT_EQ(box("Text5")->text(), QStringLiteral("ME"));
}

TEST_F(StationIdDialogTest, UtcBoxTakesOnlyNumberCharacters)
{
    showActive();
    clear("Text6");
    QTest::keyClicks(box("Text6"), QStringLiteral("a-5x.0/ 9,+"));
    EXPECT_EQ(box("Text6")->text(), QStringLiteral("-5.0/9"));
    QTest::keyClick(box("Text6"), Qt::Key_Backspace);
    QTest::keyClick(box("Text6"), Qt::Key_Backspace);
    EXPECT_EQ(box("Text6")->text(), QStringLiteral("-5.0"));
}

TEST_F(StationIdDialogTest, LeavingTheUtcBoxWithoutANumberBeepsAndStays)
{
    showActive();
    clear("Text6");
    QTest::keyClicks(box("Text6"), QStringLiteral("-"));
    QTest::keyClick(box("Text6"), Qt::Key_Tab);
    EXPECT_EQ(dialogs.beeps, 1);
    QTRY_VERIFY(box("Text6")->hasFocus());

    QTest::keyClicks(box("Text6"), QStringLiteral("4"));
    QTest::keyClick(box("Text6"), Qt::Key_Tab);
    EXPECT_EQ(dialogs.beeps, 1);
    QTRY_VERIFY(done()->hasFocus());
    QTest::qWait(20); // no late focus grab follows
    EXPECT_TRUE(done()->hasFocus());
}

TEST_F(StationIdDialogTest, CountryCompletesCaseSignificantlyAndFillsTheCoordinates)
{
    showActive();
    clear("Text2");
    QTest::keyClicks(box("Text2"), QStringLiteral("c"));
    EXPECT_EQ(box("Text2")->text(), QStringLiteral("Chatham Islands"));
    EXPECT_EQ(box("Text2")->selectedText(), QStringLiteral("hatham Islands"));
    EXPECT_EQ(box("Text3")->text(), QStringLiteral("176.5"));
    EXPECT_EQ(box("Text4")->text(), QStringLiteral("-44"));

    QTest::keyClicks(box("Text2"), QStringLiteral("a"));
    EXPECT_EQ(box("Text2")->text(), QStringLiteral("Canada"));
    EXPECT_EQ(box("Text2")->selectedText(), QStringLiteral("nada"));
    EXPECT_EQ(box("Text3")->text(), QStringLiteral("78.75"));
    EXPECT_EQ(box("Text4")->text(), QStringLiteral("44.35"));

    QTest::keyClicks(box("Text2"), QStringLiteral("nar"));
    EXPECT_EQ(box("Text2")->text(), QStringLiteral("Canary Islands"));
    EXPECT_EQ(box("Text3")->text(), QStringLiteral("15.5"));

    // Letter case counts: "CA" names nothing, so the key is typed as it is
    // and the coordinates stay.
    clear("Text2");
    QTest::keyClicks(box("Text2"), QStringLiteral("c"));
    box("Text3")->setText(QStringLiteral("1"));
    QTest::keyClicks(box("Text2"), QStringLiteral("A"));
    EXPECT_EQ(box("Text2")->text(), QStringLiteral("CA"));
    EXPECT_EQ(box("Text3")->text(), QStringLiteral("1"));

    // Only the first character is made a capital.
    clear("Text2");
    QTest::keyClicks(box("Text2"), QStringLiteral("xy"));
    EXPECT_EQ(box("Text2")->text(), QStringLiteral("Xy"));
}

TEST_F(StationIdDialogTest, DoneZeroesNonNumbersAndWritesTheSharedDocumentOnce)
{
    showActive();
    clear("Text3");
    QTest::keyClicks(box("Text3"), QStringLiteral("west"));
    box("Text6")->setText(QStringLiteral("-"));
    ASSERT_FALSE(QFile::exists(xmlPath()));

    QTest::mouseClick(done(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(box("Text3")->text(), QStringLiteral("0"));
    EXPECT_EQ(box("Text6")->text(), QStringLiteral("0"));
    EXPECT_EQ(box("Text4")->text(), QStringLiteral("41.5"));

    EXPECT_EQ(xml(), tenlog::common::SharedPreferences::declaration()
                         + QStringLiteral("\r\n<OWN_CALL>W1AW</OWN_CALL>\r\n<OWN_SPC>CT</OWN_SPC>"
                                          "\r\n<OWN_UTC>0</OWN_UTC>\r\n<OWN_COUNTRY>USA</OWN_COUNTRY>"
                                          "\r\n<OWN_LONGITUDE>0</OWN_LONGITUDE>"
                                          "\r\n<OWN_LATITUDE>41.5</OWN_LATITUDE>\r\n"));

    const Prefs applied = dialog->applyTo(prefs);
    EXPECT_EQ(applied.OwnLongitude, 0.0f);
    EXPECT_EQ(applied.UtcOffsetHours, 0.0f);
    EXPECT_EQ(applied.OwnLatitude, 41.5f);
}

TEST_F(StationIdDialogTest, EnterRunsDoneOnlyFromCallStateAndUtc)
{
    showActive();
    for (const char* name : {"Text2", "Text3", "Text4"}) {
        box(name)->setFocus();
        QTest::keyClick(box(name), Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible()) << name;
    }
    EXPECT_FALSE(QFile::exists(xmlPath()));

    for (const char* name : {"Text1", "Text5", "Text6"}) {
        QFile::remove(xmlPath());
        dialog->show();
        box(name)->setFocus();
        QTest::keyClick(box(name), Qt::Key_Return);
        EXPECT_FALSE(dialog->isVisible()) << name;
        EXPECT_EQ(dialog->result(), QDialog::Accepted) << name;
        EXPECT_TRUE(xml().contains(QStringLiteral("<OWN_CALL>W1AW</OWN_CALL>"))) << name;
    }
}

TEST_F(StationIdDialogTest, DoubleQuotesNeverEnterABox)
{
    showActive();
    QApplication::clipboard()->setText(QStringLiteral("A\"B"));
    for (const char* name : {"Text1", "Text5", "Text2", "Text3", "Text4", "Text6"}) {
        QLineEdit* b = box(name);
        const QString before = b->text();
        b->setFocus();
        b->end(false);
        QTest::keyClicks(b, QStringLiteral("\""));
        b->paste();
        EXPECT_EQ(b->text(), before) << name;
    }
    // Text typed or pasted in the boxes therefore always saves.
    EXPECT_TRUE(prefsBytes(dialog->applyTo(prefs)).has_value());
}

TEST_F(StationIdDialogTest, ClosingWithoutDoneStillGivesNumbers)
{
    dialogs.modalScripts.push_back([this](QDialog* shown) {
        shown->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(shown));
        box("Text1")->setText(QStringLiteral("K1ABC"));
        box("Text3")->setText(QStringLiteral("abc"));
        box("Text6")->setFocus();
        box("Text6")->setText(QStringLiteral("-"));
        shown->close(); // the window frame's close button
        return shown->result();
    });
    EXPECT_EQ(dialogs.runModal(dialog.get()), QDialog::Rejected);
    const Prefs applied = dialog->applyTo(prefs);
    EXPECT_EQ(applied.OwnCall, QStringLiteral("K1ABC"));
    EXPECT_EQ(applied.UtcOffsetHours, 0.0f);
    EXPECT_EQ(applied.OwnLongitude, 0.0f);
    EXPECT_EQ(applied.OwnLatitude, 41.5f);
    EXPECT_FALSE(QFile::exists(xmlPath()));
    EXPECT_EQ(dialogs.beeps, 0); // closing is not leaving the UTC box for another control
}

TEST_F(StationIdDialogTest, ACountryTheListDoesNotKnowIsFlaggedAndNotAccepted)
{
    showActive();
    clear("Text2");
    box("Text2")->setText(QStringLiteral("United States"));
    done()->click();
    EXPECT_FALSE(dialog->result() == QDialog::Accepted);
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("Unknown Country"));
    EXPECT_TRUE(box("Text2")->hasFocus() || QApplication::focusWidget() == box("Text2"));
    EXPECT_FALSE(shared.text().contains(QStringLiteral("United States"))) << "nothing was stored";
    // Closing the window now instead keeps the station's own country and position.
    const Prefs closed = dialog->applyTo(prefs);
    EXPECT_EQ(closed.OwnCountry, prefs.OwnCountry);
    EXPECT_EQ(closed.OwnLongitude, prefs.OwnLongitude);
    EXPECT_EQ(closed.OwnLatitude, prefs.OwnLatitude);

    box("Text2")->setText(QStringLiteral("USA"));
    done()->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}
