#include "spots/TelnetSpotSource.h"

#include "platform/TcpClient.h"
#include "spots/SocketMessages.h"

#include <QElapsedTimer>
#include <QTimer>

#include <utility>

namespace tenlog::spots {

TelnetSpotSource::TelnetSpotSource(platform::TcpClient& client, QObject* parent) : QObject(parent), m_client(client)
{
    m_connectTimer.setSingleShot(true);
    m_connectTimer.setInterval(kConnectTimeoutMs);
    connect(&m_connectTimer, &QTimer::timeout, this, &TelnetSpotSource::connectTimedOut);
    m_client.setConnectedHandler([this] {
        m_connectTimer.stop();
        emit connected();
    });
    m_client.setReadyReadHandler([this] { takeBytes(); });
    m_client.setDisconnectedHandler([this] {
        m_remoteClosed = true;
        takeBytes();
        if (!m_workScheduled)
            reportAfterPending();
    });
    m_client.setErrorHandler([this](platform::TcpError error, const QString&) {
        // A node closing the connection is not a failure; the disconnected
        // handler reports it.
        if (error == platform::TcpError::RemoteHostClosed)
            return;
        m_connectTimer.stop();
        if (m_failure.isEmpty())
            m_failure = socketErrorMessage(socketErrorNumber(error));
        if (!m_workScheduled)
            reportAfterPending();
    });
}

TelnetSpotSource::~TelnetSpotSource()
{
    m_client.setConnectedHandler({});
    m_client.setReadyReadHandler({});
    m_client.setDisconnectedHandler({});
    m_client.setErrorHandler({});
}

bool TelnetSpotSource::open(const QString& host, const QString& portText)
{
    bool ok = false;
    const int port = portText.trimmed().toInt(&ok);
    if (!ok || port < 1 || port > 65535)
        return false;
    close();
    m_host = host.trimmed();
    m_port = static_cast<quint16>(port);
    m_client.connectToHost(m_host, m_port);
    m_connectTimer.start();
    return true;
}

void TelnetSpotSource::connectTimedOut()
{
    if (m_client.isConnected())
        return;
    // The system would go on trying for minutes while the operator sees
    // nothing happen; a host that has not answered by now is taken as down.
    m_client.abort();
    emit failed(QStringLiteral("ERROR: No connection to %1:%2 within %3 seconds: the host did not answer.")
                    .arg(m_host)
                    .arg(m_port)
                    .arg(m_connectTimer.interval() / 1000.0));
}

void TelnetSpotSource::close()
{
    m_connectTimer.stop();
    m_client.abort();
    m_lines.clear();
    m_pending.clear();
    m_pendingAt = 0;
    m_workScheduled = false;
    m_remoteClosed = false;
    m_failure.clear();
}

bool TelnetSpotSource::isConnected() const
{
    return m_client.isConnected();
}

bool TelnetSpotSource::sendLine(const QString& line)
{
    if (!m_client.isConnected())
        return false;
    return m_client.write(line.toLatin1() + "\r\n");
}

void TelnetSpotSource::takeBytes()
{
    const QByteArray bytes = m_client.readAll();
    if (bytes.isEmpty())
        return;
    m_pending.remove(0, m_pendingAt);
    m_pendingAt = 0;
    m_pending.append(bytes);
    if (!m_workScheduled)
        workPending();
}

void TelnetSpotSource::finishRemoteClose()
{
    // A line cut off by the close is not a spot; what of it was shown stays.
    m_lines.clear();
    m_remoteClosed = false;
    emit closedByRemote();
}

void TelnetSpotSource::reportAfterPending()
{
    // The failure first: whoever hears it may close, which ends the rest.
    if (!m_failure.isEmpty()) {
        const QString failure = std::exchange(m_failure, {});
        emit failed(failure);
    }
    if (m_remoteClosed)
        finishRemoteClose();
}

void TelnetSpotSource::workPending()
{
    m_workScheduled = false;
    if (m_pendingAt >= m_pending.size() && !m_remoteClosed && m_failure.isEmpty())
        return; // closed meanwhile
    QElapsedTimer slice;
    slice.start();
    const auto onLine = [this](const QString& line) { emit lineReceived(line); };
    while (m_pendingAt < m_pending.size()) {
        const QByteArray piece = m_pending.mid(m_pendingAt, kSliceBytes);
        m_pendingAt += piece.size();
        m_lines.feed(piece, onLine);
        const QByteArray replies = m_lines.takeReplies();
        if (!replies.isEmpty() && m_client.isConnected())
            m_client.write(replies);
        if (m_pendingAt < m_pending.size() && slice.elapsed() >= kSliceMs) {
            if (!m_workScheduled) {
                m_workScheduled = true;
                QTimer::singleShot(0, this, [this] { workPending(); });
            }
            return;
        }
    }
    m_pending.clear();
    m_pendingAt = 0;
    if (!m_lines.partialLine().isEmpty())
        emit partialLine(m_lines.partialLine());
    reportAfterPending();
}

} // namespace tenlog::spots
