// The parallel port's control register through Linux ppdev: the base address
// chooses the device (0x378 parport0, 0x278 parport1, 0x3BC parport2), which
// is opened and claimed at the first write and kept until destruction or an
// error. Safe to call from the keying thread; one thread writes at a time.
#pragma once

#include "platform/PortIo.h"

#include <mutex>

namespace tenlog::platform {

class PpdevPortIo final : public PortIo {
public:
    // deviceFolder is "/dev" outside tests.
    explicit PpdevPortIo(QString deviceFolder = QStringLiteral("/dev"));
    ~PpdevPortIo() override;

    bool writeControl(int baseAddress, std::uint8_t value) override;
    QString errorString() const override;

    // The device for a base address, or an empty text when none maps to it.
    QString devicePath(int baseAddress) const;

private:
    void release();

    QString m_folder;
    mutable std::mutex m_lock;
    int m_fd = -1;
    int m_address = 0;
    QString m_error;
};

} // namespace tenlog::platform
