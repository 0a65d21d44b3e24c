// Paths rooted in one temporary folder: a home with its documents and data
// folders, a working folder, and the shipped data of the source tree.
#pragma once

#include "platform/Paths.h"

#include <QTemporaryDir>

namespace tenlog::testing {

class TempPaths final : public platform::Paths {
public:
    TempPaths();

    QString root() const { return m_root.path(); }
    QString profileFolder() const override { return m_profile; }
    QString myDocumentsFolder() const override { return m_myDocuments; }
    QString documentsFolder() const override { return m_documents; }
    QString appDataFolder() const override { return m_appData; }
    QString workingFolder() const override { return m_working; }
    QString shippedDataFolder() const override { return m_shipped; }

    QString m_profile;
    QString m_myDocuments;
    QString m_documents;
    QString m_appData;
    QString m_working;
    QString m_shipped;

private:
    QTemporaryDir m_root;
};

} // namespace tenlog::testing
