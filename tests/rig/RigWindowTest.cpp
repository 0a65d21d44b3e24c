// The radio as an operator sets it up and uses it: the real main window and
// setup window, the real serial port on a pseudo-terminal, and a radio
// emulator at its far end.
#include "../station/MainWindowFixture.h"

#include "common/ui/PortDeviceRow.h"
#include "platform/ComPortMap.h"
#include "platform/ComPortMapFile.h"
#include "platform/qt/QtChildProcess.h"
#include "platform/qt/QtSerialDeviceList.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtTcpClient.h"
#include "rig/RigControl.h"
#include "rig/RigSettings.h"
#include "rig/RigctldDaemon.h"
#include "rig/RigctldPoller.h"
#include "rig/ui/RigSetupWindow.h"

#include "AccessibilityAudit.h"
#include "FakeTcpClient.h"
#include "RadioEmulatorProcess.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QGroupBox>

#include <optional>
#include <signal.h>

namespace {

using tenlog::testing::RadioEmulatorProcess;

class RigWindowTest : public MainWindowTest {
protected:
    // The window goes before the radio link it uses.
    void TearDown() override { window.reset(); }

    // The port is mapped through a link in the user data folder, so a test
    // can point it at a new emulator as a replugged cable would come back.
    QString linkPath() const { return paths.root() + QStringLiteral("/radio-link"); }

    void pointLinkAt(const QString& pty)
    {
        QFile::remove(linkPath());
        ASSERT_TRUE(QFile::link(pty, linkPath()));
    }

    // ComPorts.txt maps COM3 to the emulator; the link object is made as the
    // program makes it.
    void connectRadio(RadioEmulatorProcess& radio)
    {
        ASSERT_TRUE(radio.start()) << radio.error().toStdString();
        pointLinkAt(radio.ptyPath());
        QDir().mkpath(paths.root() + QStringLiteral("/user"));
        const QString map = paths.root() + QStringLiteral("/user/ComPorts.txt");
        QFile file(map);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("COM3=" + linkPath().toLocal8Bit() + "\r\nCOM7=" + paths.root().toLocal8Bit() + "/no-such-tty\r\n");
        file.close();
        port.emplace(platform::ComPortMap::readFrom(map, QDir::homePath()));
        control.emplace(*port, daemon, paths.workingFolder(), paths.root());
        rigControl = &*control;
    }

    void storeRadio(const char* rigName)
    {
        rig::RigSettings stored;
        rig::applyRigProfile(stored, *rig::findRigProfile(QString::fromLatin1(rigName)));
        stored.commPortNumber = 3;
        stored.pollRateCode = QStringLiteral("F");
        ASSERT_TRUE(rig::saveRigSettings(paths.workingFolder(), stored));
        log::Prefs prefs = *log::loadPrefs(paths.workingFolder());
        prefs.RigName = QString::fromLatin1(rigName);
        log::savePrefs(paths.workingFolder(), prefs);
    }

    rig::RigSetupWindow* setupWindow() const { return window->findChild<rig::RigSetupWindow*>(); }
    template <typename T = QWidget>
    T* inSetup(const char* name) const
    {
        T* w = setupWindow()->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString setupText(const char* name) const { return inSetup<QLabel>(name)->text(); }
    // The radio's line beside the mode.
    QString radioStatus() const
    {
        const QLabel* line = window->findChild<QLabel*>(QStringLiteral("radioLinkStatus"));
        return line && !line->isHidden() ? line->accessibleName() : QString();
    }

    static bool waitFor(const std::function<bool()>& condition, int ms = 5000)
    {
        return RadioEmulatorProcess::waitFor(condition, ms);
    }

    tenlog::testing::FakeTcpClient daemon;
    std::optional<platform::ComPortMapFile> mapping;
    std::optional<platform::QtSerialDeviceList> deviceList;
    std::optional<common::PortDevices> devices;
    std::optional<platform::QtSerialPort> port;
    std::optional<rig::RigControl> control;
};

TEST_F(RigWindowTest, ChosenTestedAndFollowedIntoTheLog)
{
    RadioEmulatorProcess radio(QStringLiteral(TENLOG_KENWOOD_EMULATOR));
    connectRadio(radio);
    ASSERT_TRUE(radio.command(QStringLiteral("freq 28.025500")));
    ASSERT_TRUE(radio.command(QStringLiteral("mode CW")));
    scriptStation();
    ASSERT_TRUE(start());
    EXPECT_EQ(setupWindow(), nullptr) << "no radio chosen: the window is made on first use";

    // Ctrl+R opens the window; the operator picks the radio, its port and a fast rate.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::ControlModifier);
    ASSERT_NE(setupWindow(), nullptr);
    ASSERT_TRUE(setupWindow()->isVisible());
    auto* radios = inSetup<QListWidget>("List1");
    radios->setCurrentItem(radios->findItems(QStringLiteral("Kenwood"), Qt::MatchExactly).front());
    EXPECT_EQ(inSetup<QLineEdit>("txtFreq")->text(), QStringLiteral("FA;"));
    EXPECT_TRUE(inSetup<QRadioButton>("optBaud48")->isChecked());
    EXPECT_TRUE(inSetup<QRadioButton>("optStop2")->isChecked());
    inSetup<QRadioButton>("optComm_2")->click();
    inSetup<QRadioButton>("optPollFast")->click();
    inSetup<QPushButton>("Command1")->click();
    EXPECT_TRUE(inSetup<QLabel>("Label2")->isVisible()) << "Polling Rig";
    ASSERT_TRUE(waitFor([&] { return setupText("lblFreq") == QStringLiteral("28.02550"); }))
        << setupText("lblFreq").toStdString();
    EXPECT_EQ(setupText("lblMode"), QStringLiteral("CW"));
    EXPECT_TRUE(setupText("lblUnProcess").contains(QStringLiteral("FA00028025500;")));
    EXPECT_TRUE(radio.received().contains(QStringLiteral("46 41 3B"))) << "FA; went out as typed";
    inSetup<QPushButton>("Command4")->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), setupText("lblUnProcess"));

    // A radio that floods noise or sends garbage: the last good reading
    // stays, polling goes on, and a good reply is taken again afterwards.
    for (const char* fault : {"fault noise64k", "fault garbage"}) {
        ASSERT_TRUE(radio.command(QString::fromLatin1(fault)));
        QTest::qWait(400);
        EXPECT_EQ(setupText("lblFreq"), QStringLiteral("28.02550")) << fault;
        EXPECT_TRUE(control->isPolling()) << fault;
    }
    ASSERT_TRUE(radio.command(QStringLiteral("fault none")));
    ASSERT_TRUE(radio.command(QStringLiteral("freq 28.030000")));
    ASSERT_TRUE(waitFor([&] { return setupText("lblFreq") == QStringLiteral("28.03000"); }));

    inSetup<QPushButton>("cmdDone")->click();
    EXPECT_FALSE(setupWindow()->isVisible());
    EXPECT_EQ(log::loadPrefs(paths.workingFolder())->RigName, QStringLiteral("Kenwood"));
    rig::RigSettings saved;
    ASSERT_EQ(rig::loadRigSettings(paths.workingFolder(), saved), 19);
    EXPECT_EQ(saved.commPortNumber, 3);
    EXPECT_EQ(saved.baudRate, QStringLiteral("4800 "));
    EXPECT_EQ(saved.pollRateCode, QStringLiteral("F"));
    EXPECT_TRUE(control->isPolling()) << "Done starts polling again with what was chosen";

    // The radio goes to phone higher up the band: the log follows, and the
    // next contact carries the radio's frequency.
    ASSERT_TRUE(radio.command(QStringLiteral("freq 28.450000")));
    ASSERT_TRUE(radio.command(QStringLiteral("mode USB")));
    ASSERT_TRUE(waitFor([&] { return window->session().prefs().CurrentMode == QLatin1String("PH"); }));
    ASSERT_TRUE(waitFor([&] { return window->session().pendingFrequency() == QLatin1String("28.450"); }))
        << window->session().pendingFrequency().toStdString();
    find<QPushButton>("cmdLogOn")->click();
    QApplication::setActiveWindow(window.get()); // the setup window has gone
    find<QLineEdit>("txtCall")->setFocus();
    type(QStringLiteral("K1ABC 59 CT\n"));
    const QByteArray log = fileBytes(work("log.txt"));
    EXPECT_TRUE(log.endsWith("\"PH\",\"28.450\"\r\n")) << log.toStdString();
}

TEST_F(RigWindowTest, ADeviceChosenForTheRigPortIsPolledAtOnce)
{
    RadioEmulatorProcess radio(QStringLiteral(TENLOG_KENWOOD_EMULATOR));
    ASSERT_TRUE(radio.start()) << radio.error().toStdString();
    ASSERT_TRUE(radio.command(QStringLiteral("freq 28.074000")));
    // The adapter as udev names it, here a link to the emulator's terminal.
    const QString byId = paths.root() + QStringLiteral("/by-id");
    const QString adapter = byId + QStringLiteral("/usb-Test_Radio_Link_R1-if00-port0");
    ASSERT_TRUE(QDir().mkpath(byId));
    ASSERT_TRUE(QFile::link(radio.ptyPath(), adapter));
    // The program's own pieces: the shared mapping, its ports and the listing.
    mapping.emplace(paths.root() + QStringLiteral("/user/ComPorts.txt"), QDir::homePath());
    deviceList.emplace(byId, paths.root() + QStringLiteral("/no-sysfs"));
    devices.emplace(common::PortDevices {*mapping, *deviceList});
    port.emplace(mapping->map());
    control.emplace(*port, daemon, paths.workingFolder(), paths.root());
    rigControl = &*control;
    portDevices = &*devices;
    scriptStation();
    ASSERT_TRUE(start());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::ControlModifier);
    auto* radios = inSetup<QListWidget>("List1");
    radios->setCurrentItem(radios->findItems(QStringLiteral("Kenwood"), Qt::MatchExactly).front());
    inSetup<QRadioButton>("optComm_2")->click();
    inSetup<QRadioButton>("optPollFast")->click();

    // Choose..., the adapter, Use (the chooser's keys are its own test's).
    dialogs.modalScripts.push_back([](QDialog* chooser) {
        auto* list = chooser->findChild<QListWidget*>(QStringLiteral("lstSerialDevices"));
        list->setCurrentItem(list->findItems(QStringLiteral("Test Radio Link R1"), Qt::MatchContains).value(0));
        chooser->accept();
        return chooser->result();
    });
    inSetup<QPushButton>("cmdChoosePortDevice")->click();
    EXPECT_EQ(setupText("lblPortDevice"), QStringLiteral("COM3 = %1 (Test Radio Link R1)").arg(radio.ptyPath()));

    // The port made at start-up opens the new device: no restart.
    inSetup<QPushButton>("Command1")->click();
    ASSERT_TRUE(waitFor([&] { return setupText("lblFreq") == QStringLiteral("28.07400"); }))
        << setupText("lblFreq").toStdString();
}

TEST_F(RigWindowTest, PollingStartsAtLoadAndSurvivesThePulledCable)
{
    RadioEmulatorProcess radio(QStringLiteral(TENLOG_ICOM_EMULATOR));
    connectRadio(radio);
    ASSERT_TRUE(radio.command(QStringLiteral("freq 28.475000")));
    storeRadio("Icom");
    scriptStation();
    ASSERT_TRUE(start());
    ASSERT_NE(setupWindow(), nullptr);
    EXPECT_FALSE(setupWindow()->isVisible()) << "started from the stored radio, out of sight";
    ASSERT_TRUE(waitFor([&] { return window->session().pendingFrequency() == QLatin1String("28.475"); }))
        << window->session().pendingFrequency().toStdString();
    EXPECT_EQ(radioStatus(), QStringLiteral("Radio: 28.47500 MHz"));

    // The cable is pulled: said on the main window with a beep, no box, and
    // the next contact would carry no frequency.
    const size_t messages = dialogs.messages.size();
    const int beeps = dialogs.beeps;
    radio.kill();
    QFile::remove(linkPath()); // its pseudo-terminal's name may soon be another's
    ASSERT_TRUE(waitFor([&] { return radioStatus().startsWith(QLatin1String("Radio: COM3 not available, retrying")); }))
        << radioStatus().toStdString();
    EXPECT_TRUE(textOf("lblDialog").startsWith(QStringLiteral("Radio link lost, retrying by itself: COM3")))
        << textOf("lblDialog").toStdString();
    EXPECT_EQ(dialogs.beeps, beeps + 1);
    EXPECT_EQ(dialogs.messages.size(), messages);
    EXPECT_TRUE(window->session().pendingFrequency().isEmpty());

    // Plugged in again (the same device name): found without the operator.
    RadioEmulatorProcess again(QStringLiteral(TENLOG_ICOM_EMULATOR));
    ASSERT_TRUE(again.start());
    ASSERT_TRUE(again.command(QStringLiteral("freq 28.030000")));
    pointLinkAt(again.ptyPath());
    ASSERT_TRUE(waitFor([&] { return window->session().pendingFrequency() == QLatin1String("28.030"); }, 10000));
    EXPECT_EQ(radioStatus(), QStringLiteral("Radio: 28.03000 MHz"));
    EXPECT_EQ(dialogs.messages.size(), messages);
    EXPECT_EQ(dialogs.beeps, beeps + 1);
}

TEST_F(RigWindowTest, ClosingTheProgramTellsAPolledYaesuTheLinkEnds)
{
    RadioEmulatorProcess radio(QStringLiteral(TENLOG_YAESU_EMULATOR), {QStringLiteral("--model"), QStringLiteral("990")});
    connectRadio(radio);
    storeRadio("Yaesu 990");
    scriptStation();
    ASSERT_TRUE(start());
    ASSERT_TRUE(radio.waitForReceived(2)) << "the wake-up bytes and a status request";
    EXPECT_EQ(radio.received().front(), QStringLiteral("00 00 00 00 00"));
    window->close();
    EXPECT_TRUE(waitFor([&] { return radio.received().back() == QLatin1String("00 00 00 00 80"); }))
        << radio.received().join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(control->isPolling());
}

TEST_F(RigWindowTest, APortMissingAtLoadIsSaidAndTriedAgainWithoutAWindow)
{
    RadioEmulatorProcess radio(QStringLiteral(TENLOG_KENWOOD_EMULATOR));
    connectRadio(radio);
    storeRadio("Kenwood");
    rig::RigSettings stored;
    rig::loadRigSettings(paths.workingFolder(), stored);
    stored.commPortNumber = 7; // mapped to a device that is not there yet
    ASSERT_TRUE(rig::saveRigSettings(paths.workingFolder(), stored));
    scriptStation();
    ASSERT_TRUE(start());
    EXPECT_EQ(dialogs.modalRuns, 1) << "only the station dialog: the rig window does not open by itself";
    EXPECT_EQ(dialogs.messageTitles(), QStringList{"Open existing log?"});
    EXPECT_FALSE(setupWindow()->isVisible());
    EXPECT_EQ(focused(), QStringLiteral("txtCall"));
    EXPECT_TRUE(textOf("lblDialog").startsWith(QStringLiteral("The radio link could not be opened, retrying by "
                                                              "itself: COM7")))
        << textOf("lblDialog").toStdString();
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_TRUE(radioStatus().startsWith(QStringLiteral("Radio: COM7 not available, retrying in"))) << radioStatus().toStdString();

    // The interface is plugged in: polled without the operator.
    ASSERT_TRUE(QFile::link(radio.ptyPath(), paths.root() + QStringLiteral("/no-such-tty")));
    ASSERT_TRUE(waitFor([&] { return window->session().pendingFrequency() == QLatin1String("28.475"); }, 10000));
    EXPECT_EQ(radioStatus(), QStringLiteral("Radio: 28.47500 MHz"));

    // Test pressed in the setup window on a port that is gone again is said
    // there, where the operator is looking; still no window of its own.
    QFile::remove(paths.root() + QStringLiteral("/no-such-tty"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::ControlModifier);
    ASSERT_TRUE(setupWindow()->isVisible());
    inSetup<QPushButton>("Command1")->click();
    const auto invalid = std::find_if(dialogs.messages.begin(), dialogs.messages.end(), [](const auto& m) {
        return m.title == QLatin1String("Invalid Comm Settings.");
    });
    ASSERT_NE(invalid, dialogs.messages.end());
    EXPECT_TRUE(invalid->text.startsWith(QStringLiteral("The comm port that you selected for rig interface is either "
                                                        "in use, invalid or the settings")));
    EXPECT_TRUE(invalid->text.contains(QStringLiteral("COM7"))) << "the reason names the port";
    EXPECT_EQ(dialogs.modalRuns, 1);
    EXPECT_FALSE(control->isRunning());
    EXPECT_FALSE(inSetup<QPushButton>("Command2")->isEnabled());
    EXPECT_TRUE(radioStatus().isEmpty());
}

TEST_F(RigWindowTest, ARadioThatFallsSilentWhileACallIsTypedTakesNoKeys)
{
    RadioEmulatorProcess radio(QStringLiteral(TENLOG_KENWOOD_EMULATOR));
    connectRadio(radio);
    ASSERT_TRUE(radio.command(QStringLiteral("freq 28.600000")));
    ASSERT_TRUE(radio.command(QStringLiteral("mode CW")));
    storeRadio("Kenwood");
    scriptStation();
    ASSERT_TRUE(start());
    ASSERT_TRUE(waitFor([&] { return radioStatus() == QLatin1String("Radio: 28.60000 MHz"); }))
        << radioStatus().toStdString();
    find<QPushButton>("cmdLogOn")->click();
    find<QLineEdit>("txtCall")->setFocus();

    // The radio goes quiet between two keys of the call.
    const int modalRuns = dialogs.modalRuns;
    const size_t messages = dialogs.messages.size();
    type(QStringLiteral("K1A"));
    ASSERT_TRUE(radio.command(QStringLiteral("fault silent")));
    ASSERT_TRUE(waitFor([&] { return radioStatus() == QLatin1String("Radio: not answering"); }, 10000))
        << radioStatus().toStdString();
    type(QStringLiteral("BC"));
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("K1ABC"));
    EXPECT_EQ(focused(), QStringLiteral("txtCall"));
    EXPECT_EQ(dialogs.modalRuns, modalRuns);
    EXPECT_EQ(dialogs.messages.size(), messages);
    QLabel* status = find<QLabel>("radioLinkStatus");
    EXPECT_EQ(status->accessibleName(), QStringLiteral("Radio: not answering"));
    EXPECT_TRUE(status->accessibleDescription().contains(QStringLiteral("without a frequency")));
    type(QStringLiteral(" 59 CT\n"));
    QByteArray log = fileBytes(work("log.txt"));
    EXPECT_TRUE(log.startsWith("\"K1ABC\"")) << log.toStdString();
    EXPECT_TRUE(log.endsWith("\"CW\",\"\"\r\n")) << "no stale frequency: " << log.toStdString();

    // The radio answers again: the status clears by itself, and the next
    // contact has the radio's frequency.
    ASSERT_TRUE(radio.command(QStringLiteral("freq 28.100000")));
    ASSERT_TRUE(radio.command(QStringLiteral("fault none")));
    ASSERT_TRUE(waitFor([&] { return radioStatus() == QLatin1String("Radio: 28.10000 MHz"); }))
        << radioStatus().toStdString();
    EXPECT_EQ(status->accessibleName(), QStringLiteral("Radio: 28.10000 MHz"));
    type(QStringLiteral("W1AW 59 CT\n"));
    log = fileBytes(work("log.txt"));
    EXPECT_TRUE(log.endsWith("\"CW\",\"28.100\"\r\n")) << log.toStdString();
}

TEST_F(RigWindowTest, EveryControlHasANameAndProfilesKeepWhatTheyShould)
{
    RadioEmulatorProcess radio(QStringLiteral(TENLOG_KENWOOD_EMULATOR));
    connectRadio(radio);
    scriptStation();
    ASSERT_TRUE(start());
    window->findChild<QAction*>(QStringLiteral("mnuRigInterface"))->trigger();
    EXPECT_EQ(setupWindow()->windowTitle(), QStringLiteral(" Rig Interface Setup"));
    EXPECT_EQ(tenlog::testing::controlsWithoutAccessibleName(setupWindow()), QStringList{});

    // Before any file: 56000, none, 8, 1, port 1, "500 ms", Rig, Use Frequency.
    for (const char* name : {"optBaud560", "optParityNone", "optData8", "optStop1", "optComm_0", "optPowerNone",
                             "optPollMed", "OptRig"})
        EXPECT_TRUE(inSetup<QRadioButton>(name)->isChecked()) << name;
    EXPECT_TRUE(inSetup<QCheckBox>("chkFrequency")->isChecked());

    auto* radios = inSetup<QListWidget>("List1");
    auto choose = [&](const char* rigName) {
        radios->setCurrentItem(radios->findItems(QString::fromLatin1(rigName), Qt::MatchExactly).front());
    };
    choose("Icom");
    EXPECT_TRUE(inSetup<QLabel>("Label10")->isVisibleTo(setupWindow()));
    EXPECT_TRUE(inSetup<QCheckBox>("chkConvToHex")->isChecked());
    EXPECT_TRUE(inSetup<QCheckBox>("ChkConvHex")->isChecked()) << "follows Convert to Hex";
    EXPECT_FALSE(inSetup<QCheckBox>("chkConvToHex")->isEnabled());
    // "Other" keeps the port options of the radio before and frees the hex box.
    inSetup<QRadioButton>("optParityEven")->click();
    choose("Other");
    EXPECT_TRUE(inSetup<QRadioButton>("optBaud12")->isChecked());
    EXPECT_TRUE(inSetup<QRadioButton>("optParityEven")->isChecked());
    EXPECT_TRUE(inSetup<QCheckBox>("chkConvToHex")->isEnabled());
    EXPECT_FALSE(inSetup<QLabel>("Label10")->isVisibleTo(setupWindow()));
    EXPECT_TRUE(inSetup<QLineEdit>("txtFreq")->text().isEmpty());
    // "Kenwood 2" empties the mode request; the network daemon takes an address.
    choose("Kenwood 2");
    EXPECT_EQ(inSetup<QLineEdit>("txtFreq")->text(), QStringLiteral("IF;"));
    EXPECT_TRUE(inSetup<QLineEdit>("txtMode")->text().isEmpty());
    EXPECT_FALSE(inSetup<QGroupBox>("fraRigctld")->isEnabled());
    choose("Hamlib rigctld");
    EXPECT_TRUE(inSetup<QGroupBox>("fraRigctld")->isEnabled());
    EXPECT_EQ(inSetup<QLineEdit>("txtRigctldPort")->text(), QStringLiteral("4532"));
}

TEST_F(RigWindowTest, HamlibRigctldIsPolledAndFollowed)
{
    const QString rigctld = QStandardPaths::findExecutable(QStringLiteral("rigctld"));
    if (rigctld.isEmpty())
        GTEST_SKIP() << "rigctld (Debian package libhamlib-utils) is not installed";
    quint16 tcpPort = 0;
    {
        QTcpServer probe; // a free loopback port for the daemon
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        tcpPort = probe.serverPort();
    }
    QProcess daemonProcess;
    daemonProcess.start(rigctld, {QStringLiteral("-m"), QStringLiteral("1"), QStringLiteral("-T"),
                                  QStringLiteral("127.0.0.1"), QStringLiteral("-t"), QString::number(tcpPort)});
    ASSERT_TRUE(daemonProcess.waitForStarted());
    QTcpSocket knob; // the test turns the dummy radio through a connection of its own
    ASSERT_TRUE(waitFor([&] {
        knob.abort();
        knob.connectToHost(QHostAddress::LocalHost, tcpPort);
        return knob.waitForConnected(200);
    }));

    platform::QtSerialPort unusedPort(platform::ComPortMap(QString(), {}, QDir::homePath()));
    platform::QtTcpClient network;
    rig::RigControl viaDaemon(unusedPort, network, paths.workingFolder(), paths.root());
    rigControl = &viaDaemon;
    rig::RigSettings stored;
    rig::applyRigProfile(stored, *rig::findRigProfile(rig::kRigctldRigName));
    stored.rigctldPort = tcpPort;
    stored.pollRateCode = QStringLiteral("F");
    ASSERT_TRUE(rig::saveRigSettings(paths.workingFolder(), stored));
    log::Prefs prefs = *log::loadPrefs(paths.workingFolder());
    prefs.RigName = rig::kRigctldRigName;
    log::savePrefs(paths.workingFolder(), prefs);
    scriptStation();
    ASSERT_TRUE(start());
    // The dummy radio starts at 145 MHz FM: the frequency is taken, FM is no log mode.
    ASSERT_TRUE(waitFor([&] { return window->session().pendingFrequency() == QLatin1String("145.000"); }))
        << window->session().pendingFrequency().toStdString();
    EXPECT_EQ(window->session().prefs().CurrentMode, QStringLiteral("CW"));

    knob.write("F 28450000\nM USB 2400\n");
    ASSERT_TRUE(waitFor([&] { return window->session().pendingFrequency() == QLatin1String("28.450"); }));
    ASSERT_TRUE(waitFor([&] { return window->session().prefs().CurrentMode == QLatin1String("PH"); }));

    // The daemon goes away: said beside the mode and on the message line,
    // never in a box, and tried again by itself.
    const size_t messages = dialogs.messages.size();
    daemonProcess.kill(); // by its own process id
    daemonProcess.waitForFinished();
    ASSERT_TRUE(waitFor([&] { return radioStatus().contains(QLatin1String("not reachable, retrying")); }))
        << radioStatus().toStdString();
    EXPECT_TRUE(textOf("lblDialog").startsWith(QStringLiteral("Radio link lost, retrying by itself: rigctld")));
    EXPECT_EQ(dialogs.messages.size(), messages);
    EXPECT_TRUE(viaDaemon.isRunning());
    window.reset(); // before the link it uses
}

// An operator with a Hamlib radio and no terminal: the model found by
// typing, the daemon started and polled from the setup window, the choice
// saved, and the daemon gone when the window's link ends.
TEST_F(RigWindowTest, HamlibRadioStartedFromTheSetupWindow)
{
    if (QStandardPaths::findExecutable(QStringLiteral("rigctld")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("rigctl")).isEmpty())
        GTEST_SKIP() << "rigctld and rigctl (Debian package libhamlib-utils) are not installed";
    platform::QtSerialPort unusedPort(platform::ComPortMap(QString(), {}, QDir::homePath()));
    platform::QtTcpClient network;
    rig::RigControl viaDaemon(unusedPort, network, paths.workingFolder(), paths.root(),
                              [] { return std::make_unique<platform::QtChildProcess>(); });
    rigControl = &viaDaemon;
    scriptStation();
    ASSERT_TRUE(start());
    window->findChild<QAction*>(QStringLiteral("mnuRigInterface"))->trigger();
    auto* radios = inSetup<QListWidget>("List1");
    radios->setCurrentItem(radios->findItems(rig::kRigctldRigName, Qt::MatchExactly).front());
    EXPECT_TRUE(inSetup<QGroupBox>("fraRigctld")->isVisible());
    EXPECT_FALSE(inSetup<QGroupBox>("fraBaud")->isVisible()) << "no serial options for rigctld";
    EXPECT_EQ(tenlog::testing::controlsWithoutAccessibleName(setupWindow()), QStringList{});

    // No model yet: Test says so beside the choice, and nothing starts.
    inSetup<QRadioButton>("optRigctldStart")->click();
    auto* find = inSetup<QLineEdit>("txtHamlibFind");
    auto* models = inSetup<QListWidget>("lstHamlibModels");
    ASSERT_TRUE(waitFor([&] { return models->count() > 100; })) << setupText("lblHamlibNote").toStdString();
    find->setFocus();
    QTest::keyClicks(find, QStringLiteral("no such radio"));
    EXPECT_EQ(setupText("lblHamlibNote"), QStringLiteral("No model matches \"no such radio\"."));
    inSetup<QPushButton>("Command1")->click();
    EXPECT_EQ(setupText("lblHamlibNote"), QStringLiteral("Choose the radio's model in the list first."));
    EXPECT_FALSE(viaDaemon.isRunning());

    // Typed words find the model; Down and Up choose among the matches.
    find->clear();
    QTest::keyClicks(find, QStringLiteral("hamlib dum"));
    ASSERT_NE(models->currentItem(), nullptr);
    EXPECT_EQ(models->currentItem()->text(), QStringLiteral("Hamlib Dummy (1)"));
    QTest::keyClick(find, Qt::Key_Down);
    EXPECT_EQ(models->currentItem()->text(), QStringLiteral("Hamlib Dummy No VFO (6)"));
    QTest::keyClick(find, Qt::Key_Up);
    EXPECT_EQ(models->currentItem()->text(), QStringLiteral("Hamlib Dummy (1)"));
    EXPECT_TRUE(find->hasFocus()) << "the keys stay in the search box";
    // The dummy radio has no serial device.
    inSetup<QComboBox>("cboHamlibDevice")->setEditText(QString());

    inSetup<QPushButton>("Command1")->click();
    ASSERT_TRUE(waitFor([&] { return setupText("lblFreq") == QStringLiteral("145.00000"); }, 15000))
        << setupText("lblHamlibNote").toStdString();
    const rig::RigctldDaemon* started = viaDaemon.rigctldLink().daemon();
    ASSERT_TRUE(started->isRunning());
    const qint64 pid = started->processId();

    inSetup<QPushButton>("cmdDone")->click();
    rig::RigSettings saved;
    ASSERT_EQ(rig::loadRigSettings(paths.workingFolder(), saved), 19);
    EXPECT_EQ(saved.rigName, rig::kRigctldRigName);
    EXPECT_EQ(saved.hamlibModel, 1);
    EXPECT_TRUE(saved.hamlibDevice.isEmpty());
    ASSERT_TRUE(waitFor([&] { return radioStatus() == QLatin1String("Radio: 145.00000 MHz"); }, 15000))
        << radioStatus().toStdString();

    // Closed from its title bar, the window ends the link and the daemon with it.
    setupWindow()->show();
    setupWindow()->close();
    EXPECT_FALSE(viaDaemon.isRunning());
    EXPECT_TRUE(waitFor([&] { return ::kill(static_cast<pid_t>(pid), 0) != 0; }));
    window.reset(); // before the link it uses
}

} // namespace
