#include "rig/RigctldDaemon.h"

#include "platform/ChildProcess.h"
#include "platform/LoopbackPort.h"

#include <QFileInfo>

namespace tenlog::rig {

namespace {

const QString kLoopback = QStringLiteral("127.0.0.1");

// The arguments that name the radio: a change to any of them needs a new daemon.
QStringList radioArguments(const RigSettings& settings)
{
    QStringList arguments{QStringLiteral("--model=%1").arg(settings.hamlibModel)};
    if (!settings.hamlibDevice.isEmpty())
        arguments << QStringLiteral("--rig-file=%1").arg(settings.hamlibDevice);
    if (settings.hamlibSpeed > 0)
        arguments << QStringLiteral("--serial-speed=%1").arg(settings.hamlibSpeed);
    return arguments;
}

} // namespace

QString hamlibRadioText(const RigSettings& settings)
{
    QString text = QStringLiteral("Hamlib model %1").arg(settings.hamlibModel);
    if (!settings.hamlibDevice.isEmpty())
        text += QStringLiteral(" on ") + settings.hamlibDevice;
    return text;
}

RigctldDaemon::RigctldDaemon(platform::ChildProcess& process, QString program)
    : m_process(process)
    , m_program(std::move(program))
{
    m_process.setFinishedHandler([this](platform::ChildProcess::Ending ending, int code) {
        const QString reason = ending == platform::ChildProcess::Ending::NotRun
            ? QStringLiteral("%1 could not be run").arg(description())
            : QStringLiteral("%1 ended by itself (%2)").arg(description(), platform::endingText(ending, code));
        const QString words = lastWords();
        if (m_ended)
            m_ended(words.isEmpty() ? reason + u'.' : reason + QStringLiteral(": ") + words);
    });
}

RigctldDaemon::~RigctldDaemon()
{
    m_process.setFinishedHandler({});
    stop();
}

QStringList RigctldDaemon::arguments(const RigSettings& settings, quint16 port)
{
    // Only this computer may reach it: the radio is not offered to the network.
    return radioArguments(settings)
        << QStringLiteral("--listen-addr=%1").arg(kLoopback) << QStringLiteral("--port=%1").arg(port);
}

RigctldDaemon::Outcome RigctldDaemon::ensureRunning(const RigSettings& settings)
{
    const QStringList wanted = radioArguments(settings);
    if (m_process.isRunning() && wanted == m_runningFor)
        return {true, {}, true, false};
    stop();
    m_settings = settings;
    const QString program = m_process.locate(m_program);
    if (program.isEmpty())
        return {false,
                QStringLiteral("Hamlib's rigctld is not installed (%1 was not found). Install it with: %2")
                    .arg(m_program, kHamlibInstallHint),
                false};
    // A USB adapter not plugged in: said now, and tried again later, rather
    // than left to a daemon that waits on it without a word.
    if (settings.hamlibDevice.startsWith(QLatin1String("/dev/")) && !QFileInfo::exists(settings.hamlibDevice))
        return {false, QStringLiteral("The radio's serial device %1 is not there.").arg(settings.hamlibDevice), true};
    const quint16 port = platform::unusedLoopbackPort();
    if (port == 0)
        return {false, QStringLiteral("No free port on 127.0.0.1 for rigctld."), true};
    m_port = port;
    m_runningFor = wanted;
    m_process.start(program, arguments(settings, port));
    return {true, {}, true, true};
}

void RigctldDaemon::stop()
{
    m_runningFor.clear();
    m_process.stop();
}

bool RigctldDaemon::isRunning() const
{
    return m_process.isRunning();
}

qint64 RigctldDaemon::processId() const
{
    return m_process.processId();
}

QString RigctldDaemon::description() const
{
    return QStringLiteral("rigctld for ") + hamlibRadioText(m_settings);
}

QString RigctldDaemon::lastWords() const
{
    return platform::lastOutputLine(m_process.output());
}

} // namespace tenlog::rig
