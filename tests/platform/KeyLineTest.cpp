// The real key lines: RTS/DTR keying on the real serial port over a
// pseudo-terminal (which has no control lines, so keying must be harmless
// and leave the data path working), keying from the keying thread while the
// device goes away, and the parallel port's messages when its device is
// missing, not permitted or not a parallel port.
#include "cw/CwKeyer.h"
#include "platform/ParallelKeyLine.h"
#include "platform/SerialKeyLine.h"
#include "platform/qt/PpdevPortIo.h"
#include "platform/qt/QtSerialPort.h"

#include "RadioEmulatorProcess.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <unistd.h>

using namespace tenlog;
using tenlog::testing::RadioEmulatorProcess;

namespace {

std::unique_ptr<platform::QtSerialPort> portTo(const QTemporaryDir& dir, const QString& device)
{
    const QString map = dir.filePath(platform::ComPortMap::fileName());
    QFile file(map);
    file.open(QIODevice::WriteOnly);
    file.write("COM4=" + QFile::encodeName(device) + "\n");
    file.close();
    auto port = std::make_unique<platform::QtSerialPort>(platform::ComPortMap::readFrom(map, dir.path()));
    port->setPortNumber(4);
    return port;
}

} // namespace

TEST(SerialKeyLine, KeyingFromTheKeyingThreadLeavesTheDataPathWorking)
{
    RadioEmulatorProcess radio(QStringLiteral(TENLOG_KENWOOD_EMULATOR));
    ASSERT_TRUE(radio.start()) << radio.error().toStdString();
    QTemporaryDir dir;
    auto port = portTo(dir, radio.ptyPath());
    ASSERT_TRUE(port->open()) << port->errorString().toStdString();
    QByteArray received;
    port->setReadyReadHandler([&] { received += port->readAll(); });

    platform::MonotonicKeyingClock clock;
    {
        cw::CwKeyer keyer(clock);
        keyer.setWpm(200);
        keyer.setKeyLine(std::make_shared<platform::SerialKeyLine>(*port, platform::SerialKeyLine::Line::Rts));
        keyer.append(QStringLiteral("EEE"));
        ASSERT_TRUE(keyer.waitUntilIdle(10000));
        keyer.setKeyLine(std::make_shared<platform::SerialKeyLine>(*port, platform::SerialKeyLine::Line::Dtr));
        keyer.append(QStringLiteral("TTT"));
        ASSERT_TRUE(keyer.waitUntilIdle(10000));
    }
    EXPECT_TRUE(port->isOpen());
    ASSERT_TRUE(port->write("FA;"));
    EXPECT_TRUE(RadioEmulatorProcess::waitFor([&] { return received.endsWith(';'); }));
}

TEST(SerialKeyLine, DeviceGoingAwayWhileKeyingIsReportedAndHarmless)
{
    RadioEmulatorProcess radio(QStringLiteral(TENLOG_KENWOOD_EMULATOR));
    ASSERT_TRUE(radio.start()) << radio.error().toStdString();
    QTemporaryDir dir;
    auto port = portTo(dir, radio.ptyPath());
    QStringList failures;
    port->setFailureHandler([&](const QString& why) { failures << why; });
    ASSERT_TRUE(port->open());
    platform::SerialKeyLine line(*port, platform::SerialKeyLine::Line::Dtr);
    std::atomic<bool> stop {false};
    std::thread keying([&] {
        bool down = false;
        while (!stop) {
            line.setKeyDown(down = !down);
        }
        line.setKeyDown(false);
    });
    radio.kill();
    EXPECT_TRUE(RadioEmulatorProcess::waitFor([&] { return !failures.isEmpty(); }));
    stop = true;
    keying.join();
    EXPECT_FALSE(port->isOpen());
    EXPECT_TRUE(line.setKeyDown(true)); // a closed port keys nothing
    line.setKeyDown(false);
}

TEST(ParallelKeyLine, AddressesAndDeviceMessages)
{
    const std::pair<const char*, int> addresses[] = {
        {"&H378", 0x378}, {"&h278", 0x278}, {"888", 888}, {" &H3BC ", 0x3BC}, {"", -1}, {"&HXYZ", -1}, {"0", -1}, {"40000", -1}, {"&H10000", -1}};
    for (const auto& [text, address] : addresses)
        EXPECT_EQ(platform::ParallelKeyLine::parseAddress(QString::fromLatin1(text)).value_or(-1), address) << text;

    QTemporaryDir dev;
    // parport1 exists but is not a parallel port; parport2 cannot be opened.
    QFile notPort(dev.filePath(QStringLiteral("parport1")));
    ASSERT_TRUE(notPort.open(QIODevice::WriteOnly));
    notPort.close();
    QFile locked(dev.filePath(QStringLiteral("parport2")));
    ASSERT_TRUE(locked.open(QIODevice::WriteOnly));
    locked.close();
    locked.setPermissions({});
    platform::PpdevPortIo io(dev.path());
    const struct {
        const char* address;
        const char* message;
    } rows[] = {
        {"&H378", "The parallel port &H378 (%1/parport0) is not there. Load the ppdev module (modprobe ppdev) and check that the port exists."},
        {"&H278", "The parallel port &H278 (%1/parport1) cannot be claimed: "},
        {"&H3BC", "The parallel port &H3BC (%1/parport2) is not permitted. Add yourself to the group lp and log in again."},
        {"&H100", "No parallel port is known at address &H100; use &H378, &H278 or &H3BC."},
        {"LPT1", "The parallel port address \"LPT1\" is not an address such as &H378."},
    };
    for (const auto& row : rows) {
        if (getuid() == 0 && QByteArray(row.address) == "&H3BC")
            continue; // root opens anything
        platform::ParallelKeyLine line(io, QString::fromLatin1(row.address));
        EXPECT_FALSE(line.setKeyDown(true)) << row.address;
        EXPECT_TRUE(line.errorString().startsWith(QString::fromLatin1(row.message).arg(dev.path())))
            << line.errorString().toStdString();
    }
}
