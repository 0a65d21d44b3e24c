// An in-memory serial port: records what was written (with the time on a
// settable clock) and the line and parameter calls, hands out replies the
// test queued, and can refuse to open, hold bytes in its output buffer, or
// fail underneath.
#pragma once

#include "platform/Clock.h"
#include "platform/SerialPort.h"

#include <QList>
#include <QStringList>

namespace tenlog::testing {

class FakeSerialPort final : public platform::SerialPort {
public:
    struct Write {
        QByteArray bytes;
        qint64 atMs;
    };

    explicit FakeSerialPort(const platform::Clock* clock = nullptr) : m_clock(clock) {}

    void setPortNumber(int number) override { m_portNumber = number; log(QStringLiteral("port %1").arg(number)); }
    int portNumber() const override { return m_portNumber; }
    bool setSettings(const QString& settings) override;
    void setRtsHandshake(bool on) override { m_rtsHandshake = on; log(QStringLiteral("handshake %1").arg(on)); }
    void setXonXoff(bool on) override { log(QStringLiteral("xonxoff %1").arg(on)); }

    bool open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    QString errorString() const override { return m_error; }

    void setRts(bool on) override { m_rts = on; log(QStringLiteral("rts %1").arg(on)); }
    void setDtr(bool on) override { m_dtr = on; log(QStringLiteral("dtr %1").arg(on)); }

    bool write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    qint64 bytesToWrite() const override { return m_open ? m_undrained : 0; }

    void setReadyReadHandler(std::function<void()> handler) override { m_readyRead = std::move(handler); }
    void setFailureHandler(std::function<void(const QString&)> handler) override { m_failure = std::move(handler); }

    // Test controls.
    void queueReply(const QByteArray& bytes);
    void refuseOpen(const QString& reason) { m_refuseOpen = reason; }
    void holdOutput(qint64 bytes) { m_undrained = bytes; }
    // The device goes away: the port closes and the failure handler runs.
    void failUnderneath(const QString& reason);

    const QList<Write>& writes() const { return m_writes; }
    QByteArray written() const;
    void clearWrites() { m_writes.clear(); }
    // Every setting and line call in order, as short words ("open", "rts 1").
    const QStringList& calls() const { return m_calls; }
    QString settings() const { return m_settings; }
    bool rts() const { return m_rts; }
    bool dtr() const { return m_dtr; }
    bool rtsHandshake() const { return m_rtsHandshake; }
    int openCount() const { return m_openCount; }

private:
    void log(const QString& call) { m_calls.append(call); }

    const platform::Clock* m_clock;
    int m_portNumber = 1;
    QString m_settings = QStringLiteral("9600,N,8,1");
    bool m_rtsHandshake = false;
    bool m_open = false;
    bool m_rts = false;
    bool m_dtr = false;
    int m_openCount = 0;
    QString m_error;
    QString m_refuseOpen;
    qint64 m_undrained = 0;
    QByteArray m_incoming;
    QList<Write> m_writes;
    QStringList m_calls;
    std::function<void()> m_readyRead;
    std::function<void(const QString&)> m_failure;
};

} // namespace tenlog::testing
