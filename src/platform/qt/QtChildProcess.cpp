#include "platform/qt/QtChildProcess.h"

#ifdef Q_OS_LINUX
#include <signal.h>
#include <sys/prctl.h>
#endif

namespace tenlog::platform {

QtChildProcess::QtChildProcess()
{
    process_.setProcessChannelMode(QProcess::MergedChannels);
    // The daemon's chatter is not read; discarding it keeps the pipe from
    // filling up and stalling the child.
    process_.setStandardOutputFile(QProcess::nullDevice());
#ifdef Q_OS_LINUX
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
    QObject::connect(&process_, &QProcess::finished, [this](int exitCode, QProcess::ExitStatus) {
        if (finished_)
            finished_(true, exitCode);
    });
    QObject::connect(&process_, &QProcess::errorOccurred, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart && finished_)
            finished_(false, -1);
    });
}

QtChildProcess::~QtChildProcess()
{
    finished_ = nullptr;
    stop();
}

void QtChildProcess::start(const QString& program, const QStringList& arguments)
{
    process_.start(program, arguments);
}

void QtChildProcess::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(2000)) {
        process_.kill();
        process_.waitForFinished(2000);
    }
}

bool QtChildProcess::isRunning() const
{
    return process_.state() != QProcess::NotRunning;
}

qint64 QtChildProcess::processId() const
{
    return process_.processId();
}

void QtChildProcess::setFinishedHandler(FinishedHandler handler)
{
    finished_ = std::move(handler);
}

}  // namespace tenlog::platform
