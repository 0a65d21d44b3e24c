#include "platform/qt/QtSerialPort.h"

#include <QFile>
#include <QThread>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace tenlog::platform {

namespace {

QString linuxReason(int error)
{
    QString text = QString::fromLocal8Bit(std::strerror(error));
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

// What open(2) says about the device, for the message after QSerialPort has
// refused it: Qt folds "permission denied", "busy" and "locked by another
// program" into one PermissionError. 0 when the device opens.
int probeOpen(const QString& device)
{
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    ::close(fd);
    return 0;
}

bool addXonXoff(int fd)
{
    termios settings {};
    if (::tcgetattr(fd, &settings) != 0)
        return false;
    settings.c_iflag |= IXON | IXOFF;
    return ::tcsetattr(fd, TCSANOW, &settings) == 0;
}

QSerialPort::Parity toQtParity(char parity)
{
    switch (parity) {
    case 'O':
        return QSerialPort::OddParity;
    case 'E':
        return QSerialPort::EvenParity;
    default:
        return QSerialPort::NoParity;
    }
}

// The devices this program has open, by their real path (a by-id link and
// /dev/ttyUSB0 are one device): a second use of one is refused with a message
// that names this program, not "another program".
std::mutex devicesInUseLock;
QSet<QString>& devicesInUse()
{
    static QSet<QString> devices;
    return devices;
}

QString realDevicePath(const QString& device)
{
    const QString canonical = QFileInfo(device).canonicalFilePath();
    return canonical.isEmpty() ? device : canonical;
}

} // namespace

QtSerialPort::QtSerialPort(ComPortMap ports, QObject* parent)
    : QtSerialPort(std::make_shared<const ComPortMap>(std::move(ports)), parent)
{
}

QtSerialPort::QtSerialPort(std::shared_ptr<const ComPortMap> ports, QObject* parent)
    : QObject(parent)
    , m_ports(std::move(ports))
{
    connect(&m_port, &QSerialPort::readyRead, this, [this] {
        if (m_readyRead && !m_failing)
            m_readyRead();
    });
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
}

QtSerialPort::~QtSerialPort()
{
    m_port.disconnect(this);
    m_port.close();
    releaseDevice();
}

void QtSerialPort::releaseDevice()
{
    if (m_claimedDevice.isEmpty())
        return;
    std::lock_guard lock(devicesInUseLock);
    devicesInUse().remove(m_claimedDevice);
    m_claimedDevice.clear();
}

void QtSerialPort::setPortNumber(int number)
{
    m_number = number;
}

bool QtSerialPort::setSettings(const QString& settings)
{
    const std::optional<SerialSettings> parsed = parseSerialSettings(settings);
    if (!parsed)
        return false;
    m_settings = *parsed;
    return true;
}

void QtSerialPort::setRtsHandshake(bool on)
{
    m_rtsHandshake = on;
}

QString QtSerialPort::portName() const
{
    return QStringLiteral("COM%1").arg(m_number);
}

bool QtSerialPort::open()
{
    close();
    m_error.clear();
    const QString device = m_ports->devicePathFor(m_number);
    if (device.isEmpty()) {
        m_error = QStringLiteral("%1 has no device: ports are numbered %2 to %3.")
                      .arg(portName())
                      .arg(ComPortMap::firstPort)
                      .arg(ComPortMap::lastPort);
        return false;
    }
    m_device = device;
    const QString realPath = realDevicePath(device);
    {
        std::lock_guard lock(devicesInUseLock);
        if (devicesInUse().contains(realPath)) {
            m_error = QStringLiteral("%1 (%2) cannot be opened: TenLog already uses it for the radio, the spot TNC, CW "
                                     "keying or PTT. Give each its own port, or enter 0 for none.")
                          .arg(portName(), device);
            return false;
        }
    }
    m_port.setPortName(device);
    m_port.setBaudRate(m_settings.deviceBitsPerSecond());
    m_port.setParity(toQtParity(m_settings.parity));
    m_port.setDataBits(m_settings.dataBits == 7 ? QSerialPort::Data7 : QSerialPort::Data8);
    m_port.setStopBits(m_settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    m_port.setFlowControl(m_rtsHandshake ? QSerialPort::HardwareControl
                          : m_xonXoff   ? QSerialPort::SoftwareControl
                                        : QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_error = describeOpenFailure(device);
        m_port.clearError();
        return false;
    }
    {
        std::lock_guard lock(devicesInUseLock);
        devicesInUse().insert(realPath);
        m_claimedDevice = realPath;
    }
    if (m_rtsHandshake && m_xonXoff && !addXonXoff(static_cast<int>(m_port.handle()))) {
        // Qt offers one kind of flow control at a time; the second is set on
        // the terminal itself, and a port that refuses it is not used.
        const int reason = errno;
        close();
        m_error = QStringLiteral("%1 (%2) cannot be opened: the device refused XON/XOFF beside RTS/CTS handshaking (%3).")
                      .arg(portName(), device, linuxReason(reason));
        return false;
    }
    m_hasControlLines = true;
    applyControlLines();
    setKeyingHandle(static_cast<int>(m_port.handle()));
    return true;
}

void QtSerialPort::setKeyingHandle(int fd)
{
    std::lock_guard lock(m_keyingLock);
    m_keyingFd = fd;
}

void QtSerialPort::setLineFromOtherThread(int line, bool on)
{
    std::lock_guard lock(m_keyingLock);
    if (m_keyingFd < 0 || (line == TIOCM_RTS && m_rtsHandshake))
        return;
    int bits = line;
    // ENOTTY on a pseudo-terminal: it has no lines, which is harmless here.
    ::ioctl(m_keyingFd, on ? TIOCMBIS : TIOCMBIC, &bits);
}

QString QtSerialPort::describeOpenFailure(const QString& device) const
{
    const QString head = QStringLiteral("%1 (%2) cannot be opened: ").arg(portName(), device);
    const QString mapHint = QStringLiteral(" If the interface is on another device, press \"Choose...\" beside the port, "
                                           "or map %1 to it in %2 (a line such as %1=/dev/ttyUSB0).")
                                .arg(portName(), m_ports->filePath());
    if (!QFileInfo::exists(device))
        return head + QStringLiteral("the device does not exist. Check that the interface is plugged in.") + mapHint;
    const QSerialPort::SerialPortError qtError = m_port.error();
    const int reason = probeOpen(device);
    if (reason == EACCES || reason == EPERM)
        return head
            + QStringLiteral("permission denied. Add yourself to the dialout group (sudo adduser $USER dialout) and log in again.");
    if (reason == EBUSY || (reason == 0 && qtError == QSerialPort::PermissionError))
        return head + QStringLiteral("it is in use by another program. Close that program or choose another port.");
    if (reason == ENOENT || reason == ENODEV || reason == ENXIO)
        return head + QStringLiteral("the device is not there (%1). Check that the interface is plugged in.").arg(linuxReason(reason))
            + mapHint;
    if (reason == 0 && qtError == QSerialPort::UnsupportedOperationError)
        return head + QStringLiteral("it is not a serial port.") + mapHint;
    if (reason != 0)
        return head + linuxReason(reason) + QLatin1Char('.');
    QString qtReason = m_port.errorString();
    if (!qtReason.isEmpty())
        qtReason[0] = qtReason[0].toLower();
    return head + QStringLiteral("the device refused the settings %1,%2,%3,%4 (%5).")
                      .arg(m_settings.bitsPerSecond)
                      .arg(QLatin1Char(m_settings.parity))
                      .arg(m_settings.dataBits)
                      .arg(m_settings.stopBits)
                      .arg(qtReason);
}

void QtSerialPort::close()
{
    // What was queued last (a radio's closing bytes at exit) goes out before
    // the port closes; a port that cannot take it is not waited for long.
    if (m_port.isOpen() && !m_failing && m_port.bytesToWrite() > 0)
        m_port.waitForBytesWritten(250);
    m_failing = false;
    setKeyingHandle(-1);
    if (m_port.isOpen())
        m_port.close();
    releaseDevice();
}

bool QtSerialPort::isOpen() const
{
    return m_port.isOpen() && !m_failing;
}

bool QtSerialPort::applyLine(bool (QSerialPort::*set)(bool), bool on)
{
    if (!m_hasControlLines)
        return false;
    m_applyingLines = true;
    const bool done = (m_port.*set)(on);
    m_applyingLines = false;
    if (!done && m_port.error() == QSerialPort::UnsupportedOperationError) {
        // A pseudo-terminal (ENOTTY): it carries data only.
        m_hasControlLines = false;
        m_port.clearError();
    }
    return done;
}

void QtSerialPort::applyControlLines()
{
    applyLine(&QSerialPort::setDataTerminalReady, m_dtr);
    // Under RTS/CTS handshaking the driver owns RTS.
    if (!m_rtsHandshake)
        applyLine(&QSerialPort::setRequestToSend, m_rts);
}

void QtSerialPort::setRts(bool on)
{
    if (QThread::currentThread() != thread()) {
        setLineFromOtherThread(TIOCM_RTS, on);
        return;
    }
    m_rts = on;
    if (isOpen() && !m_rtsHandshake)
        applyLine(&QSerialPort::setRequestToSend, on);
}

void QtSerialPort::setDtr(bool on)
{
    if (QThread::currentThread() != thread()) {
        setLineFromOtherThread(TIOCM_DTR, on);
        return;
    }
    m_dtr = on;
    if (isOpen())
        applyLine(&QSerialPort::setDataTerminalReady, on);
}

bool QtSerialPort::write(const QByteArray& bytes)
{
    if (!isOpen())
        return false;
    return m_port.write(bytes) == bytes.size();
}

QByteArray QtSerialPort::readAll()
{
    if (!isOpen())
        return {};
    return m_port.readAll();
}

qint64 QtSerialPort::bytesToWrite() const
{
    if (!isOpen())
        return 0;
    // Qt's own queue plus what the driver still holds: at 4800 bit/s the
    // driver's queue is most of the wait.
    int inDriver = 0;
    if (::ioctl(static_cast<int>(m_port.handle()), TIOCOUTQ, &inDriver) != 0)
        inDriver = 0;
    return m_port.bytesToWrite() + inDriver;
}

void QtSerialPort::setReadyReadHandler(std::function<void()> handler)
{
    m_readyRead = std::move(handler);
}

void QtSerialPort::setFailureHandler(std::function<void(const QString& reason)> handler)
{
    m_failed = std::move(handler);
}

void QtSerialPort::onError(QSerialPort::SerialPortError error)
{
    if (m_applyingLines || !m_port.isOpen() || m_failing)
        return;
    // A device that has gone (a pulled USB adapter, the far end of a
    // pseudo-terminal closed) is hung up: say so, rather than pass on the
    // errno Qt happens to hold after a read that found the end of the data.
    pollfd state {};
    state.fd = static_cast<int>(m_port.handle());
    state.events = POLLIN;
    const bool hungUp = ::poll(&state, 1, 0) > 0 && (state.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    QString what;
    if (hungUp || error == QSerialPort::ResourceError || error == QSerialPort::DeviceNotFoundError)
        what = QStringLiteral("the device went away (was the interface unplugged?)");
    else if (error == QSerialPort::ReadError)
        what = QStringLiteral("reading from the device failed (%1)").arg(m_port.errorString());
    else if (error == QSerialPort::WriteError)
        what = QStringLiteral("writing to the device failed (%1)").arg(m_port.errorString());
    else
        return; // not fatal: the port goes on working
    m_failureReason = QStringLiteral("%1 (%2) stopped working and was closed: %3.").arg(portName(), m_device, what);
    m_failing = true;
    // QSerialPort is inside its own notification here; close it once that
    // has returned.
    QMetaObject::invokeMethod(this, &QtSerialPort::finishFailure, Qt::QueuedConnection);
}

void QtSerialPort::finishFailure()
{
    if (!m_failing)
        return; // closed (or reopened) by the owner in the meantime
    m_failing = false;
    setKeyingHandle(-1);
    m_port.close();
    releaseDevice();
    m_error = m_failureReason;
    if (m_failed) {
        const auto handler = m_failed;
        handler(m_failureReason);
    }
}

} // namespace tenlog::platform
