// The parallel (printer) port's control register, the only register the
// keyers write: 3 keys the transmitter down, 2 lets it up. The port is named
// by its base I/O address as the operator gives it (0x378, 0x278, 0x3BC).
#pragma once

#include <QString>

#include <cstdint>

namespace tenlog::platform {

class PortIo {
public:
    virtual ~PortIo() = default;

    // Writes value to the control register of the port at baseAddress. False
    // when that is not possible; errorString() then says why in words for the
    // operator.
    virtual bool writeControl(int baseAddress, std::uint8_t value) = 0;
    virtual QString errorString() const = 0;
};

} // namespace tenlog::platform
