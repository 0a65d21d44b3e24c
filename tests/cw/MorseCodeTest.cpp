#include "cw/MorseCode.h"

#include <gtest/gtest.h>

#include <QList>
#include <QString>

#include <cmath>
#include <limits>

using namespace tenlog::cw;

TEST(MorseCode, TableEntries)
{
    const struct {
        QChar character;
        const char* units;
    } rows[] = {
        {QLatin1Char('A'), "10111000"},
        {QLatin1Char('a'), "10111000"},
        {QLatin1Char('B'), "111010101000"},
        {QLatin1Char('E'), "1000"},
        {QLatin1Char('T'), "111000"},
        {QLatin1Char('0'), "1110111011101110111000"},
        {QLatin1Char('.'), "10111010111010111000"},
        {QLatin1Char('='), "1110101010111000"},
        {QLatin1Char('-'), "1110101010111000"},
        {QLatin1Char('['), "1011101011101000"},
        {QLatin1Char(']'), "101010111010111000"},
        {QLatin1Char(';'), "111010111011101000"},
        {QLatin1Char('\\'), "111010111010101110101000"},
        {QLatin1Char(' '), "00000000"},
        {QLatin1Char('!'), ""},
        {QLatin1Char('\''), ""},
        {QLatin1Char('('), ""},
        {QChar(0x00E9), ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(elementsOf(row.character), QByteArray(row.units)) << QString(row.character).toStdString();
}

TEST(MorseCode, EveryPatternIsWellFormed)
{
    // Units alternate runs of 1 (one or three long) and single 0 gaps, and
    // end in the three-unit character gap.
    for (char c : QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,?/=-[];\\")) {
        const QByteArray units = elementsOf(QLatin1Char(c));
        ASSERT_TRUE(units.endsWith("1000")) << c;
        for (const QByteArray& mark : units.left(units.size() - 3).split('0'))
            EXPECT_TRUE(mark == "1" || mark == "111") << c;
    }
}

TEST(MorseCode, UnitLengthAndClampedSpeeds)
{
    EXPECT_DOUBLE_EQ(unitMs(20), 60);
    EXPECT_NEAR(unitMs(13), 92.3077, 1e-4);
    for (double bad : {0.0, -5.0, std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::infinity()})
        EXPECT_DOUBLE_EQ(unitMs(bad), 1200 / lowestWpm) << bad;
}

TEST(MorseCode, WordSpaceAdjustment)
{
    const struct {
        double adjustment;
        int units;
    } rows[] = {{0, 8}, {2, 10}, {-3, 5}, {-8, 0}, {-20, 0}, {1.4, 9}, {1.6, 10}, {-0.4, 8}};
    for (const auto& row : rows) {
        const QByteArray space = elementsToSend(QLatin1Char(' '), row.adjustment);
        EXPECT_EQ(space, QByteArray(row.units, '0')) << row.adjustment;
    }
    EXPECT_EQ(elementsToSend(QLatin1Char('E'), 5), QByteArray("1000"));
}
