// A WinKey keyer (WK2 or WK3) on a pseudo-terminal, for the device tests,
// the benchmark and trying the WinKey setup by hand.
//
// It speaks the keyer's host protocol at the pace of a 1200 bit/s 8N2 line
// (about 9 ms a byte, both ways): host open answered with the version byte,
// host close, the echo test, speed, weighting, PTT lead/tail, pin
// configuration, mode register (serial echo), dit/dah ratio, backspace,
// clear buffer and the status request. Text goes into a buffer of the real
// keyer's size and is "sent" character by character with the real element
// timing at the set speed; a status byte goes to the host whenever BUSY or
// XOFF (buffer over two thirds full) changes, as the real keyer sends them.
//
// Standard output: "PTY <path>" first; then "RX <hex>" for every byte
// received, "KEY <char> <ms>" when a character starts, "SENT <char> <ms>"
// when it and its gap are done, "IDLE <ms>" when the buffer has run empty,
// "CLEAR", "OVERFLOW" for a byte that found the buffer full, and the answers
// to control commands. Times are milliseconds since the emulator started;
// "CLOCK <ns>", the second line, is that start on the monotonic clock.
//
// Standard input, one control command a line, answered OK or ERR:
//   fault none|dead|wrong   dead: no answer to anything; wrong: the echo
//                           test is answered with another byte
//   noise                   sends bytes that are neither status nor echo
//   pot <0-63>              reports the speed pot
//   state                   prints "STATE open=<0|1> buffered=<n> keyed=<0|1> wpm=<n>"
//   quit                    ends (so does the end of standard input)
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <iostream>
#include <map>
#include <optional>
#include <poll.h>
#include <pty.h>
#include <sstream>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

const std::map<char, const char*>& morseTable()
{
    static const std::map<char, const char*> table {
        {'A', ".-"}, {'B', "-..."}, {'C', "-.-."}, {'D', "-.."}, {'E', "."}, {'F', "..-."}, {'G', "--."},
        {'H', "...."}, {'I', ".."}, {'J', ".---"}, {'K', "-.-"}, {'L', ".-.."}, {'M', "--"}, {'N', "-."},
        {'O', "---"}, {'P', ".--."}, {'Q', "--.-"}, {'R', ".-."}, {'S', "..."}, {'T', "-"}, {'U', "..-"},
        {'V', "...-"}, {'W', ".--"}, {'X', "-..-"}, {'Y', "-.--"}, {'Z', "--.."}, {'0', "-----"},
        {'1', ".----"}, {'2', "..---"}, {'3', "...--"}, {'4', "....-"}, {'5', "....."}, {'6', "-...."},
        {'7', "--..."}, {'8', "---.."}, {'9', "----."}, {'.', ".-.-.-"}, {',', "--..--"}, {'?', "..--.."},
        {'/', "-..-."}, {'-', "-....-"}, {'=', "-...-"}, {'+', ".-.-."}, {'(', "-.--."}, {')', "-.--.-"},
        {':', "---..."}, {';', "-.-.-."}, {'\'', ".----."}, {'"', ".-..-."}, {'@', ".--.-."},
        {'<', ".-.-."}, {'>', "...-.-"}, {'!', "...-."}, {'&', ".-..."}, {'$', "...-..-"},
        {'[', ".-.-."}, {']', "...-.-"}, {'\\', "-.-..-.."},
    };
    return table;
}

class Keyer {
public:
    Keyer(int master, int version, std::size_t bufferSize, double byteMs)
        : m_master(master), m_version(version), m_bufferSize(bufferSize), m_byteMs(byteMs), m_start(Clock::now())
    {
    }

    void setFault(const std::string& fault) { m_fault = fault; }
    long long startNs() const
    {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(m_start.time_since_epoch()).count();
    }

    int run()
    {
        std::string control;
        char chunk[4096];
        for (;;) {
            const Clock::time_point now = Clock::now();
            advance(now);
            pollfd fds[2] {};
            fds[0].fd = m_master;
            fds[0].events = POLLIN;
            fds[1].fd = STDIN_FILENO;
            fds[1].events = POLLIN;
            int timeoutMs = -1;
            if (const auto next = nextDeadline())
                timeoutMs = std::max(0, int(std::ceil(Ms(*next - Clock::now()).count())));
            if (::poll(fds, 2, timeoutMs) < 0) {
                if (errno == EINTR)
                    continue;
                std::perror("poll");
                return 1;
            }
            if (fds[0].revents & POLLIN) {
                const ssize_t got = ::read(m_master, chunk, sizeof chunk);
                if (got > 0) {
                    const std::string bytes(chunk, std::size_t(got));
                    std::cout << "RX " << hex(bytes) << std::endl;
                    // The line carries one byte every byte time.
                    Clock::time_point due = std::max(Clock::now(), m_lastInputDue);
                    for (char c : bytes) {
                        due += byteTime();
                        m_input.push_back({static_cast<unsigned char>(c), due});
                    }
                    m_lastInputDue = due;
                }
            }
            if (fds[1].revents & (POLLIN | POLLHUP)) {
                const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
                if (got <= 0)
                    return 0;
                control.append(chunk, std::size_t(got));
                std::size_t end;
                while ((end = control.find('\n')) != std::string::npos) {
                    const std::string line = control.substr(0, end);
                    control.erase(0, end + 1);
                    if (!command(line))
                        return 0;
                }
            }
        }
    }

private:
    struct Timed {
        unsigned char byte;
        Clock::time_point due;
    };

    Clock::duration byteTime() const
    {
        return std::chrono::duration_cast<Clock::duration>(Ms(m_byteMs));
    }

    long long since(Clock::time_point t) const { return std::llround(Ms(t - m_start).count()); }

    std::optional<Clock::time_point> nextDeadline() const
    {
        std::optional<Clock::time_point> next;
        const auto consider = [&next](Clock::time_point t) {
            if (!next || t < *next)
                next = t;
        };
        if (!m_input.empty())
            consider(m_input.front().due);
        if (!m_output.empty())
            consider(m_output.front().due);
        if (m_current)
            consider(m_currentEnd);
        return next;
    }

    void advance(Clock::time_point now)
    {
        while (!m_input.empty() && m_input.front().due <= now) {
            const unsigned char byte = m_input.front().byte;
            m_input.pop_front();
            take(byte);
        }
        if (m_current && m_currentEnd <= now) {
            std::cout << "SENT " << *m_current << ' ' << since(m_currentEnd) << std::endl;
            const Clock::time_point end = m_currentEnd;
            m_current.reset();
            startNext(end);
        }
        while (!m_output.empty() && m_output.front().due <= now) {
            const char byte = char(m_output.front().byte);
            m_output.pop_front();
            if (::write(m_master, &byte, 1) < 0 && errno != EAGAIN)
                return;
        }
    }

    void send(unsigned char byte)
    {
        if (m_fault == "dead")
            return;
        Clock::time_point due = Clock::now();
        if (!m_output.empty())
            due = std::max(due, m_output.back().due);
        m_output.push_back({byte, due + byteTime()});
    }

    // How long the character keys, its trailing gap of three units included.
    double characterMs(char c) const
    {
        const double unit = 1200.0 / std::max(5, m_wpm);
        // Weighting lengthens the key-down time and shortens the spaces by
        // the same amount; the ratio sets the dah against the dit.
        const double weight = (m_weight - 50) / 50.0 * unit;
        const double dah = 3.0 * unit * m_ratio / 50.0;
        if (c == ' ')
            return 4 * unit;
        const auto found = morseTable().find(c);
        if (found == morseTable().end())
            return 0;
        double total = 0;
        const std::string pattern = found->second;
        for (std::size_t i = 0; i < pattern.size(); ++i) {
            total += (pattern[i] == '.' ? unit : dah) + weight;
            total += (i + 1 < pattern.size() ? unit : 3 * unit) - weight;
        }
        return total;
    }

    void startNext(Clock::time_point at)
    {
        if (m_buffer.empty()) {
            if (m_wasSending)
                std::cout << "IDLE " << since(at) << std::endl;
            m_wasSending = false;
            reportStatus();
            return;
        }
        const char c = m_buffer.front();
        m_buffer.pop_front();
        m_current = c;
        m_wasSending = true;
        m_currentEnd = at + std::chrono::duration_cast<Clock::duration>(Ms(characterMs(c)));
        std::cout << "KEY " << c << ' ' << since(at) << std::endl;
        if (m_mode & 0x04)
            send(static_cast<unsigned char>(c));
        reportStatus();
    }

    void reportStatus()
    {
        if (!m_hostOpen)
            return;
        const bool busy = m_current.has_value() || !m_buffer.empty();
        const bool xoff = m_buffer.size() * 3 > m_bufferSize * 2;
        const unsigned char status = static_cast<unsigned char>(0xC0 | (busy ? 0x04 : 0) | (xoff ? 0x01 : 0));
        if (status != m_lastStatus) {
            m_lastStatus = status;
            send(status);
        }
    }

    void statusNow()
    {
        const bool busy = m_current.has_value() || !m_buffer.empty();
        const bool xoff = m_buffer.size() * 3 > m_bufferSize * 2;
        m_lastStatus = static_cast<unsigned char>(0xC0 | (busy ? 0x04 : 0) | (xoff ? 0x01 : 0));
        send(m_lastStatus);
    }

    // Bytes each command takes after its own.
    static int argumentsOf(unsigned char command)
    {
        switch (command) {
        case 0x01: case 0x02: case 0x03: case 0x06: case 0x09: case 0x0B: case 0x0C: case 0x0D: case 0x0E:
        case 0x10: case 0x11: case 0x12: case 0x14: case 0x16: case 0x17: case 0x18: case 0x19: case 0x1A:
        case 0x1C: case 0x1D:
            return 1;
        case 0x04: case 0x1B:
            return 2;
        case 0x05:
            return 3;
        case 0x0F:
            return 15;
        default:
            return 0;
        }
    }

    void take(unsigned char byte)
    {
        if (m_command.empty()) {
            if (byte >= 0x20 && byte <= 0x7F) {
                if (m_hostOpen)
                    queueText(char(byte));
                return;
            }
            if (byte >= 0x80 || byte == 0x13)
                return;
            m_command.push_back(byte);
        } else {
            m_command.push_back(byte);
        }
        const unsigned char head = m_command[0];
        if (head == 0x00) {
            if (m_command.size() < 2)
                return;
            if (m_command[1] == 0x04 && m_command.size() < 3)
                return;
            admin();
            m_command.clear();
            return;
        }
        if (int(m_command.size()) < 1 + argumentsOf(head))
            return;
        if (m_hostOpen)
            hostCommand();
        m_command.clear();
    }

    void admin()
    {
        switch (m_command[1]) {
        case 0x01: // reset
            m_hostOpen = false;
            clearBuffer();
            break;
        case 0x02:
            m_hostOpen = true;
            m_lastStatus = 0;
            send(static_cast<unsigned char>(m_version));
            break;
        case 0x03:
            clearBuffer();
            m_hostOpen = false;
            break;
        case 0x04: {
            const unsigned char probe = m_command[2];
            // A wrong answer that still looks like an answer, not a status byte.
            send(m_fault == "wrong" ? static_cast<unsigned char>((probe ^ 0x01) & 0x7F) : probe);
            break;
        }
        default:
            break;
        }
    }

    void hostCommand()
    {
        const unsigned char head = m_command[0];
        const int arg = m_command.size() > 1 ? m_command[1] : 0;
        switch (head) {
        case 0x02: m_wpm = arg; break;
        case 0x03: m_weight = arg; break;
        case 0x07: send(static_cast<unsigned char>(0x80 | (m_pot & 0x3F))); break;
        case 0x08:
            if (!m_buffer.empty())
                m_buffer.pop_back();
            reportStatus();
            break;
        case 0x0A: clearBuffer(); break;
        case 0x0E: m_mode = arg; break;
        case 0x15: statusNow(); break;
        case 0x17: m_ratio = arg; break;
        default: break; // accepted, not emulated
        }
    }

    void queueText(char c)
    {
        if (m_buffer.size() >= m_bufferSize) {
            std::cout << "OVERFLOW" << std::endl;
            return;
        }
        m_buffer.push_back(c);
        if (!m_current)
            startNext(Clock::now());
        else
            reportStatus();
    }

    void clearBuffer()
    {
        m_buffer.clear();
        m_current.reset();
        m_wasSending = false;
        std::cout << "CLEAR" << std::endl;
        reportStatus();
    }

    bool command(std::string line)
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream words(line);
        std::string verb;
        std::string argument;
        words >> verb >> argument;
        std::string error;
        if (verb == "fault") {
            if (argument == "none" || argument == "dead" || argument == "wrong")
                m_fault = argument == "none" ? std::string() : argument;
            else
                error = "unknown fault " + argument;
        } else if (verb == "noise") {
            for (unsigned char b : {0x01, 0x7F, 0x00, 0x1F, 0xC8, 0x9F})
                send(b);
        } else if (verb == "pot") {
            m_pot = std::atoi(argument.c_str());
            if (m_hostOpen)
                send(static_cast<unsigned char>(0x80 | (m_pot & 0x3F)));
        } else if (verb == "state") {
            std::cout << "STATE open=" << (m_hostOpen ? 1 : 0) << " buffered=" << m_buffer.size()
                      << " keyed=" << (m_current ? 1 : 0) << " wpm=" << m_wpm << '\n';
        } else if (verb == "quit") {
            std::cout << "OK" << std::endl;
            return false;
        } else if (verb.empty()) {
            return true;
        } else {
            error = "unknown command " + verb;
        }
        std::cout << (error.empty() ? "OK" : "ERR " + error) << std::endl;
        return true;
    }

    static std::string hex(const std::string& bytes)
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

    int m_master;
    int m_version;
    std::size_t m_bufferSize;
    double m_byteMs;
    Clock::time_point m_start;
    std::deque<Timed> m_input;
    Clock::time_point m_lastInputDue {};
    std::deque<Timed> m_output;
    std::string m_command;
    std::deque<char> m_buffer;
    std::optional<char> m_current;
    Clock::time_point m_currentEnd {};
    bool m_wasSending = false;
    bool m_hostOpen = false;
    unsigned char m_lastStatus = 0;
    int m_wpm = 20;
    int m_weight = 50;
    int m_ratio = 50;
    int m_mode = 0;
    int m_pot = 0;
    std::string m_fault;
};

void printHelp()
{
    std::cout << "Usage: winkey-emulator [--keyer wk2|wk3] [--buffer N] [--byte-ms MS] [--fault dead|wrong]\n"
                 "A WinKey keyer on a pseudo-terminal. The first output line is \"PTY <path>\": map it in\n"
                 "ComPorts.txt (COM5=/dev/pts/N) and open the keyer on that port.\n"
                 "  --keyer     wk2 answers host open with version 23, wk3 with 31 (default wk2)\n"
                 "  --buffer    the keyer's text buffer in bytes (default 128)\n"
                 "  --byte-ms   the time one byte takes on the line (default 9.17, 1200 bit/s 8N2)\n"
                 "  --fault     start dead (no answers) or answering the echo test wrongly\n"
                 "Output: RX <hex> per read, KEY/SENT <char> <ms>, IDLE <ms>, CLEAR, OVERFLOW.\n"
                 "Control on standard input: fault none|dead|wrong, noise, pot <n>, state, quit.\n";
}

} // namespace

int main(int argc, char** argv)
{
    int version = 23;
    std::size_t bufferSize = 128;
    double byteMs = 11.0 * 1000.0 / 1200.0;
    std::string fault;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            printHelp();
            return 0;
        }
        if (i + 1 >= argc) {
            std::cerr << "winkey-emulator: " << option << " needs a value (see --help)\n";
            return 2;
        }
        const std::string value = argv[++i];
        if (option == "--keyer" && (value == "wk2" || value == "wk3")) {
            version = value == "wk2" ? 23 : 31;
        } else if (option == "--buffer" && std::atoi(value.c_str()) > 0) {
            bufferSize = std::size_t(std::atoi(value.c_str()));
        } else if (option == "--byte-ms" && std::atof(value.c_str()) >= 0) {
            byteMs = std::atof(value.c_str());
        } else if (option == "--fault" && (value == "dead" || value == "wrong")) {
            fault = value;
        } else {
            std::cerr << "winkey-emulator: bad option " << option << ' ' << value << " (see --help)\n";
            return 2;
        }
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
    // The slave stays open here too, so the host closing and reopening the
    // port is no hang-up, as with a real keyer.
    std::cout << "PTY " << ::ttyname(slave) << std::endl;
    Keyer keyer(master, version, bufferSize, byteMs);
    keyer.setFault(fault);
    std::cout << "CLOCK " << keyer.startNs() << std::endl;
    const int code = keyer.run();
    ::close(slave);
    ::close(master);
    return code;
}
