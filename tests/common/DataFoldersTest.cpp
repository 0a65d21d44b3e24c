// Finding and creating the per-user folders, including every fallback route.
#include "app/AppStartup.h"
#include "common/DataFolders.h"

#include "ReadOnlyFolder.h"
#include "ScriptedDialogs.h"
#include "TempPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using tenlog::app::AppStartup;
using tenlog::common::DataFolders;
using tenlog::testing::ReadOnlyFolder;
using tenlog::testing::ScriptedDialogs;
using tenlog::testing::TempPaths;

namespace {

const QString kCompany = QStringLiteral("/Korvo Software");
const QString kTenMeter = QStringLiteral("/10 Meter");
const QString kShared = QStringLiteral("/Shared");

bool isDir(const QString& p)
{
    return QFileInfo(p).isDir();
}

} // namespace

class DataFoldersTest : public ::testing::Test {
protected:
    TempPaths paths;
    ScriptedDialogs dialogs;
};

TEST_F(DataFoldersTest, DocumentsFolderIsCreatedAndUsedFirst)
{
    DataFolders folders(paths, dialogs);
    const QString company = folders.resolveUserDataFolder(kCompany, kTenMeter);
    EXPECT_EQ(company, paths.myDocumentsFolder() + kCompany);
    EXPECT_TRUE(isDir(company + kTenMeter));
    EXPECT_TRUE(dialogs.messages.empty());

    // A second call adds the other child beside the first.
    EXPECT_EQ(folders.resolveUserDataFolder(kCompany, kShared), company);
    EXPECT_TRUE(isDir(company + kShared));
}

TEST_F(DataFoldersTest, FallsBackToHomeDocumentsWhenTheDocumentsFolderCannotBeMade)
{
    // The configured documents folder lies under a file, so it can never be created.
    QFile blocker(paths.profileFolder() + QStringLiteral("/blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    paths.m_myDocuments = blocker.fileName() + QStringLiteral("/Docs");
    QDir().mkpath(paths.documentsFolder());

    DataFolders folders(paths, dialogs);
    EXPECT_EQ(folders.resolveUserDataFolder(kCompany, kTenMeter), paths.documentsFolder() + kCompany);
    EXPECT_TRUE(isDir(paths.documentsFolder() + kCompany + kTenMeter));
    EXPECT_TRUE(dialogs.messages.empty()) << "the silent attempt must not report";
}

TEST_F(DataFoldersTest, UnwritableDocumentsAreaReportsAndEndsInTheDataHome)
{
    QDir().mkpath(paths.myDocumentsFolder());
    ReadOnlyFolder readOnlyDocuments(paths.myDocumentsFolder());
    ReadOnlyFolder readOnlyHome(paths.profileFolder());
    if (!readOnlyDocuments.available() || !readOnlyHome.available())
        GTEST_SKIP() << "this file system cannot make a folder read-only";
    paths.m_appData = paths.root() + QStringLiteral("/data-home");

    DataFolders folders(paths, dialogs);
    const QString company = folders.resolveUserDataFolder(kCompany, kTenMeter);
    EXPECT_EQ(company, paths.appDataFolder() + kCompany);
    EXPECT_TRUE(isDir(company + kTenMeter));
    // The documents folder and the home folder each failed once, with the system's reason.
    ASSERT_EQ(dialogs.messages.size(), 2u);
    for (const auto& m : dialogs.messages) {
        EXPECT_EQ(m.title, QStringLiteral("User Access Directory Error"));
        EXPECT_FALSE(m.text.isEmpty());
    }
}

TEST_F(DataFoldersTest, EmptyProfileUsesTheDocumentsFolderDirectly)
{
    paths.m_profile.clear();
    DataFolders folders(paths, dialogs);
    EXPECT_EQ(folders.resolveUserDataFolder(kCompany, kShared), paths.myDocumentsFolder() + kCompany);
    EXPECT_TRUE(isDir(paths.myDocumentsFolder() + kCompany + kShared));
}

TEST_F(DataFoldersTest, EnsureFolderMessages)
{
    DataFolders folders(paths, dialogs);
    EXPECT_FALSE(folders.ensureFolder(QString(), false));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Unable to Create Directory"));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Invalid Path"));

    const QString impossible = paths.root() + QStringLiteral("/no/such/parent");
    EXPECT_FALSE(folders.ensureFolder(impossible, false));
    EXPECT_EQ(dialogs.messages.size(), 1u) << "a silent call reports nothing";

    EXPECT_FALSE(folders.ensureFolder(impossible, true));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].title, QStringLiteral("Unable to create directory."));
    EXPECT_TRUE(dialogs.messages[1].text.endsWith(QStringLiteral("  ") + impossible));

    EXPECT_TRUE(folders.ensureFolder(paths.root() + QStringLiteral("/made"), true));
    EXPECT_TRUE(folders.ensureFolder(paths.root() + QStringLiteral("/made"), true)) << "existing is fine";
}

TEST_F(DataFoldersTest, StartupPreparesEveryFolderAndSeedsTheWorkingFolder)
{
    AppStartup startup(paths, dialogs);
    startup.recordWorkingFolder();
    startup.prepareUserFolders();
    const auto& f = startup.folders();
    EXPECT_EQ(f.workingFolder, paths.workingFolder());
    EXPECT_EQ(f.workingDrive, QStringLiteral("/"));
    EXPECT_EQ(f.userDataFolder, paths.myDocumentsFolder() + kCompany + kTenMeter);
    EXPECT_EQ(f.sharedFolder, paths.myDocumentsFolder() + kCompany + kShared);
    EXPECT_TRUE(isDir(f.backupFolder()));
    EXPECT_EQ(QDir::currentPath(), QDir(paths.workingFolder()).canonicalPath());
    for (const char* name : {"log.txt", "tnpref.txt", "wave2.txt"})
        EXPECT_TRUE(QFile::exists(paths.workingFolder() + QLatin1Char('/') + QLatin1String(name))) << name;
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(DataFoldersTest, ReadOnlyWorkingFolderIsReportedAndStartupGoesOn)
{
    ReadOnlyFolder readOnly(paths.workingFolder());
    if (!readOnly.available())
        GTEST_SKIP() << "this file system cannot make a folder read-only";
    AppStartup startup(paths, dialogs);
    startup.recordWorkingFolder();
    startup.prepareUserFolders();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Working Folder Error"));
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("tnpref.txt")));
    EXPECT_TRUE(isDir(startup.folders().backupFolder()));
}
