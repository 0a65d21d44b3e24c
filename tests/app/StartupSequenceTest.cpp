// The whole start-up on the offscreen platform with a temporary home.
#include "app/ui/LogoWindow.h"
#include "app/ui/StartupSequence.h"
#include "station/MainWindow.h"
#include "platform/DurableFile.h"
#include "platform/WorkingFolderLock.h"
#include "platform/qt/PpdevPortIo.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/QtTcpClient.h"

#include "ReadOnlyFolder.h"
#include "ScriptedDialogs.h"
#include "SettableClock.h"
#include "TempPaths.h"
#include "WavDurationPlayer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

using namespace tenlog;

class StartupSequenceTest : public ::testing::Test {
protected:
    tenlog::testing::TempPaths paths;
    tenlog::testing::ScriptedDialogs dialogs;
    tenlog::testing::SettableClock clock;
    platform::QtSettingsStore settings{paths.root() + QStringLiteral("/config")};
    tenlog::testing::WavDurationPlayer player{clock};
};

TEST_F(StartupSequenceTest, FirstStartCreatesFoldersShowsLogoThenMainWindow)
{
    app::StartupSequence startup({clock, dialogs, settings, paths, player, {}, {}, {}, {}});
    station::MainWindow* main = startup.run();
    ASSERT_NE(main, nullptr);

    const QString company = paths.myDocumentsFolder() + QStringLiteral("/Korvo Software");
    EXPECT_TRUE(QFileInfo(company + QStringLiteral("/10 Meter/BACKUP")).isDir());
    EXPECT_TRUE(QFileInfo(company + QStringLiteral("/Shared")).isDir());
    EXPECT_TRUE(QFile::exists(paths.workingFolder() + QStringLiteral("/tnpref.txt")));
    EXPECT_EQ(startup.folders().sharedPreferencesPath(),
              company + QStringLiteral("/Shared/SharedUserPreferences.xml"));

    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->objectName(), QStringLiteral("Form1"));
    EXPECT_TRUE(main->windowTitle().startsWith(QStringLiteral("TenLog 10 Meter Contest Log ")));
    EXPECT_EQ(main->windowTitle(), station::mainWindowCaption());

    // The logo shows over the main window and closes on its timer.
    QPointer<app::LogoWindow> logo = startup.logo();
    ASSERT_FALSE(logo.isNull());
    EXPECT_TRUE(logo->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(logo.isNull(), 5000);
    EXPECT_TRUE(main->isVisible());
    // The main window's load sequence ran on the seeded files: the station
    // dialog and the continue question, and nothing went wrong.
    EXPECT_EQ(dialogs.modalRuns, 1);
    EXPECT_EQ(dialogs.messageTitles(), QStringList{QStringLiteral("Open existing log?")});

    // The shared preferences document is loaded and written where expected.
    auto& shared = startup.sharedPreferences();
    EXPECT_EQ(shared.text(), common::SharedPreferences::declaration());
    ASSERT_TRUE(shared.setValue(QStringLiteral("OWN_CALL"), QStringLiteral("K1ABC"), true));
    QFile xml(startup.folders().sharedPreferencesPath());
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    EXPECT_EQ(xml.readAll(), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<OWN_CALL>K1ABC</OWN_CALL>\r\n"));
}

TEST_F(StartupSequenceTest, BrokenSharedPreferencesAndUnwritableDocumentsStillStart)
{
    // A shared preferences file that is not XML at all.
    const QString shared = paths.myDocumentsFolder() + QStringLiteral("/Korvo Software/Shared");
    QDir().mkpath(shared);
    QFile junk(shared + QStringLiteral("/SharedUserPreferences.xml"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("\x01\x02 garbage");
    junk.close();
    // ... and a documents area that cannot take the "10 Meter" folder.
    tenlog::testing::ReadOnlyFolder readOnly(paths.myDocumentsFolder() + QStringLiteral("/Korvo Software"));
    if (!readOnly.available())
        GTEST_SKIP() << "this file system cannot make a folder read-only";
    paths.m_appData = paths.root() + QStringLiteral("/data-home");

    app::StartupSequence startup({clock, dialogs, settings, paths, player, {}, {}, {}, {}});
    station::MainWindow* main = startup.run();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(dialogs.messageTitles().contains(QStringLiteral("User Access Directory Error")));
    EXPECT_TRUE(QFileInfo(startup.folders().backupFolder()).isDir());
}

TEST_F(StartupSequenceTest, ASecondCopyOnTheSameFolderEndsWithoutTouchingAFile)
{
    platform::WorkingFolderLock firstCopy(paths.workingFolder());
    ASSERT_EQ(firstCopy.acquire(), platform::WorkingFolderLock::Result::Held);
    const QStringList before = QDir(paths.workingFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    app::StartupSequence second({clock, dialogs, settings, paths, player, {}, {}, {}, {}});
    EXPECT_EQ(second.run(), nullptr);
    ASSERT_EQ(dialogs.messageTitles(), QStringList{QStringLiteral("Log In Use")});
    EXPECT_TRUE(dialogs.messages.back().text.contains(QStringLiteral("(process %1)").arg(QCoreApplication::applicationPid())));
    EXPECT_EQ(QDir(paths.workingFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before)
        << "nothing seeded, nothing written";
    EXPECT_EQ(second.logo(), nullptr) << "not even the logo";
}

TEST_F(StartupSequenceTest, DamagedKeyerSettingsAreSaidOnceAndStartUpGoesOn)
{
    QDir().mkpath(paths.workingFolder());
    for (const char* name : {"CW.txt", "wave2.txt"}) {
        QFile damaged(QDir(paths.workingFolder()).filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write("\"CQ TEST\"\r\n\"TU\"\r\n"); // cut off after two lines
    }
    const QString userData = paths.myDocumentsFolder() + QStringLiteral("/Korvo Software/10 Meter");
    QDir().mkpath(userData);
    QFile keyer(userData + QStringLiteral("/WK.txt"));
    ASSERT_TRUE(keyer.open(QIODevice::WriteOnly));
    keyer.write("5\r\n\"20\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"50\"\r\n99\r\n"); // no such pin configuration
    keyer.close();
    const QDir devices(paths.root());
    app::StartupSequence startup({clock, dialogs, settings, paths, player,
                                  [](std::shared_ptr<const platform::ComPortMap> ports) { return std::make_unique<platform::QtSerialPort>(std::move(ports)); },
                                  {},
                                  [&] { return std::make_unique<platform::PpdevPortIo>(devices.path()); },
                                  [this] { return std::make_unique<tenlog::testing::WavDurationPlayer>(clock); }});
    station::MainWindow* main = startup.run();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->isVisible());
    ASSERT_EQ(dialogs.messageTitles(), (QStringList {QStringLiteral("Open existing log?"), QStringLiteral("Settings Files")}));
    const QString text = dialogs.messages.back().text;
    for (const char* said : {"wave2.txt ends after 2 of its 13 values", "CW.txt ends after 2 of its 18 values",
                             "Check Voice Setup", "Check CW Setup", "WK.txt line 7: the pin configuration is \"99\", not 4, 5, 6 or 8",
                             "Check WinKey Setup"})
        EXPECT_TRUE(text.contains(QLatin1String(said))) << said << " not in: " << text.toStdString();
}

// Every damaged settings file is named, with its line and fault, in one
// message once start-up is done, and the log still loads; the clean-up of
// crash leftovers takes only the program's own.
TEST_F(StartupSequenceTest, DamagedSettingsFilesAreSaidTogetherAndOnlyOwnLeftoversGo)
{
    const QDir work(paths.workingFolder());
    QDir().mkpath(work.path());
    const auto write = [](const QString& path, const QByteArray& data) { ASSERT_TRUE(platform::writeFileAtomically(path, data)); };
    write(work.filePath(QStringLiteral("tnpref.txt")), "<html>gone</html>\r\n");
    write(work.filePath(QStringLiteral("RigCntrl.txt")),
          "\"9600 \"\r\n\"N\"\r\n\"8\"\r\n\"1\"\r\n\"\"\r\n\"FA;\"\r\n\"9600,N,8,1\"\r\n3\r\n\"N\"\r\n\"M\"\r\n\"Kenwood\"\r\n0\r\nyes\r\n1\r\n");
    write(work.filePath(QStringLiteral("log.txt")), "\"K1ABC\",\"599\",\"CT\",\"599\",\"USA\",\"2013/12/14\",\"14:05:33\",\"CW\",\"\"\r\n");
    write(work.filePath(QStringLiteral(".notes.tmp-abcdef")), "the operator's own");
    write(work.filePath(QStringLiteral(".log.txt.tmp-abc123")), "left by a crash");
    const QString userData = paths.myDocumentsFolder() + QStringLiteral("/Korvo Software/10 Meter");
    QDir().mkpath(userData);
    write(userData + QStringLiteral("/ComPorts.txt"), "COM3=ttyUSB0\r\n");

    app::StartupSequence startup({clock, dialogs, settings, paths, player,
                                  [](std::shared_ptr<const platform::ComPortMap> ports) { return std::make_unique<platform::QtSerialPort>(std::move(ports)); },
                                  [] { return std::make_unique<platform::QtTcpClient>(); }, {}, {}});
    station::MainWindow* main = startup.run();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->findChild<QLabel*>(QStringLiteral("lblTotCon"))->text(), QStringLiteral("1")) << "the log loaded";

    ASSERT_EQ(dialogs.messageTitles(), (QStringList{QStringLiteral("Open existing log?"), QStringLiteral("Settings Files")}));
    const QString text = dialogs.messages.back().text;
    const QString tnpref = work.filePath(QStringLiteral("tnpref.txt"));
    for (const QString& said :
         {userData + QStringLiteral("/ComPorts.txt line 1: the device of COM3, \"ttyUSB0\", is not a full path"),
          work.filePath(QStringLiteral("RigCntrl.txt")) + QStringLiteral(" line 13: \"Use Frequency\" is \"yes\", not 0 or 1"),
          tnpref + QStringLiteral(" line 1: your call sign (OwnCall) is \"<html>gone</html>\", not text in quotes"),
          QStringLiteral("was renamed to ") + tnpref + QStringLiteral(".damaged-")})
        EXPECT_TRUE(text.contains(said)) << said.toStdString() << " not in: " << text.toStdString();

    EXPECT_TRUE(QFile::exists(work.filePath(QStringLiteral(".notes.tmp-abcdef"))));
    EXPECT_FALSE(QFile::exists(work.filePath(QStringLiteral(".log.txt.tmp-abc123"))));
}
