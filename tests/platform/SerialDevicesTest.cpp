// What the setup windows say a port number stands for, over devices a test
// lays out: the device and its description, a device that is not there, no
// port at all, and the ports each device already serves.
#include "platform/ComPortMap.h"
#include "platform/SerialDevices.h"

#include "FakeSerialDeviceList.h"

#include <gtest/gtest.h>

using tenlog::platform::ComPortMap;
using tenlog::platform::SerialDevice;

namespace {

const SerialDevice& ftdi = tenlog::testing::kFtdiAdapter;
const SerialDevice cp210x {QStringLiteral("/dev/ttyUSB1"), QString(), QStringLiteral("Silicon Labs"),
                           QStringLiteral("Silicon Labs CP2102 USB to UART Bridge Controller"), QString()};
const SerialDevice bare {QStringLiteral("/dev/ttyACM0"), QString(), QString(), QString(), QString()};

tenlog::testing::FakeSerialDeviceList present()
{
    tenlog::testing::FakeSerialDeviceList list;
    list.devices = {ftdi, cp210x, bare};
    return list;
}

} // namespace

TEST(SerialDevices, SayWhatAPortStandsFor)
{
    const auto devices = present();
    const ComPortMap map(QString(),
                         "COM1=/dev/ttyUSB1\nCOM3=/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A5-if00-port0\n"
                         "COM4=/dev/ttyACM0\nCOM5=/dev/serial/by-id/usb-Gone_Adapter-if00-port0\n",
                         QStringLiteral("/home/op"));
    struct Case {
        int port;
        const char* text;
    };
    const Case cases[] = {
        {3, "COM3 = /dev/ttyUSB0 (FTDI FT232R USB UART)"},
        {1, "COM1 = /dev/ttyUSB1 (Silicon Labs CP2102 USB to UART Bridge Controller)"},
        {4, "COM4 = /dev/ttyACM0"},
        {5, "COM5 = /dev/serial/by-id/usb-Gone_Adapter-if00-port0 (not present)"},
        {2, "COM2 = /dev/ttyS1 (not present)"},
        {0, "No serial port chosen"},
        {11, "No serial port chosen"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tenlog::platform::portDeviceText(c.port, map, devices), QString::fromLatin1(c.text)) << c.port;

    const QMap<QString, QList<int>> ports = tenlog::platform::portsByDevice(map, devices);
    EXPECT_EQ(ports.value(ftdi.path), QList<int> {3});
    EXPECT_EQ(ports.value(bare.path), QList<int> {4});
    EXPECT_EQ(ports.size(), 3);
}

TEST(SerialDevices, DescribeAndNameTheirMapping)
{
    // The maker once, and alone when the product is not known; the by-id
    // link, which survives replugging, is the one mapped.
    EXPECT_EQ(cp210x.description(), cp210x.product);
    EXPECT_EQ((SerialDevice {QString(), QString(), QStringLiteral("Prolific"), QString(), QString()}).description(),
              QStringLiteral("Prolific"));
    EXPECT_EQ(ftdi.mappingPath(), ftdi.stablePath);
    EXPECT_EQ(tenlog::platform::descriptionFromStableName(QStringLiteral("usb-Arduino__www.arduino.cc__0043_75833-if00")),
              QStringLiteral("Arduino www.arduino.cc 0043 75833"));
}
