// The real device listing over the pseudo-terminals of radio emulators that
// stand for USB adapters: by-id links and sysfs entries laid out in temporary
// folders, as udev and the kernel lay them out.
#include "platform/qt/QtSerialDeviceList.h"

#include "platform/DurableFile.h"

#include "RadioEmulatorProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using tenlog::platform::SerialDevice;
using tenlog::platform::writeFileAtomically;
using tenlog::testing::RadioEmulatorProcess;

namespace {

const SerialDevice* findByPath(const QList<SerialDevice>& devices, const QString& path)
{
    for (const SerialDevice& device : devices) {
        if (device.path == path)
            return &device;
    }
    return nullptr;
}

} // namespace

TEST(QtSerialDeviceList, ListsAdaptersWithTheirByIdNamesAndUsbStrings)
{
    RadioEmulatorProcess rigAdapter(QStringLiteral(TENLOG_KENWOOD_EMULATOR));
    RadioEmulatorProcess keyerAdapter(QStringLiteral(TENLOG_KENWOOD_EMULATOR));
    RadioEmulatorProcess unlisted(QStringLiteral(TENLOG_KENWOOD_EMULATOR));
    ASSERT_TRUE(rigAdapter.start() && keyerAdapter.start() && unlisted.start()) << rigAdapter.error().toStdString();
    QTemporaryDir root;
    const QDir dir(root.path());
    const QString rigLink = dir.filePath(QStringLiteral("by-id/usb-FTDI_FT232R_USB_UART_A5-if00-port0"));
    const QString keyerLink = dir.filePath(QStringLiteral("by-id/usb-Acme_Keyer_K2-if00-port0"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("by-id"))));
    ASSERT_TRUE(QFile::link(rigAdapter.ptyPath(), rigLink));
    ASSERT_TRUE(QFile::link(keyerAdapter.ptyPath(), keyerLink));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone")), dir.filePath(QStringLiteral("by-id/usb-Gone-if00-port0"))));
    // sysfs: the tty's device is the usb-serial port, two folders under the
    // USB device that holds the maker's strings.
    const QString usbDevice = dir.filePath(QStringLiteral("devices/usb1/1-4"));
    const QString port = usbDevice + QStringLiteral("/1-4:1.0/ttyUSB9");
    ASSERT_TRUE(QDir().mkpath(port));
    for (const auto& [name, text] : {std::pair{"idVendor", "0403\n"}, {"manufacturer", "FTDI\n"}, {"product", "FT232R USB UART\n"},
                                     {"serial", "A5\n"}})
        ASSERT_TRUE(writeFileAtomically(usbDevice + u'/' + QLatin1String(name), text));
    const QString ttyEntry = dir.filePath(QStringLiteral("class/tty/")) + QFileInfo(rigAdapter.ptyPath()).fileName();
    ASSERT_TRUE(QDir().mkpath(ttyEntry));
    ASSERT_TRUE(QFile::link(port, ttyEntry + QStringLiteral("/device")));

    const tenlog::platform::QtSerialDeviceList list(dir.filePath(QStringLiteral("by-id")), dir.filePath(QStringLiteral("class/tty")));
    const QList<SerialDevice> present = list.presentDevices();
    const SerialDevice* rig = findByPath(present, rigAdapter.ptyPath());
    ASSERT_NE(rig, nullptr);
    EXPECT_EQ(rig->stablePath, rigLink);
    EXPECT_EQ(rig->description(), QStringLiteral("FTDI FT232R USB UART"));
    EXPECT_EQ(rig->serialNumber, QStringLiteral("A5"));
    EXPECT_EQ(rig->mappingPath(), rigLink);
    const SerialDevice* keyer = findByPath(present, keyerAdapter.ptyPath());
    ASSERT_NE(keyer, nullptr);
    EXPECT_EQ(keyer->description(), QStringLiteral("Acme Keyer K2")) << "told by its by-id name alone";
    EXPECT_EQ(findByPath(present, unlisted.ptyPath()), nullptr) << "no by-id link, not a port Qt knows";
    EXPECT_EQ(findByPath(present, dir.filePath(QStringLiteral("gone"))), nullptr);

    // Found again by any name it goes by; a path with nothing behind it, or
    // no device behind it, is not there.
    EXPECT_EQ(list.deviceAt(rigLink), *rig);
    EXPECT_EQ(list.deviceAt(rigAdapter.ptyPath()), *rig);
    const std::optional<SerialDevice> other = list.deviceAt(unlisted.ptyPath());
    ASSERT_TRUE(other) << "a terminal device that can be opened is there";
    EXPECT_TRUE(other->description().isEmpty());
    EXPECT_FALSE(list.deviceAt(dir.filePath(QStringLiteral("gone"))));
    EXPECT_FALSE(list.deviceAt(usbDevice + QStringLiteral("/serial"))) << "a plain file is no device";
}
