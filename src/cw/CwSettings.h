// The CW messages and keying setup, and their file "CW.txt" in the working
// folder: 18 lines, one field per line, in the quoted-value form (text
// quoted, numbers bare):
//   1-9   F1-F9 messages (an empty F9 reads as "VVV DE ")
//   10    keying serial port number    11  speed in WPM
//   12    F10 message                  13  F11 message
//   14    word-space adjustment        15  keying output (bare 0,1,2,3,5)
//   16    parallel port address        17  show text on the main window (bare 0/1)
//   18    repeat pause in seconds
// The file is always written whole; its name is found in any letter case.
#pragma once

#include <QByteArray>
#include <QString>

#include <array>

namespace tenlog::cw {

// Where the keying goes. 4 is never used; 5 is the WinKey keyer.
enum class KeyOutput { None = 0, Rts = 1, Dtr = 2, Parallel = 3, WinKey = 5 };

struct CwSettings {
    // F1-F9, then F10 and F11.
    std::array<QString, 11> messages;
    QString port = QStringLiteral("0");
    QString wpm = QStringLiteral("13");
    QString wordSpace = QStringLiteral("0");
    KeyOutput output = KeyOutput::None;
    QString parallelAddress = QStringLiteral("&H378");
    bool showOnMainWindow = false;
    QString repeatSeconds = QStringLiteral("0");

    bool operator==(const CwSettings&) const = default;
};

inline constexpr const char* cwSettingsFileName = "CW.txt";

inline constexpr int kCwSettingsValueCount = 18;

// Reads the fields in order into settings; a short or damaged file stops at
// the first field that is missing or unusable, keeping what was read before.
// False when it stopped early, and *damage then names the file (fileName),
// the line and what is wrong.
bool readCwSettings(const QByteArray& data, CwSettings& settings, QString* damage = nullptr,
                    const QString& fileName = QString());
// The whole file. A double quote cannot be stored in a quoted field and has
// no Morse pattern, so it is left out of the messages.
QByteArray writeCwSettings(const CwSettings& settings);

// The file in folder, in whatever letter case it has there; the path to
// create when there is none.
QString cwSettingsPath(const QString& folder);
// Loads the file in folder; false (with the defaults for what was not read)
// when it is missing, unreadable or damaged, and then *problem says so in the
// operator's words.
bool loadCwSettings(const QString& folder, CwSettings& settings, QString* problem = nullptr);
// Writes the file atomically; false with the reason in *error.
bool saveCwSettings(const QString& folder, const CwSettings& settings, QString* error);

} // namespace tenlog::cw
