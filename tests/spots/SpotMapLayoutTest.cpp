// Where spots go on the 10 m band map and the spectrum map: zoomed scales and
// their captions, age colours and the hour's end, which rows take a spot,
// what is never drawn, the tip and the spoken name, and the keyboard's way
// from spot to spot. Also the columns of a spot list row.
#include "QtPrinters.h"
#include "spots/SpotListRow.h"
#include "spots/SpotMapLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace tenlog::spots;

namespace {

const QDateTime kNow(QDate(2013, 12, 14), QTime(9, 30, 0));

// A store filled oldest first; each spot is (call, MHz, seconds old).
struct StoredSpot {
    const char* call;
    float mhz;
    qint64 ageSeconds = 0;
};

SpotStore storeOf(std::initializer_list<StoredSpot> spots)
{
    SpotStore store;
    for (const StoredSpot& s : spots) {
        Spot spot;
        spot.call = QString::fromLatin1(s.call);
        spot.frequencyMhz = s.mhz;
        spot.time = kNow.addSecs(-s.ageSeconds);
        spot.label = spot.call.left(3);
        store.push(spot);
    }
    return store;
}

QStringList captionsOf(const BandScale& scale)
{
    return QStringList(scale.captions.begin(), scale.captions.end());
}

QStringList callsOn(const SpotMap& map, int row = -1)
{
    QStringList calls;
    for (const PlacedSpot& spot : map.spots) {
        if (row < 0 || spot.row == row)
            calls << spot.tip.section(QLatin1Char(' '), 0, 0);
    }
    return calls;
}

int rowOf(const char* band)
{
    for (size_t r = 0; r < spectrumRows().size(); ++r) {
        if (spectrumRows()[r].name == QLatin1String(band))
            return static_cast<int>(r);
    }
    return -1;
}

} // namespace

TEST(BandScale, ZoomsToTheSpotsWithAThousandthToSpare)
{
    struct Case {
        const char* name;
        SpotStore store;
        QStringList captions;
    };
    const std::vector<Case> cases{
        {"two spots", storeOf({{"K1AB", 28.025f}, {"W2CD", 29.0f}}),
         {"28.024", "28.268", "28.512", "28.757", "29.001"}},
        {"one spot: the whole band", storeOf({{"K1AB", 28.4f}}), {"28.000", "28.425", "28.850", "29.275", "29.700"}},
        {"no spot", SpotStore(), {"28.000", "28.425", "28.850", "29.275", "29.700"}},
        {"every spot on one frequency", storeOf({{"K1AB", 28.3f}, {"W2CD", 28.3f}, {"N3EF", 28.3f}}),
         {"28.000", "28.425", "28.850", "29.275", "29.700"}},
        {"other bands and the edges do not count",
         storeOf({{"K1AB", 14.025f}, {"W2CD", 28.0f}, {"N3EF", 28.1f}, {"K4GH", 28.2f}, {"W5IJ", 29.7f}}),
         {"28.099", "28.125", "28.150", "28.176", "28.201"}},
    };
    for (const Case& c : cases) {
        const BandScale scale = bandScale(zoomedEdges(c.store, tenMetreRow().edges));
        EXPECT_EQ(captionsOf(scale), c.captions) << c.name;
        EXPECT_FLOAT_EQ(scale.low, c.captions.front().toFloat()) << c.name;
        EXPECT_FLOAT_EQ(scale.high, c.captions.back().toFloat()) << c.name;
    }
}

TEST(BandScale, TheOldestEntryDoesNotZoom)
{
    // 50 spots push the first one to entry 0, which is about to drop out.
    SpotStore store;
    Spot low;
    low.call = QStringLiteral("K1AB");
    low.frequencyMhz = 28.01f;
    low.time = kNow;
    store.push(low);
    for (int i = 0; i < SpotStore::kSize - 1; ++i) {
        Spot spot = low;
        spot.frequencyMhz = i % 2 ? 28.5f : 28.6f;
        store.push(spot);
    }
    ASSERT_FLOAT_EQ(store.entry(0).frequencyMhz, 28.01f);
    const BandScale scale = bandScale(zoomedEdges(store, tenMetreRow().edges));
    EXPECT_EQ(scale.captions.front(), "28.499");
    EXPECT_EQ(scale.captions.back(), "28.601");
}

TEST(BandScale, CaptionsRoundHalvesToEven)
{
    // 28.0625 and 28.1875 are exact binary values, halfway at the third
    // decimal: the even digit wins.
    const BandScale scale = bandScale({28.0f, 28.25f});
    EXPECT_EQ(captionsOf(scale), (QStringList{"28.000", "28.062", "28.125", "28.188", "28.250"}));
}

TEST(SpotAge, ColoursByAgeUntilAnHour)
{
    struct Case {
        qint64 seconds;
        std::optional<qint32> colour;
    };
    const std::vector<Case> cases{
        {-3600, kFreshSpotColour}, // the clock was set back
        {0, kFreshSpotColour},       {599, kFreshSpotColour}, {600, kRecentSpotColour}, {1799, kRecentSpotColour},
        {1800, kOldSpotColour},      {3599, kOldSpotColour},  {3600, std::nullopt},      {86400, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ageColour(c.seconds), c.colour) << c.seconds << " s";
    EXPECT_EQ(kFreshSpotColour, 0x80FFFF) << "RGB 255, 255, 128 with red in the low byte";
    EXPECT_EQ(kOldSpotColour, 0xC0C0C0);
    EXPECT_EQ(kStripColour, 0x800000) << "RGB 0, 0, 128";
}

TEST(TenMetreMap, DrawsSpotsNewestFirstAndEndsAtTheFirstOneAnHourOld)
{
    const SpotStore store = storeOf({
        {"W9OLD", 28.3f, 3000},    // older than the hour's end below: hidden
        {"K1HOUR", 28.2f, 3600},   // ends the map
        {"DL1DX", 14.2f, 7200},    // another band: does not end it
        {"W2GREY", 28.1f, 1800},
        {"N3WHITE", 28.4f, 600},
        {"K4NEW", 28.5f, 30},
    });
    const SpotMap map = tenMetreMap(store, kNow, 5);
    EXPECT_EQ(callsOn(map), (QStringList{"K4NEW", "N3WHITE", "W2GREY"}));
    ASSERT_EQ(map.spots.size(), 3u);
    EXPECT_EQ(map.spots[0].colour, kFreshSpotColour);
    EXPECT_EQ(map.spots[1].colour, kRecentSpotColour);
    EXPECT_EQ(map.spots[2].colour, kOldSpotColour);
    EXPECT_EQ(map.spots[0].index, SpotStore::kNewest);
    EXPECT_EQ(map.spots[0].label, "K4N");
    EXPECT_EQ(map.rows.size(), 1u);
}

TEST(TenMetreMap, WhatIsNeverDrawn)
{
    // Spots the intake could store from a hostile or broken cluster, and
    // one the operator took off the map (frequency 0).
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const SpotStore store = storeOf({{"ZERO", 0.0f},   {"MINUS", -28.1f}, {"ABSURD", 999.999f},
                                     {"NAN", nan},     {"INF", inf},      {"EDGE", 28.0f},
                                     {"TOP", 29.7f},   {"K1OK", 28.3f}});
    const SpotMap map = tenMetreMap(store, kNow, 0);
    EXPECT_EQ(callsOn(map), QStringList{"K1OK"});
    EXPECT_EQ(map.rows[0].scale.captions.front(), "28.000") << "one spot in the band: the whole band";
}

TEST(SpectrumMap, EachSpotOnItsOwnRowAndEachRowZoomedToItsOwn)
{
    const SpotStore store = storeOf({
        {"VE3AA", 14.010f},  {"VE3BB", 14.250f}, {"JA1CC", 21.300f}, {"W1EDGE", 28.0f}, {"W2TOP", 14.35f},
        {"W3CH", 5.3515f},   // 60 m: no row
        {"K1TEN", 28.4f},    {"W6TWO", 144.2f},  {"G3LOW", 1.83f},
    });
    const SpotMap map = spectrumMap(store, kNow, 0);
    ASSERT_EQ(map.rows.size(), 11u);
    EXPECT_EQ(map.rows[0].name, "160 m");
    EXPECT_EQ(map.rows[10].name, "2 m");
    EXPECT_EQ(callsOn(map, rowOf("20 m")), (QStringList{"VE3BB", "VE3AA"}));
    EXPECT_EQ(callsOn(map, rowOf("15 m")), QStringList{"JA1CC"});
    EXPECT_EQ(callsOn(map, rowOf("10 m")), QStringList{"K1TEN"}) << "28.000 lies on the edge";
    EXPECT_EQ(callsOn(map, rowOf("2 m")), QStringList{"W6TWO"});
    EXPECT_EQ(callsOn(map, rowOf("160 m")), QStringList{"G3LOW"});
    EXPECT_EQ(map.spots.size(), 6u) << "nothing for 60 m, nor on 14.350 or 28.000";

    EXPECT_EQ(map.rows[static_cast<size_t>(rowOf("20 m"))].scale.captions.front(), "14.009");
    EXPECT_EQ(map.rows[static_cast<size_t>(rowOf("20 m"))].scale.captions.back(), "14.251");
    EXPECT_EQ(map.rows[static_cast<size_t>(rowOf("15 m"))].scale.captions.front(), "21.000") << "one spot: full row";
    EXPECT_EQ(map.rows[static_cast<size_t>(rowOf("40 m"))].scale.captions.back(), "7.300");
    for (const PlacedSpot& spot : map.spots) {
        EXPECT_GT(spot.position, 0.0) << spot.tip.toStdString();
        EXPECT_LT(spot.position, 1.0) << spot.tip.toStdString();
    }
}

TEST(SpectrumMap, AnyEntryAnHourOldEndsIt)
{
    // Unlike the band map, an entry counts for the hour's end whether it is
    // drawn or not.
    const SpotStore store = storeOf({{"K1OLDER", 14.1f, 100}, {"W3CH", 5.3515f, 4000}, {"N2NEW", 7.1f, 10}});
    EXPECT_EQ(callsOn(spectrumMap(store, kNow, 0)), QStringList{"N2NEW"});
    EXPECT_EQ(callsOn(tenMetreMap(storeOf({{"K1TEN", 28.1f, 100}, {"W3CH", 5.3515f, 4000}}), kNow, 0)),
              QStringList{"K1TEN"});
}

TEST(SpotText, TipAndSpokenName)
{
    Spot spot;
    spot.call = QStringLiteral("K1ABC");
    spot.frequencyMhz = 28.025f;
    spot.time = QDateTime(QDate(2013, 12, 14), QTime(9, 5, 33));
    EXPECT_EQ(spotTip(spot, 5), "K1ABC  28.025  14:05:33") << "the time in UTC";
    EXPECT_EQ(spotTip(spot, 5.5f), "K1ABC  28.025  14:35:33");
    EXPECT_EQ(spotTip(spot, -10), "K1ABC  28.025  23:05:33");

    struct Case {
        qint64 seconds;
        const char* spoken;
    };
    for (const Case& c : std::vector<Case>{{0, "K1ABC 28.025 MHz, less than a minute"},
                                           {-600, "K1ABC 28.025 MHz, less than a minute"},
                                           {119, "K1ABC 28.025 MHz, 1 minute"},
                                           {240, "K1ABC 28.025 MHz, 4 minutes"}})
        EXPECT_EQ(spokenSpot(spot, spot.time.addSecs(c.seconds)), QString::fromLatin1(c.spoken)) << c.seconds;
}

TEST(SpotKeyboard, GoesByFrequencyAcrossRowsAndToTheNearestAboveOrBelow)
{
    // Newest last in the store, so map.spots lists them newest first.
    const SpotStore store = storeOf({
        {"A40", 7.05f},  {"B40", 7.20f},  // 40 m
        {"C20", 14.30f},                  // 20 m
        {"D10", 28.10f}, {"E10", 29.60f}, {"F10", 28.90f}, // 10 m
    });
    const SpotMap map = spectrumMap(store, kNow, 0);
    const auto find = [&map](const char* call) {
        for (size_t k = 0; k < map.spots.size(); ++k) {
            if (map.spots[k].tip.startsWith(QLatin1String(call) + QLatin1Char(' ')))
                return static_cast<int>(k);
        }
        return -1;
    };
    const auto name = [&map](int k) { return k < 0 ? QString() : map.spots[static_cast<size_t>(k)].tip.section(' ', 0, 0); };
    QStringList order;
    for (int k : keyboardOrder(map))
        order << name(k);
    EXPECT_EQ(order, (QStringList{"A40", "B40", "C20", "D10", "F10", "E10"}));

    struct Case {
        const char* from;
        SpotStep step;
        const char* to;
    };
    const std::vector<Case> cases{
        {nullptr, SpotStep::Next, "F10"},  // from nothing: the newest
        {"A40", SpotStep::Previous, "A40"}, {"A40", SpotStep::Next, "B40"}, {"B40", SpotStep::Next, "C20"},
        {"E10", SpotStep::Next, "E10"},     {"C20", SpotStep::First, "A40"}, {"C20", SpotStep::Last, "E10"},
        {"D10", SpotStep::RowUp, "C20"},    {"C20", SpotStep::RowUp, "B40"}, {"A40", SpotStep::RowUp, "A40"},
        {"C20", SpotStep::RowDown, "E10"},  // 14.30 lies near the top of 20 m, 29.60 near the top of 10 m
        {"B40", SpotStep::RowDown, "C20"},  {"E10", SpotStep::RowDown, "E10"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(name(steppedSpot(map, c.from ? find(c.from) : -1, c.step)), QString::fromLatin1(c.to))
            << (c.from ? c.from : "none") << " step " << static_cast<int>(c.step);
    EXPECT_EQ(steppedSpot(SpotMap{}, -1, SpotStep::Next), -1);
}

TEST(SpotListRow, FillsEveryColumnFromTheRecordsFixedColumns)
{
    // A record with every field at its column: spotter 1..11, comment
    // 35..59, a trailing field 62..66, the time 68..71, what follows 73..76.
    QString record = QStringLiteral("DE K1TTT:").leftJustified(11);
    record += QStringLiteral("   28025.0  VE3XYZ").leftJustified(23); // 12..34
    record += QStringLiteral("CQ CONTEST").leftJustified(25);          // 35..59
    record += QStringLiteral("  FN42 ");                               // 60..66
    record += QStringLiteral(" 1234Z");                                // 67..72
    record += QStringLiteral(" EU1");                                  // 73..76
    const SpotListRow row = spotListRow(QStringLiteral("VE3XYZ"), 28.0033f, record, QStringLiteral("Canada"));
    EXPECT_EQ(QStringList(row.begin(), row.end()),
              (QStringList{"VE3XYZ", "28.0033", "Canada", "", "DE K1TTT:  CQ CONTEST", "FN42", "1234", "EU1"}));

    const SpotListRow shortRow = spotListRow(QStringLiteral("K1AB"), 28.5f, QStringLiteral("DE W3LPL:  28500.0"), {});
    EXPECT_EQ(QStringList(shortRow.begin(), shortRow.end()),
              (QStringList{"K1AB", "28.5", "", "", "DE W3LPL:  ", "", "", ""}))
        << "a short record leaves the far columns empty";
}
