// A helper program the logger starts and owns, such as a radio daemon. The
// owner decides when it ends; destroying the object ends the program too, so
// nothing is left running behind the logger.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace tenlog::platform {

class ChildProcess {
public:
    virtual ~ChildProcess() = default;

    // Returns at once; a program that cannot be started reports through the
    // finished handler with started false.
    virtual void start(const QString& program, const QStringList& arguments) = 0;
    // Ends the program and waits briefly for it to go.
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
    virtual qint64 processId() const = 0;

    // started is false when the program could not be run at all (not
    // installed, not executable); otherwise it ran and exited.
    using FinishedHandler = std::function<void(bool started, int exitCode)>;
    virtual void setFinishedHandler(FinishedHandler handler) = 0;
};

}  // namespace tenlog::platform
