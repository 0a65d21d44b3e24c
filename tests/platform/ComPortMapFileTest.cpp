// Mapping a port to a device in ComPorts.txt: the line that decides the port
// is replaced where it stands (or one is added), everything else in the file
// stays as written, what is written reads back as meant, and the mapping the
// serial ports share follows the file.
#include "platform/ComPortMapFile.h"
#include "platform/DurableFile.h"

#include "FileBytes.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using tenlog::platform::ComPortMap;
using tenlog::platform::ComPortMapFile;
using tenlog::platform::textWithDevice;
using tenlog::testing::fileBytes;

namespace {

const QString home = QStringLiteral("/home/op");

struct WriteCase {
    const char* what;
    const char* before;
    int port;
    const char* after;
};

const WriteCase writeCases[] = {
    {"an empty file", "", 3, "COM3=/dev/new\n"},
    {"a port not yet mapped goes at the end", "COM1=/dev/a\n", 3, "COM1=/dev/a\nCOM3=/dev/new\n"},
    {"CR LF files keep CR LF", "# ports\r\nCOM1=/dev/a\r\n", 3, "# ports\r\nCOM1=/dev/a\r\nCOM3=/dev/new\r\n"},
    {"a last line without a line end", "COM1=/dev/a", 3, "COM1=/dev/a\nCOM3=/dev/new\n"},
    {"replaced where it stands, comments kept", "# radio\nCOM3=/dev/old\n# keyer\nCOM4=/dev/k\nPEGASUS=/srv/p\n", 3,
     "# radio\nCOM3=/dev/new\n# keyer\nCOM4=/dev/k\nPEGASUS=/srv/p\n"},
    {"the later of two lines is the one replaced", "COM3=/dev/a\nCOM4=/dev/k\nCOM3=/dev/b\n", 3,
     "COM3=/dev/a\nCOM4=/dev/k\nCOM3=/dev/new\n"},
    {"spelled as the reader allows, CR kept", "  com3 = /dev/old\r\nCOM4=/dev/k\r\n", 3, "COM3=/dev/new\r\nCOM4=/dev/k\r\n"},
    {"COM03 is port 3", "COM03=/dev/old\n", 3, "COM3=/dev/new\n"},
    {"a commented line is left alone", "# COM3=/dev/old\n", 3, "# COM3=/dev/old\nCOM3=/dev/new\n"},
    {"an empty value maps nothing", "COM3=\n", 3, "COM3=\nCOM3=/dev/new\n"},
    {"COM30 and COM13 are other ports", "COM30=/dev/x\nCOM13=/dev/y\n", 3, "COM30=/dev/x\nCOM13=/dev/y\nCOM3=/dev/new\n"},
    {"port 10 is not port 1", "COM1=/dev/a\n", 10, "COM1=/dev/a\nCOM10=/dev/new\n"},
};

class MappingWrite : public ::testing::TestWithParam<WriteCase> {};

} // namespace

TEST_P(MappingWrite, ReplacesTheDecidingLineAndReadsBackAsMeant)
{
    const WriteCase& c = GetParam();
    const QByteArray written = textWithDevice(QByteArray(c.before), c.port, QStringLiteral("/dev/new"));
    EXPECT_EQ(written, QByteArray(c.after)) << c.what;

    // Whatever the file held, the reader now maps the port to the new device
    // and every other setting as before.
    const ComPortMap before(QString(), QByteArray(c.before), home);
    const ComPortMap after(QString(), written, home);
    for (int port = 1; port <= 10; ++port) {
        EXPECT_EQ(after.devicePathFor(port), port == c.port ? QStringLiteral("/dev/new") : before.devicePathFor(port))
            << c.what << ", COM" << port;
    }
    EXPECT_EQ(after.pegasusFolder(), before.pegasusFolder()) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Lines, MappingWrite, ::testing::ValuesIn(writeCases));

TEST(ComPortMapFile, MapsInTheFileAndInTheSharedMappingAlike)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("user/ComPorts.txt"));
    ComPortMapFile file(path, home);
    const std::shared_ptr<const ComPortMap> shared = file.map();
    EXPECT_EQ(shared->devicePathFor(3), QStringLiteral("/dev/ttyS2")) << "no file yet";

    QString error;
    ASSERT_TRUE(file.mapDevice(3, QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A5-if00-port0"), &error))
        << error.toStdString();
    EXPECT_EQ(file.map(), shared) << "the ports hold the same mapping object";
    EXPECT_EQ(shared->devicePathFor(3), QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A5-if00-port0"));
    const QByteArray text = fileBytes(path);
    EXPECT_TRUE(text.startsWith('#')) << "a new file says what it is for";
    EXPECT_EQ(ComPortMap::readFrom(path, home).devicePathFor(3), shared->devicePathFor(3));

    ASSERT_TRUE(file.mapDevice(3, QStringLiteral("/dev/ttyACM0")));
    ASSERT_TRUE(file.mapDevice(4, QStringLiteral("/dev/ttyUSB1")));
    EXPECT_EQ(fileBytes(path), text.left(text.indexOf('\n') + 1) + "COM3=/dev/ttyACM0\nCOM4=/dev/ttyUSB1\n");
    EXPECT_EQ(shared->devicePathFor(4), QStringLiteral("/dev/ttyUSB1"));
}

TEST(ComPortMapFile, RefusesWhatCannotBeWrittenAndLeavesAllAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(ComPortMap::fileName());
    ASSERT_TRUE(tenlog::platform::writeFileAtomically(path, "# hand-made\r\nCOM3=/dev/ttyUSB0\r\n"));
    ComPortMapFile file(path, home);

    // Port 11, a path the reader would trim, a path across lines.
    for (const auto& [port, device, said] : {std::tuple {11, "/dev/x", "1 to 10"}, std::tuple {3, "/dev/x ", "cannot be kept"},
                                             std::tuple {3, "/dev/x\nCOM4=/dev/y", "cannot be kept"}}) {
        QString error;
        EXPECT_FALSE(file.mapDevice(port, QString::fromLatin1(device), &error)) << device;
        EXPECT_TRUE(error.contains(QLatin1String(said))) << device << ": " << error.toStdString();
    }
    EXPECT_EQ(fileBytes(path), QByteArray("# hand-made\r\nCOM3=/dev/ttyUSB0\r\n"));
    EXPECT_EQ(file.map()->devicePathFor(3), QStringLiteral("/dev/ttyUSB0"));

    // A file that cannot be read is never replaced: its lines would be lost.
    const QString unreadable = dir.filePath(QStringLiteral("folder-in-the-way"));
    ASSERT_TRUE(QDir().mkpath(unreadable));
    ComPortMapFile blocked(unreadable, home);
    QString error;
    EXPECT_FALSE(blocked.mapDevice(3, QStringLiteral("/dev/ttyUSB0"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("could not be read"))) << error.toStdString();
    EXPECT_TRUE(QFileInfo(unreadable).isDir());
    EXPECT_EQ(blocked.map()->devicePathFor(3), QStringLiteral("/dev/ttyS2"));
}
