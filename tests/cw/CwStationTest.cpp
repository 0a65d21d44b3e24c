#include "cw/CwStation.h"

#include "FakeSerialPort.h"
#include "RecordingPortIo.h"
#include "RecordingKeyLine.h"
#include "VirtualKeyingClock.h"
#include "CoreApplicationEnvironment.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

using namespace tenlog;
using tenlog::testing::FakeSerialPort;
using tenlog::testing::RecordingPortIo;
using tenlog::testing::VirtualKeyingClock;

namespace {


struct Station {
    VirtualKeyingClock clock;
    cw::CwKeyer keyer {clock};
    FakeSerialPort keyingPort;
    FakeSerialPort pttPort;
    RecordingPortIo parallel;
    QString call;
    cw::CwStation station {{keyer, keyingPort, pttPort, parallel, [this] { return call; }}};
    QStringList events;

    Station()
    {
        QObject::connect(&station, &cw::CwStation::logContactRequested, [this] { events << QStringLiteral("log"); });
        QObject::connect(&station, &cw::CwStation::sendingFinished, [this] { events << QStringLiteral("finished"); });
        QObject::connect(&station, &cw::CwStation::keyingPortFailed,
                         [this](const QString& title, const QString& text, const QString&) { events << title + QLatin1Char('|') + text; });
        QObject::connect(&station, &cw::CwStation::keyLineFailed, [this](const QString& why) { events << QStringLiteral("line:") + why; });
    }
    void configure(cw::KeyOutput output, const QString& port = QStringLiteral("3"))
    {
        cw::CwSettings s;
        s.output = output;
        s.port = port;
        s.wpm = QStringLiteral("40");
        s.messages[0] = QStringLiteral("CQ");
        s.messages[1] = QStringLiteral("TU $ !");
        s.messages[9] = QStringLiteral("E");
        station.setSettings(s);
    }
    bool settle(const QString& last = QStringLiteral("finished"))
    {
        const QDeadlineTimer deadline(5000);
        while (!events.contains(last) && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        return events.contains(last);
    }
};

} // namespace

TEST(CwStation, SerialKeyingOpensThePortAndClosesTheSharedPttPort)
{
    for (auto output : {cw::KeyOutput::Rts, cw::KeyOutput::Dtr}) {
        Station s;
        s.configure(output);
        ASSERT_TRUE(s.pttPort.open());
        s.call = QStringLiteral("K1ABC");
        s.station.sendFunctionKey(113);
        ASSERT_TRUE(s.settle());
        EXPECT_FALSE(s.pttPort.isOpen());
        EXPECT_TRUE(s.keyingPort.isOpen());
        EXPECT_EQ(s.keyingPort.portNumber(), 3);
        const QString line = output == cw::KeyOutput::Rts ? QStringLiteral("rts") : QStringLiteral("dtr");
        // Both lines dropped before the open, then the keying line toggles and ends up.
        const QStringList calls = s.keyingPort.calls();
        EXPECT_EQ(calls.mid(0, 4), QStringList({QStringLiteral("port 3"), QStringLiteral("dtr 0"), QStringLiteral("rts 0"), QStringLiteral("open")}));
        EXPECT_TRUE(calls.contains(line + QStringLiteral(" 1")));
        EXPECT_EQ(calls.last(), line + QStringLiteral(" 0"));
        EXPECT_EQ(s.events, QStringList({QStringLiteral("log"), QStringLiteral("finished")}));
    }
}

TEST(CwStation, PortThatCannotOpenOrVanishesSaysSoAndKeysNothing)
{
    Station s;
    s.configure(cw::KeyOutput::Rts);
    s.keyingPort.refuseOpen(QStringLiteral("COM3 (/dev/ttyS2) cannot be opened"));
    s.station.sendFunctionKey(112);
    ASSERT_TRUE(s.settle());
    EXPECT_EQ(s.events.first(),
              QStringLiteral("Invalid port.|The port you have selected for CW keying is invalid.  Please select another or enter 0 for none."));
    EXPECT_FALSE(s.keyingPort.isOpen());

    // The device goes while a long message is being keyed.
    Station gone;
    gone.configure(cw::KeyOutput::Rts);
    cw::CwSettings settings = gone.station.settings();
    settings.messages[0] = QString(400, QLatin1Char('T'));
    gone.station.setSettings(settings);
    gone.station.sendFunctionKey(112);
    gone.keyingPort.failUnderneath(QStringLiteral("pulled"));
    ASSERT_TRUE(gone.settle());
    EXPECT_TRUE(gone.events.filter(QStringLiteral("Invalid port.|")).size() == 1);
    EXPECT_TRUE(gone.keyer.unsent().isEmpty());
    EXPECT_FALSE(gone.keyingPort.rts());
}

TEST(CwStation, ParallelKeyingWritesTheControlRegister)
{
    Station s;
    s.configure(cw::KeyOutput::Parallel);
    s.station.sendFunctionKey(124); // F10: "E"
    ASSERT_TRUE(s.settle());
    const auto writes = s.parallel.writes();
    ASSERT_GE(writes.size(), 2u);
    EXPECT_EQ(writes.front(), std::make_pair(0x378, 3));
    EXPECT_EQ(writes.back(), std::make_pair(0x378, 2));

    Station broken;
    broken.configure(cw::KeyOutput::Parallel);
    broken.parallel.setFailing(true);
    broken.station.sendFunctionKey(112);
    ASSERT_TRUE(broken.settle());
    EXPECT_EQ(broken.events, QStringList({QStringLiteral("line:no parallel port here"), QStringLiteral("finished")}));
}

TEST(CwStation, NothingIsSentWithoutOutputOrMessageAndSpeedKeysCount)
{
    Station s;
    s.configure(cw::KeyOutput::None);
    s.station.sendFunctionKey(112);
    s.station.sendTyped(QLatin1Char('E'));
    EXPECT_FALSE(s.station.isSending());
    s.configure(cw::KeyOutput::Rts);
    s.station.sendFunctionKey(114); // empty F3
    EXPECT_FALSE(s.station.isSending());
    EXPECT_EQ(s.keyingPort.openCount(), 0);
    s.station.faster();
    EXPECT_EQ(s.station.speedText(), QStringLiteral("41 WPM"));
    for (int i = 0; i < 45; ++i)
        s.station.slower();
    EXPECT_EQ(s.station.speedText(), QStringLiteral("-4 WPM")); // shown as typed; sent at the lowest speed
}

TEST(CwStation, FirstKeyRepeatsAfterThePauseUntilAKeyStopsIt)
{
    Station s;
    cw::CwSettings settings;
    settings.output = cw::KeyOutput::Rts;
    settings.wpm = QStringLiteral("60");
    settings.messages[0] = QStringLiteral("E");
    settings.repeatSeconds = QStringLiteral("0.05");
    s.station.setSettings(settings);
    s.station.sendFunctionKey(112);
    EXPECT_TRUE(s.station.repeatArmed());
    const QDeadlineTimer deadline(5000);
    while (s.events.count(QStringLiteral("finished")) < 3 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    EXPECT_GE(s.events.count(QStringLiteral("finished")), 3);
    s.station.stopRepeat();
    EXPECT_FALSE(s.station.repeatArmed());
    const int sent = int(s.events.count(QStringLiteral("finished")));
    QDeadlineTimer quiet(300);
    while (!quiet.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    EXPECT_LE(s.events.count(QStringLiteral("finished")), sent + 1);
}
