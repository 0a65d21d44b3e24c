// The rigctld poller against an in-memory TCP connection.
#include "rig/RigctldPoller.h"

#include "FakeTcpClient.h"

#include <gtest/gtest.h>

using namespace tenlog::rig;
using tenlog::testing::FakeTcpClient;

namespace {

class RigctldPollerTest : public ::testing::Test {
protected:
    RigctldPollerTest()
    {
        QObject::connect(&poller, &RigLink::frequencyPolled, [this](float f) { frequencies.append(f); });
        QObject::connect(&poller, &RigLink::modePolled, [this](const QString& m) { modes.append(m); });
        QObject::connect(&poller, &RigLink::trouble, [this](const QString& t) { troubles.append(t); });
        RigSettings settings;
        applyRigProfile(settings, *findRigProfile(kRigctldRigName));
        poller.setSettings(settings);
    }

    FakeTcpClient client;
    RigctldPoller poller{client};
    QList<float> frequencies;
    QStringList modes;
    QStringList troubles;
};

} // namespace

TEST_F(RigctldPollerTest, PollsFrequencyAndModeOnceConnected)
{
    ASSERT_TRUE(poller.start());
    EXPECT_EQ(client.host(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(client.port(), 4532);
    poller.tick(); // not connected yet: nothing
    EXPECT_TRUE(client.takeWritten().isEmpty());
    client.acceptConnection(); // the first send tick runs at once
    EXPECT_EQ(client.takeWritten(), QByteArray("f\nm\n"));
    client.queueIncoming("28475000\nCW\n500\n");
    poller.tick();
    EXPECT_EQ(frequencies, QList<float>{28.475f});
    EXPECT_EQ(modes, QStringList{"CW"});
}

TEST_F(RigctldPollerTest, AssemblesSplitRepliesAndMapsModes)
{
    ASSERT_TRUE(poller.start());
    client.acceptConnection();
    client.queueIncoming("2847");
    poller.tick();
    EXPECT_TRUE(frequencies.isEmpty());
    poller.tick(); // the answers are still owed: no new requests
    client.takeWritten();
    client.queueIncoming("5000\r\nUSB\n24");
    poller.tick();
    EXPECT_EQ(frequencies, QList<float>{28.475f});
    EXPECT_EQ(modes, QStringList{"PH"});
    client.queueIncoming("00\n");
    poller.tick(); // send: the passband is still owed
    poller.tick(); // receive: the passband
    poller.tick(); // send
    EXPECT_EQ(client.takeWritten(), QByteArray("f\nm\n"));

    const struct {
        const char* answer;
        const char* mode;
    } cases[] = {{"7025000\nCWR\n500\n", "CW"}, {"7025000\nAM\n6000\n", "AM"}, {"7025000\nFM\n12000\n", "FM"},
                 {"7025000\nPKTUSB\n3000\n", "FM"}, {"RPRT -11\nLSB\n2400\n", "PH"}, {"7200000\nRPRT -1\n", "PH"}};
    for (const auto& c : cases) {
        client.queueIncoming(c.answer);
        poller.tick();
        poller.tick();
        EXPECT_EQ(poller.reading().mode, QString::fromLatin1(c.mode)) << c.answer;
    }
    EXPECT_EQ(poller.reading().frequencyMHz, 7.2f);
}

TEST_F(RigctldPollerTest, RefusedOrLostConnectionIsRetriedWithAGrowingPause)
{
    ASSERT_TRUE(poller.start());
    EXPECT_EQ(poller.status().text, QStringLiteral("Radio: connecting to rigctld at 127.0.0.1:4532"));
    client.failWith(tenlog::platform::TcpError::ConnectionRefused, QStringLiteral("Connection refused"));
    client.failWith(tenlog::platform::TcpError::ConnectionRefused, QStringLiteral("Connection refused"));
    EXPECT_EQ(troubles, QStringList{"The radio link could not be opened, retrying by itself: rigctld at "
                                    "127.0.0.1:4532: Connection refused"});
    EXPECT_EQ(poller.status().text, QStringLiteral("Radio: rigctld at 127.0.0.1:4532 not reachable, retrying in 1 s"));
    EXPECT_FALSE(poller.isPolling());
    EXPECT_TRUE(poller.isRunning());

    poller.reopen();
    EXPECT_EQ(client.connectCount(), 2);
    client.failWith(tenlog::platform::TcpError::ConnectionRefused, QStringLiteral("Connection refused"));
    EXPECT_EQ(poller.status().text, QStringLiteral("Radio: rigctld at 127.0.0.1:4532 not reachable, retrying in 2 s"));
    EXPECT_EQ(troubles.size(), 1);

    poller.reopen();
    client.acceptConnection();
    EXPECT_EQ(client.takeWritten(), QByteArray("f\nm\n"));
    EXPECT_EQ(poller.status().text, QStringLiteral("Radio: waiting for an answer"));
    client.queueIncoming("28475000\nCW\n500\n");
    poller.tick();
    EXPECT_EQ(poller.status().text, QStringLiteral("Radio: 28.47500 MHz"));

    client.remoteClose();
    EXPECT_EQ(troubles.size(), 2);
    EXPECT_EQ(troubles.back(), QStringLiteral("Radio link lost, retrying by itself: rigctld at 127.0.0.1:4532: The "
                                              "remote host closed the connection"));
    EXPECT_EQ(poller.retryDelayMs(), 1000) << "the pause starts afresh after an answer";
}

TEST_F(RigctldPollerTest, ADaemonThatSaysNothingIsReconnected)
{
    // "500 ms": four polls make a radio not answering.
    struct Case {
        const char* what;
        bool accepts;
        int ticksBeforeTheLastMiss;
    };
    for (const Case& c : {Case{"accepts and says nothing", true, 6}, Case{"never accepts", false, 7}}) {
        SCOPED_TRACE(c.what);
        troubles.clear();
        ASSERT_TRUE(poller.start());
        const int connects = client.connectCount();
        if (c.accepts)
            client.acceptConnection();
        for (int i = 0; i < c.ticksBeforeTheLastMiss; ++i)
            poller.tick();
        EXPECT_EQ(poller.state(), RigLink::State::Waiting);
        poller.tick();
        EXPECT_EQ(poller.state(), RigLink::State::Lost);
        EXPECT_EQ(poller.status().text,
                  QStringLiteral("Radio: rigctld at 127.0.0.1:4532 not answering, retrying in 1 s"));
        EXPECT_EQ(troubles, QStringList{"The radio is not answering: contacts are logged without a frequency until "
                                        "it answers again."});
        poller.reopen();
        EXPECT_EQ(client.connectCount(), connects + 1);
        // As silent on the fresh connection: the pause grows and nothing
        // more is said.
        if (c.accepts)
            client.acceptConnection();
        for (int i = 0; i <= c.ticksBeforeTheLastMiss; ++i)
            poller.tick();
        EXPECT_EQ(poller.status().text,
                  QStringLiteral("Radio: rigctld at 127.0.0.1:4532 not answering, retrying in 2 s"));
        EXPECT_EQ(troubles.size(), 1);
        poller.stop();
    }
}

TEST_F(RigctldPollerTest, NoiseWithoutLineEndsIsDropped)
{
    ASSERT_TRUE(poller.start());
    client.acceptConnection();
    client.queueIncoming(QByteArray(64 * 1024, 'x'));
    poller.tick();
    poller.tick(); // the owed answers were given up with the noise: a new request goes out
    EXPECT_EQ(client.takeWritten(), QByteArray("f\nm\nf\nm\n"));
    client.queueIncoming("14025000\nCW\n500\n");
    poller.tick();
    EXPECT_EQ(frequencies, QList<float>{14.025f});
}
