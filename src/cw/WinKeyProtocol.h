// The WinKey keyer's serial protocol (WK2 and WK3), both ways.
//
// Host to keyer, 1200 bit/s 8N2: admin commands start with 0x00 (02 host
// open, answered by one version byte; 03 host close; 04 n echo test,
// answered by n), host commands are one byte and their arguments (02 speed,
// 03 weighting, 04 PTT lead-in and tail, 08 backspace, 09 pin configuration,
// 0A clear buffer, 0E mode register, 15 status request, 17 dit/dah ratio),
// and bytes 0x20 to 0x7F are text to send in Morse. 0x13 is a no-op; three
// of them bring a keyer in an unknown state back to the start of a command.
//
// Keyer to host, one byte a message: 110xxxxx is a status byte (bit 4 WAIT,
// bit 3 set for a pushbutton report instead, bit 2 BUSY, bit 1 BREAKIN,
// bit 0 XOFF: the buffer is over two thirds full), 10xxxxxx a speed-pot
// value, anything else the answer to an admin command or, with serial echo
// on, a character the keyer has started to send. Status bytes come
// unsolicited whenever the state changes.
#pragma once

#include <QByteArray>
#include <QList>

namespace tenlog::cw::winkey {

// Mode register bit that makes the keyer echo each character as it sends
// it: the driver counts what the keyer still holds by it.
inline constexpr int serialEchoBit = 0x04;

QByteArray resync();
QByteArray hostOpen();
QByteArray hostClose();
QByteArray echoTest(quint8 probe);
QByteArray speed(quint8 wpm);
QByteArray weighting(quint8 weight);
QByteArray pttLeadTail(quint8 leadIn, quint8 tail);
QByteArray pinConfiguration(quint8 value);
QByteArray modeRegister(quint8 value);
QByteArray ditDahRatio(quint8 ratio);
QByteArray clearBuffer();
QByteArray backspace();
QByteArray statusRequest();

struct KeyerStatus {
    bool wait = false;
    bool busy = false;
    bool breakIn = false;
    bool xoff = false;

    bool operator==(const KeyerStatus&) const = default;
    // The value of the keyer's status as the program counts it: 0 idle,
    // above 0 sending, 5 and more full (no more text now).
    int level() const { return xoff ? 5 + (busy ? 1 : 0) : (busy ? 1 : 0); }
};

struct KeyerByte {
    enum class Kind {
        Status,      // status holds the flags
        SpeedPot,    // value: the pot's offset, 0 to 63
        Pushbutton,  // a WK3 pushbutton report; value: its low bits
        Other,       // value: an admin answer or an echoed character
    };
    Kind kind = Kind::Other;
    KeyerStatus status;
    int value = 0;
};

// Every byte from the keyer is a whole message, so no input is held back.
KeyerByte classify(quint8 byte);
QList<KeyerByte> classifyAll(const QByteArray& bytes);

} // namespace tenlog::cw::winkey
