// Hexadecimal byte text, the form radio command strings are typed in: pairs
// of hexadecimal digits separated by single blanks ("FE FE 64 E0 03 FD").
// The pair that starts at character 1, 4, 7, ... (1-based) gives one byte;
// whatever stands between the pairs is not looked at.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tenlog::rig {

// The first count bytes of text; nullopt when a pair is missing or is not
// two hexadecimal digits.
std::optional<QByteArray> bytesFromHexText(const QString& text, int count);
// Every pair of text; nullopt when one is not two hexadecimal digits.
std::optional<QByteArray> bytesFromHexText(const QString& text);

// Each byte as two upper-case hexadecimal digits and one blank, the raw
// display of a reply: "FE FE E0 ".
QString hexDisplayText(const QByteArray& bytes);
// What the raw display shows of a reply: the hex text above, or the bytes as
// characters.
QString rawDisplayText(const QByteArray& bytes, bool asHex);
// Two upper-case hexadecimal digits per byte, no separators: the digit
// string the binary reply parsers count positions in.
QByteArray hexDigits(const QByteArray& bytes);

} // namespace tenlog::rig
