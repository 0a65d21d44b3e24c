// Spots into the store through the three receive paths; the own-call alert,
// request words, superseded spots and the needed-multiplier marking.
#include "ScriptedDialogs.h"
#include "SettableClock.h"
#include "SpotChain.h"
#include "SpotLines.h"
#include "log/Prefs.h"
#include "spots/NeededSpots.h"
#include "spots/SpotIntake.h"
#include "spots/SpotPaths.h"
#include "spots/SpotTerminal.h"

#include <gtest/gtest.h>

using namespace tenlog::spots;
using tenlog::testing::clusterSpotLine;

namespace {

struct Spotting : tenlog::testing::SpotChain {
    QStringList alerts;
    int markings = 0;

    Spotting()
    {
        QObject::connect(&intake, &SpotIntake::ownCallSpotted,
                         [this](const QString& message, const QString& hover) { alerts << message << hover; });
        QObject::connect(&intake, &SpotIntake::neededMarkingDue, [this] { ++markings; });
    }
    const Spot& newest() const { return store.entry(SpotStore::kNewest); }
};

// Spotting whose needed multipliers are coloured and prompted for aloud.
struct Prompting : Spotting {
    Prompting()
    {
        prefs.NeededSpotsGreen = 1;
        prefs.NeededSpotAudio = 1;
    }
    tenlog::log::Prefs prefs;
    int prompts = 0;
    NeededSpotAlerts alerts{store, prefs, {}, [this] { ++prompts; }};
};

} // namespace

TEST(SpotIntake, StoresASpotWithItsFields)
{
    Spotting s;
    const QString line = clusterSpotLine("K1TTT", "21303.3", "VE3XYZ", "ON");
    s.paths.takeTelnetLine(line);
    EXPECT_EQ(s.newest().call, "VE3XYZ");
    EXPECT_FLOAT_EQ(s.newest().frequencyMhz, 21.3033f);
    EXPECT_EQ(s.newest().label, "VE3");
    EXPECT_EQ(s.newest().time, s.clock.localNow());
    EXPECT_EQ(s.newest().info, " ON ON  "); // comment, then the region with its own blanks
    EXPECT_EQ(s.markings, 1);
    EXPECT_EQ(s.terminal.text(), line + "\r\n");
    EXPECT_FLOAT_EQ(s.store.entry(SpotStore::kNewest - 1).frequencyMhz, 0.0f);
}

TEST(SpotIntake, WhatIsDroppedAndWhatAlerts)
{
    struct Case {
        const char* name;
        QString call;
        QString frequency;
        QString comment;
        bool stored;
        bool alerted;
    };
    const std::vector<Case> cases{
        {"request word", "VE3XYZ", "28025.0", "PSE QSL VIA", false, false},
        {"own call alerts before the request test", "n1mm", "28025.0", "PSE QSL", false, true},
        {"own call stored", "N1MM", "28025.0", "cq", true, true},
        {"non-numeric frequency", "VE3XYZ", "28O25.0", "cq", false, false},
        {"DX call, no region marking", "JA1ABC", "28025.0", "cq", true, false},
    };
    for (const Case& c : cases) {
        Spotting s;
        s.paths.takeTelnetLine(clusterSpotLine("K1TTT", c.frequency, c.call, c.comment));
        EXPECT_EQ(!s.newest().call.isEmpty(), c.stored) << c.name;
        EXPECT_EQ(s.dialogs.beeps, c.alerted ? 1 : 0) << c.name;
        ASSERT_EQ(s.alerts.size(), c.alerted ? 2 : 0) << c.name;
        if (c.alerted) {
            EXPECT_EQ(s.alerts[0], "You've been spotted! ");
            EXPECT_TRUE(s.alerts[1].startsWith("You've been spotted!  de K1TTT:")) << c.name;
        }
    }
}

TEST(SpotIntake, ANewerSpotOfTheSameCallSupersedesOnlyTheNearestOlder)
{
    Spotting s;
    for (const char* frequency : {"28010.0", "28020.0", "28030.0"})
        s.paths.takeTelnetLine(clusterSpotLine("K1TTT", frequency, "ve3xyz", "cq"));
    EXPECT_FLOAT_EQ(s.store.entry(49).frequencyMhz, 28.03f);
    EXPECT_FLOAT_EQ(s.store.entry(48).frequencyMhz, 0.0f);
    EXPECT_FLOAT_EQ(s.store.entry(47).frequencyMhz, 0.0f); // cleared by the second spot, left so by the third
    EXPECT_EQ(s.store.entry(47).call, "ve3xyz");
}

TEST(SpotIntake, TheStoreKeepsFiftyAndTheCallOfTheOldestDropsOut)
{
    Spotting s;
    for (int i = 0; i < 60; ++i)
        s.paths.takeTelnetLine(clusterSpotLine("K1TTT", QString::number(28000 + i) + ".0", "W" + QString::number(i) + "AB", ""));
    EXPECT_EQ(s.store.entry(0).call, "W10AB");
    EXPECT_EQ(s.store.entry(49).call, "W59AB");
}

TEST(SpotPaths, TelnetShowsAPromptOnceAndTheRestOfItsLine)
{
    Spotting s;
    s.paths.showTelnetPartial("login: ");
    EXPECT_EQ(s.terminal.text(), "login: ");
    s.paths.takeTelnetLine("login: N1MM");
    EXPECT_EQ(s.terminal.text(), "login: N1MM\r\n");

    s.paths.showSpotLinesOnly(true);
    s.paths.takeTelnetLine("Hello N1MM");
    s.paths.showTelnetPartial("N1MM de K1TTT >");
    const QString spot = clusterSpotLine("K1TTT", "28025.0", "VE3XYZ", "cq");
    s.paths.takeTelnetLine(spot);
    EXPECT_EQ(s.terminal.text(), "login: N1MM\r\n" + spot + "\r\n");
}

TEST(SpotPaths, TncShowsAndStoresARepeatedLineOnceButTelnetTwice)
{
    const QString line = clusterSpotLine("K1TTT", "28025.0", "VE3XYZ", "cq") + "\r\n";
    Spotting tnc;
    tnc.paths.takeTncLine(line);
    tnc.paths.takeTncLine(line.toLower());
    EXPECT_EQ(tnc.terminal.text(), line);
    EXPECT_TRUE(tnc.store.entry(48).call.isEmpty());

    Spotting telnet;
    telnet.paths.takeTelnetLine(line.trimmed());
    telnet.paths.takeTelnetLine(line.trimmed());
    EXPECT_EQ(telnet.terminal.text(), line + line);
    EXPECT_EQ(telnet.store.entry(48).call, "VE3XYZ");

    Spotting dxOnly;
    dxOnly.paths.showSpotLinesOnly(true);
    dxOnly.paths.takeTncLine("cmd:\r\n");
    EXPECT_TRUE(dxOnly.terminal.text().isEmpty());
}

TEST(SpotPaths, PacketEngineFrames)
{
    const QString spot = clusterSpotLine("K1TTT", "28025.0", "VE3XYZ", "cq");
    const QByteArray monitored = " 1:Fm K1TTT-1 To DX <UI pid=F0 Len=80 >[12:34:56]\r" + spot.toLatin1() + "\r";
    struct Case {
        const char* name;
        char kind;
        QString from;
        QByteArray data;
        QString connectedCall;
        QString terminal;
        bool stored;
    };
    const std::vector<Case> cases{
        {"monitored spot: header dropped", 'U', "K1TTT-1", monitored, "", spot + "\r\n", true},
        {"monitored spot ending in the engine's NUL", 'U', "K1TTT", monitored + '\0', "", spot + "\r\n", true},
        {"monitored spot with a line feed of its own", 'U', "K1TTT", monitored.chopped(1) + "\n\r" + '\0', "",
         spot + "\r\n", true},
        {"monitored chat shown", 'U', "K1ABC", " 1:Fm K1ABC To CQ <UI>\rhello\r", "", "hello\r\n", false},
        {"monitored chat mentioning DX hidden", 'U', "K1ABC", " 1:Fm K1ABC To DX <UI>\rhello\r", "", "", false},
        {"connected station's text shown", 'D', "K1TTT", "Welcome\r\r", "K1TTT", "Welcome\r\n", false},
        {"other station's text hidden while connected", 'D', "W1AW", "Hi\r", "K1TTT", "", false},
        {"spot from a connected node", 'D', "K1TTT", spot.toLatin1() + "\r", "K1TTT", spot + "\r\n", true},
    };
    for (const Case& c : cases) {
        Spotting s;
        s.paths.takeAgwFrame(c.kind, c.from, c.data, c.connectedCall);
        EXPECT_EQ(s.terminal.text(), c.terminal) << c.name;
        EXPECT_EQ(s.newest().call == "VE3XYZ", c.stored) << c.name;
    }
}

TEST(SpotTerminal, TrimsToItsLast9000AndRemembers800)
{
    SpotTerminal terminal;
    terminal.append(QString(10000, 'a'));
    EXPECT_EQ(terminal.text().size(), 10000);
    terminal.append("B");
    EXPECT_EQ(terminal.text().size(), 9000);
    EXPECT_TRUE(terminal.text().endsWith("aB"));
    terminal.replace("needle" + QString(800, 'x'));
    EXPECT_FALSE(terminal.recentlyShown("needle"));
    EXPECT_TRUE(terminal.recentlyShown("XXX"));
}

TEST(NeededSpots, MarksRemainingMultipliersThatASpotNames)
{
    Spotting s;
    tenlog::log::Prefs prefs;
    int saves = 0;
    int prompts = 0;
    NeededSpotAlerts alerts(s.store, prefs, [&] { ++saves; }, [&] { ++prompts; });
    const QStringList abbreviations{"ON", "BC", "HI", "CT"};
    std::vector<GridMark> marks{GridMark::Remaining, GridMark::Needed, GridMark::Worked, GridMark::Remaining};

    s.paths.takeTelnetLine(clusterSpotLine("K1TTT", "28025.0", "VE3XYZ", "")); // empty comment, region ON
    s.paths.takeTelnetLine(clusterSpotLine("K1TTT", "28026.0", "KH6XX", ""));  // HI is worked
    alerts.mark(abbreviations, marks);
    EXPECT_EQ(marks, (std::vector<GridMark>{GridMark::Remaining, GridMark::Needed, GridMark::Worked, GridMark::Remaining}))
        << "colouring is off";

    EXPECT_TRUE(alerts.toggleColour());
    EXPECT_EQ(prefs.NeededSpotsGreen, 1);
    alerts.mark(abbreviations, marks);
    EXPECT_EQ(marks, (std::vector<GridMark>{GridMark::Needed, GridMark::Remaining, GridMark::Worked, GridMark::Remaining}));
    EXPECT_EQ(prompts, 0) << "audio off";

    EXPECT_TRUE(alerts.toggleAudio());
    s.paths.takeTelnetLine(clusterSpotLine("K1TTT", "28027.0", "W1AW", "ct"));
    alerts.mark(abbreviations, marks);
    EXPECT_EQ(marks[3], GridMark::Needed);
    EXPECT_EQ(prompts, 1);
    alerts.mark(abbreviations, marks); // the newest spot still names CT: the prompt repeats
    EXPECT_EQ(prompts, 2);
    EXPECT_EQ(saves, 2);

    ASSERT_TRUE(s.store.newestNaming("on").has_value());
    EXPECT_EQ(s.store.newestNaming("on")->call, "VE3XYZ");
    EXPECT_EQ(s.store.allNaming("CT").size(), 1u);
    EXPECT_FALSE(s.store.newestNaming("BC").has_value());
    EXPECT_EQ(recentSpotHoverText(s.store, "on"), "\n  Recent Spot: VE3XYZ  -  28.025  -  12:00");
    EXPECT_EQ(recentSpotHoverText(s.store, "BC"), "");
}

TEST(NeededSpots, OnlySpotsInsideTheTenMetreBandOfferAMultiplier)
{
    struct Case {
        const char* frequencyKhz;
        bool offers;
    };
    const std::vector<Case> cases{{"27999.0", false}, {"28000.0", true},  {"29700.0", true},
                                  {"29700.1", false}, {"14025.0", false}, {"144200.0", false}};
    for (const Case& c : cases) {
        Spotting s;
        const QString line = clusterSpotLine("K1TTT", c.frequencyKhz, "W7AAA", "AZ");
        s.paths.takeTelnetLine(line);
        // Every band is stored and shown; only 10 m offers the multiplier.
        EXPECT_EQ(s.newest().call, "W7AAA") << c.frequencyKhz;
        EXPECT_TRUE(s.terminal.text().startsWith(line)) << c.frequencyKhz;
        std::vector<GridMark> marks{GridMark::Remaining};
        EXPECT_EQ(markNeededSpots(s.store, {"AZ"}, marks), c.offers) << c.frequencyKhz;
        EXPECT_EQ(marks[0] == GridMark::Needed, c.offers) << c.frequencyKhz;
        EXPECT_EQ(s.store.names(SpotStore::kNewest, "az"), c.offers) << c.frequencyKhz;
        EXPECT_EQ(s.store.newestNaming("AZ").has_value(), c.offers) << c.frequencyKhz;
        EXPECT_EQ(s.store.allNaming("AZ").size(), c.offers ? 1u : 0u) << c.frequencyKhz;
        EXPECT_EQ(recentSpotHoverText(s.store, "AZ").isEmpty(), !c.offers) << c.frequencyKhz;
    }
}

TEST(NeededSpots, ASpotNoLongerShownOffersNothing)
{
    Spotting s;
    s.paths.takeTelnetLine(clusterSpotLine("K1TTT", "28010.0", "W7AAA", "AZ"));
    s.paths.takeTelnetLine(clusterSpotLine("K1TTT", "14025.0", "W7AAA", "AZ")); // moved off the band
    EXPECT_FLOAT_EQ(s.store.entry(SpotStore::kNewest - 1).frequencyMhz, 0.0f);
    EXPECT_TRUE(s.store.allNaming("AZ").empty()) << "neither the superseded spot nor the 20 m one";

    s.paths.takeTelnetLine(clusterSpotLine("K1TTT", "28020.0", "W0AAB", "CO"));
    ASSERT_EQ(s.store.allNaming("CO").size(), 1u);
    s.store.hide(SpotStore::kNewest); // taken off the band map
    EXPECT_TRUE(s.store.allNaming("CO").empty());
    std::vector<GridMark> marks{GridMark::Remaining, GridMark::Remaining};
    EXPECT_FALSE(markNeededSpots(s.store, {"AZ", "CO"}, marks));
    EXPECT_EQ(marks, (std::vector<GridMark>{GridMark::Remaining, GridMark::Remaining}));
}

TEST(SpotIntake, ASliceOfLinesAnnouncesItsChangesOnceAtItsEnd)
{
    Spotting s;
    int terminalChanges = 0;
    int stored = 0;
    int storeChanges = 0;
    int arrivals = 0;
    QList<int> freshCounts;
    QObject::connect(&s.terminal, &SpotTerminal::changed, [&] { ++terminalChanges; });
    QObject::connect(&s.intake, &SpotIntake::spotStored, [&] { ++stored; });
    QObject::connect(&s.intake, &SpotIntake::storeChanged, [&] { ++storeChanges; });
    QObject::connect(&s.intake, &SpotIntake::spotArrived, [&] { ++arrivals; });
    QObject::connect(&s.intake, &SpotIntake::neededMarkingDue, [&](int fresh) { freshCounts << fresh; });

    s.paths.beginSlice();
    s.paths.takeTelnetLine(clusterSpotLine("K1TTT", "28025.0", "VE3AAA", "cq"));
    s.paths.takeTelnetLine(clusterSpotLine("K1TTT", "28026.0", "JA1AAA", "59 MA"));
    s.paths.takeTelnetLine("Hello N1MM");
    s.paths.takeTelnetLine(clusterSpotLine("K1TTT", "28027.0", "W1AAA", "cq"));
    EXPECT_EQ(stored, 3) << "the spot list hears of every spot";
    EXPECT_EQ(terminalChanges + storeChanges + arrivals + static_cast<int>(freshCounts.size()), 0);
    EXPECT_EQ(s.terminal.text().count("\r\n"), 4) << "the text itself is there at once";
    s.paths.endSlice();
    EXPECT_EQ(terminalChanges, 1);
    EXPECT_EQ(storeChanges, 1);
    EXPECT_EQ(arrivals, 1);
    EXPECT_EQ(freshCounts, QList<int>{3});

    // Outside a slice, one spot at a time as before; a spot whose call
    // cannot carry a region asks for no marking, but counts as fresh.
    s.paths.takeTelnetLine(clusterSpotLine("K1TTT", "28028.0", "JA1AAB", "cq"));
    s.paths.takeTelnetLine(clusterSpotLine("K1TTT", "28029.0", "VE7AAA", "cq"));
    EXPECT_EQ(terminalChanges, 3);
    EXPECT_EQ(storeChanges, 3);
    EXPECT_EQ(freshCounts, (QList<int>{3, 2}));

    s.paths.beginSlice(); // a slice that changes nothing announces nothing
    s.paths.endSlice();
    EXPECT_EQ(terminalChanges, 3);
}

TEST(NeededSpots, ThePromptSoundsForANeededSpotAnywhereInTheSlice)
{
    struct Case {
        const char* name;
        QStringList slice; // call, frequency, comment: one spot per three
        bool onWorked;     // ON already worked
        int prompts;
    };
    const std::vector<Case> cases{
        {"needed spot first, another after it", {"VE3AAA", "28025.0", "", "W1AAA", "28026.0", "cq"}, false, 1},
        {"needed spot last", {"W1AAA", "28026.0", "cq", "VE3AAA", "28025.0", ""}, false, 1},
        {"worked already", {"VE3AAA", "28025.0", "", "W1AAA", "28026.0", "cq"}, true, 0},
        {"named only by a call that asks no marking", {"JA1AAA", "28025.0", "ON", "W1AAA", "28026.0", "cq"}, false, 0},
        {"needed, but on 20 m", {"VE3AAA", "14025.0", "", "W1AAA", "28026.0", "cq"}, false, 0},
    };
    for (const Case& c : cases) {
        Prompting s;
        const QStringList abbreviations{"ON", "CT"};
        std::vector<GridMark> marks;
        // As the main window marks: fresh spots noted, then the grid.
        QObject::connect(&s.intake, &SpotIntake::neededMarkingDue, [&](int fresh) {
            marks = {c.onWorked ? GridMark::Worked : GridMark::Remaining, GridMark::Remaining};
            s.alerts.noteFreshSpots(fresh);
            s.alerts.mark(abbreviations, marks);
        });
        s.paths.beginSlice();
        for (qsizetype i = 0; i + 2 < c.slice.size(); i += 3)
            s.paths.takeTelnetLine(clusterSpotLine("K1TTT", c.slice[i + 1], c.slice[i], c.slice[i + 2]));
        s.paths.endSlice();
        EXPECT_EQ(s.prompts, c.prompts) << c.name;
    }

    // A re-marking with nothing new (a mode switch) looks at the newest spot
    // alone, and the fresh count does not outlive the marking it was for.
    Prompting s;
    s.paths.takeTelnetLine(clusterSpotLine("K1TTT", "28025.0", "VE3AAA", ""));
    s.paths.takeTelnetLine(clusterSpotLine("K1TTT", "28026.0", "W1AAA", "cq"));
    std::vector<GridMark> marks{GridMark::Remaining};
    s.alerts.noteFreshSpots(2);
    s.alerts.mark({"ON"}, marks);
    EXPECT_EQ(s.prompts, 1);
    s.alerts.mark({"ON"}, marks);
    EXPECT_EQ(s.prompts, 1) << "the newest spot names nothing";
    EXPECT_EQ(marks[0], GridMark::Needed);
}
