// The serial devices present, from Qt's port listing and the /dev/serial/by-id
// links udev makes for USB adapters. Each device gets its by-id link when it
// has one, and what Qt does not say of a USB adapter's maker, product and
// serial number is read from sysfs. A by-id link to a device Qt does not list
// is a device too. The folders are parameters so that tests can lay out
// links to pseudo-terminals of their own.
#pragma once

#include "platform/SerialDevices.h"

namespace tenlog::platform {

class QtSerialDeviceList final : public SerialDeviceList {
public:
    explicit QtSerialDeviceList(QString byIdFolder = QStringLiteral("/dev/serial/by-id"),
                                QString sysTtyFolder = QStringLiteral("/sys/class/tty"));

    QList<SerialDevice> presentDevices() const override;
    std::optional<SerialDevice> deviceAt(const QString& path) const override;

private:
    void addSysDetails(SerialDevice& device) const;

    QString m_byIdFolder;
    QString m_sysTtyFolder;
};

} // namespace tenlog::platform
