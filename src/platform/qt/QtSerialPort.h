// SerialPort on QSerialPort. The port number becomes a device path through
// the operator's ComPorts.txt mapping, looked up at each open: a port given
// the program's shared mapping follows a port mapped to a new device. Open failures are put in the
// operator's words, naming the port, the device and what Linux said, with
// the usual remedy (the dialout group, the mapping file, the other program).
// A pseudo-terminal has no RTS or DTR: that is taken as a device without
// control lines, not as an error. A device another of this program's ports
// holds open is refused with a message that says so. A device that fails while open (a USB
// adapter pulled out) closes the port and reports once.
// setRts and setDtr may also be called from a keying thread: there they set
// the line with one ioctl, under a lock that close and failure take too, so
// the keying thread never touches a closed device.
#pragma once

#include "platform/ComPortMap.h"
#include "platform/SerialPort.h"
#include "platform/SerialSettings.h"

#include <QObject>
#include <QSerialPort>

#include <memory>
#include <mutex>

namespace tenlog::platform {

class QtSerialPort final : public QObject, public SerialPort {
    Q_OBJECT
public:
    // A port with a mapping of its own.
    explicit QtSerialPort(ComPortMap ports, QObject* parent = nullptr);
    // A port that opens by the mapping the program shares and changes.
    explicit QtSerialPort(std::shared_ptr<const ComPortMap> ports, QObject* parent = nullptr);
    ~QtSerialPort() override;

    void setPortNumber(int number) override;
    int portNumber() const override { return m_number; }
    bool setSettings(const QString& settings) override;
    void setRtsHandshake(bool on) override;
    void setXonXoff(bool on) override { m_xonXoff = on; }

    bool open() override;
    void close() override;
    bool isOpen() const override;
    QString errorString() const override { return m_error; }

    void setRts(bool on) override;
    void setDtr(bool on) override;

    bool write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    qint64 bytesToWrite() const override;

    void setReadyReadHandler(std::function<void()> handler) override;
    void setFailureHandler(std::function<void(const QString& reason)> handler) override;

    // False after open() on a device that refused RTS/DTR (a pseudo-terminal).
    bool hasControlLines() const { return m_hasControlLines; }

private:
    QString portName() const;
    QString describeOpenFailure(const QString& device) const;
    void applyControlLines();
    bool applyLine(bool (QSerialPort::*set)(bool), bool on);
    void onError(QSerialPort::SerialPortError error);
    void finishFailure();
    void setLineFromOtherThread(int line, bool on);
    // Lets another of this program's ports open the device again.
    void releaseDevice();
    void setKeyingHandle(int fd);

    std::shared_ptr<const ComPortMap> m_ports;
    QSerialPort m_port;
    int m_number = 1;
    QString m_device; // the path of the last open()
    QString m_claimedDevice; // its real path while this port holds it open
    SerialSettings m_settings {9600, 'N', 8, 1};
    bool m_rtsHandshake = false;
    bool m_xonXoff = false;
    bool m_rts = false;
    bool m_dtr = false;
    bool m_hasControlLines = true;
    bool m_applyingLines = false;
    // Set from the moment the device fails until the queued close has run:
    // the port counts as closed at once, though QSerialPort is only closed
    // once its own notification has returned.
    bool m_failing = false;
    QString m_failureReason;
    QString m_error;
    std::function<void()> m_readyRead;
    std::function<void(const QString&)> m_failed;
    // The open device for keying-thread line changes; -1 while closed.
    std::mutex m_keyingLock;
    int m_keyingFd = -1;
};

} // namespace tenlog::platform
