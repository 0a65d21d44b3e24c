// The operator's port mapping and the serial parameter text: what is read
// from ComPorts.txt and which settings texts a port accepts.
#include "platform/ComPortMap.h"
#include "platform/SerialSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using tenlog::platform::ComPortMap;
using tenlog::platform::parseSerialSettings;

namespace {

const QString home = QStringLiteral("/home/op");

struct MappingCase {
    const char* what;
    const char* text;
    int port;
    const char* device;
};

const MappingCase mappingCases[] = {
    {"no file: the built-in ports", "", 1, "/dev/ttyS0"},
    {"no file: the last port", "", 10, "/dev/ttyS9"},
    {"a mapped port", "COM3=/dev/ttyUSB0\n", 3, "/dev/ttyUSB0"},
    {"a port beside a mapped one keeps its default", "COM3=/dev/ttyUSB0\n", 4, "/dev/ttyS3"},
    {"port 10", "COM10=/dev/ttyACM0\n", 10, "/dev/ttyACM0"},
    {"spaces and lower case", "  com3 =  /dev/ttyUSB0  \n", 3, "/dev/ttyUSB0"},
    {"CR LF lines", "COM3=/dev/ttyUSB0\r\nCOM4=/dev/ttyACM0\r\n", 4, "/dev/ttyACM0"},
    {"blank lines and comments", "\n\n# COM3=/dev/old\n   \nCOM3=/dev/ttyUSB1\n", 3, "/dev/ttyUSB1"},
    {"a commented line alone", "# COM3=/dev/old\n", 3, "/dev/ttyS2"},
    {"the later of two lines wins", "COM3=/dev/first\nCOM3=/dev/second\n", 3, "/dev/second"},
    {"COM0 and COM11 map nothing", "COM0=/dev/a\nCOM11=/dev/b\nCOM01=/dev/c\n", 1, "/dev/c"},
    {"COM11 is not COM1", "COM11=/dev/b\n", 1, "/dev/ttyS0"},
    {"lines of other forms", "COM=/dev/a\nCOMX=/dev/b\nCOM3/dev/c\nCOM 3=/dev/d\n", 3, "/dev/ttyS2"},
    {"an empty value keeps the default", "COM3=\n", 3, "/dev/ttyS2"},
    {"the last line without a line end", "COM3=/dev/ttyUSB2", 3, "/dev/ttyUSB2"},
    {"no device below 1", "COM3=/dev/ttyUSB0\n", 0, ""},
    {"no device above 10", "", 11, ""},
};

class ComPortMapping : public ::testing::TestWithParam<MappingCase> {};

} // namespace

TEST_P(ComPortMapping, GivesTheDevice)
{
    const MappingCase& c = GetParam();
    const ComPortMap map(QStringLiteral("/x/ComPorts.txt"), QByteArray(c.text), home);
    EXPECT_EQ(map.devicePathFor(c.port), QString::fromLatin1(c.device)) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Rules, ComPortMapping, ::testing::ValuesIn(mappingCases));

TEST(ComPortMap, PegasusFolderDefaultsToTheHomeFolderAndIsSetByItsLine)
{
    EXPECT_EQ(ComPortMap(QString(), "COM3=/dev/ttyUSB0\n", home).pegasusFolder(), QStringLiteral("/home/op/Pegasus"));
    EXPECT_EQ(ComPortMap(QString(), " pegasus = /srv/Pegasus Files \r\nCOM3=/dev/x\r\n", home).pegasusFolder(),
              QStringLiteral("/srv/Pegasus Files"));
    EXPECT_EQ(ComPortMap(QString(), "PEGASUS=\n", home).pegasusFolder(), QStringLiteral("/home/op/Pegasus"));
}

TEST(ComPortMap, ReadsTheFileAndTakesAMissingOneAsNoMapping)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(ComPortMap::fileName());
    EXPECT_EQ(ComPortMap::readFrom(path, home).devicePathFor(3), QStringLiteral("/dev/ttyS2"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("COM3=/dev/ttyUSB0\r\n");
    file.close();
    const ComPortMap map = ComPortMap::readFrom(path, home);
    EXPECT_EQ(map.devicePathFor(3), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(map.filePath(), path) << "messages name the file to edit";
}

TEST(SerialSettings, AcceptsRateParityDataAndStopBits)
{
    const auto settings = parseSerialSettings(QStringLiteral("4800,N,8,2"));
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->bitsPerSecond, 4800);
    EXPECT_EQ(settings->parity, 'N');
    EXPECT_EQ(settings->dataBits, 8);
    EXPECT_EQ(settings->stopBits, 2);
    const auto orion = parseSerialSettings(QStringLiteral("56000,e,7,1"));
    ASSERT_TRUE(orion);
    EXPECT_EQ(orion->parity, 'E');
    EXPECT_EQ(orion->deviceBitsPerSecond(), 57600) << "the setup window's 56 k is the UART's 57600";
    EXPECT_EQ(parseSerialSettings(QStringLiteral("1200,O,8,1"))->deviceBitsPerSecond(), 1200);
}

TEST(SerialSettings, RefusesAnythingElse)
{
    for (const char* text : {"", "4800", "4800,N,8", "4800,N,8,2,1", "4801,N,8,2", "+4800,N,8,2", "48OO,N,8,2",
                             "4800,X,8,2", "4800,NN,8,2", "4800,N,9,2", "4800,N,6,2", "4800,N,8,3", "4800,N,8,1.5",
                             "4800;N;8;2", "4800,,8,2"})
        EXPECT_FALSE(parseSerialSettings(QString::fromLatin1(text))) << text;
}
