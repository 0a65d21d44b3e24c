// The serial devices a test says are present: a device is found by its path
// or by its by-id link, and anything else is not there.
#pragma once

#include "platform/SerialDevices.h"

namespace tenlog::testing {

// A USB adapter as udev and sysfs describe it, and a keyer that tells only
// its product.
inline const platform::SerialDevice kFtdiAdapter{
    QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A5-if00-port0"),
    QStringLiteral("FTDI"), QStringLiteral("FT232R USB UART"), QStringLiteral("A5")};
inline const platform::SerialDevice kKeyerAdapter{QStringLiteral("/dev/ttyACM0"), QString(), QString(), QStringLiteral("Keyer"),
                                                  QString()};

class FakeSerialDeviceList final : public platform::SerialDeviceList {
public:
    QList<platform::SerialDevice> devices;

    QList<platform::SerialDevice> presentDevices() const override { return devices; }
    std::optional<platform::SerialDevice> deviceAt(const QString& path) const override
    {
        for (const platform::SerialDevice& device : devices) {
            if (!path.isEmpty() && (device.path == path || device.stablePath == path))
                return device;
        }
        return std::nullopt;
    }
};

} // namespace tenlog::testing
