// First-run seeding of the working folder.
#include "common/FirstRun.h"

#include "platform/DurableFile.h"

#include <QDir>
#include <QSet>

namespace tenlog::common {

SeedResult seedWorkingFolder(const QString& shippedFolder, const QString& workingFolder)
{
    SeedResult result;
    const QDir shipped(shippedFolder);
    const QDir working(workingFolder);

    QSet<QString> present;
    for (const QString& name : working.entryList(QDir::Files | QDir::Hidden | QDir::System))
        present.insert(name.toLower());

    const QStringList names = shipped.entryList(QDir::Files, QDir::Name);
    for (const QString& name : names) {
        // Notes for developers beside the data are not part of an installation.
        if (name.startsWith(QLatin1Char('.')) || name.compare(QLatin1String("README.md"), Qt::CaseInsensitive) == 0)
            continue;
        if (present.contains(name.toLower()))
            continue;
        QString error;
        if (platform::copyFileAtomically(shipped.filePath(name), working.filePath(name), &error))
            result.copied << name;
        else
            result.failed << name + QStringLiteral(": ") + error;
    }
    return result;
}

} // namespace tenlog::common
