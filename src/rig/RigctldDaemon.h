// The rigctld the program starts itself for a Hamlib radio model, so the
// operator needs no terminal: started with the model, serial device and
// speed of the settings, listening only on 127.0.0.1 at a port nothing else
// uses, kept while those settings stay, and ended when the link ends or the
// program exits. A daemon that ends by itself is reported once; the link
// starts it again when it next opens.
#pragma once

#include "rig/RigSettings.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace tenlog::platform {
class ChildProcess;
}

namespace tenlog::rig {

// How the operator installs Hamlib's programs on this system.
inline const QString kHamlibInstallHint = QStringLiteral("sudo apt install libhamlib-utils");

class RigctldDaemon {
public:
    // program is what is run: a name found on the search path, or a path.
    explicit RigctldDaemon(platform::ChildProcess& process, QString program = QStringLiteral("rigctld"));
    ~RigctldDaemon();
    RigctldDaemon(const RigctldDaemon&) = delete;
    RigctldDaemon& operator=(const RigctldDaemon&) = delete;

    struct Outcome {
        bool ok = false;
        QString reason;          // why not, in the operator's words
        bool worthRetrying = true;
        bool freshlyStarted = false; // it has yet to open its port
    };
    // Starts the daemon for the settings' model unless it already runs with
    // the same model, device and speed.
    Outcome ensureRunning(const RigSettings& settings);
    void stop();
    bool isRunning() const;
    qint64 processId() const;
    // The port it listens on, on 127.0.0.1.
    quint16 port() const { return m_port; }
    // "rigctld for Hamlib model 3073 on /dev/ttyUSB0"
    QString description() const;
    // What it printed last, for a message about why it failed.
    QString lastWords() const;

    // Called when the daemon ends without being stopped, or cannot be run,
    // with the reason in the operator's words.
    void setEndedHandler(std::function<void(const QString& reason)> handler) { m_ended = std::move(handler); }

    // Takes effect at the next start.
    void setProgram(const QString& program) { m_program = program; }

    // rigctld's arguments for the settings and the port to listen on.
    static QStringList arguments(const RigSettings& settings, quint16 port);

private:
    platform::ChildProcess& m_process;
    QString m_program;
    QStringList m_runningFor; // the arguments, without the port, it was started with
    quint16 m_port = 0;
    RigSettings m_settings;
    std::function<void(const QString&)> m_ended;
};

// The daemon's words for a Hamlib model: "Hamlib model 3073 on /dev/ttyUSB0".
QString hamlibRadioText(const RigSettings& settings);

} // namespace tenlog::rig
