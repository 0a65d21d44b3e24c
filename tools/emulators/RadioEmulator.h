// The part every radio emulator shares: a pseudo-terminal the logger opens
// as its serial port, the radio's frequency and mode, a control channel on
// standard input, and the faults a test can switch on. A protocol family
// only turns received bytes into commands and replies (see Radio).
//
// Standard output: the first line is "PTY <slave path>"; then one line per
// command received, "RX" and its bytes in hexadecimal ("RX 46 41 3B"), and
// the answers to control commands.
// Standard input, one control command a line, each answered "OK" (or
// "ERR <why>"):
//   freq <MHz>      e.g. freq 28.475000
//   mode <name>     LSB USB CW CWR AM FM RTTY RTTYR PKT
//   fault <name>    none | silent (no replies) | garbage (random bytes
//                   instead of each reply) | split (each reply in two writes
//                   with a pause between) | noise64k (64 KB of noise, once)
//   state           prints "STATE <Hz> <mode>" first
//   quit            ends the emulator; so does the end of standard input
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace tenlog::emulators {

enum class Mode { Lsb, Usb, Cw, CwReverse, Am, Fm, Rtty, RttyReverse, Packet };

std::optional<Mode> modeFromName(const std::string& name);
std::string modeName(Mode mode);

struct RadioState {
    std::int64_t frequencyHz = 28'475'000;
    Mode mode = Mode::Usb;
};

// What a protocol family sees of the emulator.
class Link {
public:
    virtual ~Link() = default;
    // Logs one received command (its exact bytes).
    virtual void received(const std::string& bytes) = 0;
    // Sends the radio's answer; faults apply.
    virtual void reply(const std::string& bytes) = 0;
    // Sends bytes that are not the radio's answer (the echo on a shared
    // CI-V bus); faults do not apply.
    virtual void echo(const std::string& bytes) = 0;
    virtual RadioState& state() = 0;
};

class Radio {
public:
    virtual ~Radio() = default;
    // Bytes as they arrive; a command may be split across calls.
    virtual void receive(const std::string& bytes, Link& link) = 0;
};

using Options = std::map<std::string, std::string>;

struct EmulatorDescription {
    std::string program;
    std::string purpose;       // one line for --help
    std::string optionHelp;    // lines for --help describing the options
    // Makes the radio from the command-line options; on a bad option returns
    // null and puts the reason in error.
    std::function<std::unique_ptr<Radio>(const Options& options, std::string& error)> makeRadio;
};

// Parses "--name value" and "--name=value", sets up the pseudo-terminal and
// runs until "quit" or the end of standard input. Returns the exit code.
int runEmulator(int argc, char** argv, const EmulatorDescription& description);

// Helpers for families.
std::string hexText(const std::string& bytes);
std::string zeroPadded(std::int64_t value, int digits);
// Decimal digits packed two to a byte, most significant byte first.
std::string bcdBigEndian(std::int64_t value, int bytes);
// Reads packed decimal digits; nullopt when a nibble is not a digit.
std::optional<std::int64_t> readBcdBigEndian(const std::string& bytes);

} // namespace tenlog::emulators
