// Where the spots of the store go on the two painted maps: the main window's
// 10 m band map and the spectrum map of eleven band rows, 160 m to 2 m. Each
// row has a scale zoomed to the spots inside it and five captions; each spot
// inside a row gets a label at its frequency, coloured by its age. All of it
// is worked out here as plain numbers and text; the windows only paint it.
//
// The rules: a row's edges narrow to its spots (entries 1 to 49; entry 0 is
// about to drop out) with 0.001 MHz to spare, unless it holds fewer than two
// distinct frequencies; the captions are the edges and three points between
// them, rounded half to even to three decimals; labels are placed against
// the rounded captions. Going from the newest entry down, a label is light
// yellow under 10 minutes, white under 30 and grey under 60; the first entry
// an hour old ends the map, so it and every older entry stay off.
#pragma once

#include "spots/SpotStore.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace tenlog::spots {

// Colours travel as long integers with red in the low byte.
constexpr qint32 rgbLong(int red, int green, int blue)
{
    return static_cast<qint32>(red | (green << 8) | (blue << 16));
}
inline constexpr qint32 kFreshSpotColour = rgbLong(255, 255, 128); // under 10 minutes
inline constexpr qint32 kRecentSpotColour = rgbLong(255, 255, 255); // under 30 minutes
inline constexpr qint32 kOldSpotColour = rgbLong(192, 192, 192);    // under an hour
inline constexpr qint32 kStripColour = rgbLong(0, 0, 128);
inline constexpr qint32 kScaleColour = rgbLong(255, 255, 255);

struct BandEdges {
    float low = 0;
    float high = 0;
};

struct BandRow {
    QString name; // "160 m"
    BandEdges edges;
};

// The main window's band map: the contest band.
BandRow tenMetreRow();
// The spectrum map's rows, 160 m to 2 m.
const std::array<BandRow, 11>& spectrumRows();

// The edges narrowed to the spots strictly inside them.
BandEdges zoomedEdges(const SpotStore& store, BandEdges edges);

struct BandScale {
    std::array<QString, 5> captions; // "#.000"
    // The values of the first and last captions: labels are placed, and
    // the 10 m map's spots chosen, against these.
    float low = 0;
    float high = 0;

    bool contains(float mhz) const { return low < mhz && mhz < high; }
    // Where a frequency lies along the scale line: 0 at the first caption,
    // 1 at the last.
    double position(float mhz) const;
};
BandScale bandScale(BandEdges edges);

// The text colour of a spot this many seconds old; none once it is an hour
// old (the map ends there). A spot from the future (the clock was set back)
// is new.
std::optional<qint32> ageColour(qint64 ageSeconds);

// "K1ABC  28.025  14:05:33": call, frequency and the time stored in UTC.
QString spotTip(const Spot& spot, float utcOffsetHours);
// "K1ABC 28.025 MHz, 4 minutes": what a screen reader says for a spot.
QString spokenSpot(const Spot& spot, const QDateTime& localNow);

struct PlacedSpot {
    int index = 0;       // the store entry
    int row = 0;         // the map row it is drawn on
    double position = 0; // along the row's scale line, 0 to 1
    qint32 colour = kRecentSpotColour;
    QString label;
    QString tip;
    QString spoken;
};

struct MapRow {
    QString name;
    BandScale scale;
};

struct SpotMap {
    std::vector<MapRow> rows;
    std::vector<PlacedSpot> spots; // newest first
};

// The 10 m band map: one row, zoomed to its spots.
SpotMap tenMetreMap(const SpotStore& store, const QDateTime& localNow, float utcOffsetHours);
// The spectrum map: the eleven rows, each zoomed to its own spots; a spot is
// drawn on every row whose edges enclose it strictly.
SpotMap spectrumMap(const SpotStore& store, const QDateTime& localNow, float utcOffsetHours);

// Moving the keyboard's spot on a map: along the frequencies of all rows,
// to the first or last, or to the nearest spot of the row above or below
// that has any.
enum class SpotStep { Previous, Next, First, Last, RowUp, RowDown };
// The spot (an index into map.spots) a step from current leads to; from
// none (-1) any step goes to the newest spot. -1 on an empty map; current
// where the step leads nowhere.
int steppedSpot(const SpotMap& map, int current, SpotStep step);
// The spots in the order the keyboard goes through them: by row, then by
// position, newest first on one frequency.
std::vector<int> keyboardOrder(const SpotMap& map);

} // namespace tenlog::spots
