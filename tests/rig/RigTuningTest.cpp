// Sending the radio to a frequency and mode over the real serial port to the
// radio emulators (and to a real rigctld), and the tuning panel and command
// tester as an operator uses them from the main window.
#include "../station/MainWindowFixture.h"

#include "platform/ComPortMap.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtTcpClient.h"
#include "rig/RigCommander.h"
#include "rig/RigControl.h"
#include "rig/RigSettings.h"
#include "rig/ui/RigSetupWindow.h"
#include "rig/ui/TuningPanel.h"

#include "AccessibilityAudit.h"
#include "FakeSerialPort.h"
#include "FakeTcpClient.h"
#include "RadioEmulatorProcess.h"

#include <QCheckBox>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>

#include <optional>

#include <csignal>
#include <sys/types.h>

namespace {

using tenlog::testing::RadioEmulatorProcess;

bool waitFor(const std::function<bool()>& condition, int ms = 5000)
{
    return RadioEmulatorProcess::waitFor(condition, ms);
}

QString textHex(const char* text)
{
    return QString::fromLatin1(QByteArray(text).toHex(' ').toUpper());
}

rig::RigSettings settingsFor(const QString& rigName)
{
    rig::RigSettings settings;
    rig::applyRigProfile(settings, *rig::findRigProfile(rigName));
    settings.commPortNumber = 3;
    settings.pollRateCode = QStringLiteral("F");
    return settings;
}

// One radio at the far end of a pseudo-terminal, the port mapped as COM3,
// and the program's radio link on it.
struct LinkedRadio {
    explicit LinkedRadio(const char* program, QStringList arguments = {})
        : radio(QString::fromLatin1(program), std::move(arguments))
    {
    }

    bool connect(const QString& rigName)
    {
        if (!radio.start())
            return false;
        const QString map = folder.path() + QStringLiteral("/ComPorts.txt");
        QFile file(map);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        // Through a link, so a test can pull the cable for good: a pulled
        // radio's pseudo-terminal name may soon belong to another.
        if (!QFile::link(radio.ptyPath(), cable()))
            return false;
        file.write("COM3=" + cable().toLocal8Bit() + "\r\n");
        file.close();
        QFile::copy(QStringLiteral(TENLOG_DATA_DIR "/BandPlan.txt"), folder.path() + QStringLiteral("/BandPlan.txt"));
        port.emplace(platform::ComPortMap::readFrom(map, folder.path()));
        control.emplace(*port, daemon, folder.path(), folder.path());
        control->loadSettings(); // the band plan
        control->setSettings(settingsFor(rigName));
        QObject::connect(&control->commander(), &rig::RigCommander::failed,
                         [this](const QString& title, const QString& text) { failures << title + u'|' + text; });
        QObject::connect(&*control, &rig::RigControl::readingChanged, [this](float megahertz, const QString& reported) {
            frequency = megahertz;
            mode = reported;
        });
        return control->start();
    }

    bool idle() { return waitFor([this] { return !control->commander().busy(); }); }
    QString cable() const { return folder.path() + QStringLiteral("/radio-cable"); }

    // What the radio received after the first `from` commands, without the polls.
    QStringList commandsSince(qsizetype from, const QStringList& polls) const
    {
        QStringList commands = radio.received().mid(from);
        commands.removeIf([&](const QString& c) { return polls.contains(c); });
        return commands;
    }

    QTemporaryDir folder;
    RadioEmulatorProcess radio;
    tenlog::testing::FakeTcpClient daemon;
    std::optional<platform::QtSerialPort> port;
    std::optional<rig::RigControl> control;
    QStringList failures;
    float frequency = 0;
    QString mode;
};

TEST(RigCommandsOverTheLine, EachFamilyTakesItsCommands)
{
    struct Case {
        const char* rigName;
        const char* program;
        QStringList arguments;
        float megahertz;
        QStringList commands; // as the radio logged them, polls left out
        QStringList polls;
        const char* mode;     // the mode the radio then reports; "" when it has no mode command
    };
    const QStringList kenwoodPolls = {textHex("FA;"), textHex("MD;"), textHex("FA;MD;")};
    const Case cases[] = {
        {"Kenwood", TENLOG_KENWOOD_EMULATOR, {}, 28.475f, {textHex("MD2;"), textHex("FA00028475000;")},
         kenwoodPolls, "PH"},
        {"Elecraft", TENLOG_KENWOOD_EMULATOR, {}, 28.025f, {textHex("MD3;"), textHex("FA00028025000;")},
         kenwoodPolls, "CW"},
        {"Yaesu FTdx9000", TENLOG_KENWOOD_EMULATOR, {"--model", "ftdx9000"}, 7.2f,
         {textHex("MD01;"), textHex("FA07200000;")}, {textHex("FA;"), textHex("MD0;")}, "PH"},
        {"Icom", TENLOG_ICOM_EMULATOR, {}, 28.025f,
         {"FE FE 64 E0 06 03 FD", "FE FE 64 E0 05 00 50 02 28 00 FD"},
         {"FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD"}, "CW"},
        {"Icom 735", TENLOG_ICOM_EMULATOR, {"--model", "ic735"}, 28.475f, {"FE FE 64 E0 05 00 50 47 28 FD"},
         {"FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD"}, ""},
        {"Ten Tec Omni VI", TENLOG_ICOM_EMULATOR, {"--address", "04"}, 14.2f,
         {"FE FE 04 E0 06 01 FD", "FE FE 04 E0 05 00 00 20 14 00 FD"},
         {"FE FE 04 E0 03 FD", "FE FE 04 E0 04 FD"}, "PH"},
        {"Yaesu", TENLOG_YAESU_EMULATOR, {}, 28.025f, {"02 00 00 00 07", "02 80 25 00 01"}, {"00 00 00 00 03"},
         "CW"},
        {"Yaesu 990", TENLOG_YAESU_EMULATOR, {"--model", "990"}, 14.2f, {"00 00 00 01 0C", "00 00 42 01 0A"},
         {"00 00 00 02 10"}, "PH"},
        {"Ten Tec Orion", TENLOG_TENTEC_EMULATOR, {}, 21.025f, {textHex("*AF21025000\r")},
         {textHex("?AF\r"), textHex("?RMM\r"), textHex("X\r")}, ""},
        {"Ten Tec Fnt Pnl", TENLOG_TENTEC_EMULATOR, {"--model", "frontpanel"}, 28.475f,
         {"2A 41 01 B2 7E 78 0D"}, {"3F 41 0D", "3F 4D 0D"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rigName);
        LinkedRadio linked(c.program, c.arguments);
        ASSERT_TRUE(linked.connect(QString::fromLatin1(c.rigName))) << linked.radio.error().toStdString();
        // The radio starts elsewhere, in a mode the command must change.
        ASSERT_TRUE(linked.radio.command(QStringLiteral("freq 3.55")));
        ASSERT_TRUE(linked.radio.command(QStringLiteral("mode AM")));
        ASSERT_TRUE(waitFor([&] { return std::abs(linked.frequency - 3.55f) < 1e-4f; }));
        const qsizetype before = linked.radio.received().size();
        linked.control->commander().tuneTo(c.megahertz);
        ASSERT_TRUE(linked.idle());
        EXPECT_TRUE(linked.failures.isEmpty()) << linked.failures.join(u'\n').toStdString();
        EXPECT_TRUE(linked.control->isPolling());
        // The first polls after the command find the radio there.
        EXPECT_TRUE(waitFor([&] {
            return std::abs(linked.frequency - c.megahertz) < 1e-4f
                && (*c.mode == '\0' || linked.mode == QString::fromLatin1(c.mode));
        })) << linked.frequency << ' ' << linked.mode.toStdString();
        EXPECT_EQ(linked.commandsSince(before, c.polls), c.commands);
    }
}

TEST(RigCommandsOverTheLine, LostPortAndSilentRadio)
{
    // A radio that never answers: nothing is awaited, the command goes out
    // and polling goes on.
    {
        LinkedRadio linked(TENLOG_KENWOOD_EMULATOR);
        ASSERT_TRUE(linked.connect(QStringLiteral("Kenwood")));
        ASSERT_TRUE(linked.radio.command(QStringLiteral("fault silent")));
        const qsizetype before = linked.radio.received().size();
        linked.control->commander().tuneTo(14.2f);
        ASSERT_TRUE(linked.idle());
        EXPECT_TRUE(linked.failures.isEmpty());
        EXPECT_TRUE(linked.control->isPolling());
        EXPECT_TRUE(linked.commandsSince(before, {textHex("FA;MD;"), textHex("FA;"), textHex("MD;")})
                        .startsWith(textHex("MD2;")));
    }
    // The cable is pulled while the Elecraft's second pause runs.
    LinkedRadio linked(TENLOG_KENWOOD_EMULATOR);
    ASSERT_TRUE(linked.connect(QStringLiteral("Elecraft")));
    linked.control->commander().tuneTo(28.475f);
    ASSERT_TRUE(waitFor([&] { return linked.radio.received().contains(textHex("MD2;")); }));
    linked.radio.kill();
    QFile::remove(linked.cable());
    ASSERT_TRUE(linked.idle());
    ASSERT_EQ(linked.failures.size(), 1);
    EXPECT_TRUE(linked.failures.front().startsWith(rig::kFrequencyErrorTitle + u'|'));
    EXPECT_FALSE(linked.control->isPolling());
    EXPECT_TRUE(linked.control->isRunning()) << "the port is opened again by itself";
}

TEST(RigCommandsOverTheLine, RealRigctld)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("rigctld"));
    if (program.isEmpty())
        GTEST_SKIP() << "rigctld is not installed";
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 tcpPort = probe.serverPort();
    probe.close();
    QProcess daemon;
    daemon.start(program, {QStringLiteral("-m"), QStringLiteral("1"), QStringLiteral("-T"),
                           QStringLiteral("127.0.0.1"), QStringLiteral("-t"), QString::number(tcpPort)});
    ASSERT_TRUE(daemon.waitForStarted());
    const qint64 pid = daemon.processId();
    ASSERT_GT(pid, 0);

    QTemporaryDir folder;
    QFile::copy(QStringLiteral(TENLOG_DATA_DIR "/BandPlan.txt"), folder.path() + QStringLiteral("/BandPlan.txt"));
    tenlog::testing::FakeSerialPort unused;
    platform::QtTcpClient client;
    rig::RigControl control(unused, client, folder.path(), folder.path());
    control.loadSettings();
    rig::RigSettings settings = settingsFor(QStringLiteral("Hamlib rigctld"));
    settings.rigctldPort = tcpPort;
    float frequency = 0;
    QString mode;
    QStringList failures;
    QObject::connect(&control, &rig::RigControl::readingChanged, [&](float f, const QString& m) {
        frequency = f;
        mode = m;
    });
    QObject::connect(&control.commander(), &rig::RigCommander::failed,
                     [&](const QString& t, const QString& x) { failures << t + u'|' + x; });
    // The daemon may take a moment to listen.
    bool polled = false;
    for (int attempt = 0; attempt < 20 && !polled; ++attempt) {
        control.setSettings(settings);
        control.start();
        polled = waitFor([&] { return frequency > 0; }, 500);
    }
    ASSERT_TRUE(polled);
    const std::pair<float, const char*> targets[] = {{28.025f, "CW"}, {7.2f, "PH"}, {14.2f, "PH"}};
    for (const auto& [megahertz, expectedMode] : targets) {
        control.commander().tuneTo(megahertz);
        ASSERT_TRUE(waitFor([&] { return !control.commander().busy(); }));
        EXPECT_TRUE(failures.isEmpty()) << failures.join(u'\n').toStdString();
        EXPECT_TRUE(waitFor([&, target = megahertz, want = expectedMode] {
            return std::abs(frequency - target) < 1e-4f && mode == QString::fromLatin1(want);
        })) << frequency << ' ' << mode.toStdString();
    }
    control.stop();
    ::kill(pid_t(pid), SIGTERM);
    daemon.waitForFinished(3000);
}

// The operator's side, from the main window.
class TuningWindowTest : public MainWindowTest {
protected:
    void connectRadio(RadioEmulatorProcess& radio, const char* rigName)
    {
        ASSERT_TRUE(radio.start()) << radio.error().toStdString();
        QDir().mkpath(paths.root() + QStringLiteral("/user"));
        const QString map = paths.root() + QStringLiteral("/user/ComPorts.txt");
        QFile file(map);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("COM3=" + radio.ptyPath().toLocal8Bit() + "\r\n");
        file.close();
        port.emplace(platform::ComPortMap::readFrom(map, QDir::homePath()));
        control.emplace(*port, daemon, paths.workingFolder(), paths.root());
        rigControl = &*control;
        ASSERT_TRUE(rig::saveRigSettings(paths.workingFolder(), settingsFor(QString::fromLatin1(rigName))));
        log::Prefs prefs = *log::loadPrefs(paths.workingFolder());
        prefs.RigName = QString::fromLatin1(rigName);
        log::savePrefs(paths.workingFolder(), prefs);
        scriptStation();
        ASSERT_TRUE(start());
        ASSERT_TRUE(control->isPolling());
    }
    bool idle() { return waitFor([this] { return !control->commander().busy(); }); }

    tenlog::testing::FakeTcpClient daemon;
    std::optional<platform::QtSerialPort> port;
    std::optional<rig::RigControl> control;
};

TEST_F(TuningWindowTest, TuningPanelFromCtrlG)
{
    RadioEmulatorProcess radio(QStringLiteral(TENLOG_KENWOOD_EMULATOR));
    connectRadio(radio, "Kenwood");
    ASSERT_TRUE(waitFor([&] { return control->currentFrequencyMHz().has_value(); }));
    bool ran = false;
    dialogs.modalScripts.push_back([&](QDialog* shown) {
        ran = true;
        EXPECT_EQ(shown->objectName(), QStringLiteral("frmRigTune"));
        EXPECT_EQ(tenlog::testing::controlsWithoutAccessibleName(shown), QStringList());
        auto* panel = static_cast<rig::TuningPanel*>(shown);
        auto* frequency = shown->findChild<QLineEdit*>(QStringLiteral("txtFreq"));
        auto button = [&](const QString& name) { return shown->findChild<QPushButton*>(name); };
        auto reached = [&](const char* command) {
            return waitFor([&] { return radio.received().contains(textHex(command)); });
        };
        shown->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(shown));

        // It opens on the radio's frequency, so the steps work at once; a
        // step button keeps the focus, so Space steps again.
        EXPECT_EQ(frequency->text(), QStringLiteral("28.475"));
        QPushButton* upOneKilohertz = button(QStringLiteral("cmdTune_6"));
        upOneKilohertz->setFocus();
        QTest::keyClick(upOneKilohertz, Qt::Key_Space);
        EXPECT_EQ(frequency->text(), QStringLiteral("28.476"));
        EXPECT_EQ(shown->focusWidget(), upOneKilohertz);
        QTest::keyClick(upOneKilohertz, Qt::Key_Space);
        EXPECT_EQ(frequency->text(), QStringLiteral("28.477"));
        EXPECT_TRUE(shown->isVisible());
        EXPECT_TRUE(reached("FA00028477000;"));

        // A band button, then a step down.
        button(QStringLiteral("cmdBand_9"))->click();
        EXPECT_EQ(frequency->text(), QStringLiteral("28.5"));
        EXPECT_TRUE(reached("FA00028500000;"));
        frequency->setText(QStringLiteral("28.476"));
        button(QStringLiteral("cmdTune_9"))->click();
        EXPECT_EQ(frequency->text(), QStringLiteral("28.4759"));
        EXPECT_TRUE(reached("FA00028475900;"));

        // Arrows and page keys in the box step by the chosen scan step.
        shown->findChild<QRadioButton*>(QStringLiteral("Option2"))->setChecked(true); // 100 Hz
        frequency->setFocus();
        const std::pair<Qt::Key, const char*> keySteps[] = {
            {Qt::Key_Up, "28.476"}, {Qt::Key_PageUp, "28.4761"}, {Qt::Key_Down, "28.476"}, {Qt::Key_PageDown, "28.4759"}};
        for (const auto& [key, expected] : keySteps)
        {
            QTest::keyClick(frequency, key);
            EXPECT_EQ(frequency->text(), QString::fromLatin1(expected)) << key;
        }
        EXPECT_TRUE(reached("FA00028475900;"));

        // Typing: only digits, "." and "/" get in; Enter goes.
        frequency->setFocus();
        frequency->clear();
        QTest::keyClicks(frequency, QStringLiteral("21x.0a5"));
        EXPECT_EQ(frequency->text(), QStringLiteral("21.05"));
        QTest::keyClick(frequency, Qt::Key_Return);
        EXPECT_TRUE(frequency->hasFocus());
        EXPECT_TRUE(reached("FA00021050000;"));

        // A mode button.
        button(QStringLiteral("cmdAM"))->click();
        EXPECT_TRUE(reached("MD5;"));

        // Scan: past To it starts again at From; a key stops it.
        shown->findChild<QLineEdit*>(QStringLiteral("txtFrom"))->setText(QStringLiteral("28.4"));
        shown->findChild<QLineEdit*>(QStringLiteral("txtTo"))->setText(QStringLiteral("28.40002"));
        shown->findChild<QRadioButton*>(QStringLiteral("Option4"))->setChecked(true);
        frequency->setText(QStringLiteral("28.40002"));
        auto* scan = shown->findChild<QCheckBox*>(QStringLiteral("chkScan"));
        // A tick skips while the mode command is still on its way.
        EXPECT_TRUE(idle());
        scan->click();
        panel->scanTick();
        EXPECT_EQ(frequency->text(), QStringLiteral("28.4"));
        EXPECT_TRUE(reached("FA00028400000;"));
        EXPECT_TRUE(waitFor([&] { return frequency->text() == QStringLiteral("28.40001"); }))
            << "the scan timer goes on upwards";
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        EXPECT_FALSE(scan->isChecked());
        scan->click();
        QTest::keyClick(shown, Qt::Key_Escape);
        EXPECT_FALSE(scan->isChecked());
        EXPECT_FALSE(shown->isVisible());
        return int(QDialog::Rejected);
    });
    const int modalBefore = dialogs.modalRuns;
    QTest::keyClick(window.get(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_TRUE(ran);
    EXPECT_EQ(dialogs.modalRuns - modalBefore, 1) << "Ctrl+G opens the panel once";
    EXPECT_TRUE(idle());
}

TEST(TuningPanelWithoutRadio, GoSaysWhyNothingWasSent)
{
    QTemporaryDir folder;
    tenlog::testing::FakeSerialPort port;
    tenlog::testing::FakeTcpClient daemon;
    tenlog::testing::ScriptedDialogs dialogs;
    rig::RigControl control(port, daemon, folder.path(), folder.path());
    rig::TuningPanel panel(control, dialogs);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    auto* frequency = panel.findChild<QLineEdit*>(QStringLiteral("txtFreq"));
    auto* message = panel.findChild<QLabel*>(QStringLiteral("tuningMessage"));
    EXPECT_TRUE(frequency->text().isEmpty()) << "no radio, no frequency to open with";
    frequency->setFocus();
    const std::pair<const char*, const char*> cases[] = {{"", "Type the frequency"}, {"28.4", "No radio link"}};
    for (const auto& [typed, said] : cases) {
        frequency->setText(QString::fromLatin1(typed));
        QTest::keyClick(frequency, Qt::Key_Return);
        EXPECT_TRUE(message->text().startsWith(QString::fromLatin1(said))) << message->text().toStdString();
        EXPECT_EQ(message->accessibleName(), message->text());
    }
    EXPECT_TRUE(frequency->hasFocus());
    EXPECT_TRUE(dialogs.messages.empty()) << "no box takes the keys";
    EXPECT_TRUE(port.written().isEmpty());
}

TEST_F(TuningWindowTest, CommandTesterFromTheSetupWindow)
{
    RadioEmulatorProcess radio(QStringLiteral(TENLOG_KENWOOD_EMULATOR));
    connectRadio(radio, "Kenwood");
    auto* setup = window->findChild<rig::RigSetupWindow*>();
    ASSERT_NE(setup, nullptr);
    auto* changeFrequency = setup->findChild<QPushButton*>(QStringLiteral("Command3"));
    ASSERT_TRUE(changeFrequency->isEnabled());

    bool ran = false;
    dialogs.modalScripts.push_back([&](QDialog* shown) {
        ran = true;
        EXPECT_EQ(shown->windowTitle(), QStringLiteral("Test Change Frequency Function"));
        EXPECT_EQ(tenlog::testing::controlsWithoutAccessibleName(shown), QStringList());
        auto* command = shown->findChild<QLineEdit*>(QStringLiteral("Text1"));
        auto* asHex = shown->findChild<QCheckBox*>(QStringLiteral("Check1"));
        auto* sendCommand = shown->findChild<QPushButton*>(QStringLiteral("Command1"));
        EXPECT_EQ(shown->findChild<QLineEdit*>(QStringLiteral("Text2"))->text(), QStringLiteral("28.475"));
        sendCommand->click();
        EXPECT_TRUE(radio.waitForReceived(1));
        EXPECT_TRUE(waitFor([&] { return radio.received().contains(textHex("FA00028475000;")); }));
        command->setText(QStringLiteral(" 46 41 3B "));
        asHex->setChecked(true);
        sendCommand->click();
        command->setText(QStringLiteral("ZZ TOP"));
        sendCommand->click(); // not hex: nothing goes
        shown->findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QStringLiteral("14.2"));
        shown->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
        EXPECT_TRUE(waitFor([&] { return radio.received().contains(textHex("FA00014200000;")); }));
        return int(QDialog::Accepted);
    });
    changeFrequency->click();
    EXPECT_TRUE(ran);

    // With polling stopped the tester does not open.
    setup->stopPolling();
    const size_t before = dialogs.messages.size();
    changeFrequency->click();
    ASSERT_EQ(dialogs.messages.size(), before + 1);
    EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("You must be polling your rig to test this function."));
    EXPECT_EQ(dialogs.messages.back().icon, platform::MessageIcon::Information);
    EXPECT_EQ(dialogs.modalRuns, 2); // the station dialog and the tester
}

} // namespace
