// Reading a DX cluster announcement by fixed character positions, as the
// cluster lays it out:
//   DX de K1TTT:     28025.0  VE3XYZ       CQ                             1234Z
// The frequency (kHz) is at characters 16..24, the spotted call at 27..39
// (1-based). The spot record is the line without "DX " and trimmed; in it
// the comment is at 35..59. Nothing is tokenised: a short or odd line
// yields whatever those columns hold.
#pragma once

#include <QString>

namespace tenlog::spots {

struct SpotFields {
    QString frequencyText; // kHz, trimmed of blanks
    QString call;          // trimmed of blanks
};

// Removes leading and trailing blanks only; CR and LF stay.
QString trimBlanks(const QString& text);
// Characters from..to (1-based, inclusive) of text, as far as they exist.
QString characters(const QString& text, int from, int to);

SpotFields spotFields(const QString& line);
QString spotRecord(const QString& line);
// The trimmed comment columns of a record.
QString spotComment(const QString& record);

// Whether a call can stand for a multiplier region at all: calls starting
// K, A, N, W, V, C or X (any case).
bool mayCarryRegion(const QString& call);
// The multiplier a call's prefix stands for, blank-enclosed (" ON ",
// " NWT "), or empty.
QString spotRegion(const QString& call);
// True when an upper-cased record asks for spots rather than giving one.
bool isSpotRequest(const QString& record);
// The short band-map label of a call: its prefix up to the last digit.
QString bandMapPrefix(const QString& call);

} // namespace tenlog::spots
