#include "RadioEmulatorProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <csignal>
#include <sys/types.h>

namespace tenlog::testing {

RadioEmulatorProcess::RadioEmulatorProcess(QString program, QStringList arguments)
    : m_program(std::move(program))
    , m_arguments(std::move(arguments))
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] { readOutput(); });
}

RadioEmulatorProcess::~RadioEmulatorProcess()
{
    m_process.disconnect();
    kill();
}

bool RadioEmulatorProcess::start()
{
    m_process.start(m_program, m_arguments);
    if (!m_process.waitForStarted(5000)) {
        m_error = QStringLiteral("%1 did not start: %2").arg(m_program, m_process.errorString());
        return false;
    }
    if (!waitFor([this] { return !m_ptyPath.isEmpty() || m_process.state() == QProcess::NotRunning; })
        || m_ptyPath.isEmpty()) {
        m_error = QStringLiteral("%1 named no pseudo-terminal").arg(m_program);
        return false;
    }
    return true;
}

bool RadioEmulatorProcess::command(const QString& line)
{
    m_answers.clear();
    m_process.write(line.toLatin1() + '\n');
    if (!waitFor([this] { return !m_answers.isEmpty() || m_process.state() == QProcess::NotRunning; })
        || m_answers.isEmpty()) {
        m_error = QStringLiteral("no answer to \"%1\"").arg(line);
        return false;
    }
    const QString answer = m_answers.takeFirst();
    if (answer != QLatin1String("OK"))
        m_error = answer;
    return answer == QLatin1String("OK");
}

bool RadioEmulatorProcess::waitForReceived(int count, int timeoutMs)
{
    return waitFor([this, count] { return m_received.size() >= count; }, timeoutMs);
}

void RadioEmulatorProcess::catchUp() const
{
    // The emulator prints what it received before it answers, but on
    // another channel than the answer: without this a test that has just
    // read the answer could miss the line.
    auto* self = const_cast<RadioEmulatorProcess*>(this);
    if (self->m_process.state() == QProcess::Running)
        self->m_process.waitForReadyRead(0);
}

QStringList RadioEmulatorProcess::events(const QString& prefix) const
{
    QStringList found;
    for (const QString& event : events()) {
        if (event.startsWith(prefix))
            found.append(event);
    }
    return found;
}

bool RadioEmulatorProcess::waitForEvents(const QString& prefix, int count, int timeoutMs)
{
    return waitFor([&] { return events(prefix).size() >= count; }, timeoutMs);
}

QByteArray RadioEmulatorProcess::receivedBytes() const
{
    QByteArray bytes;
    for (const QString& hex : received())
        bytes += QByteArray::fromHex(hex.toLatin1().replace(' ', ""));
    return bytes;
}

void RadioEmulatorProcess::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    const qint64 pid = m_process.processId();
    if (pid > 0)
        ::kill(static_cast<pid_t>(pid), SIGKILL);
    m_process.waitForFinished(5000);
}

bool RadioEmulatorProcess::waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

void RadioEmulatorProcess::readOutput()
{
    m_partialLine += m_process.readAllStandardOutput();
    qsizetype end;
    while ((end = m_partialLine.indexOf('\n')) >= 0) {
        const QString line = QString::fromLatin1(m_partialLine.left(end)).trimmed();
        m_partialLine.remove(0, end + 1);
        if (line.startsWith(QLatin1String("PTY ")))
            m_ptyPath = line.mid(4);
        else if (line.startsWith(QLatin1String("RX ")))
            m_received.append(line.mid(3));
        else if (line == QLatin1String("OK") || line.startsWith(QLatin1String("ERR")))
            m_answers.append(line);
        else
            m_events.append(line);
    }
}

} // namespace tenlog::testing
