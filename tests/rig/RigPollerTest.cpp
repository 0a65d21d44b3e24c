// The serial poller against an in-memory port: opening as each radio needs,
// the send and receive ticks, the signals, and the faults of a bad link.
#include "rig/RigPoller.h"

#include "FakeSerialPort.h"
#include "SettableClock.h"
#include "CoreApplicationEnvironment.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tenlog::rig;
using tenlog::testing::FakeSerialPort;
using tenlog::testing::SettableClock;

namespace {

struct Emitted {
    QList<QByteArray> raw;
    QList<float> frequencies;
    QStringList modes;
    QStringList troubles;
    QStringList openFailures;
    int frequencyForgotten = 0;
};

class RigPollerTest : public ::testing::Test {
protected:
    RigPollerTest()
    {
        QObject::connect(&poller, &RigLink::rawReceived, [this](const QByteArray& b) { emitted.raw.append(b); });
        QObject::connect(&poller, &RigLink::frequencyPolled, [this](float f) { emitted.frequencies.append(f); });
        QObject::connect(&poller, &RigLink::modePolled, [this](const QString& m) { emitted.modes.append(m); });
        QObject::connect(&poller, &RigLink::trouble, [this](const QString& t) { emitted.troubles.append(t); });
        QObject::connect(&poller, &RigLink::openFailed, [this](const QString& r) { emitted.openFailures.append(r); });
        QObject::connect(&poller, &RigLink::frequencyUnknown, [this] { ++emitted.frequencyForgotten; });
    }

    // Chooses a radio with its defaults and starts polling.
    bool startWith(const char* radio, void (*adjust)(RigSettings&) = nullptr)
    {
        RigSettings settings;
        applyRigProfile(settings, *findRigProfile(QString::fromLatin1(radio)));
        if (adjust)
            adjust(settings);
        poller.setSettings(settings);
        return poller.start();
    }

    QTemporaryDir pegasus;
    SettableClock clock;
    FakeSerialPort port{&clock};
    RigPoller poller{port, pegasus.path()};
    Emitted emitted;
};

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

} // namespace

TEST_F(RigPollerTest, OpensThePortAsTheRadioNeedsIt)
{
    ASSERT_TRUE(startWith("Ten Tec Orion", [](RigSettings& s) {
        s.commPortNumber = 3;
        s.powerCode = QStringLiteral("R");
    }));
    EXPECT_EQ(port.calls(), (QStringList{"port 3", "handshake 1", "settings 56000,N,8,1", "dtr 0", "rts 0", "open",
                                         "rts 1"}));
    // The wake-up, then the first send tick at once.
    EXPECT_EQ(port.written(), QByteArray("X\r?AF\r?RMM\r"));
    EXPECT_TRUE(poller.isPolling());

    port.clearWrites();
    ASSERT_TRUE(startWith("Yaesu 990", [](RigSettings& s) { s.powerCode = QStringLiteral("D"); }));
    EXPECT_FALSE(port.rtsHandshake());
    EXPECT_TRUE(port.dtr());
    EXPECT_EQ(port.settings(), QStringLiteral("4800,N,8,2"));
    // The Orion's request was still awaiting its reply: the restart's first
    // tick receives, the next one sends.
    EXPECT_EQ(port.written(), hex("0000000000"));
    poller.tick();
    EXPECT_EQ(port.written(), hex("0000000000" "0000000210"));
    EXPECT_EQ(port.openCount(), 2);
}

TEST_F(RigPollerTest, IntervalFollowsTheRateCode)
{
    EXPECT_EQ(poller.intervalMs(), 1000);
    ASSERT_TRUE(startWith("Kenwood"));
    for (const auto& [code, ms] : {std::pair{"F", 50}, {"M", 250}, {"S", 1000}, {"R", 5000}, {"?", 5000}}) {
        RigSettings settings = poller.settings();
        settings.pollRateCode = QString::fromLatin1(code);
        poller.setSettings(settings);
        poller.start();
        EXPECT_EQ(poller.intervalMs(), ms) << code;
    }
}

TEST_F(RigPollerTest, TheTimerDrivesSendAndReceiveTicks)
{
    ASSERT_TRUE(startWith("Kenwood", [](RigSettings& s) { s.pollRateCode = QStringLiteral("F"); }));
    port.queueReply("FA00028475000;MD3;");
    const QDeadlineTimer deadline(5000);
    while (port.writes().size() < 2 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    EXPECT_EQ(port.written(), QByteArray("FA;MD;FA;MD;"));
    EXPECT_EQ(emitted.frequencies, QList<float>{28.475f});
    EXPECT_EQ(emitted.modes, QStringList{"CW"});
}

TEST_F(RigPollerTest, KenwoodSendsBothRequestsAndDecodesOneBuffer)
{
    ASSERT_TRUE(startWith("Kenwood"));
    EXPECT_EQ(port.written(), QByteArray("FA;MD;"));
    EXPECT_TRUE(poller.awaitingReply());
    poller.tick(); // nothing came: nothing decoded
    EXPECT_TRUE(emitted.raw.isEmpty());
    poller.tick();
    port.queueReply("FA00028475000;MD2;");
    poller.tick();
    EXPECT_EQ(emitted.raw, QList<QByteArray>{"FA00028475000;MD2;"});
    EXPECT_EQ(emitted.frequencies, QList<float>{28.475f});
    EXPECT_EQ(emitted.modes, QStringList{"PH"});
    EXPECT_EQ(poller.reading().frequencyMHz, 28.475f);
    EXPECT_EQ(frequencyDisplayText(poller.reading().frequencyMHz), QStringLiteral("28.47500"));
    EXPECT_EQ(frequencyDisplayText(0), QString());
}

TEST_F(RigPollerTest, IcomAlternatesAndSkipsAnEmptyModeRequest)
{
    ASSERT_TRUE(startWith("Icom", [](RigSettings& s) { s.modeQuery.clear(); }));
    port.queueReply(hex("FEFEE0640300504728" "00FD"));
    poller.tick();               // receive: frequency
    poller.tick();               // send: mode cycle, nothing to send
    port.queueReply(hex("FEFEE064040301FD"));
    poller.tick();               // receive: decoded as a mode reply
    poller.tick();               // send: frequency again
    EXPECT_EQ(port.written(), hex("FEFE64E003FD" "FEFE64E003FD"));
    EXPECT_EQ(emitted.frequencies, (QList<float>{28.475f, 28.475f}));
    EXPECT_EQ(emitted.modes, (QStringList{"", "CW"}));
    EXPECT_EQ(poller.queryToggle(), 1);

    // A restart keeps the cycle where it was.
    poller.stop();
    ASSERT_TRUE(poller.start());
    EXPECT_EQ(poller.queryToggle(), 1);
    EXPECT_FALSE(poller.awaitingReply()); // the start's tick was a receive tick
}

TEST_F(RigPollerTest, ModeByAndUseFrequencyChooseWhatGoesOut)
{
    ASSERT_TRUE(startWith("Kenwood", [](RigSettings& s) {
        s.modeBy = ModeBy::Frequency;
        s.useFrequency = false;
    }));
    port.queueReply("FA00028299900;MD2;");
    poller.tick();
    EXPECT_TRUE(emitted.frequencies.isEmpty());
    EXPECT_EQ(emitted.modes, QStringList{"CW"});

    ASSERT_TRUE(startWith("Kenwood", [](RigSettings& s) { s.modeBy = ModeBy::DontUse; }));
    port.queueReply("FA00028400000;MD3;");
    poller.tick();
    EXPECT_EQ(emitted.frequencies, QList<float>{28.4f});
    EXPECT_EQ(emitted.modes, QStringList{"CW"});
    EXPECT_EQ(poller.reading().mode, QStringLiteral("CW"));
}

TEST_F(RigPollerTest, UndrainedOutputSendsNothingButStillReads)
{
    ASSERT_TRUE(startWith("Kenwood"));
    poller.tick();
    port.clearWrites();
    port.holdOutput(3);
    poller.tick();
    EXPECT_TRUE(port.written().isEmpty());
    port.queueReply("MD3;");
    poller.tick();
    EXPECT_EQ(emitted.modes, QStringList{"CW"});
}

TEST_F(RigPollerTest, RequestsThatAreNotHexEndTheTickSilently)
{
    ASSERT_TRUE(startWith("Other", [](RigSettings& s) {
        s.convertToHex = true;
        s.frequencyQuery = QStringLiteral("FE FE");
        s.modeQuery = QStringLiteral("ZZ");
    }));
    EXPECT_TRUE(port.written().isEmpty());
    EXPECT_FALSE(poller.awaitingReply());
    EXPECT_TRUE(poller.isPolling());

    ASSERT_TRUE(startWith("Other", [](RigSettings& s) {
        s.convertToHex = true;
        s.frequencyQuery = QStringLiteral("FE FE 01");
    }));
    EXPECT_EQ(port.written(), hex("FEFE01"));
    // "Other" replies are only shown: no frequency to log.
    port.queueReply(hex("FEFE0102"));
    poller.tick();
    EXPECT_EQ(emitted.raw, QList<QByteArray>{hex("FEFE0102")});
    EXPECT_TRUE(emitted.frequencies.isEmpty());
    EXPECT_EQ(poller.status().text, QStringLiteral("Radio: answering")) << "any reply is an answer from it";
}

TEST_F(RigPollerTest, AFloodIsCappedPerTick)
{
    ASSERT_TRUE(startWith("Kenwood"));
    port.queueReply("FA00028475000;" + QByteArray(64 * 1024, 'x'));
    poller.tick();
    ASSERT_EQ(emitted.raw.size(), 1);
    EXPECT_EQ(emitted.raw.front().size(), kMaxReplyBytesPerTick);
    EXPECT_EQ(emitted.frequencies, QList<float>{28.475f});
    EXPECT_TRUE(port.readAll().isEmpty());
}

TEST_F(RigPollerTest, OpenFailureIsReportedAndALostPortIsReopenedWithAGrowingPause)
{
    port.refuseOpen(QStringLiteral("COM1 (/dev/ttyS0): permission denied"));
    EXPECT_FALSE(startWith("Kenwood"));
    EXPECT_EQ(emitted.openFailures, QStringList{"COM1 (/dev/ttyS0): permission denied"});
    EXPECT_FALSE(poller.isRunning());
    EXPECT_TRUE(port.written().isEmpty());

    port.refuseOpen({});
    ASSERT_TRUE(startWith("Kenwood"));
    port.failUnderneath(QStringLiteral("device removed"));
    port.failUnderneath(QStringLiteral("device removed"));
    for (int i = 0; i < 4; ++i)
        poller.tick();
    EXPECT_EQ(emitted.troubles, QStringList{"Radio link lost, retrying by itself: device removed"});
    EXPECT_EQ(poller.state(), RigLink::State::Lost);
    EXPECT_TRUE(poller.isRunning());
    EXPECT_FALSE(poller.isPolling());
    poller.resumeAfterCommand();
    EXPECT_FALSE(poller.isPolling()) << "a command's end does not poll a closed port";
    EXPECT_EQ(poller.status().health, tenlog::common::LinkHealth::Trouble);
    EXPECT_EQ(poller.status().detail, QStringLiteral("device removed"));

    // While the adapter stays out, each try waits twice as long, up to 30 s,
    // and nothing more is said.
    port.refuseOpen(QStringLiteral("COM1 (/dev/ttyUSB0) cannot be opened: the device does not exist."));
    QList<int> pauses;
    for (int i = 0; i < 7; ++i) {
        pauses << poller.retryDelayMs();
        poller.reopen();
    }
    EXPECT_EQ(pauses, (QList<int>{1000, 2000, 4000, 8000, 16000, 30000, 30000}));
    EXPECT_EQ(poller.status().text, QStringLiteral("Radio: COM1 not available, retrying in 30 s"));
    EXPECT_EQ(emitted.troubles.size(), 1);

    // Plugged in again: polled, and the pause starts afresh after an answer.
    port.refuseOpen({});
    poller.reopen();
    EXPECT_EQ(poller.state(), RigLink::State::Waiting);
    EXPECT_EQ(poller.status().text, QStringLiteral("Radio: waiting for an answer"));
    EXPECT_EQ(poller.status().health, tenlog::common::LinkHealth::Trouble) << "until the radio answers";
    EXPECT_TRUE(poller.isPolling());
    poller.tick();
    port.queueReply("FA00028475000;MD3;");
    poller.tick();
    EXPECT_EQ(poller.status().text, QStringLiteral("Radio: 28.47500 MHz"));
    port.failUnderneath(QStringLiteral("device removed"));
    EXPECT_EQ(poller.retryDelayMs(), 1000);
    EXPECT_EQ(emitted.troubles.size(), 2) << "said again after the radio had answered";
    poller.stop();
    EXPECT_EQ(poller.status().health, tenlog::common::LinkHealth::Off);
    poller.reopen();
    EXPECT_EQ(port.openCount(), 2) << "End Test ends the retries";

    // Starting at program load on a missing port is tested from the main window.
    EXPECT_FALSE(startWith("Other", [](RigSettings& s) { s.parityCode = QStringLiteral("X"); }));
    EXPECT_TRUE(emitted.openFailures.back().contains(QStringLiteral("56000,X,8,1")));

    // A radio of no serial profile is not worth trying again.
    RigSettings unknown;
    unknown.rigName = QStringLiteral("Yaesu FT-8000");
    poller.setSettings(unknown);
    EXPECT_FALSE(poller.start());
    EXPECT_TRUE(emitted.openFailures.back().contains(QStringLiteral("Yaesu FT-8000")));
    EXPECT_FALSE(poller.start(StartMode::KeepTrying));
    EXPECT_FALSE(poller.isRunning());
    EXPECT_TRUE(emitted.troubles.back().contains(QStringLiteral("Yaesu FT-8000")));
}

TEST_F(RigPollerTest, ARadioThatStopsAnsweringIsSaidAndItsFrequencyForgotten)
{
    // About two seconds of polls, never fewer than three.
    for (const auto& [tickMs, polls] : {std::pair{50, 20}, {250, 4}, {1000, 3}, {5000, 3}})
        EXPECT_EQ(RigLink::missedPollsBeforeSilence(tickMs), polls) << tickMs;

    ASSERT_TRUE(startWith("Kenwood")); // "500 ms": four polls
    EXPECT_EQ(poller.status().text, QStringLiteral("Radio: waiting for an answer"));
    EXPECT_EQ(poller.status().health, tenlog::common::LinkHealth::Waiting);
    port.queueReply("FA00028475000;MD3;");
    poller.tick();
    EXPECT_EQ(poller.state(), RigLink::State::Answering);
    EXPECT_EQ(poller.status().text, QStringLiteral("Radio: 28.47500 MHz"));
    EXPECT_EQ(poller.status().health, tenlog::common::LinkHealth::Up);
    const int forgotten = emitted.frequencyForgotten;

    // Three polls unanswered, then one answered with the radio's "?;",
    // which decodes to nothing: not answering.
    for (int i = 0; i < 3; ++i) {
        poller.tick();
        poller.tick();
    }
    EXPECT_EQ(poller.state(), RigLink::State::Answering);
    poller.tick();
    port.queueReply("?;");
    poller.tick();
    EXPECT_EQ(poller.state(), RigLink::State::Silent);
    EXPECT_EQ(poller.status().text, QStringLiteral("Radio: not answering"));
    EXPECT_EQ(poller.status().health, tenlog::common::LinkHealth::Trouble);
    EXPECT_EQ(emitted.frequencyForgotten, forgotten + 1);
    EXPECT_EQ(emitted.raw.back(), QByteArray("?;")) << "still shown raw";
    EXPECT_EQ(emitted.frequencies, QList<float>{28.475f}) << "nothing passed on for the junk";
    EXPECT_EQ(emitted.troubles, QStringList{"The radio is not answering: contacts are logged without a frequency "
                                            "until it answers again."});
    for (int i = 0; i < 20; ++i)
        poller.tick();
    EXPECT_EQ(emitted.troubles.size(), 1) << "said once";
    EXPECT_TRUE(poller.isPolling()) << "polling goes on";

    // A cycle that asks nothing (an Icom without a mode request) is not a
    // missed poll.
    port.clearWrites();
    ASSERT_TRUE(startWith("Icom", [](RigSettings& s) { s.modeQuery.clear(); }));
    while (port.writes().size() < 4) {
        ASSERT_NE(poller.state(), RigLink::State::Silent) << port.writes().size();
        poller.tick();
    }
    EXPECT_EQ(poller.state(), RigLink::State::Waiting);
    poller.tick(); // the fourth request goes unanswered
    EXPECT_EQ(poller.state(), RigLink::State::Silent);
}

TEST_F(RigPollerTest, NoneAndPegasusOpenNoPort)
{
    EXPECT_FALSE(startWith("None"));
    RigSettings upperCase;
    upperCase.rigName = QStringLiteral("NONE");
    poller.setSettings(upperCase);
    EXPECT_FALSE(poller.start());
    EXPECT_TRUE(emitted.openFailures.isEmpty());
    EXPECT_FALSE(poller.isPolling());

    QFile file(QDir(pegasus.path()).filePath(QStringLiteral("PEGASUS.OUT")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("28.475,\"USB\"\r\n");
    file.close();
    ASSERT_TRUE(startWith("Ten Tec Pegasus"));
    poller.tick();
    poller.tick();
    poller.tick();
    EXPECT_EQ(port.openCount(), 0);
    EXPECT_EQ(emitted.frequencies, (QList<float>{28.475f, 28.475f}));
    EXPECT_EQ(emitted.modes, (QStringList{"PH", "PH"}));
}

TEST_F(RigPollerTest, ClosingSendsTheYaesuClosingBytesOnlyWhilePolling)
{
    ASSERT_TRUE(startWith("Yaesu 990"));
    port.clearWrites();
    poller.pauseForCommand();
    EXPECT_FALSE(poller.isPolling());
    poller.resumeAfterCommand();
    EXPECT_TRUE(poller.isPolling());
    poller.closeLink();
    EXPECT_EQ(port.written(), hex("0000000080"));
    EXPECT_FALSE(port.isOpen());

    ASSERT_TRUE(startWith("Yaesu 990"));
    poller.stop();
    port.clearWrites();
    poller.closeLink();
    EXPECT_TRUE(port.written().isEmpty());

    ASSERT_TRUE(startWith("Yaesu FTdx9000"));
    port.clearWrites();
    poller.closeLink();
    EXPECT_TRUE(port.written().isEmpty());
}

// A slow port at a fast polling rate: a reply is still arriving when its
// receive tick comes. What has not ended is held for the next receive tick,
// never decoded in pieces and never counted as silence.
TEST_F(RigPollerTest, AReplyArrivingAcrossTicksIsHeldUntilWhole)
{
    QByteArray gx757(5, '\0');
    gx757 += hex("0075840202");
    gx757.append(QByteArray(75 - gx757.size(), '\0'));
    QByteArray ft990 = hex("002B730C00000002");
    ft990.append(QByteArray(32 - ft990.size(), '\0'));
    struct Row {
        const char* name;
        const char* radio;
        QList<QByteArray> pieces; // one a receive tick
        float frequency;          // 0: none decoded
        const char* mode;
    };
    const QList<Row> rows = {
        {"Kenwood cut inside the frequency", "Kenwood", {"FA000284", "75000;MD3;"}, 28.475f, "CW"},
        {"Kenwood whole reply, then the start of the next", "Kenwood", {"FA00028475000;MD", "3;"}, 28.475f, "CW"},
        {"CI-V at 1200 baud", "Icom", {hex("FEFE64E003FDFEFEE064"), hex("0300504728" "00FD")}, 28.475f, ""},
        {"757 block in three parts", "Yaesu 757 GX II", {gx757.left(20), gx757.mid(20, 30), gx757.mid(50)}, 28.475f, "CW"},
        {"FT-990 block in two parts", "Yaesu 990", {ft990.left(10), ft990.mid(10)}, 28.475f, "CW"},
        {"a start that never ends is let go", "Kenwood", {"FA0", "00", "28", "4x", "xx", "xx", "xx"}, 0, ""},
        {"junk no reply begins with is not waited for", "Kenwood", {"xx;xxxx"}, 0, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        emitted = {};
        ASSERT_TRUE(startWith(row.radio)); // its first tick sent the request
        int sendTicks = 0;
        for (const QByteArray& piece : row.pieces) {
            if (!poller.awaitingReply()) { // a whole reply was taken: the next request goes
                poller.tick();
                ++sendTicks;
            }
            port.queueReply(piece);
            poller.tick();
        }
        EXPECT_FALSE(poller.awaitingReply()) << "the reply is taken and the next request may go";
        if (row.frequency > 0) {
            EXPECT_EQ(emitted.frequencies.value(0), row.frequency);
            EXPECT_EQ(emitted.modes.value(0), QString::fromLatin1(row.mode));
            EXPECT_EQ(poller.status().health, tenlog::common::LinkHealth::Up);
            EXPECT_EQ(sendTicks, 0) << "no request went out before the reply was whole";
        } else {
            EXPECT_TRUE(emitted.frequencies.isEmpty());
            EXPECT_EQ(emitted.raw.size(), 1) << "shown once, when let go";
        }
        poller.stop();
        port.clearWrites();
    }
}
