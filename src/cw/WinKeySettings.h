// The WinKey keyer's settings, their file "WK.txt" in the user data folder,
// and the rules each settings field follows when it is left or applied.
//
// The file, one value a line, in the quoted-value form:
//   1  keyer port number (bare)      5  PTT tail, 10 ms steps (quoted)
//   2  speed in WPM (quoted)         6  dit/dah ratio (quoted)
//   3  weighting (quoted)            7  pin configuration (bare; optional)
//   4  PTT lead-in, 10 ms steps      8  mode register (bare; optional)
// A file may end after line 6 or line 7; what it lacks keeps its default.
// The name is found in any letter case and always written as "WK.txt".
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tenlog::cw {

inline constexpr const char* winKeySettingsFileName = "WK.txt";

// The keyer mode and pin configuration values, sent to the keyer as they are.
namespace winKeyMode {
inline constexpr int iambicB = 0;
inline constexpr int iambicA = 16;
inline constexpr int ultimatic = 32;
inline constexpr int bug = 48;
}
namespace winKeyPins {
inline constexpr int p5OffP3Key = 4;
inline constexpr int ptt = 5;
inline constexpr int tone = 6;
inline constexpr int p5KeyP3Off = 8;
}

struct WinKeySettings {
    int port = 0;
    QString wpm = QStringLiteral("18");
    QString weight = QStringLiteral("50");
    QString leadIn = QStringLiteral("0");
    QString tail = QStringLiteral("0");
    QString ratio = QStringLiteral("50");
    int pinConfig = winKeyPins::tone;
    int mode = winKeyMode::iambicB;

    bool operator==(const WinKeySettings&) const = default;
};

// Reads the values in order; a damaged value and those after it keep their
// defaults. False when damaged, and *damage then says where and what.
bool readWinKeySettings(const QByteArray& data, WinKeySettings& settings, QString* damage = nullptr,
                        const QString& fileName = QString());
QByteArray writeWinKeySettings(const WinKeySettings& settings);

QString winKeySettingsPath(const QString& userDataFolder);
// A missing file is no fault (the defaults stand). False, with *problem in
// the operator's words, when the file is there but cannot be used whole.
bool loadWinKeySettings(const QString& userDataFolder, WinKeySettings& settings, QString* problem = nullptr);
bool saveWinKeySettings(const QString& userDataFolder, const WinKeySettings& settings, QString* error);

// What a settings field holds once it has been checked, and what goes to
// the keyer for it (nothing when the value is out of range).
struct FieldCheck {
    QString text;
    std::optional<int> send;
};

// Speed and weighting: a number from 0 to 99 is sent; other numbers send
// nothing; anything else becomes the default ("18", "50").
FieldCheck checkWpm(const QString& text);
FieldCheck checkWeight(const QString& text);
// Dit/dah ratio: 32 to 67 is sent, other numbers not; text becomes "50".
FieldCheck checkRatio(const QString& text);

// PTT lead-in and tail go together: both numbers that fit a byte are sent;
// otherwise the field left (leadIn or tail) goes back to "0".
struct LeadTailCheck {
    QString leadIn;
    QString tail;
    std::optional<std::pair<int, int>> send;
};
LeadTailCheck checkLeadIn(const QString& leadIn, const QString& tail);
LeadTailCheck checkTail(const QString& leadIn, const QString& tail);

// The port field: text becomes "0"; the number is the port.
struct PortCheck {
    QString text;
    int port = 0;
};
PortCheck checkPort(const QString& text);

bool isKnownMode(int value);
bool isKnownPinConfig(int value);

} // namespace tenlog::cw
