#include "platform/ParallelKeyLine.h"

namespace tenlog::platform {

ParallelKeyLine::ParallelKeyLine(PortIo& io, const QString& addressText)
    : m_io(io), m_address(parseAddress(addressText)), m_addressText(addressText)
{
}

std::optional<int> ParallelKeyLine::parseAddress(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    int value = 0;
    if (trimmed.startsWith(QLatin1String("&H"), Qt::CaseInsensitive))
        value = trimmed.mid(2).toInt(&ok, 16);
    else
        value = trimmed.toInt(&ok, 10);
    if (!ok || value < 1 || value > 32767)
        return std::nullopt;
    return value;
}

bool ParallelKeyLine::setKeyDown(bool down)
{
    if (!m_address) {
        m_error = QStringLiteral("The parallel port address \"%1\" is not an address such as &H378.").arg(m_addressText);
        return false;
    }
    if (!m_io.writeControl(*m_address, down ? 3 : 2)) {
        m_error = m_io.errorString();
        return false;
    }
    return true;
}

} // namespace tenlog::platform
