// A packet TNC on a serial port, in monitor mode. Reception is polled: each
// poll takes what the port holds and hands on the lines it completes.
#pragma once

#include "spots/LineAssembly.h"

#include <QObject>

namespace tenlog::platform {
class SerialPort;
}

namespace tenlog::spots {

struct TncSettings {
    int port = 1;                           // 1..10
    QString settings = QStringLiteral("9600,N,8,1");
    int handshake = 3;                      // 1 none, 2 XON/XOFF, 3 RTS, 4 RTS with XON/XOFF
    QChar power = QLatin1Char('N');         // N none, R raise RTS, D raise DTR
};

class TncSpotSource : public QObject {
    Q_OBJECT
public:
    explicit TncSpotSource(platform::SerialPort& port, QObject* parent = nullptr);
    ~TncSpotSource() override;

    // Opens the port; false when it cannot be opened (errorString() says why,
    // naming the port and its device).
    bool open(const TncSettings& settings);
    void close();
    bool isOpen() const;
    QString errorString() const;

    // Takes what has arrived and emits the lines it completes.
    void poll();
    // Writes the line with CR; false when the port is not open.
    bool sendLine(const QString& line);
    // The command-mode character, written alone, from its two hexadecimal
    // digits; false (nothing written) when they are not hexadecimal.
    bool sendCommandCharacter(const QString& hexDigits);

signals:
    // A whole line with its line end.
    void lineReceived(const QString& line);
    // The open port stopped working (the device went away); it is closed.
    void failed(const QString& reason);

private:
    platform::SerialPort& m_port;
    TncLineAssembler m_lines;
    QString m_openFailure;
};

} // namespace tenlog::spots
