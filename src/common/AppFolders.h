// The folders the program keeps its files in, resolved once at start-up and
// handed to every window that reads or writes a file.
#pragma once

#include <QString>

namespace tenlog::common {

struct AppFolders {
    QString workingFolder;
    QString workingDrive;   // first character of the working folder ("/" here)
    QString userDataFolder; // company folder + "/10 Meter"
    QString sharedFolder;   // company folder + "/Shared"
    QString backupFolder() const { return userDataFolder + QStringLiteral("/BACKUP"); }
    QString sharedPreferencesPath() const { return sharedFolder + QStringLiteral("/SharedUserPreferences.xml"); }
};

} // namespace tenlog::common
