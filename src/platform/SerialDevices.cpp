#include "platform/SerialDevices.h"

#include "platform/ComPortMap.h"

#include <QRegularExpression>

namespace tenlog::platform {

QString SerialDevice::description() const
{
    const QString maker = manufacturer.trimmed();
    const QString name = product.trimmed();
    if (maker.isEmpty() || name.startsWith(maker, Qt::CaseInsensitive))
        return name;
    if (name.isEmpty())
        return maker;
    return maker + QLatin1Char(' ') + name;
}

QString portDeviceText(int number, const ComPortMap& map, const SerialDeviceList& devices)
{
    const QString mapped = map.devicePathFor(number);
    if (mapped.isEmpty())
        return QStringLiteral("No serial port chosen");
    const QString head = QStringLiteral("COM%1 = ").arg(number);
    const std::optional<SerialDevice> device = devices.deviceAt(mapped);
    if (!device)
        return head + mapped + QStringLiteral(" (not present)");
    const QString description = device->description();
    return head + device->path + (description.isEmpty() ? QString() : QStringLiteral(" (") + description + QLatin1Char(')'));
}

QMap<QString, QList<int>> portsByDevice(const ComPortMap& map, const SerialDeviceList& devices)
{
    QMap<QString, QList<int>> ports;
    for (int number = ComPortMap::firstPort; number <= ComPortMap::lastPort; ++number) {
        if (const std::optional<SerialDevice> device = devices.deviceAt(map.devicePathFor(number)))
            ports[device->path].append(number);
    }
    return ports;
}

QString descriptionFromStableName(const QString& linkName)
{
    QString name = linkName;
    static const QRegularExpression bus(QStringLiteral("^[a-z]+-"));
    static const QRegularExpression interface(QStringLiteral("-if[0-9A-Fa-f]+(-port[0-9]+)?$"));
    name.remove(bus);
    name.remove(interface);
    name.replace(QLatin1Char('_'), QLatin1Char(' '));
    return name.simplified();
}

} // namespace tenlog::platform
