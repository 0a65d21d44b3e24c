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

} // namespace tenlog::platform
