// Keying accuracy: PARIS sent again and again at 20, 30 and 40 WPM on the
// recording line with the Timer method, every edge compared with its ideal
// time; after each word, plain absolute sleeps to the same deadlines, which
// is what the machine itself can do. Taking turns word by word lets both see
// the same machine: a busy spell would otherwise fall on one side only. Reported in
// microseconds (p50, p99, max of the lateness; early edges count by their
// size). Goal: p99 within 1.2 times the plain sleeps' p99, and no edge late
// by more than 10% of a dit at 40 WPM (3 ms).
#include "cw/CwKeyer.h"
#include "cw/MorseCode.h"
#include "platform/KeyingClock.h"

#include "RecordingKeyLine.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace tenlog;

namespace {

const QString text = QStringLiteral("PARIS ");

struct Spread {
    double p50 = 0, p99 = 0, max = 0;
};

Spread spreadOf(std::vector<double> errors)
{
    std::sort(errors.begin(), errors.end());
    const auto at = [&](double q) { return errors[std::min(errors.size() - 1, size_t(q * double(errors.size())))]; };
    return {at(0.50), at(0.99), errors.back()};
}

// The ideal edge times of text from its first key down, in ns.
std::vector<std::int64_t> idealEdges(double wpm)
{
    std::vector<std::int64_t> edges;
    const double unitNs = cw::unitMs(wpm) * 1e6;
    QByteArray units;
    for (QChar c : text)
        units += cw::elementsToSend(c, 0);
    char last = '0';
    for (qsizetype i = 0; i < units.size(); ++i) {
        if (units[i] != last)
            edges.push_back(std::llround(double(i) * unitNs));
        last = units[i];
    }
    return edges;
}

void keyedEdges(benchmark::State& state)
{
    const double wpm = double(state.range(0));
    platform::MonotonicKeyingClock clock;
    const std::vector<std::int64_t> ideal = idealEdges(wpm);
    std::vector<double> keyerErrors;
    std::vector<double> sleepErrors;
    for (auto _ : state) {
        auto line = std::make_shared<testing::RecordingKeyLine>(clock);
        {
            cw::CwKeyer keyer(clock);
            keyer.setWpm(wpm);
            keyer.setKeyLine(line);
            keyer.append(text);
            keyer.waitUntilIdle(60'000);
        }
        const auto changes = line->changes();
        if (changes.size() != ideal.size()) {
            state.SkipWithError("edge count differs from the ideal timeline");
            return;
        }
        for (size_t i = 0; i < changes.size(); ++i)
            keyerErrors.push_back(std::abs(double(changes[i].atNs - changes[0].atNs - ideal[i])) / 1e3);

        // The machine's own: sleep to the same deadlines and see how late we wake.
        const std::int64_t start = clock.nowNs();
        for (std::int64_t edge : ideal) {
            clock.waitUntil(start + edge, false);
            sleepErrors.push_back(double(clock.nowNs() - start - edge) / 1e3);
        }
    }
    const Spread keyer = spreadOf(keyerErrors);
    const Spread sleeps = spreadOf(sleepErrors);
    state.counters["edge_p50_us"] = keyer.p50;
    state.counters["edge_p99_us"] = keyer.p99;
    state.counters["edge_max_us"] = keyer.max;
    state.counters["sleep_p50_us"] = sleeps.p50;
    state.counters["sleep_p99_us"] = sleeps.p99;
    state.counters["sleep_max_us"] = sleeps.max;
    state.counters["tenth_dit_us"] = cw::unitMs(wpm) * 100;
}

} // namespace

BENCHMARK(keyedEdges)->Arg(20)->Arg(30)->Arg(40)->Iterations(12)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
