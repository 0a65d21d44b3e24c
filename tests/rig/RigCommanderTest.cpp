// The frequency and mode commands: the bytes of every format, the band plan's
// mode choice, and the command sequence against in-memory ports (order,
// pauses on timers, the poll timer around the traffic, the failures).
#include "rig/RigCommander.h"
#include "rig/RigControl.h"

#include "FakeSerialPort.h"
#include "FakeTcpClient.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tenlog::rig;
using tenlog::testing::FakeSerialPort;
using tenlog::testing::FakeTcpClient;

namespace {

RigSettings settingsFor(const char* radio)
{
    RigSettings settings;
    applyRigProfile(settings, *findRigProfile(QString::fromLatin1(radio)));
    settings.pollRateCode = QStringLiteral("S"); // slow: no poll falls inside a test
    return settings;
}

QString hexOf(const std::optional<QByteArray>& bytes)
{
    return bytes ? QString::fromLatin1(bytes->toHex(' ').toUpper()) : QStringLiteral("none");
}

QString textHex(const char* text)
{
    return QString::fromLatin1(QByteArray(text).toHex(' ').toUpper());
}

TEST(RigCommands, FrequencyCommandOfEveryFormat)
{
    struct Case {
        const char* radio;
        float megahertz;
        int vfo;
        QString expected;
    };
    const Case cases[] = {
        {"Kenwood", 28.475f, 10, textHex("FA00028475000;")},
        {"Kenwood 2", 28.475f, 1, textHex("FB00028475000;")},
        {"Kenwood 2", 28.475f, 0, textHex("FA00028475000;")},
        {"Elecraft", 7.0255f, 10, textHex("FA00007025500;")},
        {"Icom", 28.475f, 10, QStringLiteral("FE FE 64 E0 05 00 50 47 28 00 FD")},
        // The IC-735 takes four frequency bytes.
        {"Icom 735", 28.475f, 10, QStringLiteral("FE FE 64 E0 05 00 50 47 28 FD")},
        {"Ten Tec Omni VI", 14.0255f, 10, QStringLiteral("FE FE 04 E0 05 00 55 02 14 00 FD")},
        // 28,475,000 Hz in 32 bits.
        {"Ten Tec Fnt Pnl", 28.475f, 10, QStringLiteral("2A 41 01 B2 7E 78 0D")},
        // The Orion takes Hz.
        {"Ten Tec Orion", 28.475f, 10, textHex("*AF28475000\r")},
        {"Yaesu", 28.475f, 10, QStringLiteral("02 84 75 00 01")},
        {"Yaesu 990", 28.475f, 10, QStringLiteral("00 75 84 02 0A")},
        {"Yaesu 1000", 146.52f, 10, QStringLiteral("00 20 65 14 0A")},
        {"Yaesu FTdx9000", 28.475f, 10, textHex("FA28475000;")},
        {"Hamlib rigctld", 28.475f, 10, textHex("F 28475000\n")},
        {"Other", 28.475f, 10, QStringLiteral("none")},
        {"None", 28.475f, 10, QStringLiteral("none")},
        {"Ten Tec Pegasus", 28.475f, 10, QStringLiteral("none")},
        // What a field cannot carry is not sent at all.
        {"Yaesu", 1300.0f, 10, QStringLiteral("none")},
        {"Kenwood", 0.0f, 10, QStringLiteral("none")},
        {"Kenwood", -3.5f, 10, QStringLiteral("none")},
    };
    for (const Case& c : cases) {
        const RigSettings settings = settingsFor(c.radio);
        const CommandContext context{settings.frequencyQuery, settings.modeQuery, c.vfo};
        EXPECT_EQ(hexOf(frequencyCommandBytes(*findRigProfile(QString::fromLatin1(c.radio)), context, c.megahertz)),
                  c.expected)
            << c.radio << ' ' << c.megahertz;
    }
    // Digits come from the typed decimal value, rounded half to even, padded
    // and never cut.
    const std::tuple<float, int, int, const char*> digits[] = {
        {28.4759f, 1, 11, "00028475900"}, {21.05f, 1, 11, "00021050000"}, {1.000005f, 10, 8, "00100000"},
        {1.000015f, 10, 8, "00100002"}, {1.0000051f, 10, 8, "00100001"}, {1270.0f, 1, 8, "1270000000"},
    };
    for (const auto& [megahertz, unit, width, expected] : digits)
        EXPECT_EQ(frequencyDigits(megahertz, unit, width), QByteArray(expected)) << megahertz;
}

TEST(RigCommands, ModeCommandOfEveryColumn)
{
    const std::tuple<const char*, const char*, QString> cases[] = {
        {"Kenwood", "USB", textHex("MD2;")},
        {"Elecraft", "CW", textHex("MD3;")},
        {"Kenwood 2", "FSK", textHex("MD6;")},
        {"Kenwood", "CW-R", QStringLiteral("none")},
        {"Icom", "CW", QStringLiteral("FE FE 64 E0 06 03 FD")},
        {"Ten Tec Omni VI", "RTTY-R", QStringLiteral("FE FE 04 E0 06 08 FD")},
        {"Icom", "PKT", QStringLiteral("none")},
        {"Yaesu", "CW", QStringLiteral("02 00 00 00 07")},
        {"Yaesu", "PKT", QStringLiteral("0C 00 00 00 07")},
        {"Yaesu 757 GX II", "FM", QStringLiteral("00 00 00 06 0C")},
        {"Yaesu 890", "DIG", QString()}, // a command of no bytes: nothing is sent
        {"Yaesu FTdx9000", "LSB", textHex("MD01;")},
        {"Hamlib rigctld", "CW-R", textHex("M CWR 0\n")},
        {"Icom 735", "CW", QStringLiteral("none")},
        {"Ten Tec Orion", "USB", QStringLiteral("none")},
        {"Kenwood", "SSB", QStringLiteral("none")},
    };
    for (const auto& [radio, mode, expected] : cases) {
        const RigSettings settings = settingsFor(radio);
        const CommandContext context{settings.frequencyQuery, settings.modeQuery, 10};
        EXPECT_EQ(hexOf(modeCommandBytes(*findRigProfile(QString::fromLatin1(radio)), context,
                                         QString::fromLatin1(mode))),
                  expected)
            << radio << ' ' << mode;
    }
}

// A radio link on in-memory ports, with the shipped band plan.
class RigCommanderTest : public ::testing::Test {
protected:
    RigCommanderTest()
    {
        QFile::copy(QStringLiteral(TENLOG_DATA_DIR "/BandPlan.txt"), work.path() + QStringLiteral("/BandPlan.txt"));
        control.loadSettings();
        QObject::connect(&control.commander(), &RigCommander::failed,
                         [this](const QString& title, const QString& text) { failures << title + u'|' + text; });
        QObject::connect(&control, &RigControl::trouble, [this](const QString& message) { troubles << message; });
    }

    bool startWith(const char* radio)
    {
        control.setSettings(settingsFor(radio));
        if (!control.start())
            return false;
        // The first send tick went out at the start; the next receives.
        port.clearWrites();
        return true;
    }

    bool waitIdle(int ms = 5000)
    {
        QDeadlineTimer deadline(ms);
        while (control.commander().busy() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return !control.commander().busy();
    }

    QStringList writtenHex() const
    {
        QStringList hex;
        for (const FakeSerialPort::Write& write : port.writes())
            hex << QString::fromLatin1(write.bytes.toHex(' ').toUpper());
        return hex;
    }

    QTemporaryDir work;
    QTemporaryDir pegasus;
    FakeSerialPort port;
    FakeTcpClient daemon;
    RigControl control{port, daemon, work.path(), pegasus.path()};
    QStringList failures;
    QStringList troubles;
};

TEST_F(RigCommanderTest, ModeFromTheBandPlanThenTheFrequency)
{
    ASSERT_TRUE(startWith("Kenwood"));
    const std::pair<float, QStringList> cases[] = {
        {28.475f, {textHex("MD2;"), textHex("FA00028475000;")}},
        {7.2f, {textHex("MD1;"), textHex("FA00007200000;")}},
        {14.03f, {textHex("MD3;"), textHex("FA00014030000;")}},
        // 160 m and frequencies outside the plan leave the mode alone.
        {1.85f, {textHex("FA00001850000;")}},
        {27.1f, {textHex("FA00027100000;")}},
    };
    for (const auto& [megahertz, expected] : cases) {
        port.clearWrites();
        control.commander().tuneTo(megahertz);
        EXPECT_FALSE(control.isPolling()) << "no poll between the command's bytes";
        ASSERT_TRUE(waitIdle());
        EXPECT_EQ(writtenHex(), expected) << megahertz;
        EXPECT_TRUE(control.isPolling()) << "polling goes on after the command";
    }
    // The pauses come before the bytes they guard, and no call waits for them.
    port.clearWrites();
    QElapsedTimer clock;
    clock.start();
    control.commander().tuneTo(28.475f);
    EXPECT_LT(clock.elapsed(), 50);
    ASSERT_TRUE(waitIdle());
    ASSERT_EQ(port.writes().size(), 2);
    EXPECT_GE(clock.elapsed(), kModeCommandDelayMs + 205);
    EXPECT_TRUE(failures.isEmpty()) << failures.join(u'\n').toStdString();
}

TEST_F(RigCommanderTest, NothingWithoutPollingAndModeAlone)
{
    control.setSettings(settingsFor("Icom"));
    control.commander().tuneTo(28.475f);
    ASSERT_TRUE(waitIdle());
    EXPECT_TRUE(port.writes().isEmpty());
    EXPECT_TRUE(failures.isEmpty());

    // A mode change on its own needs the port, not polling; it leaves the
    // poll timer as it is.
    ASSERT_TRUE(startWith("Icom"));
    control.stop(); // "End Test" closes the port
    control.commander().setMode(QStringLiteral("LSB"));
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(failures, QStringList{kModeErrorTitle + QStringLiteral("|LSB The radio's port is not open.")});
    ASSERT_TRUE(startWith("Icom"));
    control.commander().setMode(QStringLiteral("CW"));
    EXPECT_TRUE(control.isPolling());
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(writtenHex(), QStringList{QStringLiteral("FE FE 64 E0 06 03 FD")});

    // Commands asked for while one is under way follow it in order.
    port.clearWrites();
    control.commander().tuneTo(28.025f);
    control.commander().tuneTo(28.475f);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(writtenHex(), (QStringList{QStringLiteral("FE FE 64 E0 06 03 FD"),
                                         QStringLiteral("FE FE 64 E0 05 00 50 02 28 00 FD"),
                                         QStringLiteral("FE FE 64 E0 06 01 FD"),
                                         QStringLiteral("FE FE 64 E0 05 00 50 47 28 00 FD")}));
}

TEST_F(RigCommanderTest, PortLostWhileTheCommandWaits)
{
    ASSERT_TRUE(startWith("Elecraft")); // waits 1205 ms before the frequency
    control.commander().tuneTo(28.475f);
    QDeadlineTimer modeSent(3000);
    while (port.writes().isEmpty() && !modeSent.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    port.failUnderneath(QStringLiteral("The device was removed."));
    port.refuseOpen(QStringLiteral("COM3 (/dev/ttyUSB0) cannot be opened: the device does not exist."));
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(writtenHex(), QStringList{textHex("MD2;")});
    EXPECT_EQ(failures, QStringList{kFrequencyErrorTitle + QStringLiteral("|The radio's port is not open.")});
    EXPECT_FALSE(control.isPolling());
    EXPECT_TRUE(control.isRunning()) << "the port is tried again by itself";
    EXPECT_TRUE(troubles.contains(kFrequencyErrorTitle + QStringLiteral(": The radio's port is not open.")))
        << troubles.join(u'\n').toStdString();
    EXPECT_TRUE(control.status().text.endsWith(QStringLiteral("; the last command failed")))
        << control.status().text.toStdString();

    // A click while the link is down is answered, not ignored.
    failures.clear();
    control.commander().tuneTo(28.025f);
    ASSERT_TRUE(waitIdle());
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures.front().startsWith(kFrequencyErrorTitle + QStringLiteral("|The radio was not tuned")));
}

TEST_F(RigCommanderTest, OutputThatNeverDrainsIsGivenUpOn)
{
    ASSERT_TRUE(startWith("Kenwood"));
    port.holdOutput(5);
    control.commander().tuneTo(27.1f); // no mode command: two drains of 2 s
    ASSERT_TRUE(waitIdle(6000));
    EXPECT_EQ(writtenHex(), QStringList{textHex("FA00027100000;")});
    EXPECT_TRUE(failures.isEmpty());
    EXPECT_TRUE(control.isPolling());
}

TEST_F(RigCommanderTest, PegasusGetsItsFile)
{
    ASSERT_TRUE(startWith("Ten Tec Pegasus"));
    control.commander().tuneTo(21.3f);
    ASSERT_TRUE(waitIdle());
    QFile file(pegasus.path() + QStringLiteral("/PEGASUS.IN"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("21.3\r\n\r\n")); // no mode decoded yet
    EXPECT_TRUE(port.writes().isEmpty());
    EXPECT_TRUE(control.isPolling());
}

TEST_F(RigCommanderTest, RigctldAnswersAreRead)
{
    RigSettings settings = settingsFor("Hamlib rigctld");
    control.setSettings(settings);
    ASSERT_TRUE(control.start());
    daemon.acceptConnection(); // the first poll goes out
    ASSERT_EQ(daemon.takeWritten(), QByteArray("f\nm\n"));

    QByteArray sent;
    auto awaitSent = [&](const QByteArray& line) {
        QDeadlineTimer deadline(3000);
        while (!sent.contains(line) && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            sent += daemon.takeWritten();
        }
        return sent.contains(line);
    };
    // The poll's answers are still owed when the command goes; they are
    // taken in turn, then each command's report.
    control.commander().tuneTo(28.025f);
    daemon.queueIncoming("28000000\nUSB\n2400\n");
    ASSERT_TRUE(awaitSent("M CW 0\n"));
    daemon.queueIncoming("RPRT 0\n");
    ASSERT_TRUE(awaitSent("F 28025000\n"));
    daemon.queueIncoming("RPRT 0\n");
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(sent, QByteArray("M CW 0\nF 28025000\n"));
    EXPECT_TRUE(failures.isEmpty()) << failures.join(u'\n').toStdString();
    EXPECT_TRUE(control.isPolling());

    // A refused command is reported once, and polling goes on.
    control.commander().tuneTo(28.475f);
    daemon.queueIncoming("RPRT -11\n");
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(failures, QStringList{kModeErrorTitle + QStringLiteral("|USB rigctld answered \"RPRT -11\".")});
    EXPECT_TRUE(control.isPolling());
    EXPECT_EQ(control.status().health, tenlog::common::LinkHealth::Trouble);
    EXPECT_TRUE(control.status().detail.contains(QStringLiteral("RPRT -11")));

    // A daemon that never answers: its late answers could not be told from
    // a poll's, so the connection starts again.
    failures.clear();
    ASSERT_TRUE(control.start());
    daemon.acceptConnection();
    daemon.queueIncoming("28475000\nUSB\n2400\n");
    const int connects = daemon.connectCount();
    control.commander().tuneTo(27.5f); // outside the plan: no mode command
    ASSERT_TRUE(waitIdle(5000));
    EXPECT_EQ(failures, QStringList{kFrequencyErrorTitle + QStringLiteral("|rigctld did not answer.")});
    EXPECT_TRUE(control.isRunning());
    EXPECT_TRUE(control.status().text.startsWith(
        QStringLiteral("Radio: rigctld at 127.0.0.1:4532 not answering, retrying in 1 s")))
        << control.status().text.toStdString();
    QDeadlineTimer reconnect(3000);
    while (daemon.connectCount() == connects && !reconnect.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(daemon.connectCount(), connects + 1);
}

} // namespace
