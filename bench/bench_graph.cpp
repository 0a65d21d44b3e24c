// The rate graph at full log size: the computation from 11,000 contacts, the
// ten-minute count alone at growing log sizes (it should grow in step with
// the log), and the window opened and drawn on the offscreen platform.
#include "graph/RateGraph.h"
#include "graph/ui/RateGraphView.h"
#include "graph/ui/RateGraphWindow.h"

#include "ScriptedDialogs.h"

#include <QDateTime>
#include <QImage>
#include <benchmark/benchmark.h>

using namespace tenlog;

namespace {

// A weekend's log: runs of fast contacts and slow stretches, a few pauses
// of an hour or more, as a busy station logs them.
std::vector<qint64> weekendMoments(int count)
{
    std::vector<qint64> moments;
    moments.reserve(size_t(count));
    quint32 seed = 22;
    auto next = [&seed](quint32 below) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % below;
    };
    qint64 at = 0;
    for (int i = 0; i < count; ++i) {
        const quint32 kind = next(1000);
        at += kind < 2 ? 3600 + next(7200) : kind < 700 ? 5 + next(20) : 20 + next(120);
        moments.push_back(at);
    }
    return moments;
}

QList<log::QsoRecord> weekendLog(int count)
{
    const QDateTime start(QDate(2013, 12, 14), QTime(0, 0), Qt::UTC);
    QList<log::QsoRecord> records;
    const std::vector<qint64> moments = weekendMoments(count);
    for (int i = 0; i < count; ++i) {
        const QDateTime at = start.addSecs(moments[size_t(i)]);
        records.append({QStringLiteral("K%1AB%2").arg(i % 10).arg(i), QStringLiteral("599"), QStringLiteral("CT"),
                        QStringLiteral("599"), QStringLiteral("USA"), at.toString(QStringLiteral("yyyy/MM/dd")),
                        at.toString(QStringLiteral("HH:mm:ss")), (i / 500) % 2 ? QStringLiteral("PH") : QStringLiteral("CW"),
                        QStringLiteral("28.025")});
    }
    return records;
}

void BM_RateGraphFromFullLog(benchmark::State& state)
{
    const QList<log::QsoRecord> records = weekendLog(log::kLogCapacity);
    for (auto _ : state) {
        const graph::RateGraph g = graph::computeRateGraph(records);
        benchmark::DoNotOptimize(g.maximum);
        if (!g.hasCurve())
            state.SkipWithError("the log gave no curve");
    }
}
BENCHMARK(BM_RateGraphFromFullLog)->Unit(benchmark::kMillisecond);

// A contest's worth of contacts in two hours: the ten minutes before each
// contact hold some 900 others, which a count walking back would visit.
void BM_TenMinuteCount(benchmark::State& state)
{
    std::vector<qint64> moments;
    for (int i = 0; i < state.range(0); ++i)
        moments.push_back(qint64(i) * 2 / 3);
    for (auto _ : state)
        benchmark::DoNotOptimize(graph::tenMinuteRates(moments));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_TenMinuteCount)->RangeMultiplier(2)->Range(1375, log::kLogCapacity)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);

// From the menu item to the drawn window: the graph worked out, the window
// built and scaled, and every pixel of it painted at a laptop's full screen.
void BM_RateGraphWindowOpenedAndDrawn(benchmark::State& state)
{
    const QList<log::QsoRecord> records = weekendLog(log::kLogCapacity);
    testing::ScriptedDialogs dialogs;
    for (auto _ : state) {
        graph::RateGraphWindow window(records, dialogs);
        window.resize(1366, 740);
        const QImage image = window.grab().toImage();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_RateGraphWindowOpenedAndDrawn)->Unit(benchmark::kMillisecond);

// Redrawing alone, as a resize or the background button does.
void BM_RateGraphRedrawn(benchmark::State& state)
{
    const QList<log::QsoRecord> records = weekendLog(log::kLogCapacity);
    testing::ScriptedDialogs dialogs;
    graph::RateGraphWindow window(records, dialogs);
    window.resize(1366, 740);
    for (auto _ : state) {
        const QImage image = window.view()->grab().toImage();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_RateGraphRedrawn)->Unit(benchmark::kMillisecond);

} // namespace
