#include "platform/qt/QtChildProcess.h"

#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_LINUX
#include <signal.h>
#include <sys/prctl.h>
#endif

namespace tenlog::platform {

QtChildProcess::QtChildProcess()
{
    process_.setProcessChannelMode(QProcess::MergedChannels);
    // Never a terminal or the logger's own input: a daemon that asks
    // something gets end of file at once.
    process_.setInputChannelMode(QProcess::ManagedInputChannel);
#ifdef Q_OS_LINUX
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
    // Read as it comes, so a chatty daemon never stalls on a full pipe.
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] { keepOutput(); });
    QObject::connect(&process_, &QProcess::finished, [this](int exitCode, QProcess::ExitStatus status) {
        keepOutput();
        // For a program that crashed QProcess gives the signal's number.
        if (finished_ && !stopping_)
            finished_(status == QProcess::CrashExit ? Ending::Killed : Ending::Exited, exitCode);
    });
    QObject::connect(&process_, &QProcess::errorOccurred, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart && finished_ && !stopping_)
            finished_(Ending::NotRun, 0);
    });
}

QtChildProcess::~QtChildProcess()
{
    finished_ = nullptr;
    stop();
}

QString QtChildProcess::locate(const QString& program) const
{
    if (program.contains(QLatin1Char('/'))) {
        const QFileInfo file(program);
        return file.isFile() && file.isExecutable() ? file.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(program);
}

void QtChildProcess::start(const QString& program, const QStringList& arguments)
{
    stop();
    output_.clear();
    process_.start(program, arguments);
    process_.closeWriteChannel();
}

void QtChildProcess::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    stopping_ = true;
    process_.terminate();
    if (!process_.waitForFinished(2000)) {
        process_.kill();
        process_.waitForFinished(2000);
    }
    stopping_ = false;
}

bool QtChildProcess::isRunning() const
{
    return process_.state() != QProcess::NotRunning;
}

qint64 QtChildProcess::processId() const
{
    return process_.processId();
}

void QtChildProcess::keepOutput()
{
    output_ += process_.readAllStandardOutput();
    if (output_.size() > kKeptChildOutputBytes)
        output_.remove(0, output_.size() - kKeptChildOutputBytes);
}

void QtChildProcess::setFinishedHandler(FinishedHandler handler)
{
    finished_ = std::move(handler);
}

}  // namespace tenlog::platform
