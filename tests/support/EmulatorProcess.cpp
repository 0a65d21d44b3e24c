#include "EmulatorProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace tenlog::testing {

EmulatorProcess::EmulatorProcess(const QString& program, const QStringList& arguments)
{
    m_process.start(QStringLiteral(TENLOG_TOOLS_DIR "/") + program, arguments);
    if (!m_process.waitForStarted(5000))
        return;
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(10000))
            return;
    }
    const QString first = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    const qsizetype blank = first.indexOf(QLatin1Char(' '));
    if (blank > 0)
        m_where = first.mid(blank + 1);
}

bool EmulatorProcess::waitForOutputLine(const QString& text, int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        while (m_process.canReadLine()) {
            if (QString::fromLocal8Bit(m_process.readLine()).contains(text))
                return true;
        }
        // The test's own sockets need the event loop to send what the
        // emulator is to answer.
        QCoreApplication::processEvents();
        m_process.waitForReadyRead(20);
    }
    return false;
}

EmulatorProcess::~EmulatorProcess()
{
    stopChildProcess(m_process);
}

} // namespace tenlog::testing
