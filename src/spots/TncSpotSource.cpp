#include "spots/TncSpotSource.h"

#include "platform/SerialPort.h"

namespace tenlog::spots {

TncSpotSource::TncSpotSource(platform::SerialPort& port, QObject* parent) : QObject(parent), m_port(port)
{
    // A USB adapter pulled out closes the port underneath.
    m_port.setFailureHandler([this](const QString& reason) {
        m_lines.clear();
        emit failed(reason);
    });
}

TncSpotSource::~TncSpotSource()
{
    m_port.setFailureHandler({});
}

bool TncSpotSource::open(const TncSettings& settings)
{
    close();
    m_openFailure.clear();
    m_port.setPortNumber(settings.port);
    if (!m_port.setSettings(settings.settings)) {
        m_openFailure = QStringLiteral("COM%1 cannot be opened: the settings %2 are not valid.")
                            .arg(settings.port)
                            .arg(settings.settings);
        return false;
    }
    m_port.setDtr(false);
    m_port.setRts(false);
    const bool rtsHandshake = settings.handshake == 3 || settings.handshake == 4;
    m_port.setRtsHandshake(rtsHandshake);
    m_port.setXonXoff(settings.handshake == 2 || settings.handshake == 4);
    if (rtsHandshake)
        m_port.setRts(true);
    if (!m_port.open()) {
        m_openFailure = m_port.errorString();
        if (m_openFailure.isEmpty())
            m_openFailure = QStringLiteral("COM%1 cannot be opened.").arg(settings.port);
        return false;
    }
    if (settings.power == QLatin1Char('R'))
        m_port.setRts(true);
    else if (settings.power == QLatin1Char('D'))
        m_port.setDtr(true);
    return true;
}

void TncSpotSource::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_lines.clear();
}

bool TncSpotSource::isOpen() const
{
    return m_port.isOpen();
}

QString TncSpotSource::errorString() const
{
    return m_openFailure.isEmpty() ? m_port.errorString() : m_openFailure;
}

void TncSpotSource::poll()
{
    if (!m_port.isOpen())
        return;
    const QByteArray bytes = m_port.readAll();
    if (bytes.isEmpty())
        return;
    m_lines.feed(QString::fromLatin1(bytes), [this](const QString& line) { emit lineReceived(line); });
}

bool TncSpotSource::sendLine(const QString& line)
{
    return m_port.isOpen() && m_port.write(line.toLatin1() + '\r');
}

bool TncSpotSource::sendCommandCharacter(const QString& hexDigits)
{
    bool ok = false;
    const QString digits = hexDigits.trimmed();
    const int code = digits.toInt(&ok, 16);
    if (!ok || digits.isEmpty() || digits.size() > 2 || code < 0)
        return false;
    return m_port.isOpen() && m_port.write(QByteArray(1, static_cast<char>(code)));
}

} // namespace tenlog::spots
