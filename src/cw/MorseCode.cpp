#include "cw/MorseCode.h"

#include <array>
#include <cmath>
#include <utility>

namespace tenlog::cw {

namespace {

// International Morse Code (ITU-R M.1677) for what the table holds, and the
// prosign characters.
constexpr std::array<std::pair<char, const char*>, 47> patterns {{
    {'A', ".-"}, {'B', "-..."}, {'C', "-.-."}, {'D', "-.."}, {'E', "."}, {'F', "..-."},
    {'G', "--."}, {'H', "...."}, {'I', ".."}, {'J', ".---"}, {'K', "-.-"}, {'L', ".-.."},
    {'M', "--"}, {'N', "-."}, {'O', "---"}, {'P', ".--."}, {'Q', "--.-"}, {'R', ".-."},
    {'S', "..."}, {'T', "-"}, {'U', "..-"}, {'V', "...-"}, {'W', ".--"}, {'X', "-..-"},
    {'Y', "-.--"}, {'Z', "--.."},
    {'0', "-----"}, {'1', ".----"}, {'2', "..---"}, {'3', "...--"}, {'4', "....-"},
    {'5', "....."}, {'6', "-...."}, {'7', "--..."}, {'8', "---.."}, {'9', "----."},
    {'.', ".-.-.-"}, {',', "--..--"}, {'?', "..--.."}, {'/', "-..-."}, {'=', "-...-"},
    {'-', "-...-"},    // BT, not the hyphen
    {'[', ".-.-."},    // AR
    {']', "...-.-"},   // SK
    {';', "-.--."},    // KN
    {'\\', "-.-..-.."}, // CL
    {' ', nullptr},
}};

QByteArray unitsOf(const char* pattern)
{
    QByteArray units;
    for (const char* p = pattern; *p; ++p) {
        if (p != pattern)
            units += '0';
        units += (*p == '.') ? "1" : "111";
    }
    return units + "000";
}

} // namespace

double usableWpm(double wpm)
{
    if (!std::isfinite(wpm) || wpm < lowestWpm)
        return lowestWpm;
    return wpm;
}

double unitMs(double wpm)
{
    return 1200.0 / usableWpm(wpm);
}

QByteArray elementsOf(QChar character)
{
    const QChar upper = character.toUpper();
    if (upper.unicode() > 127)
        return {};
    const char c = static_cast<char>(upper.unicode());
    for (const auto& [key, pattern] : patterns) {
        if (key == c)
            return pattern ? unitsOf(pattern) : QByteArray(8, '0');
    }
    return {};
}

int wordSpaceUnits(double adjustment)
{
    if (!std::isfinite(adjustment) || adjustment < -8)
        return -8;
    if (adjustment > 1000)
        return 1000;
    return static_cast<int>(std::lround(adjustment));
}

QByteArray elementsToSend(QChar character, double wordSpaceAdjustment)
{
    QByteArray units = elementsOf(character);
    if (character == QLatin1Char(' ')) {
        const int extra = wordSpaceUnits(wordSpaceAdjustment);
        if (extra > 0)
            units.append(extra, '0');
        else
            units.truncate(8 + extra);
    }
    return units;
}

} // namespace tenlog::cw
