// PTT release after the end of a voice message: a player that ends each
// playback from the event loop when the WAV's length has passed (as the real
// player does once the sound has been heard), and a serial port that stamps
// every RTS change on the monotonic clock; then the real player on the
// default sound output. Reported: how long after the end PTT went up, p50
// and p99 in microseconds, against the 40 ms allowed.
#include "voice/VoiceKeyer.h"

#include "platform/PortIo.h"
#include "platform/SerialPort.h"
#include "platform/WavInfo.h"
#include "platform/qt/QtAudioPlayer.h"

#include "FakeSerialPort.h"
#include "RecordingPortIo.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <vector>

using namespace tenlog;

namespace {

QElapsedTimer sinceStart;

class TimedPlayer final : public platform::AudioPlayer {
public:
    bool play(const QString& path) override
    {
        const auto info = platform::readWav(path);
        if (!info)
            return false;
        m_playing = true;
        m_end.setSingleShot(true);
        QObject::disconnect(&m_end, nullptr, nullptr, nullptr);
        QObject::connect(&m_end, &QTimer::timeout, [this] {
            m_playing = false;
            endedNs = sinceStart.nsecsElapsed();
            if (m_finished)
                m_finished();
        });
        m_end.start(int(std::min<qint64>(info->durationMs(), 200)));
        return true;
    }
    void stop() override { m_end.stop(); m_playing = false; }
    bool isPlaying() const override { return m_playing; }
    void setFinishedHandler(std::function<void()> handler) override { m_finished = std::move(handler); }
    qint64 endedNs = 0;

private:
    QTimer m_end;
    bool m_playing = false;
    std::function<void()> m_finished;
};

class StampingPort final : public platform::SerialPort {
public:
    void setPortNumber(int) override {}
    int portNumber() const override { return 1; }
    bool setSettings(const QString&) override { return true; }
    void setRtsHandshake(bool) override {}
    void setXonXoff(bool) override {}
    bool open() override { return m_open = true; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    QString errorString() const override { return {}; }
    void setRts(bool on) override
    {
        if (!on)
            releasedNs = sinceStart.nsecsElapsed();
    }
    void setDtr(bool) override {}
    bool write(const QByteArray&) override { return true; }
    QByteArray readAll() override { return {}; }
    qint64 bytesToWrite() const override { return 0; }
    void setReadyReadHandler(std::function<void()>) override {}
    void setFailureHandler(std::function<void(const QString&)>) override {}
    qint64 releasedNs = 0;

private:
    bool m_open = false;
};

// Plays F1 once per iteration and notes how long after its end PTT went up;
// endNs says when the playback just started has ended.
void measureRelease(benchmark::State& state, platform::AudioPlayer& player, const std::function<qint64(qint64)>& endNs)
{
    StampingPort ptt;
    testing::FakeSerialPort cw;
    testing::RecordingPortIo parallel; // not chosen: PTT is on RTS
    voice::VoiceKeyer keyer({player, ptt, cw, parallel});
    voice::VoiceKeyerSettings settings;
    settings.files[0] = QStringLiteral(TENLOG_SOURCE_DATA_DIR "/VkAgain.wav");
    settings.port = QStringLiteral("1");
    keyer.setSettings(settings);
    std::vector<double> delays;
    for (auto _ : state) {
        const qint64 startNs = sinceStart.nsecsElapsed();
        keyer.playKey(112);
        if (!keyer.isPlaying()) {
            state.SkipWithError("the message did not play (no sound output?)");
            return;
        }
        while (keyer.pttKeyed())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); // the 40 ms watch wakes it
        delays.push_back(double(ptt.releasedNs - endNs(startNs)) / 1e3);
    }
    std::sort(delays.begin(), delays.end());
    state.counters["release_p50_us"] = delays[delays.size() / 2];
    state.counters["release_p99_us"] = delays[std::min(delays.size() - 1, size_t(double(delays.size()) * 0.99))];
    state.counters["allowed_us"] = 40'000;
}

struct BenchApplication {
    int argc = 1;
    char name[6] = "bench";
    char* argv[2] = {name, nullptr};
    QCoreApplication app {argc, argv};
    BenchApplication() { sinceStart.start(); }
};

// A player that ends on a timer: the keyer's own share of the delay.
void pttRelease(benchmark::State& state)
{
    BenchApplication app;
    TimedPlayer player;
    measureRelease(state, player, [&](qint64) { return player.endedNs; });
}

// The real player on the default sound output (a sound server's null output
// will do): PTT up after the playback's start plus the message's length, so
// the sound system's buffering counts too.
void pttReleaseOnTheSoundOutput(benchmark::State& state)
{
    BenchApplication app;
    platform::QtAudioPlayer player;
    const qint64 lengthNs = platform::readWav(QStringLiteral(TENLOG_SOURCE_DATA_DIR "/VkAgain.wav"))->durationMs() * 1'000'000;
    measureRelease(state, player, [&](qint64 startNs) { return startNs + lengthNs; });
}

} // namespace

BENCHMARK(pttRelease)->Iterations(50)->Unit(benchmark::kMillisecond);
BENCHMARK(pttReleaseOnTheSoundOutput)->Iterations(10)->Unit(benchmark::kMillisecond);
