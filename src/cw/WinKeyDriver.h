// Our driver for a WinKey keyer (WK2, WK3) on a serial port. The keyer
// times the Morse and keys the transmitter itself; the driver opens it
// (host open, then an echo test to prove the line is clean), sends it the
// settings and text, and follows its state from the status bytes the keyer
// sends on its own whenever that state changes. It never waits in place:
// opening is finished by the replies (or a reply timer), every other call
// returns at once. Every call is accepted in any order; while the keyer is
// not open it has no effect and answers NotOpen.
//
// Flow: serial echo is kept on, so each character the keyer starts to send
// comes back; the driver hands over no more than a small window of
// characters beyond the last one echoed, and none while the keyer says XOFF.
// Text then stays in the program's own buffer, where the operator can still
// take it back, and the keyer's buffer never overflows.
#pragma once

#include "cw/WinKeyProtocol.h"
#include "platform/SerialPort.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

namespace tenlog::cw {

class WinKeyDriver final : public QObject {
    Q_OBJECT
public:
    enum class Result {
        Success = 0,
        NoEchoResponse = 1,
        EchoMismatch = 2,
        NoOpenResponse = 3,
        ComOpenFailed = 4,
        GetComStateFailed = 5,
        SetComStateFailed = 6,
        Unknown = 7,
        AlreadyOpen = 8,
        NotOpen = 9,
    };
    // The status text of a result; empty for Unknown, which has none.
    static QString resultText(Result result);

    explicit WinKeyDriver(platform::SerialPort& port, QObject* parent = nullptr);
    ~WinKeyDriver() override;

    // Opens the keyer on the port number. The outcome comes by
    // openFinished, at once when the port cannot be opened or the keyer is
    // already open, otherwise when the keyer has answered (or not in time).
    void open(int portNumber);
    // Clears the keyer's buffer and ends host mode, then lets the port go.
    Result close();
    bool isOpen() const { return m_state == State::Open; }
    bool isOpening() const { return m_state == State::AwaitingVersion || m_state == State::AwaitingEcho; }
    // The firmware version the keyer reported (0 while not open).
    int version() const { return m_version; }
    int portNumber() const { return m_port.portNumber(); }
    // Why the port could not be opened, in the port's words.
    QString portError() const { return m_port.errorString(); }

    // One character of text. Only 0x20 to 0x7F are text to the keyer (a
    // lower byte is a command to it, with arguments of its own); anything
    // else is not passed on, and a-z go as capitals.
    Result sendCharacter(char16_t code);
    Result clearBuffer();
    Result backspace();
    Result setSpeed(int wpm);
    Result setWeight(int weight);
    Result setDitDahRatio(int ratio);
    Result setPttLeadTail(int leadIn, int tail);
    Result setPinConfiguration(int value);
    // The mode register as chosen; serial echo is added, the driver's flow
    // counts on it.
    Result setMode(int value);

    // 0 idle, above 0 sending or holding text, 5 and more full.
    int statusLevel() const;
    winkey::KeyerStatus status() const { return m_status; }
    // How many more characters may be handed over now.
    int room() const;
    // Characters handed over and not yet started by the keyer.
    int heldByKeyer() const { return m_held; }
    // The speed pot as last reported (-1 before any report).
    int speedPot() const { return m_speedPot; }
    // Bytes from the keyer that meant nothing where they came.
    int unexpectedBytes() const { return m_unexpected; }

    // For tests and the benchmark: how long a reply may take, and the window.
    void setReplyTimeoutMs(int ms) { m_replyTimer.setInterval(ms); }
    void setWindow(int characters) { m_window = characters; }

signals:
    void openFinished(tenlog::cw::WinKeyDriver::Result result, int version);
    void statusChanged(const tenlog::cw::winkey::KeyerStatus& status);
    // The keyer has started to send this character.
    void echoed(QChar character);
    void speedPotChanged(int value);
    // More characters may be handed over.
    void roomAvailable();
    // The keyer's port failed while open (unplugged); it is closed now.
    void lost(const QString& reason);

private:
    enum class State { Closed, AwaitingVersion, AwaitingEcho, Open };

    void onReadyRead();
    void onReplyTimeout();
    void onPortFailed(const QString& reason);
    void finishOpen(Result result);
    void resetKeyerState();
    Result write(const QByteArray& bytes);

    platform::SerialPort& m_port;
    QTimer m_replyTimer;
    State m_state = State::Closed;
    int m_version = 0;
    quint8 m_probe = 0x55;
    winkey::KeyerStatus m_status;
    int m_held = 0;
    int m_window = 8;
    int m_speedPot = -1;
    int m_unexpected = 0;
    int m_mode = 0;
    // Since text was last written: an idle status that may have left the
    // keyer before that text arrived does not clear the count.
    QElapsedTimer m_sinceText;
};

} // namespace tenlog::cw
