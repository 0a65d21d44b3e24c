// Received lines waiting to be taken: in the order they came, a slice at a
// time with the event loop turning between slices, and bounded, the oldest
// giving way and counted.
#include "CoreApplicationEnvironment.h"
#include "spots/SpotLineQueue.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <gtest/gtest.h>

using namespace tenlog::spots;
using Path = SpotLineQueue::Path;

namespace {

// Everything the queue does, in order: "slice", "dropped N", the lines.
struct Taking {
    QStringList events;
    QList<Path> paths;
    QList<int> linesPerSlice;
    QList<int> turnAtSliceStart;
    int turns = 0;
    int drained = 0;
    bool inSlice = false;
    bool takenOutsideASlice = false;
    QTimer heartbeat;
    SpotLineQueue queue{{.sliceStarts =
                             [this] {
                                 inSlice = true;
                                 events << "slice";
                                 linesPerSlice << 0;
                                 turnAtSliceStart << turns;
                             },
                         .take =
                             [this](Path path, const QString& line) {
                                 takenOutsideASlice = takenOutsideASlice || !inSlice;
                                 events << line;
                                 paths << path;
                                 ++linesPerSlice.last();
                             },
                         .sliceEnds = [this] { inSlice = false; },
                         .dropped = [this](qsizetype count) { events << QStringLiteral("dropped %1").arg(count); },
                         .drained = [this] { ++drained; }}};

    Taking()
    {
        heartbeat.setInterval(0);
        QObject::connect(&heartbeat, &QTimer::timeout, [this] { ++turns; });
        heartbeat.start();
    }
    bool runUntilDrained()
    {
        const QDeadlineTimer deadline(60000);
        while (drained == 0 && !deadline.hasExpired())
            QCoreApplication::processEvents();
        return drained > 0;
    }
    QStringList lines() const
    {
        QStringList out;
        for (const QString& event : events) {
            if (event != QLatin1String("slice") && !event.startsWith(QLatin1String("dropped")))
                out << event;
        }
        return out;
    }
};

QString lineNumber(int i)
{
    return QStringLiteral("line%1").arg(i, 5, 10, QLatin1Char('0'));
}

} // namespace

TEST(SpotLineQueue, TakesEveryLineInOrderASliceAtATimeWithTheLoopTurningBetween)
{
    Taking t;
    constexpr int kLines = 4 * SpotLineQueue::kLinesPerSlice + 17;
    QStringList sent;
    for (int i = 0; i < kLines; ++i) {
        sent << lineNumber(i);
        t.queue.push(i % 3 == 0 ? Path::Tnc : Path::Telnet, sent.last());
    }
    EXPECT_TRUE(t.events.isEmpty()) << "nothing is taken inside the call that queues";
    EXPECT_EQ(t.queue.waitingLines(), kLines);

    ASSERT_TRUE(t.runUntilDrained());
    EXPECT_EQ(t.lines(), sent);
    ASSERT_EQ(t.paths.size(), kLines);
    for (int i = 0; i < kLines; ++i)
        ASSERT_EQ(t.paths[i], i % 3 == 0 ? Path::Tnc : Path::Telnet) << i;
    EXPECT_FALSE(t.takenOutsideASlice);
    EXPECT_FALSE(t.inSlice);
    EXPECT_EQ(t.drained, 1);
    EXPECT_TRUE(t.queue.isEmpty());

    ASSERT_GE(t.linesPerSlice.size(), 5);
    for (int count : t.linesPerSlice)
        EXPECT_LE(count, SpotLineQueue::kLinesPerSlice);
    for (qsizetype i = 1; i < t.turnAtSliceStart.size(); ++i)
        EXPECT_GT(t.turnAtSliceStart[i], t.turnAtSliceStart[i - 1]) << "no turn of the loop before slice " << i;
}

TEST(SpotLineQueue, PastItsBoundTheOldestWaitingLinesGiveWayAndAreCounted)
{
    Taking t;
    const qsizetype weightOfOne = lineNumber(0).size() + SpotLineQueue::kLineWeight;
    t.queue.setMaxWaitingWeight(10 * weightOfOne);
    for (int i = 0; i < 30; ++i)
        t.queue.push(Path::Telnet, lineNumber(i));
    EXPECT_EQ(t.queue.waitingLines(), 10);
    EXPECT_EQ(t.queue.droppedInAll(), 20);
    ASSERT_TRUE(t.runUntilDrained());
    QStringList expected{"slice", "dropped 20"};
    for (int i = 20; i < 30; ++i)
        expected << lineNumber(i);
    EXPECT_EQ(t.events, expected) << "the count comes where the lines were dropped, before the newest ten";

    // Under the bound again, nothing more gives way.
    t.events.clear();
    t.drained = 0;
    for (int i = 30; i < 35; ++i)
        t.queue.push(Path::Telnet, lineNumber(i));
    ASSERT_TRUE(t.runUntilDrained());
    EXPECT_EQ(t.lines().size(), 5);
    EXPECT_FALSE(t.events.join(' ').contains("dropped"));
    EXPECT_EQ(t.queue.droppedInAll(), 20);

    // A line longer than the whole bound still comes through: the newest
    // line always stays.
    t.drained = 0;
    t.queue.push(Path::Tnc, QString(20 * weightOfOne, QLatin1Char('x')));
    ASSERT_TRUE(t.runUntilDrained());
    EXPECT_EQ(t.lines().last().size(), 20 * weightOfOne);
}

TEST(SpotLineQueue, ClearingForgetsWhatWaits)
{
    Taking t;
    for (int i = 0; i < 3; ++i)
        t.queue.push(Path::Telnet, lineNumber(i));
    t.queue.clear();
    EXPECT_TRUE(t.queue.isEmpty());
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    EXPECT_TRUE(t.events.isEmpty());
    t.queue.push(Path::Telnet, lineNumber(7));
    ASSERT_TRUE(t.runUntilDrained());
    EXPECT_EQ(t.lines(), QStringList{lineNumber(7)});
}
