// Spot lines from a cluster into the store: one line through the telnet line
// assembler and path with the needed-multiplier marking of all 100 grid
// labels, and a burst of 1,000 lines in one read, worked directly and through
// the telnet source, which hands the event loop back every few milliseconds
// (reported as the longest stall). Then bursts of 100,000 lines in one read
// through the whole spotting chain, alone and in the real windows on the
// offscreen platform: the total time, the longest time the event loop could
// not run anything else, and how long a key typed meanwhile waits to reach
// the call box. The windows run with no spot area, and with the spot list or
// the band map under the other areas (bursts of 1,000 lines as well).
#include "FakeSerialPort.h"
#include "FakeTcpClient.h"
#include "ScriptedDialogs.h"
#include "SettableClock.h"
#include "SpotChain.h"
#include "TempPaths.h"
#include "WavDurationPlayer.h"
#include "common/FirstRun.h"
#include "common/SharedPreferences.h"
#include "log/MultTable.h"
#include "log/Prefs.h"
#include "station/MainWindow.h"
#include "platform/TcpClient.h"
#include "platform/qt/QtSettingsStore.h"
#include "spots/DxSpotting.h"
#include "spots/SpotSettings.h"
#include "spots/LineAssembly.h"
#include "spots/NeededSpots.h"
#include "spots/SpotIntake.h"
#include "spots/SpotPaths.h"
#include "spots/SpotTerminal.h"
#include "spots/TelnetSpotSource.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <ctime>

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
        if (m_readyRead)
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

// The processor time this thread has used, in milliseconds.
double threadCpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// What the event loop went through while a burst was taken: the longest gap
// between two turns (a zero timer's ticks), in wall time and in the
// processor time this thread spent in it (on a machine busy with other work
// the first also counts the time the thread waited for a processor).
class LoopWatch {
public:
    LoopWatch()
    {
        m_heartbeat.setInterval(0);
        QObject::connect(&m_heartbeat, &QTimer::timeout, [this] {
            m_longestStallMs = std::max(m_longestStallMs, static_cast<double>(m_sinceLastTurn.nsecsElapsed()) / 1e6);
            m_sinceLastTurn.restart();
            const double cpu = threadCpuMs();
            m_longestStallCpuMs = std::max(m_longestStallCpuMs, cpu - m_cpuAtLastTurn);
            m_cpuAtLastTurn = cpu;
        });
    }
    void start()
    {
        m_sinceLastTurn.start();
        m_cpuAtLastTurn = threadCpuMs();
        m_total.start();
        m_heartbeat.start();
    }
    void stop()
    {
        m_totalMs = static_cast<double>(m_total.nsecsElapsed()) / 1e6;
        m_heartbeat.stop();
    }
    // Runs the loop until done() holds.
    void runUntil(const std::function<bool()>& done)
    {
        while (!done())
            QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    void report(benchmark::State& state) const
    {
        state.counters["longest_stall_ms"] = m_longestStallMs;
        state.counters["longest_stall_cpu_ms"] = m_longestStallCpuMs;
        state.counters["total_ms"] = m_totalMs;
    }

private:
    QTimer m_heartbeat;
    QElapsedTimer m_sinceLastTurn;
    QElapsedTimer m_total;
    double m_longestStallMs = 0;
    double m_longestStallCpuMs = 0;
    double m_cpuAtLastTurn = 0;
    double m_totalMs = 0;
};

// The spotting chain as the main window owns it, listening to a cluster,
// with the grid marked as the window marks it.
void BM_BurstThroughSpottingChain(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const QByteArray all = burst(count);
    for (auto _ : state) {
        tenlog::testing::SettableClock clock;
        tenlog::testing::ScriptedDialogs dialogs;
        BurstClient cluster;
        tenlog::testing::FakeSerialPort tnc;
        tenlog::testing::FakeTcpClient agw;
        DxSpotting spotting({cluster, tnc, agw}, clock, dialogs, [] { return QStringLiteral("N1MM"); });
        tenlog::log::Prefs prefs;
        prefs.NeededSpotsGreen = 1;
        NeededSpotAlerts alerts(spotting.store, prefs, {}, {});
        QStringList abbreviations;
        for (int i = 1; i <= tenlog::log::kMultCount; ++i)
            abbreviations.append(QString::fromLatin1(tenlog::log::multEntry(i).Abbrev));
        std::vector<GridMark> marks(static_cast<size_t>(abbreviations.size()), GridMark::Remaining);
        QObject::connect(&spotting.intake, &SpotIntake::neededMarkingDue, [&] {
            std::fill(marks.begin(), marks.end(), GridMark::Remaining);
            alerts.mark(abbreviations, marks);
        });
        int stored = 0;
        QObject::connect(&spotting.intake, &SpotIntake::spotStored, [&] { ++stored; });
        spotting.session.setSource(kSourceTelnet);
        spotting.session.setTelnetAddress(QStringLiteral("127.0.0.1"), QStringLiteral("7300"));
        spotting.session.open();

        LoopWatch watch;
        watch.start();
        QTimer::singleShot(0, [&] { cluster.arrive(all); });
        watch.runUntil([&] { return stored == count; });
        watch.stop();
        watch.report(state);
        spotting.session.close();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_BurstThroughSpottingChain)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The main window listening to a cluster with the spotting window open, the
// grid colouring needed spots, and a key typed into the call box every 20 ms
// while the burst is taken. The second argument is the spot area under the
// other areas: 0 none (Done never pressed), 1 the spot list, 2 the band map.
void BM_BurstInTheWindows(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const int display = static_cast<int>(state.range(1));
    const QByteArray all = burst(count);
    for (auto _ : state) {
        tenlog::testing::TempPaths paths;
        tenlog::testing::ScriptedDialogs dialogs;
        tenlog::testing::SettableClock clock;
        tenlog::platform::QtSettingsStore settings{paths.root() + QStringLiteral("/config")};
        tenlog::common::SharedPreferences shared;
        tenlog::testing::WavDurationPlayer player{clock};
        BurstClient cluster;
        tenlog::testing::FakeSerialPort tnc;
        tenlog::testing::FakeTcpClient agw;
        SpotTransports transports{cluster, tnc, agw};

        tenlog::common::seedWorkingFolder(paths.shippedDataFolder(), paths.workingFolder());
        tenlog::log::Prefs prefs = *tenlog::log::loadPrefs(paths.workingFolder());
        prefs.NeededSpotsGreen = 1;
        tenlog::log::savePrefs(paths.workingFolder(), prefs);
        SpotSettings spotSettings;
        spotSettings.source = kSourceTelnet;
        spotSettings.telnetHost = QStringLiteral("127.0.0.1");
        spotSettings.telnetPort = QStringLiteral("7300");
        saveSpotSettings(paths.workingFolder(), spotSettings);
        shared.load(paths.root() + QStringLiteral("/shared.xml"));
        tenlog::common::AppFolders folders;
        folders.workingFolder = paths.workingFolder();
        folders.userDataFolder = paths.root();
        folders.sharedFolder = paths.root();
        tenlog::station::MainWindowServices services{clock, dialogs, settings, folders, shared, player, [](int) {}};
        services.spotTransports = &transports;
        tenlog::station::MainWindow window(services);
        window.show();
        window.runLoadSequence();
        window.findChild<QAction*>(QStringLiteral("mnuConfigure"))->trigger(); // opens the saved cluster
        if (display > 0) {
            auto* spotting = window.findChild<QDialog*>(QStringLiteral("PacketSpotfrm"));
            spotting->findChild<QRadioButton*>(display == 1 ? QStringLiteral("OptList") : QStringLiteral("OptBand"))->click();
            spotting->findChild<QPushButton*>(QStringLiteral("cmdDone"))->click();
            window.findChild<QAction*>(QStringLiteral("mnuConfigure"))->trigger(); // the terminal stays in view
        }
        auto* terminal = window.findChild<QPlainTextEdit*>(QStringLiteral("txtUnProcessed"));
        auto* call = window.findChild<QLineEdit*>(QStringLiteral("txtCall"));
        QApplication::processEvents();

        // Keys are posted as the window system would deliver them; each one's
        // wait ends when the call box has taken it.
        std::vector<double> keyWaitsMs;
        QElapsedTimer keyPosted;
        bool keyWaiting = false;
        QObject::connect(call, &QLineEdit::textChanged, [&] {
            if (!keyWaiting)
                return;
            keyWaiting = false;
            keyWaitsMs.push_back(static_cast<double>(keyPosted.nsecsElapsed()) / 1e6);
        });
        QTimer typist;
        typist.setInterval(20);
        QObject::connect(&typist, &QTimer::timeout, [&] {
            if (keyWaiting)
                return;
            if (call->text().size() >= 10)
                call->clear();
            keyWaiting = true;
            keyPosted.start();
            QCoreApplication::postEvent(call, new QKeyEvent(QEvent::KeyPress, Qt::Key_K, Qt::NoModifier, QStringLiteral("K")));
        });
        const QString lastLine = QString::fromLatin1(spotLine(count - 1).trimmed());

        LoopWatch watch;
        watch.start();
        typist.start();
        QTimer::singleShot(0, [&] { cluster.arrive(all); });
        watch.runUntil([&] { return terminal->toPlainText().contains(lastLine); });
        watch.stop();
        typist.stop();
        watch.report(state);
        std::sort(keyWaitsMs.begin(), keyWaitsMs.end());
        state.counters["keys"] = static_cast<double>(keyWaitsMs.size());
        if (!keyWaitsMs.empty()) {
            state.counters["key_wait_p99_ms"] = keyWaitsMs[static_cast<size_t>(keyWaitsMs.size() * 0.99)];
            state.counters["key_wait_max_ms"] = keyWaitsMs.back();
        }
        window.close();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_BurstInTheWindows)
    ->Args({100000, 0})
    ->Args({100000, 2})
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->Args({1000, 2})
    ->ArgNames({"lines", "spot_area"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace
