// Keying on a parallel port: the control register gets 3 for key down and 2
// for key up. The address is kept as the operator wrote it ("&H378"); a text
// that is not an address fails at every element with a message.
#pragma once

#include "platform/KeyLine.h"
#include "platform/PortIo.h"

#include <optional>

namespace tenlog::platform {

class ParallelKeyLine final : public KeyLine {
public:
    ParallelKeyLine(PortIo& io, const QString& addressText);

    bool setKeyDown(bool down) override;
    QString errorString() const override { return m_error; }

    // "&H378" -> 0x378, "888" -> 888; nothing for anything that is not a
    // number from 1 to 32767 (the range of a 16-bit signed address).
    static std::optional<int> parseAddress(const QString& text);

private:
    PortIo& m_io;
    std::optional<int> m_address;
    QString m_addressText;
    QString m_error;
};

} // namespace tenlog::platform
