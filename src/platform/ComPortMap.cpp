#include "platform/ComPortMap.h"

#include <QFile>
#include <QList>

namespace tenlog::platform {

ComPortMap::ComPortMap(QString filePath, const QByteArray& text, const QString& homeFolder)
    : m_filePath(std::move(filePath))
    , m_pegasusFolder(homeFolder + QStringLiteral("/Pegasus"))
{
    for (const QByteArray& rawLine : text.split('\n')) {
        const QByteArray line = rawLine.trimmed(); // also drops the CR of a CR LF line
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray name = line.left(equals).trimmed().toUpper();
        // Device paths are file names: decode them the way Qt encodes file
        // names, so a path with non-ASCII letters opens as written.
        const QString value = QFile::decodeName(line.mid(equals + 1).trimmed());
        if (value.isEmpty())
            continue;
        if (name == "PEGASUS") {
            m_pegasusFolder = value;
        } else if (name.startsWith("COM")) {
            const QByteArray digits = name.mid(3);
            bool numeric = !digits.isEmpty();
            for (char c : digits)
                numeric = numeric && c >= '0' && c <= '9';
            const int number = numeric && digits.size() <= 3 ? digits.toInt() : 0;
            if (number >= firstPort && number <= lastPort)
                m_devices[static_cast<std::size_t>(number - 1)] = value;
        }
    }
}

ComPortMap ComPortMap::readFrom(const QString& filePath, const QString& homeFolder)
{
    QFile file(filePath);
    QByteArray text;
    if (file.open(QIODevice::ReadOnly))
        text = file.readAll();
    return ComPortMap(filePath, text, homeFolder);
}

QString ComPortMap::devicePathFor(int number) const
{
    if (number < firstPort || number > lastPort)
        return {};
    const QString& mapped = m_devices[static_cast<std::size_t>(number - 1)];
    return mapped.isEmpty() ? QStringLiteral("/dev/ttyS%1").arg(number - 1) : mapped;
}

} // namespace tenlog::platform
