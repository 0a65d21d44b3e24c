#include "spots/AgwSpotSource.h"

#include "platform/TcpClient.h"
#include "spots/SocketMessages.h"

namespace tenlog::spots {

AgwSpotSource::AgwSpotSource(platform::TcpClient& client, QObject* parent) : QObject(parent), m_client(client)
{
    m_startTimer.setSingleShot(true);
    m_startTimer.setInterval(kStartTimeoutMs);
    connect(&m_startTimer, &QTimer::timeout, this, &AgwSpotSource::startTimedOut);
    m_client.setConnectedHandler([this] {
        m_registering = true;
        send(agwRegister(m_call));
    });
    m_client.setReadyReadHandler([this] { takeBytes(); });
    m_client.setDisconnectedHandler([this] {
        const bool wasStarted = m_started;
        const bool wasRegistering = m_registering;
        m_started = m_registering = false;
        m_connectedCall.clear();
        m_startTimer.stop();
        if (wasStarted)
            emit engineClosed();
        else if (wasRegistering)
            emit refused(socketErrorMessage(10054));
    });
    m_client.setErrorHandler([this](platform::TcpError error, const QString&) {
        if (m_started || error == platform::TcpError::RemoteHostClosed)
            return; // the disconnected handler reports it
        m_startTimer.stop();
        m_registering = false;
        emit refused(socketErrorMessage(socketErrorNumber(error)));
    });
}

AgwSpotSource::~AgwSpotSource()
{
    m_client.setConnectedHandler({});
    m_client.setReadyReadHandler({});
    m_client.setDisconnectedHandler({});
    m_client.setErrorHandler({});
}

void AgwSpotSource::start(const QString& call, const QString& host, quint16 port)
{
    close();
    m_call = call.trimmed().toUpper();
    m_client.connectToHost(host, port);
    m_startTimer.start();
}

void AgwSpotSource::startTimedOut()
{
    if (m_started)
        return;
    m_registering = false;
    m_client.abort();
    m_decoder.clear();
    emit refused(QStringLiteral("The packet engine did not answer within %1 seconds.")
                     .arg(m_startTimer.interval() / 1000.0));
}

void AgwSpotSource::close()
{
    // Cleared first: closing on purpose is not the engine going away.
    m_startTimer.stop();
    m_started = m_registering = false;
    if (!m_connectedCall.isEmpty() && m_client.isConnected())
        send(agwDisconnect(m_call, m_connectedCall));
    m_connectedCall.clear();
    if (m_client.isConnected())
        m_client.disconnectFromHost(); // the disconnect frame still goes out
    else
        m_client.abort();
    m_decoder.clear();
}

void AgwSpotSource::send(const QByteArray& frame)
{
    m_client.write(frame);
}

void AgwSpotSource::takeBytes()
{
    m_decoder.feed(m_client.readAll());
    // The registration reply is answered at once: it decides whether the
    // session exists at all.
    if (!m_registering)
        return;
    while (auto frame = m_decoder.next()) {
        if (frame->kind != 'X')
            continue;
        m_registering = false;
        m_startTimer.stop();
        if (!frame->data.isEmpty() && frame->data.at(0) == 1) {
            m_started = true;
            send(agwMonitorOn());
            emit started();
        } else {
            m_client.abort();
            m_decoder.clear();
            emit refused(QStringLiteral("The packet engine refused the call ") + m_call + QLatin1Char('.'));
        }
        return;
    }
}

void AgwSpotSource::poll()
{
    if (!m_started)
        return;
    auto frame = m_decoder.next();
    if (!frame)
        return;
    emit frameReceived(frame->kind, frame->callFrom, frame->data);
    if (frame->kind == 'd' && !m_connectedCall.isEmpty()
        && frame->callFrom.compare(m_connectedCall, Qt::CaseInsensitive) == 0) {
        const QString call = m_connectedCall;
        m_connectedCall.clear();
        emit stationDisconnected(call);
    } else if (frame->kind == 'C' && m_connectedCall.isEmpty()) {
        m_connectedCall = frame->callFrom;
        emit stationConnected(m_connectedCall);
    }
}

AgwSpotSource::SendOutcome AgwSpotSource::sendLine(const QString& line)
{
    if (!m_started)
        return SendOutcome::Dropped;
    if (line.startsWith(QLatin1Char(':'))) {
        const QChar letter = line.size() > 1 ? line.at(1).toUpper() : QChar();
        const QString argument = line.mid(2).trimmed();
        if (letter == QLatin1Char('D') && !m_connectedCall.isEmpty()) {
            send(agwDisconnect(m_call, m_connectedCall));
            return SendOutcome::Sent;
        }
        if (letter == QLatin1Char('C')) {
            if (argument.isEmpty())
                return SendOutcome::CallRequired;
            send(agwConnect(m_call, argument.toUpper()));
            return SendOutcome::Sent;
        }
        return SendOutcome::Dropped;
    }
    if (m_connectedCall.isEmpty())
        return SendOutcome::Dropped;
    send(agwData(m_call, m_connectedCall, line.toLatin1() + '\r'));
    return SendOutcome::Sent;
}

} // namespace tenlog::spots
