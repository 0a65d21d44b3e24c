// Spot lines from a cluster into the store: one line through the telnet line
// assembler and path with the needed-multiplier marking of all 100 grid
// labels, and a burst of 1,000 lines in one read, worked directly and through
// the telnet source, which hands the event loop back every few milliseconds
// (reported as the longest stall).
#include "ScriptedDialogs.h"
#include "SettableClock.h"
#include "SpotChain.h"
#include "log/MultTable.h"
#include "platform/TcpClient.h"
#include "spots/LineAssembly.h"
#include "spots/NeededSpots.h"
#include "spots/SpotIntake.h"
#include "spots/SpotPaths.h"
#include "spots/SpotTerminal.h"
#include "spots/TelnetSpotSource.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <benchmark/benchmark.h>

using namespace tenlog::spots;

namespace {

QByteArray spotLine(int index)
{
    static const char* const kPrefixes[] = {"VE3", "K1", "W6", "JA1", "VE7", "KH6", "DL1", "PY2", "XE1", "KL7"};
    QByteArray suffix;
    for (int n = index, i = 0; i < 3; ++i, n /= 26)
        suffix.prepend(static_cast<char>('A' + n % 26));
    return "DX de " + QByteArray("K1TTT:").leftJustified(7, ' ')
         + QByteArray::number(28000.0 + index % 1700, 'f', 1).rightJustified(11, ' ') + "  "
         + QByteArray(kPrefixes[index % 10] + suffix).leftJustified(13, ' ') + QByteArray("CT").leftJustified(30, ' ')
         + " 1234Z\r\n";
}

QByteArray burst(int lines)
{
    QByteArray all;
    for (int i = 0; i < lines; ++i)
        all += spotLine(i);
    return all;
}

// The spotting chain as the program wires it, the grid marked on every spot
// that may carry a multiplier.
struct Chain : tenlog::testing::SpotChain {
    tenlog::log::Prefs prefs;
    NeededSpotAlerts alerts{store, prefs, {}, {}};
    QStringList abbreviations;
    std::vector<GridMark> marks;
    TelnetLineAssembler lines;

    Chain()
    {
        prefs.NeededSpotsGreen = 1;
        for (int i = 1; i <= tenlog::log::kMultCount; ++i)
            abbreviations.append(QString::fromLatin1(tenlog::log::multEntry(i).Abbrev));
        marks.assign(static_cast<size_t>(abbreviations.size()), GridMark::Remaining);
        QObject::connect(&intake, &SpotIntake::neededMarkingDue, [this] { alerts.mark(abbreviations, marks); });
    }
    void feed(const QByteArray& bytes)
    {
        lines.feed(bytes, [this](const QString& line) { paths.takeTelnetLine(line); });
    }
};

void BM_SpotLineIntoStore(benchmark::State& state)
{
    Chain chain;
    const QByteArray line = spotLine(0);
    for (auto _ : state)
        chain.feed(line);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SpotLineIntoStore);

void BM_BurstOfLinesInOneRead(benchmark::State& state)
{
    Chain chain;
    const QByteArray all = burst(static_cast<int>(state.range(0)));
    for (auto _ : state)
        chain.feed(all);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BurstOfLinesInOneRead)->Arg(1000)->Unit(benchmark::kMillisecond);

// A connection that has one burst waiting.
class BurstClient final : public tenlog::platform::TcpClient {
public:
    void connectToHost(const QString&, quint16) override {}
    void disconnectFromHost() override {}
    void abort() override {}
    bool isConnected() const override { return true; }
    bool write(const QByteArray&) override { return true; }
    QByteArray readAll() override { return std::exchange(m_waiting, {}); }
    void setConnectedHandler(std::function<void()>) override {}
    void setReadyReadHandler(std::function<void()> handler) override { m_readyRead = std::move(handler); }
    void setDisconnectedHandler(std::function<void()>) override {}
    void setErrorHandler(std::function<void(tenlog::platform::TcpError, const QString&)>) override {}
    void arrive(const QByteArray& bytes)
    {
        m_waiting = bytes;
        m_readyRead();
    }

private:
    QByteArray m_waiting;
    std::function<void()> m_readyRead;
};

// The whole burst through the telnet source on a running event loop: the
// time until the last line is stored, and the longest time the loop could
// not run anything else.
void BM_BurstThroughTelnetSource(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const QByteArray all = burst(count);
    double longestStallMs = 0;
    for (auto _ : state) {
        Chain chain;
        BurstClient client;
        TelnetSpotSource source(client);
        int stored = 0;
        QObject::connect(&source, &TelnetSpotSource::lineReceived,
                         [&](const QString& line) { chain.paths.takeTelnetLine(line); });
        QObject::connect(&chain.intake, &SpotIntake::spotStored, [&] { ++stored; });
        QElapsedTimer sinceLastTurn;
        QTimer heartbeat;
        heartbeat.setInterval(0);
        QObject::connect(&heartbeat, &QTimer::timeout, [&] {
            longestStallMs = std::max(longestStallMs, static_cast<double>(sinceLastTurn.nsecsElapsed()) / 1e6);
            sinceLastTurn.restart();
        });
        heartbeat.start();
        sinceLastTurn.start();
        QTimer::singleShot(0, [&] {
            sinceLastTurn.restart();
            client.arrive(all); // the read handler runs inside this turn of the loop
        });
        while (stored < count)
            QCoreApplication::processEvents();
        QCoreApplication::processEvents(); // the turn after the last slice
    }
    state.counters["longest_stall_ms"] = longestStallMs;
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_BurstThroughTelnetSource)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
