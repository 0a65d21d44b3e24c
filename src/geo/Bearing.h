// Great-circle bearing and distance from the own station to a prefix
// entry's position, as the two labels beside the entry line show them.
// Longitudes are west positive.
#pragma once

#include <QString>

namespace tenlog::geo {

struct BearingLabels {
    QString bearing;  // whole degrees, "###" then one space; empty when undefined
    QString distance; // statute miles, "##,###" then one space; empty when undefined
};

// Both labels are empty where the bearing is undefined: the target at the own
// position or its antipode, or due north or south of it.
BearingLabels bearingAndDistance(float ownLatitude, float ownLongitude, float targetLatitude, float targetLongitude);

} // namespace tenlog::geo
