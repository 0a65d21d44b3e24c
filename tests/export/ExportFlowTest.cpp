// The three File-menu exports as the operator meets them, with scripted
// dialogs and real files: the ADIF questions, Cancel at each step, the
// missing DXCC table, an unwritable target; LogExp.txt and its message; the
// contact list's clipboard copy from a real list widget.
#include "export/ui/AdifExport.h"
#include "export/ui/ListClipboard.h"
#include "export/ui/TessaryExport.h"

#include "AdifReader.h"
#include "QtPrinters.h"
#include "ReadOnlyFolder.h"
#include "ScriptedDialogs.h"
#include "SettableClock.h"
#include "platform/DurableFile.h"
#include "platform/qt/QtSettingsStore.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <QTreeWidget>
#include "TestFolders.h"

#include <gtest/gtest.h>

using namespace tenlog::exports;
using tenlog::log::QsoRecord;
using tenlog::testing::ReadOnlyFolder;
using tenlog::testing::ScriptedDialogs;
using tenlog::testing::SettableClock;

namespace {

const QString kCaption = QStringLiteral("TenLog 10 Meter Contest Log 0.1.0");

QsoRecord rec(const char* call, const char* country, const char* sec, const char* mode)
{
    return {QString::fromLatin1(call), QStringLiteral("599"), QString::fromLatin1(sec), QStringLiteral("599"),
            QString::fromLatin1(country), QStringLiteral("2013/12/14"), QStringLiteral("14:05:33"),
            QString::fromLatin1(mode), QString()};
}

QByteArray readFile(const QString& path)
{
    QByteArray data;
    tenlog::platform::readWholeFile(path, &data);
    return data;
}

class ExportFlow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        folders = tenlog::testing::makeFoldersUnder(root.path());
        records = {rec("K1ABC", "USA", "DC", "CW"), rec("VE3XYZ", "Canada", "ON", "PH"),
                   rec("KL7XX", "Alaska", "AK", "CW")};
    }

    void shipTable()
    {
        ASSERT_TRUE(tenlog::platform::copyFileAtomically(QStringLiteral(TENLOG_SOURCE_DATA_DIR "/ADIFCnt.txt"),
                                                         QDir(folders.workingFolder).filePath(QStringLiteral("ADIFCnt.txt"))));
    }

    void runAdif() { runAdifExport({dialogs, clock, folders, records, kCaption}); }

    QTemporaryDir root;
    tenlog::common::AppFolders folders;
    QList<QsoRecord> records;
    ScriptedDialogs dialogs;
    SettableClock clock{QDateTime(QDate(2013, 12, 16), QTime(9, 30))};
};

} // namespace

TEST_F(ExportFlow, AdifAsksForPowerAndCommentThenWritesAndReports)
{
    shipTable();
    const QString chosen = QDir(folders.userDataFolder).filePath(QStringLiteral("mylog.adi"));
    // "100W" is not a number of watts: it is asked about again, with what was typed.
    dialogs.inputAnswers = {QStringLiteral("100W"), QStringLiteral("100  "), QStringLiteral("ARRL 10 Meter Contest")};
    dialogs.fileAnswers = {chosen};
    // A DX station: the summary sheet remembered the section DX, so the
    // exchange sent is the contact's number, as in the Cabrillo file.
    tenlog::platform::QtSettingsStore settings(root.filePath(QStringLiteral("config")));
    settings.setValue(QStringLiteral("Korvo_Software"), QStringLiteral("Settings"), QStringLiteral("UserARRLSection"),
                      QStringLiteral("DX"));
    runAdifExport({dialogs, clock, folders, records, kCaption, QStringLiteral("DL1ABC"), QString(), &settings});

    const QString powerPrompt = QStringLiteral(
        "Please enter your transmitter output power. | Please enter the power value that you would like to record.  "
        "This is an optional value that will be included in each QSO record and displayed in Tessary's power output "
        "column.");
    EXPECT_EQ(dialogs.inputPrompts,
              (QStringList{powerPrompt, powerPrompt,
                           QStringLiteral("Please enter a comment. | Please enter a comment that you would like to "
                                          "appear on each QSO record.  This is an optional description that will "
                                          "be displayed in Tessary's Comments column.")}));
    EXPECT_EQ(dialogs.inputDefaults,
              (QStringList{QString(), QStringLiteral("100W"), QStringLiteral("ARRL 10 Meter Contest")}));
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].filter, QStringLiteral("ADIF Files (*.adi)"));
    EXPECT_EQ(dialogs.saveRequests[0].startFolder, folders.userDataFolder);
    EXPECT_EQ(dialogs.saveRequests[0].proposedName, QStringLiteral("10Meter.adi"));
    EXPECT_TRUE(dialogs.saveRequests[0].askOverwrite);

    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Invalid Power"));
    EXPECT_EQ(dialogs.messages[1].title, QStringLiteral("File Written Successfully."));
    EXPECT_EQ(dialogs.messages[1].text,
              QStringLiteral("The file 10Meter.adi was successfully written to the directory:\n\n") + chosen
                  + QStringLiteral("."))
        << "the text names 10Meter.adi whatever name was chosen";
    EXPECT_EQ(dialogs.beeps, 1);

    const QByteArray written = readFile(chosen);
    const QStringList lines = QString::fromLatin1(written).split(QStringLiteral("\r\n"));
    ASSERT_GT(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("ADIF Export from ") + kCaption);
    EXPECT_EQ(lines[3], QStringLiteral("Log exported on: ")
                            + QLocale::system().toString(QDate(2013, 12, 16), QLocale::ShortFormat))
        << "today's local date from the program's clock";
    const adif_test::Document doc = adif_test::read(written.toStdString());
    ASSERT_EQ(doc.error, "");
    ASSERT_EQ(doc.records.size(), 3u);
    EXPECT_EQ(doc.records[0].at("TX_PWR").data, "100");
    EXPECT_EQ(doc.records[0].at("COMMENT").data, "ARRL 10 Meter Contest");
    EXPECT_EQ(doc.records[2].at("DXCC").data, "6") << "the shipped table, found in the working folder";
    EXPECT_EQ(doc.headerFields.at("CREATED_TIMESTAMP").data, "20131216 143000") << "the program's clock, in UTC";
    EXPECT_EQ(doc.records[2].at("STX_STRING").data, "3");
    EXPECT_EQ(doc.records[2].at("SRX_STRING").data, "AK");
    EXPECT_EQ(doc.records[2].at("STATION_CALLSIGN").data, "DL1ABC");
    EXPECT_EQ(adif_test::validate(doc), std::vector<std::string>{});
}

TEST_F(ExportFlow, AdifCancelledQuestionsLeaveThoseFieldsOut)
{
    shipTable();
    const QString chosen = QDir(folders.userDataFolder).filePath(QStringLiteral("10Meter.adi"));
    dialogs.inputAnswers = {std::nullopt, std::nullopt};
    dialogs.fileAnswers = {chosen};
    runAdif();

    const adif_test::Document doc = adif_test::read(readFile(chosen).toStdString());
    ASSERT_EQ(doc.error, "");
    ASSERT_EQ(doc.records.size(), 3u);
    for (const auto& r : doc.records) {
        EXPECT_EQ(r.count("TX_PWR") + r.count("COMMENT"), 0u);
    }
    EXPECT_EQ(dialogs.messageTitles(), QStringList{QStringLiteral("File Written Successfully.")});
}

TEST_F(ExportFlow, AdifCancelAtTheSaveDialogEndsSilently)
{
    shipTable();
    dialogs.inputAnswers = {QStringLiteral("100"), QStringLiteral("x")};
    dialogs.fileAnswers = {std::nullopt};
    runAdif();
    EXPECT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.beeps, 0);
    EXPECT_TRUE(QDir(folders.userDataFolder).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(ExportFlow, AdifWithoutTheDxccTableStopsBeforeTheSaveDialog)
{
    dialogs.fileAnswers = {QDir(folders.userDataFolder).filePath(QStringLiteral("10Meter.adi"))};
    runAdif();
    EXPECT_EQ(dialogs.inputPrompts.size(), 2) << "both questions come first";
    EXPECT_TRUE(dialogs.saveRequests.empty());
    EXPECT_EQ(dialogs.beeps, 1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Unable to write file."));
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("ADIFCnt.txt")))
        << dialogs.messages[0].text.toStdString();
}

TEST_F(ExportFlow, AdifUnwritableTargetKeepsTheOldFileAndLeavesNoPartOfTheNewOne)
{
    shipTable();
    const QString target = root.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkpath(target));
    const QString chosen = QDir(target).filePath(QStringLiteral("10Meter.adi"));
    ASSERT_TRUE(tenlog::platform::writeFileAtomically(chosen, "an earlier export\r\n"));
    ReadOnlyFolder locked(target);
    if (!locked.available())
        GTEST_SKIP() << "this file system cannot make a folder unwritable";
    dialogs.inputAnswers = {QStringLiteral("100"), QStringLiteral("x")};
    dialogs.fileAnswers = {chosen};
    runAdif();

    EXPECT_EQ(dialogs.beeps, 1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Unable to write file."));
    EXPECT_FALSE(dialogs.messages[0].text.isEmpty()) << "the system's description of the failure";
    EXPECT_EQ(QDir(target).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("10Meter.adi")});
    EXPECT_EQ(readFile(chosen), QByteArray("an earlier export\r\n"));
}

TEST_F(ExportFlow, TessaryExportReplacesLogExpInTheWorkingFolderAndSaysSo)
{
    // An earlier export under another letter case is the same file.
    const QString earlier = QDir(folders.workingFolder).filePath(QStringLiteral("logexp.TXT"));
    ASSERT_TRUE(tenlog::platform::writeFileAtomically(earlier, "old\r\n"));
    runTessaryExport(dialogs, folders.workingFolder, records);

    EXPECT_EQ(QDir(folders.workingFolder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("logexp.TXT")});
    const QStringList lines = QString::fromLatin1(readFile(earlier)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4) << "three contacts, each line ended by CR LF";
    EXPECT_EQ(lines[0], QStringLiteral("\"K1ABC\",\"2013/12/14\",\"10\",\"CW\",,\"14:05:33\",\"599\",\"599\",,\"USA\","
                                       "\"DC\",,,,,\"ARRL 10 Meter Contest  - Section/Serial = DC\""));
    EXPECT_EQ(dialogs.beeps, 1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Export Successful!"));
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("LogExp.txt has been written to this program's working directory (c:\\program "
                             "files\\Zentlo).  Import these contacts into the Tessary program by clicking File, "
                             "Import, and navigating to this directory from the Tessary program.  Transferring "
                             "your files by ADIF is now the preferred method."));

    // An empty log writes an empty file and still reports success.
    ScriptedDialogs again;
    runTessaryExport(again, folders.workingFolder, {});
    EXPECT_TRUE(readFile(earlier).isEmpty());
    EXPECT_EQ(again.messageTitles(), QStringList{QStringLiteral("Export Successful!")});
}

TEST_F(ExportFlow, TessaryExportToAnUnwritableWorkingFolderSaysWhy)
{
    ReadOnlyFolder locked(folders.workingFolder);
    if (!locked.available())
        GTEST_SKIP() << "this file system cannot make a folder unwritable";
    runTessaryExport(dialogs, folders.workingFolder, records);
    EXPECT_EQ(dialogs.beeps, 1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Unable to write file."));
    EXPECT_FALSE(dialogs.messages[0].text.isEmpty());
    EXPECT_TRUE(QDir(folders.workingFolder).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

namespace {

// The contact list as the main window builds it: nine columns, newest first.
void fillList(QTreeWidget& list, int count, int shown)
{
    list.clear();
    list.setHeaderLabels({QStringLiteral("Rec#"), QStringLiteral("Call"), QStringLiteral("Rec"), QStringLiteral("Sec"),
                          QStringLiteral("Snt"), QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("Mo"),
                          QStringLiteral("Country")});
    for (int i = count; i > count - shown; --i)
        list.addTopLevelItem(new QTreeWidgetItem(
            QStringList{QString::number(i), QStringLiteral("K%1AB").arg(i), QStringLiteral("599"), QStringLiteral("CT"),
                        QStringLiteral("599"), QStringLiteral("12/14"), QStringLiteral("14:05"), QStringLiteral("CW"),
                        QStringLiteral("USA")}));
}

} // namespace

TEST(ListClipboard, ListedContactsOldestFirstUnderTheHeadingLine)
{
    const QString heading = QStringLiteral("Rec#\tCall\tRec\tSec\tSnt\tDate\tTime\tMo\tCountry\r\n");
    QTreeWidget list;
    fillList(list, 25, 20); // the last 20 of 25 contacts
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("stale"));
    copyListedItemsToClipboard(list);
    const QStringList lines = clipboard->text().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 22) << "heading, 20 contacts, and the final line end";
    EXPECT_EQ(lines[0] + QStringLiteral("\r\n"), heading);
    EXPECT_EQ(lines[1], QStringLiteral("6\tK6AB\t599\tCT\t599\t12/14\t14:05\tCW\tUSA"));
    EXPECT_EQ(lines[20], QStringLiteral("25\tK25AB\t599\tCT\t599\t12/14\t14:05\tCW\tUSA"));
    EXPECT_EQ(lines[21], QString());

    // After a header click the rows go out bottom to top as they now stand.
    list.sortItems(0, Qt::AscendingOrder); // as text: "10" before "9"
    const QStringList sorted = listedItemsText(list).split(QStringLiteral("\r\n"));
    EXPECT_TRUE(sorted[1].startsWith(QStringLiteral("9\t"))) << sorted[1].toStdString();
    EXPECT_TRUE(sorted[20].startsWith(QStringLiteral("10\t"))) << sorted[20].toStdString();

    fillList(list, 0, 0);
    copyListedItemsToClipboard(list);
    EXPECT_EQ(clipboard->text(), heading) << "an empty list copies the heading line only";
}
