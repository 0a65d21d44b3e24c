// A Kenwood or Elecraft radio (ASCII commands ended by ';'), or with
// --model ftdx9000 a Yaesu FTdx9000, which speaks the same style with
// eight frequency digits and a receiver digit after MD.
//   FA;  FA<Hz, 11 digits>;   FB;  FB<11 digits>;   MD;  MD<d>;   IF;
//   FTdx9000: FA;  FA<Hz, 8 digits>;   MD0;  MD0<d>;
// Set commands are not answered; an unknown command gets "?;".
#include "RadioEmulator.h"

#include <algorithm>
#include <cctype>
#include <span>

using namespace tenlog::emulators;

namespace {

struct ModeCode {
    Mode mode;
    char digit;
};
// Reverse lookups take the first row of a mode.
constexpr ModeCode kenwoodModes[] = {
    {Mode::Lsb, '1'}, {Mode::Usb, '2'}, {Mode::Cw, '3'}, {Mode::Fm, '4'}, {Mode::Am, '5'},
    {Mode::Rtty, '6'}, {Mode::CwReverse, '7'}, {Mode::RttyReverse, '9'}, {Mode::Packet, '2'},
};
constexpr ModeCode ftdxModes[] = {
    {Mode::Lsb, '1'}, {Mode::Usb, '2'}, {Mode::Cw, '3'}, {Mode::Fm, '4'}, {Mode::Am, '5'},
    {Mode::Rtty, '6'}, {Mode::CwReverse, '7'}, {Mode::Packet, '8'}, {Mode::RttyReverse, '9'},
};

bool allDigits(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

class KenwoodRadio final : public Radio {
public:
    explicit KenwoodRadio(bool ftdx)
        : m_ftdx(ftdx)
    {
    }

    void receive(const std::string& bytes, Link& link) override
    {
        m_pending += bytes;
        std::size_t end;
        while ((end = m_pending.find(';')) != std::string::npos) {
            const std::string command = m_pending.substr(0, end + 1);
            m_pending.erase(0, end + 1);
            link.received(command);
            answer(command.substr(0, command.size() - 1), link);
        }
    }

private:
    char modeDigit(Mode mode) const
    {
        for (const ModeCode& code : m_ftdx ? std::span<const ModeCode>(ftdxModes) : std::span<const ModeCode>(kenwoodModes)) {
            if (code.mode == mode)
                return code.digit;
        }
        return '2';
    }

    bool setMode(char digit, Link& link) const
    {
        for (const ModeCode& code : m_ftdx ? std::span<const ModeCode>(ftdxModes) : std::span<const ModeCode>(kenwoodModes)) {
            if (code.digit == digit) {
                link.state().mode = code.mode;
                return true;
            }
        }
        return false;
    }

    void answer(const std::string& command, Link& link)
    {
        RadioState& state = link.state();
        const int frequencyDigits = m_ftdx ? 8 : 11;
        const std::string modeKey = m_ftdx ? "MD0" : "MD";
        const std::string key = command.substr(0, 2);
        const std::string rest = command.substr(std::min<std::size_t>(2, command.size()));
        if (key == "FA" && rest.empty()) {
            link.reply("FA" + zeroPadded(state.frequencyHz, frequencyDigits) + ";");
        } else if (key == "FA" && static_cast<int>(rest.size()) == frequencyDigits && allDigits(rest)) {
            state.frequencyHz = std::stoll(rest);
        } else if (!m_ftdx && key == "FB" && rest.empty()) {
            link.reply("FB" + zeroPadded(m_vfoB, frequencyDigits) + ";");
        } else if (!m_ftdx && key == "FB" && static_cast<int>(rest.size()) == frequencyDigits && allDigits(rest)) {
            m_vfoB = std::stoll(rest);
        } else if (command == modeKey) {
            link.reply(modeKey + modeDigit(state.mode) + ";");
        } else if (command.size() == modeKey.size() + 1 && command.starts_with(modeKey)) {
            if (!setMode(command.back(), link))
                link.reply("?;");
        } else if (!m_ftdx && command == "IF") {
            link.reply(information(state));
        } else {
            link.reply("?;");
        }
    }

    // The 38-character IF reply: frequency at 3-13, TX/RX at 29, mode at 30,
    // VFO (0 = A) at 31.
    std::string information(const RadioState& state) const
    {
        return "IF" + zeroPadded(state.frequencyHz, 11) + "     " + "+0000" + "0" + "0" + "000" + "0"
            + modeDigit(state.mode) + "0" + "0" + "0" + "0" + "00" + " " + ";";
    }

    bool m_ftdx;
    std::int64_t m_vfoB = 28'500'000;
    std::string m_pending;
};

} // namespace

int main(int argc, char** argv)
{
    EmulatorDescription description;
    description.program = "kenwood-emulator";
    description.purpose = "Emulates a Kenwood or Elecraft radio (FA; MD; IF;) or a Yaesu FTdx9000 on a pseudo-terminal.";
    description.optionHelp = "  --model NAME   kenwood (also Elecraft; the default) or ftdx9000\n";
    description.makeRadio = [](const Options& options, std::string& error) -> std::unique_ptr<Radio> {
        const auto model = options.find("model");
        const std::string name = model == options.end() ? "kenwood" : model->second;
        if (options.size() > (model == options.end() ? 0U : 1U)) {
            error = "unknown option";
            return nullptr;
        }
        if (name == "kenwood" || name == "elecraft")
            return std::make_unique<KenwoodRadio>(false);
        if (name == "ftdx9000")
            return std::make_unique<KenwoodRadio>(true);
        error = "unknown model " + name;
        return nullptr;
    };
    return runEmulator(argc, argv, description);
}
