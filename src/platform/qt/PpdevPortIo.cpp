#include "platform/qt/PpdevPortIo.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tenlog::platform {

PpdevPortIo::PpdevPortIo(QString deviceFolder) : m_folder(std::move(deviceFolder)) {}

PpdevPortIo::~PpdevPortIo()
{
    std::lock_guard lock(m_lock);
    release();
}

QString PpdevPortIo::devicePath(int baseAddress) const
{
    int index = -1;
    switch (baseAddress) {
    case 0x378: index = 0; break;
    case 0x278: index = 1; break;
    case 0x3BC: index = 2; break;
    default: return {};
    }
    return QStringLiteral("%1/parport%2").arg(m_folder).arg(index);
}

void PpdevPortIo::release()
{
    if (m_fd < 0)
        return;
    ioctl(m_fd, PPRELEASE);
    ::close(m_fd);
    m_fd = -1;
}

bool PpdevPortIo::writeControl(int baseAddress, std::uint8_t value)
{
    std::lock_guard lock(m_lock);
    const QString hex = QStringLiteral("&H") + QString::number(baseAddress, 16).toUpper();
    if (m_fd >= 0 && m_address != baseAddress)
        release();
    if (m_fd < 0) {
        const QString device = devicePath(baseAddress);
        if (device.isEmpty()) {
            m_error = QStringLiteral("No parallel port is known at address %1; use &H378, &H278 or &H3BC.").arg(hex);
            return false;
        }
        const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_CLOEXEC);
        if (fd < 0) {
            const int reason = errno;
            if (reason == ENOENT || reason == ENODEV || reason == ENXIO)
                m_error = QStringLiteral("The parallel port %1 (%2) is not there. Load the ppdev module (modprobe ppdev) and check that the port exists.")
                              .arg(hex, device);
            else if (reason == EACCES || reason == EPERM)
                m_error = QStringLiteral("The parallel port %1 (%2) is not permitted. Add yourself to the group lp and log in again.").arg(hex, device);
            else
                m_error = QStringLiteral("The parallel port %1 (%2) cannot be opened: %3.").arg(hex, device, QString::fromLocal8Bit(std::strerror(reason)));
            return false;
        }
        if (ioctl(fd, PPCLAIM) != 0) {
            m_error = QStringLiteral("The parallel port %1 (%2) cannot be claimed: %3.").arg(hex, device, QString::fromLocal8Bit(std::strerror(errno)));
            ::close(fd);
            return false;
        }
        m_fd = fd;
        m_address = baseAddress;
    }
    unsigned char control = value;
    if (ioctl(m_fd, PPWCONTROL, &control) != 0) {
        m_error = QStringLiteral("Writing the parallel port %1 failed: %2.").arg(hex, QString::fromLocal8Bit(std::strerror(errno)));
        release();
        return false;
    }
    return true;
}

QString PpdevPortIo::errorString() const
{
    std::lock_guard lock(m_lock);
    return m_error;
}

} // namespace tenlog::platform
