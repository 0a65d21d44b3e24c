// Polls a radio on the serial port: opens the port as the chosen radio needs
// it, sends the radio's requests on the send tick and decodes what it
// answered on the receive tick. "Ten Tec Pegasus" uses no port: its receive
// tick reads the Pegasus control program's file instead.
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

    bool start() override;
    void stop() override;
    // A polled Yaesu CAT radio is told the link ends (00 00 00 00 80).
    void closeLink() override;
    void tick() override;

    // Which request went last for radios polled one request a cycle: 1 after
    // a frequency request, 0 after a mode request. Kept across restarts.
    int queryToggle() const { return m_queryToggle; }

protected:
    bool linkUp() const override { return m_linkUp; }
    void dropLink() override;

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

    platform::SerialPort& m_port;
    QString m_pegasusFolder;
    int m_queryToggle = 0;
    bool m_linkUp = false;
};

} // namespace tenlog::rig
