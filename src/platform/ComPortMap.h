// Which Linux device each serial port number stands for, and where the
// Pegasus control program keeps its files, as the operator sets them in
// "ComPorts.txt" in the user data folder. The file holds one setting a line:
//   COM3=/dev/ttyUSB0
//   PEGASUS=/home/op/Pegasus
// Names are read without regard to case and spaces around names and values
// do not count; blank lines and lines starting with '#' are ignored, as are
// ports outside 1 to 10 and lines of any other form. When a setting appears
// twice the later line wins, so a line added at the end changes the mapping.
// A port without a line is the n-th built-in serial port, /dev/ttyS(n-1).
#pragma once

#include <QByteArray>
#include <QString>

#include <array>

namespace tenlog::platform {

class ComPortMap {
public:
    static constexpr int firstPort = 1;
    static constexpr int lastPort = 10;
    static QString fileName() { return QStringLiteral("ComPorts.txt"); }

    // The mapping from the text of the file at filePath (the path is kept
    // for messages that tell the operator where to map a port). homeFolder
    // gives the default Pegasus folder.
    ComPortMap(QString filePath, const QByteArray& text, const QString& homeFolder);
    // Reads the file; a missing or unreadable file leaves every default.
    static ComPortMap readFrom(const QString& filePath, const QString& homeFolder);

    // The device for port 1..10; empty for any other number.
    QString devicePathFor(int number) const;
    QString pegasusFolder() const { return m_pegasusFolder; }
    const QString& filePath() const { return m_filePath; }

private:
    QString m_filePath;
    std::array<QString, lastPort> m_devices;
    QString m_pegasusFolder;
};

} // namespace tenlog::platform
