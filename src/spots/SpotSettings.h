// The spotting window's settings file "PackSpot.txt" in the working folder:
// fourteen quoted values, one a line, in this order: TNC baud, parity, data
// bits, stop bits (texts), port number, power line (text: N, R or D), source
// ("None", "TNC", "Telnet", "AGW Packet Engine"), "Convert to Hex" (0/1),
// handshaking (1..4), "List DX Only" (0/1), list display chosen (#TRUE# or
// #FALSE#), the command-mode character in hex, the telnet port and the
// telnet host (texts). "List DX Only" is written but never read back: the
// box starts cleared every run.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tenlog::spots {

struct SpotSettings {
    QString baud = QStringLiteral("19200");
    QString parity = QStringLiteral("N");
    QString dataBits = QStringLiteral("8");
    QString stopBits = QStringLiteral("1");
    int port = 1;
    QString power = QStringLiteral("N");
    QString source; // empty until chosen: treated as "None"
    int convertToHex = 0;
    int handshake = 1;
    int listDxOnly = 0;
    bool listDisplay = false; // false: the band map
    QString commandCharacter;
    QString telnetPort;
    QString telnetHost;

    bool operator==(const SpotSettings&) const = default;
};

QString spotSettingsFileName();
std::optional<SpotSettings> parseSpotSettings(const QByteArray& data, QString* error = nullptr);
std::optional<QByteArray> spotSettingsBytes(const SpotSettings& settings, QString* error = nullptr);
// Missing or unreadable: nothing (the window keeps its first-run state).
std::optional<SpotSettings> loadSpotSettings(const QString& folder, QString* error = nullptr);
bool saveSpotSettings(const QString& folder, const SpotSettings& settings, QString* error = nullptr);

} // namespace tenlog::spots
