#include "FakeSerialPort.h"

#include <QRegularExpression>

namespace tenlog::testing {

bool FakeSerialPort::setSettings(const QString& settings)
{
    static const QRegularExpression form(QStringLiteral("^\\d+,[NOE],[78],[12]$"));
    if (!form.match(settings).hasMatch())
        return false;
    m_settings = settings;
    log(QStringLiteral("settings %1").arg(settings));
    return true;
}

bool FakeSerialPort::open()
{
    log(QStringLiteral("open"));
    if (!m_refuseOpen.isEmpty()) {
        m_error = m_refuseOpen;
        return false;
    }
    m_open = true;
    ++m_openCount;
    return true;
}

void FakeSerialPort::close()
{
    log(QStringLiteral("close"));
    m_open = false;
}

bool FakeSerialPort::write(const QByteArray& bytes)
{
    if (!m_open)
        return false;
    m_writes.append({bytes, m_clock ? m_clock->monotonicMs() : 0});
    return true;
}

QByteArray FakeSerialPort::readAll()
{
    return std::exchange(m_incoming, {});
}

void FakeSerialPort::queueReply(const QByteArray& bytes)
{
    m_incoming += bytes;
    if (m_readyRead)
        m_readyRead();
}

void FakeSerialPort::failUnderneath(const QString& reason)
{
    m_open = false;
    if (m_failure)
        m_failure(reason);
}

QByteArray FakeSerialPort::written() const
{
    QByteArray all;
    for (const Write& write : m_writes)
        all += write.bytes;
    return all;
}

} // namespace tenlog::testing
