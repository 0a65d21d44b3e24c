// The per-user folder search, mapped onto a Linux home folder.
#include "common/DataFolders.h"

#include "platform/Dialogs.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace tenlog::common {

namespace {

bool isFolder(const QString& path)
{
    return QFileInfo(path).isDir();
}

// One mkdir, so that the system's own reason comes back on failure.
bool makeFolder(const QString& path, QString* reason)
{
    if (isFolder(path))
        return true;
    if (::mkdir(QFile::encodeName(path).constData(), 0755) == 0)
        return true;
    const int code = errno;
    if (code == EEXIST && isFolder(path))
        return true;
    *reason = QString::fromLocal8Bit(std::strerror(code));
    return false;
}

} // namespace

DataFolders::DataFolders(const platform::Paths& paths, platform::Dialogs& dialogs)
    : m_paths(paths)
    , m_dialogs(dialogs)
{
}

void DataFolders::reportAccessError(const QString& description)
{
    m_dialogs.message(QStringLiteral("User Access Directory Error"), description,
                      platform::MessageIcon::Critical);
}

bool DataFolders::createCompanyAndChild(const QString& base, const QString& company,
                                        const QString& child)
{
    QString reason;
    if (!makeFolder(base + company, &reason) || !makeFolder(base + company + child, &reason)) {
        reportAccessError(reason);
        return false;
    }
    return true;
}

QString DataFolders::resolveUserDataFolder(const QString& companySubPath, const QString& childSubPath)
{
    const QString profile = m_paths.profileFolder();

    // No profile folder: the documents folder is used as it stands, with errors reported.
    if (profile.isEmpty()) {
        const QString documents = m_paths.myDocumentsFolder();
        ensureFolder(documents, true);
        ensureFolder(documents + companySubPath, true);
        ensureFolder(documents + companySubPath + childSubPath, true);
        return documents + companySubPath;
    }

    // The user's documents folder, created once silently when missing.
    const QString myDocuments = m_paths.myDocumentsFolder();
    if (!isFolder(myDocuments)) {
        QString ignored;
        makeFolder(myDocuments, &ignored);
    }
    if (isFolder(myDocuments) && createCompanyAndChild(myDocuments, companySubPath, childSubPath))
        return myDocuments + companySubPath;

    // ~/Documents, only when it already exists.
    const QString documents = m_paths.documentsFolder();
    if (isFolder(documents) && documents != myDocuments
        && createCompanyAndChild(documents, companySubPath, childSubPath))
        return documents + companySubPath;

    // Last resort: the home folder itself, then the data home, which is returned.
    createCompanyAndChild(profile, companySubPath, childSubPath);
    const QString appData = m_paths.appDataFolder();
    QDir().mkpath(appData); // the data home may not exist yet on a fresh account
    createCompanyAndChild(appData, companySubPath, childSubPath);
    return appData + companySubPath;
}

bool DataFolders::ensureFolder(const QString& path, bool reportErrors)
{
    if (path.isEmpty()) {
        m_dialogs.message(QStringLiteral("Unable to Create Directory"), QStringLiteral("Invalid Path"),
                          platform::MessageIcon::Critical);
        return false;
    }
    QString reason;
    if (makeFolder(path, &reason))
        return true;
    if (reportErrors)
        m_dialogs.message(QStringLiteral("Unable to create directory."),
                          reason + QStringLiteral("  ") + path, platform::MessageIcon::Critical);
    return false;
}

} // namespace tenlog::common
