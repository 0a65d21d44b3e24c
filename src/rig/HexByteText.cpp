#include "rig/HexByteText.h"

namespace tenlog::rig {

namespace {

int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

} // namespace

std::optional<QByteArray> bytesFromHexText(const QString& text, int count)
{
    QByteArray bytes;
    bytes.reserve(count);
    for (int i = 0; i < count; ++i) {
        const qsizetype at = qsizetype(i) * 3;
        if (at + 1 >= text.size())
            return std::nullopt;
        const int high = hexDigitValue(text.at(at));
        const int low = hexDigitValue(text.at(at + 1));
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.append(char(high * 16 + low));
    }
    return bytes;
}

std::optional<QByteArray> bytesFromHexText(const QString& text)
{
    return bytesFromHexText(text, int((text.size() + 2) / 3));
}

QString hexDisplayText(const QByteArray& bytes)
{
    QString shown;
    shown.reserve(bytes.size() * 3);
    for (const char byte : bytes) {
        shown += QString::fromLatin1(QByteArray(1, byte).toHex().toUpper());
        shown += u' ';
    }
    return shown;
}

QString rawDisplayText(const QByteArray& bytes, bool asHex)
{
    return asHex ? hexDisplayText(bytes) : QString::fromLatin1(bytes);
}

QByteArray hexDigits(const QByteArray& bytes)
{
    return bytes.toHex().toUpper();
}

} // namespace tenlog::rig
