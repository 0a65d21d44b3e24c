// "PackSpot.txt": the fourteen values written and read back.
#include "spots/SpotSettings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tenlog::spots;

TEST(SpotSettings, WritesTheFileAndReadsItBackButListDxOnly)
{
    QTemporaryDir folder;
    SpotSettings s;
    s.baud = "9600";
    s.port = 3;
    s.power = "R";
    s.source = "Telnet";
    s.handshake = 3;
    s.listDxOnly = 1;
    s.listDisplay = true;
    s.commandCharacter = "03";
    s.telnetPort = "7300";
    s.telnetHost = "dxc.example.org";
    ASSERT_TRUE(saveSpotSettings(folder.path(), s));
    QFile file(folder.filePath("PackSpot.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "\"9600\"\r\n\"N\"\r\n\"8\"\r\n\"1\"\r\n3\r\n\"R\"\r\n\"Telnet\"\r\n0\r\n3\r\n1\r\n#TRUE#\r\n"
                              "\"03\"\r\n\"7300\"\r\n\"dxc.example.org\"\r\n");
    const auto loaded = loadSpotSettings(folder.path());
    ASSERT_TRUE(loaded.has_value());
    SpotSettings expected = s;
    expected.listDxOnly = 0; // the box starts cleared every run
    EXPECT_EQ(*loaded, expected);
}

TEST(SpotSettings, MissingShortOrUnwritable)
{
    QTemporaryDir folder;
    EXPECT_FALSE(loadSpotSettings(folder.path()).has_value());
    EXPECT_FALSE(parseSpotSettings("\"9600\",\"N\"").has_value());
    EXPECT_FALSE(parseSpotSettings("\"9600\",\"N\",\"8\",\"1\",x,\"N\",\"None\",0,1,0,#FALSE#,\"03\",\"\",\"\"").has_value());
    SpotSettings s;
    s.telnetHost = "a\"b";
    EXPECT_FALSE(saveSpotSettings(folder.path(), s));
    EXPECT_FALSE(QFile::exists(folder.filePath("PackSpot.txt")));
}
