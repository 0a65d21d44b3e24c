#include "platform/SerialKeyLine.h"

namespace tenlog::platform {

bool SerialKeyLine::setKeyDown(bool down)
{
    if (m_line == Line::Rts)
        m_port.setRts(down);
    else
        m_port.setDtr(down);
    return true;
}

bool openForKeying(SerialPort& port, int number, SerialPort& otherKeyingPort)
{
    if (otherKeyingPort.isOpen())
        otherKeyingPort.close();
    if (port.isOpen())
        port.close();
    port.setPortNumber(number);
    port.setDtr(false);
    port.setRts(false);
    return port.open();
}

} // namespace tenlog::platform
