// The real serial port over pseudo-terminals to the radio emulators of
// tools/: bytes both ways through the ready-read handler, the exact bytes a
// radio receives, replies that arrive in pieces, a device without control
// lines, the operator's messages when a port cannot be opened, and a radio
// that goes away while the port is open.
#include "platform/qt/QtSerialPort.h"

#include "RadioEmulatorProcess.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

using tenlog::platform::ComPortMap;
using tenlog::platform::QtSerialPort;
using tenlog::testing::RadioEmulatorProcess;

namespace {

QByteArray bytesFromHex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

QString hexOf(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

// A port whose ComPorts.txt, in a temporary folder, maps COM3 to a device,
// with everything its ready-read and failure handlers see.
class PortUnderTest {
public:
    explicit PortUnderTest(const QString& device)
    {
        m_mapFile = m_dir.filePath(ComPortMap::fileName());
        QFile file(m_mapFile);
        file.open(QIODevice::WriteOnly);
        file.write("COM3=" + QFile::encodeName(device) + "\n");
        file.close();
        port = std::make_unique<QtSerialPort>(ComPortMap::readFrom(m_mapFile, m_dir.path()));
        port->setPortNumber(3);
        port->setReadyReadHandler([this] {
            const QByteArray bytes = port->readAll();
            if (!bytes.isEmpty()) {
                received += bytes;
                ++reads;
            }
        });
        port->setFailureHandler([this](const QString& reason) {
            failures.append(reason);
        });
    }

    bool receive(int count, int timeoutMs = 5000)
    {
        return RadioEmulatorProcess::waitFor([&] { return received.size() >= count; }, timeoutMs);
    }
    QString mapFile() const { return m_mapFile; }
    QString folder() const { return m_dir.path(); }

    std::unique_ptr<QtSerialPort> port;
    QByteArray received;
    int reads = 0;
    QStringList failures;

private:
    QTemporaryDir m_dir;
    QString m_mapFile;
};

struct Emulated {
    explicit Emulated(const QString& program, const QStringList& arguments = {})
        : radio(program, arguments)
    {
    }
    RadioEmulatorProcess radio;
    std::unique_ptr<PortUnderTest> link;

    ::testing::AssertionResult open(const QString& settings)
    {
        if (!radio.start())
            return ::testing::AssertionFailure() << radio.error().toStdString();
        link = std::make_unique<PortUnderTest>(radio.ptyPath());
        if (!link->port->setSettings(settings))
            return ::testing::AssertionFailure() << "settings refused";
        if (!link->port->open())
            return ::testing::AssertionFailure() << link->port->errorString().toStdString();
        return ::testing::AssertionSuccess();
    }
};

const QString kenwood = QStringLiteral(TENLOG_KENWOOD_EMULATOR);
const QString icom = QStringLiteral(TENLOG_ICOM_EMULATOR);
const QString yaesu = QStringLiteral(TENLOG_YAESU_EMULATOR);
const QString tentec = QStringLiteral(TENLOG_TENTEC_EMULATOR);

} // namespace

TEST(QtSerialPort, KenwoodFrequencyQueryIsAnsweredThroughTheReadyReadHandler)
{
    Emulated rig(kenwood);
    ASSERT_TRUE(rig.open(QStringLiteral("4800,N,8,2")));
    ASSERT_TRUE(rig.radio.command(QStringLiteral("freq 28.475000")));
    ASSERT_TRUE(rig.link->port->write("FA;"));
    ASSERT_TRUE(rig.link->receive(14));
    EXPECT_EQ(rig.link->received, QByteArray("FA00028475000;"));
    EXPECT_EQ(rig.radio.received(), QStringList {QStringLiteral("46 41 3B")});
    EXPECT_TRUE(RadioEmulatorProcess::waitFor([&] { return rig.link->port->bytesToWrite() == 0; }));
}

TEST(QtSerialPort, CivSetFrequencyReachesTheRadioByteForByte)
{
    Emulated rig(icom);
    ASSERT_TRUE(rig.open(QStringLiteral("1200,N,8,1")));
    const QByteArray setFrequency = bytesFromHex("FE FE 64 E0 05 00 50 47 28 00 FD");
    ASSERT_TRUE(rig.link->port->write(setFrequency));
    ASSERT_TRUE(rig.radio.waitForReceived(1));
    EXPECT_EQ(rig.radio.received(), QStringList {QStringLiteral("FE FE 64 E0 05 00 50 47 28 00 FD")});
    ASSERT_TRUE(rig.link->receive(17));
    EXPECT_EQ(hexOf(rig.link->received), QStringLiteral("FE FE 64 E0 05 00 50 47 28 00 FD FE FE E0 64 FB FD"))
        << "the bus echo, then the radio's OK";
}

TEST(QtSerialPort, AReplySentInTwoPartsArrivesInTwoReads)
{
    Emulated rig(kenwood);
    ASSERT_TRUE(rig.open(QStringLiteral("4800,N,8,2")));
    ASSERT_TRUE(rig.radio.command(QStringLiteral("fault split")));
    ASSERT_TRUE(rig.link->port->write("FA;"));
    ASSERT_TRUE(rig.link->receive(14));
    EXPECT_EQ(rig.link->received, QByteArray("FA00028475000;"));
    EXPECT_GE(rig.link->reads, 2);
}

TEST(QtSerialPort, ADeviceWithoutControlLinesIsNotAnError)
{
    RadioEmulatorProcess radio(kenwood);
    ASSERT_TRUE(radio.start()) << radio.error().toStdString();
    PortUnderTest link(radio.ptyPath());
    ASSERT_TRUE(link.port->setSettings(QStringLiteral("56000,N,8,1")));
    link.port->setRtsHandshake(true);
    link.port->setRts(true);
    link.port->setDtr(true);
    ASSERT_TRUE(link.port->open()) << link.port->errorString().toStdString();
    EXPECT_TRUE(link.port->errorString().isEmpty());
    EXPECT_FALSE(link.port->hasControlLines());
    link.port->setDtr(false);
    link.port->setRts(false);
    EXPECT_TRUE(link.port->isOpen());
    ASSERT_TRUE(link.port->write("MD;"));
    EXPECT_TRUE(link.receive(4));
    EXPECT_TRUE(link.failures.isEmpty());
}

TEST(QtSerialPort, FlowControlAsChosenReachesTheTerminal)
{
    struct Case {
        bool rts, xonXoff;
    };
    for (const Case& c : {Case {false, false}, Case {false, true}, Case {true, false}, Case {true, true}}) {
        RadioEmulatorProcess radio(kenwood);
        ASSERT_TRUE(radio.start()) << radio.error().toStdString();
        PortUnderTest link(radio.ptyPath());
        link.port->setRtsHandshake(c.rts);
        link.port->setXonXoff(c.xonXoff);
        ASSERT_TRUE(link.port->open()) << link.port->errorString().toStdString();
        // The terminal's settings, read through a second descriptor.
        const int fd = ::open(QFile::encodeName(radio.ptyPath()).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd < 0 && errno == EBUSY)
            GTEST_SKIP() << "the port is held exclusively and this user may not look past that";
        ASSERT_GE(fd, 0);
        termios settings {};
        ASSERT_EQ(::tcgetattr(fd, &settings), 0);
        ::close(fd);
        EXPECT_EQ((settings.c_iflag & (IXON | IXOFF)) == (IXON | IXOFF), c.xonXoff) << c.rts << c.xonXoff;
        EXPECT_EQ((settings.c_cflag & CRTSCTS) != 0, c.rts) << c.rts << c.xonXoff;
    }
}

TEST(QtSerialPort, SettingsTextIsRefusedUnlessWellFormed)
{
    PortUnderTest link(QStringLiteral("/dev/null"));
    EXPECT_TRUE(link.port->setSettings(QStringLiteral("9600,N,8,1")));
    EXPECT_FALSE(link.port->setSettings(QStringLiteral("9600,N,8")));
}

namespace {

// A path that open(2) refuses with EACCES even for root: a mode 000 file
// binds an ordinary user; root passes it, but not a read-only kernel file
// opened for writing.
QString permissionDeniedPath(const QString& folder)
{
    const QString locked = folder + QStringLiteral("/locked-device");
    QFile(locked).open(QIODevice::WriteOnly);
    ::chmod(QFile::encodeName(locked).constData(), 0);
    for (const QString& candidate : {locked, QStringLiteral("/sys/kernel/uevent_seqnum")}) {
        const int fd = ::open(QFile::encodeName(candidate).constData(), O_RDWR | O_NOCTTY);
        if (fd >= 0)
            ::close(fd);
        else if (errno == EACCES)
            return candidate;
    }
    return {};
}

} // namespace

TEST(QtSerialPort, OpenFailuresNameThePortTheDeviceAndTheRemedy)
{
    QTemporaryDir scratch;
    const QString missing = scratch.filePath(QStringLiteral("ttyUSB7"));
    const QString plainFile = scratch.filePath(QStringLiteral("plain-file"));
    QFile(plainFile).open(QIODevice::WriteOnly);
    const QString denied = permissionDeniedPath(scratch.path());
    ASSERT_FALSE(denied.isEmpty()) << "no path refuses opening on this machine";

    struct Case {
        const char* what;
        QString device;
        int port;
        QStringList expected; // fragments of the message; "%map" is the ComPorts.txt path
    };
    const Case cases[] = {
        {"a number with no device", missing, 11, {"COM11 has no device", "1 to 10"}},
        {"a device that does not exist", missing, 3, {"COM3 (" + missing + ")", "does not exist", "%map", "COM3=/dev/ttyUSB0"}},
        {"permission denied", denied, 3,
         {"COM3 (" + denied + ") cannot be opened: permission denied.", "sudo adduser $USER dialout", "log in again"}},
        {"not a serial device", plainFile, 3, {"COM3 (" + plainFile + ")", "is not a serial port", "%map"}},
    };
    for (const Case& c : cases) {
        PortUnderTest link(c.device);
        link.port->setPortNumber(c.port);
        EXPECT_FALSE(link.port->open()) << c.what;
        EXPECT_FALSE(link.port->isOpen()) << c.what;
        for (QString fragment : c.expected) {
            fragment.replace(QStringLiteral("%map"), link.mapFile());
            EXPECT_TRUE(link.port->errorString().contains(fragment))
                << c.what << ": \"" << link.port->errorString().toStdString() << "\" lacks \"" << fragment.toStdString() << '"';
        }
    }
}

TEST(QtSerialPort, ADeviceThisProgramHoldsIsRefusedByNameUntilLetGo)
{
    RadioEmulatorProcess radio(kenwood);
    ASSERT_TRUE(radio.start()) << radio.error().toStdString();
    PortUnderTest first(radio.ptyPath());
    ASSERT_TRUE(first.port->open()) << first.port->errorString().toStdString();
    // The same device under another name (a by-id link) is the same device.
    QTemporaryDir links;
    const QString link = links.filePath(QStringLiteral("by-id-link"));
    ASSERT_TRUE(QFile::link(radio.ptyPath(), link));
    PortUnderTest second(link);
    EXPECT_FALSE(second.port->open());
    EXPECT_TRUE(second.port->errorString().startsWith(
        QStringLiteral("COM3 (%1) cannot be opened: TenLog already uses it for the radio").arg(link)))
        << second.port->errorString().toStdString();
    first.port->close();
    EXPECT_TRUE(second.port->open()) << "free again once the other lets go";
}

TEST(QtSerialPort, ARadioThatGoesAwayClosesThePortAndReportsOnce)
{
    Emulated rig(kenwood);
    ASSERT_TRUE(rig.open(QStringLiteral("4800,N,8,2")));
    const QString device = rig.radio.ptyPath();
    rig.radio.kill();
    ASSERT_TRUE(RadioEmulatorProcess::waitFor([&] { return !rig.link->failures.isEmpty(); }));
    EXPECT_FALSE(rig.link->port->isOpen());
    EXPECT_FALSE(rig.link->port->write("FA;"));
    EXPECT_TRUE(rig.link->port->readAll().isEmpty());
    RadioEmulatorProcess::waitFor([] { return false; }, 300);
    ASSERT_EQ(rig.link->failures.size(), 1);
    EXPECT_TRUE(rig.link->failures[0].startsWith(
        QStringLiteral("COM3 (%1) stopped working and was closed: the device went away").arg(device)))
        << rig.link->failures[0].toStdString();
    EXPECT_EQ(rig.link->port->errorString(), rig.link->failures[0]);
}

namespace {

struct ReplyCase {
    const char* what;
    const QString* program;
    QStringList arguments;
    const char* request;  // hex
    int length;           // bytes expected back
    const char* expected; // hex of the reply's start
};

} // namespace

// Each emulator answers its family's request in the layout the logger's
// parsers read, here with the radio at 28.475 MHz in CW.
TEST(RadioEmulators, AnswerTheirFamilysRequestAsTheParsersExpect)
{
    const ReplyCase cases[] = {
        {"Kenwood FA;", &kenwood, {}, "46 41 3B", 14, "46 41 30 30 30 32 38 34 37 35 30 30 30 3B"},
        {"Kenwood MD;", &kenwood, {}, "4D 44 3B", 4, "4D 44 33 3B"},
        {"Kenwood IF; mode at 30", &kenwood, {}, "49 46 3B", 38, nullptr},
        {"FTdx9000 FA;", &kenwood, {"--model", "ftdx9000"}, "46 41 3B", 11, "46 41 32 38 34 37 35 30 30 30 3B"},
        {"FTdx9000 MD0;", &kenwood, {"--model", "ftdx9000"}, "4D 44 30 3B", 5, "4D 44 30 33 3B"},
        {"Icom read frequency", &icom, {}, "FE FE 64 E0 03 FD", 17, "FE FE 64 E0 03 FD FE FE E0 64 03 00 50 47 28 00 FD"},
        {"IC-735 four bytes", &icom, {"--model", "ic735"}, "FE FE 64 E0 03 FD", 16, "FE FE 64 E0 03 FD FE FE E0 64 03 00 50 47 28 FD"},
        {"Omni VI read mode", &icom, {"--address", "04"}, "FE FE 04 E0 04 FD", 14, "FE FE 04 E0 04 FD FE FE E0 04 04 03 01 FD"},
        {"Yaesu FT-817 style", &yaesu, {}, "00 00 00 00 03", 5, "02 84 75 00 02"},
        {"Yaesu 757 GX II", &yaesu, {"--model", "757gx2"}, "00 00 00 00 10", 75, "00 00 00 00 00 00 75 84 02 02"},
        {"Yaesu 890", &yaesu, {"--model", "890"}, "00 00 00 02 10", 19, "00 00 2B 73 0C 00 00 02"},
        {"Yaesu 920", &yaesu, {"--model", "920"}, "00 00 00 02 10", 28, "00 01 B2 7E 78 00 00 01"},
        {"Yaesu 990", &yaesu, {"--model", "990"}, "00 00 00 02 10", 32, "00 2B 73 0C 00 00 00 02"},
        {"Yaesu 1000 D", &yaesu, {"--model", "1000d"}, "00 00 00 02 10", 16, "00 2B 73 0C 00 00 00 02"},
        {"Yaesu 1000", &yaesu, {"--model", "1000"}, "00 00 00 02 10", 16, "00 02 B7 30 C0 00 00 02"},
        {"Orion ?AF", &tentec, {}, "3F 41 46 0D", 12, "40 41 46 32 38 34 37 35 30 30 30 0D"},
        {"Orion ?RMM", &tentec, {}, "3F 52 4D 4D 0D", 6, "40 52 4D 4D 32 0D"},
        {"Front panel ?A", &tentec, {"--model", "frontpanel"}, "3F 41 0D", 6, "41 01 B2 7E 78 0D"},
        {"Front panel ?M", &tentec, {"--model", "frontpanel"}, "3F 4D 0D", 4, "4D 33 33 0D"},
    };
    for (const ReplyCase& c : cases) {
        Emulated rig(*c.program, c.arguments);
        ASSERT_TRUE(rig.open(QStringLiteral("4800,N,8,2"))) << c.what;
        ASSERT_TRUE(rig.radio.command(QStringLiteral("freq 28.475")));
        ASSERT_TRUE(rig.radio.command(QStringLiteral("mode CW")));
        ASSERT_TRUE(rig.link->port->write(bytesFromHex(c.request)));
        ASSERT_TRUE(rig.link->receive(c.length)) << c.what << ": got " << hexOf(rig.link->received).toStdString();
        RadioEmulatorProcess::waitFor([] { return false; }, 50); // nothing more may follow
        EXPECT_EQ(rig.link->received.size(), c.length) << c.what;
        if (c.expected)
            EXPECT_TRUE(hexOf(rig.link->received).startsWith(QString::fromLatin1(c.expected)))
                << c.what << ": got " << hexOf(rig.link->received).toStdString();
        else
            EXPECT_EQ(rig.link->received.mid(29, 2), QByteArray("30")) << c.what << ": CW, VFO A";
    }
}

TEST(RadioEmulators, FaultsReplaceSilenceOrFloodTheReplies)
{
    Emulated rig(kenwood);
    ASSERT_TRUE(rig.open(QStringLiteral("4800,N,8,2")));
    PortUnderTest& link = *rig.link;

    ASSERT_TRUE(rig.radio.command(QStringLiteral("fault silent")));
    ASSERT_TRUE(link.port->write("FA;"));
    ASSERT_TRUE(rig.radio.waitForReceived(1));
    EXPECT_FALSE(link.receive(1, 200)) << "a silent radio answers nothing";

    ASSERT_TRUE(rig.radio.command(QStringLiteral("fault garbage")));
    ASSERT_TRUE(link.port->write("FA;"));
    ASSERT_TRUE(link.receive(14));
    EXPECT_NE(link.received, QByteArray("FA00028475000;")) << "random bytes in place of the reply";

    link.received.clear();
    ASSERT_TRUE(rig.radio.command(QStringLiteral("fault none")));
    ASSERT_TRUE(rig.radio.command(QStringLiteral("fault noise64k")));
    ASSERT_TRUE(link.receive(64 * 1024)) << "got " << link.received.size();
    ASSERT_TRUE(link.port->write("FA;"));
    ASSERT_TRUE(link.receive(64 * 1024 + 14));
    EXPECT_TRUE(link.received.endsWith("FA00028475000;")) << "the radio answers normally after the noise";
}
