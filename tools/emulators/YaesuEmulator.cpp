// A Yaesu radio on binary CAT: every command is five bytes, the opcode last,
// and only the status request is answered, with a block whose length and
// layout depend on the model. The layouts are the ones the logger reads
// (byte numbers from 1):
//   yaesu (FT-817 style)  request opcode 03; 5 bytes: frequency in 10 Hz as
//                         4 BCD bytes, most significant first, then the mode
//   757gx2                opcode 10; 75 bytes: frequency in 10 Hz as BCD,
//                         least significant first, in bytes 6-9; mode in 10
//   890                   opcode 10; 19 bytes: 10 Hz units, 24-bit binary in
//                         bytes 3-5; mode in the low half of byte 8
//   920                   opcode 10; 28 bytes: Hz, 32-bit binary in bytes 2-5
//   990, 1000d            opcode 10; 32 and 16 bytes: 10 Hz, 24-bit in 2-4
//   1000                  opcode 10; 16 bytes: 32-bit binary in bytes 2-5 in
//                         units of 0.625 Hz (Hz x 1.6)
// Set frequency: opcode 0A with 4 BCD bytes in 10 Hz, least significant
// first (opcode 01, most significant first, on the FT-817 style); set mode:
// opcode 0C with the mode in byte 4 (opcode 07, mode in byte 1).
#include "RadioEmulator.h"

#include <cmath>

using namespace tenlog::emulators;

namespace {

enum class Layout { Ft817, Gx757, Binary24At3, Binary32Hertz, Binary24At2, Binary32Sixteenths };

struct Model {
    const char* name;
    Layout layout;
    std::size_t length;
};

constexpr Model models[] = {
    {"yaesu", Layout::Ft817, 5},        {"757gx2", Layout::Gx757, 75},         {"890", Layout::Binary24At3, 19},
    {"920", Layout::Binary32Hertz, 28}, {"990", Layout::Binary24At2, 32},      {"1000d", Layout::Binary24At2, 16},
    {"1000", Layout::Binary32Sixteenths, 16},
};

struct ModeCode {
    Mode mode;
    unsigned char code;
};
// The FT-817 style's status and set-mode codes.
constexpr ModeCode ft817Modes[] = {
    {Mode::Lsb, 0x00}, {Mode::Usb, 0x01}, {Mode::Cw, 0x02}, {Mode::CwReverse, 0x03}, {Mode::Am, 0x04},
    {Mode::Fm, 0x08},  {Mode::Rtty, 0x0A}, {Mode::RttyReverse, 0x0A}, {Mode::Packet, 0x0C},
};
// The 757 GX II status mode byte.
constexpr ModeCode gx757Modes[] = {
    {Mode::Lsb, 0}, {Mode::Usb, 1}, {Mode::Cw, 2}, {Mode::CwReverse, 3}, {Mode::Am, 4}, {Mode::Fm, 5},
    {Mode::Rtty, 0}, {Mode::RttyReverse, 1}, {Mode::Packet, 1},
};
// The status mode digit of the 890, 990, 1000 D and 1000.
constexpr ModeCode binaryStatusModes[] = {
    {Mode::Lsb, 0}, {Mode::Usb, 1}, {Mode::Cw, 2}, {Mode::CwReverse, 2}, {Mode::Am, 3}, {Mode::Fm, 4},
    {Mode::Rtty, 5}, {Mode::RttyReverse, 5}, {Mode::Packet, 6},
};
// The FT-920's: only its CW code (1) matters to the logger; the rest are
// this emulator's choice.
constexpr ModeCode ft920Modes[] = {
    {Mode::Lsb, 0}, {Mode::Cw, 1}, {Mode::CwReverse, 1}, {Mode::Usb, 2}, {Mode::Am, 3}, {Mode::Fm, 4},
    {Mode::Rtty, 5}, {Mode::RttyReverse, 5}, {Mode::Packet, 6},
};
// The set-mode (0C) codes of the models other than the FT-817 style.
constexpr ModeCode setModeCodes[] = {
    {Mode::Lsb, 0x00}, {Mode::Usb, 0x01}, {Mode::Cw, 0x02}, {Mode::CwReverse, 0x03}, {Mode::Am, 0x04},
    {Mode::Fm, 0x06},  {Mode::Rtty, 0x08}, {Mode::Packet, 0x0A},
};

template <std::size_t N>
unsigned char codeOf(const ModeCode (&table)[N], Mode mode)
{
    for (const ModeCode& code : table) {
        if (code.mode == mode)
            return code.code;
    }
    return 0;
}

template <std::size_t N>
bool setFrom(const ModeCode (&table)[N], unsigned char value, RadioState& state)
{
    for (const ModeCode& code : table) {
        if (code.code == value) {
            state.mode = code.mode;
            return true;
        }
    }
    return false;
}

void putBigEndian(std::string& block, std::size_t firstByte, std::uint64_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i) {
        block[firstByte - 1 + static_cast<std::size_t>(i)] = static_cast<char>(value & 0xFF);
        value >>= 8;
    }
}

class YaesuRadio final : public Radio {
public:
    explicit YaesuRadio(const Model& model)
        : m_model(model)
    {
    }

    void receive(const std::string& bytes, Link& link) override
    {
        m_pending += bytes;
        while (m_pending.size() >= 5) {
            const std::string command = m_pending.substr(0, 5);
            m_pending.erase(0, 5);
            link.received(command);
            answer(command, link);
        }
    }

private:
    void answer(const std::string& command, Link& link)
    {
        RadioState& state = link.state();
        const auto opcode = static_cast<unsigned char>(command[4]);
        const bool ft817 = m_model.layout == Layout::Ft817;
        if (opcode == (ft817 ? 0x03 : 0x10)) {
            link.reply(status(state));
        } else if (opcode == (ft817 ? 0x01 : 0x0A)) {
            const std::string digits = ft817 ? command.substr(0, 4) : std::string(command.rbegin() + 1, command.rend());
            if (const auto tens = readBcdBigEndian(digits))
                state.frequencyHz = *tens * 10;
        } else if (opcode == (ft817 ? 0x07 : 0x0C)) {
            if (ft817)
                setFrom(ft817Modes, static_cast<unsigned char>(command[0]), state);
            else
                setFrom(setModeCodes, static_cast<unsigned char>(command[3]), state);
        }
        // Anything else (the five zeros sent at open, 00 00 00 00 80 at the
        // end) is taken without an answer, as the radios do.
    }

    std::string status(const RadioState& state) const
    {
        std::string block(m_model.length, '\0');
        const auto tens = static_cast<std::uint64_t>((state.frequencyHz + 5) / 10);
        switch (m_model.layout) {
        case Layout::Ft817:
            block.replace(0, 4, bcdBigEndian(static_cast<std::int64_t>(tens), 4));
            block[4] = static_cast<char>(codeOf(ft817Modes, state.mode));
            break;
        case Layout::Gx757: {
            const std::string bigEndian = bcdBigEndian(static_cast<std::int64_t>(tens), 4);
            block.replace(5, 4, std::string(bigEndian.rbegin(), bigEndian.rend()));
            block[9] = static_cast<char>(codeOf(gx757Modes, state.mode));
            break;
        }
        case Layout::Binary24At3:
            putBigEndian(block, 3, tens, 3);
            block[7] = static_cast<char>(codeOf(binaryStatusModes, state.mode));
            break;
        case Layout::Binary32Hertz:
            putBigEndian(block, 2, static_cast<std::uint64_t>(state.frequencyHz), 4);
            block[7] = static_cast<char>(codeOf(ft920Modes, state.mode));
            break;
        case Layout::Binary24At2:
            putBigEndian(block, 2, tens, 3);
            block[7] = static_cast<char>(codeOf(binaryStatusModes, state.mode));
            break;
        case Layout::Binary32Sixteenths:
            putBigEndian(block, 2, static_cast<std::uint64_t>(std::llround(static_cast<double>(state.frequencyHz) * 1.6)), 4);
            block[7] = static_cast<char>(codeOf(binaryStatusModes, state.mode));
            break;
        }
        return block;
    }

    const Model& m_model;
    std::string m_pending;
};

} // namespace

int main(int argc, char** argv)
{
    EmulatorDescription description;
    description.program = "yaesu-emulator";
    description.purpose = "Emulates a Yaesu radio on binary CAT (five-byte commands) on a pseudo-terminal.";
    description.optionHelp = "  --model NAME   yaesu (FT-817 style; the default), 757gx2, 890, 920, 990, 1000d, 1000\n";
    description.makeRadio = [](const Options& options, std::string& error) -> std::unique_ptr<Radio> {
        std::string name = "yaesu";
        for (const auto& [option, value] : options) {
            if (option != "model") {
                error = "unknown option --" + option;
                return nullptr;
            }
            name = value;
        }
        for (const Model& model : models) {
            if (name == model.name)
                return std::make_unique<YaesuRadio>(model);
        }
        error = "unknown model " + name;
        return nullptr;
    };
    return runEmulator(argc, argv, description);
}
