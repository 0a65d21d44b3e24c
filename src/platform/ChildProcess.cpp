#include "platform/ChildProcess.h"

namespace tenlog::platform {

QString lastOutputLine(const QByteArray& output)
{
    const QList<QByteArray> lines = output.split('\n');
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        QString text = QString::fromUtf8(*line);
        for (QChar& c : text) {
            if (!c.isPrint())
                c = QLatin1Char(' ');
        }
        text = text.simplified();
        if (!text.isEmpty())
            return text.left(200);
    }
    return {};
}

QString endingText(ChildProcess::Ending ending, int code)
{
    if (ending == ChildProcess::Ending::Killed)
        return QStringLiteral("killed by signal %1").arg(code);
    return QStringLiteral("exit code %1").arg(code);
}

}  // namespace tenlog::platform
