// Starts one of the device emulators of tools/ as a child process, reads
// where it listens from its first line of output ("PORT n" or "PTY path"),
// and stops it, by its own process id, when the test is done.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace tenlog::testing {

// Ends a child process the test started: SIGTERM to it alone, then SIGKILL
// if it has not gone within three seconds.
// (Inline: the device and direwolf test libraries both use it.)
inline void stopChildProcess(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

class EmulatorProcess {
public:
    // program is the emulator's file name in the build's tools folder.
    EmulatorProcess(const QString& program, const QStringList& arguments);
    ~EmulatorProcess();

    EmulatorProcess(const EmulatorProcess&) = delete;
    EmulatorProcess& operator=(const EmulatorProcess&) = delete;

    // False when the emulator did not start or said nothing in time.
    bool started() const { return !m_where.isEmpty(); }
    quint16 port() const { return static_cast<quint16>(m_where.toUInt()); }
    const QString& ptyPath() const { return m_where; }
    QString errorOutput() { return QString::fromLocal8Bit(m_process.readAllStandardError()); }
    // Waits for a line of the emulator's output that contains text (lines
    // read past on the way are gone); false when none came in time.
    bool waitForOutputLine(const QString& text, int milliseconds = 10000);

private:
    QProcess m_process;
    QString m_where;
};

} // namespace tenlog::testing
