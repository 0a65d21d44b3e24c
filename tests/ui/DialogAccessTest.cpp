// Every dialog the operator can open, driven the same way under the offscreen
// platform: a screen reader finds a name for each of its controls, and Esc
// closes it like its close box, keeping nothing that only "Done" keeps.
#include "AccessibilityAudit.h"
#include "FakeSerialDeviceList.h"
#include "FakeSerialPort.h"
#include "FakeTcpClient.h"
#include "QtPrinters.h"
#include "RecordingPortIo.h"
#include "ScriptedDialogs.h"
#include "SettableClock.h"
#include "VirtualKeyingClock.h"
#include "WavDurationPlayer.h"
#include "app/AppStartup.h"
#include "common/SharedPreferences.h"
#include "common/ui/PortDeviceRow.h"
#include "common/ui/SerialDeviceChooser.h"
#include "cw/CwKeyer.h"
#include "cw/CwStation.h"
#include "cw/WinKeyDriver.h"
#include "cw/WinKeyStation.h"
#include "cw/ui/CodePracticeWindow.h"
#include "cw/ui/WinKeySetupWindow.h"
#include "app/ui/LogoWindow.h"
#include "bandplan/ui/PrivilegesWindow.h"
#include "export/ui/CabrilloDialog.h"
#include "graph/ui/RateGraphWindow.h"
#include "geo/PrefixTable.h"
#include "log/ContestLog.h"
#include "log/Prefs.h"
#include "log/ui/ColourDialog.h"
#include "log/ui/EditContactDialog.h"
#include "log/ui/HelpWindow.h"
#include "log/ui/StationIdDialog.h"
#include "platform/ComPortMapFile.h"
#include "platform/qt/QtSettingsStore.h"
#include "rig/RigControl.h"
#include "rig/ui/CommandTester.h"
#include "rig/ui/TuningPanel.h"
#include "spots/SpotStore.h"
#include "spots/ui/SpectrumMapWindow.h"
#include "voice/VoiceNavigation.h"
#include "voice/ui/VoiceNavigationDialog.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include "TestFolders.h"
#include "../graph/GraphContacts.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace tenlog;

namespace {

log::QsoRecord rec(const char* call, const char* mode)
{
    return {QString::fromLatin1(call), QStringLiteral("599"), QStringLiteral("CT"), QStringLiteral("599"),
            QStringLiteral("USA"), QStringLiteral("2013/12/14"), QStringLiteral("14:05:33"),
            QString::fromLatin1(mode), QStringLiteral("28.025")};
}

// What every dialog needs, on real files in a temporary folder.
class DialogAccessTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        folders = tenlog::testing::makeFoldersUnder(root.path());
        records = {rec("W1AW", "CW"), rec("K1ABC", "PH")};
        const QString logPath = log::LogFile::pathIn(folders.workingFolder);
        ASSERT_TRUE(log::LogFile(logPath).rewrite(records));
        contest = std::make_unique<log::ContestLog>(logPath);
        ASSERT_FALSE(contest->reload().has_value());
        ASSERT_TRUE(prefixes.loadData("\"VE\",\"Canada\",\"NA\",78.75,44.35,5,9,5\r\n"));
        shared.load(folders.sharedPreferencesPath());
        const QDir data(QStringLiteral(TENLOG_SOURCE_DATA_DIR));
        for (const char* name : {"Call.wav", "NavDis.wav", "NavEn.wav", "BandPlan.txt"}) {
            const QString file = QString::fromLatin1(name);
            ASSERT_TRUE(QFile::copy(data.filePath(file), QDir(folders.workingFolder).filePath(file)));
        }
        navigation = std::make_unique<voice::VoiceNavigation>(player, folders.workingFolder, [] { return 1; });
        rig = std::make_unique<rig::RigControl>(port, daemon, folders.workingFolder, folders.workingFolder);
        prefs.OwnCall = QStringLiteral("W1AW");
        for (const auto& [call, mhz] : {std::pair{"VE3AA", 14.025f}, std::pair{"K1AB", 28.3f}}) {
            spots::Spot spot;
            spot.call = QString::fromLatin1(call);
            spot.frequencyMhz = mhz;
            spot.time = clock.localNow();
            spotStore.push(spot);
        }
        serialDevices.devices = {tenlog::testing::kFtdiAdapter};
    }
    void TearDown() override
    {
        delete window; // the logo window deletes itself on closing, so window may be gone already
        QDir::setCurrent(QDir::tempPath());
    }

    // Builds the named dialog, shows it and waits until it has the keyboard.
    void open(const QString& which)
    {
        if (which == QLatin1String("summary sheet"))
            window = new exports::CabrilloDialog({*contest, prefs, dialogs, settings, shared, folders});
        else if (which == QLatin1String("station identity"))
            window = new log::StationIdDialog(prefs, prefixes, dialogs, shared);
        else if (which == QLatin1String("edit contact"))
            window = new log::EditContactDialog(records, 2, prefixes, dialogs);
        else if (which == QLatin1String("multiplier colours"))
            window = new log::ColourDialog(0xFF, 0xFF00, dialogs);
        else if (which == QLatin1String("help"))
            window = new log::HelpWindow(folders.workingFolder, dialogs);
        else if (which == QLatin1String("voice navigation"))
            window = new voice::VoiceNavigationDialog(*navigation, dialogs);
        else if (which == QLatin1String("privileges"))
            window = new bandplan::PrivilegesWindow(folders.workingFolder, dialogs);
        else if (which == QLatin1String("rate graph"))
            window = new graph::RateGraphWindow(tenlog::testing::sevenSpacedContacts(), dialogs);
        else if (which == QLatin1String("tuning panel"))
            window = new rig::TuningPanel(*rig, dialogs);
        else if (which == QLatin1String("command tester"))
            window = new rig::CommandTester(*rig, dialogs);
        else if (which == QLatin1String("serial device chooser"))
            window = new common::SerialDeviceChooser(portDevices, 3);
        else if (which == QLatin1String("spectrum map"))
            window = new spots::SpectrumMapWindow(spotStore, clock, [] { return 5.0f; });
        else if (which == QLatin1String("winkey setup"))
            window = new cw::WinKeySetupWindow(winKey, dialogs, &portDevices, [] { return QStringLiteral("W1AW"); });
        else if (which == QLatin1String("code practice"))
            window = new cw::CodePracticeWindow(cwStation, [] { return 0.5; });
        else if (which == QLatin1String("logo"))
            window = new app::LogoWindow(root.filePath(QStringLiteral("Korvo Software")));
        ASSERT_TRUE(window) << which.toStdString();
        window->show();
        // A splash window is never activated; it only has to be on screen.
        if (qobject_cast<QDialog*>(window))
            ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        else
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }

    // The first line edit, typed into as an operator would before changing their mind.
    void typeIntoFirstBox()
    {
        if (auto* box = window->findChild<QLineEdit*>()) {
            box->setFocus();
            QTest::keyClicks(box, QStringLiteral("k9zzz"));
        }
    }

    QTemporaryDir root;
    common::AppFolders folders;
    QList<log::QsoRecord> records;
    std::unique_ptr<log::ContestLog> contest;
    geo::PrefixTable prefixes;
    log::Prefs prefs;
    tenlog::testing::ScriptedDialogs dialogs;
    platform::QtSettingsStore settings{root.filePath(QStringLiteral("config"))};
    common::SharedPreferences shared;
    tenlog::testing::SettableClock clock;
    tenlog::testing::WavDurationPlayer player{clock};
    std::unique_ptr<voice::VoiceNavigation> navigation;
    tenlog::testing::FakeSerialPort port;
    tenlog::testing::FakeTcpClient daemon;
    std::unique_ptr<rig::RigControl> rig;
    spots::SpotStore spotStore;
    tenlog::testing::FakeSerialDeviceList serialDevices;
    platform::ComPortMapFile portMap {root.filePath(QStringLiteral("ComPorts.txt")), root.path()};
    common::PortDevices portDevices {portMap, serialDevices};
    tenlog::testing::VirtualKeyingClock keyingClock;
    cw::CwKeyer keyer {keyingClock};
    tenlog::testing::FakeSerialPort cwPort;
    tenlog::testing::FakeSerialPort pttPort;
    tenlog::testing::FakeSerialPort winKeyPort;
    tenlog::testing::RecordingPortIo parallel;
    cw::CwStation cwStation {{keyer, cwPort, pttPort, parallel, [] { return QString(); }}};
    cw::WinKeyDriver winKeyDriver {winKeyPort};
    cw::WinKeyStation winKey {{winKeyDriver, keyer, cwPort, pttPort, folders.userDataFolder}};
    QPointer<QWidget> window;
};

const char* const kWindows[] = {"summary sheet", "station identity", "edit contact", "multiplier colours",
                                "help", "voice navigation", "privileges", "rate graph", "tuning panel", "command tester",
                                "serial device chooser", "spectrum map", "winkey setup", "code practice", "logo"};

std::string testName(const ::testing::TestParamInfo<const char*>& info)
{
    std::string name = info.param;
    for (char& c : name)
        if (c == ' ')
            c = '_';
    return name;
}

} // namespace

TEST_P(DialogAccessTest, EveryControlHasAnAccessibleName)
{
    open(QString::fromLatin1(GetParam()));
    EXPECT_EQ(tenlog::testing::controlsWithoutAccessibleName(window), QStringList());
}

TEST_P(DialogAccessTest, EscClosesWithoutKeepingWhatOnlyDoneKeeps)
{
    open(QString::fromLatin1(GetParam()));
    typeIntoFirstBox();
    QWidget* focused = QApplication::focusWidget();
    QTest::keyClick(focused ? focused : window.data(), Qt::Key_Escape);
    ASSERT_TRUE(!window || !window->isVisible()) << GetParam();

    if (auto* dialog = qobject_cast<QDialog*>(window)) {
        // The voice navigation level, for one, is kept only when Accepted.
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
    }
    // Nothing asked, written or remembered on the way out.
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.saveRequests.empty());
    EXPECT_FALSE(QFile::exists(folders.sharedPreferencesPath()));
    EXPECT_FALSE(QFile::exists(portMap.filePath())) << "no port mapped";
    EXPECT_FALSE(QFile::exists(QDir(folders.userDataFolder).filePath(QStringLiteral("WK.txt"))));
    EXPECT_TRUE(settings.value(QStringLiteral("Korvo_Software"), QStringLiteral("Settings"),
                               QStringLiteral("UserAddressName"), QString())
                    .isEmpty());
    if (auto* edit = qobject_cast<log::EditContactDialog*>(window)) {
        EXPECT_EQ(edit->outcome(), log::EditContactDialog::Outcome::Cancelled);
        EXPECT_EQ(edit->editedRecord(), records.at(1));
    }
}

INSTANTIATE_TEST_SUITE_P(AllDialogs, DialogAccessTest, ::testing::ValuesIn(kWindows), testName);
