// The device row beside a port choice and its chooser, as an operator uses
// them from the keyboard: over devices a test lays out and a real
// ComPorts.txt in a temporary folder.
#include "common/ui/PortDeviceRow.h"
#include "common/ui/SerialDeviceChooser.h"
#include "platform/ComPortMapFile.h"
#include "platform/DurableFile.h"

#include "FakeSerialDeviceList.h"
#include "FileBytes.h"
#include "ScriptedDialogs.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace tenlog;
using tenlog::testing::fileBytes;

namespace {

const platform::SerialDevice& ftdi = tenlog::testing::kFtdiAdapter;
const platform::SerialDevice& acm = tenlog::testing::kKeyerAdapter;

// A window with a port box, as the CW and voice windows have, and the row
// beside it.
class PortDeviceChooserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        list.devices = {ftdi, acm};
        ASSERT_TRUE(platform::writeFileAtomically(mapPath(), "# mine\nCOM3=/dev/ttyACM0\n"));
        mapping.emplace(mapPath(), root.path());
        devices.emplace(common::PortDevices {*mapping, list});
        auto* layout = new QVBoxLayout(&host);
        port = new QLineEdit(QStringLiteral("3"), &host);
        layout->addWidget(port);
        row = common::addPortDeviceRow(layout, port, &*devices, dialogs, QStringLiteral("CW keying"), [this] { ++mapped; });
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    }

    QString mapPath() const { return QDir(root.path()).filePath(QStringLiteral("ComPorts.txt")); }
    QString shown() const { return host.findChild<QLabel*>(QStringLiteral("lblPortDevice"))->text(); }
    QPushButton* chooseButton() const { return host.findChild<QPushButton*>(QStringLiteral("cmdChoosePortDevice")); }

    // Presses "Choose..." from the keyboard; script works the chooser.
    void choose(std::function<void(QDialog*)> script)
    {
        dialogs.modalScripts.push_back([script](QDialog* d) {
            d->show();
            QApplication::setActiveWindow(d);
            EXPECT_TRUE(QTest::qWaitForWindowActive(d));
            script(d);
            return d->result();
        });
        chooseButton()->setFocus();
        QTest::keyClick(chooseButton(), Qt::Key_Space);
    }
    static void key(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); }

    QTemporaryDir root;
    tenlog::testing::FakeSerialDeviceList list;
    tenlog::testing::ScriptedDialogs dialogs;
    std::optional<platform::ComPortMapFile> mapping;
    std::optional<common::PortDevices> devices;
    QWidget host;
    QLineEdit* port = nullptr;
    common::PortDeviceRow* row = nullptr;
    int mapped = 0;
};

} // namespace

TEST_F(PortDeviceChooserTest, ChosenFromTheKeyboardTheMappingIsWrittenAndShown)
{
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(shown(), QStringLiteral("COM3 = /dev/ttyACM0 (Keyer)"));
    choose([](QDialog* d) {
        auto* devicesList = d->findChild<QListWidget*>(QStringLiteral("lstSerialDevices"));
        EXPECT_EQ(QApplication::focusWidget(), devicesList);
        EXPECT_EQ(d->findChild<QLabel*>(QStringLiteral("lblCurrentDevice"))->text(),
                  QStringLiteral("Now: COM3 = /dev/ttyACM0 (Keyer)"));
        EXPECT_EQ(devicesList->currentRow(), 1) << "the device mapped now is the one chosen at first";
        EXPECT_EQ(devicesList->item(0)->text(),
                  QStringLiteral("/dev/ttyUSB0  FTDI FT232R USB UART, serial A5\nby-id: usb-FTDI_FT232R_USB_UART_A5-if00-port0"));
        EXPECT_EQ(devicesList->item(1)->text(), QStringLiteral("/dev/ttyACM0  Keyer (now COM3)"));
        key(Qt::Key_Up);
        key(Qt::Key_Return);
    });
    EXPECT_EQ(fileBytes(mapPath()), QByteArray("# mine\nCOM3=/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A5-if00-port0\n"))
        << "the by-id link, in place of the old line";
    EXPECT_EQ(shown(), QStringLiteral("COM3 = /dev/ttyUSB0 (FTDI FT232R USB UART)"));
    EXPECT_EQ(host.findChild<QLabel*>(QStringLiteral("lblPortDevice"))->accessibleName(),
              QStringLiteral("CW keying port: COM3 = /dev/ttyUSB0 (FTDI FT232R USB UART)"));
    EXPECT_EQ(mapped, 1) << "the window lets go of the old device";

    // The row follows the number typed; no port, nothing to choose.
    port->setText(QStringLiteral("0"));
    EXPECT_EQ(shown(), QStringLiteral("No serial port chosen"));
    EXPECT_FALSE(chooseButton()->isEnabled());
    port->setEnabled(false);
    EXPECT_FALSE(row->isEnabled()) << "available while the choice is";
}

TEST_F(PortDeviceChooserTest, EscKeepsTheMappingAndAFailureIsSaidInTheChooser)
{
    choose([](QDialog* d) {
        key(Qt::Key_Down);
        key(Qt::Key_Escape);
        EXPECT_FALSE(d->isVisible());
    });
    EXPECT_EQ(fileBytes(mapPath()), QByteArray("# mine\nCOM3=/dev/ttyACM0\n"));
    EXPECT_EQ(mapped, 0);

    // A ComPorts.txt that cannot be read is not replaced; the chooser says
    // why and stays open for the operator to cancel.
    QTemporaryDir other;
    platform::ComPortMapFile blocked(other.path(), other.path());
    common::PortDevices blockedDevices {blocked, list};
    common::SerialDeviceChooser chooser(blockedDevices, 3);
    chooser.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&chooser));
    key(Qt::Key_Return);
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_TRUE(chooser.findChild<QLabel*>(QStringLiteral("lblChooserStatus"))->text().contains(QStringLiteral("could not be read")));
    key(Qt::Key_Escape);
    EXPECT_FALSE(chooser.isVisible());

    // Nothing plugged in: said, and nothing to use.
    list.devices.clear();
    common::SerialDeviceChooser empty(*devices, 3);
    EXPECT_EQ(empty.findChild<QLabel*>(QStringLiteral("lblChooserStatus"))->text(),
              QStringLiteral("No serial devices found. Plug in the interface, then press Refresh."));
    EXPECT_FALSE(empty.findChild<QPushButton*>(QStringLiteral("cmdUseDevice"))->isEnabled());
    list.devices = {acm};
    QTest::mouseClick(empty.findChild<QPushButton*>(QStringLiteral("cmdRefresh")), Qt::LeftButton);
    EXPECT_EQ(empty.findChild<QListWidget*>(QStringLiteral("lstSerialDevices"))->count(), 1);
    EXPECT_TRUE(empty.findChild<QPushButton*>(QStringLiteral("cmdUseDevice"))->isEnabled());
}
