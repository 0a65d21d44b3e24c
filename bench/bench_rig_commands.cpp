// The frequency command from the call to the last byte on the line, per
// radio family, over the real serial port to a pseudo-terminal. The time is
// mostly the radio's own pauses (the mode command's 99 ms and each radio's
// wait before the frequency); the counters give those pauses, the line time
// the bytes would take at the profile's bit rate (a pseudo-terminal has no
// bit rate, so it is not in the measured time), and the program's own time
// beyond the pauses.
#include "platform/ComPortMap.h"
#include "platform/TcpClient.h"
#include "platform/qt/QtSerialPort.h"
#include "rig/RigCommander.h"
#include "rig/RigCommands.h"
#include "rig/RigControl.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

using namespace tenlog;

namespace {

// Does no network traffic: only the serial radios are measured here.
class NoDaemon final : public platform::TcpClient {
public:
    void connectToHost(const QString&, quint16) override {}
    void disconnectFromHost() override {}
    void abort() override {}
    bool isConnected() const override { return false; }
    bool write(const QByteArray&) override { return false; }
    QByteArray readAll() override { return {}; }
    void setConnectedHandler(std::function<void()>) override {}
    void setReadyReadHandler(std::function<void()>) override {}
    void setDisconnectedHandler(std::function<void()>) override {}
    void setErrorHandler(std::function<void(platform::TcpError, const QString&)>) override {}
};

void drain(int fd)
{
    char buffer[4096];
    while (::read(fd, buffer, sizeof buffer) > 0) {
    }
}

void BM_FrequencyCommandToTheLine(benchmark::State& state, const char* rigName)
{
    int master = -1;
    int slave = -1;
    char slaveName[256] = {};
    if (::openpty(&master, &slave, slaveName, nullptr, nullptr) != 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

    QTemporaryDir folder;
    QFile::copy(QStringLiteral(TENLOG_SOURCE_DATA_DIR "/BandPlan.txt"), folder.path() + QStringLiteral("/BandPlan.txt"));
    const QString map = folder.path() + QStringLiteral("/ComPorts.txt");
    QFile file(map);
    file.open(QIODevice::WriteOnly);
    file.write("COM1=" + QByteArray(slaveName) + "\r\n");
    file.close();
    platform::QtSerialPort port(platform::ComPortMap::readFrom(map, folder.path()));
    NoDaemon daemon;
    rig::RigControl control(port, daemon, folder.path(), folder.path());
    control.loadSettings();
    const rig::RigProfile& profile = *rig::findRigProfile(QString::fromLatin1(rigName));
    rig::RigSettings settings;
    rig::applyRigProfile(settings, profile);
    settings.commPortNumber = 1;
    settings.pollRateCode = QStringLiteral("R"); // no poll falls inside a measurement
    control.setSettings(settings);
    if (!control.start()) {
        state.SkipWithError("the port did not open");
        return;
    }

    const float megahertz = 28.475f;
    const rig::CommandContext context{settings.frequencyQuery, settings.modeQuery, 10};
    const QByteArray frequencyBytes = *rig::frequencyCommandBytes(profile, context, megahertz);
    const QByteArray modeBytes = rig::modeCommandBytes(profile, context, QStringLiteral("USB")).value_or(QByteArray());
    const qsizetype expected = frequencyBytes.size() + modeBytes.size();
    // 28.475 MHz is in the band plan, so the mode step and its pause come
    // first even for a radio that has no mode command to send.
    const int pausesMs = rig::kModeCommandDelayMs + profile.commandDelayMs + profile.commandExtraDelayMs;
    const int bitsPerCharacter = 1 + settings.dataBits.toInt() + settings.stopBits.toInt()
                                 + (settings.parityCode == u"N" ? 0 : 1);
    const double lineMs = 1000.0 * double(expected) * bitsPerCharacter / settings.baudRate.trimmed().toDouble();

    QSocketNotifier readable(master, QSocketNotifier::Read);
    double totalMs = 0;
    for (auto _ : state) {
        QCoreApplication::processEvents();
        drain(master);
        qsizetype received = 0;
        QEventLoop loop;
        QObject::connect(&readable, &QSocketNotifier::activated, &loop, [&] {
            char buffer[256];
            ssize_t n;
            while ((n = ::read(master, buffer, sizeof buffer)) > 0)
                received += n;
            if (received >= expected)
                loop.quit();
        });
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        QElapsedTimer clock;
        clock.start();
        control.commander().tuneTo(megahertz);
        loop.exec();
        const double elapsedMs = double(clock.nsecsElapsed()) / 1e6;
        QObject::disconnect(&readable, nullptr, &loop, nullptr);
        if (received < expected) {
            state.SkipWithError("the command did not reach the line");
            break;
        }
        state.SetIterationTime(elapsedMs / 1000.0);
        totalMs += elapsedMs;
        // Let the command finish (the last drain and polling's restart).
        QElapsedTimer settle;
        settle.start();
        while (control.commander().busy() && settle.elapsed() < 3000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    const double meanMs = state.iterations() ? totalMs / double(state.iterations()) : 0;
    state.counters["bytes"] = double(expected);
    state.counters["pauses_ms"] = pausesMs;
    state.counters["line_ms_at_profile_rate"] = lineMs;
    state.counters["program_ms_beyond_pauses"] = meanMs - pausesMs;
    control.stop();
    ::close(master);
    ::close(slave);
}

BENCHMARK_CAPTURE(BM_FrequencyCommandToTheLine, Kenwood, "Kenwood")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FrequencyCommandToTheLine, Elecraft, "Elecraft")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FrequencyCommandToTheLine, Icom, "Icom")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FrequencyCommandToTheLine, TenTecOmniVI, "Ten Tec Omni VI")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FrequencyCommandToTheLine, TenTecFrontPanel, "Ten Tec Fnt Pnl")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FrequencyCommandToTheLine, TenTecOrion, "Ten Tec Orion")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FrequencyCommandToTheLine, Yaesu, "Yaesu")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FrequencyCommandToTheLine, Yaesu990, "Yaesu 990")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FrequencyCommandToTheLine, Yaesu1000, "Yaesu 1000")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FrequencyCommandToTheLine, YaesuFTdx9000, "Yaesu FTdx9000")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
