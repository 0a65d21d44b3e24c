// The operator's port mapping and the serial parameter text: what is read
// from ComPorts.txt and which settings texts a port accepts.
#include "platform/ComPortMap.h"
#include "platform/DurableFile.h"
#include "platform/SerialSettings.h"

#include "QtPrinters.h"

#include <QDir>
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

// Lines left out are named, so the operator learns why a port is not the
// device written for it.
TEST(ComPortMap, LinesLeftOutAreNamedWithTheirFault)
{
    const ComPortMap map(QStringLiteral("/u/ComPorts.txt"),
                         "# my ports\r\n"
                         "COM3=/dev/ttyUSB0\r\n"
                         "COM3/dev/ttyUSB1\r\n"
                         "COM11=/dev/ttyUSB2\r\n"
                         "COM4=ttyACM0\r\n"
                         "RADIO=/dev/ttyUSB3\r\n"
                         "COM5=\r\n"
                         "PEGASUS=/srv/pegasus\r\n",
                         home);
    EXPECT_EQ(map.problems(),
              (QStringList{QStringLiteral("line 3: \"COM3/dev/ttyUSB1\" is not a setting such as COM3=/dev/ttyUSB0 or "
                                          "PEGASUS=/home/op/Pegasus"),
                           QStringLiteral("line 4: COM11 is not a port this program uses: they are COM1 to COM10"),
                           QStringLiteral("line 5: the device of COM4, \"ttyACM0\", is not a full path such as /dev/ttyUSB0"),
                           QStringLiteral("line 6: \"RADIO=/dev/ttyUSB3\" is not a setting such as COM3=/dev/ttyUSB0 or "
                                          "PEGASUS=/home/op/Pegasus")}));
    EXPECT_EQ(map.devicePathFor(3), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(map.devicePathFor(4), QStringLiteral("/dev/ttyS3")) << "a relative device keeps the default";
    EXPECT_EQ(map.pegasusFolder(), QStringLiteral("/srv/pegasus"));
    const QString report = map.problemReport();
    EXPECT_TRUE(report.startsWith(QStringLiteral("/u/ComPorts.txt line 3: "))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("/u/ComPorts.txt line 6: "))) << report.toStdString();
    EXPECT_TRUE(ComPortMap(QString(), "COM3=/dev/ttyUSB0\n\n# note\n", home).problemReport().isEmpty());
}

TEST(ComPortMap, AFileThatIsNoPortMapIsNamedAndNotUsed)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(ComPortMap::fileName());
    const struct {
        const char* what;
        QByteArray data;
        const char* problem;
    } rows[] = {
        {"binary", QByteArray("COM3=/dev/ttyUSB0\n\x00\x01", 20), "is not text: line 2 holds the byte 0x00, so none of its settings is used"},
        {"oversized", "COM3=/dev/ttyUSB0\n" + QByteArray(70000, '#'), "is too large (68.4 KB, where such a file holds at most "
                                                                      "64.0 KB), so none of its settings is used"},
    };
    for (const auto& row : rows) {
        ASSERT_TRUE(tenlog::platform::writeFileAtomically(path, row.data));
        const ComPortMap map = ComPortMap::readFrom(path, home);
        EXPECT_EQ(map.problems(), QStringList{QString::fromLatin1(row.problem)}) << row.what;
        EXPECT_EQ(map.devicePathFor(3), QStringLiteral("/dev/ttyS2")) << row.what;
    }
    QFile::remove(path);
    ASSERT_TRUE(QDir(dir.path()).mkdir(ComPortMap::fileName()));
    EXPECT_EQ(ComPortMap::readFrom(path, home).problems(),
              QStringList{QStringLiteral("is a folder, not a file, so none of its settings is used")});
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
