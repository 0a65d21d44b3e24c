// Keying on the RTS or DTR line of a serial port. The port is opened and
// closed by its owner on the user-interface thread; a closed port (or port
// number 0) keys nothing, which is harmless. The serial port must accept
// setRts/setDtr from the keying thread (the real port does; see QtSerialPort).
#pragma once

#include "platform/KeyLine.h"
#include "platform/SerialPort.h"

namespace tenlog::platform {

class SerialKeyLine final : public KeyLine {
public:
    enum class Line { Rts, Dtr };

    SerialKeyLine(SerialPort& port, Line line) : m_port(port), m_line(line) {}

    bool setKeyDown(bool down) override;
    QString errorString() const override { return {}; }

private:
    SerialPort& m_port;
    Line m_line;
};

// Opens port for keying (CW or PTT) on port number: the other keying port,
// which may be the same device, is closed first, and both lines start down.
// False when it cannot be opened (port.errorString() says why).
bool openForKeying(SerialPort& port, int number, SerialPort& otherKeyingPort);

} // namespace tenlog::platform
