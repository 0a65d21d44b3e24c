#include "rig/RigLink.h"

#include "text/NumberText.h"

#include <algorithm>

namespace tenlog::rig {

namespace {

const QString kSilentMessage = QStringLiteral(
    "The radio is not answering: contacts are logged without a frequency until it answers again.");
const QString kSilentDetail =
    QStringLiteral("Contacts are logged without a frequency until the radio answers again.");

// About this long without an answer makes a radio silent.
constexpr int kSilenceMs = 2000;
constexpr int kFewestMissedPolls = 3;

} // namespace

QString frequencyDisplayText(float frequencyMHz)
{
    return frequencyMHz > 0 ? text::formatNumber(frequencyMHz, QStringLiteral("###.####0")) : QString();
}

bool isNoRig(const QString& rigName)
{
    return rigName.compare(kNoRigName, Qt::CaseInsensitive) == 0;
}

RigLink::RigLink(QObject* parent)
    : QObject(parent)
{
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &RigLink::reopen);
}

int RigLink::intervalForRate(const QString& rateCode, int currentMs)
{
    if (rateCode == u"F")
        return 50;
    if (rateCode == u"M")
        return 250;
    if (rateCode == u"S")
        return 1000;
    if (rateCode == u"R")
        return 5000;
    return currentMs;
}

int RigLink::missedPollsBeforeSilence(int tickIntervalMs)
{
    const int cycleMs = std::max(1, 2 * tickIntervalMs);
    return std::max(kFewestMissedPolls, (kSilenceMs + cycleMs - 1) / cycleMs);
}

bool RigLink::start(StartMode mode)
{
    m_retry.stop();
    m_timer.stop();
    m_missedPolls = 0;
    m_nextRetryMs = kFirstRetryMs;
    m_troubleSaid = Trouble::None;
    m_openedSinceStart = false;
    m_failedCommand.clear();
    if (isNoRig(m_settings.rigName)) {
        stop();
        return false;
    }
    m_reading.mode.clear();
    // Quietly: the status says "waiting" only once the link is open. A
    // transport may report a failure inside openLink(), which moves the
    // state on.
    m_state = State::Waiting;
    const Opened opened = openLink();
    if (!opened.ok) {
        if (mode == StartMode::KeepTrying && opened.worthRetrying) {
            retryLater(unreachableText(), opened.reason, Trouble::Unreachable,
                       QStringLiteral("The radio link could not be opened, retrying by itself: ") + opened.reason);
            return false;
        }
        stop();
        if (mode == StartMode::KeepTrying)
            sayTrouble(Trouble::Unreachable, QStringLiteral("The radio link could not be opened: ") + opened.reason);
        else
            emit openFailed(opened.reason);
        return false;
    }
    if (m_state != State::Waiting)
        return false;
    emit frequencyUnknown();
    refreshStatus();
    beginPolling();
    return true;
}

void RigLink::stop()
{
    m_timer.stop();
    m_retry.stop();
    dropLink();
    m_failedCommand.clear();
    setState(State::Stopped);
    linkStopped();
}

void RigLink::reopen()
{
    if (m_state != State::Lost)
        return;
    m_retry.stop();
    m_missedPolls = 0;
    m_state = State::Waiting; // quietly, as at the start
    const Opened opened = openLink();
    if (!opened.ok) {
        retryLater(unreachableText(), opened.reason, Trouble::Unreachable,
                   QStringLiteral("Radio link lost, retrying by itself: ") + opened.reason);
        return;
    }
    if (m_state != State::Waiting)
        return;
    refreshStatus();
    beginPolling();
}

void RigLink::beginPolling()
{
    startPollTimer();
}

QString RigLink::waitingText() const
{
    return QStringLiteral("waiting for an answer");
}

void RigLink::resumeAfterCommand()
{
    if (linkUp())
        m_timer.start();
}

void RigLink::noteCommandResult(const QString& failure)
{
    m_failedCommand = failure;
    refreshStatus();
}

void RigLink::startPollTimer()
{
    m_timer.setInterval(intervalForRate(m_settings.pollRateCode, m_timer.interval()));
    m_timer.start();
}

void RigLink::answered(const QByteArray& raw)
{
    m_missedPolls = 0;
    m_nextRetryMs = kFirstRetryMs;
    m_troubleSaid = Trouble::None;
    publish(raw);
    setState(State::Answering);
}

void RigLink::unanswered()
{
    if (m_state != State::Waiting && m_state != State::Answering)
        return;
    if (++m_missedPolls < missedPollsBeforeSilence(m_timer.interval()))
        return;
    setState(State::Silent);
    sayTrouble(Trouble::NotAnswering, kSilentMessage);
    radioFellSilent();
}

void RigLink::linkBroke(const QString& reason)
{
    if (!linkUp())
        return;
    retryLater(unreachableText(), reason, Trouble::Unreachable, lossMessage(reason));
}

QString RigLink::lossMessage(const QString& reason) const
{
    // A connection refused at the start was never a link that was lost.
    return (m_openedSinceStart ? QStringLiteral("Radio link lost, retrying by itself: ")
                               : QStringLiteral("The radio link could not be opened, retrying by itself: "))
        + reason;
}

void RigLink::explainLoss(const QString& reason)
{
    if (m_state != State::Lost || m_downDetail == reason)
        return;
    m_downDetail = reason;
    refreshStatus();
    emit trouble(lossMessage(reason));
}

void RigLink::retryAfterSilence(const QString& downText, const QString& reason)
{
    if (linkUp())
        retryLater(downText, reason, Trouble::NotAnswering, kSilentMessage);
}

void RigLink::retryLater(const QString& downText, const QString& detail, Trouble kind, const QString& message)
{
    m_timer.stop();
    dropLink();
    m_downText = downText;
    m_downDetail = detail;
    m_retryDelayMs = m_nextRetryMs;
    m_nextRetryMs = std::min(2 * m_nextRetryMs, kLongestRetryMs);
    m_retry.start(m_retryDelayMs);
    setState(State::Lost);
    sayTrouble(kind, message);
}

void RigLink::setState(State state)
{
    const bool changed = state != m_state;
    m_state = state;
    if (changed && state != State::Answering)
        emit frequencyUnknown();
    refreshStatus();
}

void RigLink::sayTrouble(Trouble kind, const QString& message)
{
    if (m_troubleSaid == kind)
        return;
    m_troubleSaid = kind;
    emit trouble(message);
}

void RigLink::refreshStatus()
{
    using common::LinkHealth;
    common::LinkStatus status;
    switch (m_state) {
    case State::Stopped:
        break;
    case State::Waiting:
        // Coming back from trouble it stays trouble until the radio answers,
        // so that every retry does not sound as a change.
        if (m_troubleSaid == Trouble::None)
            status = {LinkHealth::Waiting, QStringLiteral("Radio: ") + waitingText(), {}};
        else
            status = {LinkHealth::Trouble, QStringLiteral("Radio: ") + waitingText(), m_downDetail};
        break;
    case State::Answering: {
        const QString frequency = frequencyDisplayText(m_reading.frequencyMHz);
        status = {LinkHealth::Up,
                  frequency.isEmpty() ? QStringLiteral("Radio: answering") : QStringLiteral("Radio: %1 MHz").arg(frequency),
                  {}};
        break;
    }
    case State::Silent:
        status = {LinkHealth::Trouble, QStringLiteral("Radio: not answering"), kSilentDetail};
        break;
    case State::Lost:
        status = {LinkHealth::Trouble,
                  QStringLiteral("Radio: %1, retrying in %2 s").arg(m_downText).arg(m_retryDelayMs / 1000),
                  m_downDetail};
        break;
    }
    if (status.health != LinkHealth::Off && !m_failedCommand.isEmpty()) {
        status.health = LinkHealth::Trouble;
        status.text += QStringLiteral("; the last command failed");
        status.detail = status.detail.isEmpty() ? m_failedCommand : status.detail + u' ' + m_failedCommand;
    }
    if (status == m_status)
        return;
    m_status = status;
    emit statusChanged(m_status);
}

void RigLink::publish(const QByteArray& raw)
{
    if (m_settings.modeBy == ModeBy::Frequency)
        modeFromFrequency(m_reading.frequencyMHz, m_reading.mode);
    emit rawReceived(raw);
    emit readingChanged(m_reading.frequencyMHz, m_reading.mode);
    // Until a frequency has been decoded there is none to log: a radio whose
    // replies are only shown raw must not put 0 MHz on the contacts.
    if (m_settings.useFrequency && m_reading.frequencyMHz > 0)
        emit frequencyPolled(m_reading.frequencyMHz);
    if (m_settings.modeBy != ModeBy::DontUse)
        emit modePolled(m_reading.mode);
}

} // namespace tenlog::rig
