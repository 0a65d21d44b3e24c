// Beside a serial port choice: the device the chosen port number maps to
// ("COM3 = /dev/ttyUSB0 (FTDI FT232R USB UART)") and a "Choose..." button
// that maps that number to a device present, through the chooser. The row
// follows the choice it is added under, and looks again each time its window
// is shown (an adapter may have been plugged in meanwhile). The rig, TNC,
// CW keying and PTT ports each get one with a single call.
#pragma once

#include <QWidget>

#include <functional>

class QButtonGroup;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;

namespace tenlog::platform {
class ComPortMapFile;
class Dialogs;
class SerialDeviceList;
}

namespace tenlog::common {

// The program's port mapping and the devices present, shared by the rows.
struct PortDevices {
    platform::ComPortMapFile& mapping;
    const platform::SerialDeviceList& devices;
};

class PortDeviceRow : public QWidget {
    Q_OBJECT
public:
    // portNumber gives the number chosen now (anything outside 1 to 10 is
    // none); purpose names the port for a screen reader ("rig"). The row is
    // available exactly when the choice control is (follows).
    PortDeviceRow(PortDevices& devices, platform::Dialogs& dialogs, std::function<int()> portNumber,
                  const QString& purpose, QWidget* follows, QWidget* parent = nullptr);

    // Shows what the chosen number maps to now.
    void refresh();

signals:
    // The operator mapped this port number to another device.
    void mapped(int number);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void choose();

    PortDevices& m_devices;
    platform::Dialogs& m_dialogs;
    std::function<int()> m_portNumber;
    QString m_purpose;
    QWidget* m_follows = nullptr;
    QLabel* m_device = nullptr;
    QPushButton* m_choose = nullptr;
};

// Adds a row under a port choice made with option buttons whose ids are the
// port numbers less one, or typed as a number into a box (0 for none), at the
// end of layout (a grid: a new row across it), so the caller places it by
// when it calls. The row is available while the choice is. whenMapped runs after the
// operator has mapped the port to another device, for the window to let go
// of the old one. Without devices nothing is added and nullptr comes back.
PortDeviceRow* addPortDeviceRow(QLayout* layout, QButtonGroup* choice, PortDevices* devices,
                                platform::Dialogs& dialogs, const QString& purpose, std::function<void()> whenMapped);
PortDeviceRow* addPortDeviceRow(QLayout* layout, QLineEdit* choice, PortDevices* devices, platform::Dialogs& dialogs,
                                const QString& purpose, std::function<void()> whenMapped);

} // namespace tenlog::common
