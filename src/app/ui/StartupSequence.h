// The start-up sequence: working folder, logo window, per-user folders,
// shared preferences, backup folder, then the main window. It owns the
// folder state and the main window for the life of the program.
#pragma once

#include "app/AppStartup.h"
#include "app/ui/LogoWindow.h"

#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

namespace tenlog::platform {
class AudioPlayer;
class ChildProcess;
class Clock;
class ComPortMap;
class ComPortMapFile;
class Dialogs;
class KeyingClock;
class Paths;
class PortIo;
class SerialDeviceList;
class SerialPort;
class SettingsStore;
class TcpClient;
}

namespace tenlog::common {
struct PortDevices;
class WindowPlacements;
}

namespace tenlog::station {
class MainWindow;
struct KeyerServices;
}

namespace tenlog::rig {
class RigControl;
}

namespace tenlog::spots {
struct SpotTransports;
}

namespace tenlog::cw {
class CwKeyer;
class CwStation;
class WinKeyDriver;
class WinKeyStation;
}

namespace tenlog::voice {
class VoiceKeyer;
}

namespace tenlog::app {

struct StartupServices {
    platform::Clock& clock;
    platform::Dialogs& dialogs;
    platform::SettingsStore& settings;
    const platform::Paths& paths;
    platform::AudioPlayer& navigationPlayer;
    // The radio link's transports, made once the port map has been read.
    // Every serial port shares the one mapping, which follows the chooser.
    std::function<std::unique_ptr<platform::SerialPort>(std::shared_ptr<const platform::ComPortMap>)> makeSerialPort;
    std::function<std::unique_ptr<platform::TcpClient>()> makeTcpClient;
    // The keyers' parallel port and the voice keyer's own player; with the
    // serial ports above they make the CW and voice keyers.
    std::function<std::unique_ptr<platform::PortIo>()> makePortIo;
    std::function<std::unique_ptr<platform::AudioPlayer>()> makeAudioPlayer;
    // The serial devices present, for the setup windows' port chooser;
    // without it the windows show no device beside their port choice.
    std::function<std::unique_ptr<platform::SerialDeviceList>()> makeSerialDeviceList = {};
    // Hamlib's programs: the rigctld started for a Hamlib radio and its
    // model list. Without it only a rigctld already running can be polled.
    std::function<std::unique_ptr<platform::ChildProcess>()> makeChildProcess = {};
};

class StartupSequence {
public:
    explicit StartupSequence(StartupServices services);
    ~StartupSequence();

    // Runs every step and shows the main window. Returns nullptr when the
    // program must end at once (the log could not be read).
    station::MainWindow* run();
    bool ended() const { return m_ended; }

    const common::AppFolders& folders() const { return m_startup.folders(); }
    common::SharedPreferences& sharedPreferences() { return m_startup.sharedPreferences(); }
    LogoWindow* logo() const { return m_logo; }
    station::MainWindow* mainWindow() const { return m_main.get(); }

private:
    StartupServices m_services;
    AppStartup m_startup;
    // Every window comes back where the operator last put it.
    std::unique_ptr<common::WindowPlacements> m_placements;
    QPointer<LogoWindow> m_logo;
    // ComPorts.txt as the serial ports and the port chooser share it.
    std::unique_ptr<platform::ComPortMapFile> m_portMap;
    std::unique_ptr<platform::SerialDeviceList> m_serialDevices;
    std::unique_ptr<common::PortDevices> m_portDevices;
    // The radio link and its two transports live as long as the window.
    std::unique_ptr<platform::SerialPort> m_rigPort;
    std::unique_ptr<platform::TcpClient> m_rigDaemon;
    std::unique_ptr<rig::RigControl> m_rig;
    // DX spots: a cluster, a packet TNC and a packet engine.
    std::unique_ptr<platform::TcpClient> m_spotTelnet;
    std::unique_ptr<platform::SerialPort> m_spotTnc;
    std::unique_ptr<platform::TcpClient> m_spotAgw;
    std::unique_ptr<spots::SpotTransports> m_spotTransports;
    // The keyers outlive the window, which uses them; the keyer's thread is
    // joined, with the line up, before the ports go.
    void makeKeyers(const std::shared_ptr<const platform::ComPortMap>& ports);
    std::unique_ptr<platform::SerialPort> m_cwPort;
    std::unique_ptr<platform::SerialPort> m_pttPort;
    std::unique_ptr<platform::PortIo> m_parallelPort;
    std::unique_ptr<platform::AudioPlayer> m_voicePlayer;
    std::unique_ptr<platform::KeyingClock> m_keyingClock;
    std::unique_ptr<cw::CwKeyer> m_cwKeyer;
    // The WinKey keyer: its own port (the device may be the CW or PTT
    // port's), its driver and station; the CW station goes before them.
    std::unique_ptr<platform::SerialPort> m_winKeyPort;
    std::unique_ptr<cw::WinKeyDriver> m_winKeyDriver;
    std::unique_ptr<cw::WinKeyStation> m_winKeyStation;
    std::unique_ptr<cw::CwStation> m_cwStation;
    std::unique_ptr<voice::VoiceKeyer> m_voiceKeyer;
    std::unique_ptr<station::KeyerServices> m_keyers;
    // What start-up found wrong with the program's files (ComPorts.txt,
    // RigCntrl.txt, wave2.txt, CW.txt, tnpref.txt), said in one message once
    // the load sequence is done.
    QStringList m_fileProblems;
    std::unique_ptr<station::MainWindow> m_main;
    bool m_ended = false;
};

} // namespace tenlog::app
