// Polls a radio on the serial port: opens the port as the chosen radio needs
// it, sends the radio's requests on the send tick and decodes what it
// answered on the receive tick. "Ten Tec Pegasus" uses no port: its receive
// tick reads the Pegasus control program's file instead.
//
// A receive tick counts as answered only when the radio's parser found a
// frequency or a mode in it ("Other" has no parser: any reply counts). A
// port that fails underneath (a USB adapter pulled out) is reopened with the
// growing pause of RigLink.
#pragma once

#include "rig/RigLink.h"

#include "platform/SerialPort.h"

namespace tenlog::rig {

class RigPoller final : public RigLink {
    Q_OBJECT
public:
    // pegasusFolder holds the Pegasus control program's files.
    RigPoller(platform::SerialPort& port, QString pegasusFolder, QObject* parent = nullptr);
    ~RigPoller() override;

    // A polled Yaesu CAT radio is told the link ends (00 00 00 00 80).
    void closeLink() override;
    void tick() override;

    // Which request went last for radios polled one request a cycle: 1 after
    // a frequency request, 0 after a mode request. Kept across restarts.
    int queryToggle() const { return m_queryToggle; }

protected:
    Opened openLink() override;
    void dropLink() override;
    void beginPolling() override;
    QString unreachableText() const override;

private:
    struct Request {
        QByteArray bytes;
        int nextToggle;
    };

    const RigProfile* profile() const { return findRigProfile(m_settings.rigName); }
    bool openPort(const RigProfile& profile, QString* reason);
    // Nothing when a request string that must be hex byte text is not.
    std::optional<Request> buildRequest(const RigProfile& profile) const;
    void sendTick(const RigProfile& profile);
    void receiveTick(const RigProfile& profile);
    // Keeps reply back for the next receive tick while its last reply has
    // not ended (see replyFraming), a few ticks at most; true when held.
    bool holdUnendedReply(const QByteArray& reply, const RigProfile& profile);
    // Runs the radio's parser; true when it found a frequency or a mode.
    bool decodeReply(const QByteArray& reply, const RigProfile& profile);

    platform::SerialPort& m_port;
    QString m_pegasusFolder;
    int m_queryToggle = 0;
    // The last send tick asked the radio for something (or could not get
    // its request out), so silence on the receive tick is a missed poll.
    bool m_requestOwed = false;
    // The start of a reply that had not ended at the last receive tick, and
    // how many receive ticks in a row have waited for the rest of one.
    QByteArray m_heldReply;
    int m_heldTicks = 0;
};

} // namespace tenlog::rig
