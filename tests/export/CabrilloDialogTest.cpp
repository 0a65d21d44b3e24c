// The summary-sheet dialog driven with real key and mouse events under the
// offscreen platform, over a real log file, a real settings store and a real
// shared preferences document in temporary folders: defaults, remembered
// details, capitals, the save chooser, the messages, a cancelled chooser and
// a target that cannot be written.
#include "export/ui/CabrilloDialog.h"

#include "QtPrinters.h"
#include "ReadOnlyFolder.h"
#include "ScriptedDialogs.h"
#include "common/AppFolders.h"
#include "common/SharedPreferences.h"
#include "common/SharedPreferences.h"
#include "log/ContestLog.h"
#include "log/Prefs.h"
#include "platform/DurableFile.h"
#include "platform/qt/QtSettingsStore.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include "TestFolders.h"

#include <gtest/gtest.h>

#include <memory>

using namespace tenlog;
using namespace tenlog::exports;
using log::QsoRecord;

namespace {

const char* const kRemembered[][3] = {
    {"Text5", "UserAddressName", "OWN_ADDRESS_NAME"}, {"Text6", "UserAddressLine1", "OWN_ADDRESS_LINE1"},
    {"Text7", "UserAddressLine2", "OWN_ADDRESS_LINE2"}, {"Text8", "UserEMail", "OWN_EMAIL"},
    {"Text1", "UserARRLSection", "OWN_ARRL_SECTION"},  {"Text10", "UserClubName", "OWN_CLUB_NAME"},
};

QsoRecord rec(const char* call, const char* mode, const char* exchange)
{
    return {QString::fromLatin1(call), QStringLiteral("599"), QString::fromLatin1(exchange), QStringLiteral("599"),
            QStringLiteral("USA"), QStringLiteral("2013/12/14"), QStringLiteral("14:05:33"),
            QString::fromLatin1(mode), QStringLiteral("28.025")};
}

QByteArray readAll(const QString& path)
{
    QByteArray data;
    platform::readWholeFile(path, &data);
    return data;
}

class CabrilloDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        folders = tenlog::testing::makeFoldersUnder(root.path());
        const QString logPath = log::LogFile::pathIn(folders.workingFolder);
        ASSERT_TRUE(log::LogFile(logPath).rewrite({rec("K1ABC", "CW", "MA"), rec("N2XX", "PH", "NY"),
                                                   rec("VE3ZZ", "CW", "ON")}));
        contest = std::make_unique<log::ContestLog>(logPath);
        ASSERT_FALSE(contest->reload().has_value());
        shared.load(folders.sharedPreferencesPath());
        prefs.OwnCall = QStringLiteral(" W1AW/3 ");
        prefs.OwnState = QStringLiteral("CT");
    }
    void TearDown() override { QDir::setCurrent(QDir::tempPath()); }

    CabrilloContext context()
    {
        return {*contest, prefs, dialogs, settings, shared, folders, QStringLiteral("TenLog Test Caption")};
    }
    void open()
    {
        dialog = std::make_unique<CabrilloDialog>(context());
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    QLineEdit* box(const char* name) const { return dialog->findChild<QLineEdit*>(QString::fromLatin1(name)); }
    QRadioButton* option(const char* name) const
    {
        return dialog->findChild<QRadioButton*>(QString::fromLatin1(name));
    }
    QPushButton* button(const char* name) const
    {
        return dialog->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    // On the round indicator: a radio button takes clicks on its indicator and caption only.
    void choose(const char* name)
    {
        QRadioButton* o = option(name);
        QTest::mouseClick(o, Qt::LeftButton, {}, QPoint(6, o->height() / 2));
        ASSERT_TRUE(o->isChecked()) << name;
    }
    // Typed over whatever the box held.
    void type(const char* name, const QString& text)
    {
        box(name)->clear();
        box(name)->setFocus();
        QTest::keyClicks(box(name), text);
    }
    QString stored(const char* key) const
    {
        return settings.value(QStringLiteral("Korvo_Software"), QStringLiteral("Settings"), QString::fromLatin1(key),
                              QString());
    }
    void store(const char* key, const QString& value)
    {
        settings.setValue(QStringLiteral("Korvo_Software"), QStringLiteral("Settings"), QString::fromLatin1(key),
                          value);
    }
    QString target(const char* name) const { return folders.userDataFolder + u'/' + QString::fromLatin1(name); }

    QTemporaryDir root;
    common::AppFolders folders;
    std::unique_ptr<log::ContestLog> contest;
    log::Prefs prefs;
    tenlog::testing::ScriptedDialogs dialogs;
    platform::QtSettingsStore settings{root.filePath(QStringLiteral("config"))};
    common::SharedPreferences shared;
    std::unique_ptr<CabrilloDialog> dialog;
};

} // namespace

TEST_F(CabrilloDialogTest, OpensWithTheDefaultsAndTheDetailsFromTheSettingsStore)
{
    for (const auto& row : kRemembered)
        store(row[1], QStringLiteral("stored ") + QString::fromLatin1(row[0]));
    // The shared document is written by this dialog, never read.
    shared.setValue(QStringLiteral("OWN_ADDRESS_NAME"), QStringLiteral("from the document"), true);
    open();

    EXPECT_EQ(dialog->objectName(), QStringLiteral("Form2"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Summary Sheet Information"));
    for (const auto& row : kRemembered)
        EXPECT_EQ(box(row[0])->text(), QStringLiteral("stored ") + QString::fromLatin1(row[0])) << row[0];
    EXPECT_EQ(box("Text2")->text(), QString());
    EXPECT_EQ(dialog->findChild<QPlainTextEdit*>(QStringLiteral("Text11"))->toPlainText(), QString());

    QStringList captions;
    for (const QLabel* l : dialog->findChildren<QLabel*>())
        captions << (l->buddy() ? l->buddy()->objectName() + u'=' : QString()) + l->text();
    EXPECT_EQ(captions,
              (QStringList{QStringLiteral("Text5=Your Name:"), QStringLiteral("Text6=Address Line 1:"),
                           QStringLiteral("Text7=Address Line 2:"), QStringLiteral("Text8=Email Address:"),
                           QStringLiteral("Text1=Your ARRL/RAC Section:"), QStringLiteral("DX Stations enter DX"),
                           QStringLiteral("Text10=Club Name (if club participation):"),
                           QStringLiteral("Text11=Soapbox (Add any comments you would like to make about the "
                                          "contest):"),
                           QStringLiteral("Text2=If multioperator, list calls of all operators:")}));

    QStringList frames;
    for (const QGroupBox* frame : dialog->findChildren<QGroupBox*>()) {
        QString entry = frame->title();
        for (const QRadioButton* o : frame->findChildren<QRadioButton*>())
            entry += u' ' + o->objectName() + u'=' + o->text() + (o->isChecked() ? QStringLiteral("*") : QString());
        frames << entry;
    }
    EXPECT_EQ(frames, (QStringList{QStringLiteral("Power Category: Option18=High Option19=Low* Option20=QRP"),
                                   QStringLiteral("Operator: Option6=Single* Option7=Multiple - (Mixed mode only)"),
                                   QStringLiteral("Mode: Option4=Mixed* Option8=Phone Only Option5=CW Only")}));
    EXPECT_EQ(button("Command4")->text(), QStringLiteral("Write Cabrillo Log File"));
    EXPECT_EQ(button("Command3")->text(), QStringLiteral("Done"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(CabrilloDialogTest, SectionAndOperatorsTakeCapitalsAsTyped)
{
    open();
    type("Text1", QStringLiteral("dx"));
    type("Text2", QStringLiteral("k1abc, w1aw/3"));
    type("Text5", QStringLiteral("hiram"));
    EXPECT_EQ(box("Text1")->text(), QStringLiteral("DX"));
    EXPECT_EQ(box("Text2")->text(), QStringLiteral("K1ABC, W1AW/3"));
    EXPECT_EQ(box("Text5")->text(), QStringLiteral("hiram"));

    // Enter in a box writes nothing and leaves the dialog open.
    QTest::keyClick(box("Text5"), Qt::Key_Return);
    EXPECT_TRUE(dialogs.saveRequests.empty());
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(CabrilloDialogTest, WritesTheFileConfirmsAndRemembersTheDetails)
{
    open();
    type("Text5", QStringLiteral("  Hiram Maxim "));
    type("Text6", QStringLiteral("225 Main Street"));
    type("Text8", QStringLiteral("w1aw@arrl.org"));
    type("Text1", QStringLiteral(" dx"));
    type("Text10", QStringLiteral("Newington ARC"));
    type("Text2", QStringLiteral("w1aw k1abc"));
    choose("Option20");
    choose("Option7");
    choose("Option5");
    auto* soapbox = dialog->findChild<QPlainTextEdit*>(QStringLiteral("Text11"));
    soapbox->setFocus();
    QTest::keyClicks(soapbox, QStringLiteral("Fun"));
    QTest::keyClick(soapbox, Qt::Key_Return);
    QTest::keyClicks(soapbox, QStringLiteral("Again"));

    const QString path = target("entry for the sponsor.log");
    dialogs.fileAnswers.push_back(path);
    QTest::mouseClick(button("Command4"), Qt::LeftButton);

    // The own call is trimmed in place; the stem drops the portable suffix.
    EXPECT_EQ(prefs.OwnCall, QStringLiteral("W1AW/3"));
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].filter, QStringLiteral("ADIF Files (*.log)"));
    EXPECT_EQ(dialogs.saveRequests[0].startFolder, folders.userDataFolder);
    EXPECT_EQ(dialogs.saveRequests[0].proposedName, QStringLiteral("W1AW.log"));
    EXPECT_TRUE(dialogs.saveRequests[0].askOverwrite);

    const QString file = QString::fromLatin1(readAll(path));
    const QStringList lines = file.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 15 + 3 + 2) << file.toStdString();
    EXPECT_EQ(lines.mid(0, 15),
              (QStringList{QStringLiteral("START-OF-LOG: 2.0"), QStringLiteral("CREATED-BY: TenLog Test Caption"),
                           QStringLiteral("ARRL-SECTION: DX"), QStringLiteral("CONTEST: ARRL-10"),
                           QStringLiteral("CALLSIGN: W1AW/3"), QStringLiteral("CATEGORY: MULTI-ONE 10M QRP CW"),
                           QStringLiteral("CLAIMED-SCORE: ") + QStringLiteral(" %1 ").arg(contest->currentScore().score),
                           QStringLiteral("OPERATORS: W1AW K1ABC"), QStringLiteral("CLUB: Newington ARC"),
                           QStringLiteral("NAME:   Hiram Maxim "), QStringLiteral("ADDRESS: 225 Main Street"),
                           QStringLiteral("ADDRESS: "), QStringLiteral("ADDRESS: (e-mail) w1aw@arrl.org"),
                           QStringLiteral("SOAPBOX: Fun"), QStringLiteral("SOAPBOX: Again")}));
    EXPECT_NE(contest->currentScore().score, 0);
    // " dx" typed with a leading blank is not exactly DX: the state is sent.
    EXPECT_EQ(lines.at(15),
              QStringLiteral("QSO: 28000 CW 2013-12-14 1405 W1AW/3        599     CT K1ABC         599     MA  "));
    EXPECT_EQ(lines.at(17).mid(55, 5), QStringLiteral("VE3ZZ"));
    EXPECT_EQ(lines.at(18), QStringLiteral("END-OF-LOG:"));

    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("File Written Successfully."));
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("The file W1AW.log was successfully written to the directory:\n\n") + path
                  + QStringLiteral(".\n\nAttach this file to an e-mail addressed for contest submission.  If you "
                                   "wish to print this file, you can open it with Notepad or Wordpad to print."));
    EXPECT_EQ(dialogs.messages[1].title, QStringLiteral("  Thanks!"));
    EXPECT_EQ(dialogs.messages[1].text,
              QStringLiteral("Thanks for using this program.  I hope that you enjoyed it!  If so, please tell a "
                             "friend!"));
    EXPECT_EQ(dialogs.beeps, 0);
    EXPECT_TRUE(button("Command3")->hasFocus());

    // Remembered trimmed, in the store and in the saved shared document.
    const QStringList expected{QStringLiteral("Hiram Maxim"), QStringLiteral("225 Main Street"), QString(),
                               QStringLiteral("w1aw@arrl.org"), QStringLiteral("DX"), QStringLiteral("Newington ARC")};
    const QString document = QString::fromUtf8(readAll(folders.sharedPreferencesPath()));
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(stored(kRemembered[i][1]), expected.at(i)) << kRemembered[i][1];
        const QString tag = QString::fromLatin1(kRemembered[i][2]);
        EXPECT_TRUE(document.contains(u'<' + tag + u'>' + expected.at(i) + QStringLiteral("</") + tag + u'>'))
            << tag.toStdString() << "\n" << document.toStdString();
    }
    EXPECT_EQ(QDir::currentPath(), QDir(folders.workingFolder).canonicalPath());
}

TEST_F(CabrilloDialogTest, RememberedDetailsFillTheNextDialogButChoicesStartOver)
{
    open();
    type("Text5", QStringLiteral("Hiram Maxim "));
    type("Text1", QStringLiteral("ct"));
    type("Text2", QStringLiteral("k1abc"));
    choose("Option18");
    choose("Option8");
    dialogs.fileAnswers.push_back(target("W1AW.log"));
    QTest::mouseClick(button("Command4"), Qt::LeftButton);
    ASSERT_TRUE(QFileInfo::exists(target("W1AW.log")));
    dialog.reset();

    open();
    EXPECT_EQ(box("Text5")->text(), QStringLiteral("Hiram Maxim"));
    EXPECT_EQ(box("Text1")->text(), QStringLiteral("CT"));
    EXPECT_EQ(box("Text2")->text(), QString());
    EXPECT_TRUE(option("Option19")->isChecked());
    EXPECT_TRUE(option("Option4")->isChecked());
    EXPECT_TRUE(option("Option6")->isChecked());
}

TEST_F(CabrilloDialogTest, CancelledChooserWritesAndRemembersNothing)
{
    open();
    type("Text5", QStringLiteral("Hiram Maxim"));
    dialogs.fileAnswers.push_back(std::nullopt);
    QTest::mouseClick(button("Command4"), Qt::LeftButton);

    EXPECT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.beeps, 0);
    EXPECT_TRUE(QDir(folders.userDataFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    EXPECT_EQ(stored("UserAddressName"), QString());
    EXPECT_FALSE(QFileInfo::exists(folders.sharedPreferencesPath()));
}

TEST_F(CabrilloDialogTest, TargetInAMissingFolderShowsTheSystemErrorAndRemembersNothing)
{
    open();
    type("Text5", QStringLiteral("Hiram Maxim"));
    const QString path = folders.userDataFolder + QStringLiteral("/no such folder/W1AW.log");
    dialogs.fileAnswers.push_back(path);
    QTest::mouseClick(button("Command4"), Qt::LeftButton);

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Unable to write file."));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("No such file or directory"));
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(stored("UserAddressName"), QString());
    EXPECT_FALSE(QFileInfo::exists(folders.sharedPreferencesPath()));
}

TEST_F(CabrilloDialogTest, ReadOnlyFolderKeepsTheOldFileWholeAndLeavesNoPartialFile)
{
    const QString folder = root.filePath(QStringLiteral("sent"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/W1AW.log");
    ASSERT_TRUE(platform::writeFileAtomically(path, "last year's entry\r\n"));
    tenlog::testing::ReadOnlyFolder readOnly(folder);
    if (!readOnly.available())
        GTEST_SKIP() << "this system cannot make a folder unwritable";

    open();
    dialogs.fileAnswers.push_back(path);
    QTest::mouseClick(button("Command4"), Qt::LeftButton);

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Unable to write file."));
    EXPECT_FALSE(dialogs.messages[0].text.isEmpty());
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(readAll(path), QByteArray("last year's entry\r\n"));
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("W1AW.log")});
}

TEST_F(CabrilloDialogTest, MenuEntryShowsTheDialogModallyAndUnloadsItAfterDone)
{
    QPointer<QDialog> shown;
    bool visibleAfterDone = true;
    dialogs.modalScripts.push_back([&](QDialog* window) {
        shown = window;
        window->show();
        auto* done = window->findChild<QPushButton*>(QStringLiteral("Command3"));
        QTest::mouseClick(done, Qt::LeftButton);
        visibleAfterDone = window->isVisible();
        return window->result();
    });
    runCabrillo(nullptr, context());

    EXPECT_EQ(dialogs.modalRuns, 1);
    EXPECT_FALSE(visibleAfterDone);
    EXPECT_TRUE(shown.isNull()) << "the dialog is unloaded when it closes";
    EXPECT_TRUE(dialogs.saveRequests.empty());
}

TEST_F(CabrilloDialogTest, FileFormatChoiceIsRememberedAndWritesThatFormat)
{
    // Nothing stored, or a value this version does not know: 2.0.
    for (const QString& stored : {QString(), QStringLiteral("4.0")}) {
        store("CabrilloFormat", stored);
        open();
        EXPECT_TRUE(option("optCabrillo2")->isChecked()) << stored.toStdString();
        EXPECT_FALSE(option("optCabrillo3")->isChecked());
        EXPECT_FALSE(option("optCabrillo3")->accessibleName().isEmpty());
        dialog.reset();
    }

    open();
    EXPECT_EQ(box("Text1")->text(), QStringLiteral("CT")) << "a section never typed comes from the own state";
    option("optCabrillo2")->setFocus();
    QTest::keyClick(option("optCabrillo2"), Qt::Key_Right);
    ASSERT_TRUE(option("optCabrillo3")->isChecked()) << "the arrow key moves the choice to 3.0";
    dialogs.fileAnswers.push_back(target("W1AW.log"));
    QTest::mouseClick(button("Command4"), Qt::LeftButton);
    const QStringList lines = QString::fromLatin1(readAll(target("W1AW.log"))).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.first(), QStringLiteral("START-OF-LOG: 3.0"));
    EXPECT_TRUE(lines.contains(QStringLiteral("LOCATION: CT")));
    EXPECT_EQ(stored("CabrilloFormat"), QStringLiteral("3.0"));
    dialog.reset();

    // The operator's own section stands, and is what the next dialog shows.
    open();
    type("Text1", QStringLiteral("eny"));
    dialogs.fileAnswers.push_back(target("W1AW.log"));
    QTest::mouseClick(button("Command4"), Qt::LeftButton);
    EXPECT_TRUE(QString::fromLatin1(readAll(target("W1AW.log"))).contains(QStringLiteral("\r\nLOCATION: ENY\r\n")));
    dialog.reset();
    open();
    EXPECT_EQ(box("Text1")->text(), QStringLiteral("ENY"));
    dialog.reset();

    open();
    EXPECT_TRUE(option("optCabrillo3")->isChecked()) << "the next dialog opens on 3.0";
    choose("optCabrillo2");
    dialogs.fileAnswers.push_back(target("W1AW.log"));
    QTest::mouseClick(button("Command4"), Qt::LeftButton);
    EXPECT_TRUE(readAll(target("W1AW.log")).startsWith("START-OF-LOG: 2.0\r\n"));
    EXPECT_EQ(stored("CabrilloFormat"), QStringLiteral("2.0"));
}
