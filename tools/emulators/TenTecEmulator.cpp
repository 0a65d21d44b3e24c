// A Ten-Tec radio, in one of two protocols:
//   orion       ASCII commands ended by CR:
//                 ?AF -> @AF<Hz>CR    ?RMM -> @RMM<d>CR
//                 *AF<frequency>CR sets the frequency, *RMM<d>CR the mode
//                 (d: 0 USB, 1 LSB, 2 CW, 3 CW-R, 4 AM, 5 FM, 6 RTTY).
//               The radio itself takes the frequency in Hz; the logger
//               writes it in MHz with a decimal point, so a value with a
//               point is read as MHz.
//   frontpanel  the front-panel protocol: binary values between a letter
//               and CR, so commands are framed by length, not by CR:
//                 ?A CR -> "A" <4 bytes, Hz, most significant first> CR
//                 ?M CR -> "M" <main mode> <sub mode> CR (ASCII digits:
//                          0 AM, 1 USB, 2 LSB, 3 CW, 4 FM)
//                 *A <4 bytes> CR sets the frequency, *M <2 modes> CR the mode
#include "RadioEmulator.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

using namespace tenlog::emulators;

namespace {

struct ModeCode {
    Mode mode;
    char code;
};
constexpr ModeCode orionModes[] = {
    {Mode::Usb, '0'}, {Mode::Lsb, '1'}, {Mode::Cw, '2'}, {Mode::CwReverse, '3'}, {Mode::Am, '4'},
    {Mode::Fm, '5'},  {Mode::Rtty, '6'}, {Mode::RttyReverse, '6'}, {Mode::Packet, '0'},
};
constexpr ModeCode frontPanelModes[] = {
    {Mode::Am, '0'}, {Mode::Usb, '1'}, {Mode::Lsb, '2'}, {Mode::Cw, '3'}, {Mode::Fm, '4'},
    {Mode::CwReverse, '3'}, {Mode::Rtty, '2'}, {Mode::RttyReverse, '1'}, {Mode::Packet, '1'},
};

template <std::size_t N>
char codeOf(const ModeCode (&table)[N], Mode mode)
{
    for (const ModeCode& code : table) {
        if (code.mode == mode)
            return code.code;
    }
    return table[0].code;
}

template <std::size_t N>
void setFrom(const ModeCode (&table)[N], char value, RadioState& state)
{
    for (const ModeCode& code : table) {
        if (code.code == value) {
            state.mode = code.mode;
            return;
        }
    }
}

class OrionRadio final : public Radio {
public:
    void receive(const std::string& bytes, Link& link) override
    {
        m_pending += bytes;
        std::size_t end;
        while ((end = m_pending.find('\r')) != std::string::npos) {
            const std::string command = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            link.received(command + '\r');
            answer(command, link);
        }
    }

private:
    static void answer(const std::string& command, Link& link)
    {
        RadioState& state = link.state();
        if (command == "?AF") {
            link.reply("@AF" + zeroPadded(state.frequencyHz, 8) + "\r");
        } else if (command == "?RMM") {
            link.reply(std::string("@RMM") + codeOf(orionModes, state.mode) + "\r");
        } else if (command.starts_with("*AF") && command.size() > 3) {
            const std::string value = command.substr(3);
            char* end = nullptr;
            const double number = std::strtod(value.c_str(), &end);
            if (*end == '\0' && number > 0)
                state.frequencyHz = value.find('.') != std::string::npos ? std::llround(number * 1e6) : std::llround(number);
        } else if (command.starts_with("*RMM") && command.size() == 5) {
            setFrom(orionModes, command[4], state);
        }
    }

    std::string m_pending;
};

class FrontPanelRadio final : public Radio {
public:
    void receive(const std::string& bytes, Link& link) override
    {
        m_pending += bytes;
        while (!m_pending.empty()) {
            const std::size_t length = commandLength();
            if (length == 0 || m_pending.size() < length)
                return;
            const std::string command = m_pending.substr(0, length);
            m_pending.erase(0, length);
            link.received(command);
            answer(command, link);
        }
    }

private:
    // The length of the command at the front of the buffer; 0 until enough
    // is known.
    std::size_t commandLength() const
    {
        if (m_pending[0] == '?')
            return 3;
        if (m_pending[0] == '*') {
            if (m_pending.size() < 2)
                return 0;
            if (m_pending[1] == 'A')
                return 7;
            if (m_pending[1] == 'M')
                return 5;
        }
        // Not a command: up to the next CR, so the log stays readable.
        const std::size_t end = m_pending.find('\r');
        return end == std::string::npos ? 0 : end + 1;
    }

    static void answer(const std::string& command, Link& link)
    {
        RadioState& state = link.state();
        if (command.back() != '\r')
            return;
        if (command == "?A\r") {
            std::string reply = "A";
            for (int shift = 24; shift >= 0; shift -= 8)
                reply += static_cast<char>((state.frequencyHz >> shift) & 0xFF);
            link.reply(reply + "\r");
        } else if (command == "?M\r") {
            const char mode = codeOf(frontPanelModes, state.mode);
            link.reply(std::string("M") + mode + mode + "\r");
        } else if (command.starts_with("*A")) {
            std::int64_t hertz = 0;
            for (std::size_t i = 2; i < 6; ++i)
                hertz = hertz << 8 | static_cast<unsigned char>(command[i]);
            state.frequencyHz = hertz;
        } else if (command.starts_with("*M")) {
            setFrom(frontPanelModes, command[2], state);
        }
    }

    std::string m_pending;
};

} // namespace

int main(int argc, char** argv)
{
    EmulatorDescription description;
    description.program = "tentec-emulator";
    description.purpose = "Emulates a Ten-Tec Orion or a Ten-Tec front-panel protocol radio on a pseudo-terminal.";
    description.optionHelp = "  --model NAME   orion (the default) or frontpanel\n";
    description.makeRadio = [](const Options& options, std::string& error) -> std::unique_ptr<Radio> {
        std::string name = "orion";
        for (const auto& [option, value] : options) {
            if (option != "model") {
                error = "unknown option --" + option;
                return nullptr;
            }
            name = value;
        }
        if (name == "orion")
            return std::make_unique<OrionRadio>();
        if (name == "frontpanel")
            return std::make_unique<FrontPanelRadio>();
        error = "unknown model " + name;
        return nullptr;
    };
    return runEmulator(argc, argv, description);
}
