// The chooser that maps one serial port number to a device present: it
// lists the serial devices with their maker, product, serial number, by-id
// name and the ports already mapped to them, and "Use for COMn" writes the
// mapping (the by-id link when the device has one, so the adapter keeps its
// number when plugged in again). Keyboard first: the list has the focus,
// Enter uses the device chosen, Esc leaves everything as it was. A mapping
// that cannot be written is said in the dialog, which stays open.
#pragma once

#include "platform/SerialDevices.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace tenlog::common {

struct PortDevices;

class SerialDeviceChooser : public QDialog {
    Q_OBJECT
public:
    SerialDeviceChooser(PortDevices& devices, int number, QWidget* parent = nullptr);

    // Lists the devices present again.
    void refresh();
    // Maps the port to the device chosen and closes; stays open when the
    // mapping cannot be written.
    void accept() override;

private:
    void showCurrentMapping();

    PortDevices& m_devices;
    int m_number;
    QList<platform::SerialDevice> m_present;
    QLabel* m_current = nullptr;
    QListWidget* m_list = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_use = nullptr;
};

} // namespace tenlog::common
