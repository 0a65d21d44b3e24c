// Polls a radio through Hamlib's network daemon rigctld (default
// 127.0.0.1:4532), on the same two-tick cycle as the serial radios.
//
// rigctld's plain text protocol: the send tick writes "f\nm\n"; the daemon
// answers the frequency in Hz on one line, then the mode name and the
// passband in Hz on two lines ("28475000\nCW\n500\n"), or "RPRT <n>" in place
// of the answer to a command that failed. Replies may arrive split anywhere
// across reads, so lines are assembled across ticks.
//
// Mode names follow the 757 status rule: CW and CWR are "CW", USB and LSB
// "PH", AM "AM", FM "FM"; any other mode (data, RTTY...) leaves the mode.
//
// A refused, failed or closed connection is tried again with the growing
// pause of RigLink. So is one on which the daemon stops answering: answers
// still owed could no longer be matched to their requests, so a fresh
// connection is the only sure way to start again. A connection that does
// not come up counts as unanswered polls.
//
// With a Hamlib model in the settings the poller starts its own rigctld
// (see RigctldDaemon) and polls it on 127.0.0.1. A daemon just started is
// given up to kDaemonListenWaitMs to open its port, tried every
// kDaemonConnectTryMs meanwhile; it is ended when the link stops.
#pragma once

#include "rig/RigLink.h"

#include "platform/TcpClient.h"

#include <QTimer>

#include <deque>
#include <memory>

namespace tenlog::platform {
class ChildProcess;
}

namespace tenlog::rig {

class RigctldDaemon;

inline constexpr int kDaemonListenWaitMs = 10000;
inline constexpr int kDaemonConnectTryMs = 200;

class RigctldPoller final : public RigLink {
    Q_OBJECT
public:
    // Without a process no rigctld can be started here: a Hamlib model in
    // the settings is then said to be unavailable.
    explicit RigctldPoller(platform::TcpClient& client, platform::ChildProcess* daemonProcess = nullptr,
                           QObject* parent = nullptr);
    ~RigctldPoller() override;

    void tick() override;

    // A set command ("F 28475000\n") while polling is paused; its "RPRT"
    // answer is taken by collectReplies() in turn with any poll answers
    // still owed. False when it cannot be written.
    bool sendCommand(const QByteArray& line);
    // Reads what has arrived and takes every whole line.
    void collectReplies();
    // The answer to the oldest command: "RPRT 0" is success; any other line
    // comes back as the daemon's words. Nothing while none has come.
    std::optional<QByteArray> takeCommandAnswer();
    bool connected() const { return linkUp() && m_client.isConnected(); }
    // A command's answer did not come in time: the connection starts again
    // (with the retry pause), since later answers could not be matched.
    void restartConnection(const QString& reason);

    // The log mode a rigctld mode name gives, or nothing to leave the mode.
    static std::optional<QString> logMode(const QByteArray& rigctldMode);

    // The rigctld this poller started, when it started one.
    const RigctldDaemon* daemon() const { return m_daemon.get(); }
    // Tests run a stand-in, and wait less for it.
    void setDaemonProgram(const QString& program);
    void setDaemonListenWaitMs(int ms) { m_listenWaitMs = ms; }

protected:
    // Connects to the host and port of the settings; the first poll goes out
    // once connected.
    Opened openLink() override;
    void dropLink() override;
    QString unreachableText() const override;
    QString waitingText() const override;
    void radioFellSilent() override;
    void linkStopped() override;

private:
    enum class Expect { Frequency, Mode, Passband, CommandReport };

    void sendTick();
    void receiveTick();
    // Takes one reply line; true when it changed the reading.
    bool takeLine(const QByteArray& line);
    QString where() const;
    // "rigctld at 127.0.0.1:4532", or the daemon started here.
    QString daemonName() const;
    // The same, short enough for the status line: the radio of a daemon
    // started here is in the detail.
    QString statusName() const;
    // Connects to where the daemon listens.
    void connectToDaemon();
    // A connection refused while a daemon just started opens its port.
    bool waitingForDaemon() const { return m_connectTriesLeft > 0; }

    platform::TcpClient& m_client;
    // Reads, takes whole lines; true when the reading changed.
    bool takeArrived(QByteArray& received);

    std::deque<Expect> m_expected;
    std::deque<QByteArray> m_setCommandReplies;
    QByteArray m_partialLine;
    // Ticks while the connection is not up yet; every second one is a poll.
    int m_ticksUnconnected = 0;

    std::unique_ptr<RigctldDaemon> m_daemon;
    // While a freshly started daemon has yet to open its port: how many
    // more connection tries it gets.
    int m_connectTriesLeft = 0;
    int m_listenWaitMs = kDaemonListenWaitMs;
    QTimer m_connectTry;
};

} // namespace tenlog::rig
