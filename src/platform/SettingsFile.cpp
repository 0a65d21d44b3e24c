#include "platform/SettingsFile.h"

#include "platform/DurableFile.h"
#include "text/SettingsValues.h"

#include <QDir>

namespace tenlog::platform {

QString readSettingsFile(const QString& path, const std::function<void(const QByteArray&, QString&)>& parse,
                         bool missingIsFault)
{
    const QString shown = QDir::toNativeSeparators(path);
    const OwnFileRead read = readOwnFile(path, text::kSettingsFileMaxBytes);
    QString fault;
    switch (read.result) {
    case OwnFileRead::Result::Missing:
        if (missingIsFault)
            fault = shown + QStringLiteral(" was not found");
        break;
    case OwnFileRead::Result::Failed:
        fault = shown + QLatin1Char(' ') + read.problem;
        break;
    case OwnFileRead::Result::Read:
        parse(read.data, fault);
        break;
    }
    return fault;
}

QString faultWithRemedy(const QString& fault, const QString& path, const QString& whenAtLine, const QString& whenWhole,
                        const QString& remedy)
{
    if (fault.isEmpty())
        return {};
    const bool atLine = fault.startsWith(QDir::toNativeSeparators(path) + QStringLiteral(" line "));
    return fault + (atLine ? whenAtLine : whenWhole) + remedy;
}

} // namespace tenlog::platform
