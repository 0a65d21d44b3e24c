// AGW frames: the exact header bytes, and a decoder that survives split,
// short and absurd input.
#include "spots/AgwFrames.h"
#include "spots/SocketMessages.h"

#include <gtest/gtest.h>

using namespace tenlog::spots;

TEST(AgwFrames, EncodesTheHeaderByteForByte)
{
    const QByteArray frame = agwData("N1MM", "K1TTT-1", "hi\r");
    ASSERT_EQ(frame.size(), 36 + 3);
    QByteArray expected(36, '\0');
    expected[4] = 'D';
    expected[6] = static_cast<char>(0xF0);
    expected.replace(8, 4, "N1MM");
    expected.replace(18, 7, "K1TTT-1");
    expected[28] = 3;
    EXPECT_EQ(frame, expected + "hi\r");

    struct Case {
        QByteArray frame;
        char kind;
        QString from;
        QString to;
    };
    const std::vector<Case> cases{
        {agwRegister("N1MM"), 'X', "N1MM", ""},
        {agwMonitorOn(), 'm', "", ""},
        {agwConnect("N1MM", "K1TTT"), 'C', "N1MM", "K1TTT"},
        {agwDisconnect("N1MM", "K1TTT"), 'd', "N1MM", "K1TTT"},
        {agwRegister("A-VERY-LONG-CALL"), 'X', "A-VERY-LO", ""}, // nine characters and the NUL
    };
    for (const Case& c : cases) {
        AgwFrameDecoder decoder;
        decoder.feed(c.frame);
        const auto decoded = decoder.next();
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->kind, c.kind);
        EXPECT_EQ(decoded->callFrom, c.from);
        EXPECT_EQ(decoded->callTo, c.to);
        EXPECT_TRUE(decoded->data.isEmpty());
    }
}

TEST(AgwFrameDecoder, TakesFramesFromAnyCutOfTheStream)
{
    QByteArray stream;
    for (int i = 0; i < 5; ++i)
        stream += agwData("K1TTT", "N1MM", "line " + QByteArray::number(i) + "\r");
    for (qsizetype step : {1, 7, 36, 41, 1000}) {
        AgwFrameDecoder decoder;
        for (qsizetype at = 0; at < stream.size(); at += step)
            decoder.feed(stream.mid(at, step));
        ASSERT_EQ(decoder.queued(), 5u) << step;
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(decoder.next()->data, "line " + QByteArray::number(i) + "\r") << step;
        EXPECT_EQ(decoder.buffered(), 0) << step;
    }
}

TEST(AgwFrameDecoder, ShortAbsurdAndFloodingInput)
{
    // A length beyond the data waits for the rest.
    AgwFrameDecoder waiting;
    QByteArray frame = agwData("K1TTT", "N1MM", "abc");
    waiting.feed(frame.left(37));
    EXPECT_EQ(waiting.queued(), 0u);
    waiting.feed(frame.mid(37));
    EXPECT_EQ(waiting.queued(), 1u);

    // An absurd length throws the stream away instead of waiting for 4 GB.
    AgwFrameDecoder absurd;
    QByteArray broken = agwData("K1TTT", "N1MM", "abc");
    broken[28] = '\xff';
    broken[29] = '\xff';
    broken[30] = '\xff';
    broken[31] = '\x7f';
    absurd.feed(broken + QByteArray(100000, 'z'));
    EXPECT_EQ(absurd.resynchronisations(), 1);
    EXPECT_EQ(absurd.buffered(), 0);
    absurd.feed(agwData("K1TTT", "N1MM", "ok"));
    ASSERT_EQ(absurd.queued(), 1u);
    EXPECT_EQ(absurd.next()->data, "ok");

    // A flood keeps only the newest frames.
    AgwFrameDecoder flood;
    QByteArray many;
    for (size_t i = 0; i < AgwFrameDecoder::kMaxQueued + 10; ++i)
        many += agwData("K1TTT", "N1MM", QByteArray::number(static_cast<int>(i)));
    flood.feed(many);
    EXPECT_EQ(flood.queued(), AgwFrameDecoder::kMaxQueued);
    EXPECT_EQ(flood.droppedFrames(), 10);
    EXPECT_EQ(flood.next()->data, "10");
}

TEST(SocketMessages, ErrorKindsHaveTheirWords)
{
    using tenlog::platform::TcpError;
    const std::vector<std::pair<TcpError, QString>> cases{
        {TcpError::ConnectionRefused, "ERROR: Connection is forcefully rejected."},
        {TcpError::HostNotFound, "ERROR: Authoritative answer: Host not found."},
        {TcpError::RemoteHostClosed, "ERROR: The connection is reset by remote side.!"},
        {TcpError::Timeout, "ERROR: Socket has been shut down."},
        {TcpError::Network, "ERROR: The network cannot be reached from this host at this time."},
        {TcpError::SocketAccess, "Error number 10013"},
        {TcpError::Other, "ERROR: Connection is aborted due to timeout or other failure."},
    };
    for (const auto& [error, text] : cases)
        EXPECT_EQ(socketErrorMessage(socketErrorNumber(error)), text);
}
