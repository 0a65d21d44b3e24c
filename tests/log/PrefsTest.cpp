// The settings file tnpref.txt (format, conversions, refusals, the file on
// disk), the station identity taken from the dialog's boxes, the "&Form Size"
// answer rule and country name completion.
#include "log/CountryCompletion.h"
#include "log/Prefs.h"

#include "geo/PrefixTable.h"
#include "platform/DurableFile.h"

#include "QtPrinters.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <limits>

using namespace tenlog::log;

namespace {

QByteArray readBytes(const QString& path)
{
    QByteArray data;
    tenlog::platform::readWholeFile(path, &data);
    return data;
}

// The sixteen lines of a file, CR LF ended.
QByteArray lines(std::initializer_list<const char*> values)
{
    QByteArray data;
    for (const char* v : values)
        data += QByteArray(v) + "\r\n";
    return data;
}

Prefs busyPrefs()
{
    Prefs p;
    p.OwnCall = QStringLiteral("VE3/K1ABC");
    p.OwnState = QStringLiteral("ON");
    p.UtcOffsetHours = -3.5f;
    p.CurrentMode = QStringLiteral("PH");
    p.SavedOpSeconds = 86399.25f;
    p.OwnCountry = QStringLiteral("Canada, eh \xE9"); // a comma and a byte above 127 survive the quotes
    p.OwnLongitude = 78.75f;
    p.OwnLatitude = -44.35f;
    p.FormSizePercent = 90;
    p.WorkedColor = 16777215;
    p.RemainingColor = -1;
    p.VoiceNavLevel = 2;
    p.RigName = QStringLiteral("  Yaesu FT-1000MP ");
    p.TaskbarFit = 1;
    p.NeededSpotsGreen = 1;
    p.NeededSpotAudio = 1;
    return p;
}

} // namespace

TEST(PrefsFile, ShippedFileIsTheDefaultsAndRewritesByteForByte)
{
    const QByteArray shipped = readBytes(QStringLiteral(TENLOG_SOURCE_DATA_DIR "/tnpref.txt"));
    ASSERT_FALSE(shipped.isEmpty());
    QString error;
    const auto prefs = parsePrefs(shipped, &error);
    ASSERT_TRUE(prefs.has_value()) << error.toStdString();
    EXPECT_EQ(*prefs, Prefs{});
    EXPECT_EQ(prefsBytes(*prefs), shipped);
}

TEST(PrefsFile, TextIsQuotedAndNumbersArePlainOneValueALine)
{
    EXPECT_EQ(prefsBytes(busyPrefs()),
              lines({"\"VE3/K1ABC\"", "\"ON\"", "-3.5", "\"PH\"", "86399.25", "\"Canada, eh \xE9\"", "78.75",
                     "-44.35", "90", "16777215", "-1", "2", "\"  Yaesu FT-1000MP \"", "1", "1", "1"}));
}

TEST(PrefsFile, SavingAndReadingBackGivesTheSameValues)
{
    QTemporaryDir dir;
    for (const Prefs& p : {Prefs{}, busyPrefs()}) {
        QString error;
        ASSERT_TRUE(savePrefs(dir.path(), p, &error)) << error.toStdString();
        const auto back = loadPrefs(dir.path(), &error);
        ASSERT_TRUE(back.has_value()) << error.toStdString();
        EXPECT_EQ(*back, p);
    }
}

TEST(PrefsFile, ValuesConvertToTheirRowsAsBasicReadsThem)
{
    // Quoted numbers in number rows, bare numbers in text rows, whole-number
    // rows rounded half to even, all on one line separated by commas.
    QString error;
    const auto p = parsePrefs("K1ABC,\"MD\",\" 5 \",CW,\"1.5E3\",123,77.5,\"-38.25\",75.5,32768,\"192\","
                              "1.5,None,0.5,2.5,\"1\"\r\n",
                              &error);
    ASSERT_TRUE(p.has_value()) << error.toStdString();
    EXPECT_EQ(p->OwnCall, QStringLiteral("K1ABC"));
    EXPECT_EQ(p->UtcOffsetHours, 5.0f);
    EXPECT_EQ(p->SavedOpSeconds, 1500.0f);
    EXPECT_EQ(p->OwnCountry, QStringLiteral("123"));
    EXPECT_EQ(p->OwnLongitude, 77.5f);
    EXPECT_EQ(p->OwnLatitude, -38.25f);
    EXPECT_EQ(p->FormSizePercent, 76);
    EXPECT_EQ(p->RemainingColor, 192);
    EXPECT_EQ(p->VoiceNavLevel, 2);
    EXPECT_EQ(p->TaskbarFit, 0);
    EXPECT_EQ(p->NeededSpotsGreen, 2);
    EXPECT_EQ(p->NeededSpotAudio, 1);
    // Single precision: the value is the float nearest the decimal text.
    EXPECT_EQ(parsePrefs(lines({"\"\"", "\"\"", "0", "\"CW\"", "0", "\"\"", "28.025", "0", "100", "0", "0",
                                "0", "\"None\"", "0", "0", "0"}))
                  ->OwnLongitude,
              28.025f);
}

TEST(PrefsFile, ShortOrDamagedFilesAreErrorsWithTheReason)
{
    const QByteArray shipped = readBytes(QStringLiteral(TENLOG_SOURCE_DATA_DIR "/tnpref.txt"));
    QString error;

    QByteArray fifteen = shipped;
    fifteen.chop(3); // the last "0\r\n"
    EXPECT_FALSE(parsePrefs(fifteen, &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("15 of its 16"))) << error.toStdString();

    EXPECT_FALSE(parsePrefs(QByteArray(), &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("0 of its 16"))) << error.toStdString();

    QByteArray letters = shipped;
    letters.replace(QByteArray("\"CW\"\r\n0\r\n"), QByteArray("\"CW\"\r\n\"ten\"\r\n"));
    EXPECT_FALSE(parsePrefs(letters, &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("line 5"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("SavedOpSeconds"))) << error.toStdString();

    // Byte rows hold 0..255; a Long colour holds 32 bits; a single cannot be infinite.
    for (const char* bad : {"256", "-1", "-0.6"}) {
        QByteArray data = shipped;
        data.replace(QByteArray("\r\n100\r\n"), QByteArray("\r\n") + bad + "\r\n");
        EXPECT_FALSE(parsePrefs(data, &error).has_value()) << bad;
        EXPECT_TRUE(error.contains(QStringLiteral("FormSizePercent"))) << error.toStdString();
    }
    QByteArray wideColour = shipped;
    wideColour.replace(QByteArray("32768"), QByteArray("2147483648"));
    EXPECT_FALSE(parsePrefs(wideColour, &error).has_value());
    QByteArray huge = shipped;
    huge.replace(QByteArray("\"CW\"\r\n0\r\n"), QByteArray("\"CW\"\r\n1E39\r\n"));
    EXPECT_FALSE(parsePrefs(huge, &error).has_value());

    QTemporaryDir dir;
    EXPECT_FALSE(loadPrefs(dir.path(), &error).has_value());
    EXPECT_TRUE(error.startsWith(QStringLiteral("tnpref.txt cannot be read"))) << error.toStdString();
}

TEST(PrefsFile, ValuesThatWouldNotReadBackFailTheSaveAndLeaveTheOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(savePrefs(dir.path(), busyPrefs()));
    const QString path = dir.filePath(QStringLiteral("tnpref.txt"));
    const QByteArray before = readBytes(path);

    Prefs quoted = busyPrefs();
    quoted.OwnCall = QStringLiteral("K1\"ABC");
    Prefs wide = busyPrefs();
    wide.RigName = QStringLiteral("Rig \u20AC");
    Prefs notFinite = busyPrefs();
    notFinite.OwnLatitude = std::numeric_limits<float>::quiet_NaN();
    Prefs tooLarge = busyPrefs();
    tooLarge.FormSizePercent = 256;
    const std::pair<Prefs, const char*> cases[] = {
        {quoted, "OwnCall"}, {wide, "RigName"}, {notFinite, "OwnLatitude"}, {tooLarge, "FormSizePercent"}};
    for (const auto& [prefs, row] : cases) {
        QString error;
        EXPECT_FALSE(prefsBytes(prefs).has_value()) << row;
        EXPECT_FALSE(savePrefs(dir.path(), prefs, &error)) << row;
        EXPECT_TRUE(error.contains(QString::fromLatin1(row))) << error.toStdString();
    }
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("tnpref.txt")});
}

TEST(PrefsFile, FileIsFoundAndReplacedInAnyLetterCase)
{
    QTemporaryDir dir;
    const QString upper = dir.filePath(QStringLiteral("TNPREF.TXT"));
    ASSERT_TRUE(tenlog::platform::writeFileAtomically(upper, *prefsBytes(busyPrefs())));
    const auto loaded = loadPrefs(dir.path());
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(*loaded, busyPrefs());

    ASSERT_TRUE(savePrefs(dir.path(), Prefs{}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("TNPREF.TXT")});
    EXPECT_EQ(readBytes(upper), *prefsBytes(Prefs{}));
}

TEST(StationIdentity, NumberBoxesThatAreNotNumbersCountAsZero)
{
    EXPECT_EQ(numberOrZeroText(QStringLiteral("abc")), QStringLiteral("0"));
    EXPECT_EQ(numberOrZeroText(QString()), QStringLiteral("0"));
    EXPECT_EQ(numberOrZeroText(QStringLiteral("-")), QStringLiteral("0"));
    EXPECT_EQ(numberOrZeroText(QStringLiteral("-77.5")), QStringLiteral("-77.5"));

    const Prefs p = withStationId(busyPrefs(), {QStringLiteral("W1AW"), QStringLiteral("CT"), QStringLiteral("5"),
                                                QStringLiteral("USA"), QStringLiteral("west"), QStringLiteral("1e99")});
    Prefs expected = busyPrefs(); // the other ten values are left alone
    expected.OwnCall = QStringLiteral("W1AW");
    expected.OwnState = QStringLiteral("CT");
    expected.UtcOffsetHours = 5;
    expected.OwnCountry = QStringLiteral("USA");
    expected.OwnLongitude = 0;
    expected.OwnLatitude = 0; // too large for a single, so it could never be saved
    EXPECT_EQ(p, expected);
    EXPECT_TRUE(prefsBytes(p).has_value());
}

TEST(FormSize, NumbersAreLimitedAndRoundedOtherAnswersAreRefused)
{
    const std::pair<const char*, int> numbers[] = {
        {"120", 100}, {"10", 30}, {"-5", 30}, {"100", 100}, {"30", 30}, {"75", 75},
        {"75.5", 76}, {"76.5", 76}, {"90.49", 90}, {" 95 ", 95}, {"1E2", 100}, {"29.5", 30}};
    for (const auto& [answer, percent] : numbers) {
        EXPECT_EQ(formSizeFromAnswer(QString::fromLatin1(answer)), percent) << answer;
    }
    for (const char* refused : {"abc", "", "90%", "9O"}) {
        EXPECT_EQ(formSizeFromAnswer(QString::fromLatin1(refused)), std::nullopt) << refused;
    }
    EXPECT_EQ(formSizeFromAnswer(std::nullopt), std::nullopt);
}

TEST(CountryCompletion, SearchesFromTheLastEntryInTheRequestedCase)
{
    tenlog::geo::PrefixTable table;
    ASSERT_TRUE(table.loadData("\"CE\",\"Chile\",\"SA\",70.67,-33.45,14,12,3\r\n"
                               "\"EA8\",\"Canary Islands\",\"AF\",15.5,28.1,33,36,0\r\n"
                               "\"VE\",\"Canada\",\"NA\",78.75,44.35,5,9,5\r\n"
                               "\"ZL7\",\"Chatham Islands\",\"OC\",176.5,-44,32,60,-12.75\r\n"));
    EXPECT_EQ(findCountryCompletion(table, QStringLiteral("C"), Qt::CaseSensitive), 3);
    EXPECT_EQ(findCountryCompletion(table, QStringLiteral("Ca"), Qt::CaseSensitive), 2);
    EXPECT_EQ(findCountryCompletion(table, QStringLiteral("Cana"), Qt::CaseSensitive), 2);
    EXPECT_EQ(findCountryCompletion(table, QStringLiteral("Canar"), Qt::CaseSensitive), 1);
    EXPECT_EQ(findCountryCompletion(table, QStringLiteral("Chi"), Qt::CaseSensitive), 0);
    EXPECT_EQ(findCountryCompletion(table, QStringLiteral("CA"), Qt::CaseSensitive), -1);
    EXPECT_EQ(findCountryCompletion(table, QStringLiteral("CA"), Qt::CaseInsensitive), 2);
    EXPECT_EQ(findCountryCompletion(table, QStringLiteral("Canadas"), Qt::CaseInsensitive), -1);
    EXPECT_EQ(findCountryCompletion(tenlog::geo::PrefixTable{}, QStringLiteral("C"), Qt::CaseInsensitive), -1);

    // The typed text keeps its own letter case; the rest comes from the name.
    const auto completion = completeCountry(table, QStringLiteral("cAN"), Qt::CaseInsensitive);
    ASSERT_TRUE(completion.has_value());
    EXPECT_EQ(completion->entry, 2);
    EXPECT_EQ(completion->text, QStringLiteral("cANada"));
    EXPECT_EQ(completion->typedLength, 3);
    EXPECT_FALSE(completeCountry(table, QStringLiteral("X"), Qt::CaseInsensitive).has_value());
}
