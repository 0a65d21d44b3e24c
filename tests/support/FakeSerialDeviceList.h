// The serial devices a test says are present: a device is found by its path
// or by its by-id link, and anything else is not there.
#pragma once

#include "platform/SerialDevices.h"

namespace tenlog::testing {

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
