// The real Paths: the program's folder locations read from the environment
// the program started in.
#pragma once

#include "platform/Paths.h"

#include <QProcessEnvironment>

namespace tenlog::platform {

class SystemPaths final : public Paths {
public:
    // Working folder: as given (see chooseWorkingFolder). Shipped data: TENLOG_DATA when set,
    // else share/tenlog beside the executable's folder, else the source tree's data/.
    SystemPaths(const QProcessEnvironment& environment, QString workingFolder,
                QString executableFolder);

    QString profileFolder() const override { return m_profile; }
    QString myDocumentsFolder() const override { return m_myDocuments; }
    QString documentsFolder() const override { return m_documents; }
    QString appDataFolder() const override { return m_appData; }
    QString workingFolder() const override { return m_working; }
    QString shippedDataFolder() const override { return m_shipped; }

private:
    QString m_profile;
    QString m_myDocuments;
    QString m_documents;
    QString m_appData;
    QString m_working;
    QString m_shipped;
};

// How the command line asked for the working folder.
struct WorkingFolderRequest {
    QString argument;      // the folder argument as given; empty when there was none
    bool desktop = false;  // started from the desktop entry (--desktop)
};

// The contest folder of a desktop start, under home.
inline constexpr char kDesktopFolderName[] = "TenLog";

// The working folder a start asks for, as a clean absolute path: the folder
// argument (relative to the current folder; a leading "~" is home, since a
// launcher passes it unexpanded); else ~/TenLog for a desktop start or a start
// in the home folder itself, so the starting files never land loose in home;
// else the current folder.
QString chooseWorkingFolder(const WorkingFolderRequest& request, const QString& currentFolder,
                            const QString& home);

// Makes the folder (with its parents) when it is missing and makes it the
// current folder. Returns an empty string on success, else why it cannot be
// used, in words for the operator.
QString enterWorkingFolder(const QString& folder);

} // namespace tenlog::platform
