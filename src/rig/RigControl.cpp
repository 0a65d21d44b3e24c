#include "rig/RigControl.h"

#include "bandplan/BandPlan.h"
#include "platform/ChildProcess.h"
#include "platform/SerialPort.h"
#include "rig/HamlibModels.h"
#include "rig/RigCommander.h"
#include "rig/RigPoller.h"
#include "rig/RigctldPoller.h"

namespace tenlog::rig {

RigControl::RigControl(platform::SerialPort& port, platform::TcpClient& daemon, QString workingFolder,
                       QString pegasusFolder, const ChildProcessFactory& makeChildProcess, QObject* parent)
    : QObject(parent)
    , m_workingFolder(std::move(workingFolder))
    , m_pegasusFolder(pegasusFolder)
    , m_serial(std::make_unique<RigPoller>(port, std::move(pegasusFolder)))
    , m_daemonProcess(makeChildProcess ? makeChildProcess() : nullptr)
    , m_network(std::make_unique<RigctldPoller>(daemon, m_daemonProcess.get()))
    , m_port(port)
{
    if (makeChildProcess)
        m_hamlibModels = std::make_unique<HamlibModelCatalog>(makeChildProcess());
    m_commander = std::make_unique<RigCommander>(port, *m_network, [this]() -> RigLink& { return activeLink(); },
                                                 m_pegasusFolder);
    forward(*m_serial);
    forward(*m_network);
    // A failed command is said with the link's status; one that goes
    // through clears it.
    connect(m_commander.get(), &RigCommander::failed, this, [this](const QString& title, const QString& text) {
        const QString words = title + QStringLiteral(": ") + text;
        activeLink().noteCommandResult(words);
        emit trouble(words);
    });
    connect(m_commander.get(), &RigCommander::commandSent, this, [this] { activeLink().noteCommandResult({}); });
}

RigControl::~RigControl() = default;

void RigControl::forward(RigLink& link)
{
    connect(&link, &RigLink::rawReceived, this, &RigControl::rawReceived);
    connect(&link, &RigLink::readingChanged, this, &RigControl::readingChanged);
    connect(&link, &RigLink::frequencyPolled, this, &RigControl::frequencyPolled);
    connect(&link, &RigLink::modePolled, this, &RigControl::modePolled);
    connect(&link, &RigLink::frequencyUnknown, this, &RigControl::frequencyUnknown);
    connect(&link, &RigLink::openFailed, this, &RigControl::openFailed);
    connect(&link, &RigLink::trouble, this, &RigControl::trouble);
    connect(&link, &RigLink::statusChanged, this, &RigControl::showStatus);
}

RigLink& RigControl::activeLink() const
{
    const RigProfile* profile = findRigProfile(m_settings.rigName);
    if (profile && profile->requestScheme == RequestScheme::Rigctld)
        return *m_network;
    return *m_serial;
}

std::optional<float> RigControl::currentFrequencyMHz() const
{
    const RigLink& link = activeLink();
    if (link.state() != RigLink::State::Answering || link.reading().frequencyMHz <= 0)
        return std::nullopt;
    return link.reading().frequencyMHz;
}

void RigControl::setUseFrequency(bool on)
{
    m_settings.useFrequency = on;
    for (RigLink* link : {static_cast<RigLink*>(m_serial.get()), static_cast<RigLink*>(m_network.get())}) {
        RigSettings running = link->settings();
        running.useFrequency = on;
        link->setSettings(running);
    }
}

void RigControl::setModeBy(ModeBy modeBy)
{
    m_settings.modeBy = modeBy;
    for (RigLink* link : {static_cast<RigLink*>(m_serial.get()), static_cast<RigLink*>(m_network.get())}) {
        RigSettings running = link->settings();
        running.modeBy = modeBy;
        link->setSettings(running);
    }
}

void RigControl::loadSettings()
{
    loadRigSettings(m_workingFolder, m_settings);
    m_commander->setBandPlan(bandplan::loadExtraClassRecords(m_workingFolder));
}

const RigSettings& RigControl::runningSettings() const
{
    return activeLink().settings();
}

bool RigControl::writeRaw(const QByteArray& bytes)
{
    return m_port.isOpen() && m_port.write(bytes);
}

bool RigControl::saveSettings(QString* error)
{
    return saveRigSettings(m_workingFolder, m_settings, error);
}

bool RigControl::start(StartMode mode)
{
    RigLink& link = activeLink();
    // Only one link runs: a radio changed from serial to network (or back)
    // leaves nothing of the old one open.
    (&link == m_serial.get() ? static_cast<RigLink&>(*m_network) : static_cast<RigLink&>(*m_serial)).stop();
    link.setSettings(m_settings);
    return link.start(mode);
}

void RigControl::stop()
{
    m_serial->stop();
    m_network->stop();
}

void RigControl::closeLink()
{
    activeLink().closeLink();
    stop();
}

bool RigControl::isPolling() const
{
    return m_serial->isPolling() || m_network->isPolling();
}

bool RigControl::isRunning() const
{
    return m_serial->isRunning() || m_network->isRunning();
}

const common::LinkStatus& RigControl::status() const
{
    return m_status;
}

void RigControl::showStatus()
{
    // At most one link runs; with none running both say nothing.
    const common::LinkStatus& now = m_network->isRunning() ? m_network->status() : m_serial->status();
    if (now == m_status)
        return;
    m_status = now;
    emit statusChanged(m_status);
}

void RigControl::clearMode()
{
    m_serial->clearMode();
    m_network->clearMode();
}

} // namespace tenlog::rig
