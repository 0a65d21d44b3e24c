// The Morse table and the unit arithmetic of the keying engine. Each character
// becomes a string of units: '1' key down for one unit, '0' key up for one.
// A dit is "1", a dah "111", the gap inside a character "0", and every
// character ends in "000". The space is eight units up, so words are 11 units
// apart before the operator's word-space adjustment. Prosigns ride on
// punctuation: "-" and "=" BT, "[" AR, "]" SK, ";" KN, "\" CL. "!" keys
// nothing (it marks where the contact is logged).
#pragma once

#include <QByteArray>
#include <QChar>

namespace tenlog::cw {

// The slowest speed the engine sends. A speed of 0, below 0 or not a number
// (the "Slower" button and the Down arrow have no floor) is sent at this
// speed rather than with a unit of infinite or negative length.
inline constexpr double lowestWpm = 1.0;

// The speed actually used for wpm.
double usableWpm(double wpm);
// One unit (a dit) in milliseconds: 1200 / WPM, a word counted as 50 units.
double unitMs(double wpm);

// The unit string of one character (upper-cased first); empty for a
// character the table does not hold, which is neither keyed nor followed by a
// gap.
QByteArray elementsOf(QChar character);

// The word-space adjustment in whole units: rounded to the nearest whole
// number and never below -8.
int wordSpaceUnits(double adjustment);

// elementsOf() with the word-space adjustment applied to the space character.
QByteArray elementsToSend(QChar character, double wordSpaceAdjustment);

} // namespace tenlog::cw
