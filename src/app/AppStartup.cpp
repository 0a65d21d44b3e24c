// The folder part of start-up.
#include "app/AppStartup.h"

#include "platform/DurableFile.h"

#include "common/DataFolders.h"
#include "common/FirstRun.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace tenlog::app {

using namespace tenlog::common;

AppStartup::AppStartup(const platform::Paths& paths, platform::Dialogs& dialogs)
    : m_paths(paths)
    , m_dialogs(dialogs)
{
}

bool AppStartup::lockWorkingFolder()
{
    const QString folder = m_paths.workingFolder();
    m_lock = std::make_unique<platform::WorkingFolderLock>(folder);
    switch (m_lock->acquire()) {
    case platform::WorkingFolderLock::Result::Held:
        // The shipped files are copied in through the same atomic writer.
        platform::removeStaleTemporaryFiles(folder, QDir(m_paths.shippedDataFolder()).entryList(QDir::Files));
        return true;
    case platform::WorkingFolderLock::Result::Unlockable:
        // A folder where not even the lock file can be made cannot have its
        // log rewritten either; the load sequence reports what it cannot read.
        return true;
    case platform::WorkingFolderLock::Result::InUse:
        break;
    }
    const qint64 pid = m_lock->holderPid();
    m_dialogs.message(QStringLiteral("Log In Use"),
                      QStringLiteral("The log in ") + QDir::toNativeSeparators(folder)
                          + QStringLiteral(" is in use by another copy of TenLog")
                          + (pid > 0 ? QStringLiteral(" (process %1)").arg(pid) : QString())
                          + QStringLiteral(". Only one copy may keep a log at a time, or each would erase the other's "
                                           "contacts. Use the copy that is running, or close it and start again. "
                                           "Nothing was changed."),
                      platform::MessageIcon::Critical);
    return false;
}

void AppStartup::recordWorkingFolder()
{
    m_folders.workingFolder = m_paths.workingFolder();
    m_folders.workingDrive = m_folders.workingFolder.left(1);

    const QString shipped = m_paths.shippedDataFolder();
    if (!QFileInfo(shipped).isDir()) {
        m_dialogs.message(QStringLiteral("Working Folder Error"),
                          QStringLiteral("The folder of files shipped with TenLog was not found:\n") + shipped,
                          platform::MessageIcon::Warning);
        return;
    }
    const SeedResult seeded = seedWorkingFolder(shipped, m_folders.workingFolder);
    if (!seeded.failed.isEmpty())
        m_dialogs.message(QStringLiteral("Working Folder Error"),
                          QStringLiteral("TenLog could not copy its starting files into the working folder ")
                              + m_folders.workingFolder + QStringLiteral(":\n")
                              + seeded.failed.join(QLatin1Char('\n')),
                          platform::MessageIcon::Warning);
}

void AppStartup::prepareUserFolders()
{
    DataFolders folders(m_paths, m_dialogs);
    const QString company = QString::fromLatin1(kCompanySubPath);
    // Each child is taken from the company folder its own search settled on:
    // when the documents area takes one child but not the other, the two
    // searches end in different places, and each child exists only in its own.
    const QString userDataCompany = folders.resolveUserDataFolder(company, QString::fromLatin1(kUserDataChild));
    const QString sharedCompany = folders.resolveUserDataFolder(company, QString::fromLatin1(kSharedChild));

    m_folders.sharedFolder = sharedCompany + QString::fromLatin1(kSharedChild);
    m_folders.userDataFolder = userDataCompany + QString::fromLatin1(kUserDataChild);

    m_shared.load(m_folders.sharedPreferencesPath());
    folders.ensureFolder(m_folders.backupFolder(), false);

    QDir::setCurrent(m_folders.workingFolder);
}

} // namespace tenlog::app
