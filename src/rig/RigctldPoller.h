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
#pragma once

#include "rig/RigLink.h"

#include "platform/TcpClient.h"

#include <deque>

namespace tenlog::rig {

class RigctldPoller final : public RigLink {
    Q_OBJECT
public:
    explicit RigctldPoller(platform::TcpClient& client, QObject* parent = nullptr);
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

protected:
    // Connects to the host and port of the settings; the first poll goes out
    // once connected.
    Opened openLink() override;
    void dropLink() override;
    QString unreachableText() const override;
    QString waitingText() const override;
    void radioFellSilent() override;

private:
    enum class Expect { Frequency, Mode, Passband, CommandReport };

    void sendTick();
    void receiveTick();
    // Takes one reply line; true when it changed the reading.
    bool takeLine(const QByteArray& line);
    QString where() const;

    platform::TcpClient& m_client;
    // Reads, takes whole lines; true when the reading changed.
    bool takeArrived(QByteArray& received);

    std::deque<Expect> m_expected;
    std::deque<QByteArray> m_setCommandReplies;
    QByteArray m_partialLine;
    // Ticks while the connection is not up yet; every second one is a poll.
    int m_ticksUnconnected = 0;
};

} // namespace tenlog::rig
