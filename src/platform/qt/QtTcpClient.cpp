#include "platform/qt/QtTcpClient.h"

#include <QTcpSocket>

namespace tenlog::platform {

namespace {

TcpError errorKind(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return TcpError::ConnectionRefused;
    case QAbstractSocket::RemoteHostClosedError:
        return TcpError::RemoteHostClosed;
    case QAbstractSocket::HostNotFoundError:
        return TcpError::HostNotFound;
    case QAbstractSocket::SocketAccessError:
        return TcpError::SocketAccess;
    case QAbstractSocket::SocketResourceError:
        return TcpError::SocketResource;
    case QAbstractSocket::SocketTimeoutError:
        return TcpError::Timeout;
    case QAbstractSocket::NetworkError:
    case QAbstractSocket::TemporaryError:
        return TcpError::Network;
    default:
        return TcpError::Other;
    }
}

} // namespace

QtTcpClient::QtTcpClient(QObject* parent) : QObject(parent), m_socket(new QTcpSocket(this))
{
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        if (m_connected)
            m_connected();
    });
    connect(m_socket, &QTcpSocket::readyRead, this, [this] {
        if (m_readyRead)
            m_readyRead();
    });
    connect(m_socket, &QTcpSocket::disconnected, this, [this] {
        if (!m_aborting && m_disconnected)
            m_disconnected();
    });
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        if (!m_aborting && m_error)
            m_error(errorKind(error), m_socket->errorString());
    });
}

QtTcpClient::~QtTcpClient()
{
    m_aborting = true;
    m_socket->abort();
}

void QtTcpClient::connectToHost(const QString& host, quint16 port)
{
    m_aborting = true;
    m_socket->abort();
    m_aborting = false;
    m_socket->connectToHost(host, port);
}

void QtTcpClient::disconnectFromHost()
{
    // Hand what is queued to the system now: a farewell written just before
    // the program ends would otherwise wait for an event loop that never runs.
    m_socket->flush();
    m_socket->disconnectFromHost();
}

void QtTcpClient::abort()
{
    m_aborting = true;
    m_socket->abort();
    m_aborting = false;
}

bool QtTcpClient::isConnected() const
{
    return m_socket->state() == QAbstractSocket::ConnectedState;
}

bool QtTcpClient::write(const QByteArray& bytes)
{
    if (!isConnected())
        return false;
    return m_socket->write(bytes) == bytes.size();
}

QByteArray QtTcpClient::readAll()
{
    return m_socket->readAll();
}

void QtTcpClient::setConnectedHandler(std::function<void()> handler)
{
    m_connected = std::move(handler);
}

void QtTcpClient::setReadyReadHandler(std::function<void()> handler)
{
    m_readyRead = std::move(handler);
}

void QtTcpClient::setDisconnectedHandler(std::function<void()> handler)
{
    m_disconnected = std::move(handler);
}

void QtTcpClient::setErrorHandler(std::function<void(TcpError error, const QString& text)> handler)
{
    m_error = std::move(handler);
}

} // namespace tenlog::platform
