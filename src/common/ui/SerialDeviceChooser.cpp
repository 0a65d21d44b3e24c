#include "common/ui/SerialDeviceChooser.h"

#include "common/ui/NamedWidget.h"
#include "common/ui/PortDeviceRow.h"
#include "platform/ComPortMapFile.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tenlog::common {

namespace {

// Two lines: the device and what it is, then its by-id name.
QString deviceText(const platform::SerialDevice& device, const QList<int>& ports)
{
    QString text = device.path;
    const QString description = device.description();
    if (!description.isEmpty())
        text += QStringLiteral("  ") + description;
    if (!device.serialNumber.isEmpty())
        text += QStringLiteral(", serial ") + device.serialNumber;
    if (!ports.isEmpty()) {
        QStringList names;
        for (int port : ports)
            names << QStringLiteral("COM%1").arg(port);
        text += QStringLiteral(" (now ") + names.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    if (!device.stablePath.isEmpty())
        text += QStringLiteral("\nby-id: ") + QFileInfo(device.stablePath).fileName();
    return text;
}

} // namespace

SerialDeviceChooser::SerialDeviceChooser(PortDevices& devices, int number, QWidget* parent)
    : QDialog(parent)
    , m_devices(devices)
    , m_number(number)
{
    setObjectName(QStringLiteral("SerialDeviceChooser"));
    setWindowTitle(QStringLiteral("Serial Device for COM%1").arg(number));
    setAccessibleName(QStringLiteral("Choose the serial device for COM%1").arg(number));
    // The type size of the setup window it was opened from, scaled as that is.
    setAttribute(Qt::WA_WindowPropagation);
    auto* layout = new QVBoxLayout(this);
    m_current = named(new QLabel(this), QStringLiteral("lblCurrentDevice"), QString());
    m_current->setTextFormat(Qt::PlainText);
    m_current->setWordWrap(true);
    layout->addWidget(m_current);
    auto* caption = named(new QLabel(QStringLiteral("&Devices present:"), this), QStringLiteral("lblDevicesPresent"),
                          QStringLiteral("Devices present"));
    m_list = named(new QListWidget(this), QStringLiteral("lstSerialDevices"), QStringLiteral("Serial devices present"));
    caption->setBuddy(m_list);
    layout->addWidget(caption);
    layout->addWidget(m_list, 1);
    m_status = named(new QLabel(this), QStringLiteral("lblChooserStatus"), QString());
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    layout->addWidget(m_status);

    auto* buttons = new QHBoxLayout;
    auto* refreshButton = named(new QPushButton(QStringLiteral("&Refresh"), this), QStringLiteral("cmdRefresh"),
                                QStringLiteral("Refresh the list of devices"));
    m_use = named(new QPushButton(QStringLiteral("&Use for COM%1").arg(number), this), QStringLiteral("cmdUseDevice"),
                  QStringLiteral("Use the chosen device for COM%1").arg(number));
    auto* cancel = named(new QPushButton(QStringLiteral("Cancel"), this), QStringLiteral("cmdCancel"),
                         QStringLiteral("Cancel: keep the mapping as it is"));
    refreshButton->setAutoDefault(false);
    cancel->setAutoDefault(false);
    m_use->setDefault(true);
    buttons->addWidget(refreshButton);
    buttons->addStretch(1);
    buttons->addWidget(m_use);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(refreshButton, &QPushButton::clicked, this, &SerialDeviceChooser::refresh);
    connect(m_use, &QPushButton::clicked, this, &SerialDeviceChooser::accept);
    connect(cancel, &QPushButton::clicked, this, &SerialDeviceChooser::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &SerialDeviceChooser::accept);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) { m_use->setEnabled(row >= 0); });

    refresh();
    m_list->setFocus();
    // Wide enough for the longest entry, but never beyond the screen.
    QSize wanted = sizeHint().expandedTo(QSize(m_list->sizeHintForColumn(0) + 60, 0));
    if (const QScreen* screen = parent ? parent->screen() : this->screen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(wanted);
}

void SerialDeviceChooser::showCurrentMapping()
{
    const QString now = QStringLiteral("Now: ")
        + platform::portDeviceText(m_number, *m_devices.mapping.map(), m_devices.devices);
    m_current->setText(now);
    m_current->setAccessibleName(now);
}

void SerialDeviceChooser::refresh()
{
    showCurrentMapping();
    const platform::ComPortMap& map = *m_devices.mapping.map();
    const std::optional<platform::SerialDevice> mapped = m_devices.devices.deviceAt(map.devicePathFor(m_number));
    m_present = m_devices.devices.presentDevices();
    const QMap<QString, QList<int>> ports = platform::portsByDevice(map, m_devices.devices);
    m_list->clear();
    int current = m_present.isEmpty() ? -1 : 0;
    for (const platform::SerialDevice& device : m_present) {
        const QString text = deviceText(device, ports.value(device.path));
        auto* item = new QListWidgetItem(text, m_list);
        QString spoken = text;
        item->setData(Qt::AccessibleTextRole, spoken.replace(QLatin1Char('\n'), QStringLiteral(", ")));
        if (mapped && mapped->path == device.path)
            current = m_list->count() - 1;
    }
    m_list->setCurrentRow(current);
    m_use->setEnabled(current >= 0);
    const QString status = m_present.isEmpty()
        ? QStringLiteral("No serial devices found. Plug in the interface, then press Refresh.")
        : QStringLiteral("%1 serial device%2 found.").arg(m_present.size()).arg(m_present.size() == 1 ? QString() : QStringLiteral("s"));
    m_status->setText(status);
    m_status->setAccessibleName(status);
}

void SerialDeviceChooser::accept()
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_present.size())
        return;
    QString error;
    if (!m_devices.mapping.mapDevice(m_number, m_present.at(row).mappingPath(), &error)) {
        m_status->setText(error);
        m_status->setAccessibleName(error);
        return;
    }
    QDialog::accept();
}

} // namespace tenlog::common
