// The chart's rows and segments for a licence class, from band plan records.
#include "bandplan/PrivilegesChart.h"

#include <gtest/gtest.h>

namespace {

using namespace tenlog::bandplan;

BandPlanRecord record(const char* band, const char* licenceClass, const char* mode, float low, float high)
{
    return {QString::fromLatin1(band), QString::fromLatin1(licenceClass), QString::fromLatin1(mode), low, high};
}

const QList<BandPlanRecord> kPlan = {
    record("80", "O", "PH", 3.5f, 4.0f),     record("80", "E", "CW", 3.5f, 3.6f),
    record("80", "E", "PH", 3.6f, 4.0f),     record("80", "G", "cw", 3.525f, 3.6f),
    record("30", "O", "CW", 10.1f, 10.15f),  record("30", "G", "CW", 10.1f, 10.15f),
    record("10", "O", "PH", 28.0f, 29.7f),   record("10", "E", "CW", 28.0f, 28.3f),
    record("10", "E", "PH", 28.3f, 29.7f),   record("23", "O", "PH", 1240.0f, 1300.0f),
    record("23", "N", "PH", 1270.0f, 1295.0f),
};

TEST(PrivilegesChart, RowsAndSegmentsOfAClass)
{
    const PrivilegesChart extra = buildPrivilegesChart(kPlan, QStringLiteral("E"));
    ASSERT_EQ(extra.rows.size(), 2) << "30 m has no Extra record, so no bar";
    EXPECT_EQ(extra.rows[0].band, QStringLiteral("80"));
    EXPECT_EQ(extra.rows[1].toolTip, QStringLiteral("10  28.000 - 29.700"));
    ASSERT_EQ(extra.segments.size(), 4);
    const ChartSegment& cw = extra.segments[0];
    EXPECT_EQ(cw.row, 0);
    EXPECT_TRUE(cw.cw);
    EXPECT_DOUBLE_EQ(cw.left, 0.0);
    EXPECT_NEAR(cw.width, 0.2, 1e-6);
    EXPECT_EQ(cw.caption, QStringLiteral("3.500 - 3.600"));
    EXPECT_EQ(cw.toolTip, QStringLiteral("CW  3.500 - 3.600"));
    EXPECT_NEAR(extra.segments[1].left, 0.2, 1e-6);
    EXPECT_FALSE(extra.segments[1].cw);

    // Lower-case "cw" is drawn as phone; a segment over the whole band fills it.
    const PrivilegesChart general = buildPrivilegesChart(kPlan, QStringLiteral("G"));
    ASSERT_EQ(general.rows.size(), 2);
    EXPECT_FALSE(general.segments[0].cw);
    EXPECT_EQ(general.segments[0].toolTip, QStringLiteral("PH  3.525 - 3.600"));
    EXPECT_DOUBLE_EQ(general.segments[1].left, 0.0);
    EXPECT_DOUBLE_EQ(general.segments[1].width, 1.0);

    const PrivilegesChart novice = buildPrivilegesChart(kPlan, QStringLiteral("N"));
    ASSERT_EQ(novice.rows.size(), 1);
    EXPECT_EQ(novice.segments[0].caption, QStringLiteral("1,270.000 - 1,295.000"));
    EXPECT_TRUE(buildPrivilegesChart({}, QStringLiteral("E")).rows.isEmpty());
}

TEST(PrivilegesChart, BandsAboveThreeHundredMegahertzAreNamedInCentimetres)
{
    const struct {
        const char* band;
        float lowMHz;
        const char* caption;
    } cases[] = {{"160", 1.8f, "160 m"}, {"10", 28.0f, "10 m"}, {"1.25", 222.0f, "1.25 m"},
                 {"70", 420.0f, "70 cm"}, {"33", 902.0f, "33 cm"}, {"23", 1240.0f, "23 cm"}};
    for (const auto& c : cases)
        EXPECT_EQ(bandCaption(QString::fromLatin1(c.band), c.lowMHz), QString::fromLatin1(c.caption)) << c.band;
    EXPECT_EQ(buildPrivilegesChart(kPlan, QStringLiteral("N")).rows[0].caption, QStringLiteral("23 cm"));
}

TEST(PrivilegesChart, RowsShareTheHeightAndStopAtTwenty)
{
    // Rows spread over 80 % of the area below the chart's top by their count.
    EXPECT_DOUBLE_EQ(chartRowTop(0, 2, 100, 500), 100 + 160);
    EXPECT_DOUBLE_EQ(chartRowTop(1, 2, 100, 500), 100 + 320);
    EXPECT_DOUBLE_EQ(chartRowTop(0, 4, 100, 500), 100 + 80);

    QList<BandPlanRecord> many;
    for (int band = 0; band < 25; ++band) {
        const QByteArray name = QByteArray::number(band);
        many << record(name.constData(), "O", "PH", float(band), float(band) + 1)
             << record(name.constData(), "E", "CW", float(band), float(band) + 0.5f);
    }
    // A band without a range (low = high) gets its bar but no segment.
    many << record("flat", "O", "PH", 5, 5) << record("flat", "E", "CW", 5, 5);
    const PrivilegesChart chart = buildPrivilegesChart(many, QStringLiteral("E"));
    EXPECT_EQ(chart.rows.size(), kMaxChartRows);
    EXPECT_EQ(chart.segments.size(), kMaxChartRows) << "the bands that fit are drawn whole";
    EXPECT_EQ(effectiveDateCaption(QStringLiteral("March 5, 2012")),
              QStringLiteral("Frequencies Effective: March 5, 2012"));
}

} // namespace
