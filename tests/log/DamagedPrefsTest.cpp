// A damaged, missing or unreadable tnpref.txt: the program runs on with the
// defaults for what the file lacks, names the file and the fault, and keeps
// the damaged file, renamed, when the preferences are next saved.
#include "log/PrefsFile.h"

#include "platform/DurableFile.h"

#include "FileBytes.h"
#include "QtPrinters.h"
#include "ReadOnlyFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

#include <unistd.h>

using namespace tenlog::log;
using tenlog::testing::fileBytes;

namespace {

// A file the station dialog and the menus could have saved.
Prefs workedPrefs()
{
    Prefs p;
    p.OwnCall = QStringLiteral("W3LPL");
    p.OwnState = QStringLiteral("MD");
    p.UtcOffsetHours = 5;
    p.CurrentMode = QStringLiteral("PH");
    p.OwnCountry = QStringLiteral("USA");
    p.OwnLongitude = 77;
    p.OwnLatitude = 39;
    p.FormSizePercent = 90;
    p.VoiceNavLevel = 2;
    p.RigName = QStringLiteral("Kenwood");
    return p;
}

// The first eight values of workedPrefs(), then the defaults.
Prefs firstEightOnly()
{
    Prefs p = workedPrefs();
    const Prefs defaults;
    p.FormSizePercent = defaults.FormSizePercent;
    p.VoiceNavLevel = defaults.VoiceNavLevel;
    p.RigName = defaults.RigName;
    return p;
}

} // namespace

TEST(DamagedPrefs, TheValuesBeforeTheDamageAreKeptAndTheFaultIsNamedByLine)
{
    const QByteArray whole = *prefsBytes(workedPrefs());
    QByteArray wrongSize = whole;
    wrongSize.replace("\r\n90\r\n", "\r\n300\r\n");
    QByteArray fifteen = whole;
    fifteen.chop(3);
    Prefs garbageCall;
    garbageCall.OwnCall = QStringLiteral("This is");
    garbageCall.OwnState = QStringLiteral("not");
    const struct {
        const char* what;
        QByteArray data;
        Prefs expected;
        const char* damage;
    } rows[] = {
        {"whole", whole, workedPrefs(), ""},
        {"garbage", "This is not a settings file, just words\r\nmore words\r\n", Prefs{},
         "tnpref.txt line 1: your call sign (OwnCall) is \"This is not a settings file\", not text in quotes"},
        {"garbage in quotes", "\"This is\",\"not\",\"a settings file\"\r\n", garbageCall,
         "tnpref.txt line 1: the hours added for UTC (UtcOffsetHours) is not a number: \"a settings file\""},
        {"a wrong value", wrongSize, firstEightOnly(),
         "tnpref.txt line 9: the window size in percent (FormSizePercent) is out of range: 300 (it holds 0 to 255)"},
        {"short", fifteen, workedPrefs(), "tnpref.txt ends after 15 of its 16 values"},
    };
    for (const auto& row : rows) {
        QString damage = QStringLiteral("not cleared");
        const Prefs prefs = readPrefsAsFarAsSound(row.data, QStringLiteral("tnpref.txt"), &damage);
        EXPECT_EQ(prefs, row.expected) << row.what;
        EXPECT_EQ(damage, QString::fromLatin1(row.damage)) << row.what;
    }
}

TEST(DamagedPrefs, TheFileIsSetAsideWithATimeStampWhenThePreferencesAreSaved)
{
    const QDateTime now(QDate(2026, 12, 10), QTime(14, 30, 0));
    struct Row {
        const char* what;
        std::function<void(const QString& path)> make;
        const char* problemStart; // after the file's path
        bool setAside;
    };
    const Row rows[] = {
        {"a damaged file", [](const QString& path) { tenlog::platform::writeFileAtomically(path, "\"W3LPL\"\r\n\x01\r\n"); },
         " is not text: line 2 holds the byte 0x01", true},
        {"a folder", [](const QString& path) { QDir().mkdir(path); }, " is a folder, not a file", true},
        {"no file", [](const QString&) {}, " was not found", false},
        {"a link to nothing", [](const QString& path) { QFile::link(QStringLiteral("/nowhere/tnpref.txt"), path); },
         " is a link to /nowhere/tnpref.txt, which does not exist", true},
    };
    for (const Row& row : rows) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tnpref.txt"));
        row.make(path);
        const QByteArray before = fileBytes(path);

        PrefsFile file(dir.path());
        EXPECT_EQ(file.load(), Prefs{}) << row.what;
        EXPECT_TRUE(file.problem().startsWith(path + QLatin1String(row.problemStart))) << row.what << ": " << file.problem().toStdString();
        EXPECT_EQ(fileBytes(path), before) << row.what << ": nothing is written before the operator saves";

        QString error;
        ASSERT_TRUE(file.save(workedPrefs(), now, &error)) << row.what << ": " << error.toStdString();
        const QString aside = path + QStringLiteral(".damaged-20261210-143000");
        EXPECT_EQ(QFileInfo(aside).exists() || QFileInfo(aside).isSymLink(), row.setAside) << row.what;
        const QString notice = file.takeSetAsideNotice();
        if (row.setAside) {
            EXPECT_EQ(notice, QStringLiteral("The damaged %1 was renamed to %2, and the preferences were saved in a new "
                                             "tnpref.txt.").arg(path, aside));
            EXPECT_EQ(fileBytes(aside), before) << row.what << ": kept as it was";
        } else {
            EXPECT_TRUE(notice.isEmpty()) << row.what;
        }
        EXPECT_EQ(PrefsFile(dir.path()).load(), workedPrefs()) << row.what;

        // Only the damaged file is set aside, once.
        ASSERT_TRUE(file.save(Prefs{}, now, &error)) << error.toStdString();
        EXPECT_TRUE(file.takeSetAsideNotice().isEmpty()) << row.what;
        EXPECT_FALSE(QFileInfo::exists(aside + QStringLiteral("-2"))) << row.what;
    }
}

TEST(DamagedPrefs, ADamagedFileThatCannotBeSetAsideIsNotOverwritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tnpref.txt"));
    ASSERT_TRUE(tenlog::platform::writeFileAtomically(path, "\"W3LPL\"\r\n\"MD\"\r\nfive\r\n"));
    PrefsFile file(dir.path());
    file.load();
    tenlog::testing::ReadOnlyFolder readOnly(dir.path());
    if (!readOnly.available())
        GTEST_SKIP() << "this file system cannot make a folder read-only";
    QString error;
    EXPECT_FALSE(file.save(workedPrefs(), QDateTime(QDate(2026, 12, 10), QTime(14, 30)), &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("the damaged %1 could not be renamed to keep it").arg(path))) << error.toStdString();
    EXPECT_TRUE(error.endsWith(QStringLiteral("so it was not overwritten"))) << error.toStdString();
    EXPECT_EQ(fileBytes(path), QByteArray("\"W3LPL\"\r\n\"MD\"\r\nfive\r\n"));
}
