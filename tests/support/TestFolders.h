// The program's folders laid out under a temporary root the way start-up
// lays them out under the documents folder, created and ready to use.
#pragma once

#include "common/AppFolders.h"

#include <QDir>

namespace tenlog::testing {

inline common::AppFolders makeFoldersUnder(const QString& root)
{
    common::AppFolders folders;
    folders.workingFolder = root + QStringLiteral("/work");
    folders.workingDrive = QStringLiteral("/");
    folders.userDataFolder = root + QStringLiteral("/Korvo Software/10 Meter");
    folders.sharedFolder = root + QStringLiteral("/Korvo Software/Shared");
    for (const QString& folder : {folders.workingFolder, folders.userDataFolder, folders.sharedFolder})
        QDir().mkpath(folder);
    return folders;
}

} // namespace tenlog::testing
