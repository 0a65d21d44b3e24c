// Finds and creates the program's per-user folders: the company folder
// "Korvo Software" in the user's documents area with its "10 Meter" (user
// data, backups) and "Shared" (shared preferences, splash picture) children.
// The documents area is tried in a fixed order of preference, and every
// failure is reported and skipped so that start-up always goes on.
#pragma once

#include <QString>

namespace tenlog::platform {
class Dialogs;
class Paths;
}

namespace tenlog::common {

inline constexpr auto kCompanySubPath = "/Korvo Software";
inline constexpr auto kUserDataChild = "/10 Meter";
inline constexpr auto kSharedChild = "/Shared";

class DataFolders {
public:
    DataFolders(const platform::Paths& paths, platform::Dialogs& dialogs);

    // Returns the company folder (without the child) after making sure the
    // company folder and the child under it exist.
    QString resolveUserDataFolder(const QString& companySubPath, const QString& childSubPath);

    // Creates one folder when missing. Returns whether the folder exists afterwards.
    bool ensureFolder(const QString& path, bool reportErrors);

private:
    bool createCompanyAndChild(const QString& base, const QString& company, const QString& child);
    void reportAccessError(const QString& description);

    const platform::Paths& m_paths;
    platform::Dialogs& m_dialogs;
};

} // namespace tenlog::common
