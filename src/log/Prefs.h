// The main window's settings and their file "tnpref.txt" in the working folder.
//
// tnpref.txt: sixteen lines, CR LF ends, one value a line in the order of the
// members of Prefs below. Text is enclosed in double quotes (so it can never
// hold one); numbers are plain decimal with a point only where they have a
// fraction. The shipped file:
//   "" / "" / 0 / "CW" / 0 / "" / 0 / 0 / 100 / 32768 / 192 / 0 / "None" / 0 / 0 / 0
// Reading takes the values with the shared quoted-value reader and converts
// each to the type of its member, as BASIC's Input # does: a quoted number
// counts as a number, whole-number members round half to even, a value out of
// a member's range is an error.
//
// Also here: the station identity as typed into the station dialog, and the
// answer rule of "&Form Size".
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tenlog::log {

struct Prefs {
    QString OwnCall;
    QString OwnState;
    float UtcOffsetHours = 0;
    QString CurrentMode = QStringLiteral("CW");
    float SavedOpSeconds = 0;
    QString OwnCountry;
    float OwnLongitude = 0; // degrees, west positive
    float OwnLatitude = 0;  // degrees, north positive
    int FormSizePercent = 100; // 0..255 in the file; 30..100 when set from the menu
    qint32 WorkedColor = 32768;  // red in the low byte
    qint32 RemainingColor = 192;
    int VoiceNavLevel = 0; // 0 off, 1 call only, 2 all data fields
    QString RigName = QStringLiteral("None");
    int TaskbarFit = 0;
    int NeededSpotsGreen = 0;
    int NeededSpotAudio = 0;

    bool operator==(const Prefs&) const = default;
};

inline constexpr int kPrefsValueCount = 16;

// The name the file has in the working folder (found there in any letter case).
QString prefsFileName();

// Reads file data; nullopt with the reason when the data is short or a value
// does not fit its member.
std::optional<Prefs> parsePrefs(const QByteArray& data, QString* error = nullptr);
// The file's bytes; nullopt with the reason when a value cannot be written so
// that it reads back the same (a double quote or a character beyond Latin-1
// in a text, a number that is not finite or is out of its member's range).
std::optional<QByteArray> prefsBytes(const Prefs& prefs, QString* error = nullptr);

// Reads file data as far as it is sound, for start-up: the values before the
// first damaged one are kept and the rest keep their defaults. *damage names
// the fault for the operator with fileName and the line ("tnpref.txt line 9:
// FormSizePercent is out of range: 300", "tnpref.txt is empty", "tnpref.txt
// ends after 15 of its 16 values"); it is empty when the data is whole.
Prefs readPrefsAsFarAsSound(const QByteArray& data, const QString& fileName, QString* damage);

// Reads tnpref.txt in folder; a missing file is an error.
std::optional<Prefs> loadPrefs(const QString& folder, QString* error = nullptr);
// Replaces tnpref.txt in folder. Nothing is written when a value is refused.
bool savePrefs(const QString& folder, const Prefs& prefs, QString* error = nullptr);

// The station identity as it stands in the six boxes of the station dialog.
struct StationIdText {
    QString call;
    QString state;
    QString utcOffset;
    QString country;
    QString longitude;
    QString latitude;
};

// What "Done" leaves in a number box: the text itself when it is a number, else "0".
QString numberOrZeroText(const QString& text);
// Prefs with the identity taken from the boxes. A number box that does not
// hold a number counts as 0, so a dialog closed without "Done" is harmless.
Prefs withStationId(Prefs prefs, const StationIdText& typed);

// The "&Form Size" answer: a number is limited to 30..100 and rounded half to
// even to a whole percent; anything else, Cancel included, gives nullopt.
std::optional<int> formSizeFromAnswer(const std::optional<QString>& answer);

} // namespace tenlog::log
