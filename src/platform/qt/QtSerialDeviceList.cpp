#include "platform/qt/QtSerialDeviceList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>

#include <algorithm>
#include <sys/stat.h>

namespace tenlog::platform {

namespace {

QString realPath(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

QString firstLineOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readLine(256)).trimmed();
}

bool isCharacterDevice(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISCHR(info.st_mode);
}

} // namespace

QtSerialDeviceList::QtSerialDeviceList(QString byIdFolder, QString sysTtyFolder)
    : m_byIdFolder(std::move(byIdFolder))
    , m_sysTtyFolder(std::move(sysTtyFolder))
{
}

void QtSerialDeviceList::addSysDetails(SerialDevice& device) const
{
    if (!device.manufacturer.isEmpty() && !device.product.isEmpty() && !device.serialNumber.isEmpty())
        return;
    // /sys/class/tty/ttyUSB0/device is the port's interface (or the
    // usb-serial port under it); the USB device that holds the maker's
    // strings is the first folder above it with an idVendor.
    QString folder = realPath(m_sysTtyFolder + QLatin1Char('/') + QFileInfo(device.path).fileName() + QStringLiteral("/device"));
    for (int up = 0; up < 4 && !folder.isEmpty(); ++up, folder = QFileInfo(folder).absolutePath()) {
        if (!QFileInfo::exists(folder + QStringLiteral("/idVendor")))
            continue;
        const auto fill = [&folder](QString& field, const char* file) {
            if (field.isEmpty())
                field = firstLineOf(folder + QLatin1Char('/') + QLatin1String(file));
        };
        fill(device.manufacturer, "manufacturer");
        fill(device.product, "product");
        fill(device.serialNumber, "serial");
        return;
    }
}

QList<SerialDevice> QtSerialDeviceList::presentDevices() const
{
    QList<SerialDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialDevice device;
        device.path = info.systemLocation();
        device.manufacturer = info.manufacturer().trimmed();
        device.product = info.description().trimmed();
        device.serialNumber = info.serialNumber().trimmed();
        devices.append(device);
    }
    const QFileInfoList links =
        QDir(m_byIdFolder).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& link : links) {
        const QString target = realPath(link.absoluteFilePath());
        if (target.isEmpty())
            continue; // a link left behind by an adapter that has gone
        const auto same = std::find_if(devices.begin(), devices.end(),
                                       [&](const SerialDevice& d) { return realPath(d.path) == target; });
        if (same != devices.end()) {
            if (same->stablePath.isEmpty())
                same->stablePath = link.absoluteFilePath();
            continue;
        }
        SerialDevice device;
        device.path = target;
        device.stablePath = link.absoluteFilePath();
        devices.append(device);
    }
    for (SerialDevice& device : devices) {
        addSysDetails(device);
        if (device.description().isEmpty() && !device.stablePath.isEmpty())
            device.product = descriptionFromStableName(QFileInfo(device.stablePath).fileName());
    }
    std::sort(devices.begin(), devices.end(), [](const SerialDevice& a, const SerialDevice& b) { return a.path < b.path; });
    return devices;
}

std::optional<SerialDevice> QtSerialDeviceList::deviceAt(const QString& path) const
{
    const QString target = realPath(path);
    if (target.isEmpty())
        return std::nullopt;
    for (const SerialDevice& device : presentDevices()) {
        if (realPath(device.path) == target)
            return device;
    }
    // The built-in ports' nodes exist whether or not a UART stands behind
    // them; Qt leaves out those without one, and so do we. Any other
    // character device (a pseudo-terminal, a device Qt does not know) is
    // there to be opened.
    static const QRegularExpression builtIn(QStringLiteral("^/dev/ttyS[0-9]+$"));
    if (!isCharacterDevice(target) || builtIn.match(target).hasMatch())
        return std::nullopt;
    SerialDevice device;
    device.path = target;
    return device;
}

} // namespace tenlog::platform
