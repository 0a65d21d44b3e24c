// The reply parsers, one table per family: each row starts from a reading
// that holds 1 MHz, mode "XX" and VFO 10, so "unchanged" shows.
#include "rig/HexByteText.h"
#include "rig/RigParsers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace tenlog::rig;

namespace {

using Parse = std::function<void(const QByteArray&, RigReading&)>;

struct Case {
    const char* what;
    Parse parse;
    QByteArray reply;
    float frequency;
    const char* mode;
    int vfo = 10;
};

const RigReading kBefore{1.0f, QStringLiteral("XX"), 10};

void runTable(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        RigReading reading = kBefore;
        c.parse(c.reply, reading);
        EXPECT_EQ(reading.frequencyMHz, c.frequency) << c.what;
        EXPECT_EQ(reading.mode, QString::fromLatin1(c.mode)) << c.what;
        EXPECT_EQ(reading.kenwoodVfo, c.vfo) << c.what;
    }
}

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

} // namespace

TEST(HexByteText, ReadsPairsAtEveryThirdCharacter)
{
    EXPECT_EQ(bytesFromHexText(QStringLiteral("FE FE 64 E0 03 FD"), 6), hex("FEFE64E003FD"));
    EXPECT_EQ(bytesFromHexText(QStringLiteral("3f 41 0d"), 3), hex("3F410D"));
    EXPECT_EQ(bytesFromHexText(QStringLiteral("00 00 00 00 03 trailing"), 5), hex("0000000003"));
    EXPECT_EQ(bytesFromHexText(QStringLiteral("00 01 02")), hex("000102"));
    EXPECT_EQ(bytesFromHexText(QString()), QByteArray());
    EXPECT_FALSE(bytesFromHexText(QStringLiteral("FE FE 64"), 6));  // too short
    EXPECT_FALSE(bytesFromHexText(QStringLiteral("FE XX 64"), 3));  // not hex
    EXPECT_FALSE(bytesFromHexText(QStringLiteral("FE F")));         // half a pair
    EXPECT_EQ(rawDisplayText(hex("fe0a00"), true), QStringLiteral("FE 0A 00 "));
    EXPECT_EQ(rawDisplayText("FA;", false), QStringLiteral("FA;"));
    EXPECT_EQ(hexDigits(hex("fe0a")), QByteArray("FE0A"));
}

TEST(RigParsers, KenwoodAndFtdxReplies)
{
    const Parse kenwood = [](const QByteArray& r, RigReading& x) {
        parseKenwoodFrequency(r, QStringLiteral("FA;"), x);
        parseKenwoodMode(r, x);
    };
    const Parse shortQuery = [](const QByteArray& r, RigReading& x) { parseKenwoodFrequency(r, QStringLiteral("FA"), x); };
    const Parse info = [](const QByteArray& r, RigReading& x) { parseKenwoodInfo(r, x); };
    const Parse ftdx = [](const QByteArray& r, RigReading& x) {
        parseFtdxReply(r, QStringLiteral("FA;"), QStringLiteral("MD0;"), x);
    };
    runTable({
        {"FA reply", kenwood, "FA00028475000;", 28.475f, "XX"},
        {"rounded to 5 decimals", kenwood, "FA00028474996;", 28.475f, "XX"},
        {"both replies in one buffer", kenwood, "FA00014025000;MD3;", 14.025f, "CW"},
        {"CW reverse", kenwood, "MD7;", 1.0f, "CW"},
        {"USB", kenwood, "MD2;", 1.0f, "PH"},
        {"MD without its digit", kenwood, "MD", 1.0f, "XX"},
        {"short FA reply", kenwood, "FA0002847500", 1.0f, "XX"},
        {"letters in the digits", kenwood, "FA000284X5000;", 1.0f, "XX"},
        {"request text too short to search", shortQuery, "FA00028475000;", 1.0f, "XX"},
        {"IF, USB, VFO A", info, "IF00028475000     +00000000002000000 ;", 28.475f, "PH", 0},
        {"IF, CW, VFO B", info, "IF00007025000     +00000000003100000 ;", 7.025f, "CW", 1},
        {"IF, CW reverse is phone here", info, "IF00028025000     +00000000007000000 ;", 28.025f, "PH", 0},
        {"IF cut after the frequency", info, "IF00028475000  ", 28.475f, "XX"},
        {"FTdx frequency", ftdx, "FA28475000;", 28.475f, "XX"},
        {"FTdx CW", ftdx, "MD03;", 1.0f, "CW"},
        {"FTdx USB", ftdx, "MD02;", 1.0f, "PH"},
        {"FTdx frequency cut short", ftdx, "FA2847500", 1.0f, "XX"},
    });
}

TEST(RigParsers, CivFrames)
{
    const Parse frequency = [](const QByteArray& r, RigReading& x) { parseCivFrequency(r, false, x); };
    const Parse ic735 = [](const QByteArray& r, RigReading& x) { parseCivFrequency(r, true, x); };
    const Parse mode = [](const QByteArray& r, RigReading& x) { parseCivMode(r, x); };
    runTable({
        {"echo then reply", frequency, hex("FEFE64E003FD" "FEFEE0640300504728" "00FD"), 28.475f, "XX"},
        {"7 MHz", frequency, hex("FEFEE064030050020700FD"), 7.025f, "XX"},
        {"IC-735 four bytes", ic735, hex("FEFE64E003FD" "FEFEE06403" "00504728FD"), 28.475f, "XX"},
        {"echo only", frequency, hex("FEFE64E003FD"), 1.0f, "XX"},
        {"not BCD", frequency, hex("FEFEE06403005A472800FD"), 1.0f, "XX"},
        {"mode CW", mode, hex("FEFE64E004FD" "FEFEE064040301FD"), 1.0f, "CW"},
        {"mode CW reverse", mode, hex("FEFEE064040701FD"), 1.0f, "PH"},
        {"mode frame missing", mode, hex("FEFE64E004FD"), 1.0f, "XX"},
    });
}

TEST(RigParsers, YaesuBinaryReplies)
{
    const Parse status = [](const QByteArray& r, RigReading& x) { parseYaesuStatus(r, x); };
    const Parse gx757 = [](const QByteArray& r, RigReading& x) { parseYaesu757Status(r, x); };
    const auto model = [](YaesuBinaryModel m) {
        return Parse([m](const QByteArray& r, RigReading& x) { parseYaesuBinaryStatus(r, m, x); });
    };
    runTable({
        {"status CW", status, hex("0284750082"), 28.475f, "CW"},
        {"below 1 MHz", status, hex("0005000000"), 0.5f, "PH"},
        {"mode byte 0A discards all", status, hex("028475000A"), 1.0f, "XX"},
        {"unknown mode code", status, hex("0284750005"), 28.475f, "XX"},
        {"four bytes", status, hex("02847500"), 1.0f, "XX"},
        {"757 CW", gx757, hex("0000000000" "00758402" "02"), 28.475f, "CW"},
        {"757 AM", gx757, hex("0000000000" "00004001" "04"), 14.0f, "AM"},
        {"757 not BCD", gx757, hex("0000000000" "007584A2" "02"), 1.0f, "XX"},
        {"FT-890", model(YaesuBinaryModel::Ft890), hex("00002B730C000002"), 28.475f, "CW"},
        {"FT-890 mode 5", model(YaesuBinaryModel::Ft890), hex("00002B730C000005"), 28.475f, "PH"},
        {"FT-890 mode 8 leaves it", model(YaesuBinaryModel::Ft890), hex("00002B730C000008"), 28.475f, "XX"},
        {"FT-1000", model(YaesuBinaryModel::Ft1000), hex("0002B730C0000001"), 28.475f, "PH"},
        {"FT-920 CW", model(YaesuBinaryModel::Ft920), hex("0001B27E78000001"), 28.475f, "CW"},
        {"FT-920 phone", model(YaesuBinaryModel::Ft920), hex("0001B27E78000002"), 28.475f, "PH"},
        {"FT-990", model(YaesuBinaryModel::Ft990), hex("002B730C00000002"), 28.475f, "CW"},
        {"FT-990 no mode byte", model(YaesuBinaryModel::Ft990), hex("002B730C00"), 28.475f, "XX"},
    });
}

TEST(RigParsers, TenTecReplies)
{
    const Parse frontFrequency = [](const QByteArray& r, RigReading& x) { parseTenTecFrequency(r, x); };
    const Parse frontMode = [](const QByteArray& r, RigReading& x) { parseTenTecMode(r, x); };
    const Parse orion = [](const QByteArray& r, RigReading& x) {
        parseOrionFrequency(r, x);
        parseOrionMode(r, x);
    };
    runTable({
        {"front panel frequency", frontFrequency, hex("4101B27E780D"), 28.475f, "XX"},
        {"front panel cut short", frontFrequency, hex("4101B27E"), 1.0f, "XX"},
        {"front panel CW", frontMode, hex("4D33330D"), 1.0f, "CW"},
        {"front panel LSB", frontMode, hex("4D11110D"), 1.0f, "PH"},
        {"front panel mode 5", frontMode, hex("4D15150D"), 1.0f, "XX"},
        {"Orion both", orion, "@AF28475000\r@RMM2\r", 28.475f, "CW"},
        {"Orion CW reverse", orion, "@RMM3\r", 1.0f, "CW"},
        {"Orion USB", orion, "@RMM0\r", 1.0f, "PH"},
        {"Orion frequency without CR", orion, "@AF28475000", 1.0f, "XX"},
    });
}

TEST(RigParsers, PegasusFile)
{
    QTemporaryDir folder;
    const auto write = [&folder](const QByteArray& data) {
        QFile file(QDir(folder.path()).filePath(QStringLiteral("pegasus.out")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    };
    const Parse read = [&folder](const QByteArray&, RigReading& x) { readPegasusFile(folder.path(), x); };
    runTable({{"missing file", read, {}, 1.0f, "XX"}});
    write("28.475,\"USB\"\r\n");
    runTable({{"phone", read, {}, 28.475f, "PH"}});
    write("\"7.025\"\r\n\"CW\"\r\n");
    runTable({{"CW, quoted frequency", read, {}, 7.025f, "CW"}});
    write("abc,\"CW\"\r\n");
    runTable({{"not a number", read, {}, 1.0f, "XX"}});
    write("14.2\r\n");
    runTable({{"no mode", read, {}, 14.2f, "XX"}});
}

TEST(RigParsers, ModeFromFrequencyUsesExclusiveSinglePrecisionBounds)
{
    const struct {
        float frequency;
        const char* mode;
    } cases[] = {
        {28.3f, "XX"}, {28.2999f, "CW"}, {28.0f, "XX"}, {28.0001f, "CW"}, {28.4f, "PH"}, {29.7f, "XX"},
        {1.83f, "XX"}, {7.2f, "PH"},     {10.12f, "CW"}, {10.2f, "XX"},   {144.05f, "CW"}, {3.7f, "PH"},
    };
    for (const auto& c : cases) {
        QString mode = QStringLiteral("XX");
        modeFromFrequency(c.frequency, mode);
        EXPECT_EQ(mode, QString::fromLatin1(c.mode)) << c.frequency;
    }
}
