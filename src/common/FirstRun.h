// Seeds the working folder with the files an installation ships (an empty
// log, default settings, data tables, help text, voice prompts), so a first
// start finds everything its load sequence reads. A file that is already
// there, under any letter case, is never touched.
#pragma once

#include <QString>
#include <QStringList>

namespace tenlog::common {

struct SeedResult {
    QStringList copied;  // file names copied into the working folder
    QStringList failed;  // "name: reason" for each file that could not be copied
};

SeedResult seedWorkingFolder(const QString& shippedFolder, const QString& workingFolder);

} // namespace tenlog::common
