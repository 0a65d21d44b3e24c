#include "platform/ComPortMap.h"

#include "platform/DurableFile.h"
#include "text/SettingsValues.h"

#include <QDir>
#include <QFile>
#include <QList>

namespace tenlog::platform {

ComPortMap::ComPortMap(QString filePath, const QByteArray& text, const QString& homeFolder)
    : m_filePath(std::move(filePath))
    , m_pegasusFolder(homeFolder + QStringLiteral("/Pegasus"))
{
    if (const auto binary = text::findNonTextByte(text)) {
        m_problems << QStringLiteral("is not text: line %1 holds the byte 0x%2, so none of its settings is used")
                          .arg(binary->line)
                          .arg(binary->byte, 2, 16, QLatin1Char('0'));
        return;
    }
    const QList<QByteArray> lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i)
        readLine(i + 1, lines.at(i));
}

void ComPortMap::readLine(int number, const QByteArray& rawLine)
{
    const QByteArray line = rawLine.trimmed(); // also drops the CR of a CR LF line
    if (line.isEmpty() || line.startsWith('#'))
        return;
    const auto leftOut = [&](const QString& why) {
        m_problems << QStringLiteral("line %1: %2").arg(number).arg(why);
    };
    const QString shown = QLatin1Char('"') + QString::fromLatin1(line) + QLatin1Char('"');
    const qsizetype equals = line.indexOf('=');
    const QByteArray name = equals < 0 ? QByteArray() : line.left(equals).trimmed().toUpper();
    // Device paths are file names: decode them the way Qt encodes file
    // names, so a path with non-ASCII letters opens as written.
    const QString value = equals < 0 ? QString() : QFile::decodeName(line.mid(equals + 1).trimmed());
    if (name == "PEGASUS") {
        if (!value.isEmpty())
            m_pegasusFolder = value;
        return;
    }
    const QByteArray digits = name.mid(3);
    bool numeric = name.startsWith("COM") && !digits.isEmpty();
    for (char c : digits)
        numeric = numeric && c >= '0' && c <= '9';
    if (!numeric) {
        leftOut(shown + QStringLiteral(" is not a setting such as COM3=/dev/ttyUSB0 or PEGASUS=/home/op/Pegasus"));
        return;
    }
    const int port = digits.size() <= 3 ? digits.toInt() : 0;
    if (port < firstPort || port > lastPort) {
        leftOut(QStringLiteral("%1 is not a port this program uses: they are COM1 to COM10").arg(QString::fromLatin1(name)));
        return;
    }
    if (value.isEmpty())
        return;
    // A relative name would be looked for in whatever folder is current.
    if (!value.startsWith(QLatin1Char('/'))) {
        leftOut(QStringLiteral("the device of %1, \"%2\", is not a full path such as /dev/ttyUSB0")
                    .arg(QString::fromLatin1(name), value));
        return;
    }
    m_devices[static_cast<std::size_t>(port - 1)] = value;
}

ComPortMap ComPortMap::readFrom(const QString& filePath, const QString& homeFolder)
{
    // Far more than any port map; a larger file is not one.
    constexpr qint64 maxBytes = 64 * 1024;
    const OwnFileRead read = readOwnFile(filePath, maxBytes);
    ComPortMap map(filePath, read.data, homeFolder);
    if (read.result == OwnFileRead::Result::Failed)
        map.m_problems << read.problem + QStringLiteral(", so none of its settings is used");
    return map;
}

QString ComPortMap::problemReport() const
{
    if (m_problems.isEmpty())
        return {};
    const QString file = QDir::toNativeSeparators(m_filePath);
    // A file of garbage would list every line; the first few say enough.
    constexpr int shownAtMost = 5;
    QStringList shown;
    for (const QString& problem : m_problems.mid(0, shownAtMost))
        shown << file + QLatin1Char(' ') + problem;
    QString report = shown.join(QStringLiteral(".\n")) + QLatin1Char('.');
    if (m_problems.size() > shownAtMost)
        report += QStringLiteral("\n... and %1 more lines like these.").arg(m_problems.size() - shownAtMost);
    report += QStringLiteral("\nWhat the file does not map keeps the built-in devices (COM n is /dev/ttyS(n-1)). "
                             "Put the file right and start the program again.");
    return report;
}

QString ComPortMap::devicePathFor(int number) const
{
    if (number < firstPort || number > lastPort)
        return {};
    const QString& mapped = m_devices[static_cast<std::size_t>(number - 1)];
    return mapped.isEmpty() ? QStringLiteral("/dev/ttyS%1").arg(number - 1) : mapped;
}

} // namespace tenlog::platform
