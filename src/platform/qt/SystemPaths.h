// The real Paths: the program's folder locations read from the environment
// the program started in.
#pragma once

#include "platform/Paths.h"

#include <QProcessEnvironment>

namespace tenlog::platform {

class SystemPaths final : public Paths {
public:
    // Working folder: the current folder. Shipped data: TENLOG_DATA when set,
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

} // namespace tenlog::platform
