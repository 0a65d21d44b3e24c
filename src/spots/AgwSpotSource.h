// The packet engine over its TCP interface (by default 127.0.0.1:8000, where
// AGWPE and direwolf listen). Starting registers the station's call and turns
// monitoring on; an engine that refuses the call ends the session. Frames are
// taken one per poll, as the spotting timer ticks.
#pragma once

#include "spots/AgwFrames.h"

#include <QObject>
#include <QTimer>

namespace tenlog::platform {
class TcpClient;
}

namespace tenlog::spots {

class AgwSpotSource : public QObject {
    Q_OBJECT
public:
    static constexpr quint16 kDefaultPort = 8000;
    // An engine that has not taken the call by then (not reached, or silent
    // after the connection) is given up, rather than left trying for minutes.
    static constexpr int kStartTimeoutMs = 10000;

    explicit AgwSpotSource(platform::TcpClient& client, QObject* parent = nullptr);
    ~AgwSpotSource() override;

    // Connects and registers call; started() or refused() follows.
    void start(const QString& call, const QString& host = QStringLiteral("127.0.0.1"), quint16 port = kDefaultPort);
    // Disconnects a connected station, then closes.
    void close();
    bool isStarted() const { return m_started; }
    const QString& connectedCall() const { return m_connectedCall; }

    // Hands on at most one received frame.
    void poll();

    enum class SendOutcome { Sent, Dropped, CallRequired };
    // A typed line: ":C call" connects, ":D" disconnects, other ":" commands
    // do nothing; text goes to the connected station with CR, and is dropped
    // without one.
    SendOutcome sendLine(const QString& line);

    const AgwFrameDecoder& decoder() const { return m_decoder; }
    void setStartTimeout(int milliseconds) { m_startTimer.setInterval(milliseconds); }

signals:
    void started();
    // The engine could not be reached or refused the call.
    void refused(const QString& reason);
    void frameReceived(char kind, const QString& fromCall, const QByteArray& data);
    void stationConnected(const QString& call);
    void stationDisconnected(const QString& call);
    // The engine went away after starting.
    void engineClosed();

private:
    void takeBytes();
    void send(const QByteArray& frame);
    void startTimedOut();

    platform::TcpClient& m_client;
    AgwFrameDecoder m_decoder;
    QString m_call;
    QString m_connectedCall;
    bool m_registering = false;
    bool m_started = false;
    QTimer m_startTimer;
};

} // namespace tenlog::spots
