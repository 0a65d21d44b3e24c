// One serial port, as the rig link, the packet TNC and the key lines use it.
// Ports are numbered 1 to 10 as the operator chooses them; the real port maps
// the number to a device path. Reads never block: the owner learns of new
// bytes through the ready-read handler (called from the event loop) and takes
// them with readAll().
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace tenlog::platform {

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Port number 1..10. Takes effect at the next open().
    virtual void setPortNumber(int number) = 0;
    virtual int portNumber() const = 0;
    // Parameter text such as "4800,N,8,2": bits per second, parity (N, O, E),
    // data bits (7, 8), stop bits (1, 2). False, and nothing changed, when
    // the text is not of that form. Takes effect at the next open().
    virtual bool setSettings(const QString& settings) = 0;
    // RTS/CTS hardware handshaking on or off. Takes effect at the next open().
    virtual void setRtsHandshake(bool on) = 0;
    // XON/XOFF software flow control on or off, alone or beside RTS/CTS.
    // Takes effect at the next open().
    virtual void setXonXoff(bool on) = 0;

    // Opens the port with the number and settings set. False when it cannot
    // be opened; errorString() then says why in words for the operator,
    // naming the port and the device.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual QString errorString() const = 0;

    // The control lines. Remembered while the port is closed and applied at
    // open(). A device without control lines (a pseudo-terminal) ignores them.
    virtual void setRts(bool on) = 0;
    virtual void setDtr(bool on) = 0;

    // Queues the bytes as they are (0 to 255 each). False when the port is
    // not open or the write failed.
    virtual bool write(const QByteArray& bytes) = 0;
    // Everything received so far, removed from the port's buffer.
    virtual QByteArray readAll() = 0;
    // Bytes still waiting to go out.
    virtual qint64 bytesToWrite() const = 0;

    // Called from the event loop when bytes have arrived.
    virtual void setReadyReadHandler(std::function<void()> handler) = 0;
    // Called from the event loop, once, when an open port fails underneath
    // (the device vanished, a read or write error); the port is closed by
    // then and the argument says why.
    virtual void setFailureHandler(std::function<void(const QString& reason)> handler) = 0;
};

} // namespace tenlog::platform
