// One row of the main window's spot list, newest first, taken from the spot
// and the fixed columns of its record (the cluster line without "DX ",
// trimmed, upper case, cut at its first CR):
//   DE K1TTT:     28025.0  VE3XYZ       CQ                             1234Z
// "Comments" joins the spotter (characters 1 to 11) and the comment (35 to
// 59); "Prefix" is 62 to 66, "Time" 68 to 71 and "From" 73 to 76. "Status"
// stays empty.
#pragma once

#include <QString>

#include <array>

namespace tenlog::spots {

// The columns, in order.
enum SpotListColumn : int {
    kCallColumn,
    kFrequencyColumn,
    kQthColumn,
    kStatusColumn,
    kCommentsColumn,
    kPrefixColumn,
    kTimeColumn,
    kFromColumn,
    kSpotListColumns
};

using SpotListRow = std::array<QString, kSpotListColumns>;

// country is the spotted call's country, empty when the prefix table does
// not know it.
SpotListRow spotListRow(const QString& call, float frequencyMhz, const QString& record, const QString& country);

} // namespace tenlog::spots
