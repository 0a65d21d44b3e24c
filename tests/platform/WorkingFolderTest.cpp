// Which working folder a start uses, and making and entering it.
#include "platform/qt/SystemPaths.h"

#include "ReadOnlyFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tenlog::platform;

namespace {

struct ChoiceCase {
    const char* name;
    const char* argument;
    bool desktop;
    const char* current;
    const char* expected;
};

// Home is /home/op throughout.
const ChoiceCase kChoices[] = {
    {"no argument: the current folder", "", false, "/home/op/Contests", "/home/op/Contests"},
    {"no argument in home: TenLog under home", "", false, "/home/op", "/home/op/TenLog"},
    {"home written with a trailing slash", "", false, "/home/op/", "/home/op/TenLog"},
    {"desktop start elsewhere: TenLog under home", "", true, "/tmp/launcher", "/home/op/TenLog"},
    {"absolute argument, even from home", "/data/2026", false, "/home/op", "/data/2026"},
    {"argument wins over the desktop option", "/data/2026", true, "/tmp", "/data/2026"},
    {"relative argument from the current folder", "2026", false, "/home/op/Contests", "/home/op/Contests/2026"},
    {"argument is cleaned", "../other/./x/", false, "/a/b", "/a/other/x"},
    {"unexpanded tilde path", "~/Contests/2026", false, "/tmp", "/home/op/Contests/2026"},
    {"unexpanded tilde alone is home itself", "~", false, "/tmp", "/home/op"},
    {"a name starting with a tilde is just a name", "~old", false, "/tmp", "/tmp/~old"},
};

} // namespace

TEST(WorkingFolder, ChoosesFromArgumentDesktopOptionAndCurrentFolder)
{
    for (const ChoiceCase& c : kChoices) {
        SCOPED_TRACE(c.name);
        const WorkingFolderRequest request{QString::fromUtf8(c.argument), c.desktop};
        EXPECT_EQ(chooseWorkingFolder(request, QString::fromUtf8(c.current), QStringLiteral("/home/op")),
                  QString::fromUtf8(c.expected));
    }
}

TEST(WorkingFolder, HomeReachedThroughALinkIsStillHome)
{
    QTemporaryDir root;
    const QString realHome = root.filePath(QStringLiteral("real-home"));
    const QString linkedHome = root.filePath(QStringLiteral("home"));
    ASSERT_TRUE(QDir().mkpath(realHome));
    ASSERT_TRUE(QFile::link(realHome, linkedHome));

    // getcwd reports the resolved folder while HOME names the link.
    EXPECT_EQ(chooseWorkingFolder({}, realHome, linkedHome), linkedHome + QStringLiteral("/TenLog"));
    const QString sibling = root.filePath(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QDir().mkpath(sibling));
    EXPECT_EQ(chooseWorkingFolder({}, sibling, linkedHome), sibling);
}

class EnterWorkingFolderTest : public ::testing::Test {
protected:
    void TearDown() override { QDir::setCurrent(m_start); }

    QTemporaryDir root;

private:
    QString m_start = QDir::currentPath();
};

TEST_F(EnterWorkingFolderTest, MakesAMissingFolderWithItsParentsAndEntersIt)
{
    const QString folder = root.filePath(QStringLiteral("Contests/2026"));
    EXPECT_EQ(enterWorkingFolder(folder), QString());
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(QDir::currentPath(), QFileInfo(folder).canonicalFilePath());
}

TEST_F(EnterWorkingFolderTest, EntersAnExistingFolderLeavingItsFilesAlone)
{
    QFile log(root.filePath(QStringLiteral("log.txt")));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write("K1ABC\n");
    log.close();

    EXPECT_EQ(enterWorkingFolder(root.path()), QString());
    EXPECT_EQ(QDir::currentPath(), QFileInfo(root.path()).canonicalFilePath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll(), QByteArray("K1ABC\n"));
}

TEST_F(EnterWorkingFolderTest, RefusesWhatCannotBeAFolderAndStaysWhereItWas)
{
    const QString file = root.filePath(QStringLiteral("notes"));
    QFile notes(file);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();
    const QString before = QDir::currentPath();

    const QString onFile = enterWorkingFolder(file);
    EXPECT_TRUE(onFile.contains(file)) << onFile.toStdString();
    EXPECT_TRUE(onFile.contains(QStringLiteral("not a folder"))) << onFile.toStdString();

    const QString underFile = enterWorkingFolder(file + QStringLiteral("/2026"));
    EXPECT_TRUE(underFile.contains(QStringLiteral("could not be created"))) << underFile.toStdString();
    EXPECT_TRUE(underFile.contains(file + QStringLiteral("/2026"))) << underFile.toStdString();

    EXPECT_EQ(QDir::currentPath(), before);
}

TEST_F(EnterWorkingFolderTest, ReportsAFolderThatCannotBeMadeInAReadOnlyParent)
{
    const QString parent = root.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkpath(parent));
    tenlog::testing::ReadOnlyFolder readOnly(parent);
    if (!readOnly.available())
        GTEST_SKIP() << "no way to make a folder read-only here";

    const QString message = enterWorkingFolder(parent + QStringLiteral("/2026"));
    EXPECT_TRUE(message.contains(QStringLiteral("could not be created"))) << message.toStdString();
    EXPECT_FALSE(QFileInfo::exists(parent + QStringLiteral("/2026")));
}
