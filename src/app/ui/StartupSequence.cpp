// The start-up sequence.
#include "app/ui/StartupSequence.h"

#include "common/DataFolders.h"
#include "common/ui/WindowPlacements.h"
#include "app/ui/LogoWindow.h"
#include "log/ContestSession.h"
#include "station/MainWindow.h"
#include "common/ui/PortDeviceRow.h"
#include "platform/ChildProcess.h"
#include "platform/ComPortMap.h"
#include "platform/ComPortMapFile.h"
#include "platform/SerialDevices.h"
#include "platform/SerialPort.h"
#include "platform/TcpClient.h"
#include "cw/CwKeyer.h"
#include "cw/CwSettings.h"
#include "cw/CwStation.h"
#include "cw/WinKeyDriver.h"
#include "cw/WinKeyStation.h"
#include "platform/AudioPlayer.h"
#include "platform/Dialogs.h"
#include "platform/KeyingClock.h"
#include "platform/PortIo.h"
#include "rig/RigControl.h"
#include "rig/RigSettings.h"
#include "spots/DxSpotting.h"
#include "voice/VoiceKeyer.h"
#include "voice/VoiceKeyerSettings.h"

#include <QCoreApplication>
#include <QDir>

namespace tenlog::app {

using namespace tenlog::common;

StartupSequence::StartupSequence(StartupServices services)
    : m_services(services)
    , m_startup(services.paths, services.dialogs)
{
}

StartupSequence::~StartupSequence()
{
    if (m_logo)
        delete m_logo.data();
    // The window goes before the keyers it uses.
    m_main.reset();
}

void StartupSequence::makeKeyers(const std::shared_ptr<const platform::ComPortMap>& ports)
{
    if (!m_services.makeSerialPort || !m_services.makePortIo || !m_services.makeAudioPlayer)
        return;
    const QString folder = m_startup.folders().workingFolder;
    m_cwPort = m_services.makeSerialPort(ports);
    m_pttPort = m_services.makeSerialPort(ports);
    m_parallelPort = m_services.makePortIo();
    m_voicePlayer = m_services.makeAudioPlayer();
    m_keyingClock = std::make_unique<platform::MonotonicKeyingClock>();
    m_cwKeyer = std::make_unique<cw::CwKeyer>(*m_keyingClock);
    m_winKeyPort = m_services.makeSerialPort(ports);
    m_winKeyDriver = std::make_unique<cw::WinKeyDriver>(*m_winKeyPort);
    m_winKeyStation = std::make_unique<cw::WinKeyStation>(cw::WinKeyStation::Parts {
        *m_winKeyDriver, *m_cwKeyer, *m_cwPort, *m_pttPort, m_startup.folders().userDataFolder});
    m_cwStation = std::make_unique<cw::CwStation>(cw::CwStation::Parts {
        *m_cwKeyer, *m_cwPort, *m_pttPort, *m_parallelPort, [this] { return m_main ? m_main->currentCall() : QString(); }});
    m_voiceKeyer = std::make_unique<voice::VoiceKeyer>(
        voice::VoiceKeyer::Parts {*m_voicePlayer, *m_pttPort, *m_cwPort, *m_parallelPort});
    m_voiceKeyer->setBaseFolder(folder);
    // The PTT port may be the keyer's device: the keyer is closed first.
    m_voiceKeyer->setBeforePortOpens([this] {
        if (m_winKeyStation->isOpen())
            m_winKeyStation->close();
    });
    // The voice settings first, then CW. A missing or damaged file leaves
    // what it lacks at the defaults (no CW keying output, no PTT port) and
    // is reported once the log is up; the rest of start-up goes on.
    QString problem;
    voice::VoiceKeyerSettings voiceSettings;
    if (!voice::loadVoiceKeyerSettings(folder, voiceSettings, &problem))
        m_fileProblems << problem;
    m_voiceKeyer->setSettings(voiceSettings);
    if (!m_winKeyStation->load(&problem))
        m_fileProblems << problem;
    m_cwStation->attachWinKey(m_winKeyStation.get());
    cw::CwSettings cwSettings;
    if (!cw::loadCwSettings(folder, cwSettings, &problem))
        m_fileProblems << problem;
    // The keyer's speed starts at the CW speed.
    m_cwStation->setSettings(cwSettings);
    m_keyers = std::make_unique<station::KeyerServices>(
        station::KeyerServices {*m_cwKeyer, *m_cwStation, *m_voiceKeyer, *m_keyingClock, *m_winKeyStation});
}

station::MainWindow* StartupSequence::run()
{
    if (!m_startup.lockWorkingFolder())
        return nullptr;
    m_startup.recordWorkingFolder();
    m_placements = std::make_unique<WindowPlacements>(m_services.settings);

    DataFolders folders(m_services.paths, m_services.dialogs);
    const QString company = folders.resolveUserDataFolder(QString::fromLatin1(kCompanySubPath),
                                                          QString::fromLatin1(kSharedChild));
    m_logo = new LogoWindow(company);
    m_logo->show();

    m_startup.prepareUserFolders();

    // Port numbers map to devices, and the Pegasus files to a folder, through
    // ComPorts.txt in the user data folder.
    m_portMap = std::make_unique<platform::ComPortMapFile>(
        QDir(m_startup.folders().userDataFolder).filePath(platform::ComPortMap::fileName()), QDir::homePath());
    const std::shared_ptr<const platform::ComPortMap> ports = m_portMap->map();
    if (!ports->problemReport().isEmpty())
        m_fileProblems << ports->problemReport();
    const QString pegasusFolder = ports->pegasusFolder();
    if (m_services.makeSerialDeviceList) {
        m_serialDevices = m_services.makeSerialDeviceList();
        m_portDevices = std::make_unique<common::PortDevices>(common::PortDevices {*m_portMap, *m_serialDevices});
    }
    if (m_services.makeSerialPort && m_services.makeTcpClient) {
        m_rigPort = m_services.makeSerialPort(ports);
        m_rigDaemon = m_services.makeTcpClient();
        m_rig = std::make_unique<rig::RigControl>(*m_rigPort, *m_rigDaemon, m_startup.folders().workingFolder,
                                                  pegasusFolder, m_services.makeChildProcess);
        // The rig link reads RigCntrl.txt when it starts, at the end of the
        // load sequence or when the operator first opens its window; damage
        // in it is said with the rest, whichever comes.
        rig::RigSettings stored;
        QString rigProblem;
        rig::loadRigSettings(m_startup.folders().workingFolder, stored, &rigProblem);
        if (!rigProblem.isEmpty())
            m_fileProblems << rigProblem;
        m_spotTelnet = m_services.makeTcpClient();
        m_spotTnc = m_services.makeSerialPort(ports);
        m_spotAgw = m_services.makeTcpClient();
        m_spotTransports = std::make_unique<spots::SpotTransports>(
            spots::SpotTransports{*m_spotTelnet, *m_spotTnc, *m_spotAgw});
    }

    makeKeyers(ports);
    m_main = std::make_unique<station::MainWindow>(station::MainWindowServices{
        m_services.clock, m_services.dialogs, m_services.settings, m_startup.folders(),
        m_startup.sharedPreferences(), m_services.navigationPlayer, [this](int code) {
            m_ended = true;
            QCoreApplication::exit(code);
        },
        m_rig.get(), m_spotTransports.get(), m_keyers.get(), m_portDevices.get()});
    m_main->show();
    // The logo stays in front of the main window until its timer closes it.
    if (m_logo)
        m_logo->raise();
    m_main->runLoadSequence();
    // Said once, together, now that the start-up questions are answered and
    // before the operator starts typing.
    m_fileProblems << m_main->session().takeFileProblems();
    if (!m_fileProblems.isEmpty())
        m_services.dialogs.message(QStringLiteral("Settings Files"),
                                   QStringLiteral("Start-up found these problems with the program's files and went on "
                                                  "with the defaults for what they lack:\n\n")
                                       + m_fileProblems.join(QStringLiteral("\n\n")),
                                   platform::MessageIcon::Warning);
    m_fileProblems.clear();
    if (m_ended)
        return nullptr;
    return m_main.get();
}

} // namespace tenlog::app
