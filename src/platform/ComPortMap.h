// Which Linux device each serial port number stands for, and where the
// Pegasus control program keeps its files, as the operator sets them in
// "ComPorts.txt" in the user data folder. The file holds one setting a line:
//   COM3=/dev/ttyUSB0
//   PEGASUS=/home/op/Pegasus
// Names are read without regard to case and spaces around names and values
// do not count; blank lines and lines starting with '#' are ignored. A line
// of any other form, a port outside 1 to 10 and a device that is not a full
// path (starting with /) are left out and named in problems(), so the
// operator hears of them; a setting with nothing after the '=' keeps the
// default. When a setting appears twice the later line wins, so a line added
// at the end changes the mapping. A port without a line is the n-th built-in
// serial port, /dev/ttyS(n-1).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

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

    // What was wrong with the file, for the operator: "line 3: ..." for each
    // line left out, or one entry for a file that could not be used at all
    // ("is not text ...", "is a folder, not a file"). Empty when nothing was.
    const QStringList& problems() const { return m_problems; }
    // The problems in one message that names the file and says what they
    // mean; empty when there are none.
    QString problemReport() const;

private:
    void readLine(int number, const QByteArray& line);

    QString m_filePath;
    QStringList m_problems;
    std::array<QString, lastPort> m_devices;
    QString m_pegasusFolder;
};

} // namespace tenlog::platform
