#include "rig/RigCommander.h"

#include "platform/DurableFile.h"
#include "platform/SerialPort.h"
#include "rig/RigLink.h"
#include "rig/RigctldPoller.h"
#include "text/NumberText.h"

#include <algorithm>

namespace tenlog::rig {

namespace {

const QString kPortClosed = QStringLiteral("The radio's port is not open.");

} // namespace

RigCommander::RigCommander(platform::SerialPort& port, RigctldPoller& rigctld, std::function<RigLink&()> activeLink,
                           QString pegasusFolder, QObject* parent)
    : QObject(parent)
    , m_port(port)
    , m_rigctld(rigctld)
    , m_activeLink(std::move(activeLink))
    , m_pegasusFolder(std::move(pegasusFolder))
{
    m_wait.setSingleShot(true);
    m_wait.setTimerType(Qt::PreciseTimer);
    connect(&m_wait, &QTimer::timeout, this, &RigCommander::runSteps);
}

void RigCommander::tuneTo(float megahertz)
{
    m_requests.push_back({true, megahertz, {}});
    if (!m_running)
        startNext();
}

void RigCommander::setMode(const QString& mode)
{
    m_requests.push_back({false, 0, mode});
    if (!m_running)
        startNext();
}

void RigCommander::startNext()
{
    while (!m_running && !m_requests.empty()) {
        const Request request = m_requests.front();
        m_requests.pop_front();
        m_steps.clear();
        RigLink& link = m_activeLink();
        const RigProfile* profile = findRigProfile(link.settings().rigName);
        if (!profile || isNoRig(profile->name))
            continue;
        if (request.tune) {
            if (!link.isPolling()) {
                // Stopped by the operator: nothing to say. Down by itself:
                // the operator clicked expecting the radio to move.
                if (link.state() == RigLink::State::Lost)
                    emit failed(kFrequencyErrorTitle,
                                QStringLiteral("The radio was not tuned: its link is down (%1).").arg(link.status().text));
                continue;
            }
            buildTune(request);
        } else if (!request.mode.isEmpty()) {
            buildModeSteps(request.mode, profile->frequencyCommand == FrequencyCommand::Rigctld);
        }
        if (m_steps.empty())
            continue;
        m_running = true;
        runSteps();
    }
    if (!m_running)
        emit finished();
}

void RigCommander::buildTune(const Request& request)
{
    RigLink& link = m_activeLink();
    const RigSettings& settings = link.settings();
    const RigProfile& profile = *findRigProfile(settings.rigName);
    const bool rigctld = profile.frequencyCommand == FrequencyCommand::Rigctld;
    link.pauseForCommand();
    // Whatever the radio said before the command belongs to no poll now.
    if (profile.usesSerialPort)
        m_port.readAll();
    buildModeSteps(bandplan::bandPlanMode(m_bandPlan, request.megahertz), rigctld);
    m_steps.push_back({Step::Drain});
    for (int delayMs : {profile.commandDelayMs, profile.commandExtraDelayMs}) {
        if (delayMs > 0)
            m_steps.push_back({Step::Delay, delayMs});
    }
    m_target = request.megahertz;
    if (profile.frequencyCommand == FrequencyCommand::PegasusFile) {
        m_pegasusMode = link.reading().mode;
        m_steps.push_back({Step::WritePegasusFile, 0, {}, kFrequencyErrorTitle});
    } else {
        const CommandContext context{settings.frequencyQuery, settings.modeQuery, link.kenwoodVfo()};
        const std::optional<QByteArray> command = frequencyCommandBytes(profile, context, request.megahertz);
        if (command) {
            m_steps.push_back({Step::Write, 0, *command, kFrequencyErrorTitle});
            if (rigctld)
                m_steps.push_back({Step::AwaitAnswer, 0, {}, kFrequencyErrorTitle});
        } else if (profile.frequencyCommand != FrequencyCommand::None) {
            m_steps.push_back({Step::Write, 0, {}, kFrequencyErrorTitle,
                               QStringLiteral("%1 MHz is beyond what the radio's frequency command can carry.")
                                   .arg(text::plainNumber(request.megahertz))});
        }
        m_steps.push_back({Step::Drain});
    }
    m_steps.push_back({Step::Resume});
}

void RigCommander::buildModeSteps(const QString& mode, bool rigctld)
{
    if (mode.isEmpty())
        return;
    RigLink& link = m_activeLink();
    const RigSettings& settings = link.settings();
    const RigProfile& profile = *findRigProfile(settings.rigName);
    const CommandContext context{settings.frequencyQuery, settings.modeQuery, link.kenwoodVfo()};
    m_steps.push_back({Step::Drain});
    m_steps.push_back({Step::Delay, kModeCommandDelayMs});
    const std::optional<QByteArray> command = modeCommandBytes(profile, context, mode);
    // A radio without a command for the mode is sent nothing.
    if (command && !command->isEmpty()) {
        m_steps.push_back({Step::Write, 0, *command, kModeErrorTitle, mode});
        if (rigctld)
            m_steps.push_back({Step::AwaitAnswer, 0, {}, kModeErrorTitle, mode});
    }
    m_steps.push_back({Step::Drain});
}

void RigCommander::runSteps()
{
    while (!m_steps.empty()) {
        if (!runStep(m_steps.front()))
            return;
        m_steps.pop_front();
        m_stepStarted = false;
    }
    m_running = false;
    emit commandSent();
    startNext();
}

void RigCommander::waitMs(int ms)
{
    m_wait.start(ms);
}

bool RigCommander::runStep(Step& step)
{
    if (!m_stepStarted) {
        m_stepStarted = true;
        m_stepClock.start();
    }
    const bool rigctld = &m_activeLink() == static_cast<RigLink*>(&m_rigctld);
    switch (step.kind) {
    case Step::Drain:
        // rigctld's socket is drained by Qt on its own.
        if (rigctld || !m_port.isOpen() || m_port.bytesToWrite() == 0 || m_stepClock.elapsed() >= kDrainLimitMs)
            return true;
        waitMs(1);
        return false;
    case Step::Delay: {
        const qint64 left = step.delayMs - m_stepClock.elapsed();
        if (left <= 0)
            return true;
        waitMs(int(left));
        return false;
    }
    case Step::Write: {
        if (step.bytes.isEmpty()) {
            fail(step, QString());
            return false;
        }
        const bool written = rigctld ? m_rigctld.sendCommand(step.bytes) : m_port.write(step.bytes);
        if (written)
            return true;
        QString words = rigctld ? QStringLiteral("rigctld is not connected.")
                                : (m_port.isOpen() ? m_port.errorString() : kPortClosed);
        fail(step, words);
        return false;
    }
    case Step::AwaitAnswer: {
        m_rigctld.collectReplies();
        if (const std::optional<QByteArray> answer = m_rigctld.takeCommandAnswer()) {
            if (answer->trimmed() == "RPRT 0")
                return true;
            fail(step, QStringLiteral("rigctld answered \"%1\".").arg(QString::fromLatin1(answer->trimmed())));
            return false;
        }
        if (!m_rigctld.connected()) {
            fail(step, QStringLiteral("rigctld is not connected."));
            return false;
        }
        if (m_stepClock.elapsed() >= kRigctldAnswerLimitMs) {
            // Its answer may still come, and would be taken for a poll's.
            m_rigctld.restartConnection(QStringLiteral("rigctld did not answer a command."));
            fail(step, QStringLiteral("rigctld did not answer."));
            return false;
        }
        waitMs(2);
        return false;
    }
    case Step::WritePegasusFile: {
        QString error;
        const QString path = platform::fileInFolder(m_pegasusFolder, pegasusInputFileName());
        if (platform::writeFileAtomically(path, pegasusInputBytes(m_target, m_pegasusMode), &error))
            return true;
        fail(step, error);
        return false;
    }
    case Step::Resume:
        m_activeLink().resumeAfterCommand();
        return true;
    }
    return true;
}

void RigCommander::fail(const Step& step, const QString& words)
{
    const QString title = step.errorTitle;
    QString message = words;
    if (title == kModeErrorTitle)
        message = step.errorPrefix + u' ' + words;
    else if (words.isEmpty())
        message = step.errorPrefix;
    // The rest of the job is dropped, but polling is not: a link that is
    // still open is polled again at once, and one that broke is reopened by
    // itself.
    const bool pausedPolling
        = std::any_of(m_steps.begin(), m_steps.end(), [](const Step& s) { return s.kind == Step::Resume; });
    m_steps.clear();
    m_stepStarted = false;
    m_running = false;
    if (pausedPolling)
        m_activeLink().resumeAfterCommand();
    emit failed(title, message);
    startNext();
}

} // namespace tenlog::rig
