// The reply parsers, one table per family: each row starts from a reading
// that holds 1 MHz, mode "XX" and VFO 10, so "unchanged" shows. Besides the
// valid replies, each family gets junk, cut-off, doubled, unterminated,
// wrong-length and unknown-mode replies, which must leave the reading alone
// (or give the last valid reply in the buffer).
#include "rig/HexByteText.h"
#include "rig/RigParsers.h"
#include "rig/RigSettings.h"
#include "rig/RigctldPoller.h"

#include "FakeTcpClient.h"

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
        EXPECT_EQ(reading.mode.toStdString(), c.mode) << c.what;
        EXPECT_EQ(reading.kenwoodVfo, c.vfo) << c.what;
    }
}

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

// A status block of length bytes that starts with the given hex bytes and is
// zero after them.
QByteArray block(qsizetype length, const char* leadingHex)
{
    QByteArray bytes = hex(leadingHex);
    bytes.append(QByteArray(length - bytes.size(), '\0'));
    return bytes;
}

// The 757 GX II block: frequency BCD in bytes 6 to 9, mode in byte 10.
QByteArray block757(const char* frequencyAndModeHex)
{
    return block(75, (QByteArray("0000000000") + frequencyAndModeHex).constData());
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
        {"FSK reverse", kenwood, "MD9;", 1.0f, "PH"},
        {"MD without its digit", kenwood, "MD", 1.0f, "XX"},
        {"MD, a junk byte and ;", kenwood, "MD\x01;", 1.0f, "XX"},
        {"MD with no ;", kenwood, "MD2", 1.0f, "XX"},
        {"MD with two digits", kenwood, "MD22;", 1.0f, "XX"},
        {"unknown mode digits", kenwood, "MD0;MD8;", 1.0f, "XX"},
        {"short FA reply", kenwood, "FA0002847500", 1.0f, "XX"},
        {"FA without ;", kenwood, "FA00028475000", 1.0f, "XX"},
        {"FA with 10 digits", kenwood, "FA0002847500;", 1.0f, "XX"},
        {"FA with 12 digits", kenwood, "FA000284750000;", 1.0f, "XX"},
        {"FA of 0 Hz", kenwood, "FA00000000000;", 1.0f, "XX"},
        {"FA that rounds to 0 MHz", kenwood, "FA00000000004;", 1.0f, "XX"},
        {"letters in the digits", kenwood, "FA000284X5000;", 1.0f, "XX"},
        {"doubled: the last wins", kenwood, "FA00028475000;MD3;FA00028476000;MD2;", 28.476f, "PH"},
        {"junk before a reply", kenwood, "\xFF\x01" "FA00028FA00014025000;xMD3;", 14.025f, "CW"},
        {"cut-off reply after a good one", kenwood, "FA00014025000;MD3;FA000280MD", 14.025f, "CW"},
        {"bad reply after a good one", kenwood, "MD3;MD8;", 1.0f, "CW"},
        {"request text too short to search", shortQuery, "FA00028475000;", 1.0f, "XX"},

        {"IF, USB, VFO A", info, "IF00028475000     +00000000002000000 ;", 28.475f, "PH", 0},
        {"IF, CW, VFO B", info, "IF00007025000     +00000000003100000 ;", 7.025f, "CW", 1},
        {"IF, memory", info, "IF00007025000     +00000000003200000 ;", 7.025f, "CW", 2},
        {"IF, CW reverse is phone here", info, "IF00028025000     +00000000007000000 ;", 28.025f, "PH", 0},
        {"IF cut after the frequency", info, "IF00028475000  ", 1.0f, "XX"},
        {"IF one character short", info, "IF00028475000     +0000000000200000 ;", 1.0f, "XX"},
        {"IF without ;", info, "IF00028475000     +00000000002000000  ", 1.0f, "XX"},
        {"IF with a ; inside", info, "IF00028475000;    +00000000002000000 ;", 1.0f, "XX"},
        {"IF unknown mode 8", info, "IF00028475000     +00000000008000000 ;", 1.0f, "XX"},
        {"IF junk mode byte", info, "IF00028475000     +0000000000\xA5" "000000 ;", 1.0f, "XX"},
        {"IF VFO 3", info, "IF00028475000     +00000000002300000 ;", 1.0f, "XX"},
        {"IF letters in the frequency", info, "IF0002847X000     +00000000002000000 ;", 1.0f, "XX"},
        {"IF of 0 Hz", info, "IF00000000000     +00000000002000000 ;", 1.0f, "XX"},
        {"IF doubled: the last wins", info,
         "IF00028475000     +00000000002000000 ;IF00007025000     +00000000003100000 ;", 7.025f, "CW", 1},
        {"IF then a cut-off IF", info, "IF00028475000     +00000000003000000 ;IF0000702", 28.475f, "CW", 0},

        {"FTdx frequency", ftdx, "FA28475000;", 28.475f, "XX"},
        {"FTdx CW", ftdx, "MD03;", 1.0f, "CW"},
        {"FTdx USB", ftdx, "MD02;", 1.0f, "PH"},
        {"FTdx narrow AM", ftdx, "MD0D;", 1.0f, "PH"},
        {"FTdx CW reverse is phone", ftdx, "MD07;", 1.0f, "PH"},
        {"FTdx unknown mode", ftdx, "MD0E;", 1.0f, "XX"},
        {"FTdx mode without ;", ftdx, "MD03", 1.0f, "XX"},
        {"FTdx frequency cut short", ftdx, "FA2847500", 1.0f, "XX"},
        {"FTdx eleven digits", ftdx, "FA00028475000;", 1.0f, "XX"},
        {"FTdx junk then a reply", ftdx, "FA2x;FA14025000;", 14.025f, "XX"},
        {"FTdx bad frequency keeps a good mode", ftdx, "FA2847X000;MD03;", 1.0f, "CW"},
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
        {"reply without FD", frequency, hex("FEFEE064030050472800"), 1.0f, "XX"},
        {"four bytes from a five-byte radio", frequency, hex("FEFEE06403" "00504728FD"), 1.0f, "XX"},
        {"five bytes from the IC-735", ic735, hex("FEFEE06403" "0050472800FD"), 1.0f, "XX"},
        {"six bytes", frequency, hex("FEFEE06403" "005047280000FD"), 1.0f, "XX"},
        {"NG reply", frequency, hex("FEFEE064FAFD"), 1.0f, "XX"},
        {"0 Hz", frequency, hex("FEFEE064030000000000FD"), 1.0f, "XX"},
        {"a mode frame", frequency, hex("FEFEE064040301FD"), 1.0f, "XX"},
        {"doubled: the last wins", frequency, hex("FEFEE064030050472800FD" "FEFEE064030050020700FD"), 7.025f, "XX"},
        {"junk, then a cut-off frame, then a reply", frequency,
         hex("0123FEFD" "FEFEE06403005047" "FEFEE064030050020700FD"), 7.025f, "XX"},
        {"a reply, then a cut-off one", frequency, hex("FEFEE064030050472800FD" "FEFEE06403005002"), 28.475f, "XX"},
        {"three preamble bytes", frequency, hex("FEFEFEE064030050472800FD"), 28.475f, "XX"},

        {"mode CW", mode, hex("FEFE64E004FD" "FEFEE064040301FD"), 1.0f, "CW"},
        {"mode CW reverse", mode, hex("FEFEE064040701FD"), 1.0f, "PH"},
        {"mode without the filter byte", mode, hex("FEFEE0640403FD"), 1.0f, "CW"},
        {"mode frame missing", mode, hex("FEFE64E004FD"), 1.0f, "XX"},
        {"mode without FD", mode, hex("FEFEE064040301"), 1.0f, "XX"},
        {"unknown mode 09", mode, hex("FEFEE064040901FD"), 1.0f, "XX"},
        {"mode with three data bytes", mode, hex("FEFEE06404030101FD"), 1.0f, "XX"},
        {"NG to the mode request", mode, hex("FEFEE064FAFD"), 1.0f, "XX"},
        {"two modes: the last wins", mode, hex("FEFEE064040301FD" "FEFEE064040101FD"), 1.0f, "PH"},
    });
}

TEST(RigParsers, YaesuBinaryReplies)
{
    const Parse status = [](const QByteArray& r, RigReading& x) { parseYaesuStatus(r, x); };
    const Parse gx757 = [](const QByteArray& r, RigReading& x) { parseYaesu757Status(r, x); };
    const auto model = [](YaesuBinaryModel m) {
        return Parse([m](const QByteArray& r, RigReading& x) { parseYaesuBinaryStatus(r, m, x); });
    };
    const Parse ft890 = model(YaesuBinaryModel::Ft890);
    const Parse ft920 = model(YaesuBinaryModel::Ft920);
    const Parse ft990 = model(YaesuBinaryModel::Ft990);
    const Parse ft1000d = model(YaesuBinaryModel::Ft1000D);
    const Parse ft1000 = model(YaesuBinaryModel::Ft1000);
    runTable({
        {"status CW", status, hex("0284750082"), 28.475f, "CW"},
        {"below 1 MHz", status, hex("0005000000"), 0.5f, "PH"},
        {"mode byte 0A discards all", status, hex("028475000A"), 1.0f, "XX"},
        {"unknown mode code", status, hex("0284750005"), 28.475f, "XX"},
        {"four bytes", status, hex("02847500"), 1.0f, "XX"},
        {"six bytes", status, hex("FF0284750082"), 1.0f, "XX"},
        {"not BCD", status, hex("02847A0082"), 1.0f, "XX"},
        {"0 Hz", status, hex("0000000000"), 1.0f, "XX"},
        {"a late block, then the current one", status, hex("0284750082" "0140250001"), 14.025f, "PH"},

        {"757 CW", gx757, block757("00758402" "02"), 28.475f, "CW"},
        {"757 AM", gx757, block757("00004001" "04"), 14.0f, "AM"},
        {"757 FM", gx757, block757("00758402" "05"), 28.475f, "FM"},
        {"757 not BCD", gx757, block757("007584A2" "02"), 1.0f, "XX"},
        {"757 unknown mode", gx757, block757("00758402" "0A"), 28.475f, "XX"},
        {"757 one byte short", gx757, block757("00758402" "02").chopped(1), 1.0f, "XX"},
        {"757 0 Hz", gx757, block757("00000000" "02"), 1.0f, "XX"},
        {"757 doubled: the last wins", gx757, block757("00758402" "02") + block757("00004001" "01"), 14.0f, "PH"},

        {"FT-890", ft890, block(19, "00002B730C000002"), 28.475f, "CW"},
        {"FT-890 short block", ft890, block(18, "00002B730C000002"), 28.475f, "CW"},
        {"FT-890 mode 5", ft890, block(19, "00002B730C000005"), 28.475f, "PH"},
        {"FT-890 mode 8 leaves it", ft890, block(19, "00002B730C000008"), 28.475f, "XX"},
        {"FT-890 17 bytes", ft890, block(17, "00002B730C000002"), 1.0f, "XX"},
        {"FT-890 0 Hz", ft890, block(19, "0000000000000002"), 1.0f, "XX"},
        {"FT-1000", ft1000, block(16, "0002B730C0000001"), 28.475f, "PH"},
        {"FT-1000 15 bytes", ft1000, block(15, "0002B730C0000001"), 1.0f, "XX"},
        {"FT-920 CW", ft920, block(28, "0001B27E78000001"), 28.475f, "CW"},
        {"FT-920 phone", ft920, block(28, "0001B27E78000002"), 28.475f, "PH"},
        {"FT-920 27 bytes", ft920, block(27, "0001B27E78000001"), 1.0f, "XX"},
        {"FT-990", ft990, block(32, "002B730C00000002"), 28.475f, "CW"},
        {"FT-990 no mode byte", ft990, hex("002B730C00"), 1.0f, "XX"},
        {"FT-1000D", ft1000d, block(16, "002B730C00000002"), 28.475f, "CW"},
        {"FT-1000D two blocks: the last wins", ft1000d,
         block(16, "002B730C00000002") + block(16, "0015668400000001"), 14.025f, "PH"},
        {"FT-1000D 20 bytes", ft1000d, block(20, "002B730C00000002"), 1.0f, "XX"},
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
        {"front panel without CR", frontFrequency, hex("4101B27E7800"), 1.0f, "XX"},
        {"front panel not an A reply", frontFrequency, hex("4201B27E780D"), 1.0f, "XX"},
        {"front panel 0 Hz", frontFrequency, hex("41000000000D"), 1.0f, "XX"},
        {"front panel junk before", frontFrequency, hex("0D41FF" "4101B27E780D"), 28.475f, "XX"},
        {"front panel doubled: the last wins", frontFrequency, hex("4101B27E780D" "4100D601280D"), 14.025f, "XX"},
        {"front panel then a cut-off reply", frontFrequency, hex("4101B27E780D" "4100D6"), 28.475f, "XX"},
        {"front panel CW", frontMode, hex("4D33330D"), 1.0f, "CW"},
        {"front panel LSB", frontMode, hex("4D11110D"), 1.0f, "PH"},
        {"front panel mode 5", frontMode, hex("4D15150D"), 1.0f, "XX"},
        {"front panel mode without CR", frontMode, hex("4D3333"), 1.0f, "XX"},
        {"front panel one mode byte", frontMode, hex("4D330D"), 1.0f, "XX"},
        {"front panel junk mode byte", frontMode, hex("4DA5A50D"), 1.0f, "XX"},
        {"front panel two modes: the last wins", frontMode, hex("4D33330D" "4D31310D"), 1.0f, "PH"},

        {"Orion both", orion, "@AF28475000\r@RMM2\r", 28.475f, "CW"},
        {"Orion CW reverse", orion, "@RMM3\r", 1.0f, "CW"},
        {"Orion USB", orion, "@RMM0\r", 1.0f, "PH"},
        {"Orion RTTY", orion, "@RMM6\r", 1.0f, "PH"},
        {"Orion unknown mode", orion, "@RMM7\r", 1.0f, "XX"},
        {"Orion junk mode", orion, "@RMM\xA5\r", 1.0f, "XX"},
        {"Orion mode without CR", orion, "@RMM2", 1.0f, "XX"},
        {"Orion frequency without CR", orion, "@AF28475000", 1.0f, "XX"},
        {"Orion frequency without digits", orion, "@AF\r", 1.0f, "XX"},
        {"Orion letter in the frequency", orion, "@AF28475x00\r", 1.0f, "XX"},
        {"Orion twelve digits", orion, "@AF000028475000\r", 1.0f, "XX"},
        {"Orion 0 Hz", orion, "@AF0\r", 1.0f, "XX"},
        {"Orion doubled: the last wins", orion, "@AF28475000\r@RMM2\r@AF14025000\r@RMM0\r", 14.025f, "PH"},
        {"Orion good replies, then cut-off ones", orion, "@AF14025000\r@RMM2\r@AF2847\xFF@RMM", 14.025f, "CW"},
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

    const Parse text = [](const QByteArray& r, RigReading& x) { parsePegasusText(r, x); };
    runTable({
        {"not a number", text, "abc,\"CW\"\r\n", 1.0f, "XX"},
        {"no mode: a file caught half-written", text, "14.2\r\n", 1.0f, "XX"},
        {"empty file", text, "", 1.0f, "XX"},
        {"empty mode", text, "14.2,\"\"\r\n", 14.2f, "XX"},
        {"0 MHz", text, "0,\"CW\"\r\n", 1.0f, "XX"},
        {"below 0", text, "-7.025,\"CW\"\r\n", 1.0f, "XX"},
        {"too large for a frequency", text, "1E+39,\"CW\"\r\n", 1.0f, "XX"},
    });
}

// rigctld answers "f" with Hz as a whole number and "m" with a mode name and
// the passband; only such lines change the reading.
TEST(RigParsers, RigctldAnswerLines)
{
    const struct {
        const char* answer;
        float frequency;
        const char* mode;
    } cases[] = {
        {"28475000\nCW\n500\n", 28.475f, "CW"},
        {"28474996\nUSB\n2400\n", 28.475f, "PH"},
        {"28475000.5\nCW\n500\n", 0, "CW"},
        {"-28475000\nCW\n500\n", 0, "CW"},
        {"2.8475E7\nCW\n500\n", 0, "CW"},
        {" 28475000\nCW\n500\n", 0, "CW"},
        {"0\nCW\n500\n", 0, "CW"},
        {"1234567890123\nCW\n500\n", 0, "CW"},
        {"28475000\ncw\n500\n", 28.475f, ""},
        {"28475000\n\xA5\n500\n", 28.475f, ""},
        {"28475000\nPKTUSB\n3000\n", 28.475f, ""},
    };
    for (const auto& c : cases) {
        tenlog::testing::FakeTcpClient client;
        RigctldPoller poller{client};
        RigSettings settings;
        applyRigProfile(settings, *findRigProfile(kRigctldRigName));
        poller.setSettings(settings);
        ASSERT_TRUE(poller.start());
        client.acceptConnection(); // sends the requests at once
        client.queueIncoming(c.answer);
        poller.tick();
        EXPECT_EQ(poller.reading().frequencyMHz, c.frequency) << c.answer;
        EXPECT_EQ(poller.reading().mode.toStdString(), c.mode) << c.answer;
    }
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
