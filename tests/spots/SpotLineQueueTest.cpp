// The bound on received lines waiting to be taken: past it the oldest give
// way, and the count comes where they were dropped. (Order and slicing are
// tested on the whole chain, with a cluster burst, in SpotSourcesTest.)
#include "CoreApplicationEnvironment.h"
#include "spots/SpotLineQueue.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <gtest/gtest.h>

#include <utility>

using namespace tenlog::spots;
using Path = SpotLineQueue::Path;

namespace {

// What the queue hands on, in order: the lines and "dropped N".
struct Taking {
    QStringList events;
    int drained = 0;
    SpotLineQueue queue{{.sliceStarts = {},
                         .take = [this](Path, const QString& line) { events << line; },
                         .sliceEnds = {},
                         .dropped = [this](qsizetype count) { events << QStringLiteral("dropped %1").arg(count); },
                         .drained = [this] { ++drained; }}};

    QStringList runUntilDrained()
    {
        drained = 0;
        const QDeadlineTimer deadline(60000);
        while (drained == 0 && !deadline.hasExpired())
            QCoreApplication::processEvents();
        return std::exchange(events, {});
    }
};

QString lineNumber(int i)
{
    return QStringLiteral("line%1").arg(i, 2, 10, QLatin1Char('0'));
}

} // namespace

TEST(SpotLineQueue, PastItsBoundTheOldestWaitingLinesGiveWayAndAreCounted)
{
    Taking t;
    const qsizetype weightOfOne = lineNumber(0).size() + SpotLineQueue::kLineWeight;
    t.queue.setMaxWaitingWeight(10 * weightOfOne);
    for (int i = 0; i < 30; ++i)
        t.queue.push(Path::Telnet, lineNumber(i));
    EXPECT_EQ(t.queue.waitingLines(), 10);
    EXPECT_TRUE(t.events.isEmpty()) << "nothing is taken inside the call that queues";
    QStringList expected{"dropped 20"};
    for (int i = 20; i < 30; ++i)
        expected << lineNumber(i);
    EXPECT_EQ(t.runUntilDrained(), expected);

    // Under the bound again nothing gives way; a line longer than the whole
    // bound still comes through, since the newest line always stays.
    t.queue.push(Path::Telnet, lineNumber(30));
    t.queue.push(Path::Tnc, QString(20 * weightOfOne, QLatin1Char('x')));
    EXPECT_EQ(t.runUntilDrained(), (QStringList{"dropped 1", QString(20 * weightOfOne, QLatin1Char('x'))}));
    EXPECT_EQ(t.queue.droppedInAll(), 21);

    // Cleared (the source was closed), what waited is forgotten.
    t.queue.push(Path::Telnet, lineNumber(40));
    t.queue.clear();
    t.queue.push(Path::Telnet, lineNumber(41));
    EXPECT_EQ(t.runUntilDrained(), QStringList{lineNumber(41)});
}
