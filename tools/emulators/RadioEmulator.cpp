#include "RadioEmulator.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <iostream>
#include <poll.h>
#include <pty.h>
#include <random>
#include <sstream>
#include <termios.h>
#include <unistd.h>

namespace tenlog::emulators {

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto splitPause = std::chrono::milliseconds(150);
constexpr std::size_t noiseBytes = 64 * 1024;

const std::pair<const char*, Mode> modeNames[] = {
    {"LSB", Mode::Lsb}, {"USB", Mode::Usb}, {"CW", Mode::Cw}, {"CWR", Mode::CwReverse},
    {"CW-R", Mode::CwReverse}, {"AM", Mode::Am}, {"FM", Mode::Fm}, {"RTTY", Mode::Rtty},
    {"RTTYR", Mode::RttyReverse}, {"RTTY-R", Mode::RttyReverse}, {"PKT", Mode::Packet},
};

enum class Fault { None, Silent, Garbage, Split };

struct Chunk {
    std::string bytes;
    Clock::time_point due;
};

class Emulator final : public Link {
public:
    Emulator(int master, std::unique_ptr<Radio> radio)
        : m_master(master)
        , m_radio(std::move(radio))
    {
    }

    void received(const std::string& bytes) override { std::cout << "RX " << hexText(bytes) << std::endl; }

    void reply(const std::string& bytes) override
    {
        switch (m_fault) {
        case Fault::Silent:
            return;
        case Fault::Garbage:
            queue(randomBytes(bytes.size()), {});
            return;
        case Fault::Split:
            if (bytes.size() > 1) {
                const std::size_t half = bytes.size() / 2;
                queue(bytes.substr(0, half), {});
                queue(bytes.substr(half), splitPause);
                return;
            }
            break;
        case Fault::None:
            break;
        }
        queue(bytes, {});
    }

    void echo(const std::string& bytes) override { queue(bytes, {}); }

    RadioState& state() override { return m_state; }

    int run()
    {
        std::string controlLine;
        char buffer[4096];
        for (;;) {
            pollfd fds[2] {};
            fds[0].fd = m_master;
            fds[0].events = POLLIN;
            int timeoutMs = -1;
            if (!m_output.empty()) {
                const auto wait = m_output.front().due - Clock::now();
                if (wait <= Clock::duration::zero())
                    fds[0].events |= POLLOUT;
                else
                    timeoutMs = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count());
            }
            fds[1].fd = STDIN_FILENO;
            fds[1].events = POLLIN;
            if (::poll(fds, 2, timeoutMs) < 0) {
                if (errno == EINTR)
                    continue;
                std::perror("poll");
                return 1;
            }
            if (fds[0].revents & POLLIN) {
                const ssize_t got = ::read(m_master, buffer, sizeof buffer);
                if (got > 0)
                    m_radio->receive(std::string(buffer, static_cast<std::size_t>(got)), *this);
            }
            if (fds[0].revents & POLLOUT)
                writeDue();
            if (fds[1].revents & (POLLIN | POLLHUP)) {
                const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
                if (got <= 0)
                    return 0; // whoever started us has gone
                controlLine.append(buffer, static_cast<std::size_t>(got));
                std::size_t end;
                while ((end = controlLine.find('\n')) != std::string::npos) {
                    const std::string line = controlLine.substr(0, end);
                    controlLine.erase(0, end + 1);
                    if (!control(line))
                        return 0;
                }
            }
        }
    }

private:
    void queue(std::string bytes, Clock::duration after)
    {
        Clock::time_point due = Clock::now();
        if (!m_output.empty())
            due = std::max(due, m_output.back().due);
        m_output.push_back({std::move(bytes), due + after});
    }

    void writeDue()
    {
        while (!m_output.empty() && m_output.front().due <= Clock::now()) {
            Chunk& chunk = m_output.front();
            const ssize_t sent = ::write(m_master, chunk.bytes.data(), chunk.bytes.size());
            if (sent < 0)
                return; // the pty is full; poll says when it drains
            chunk.bytes.erase(0, static_cast<std::size_t>(sent));
            if (!chunk.bytes.empty())
                return;
            m_output.pop_front();
        }
    }

    std::string randomBytes(std::size_t count)
    {
        std::uniform_int_distribution<int> byte(0, 255);
        std::string bytes(count, '\0');
        for (char& c : bytes)
            c = static_cast<char>(byte(m_random));
        return bytes;
    }

    // False for quit.
    bool control(std::string line)
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream words(line);
        std::string verb;
        std::string argument;
        words >> verb >> argument;
        std::transform(argument.begin(), argument.end(), argument.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        std::string error;
        if (verb == "freq") {
            char* end = nullptr;
            const double megahertz = std::strtod(argument.c_str(), &end);
            if (argument.empty() || *end != '\0' || !(megahertz > 0) || megahertz > 10000)
                error = "freq takes megahertz, such as 28.475";
            else
                m_state.frequencyHz = std::llround(megahertz * 1e6);
        } else if (verb == "mode") {
            if (const auto mode = modeFromName(argument))
                m_state.mode = *mode;
            else
                error = "unknown mode " + argument;
        } else if (verb == "fault") {
            if (argument == "NONE")
                m_fault = Fault::None;
            else if (argument == "SILENT")
                m_fault = Fault::Silent;
            else if (argument == "GARBAGE")
                m_fault = Fault::Garbage;
            else if (argument == "SPLIT")
                m_fault = Fault::Split;
            else if (argument == "NOISE64K")
                queue(randomBytes(noiseBytes), {});
            else
                error = "unknown fault " + argument;
        } else if (verb == "state") {
            std::cout << "STATE " << m_state.frequencyHz << ' ' << modeName(m_state.mode) << '\n';
        } else if (verb == "quit") {
            std::cout << "OK" << std::endl;
            return false;
        } else if (!verb.empty()) {
            error = "unknown command " + verb;
        } else {
            return true;
        }
        std::cout << (error.empty() ? "OK" : "ERR " + error) << std::endl;
        return true;
    }

    int m_master;
    std::unique_ptr<Radio> m_radio;
    RadioState m_state;
    Fault m_fault = Fault::None;
    std::deque<Chunk> m_output;
    std::mt19937 m_random {10}; // fixed, so a failing run can be repeated
};

void printHelp(const EmulatorDescription& description)
{
    std::cout << "Usage: " << description.program << " [options]\n"
              << description.purpose << "\n\nOptions:\n"
              << description.optionHelp << "  --help         this text\n\n"
              << "The first output line is \"PTY <path>\": open that path as the radio's serial port.\n"
              << "Every command the radio receives is then printed as \"RX <hex bytes>\".\n"
              << "Control commands on standard input, one a line, each answered OK or ERR:\n"
              << "  freq <MHz>       set the radio's frequency, e.g. freq 28.475\n"
              << "  mode <name>      LSB USB CW CWR AM FM RTTY RTTYR PKT\n"
              << "  fault <name>     none, silent, garbage, split (replies in two writes),\n"
              << "                   noise64k (64 KB of random bytes, once)\n"
              << "  state            print \"STATE <Hz> <mode>\"\n"
              << "  quit             end (so does the end of standard input)\n";
}

} // namespace

std::optional<Mode> modeFromName(const std::string& name)
{
    for (const auto& [text, mode] : modeNames) {
        if (name == text)
            return mode;
    }
    return std::nullopt;
}

std::string modeName(Mode mode)
{
    for (const auto& [text, named] : modeNames) {
        if (named == mode)
            return text;
    }
    return "?";
}

std::string hexText(const std::string& bytes)
{
    std::string text;
    char pair[4];
    for (unsigned char c : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", c);
        if (!text.empty())
            text += ' ';
        text += pair;
    }
    return text;
}

std::string zeroPadded(std::int64_t value, int digits)
{
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < digits)
        text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
    return text;
}

std::string bcdBigEndian(std::int64_t value, int bytes)
{
    std::string packed(static_cast<std::size_t>(bytes), '\0');
    for (int i = bytes - 1; i >= 0; --i) {
        const int low = static_cast<int>(value % 10);
        value /= 10;
        const int high = static_cast<int>(value % 10);
        value /= 10;
        packed[static_cast<std::size_t>(i)] = static_cast<char>(high << 4 | low);
    }
    return packed;
}

std::optional<std::int64_t> readBcdBigEndian(const std::string& bytes)
{
    std::int64_t value = 0;
    for (unsigned char c : bytes) {
        const int high = c >> 4;
        const int low = c & 0x0F;
        if (high > 9 || low > 9)
            return std::nullopt;
        value = value * 100 + high * 10 + low;
    }
    return value;
}

int runEmulator(int argc, char** argv, const EmulatorDescription& description)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            printHelp(description);
            return 0;
        }
        if (argument.rfind("--", 0) != 0) {
            std::cerr << description.program << ": unexpected argument " << argument << " (see --help)\n";
            return 2;
        }
        const std::size_t equals = argument.find('=');
        if (equals != std::string::npos) {
            options[argument.substr(2, equals - 2)] = argument.substr(equals + 1);
        } else if (i + 1 < argc) {
            options[argument.substr(2)] = argv[++i];
        } else {
            std::cerr << description.program << ": " << argument << " needs a value (see --help)\n";
            return 2;
        }
    }
    std::string error;
    std::unique_ptr<Radio> radio = description.makeRadio(options, error);
    if (!radio) {
        std::cerr << description.program << ": " << error << " (see --help)\n";
        return 2;
    }

    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        std::perror("openpty");
        return 1;
    }
    termios raw {};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    // The slave stays open here as well: without it the master reports a
    // hang-up whenever the logger closes the port, and bytes sent while the
    // port is closed would be lost instead of waiting like a real line's.
    std::cout << "PTY " << ::ttyname(slave) << std::endl;
    Emulator emulator(master, std::move(radio));
    const int code = emulator.run();
    ::close(slave);
    ::close(master);
    return code;
}

} // namespace tenlog::emulators
