// The shared preferences document: byte-exact round trips and in-place edits.
#include "common/SharedPreferences.h"

#include "platform/DurableFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using tenlog::common::callSignFileStem;
using tenlog::common::SharedPreferences;

namespace {

QByteArray readBytes(const QString& path)
{
    QByteArray data;
    tenlog::platform::readWholeFile(path, &data);
    return data;
}

void writeBytes(const QString& path, const QByteArray& data)
{
    ASSERT_TRUE(tenlog::platform::writeFileAtomically(path, data));
}

const QByteArray kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>";

} // namespace

class SharedPreferencesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("SharedUserPreferences.xml")); }
};

TEST_F(SharedPreferencesTest, MissingFileStartsWithTheDeclarationAndSavesElementsOnePerLine)
{
    SharedPreferences prefs;
    prefs.load(path());
    EXPECT_EQ(prefs.text().toLatin1(), kDeclaration);
    EXPECT_FALSE(QFile::exists(path())) << "loading must not create the file";

    prefs.setValue(QStringLiteral("Own_Call"), QStringLiteral("K1ABC"), false);
    prefs.setValue(QStringLiteral("OWN_SPC"), QStringLiteral("CT"), true);
    EXPECT_EQ(readBytes(path()), kDeclaration + "\r\n<OWN_CALL>K1ABC</OWN_CALL>\r\n<OWN_SPC>CT</OWN_SPC>\r\n");
}

TEST_F(SharedPreferencesTest, SaveNowFlagControlsWhenTheFileIsWritten)
{
    SharedPreferences prefs;
    prefs.load(path());
    prefs.setValue(QStringLiteral("OWN_CALL"), QStringLiteral("K1ABC"), false);
    EXPECT_FALSE(QFile::exists(path()));
    prefs.setValue(QStringLiteral("OWN_LATITUDE"), QStringLiteral("41.5"), true);
    EXPECT_TRUE(readBytes(path()).contains("<OWN_CALL>K1ABC</OWN_CALL>"));
}

TEST_F(SharedPreferencesTest, LoadAndSaveWithoutChangesIsByteIdentical)
{
    // Bytes above 127 and odd spacing written by another program stay as they are.
    const QByteArray original = kDeclaration + "\r\n<OWN_CALL>W1AW</OWN_CALL>\r\n<OTHER attr=\"x\">\xC3\xA9t\xE9  </OTHER>\r\n";
    writeBytes(path(), original);
    SharedPreferences prefs;
    prefs.load(path());
    ASSERT_TRUE(prefs.save(path()));
    EXPECT_EQ(readBytes(path()), original);
}

TEST_F(SharedPreferencesTest, ReplacingAValueKeepsEveryOtherByte)
{
    const QByteArray original = kDeclaration
        + "\r\n<OWN_CALL>W1AW</OWN_CALL>\r\n<OWN_SPC>CT</OWN_SPC>\r\n<FOREIGN>keep me</FOREIGN>\r\n";
    writeBytes(path(), original);
    SharedPreferences prefs;
    prefs.load(path());
    prefs.setValue(QStringLiteral("own_spc"), QStringLiteral("NEWENGLAND"), true);
    QByteArray expected = original;
    expected.replace("<OWN_SPC>CT</OWN_SPC>", "<OWN_SPC>NEWENGLAND</OWN_SPC>");
    EXPECT_EQ(readBytes(path()), expected);

    // Shorter value, and the element that follows is untouched.
    prefs.setValue(QStringLiteral("OWN_CALL"), QString(), true);
    expected.replace("<OWN_CALL>W1AW</OWN_CALL>", "<OWN_CALL></OWN_CALL>");
    EXPECT_EQ(readBytes(path()), expected);
}

TEST_F(SharedPreferencesTest, MixedCaseTagsAreStoredUpperCase)
{
    SharedPreferences prefs;
    prefs.load(path());
    prefs.setValue(QStringLiteral("OWN_ADDRESS_Line1"), QStringLiteral("1 Main St"), false);
    prefs.setValue(QStringLiteral("own_address_line1"), QStringLiteral("2 Elm St"), false);
    EXPECT_EQ(prefs.text().count(QStringLiteral("<OWN_ADDRESS_LINE1>")), 1);
    EXPECT_TRUE(prefs.text().contains(QStringLiteral("<OWN_ADDRESS_LINE1>2 Elm St</OWN_ADDRESS_LINE1>")));
}

TEST_F(SharedPreferencesTest, EmptyOrForeignFilesDoNotBreakTheDocument)
{
    // An empty file: a fresh document with its declaration.
    writeBytes(path(), QByteArray());
    SharedPreferences prefs;
    prefs.load(path());
    EXPECT_EQ(prefs.text().toLatin1(), kDeclaration);

    // Not XML and no line end: nothing of it is cut off, new elements follow it.
    writeBytes(path(), "this is not xml");
    prefs.load(path());
    prefs.setValue(QStringLiteral("OWN_CALL"), QStringLiteral("K1ABC"), true);
    EXPECT_EQ(readBytes(path()), QByteArray("this is not xml\r\n<OWN_CALL>K1ABC</OWN_CALL>\r\n"));
}

TEST_F(SharedPreferencesTest, ValuesCannotBreakTheElementStructure)
{
    SharedPreferences prefs;
    prefs.load(path());
    prefs.setValue(QStringLiteral("OWN_CLUB_NAME"), QStringLiteral("A&B </OWN_CLUB_NAME><X>"), false);
    prefs.setValue(QStringLiteral("OWN_CLUB_NAME"), QStringLiteral("Radio Club"), true);
    EXPECT_EQ(readBytes(path()), kDeclaration + "\r\n<OWN_CLUB_NAME>Radio Club</OWN_CLUB_NAME>\r\n");
}

TEST_F(SharedPreferencesTest, UnwritableTargetReportsFailure)
{
    SharedPreferences prefs;
    prefs.load(dir.filePath(QStringLiteral("missing-folder/prefs.xml")));
    EXPECT_FALSE(prefs.setValue(QStringLiteral("OWN_CALL"), QStringLiteral("K1ABC"), true));
    EXPECT_FALSE(prefs.lastError().isEmpty());
}

TEST(callSignFileStem, TakesTheLeadingRunOfDigitsAndCapitals)
{
    EXPECT_EQ(callSignFileStem(QStringLiteral("K1ABC")), QStringLiteral("K1ABC"));
    EXPECT_EQ(callSignFileStem(QStringLiteral("W1AW/VE3")), QStringLiteral("W1AW"));
    EXPECT_EQ(callSignFileStem(QStringLiteral("9A1A-2")), QStringLiteral("9A1A"));
    EXPECT_EQ(callSignFileStem(QStringLiteral("K1ABc")), QStringLiteral("K1AB"));
    EXPECT_EQ(callSignFileStem(QStringLiteral("/P")), QStringLiteral("YourCall"));
    EXPECT_EQ(callSignFileStem(QStringLiteral("k1abc")), QStringLiteral("YourCall"));
    EXPECT_EQ(callSignFileStem(QString()), QStringLiteral("YourCall"));
    EXPECT_EQ(callSignFileStem(QStringLiteral(" K1ABC")), QStringLiteral("YourCall"));
}
