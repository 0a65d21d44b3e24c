// The operator's port mapping as the running program holds it: read once
// from "ComPorts.txt", shared with every serial port (which look a number up
// at each open), and changed by mapping a port to a device. A change is
// written to the file first, through the durable writer, keeping every other
// line and comment as it stands; the shared mapping then follows the file, so
// the next open of that port uses the new device without a restart.
#pragma once

#include "platform/ComPortMap.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace tenlog::platform {

// The file's text with port number mapped to device. The line that decides
// the port now (the last one naming it with a device: later lines win) is
// replaced where it stands; with none, a line is added at the end, in the
// file's own line ends. Earlier lines for the port are left alone: the new
// one still comes after them.
QByteArray textWithDevice(const QByteArray& text, int number, const QString& device);

class ComPortMapFile {
public:
    // Reads the file (a missing one maps nothing); homeFolder gives the
    // default Pegasus folder, as for ComPortMap.
    ComPortMapFile(QString filePath, QString homeFolder);

    // The mapping the serial ports open by. It is the same object for the
    // whole run and follows every mapDevice().
    std::shared_ptr<const ComPortMap> map() const { return m_map; }
    const QString& filePath() const { return m_filePath; }

    // Maps port number (1 to 10) to device in the file and in the shared
    // mapping. False, with the reason in words for the operator, when the
    // number or the path cannot be written or the file cannot be read or
    // replaced; the file and the mapping are then as they were.
    bool mapDevice(int number, const QString& device, QString* error = nullptr);

private:
    QString m_filePath;
    QString m_homeFolder;
    std::shared_ptr<ComPortMap> m_map;
};

} // namespace tenlog::platform
