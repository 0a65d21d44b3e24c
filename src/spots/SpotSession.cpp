#include "spots/SpotSession.h"

#include "platform/Dialogs.h"
#include "spots/AgwSpotSource.h"
#include "spots/SpotIntake.h"
#include "spots/SpotPaths.h"
#include "spots/SpotTerminal.h"
#include "spots/TelnetSpotSource.h"

#include <utility>

namespace tenlog::spots {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kTwoCrLf = QStringLiteral("\r\n\r\n");
const QString kCaption = QStringLiteral("DX Spotting Setup");
const QString kAgwFailTitle = QStringLiteral("Unable to connect to the AGW Packet Engine.");
const QString kAgwFailFirst = QStringLiteral(
    "Unable to connect to the AGW Packet Engine.  To use the AGW Packet Engine to send and receive packet with your "
    "soundcard or devices such a Baypac:");
const QString kAgwDownload = QStringLiteral("- Download the freely available software from https://www.sv2agw.com/");

} // namespace

SpotSession::SpotSession(SpotTerminal& terminal, SpotPaths& paths, SpotIntake& intake, Sources sources,
                         platform::Dialogs& dialogs, std::function<QString()> ownCall, QObject* parent)
    : QObject(parent), m_terminal(terminal), m_paths(paths), m_sources(sources), m_dialogs(dialogs),
      m_ownCall(std::move(ownCall)),
      m_queue({.sliceStarts = [this] { m_paths.beginSlice(); },
               .take = [this](SpotLineQueue::Path path, const QString& line) { takeLine(path, line); },
               .sliceEnds = [this] { m_paths.endSlice(); },
               .dropped = [this](qsizetype count) {
                   m_terminal.append(QStringLiteral("** %1 received lines dropped: they came faster than they could be "
                                                    "shown **")
                                         .arg(count)
                                     + kCrLf);
               },
               .drained = [this] { afterLinesTaken(); }})
{
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &SpotSession::tick);
    connect(&intake, &SpotIntake::spotArrived, this, [this] { m_ticksSinceSpot = 0; });

    TelnetSpotSource& telnet = m_sources.telnet;
    connect(&telnet, &TelnetSpotSource::lineReceived, this, [this](const QString& line) {
        m_promptAfterLines.clear(); // its line has ended
        m_queue.push(SpotLineQueue::Path::Telnet, line);
    });
    connect(&telnet, &TelnetSpotSource::partialLine, this, [this](const QString& text) {
        if (m_queue.isEmpty())
            m_paths.showTelnetPartial(text);
        else
            m_promptAfterLines = text;
    });
    connect(&telnet, &TelnetSpotSource::failed, this, [this](const QString& message) {
        if (m_queue.isEmpty())
            telnetFailed(message);
        else if (m_failureAfterLines.isEmpty())
            m_failureAfterLines = message;
    });
    connect(&telnet, &TelnetSpotSource::connected, this, [this] {
        m_terminal.append(QStringLiteral("** Connected to ") + telnetAddress() + QStringLiteral(" **") + kTwoCrLf);
        setStatus(common::LinkHealth::Up, QStringLiteral("Spots: cluster ") + telnetAddress());
    });
    // The node hung up: the source is closed, and says so.
    connect(&telnet, &TelnetSpotSource::closedByRemote, this, [this] {
        if (m_queue.isEmpty())
            lost(QStringLiteral("Spots: the cluster closed the connection"), telnetAddress());
        else
            m_hungUpAfterLines = true;
    });

    connect(&m_sources.tnc, &TncSpotSource::lineReceived, this,
            [this](const QString& line) { m_queue.push(SpotLineQueue::Path::Tnc, line); });
    connect(&m_sources.tnc, &TncSpotSource::failed, this, [this](const QString& reason) {
        m_terminal.append(kTwoCrLf + QStringLiteral("** The TNC serial port stopped working: ") + reason + QStringLiteral(" **"));
        lost(QStringLiteral("Spots: the TNC port stopped working"), reason);
    });

    AgwSpotSource& agw = m_sources.agw;
    connect(&agw, &AgwSpotSource::frameReceived, this, [this](char kind, const QString& from, const QByteArray& data) {
        m_paths.takeAgwFrame(kind, from, data, m_sources.agw.connectedCall());
    });
    connect(&agw, &AgwSpotSource::started, this, [this] {
        m_timer.start();
        m_terminal.append(kCrLf + QStringLiteral("** Successfully connected to AGW Packet Engine **") + kTwoCrLf);
        setStatus(common::LinkHealth::Up, QStringLiteral("Spots: packet engine"));
    });
    connect(&agw, &AgwSpotSource::refused, this, &SpotSession::agwRefused);
    connect(&agw, &AgwSpotSource::engineClosed, this, [this] {
        lost(QStringLiteral("Spots: the packet engine closed the connection"),
             QStringLiteral("%1:%2").arg(m_agwHost).arg(m_agwPort));
    });
    connect(&agw, &AgwSpotSource::stationConnected, this, [this](const QString& call) {
        m_terminal.append(QStringLiteral("** Connected to ") + call + QStringLiteral(" **"));
        emit captionChanged(kCaption + QStringLiteral(" - Connected to ") + call);
        m_dialogs.beep();
    });
    connect(&agw, &AgwSpotSource::stationDisconnected, this, [this](const QString& call) {
        m_dialogs.beep();
        m_dialogs.beep();
        m_terminal.append(kCrLf + QStringLiteral("** Disconnected from ") + call + QStringLiteral(" **") + kCrLf);
        emit captionChanged(kCaption);
    });
}

void SpotSession::setTelnetAddress(const QString& host, const QString& portText)
{
    m_host = host;
    m_portText = portText;
}

void SpotSession::setListening(bool on)
{
    if (m_listening == on)
        return;
    m_listening = on;
    emit listeningChanged(on);
}

void SpotSession::setStatus(common::LinkHealth health, const QString& text, const QString& detail)
{
    const common::LinkStatus status {health, text, detail};
    if (status == m_status)
        return;
    m_status = status;
    emit statusChanged(m_status);
}

QString SpotSession::telnetAddress() const
{
    return m_host.trimmed() + QLatin1Char(':') + QString::number(m_portText.trimmed().toInt());
}

void SpotSession::lost(const QString& statusText, const QString& reason)
{
    close();
    m_dialogs.beep();
    setStatus(common::LinkHealth::Trouble, statusText, reason);
    emit trouble({}, {}, reason.isEmpty() ? statusText : statusText + QStringLiteral(": ") + reason);
}

void SpotSession::takeLine(SpotLineQueue::Path path, const QString& line)
{
    if (path == SpotLineQueue::Path::Telnet)
        m_paths.takeTelnetLine(line);
    else
        m_paths.takeTncLine(line);
}

void SpotSession::afterLinesTaken()
{
    if (!m_promptAfterLines.isEmpty())
        m_paths.showTelnetPartial(std::exchange(m_promptAfterLines, {}));
    if (!m_failureAfterLines.isEmpty())
        telnetFailed(std::exchange(m_failureAfterLines, {}));
    if (std::exchange(m_hungUpAfterLines, false))
        lost(QStringLiteral("Spots: the cluster closed the connection"), telnetAddress());
}

void SpotSession::forgetWaitingLines()
{
    m_queue.clear();
    m_promptAfterLines.clear();
    m_failureAfterLines.clear();
    m_hungUpAfterLines = false;
}

void SpotSession::open()
{
    forgetWaitingLines();
    m_terminal.replace(QStringLiteral("** Attempting to Open Port **") + kTwoCrLf);
    m_sources.tnc.close();
    // An empty choice (nothing saved yet) is the same as "None".
    if (m_source.isEmpty() || is(kSourceNone))
        return;
    setListening(true);
    if (is(kSourceTnc))
        openTnc();
    else if (is(kSourceAgw))
        startAgw();
    else if (is(kSourceTelnet))
        openTelnet();
}

void SpotSession::openTnc()
{
    if (m_sources.tnc.open(m_tncSettings)) {
        m_timer.start();
        m_terminal.append(QStringLiteral("** TNC Serial Port Open **") + kTwoCrLf);
        setStatus(common::LinkHealth::Up, QStringLiteral("Spots: TNC on COM%1").arg(m_tncSettings.port));
        return;
    }
    m_dialogs.beep();
    m_terminal.append(QStringLiteral("** Unable to open TNC Serial Port **") + kTwoCrLf);
    const QString reason = m_sources.tnc.errorString();
    close();
    setStatus(common::LinkHealth::Trouble, QStringLiteral("Spots: the TNC port cannot be opened"), reason);
    emit trouble(QStringLiteral("Invalid Comm Settings."),
                 QStringLiteral("The comm port that you selected for DX Spotting is either in use, invalid or the "
                                "settings that you have selected are invalid.  Please select another combination or "
                                "choose None for your DX Spot selection.")
                     + QStringLiteral("\n\n") + reason,
                 QStringLiteral("Spots: the TNC port cannot be opened: ") + reason);
}

void SpotSession::openTelnet()
{
    m_paths.resetTelnet();
    // A port that is not a number (saved by hand in PackSpot.txt, say) is
    // said and the source closed, rather than left showing "Listening" while
    // nothing connects.
    if (!m_sources.telnet.open(m_host, m_portText)) {
        const QString port = m_portText.trimmed();
        const QString why = port.isEmpty()
            ? QStringLiteral("ERROR: no cluster port is set: type it (1 to 65535) beside the host.")
            : QStringLiteral("ERROR: the cluster port \"%1\" is not a port number (1 to 65535).").arg(port);
        m_terminal.append(why);
        lost(QStringLiteral("Spots: bad cluster port"), why);
        return;
    }
    m_terminal.replace(QStringLiteral("Attempting connection to: ") + telnetAddress() + kTwoCrLf);
    m_timer.start();
    setStatus(common::LinkHealth::Waiting, QStringLiteral("Spots: connecting to ") + telnetAddress());
}

void SpotSession::startAgw()
{
    const QString call = m_ownCall ? m_ownCall().trimmed() : QString();
    if (call.isEmpty()) {
        m_dialogs.beep();
        m_dialogs.message(QStringLiteral("Call Sign Required!"),
                          QStringLiteral("Please enter your call sign on the setup form to transmit!"));
        return;
    }
    setStatus(common::LinkHealth::Waiting, QStringLiteral("Spots: starting the packet engine"));
    m_sources.agw.start(call, m_agwHost, m_agwPort);
}

void SpotSession::agwRefused(const QString& reason)
{
    const QString where = QStringLiteral("%1:%2").arg(m_agwHost).arg(m_agwPort);
    m_dialogs.beep();
    setStatus(common::LinkHealth::Trouble, QStringLiteral("Spots: the packet engine cannot be reached"), where);
    emit trouble(kAgwFailTitle,
                 kAgwFailFirst + kTwoCrLf + kAgwDownload + kTwoCrLf
                     + QStringLiteral("- Make sure the AGW Packet Engine software is running and "
                                      "configure it as described on the AGW Packet Engine website.")
                     + kTwoCrLf + QStringLiteral("Tried the packet engine at ") + where + QStringLiteral(": ") + reason
                     + kTwoCrLf
                     + QStringLiteral("On Linux the packet engine is usually direwolf: start it, and check that its "
                                      "AGWPORT is %1.")
                           .arg(m_agwPort),
                 QStringLiteral("Spots: the packet engine cannot be reached at ") + where);
    setListening(false);
    m_terminal.append(kAgwFailFirst + kTwoCrLf + kAgwDownload + kTwoCrLf
                      + QStringLiteral("- Run the Packet Engine software and configure it as described on the AGW Packet "
                                       "Engine website for your sound card or TNC.")
                      + kTwoCrLf + QStringLiteral("- Click Open from this program.") + kTwoCrLf);
    m_sources.agw.close();
    m_timer.stop();
}

void SpotSession::telnetFailed(const QString& message)
{
    m_sources.telnet.close();
    m_terminal.append(message);
    lost(QStringLiteral("Spots: cluster ") + telnetAddress() + QStringLiteral(" lost"),
         message.simplified());
}

void SpotSession::close()
{
    setStatus(common::LinkHealth::Off, {});
    if (!m_listening)
        return;
    setListening(false);
    // Lines still waiting came from the connection being closed.
    forgetWaitingLines();
    m_terminal.append(kTwoCrLf + QStringLiteral("** Port Closed **"));
    m_sources.tnc.close();
    m_sources.telnet.close();
    m_paths.resetTelnet();
    if (is(kSourceAgw)) {
        const bool wasConnected = !m_sources.agw.connectedCall().isEmpty();
        m_sources.agw.close();
        if (wasConnected)
            emit captionChanged(kCaption);
    }
    m_timer.stop();
}

void SpotSession::sendLine(const QString& line)
{
    if (!m_listening)
        open();
    if (is(kSourceTnc)) {
        m_sources.tnc.sendLine(line);
    } else if (is(kSourceTelnet)) {
        if (!m_sources.telnet.sendLine(line))
            m_terminal.append(
                QStringLiteral("**  Connection not yet established.  Please wait a moment and try again.") + kTwoCrLf);
    } else if (is(kSourceAgw) && m_timer.isActive()) {
        if (m_sources.agw.sendLine(line) == AgwSpotSource::SendOutcome::CallRequired)
            m_dialogs.message(QStringLiteral("Call sign Required"),
                              QStringLiteral("You must enter a call sign to connect to such as :C Korvo"));
    }
}

void SpotSession::sendCommandCharacter(const QString& hexDigits)
{
    m_paths.showSpotLinesOnly(false);
    if (!m_listening)
        open();
    if (is(kSourceTnc))
        m_sources.tnc.sendCommandCharacter(hexDigits);
}

void SpotSession::endOfRun()
{
    m_timer.stop();
    forgetWaitingLines();
    m_sources.agw.close();
    m_sources.telnet.close();
    m_sources.tnc.close();
}

void SpotSession::tick()
{
    if (is(kSourceTnc))
        m_sources.tnc.poll();
    else if (is(kSourceAgw))
        m_sources.agw.poll();
    if (++m_ticksSinceSpot > kRefreshTicks) {
        m_ticksSinceSpot = 0;
        emit bandMapRefreshDue();
    }
}

} // namespace tenlog::spots
