// The radio link as the rest of the program sees it: the link settings and
// their file, and whichever poller the chosen radio needs (the serial port, or
// the network rig daemon). The setup window edits the settings and starts and
// stops polling; the main window follows the frequency and mode it reports.
#pragma once

#include "rig/RigLink.h"
#include "rig/RigSettings.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace tenlog::platform {
class ChildProcess;
class SerialPort;
class TcpClient;
} // namespace tenlog::platform

namespace tenlog::rig {

class HamlibModelCatalog;
class RigCommander;
class RigctldPoller;
class RigPoller;

class RigControl : public QObject {
    Q_OBJECT
public:
    using ChildProcessFactory = std::function<std::unique_ptr<platform::ChildProcess>()>;

    // workingFolder holds RigCntrl.txt; pegasusFolder the Pegasus control
    // program's files. makeChildProcess runs Hamlib's programs (the rigctld
    // started for a Hamlib model, the model list); without it only a rigctld
    // already running can be polled.
    RigControl(platform::SerialPort& port, platform::TcpClient& daemon, QString workingFolder, QString pegasusFolder,
               const ChildProcessFactory& makeChildProcess = {}, QObject* parent = nullptr);
    ~RigControl() override;

    const RigSettings& settings() const { return m_settings; }
    // Takes effect at the next start(), except the two switches below.
    void setSettings(const RigSettings& settings) { m_settings = settings; }
    // "Use Frequency" and "Mode by:" act on the running poll at once.
    void setUseFrequency(bool on);
    void setModeBy(ModeBy modeBy);

    // RigCntrl.txt in the working folder; a missing or short file keeps the
    // rest of the settings. The band plan the frequency commands choose the
    // mode from is read with them.
    void loadSettings();
    bool saveSettings(QString* error = nullptr);

    // Opens the link the chosen radio needs and starts polling. False when no
    // radio is chosen or the link is not open now: with ReportFailure
    // openFailed() says why; with KeepTrying trouble() does, and the link is
    // tried again by itself.
    bool start(StartMode mode = StartMode::ReportFailure);
    // Stops polling, and any retry, and closes the link.
    void stop();
    // At program exit or when the window is closed: anything the radio must
    // be told first (a polled Yaesu), then stop().
    void closeLink();
    bool isPolling() const;
    // Polling, or waiting to open a lost link again.
    bool isRunning() const;
    // How the running link stands, as the main window shows it.
    const common::LinkStatus& status() const;
    // The frequency the radio reports now, MHz: nothing unless the running
    // link's radio is answering and a frequency has been decoded.
    std::optional<float> currentFrequencyMHz() const;
    // Forgets the decoded mode ("Mode by:" was changed).
    void clearMode();

    // The frequency and mode commands.
    RigCommander& commander() { return *m_commander; }
    // The Hamlib models to choose from; nullptr when Hamlib's programs cannot
    // be run here.
    HamlibModelCatalog* hamlibModels() const { return m_hamlibModels.get(); }
    // The rigctld link, for tests of the daemon it starts.
    RigctldPoller& rigctldLink() { return *m_network; }
    // The running link's request strings and radio, for the command tester.
    const RigSettings& runningSettings() const;
    // Writes bytes to the radio's serial port as they are; false when the
    // port is not open or the write failed.
    bool writeRaw(const QByteArray& bytes);

signals:
    void rawReceived(const QByteArray& bytes);
    void readingChanged(float frequencyMHz, const QString& mode);
    void frequencyPolled(float frequencyMHz);
    void modePolled(const QString& mode);
    void frequencyUnknown();
    void openFailed(const QString& reason);
    void statusChanged(const tenlog::common::LinkStatus& status);
    // A problem of the link or of a frequency or mode command, in one
    // sentence for the main window's message line.
    void trouble(const QString& message);

private:
    RigLink& activeLink() const;
    void forward(RigLink& link);
    void showStatus();

    QString m_workingFolder;
    QString m_pegasusFolder;
    RigSettings m_settings;
    std::unique_ptr<RigPoller> m_serial;
    // Outlives the poller that starts and stops the daemon in it.
    std::unique_ptr<platform::ChildProcess> m_daemonProcess;
    std::unique_ptr<RigctldPoller> m_network;
    std::unique_ptr<HamlibModelCatalog> m_hamlibModels;
    platform::SerialPort& m_port;
    std::unique_ptr<RigCommander> m_commander;
    common::LinkStatus m_status;
};

} // namespace tenlog::rig
