// The serial devices present on this machine, as the port chooser lists them
// and as the setup windows describe the device a port number maps to. The
// listing is a seam: the real one asks Qt and /dev/serial/by-id, tests hand
// in their own.
#pragma once

#include <QList>
#include <QMap>
#include <QString>

#include <optional>

namespace tenlog::platform {

class ComPortMap;

struct SerialDevice {
    // The kernel's device, /dev/ttyUSB0.
    QString path;
    // Its /dev/serial/by-id link, which keeps naming this adapter when it is
    // plugged in again elsewhere; empty when it has none.
    QString stablePath;
    QString manufacturer;
    QString product;
    QString serialNumber;

    // "FTDI FT232R USB UART": maker and product, the maker once; empty when
    // nothing is known.
    QString description() const;
    // What a mapping should name: the by-id link when there is one.
    QString mappingPath() const { return stablePath.isEmpty() ? path : stablePath; }

    bool operator==(const SerialDevice&) const = default;
};

class SerialDeviceList {
public:
    virtual ~SerialDeviceList() = default;
    // The devices present now, in the order of their paths.
    virtual QList<SerialDevice> presentDevices() const = 0;
    // The device a path names (a device, or a link to one) when it is there;
    // nothing when it is not.
    virtual std::optional<SerialDevice> deviceAt(const QString& path) const = 0;
};

// What a port number stands for, for the operator:
//   "COM3 = /dev/ttyUSB0 (FTDI FT232R USB UART)"
//   "COM3 = /dev/ttyS2 (not present)"
// A number outside the ports gives "No serial port chosen".
QString portDeviceText(int number, const ComPortMap& map, const SerialDeviceList& devices);

// The port numbers mapped to each device present, by the device's kernel
// path (a port mapped by its by-id link counts for the device it names), so
// the chooser can say which adapter already serves which port.
QMap<QString, QList<int>> portsByDevice(const ComPortMap& map, const SerialDeviceList& devices);

// A description made from a by-id link's name, for a device nothing else
// describes: "usb-FTDI_FT232R_USB_UART_A5-if00-port0" gives
// "FTDI FT232R USB UART A5".
QString descriptionFromStableName(const QString& linkName);

} // namespace tenlog::platform
