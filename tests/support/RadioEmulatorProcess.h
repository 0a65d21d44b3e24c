// One radio emulator from tools/ run as a child process for a device test:
// start it, learn its pseudo-terminal, steer it with control commands (each
// waits for the emulator's OK) and read the commands it received, as hex
// text ("46 41 3B"). Waiting runs the event loop, so a serial port in the
// same test keeps reading and writing meanwhile. The emulator is stopped
// (by its own process id) when this object goes.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>

namespace tenlog::testing {

class RadioEmulatorProcess {
public:
    RadioEmulatorProcess(QString program, QStringList arguments = {});
    ~RadioEmulatorProcess();
    RadioEmulatorProcess(const RadioEmulatorProcess&) = delete;
    RadioEmulatorProcess& operator=(const RadioEmulatorProcess&) = delete;

    // Starts the emulator and waits for its pseudo-terminal. False (and
    // error() says why) when it did not come up.
    bool start();
    QString ptyPath() const { return m_ptyPath; }
    // Sends one control command ("freq 28.475", "fault split") and waits for
    // its answer; true for OK.
    bool command(const QString& line);
    // Everything the radio has received so far, one entry per command. This
    // and the other readers first take in what the emulator has already
    // printed, so a command it answered is always among them.
    QStringList received() const
    {
        catchUp();
        return m_received;
    }
    // Waits until the radio has received at least count commands.
    bool waitForReceived(int count, int timeoutMs = 5000);
    // Every other line the emulator printed (the WinKey emulator's "KEY A
    // 250", "IDLE 900", "STATE ..."), in order.
    QStringList events() const
    {
        catchUp();
        return m_events;
    }
    // The events that start with prefix.
    QStringList events(const QString& prefix) const;
    // Waits until count events start with prefix.
    bool waitForEvents(const QString& prefix, int count, int timeoutMs = 5000);
    // The bytes received so far, all commands joined.
    QByteArray receivedBytes() const;
    // Kills the emulator at once (as a crash or a pulled cable would end the
    // line) and waits for it to be gone.
    void kill();
    QString error() const { return m_error; }

    // Runs the event loop until the condition holds or the time is up.
    static bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000);

private:
    void readOutput();
    // Reads the output waiting in the pipe now, without waiting for more.
    void catchUp() const;

    QString m_program;
    QStringList m_arguments;
    QProcess m_process;
    QByteArray m_partialLine;
    QString m_ptyPath;
    QStringList m_received;
    QStringList m_answers; // OK / ERR lines not yet taken by command()
    QStringList m_events;
    QString m_error;
};

} // namespace tenlog::testing
