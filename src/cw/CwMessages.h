// The stored CW messages on the function keys and their wildcards: "$" the
// other station's call, "#" the sent number, "*" the sent report (599 is
// sent as 5NN). "!" stays in the text: the engine logs the contact when it
// comes up.
#pragma once

#include <QString>

namespace tenlog::cw {

// Key codes as the main window passes them (F1 = 112). F10 arrives as 124.
inline constexpr int keyF1 = 112;
inline constexpr int keyF9 = 120;
inline constexpr int keyF10 = 121;
inline constexpr int keyF11 = 122;
inline constexpr int keyF12 = 123;
inline constexpr int keyF10Message = 124;

// Which message (0-8 for F1-F9, 9 for F10, 10 for F11) a key code sends;
// -1 for none.
int messageIndexForKey(int keyCode);

// Replaces the wildcards in three passes ("$", then "#", then "*"), each
// value trimmed of blanks. sentRst becomes "5NN" when it is empty or "599".
// A value holding a wildcard character is inserted as it is, never expanded
// again.
QString expandWildcards(const QString& message, const QString& call, const QString& sentNumber, QString& sentRst);

} // namespace tenlog::cw
