// The WinKey feed end to end: a 100-character message at 40 WPM from the CW
// buffer through the driver and the real serial port into the WinKey
// emulator on a pseudo-terminal, which takes the bytes at the pace of the
// keyer's 1200 bit/s line and keys them with the real element timing.
//
// Figures, per run: the longest and the 99th-percentile wait between the
// keyer having room for a character (it has started an earlier one and
// says so) and that character leaving the CW buffer; the underruns (the
// keyer's buffer ran empty while text was still waiting; goal 0); bytes
// that found the keyer's buffer full (goal 0); and how much longer the
// message took on the air than its Morse alone.
#include "cw/CwKeyer.h"
#include "cw/WinKeyDriver.h"
#include "cw/WinKeyStation.h"
#include "platform/ComPortMap.h"
#include "platform/KeyingClock.h"
#include "platform/qt/QtSerialPort.h"

#include "RadioEmulatorProcess.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <vector>

using namespace tenlog;
using tenlog::testing::RadioEmulatorProcess;

namespace {

long long monotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

// The milliseconds at the end of an emulator line ("KEY A 250").
long long msOf(const QString& event)
{
    return event.section(QLatin1Char(' '), -1).toLongLong();
}

const QString message = QStringLiteral("CQ TEST DE W1AW W1AW K1ABC 5NN CT TU QRZ? VE3XYZ 5NN ON "
                                       "CQ TEST W1AW N2XX 599 NY TU QRL? AGN PSE QSY");

// A serial port that notes when each text byte left for the keyer.
class TimedPort final : public platform::SerialPort {
public:
    explicit TimedPort(platform::SerialPort& port) : m_port(port) {}
    void setPortNumber(int number) override { m_port.setPortNumber(number); }
    int portNumber() const override { return m_port.portNumber(); }
    bool setSettings(const QString& settings) override { return m_port.setSettings(settings); }
    void setRtsHandshake(bool on) override { m_port.setRtsHandshake(on); }
    void setXonXoff(bool on) override { m_port.setXonXoff(on); }
    bool open() override { return m_port.open(); }
    void close() override { m_port.close(); }
    bool isOpen() const override { return m_port.isOpen(); }
    QString errorString() const override { return m_port.errorString(); }
    void setRts(bool on) override { m_port.setRts(on); }
    void setDtr(bool on) override { m_port.setDtr(on); }
    bool write(const QByteArray& bytes) override
    {
        if (bytes.size() == 1 && bytes[0] >= 0x20)
            textSentNs.push_back(monotonicNs());
        return m_port.write(bytes);
    }
    QByteArray readAll() override { return m_port.readAll(); }
    qint64 bytesToWrite() const override { return m_port.bytesToWrite(); }
    void setReadyReadHandler(std::function<void()> handler) override { m_port.setReadyReadHandler(std::move(handler)); }
    void setFailureHandler(std::function<void(const QString&)> handler) override
    {
        m_port.setFailureHandler(std::move(handler));
    }

    std::vector<long long> textSentNs;

private:
    platform::SerialPort& m_port;
};


void BM_WinKeyMessageAt40Wpm(benchmark::State& state)
{
    std::vector<double> waitsMs;
    double underruns = 0;
    double overflows = 0;
    double slowerMs = 0;
    for (auto _ : state) {
        RadioEmulatorProcess keyer(QStringLiteral(TENLOG_WINKEY_EMULATOR));
        if (!keyer.start() || !keyer.waitForEvents(QStringLiteral("CLOCK"), 1)) {
            state.SkipWithError("the emulator did not start");
            return;
        }
        const long long keyerStartNs = keyer.events(QStringLiteral("CLOCK")).first().mid(6).toLongLong();
        QTemporaryDir folder;
        const auto map = std::make_shared<platform::ComPortMap>(
            QString(), "COM5=" + QFile::encodeName(keyer.ptyPath()) + "\n", QDir::homePath());
        platform::QtSerialPort real(map);
        TimedPort port(real);
        platform::QtSerialPort cwPort(map);
        platform::QtSerialPort pttPort(map);
        platform::MonotonicKeyingClock clock;
        cw::CwKeyer buffer(clock);
        buffer.setHandOff(true);
        cw::WinKeyDriver driver(port);
        cw::WinKeyStation station({driver, buffer, cwPort, pttPort, folder.path()});
        cw::WinKeySettings settings;
        settings.port = 5;
        settings.wpm = QStringLiteral("40");
        station.setSettings(settings);
        bool opened = false;
        QObject::connect(&station, &cw::WinKeyStation::openFinished, [&](bool ok) { opened = ok; });
        station.open();
        if (!RadioEmulatorProcess::waitFor([&] { return opened; }, 5000)) {
            state.SkipWithError("the keyer did not open");
            return;
        }
        const long long startNs = monotonicNs();
        buffer.append(message);
        RadioEmulatorProcess::waitFor([&] { return !keyer.events(QStringLiteral("IDLE")).isEmpty(); }, 120000);
        const long long endNs = monotonicNs();

        // When each character started on the air, in order.
        std::vector<long long> keyedNs;
        double morseMs = 0;
        for (const QString& event : keyer.events(QStringLiteral("KEY ")))
            keyedNs.push_back(keyerStartNs + msOf(event) * 1'000'000LL);
        const QStringList sent = keyer.events(QStringLiteral("SENT "));
        const QStringList keys = keyer.events(QStringLiteral("KEY "));
        for (qsizetype i = 0; i < std::min(sent.size(), keys.size()); ++i)
            morseMs += double(msOf(sent[i]) - msOf(keys[i]));
        // Character i + window left the buffer once character i had started.
        const int window = driver.room() + driver.heldByKeyer();
        for (size_t i = size_t(window); i < port.textSentNs.size() && i - size_t(window) < keyedNs.size(); ++i) {
            const long long roomNs = keyedNs[i - size_t(window)];
            waitsMs.push_back(std::max(0LL, port.textSentNs[i] - roomNs) / 1e6);
        }
        underruns += double(keyer.events(QStringLiteral("IDLE")).size()) - 1;
        overflows += double(keyer.events(QStringLiteral("OVERFLOW")).size());
        slowerMs += (endNs - startNs) / 1e6 - morseMs;
        station.close();
    }
    std::sort(waitsMs.begin(), waitsMs.end());
    const auto at = [&](double q) {
        return waitsMs.empty() ? 0.0 : waitsMs[std::min(waitsMs.size() - 1, size_t(q * double(waitsMs.size())))];
    };
    state.counters["room_wait_p50_ms"] = at(0.5);
    state.counters["room_wait_p99_ms"] = at(0.99);
    state.counters["room_wait_max_ms"] = waitsMs.empty() ? 0.0 : waitsMs.back();
    state.counters["underruns"] = underruns / double(state.iterations());
    state.counters["overflows"] = overflows / double(state.iterations());
    state.counters["beyond_morse_ms"] = slowerMs / double(state.iterations());
}

BENCHMARK(BM_WinKeyMessageAt40Wpm)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
