#include "platform/SerialSettings.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace tenlog::platform {

namespace {
// The rates the setup windows offer, and the standard ones beside them.
constexpr std::array<int, 13> acceptedRates {300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 28800,
                                             38400, 56000, 57600, 115200};
} // namespace

std::optional<SerialSettings> parseSerialSettings(const QString& text)
{
    const QStringList fields = text.split(QLatin1Char(','));
    if (fields.size() != 4)
        return std::nullopt;
    const QString rate = fields[0].trimmed();
    if (rate.isEmpty() || rate.size() > 6 || !std::all_of(rate.begin(), rate.end(), [](QChar c) { return c.isDigit(); }))
        return std::nullopt;
    SerialSettings settings;
    settings.bitsPerSecond = rate.toInt();
    if (std::find(acceptedRates.begin(), acceptedRates.end(), settings.bitsPerSecond) == acceptedRates.end())
        return std::nullopt;
    const QString parity = fields[1].trimmed().toUpper();
    if (parity != QLatin1String("N") && parity != QLatin1String("O") && parity != QLatin1String("E"))
        return std::nullopt;
    settings.parity = parity[0].toLatin1();
    const QString dataBits = fields[2].trimmed();
    if (dataBits != QLatin1String("7") && dataBits != QLatin1String("8"))
        return std::nullopt;
    settings.dataBits = dataBits.toInt();
    const QString stopBits = fields[3].trimmed();
    if (stopBits != QLatin1String("1") && stopBits != QLatin1String("2"))
        return std::nullopt;
    settings.stopBits = stopBits.toInt();
    return settings;
}

} // namespace tenlog::platform
