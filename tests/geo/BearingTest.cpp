// Bearing and distance labels for the worked examples and the undefined cases.
#include "geo/Bearing.h"

#include <gtest/gtest.h>

using tenlog::geo::bearingAndDistance;

TEST(BearingAndDistance, WorkedExamples)
{
    // 39 N 77 W to London and to Tokyo.
    auto london = bearingAndDistance(39.0f, 77.0f, 51.5f, 0.1f);
    EXPECT_EQ(london.bearing, QStringLiteral("49 "));
    EXPECT_EQ(london.distance, QStringLiteral("3,657 "));
    auto tokyo = bearingAndDistance(39.0f, 77.0f, 35.0f, -139.0f);
    EXPECT_EQ(tokyo.bearing, QStringLiteral("331 "));
    EXPECT_EQ(tokyo.distance, QStringLiteral("6,826 "));
}

TEST(BearingAndDistance, UndefinedBearingsLeaveBothLabelsEmpty)
{
    for (const auto& labels : {bearingAndDistance(39.0f, 77.0f, 39.0f, 77.0f),     // same place
                               bearingAndDistance(39.0f, 77.0f, 45.0f, 77.0f),     // due north
                               bearingAndDistance(39.0f, 77.0f, -10.0f, 77.0f),    // due south
                               bearingAndDistance(39.0f, 77.0f, -39.0f, -103.0f)}) { // antipode
        EXPECT_TRUE(labels.bearing.isEmpty());
        EXPECT_TRUE(labels.distance.isEmpty());
    }
}

TEST(BearingAndDistance, EastAndWestAndTheOrigin)
{
    // A target to the east gets a bearing below 180, one to the west above.
    EXPECT_LT(bearingAndDistance(0.0f, 0.0f, 0.0f, -10.0f).bearing.trimmed().toInt(), 180);
    EXPECT_GT(bearingAndDistance(0.0f, 0.0f, 0.0f, 10.0f).bearing.trimmed().toInt(), 180);
    // From 0,0 along the equator: 10 degrees of arc is 690 miles.
    EXPECT_EQ(bearingAndDistance(0.0f, 0.0f, 0.0f, -10.0f).distance, QStringLiteral("690 "));
    EXPECT_EQ(bearingAndDistance(0.0f, 0.0f, 0.0f, -10.0f).bearing, QStringLiteral("90 "));
}
