// The real platform adapters: folder mapping from the environment and the settings store.
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/SystemPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tenlog::platform;

TEST(SystemPaths, MapsTheFolderRolesFromTheEnvironment)
{
    QProcessEnvironment env;
    env.insert(QStringLiteral("HOME"), QStringLiteral("/home/op"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QStringLiteral("/nonexistent-config"));
    const SystemPaths plain(env, QStringLiteral("/home/op/TenLog"), QStringLiteral("/opt/x/bin"));
    EXPECT_EQ(plain.profileFolder(), QStringLiteral("/home/op"));
    EXPECT_EQ(plain.myDocumentsFolder(), QStringLiteral("/home/op/Documents"));
    EXPECT_EQ(plain.documentsFolder(), QStringLiteral("/home/op/Documents"));
    EXPECT_EQ(plain.appDataFolder(), QStringLiteral("/home/op/.local/share"));
    EXPECT_EQ(plain.workingFolder(), QStringLiteral("/home/op/TenLog"));
    EXPECT_EQ(plain.shippedDataFolder(), QStringLiteral(TENLOG_SOURCE_DATA_DIR));

    env.insert(QStringLiteral("XDG_DOCUMENTS_DIR"), QStringLiteral("/data/docs/"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), QStringLiteral("/data/share"));
    env.insert(QStringLiteral("TENLOG_DATA"), QStringLiteral("/usr/share/tenlog"));
    const SystemPaths set(env, QStringLiteral("/w"), QStringLiteral("/opt/x/bin"));
    EXPECT_EQ(set.myDocumentsFolder(), QStringLiteral("/data/docs"));
    EXPECT_EQ(set.documentsFolder(), QStringLiteral("/home/op/Documents"));
    EXPECT_EQ(set.appDataFolder(), QStringLiteral("/data/share"));
    EXPECT_EQ(set.shippedDataFolder(), QStringLiteral("/usr/share/tenlog"));
}

TEST(SystemPaths, ReadsTheDocumentsFolderFromUserDirs)
{
    QTemporaryDir config;
    QFile dirs(config.filePath(QStringLiteral("user-dirs.dirs")));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    dirs.close();
    QProcessEnvironment env;
    env.insert(QStringLiteral("HOME"), QStringLiteral("/home/op"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    EXPECT_EQ(SystemPaths(env, QStringLiteral("/w"), QStringLiteral("/b")).myDocumentsFolder(),
              QStringLiteral("/home/op/Dokumente"));
}

TEST(SystemPaths, InstalledDataBesideTheExecutableWins)
{
    QTemporaryDir prefix;
    QDir().mkpath(prefix.filePath(QStringLiteral("share/tenlog")));
    QDir().mkpath(prefix.filePath(QStringLiteral("bin")));
    QProcessEnvironment env;
    env.insert(QStringLiteral("HOME"), QStringLiteral("/home/op"));
    const SystemPaths paths(env, QStringLiteral("/w"), prefix.filePath(QStringLiteral("bin")));
    EXPECT_EQ(paths.shippedDataFolder(), prefix.filePath(QStringLiteral("share/tenlog")));
}

TEST(QtSettingsStore, KeepsValuesPerApplicationSectionAndKey)
{
    QTemporaryDir root;
    {
        QtSettingsStore store(root.path());
        EXPECT_EQ(store.value(QStringLiteral("Korvo_Software"), QStringLiteral("Settings"),
                              QStringLiteral("UserCWSelection"), QStringLiteral("none")),
                  QStringLiteral("none"));
        store.setValue(QStringLiteral("Korvo_Software"), QStringLiteral("Settings"),
                       QStringLiteral("UserCWSelection"), QStringLiteral("2"));
        store.setValue(QStringLiteral("Other"), QStringLiteral("Settings"),
                       QStringLiteral("UserCWSelection"), QStringLiteral("9"));
    }
    QtSettingsStore reopenedStore(root.path());
    const SettingsStore& reopened = reopenedStore;
    EXPECT_EQ(reopened.value(QStringLiteral("Korvo_Software"), QStringLiteral("Settings"),
                             QStringLiteral("UserCWSelection")),
              QStringLiteral("2"));
    EXPECT_EQ(reopened.value(QStringLiteral("Other"), QStringLiteral("Settings"),
                             QStringLiteral("UserCWSelection")),
              QStringLiteral("9"));
}
