// One TCP connection, as the DX cluster, the packet engine and the network
// rig daemon use it. Everything is asynchronous: connectToHost() returns at
// once and the outcome arrives through the handlers, called from the event
// loop.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace tenlog::platform {

enum class TcpError {
    None,
    ConnectionRefused,
    RemoteHostClosed,
    HostNotFound,
    SocketAccess,
    SocketResource,
    Timeout,
    Network,
    Other,
};

class TcpClient {
public:
    virtual ~TcpClient() = default;

    virtual void connectToHost(const QString& host, quint16 port) = 0;
    // Closes the connection after the queued bytes have gone out; the
    // disconnected handler follows.
    virtual void disconnectFromHost() = 0;
    // Drops the connection at once, queued bytes included; no handler runs.
    virtual void abort() = 0;
    virtual bool isConnected() const = 0;

    virtual bool write(const QByteArray& bytes) = 0;
    virtual QByteArray readAll() = 0;

    virtual void setConnectedHandler(std::function<void()> handler) = 0;
    virtual void setReadyReadHandler(std::function<void()> handler) = 0;
    virtual void setDisconnectedHandler(std::function<void()> handler) = 0;
    // The kind of error and the system's own words for it.
    virtual void setErrorHandler(std::function<void(TcpError error, const QString& text)> handler) = 0;
};

} // namespace tenlog::platform
