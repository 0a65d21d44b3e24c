// An Icom radio on a CI-V bus (also the Ten-Tec Omni VI, at address 04).
// Frames are FE FE <to> <from> <command> [data] FD. The bus is one wire, so
// every frame the controller sends comes back to it first (the echo); the
// radio then answers frames addressed to it:
//   03 read frequency  -> FE FE <from> <radio> 03 <BCD, least significant byte first> FD
//   04 read mode       -> FE FE <from> <radio> 04 <mode> [<filter>] FD
//   05 set frequency, 06 set mode -> FB (good) or FA (no good)
// The frequency has 5 BCD bytes, 4 on the IC-735.
#include "RadioEmulator.h"

#include <cstdlib>

using namespace tenlog::emulators;

namespace {

constexpr unsigned char preamble = 0xFE;
constexpr unsigned char endOfFrame = 0xFD;
constexpr unsigned char good = 0xFB;
constexpr unsigned char noGood = 0xFA;

struct ModeCode {
    Mode mode;
    unsigned char code;
};
constexpr ModeCode icomModes[] = {
    {Mode::Lsb, 0x00}, {Mode::Usb, 0x01}, {Mode::Am, 0x02}, {Mode::Cw, 0x03}, {Mode::Rtty, 0x04},
    {Mode::Fm, 0x05}, {Mode::CwReverse, 0x07}, {Mode::RttyReverse, 0x08}, {Mode::Packet, 0x01},
};

class IcomRadio final : public Radio {
public:
    IcomRadio(unsigned char address, int frequencyBytes)
        : m_address(address)
        , m_frequencyBytes(frequencyBytes)
    {
    }

    void receive(const std::string& bytes, Link& link) override
    {
        m_pending += bytes;
        for (;;) {
            // Bytes before a preamble are noise on the bus: logged, not echoed.
            const std::size_t start = m_pending.find(static_cast<char>(preamble));
            if (start == std::string::npos) {
                if (!m_pending.empty())
                    link.received(m_pending);
                m_pending.clear();
                return;
            }
            if (start > 0) {
                link.received(m_pending.substr(0, start));
                m_pending.erase(0, start);
            }
            const std::size_t end = m_pending.find(static_cast<char>(endOfFrame));
            if (end == std::string::npos)
                return;
            const std::string frame = m_pending.substr(0, end + 1);
            m_pending.erase(0, end + 1);
            link.received(frame);
            link.echo(frame);
            answer(frame, link);
        }
    }

private:
    void answer(const std::string& frame, Link& link)
    {
        if (frame.size() < 6 || static_cast<unsigned char>(frame[1]) != preamble
            || static_cast<unsigned char>(frame[2]) != m_address)
            return;
        const char controller = frame[3];
        const auto command = static_cast<unsigned char>(frame[4]);
        const std::string data = frame.substr(5, frame.size() - 6);
        RadioState& state = link.state();
        std::string answerData;
        if (command == 0x03 && data.empty()) {
            answerData = std::string(1, '\x03') + frequencyBytes(state.frequencyHz);
        } else if (command == 0x04 && data.empty()) {
            answerData = std::string(1, '\x04') + static_cast<char>(modeCode(state.mode));
            if (m_frequencyBytes == 5)
                answerData += '\x01'; // filter: the newer radios send it
        } else if (command == 0x05 && static_cast<int>(data.size()) == m_frequencyBytes) {
            const std::optional<std::int64_t> hertz = readBcdBigEndian(std::string(data.rbegin(), data.rend()));
            if (hertz)
                state.frequencyHz = *hertz;
            answerData = std::string(1, static_cast<char>(hertz ? good : noGood));
        } else if (command == 0x06 && (data.size() == 1 || data.size() == 2)) {
            const bool known = setMode(static_cast<unsigned char>(data[0]), state);
            answerData = std::string(1, static_cast<char>(known ? good : noGood));
        } else {
            answerData = std::string(1, static_cast<char>(noGood));
        }
        std::string reply = {static_cast<char>(preamble), static_cast<char>(preamble), controller, static_cast<char>(m_address)};
        reply += answerData;
        reply += static_cast<char>(endOfFrame);
        link.reply(reply);
    }

    std::string frequencyBytes(std::int64_t hertz) const
    {
        const std::string bigEndian = bcdBigEndian(hertz, m_frequencyBytes);
        return std::string(bigEndian.rbegin(), bigEndian.rend());
    }

    static unsigned char modeCode(Mode mode)
    {
        for (const ModeCode& code : icomModes) {
            if (code.mode == mode)
                return code.code;
        }
        return 0x01;
    }

    static bool setMode(unsigned char value, RadioState& state)
    {
        for (const ModeCode& code : icomModes) {
            if (code.code == value) {
                state.mode = code.mode;
                return true;
            }
        }
        return false;
    }

    unsigned char m_address;
    int m_frequencyBytes;
    std::string m_pending;
};

} // namespace

int main(int argc, char** argv)
{
    EmulatorDescription description;
    description.program = "icom-emulator";
    description.purpose = "Emulates an Icom CI-V radio (or a Ten-Tec Omni VI with --address 04) on a pseudo-terminal.";
    description.optionHelp = "  --model NAME   icom (5 frequency bytes; the default) or ic735 (4 bytes)\n"
                             "  --address HEX  the radio's CI-V address, default 64\n";
    description.makeRadio = [](const Options& options, std::string& error) -> std::unique_ptr<Radio> {
        int frequencyBytes = 5;
        unsigned long address = 0x64;
        for (const auto& [name, value] : options) {
            if (name == "model" && (value == "icom" || value == "ic735")) {
                frequencyBytes = value == "ic735" ? 4 : 5;
            } else if (name == "address") {
                char* end = nullptr;
                address = std::strtoul(value.c_str(), &end, 16);
                if (value.empty() || *end != '\0' || address == 0 || address >= 0xE0) {
                    error = "the address is two hexadecimal digits below E0";
                    return nullptr;
                }
            } else {
                error = "unknown option or model: " + name + " " + value;
                return nullptr;
            }
        }
        return std::make_unique<IcomRadio>(static_cast<unsigned char>(address), frequencyBytes);
    };
    return runEmulator(argc, argv, description);
}
