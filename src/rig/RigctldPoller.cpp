#include "rig/RigctldPoller.h"

#include "text/NumberText.h"

#include <algorithm>

namespace tenlog::rig {

RigctldPoller::RigctldPoller(platform::TcpClient& client, QObject* parent)
    : RigLink(parent)
    , m_client(client)
{
    m_client.setConnectedHandler([this] {
        if (!linkUp())
            return;
        linkOpened();
        m_awaitingReply = false;
        refreshStatus();
        tick();
    });
    m_client.setDisconnectedHandler(
        [this] { linkBroke(QStringLiteral("rigctld at %1 closed the connection.").arg(where())); });
    m_client.setErrorHandler(
        [this](platform::TcpError, const QString& text) { linkBroke(QStringLiteral("rigctld at %1: %2").arg(where(), text)); });
}

RigctldPoller::~RigctldPoller()
{
    m_client.setConnectedHandler({});
    m_client.setDisconnectedHandler({});
    m_client.setErrorHandler({});
}

QString RigctldPoller::where() const
{
    return QStringLiteral("%1:%2").arg(m_settings.rigctldHost).arg(m_settings.rigctldPort);
}

RigLink::Opened RigctldPoller::openLink()
{
    // A new connection owes no answers from the old one.
    m_client.abort();
    m_expected.clear();
    m_setCommandReplies.clear();
    m_partialLine.clear();
    m_awaitingReply = false;
    m_ticksUnconnected = 0;
    m_client.connectToHost(m_settings.rigctldHost, m_settings.rigctldPort);
    return {true, {}, true};
}

void RigctldPoller::dropLink()
{
    m_client.abort();
}

QString RigctldPoller::unreachableText() const
{
    return QStringLiteral("rigctld at %1 not reachable").arg(where());
}

QString RigctldPoller::waitingText() const
{
    return m_client.isConnected() ? RigLink::waitingText() : QStringLiteral("connecting to rigctld at %1").arg(where());
}

void RigctldPoller::radioFellSilent()
{
    restartConnection(QStringLiteral("rigctld at %1 did not answer.").arg(where()));
}

void RigctldPoller::restartConnection(const QString& reason)
{
    if (!linkUp())
        return;
    retryAfterSilence(QStringLiteral("rigctld at %1 not answering").arg(where()), reason);
}

void RigctldPoller::tick()
{
    if (!linkUp())
        return;
    if (!m_client.isConnected()) {
        // A connection that does not come up leaves the polls unanswered.
        if (++m_ticksUnconnected % 2 == 0)
            unanswered();
        return;
    }
    if (m_awaitingReply)
        receiveTick();
    else
        sendTick();
}

void RigctldPoller::sendTick()
{
    // Answers to the last requests still owed: a slow daemon gets no more.
    if (m_expected.empty()) {
        if (!m_client.write(QByteArrayLiteral("f\nm\n")))
            return;
        m_expected = {Expect::Frequency, Expect::Mode, Expect::Passband};
    }
    m_awaitingReply = true;
}

bool RigctldPoller::sendCommand(const QByteArray& line)
{
    if (!connected() || !m_client.write(line))
        return false;
    m_expected.push_back(Expect::CommandReport);
    return true;
}

void RigctldPoller::collectReplies()
{
    QByteArray received;
    if (takeArrived(received))
        answered(received);
}

std::optional<QByteArray> RigctldPoller::takeCommandAnswer()
{
    if (m_setCommandReplies.empty())
        return std::nullopt;
    QByteArray answer = m_setCommandReplies.front();
    m_setCommandReplies.pop_front();
    return answer;
}

void RigctldPoller::receiveTick()
{
    QByteArray received;
    const bool changed = takeArrived(received);
    m_awaitingReply = false;
    if (changed) {
        answered(received);
        return;
    }
    if (!received.isEmpty())
        emit rawReceived(received);
    unanswered();
}

bool RigctldPoller::takeArrived(QByteArray& received)
{
    received = m_client.readAll();
    if (received.size() > kMaxReplyBytesPerTick)
        received.truncate(kMaxReplyBytesPerTick);
    m_partialLine += received;
    bool changed = false;
    qsizetype end;
    while ((end = m_partialLine.indexOf('\n')) >= 0) {
        QByteArray line = m_partialLine.left(end);
        m_partialLine.remove(0, end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        changed = takeLine(line) || changed;
    }
    // No line is this long: what is held is noise, and so is what follows.
    if (m_partialLine.size() >= kMaxReplyBytesPerTick) {
        m_partialLine.clear();
        m_expected.clear();
    }
    return changed;
}

bool RigctldPoller::takeLine(const QByteArray& line)
{
    if (m_expected.empty())
        return false;
    const Expect expected = m_expected.front();
    m_expected.pop_front();
    if (expected == Expect::CommandReport) {
        m_setCommandReplies.push_back(line);
        return false;
    }
    if (line.startsWith("RPRT")) {
        // A failed mode command answers with the one line only.
        if (expected == Expect::Mode && !m_expected.empty() && m_expected.front() == Expect::Passband)
            m_expected.pop_front();
        return false;
    }
    switch (expected) {
    case Expect::Frequency: {
        // rigctld prints Hz as a whole number; a sign, a point or an exponent
        // means the line is not its answer. Twelve digits reach 999 GHz.
        const bool allDigits = std::all_of(line.begin(), line.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (line.isEmpty() || line.size() > 12 || !allDigits)
            return false;
        const float frequency = text::toSingle(text::roundHalfEven(text::val(QString::fromLatin1(line)) / 1e6, 5));
        if (frequency <= 0)
            return false;
        m_reading.frequencyMHz = frequency;
        return true;
    }
    case Expect::Mode: {
        // A mode name the log has no use for (or noise) leaves the mode.
        const std::optional<QString> mode = logMode(line.trimmed());
        if (!mode)
            return false;
        m_reading.mode = *mode;
        return true;
    }
    case Expect::Passband:
    case Expect::CommandReport:
        return false;
    }
    return false;
}

std::optional<QString> RigctldPoller::logMode(const QByteArray& rigctldMode)
{
    if (rigctldMode == "CW" || rigctldMode == "CWR")
        return QStringLiteral("CW");
    if (rigctldMode == "USB" || rigctldMode == "LSB")
        return QStringLiteral("PH");
    if (rigctldMode == "AM" || rigctldMode == "FM")
        return QString::fromLatin1(rigctldMode);
    return std::nullopt;
}

} // namespace tenlog::rig
