// How soon a frequency turned on the radio reaches the value the next
// contact is stored with: the real serial port on a pseudo-terminal to the
// Kenwood emulator, polled at each rate. The change is made at a random
// moment of the poll cycle; the figure is the time until the link reports the
// new frequency. The budget is one poll cycle plus one tick (the change may
// just miss a send) plus the time the request and reply take on the line at
// the profile's 4800 bits per second.
#include "platform/ComPortMap.h"
#include "platform/qt/QtSerialPort.h"
#include "rig/RigControl.h"

#include "FakeTcpClient.h"
#include "RadioEmulatorProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

using namespace tenlog;
using tenlog::testing::RadioEmulatorProcess;

namespace {

void BM_FrequencyChangeToLogged(benchmark::State& state)
{
    static const char* const kRates[] = {"F", "M", "S"};
    const QString rate = QString::fromLatin1(kRates[state.range(0)]);
    RadioEmulatorProcess radio(QStringLiteral(TENLOG_KENWOOD_EMULATOR));
    if (!radio.start()) {
        state.SkipWithError("the emulator did not start");
        return;
    }
    QTemporaryDir folder;
    QFile map(folder.filePath(QStringLiteral("ComPorts.txt")));
    map.open(QIODevice::WriteOnly);
    map.write("COM3=" + radio.ptyPath().toLocal8Bit() + "\r\n");
    map.close();
    platform::QtSerialPort port(platform::ComPortMap::readFrom(map.fileName(), QDir::homePath()));
    tenlog::testing::FakeTcpClient daemon;
    rig::RigControl control(port, daemon, folder.path(), folder.path());
    rig::RigSettings settings;
    rig::applyRigProfile(settings, *rig::findRigProfile(QStringLiteral("Kenwood")));
    settings.commPortNumber = 3;
    settings.pollRateCode = rate;
    control.setSettings(settings);
    float polled = 0;
    QObject::connect(&control, &rig::RigControl::frequencyPolled, [&polled](float mhz) { polled = mhz; });
    if (!control.start()) {
        state.SkipWithError("the port did not open");
        return;
    }

    const int intervalMs = rig::RigLink::intervalForRate(rate, 1000);
    // FA; MD; out and FA + 11 digits ; MD n ; back, 11 bits a character at 4800.
    const double lineMs = (6 + 14 + 4) * 11 * 1000.0 / 4800;
    std::vector<double> millis;
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Somewhere in the cycle, as a hand on the dial would be.
        QThread::msleep(QRandomGenerator::global()->bounded(2 * intervalMs));
        const float target = 28.1f + 0.01f * static_cast<float>(++step % 50);
        state.ResumeTiming();
        QElapsedTimer elapsed;
        elapsed.start();
        radio.command(QStringLiteral("freq %1").arg(target, 0, 'f', 6));
        RadioEmulatorProcess::waitFor([&] { return std::abs(polled - target) < 0.0005f; }, 4 * 2 * intervalMs + 2000);
        millis.push_back(elapsed.nsecsElapsed() / 1e6);
    }
    control.stop();
    std::sort(millis.begin(), millis.end());
    state.counters["median_ms"] = millis[millis.size() / 2];
    state.counters["max_ms"] = millis.back();
    state.counters["budget_ms"] = 3 * intervalMs + lineMs;
}
BENCHMARK(BM_FrequencyChangeToLogged)->Arg(0)->Iterations(40)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FrequencyChangeToLogged)->Arg(1)->Iterations(12)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FrequencyChangeToLogged)->Arg(2)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
