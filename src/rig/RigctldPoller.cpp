#include "rig/RigctldPoller.h"

#include "rig/RigctldDaemon.h"
#include "text/NumberText.h"

#include <algorithm>

namespace tenlog::rig {

RigctldPoller::RigctldPoller(platform::TcpClient& client, platform::ChildProcess* daemonProcess, QObject* parent)
    : RigLink(parent)
    , m_client(client)
{
    if (daemonProcess) {
        m_daemon = std::make_unique<RigctldDaemon>(*daemonProcess);
        m_daemon->setEndedHandler([this](const QString& reason) {
            m_connectTriesLeft = 0;
            // A killed daemon's connection often closes before its exit is
            // known: the exit is the better reason.
            if (linkUp())
                linkBroke(reason);
            else
                explainLoss(reason);
        });
    }
    m_connectTry.setSingleShot(true);
    connect(&m_connectTry, &QTimer::timeout, this, [this] {
        if (linkUp() && waitingForDaemon())
            connectToDaemon();
    });
    m_client.setConnectedHandler([this] {
        if (!linkUp())
            return;
        m_connectTriesLeft = 0;
        linkOpened();
        m_awaitingReply = false;
        refreshStatus();
        tick();
    });
    m_client.setDisconnectedHandler([this] { linkBroke(QStringLiteral("%1 closed the connection.").arg(daemonName())); });
    m_client.setErrorHandler([this](platform::TcpError error, const QString& text) {
        // A daemon just started may not listen yet: it is asked again shortly.
        if (waitingForDaemon() && error == platform::TcpError::ConnectionRefused) {
            if (--m_connectTriesLeft > 0) {
                m_connectTry.start(kDaemonConnectTryMs);
                return;
            }
            const QString words = m_daemon->lastWords();
            const QString reason = QStringLiteral("%1 did not open its port %2 within %3 s")
                                       .arg(daemonName(), where())
                                       .arg((m_listenWaitMs + 999) / 1000)
                                   + (words.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + words);
            // Started again at the next try, perhaps on a port that is free.
            m_daemon->stop();
            linkBroke(reason);
            return;
        }
        linkBroke(QStringLiteral("%1: %2").arg(daemonName(), text));
    });
}

RigctldPoller::~RigctldPoller()
{
    m_client.setConnectedHandler({});
    m_client.setDisconnectedHandler({});
    m_client.setErrorHandler({});
    if (m_daemon)
        m_daemon->setEndedHandler({});
}

void RigctldPoller::setDaemonProgram(const QString& program)
{
    if (m_daemon)
        m_daemon->setProgram(program);
}

QString RigctldPoller::where() const
{
    if (m_settings.startsOwnRigctld() && m_daemon)
        return QStringLiteral("127.0.0.1:%1").arg(m_daemon->port());
    return QStringLiteral("%1:%2").arg(m_settings.rigctldHost).arg(m_settings.rigctldPort);
}

QString RigctldPoller::daemonName() const
{
    if (m_settings.startsOwnRigctld())
        return QStringLiteral("rigctld for ") + hamlibRadioText(m_settings);
    return QStringLiteral("rigctld at ") + where();
}

void RigctldPoller::connectToDaemon()
{
    if (m_settings.startsOwnRigctld())
        m_client.connectToHost(QStringLiteral("127.0.0.1"), m_daemon->port());
    else
        m_client.connectToHost(m_settings.rigctldHost, m_settings.rigctldPort);
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
    m_connectTriesLeft = 0;
    m_connectTry.stop();
    if (m_settings.startsOwnRigctld()) {
        if (!m_daemon)
            return {false, QStringLiteral("This program cannot start rigctld here; start it by hand and choose "
                                          "a rigctld already running."),
                    false};
        const RigctldDaemon::Outcome daemon = m_daemon->ensureRunning(m_settings);
        if (!daemon.ok)
            return {false, daemon.reason, daemon.worthRetrying};
        if (daemon.freshlyStarted)
            m_connectTriesLeft = std::max(1, m_listenWaitMs / kDaemonConnectTryMs);
    } else if (m_daemon) {
        // The operator went back to a rigctld of their own.
        m_daemon->stop();
    }
    connectToDaemon();
    return {true, {}, true};
}

void RigctldPoller::dropLink()
{
    m_connectTry.stop();
    m_connectTriesLeft = 0;
    m_client.abort();
}

void RigctldPoller::linkStopped()
{
    // Never left running behind the link.
    if (m_daemon)
        m_daemon->stop();
}

QString RigctldPoller::statusName() const
{
    return m_settings.startsOwnRigctld() ? QStringLiteral("rigctld") : daemonName();
}

QString RigctldPoller::unreachableText() const
{
    return QStringLiteral("%1 not reachable").arg(statusName());
}

QString RigctldPoller::waitingText() const
{
    if (m_client.isConnected())
        return RigLink::waitingText();
    if (waitingForDaemon())
        return QStringLiteral("starting %1").arg(statusName());
    return QStringLiteral("connecting to %1").arg(statusName());
}

void RigctldPoller::radioFellSilent()
{
    restartConnection(QStringLiteral("%1 did not answer.").arg(daemonName()));
}

void RigctldPoller::restartConnection(const QString& reason)
{
    if (!linkUp())
        return;
    retryAfterSilence(QStringLiteral("%1 not answering").arg(statusName()), reason);
}

void RigctldPoller::tick()
{
    if (!linkUp())
        return;
    if (!m_client.isConnected()) {
        // A daemon starting up is given its own time, not the poll's.
        if (waitingForDaemon())
            return;
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
