// The start-up sequence: working folder, logo window, per-user folders,
// shared preferences, backup folder, then the main window. It owns the
// folder state and the main window for the life of the program.
#pragma once

#include "app/AppStartup.h"
#include "app/ui/LogoWindow.h"

#include <QPointer>

#include <functional>
#include <memory>

namespace tenlog::platform {
class AudioPlayer;
class Clock;
class ComPortMap;
class Dialogs;
class Paths;
class SerialPort;
class SettingsStore;
class TcpClient;
}

namespace tenlog::log {
class MainWindow;
}

namespace tenlog::rig {
class RigControl;
}

namespace tenlog::spots {
struct SpotTransports;
}

namespace tenlog::app {

struct StartupServices {
    platform::Clock& clock;
    platform::Dialogs& dialogs;
    platform::SettingsStore& settings;
    const platform::Paths& paths;
    platform::AudioPlayer& navigationPlayer;
    // The radio link's transports, made once the port map has been read.
    std::function<std::unique_ptr<platform::SerialPort>(const platform::ComPortMap&)> makeSerialPort;
    std::function<std::unique_ptr<platform::TcpClient>()> makeTcpClient;
};

class StartupSequence {
public:
    explicit StartupSequence(StartupServices services);
    ~StartupSequence();

    // Runs every step and shows the main window. Returns nullptr when the
    // program must end at once (the log could not be read).
    log::MainWindow* run();
    bool ended() const { return m_ended; }

    const common::AppFolders& folders() const { return m_startup.folders(); }
    common::SharedPreferences& sharedPreferences() { return m_startup.sharedPreferences(); }
    LogoWindow* logo() const { return m_logo; }
    log::MainWindow* mainWindow() const { return m_main.get(); }

private:
    StartupServices m_services;
    AppStartup m_startup;
    QPointer<LogoWindow> m_logo;
    // The radio link and its two transports live as long as the window.
    std::unique_ptr<platform::SerialPort> m_rigPort;
    std::unique_ptr<platform::TcpClient> m_rigDaemon;
    std::unique_ptr<rig::RigControl> m_rig;
    // DX spots: a cluster, a packet TNC and a packet engine.
    std::unique_ptr<platform::TcpClient> m_spotTelnet;
    std::unique_ptr<platform::SerialPort> m_spotTnc;
    std::unique_ptr<platform::TcpClient> m_spotAgw;
    std::unique_ptr<spots::SpotTransports> m_spotTransports;
    std::unique_ptr<log::MainWindow> m_main;
    bool m_ended = false;
};

} // namespace tenlog::app
