// The WinKey driver and its station against the WinKey emulator of tools/
// on a pseudo-terminal, through the real serial port: opening a WK2 and a
// WK3, a keyer that is absent, answers wrongly, is not a keyer at all or is
// unplugged while sending, the settings and text bytes the keyer receives,
// the feed that never overflows the keyer's buffer nor lets it run dry,
// Stop and Close leaving nothing keyed, and the CW station's speed keys,
// Esc and "!" with the keyer as its output.
#include "cw/CwKeyer.h"
#include "cw/CwStation.h"
#include "cw/WinKeyDriver.h"
#include "cw/WinKeyStation.h"
#include "platform/qt/QtSerialPort.h"

#include "RadioEmulatorProcess.h"
#include "RecordingPortIo.h"
#include "SettableClock.h"
#include "VirtualKeyingClock.h"
#include "WavDurationPlayer.h"
#include "voice/VoiceKeyer.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

using namespace tenlog::cw;
using tenlog::platform::ComPortMap;
using tenlog::platform::QtSerialPort;
using tenlog::testing::RadioEmulatorProcess;

namespace {

const QString winKeyEmulator = QStringLiteral(TENLOG_WINKEY_EMULATOR);
const QString kenwoodEmulator = QStringLiteral(TENLOG_KENWOOD_EMULATOR);

bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000)
{
    return RadioEmulatorProcess::waitFor(condition, timeoutMs);
}

// The text the keyer keyed, from its "KEY <c> <ms>" lines.
QString keyedText(const RadioEmulatorProcess& keyer)
{
    QString text;
    for (const QString& event : keyer.events(QStringLiteral("KEY ")))
        text += event.at(4);
    return text;
}

// A keyer on COM5 (through a ComPorts.txt of its own), the CW buffer in
// hand-off, and what the station said.
class KeyerBench {
public:
    explicit KeyerBench(const QStringList& arguments = {}, const QString& program = winKeyEmulator)
        : keyer(program, arguments)
    {
        started = keyer.start();
        mapDevice(started ? keyer.ptyPath() : QString());
        buffer.setHandOff(true);
        driver.setReplyTimeoutMs(400);
        QObject::connect(&station, &WinKeyStation::problem, [this](const QString& title, const QString& text) {
            problems.append(title + QStringLiteral(" | ") + text);
        });
        QObject::connect(&station, &WinKeyStation::openFinished, [this](bool) { ++opens; });
        QObject::connect(&station, &WinKeyStation::feedFinished, [this] { ++feedsFinished; });
        QObject::connect(&driver, &WinKeyDriver::statusChanged, [this](const winkey::KeyerStatus& s) {
            sawXoff = sawXoff || s.xoff;
        });
        WinKeySettings s = station.settings();
        s.port = 5;
        station.setSettings(s);
    }

    void mapDevice(const QString& device)
    {
        QFile file(folder.filePath(ComPortMap::fileName()));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write("COM5=" + QFile::encodeName(device.isEmpty() ? QStringLiteral("/nonexistent/tty") : device) + "\n");
        file.close();
        *map = ComPortMap::readFrom(folder.filePath(ComPortMap::fileName()), folder.path());
    }

    ::testing::AssertionResult open()
    {
        const int before = opens;
        station.open();
        if (!waitFor([&] { return opens > before; }))
            return ::testing::AssertionFailure() << "no answer to the open";
        if (!driver.isOpen())
            return ::testing::AssertionFailure() << station.statusText().toStdString();
        return ::testing::AssertionSuccess();
    }

    // Waits for the keyer's own account of its state.
    QString keyerState()
    {
        const int before = int(keyer.events(QStringLiteral("STATE")).size());
        keyer.command(QStringLiteral("state"));
        if (!keyer.waitForEvents(QStringLiteral("STATE"), before + 1))
            return {};
        return keyer.events(QStringLiteral("STATE")).last();
    }

    void setSpeed(const char* wpm)
    {
        WinKeySettings s = station.settings();
        s.wpm = QString::fromLatin1(wpm);
        station.setSettings(s);
    }

    RadioEmulatorProcess keyer;
    bool started = false;
    QTemporaryDir folder;
    std::shared_ptr<ComPortMap> map = std::make_shared<ComPortMap>(QString(), QByteArray(), QString());
    QtSerialPort port {std::shared_ptr<const ComPortMap>(map)};
    QtSerialPort cwPort {std::shared_ptr<const ComPortMap>(map)};
    QtSerialPort pttPort {std::shared_ptr<const ComPortMap>(map)};
    tenlog::testing::VirtualKeyingClock clock;
    CwKeyer buffer {clock};
    WinKeyDriver driver {port};
    WinKeyStation station {{driver, buffer, cwPort, pttPort, folder.path()}};
    QStringList problems;
    int opens = 0;
    int feedsFinished = 0;
    bool sawXoff = false;
};

} // namespace

TEST(WinKeyDevice, OpensAWk2AndAWk3AndSendsEverySetting)
{
    const struct {
        const char* keyer;
        const char* version;
    } rows[] = {{"wk2", "Version # 23"}, {"wk3", "Version # 31"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.keyer);
        KeyerBench bench({QStringLiteral("--keyer"), QString::fromLatin1(row.keyer)});
        ASSERT_TRUE(bench.started) << bench.keyer.error().toStdString();
        bench.setSpeed("25");
        ASSERT_TRUE(bench.open());
        EXPECT_EQ(bench.station.statusText(), QStringLiteral("WK Success!"));
        EXPECT_EQ(bench.station.versionText(), QString::fromLatin1(row.version));
        EXPECT_EQ(bench.driver.version(), QByteArray(row.version).mid(10).toInt());
        // Speed, weighting, lead-in and tail, ratio, pins (tone), mode with serial echo.
        const QByteArray settings = QByteArray::fromHex("0219" "0332" "040000" "1732" "0906" "0e04");
        ASSERT_TRUE(waitFor([&] { return bench.keyer.receivedBytes().contains(settings); }))
            << bench.keyer.receivedBytes().toHex(' ').toStdString();
        EXPECT_TRUE(bench.keyer.receivedBytes().startsWith(QByteArray::fromHex("1313130002")));
        EXPECT_TRUE(bench.problems.isEmpty());

        // Open again: said, and no settings sent again.
        const qsizetype received = bench.keyer.receivedBytes().size();
        bench.station.open();
        EXPECT_EQ(bench.station.statusText(), QStringLiteral("WK Already Open"));
        EXPECT_TRUE(bench.problems.isEmpty());
        RadioEmulatorProcess::waitFor([] { return false; }, 150);
        EXPECT_EQ(bench.keyer.receivedBytes().size(), received);
    }
}

TEST(WinKeyDevice, AKeyerThatCannotBeOpenedIsSaidAndItsTextDropped)
{
    const struct {
        const char* name;
        QString program;
        QStringList arguments;
        bool device;
        const char* status;
    } rows[] = {
        {"absent keyer", winKeyEmulator, {QStringLiteral("--fault"), QStringLiteral("dead")}, true, "No Open Response"},
        {"wrong echo", winKeyEmulator, {QStringLiteral("--fault"), QStringLiteral("wrong")}, true, "Echo Mismatch"},
        {"a radio on the port", kenwoodEmulator, {}, true, "No Open Response"},
        {"no device", winKeyEmulator, {}, false, "Com Open Failed"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        KeyerBench bench(row.arguments, row.program);
        ASSERT_TRUE(bench.started) << bench.keyer.error().toStdString();
        if (!row.device)
            bench.mapDevice({});
        EXPECT_FALSE(bench.open());
        EXPECT_EQ(bench.station.statusText(), QString::fromLatin1(row.status));
        EXPECT_EQ(bench.station.versionText(), QStringLiteral("Version #"));
        ASSERT_EQ(bench.problems.size(), 1);
        EXPECT_TRUE(bench.problems.first().startsWith(QStringLiteral(
            "Unable to establish connection with Winkey. | Unable to establish connection with WinKey on com port 5.  "
            "Please check to make sure that you have specified the correct port and that the Winkey device is properly "
            "connected.")))
            << bench.problems.first().toStdString();
        EXPECT_FALSE(bench.port.isOpen());
        if (QLatin1String(row.name) == QLatin1String("wrong echo")) {
            EXPECT_TRUE(waitFor([&] { return bench.keyer.receivedBytes().endsWith(QByteArray::fromHex("0003")); }))
                << "host mode ended";
        }

        // Text for the keyer opens it on demand; when that fails it is dropped.
        bench.buffer.append(QStringLiteral("CQ TEST"));
        ASSERT_TRUE(waitFor([&] { return bench.feedsFinished == 1; }));
        EXPECT_FALSE(bench.buffer.hasUnsent());
        EXPECT_EQ(bench.problems.size(), 2);
        EXPECT_FALSE(bench.keyer.receivedBytes().contains("CQ"));
    }
}

TEST(WinKeyDevice, AClosedKeyerTakesEveryCallWithoutEffect)
{
    KeyerBench bench;
    ASSERT_TRUE(bench.started);
    using Result = WinKeyDriver::Result;
    WinKeyDriver& d = bench.driver;
    EXPECT_EQ(d.sendCharacter('A'), Result::NotOpen);
    EXPECT_EQ(d.clearBuffer(), Result::NotOpen);
    EXPECT_EQ(d.backspace(), Result::NotOpen);
    EXPECT_EQ(d.setSpeed(20), Result::NotOpen);
    EXPECT_EQ(d.setWeight(50), Result::NotOpen);
    EXPECT_EQ(d.setDitDahRatio(50), Result::NotOpen);
    EXPECT_EQ(d.setPttLeadTail(1, 1), Result::NotOpen);
    EXPECT_EQ(d.setPinConfiguration(6), Result::NotOpen);
    EXPECT_EQ(d.setMode(0), Result::NotOpen);
    EXPECT_EQ(d.close(), Result::NotOpen);
    EXPECT_EQ(d.statusLevel(), 0);
    EXPECT_EQ(d.room(), 0);
    bench.station.applySettings();
    bench.station.stop();
    RadioEmulatorProcess::waitFor([] { return false; }, 100);
    EXPECT_TRUE(bench.keyer.received().isEmpty());
    EXPECT_TRUE(bench.problems.isEmpty());
}

TEST(WinKeyDevice, FeedNeverOverflowsTheKeyerNorLetsItRunDry)
{
    // A buffer just larger than the driver's window, so the keyer says XOFF
    // before the window is used up.
    KeyerBench bench({QStringLiteral("--buffer"), QStringLiteral("9")});
    ASSERT_TRUE(bench.started);
    bench.setSpeed("99");
    ASSERT_TRUE(bench.open());
    const QString text = QStringLiteral("CQ TEST DE W1AW! K1ABC 5NN CT TU\tQRZ?\r");
    bench.buffer.append(text);
    ASSERT_TRUE(bench.keyer.waitForEvents(QStringLiteral("IDLE"), 1, 15000));
    RadioEmulatorProcess::waitFor([] { return false; }, 100);
    EXPECT_EQ(keyedText(bench.keyer), QStringLiteral("CQ TEST DE W1AW K1ABC 5NN CT TUQRZ?"));
    EXPECT_EQ(bench.keyer.events(QStringLiteral("IDLE")).size(), 1) << "the keyer ran dry while text waited";
    EXPECT_TRUE(bench.keyer.events(QStringLiteral("OVERFLOW")).isEmpty());
    EXPECT_TRUE(bench.sawXoff);
    EXPECT_FALSE(bench.keyer.receivedBytes().contains('!'));
    EXPECT_EQ(bench.feedsFinished, 1);
    EXPECT_TRUE(waitFor([&] { return bench.driver.statusLevel() == 0; }));
}

TEST(WinKeyDevice, StopAndCloseLeaveNothingKeyed)
{
    KeyerBench bench;
    ASSERT_TRUE(bench.started);
    bench.setSpeed("30");
    ASSERT_TRUE(bench.open());
    bench.buffer.append(QStringLiteral("VVV VVV VVV VVV VVV VVV"));
    ASSERT_TRUE(bench.keyer.waitForEvents(QStringLiteral("KEY"), 3));
    EXPECT_TRUE(bench.station.isBusy());
    bench.station.stop();
    EXPECT_FALSE(bench.buffer.hasUnsent());
    EXPECT_TRUE(waitFor([&] { return bench.keyerState().contains(QStringLiteral("open=1 buffered=0 keyed=0")); }));
    EXPECT_TRUE(waitFor([&] { return !bench.station.isBusy(); }));

    bench.buffer.append(QStringLiteral("TEST TEST TEST"));
    ASSERT_TRUE(bench.keyer.waitForEvents(QStringLiteral("KEY"), 5));
    bench.station.close();
    EXPECT_EQ(bench.station.statusText(), QStringLiteral("Closed"));
    EXPECT_EQ(bench.station.versionText(), QStringLiteral("Version #"));
    EXPECT_FALSE(bench.driver.isOpen());
    EXPECT_FALSE(bench.buffer.hasUnsent());
    ASSERT_TRUE(waitFor([&] { return bench.keyer.receivedBytes().endsWith(QByteArray::fromHex("0a0003")); }));
    EXPECT_TRUE(waitFor([&] { return bench.keyerState().contains(QStringLiteral("open=0 buffered=0 keyed=0")); }));
}

TEST(WinKeyDevice, AKeyerUnpluggedWhileSendingIsSaidAndItsTextDropped)
{
    KeyerBench bench;
    ASSERT_TRUE(bench.started);
    bench.setSpeed("20");
    ASSERT_TRUE(bench.open());
    bench.buffer.append(QStringLiteral("CQ CQ CQ TEST DE W1AW W1AW TEST"));
    ASSERT_TRUE(bench.keyer.waitForEvents(QStringLiteral("KEY"), 1));
    bench.keyer.kill();
    ASSERT_TRUE(waitFor([&] { return !bench.problems.isEmpty(); }));
    EXPECT_TRUE(bench.problems.first().contains(QStringLiteral("stopped answering"))) << bench.problems.first().toStdString();
    EXPECT_FALSE(bench.driver.isOpen());
    EXPECT_FALSE(bench.buffer.hasUnsent());
    EXPECT_EQ(bench.station.statusText(), QStringLiteral("Closed"));
    EXPECT_EQ(bench.feedsFinished, 1);
    EXPECT_FALSE(bench.station.isBusy());
}

TEST(WinKeyDevice, BytesThatMeanNothingAreIgnoredAndTheLiveValuesShow)
{
    KeyerBench bench;
    ASSERT_TRUE(bench.started);
    ASSERT_TRUE(bench.open());
    ASSERT_TRUE(bench.keyer.command(QStringLiteral("noise")));
    ASSERT_TRUE(bench.keyer.command(QStringLiteral("pot 17")));
    ASSERT_TRUE(waitFor([&] { return bench.station.speedPotText() == QStringLiteral("17"); }));
    EXPECT_GT(bench.driver.unexpectedBytes(), 0);
    EXPECT_TRUE(bench.driver.isOpen());
    EXPECT_TRUE(bench.problems.isEmpty());
    bench.buffer.append(QStringLiteral("EE"));
    ASSERT_TRUE(bench.keyer.waitForEvents(QStringLiteral("IDLE"), 1));
    EXPECT_EQ(keyedText(bench.keyer), QStringLiteral("EE"));
    ASSERT_TRUE(waitFor([&] { return bench.station.echoText() == QStringLiteral("EE"); }));
    ASSERT_TRUE(waitFor([&] { return bench.station.keyerStatusText() == QStringLiteral("Idle"); }));
}

TEST(WinKeyDevice, OpeningTheKeyerClosesTheSharedPortsAndBackspaceReachesIt)
{
    RadioEmulatorProcess radio(kenwoodEmulator);
    ASSERT_TRUE(radio.start());
    KeyerBench bench;
    ASSERT_TRUE(bench.started);
    QFile file(bench.folder.filePath(ComPortMap::fileName()));
    file.open(QIODevice::Append);
    file.write("COM6=" + QFile::encodeName(radio.ptyPath()) + "\n");
    file.close();
    *bench.map = ComPortMap::readFrom(bench.folder.filePath(ComPortMap::fileName()), bench.folder.path());
    bench.cwPort.setPortNumber(6);
    ASSERT_TRUE(bench.cwPort.open()) << bench.cwPort.errorString().toStdString();
    bench.setSpeed("5");
    ASSERT_TRUE(bench.open());
    EXPECT_FALSE(bench.cwPort.isOpen());

    bench.buffer.append(QStringLiteral("ABC"));
    ASSERT_TRUE(waitFor([&] { return bench.station.echoText() == QStringLiteral("A"); }));
    ASSERT_EQ(bench.driver.heldByKeyer(), 2);
    EXPECT_TRUE(bench.station.takeBackFromKeyer());
    EXPECT_EQ(bench.driver.heldByKeyer(), 1);
    ASSERT_TRUE(waitFor([&] { return bench.keyer.receivedBytes().endsWith(QByteArray::fromHex("08")); }));
    EXPECT_TRUE(waitFor([&] { return bench.keyerState().contains(QStringLiteral("buffered=1")); }));
    bench.station.stop();

    // The voice keyer opening its PTT port closes the keyer first.
    tenlog::testing::SettableClock clock;
    tenlog::testing::WavDurationPlayer player(clock);
    tenlog::testing::RecordingPortIo parallel;
    tenlog::voice::VoiceKeyer voice({player, bench.pttPort, bench.cwPort, parallel});
    voice.setBeforePortOpens([&] { bench.station.close(); });
    tenlog::voice::VoiceKeyerSettings phone;
    phone.port = QStringLiteral("6");
    voice.setSettings(phone);
    EXPECT_TRUE(voice.openPttPort()) << bench.pttPort.errorString().toStdString();
    EXPECT_FALSE(bench.driver.isOpen());
    EXPECT_EQ(bench.station.statusText(), QStringLiteral("Closed"));
    ASSERT_TRUE(waitFor([&] { return bench.keyer.receivedBytes().endsWith(QByteArray::fromHex("0a0003")); }));
}

TEST(WinKeyDevice, TheCwStationKeysThroughTheKeyer)
{
    KeyerBench bench;
    ASSERT_TRUE(bench.started);
    tenlog::testing::RecordingPortIo parallel;
    QString call = QStringLiteral("K1ABC");
    CwStation station({bench.buffer, bench.cwPort, bench.pttPort, parallel, [&call] { return call; }});
    station.attachWinKey(&bench.station);
    int logged = 0;
    int keyedWhenLogged = -1;
    QObject::connect(&station, &CwStation::logContactRequested, [&] {
        ++logged;
        keyedWhenLogged = int(bench.keyer.events(QStringLiteral("KEY")).size());
    });
    CwSettings settings;
    settings.output = KeyOutput::WinKey;
    settings.wpm = QStringLiteral("30");
    settings.messages[1] = QStringLiteral("TU $ 5NN!");
    station.setSettings(settings);
    EXPECT_TRUE(bench.buffer.handOff());

    // The keyer opens for the first message; its "!" logs the contact once
    // the keyer is there, before any of the message is sent.
    station.sendFunctionKey(113);
    EXPECT_EQ(logged, 0);
    ASSERT_TRUE(waitFor([&] { return logged == 1; }));
    EXPECT_EQ(keyedWhenLogged, 0);
    ASSERT_TRUE(bench.keyer.waitForEvents(QStringLiteral("IDLE"), 1, 10000));
    EXPECT_EQ(keyedText(bench.keyer), QStringLiteral("TU K1ABC 5NN"));

    // The CW speed reaches the keyer above 4 and below 100 only.
    for (const char* wpm : {"4", "5", "99", "100"}) {
        settings.wpm = QString::fromLatin1(wpm);
        station.setSettings(settings);
    }
    ASSERT_TRUE(waitFor([&] { return bench.keyer.receivedBytes().endsWith(QByteArray::fromHex("02050263")); }))
        << bench.keyer.receivedBytes().toHex(' ').toStdString();
    EXPECT_FALSE(bench.keyer.receivedBytes().contains(QByteArray::fromHex("0204")));
    EXPECT_FALSE(bench.keyer.receivedBytes().contains(QByteArray::fromHex("0264")));
    settings.wpm = QStringLiteral("97");
    station.setSettings(settings);
    station.faster();
    ASSERT_TRUE(waitFor([&] { return bench.keyer.receivedBytes().endsWith(QByteArray::fromHex("02610262")); }));
    EXPECT_EQ(bench.station.settings().wpm, QStringLiteral("98"));

    // With the keyer open the "!" logs at once.
    station.sendFunctionKey(113);
    EXPECT_EQ(logged, 2);
    EXPECT_EQ(keyedWhenLogged, 12);
    EXPECT_FALSE(station.isSending()) << "the program's own keying is not running";
    EXPECT_TRUE(station.winKeyBusy());
    ASSERT_TRUE(bench.keyer.waitForEvents(QStringLiteral("IDLE"), 2, 10000));
    EXPECT_EQ(keyedText(bench.keyer), QStringLiteral("TU K1ABC 5NNTU K1ABC 5NN"));
    EXPECT_TRUE(waitFor([&] { return !station.winKeyBusy(); }));

    // Esc while the keyer sends: both buffers emptied.
    settings.wpm = QStringLiteral("15");
    station.setSettings(settings);
    const int keyedBefore = int(bench.keyer.events(QStringLiteral("KEY")).size());
    station.sendFunctionKey(113);
    ASSERT_TRUE(bench.keyer.waitForEvents(QStringLiteral("KEY"), keyedBefore + 2));
    EXPECT_TRUE(station.winKeyBusy());
    station.stopSending();
    EXPECT_FALSE(bench.buffer.hasUnsent());
    ASSERT_TRUE(bench.keyer.waitForEvents(QStringLiteral("CLEAR"), 1));
    EXPECT_TRUE(waitFor([&] { return bench.keyerState().contains(QStringLiteral("keyed=0")); }));
}
