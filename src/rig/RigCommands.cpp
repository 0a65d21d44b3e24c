#include "rig/RigCommands.h"

#include "rig/HexByteText.h"
#include "text/NumberText.h"

#include <cmath>

namespace tenlog::rig {

namespace {

struct ModeRow {
    const char* name;
    const char* kenwood;       // text
    const char* civ;           // hex, after FE FE and the address
    const char* yaesu;         // hex, five bytes
    const char* yaesuReversed; // hex, five bytes; "" sends nothing
    const char* ftdx;          // text, after "MD0"
    const char* rigctld;       // Hamlib's mode name
};

// nullptr: the radio has no command for the mode.
constexpr ModeRow kModes[] = {
    {"CW", "MD3;", "E00603FD", "0200000007", "000000020C", "3;", "CW"},
    {"CW-R", nullptr, "E00607FD", nullptr, "000000030C", "7;", "CWR"},
    {"LSB", "MD1;", "E00600FD", "0000000007", "000000000C", "1;", "LSB"},
    {"USB", "MD2;", "E00601FD", "0100000007", "000000010C", "2;", "USB"},
    {"AM", "MD5;", "E00602FD", "0400000007", "000000040C", "5;", "AM"},
    {"FM", "MD4;", "E00605FD", "0800000007", "000000060C", "4;", "FM"},
    {"RTTY", "MD6;", "E00604FD", "0A00000007", "000000080C", "6;", "RTTY"},
    {"RTTY-R", nullptr, "E00608FD", nullptr, nullptr, nullptr, "RTTYR"},
    {"FSK", "MD6;", nullptr, nullptr, nullptr, nullptr, "RTTY"},
    {"DIG", nullptr, nullptr, "0A00000007", "", nullptr, "PKTUSB"},
    {"PKT", nullptr, nullptr, "0C00000007", "0000000A0C", nullptr, "PKTUSB"},
};

// The frequency in units of unitHz, from the shortest decimal text of the
// float: the value the operator typed ("28.4759"), not the float's binary
// neighbour (28.47590065), so no stray hertz creep in. Rounded half to even
// on the exact decimal; -1 when the value has more whole digits than any
// radio takes.
qint64 unitsOf(float megahertz, int unitHz)
{
    const int decimals = unitHz == 10 ? 5 : 6;
    const QString text = text::plainNumber(megahertz);
    const qsizetype point = text.indexOf(u'.');
    const QString whole = point < 0 ? text : text.left(point);
    const QString fraction = point < 0 ? QString() : text.mid(point + 1);
    if (whole.size() > 9)
        return -1;
    qint64 units = (whole + fraction.left(decimals).leftJustified(decimals, u'0')).toLongLong();
    const QString rest = fraction.mid(decimals);
    if (!rest.isEmpty()) {
        const bool aboveHalf = rest[0] > u'5' || (rest[0] == u'5' && rest.mid(1).count(u'0') != rest.size() - 1);
        const bool half = rest[0] == u'5' && !aboveHalf;
        if (aboveHalf || (half && units % 2 == 1))
            ++units;
    }
    return units;
}

// Two decimal digits a byte.
QByteArray packedDigits(const QByteArray& digits)
{
    QByteArray bytes;
    for (qsizetype i = 0; i + 1 < digits.size(); i += 2)
        bytes.append(char((digits[i] - '0') * 16 + (digits[i + 1] - '0')));
    return bytes;
}

QByteArray reversed(QByteArray bytes)
{
    std::reverse(bytes.begin(), bytes.end());
    return bytes;
}

// The CI-V address: characters 7 and 8 of the frequency request.
std::optional<QByteArray> civAddress(const QString& frequencyQuery)
{
    return bytesFromHexText(frequencyQuery.mid(6, 2), 1);
}

// Digits that fit a field of width, or nothing.
std::optional<QByteArray> fittingDigits(float megahertz, int unitHz, int width)
{
    QByteArray digits = frequencyDigits(megahertz, unitHz, width);
    if (digits.size() > width)
        return std::nullopt;
    return digits;
}

} // namespace

QByteArray frequencyDigits(float megahertz, int unitHz, int width)
{
    const qint64 units = unitsOf(megahertz, unitHz);
    // Too many digits for any field: a number no width check lets through.
    const QByteArray digits = units < 0 ? QByteArray(20, '9') : QByteArray::number(units);
    return digits.size() >= width ? digits : QByteArray(width - digits.size(), '0') + digits;
}

std::optional<QByteArray> frequencyCommandBytes(const RigProfile& profile, const CommandContext& context,
                                                float megahertz)
{
    if (!(megahertz > 0) || !std::isfinite(megahertz))
        return std::nullopt;
    const QByteArray requestLetters = context.frequencyQuery.left(2).toLatin1();
    switch (profile.frequencyCommand) {
    case FrequencyCommand::None:
    case FrequencyCommand::PegasusFile:
        return std::nullopt;
    case FrequencyCommand::KenwoodText:
    case FrequencyCommand::KenwoodVfoText:
    case FrequencyCommand::ElecraftText: {
        const auto digits = fittingDigits(megahertz, 1, 11);
        if (!digits)
            return std::nullopt;
        QByteArray letters = "FA";
        if (profile.frequencyCommand == FrequencyCommand::KenwoodText)
            letters = requestLetters;
        else if (profile.frequencyCommand == FrequencyCommand::KenwoodVfoText && context.kenwoodVfo == 1)
            letters = "FB";
        return letters + *digits + ';';
    }
    case FrequencyCommand::FtdxText: {
        const auto digits = fittingDigits(megahertz, 1, 8);
        if (!digits)
            return std::nullopt;
        return requestLetters + *digits + ';';
    }
    case FrequencyCommand::Civ: {
        // The IC-735 takes four BCD bytes; the others five.
        const int width = profile.civFourByteFrequency ? 8 : 10;
        const auto digits = fittingDigits(megahertz, 1, width);
        const auto address = civAddress(context.frequencyQuery);
        if (!digits || !address)
            return std::nullopt;
        return QByteArray("\xFE\xFE") + *address + '\xE0' + '\x05' + reversed(packedDigits(*digits)) + '\xFD';
    }
    case FrequencyCommand::TenTecBinary: {
        // The radio's own arithmetic is single precision.
        const qint64 units = unitsOf(megahertz, 1);
        const double hertz = double(text::toSingle(double(units)));
        if (units < 0 || hertz > 4294967295.0)
            return std::nullopt;
        const quint32 value = quint32(hertz);
        QByteArray bytes = "*A";
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.append(char((value >> shift) & 0xFF));
        return bytes + '\r';
    }
    case FrequencyCommand::OrionText: {
        // The Orion reads the value in Hz.
        const auto digits = fittingDigits(megahertz, 1, 11);
        if (!digits)
            return std::nullopt;
        return "*AF" + QByteArray::number(digits->toLongLong()) + '\r';
    }
    case FrequencyCommand::YaesuBcd:
    case FrequencyCommand::YaesuReversedBcd: {
        const auto digits = fittingDigits(megahertz, 10, 8);
        if (!digits)
            return std::nullopt;
        const QByteArray bcd = packedDigits(*digits);
        if (profile.frequencyCommand == FrequencyCommand::YaesuBcd)
            return bcd + '\x01';
        return reversed(bcd) + '\x0A';
    }
    case FrequencyCommand::Rigctld: {
        const auto digits = fittingDigits(megahertz, 1, 11);
        if (!digits)
            return std::nullopt;
        return "F " + QByteArray::number(digits->toLongLong()) + '\n';
    }
    }
    return std::nullopt;
}

std::optional<QByteArray> modeCommandBytes(const RigProfile& profile, const CommandContext& context,
                                           const QString& mode)
{
    const ModeRow* row = nullptr;
    for (const ModeRow& candidate : kModes) {
        if (mode == QLatin1String(candidate.name))
            row = &candidate;
    }
    if (!row)
        return std::nullopt;
    switch (profile.modeCommand) {
    case ModeCommand::None:
        return std::nullopt;
    case ModeCommand::Kenwood:
        return row->kenwood ? std::optional<QByteArray>(row->kenwood) : std::nullopt;
    case ModeCommand::Ftdx:
        if (!row->ftdx)
            return std::nullopt;
        return context.modeQuery.left(3).toLatin1() + row->ftdx;
    case ModeCommand::Civ: {
        const auto address = civAddress(context.frequencyQuery);
        if (!row->civ || !address)
            return std::nullopt;
        return QByteArray("\xFE\xFE") + *address + QByteArray::fromHex(row->civ);
    }
    case ModeCommand::Yaesu:
        return row->yaesu ? std::optional<QByteArray>(QByteArray::fromHex(row->yaesu)) : std::nullopt;
    case ModeCommand::YaesuReversed:
        return row->yaesuReversed ? std::optional<QByteArray>(QByteArray::fromHex(row->yaesuReversed))
                                  : std::nullopt;
    case ModeCommand::Rigctld:
        return "M " + QByteArray(row->rigctld) + " 0\n";
    }
    return std::nullopt;
}

QString pegasusInputFileName()
{
    return QStringLiteral("PEGASUS.IN");
}

QByteArray pegasusInputBytes(float megahertz, const QString& mode)
{
    return text::plainNumber(megahertz).trimmed().toLatin1() + "\r\n" + mode.trimmed().toLatin1() + "\r\n";
}

} // namespace tenlog::rig
