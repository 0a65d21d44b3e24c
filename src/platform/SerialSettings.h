// The serial parameter text the setup windows store, such as "4800,N,8,2":
// bits per second, parity (N none, O odd, E even), data bits (7 or 8) and
// stop bits (1 or 2), separated by commas. Anything else is refused rather
// than guessed at, so a damaged settings file cannot open a port at a rate
// the radio does not speak without the operator being told.
#pragma once

#include <QString>

#include <optional>

namespace tenlog::platform {

struct SerialSettings {
    int bitsPerSecond = 0;
    char parity = 'N'; // 'N', 'O' or 'E'
    int dataBits = 8;
    int stopBits = 1;

    // The rate to program into the device. 56000 is the setup window's "56"
    // choice for radios that run at 57600: a PC serial port, whose clock
    // divides 115200, has always turned 56000 into 57600, while a USB
    // adapter would run at a true 56000, too far off for the radio.
    int deviceBitsPerSecond() const { return bitsPerSecond == 56000 ? 57600 : bitsPerSecond; }
};

std::optional<SerialSettings> parseSerialSettings(const QString& text);

} // namespace tenlog::platform
