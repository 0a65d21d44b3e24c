// The voice keyer's settings and their file "wave2.txt" in the working
// folder, one quoted-value field per line:
//   1-9  F1-F9 WAV file paths (trimmed)     10  PTT serial port number
//   11   PTT line: bare 0 RTS, 1 DTR, 2 parallel (empty: none chosen)
//   12   F1 repeat pause in seconds          13  parallel port address
#pragma once

#include <QByteArray>
#include <QString>

#include <array>

namespace tenlog::voice {

enum class PttLine { None, Rts, Dtr, Parallel };

struct VoiceKeyerSettings {
    std::array<QString, 9> files;
    QString port = QStringLiteral("0");
    PttLine line = PttLine::Rts;
    QString repeatSeconds = QStringLiteral("0");
    QString parallelAddress = QStringLiteral("&H378");

    bool operator==(const VoiceKeyerSettings&) const = default;
};

inline constexpr const char* voiceKeyerFileName = "wave2.txt";

inline constexpr int kVoiceKeyerValueCount = 13;

// Reads the 13 fields in order, stopping at the first that does not fit its
// field (a port that is not 0 to 10, a line code other than empty, 0, 1 or 2,
// which then chooses no line, a pause outside 0 to 59 seconds, an address that
// is not one) or at data that is short, not text or cut off. What was read is
// kept; false with *damage naming the file (fileName), the line and the fault.
bool readVoiceKeyerSettings(const QByteArray& data, VoiceKeyerSettings& settings, QString* damage = nullptr,
                            const QString& fileName = QString());
QByteArray writeVoiceKeyerSettings(const VoiceKeyerSettings& settings);

// Loads the file in folder; false (with the defaults for what was not read)
// when it is missing, unreadable or damaged, and then *problem says so in the
// operator's words.
bool loadVoiceKeyerSettings(const QString& folder, VoiceKeyerSettings& settings, QString* problem = nullptr);
bool saveVoiceKeyerSettings(const QString& folder, const VoiceKeyerSettings& settings, QString* error);

} // namespace tenlog::voice
