// Line assembly of telnet and TNC input, read by read.
#include "spots/LineAssembly.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace tenlog::spots;

namespace {

struct TelnetCase {
    const char* name;
    std::vector<QByteArray> reads;
    QStringList lines;
    QString partial;
};

QStringList feedTelnet(TelnetLineAssembler& lines, const std::vector<QByteArray>& reads)
{
    QStringList out;
    for (const QByteArray& read : reads)
        lines.feed(read, [&](const QString& line) { out.append(line); });
    return out;
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

} // namespace

TEST(TelnetLineAssembler, RefusesEveryOptionAndNeverAnswersARefusal)
{
    constexpr int kIac = 0xff, kWill = 0xfb, kWont = 0xfc, kDo = 0xfd, kDont = 0xfe, kSb = 0xfa, kSe = 0xf0;
    constexpr int kEcho = 1, kTtype = 24, kNaws = 31;
    const struct {
        const char* name;
        std::vector<QByteArray> reads;
        QByteArray replies;
    } cases[] = {
        {"WILL is refused with DONT", {bytes({kIac, kWill, kEcho})}, bytes({kIac, kDont, kEcho})},
        {"DO is refused with WONT", {bytes({kIac, kDo, kTtype})}, bytes({kIac, kWont, kTtype})},
        {"WONT and DONT are not answered", {bytes({kIac, kWont, kEcho, kIac, kDont, kNaws})}, {}},
        {"a request cut across reads", {bytes({kIac}), bytes({kDo}), bytes({kNaws})}, bytes({kIac, kWont, kNaws})},
        {"several in one read, in order",
         {"login: " + bytes({kIac, kDo, kTtype, kIac, kWill, kEcho, kIac, kDo, kNaws})},
         bytes({kIac, kWont, kTtype, kIac, kDont, kEcho, kIac, kWont, kNaws})},
        {"IAC IAC WILL is data, not a request", {bytes({kIac, kIac, kWill, kEcho})}, {}},
        {"a request inside a subnegotiation is not one",
         {bytes({kIac, kSb, kTtype, kDo, kEcho, kIac, kSe})}, {}},
    };
    for (const auto& c : cases) {
        TelnetLineAssembler lines;
        feedTelnet(lines, c.reads);
        EXPECT_EQ(lines.takeReplies().toHex(' '), c.replies.toHex(' ')) << c.name;
        EXPECT_TRUE(lines.takeReplies().isEmpty()) << c.name << ": each refusal is taken once";
    }
}

TEST(TelnetLineAssembler, AssemblesLinesAcrossReads)
{
    const QByteArray spot = "DX de K1TTT:     28025.0  VE3XYZ       CQ                             1234Z";
    const std::vector<TelnetCase> cases{
        {"many lines in one read", {"a\r\nb\r\nc\r\n"}, {"a", "b", "c"}, ""},
        {"a line split across reads", {spot.left(20), spot.mid(20, 30), spot.mid(50) + "\r\n"}, {QString::fromLatin1(spot)}, ""},
        {"CR LF split between reads is one line end", {"a\r", "\nb\n"}, {"a", "b"}, ""},
        {"LF alone and CR alone end lines", {"a\nb\rc\r\n"}, {"a", "b", "c"}, ""},
        {"empty lines are lines", {"\r\n\r\n"}, {"", ""}, ""},
        {"a prompt without a line end waits", {"Welcome\r\nlogin: "}, {"Welcome"}, "login: "},
        {"NUL and BEL are dropped", {bytes({'a', 0, 7, 'b', 7, 7, '\r', 0, '\n'})}, {"ab"}, ""},
        {"negotiation is removed", {bytes({0xff, 0xfb, 0x01, 'a', 0xff, 0xfd, 0x03, 'b', '\n'})}, {"ab"}, ""},
        {"IAC IAC is a literal 255", {bytes({'a', 0xff, 0xff, 'b', '\n'})}, {QString::fromLatin1("a\xff" "b")}, ""},
        {"subnegotiation is removed", {bytes({'a', 0xff, 0xfa, 0x18, 0x01, 'x', 0xff, 0xf0, 'b', '\n'})}, {"ab"}, ""},
        {"negotiation split across reads", {bytes({'a', 0xff}), bytes({0xfe}), bytes({0x01, 'b', '\n'})}, {"ab"}, ""},
        {"a two-byte command is removed", {bytes({'a', 0xff, 0xf1, 'b', '\n'})}, {"ab"}, ""},
    };
    for (const TelnetCase& c : cases) {
        TelnetLineAssembler lines;
        EXPECT_EQ(feedTelnet(lines, c.reads), c.lines) << c.name;
        EXPECT_EQ(lines.partialLine(), c.partial) << c.name;
    }
}

TEST(TelnetLineAssembler, AnOverlongLineIsCutAndReadingGoesOn)
{
    TelnetLineAssembler lines;
    QStringList out;
    const QByteArray chunk(64 * 1024, 'x');
    for (int i = 0; i < 160; ++i) { // 10 MB without a line end
        lines.feed(chunk, [&](const QString& line) { out.append(line); });
        ASSERT_LE(lines.partialLine().size(), kMaxLineLength);
    }
    lines.feed("\r\nnext\r\n", [&](const QString& line) { out.append(line); });
    ASSERT_EQ(out.size(), 2);
    EXPECT_EQ(out[0], QString(kMaxLineLength, QLatin1Char('x')));
    EXPECT_EQ(out[1], "next");
}

TEST(TncLineAssembler, LinesEndAtLineFeedsAndKeepThem)
{
    struct Case {
        const char* name;
        QStringList reads;
        QStringList lines;
        QString partial;
    };
    const std::vector<Case> cases{
        {"lines keep CR LF", {"a\r\nb\r\n"}, {"a\r\n", "b\r\n"}, ""},
        {"split across reads", {"DX de K1", "TTT: x\r", "\n"}, {"DX de K1TTT: x\r\n"}, ""},
        {"CR alone ends nothing", {"a\rb\rc"}, {}, "a\rb\rc"},
        {"an over-long line is cut", {QString(kMaxLineLength + 10, QLatin1Char('y')) + "\nz\n"},
         {QString(kMaxLineLength, QLatin1Char('y')) + "\n", "z\n"}, ""},
    };
    for (const Case& c : cases) {
        TncLineAssembler lines;
        QStringList out;
        for (const QString& read : c.reads)
            lines.feed(read, [&](const QString& line) { out.append(line); });
        EXPECT_EQ(out, c.lines) << c.name;
        EXPECT_EQ(lines.partialLine(), c.partial) << c.name;
    }
}
