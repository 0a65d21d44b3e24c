// Walks the chunks of a RIFF WAVE file for its format and data.
#include "platform/WavInfo.h"

#include "platform/DurableFile.h"

namespace tenlog::platform {

namespace {

constexpr int kFormatPcm = 1;
constexpr int kFormatFloat = 3;
constexpr int kFormatExtensible = 0xFFFE;

quint32 le32(const QByteArray& b, qsizetype at)
{
    return static_cast<quint32>(static_cast<quint8>(b[at])) | static_cast<quint32>(static_cast<quint8>(b[at + 1])) << 8
           | static_cast<quint32>(static_cast<quint8>(b[at + 2])) << 16
           | static_cast<quint32>(static_cast<quint8>(b[at + 3])) << 24;
}

quint16 le16(const QByteArray& b, qsizetype at)
{
    return static_cast<quint16>(static_cast<quint8>(b[at]) | static_cast<quint8>(b[at + 1]) << 8);
}

// Fills the format fields from a "fmt " body; false for an encoding we cannot play.
bool readFormat(const QByteArray& file, qsizetype body, qsizetype size, WavInfo& info)
{
    if (size < 16)
        return false;
    int tag = le16(file, body);
    info.channels = le16(file, body + 2);
    const quint32 rate = le32(file, body + 4);
    info.blockAlign = le16(file, body + 12);
    info.bitsPerSample = le16(file, body + 14);
    if (tag == kFormatExtensible) {
        // cbSize (2), valid bits (2), channel mask (4), then the sub-format
        // GUID whose first two bytes are the real encoding tag.
        if (size < 40)
            return false;
        tag = le16(file, body + 24);
    }
    if (tag != kFormatPcm && tag != kFormatFloat)
        return false;
    info.isFloat = tag == kFormatFloat;
    if (rate == 0 || rate > 1'000'000 || info.channels < 1 || info.channels > 8)
        return false;
    info.sampleRate = static_cast<int>(rate);
    const int bits = info.bitsPerSample;
    if (info.isFloat ? bits != 32 : (bits != 8 && bits != 16 && bits != 24 && bits != 32))
        return false;
    // The samples of one frame sit side by side; a header whose block size
    // disagrees would make us read the samples out of step.
    return info.blockAlign == info.channels * bits / 8;
}

} // namespace

qint64 WavInfo::durationMs() const
{
    if (sampleRate <= 0)
        return 0;
    return (frames() * 1000 + sampleRate / 2) / sampleRate;
}

std::optional<WavInfo> parseWav(const QByteArray& file)
{
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE")
        return std::nullopt;
    WavInfo info;
    bool haveFormat = false;
    bool haveData = false;
    qsizetype at = 12;
    while (at + 8 <= file.size() && !(haveFormat && haveData)) {
        const QByteArray id = file.mid(at, 4);
        const qsizetype declared = le32(file, at + 4);
        const qsizetype body = at + 8;
        const qsizetype present = std::min(declared, file.size() - body);
        if (id == "fmt ") {
            if (present < declared || !readFormat(file, body, declared, info))
                return std::nullopt;
            haveFormat = true;
        } else if (id == "data") {
            info.dataOffset = body;
            info.dataBytes = present;
            haveData = true;
        }
        if (present < declared)
            break;
        at = body + declared + (declared & 1);
    }
    if (!haveFormat || !haveData)
        return std::nullopt;
    info.dataBytes -= info.dataBytes % info.blockAlign;
    return info;
}

std::optional<WavInfo> readWav(const QString& path, QByteArray* contents)
{
    QByteArray bytes;
    if (!platform::readWholeFile(path, &bytes))
        return std::nullopt;
    std::optional<WavInfo> info = parseWav(bytes);
    if (info && contents)
        *contents = std::move(bytes);
    return info;
}

} // namespace tenlog::platform
