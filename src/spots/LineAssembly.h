// Turning received bytes into whole lines, keeping a partial line across
// reads. A cluster node sends many spot lines in one read and splits others
// across reads; a TNC's monitor output arrives in whatever pieces the serial
// port delivers.
//
// Telnet input: lines end in CR LF, LF or CR alone; NUL and BEL are noise;
// telnet negotiation (IAC, 0xFF) is removed: IAC IAC is a literal 0xFF,
// IAC WILL/WONT/DO/DONT take one option byte, IAC SB ... IAC SE is a
// subnegotiation, any other IAC x is a two-byte command. No option is
// supported, so every request is refused as RFC 854 asks: WILL is answered
// DONT, DO is answered WONT. WONT and DONT ask for what already holds and are
// never answered, so two ends that refuse cannot answer each other forever.
//
// TNC input: only a line feed ends a line and the line keeps its line end,
// so a TNC that ends lines with CR alone produces nothing until an LF comes.
//
// Both keep memory bounded: a line longer than kMaxLineLength is cut there,
// the rest of it up to its line end is dropped, and reading goes on with
// the next line.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace tenlog::spots {

inline constexpr int kMaxLineLength = 2048;

class TelnetLineAssembler {
public:
    using LineHandler = std::function<void(const QString& line)>;

    // Hands every line completed by bytes to onLine, without its line end,
    // in the order received.
    void feed(const QByteArray& bytes, const LineHandler& onLine);
    // The text of the line not yet ended (a login prompt waits here).
    QString partialLine() const { return QString::fromLatin1(m_line); }
    // The refusals owed to the other end since the last call, to be sent.
    QByteArray takeReplies();
    void clear();

private:
    enum class State { Data, Command, Option, Subnegotiation, SubnegotiationCommand };
    void endLine(const LineHandler& onLine);
    void takeDataByte(char byte, const LineHandler& onLine);

    void answerOption(unsigned char verb, char option);

    State m_state = State::Data;
    unsigned char m_negotiationCommand = 0; // WILL, WONT, DO or DONT awaiting its option byte
    QByteArray m_replies;
    QByteArray m_line;
    bool m_afterCr = false;      // an LF right after a CR ends nothing more
};

class TncLineAssembler {
public:
    using LineHandler = std::function<void(const QString& line)>;

    // Appends text and hands every line it completes to onLine, with its
    // line feed (and a CR before it, if any).
    void feed(const QString& text, const LineHandler& onLine);
    // Text received since the last line feed.
    const QString& partialLine() const { return m_partial; }
    void clear();

private:
    QString m_partial;
};

} // namespace tenlog::spots
