// A helper program the logger starts and owns, such as a radio daemon, or
// runs to read what it prints. The owner decides when it ends; destroying the
// object ends the program too, so nothing is left running behind the logger.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace tenlog::platform {

// How much of what a program prints is kept: enough for a model list, and
// for a daemon's last words, but never more however long it runs.
inline constexpr qsizetype kKeptChildOutputBytes = 256 * 1024;

class ChildProcess {
public:
    virtual ~ChildProcess() = default;

    // The program's full path when it is installed (a name is looked up on
    // the search path; a path must be executable), empty when it is not.
    virtual QString locate(const QString& program) const = 0;
    // Returns at once; a program that cannot be started reports through the
    // finished handler with started false. Output kept from an earlier run
    // is forgotten.
    virtual void start(const QString& program, const QStringList& arguments) = 0;
    // Ends the program and waits briefly for it to go. The finished handler
    // is not called for a program ended this way.
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
    virtual qint64 processId() const = 0;
    // What the program printed, standard output and errors together, the
    // last kKeptChildOutputBytes of it.
    virtual QByteArray output() const = 0;

    // How a program ended by itself: it could not be run at all (not
    // installed, not executable), it exited with code, or a signal (code)
    // killed it.
    enum class Ending { NotRun, Exited, Killed };
    using FinishedHandler = std::function<void(Ending ending, int code)>;
    virtual void setFinishedHandler(FinishedHandler handler) = 0;
};

// The last line of a program's output with anything in it, trimmed and
// printable: what a daemon said before it ended.
QString lastOutputLine(const QByteArray& output);

// How a program that ran ended, for a message: "exit code 2", "killed by
// signal 9".
QString endingText(ChildProcess::Ending ending, int code);

}  // namespace tenlog::platform
