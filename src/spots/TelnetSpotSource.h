// A DX cluster over a telnet-style TCP connection: connects, sends what the
// operator types, and turns what arrives into whole lines. A large burst is
// turned into lines in slices of a few milliseconds, so the window stays
// responsive while a node replays thousands of spots at login. A failure or
// the node hanging up is reported after the lines received before it. A
// connection not up within ten seconds is given up and reported, naming the
// host and port tried. Option requests are refused (see LineAssembly.h).
#pragma once

#include "spots/LineAssembly.h"

#include <QObject>
#include <QTimer>

namespace tenlog::platform {
class TcpClient;
}

namespace tenlog::spots {

class TelnetSpotSource : public QObject {
    Q_OBJECT
public:
    // Work on received bytes is handed back to the event loop after this long.
    static constexpr qint64 kSliceMs = 5;
    // Bytes fed to the line assembler between looks at the time.
    static constexpr qsizetype kSliceBytes = 4096;

    // How long a connection may take to come up.
    static constexpr int kConnectTimeoutMs = 10000;

    explicit TelnetSpotSource(platform::TcpClient& client, QObject* parent = nullptr);
    ~TelnetSpotSource() override;

    // Starts connecting. False, and nothing started, when the port text is
    // not a port number.
    bool open(const QString& host, const QString& portText);
    void close();
    bool isConnected() const;
    // Sends the line with CR LF; false when not connected.
    bool sendLine(const QString& line);
    // Tests wait less than the operator would.
    void setConnectTimeout(int milliseconds) { m_connectTimer.setInterval(milliseconds); }
    // Received bytes not yet turned into lines.
    qsizetype pendingBytes() const { return m_pending.size() - m_pendingAt; }

signals:
    void connected();
    void lineReceived(const QString& line);
    // The line still waiting for its end after a read (a login prompt).
    void partialLine(const QString& text);
    // The connection failed or broke; the text is the terminal's message.
    void failed(const QString& message);
    // The node closed the connection.
    void closedByRemote();

private:
    void takeBytes();
    void workPending();
    void finishRemoteClose();
    void reportAfterPending();
    void connectTimedOut();

    platform::TcpClient& m_client;
    QTimer m_connectTimer;
    QString m_host;
    quint16 m_port = 0;
    TelnetLineAssembler m_lines;
    QByteArray m_pending;
    qsizetype m_pendingAt = 0;
    bool m_workScheduled = false;
    bool m_remoteClosed = false; // reported once the received bytes are worked off
    QString m_failure;           // the same
};

} // namespace tenlog::spots
