#include "platform/ComPortMapFile.h"

#include "platform/DurableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

namespace tenlog::platform {

namespace {

// The port a line maps, read as ComPortMap reads it: "COMn=value" with a
// value, names without regard to case, spaces around both ignored. 0 for a
// line that maps no port.
int portOfLine(const QByteArray& rawLine)
{
    const QByteArray line = rawLine.trimmed();
    if (line.isEmpty() || line.startsWith('#'))
        return 0;
    const qsizetype equals = line.indexOf('=');
    if (equals < 0 || line.mid(equals + 1).trimmed().isEmpty())
        return 0;
    const QByteArray name = line.left(equals).trimmed().toUpper();
    if (!name.startsWith("COM"))
        return 0;
    const QByteArray digits = name.mid(3);
    if (digits.isEmpty() || digits.size() > 3)
        return 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return 0;
    }
    const int number = digits.toInt();
    return number >= ComPortMap::firstPort && number <= ComPortMap::lastPort ? number : 0;
}

} // namespace

QByteArray textWithDevice(const QByteArray& text, int number, const QString& device)
{
    const QByteArray newLine = "COM" + QByteArray::number(number) + '=' + QFile::encodeName(device);
    QList<QByteArray> lines = text.split('\n');
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        if (portOfLine(lines.at(i)) == number) {
            // The line keeps its own line end.
            lines[i] = lines.at(i).endsWith('\r') ? newLine + '\r' : newLine;
            return lines.join('\n');
        }
    }
    const QByteArray lineEnd = text.contains("\r\n") ? QByteArray("\r\n") : QByteArray("\n");
    QByteArray result = text;
    if (!result.isEmpty() && !result.endsWith('\n'))
        result += lineEnd;
    return result + newLine + lineEnd;
}

ComPortMapFile::ComPortMapFile(QString filePath, QString homeFolder)
    : m_filePath(std::move(filePath))
    , m_homeFolder(std::move(homeFolder))
    , m_map(std::make_shared<ComPortMap>(ComPortMap::readFrom(m_filePath, m_homeFolder)))
{
}

bool ComPortMapFile::mapDevice(int number, const QString& device, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (number < ComPortMap::firstPort || number > ComPortMap::lastPort)
        return fail(QStringLiteral("COM%1 cannot be mapped: ports are numbered %2 to %3.")
                        .arg(number)
                        .arg(ComPortMap::firstPort)
                        .arg(ComPortMap::lastPort));
    // The file holds one setting a line and reading trims each value: a
    // path that would not come back as written is refused.
    if (device.isEmpty() || device.trimmed() != device || device.contains(QLatin1Char('\n'))
        || device.contains(QLatin1Char('\r')))
        return fail(QStringLiteral("The device path \"%1\" cannot be kept in %2.").arg(device, m_filePath));

    QByteArray text;
    if (QFileInfo::exists(m_filePath)) {
        // An unreadable file is never replaced: its other lines would be lost.
        QString why;
        if (!readWholeFile(m_filePath, &text, &why))
            return fail(QStringLiteral("%1 could not be read, so COM%2 was not mapped: %3").arg(m_filePath).arg(number).arg(why));
    } else {
        text = "# Serial port numbers and the devices they stand for, one a line: COM3=/dev/ttyUSB0\n";
        QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    }
    text = textWithDevice(text, number, device);
    QString why;
    if (!writeFileAtomically(m_filePath, text, &why))
        return fail(QStringLiteral("COM%1 was not mapped: %2").arg(number).arg(why));
    *m_map = ComPortMap(m_filePath, text, m_homeFolder);
    return true;
}

} // namespace tenlog::platform
