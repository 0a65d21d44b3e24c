// The TCP connection on QTcpSocket. Qt's socket errors are folded into the
// few kinds the program tells apart; the system's own words go with them.
#pragma once

#include "platform/TcpClient.h"

#include <QObject>

class QTcpSocket;

namespace tenlog::platform {

class QtTcpClient final : public QObject, public TcpClient {
    Q_OBJECT
public:
    explicit QtTcpClient(QObject* parent = nullptr);
    ~QtTcpClient() override;

    void connectToHost(const QString& host, quint16 port) override;
    void disconnectFromHost() override;
    void abort() override;
    bool isConnected() const override;

    bool write(const QByteArray& bytes) override;
    QByteArray readAll() override;

    void setConnectedHandler(std::function<void()> handler) override;
    void setReadyReadHandler(std::function<void()> handler) override;
    void setDisconnectedHandler(std::function<void()> handler) override;
    void setErrorHandler(std::function<void(TcpError error, const QString& text)> handler) override;

private:
    QTcpSocket* m_socket;
    // abort() promises that no handler runs; Qt still emits disconnected.
    bool m_aborting = false;
    std::function<void()> m_connected;
    std::function<void()> m_readyRead;
    std::function<void()> m_disconnected;
    std::function<void(TcpError, const QString&)> m_error;
};

} // namespace tenlog::platform
