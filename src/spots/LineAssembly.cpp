#include "spots/LineAssembly.h"

namespace tenlog::spots {

namespace {
constexpr char kIac = '\xff';
constexpr char kSb = '\xfa';
constexpr char kSe = '\xf0';
constexpr unsigned char kWill = 0xfb;
constexpr unsigned char kWont = 0xfc;
constexpr unsigned char kDo = 0xfd;
constexpr unsigned char kDont = 0xfe;
} // namespace

void TelnetLineAssembler::answerOption(unsigned char verb, char option)
{
    if (verb == kWont || verb == kDont)
        return; // the option is off already
    const unsigned char refusal = verb == kWill ? kDont : kWont;
    m_replies.append(kIac);
    m_replies.append(static_cast<char>(refusal));
    m_replies.append(option);
}

QByteArray TelnetLineAssembler::takeReplies()
{
    QByteArray replies;
    replies.swap(m_replies);
    return replies;
}

void TelnetLineAssembler::clear()
{
    m_state = State::Data;
    m_negotiationCommand = 0;
    m_replies.clear();
    m_line.clear();
    m_afterCr = false;
}

void TelnetLineAssembler::endLine(const LineHandler& onLine)
{
    const QString line = QString::fromLatin1(m_line);
    m_line.clear();
    if (onLine)
        onLine(line);
}

void TelnetLineAssembler::takeDataByte(char byte, const LineHandler& onLine)
{
    if (byte == '\0' || byte == '\a')
        return; // idle filler and bells; a CR NUL pair stays a CR
    if (byte == '\n') {
        if (!m_afterCr)
            endLine(onLine);
        m_afterCr = false;
        return;
    }
    m_afterCr = byte == '\r';
    if (m_afterCr) {
        endLine(onLine);
        return;
    }
    if (m_line.size() >= kMaxLineLength) {
        return;
    }
    m_line.append(byte);
}

void TelnetLineAssembler::feed(const QByteArray& bytes, const LineHandler& onLine)
{
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        switch (m_state) {
        case State::Data:
            if (byte == kIac)
                m_state = State::Command;
            else
                takeDataByte(byte, onLine);
            break;
        case State::Command:
            if (byte == kIac) {
                m_state = State::Data;
                takeDataByte(byte, onLine); // IAC IAC: a literal 255
            } else if (byte == kSb) {
                m_state = State::Subnegotiation;
            } else if (value >= kWill && value <= kDont) {
                m_negotiationCommand = value;
                m_state = State::Option;
            } else {
                m_state = State::Data; // a two-byte command (NOP, GA, ...)
            }
            break;
        case State::Option:
            answerOption(m_negotiationCommand, byte);
            m_state = State::Data;
            break;
        case State::Subnegotiation:
            if (byte == kIac)
                m_state = State::SubnegotiationCommand;
            break;
        case State::SubnegotiationCommand:
            m_state = byte == kSe ? State::Data : State::Subnegotiation;
            break;
        }
    }
}

void TncLineAssembler::clear()
{
    m_partial.clear();
}

void TncLineAssembler::feed(const QString& text, const LineHandler& onLine)
{
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype lf = text.indexOf(QLatin1Char('\n'), from);
        const qsizetype end = lf < 0 ? text.size() : lf;
        const qsizetype room = kMaxLineLength - m_partial.size();
        const qsizetype length = end - from;
        if (length > room) {
            m_partial.append(QStringView(text).mid(from, room));
        } else {
            m_partial.append(QStringView(text).mid(from, length));
        }
        if (lf < 0)
            return;
        m_partial.append(QLatin1Char('\n'));
        const QString line = m_partial;
        m_partial.clear();
        if (onLine)
            onLine(line);
        from = lf + 1;
    }
}

} // namespace tenlog::spots
