// An in-memory TCP connection: the test decides when it connects, is refused
// or drops, queues what the far end sends, and reads what was written.
#pragma once

#include "platform/TcpClient.h"

namespace tenlog::testing {

class FakeTcpClient final : public platform::TcpClient {
public:
    void connectToHost(const QString& host, quint16 port) override
    {
        m_host = host;
        m_port = port;
        ++m_connectCount;
    }
    void disconnectFromHost() override
    {
        m_connected = false;
        if (m_disconnected)
            m_disconnected();
    }
    void abort() override { m_connected = false; }
    bool isConnected() const override { return m_connected; }

    bool write(const QByteArray& bytes) override
    {
        if (!m_connected)
            return false;
        m_written += bytes;
        return true;
    }
    QByteArray readAll() override { return std::exchange(m_incoming, {}); }

    void setConnectedHandler(std::function<void()> handler) override { m_connectedHandler = std::move(handler); }
    void setReadyReadHandler(std::function<void()> handler) override { m_readyRead = std::move(handler); }
    void setDisconnectedHandler(std::function<void()> handler) override { m_disconnected = std::move(handler); }
    void setErrorHandler(std::function<void(platform::TcpError, const QString&)> handler) override
    {
        m_error = std::move(handler);
    }

    // Test controls: the far end accepts, refuses, sends, or hangs up.
    void acceptConnection()
    {
        m_connected = true;
        if (m_connectedHandler)
            m_connectedHandler();
    }
    void failWith(platform::TcpError error, const QString& text)
    {
        m_connected = false;
        if (m_error)
            m_error(error, text);
    }
    void remoteClose()
    {
        failWith(platform::TcpError::RemoteHostClosed, QStringLiteral("The remote host closed the connection"));
        if (m_disconnected)
            m_disconnected();
    }
    void queueIncoming(const QByteArray& bytes)
    {
        m_incoming += bytes;
        if (m_readyRead)
            m_readyRead();
    }

    QString host() const { return m_host; }
    quint16 port() const { return m_port; }
    int connectCount() const { return m_connectCount; }
    QByteArray takeWritten() { return std::exchange(m_written, {}); }

private:
    QString m_host;
    quint16 m_port = 0;
    int m_connectCount = 0;
    bool m_connected = false;
    QByteArray m_incoming;
    QByteArray m_written;
    std::function<void()> m_connectedHandler;
    std::function<void()> m_readyRead;
    std::function<void()> m_disconnected;
    std::function<void(platform::TcpError, const QString&)> m_error;
};

} // namespace tenlog::testing
