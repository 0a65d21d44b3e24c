// The real TCP connection against a server in the test, on loopback.
#include "platform/qt/QtTcpClient.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>

using tenlog::platform::QtTcpClient;
using tenlog::platform::TcpError;

namespace {

struct Events {
    int connected = 0;
    int disconnected = 0;
    QByteArray received;
    QList<TcpError> errors;
};

void record(QtTcpClient& client, Events& events)
{
    client.setConnectedHandler([&] { ++events.connected; });
    client.setDisconnectedHandler([&] { ++events.disconnected; });
    client.setReadyReadHandler([&] { events.received += client.readAll(); });
    client.setErrorHandler([&](TcpError error, const QString&) { events.errors.append(error); });
}

} // namespace

TEST(QtTcpClient, ConnectsReadsWritesAndSeesTheServerClose)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QtTcpClient client;
    Events events;
    record(client, events);
    EXPECT_FALSE(client.write("early")); // nothing to write to yet

    client.connectToHost(QStringLiteral("127.0.0.1"), server.serverPort());
    ASSERT_TRUE(server.waitForNewConnection(5000));
    QTcpSocket* far = server.nextPendingConnection();
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.connected == 1; }, 5000));
    EXPECT_TRUE(client.isConnected());

    far->write(QByteArray("login: ") + QByteArray(1, '\0') + QByteArray(1, '\xff'));
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.received.size() == 9; }, 5000));
    EXPECT_EQ(events.received, QByteArray("login: ") + QByteArray(1, '\0') + QByteArray(1, '\xff'));

    EXPECT_TRUE(client.write("K1ABC\r\n"));
    QByteArray atServer;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            atServer += far->readAll();
            return atServer == "K1ABC\r\n";
        },
        5000));

    far->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.disconnected == 1; }, 5000));
    EXPECT_FALSE(client.isConnected());
    EXPECT_TRUE(events.errors.isEmpty() || events.errors == QList<TcpError>{TcpError::RemoteHostClosed});
}

TEST(QtTcpClient, RefusedConnectionIsReportedAsRefused)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const quint16 port = server.serverPort();
    server.close(); // nobody listens there now
    QtTcpClient client;
    Events events;
    record(client, events);
    client.connectToHost(QStringLiteral("127.0.0.1"), port);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !events.errors.isEmpty(); }, 5000));
    EXPECT_EQ(events.errors.first(), TcpError::ConnectionRefused);
    EXPECT_EQ(events.connected, 0);
    EXPECT_FALSE(client.isConnected());
}

TEST(QtTcpClient, AbortRunsNoHandler)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QtTcpClient client;
    Events events;
    record(client, events);
    client.connectToHost(QStringLiteral("127.0.0.1"), server.serverPort());
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.connected == 1; }, 5000));
    client.abort();
    QTest::qWait(50);
    EXPECT_EQ(events.disconnected, 0);
    EXPECT_TRUE(events.errors.isEmpty());
    EXPECT_FALSE(client.isConnected());
}
