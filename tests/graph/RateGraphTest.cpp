// The rate graph's numbers: the ten-minute count, the slots, the bridged and
// averaged curve, the mode strip, the labels, and what a log that cannot be
// drawn says instead.
#include "graph/RateGraph.h"

#include "GraphContacts.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace tenlog::graph;
using tenlog::testing::contactAt;
using tenlog::testing::contactsAt;
using tenlog::testing::sevenSpacedContacts;

SlotValues emptySlots()
{
    return SlotValues(kSlotArraySize, 0.0f);
}

TEST(RateGraph, TenMinuteCountIncludesTheContactAndStopsAtSixHundredSeconds)
{
    struct Case {
        std::vector<qint64> moments;
        QList<int> rates;
    };
    const Case cases[] = {
        {{0, 599}, {6, 12}},
        {{0, 600}, {6, 6}},
        {{0, 300, 600}, {6, 12, 12}},
        {{5, 5, 5}, {6, 12, 18}},
        {{0, 6, 12, 18, 24, 30, 36, 42, 48, 54, 954}, {6, 12, 18, 24, 30, 36, 42, 48, 54, 60, 6}},
        {{}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tenMinuteRates(c.moments), c.rates) << c.moments.size() << " contacts";
}

TEST(RateGraph, TenMinuteCountAgreesWithWalkingBackFromEachContact)
{
    // Counting back from every contact until one is ten minutes older is
    // the plain rule; the count that only moves forward must agree with it
    // on bursts, ties and long pauses alike.
    std::mt19937 random(22);
    std::uniform_int_distribution<int> step(0, 3);
    std::uniform_int_distribution<int> pause(0, 400);
    for (int run = 0; run < 20; ++run) {
        std::vector<qint64> moments;
        qint64 at = 1000;
        for (int i = 0; i < 500; ++i) {
            const int kind = step(random);
            at += kind == 0 ? 0 : kind == 3 ? 900 + pause(random) : pause(random);
            moments.push_back(at);
        }
        QList<int> walkedBack;
        for (size_t i = 0; i < moments.size(); ++i) {
            int count = 0;
            for (size_t j = i + 1; j-- > 0 && moments[i] - moments[j] < kRateWindowSeconds;)
                ++count;
            walkedBack << 6 * count;
        }
        ASSERT_EQ(tenMinuteRates(moments), walkedBack) << "run " << run;
    }
}

TEST(RateGraph, SlotsRoundToTheNearestTiesToEven)
{
    struct Case {
        qint64 offset;
        qint64 span;
        int slot;
    };
    const Case cases[] = {
        {0, 1000, 0},    {1000, 1000, 1500}, {1, 3000, 0},        {3, 3000, 2},       {5, 3000, 2},
        {7, 3000, 4},    {43200, 86400, 750}, {86399, 86400, 1500}, {86342, 86400, 1499},
        // Ten days of seconds times 1500 stays exact.
        {863999, 864000, 1500},
    };
    for (const Case& c : cases)
        EXPECT_EQ(slotOf(c.offset, c.span), c.slot) << c.offset << " of " << c.span;
}

TEST(RateGraph, GapsOfUpToFifteenSlotsAreBridgedAndLongerOnesDropToZero)
{
    // Nine empty slots between 6 and 12: a straight line from the slot
    // before, its step the rise over the distance from the first empty slot.
    SlotValues raw = emptySlots(), smoothed = emptySlots();
    raw[10] = 6;
    raw[20] = 12;
    bridgeGaps(raw, smoothed);
    EXPECT_FLOAT_EQ(smoothed[10], 6);
    EXPECT_FLOAT_EQ(smoothed[11], 6);
    EXPECT_NEAR(smoothed[14], 6 + 3 * 6.0 / 9, 1e-5);
    EXPECT_NEAR(smoothed[19], 6 + 8 * 6.0 / 9, 1e-5);
    EXPECT_FLOAT_EQ(smoothed[20], 12);
    EXPECT_FLOAT_EQ(raw[19], smoothed[19]) << "the bridge is written back for the slots after";
    EXPECT_FLOAT_EQ(smoothed[21], 0) << "nothing ahead: the curve drops";

    // Fifteen empty slots are bridged; sixteen are not, and the line into
    // the next contact then rises from the zero left behind.
    struct Case {
        int next;
        float eleventh;
        float thirteenth;
    };
    for (const Case& c : {Case{26, 6, 6}, Case{27, 0, 6.0f / 15}}) {
        SlotValues r = emptySlots(), s = emptySlots();
        r[10] = 6;
        r[c.next] = 6;
        bridgeGaps(r, s);
        EXPECT_FLOAT_EQ(s[11], c.eleventh) << "next contact at " << c.next;
        EXPECT_NEAR(s[13], c.thirteenth, 1e-6) << "next contact at " << c.next;
    }
}

TEST(RateGraph, SevenSlotMeanOfTheValuesAboveZero)
{
    SlotValues raw = emptySlots(), smoothed = emptySlots();
    raw[3] = 30; // before slot 7 nothing is averaged
    raw[10] = 12;
    raw[13] = 6;
    smoothed[3] = 30;
    smoothed[20] = 3; // a slot with nothing to average keeps its value
    averageSlots(raw, smoothed);
    EXPECT_FLOAT_EQ(smoothed[3], 30);
    EXPECT_FLOAT_EQ(smoothed[7], 30) << "slots 1 to 7";
    EXPECT_FLOAT_EQ(smoothed[9], 30) << "slots 3 to 9";
    EXPECT_FLOAT_EQ(smoothed[10], 12) << "slots 4 to 10: slot 3 has left";
    EXPECT_FLOAT_EQ(smoothed[13], 9) << "12 and 6";
    EXPECT_FLOAT_EQ(smoothed[16], 9) << "slots 10 to 16";
    EXPECT_FLOAT_EQ(smoothed[17], 6) << "slots 11 to 17";
    EXPECT_FLOAT_EQ(smoothed[20], 3);
}

TEST(RateGraph, TheModeRunsAlongTheCurveUntilItDropsToZero)
{
    SlotValues smoothed = emptySlots();
    SlotModes modes(kSlotArraySize, SlotMode::None);
    for (int x = 1; x <= 10; ++x)
        smoothed[x] = 6;
    for (int x = 12; x <= 14; ++x)
        smoothed[x] = 6;
    modes[3] = SlotMode::Cw;
    modes[6] = SlotMode::Phone;
    modes[11] = SlotMode::Cw; // under a zero: kept, but not carried on
    spreadModes(smoothed, modes);
    const SlotMode N = SlotMode::None, C = SlotMode::Cw, P = SlotMode::Phone;
    const SlotModes expected = {N, N, N, C, C, C, P, P, P, P, P, C, N, N, N, N};
    EXPECT_EQ(SlotModes(modes.begin(), modes.begin() + 16), expected);
}

TEST(RateGraph, SevenSpacedContactsFromFirstToLast)
{
    // Seven contacts draw; the same log less one does not (below).
    const RateGraph g = computeRateGraph(sevenSpacedContacts());
    ASSERT_TRUE(g.hasCurve());
    EXPECT_TRUE(g.noCurveTitle.isEmpty());
    EXPECT_EQ(g.contactRates, QList<int>({6, 12, 18, 24, 30, 36, 6}));

    // The first slot starts at one contact's worth and the pauses drop to
    // zero; each contact is reached by a line rising over the 15 slots
    // before it, and the mean of the seven slots up to it lags behind.
    const std::pair<int, double> curve[] = {{1, 6},  {2, 0},   {100, 9.6}, {101, 10},  {106, 12},
                                            {107, 0}, {150, 0}, {300, 19.2}, {1500, 4.8}};
    for (const auto& [slot, value] : curve)
        EXPECT_NEAR(g.smoothed[slot], value, 1e-4) << "slot " << slot;
    EXPECT_FLOAT_EQ(g.minimum, 0);
    EXPECT_FLOAT_EQ(g.maximum, 36) << "six slots after the fastest contact";

    // The strip: each contact's mode until its curve drops, none on the rise
    // before a contact or in the pauses.
    const std::pair<int, SlotMode> strip[] = {{1, SlotMode::Cw},      {95, SlotMode::None},  {100, SlotMode::Phone},
                                              {106, SlotMode::Phone}, {107, SlotMode::None}, {150, SlotMode::None},
                                              {200, SlotMode::Cw},    {1500, SlotMode::Cw}};
    for (const auto& [slot, mode] : strip)
        EXPECT_EQ(g.modes[slot], mode) << "slot " << slot;

    // Rate labels from the smallest to the largest, "###0.0", halves to the
    // even tenth; time labels from the first contact to the last.
    EXPECT_EQ(g.rateLabels.join(u' '), QStringLiteral("0.0 2.2 4.5 6.8 9.0 11.2 13.5 15.8 18.0 20.2 22.5 24.8 27.0 "
                                                      "29.2 31.5 33.8 36.0"));
    EXPECT_EQ(g.timeLabels.join(u' '), QStringLiteral("14:00 14:01 14:03 14:05 14:07 14:08 14:10 14:12 14:14 14:16 "
                                                      "14:17 14:19 14:21 14:23 14:25"));
    EXPECT_EQ(g.dateLabels, QStringList(kTimeLabels, QStringLiteral("12/14")));

    EXPECT_EQ(g.slotReading(300), QStringLiteral("14:05 UTC 12/14: 19.2 contacts an hour"));
    EXPECT_EQ(g.slotReading(1500), QStringLiteral("14:25 UTC 12/14: 4.8 contacts an hour"));
    EXPECT_TRUE(g.slotReading(0).isEmpty());
    EXPECT_EQ(g.description(), QStringLiteral("7 contacts from 12/14 14:00 to 12/14 14:25 UTC, 25 minutes. Peak rate 36 "
                                              "contacts an hour at 12/14 14:08. Last hour of the log: 7 contacts."));
}

TEST(RateGraph, TenInAMinuteThenOneFifteenMinutesLater)
{
    QList<tenlog::log::QsoRecord> contacts;
    for (int i = 0; i < 10; ++i)
        contacts << contactAt(6 * i, i % 2 ? "PH" : "CW", i + 1);
    contacts << contactAt(54 + 900, "CW", 11);
    const RateGraph g = computeRateGraph(contacts);
    ASSERT_TRUE(g.hasCurve());
    EXPECT_EQ(g.peakRate, 60);
    EXPECT_EQ(g.peakAt, tenlog::testing::kGraphStart.addSecs(54));
    EXPECT_EQ(g.contactRates.last(), 6) << "the last contact counts only itself";
    EXPECT_EQ(g.lastHourContacts, 11);
    EXPECT_EQ(g.timeLabels.first(), QStringLiteral("14:00"));
    EXPECT_EQ(g.timeLabels.last(), QStringLiteral("14:15"));
    // The burst fills the first slots without a break; the pause drops to zero.
    EXPECT_GT(g.smoothed[60], 0);
    EXPECT_FLOAT_EQ(g.smoothed[400], 0);
    EXPECT_EQ(g.modes[400], SlotMode::None);
    EXPECT_NE(g.modes[60], SlotMode::None);
    EXPECT_TRUE(g.description().contains(QStringLiteral("Peak rate 60 contacts an hour at 12/14 14:00.")))
        << g.description().toStdString();
}

TEST(RateGraph, LogsWithoutACurveSayWhyInPlainWords)
{
    const QList<tenlog::log::QsoRecord> six = sevenSpacedContacts().mid(0, 6);
    QList<tenlog::log::QsoRecord> sameSecond;
    for (int i = 0; i < 11; ++i)
        sameSecond << contactAt(0, "CW", i + 1);
    QList<tenlog::log::QsoRecord> badDate = sevenSpacedContacts();
    badDate[4].QsoDate = QStringLiteral("2013/13/14");
    QList<tenlog::log::QsoRecord> badTime = sevenSpacedContacts();
    badTime[6].QsoTime = QStringLiteral("25:00:00");
    // One contact every eleven minutes, 14 slots apart: every slot bridged at 6.
    QList<tenlog::log::QsoRecord> steady;
    for (int i = 0; i <= 107; ++i)
        steady << contactAt(660 * i, "CW", i + 1);

    const QString fewTitle = QStringLiteral("Not Enough Contacts to Graph.");
    const QString few = QStringLiteral("The graph will not display with less than 7 contacts.  The graph becomes more "
                                       "meaningful as several hours of contest logging are accumulated.");
    struct Case {
        const char* name;
        QList<tenlog::log::QsoRecord> contacts;
        QString reason;
        QString title; // said in a message box as well
    };
    const Case cases[] = {
        {"six", six, few, fewTitle},
        {"one", six.mid(0, 1), few, fewTitle},
        {"none", {}, few, fewTitle},
        {"same second", sameSecond,
         QStringLiteral("All 11 contacts are logged in the same second, 2013/12/14 14:00:00 UTC: the graph needs time "
                        "between the first contact and the last."),
         {}},
        {"bad date", badDate,
         QStringLiteral("Contact 5 (K5ABC) has a date or time that cannot be read: \"2013/13/14 14:06:40\". Correct "
                        "it in the contact list to see the graph."),
         {}},
        {"bad time", badTime,
         QStringLiteral("Contact 7 (K7ABC) has a date or time that cannot be read: \"2013/12/14 25:00:00\". Correct "
                        "it in the contact list to see the graph."),
         {}},
        {"flat", steady,
         QStringLiteral("The rate is the same all through the log, 6.0 contacts an hour: there is no rise or fall to "
                        "draw."),
         {}},
    };
    for (const Case& c : cases) {
        const RateGraph g = computeRateGraph(c.contacts);
        EXPECT_FALSE(g.hasCurve()) << c.name;
        EXPECT_EQ(g.noCurveTitle, c.title) << c.name;
        EXPECT_EQ(g.noCurveReason, c.reason) << c.name;
        EXPECT_EQ(g.description(), c.reason) << c.name;
        EXPECT_TRUE(g.slotReading(750).isEmpty()) << c.name;
    }
}

TEST(RateGraph, ContactsOutOfTimeOrderAreDrawnAtTheirOwnTimes)
{
    // The fourth contact's date was edited a day into the past.
    QList<tenlog::log::QsoRecord> contacts = sevenSpacedContacts();
    contacts[3] = contactAt(300 - 86400, "PH", 4);
    const RateGraph g = computeRateGraph(contacts);
    ASSERT_TRUE(g.hasCurve()) << g.noCurveReason.toStdString();
    EXPECT_EQ(g.first, tenlog::testing::kGraphStart.addSecs(300 - 86400));
    EXPECT_EQ(g.dateLabels.first(), QStringLiteral("12/13"));
    EXPECT_EQ(g.timeLabels.first(), QStringLiteral("14:05"));
    EXPECT_EQ(g.timeLabels.last(), QStringLiteral("14:25"));
    EXPECT_EQ(g.modes[1], SlotMode::Phone) << "the earliest contact is first";
    EXPECT_EQ(g.orderNote, QStringLiteral("Contact 4 (K4ABC) is earlier than the contact logged before it; every "
                                          "contact is drawn at its own time."));
    EXPECT_TRUE(g.description().endsWith(g.orderNote));

    contacts[5] = contactAt(-50, "CW", 6);
    EXPECT_TRUE(computeRateGraph(contacts).orderNote.startsWith(
        QStringLiteral("Contact 4 (K4ABC) and 1 more are earlier than the contact logged before them;")));
    EXPECT_TRUE(computeRateGraph(sevenSpacedContacts()).orderNote.isEmpty());
}

TEST(RateGraph, TenDaysAndAFullLog)
{
    // Spread over ten days: the labels run from the first day to the last.
    QList<tenlog::log::QsoRecord> spread;
    for (int day = 0; day <= 10; ++day)
        spread << contactAt(qint64(day) * 86400, "CW", day + 1);
    const RateGraph tenDays = computeRateGraph(spread);
    ASSERT_TRUE(tenDays.hasCurve());
    EXPECT_EQ(tenDays.dateLabels.first(), QStringLiteral("12/14"));
    EXPECT_EQ(tenDays.dateLabels.last(), QStringLiteral("12/24"));
    EXPECT_TRUE(tenDays.description().contains(QStringLiteral("UTC, 10 days. ")));
    EXPECT_EQ(tenDays.lastHourContacts, 1);

    // 11,000 contacts, a burst every hour: every slot of the log is worked out.
    QList<tenlog::log::QsoRecord> full;
    for (int i = 0; i < tenlog::log::kLogCapacity; ++i)
        full << contactAt(qint64(i / 100) * 3600 + (i % 100) * 5, i % 3 ? "CW" : "PH", i + 1);
    const RateGraph g = computeRateGraph(full);
    ASSERT_TRUE(g.hasCurve());
    EXPECT_EQ(g.contacts, tenlog::log::kLogCapacity);
    EXPECT_EQ(g.peakRate, 6 * 100) << "a hundred contacts within 500 seconds";
    EXPECT_EQ(g.lastHourContacts, 100);
    EXPECT_EQ(g.contactRates.size(), tenlog::log::kLogCapacity);
}

} // namespace
