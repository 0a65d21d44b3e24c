// The WAV header reader on files built byte by byte (odd chunks, extensible
// and float formats, cut-off recordings, refusals) and on the shipped prompts.
#include "platform/WavInfo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using tenlog::platform::parseWav;
using tenlog::platform::readWav;
using tenlog::platform::WavInfo;

namespace {

QByteArray le(quint32 value, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

// A chunk whose size field says declared (its body's length by default),
// padded to an even length as RIFF requires.
QByteArray chunk(const char* id, const QByteArray& body, qint64 declared = -1)
{
    QByteArray out = QByteArray(id, 4) + le(static_cast<quint32>(declared < 0 ? body.size() : declared), 4) + body;
    if (body.size() % 2)
        out += '\0';
    return out;
}

QByteArray fmtBody(int tag, int channels, int rate, int bits, int blockAlign = -1)
{
    if (blockAlign < 0)
        blockAlign = channels * bits / 8;
    return le(tag, 2) + le(channels, 2) + le(rate, 4) + le(rate * blockAlign, 4) + le(blockAlign, 2) + le(bits, 2);
}

QByteArray extensibleBody(int subTag, int channels, int rate, int bits)
{
    // cbSize 22, valid bits, channel mask, then the sub-format GUID.
    return fmtBody(0xFFFE, channels, rate, bits) + le(22, 2) + le(bits, 2) + le(4, 4) + le(subTag, 2)
           + QByteArray::fromHex("000000001000800000aa00389b71");
}

QByteArray riff(const QByteArray& chunks, const char* form = "WAVE")
{
    return "RIFF" + le(static_cast<quint32>(4 + chunks.size()), 4) + QByteArray(form, 4) + chunks;
}

QByteArray samples(qsizetype bytes)
{
    QByteArray out(bytes, '\0');
    for (qsizetype i = 0; i < bytes; ++i)
        out[i] = static_cast<char>(i * 7);
    return out;
}

} // namespace

TEST(WavInfo, ReadsFormatAndLengthOfPlainPcm)
{
    const QByteArray file = riff(chunk("fmt ", fmtBody(1, 1, 16000, 16)) + chunk("data", samples(16000)));
    const std::optional<WavInfo> info = parseWav(file);
    ASSERT_TRUE(info);
    EXPECT_FALSE(info->isFloat);
    EXPECT_EQ(info->channels, 1);
    EXPECT_EQ(info->sampleRate, 16000);
    EXPECT_EQ(info->bitsPerSample, 16);
    EXPECT_EQ(info->dataOffset, 44);
    EXPECT_EQ(info->frames(), 8000);
    EXPECT_EQ(info->durationMs(), 500);

    const std::optional<WavInfo> stereo8 =
        parseWav(riff(chunk("fmt ", fmtBody(1, 2, 11025, 8)) + chunk("data", samples(2 * 11025))));
    ASSERT_TRUE(stereo8);
    EXPECT_EQ(stereo8->blockAlign, 2);
    EXPECT_EQ(stereo8->durationMs(), 1000);
}

TEST(WavInfo, SkipsOtherChunksWithTheirPaddingInAnyOrder)
{
    const QByteArray data = samples(320);
    // An odd-sized LIST chunk carries a pad byte; "fact" sits between; the
    // data chunk comes before the format chunk.
    const QByteArray file = riff(chunk("LIST", "INFOabc") + chunk("data", data) + chunk("fact", le(160, 4))
                                 + chunk("fmt ", fmtBody(1, 1, 8000, 16)));
    const std::optional<WavInfo> info = parseWav(file);
    ASSERT_TRUE(info);
    EXPECT_EQ(file.mid(info->dataOffset, info->dataBytes), data);
    EXPECT_EQ(info->durationMs(), 20);
}

TEST(WavInfo, TakesExtensibleAndFloatFormats)
{
    const std::optional<WavInfo> ext24 =
        parseWav(riff(chunk("fmt ", extensibleBody(1, 2, 48000, 24)) + chunk("data", samples(6 * 4800))));
    ASSERT_TRUE(ext24);
    EXPECT_EQ(ext24->bitsPerSample, 24);
    EXPECT_EQ(ext24->durationMs(), 100);

    const std::optional<WavInfo> extFloat =
        parseWav(riff(chunk("fmt ", extensibleBody(3, 1, 22050, 32)) + chunk("data", samples(4 * 2205))));
    ASSERT_TRUE(extFloat);
    EXPECT_TRUE(extFloat->isFloat);
    EXPECT_EQ(extFloat->durationMs(), 100);

    const std::optional<WavInfo> plainFloat =
        parseWav(riff(chunk("fmt ", fmtBody(3, 1, 8000, 32)) + chunk("data", samples(32))));
    ASSERT_TRUE(plainFloat);
    EXPECT_TRUE(plainFloat->isFloat);
}

TEST(WavInfo, CountsOnlyTheWholeFramesThatArePresent)
{
    // A recording cut off while writing: its data chunk claims 32000 bytes.
    QByteArray cut = riff(chunk("fmt ", fmtBody(1, 1, 16000, 16)) + chunk("data", samples(1000), 32000));
    std::optional<WavInfo> info = parseWav(cut);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->dataBytes, 1000);
    EXPECT_EQ(info->durationMs(), 31); // 500 frames at 16 kHz = 31.25 ms

    // Stereo 16 bit: 10 bytes hold two whole frames and half of a third.
    info = parseWav(riff(chunk("fmt ", fmtBody(1, 2, 8000, 16)) + chunk("data", samples(10))));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->dataBytes, 8);
    EXPECT_EQ(info->frames(), 2);

    // Lengths round to the nearest millisecond.
    info = parseWav(riff(chunk("fmt ", fmtBody(1, 1, 16000, 8)) + chunk("data", samples(8))));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->durationMs(), 1);
    info = parseWav(riff(chunk("fmt ", fmtBody(1, 1, 16000, 8)) + chunk("data", samples(7))));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->durationMs(), 0);
}

TEST(WavInfo, RefusesWhatCannotBePlayedAsPcm)
{
    const QByteArray fmt = chunk("fmt ", fmtBody(1, 1, 8000, 16));
    const QByteArray data = chunk("data", samples(100));
    EXPECT_TRUE(parseWav(riff(fmt + data)));

    EXPECT_FALSE(parseWav(QByteArray()));
    EXPECT_FALSE(parseWav("\"K1ABC\",\"599\"\r\n"));
    EXPECT_FALSE(parseWav(riff(fmt + data, "AVI ")));
    EXPECT_FALSE(parseWav(riff(fmt)));
    EXPECT_FALSE(parseWav(riff(data)));
    EXPECT_FALSE(parseWav(riff(chunk("fmt ", fmtBody(2, 1, 8000, 4)) + data)));            // ADPCM
    EXPECT_FALSE(parseWav(riff(chunk("fmt ", extensibleBody(2, 1, 8000, 16)) + data)));     // ADPCM inside
    EXPECT_FALSE(parseWav(riff(chunk("fmt ", fmtBody(1, 1, 0, 16)) + data)));               // no rate
    EXPECT_FALSE(parseWav(riff(chunk("fmt ", fmtBody(1, 0, 8000, 16, 2)) + data)));         // no channels
    EXPECT_FALSE(parseWav(riff(chunk("fmt ", fmtBody(1, 1, 8000, 12)) + data)));            // odd sample size
    EXPECT_FALSE(parseWav(riff(chunk("fmt ", fmtBody(1, 2, 8000, 16, 2)) + data)));         // block size wrong
    EXPECT_FALSE(parseWav(riff(chunk("fmt ", fmtBody(1, 1, 8000, 16).left(12)) + data)));   // short format
    EXPECT_FALSE(parseWav(riff(chunk("fmt ", fmtBody(1, 1, 8000, 16), 40) + data).left(40))); // cut in format
}

TEST(WavInfo, ReadsFilesAndHandsBackTheirBytes)
{
    QTemporaryDir dir;
    const QByteArray bytes = riff(chunk("fmt ", fmtBody(1, 1, 16000, 16)) + chunk("data", samples(3200)));
    QFile file(dir.filePath(QStringLiteral("Test.wav")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    QByteArray contents;
    const std::optional<WavInfo> info = readWav(file.fileName(), &contents);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->durationMs(), 100);
    EXPECT_EQ(contents, bytes);
    EXPECT_FALSE(readWav(dir.filePath(QStringLiteral("Missing.wav"))));
    EXPECT_FALSE(readWav(dir.path()));
}

TEST(WavInfo, ShippedPromptsAreShortMonoPcm)
{
    const QDir data(QStringLiteral(TENLOG_SOURCE_DATA_DIR));
    for (const char* name : {"Call", "RstRcvd", "SecSer", "RstSnt", "Country", "Dupe", "Needspot", "NavDis", "NavEn"}) {
        SCOPED_TRACE(name);
        const QString path = data.filePath(QString::fromLatin1(name) + QStringLiteral(".wav"));
        const std::optional<WavInfo> info = readWav(path);
        ASSERT_TRUE(info);
        EXPECT_EQ(info->channels, 1);
        EXPECT_EQ(info->sampleRate, 16000);
        EXPECT_EQ(info->bitsPerSample, 16);
        EXPECT_GT(info->durationMs(), 150);
        EXPECT_LT(info->durationMs(), 2000);
        EXPECT_LT(QFileInfo(path).size(), 64 * 1024);
    }
}
