#include "cw/WinKeyDriver.h"

#include <algorithm>

namespace tenlog::cw {

namespace {

// The keyer answers within a few milliseconds; a USB adapter and a busy
// machine may add some. Longer would keep an absent keyer's message waiting.
constexpr int defaultReplyMs = 800;

// Longer than a window of text takes to cross a 1200 bit/s line and the
// keyer's status to come back.
constexpr int textInFlightMs = 250;

quint8 byteOf(int value)
{
    return quint8(std::clamp(value, 0, 255));
}

} // namespace

QString WinKeyDriver::resultText(Result result)
{
    switch (result) {
    case Result::Success: return QStringLiteral("WK Success!");
    case Result::NoEchoResponse: return QStringLiteral("No Echo Response");
    case Result::EchoMismatch: return QStringLiteral("Echo Mismatch");
    case Result::NoOpenResponse: return QStringLiteral("No Open Response");
    case Result::ComOpenFailed: return QStringLiteral("Com Open Failed");
    case Result::GetComStateFailed: return QStringLiteral("Get Com ST Failed");
    case Result::SetComStateFailed: return QStringLiteral("Set Com ST Failed");
    case Result::AlreadyOpen: return QStringLiteral("WK Already Open");
    case Result::NotOpen: return QStringLiteral("WK Not Open");
    case Result::Unknown: break;
    }
    return {};
}

WinKeyDriver::WinKeyDriver(platform::SerialPort& port, QObject* parent)
    : QObject(parent)
    , m_port(port)
{
    m_replyTimer.setSingleShot(true);
    m_replyTimer.setInterval(defaultReplyMs);
    connect(&m_replyTimer, &QTimer::timeout, this, &WinKeyDriver::onReplyTimeout);
    m_port.setReadyReadHandler([this] { onReadyRead(); });
    m_port.setFailureHandler([this](const QString& reason) { onPortFailed(reason); });
}

WinKeyDriver::~WinKeyDriver()
{
    // Never leave the keyer sending (or its PTT keyed) behind us.
    if (m_state != State::Closed)
        close();
    m_port.setReadyReadHandler({});
    m_port.setFailureHandler({});
}

void WinKeyDriver::open(int portNumber)
{
    if (m_state != State::Closed) {
        emit openFinished(Result::AlreadyOpen, m_version);
        return;
    }
    if (m_port.isOpen())
        m_port.close();
    m_port.setPortNumber(portNumber);
    if (!m_port.setSettings(QStringLiteral("1200,N,8,2"))) {
        emit openFinished(Result::SetComStateFailed, 0);
        return;
    }
    // RTS low and DTR high power the keyer's interface safely.
    m_port.setRts(false);
    m_port.setDtr(true);
    if (!m_port.open()) {
        emit openFinished(Result::ComOpenFailed, 0);
        return;
    }
    resetKeyerState();
    m_port.readAll(); // whatever a previous user left on the line
    m_state = State::AwaitingVersion;
    m_replyTimer.start();
    write(winkey::resync() + winkey::hostOpen());
}

WinKeyDriver::Result WinKeyDriver::close()
{
    switch (m_state) {
    case State::Closed:
        return Result::NotOpen;
    case State::AwaitingVersion:
    case State::AwaitingEcho:
        finishOpen(Result::NotOpen);
        return Result::Success;
    case State::Open:
        break;
    }
    write(winkey::clearBuffer() + winkey::hostClose());
    m_port.close();
    m_state = State::Closed;
    resetKeyerState();
    return Result::Success;
}

void WinKeyDriver::resetKeyerState()
{
    m_version = 0;
    m_status = {};
    m_held = 0;
    m_speedPot = -1;
}

WinKeyDriver::Result WinKeyDriver::write(const QByteArray& bytes)
{
    if (m_state == State::Closed)
        return Result::NotOpen;
    m_port.write(bytes);
    return Result::Success;
}

WinKeyDriver::Result WinKeyDriver::sendCharacter(char16_t code)
{
    if (!isOpen())
        return Result::NotOpen;
    if (code >= 'a' && code <= 'z')
        code = char16_t(code - 32);
    if (code < 0x20 || code > 0x7F)
        return Result::Success;
    ++m_held;
    m_sinceText.start();
    return write(QByteArray(1, char(code)));
}

WinKeyDriver::Result WinKeyDriver::clearBuffer()
{
    if (!isOpen())
        return Result::NotOpen;
    m_held = 0;
    return write(winkey::clearBuffer());
}

WinKeyDriver::Result WinKeyDriver::backspace()
{
    if (!isOpen())
        return Result::NotOpen;
    if (m_held > 0)
        --m_held;
    return write(winkey::backspace());
}

WinKeyDriver::Result WinKeyDriver::setSpeed(int wpm)
{
    return isOpen() ? write(winkey::speed(byteOf(wpm))) : Result::NotOpen;
}

WinKeyDriver::Result WinKeyDriver::setWeight(int weight)
{
    return isOpen() ? write(winkey::weighting(byteOf(weight))) : Result::NotOpen;
}

WinKeyDriver::Result WinKeyDriver::setDitDahRatio(int ratio)
{
    return isOpen() ? write(winkey::ditDahRatio(byteOf(ratio))) : Result::NotOpen;
}

WinKeyDriver::Result WinKeyDriver::setPttLeadTail(int leadIn, int tail)
{
    return isOpen() ? write(winkey::pttLeadTail(byteOf(leadIn), byteOf(tail))) : Result::NotOpen;
}

WinKeyDriver::Result WinKeyDriver::setPinConfiguration(int value)
{
    return isOpen() ? write(winkey::pinConfiguration(byteOf(value))) : Result::NotOpen;
}

WinKeyDriver::Result WinKeyDriver::setMode(int value)
{
    m_mode = value;
    return isOpen() ? write(winkey::modeRegister(byteOf(value) | winkey::serialEchoBit)) : Result::NotOpen;
}

int WinKeyDriver::statusLevel() const
{
    if (!isOpen())
        return 0;
    return std::max(m_status.level(), m_held > 0 ? 1 : 0);
}

int WinKeyDriver::room() const
{
    if (!isOpen() || m_status.xoff)
        return 0;
    return std::max(0, m_window - m_held);
}

void WinKeyDriver::onReadyRead()
{
    const QByteArray bytes = m_port.readAll();
    const int roomBefore = room();
    for (const winkey::KeyerByte& b : winkey::classifyAll(bytes)) {
        if (m_state == State::Closed)
            return;
        switch (b.kind) {
        case winkey::KeyerByte::Kind::Status:
            m_status = b.status;
            // An idle keyer holds nothing, whatever the count says (a
            // character it did not echo, a byte lost on the line), unless
            // text may still be on its way to it.
            if (!b.status.busy && (!m_sinceText.isValid() || m_sinceText.elapsed() > textInFlightMs))
                m_held = 0;
            if (m_state == State::Open)
                emit statusChanged(m_status);
            continue;
        case winkey::KeyerByte::Kind::SpeedPot:
            m_speedPot = b.value;
            if (m_state == State::Open)
                emit speedPotChanged(b.value);
            continue;
        case winkey::KeyerByte::Kind::Pushbutton:
            continue;
        case winkey::KeyerByte::Kind::Other:
            break;
        }
        if (m_state == State::AwaitingVersion) {
            if (b.value == 0) {
                ++m_unexpected;
                continue;
            }
            m_version = b.value;
            m_state = State::AwaitingEcho;
            m_probe = quint8(m_probe == 0x55 ? 0x2A : 0x55);
            m_replyTimer.start();
            write(winkey::echoTest(m_probe));
        } else if (m_state == State::AwaitingEcho) {
            finishOpen(b.value == m_probe ? Result::Success : Result::EchoMismatch);
        } else if (b.value >= 0x20 && b.value < 0x7F) {
            if (m_held > 0)
                --m_held;
            emit echoed(QChar(char16_t(b.value)));
        } else {
            ++m_unexpected;
        }
    }
    if (room() > roomBefore || (room() > 0 && roomBefore == 0))
        emit roomAvailable();
}

void WinKeyDriver::onReplyTimeout()
{
    if (m_state == State::AwaitingVersion)
        finishOpen(Result::NoOpenResponse);
    else if (m_state == State::AwaitingEcho)
        finishOpen(Result::NoEchoResponse);
}

void WinKeyDriver::finishOpen(Result result)
{
    m_replyTimer.stop();
    if (result == Result::Success) {
        m_state = State::Open;
        // Serial echo from the start; the settings follow from the caller.
        setMode(m_mode);
        write(winkey::statusRequest());
        emit openFinished(result, m_version);
        return;
    }
    // A keyer that answered host open is let out of host mode again.
    if (m_state == State::AwaitingEcho && m_port.isOpen())
        m_port.write(winkey::hostClose());
    m_port.close();
    m_state = State::Closed;
    resetKeyerState();
    emit openFinished(result, 0);
}

void WinKeyDriver::onPortFailed(const QString& reason)
{
    switch (m_state) {
    case State::Closed:
        return;
    case State::AwaitingVersion:
        finishOpen(Result::NoOpenResponse);
        return;
    case State::AwaitingEcho:
        finishOpen(Result::NoEchoResponse);
        return;
    case State::Open:
        break;
    }
    m_state = State::Closed;
    resetKeyerState();
    emit lost(reason);
}

} // namespace tenlog::cw
